# shellcheck shell=bash
# A sample AutoCAD machine in a Wine prefix and a distribution folder to start
# SetUp.exe from, for the demo and the screenshots (bash, under `set -euo
# pipefail`, after scripts/lib/wine-session.sh with a session entered).

# sample_machine_fixture m1|m2|m4|m6: the regedit export of a sample machine.
sample_machine_fixture() {
    local fixtures=$VARNOK_LIB_DIR/../../tests/fixtures/registry
    case "$1" in
        m1) echo "$fixtures/m1-chs-2018-x64.reg" ;;
        m2) echo "$fixtures/m2-chs-2008x86-on-x64-plus-2014.reg" ;;
        m4) echo "$fixtures/m4-enu-2020-2021-2022-plus-lt2022.reg" ;;
        m6) echo "$fixtures/m6-chs-2018-plus-2026-x64.reg" ;;
        *) return 1 ;;
    esac
}

# lay_out_distribution FOLDER SETUP_EXE: SetUp.exe beside the sample Data folder.
lay_out_distribution() {
    rm -rf "$1"
    mkdir -p "$1"
    cp "$2" "$1/"
    cp -r "$VARNOK_LIB_DIR/../../tests/fixtures/sample-data" "$1/Data"
}

# acad_locations FIXTURE: the AutoCAD installation folders (AcadLocation) it names.
acad_locations() {
    iconv -f UTF-16 -t UTF-8 "$1" | tr -d '\r' |
        sed -n 's/^"AcadLocation"="\(.*\)"$/\1/p' | sed 's/\\\\/\\/g'
}

# make_windows_folder X:\...: creates a folder of the prefix, adding its drive if needed.
make_windows_folder() {
    local letter=${1:0:1} rest=${1:2}
    letter=${letter,,}
    [ -e "$WINEPREFIX/dosdevices/$letter:" ] || wine_add_drive "$letter" "$WINEPREFIX/drive_$letter"
    rest=${rest//\\//}
    mkdir -p "$WINEPREFIX/dosdevices/$letter:$rest"
}

# seed_machine FIXTURE: its registry keys, and the Fonts and Drv folders of every
# AutoCAD installation it names.
seed_machine() {
    local location
    wine_regedit_import "$1"
    while IFS= read -r location; do
        echo "sample machine: AutoCAD folder $location"
        make_windows_folder "$location\\Fonts"
        make_windows_folder "$location\\Drv"
    done < <(acad_locations "$1")
}
