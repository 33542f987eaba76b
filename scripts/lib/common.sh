# Helpers shared by the scripts in scripts/. Source this file; do not run it. The functions
# are safe under `set -e`.
#
# Settings read from the environment (all optional):
#   TAVIMERO_WINE_TEMPLATE  template Wine prefix (default: build/wine-template)
#   TAVIMERO_WINE_METRICS   window metrics of the prefixes: "wine" (Wine's own, the default) or
#                           "win10" (those of Windows 10 and 11), from a template of their own
#   TAVIMERO_WINEDEBUG      WINEDEBUG for Wine (default: -all)
#   TAVIMERO_XVFB=1         always start an own Xvfb, even when $DISPLAY works
#   TAVIMERO_XVFB_DISPLAYS  display numbers to try for an own Xvfb (default: "90 ... 99")

TAVIMERO_ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
: "${TAVIMERO_WINE_TEMPLATE:=$TAVIMERO_ROOT/build/wine-template}"
export TAVIMERO_WINE_TEMPLATE
# Each set of window metrics has its own template (the metrics are set when a prefix is made),
# and the prefixes kept from one carry the same suffix.
case ${TAVIMERO_WINE_METRICS:=wine} in
wine) TAVIMERO_METRICS_SUFFIX= ;;
win10) TAVIMERO_METRICS_SUFFIX=-win10 ;;
*)
    printf '%s: error: TAVIMERO_WINE_METRICS is "%s"; it must be "wine" or "win10"\n' \
        "${0##*/}" "$TAVIMERO_WINE_METRICS" >&2
    exit 2
    ;;
esac
# The template of the chosen metrics.
TAVIMERO_TEMPLATE=$TAVIMERO_WINE_TEMPLATE$TAVIMERO_METRICS_SUFFIX
# Written into a finished template; an interrupted creation has none and is redone.
TAVIMERO_TEMPLATE_STAMP=.tavimero-template-complete

tavimero_log() { printf '%s: %s\n' "${0##*/}" "$*" >&2; }
tavimero_die() { tavimero_log "error: $*"; exit 1; }

# The environment every Wine call of this project runs with: no debug channels (and so no
# "wine32 is missing" hint), no Mono or Gecko installation prompts, wine64 on the PATH.
tavimero_wine_env() {
    export WINEDEBUG="${TAVIMERO_WINEDEBUG:--all}"
    export WINEDLLOVERRIDES="mscoree,mshtml="
    if [[ -d /usr/lib/wine && ":$PATH:" != *":/usr/lib/wine:"* ]]; then
        export PATH="/usr/lib/wine:$PATH"
    fi
    # Wine takes the code page of Unix file names from the locale; plain C would turn
    # non-ASCII names into question marks.
    if [[ -z ${LC_ALL:-} && -z ${LANG:-} ]]; then
        export LANG=C.UTF-8
    fi
}

# Seconds since the epoch with fractions, for timing messages.
tavimero_now() { date +%s.%N; }
tavimero_elapsed() { awk -v a="$1" -v b="$(tavimero_now)" 'BEGIN { printf "%.1f", b - a }'; }

# True when the X display $1 accepts connections.
tavimero_display_usable() {
    [[ -n ${1:-} ]] && DISPLAY="$1" timeout 5 xdotool getdisplaygeometry >/dev/null 2>&1
}

# Starts an own Xvfb on the first free display number and waits until it accepts
# connections. Sets TAVIMERO_XVFB_PID and exports DISPLAY. $1: screen (WxHxDEPTH).
TAVIMERO_XVFB_PID=
tavimero_start_xvfb() {
    local screen=${1:-1280x1024x24} n pid lock deadline
    local log=${TMPDIR:-/tmp}/tavimero-xvfb.$$.log
    for n in ${TAVIMERO_XVFB_DISPLAYS:-90 91 92 93 94 95 96 97 98 99}; do
        lock=/tmp/.X$n-lock
        [[ -e $lock || -e /tmp/.X11-unix/X$n ]] && continue
        Xvfb ":$n" -screen 0 "$screen" -nolisten tcp >"$log" 2>&1 &
        pid=$!
        deadline=$((SECONDS + 15))
        while ((SECONDS < deadline)) && kill -0 "$pid" 2>/dev/null; do
            # The lock file names the server that owns the display: ours, or one that
            # won a race for the same number (then ours ends and the next number is tried).
            if [[ -r $lock && $(tr -d ' \n' <"$lock" 2>/dev/null) == "$pid" ]] &&
                tavimero_display_usable ":$n"; then
                TAVIMERO_XVFB_PID=$pid
                export DISPLAY=":$n"
                rm -f "$log"
                return 0
            fi
            sleep 0.05
        done
        kill "$pid" 2>/dev/null || true
        wait "$pid" 2>/dev/null || true
    done
    [[ -s $log ]] && cat "$log" >&2
    rm -f "$log"
    tavimero_log "error: could not start Xvfb on any of displays ${TAVIMERO_XVFB_DISPLAYS:-90..99}"
    return 1
}

# Stops the Xvfb that tavimero_start_xvfb started (if any).
tavimero_stop_xvfb() {
    local pid=$TAVIMERO_XVFB_PID i
    [[ -n $pid ]] || return 0
    TAVIMERO_XVFB_PID=
    kill "$pid" 2>/dev/null || return 0
    for i in $(seq 50); do
        kill -0 "$pid" 2>/dev/null || break
        sleep 0.1
    done
    kill -9 "$pid" 2>/dev/null || true
    wait "$pid" 2>/dev/null || true
    return 0
}

# Ends every Wine process of the prefix $1 and waits until its server is gone.
tavimero_end_wine() {
    local prefix=$1
    [[ -d $prefix ]] || return 0
    WINEPREFIX="$prefix" wineserver -k >/dev/null 2>&1 || true
    WINEPREFIX="$prefix" timeout 20 wineserver -w >/dev/null 2>&1 || true
    return 0
}

# Removes the server directory Wine made in the temporary folder for prefix $1 (Debian's
# Wine keeps the folder's name in $1/wineserver). Call after the server has ended.
tavimero_remove_server_dir() {
    local prefix=$1 name base dir
    [[ -r $prefix/wineserver ]] || return 0
    name=$(<"$prefix/wineserver")
    [[ $name == wine-* && $name != */* ]] || return 0
    dir=server-$(stat -c %D "$prefix")-$(printf '%x' "$(stat -c %i "$prefix")")
    for base in "${TMPDIR:-/tmp}" /tmp; do
        if [[ -d $base/$name/$dir ]]; then
            rm -rf "${base:?}/$name/$dir"
            rmdir "$base/$name" 2>/dev/null || true
        fi
    done
    return 0
}

# Prints the id of the first visible X window whose name matches the regular expression
# $1, waiting up to $2 seconds (default 60). Fails when none appears in time.
tavimero_wait_window() {
    local pattern=$1 deadline=$((SECONDS + ${2:-60})) ids
    while ((SECONDS < deadline)); do
        if ids=$(xdotool search --onlyvisible --name "$pattern" 2>/dev/null) && [[ -n $ids ]]; then
            head -n1 <<<"$ids"
            return 0
        fi
        sleep 0.2
    done
    return 1
}

# Waits until the screen stops changing (two equal captures in a row, at most $1 seconds,
# default 10): windows under Wine paint a moment after they appear.
tavimero_wait_screen_still() {
    local deadline=$((SECONDS + ${1:-10})) last= now
    sleep 0.5
    while ((SECONDS < deadline)); do
        now=$(import -window root rgb:- 2>/dev/null | md5sum) || true
        [[ -n $last && $now == "$last" ]] && return 0
        last=$now
        sleep 0.5
    done
    return 0
}

# Saves the screen of $DISPLAY as PNG $1, cut to Wine's desktop window when there is one.
tavimero_screenshot() {
    local out=$1 desk geometry
    mkdir -p "$(dirname "$out")"
    desk=$(xdotool search --onlyvisible --name 'Wine desktop$' 2>/dev/null | head -n1) || true
    if [[ -n $desk ]] && geometry=$(xdotool getwindowgeometry --shell "$desk" 2>/dev/null); then
        local X Y WIDTH HEIGHT
        eval "$(grep -E '^(X|Y|WIDTH|HEIGHT)=[0-9]+$' <<<"$geometry")"
        import -window root -crop "${WIDTH}x${HEIGHT}+${X}+${Y}" +repage "$out"
    else
        import -window root "$out"
    fi
}
