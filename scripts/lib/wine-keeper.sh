#!/usr/bin/env bash
# Stops a prefix's private Xvfb once the prefix's wineserver has ended, so a
# display lives exactly as long as the Wine session that uses it.
# Usage: wine-keeper.sh PREFIX XVFB_PID   (started detached by wine-session.sh)
set -euo pipefail
# shellcheck source-path=SCRIPTDIR source-path=SCRIPTDIR/lib
source "$(dirname "${BASH_SOURCE[0]}")/wine-session.sh"

wine_session_use "$1"
xvfb_pid=$2

wineserver -w </dev/null >/dev/null 2>&1 || true

# Exclusive: no program of this prefix is running now. A wineserver that one
# of them started in the meantime has no clients left; end it with the display.
exec 9>>"$VARNOK_STATE/session.lock"
flock -x 9
wineserver -k </dev/null >/dev/null 2>&1 || true
wine_xvfb_stop "$xvfb_pid"
