#!/usr/bin/env bash
# Builds the fuzz targets of tests/fuzz with clang, libFuzzer, ASan and UBSan
# (build/fuzz) and runs each one for a bounded time, starting from its
# committed seeds (tests/fuzz/corpus/<target>) and the inputs earlier runs
# kept (build/fuzz/corpus/<target>).
#
#   scripts/fuzz.sh              each target 12 seconds (the test run's smoke check)
#   scripts/fuzz.sh --long N     each target N seconds
#   --only a,b                   only the targets named (with or without --long)
#
# A failing input is saved as build/fuzz/artifacts/<target>/crash-*; replay it
# with build/fuzz/<target>_fuzz <file>. Exits non-zero when any target failed.
set -euo pipefail

repo=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build=$repo/build/fuzz
targets=(folder_path trusted_paths mbcs discovery command_line record choices)
seconds=12

usage() { echo "usage: $0 [--long SECONDS] [--only TARGET,...]" >&2; exit 2; }
while [ "$#" -gt 0 ]; do
    case "$1" in
        --long)
            seconds=${2:-}
            [[ $seconds =~ ^[1-9][0-9]*$ ]] || { echo "fuzz: not a number of seconds: $seconds" >&2; exit 2; }
            shift 2
            ;;
        --only)
            IFS=, read -r -a chosen <<<"${2:-}"
            [ "${#chosen[@]}" -gt 0 ] || usage
            for target in "${chosen[@]}"; do
                [[ " ${targets[*]} " == *" $target "* ]] || { echo "fuzz: no target $target (targets: ${targets[*]})" >&2; exit 2; }
            done
            targets=("${chosen[@]}")
            shift 2
            ;;
        *) usage ;;
    esac
done

# clang takes no -fexec-charset but UTF-8. The sources of src/ are compiled
# from a mirror whose literals are GBK escapes (tests/fuzz/gbk_sources.py);
# the fuzz targets themselves are compiled as they are, so they hold ASCII only.
if non_ascii=$(grep -lP '[^\x00-\x7F]' "$repo"/tests/fuzz/*.[ch]*); then
    echo "fuzz: non-ASCII text in fuzz sources compiled by clang:" >&2
    echo "$non_ascii" >&2
    exit 1
fi

CC=clang CXX=clang++ cmake -S "$repo/tests/fuzz" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Debug >/dev/null
cmake --build "$build" --parallel "$(nproc)"

# A small quarantine: big freed blocks otherwise cost a page fault each on reuse.
export ASAN_OPTIONS=detect_leaks=1:halt_on_error=1:quarantine_size_mb=4
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
failed=()
for target in "${targets[@]}"; do
    corpus=$build/corpus/$target
    artifacts=$build/artifacts/$target
    mkdir -p "$corpus" "$artifacts"
    echo "==== $target: $seconds s"
    status=0
    # Records of whole installations run to a few kilobytes.
    max_len=4096
    [ "$target" = record ] && max_len=8192
    "$build/${target}_fuzz" -max_total_time="$seconds" -timeout=20 -rss_limit_mb=2048 \
        -max_len="$max_len" -print_final_stats=1 -artifact_prefix="$artifacts/" \
        "$corpus" "$repo/tests/fuzz/corpus/$target" >"$build/$target.log" 2>&1 || status=$?
    grep -E '^stat::number_of_executed_units|^stat::new_units_added|^#[0-9]+ +DONE' "$build/$target.log" || true
    if [ "$status" -ne 0 ]; then
        failed+=("$target")
        echo "fuzz: $target FAILED (exit $status); its log: $build/$target.log" >&2
        grep -E 'property does not hold|ERROR: |runtime error|SUMMARY|Test unit written' \
            "$build/$target.log" | head -20 >&2 || true
    fi
done

if [ "${#failed[@]}" -ne 0 ]; then
    echo "fuzz: failed: ${failed[*]}" >&2
    exit 1
fi
echo "fuzz: every target ran $seconds s with every property holding"
