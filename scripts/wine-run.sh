#!/usr/bin/env bash
# Runs a Windows program in the project's private Wine prefix and passes its
# exit code through. ctest uses it as the cross-compiling emulator:
#   wine-run.sh program.exe [args...]
# Prefix: $VARNOK_WINEPREFIX, else <repo>/build/wineprefix; prepared on first
# use. Without a DISPLAY the program gets a private Xvfb. The wineserver stays
# up $VARNOK_WINESERVER_PERSIST seconds (default 60) after the last program,
# so runs in a row start fast; scripts/wine-stop.sh ends the session at once.
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

# Wine's background processes (services, the desktop) inherit the stderr of
# the program that first needs them and outlive it: a pipe handed to them
# would keep ctest waiting for its end. So stderr goes through a file, shown
# when the program ends. Not exec: this shell holds the session meanwhile.
stderr_file=$(mktemp "$VARNOK_STATE/stderr.XXXXXX")
trap 'cat "$stderr_file" >&2; rm -f "$stderr_file"' EXIT
set +e
wine "$@" 2>"$stderr_file" 8>&- 9>&-
exit $?
