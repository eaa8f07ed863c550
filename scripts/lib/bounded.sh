# shellcheck shell=bash
# Commands with a time limit that say what they were waiting for when they fail,
# sourced by the scripts (bash, under `set -euo pipefail`).

# Who speaks in the messages; a script may set it before the first call.
: "${BOUNDED_WHO:=$(basename "${0:-bash}" .sh)}"

# How timeout runs a command. Normally in a process group of its own, so that
# running out of time ends everything the command started. At a terminal it
# stays in the terminal's group instead (--foreground), so that Ctrl-C reaches
# it and a sudo password prompt can read; then only the command itself is ended.
bounded_mode() {
    if [ -t 0 ]; then echo --foreground; fi
}

# bounded SECONDS WHAT COMMAND...: runs COMMAND, its output passed through,
# ending it after SECONDS. When it fails or runs out of time, says so on
# stderr, naming WHAT, and returns its exit status (124 for out of time).
bounded() {
    local limit=$1 what=$2 status=0
    shift 2
    # shellcheck disable=SC2046 # no word or one
    timeout $(bounded_mode) --kill-after=10 "$limit" "$@" || status=$?
    bounded_report "$status" "$limit" "$what"
    return "$status"
}

bounded_report() {
    case "$1" in
        0) ;;
        124 | 137) echo "$BOUNDED_WHO: gave up after ${2}s waiting for $3" >&2 ;;
        *) echo "$BOUNDED_WHO: $3 failed (exit $1)" >&2 ;;
    esac
}

# bounded_quiet SECONDS WHAT COMMAND...: as bounded, but the command's output
# goes to a file (stdin from /dev/null), shown only when it fails. For Wine
# commands: Wine's background processes keep copies of a program's output
# handles, so a pipe given to one would stay open long after it ended.
bounded_quiet() {
    local limit=$1 what=$2 status=0 output
    shift 2
    output=$(mktemp "${TMPDIR:-/tmp}/bounded.XXXXXX")
    # shellcheck disable=SC2046 # no word or one
    timeout $(bounded_mode) --kill-after=10 "$limit" "$@" </dev/null >"$output" 2>&1 8>&- 9>&- ||
        status=$?
    bounded_report "$status" "$limit" "$what"
    if [ "$status" -ne 0 ]; then
        if [ -s "$output" ]; then
            echo "$BOUNDED_WHO: its output (last 20 lines):" >&2
            tail -n 20 "$output" | sed 's/^/    /' >&2
        fi
    fi
    rm -f "$output"
    return "$status"
}
