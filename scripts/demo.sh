#!/usr/bin/env bash
# The demo: builds SetUp.exe, lays it out as users receive it (beside a sample
# Data folder), seeds a sample AutoCAD machine in a Wine prefix of its own and
# starts the setup wizard. Three modes, one function each:
#   visible   with a DISPLAY the wizard appears there; use it, the demo ends
#             with it.
#   headless  without one it runs on a private Xvfb, and the demo's walker
#             (tests/e2e/demo, a Windows program using the end-to-end driver)
#             takes the typical run by itself, waiting for each page by its
#             controls and saving a picture of it; then the demo prints what
#             the installation did.
#   unattended  (--unattended) SetUp.exe /VERYSILENT /SUPPRESSMSGBOXES /LOG as
#             a deployment tool starts it: no window; then its exit code, its
#             log and what the installation did.
# Every run starts from a freshly prepared machine. Every step has a time
# limit and says what it waited for when it fails; the last line says whether
# the demo worked.
#
# Usage: scripts/demo.sh [--machine m1|m2|m4|m6] [--unattended]
#   m1  AutoCAD 2018 (Simplified Chinese) on drive D:            (default)
#   m2  a 32-bit AutoCAD 2008 beside AutoCAD 2014, with stray keys
#   m4  AutoCAD 2020, 2021 and 2022 (English) beside AutoCAD LT 2022
#   m6  AutoCAD 2018 beside AutoCAD 2026, whose module the sample Data lacks
set -euo pipefail

repo=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$repo"
BOUNDED_WHO=demo
# shellcheck source-path=SCRIPTDIR/lib
source "$repo/scripts/lib/wine-session.sh"
# shellcheck source-path=SCRIPTDIR/lib
source "$repo/scripts/lib/sample-machine.sh"

readonly demo_dir=$repo/build/demo
readonly dist_dir=$demo_dir/dist
readonly prefix=$demo_dir/wineprefix
readonly bin_dir=$repo/build/windows/bin
readonly setup_exe=$bin_dir/SetUp.exe
readonly walker_exe=$bin_dir/demo_walk.exe
# Time limits, in seconds: a fresh machine downloads and builds everything.
readonly deps_seconds=3600
readonly configure_seconds=600
readonly build_seconds=3600
readonly walk_seconds=600        # the walker's own waits are 60 s per page
readonly visible_seconds=3600    # a person clicking through the wizard
readonly convert_seconds=60

fixture=""       # the sample machine's regedit export, chosen in main
current_step=""  # what the demo is doing, for the last line
outcome=""       # what the demo showed, for the last line
session_open=false

log() { echo "demo: $*"; }
die() { echo "demo: $*" >&2; exit 1; }

usage() {
    echo "usage: scripts/demo.sh [--machine m1|m2|m4|m6] [--unattended]   (default m1: AutoCAD 2018 on D:)" >&2
    exit 2
}

machine_fixture() {
    sample_machine_fixture "$1" || usage
}

step() {
    current_step=$1
    log "$1"
}

build_setup() {
    local targets=("$@")
    step "installing what is missing"
    bounded "$deps_seconds" "the dependencies (scripts/install-deps.sh)" \
        bash "$repo/scripts/install-deps.sh"
    step "building ${targets[*]}"
    bounded "$configure_seconds" "CMake to configure the Windows build" \
        cmake --preset windows >/dev/null
    bounded "$build_seconds" "the Windows build of ${targets[*]}" \
        cmake --build --preset windows --target "${targets[@]}" --parallel "$(nproc)"
    [ -f "$setup_exe" ] || die "the build did not produce $setup_exe"
}

# A fresh machine every time: no trace of an earlier demo's installation.
prepare_machine() {
    step "preparing the sample machine $1"
    if [ -d "$prefix" ]; then
        wine_session_use "$prefix"
        wine_session_stop
        rm -rf "$prefix"
    fi
    wine_session_use "$prefix"
    session_open=true
    wine_session_enter until-stopped
    log "sample machine $1: $(basename "$fixture")"
    seed_machine "$fixture"
}

# With the caller's display: the user drives the wizard; the demo ends with it.
mode_visible() {
    step "running the wizard on display $DISPLAY (the demo ends when it closes)"
    (cd "$dist_dir" && bounded "$visible_seconds" "SetUp.exe to close" wine SetUp.exe </dev/null 8>&- 9>&-)
    outcome="the wizard ran on display $DISPLAY and closed"
}

# On the private Xvfb: the walker takes the typical run, a picture of every
# page, then the demo reports what the installation did.
mode_headless() {
    wine_require convert
    step "walking the wizard headless on display $DISPLAY"
    rm -f "$demo_dir"/page[1-4].bmp "$demo_dir"/page[1-4].png
    VARNOK_WINEPREFIX=$prefix bounded "$walk_seconds" "the walk through the wizard's four pages" \
        bash "$repo/scripts/wine-run.sh" "$walker_exe" \
        "$(wine_windows_path "$dist_dir/SetUp.exe")" "$(wine_windows_path "$demo_dir")" </dev/null
    step "turning the pictures into PNG"
    local page
    for page in 1 2 3 4; do
        # convert reads the file only; it never talks to the X server.
        bounded "$convert_seconds" "ImageMagick to convert page$page.bmp" \
            convert "$demo_dir/page$page.bmp" -strip "$demo_dir/page$page.png"
        rm -f "$demo_dir/page$page.bmp"
        log "screenshot of page $page: $demo_dir/page$page.png"
    done
    step "reading what the installation did"
    report_installation
    outcome="the typical run walked headless: screenshots $demo_dir/page1.png to page4.png, installation report above"
}

# As a deployment tool runs it: no window, no question; its exit code and log.
mode_unattended() {
    local log_file=$demo_dir/unattended.log status=0
    rm -f "$log_file"
    step "installing unattended: SetUp.exe /VERYSILENT /SUPPRESSMSGBOXES /LOG"
    (cd "$dist_dir" && bounded "$walk_seconds" "SetUp.exe /VERYSILENT to end" \
        wine SetUp.exe /VERYSILENT /SUPPRESSMSGBOXES "/LOG=$(wine_windows_path "$log_file")" \
        </dev/null 8>&- 9>&-) || status=$?
    log "SetUp.exe ended with exit code $status; its log ($log_file):"
    [ -f "$log_file" ] || die "SetUp.exe wrote no log"
    sed 's/^/    /' "$log_file"
    [ "$status" -eq 0 ] || die "the unattended installation ended with exit code $status"
    step "reading what the installation did"
    report_installation
    outcome="the unattended installation ended with exit code 0; log $log_file, installation report above"
}

# The last line says whether the demo worked, whichever way it ends.
finish() {
    local status=$?
    trap - EXIT
    if "$session_open"; then wine_session_stop; fi
    if [ "$status" -eq 0 ]; then
        echo "demo: WORKED: $outcome"
    elif [ "$status" -eq 130 ] || [ "$status" -eq 143 ]; then
        echo "demo: FAILED: interrupted while $current_step" >&2
    else
        echo "demo: FAILED while $current_step (exit $status); the lines above say why" >&2
    fi
    exit "$status"
}

# export_key KEY FILE: the key and everything below it as a regedit export;
# fails quietly when the machine has no such key.
export_key() {
    local status=0 output=$demo_dir/regedit-export.log
    rm -f "$2"
    # shellcheck disable=SC2046 # no word or one
    timeout $(bounded_mode) --kill-after=10 "$VARNOK_WINE_TOOL_SECONDS" \
        wine regedit /E "$(wine_windows_path "$2")" "$1" </dev/null >"$output" 2>&1 8>&- 9>&- ||
        status=$?
    if [ "$status" -eq 124 ] || [ "$status" -eq 137 ]; then
        cat "$output" >&2
        die "gave up after ${VARNOK_WINE_TOOL_SECONDS}s waiting for regedit to export $1"
    fi
    [ -f "$2" ]
}

# What the installation left on the machine: folders and files, demand-load
# keys and trusted paths.
report_installation() {
    local c_drive=$WINEPREFIX/drive_c export=$demo_dir/registry-after.reg folder key location
    log "what the installation did:"
    for folder in "$c_drive/Varnok" "$c_drive"/users/*/AppData/Roaming/Varnok; do
        if [ -d "$folder" ]; then
            find "$folder" | sed "s|^$WINEPREFIX/drive_c|    C:|; s|/|\\\\|g"
        fi
    done
    while IFS= read -r location; do
        local letter=${location:0:1} rest=${location:2}
        rest=${rest//\\//}
        find "$WINEPREFIX/dosdevices/${letter,,}:$rest" -type f |
            sed "s|^$WINEPREFIX/dosdevices/${letter,,}:|    $letter:|; s|/|\\\\|g"
    done < <(acad_locations "$fixture")
    for key in 'HKEY_LOCAL_MACHINE\SOFTWARE\Autodesk\AutoCAD' \
        'HKEY_LOCAL_MACHINE\SOFTWARE\Wow6432Node\Autodesk\AutoCAD' \
        'HKEY_CURRENT_USER\Software\Autodesk\AutoCAD'; do
        export_key "$key" "$export" || continue
        iconv -f UTF-16 -t UTF-8 "$export" | tr -d '\r' |
            awk '/^\[/{key=$0} /VK_BatchPlot/ && /^\[/{print "    " $0}
                 key ~ /VK_BatchPlot/ && /^"/{print "        " $0}
                 /^"TRUSTEDPATHS"/{print "    " key; print "        " $0}'
    done
}

main() {
    local machine=m1 mode=headless unattended=false
    while [ "$#" -gt 0 ]; do
        case "$1" in
            --machine) [ "$#" -ge 2 ] || usage; machine=$2; shift 2 ;;
            --machine=*) machine=${1#*=}; shift ;;
            --unattended) unattended=true; shift ;;
            -h|--help) usage ;;
            *) usage ;;
        esac
    done
    fixture=$(machine_fixture "$machine")
    [ -z "${DISPLAY:-}" ] || mode=visible
    if "$unattended"; then mode=unattended; fi

    trap finish EXIT
    trap 'exit 130' INT
    trap 'exit 143' TERM
    case "$mode" in
        visible) build_setup SetUp ;;
        headless) build_setup SetUp demo_walk ;;
        unattended) build_setup SetUp ;;
    esac
    lay_out_distribution "$dist_dir" "$setup_exe"
    log "distribution: $dist_dir"
    prepare_machine "$machine"
    "mode_$mode"
}

main "$@"
