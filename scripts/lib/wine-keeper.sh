#!/usr/bin/env bash
# Ends a prefix's Wine session (its wineserver, stray Wine processes and its
# private Xvfb) once no program has run in it for IDLE_SECONDS, so a display
# lives as long as the session that uses it. A console host or desktop left
# behind by a test would otherwise keep the wineserver up for good.
# With "until-stopped" it only waits for wine_session_stop to end the display.
# Usage: wine-keeper.sh PREFIX XVFB_PID IDLE_SECONDS|until-stopped
#        (started detached by wine-session.sh)
set -euo pipefail
# shellcheck source-path=SCRIPTDIR
source "$(dirname "${BASH_SOURCE[0]}")/wine-session.sh"

readonly poll_seconds=5
wine_session_use "$1"
xvfb_pid=$2
idle_limit=$3

idle_seconds() {
    local last
    last=$(stat -c %Y "$VARNOK_STATE/last-use" 2>/dev/null) || last=0
    echo $(($(date +%s) - last))
}

exec 9>>"$VARNOK_STATE/session.lock"
while wine_is_xvfb "$xvfb_pid"; do
    sleep "$poll_seconds"
    [ "$idle_limit" != until-stopped ] || continue
    # Exclusive means no program of this prefix is running right now.
    flock -n -x 9 || continue
    if [ "$(idle_seconds)" -ge "$idle_limit" ]; then
        wine_server_end
        wine_xvfb_stop "$xvfb_pid"
        exit 0
    fi
    flock -u 9
done
