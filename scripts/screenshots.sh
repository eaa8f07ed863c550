#!/usr/bin/env bash
# Takes the pictures of docs/screenshots again: SetUp.exe under Wine on a
# private Xvfb, walked by the demo's walker (tests/e2e/demo) through the
# typical run, each picture copied from the window itself. Per DPI:
#   the sample machine m6 (AutoCAD 2018 and 2026, whose module the sample Data
#   lacks) with --gallery: every page, every agreement screen, the folder
#   picker, the too-long refusal; page 2 shows the line on 2026 in its
#   seventh row's place;
#   the sample machine m1 (AutoCAD 2018 alone): its page 2, with the seventh
#   row of boxes (2025 to 2027), as page2-seventh-row.png.
# 96 DPI goes to docs/screenshots/, 144 and 192 DPI to docs/screenshots/dpi144/
# and dpi192/. Wine takes the DPI from LogPixels below HKCU\Control Panel\Desktop
# when a program starts. Every step has a time limit and says what it waited
# for; the last line says whether it worked.
#
# Usage: scripts/screenshots.sh [--dpi 96,144,192]
set -euo pipefail

repo=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$repo"
BOUNDED_WHO=screenshots
# shellcheck source-path=SCRIPTDIR/lib
source "$repo/scripts/lib/wine-session.sh"
# shellcheck source-path=SCRIPTDIR/lib
source "$repo/scripts/lib/sample-machine.sh"

readonly work_dir=$repo/build/screenshots
readonly docs_dir=$repo/docs/screenshots
readonly setup_exe=$repo/build/windows/bin/SetUp.exe
readonly walker_exe=$repo/build/windows/bin/demo_walk.exe
readonly build_seconds=3600
readonly walk_seconds=600      # the walker's own waits are 60 s per page
readonly convert_seconds=60

# The session of one prefix sets DISPLAY to its own Xvfb; the next starts from the caller's.
readonly caller_display=${DISPLAY:-}
dpis=96,144,192
current_step=""
session_open=false

log() { echo "screenshots: $*"; }

step() {
    current_step=$1
    log "$1"
}

finish() {
    local status=$?
    trap - EXIT
    if "$session_open"; then wine_session_stop; fi
    if [ "$status" -eq 0 ]; then
        echo "screenshots: WORKED: pictures at ${dpis//,/, } DPI in $docs_dir"
    else
        echo "screenshots: FAILED while $current_step (exit $status); the lines above say why" >&2
    fi
    exit "$status"
}

# A fresh prefix with one sample machine, SetUp.exe beside the sample Data.
prepare_machine() {
    local machine=$1 prefix=$work_dir/$1/wineprefix
    step "preparing the sample machine $machine"
    if "$session_open"; then wine_session_stop; fi
    if [ -n "$caller_display" ]; then export DISPLAY=$caller_display; else unset DISPLAY; fi
    if [ -d "$prefix" ]; then
        wine_session_use "$prefix"
        wine_session_stop
        rm -rf "$prefix"
    fi
    wine_session_use "$prefix"
    session_open=true
    wine_session_enter until-stopped
    seed_machine "$(sample_machine_fixture "$machine")"
    lay_out_distribution "$work_dir/$machine/dist" "$setup_exe"
}

set_dpi() {
    local reg=$work_dir/dpi.reg
    printf 'REGEDIT4\n\n[HKEY_CURRENT_USER\\Control Panel\\Desktop]\n"LogPixels"=dword:%08x\n' \
        "$1" >"$reg"
    wine_regedit_import "$reg"
}

# walk MACHINE DPI FOLDER [--gallery]: the pictures of one walk, as PNG, in FOLDER.
walk() {
    local machine=$1 dpi=$2 pictures=$3 bmp
    shift 3
    step "walking the wizard of $machine at $dpi DPI"
    set_dpi "$dpi"
    rm -rf "$pictures"
    mkdir -p "$pictures"
    VARNOK_WINEPREFIX=$WINEPREFIX bounded "$walk_seconds" "the walk through the wizard at $dpi DPI" \
        bash "$repo/scripts/wine-run.sh" "$walker_exe" "$@" \
        "$(wine_windows_path "$work_dir/$machine/dist/SetUp.exe")" "$(wine_windows_path "$pictures")" \
        </dev/null
    for bmp in "$pictures"/*.bmp; do
        # convert reads the file only; it never talks to the X server.
        bounded "$convert_seconds" "ImageMagick to convert $bmp" convert "$bmp" -strip "${bmp%.bmp}.png"
        rm -f "$bmp"
    done
}

destination() {
    if [ "$1" -eq 96 ]; then echo "$docs_dir"; else echo "$docs_dir/dpi$1"; fi
}

main() {
    local dpi out
    if [ "${1:-}" = --dpi ] && [ -n "${2:-}" ]; then
        dpis=$2
    elif [ "$#" -ne 0 ]; then
        echo "usage: scripts/screenshots.sh [--dpi 96,144,192]" >&2
        exit 2
    fi
    [[ $dpis =~ ^[0-9]+(,[0-9]+)*$ ]] || { echo "screenshots: --dpi takes numbers like 96,144" >&2; exit 2; }
    trap finish EXIT
    wine_require convert
    step "building SetUp.exe and the walker"
    bounded "$build_seconds" "the dependencies (scripts/install-deps.sh)" \
        bash "$repo/scripts/install-deps.sh"
    bounded "$build_seconds" "CMake to configure the Windows build" cmake --preset windows >/dev/null
    bounded "$build_seconds" "the Windows build of SetUp and demo_walk" \
        cmake --build --preset windows --target SetUp demo_walk --parallel "$(nproc)"

    prepare_machine m6
    for dpi in ${dpis//,/ }; do
        out=$(destination "$dpi")
        walk m6 "$dpi" "$work_dir/m6/$dpi" --gallery
        mkdir -p "$out"
        mv "$work_dir/m6/$dpi/page1.png" "$out/page1-screen0.png"
        mv "$work_dir/m6/$dpi"/*.png "$out/"
    done
    prepare_machine m1
    for dpi in ${dpis//,/ }; do
        walk m1 "$dpi" "$work_dir/m1/$dpi"
        mv "$work_dir/m1/$dpi/page2.png" "$(destination "$dpi")/page2-seventh-row.png"
    done
}

main "$@"
