#!/usr/bin/env bash
# Tries the README's Quick start on a fresh Debian 12, as a new user would: a
# debootstrap minbase system with only git added, the project cloned into it
# (the committed HEAD of this repository) with a copy of ../shared beside it,
# then scripts/demo.sh and scripts/test.sh run in that order as root, with no
# display, each with a time limit. Prints each command's exit code and time.
# Not part of the test command: it downloads and builds everything (an hour or
# so on two busy CPUs).
#
# Usage (as root): scripts/fresh-machine-check.sh [--keep]
#   --keep  leave the machine's root folder for a look afterwards
# The minbase+git system is built once and kept as a tarball
# ($VARNOK_FRESH_CACHE, default /var/cache/varnok/debian12-minbase-git.tar.gz);
# every run unpacks a fresh copy of it under build/fresh-machine/.
set -euo pipefail

repo=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
BOUNDED_WHO="fresh-machine-check"
# shellcheck source-path=SCRIPTDIR/lib
source "$repo/scripts/lib/bounded.sh"

readonly suite=bookworm
readonly cache=${VARNOK_FRESH_CACHE:-/var/cache/varnok/debian12-minbase-git.tar.gz}
readonly work=$repo/build/fresh-machine
readonly root=$work/root
readonly project=/work/varnok  # where the clone sits inside the machine; shared/ beside it
# Time limits, in seconds.
readonly debootstrap_seconds=1800
readonly demo_seconds=3600
readonly test_seconds=5400

mounted=()   # mount points inside the machine, unmounted on every way out
checked=""   # the commit cloned into the machine
results=()   # one line per Quick start command
keep=false

log() { echo "fresh-machine-check: $*"; }
die() {
    echo "fresh-machine-check: $*" >&2
    exit 1
}

# The Debian mirror this machine's apt uses, for debootstrap.
host_mirror() {
    local uri
    uri=$(grep -hoE '^(URIs:|deb) +https?://[^ ]+/debian/?( |$)' \
        /etc/apt/sources.list.d/*.sources /etc/apt/sources.list 2>/dev/null |
        grep -oE 'https?://[^ ]+' | head -n 1) || true
    echo "${uri:-http://deb.debian.org/debian}"
}

ensure_debootstrap() {
    command -v debootstrap >/dev/null && return 0
    log "installing debootstrap"
    bounded 600 "apt-get update" apt-get update -qq
    DEBIAN_FRONTEND=noninteractive bounded 600 "apt-get to install debootstrap" \
        apt-get install -y -qq --no-install-recommends debootstrap
}

# The minbase+git system, made once.
ensure_cache() {
    [ -s "$cache" ] && return 0
    ensure_debootstrap
    local fresh mirror
    mirror=$(host_mirror)
    mkdir -p "$(dirname "$cache")"
    fresh=$(mktemp -d "$(dirname "$cache")/debootstrap.XXXXXX")
    log "building Debian 12 (minbase + git) from $mirror, once; kept as $cache"
    if ! bounded "$debootstrap_seconds" "debootstrap to build Debian 12" \
        debootstrap --variant=minbase --include=git "$suite" "$fresh" "$mirror"; then
        tail -n 20 "$fresh/debootstrap/debootstrap.log" 2>/dev/null >&2 || true
        rm -rf "$fresh"
        exit 1
    fi
    bounded 600 "tar to pack the new system" \
        tar --numeric-owner -C "$fresh" -czf "$cache.new" .
    mv "$cache.new" "$cache"
    rm -rf "$fresh"
}

# Processes whose root is the machine (left by a command that was cut short).
machine_processes() {
    local link pid
    for link in /proc/[0-9]*/root; do
        [ "$(readlink "$link" 2>/dev/null)" = "$root" ] || continue
        pid=${link#/proc/}
        echo "${pid%/root}"
    done
}

end_machine_processes() {
    local pids
    pids=$(machine_processes)
    [ -n "$pids" ] || return 0
    log "ending what is still running inside the machine: $(echo "$pids" | tr '\n' ' ')"
    # shellcheck disable=SC2086 # one pid per word
    kill $pids 2>/dev/null || true
    sleep 2
    pids=$(machine_processes)
    # shellcheck disable=SC2086
    [ -z "$pids" ] || kill -9 $pids 2>/dev/null || true
}

mount_into() {
    local target=$root$1
    shift
    mkdir -p "$target"
    mount "$@" "$target" || die "could not mount $target"
    mounted+=("$target")
}

unmount_all() {
    local i
    for ((i = ${#mounted[@]} - 1; i >= 0; i--)); do
        umount "${mounted[i]}" 2>/dev/null || umount -l "${mounted[i]}" ||
            echo "fresh-machine-check: could not unmount ${mounted[i]}" >&2
    done
    mounted=()
}

# Ends what runs inside the machine, unmounts and, unless kept, removes it.
teardown() {
    if [ -d "$root" ]; then end_machine_processes; fi
    unmount_all
    if [ -d "$root" ] && ! "$keep"; then
        log "removing the machine"
        rm -rf --one-file-system "$root"
    fi
}

cleanup() {
    local status=$?
    trap - EXIT
    if [ "$status" -eq 130 ] || [ "$status" -eq 143 ]; then
        echo "fresh-machine-check: FAILED: interrupted; cleaning up" >&2
    fi
    teardown
    exit "$status"
}

# A fresh copy of the cached system, with the project cloned into it.
lay_out_machine() {
    checked=$(git -C "$repo" rev-parse HEAD)
    rm -rf --one-file-system "$root"
    mkdir -p "$root"
    log "unpacking a fresh Debian 12 into $root"
    bounded 600 "tar to unpack $cache" tar --numeric-owner -C "$root" -xzf "$cache"
    # Network names, and the same package sources as this machine.
    cp /etc/resolv.conf "$root/etc/resolv.conf"
    if [ -d /etc/apt/sources.list.d ]; then
        cp /etc/apt/sources.list.d/*.sources "$root/etc/apt/sources.list.d/" 2>/dev/null &&
            rm -f "$root/etc/apt/sources.list"
    fi

    if [ -n "$(git -C "$repo" status --porcelain --untracked-files=no)" ]; then
        log "note: uncommitted changes of $repo are not part of the check"
    fi
    log "cloning $repo at $checked into $project"
    mkdir -p "$root$(dirname "$project")"
    bounded 600 "git to clone the project" \
        git clone --quiet --no-checkout "$repo" "$root$project"
    git -C "$root$project" checkout --quiet --detach "$checked"
    [ -d "$repo/../shared" ] || die "no shared folder beside $repo"
    cp -r "$repo/../shared" "$root$(dirname "$project")/shared"
}

mount_machine() {
    mount_into /proc -t proc proc
    mount_into /sys -t sysfs sysfs
    mount_into /dev --bind /dev
    mount_into /dev/pts --bind /dev/pts
    mount_into /dev/shm -t tmpfs shm
    mount_into /tmp -t tmpfs -o mode=1777 tmp
}

# quick_start NAME SECONDS: runs one README command in the machine as root,
# without a display, its output followed here and kept in build/fresh-machine/.
quick_start() {
    local command=$1 limit=$2 start=$SECONDS status=0 output
    output=$work/$(basename "$command" .sh).log
    log "running $command (limit ${limit}s; output also in $output)"
    # A file, not a pipe: Wine's background processes would hold a pipe open.
    BOUNDED_WHO="fresh-machine-check ($command)" bounded "$limit" "$command to finish" \
        chroot "$root" /usr/bin/env -i HOME=/root PATH=/usr/local/sbin:/usr/local/bin:/usr/sbin:/usr/bin:/sbin:/bin \
        /bin/bash -c "cd $project && $command" </dev/null >"$output" 2>&1 &
    local runner=$!
    tail -q -s 1 -n +1 -f --pid="$runner" "$output" | sed -u 's/^/    | /' &
    local follower=$!
    wait "$runner" || status=$?
    wait "$follower" || true
    end_machine_processes
    local verdict=passed
    [ "$status" -eq 0 ] || verdict="FAILED (exit $status)"
    results+=("$(printf '%-16s %-18s %4dm %02ds' "$command" "$verdict" \
        $(((SECONDS - start) / 60)) $(((SECONDS - start) % 60)))")
    log "$command: exit $status after $((SECONDS - start))s"
    return "$status"
}

main() {
    case "${1:-}" in
        "") ;;
        --keep) keep=true ;;
        *)
            echo "usage: scripts/fresh-machine-check.sh [--keep]" >&2
            exit 2
            ;;
    esac
    [ "$(id -u)" -eq 0 ] || die "needs root (debootstrap, chroot, mounts)"
    local total_start=$SECONDS failures=0
    mkdir -p "$work"
    trap cleanup EXIT
    trap 'exit 130' INT
    trap 'exit 143' TERM

    ensure_cache
    lay_out_machine
    mount_machine

    # The README's Quick start, in order.
    quick_start scripts/demo.sh "$demo_seconds" || failures=$((failures + 1))
    quick_start scripts/test.sh "$test_seconds" || failures=$((failures + 1))
    teardown

    echo
    echo "==== Quick start on a fresh Debian 12 (commit ${checked:0:7})"
    local line
    for line in "${results[@]}"; do echo "   $line"; done
    echo "   total $(((SECONDS - total_start) / 60))m $(((SECONDS - total_start) % 60))s"
    if [ "$failures" -ne 0 ]; then
        echo "fresh-machine-check: FAILED: $failures of 2 Quick start commands"
        exit 1
    fi
    echo "fresh-machine-check: PASSED: both Quick start commands"
}

main "$@"
