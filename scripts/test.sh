#!/usr/bin/env bash
# The project's test command. Installs what is missing, builds the native and
# the Windows presets (build/native, build/windows) and runs both test suites,
# native first. Prints every stage's result and ctest's summaries at the end;
# exits non-zero when anything failed.
#
# Each stage is a function or a script of its own, listed in main(): after the
# two builds and their tests come a sanitizer build, a fuzz smoke run and the
# static analysis.
set -euo pipefail

repo=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$repo"
# shellcheck source-path=SCRIPTDIR/lib
source "$repo/scripts/lib/wine-session.sh"

jobs=$(nproc)
default_test_timeout_seconds=300
log_dir=$repo/build/test-logs
results=()          # one line per stage, printed at the end
ctest_logs=()       # whose summaries are printed at the end
failures=0
wine_session_open=false

# run_stage NAME COMMAND...: runs one stage, records and times its result.
run_stage() {
    local name=$1 start=$SECONDS status=0
    shift
    echo
    echo "==== $name"
    "$@" || status=$?
    local verdict=passed
    if [ "$status" -ne 0 ]; then
        verdict="FAILED (exit $status)"
        failures=$((failures + 1))
    fi
    results+=("$(printf '%-22s %-18s %4ds' "$name" "$verdict" $((SECONDS - start)))")
    return "$status"
}

skip_stage() {
    results+=("$(printf '%-22s %-18s' "$1" "not run: $2")")
    failures=$((failures + 1))
}

# ---------------------------------------------------------------------------
# Stages

stage_dependencies() {
    bash "$repo/scripts/install-deps.sh"
}

# stage_build PRESET: configure and build one preset in its default folder.
stage_build() {
    cmake --preset "$1" && cmake --build --preset "$1" --parallel "$jobs"
}

# run_ctest PRESET: ctest of one preset, its output also kept in a log. A test
# without a timeout of its own gets one, so a hang cannot stall the run.
run_ctest() {
    local log=$log_dir/$1.log
    ctest_logs+=("$log")
    ctest --preset "$1" --parallel "$jobs" --timeout "$default_test_timeout_seconds" 2>&1 | tee "$log"
    return "${PIPESTATUS[0]}"
}

stage_native_tests() {
    run_ctest native
}

# One wineserver (and display) for the whole run, stopped at the end.
stage_windows_tests() {
    wine_session_use "$repo/build/windows/wineprefix"
    wine_session_stop                # whatever an interrupted run left behind
    wine_session_open=true
    wine_session_enter until-stopped
    local status=0
    run_ctest windows || status=$?
    wine_session_stop
    wine_session_open=false
    return "$status"
}

# ---------------------------------------------------------------------------

print_summary() {
    local log line
    echo
    echo "==== Summary"
    for log in "${ctest_logs[@]}"; do
        echo "-- ctest $(basename "$log" .log):"
        if grep -q 'tests passed, ' "$log"; then
            sed -n '/tests passed, /,$p' "$log"
        else
            tail -n 5 "$log"
        fi
    done
    echo "-- stages:"
    for line in "${results[@]}"; do echo "   $line"; done
    echo "-- total time: $((SECONDS / 60))m $((SECONDS % 60))s"
}

cleanup() {
    if "$wine_session_open"; then wine_session_stop; fi
}

main() {
    trap cleanup EXIT
    mkdir -p "$log_dir"

    run_stage "dependencies" stage_dependencies || { print_summary; exit 1; }

    if run_stage "native build" stage_build native; then
        run_stage "native tests" stage_native_tests || true
    else
        skip_stage "native tests" "build failed"
    fi

    if run_stage "windows build" stage_build windows; then
        run_stage "windows tests" stage_windows_tests || true
    else
        skip_stage "windows tests" "build failed"
    fi

    # Hardening: every native test again under AddressSanitizer and
    # UndefinedBehaviorSanitizer, a short run of each fuzz target, and
    # clang-tidy and cppcheck over src/.
    run_stage "sanitizer tests" bash "$repo/scripts/sanitize.sh" || true
    run_stage "fuzz smoke run" bash "$repo/scripts/fuzz.sh" || true
    run_stage "static analysis" bash "$repo/scripts/analyze.sh" || true

    print_summary
    if [ "$failures" -ne 0 ]; then
        echo "FAILED: $failures stage(s)"
        exit 1
    fi
    echo "ALL PASSED"
}

main "$@"
