#!/usr/bin/env bash
# Builds the native preset with AddressSanitizer and UndefinedBehaviorSanitizer
# (build/sanitize) and runs every native test. Fails on a failed test and on
# any sanitizer report, even one a test program survived or swallowed.
set -euo pipefail

repo=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build=$repo/build/sanitize
log=$build/ctest.log

cmake -S "$repo" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Debug -DVARNOK_SANITIZE=ON
cmake --build "$build" --parallel "$(nproc)"

# Stop at the first report; leaks are reports too.
export ASAN_OPTIONS=detect_leaks=1:halt_on_error=1:abort_on_error=0:strict_string_checks=1:detect_stack_use_after_return=1:check_initialization_order=1:strict_init_order=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
export LSAN_OPTIONS=report_objects=1

# Every test's whole output goes to the log, so that it can be searched;
# the console gets ctest's summary.
status=0
ctest --test-dir "$build" --parallel "$(nproc)" --timeout 600 --verbose >"$log" 2>&1 || status=$?
sed -n '/tests passed, /,$p' "$log"

# A report in the output of a test that still passed counts as a failure.
if grep -E -n 'ERROR: (AddressSanitizer|LeakSanitizer)|runtime error:|SUMMARY: (Address|Undefined|Leak)' "$log"; then
    echo "sanitize: sanitizer reports found (see $log)" >&2
    exit 1
fi
if [ "$status" -ne 0 ]; then
    echo "sanitize: ctest failed (exit $status)" >&2
    exit "$status"
fi
echo "sanitize: every native test passed with no sanitizer report"
