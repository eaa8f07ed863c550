#!/usr/bin/env bash
# The demo: builds SetUp.exe, lays it out as users receive it (beside a sample
# Data folder), seeds a sample AutoCAD machine in a Wine prefix of its own and
# starts the setup wizard.
#   With a DISPLAY the wizard appears there; use it, the demo ends with it.
#   Without one it runs on a private Xvfb and walks the typical run by itself:
#   a screenshot of every page (paths printed), then what the installation did.
# Every run starts from a freshly prepared machine.
#
# Usage: scripts/demo.sh [--machine m1|m2|m4]
#   m1  AutoCAD 2018 (Simplified Chinese) on drive D:            (default)
#   m2  a 32-bit AutoCAD 2008 beside AutoCAD 2014, with stray keys
#   m4  AutoCAD 2020, 2021 and 2022 (English) beside AutoCAD LT 2022
set -euo pipefail

repo=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$repo"
# shellcheck source-path=SCRIPTDIR/lib
source "$repo/scripts/lib/wine-session.sh"

readonly caption="Varnok批打印软件安装"
readonly window_deadline_seconds=60
readonly demo_dir=$repo/build/demo
readonly dist_dir=$demo_dir/dist
readonly prefix=$demo_dir/wineprefix
readonly setup_exe=$repo/build/windows/bin/SetUp.exe
fixture=""  # the sample machine's regedit export, chosen in main

log() { echo "demo: $*"; }
die() { echo "demo: $*" >&2; exit 1; }

usage() {
    echo "usage: scripts/demo.sh [--machine m1|m2|m4]   (default m1: AutoCAD 2018 on D:)" >&2
    exit 2
}

machine_fixture() {
    case "$1" in
        m1) echo "$repo/tests/fixtures/registry/m1-chs-2018-x64.reg" ;;
        m2) echo "$repo/tests/fixtures/registry/m2-chs-2008x86-on-x64-plus-2014.reg" ;;
        m4) echo "$repo/tests/fixtures/registry/m4-enu-2020-2021-2022-plus-lt2022.reg" ;;
        *) usage ;;
    esac
}

build_setup() {
    bash "$repo/scripts/install-deps.sh"
    cmake --preset windows >/dev/null
    if ! ninja -C build/windows -t targets all | grep -q '^SetUp:'; then
        die "SetUp.exe is not part of the Windows build yet (no SetUp target); nothing to show."
    fi
    cmake --build --preset windows --target SetUp --parallel "$(nproc)"
    [ -f "$setup_exe" ] || die "the build did not produce $setup_exe"
}

# The distribution folder: SetUp.exe beside the sample Data folder.
lay_out_distribution() {
    rm -rf "$dist_dir"
    mkdir -p "$dist_dir"
    cp "$setup_exe" "$dist_dir/"
    cp -r "$repo/tests/fixtures/sample-data" "$dist_dir/Data"
}

# The AutoCAD installation folders (AcadLocation) a regedit export names.
acad_locations() {
    iconv -f UTF-16 -t UTF-8 "$1" | tr -d '\r' |
        sed -n 's/^"AcadLocation"="\(.*\)"$/\1/p' | sed 's/\\\\/\\/g'
}

# Creates a Windows folder (X:\...) of the prefix, adding its drive if needed.
make_windows_folder() {
    local letter=${1:0:1} rest=${1:2}
    letter=${letter,,}
    [ -e "$WINEPREFIX/dosdevices/$letter:" ] || wine_add_drive "$letter" "$WINEPREFIX/drive_$letter"
    rest=${rest//\\//}
    mkdir -p "$WINEPREFIX/dosdevices/$letter:$rest"
}

seed_machine() {
    local fixture=$1 location
    wine_regedit_import "$fixture"
    while IFS= read -r location; do
        log "AutoCAD folder $location"
        make_windows_folder "$location\\Fonts"
        make_windows_folder "$location\\Drv"
    done < <(acad_locations "$fixture")
}

# With the caller's display: the user drives the wizard; the demo ends with it.
run_visible() {
    log "the wizard is on display $DISPLAY; the demo ends when it closes"
    (cd "$dist_dir" && wine SetUp.exe 8>&- 9>&-) || log "SetUp.exe ended with exit code $?"
}

# The wizard's page window now on screen, other than `previous`; empty if none yet.
current_page() {
    local previous=$1 window
    for window in $(xdotool search --onlyvisible --name "^$caption\$" 2>/dev/null); do
        [ "$window" != "$previous" ] && { echo "$window"; return 0; }
    done
    return 0
}

# Waits for the next page (a new window with the wizard's caption).
wait_for_page() {
    local previous=$1 setup_pid=$2 window="" deadline=$((SECONDS + window_deadline_seconds))
    until window=$(current_page "$previous") && [ -n "$window" ]; do
        kill -0 "$setup_pid" 2>/dev/null || die "SetUp.exe ended before the next page appeared; see $demo_dir/setup.log"
        [ "$SECONDS" -lt "$deadline" ] || die "no new window \"$caption\" within ${window_deadline_seconds}s"
        sleep 0.2
    done
    echo "$window"
}

# What the installation left on the machine: folders and files, demand-load
# keys and trusted paths.
report_installation() {
    local c_drive=$WINEPREFIX/drive_c export folder key
    log "what the installation did:"
    for folder in "$c_drive/Varnok" "$c_drive"/users/*/AppData/Roaming/Varnok; do
        [ -d "$folder" ] && find "$folder" | sed "s|^$WINEPREFIX/drive_c|    C:|; s|/|\\\\|g"
    done
    while IFS= read -r location; do
        local letter=${location:0:1} rest=${location:2}
        rest=${rest//\\//}
        find "$WINEPREFIX/dosdevices/${letter,,}:$rest" -type f 2>/dev/null |
            sed "s|^$WINEPREFIX/dosdevices/${letter,,}:|    $letter:|; s|/|\\\\|g"
    done < <(acad_locations "$fixture")
    export=$demo_dir/registry-after.reg
    for key in 'HKEY_LOCAL_MACHINE\SOFTWARE\Autodesk\AutoCAD' \
        'HKEY_LOCAL_MACHINE\SOFTWARE\Wow6432Node\Autodesk\AutoCAD' \
        'HKEY_CURRENT_USER\Software\Autodesk\AutoCAD'; do
        rm -f "$export"
        wine regedit /E "$(wine_windows_path "$export")" "$key" </dev/null >/dev/null 2>&1 8>&- 9>&- || true
        [ -f "$export" ] || continue
        iconv -f UTF-16 -t UTF-8 "$export" | tr -d '\r' |
            awk '/^\[/{key=$0} /VK_BatchPlot/ && /^\[/{print "    " $0} 
                 key ~ /VK_BatchPlot/ && /^"/{print "        " $0}
                 /^"TRUSTEDPATHS"/{print "    " key; print "        " $0}'
    done
}

# On the private Xvfb: walk the typical run page by page (Enter presses each
# page's default button: 下一步, 下一步, 安  装, 确  定), a screenshot of every
# page, then report what the installation did.
run_headless() {
    wine_require xdotool import
    local setup_log=$demo_dir/setup.log window="" page shot
    (cd "$dist_dir" && exec wine SetUp.exe </dev/null >"$setup_log" 2>&1 8>&- 9>&-) &
    local setup_pid=$!
    for page in 1 2 3 4; do
        window=$(wait_for_page "$window" "$setup_pid")
        sleep 1  # let the page finish painting
        shot=$demo_dir/page$page.png
        import -window "$window" "$shot" 2>/dev/null || import -window root "$shot"
        log "page $page: $shot"
        xdotool key --window "$window" Return 2>/dev/null
    done
    local deadline=$((SECONDS + 30))
    while kill -0 "$setup_pid" 2>/dev/null && [ "$SECONDS" -lt "$deadline" ]; do sleep 0.2; done
    kill -0 "$setup_pid" 2>/dev/null && die "the wizard did not end after its last page"
    log "wizard finished"
    report_installation
}

main() {
    local machine=m1
    while [ "$#" -gt 0 ]; do
        case "$1" in
            --machine) [ "$#" -ge 2 ] || usage; machine=$2; shift 2 ;;
            --machine=*) machine=${1#*=}; shift ;;
            -h|--help) usage ;;
            *) usage ;;
        esac
    done
    fixture=$(machine_fixture "$machine")

    build_setup
    lay_out_distribution

    # A fresh machine every time: no trace of an earlier demo's installation.
    if [ -d "$prefix" ]; then
        wine_session_use "$prefix"
        wine_session_stop
        rm -rf "$prefix"
    fi
    wine_session_use "$prefix"
    trap wine_session_stop EXIT
    wine_session_enter until-stopped
    log "sample machine $machine: $(basename "$fixture")"
    seed_machine "$fixture"

    log "distribution: $dist_dir"
    if [ -n "$VARNOK_CALLER_DISPLAY" ]; then
        run_visible
    else
        run_headless
    fi
}

main "$@"
