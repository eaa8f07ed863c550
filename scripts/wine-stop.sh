#!/usr/bin/env bash
# Ends the Wine session of a prefix: its programs, its wineserver (which saves
# the registry) and its private Xvfb.
# Usage: wine-stop.sh [PREFIX]   (default: $VARNOK_WINEPREFIX, else <repo>/build/wineprefix)
set -euo pipefail
repo=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
# shellcheck source-path=SCRIPTDIR source-path=SCRIPTDIR/lib
source "$repo/scripts/lib/wine-session.sh"

prefix=${1:-${VARNOK_WINEPREFIX:-$repo/build/wineprefix}}
if [ ! -d "$prefix" ]; then
    exit 0
fi
wine_session_use "$prefix"
wine_session_stop
