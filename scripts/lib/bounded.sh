# shellcheck shell=bash
# Commands with a time limit that say what they were waiting for when they fail,
# sourced by the scripts (bash, under `set -euo pipefail`).

# Who speaks in the messages; a script may set it before the first call.
: "${BOUNDED_WHO:=$(basename "${0:-bash}" .sh)}"

# bounded [--foreground] SECONDS WHAT COMMAND...: runs COMMAND, its output
# passed through, ending it after SECONDS. When it fails or runs out of time,
# says so on stderr, naming WHAT, and returns its exit status (124 for out of
# time). --foreground leaves the command the terminal (a sudo password prompt)
# at the price of ending only the command itself, not what it started.
bounded() {
    local how=() limit what status=0
    if [ "$1" = --foreground ]; then
        how=(--foreground)
        shift
    fi
    limit=$1 what=$2
    shift 2
    timeout "${how[@]}" --kill-after=10 "$limit" "$@" || status=$?
    case "$status" in
        0) ;;
        124 | 137) echo "$BOUNDED_WHO: gave up after ${limit}s waiting for $what" >&2 ;;
        *) echo "$BOUNDED_WHO: $what failed (exit $status)" >&2 ;;
    esac
    return "$status"
}

# bounded_quiet SECONDS WHAT COMMAND...: as bounded, but the command's output
# goes to a file (stdin from /dev/null), shown only when it fails. For Wine
# commands: Wine's background processes keep copies of a program's output
# handles, so a pipe given to one would stay open long after it ended.
bounded_quiet() {
    local limit=$1 what=$2 status=0 output
    shift 2
    output=$(mktemp "${TMPDIR:-/tmp}/bounded.XXXXXX")
    timeout --kill-after=10 "$limit" "$@" </dev/null >"$output" 2>&1 8>&- 9>&- || status=$?
    if [ "$status" -ne 0 ]; then
        if [ "$status" -eq 124 ] || [ "$status" -eq 137 ]; then
            echo "$BOUNDED_WHO: gave up after ${limit}s waiting for $what" >&2
        else
            echo "$BOUNDED_WHO: $what failed (exit $status)" >&2
        fi
        if [ -s "$output" ]; then
            echo "$BOUNDED_WHO: its output (last 20 lines):" >&2
            tail -n 20 "$output" | sed 's/^/    /' >&2
        fi
    fi
    rm -f "$output"
    return "$status"
}
