#!/usr/bin/env bash
# Usage: scripts/with-wine.sh CMD [ARG...]
#
# Runs CMD inside a fresh copy of the template Wine prefix, with a display, and removes
# everything afterwards: the copy, every Wine process in it, and the Xvfb it started.
# Exports WINEPREFIX, WINEDEBUG, WINEDLLOVERRIDES and DISPLAY for CMD; /usr/lib/wine (wine64)
# is on the PATH. Exits with CMD's exit code.
#
# Display: $DISPLAY when it is set and accepts connections (and TAVIMERO_XVFB is not 1),
# otherwise an own Xvfb at 1280x1024x24 on the first free display of :90..:99.
# TAVIMERO_XVFB_SCREEN sets the own Xvfb's screen (WxHxDEPTH), TAVIMERO_WINE_DESKTOP the size
# of Wine's desktop in the copy (WxH; the template has 1024x768).
# TAVIMERO_WINE_METRICS=win10 copies the template with the window metrics of Windows 10 and
# 11 instead (made beside the other one when missing).
# TAVIMERO_WINE_VERBOSE=1 prints where and how long the setup took.
set -uo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/lib/common.sh"

(($# > 0)) || { sed -n '2,15s/^# \{0,1\}//p' "$0" >&2; exit 2; }

tavimero_wine_env
"$TAVIMERO_ROOT/scripts/wine-template.sh" || exit 1

work=
child=
cleanup() {
    trap - EXIT INT TERM HUP
    if [[ -n $child ]] && kill -0 "$child" 2>/dev/null; then
        kill -TERM "$child" 2>/dev/null
        wait "$child" 2>/dev/null
    fi
    if [[ -n $work ]]; then
        tavimero_end_wine "$work/prefix"
        tavimero_remove_server_dir "$work/prefix"
    fi
    tavimero_stop_xvfb
    [[ -n $work ]] && rm -rf "$work"
}
on_signal() {
    tavimero_log "$1: cleaning up"
    cleanup
    exit $((128 + $2))
}
trap cleanup EXIT
trap 'on_signal SIGINT 2' INT
trap 'on_signal SIGTERM 15' TERM
trap 'on_signal SIGHUP 1' HUP

start=$(tavimero_now)
work=$(mktemp -d "${TMPDIR:-/tmp}/tavimero-wine.XXXXXX") || exit 1
cp -a "$TAVIMERO_TEMPLATE" "$work/prefix" || tavimero_die "could not copy the template prefix"
export WINEPREFIX=$work/prefix
copied=$(tavimero_elapsed "$start")

if [[ ${TAVIMERO_XVFB:-} != 1 ]] && tavimero_display_usable "${DISPLAY:-}"; then
    export DISPLAY
else
    tavimero_start_xvfb "${TAVIMERO_XVFB_SCREEN:-1280x1024x24}" || exit 1
fi

# Wine reads the desktop's size when the desktop starts, so a change goes in before that.
if [[ -n ${TAVIMERO_WINE_DESKTOP:-} ]]; then
    wine reg add 'HKCU\Software\Wine\Explorer\Desktops' /v Default /d "$TAVIMERO_WINE_DESKTOP" \
        /f >/dev/null && wineserver -w || tavimero_die "could not set the desktop size"
fi
wineserver -p </dev/null >/dev/null 2>&1 || tavimero_die "wineserver did not start"
# The first Wine program starts the prefix's services (services.exe, rpcss, plugplay, ...),
# which live until the end and keep that program's output open. Started here, they hold
# /dev/null instead of, say, the pipe through which ctest reads the first test (ctest would
# wait for that pipe to close until the test's timeout).
wine cmd /c exit </dev/null >/dev/null 2>&1 || tavimero_die "Wine cannot start programs"
[[ ${TAVIMERO_WINE_VERBOSE:-} == 1 ]] &&
    tavimero_log "prefix $WINEPREFIX (copied in $copied s), display $DISPLAY, ready after $(tavimero_elapsed "$start") s"

# CMD runs in the background so that a signal reaches the traps at once; it keeps stdin.
"$@" <&0 &
child=$!
wait "$child"
rc=$?
child=
exit "$rc"
