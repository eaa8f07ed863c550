#!/usr/bin/env bash
# Runs a Windows program in the project's private Wine prefix and passes its
# exit code through. ctest uses it as the cross-compiling emulator:
#   wine-run.sh program.exe [args...]
# Prefix: $VARNOK_WINEPREFIX, else <repo>/build/wineprefix; prepared on first
# use. Without a DISPLAY the program gets a private Xvfb. The session (the
# wineserver and that display) lasts until $VARNOK_WINESERVER_PERSIST seconds
# (default 60) have passed without a program, so runs in a row start fast;
# scripts/wine-stop.sh ends it at once.
set -euo pipefail
repo=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
# shellcheck source-path=SCRIPTDIR source-path=SCRIPTDIR/lib
source "$repo/scripts/lib/wine-session.sh"

if [ "$#" -eq 0 ]; then
    echo "usage: $0 program.exe [args...]" >&2
    exit 2
fi
if [[ "$1" == */* && ! -f "$1" ]]; then
    echo "wine-run: no such program: $1" >&2
    exit 127
fi

wine_session_use "${VARNOK_WINEPREFIX:-$repo/build/wineprefix}"
wine_session_enter "${VARNOK_WINESERVER_PERSIST:-60}"

# The program never gets this script's stdout and stderr (ctest's pipes): Wine
# keeps copies of a program's standard handles in its background processes
# (wineserver, services, the desktop, a console host) that outlive the
# program, and ctest would wait for those pipes to close. The program writes
# into files instead, which are followed here until it ends.
out_file=$(mktemp "$VARNOK_STATE/stdout.XXXXXX")
err_file=$(mktemp "$VARNOK_STATE/stderr.XXXXXX")
trap 'rm -f "$out_file" "$err_file"; wine_session_touch' EXIT

# Not exec: this shell holds the session while the program runs.
wine "$@" <&0 >"$out_file" 2>"$err_file" 8>&- 9>&- &
program=$!
tail -q -s 0.1 -n +1 -f --pid="$program" "$out_file" &
out_follower=$!
tail -q -s 0.1 -n +1 -f --pid="$program" "$err_file" >&2 &
err_follower=$!

status=0
wait "$program" || status=$?
wait "$out_follower" "$err_follower" || true
exit "$status"
