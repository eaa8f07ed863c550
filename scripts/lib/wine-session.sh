# shellcheck shell=bash
# Wine session helpers, sourced by the Wine runner, the test command and the
# demo (bash, under `set -euo pipefail`).
#
# Each build folder has its own private Wine prefix. A prefix is initialised
# once (stamp file), and while programs run in it a wineserver stays alive and,
# when the caller has no DISPLAY, a private Xvfb serves as its screen, so each
# program starts in well under a second.
#
# Bookkeeping lives in "$WINEPREFIX/.varnok/":
#   init.lock, initialised   first-use initialisation and the recipe it used
#   session.lock             held shared while a program runs, exclusive to
#                            start or stop the display (fd 9 in this shell)
#   last-use                 touched as programs start and end (idle time)
#   xvfb.pid, xvfb.display   the private X server, when one was needed
#   keeper.pid               the process that ends an idle session
#   *.log                    output of wineboot, Xvfb and the keeper
#
# Wine processes must never inherit the lock descriptors: a wineserver or a
# Wine system process holding one would keep the lock for its whole life.
# That is why every Wine command here closes fds 8 and 9.

# Bump when the initialisation below changes: existing prefixes then redo it.
VARNOK_PREFIX_RECIPE=3

VARNOK_LIB_DIR=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
# shellcheck source-path=SCRIPTDIR
source "$VARNOK_LIB_DIR/bounded.sh"

# Time limits of the session's own steps, in seconds. Every wait is bounded
# and a failed one says what it waited for.
VARNOK_WINEBOOT_SECONDS=600   # the first start of a prefix, busy machine
VARNOK_WINE_TOOL_SECONDS=120  # regedit, and a wineserver ending its programs
VARNOK_LOCK_SECONDS=120       # start or stop of the display by another run

wine_log() { echo "wine-session: $*" >&2; }

wine_require() {
    local tool
    for tool in "$@"; do
        if ! command -v "$tool" >/dev/null 2>&1; then
            wine_log "'$tool' is missing; install the dependencies with scripts/install-deps.sh"
            exit 127
        fi
    done
}

# wine_session_use PREFIX: exports the environment every Wine run needs.
wine_session_use() {
    wine_require wine wineserver wineboot flock iconv setsid realpath
    WINEPREFIX=$(realpath -m -- "$1")
    export WINEPREFIX
    export WINEARCH=win64
    export WINEDEBUG=-all                      # also silences Debian's wine32 hint
    export WINEDLLOVERRIDES="mscoree,mshtml="  # no Mono or Gecko install prompts
    export LANG=zh_CN.UTF-8 LC_ALL=zh_CN.UTF-8 # the ANSI code page 936
    VARNOK_STATE=$WINEPREFIX/.varnok
    mkdir -p "$VARNOK_STATE"
    # A DISPLAY given by the caller is used as it is; otherwise a private Xvfb.
    VARNOK_CALLER_DISPLAY=${DISPLAY:-}
}

# wine_session_enter SECONDS|until-stopped: makes the prefix ready to run
# programs and holds the session shared (fd 9) until this shell exits or calls
# wine_session_leave. The wineserver outlives the last program by SECONDS, or
# lives until wine_session_stop.
wine_session_enter() {
    local persist=$1
    wine_prefix_init
    exec 9>>"$VARNOK_STATE/session.lock"
    wine_lock -s 9 session.lock "$VARNOK_LOCK_SECONDS" || exit 1
    if ! wine_display_alive; then
        # Converting a flock is not atomic: check again once exclusive.
        wine_lock -x 9 session.lock "$VARNOK_LOCK_SECONDS" || exit 1
        wine_display_alive || wine_display_start "$persist"
        wine_lock -s 9 session.lock "$VARNOK_LOCK_SECONDS" || exit 1
    fi
    [ -n "$VARNOK_CALLER_DISPLAY" ] || DISPLAY=":$(<"$VARNOK_STATE/xvfb.display")"
    export DISPLAY
    wine_server_start "$persist"
    wine_session_touch
}

wine_session_leave() { exec 9>&-; }

# Marks the session as in use now; the keeper measures idle time from here.
wine_session_touch() { touch "$VARNOK_STATE/last-use"; }

# wine_lock -s|-x FD NAME SECONDS: takes a lock of the prefix's bookkeeping, or
# names the lock it waited for and fails.
wine_lock() {
    flock -w "$4" "$1" "$2" && return 0
    wine_log "gave up after ${4}s waiting for the lock $VARNOK_STATE/$3" \
        "(held by a run of this prefix that is still going or hangs)"
    return 1
}

# wine_quiet SECONDS WHAT COMMAND...: a Wine command, bounded, its output shown
# only when it fails, never holding the session's locks.
wine_quiet() { bounded_quiet "$@"; }

# wine_server_start SECONDS|until-stopped
wine_server_start() {
    local persist=$1
    [ "$persist" != until-stopped ] || persist=""
    # Fails at once when the prefix's wineserver already runs: that is fine.
    timeout 30 wineserver "-p$persist" </dev/null >/dev/null 2>&1 8>&- 9>&- || true
}

# ---------------------------------------------------------------------------
# First use of a prefix.

wine_prefix_init() {
    local stamp=$VARNOK_STATE/initialised
    [ "$(cat "$stamp" 2>/dev/null)" = "$VARNOK_PREFIX_RECIPE" ] && return 0
    exec 8>>"$VARNOK_STATE/init.lock"
    wine_lock -x 8 init.lock $((VARNOK_WINEBOOT_SECONDS + VARNOK_LOCK_SECONDS)) || exit 1
    if [ "$(cat "$stamp" 2>/dev/null)" != "$VARNOK_PREFIX_RECIPE" ]; then
        wine_log "preparing the Wine prefix $WINEPREFIX (first use takes a while)"
        wine_quiet "$VARNOK_WINEBOOT_SECONDS" "wineboot to prepare the prefix $WINEPREFIX" \
            wineboot -i || exit 1
        wine_import_font_replacements
        wine_install_caption_font
        wine_add_drive d "$WINEPREFIX/drive_d"
        [ -e "$WINEPREFIX/dosdevices/z:" ] || ln -s / "$WINEPREFIX/dosdevices/z:"
        # End the session wineboot left behind (its system processes would
        # keep it up): the wineserver saves the registry as it exits, and
        # programs then run with their own display and wineserver.
        wine_server_end
        echo "$VARNOK_PREFIX_RECIPE" >"$stamp"
        wine_log "Wine prefix ready"
    fi
    exec 8>&-
}

# Chinese dialog texts need a font with CJK glyphs in place of the fonts
# Windows dialogs ask for; the "Sharp" face keeps every stroke at 9 points,
# where the plain face loses some. Windows without a window manager (Xvfb) are
# left unmanaged, so Wine draws their captions and does not wait for a manager
# each time a window closes. regedit reads UTF-16LE with a BOM without loss.
wine_import_font_replacements() {
    local reg=$VARNOK_STATE/font-replacements.reg font="WenQuanYi Zen Hei Sharp"
    {
        printf '\xff\xfe'
        iconv -f UTF-8 -t UTF-16LE <<EOF
Windows Registry Editor Version 5.00

[HKEY_CURRENT_USER\\Software\\Wine\\Fonts\\Replacements]
"SimSun"="$font"
"宋体"="$font"
"NSimSun"="$font"
"MS Shell Dlg"="$font"
"MS Shell Dlg 2"="$font"
"Tahoma"="$font"

[HKEY_CURRENT_USER\\Software\\Wine\\X11 Driver]
"Managed"="N"
EOF
    } >"$reg"
    wine_regedit_import "$reg"
}

# The caption buttons (minimise, maximise, close) are glyphs of Marlett. This
# Wine does not load the fonts of its own data folder (fonts-wine), only those
# of the prefix's Fonts folder and the system's, so Marlett goes there.
wine_install_caption_font() {
    local font=/usr/share/wine/fonts/marlett.ttf
    if [ ! -f "$font" ]; then
        wine_log "$font is missing: caption buttons would show letters; install fonts-wine"
        exit 1
    fi
    cp "$font" "$WINEPREFIX/drive_c/windows/Fonts/"
}

# wine_regedit_import FILE: imports a .reg file (any encoding regedit reads).
wine_regedit_import() {
    wine_quiet "$VARNOK_WINE_TOOL_SECONDS" "regedit to import $1" \
        wine regedit /S "$(wine_windows_path "$1")"
}

# wine_server_end: ends every program of the prefix and its wineserver, which
# saves the registry as it exits. Says so when they do not end in time.
wine_server_end() {
    timeout 30 wineserver -k </dev/null >/dev/null 2>&1 8>&- 9>&- || true
    if ! timeout "$VARNOK_WINE_TOOL_SECONDS" wineserver -w </dev/null >/dev/null 2>&1 8>&- 9>&-; then
        local pids
        pids=$(wine_server_pids)
        if [ -n "$pids" ]; then
            wine_log "the wineserver of $WINEPREFIX did not end within ${VARNOK_WINE_TOOL_SECONDS}s; killing it"
            # shellcheck disable=SC2086 # one pid per word
            kill -9 $pids 2>/dev/null || true
        fi
    fi
}

# The wineservers serving this prefix (their working folder is its server folder).
wine_server_pids() {
    local pid dir device inode
    read -r device inode < <(stat -c '%d %i' "$WINEPREFIX" 2>/dev/null) || return 0
    dir=$(printf 'server-%x-%x' "$device" "$inode")
    while IFS= read -r pid; do
        [[ "$(readlink "/proc/$pid/cwd" 2>/dev/null)" == */"$dir" ]] && echo "$pid"
    done < <(grep -lx wineserver /proc/[0-9]*/comm 2>/dev/null | cut -d/ -f3)
    return 0
}

# wine_windows_path PATH: the Windows form of an absolute Linux path (drive Z:).
wine_windows_path() {
    local path
    path=$(realpath -m -- "$1")
    printf 'Z:%s' "${path//\//\\}"
}

# wine_add_drive LETTER FOLDER: gives the prefix a drive backed by FOLDER.
wine_add_drive() {
    mkdir -p "$2"
    # Relative, like Wine's own c: link, so a moved build folder keeps working.
    ln -sfn "$(realpath --relative-to="$WINEPREFIX/dosdevices" -- "$2")" "$WINEPREFIX/dosdevices/$1:"
}

# ---------------------------------------------------------------------------
# The private display and its keeper.

# The private display is usable while its X server and its keeper both run;
# without the keeper nothing would ever end the session.
wine_display_alive() {
    [ -n "$VARNOK_CALLER_DISPLAY" ] && return 0
    local pid display keeper
    pid=$(cat "$VARNOK_STATE/xvfb.pid" 2>/dev/null) || return 1
    display=$(cat "$VARNOK_STATE/xvfb.display" 2>/dev/null) || return 1
    keeper=$(cat "$VARNOK_STATE/keeper.pid" 2>/dev/null) || return 1
    wine_is_xvfb "$pid" && [ -S "/tmp/.X11-unix/X$display" ] && wine_is_keeper "$keeper"
}

wine_command_line() { tr '\0' ' ' <"/proc/$1/cmdline" 2>/dev/null; }

wine_is_xvfb() {
    [ -n "$1" ] && [[ "$(wine_command_line "$1")" == Xvfb* ]]
}

wine_is_keeper() {
    [ -n "$1" ] && [[ "$(wine_command_line "$1")" == *wine-keeper.sh\ "$WINEPREFIX"\ * ]]
}

# wine_display_start SECONDS|until-stopped: starts Xvfb on a display number it
# picks itself (-displayfd: no race with other servers), then the wineserver,
# then a keeper that ends the session after SECONDS without programs (see
# wine-keeper.sh). Caller holds the session exclusively.
wine_display_start() {
    wine_require Xvfb
    local pidfile=$VARNOK_STATE/xvfb.pid dispfile=$VARNOK_STATE/xvfb.display
    local keeperfile=$VARNOK_STATE/keeper.pid
    local fresh=$VARNOK_STATE/xvfb.display.new deadline=$((SECONDS + 30))
    # No program runs now. End what is left of an earlier session: a
    # wineserver whose display is gone would hand the next programs a dead
    # screen, and an X server whose keeper is gone would never end.
    wine_server_end
    wine_xvfb_stop ""
    wine_keeper_stop
    rm -f "$fresh"

    # setsid -f: the X server leaves this process tree, so a test runner
    # ending this run does not take the display of later runs with it.
    # shellcheck disable=SC2016 # $$, $1 and $2 belong to the inner shell
    setsid -f bash -c 'echo $$ >"$1"; exec Xvfb -displayfd 3 -nolisten tcp -screen 0 1280x1024x24 3>"$2"' \
        xvfb "$pidfile" "$fresh" </dev/null >>"$VARNOK_STATE/xvfb.log" 2>&1 8>&- 9>&-
    until grep -qE '^[0-9]+$' "$fresh" 2>/dev/null; do
        if [ "$SECONDS" -ge "$deadline" ]; then
            wine_log "Xvfb did not start; see $VARNOK_STATE/xvfb.log"
            exit 1
        fi
        sleep 0.1
    done
    mv "$fresh" "$dispfile"
    wine_server_start "$1"
    wine_session_touch
    # shellcheck disable=SC2016 # $$ and $1 belong to the inner shell
    setsid -f bash -c 'echo $$ >"$1"; shift; exec bash "$@"' \
        keeper "$keeperfile" "$VARNOK_LIB_DIR/wine-keeper.sh" "$WINEPREFIX" "$(<"$pidfile")" "$1" \
        </dev/null >>"$VARNOK_STATE/keeper.log" 2>&1 8>&- 9>&-
    until [ -s "$keeperfile" ]; do
        if [ "$SECONDS" -ge "$deadline" ]; then
            wine_log "the session keeper did not start; see $VARNOK_STATE/keeper.log"
            exit 1
        fi
        sleep 0.05
    done
}

# wine_xvfb_stop [PID]: stops the prefix's Xvfb (only if it is PID, if given).
wine_xvfb_stop() {
    local pid
    pid=$(cat "$VARNOK_STATE/xvfb.pid" 2>/dev/null) || return 0
    [ -z "${1:-}" ] || [ "$1" = "$pid" ] || return 0
    if wine_is_xvfb "$pid"; then
        kill "$pid" 2>/dev/null || true
        local deadline=$((SECONDS + 10))
        while wine_is_xvfb "$pid" && [ "$SECONDS" -lt "$deadline" ]; do sleep 0.1; done
        if wine_is_xvfb "$pid"; then
            wine_log "Xvfb ($pid) did not end within 10s; killing it"
            kill -9 "$pid" 2>/dev/null || true
        fi
    fi
    rm -f "$VARNOK_STATE/xvfb.pid" "$VARNOK_STATE/xvfb.display"
}

# wine_session_stop: ends every program of the prefix, its wineserver (which
# saves the registry) and its private Xvfb.
wine_session_stop() {
    wine_session_leave
    wine_server_end
    exec 9>>"$VARNOK_STATE/session.lock"
    # With its programs ended, a holder left behind only delays us: stop anyway.
    wine_lock -x 9 session.lock "$VARNOK_LOCK_SECONDS" || wine_log "stopping the display all the same"
    wine_xvfb_stop ""
    wine_keeper_stop
    exec 9>&-
}

wine_keeper_stop() {
    local keeper
    keeper=$(cat "$VARNOK_STATE/keeper.pid" 2>/dev/null) || true
    if wine_is_keeper "$keeper"; then kill "$keeper" 2>/dev/null || true; fi
    rm -f "$VARNOK_STATE/keeper.pid"
}
