#!/usr/bin/env bash
# The benchmark command; not part of scripts/test.sh. Builds what it needs
# (build/bench-native, build/bench-windows), measures natively and under Wine
# in a prefix of its own (build/bench-prefix), and prints a table: every
# figure as the median and spread of several runs, beside a baseline measured
# in turns with it, and its goal. A slow machine never fails it; it fails only
# when a benchmark cannot run. Samples, table and logs: build/bench-results/.
#
# Usage: scripts/bench.sh [--rounds N] [--only LIST]
#   --rounds N   measured runs per figure (default 9), after one warm-up run;
#                start-up, short and easily swayed, gets twice as many
#   --only LIST  some of: install,startup,registry,footprint (default all)
set -euo pipefail

repo=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$repo"
# shellcheck source-path=SCRIPTDIR/lib
source "$repo/scripts/lib/wine-session.sh"

rounds=9
only=install,startup,registry,footprint
readonly native_dir=$repo/build/bench-native
readonly windows_dir=$repo/build/bench-windows
readonly results_dir=$repo/build/bench-results
readonly samples=$results_dir/samples.txt
readonly log=$results_dir/bench.log
export VARNOK_WINEPREFIX=$repo/build/bench-prefix

# The installation's Data folder: 100 files of 1 MiB, the add-in's special
# names among them, so that every file is copied once by either program.
readonly data_files=100
readonly data_file_kib=1024
readonly special_files=(Varnok.prt7 Varnok.prt8 Varnok.prt9 Varnok.Ini Varnok_EN.shx Varnok_HZ.shx)

# On the prefix's C: drive (Windows paths for the programs, Linux for setup).
readonly bench_win='C:\vkbench'
readonly dist_win="$bench_win\\dist"
readonly acad_win="$bench_win\\acad2018"

log() { echo "bench: $*" >&2; }
load_average() { cut -d ' ' -f 1 /proc/loadavg; } # other work on the machine sways every figure
die() {
    log "$*"
    exit 1
}

usage() {
    echo "usage: scripts/bench.sh [--rounds N] [--only install,startup,registry,footprint]" >&2
    exit 2
}

parse_arguments() {
    while [ "$#" -gt 0 ]; do
        case "$1" in
            --rounds)
                if [ "$#" -lt 2 ] || ! [[ "$2" =~ ^[1-9][0-9]*$ ]]; then usage; fi
                rounds=$2
                shift 2
                ;;
            --only)
                if [ "$#" -lt 2 ] || ! [[ "$2" =~ ^(install|startup|registry|footprint)(,(install|startup|registry|footprint))*$ ]]; then usage; fi
                only=$2
                shift 2
                ;;
            *) usage ;;
        esac
    done
}

# ---------------------------------------------------------------------------
# Builds: Release, as SetUp.exe ships.

build() {
    bash "$repo/scripts/install-deps.sh"
    local jobs
    jobs=$(nproc)
    cmake -S "$repo" -B "$native_dir" -G Ninja -DCMAKE_BUILD_TYPE=Release -DVARNOK_BENCH=ON >/dev/null
    cmake --build "$native_dir" --parallel "$jobs" --target bench_registry_native
    cmake -S "$repo" -B "$windows_dir" -G Ninja --toolchain "$repo/cmake/mingw-w64.cmake" \
        -DCMAKE_BUILD_TYPE=Release -DVARNOK_BENCH=ON >/dev/null
    cmake --build "$windows_dir" --parallel "$jobs" --target SetUp bench_registry bench_install \
        bench_install_process bench_bare_copy bench_startup bench_empty_dialog bench_empty_dialog_comctl
}

# ---------------------------------------------------------------------------
# The sample machine in the prefix.

linux_path() { # a C:\... path of the prefix
    local rest=${1:3}
    printf '%s/drive_c/%s' "$WINEPREFIX" "${rest//\\//}"
}

appdata_varnok() {
    local folder
    for folder in "$WINEPREFIX"/drive_c/users/*/AppData/Roaming/Varnok; do
        [ -e "$folder" ] && printf '%s\n' "$folder"
    done
    return 0
}

lay_out_machine() {
    local bench dist data i name
    bench=$(linux_path "$bench_win")
    dist=$(linux_path "$dist_win")
    data=$dist/Data
    rm -rf "$bench"
    mkdir -p "$data" "$(linux_path "$acad_win")/Fonts"
    for ((i = 0; i < data_files; i++)); do
        if [ "$i" -lt "${#special_files[@]}" ]; then
            name=${special_files[$i]}
        else
            printf -v name 'Module%02d.dll' "$((i - ${#special_files[@]} + 1))"
        fi
        head -c "$((data_file_kib * 1024))" /dev/urandom >"$data/$name"
    done
    cp "$windows_dir"/bin/{SetUp.exe,bench_empty_dialog.exe,bench_empty_dialog_comctl.exe} "$dist/"
    cp "$windows_dir"/bin/bench_install.exe "$dist/"
}

clean_machine() {
    rm -rf "$(linux_path "$bench_win")"
    appdata_varnok | while IFS= read -r folder; do rm -rf "$folder"; done
}

# Leaves the files of the last installation or copy behind (not timed).
clean_copies() {
    rm -rf "$(linux_path "$bench_win\\target")" "$(linux_path "$bench_win\\bare")"
    rm -f "$(linux_path "$acad_win")"/Fonts/*
    appdata_varnok | while IFS= read -r folder; do rm -rf "$folder"; done
}

# wine_bench PROGRAM ARGS...: one Windows program; its samples are kept.
wine_bench() {
    "$repo/scripts/wine-run.sh" "$@" 2>>"$log" | tee -a "$samples" >>"$log"
    return "${PIPESTATUS[0]}"
}

# ---------------------------------------------------------------------------
# The benchmarks.

# The installation against a bare copy, in turns (who goes first rotates),
# and bare copies with the installation's attribute reads around each copy
# (3 that clear the read-only attribute, a 4th the copy's own check), which
# tell where a difference comes from. Each starts with the data written so far
# flushed, so that none pays for another's.
bench_install() {
    local round turn program
    # the installation, bare copies with 0, 3, 4 reads, and the whole /VERYSILENT
    # process beside a copying process
    local -a programs=(install 0 3 4 process)
    log "installation: $rounds rounds of $data_files files, $((data_files * data_file_kib / 1024)) MiB"
    for ((round = 0; round <= rounds; round++)); do
        for ((turn = 0; turn < ${#programs[@]}; turn++)); do
            program=${programs[$(((round + turn) % ${#programs[@]}))]}
            clean_copies
            sync
            if [ "$program" = install ]; then
                wine_bench "$dist_win\\bench_install.exe" "$bench_win\\target" "$acad_win" "$round"
            elif [ "$program" = process ]; then
                mkdir -p "$(linux_path "$bench_win\\bare")"
                wine_bench "$windows_dir/bin/bench_install_process.exe" "$dist_win" \
                    "$bench_win\\target" "$bench_win\\bare" "$acad_win" \
                    "$(wine_windows_path "$windows_dir/bin/bench_bare_copy.exe")" "$round"
            else
                mkdir -p "$(linux_path "$bench_win\\bare")"
                wine_bench "$windows_dir/bin/bench_bare_copy.exe" "$dist_win\\Data" \
                    "$bench_win\\bare" "$round" "$program"
            fi
        done
    done
    clean_copies
}

bench_startup() {
    local startup_rounds=$((rounds * 2))
    log "start-up: $startup_rounds rounds of SetUp.exe and the empty dialogs"
    wine_bench "$windows_dir/bin/bench_startup.exe" "$dist_win" "$acad_win" "$startup_rounds"
}

bench_registry() {
    log "registry: discovery and trusted paths, memory registry (native)"
    "$native_dir/bin/bench_registry_native" "$rounds" 2>>"$log" | tee -a "$samples" >>"$log"
    log "registry: discovery and trusted paths, Wine's registry"
    wine_bench "$windows_dir/bin/bench_registry.exe" "$rounds"
}

# File sizes as shipped (a release build is stripped), and SetUp.exe's by
# section: code, its unwind tables, constants and data, resources.
bench_footprint() {
    local name file
    for name in setup:SetUp empty:bench_empty_dialog; do
        file=$windows_dir/bin/${name#*:}.exe
        echo "sample size.${name%%:*}.kb 1 $(($(stat -c %s "$file") / 1024))" >>"$samples"
    done
    local section size code=0 unwind=0 data=0 resources=0
    while read -r _ section size _; do
        case "$section" in
            .text) code=$((code + 16#$size)) ;;
            .pdata | .xdata) unwind=$((unwind + 16#$size)) ;;
            .rdata | .data) data=$((data + 16#$size)) ;;
            .rsrc) resources=$((resources + 16#$size)) ;;
        esac
    done < <(x86_64-w64-mingw32-objdump -h "$windows_dir/bin/SetUp.exe" | grep -E '^ +[0-9]+ ')
    {
        echo "sample size_code.setup.kb 1 $((code / 1024))"
        echo "sample size_unwind.setup.kb 1 $((unwind / 1024))"
        echo "sample size_data.setup.kb 1 $((data / 1024))"
        echo "sample size_resources.setup.kb 1 $((resources / 1024))"
    } >>"$samples"
}

# ---------------------------------------------------------------------------
# The table.

table_rows() {
    local platform where size
    cat <<'EOF'
row|Installation, 100 files of 1 MiB (Wine)|install.ms|bare_copy.ms|ratio<=1.1|ms
row|SetUp.exe /VERYSILENT as a process, against a copying process (Wine)|install_process.ms|copy_process.ms|ratio<=1.2|ms
row|&nbsp;&nbsp;its program files (97 of them)|install_deploy.ms|bare_copy.ms|-|ms
row|&nbsp;&nbsp;bare copy with its 3 read-only clearings per file (attribute reads)|bare_copy_reads3.ms|bare_copy.ms|-|ms
row|&nbsp;&nbsp;the same and CopyFile's own read-only check (4 reads)|bare_copy_reads4.ms|bare_copy.ms|-|ms
row|&nbsp;&nbsp;time inside its file-system calls|install_files.ms|bare_copy.ms|-|ms
row|&nbsp;&nbsp;the rest: its own work and the registry|install_rest.ms|-|-|ms
row|&nbsp;&nbsp;its registration (1 product, 2 profiles)|install_register.ms|-|-|ms
row|&nbsp;&nbsp;its support files (2 fonts)|install_support.ms|-|-|ms
row|Start-up to the first page (Wine)|startup.setup.ms|startup.empty.ms|ratio<=1.2|ms
row|&nbsp;&nbsp;empty dialog with the common controls loaded first|startup.empty_comctl.ms|startup.empty.ms|-|ms
EOF
    for platform in native wine; do
        where=$([ "$platform" = native ] && echo "memory registry" || echo "Wine registry")
        echo "row|Discovery, 1000 product keys ($where)|discovery.$platform.1000.ms|plain_enum.$platform.1000.ms|ratio<=2|ms"
        for size in 250 500 1000 2000; do
            echo "row|&nbsp;&nbsp;per key at $size keys|discovery.$platform.$size.us_per_key|plain_enum.$platform.$size.us_per_key|ratio<=2|µs"
        done
        echo "row|&nbsp;&nbsp;growth: per key at 2000 ÷ at 250|discovery.$platform.2000.us_per_key|discovery.$platform.250.us_per_key|ratio<=1.5|µs"
        echo "row|Trusted paths, per profile, 200 × 100 entries ($where)|trusted.$platform.us_per_profile|plain_trusted.$platform.us_per_profile|-|µs"
    done
    cat <<'EOF'
row|SetUp.exe as shipped|size.setup.kb|size.empty.kb|<=400|KiB
row|&nbsp;&nbsp;its code (.text)|size_code.setup.kb|-|-|KiB
row|&nbsp;&nbsp;its unwind tables (.pdata, .xdata)|size_unwind.setup.kb|-|-|KiB
row|&nbsp;&nbsp;its constants and data (.rdata, .data)|size_data.setup.kb|-|-|KiB
row|&nbsp;&nbsp;its resources (.rsrc: dialogs, images, icon, manifest, version)|size_resources.setup.kb|-|-|KiB
row|Peak working set, first page showing (Wine)|peak_ws.setup.kb|peak_ws.empty.kb|-|KiB
row|&nbsp;&nbsp;empty dialog with the common controls|peak_ws.empty_comctl.kb|peak_ws.empty.kb|-|KiB
EOF
}

print_table() {
    local table=$results_dir/table.md
    {
        echo "Machine: $(nproc) CPUs, $(sed -n 's/^model name[[:space:]]*: //p' /proc/cpuinfo | head -n 1)," \
            "$(wine --version 2>/dev/null), $(date -u '+%Y-%m-%d %H:%M UTC'), commit $(git -C "$repo" rev-parse --short HEAD)," \
            "load average $load_before before and $(load_average) after the measurements"
        echo
        { cat "$samples"; table_rows; } | awk -f "$repo/bench/table.awk"
        echo
        echo "Measured: median (lowest–highest, n runs). Against: the baseline, run in turns with it" \
            "(installation: a bare CopyFileA of the same files; start-up: an empty dialog program;" \
            "discovery: one plain enumeration of the same keys; trusted paths: a plain read and write" \
            "of each list; growth: the per-key cost at 250 keys). Ratio: median of the per-round ratios."
    } | tee "$table"
    log "table: $table; samples: $samples; log: $log"
}

# ---------------------------------------------------------------------------

session_open=false
load_before=
cleanup() {
    local status=$?
    if "$session_open"; then
        clean_machine
        wine_session_stop
    fi
    # Never silent: a run that stops early says so.
    [ "$status" -eq 0 ] || log "FAILED (exit $status); the lines above and $log say why"
}

main() {
    parse_arguments "$@"
    mkdir -p "$results_dir"
    : >"$samples"
    : >"$log"
    build

    trap cleanup EXIT
    wine_session_use "$VARNOK_WINEPREFIX"
    wine_session_stop # whatever an interrupted run left behind
    session_open=true
    wine_session_enter until-stopped
    lay_out_machine

    local start=$SECONDS bench
    load_before=$(load_average)
    for bench in install startup registry footprint; do
        if [[ ",$only," == *",$bench,"* ]]; then "bench_$bench"; fi
    done
    log "measured in $((SECONDS - start)) s"
    print_table
}

main "$@"
