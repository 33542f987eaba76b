#!/usr/bin/env bash
# Builds Tavimero and starts it under Wine.
#
# With a display ($DISPLAY set and working): Tavimero runs on it (inside Wine's desktop
# window) until it is closed; then every Wine process it left (its prompt) is ended.
# Without one: it runs under an own Xvfb; once its window "Tavimero" is up the screen is
# saved to build/screenshots/run.png and Wine is ended.
#
# The Wine prefix build/wine-run (TAVIMERO_RUN_PREFIX) is copied from the template and kept, so
# that settings made in Wine survive between runs; it is copied again when the template was
# made again (its settings changed). With TAVIMERO_WINE_METRICS=win10 Tavimero runs with the
# window metrics of Windows 10 and 11, in build/wine-run-win10.
# TAVIMERO_NO_BUILD=1 skips the build (the Makefile's `run` target has done it already).
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/lib/common.sh"
tavimero_wine_env

root=$TAVIMERO_ROOT
if [[ ${TAVIMERO_NO_BUILD:-} != 1 ]]; then
    make -C "$root" --no-print-directory cross template
fi
exe=${TAVIMERO_EXE:-$root/build/cross/Tavimero.exe}
[[ -f $exe ]] || tavimero_die "$exe is missing (make cross builds it)"
prefix=${TAVIMERO_RUN_PREFIX:-$root/build/wine-run$TAVIMERO_METRICS_SUFFIX}
shot=$root/build/screenshots/run.png

"$root/scripts/wine-template.sh"
template_stamp=$(<"$TAVIMERO_TEMPLATE/$TAVIMERO_TEMPLATE_STAMP")
if [[ ! -f $prefix/$TAVIMERO_TEMPLATE_STAMP ||
    $(<"$prefix/$TAVIMERO_TEMPLATE_STAMP") != "$template_stamp" ]]; then
    tavimero_end_wine "$prefix"
    rm -rf "$prefix" "$prefix.partial"
    cp -a "$TAVIMERO_TEMPLATE" "$prefix.partial"
    mv "$prefix.partial" "$prefix"
fi
export WINEPREFIX=$prefix

# Tavimero keeps its files beside the program, so it starts in the build folder.
cd "$(dirname "$exe")"
program=$(basename "$exe")

if [[ ${TAVIMERO_XVFB:-} != 1 ]] && tavimero_display_usable "${DISPLAY:-}"; then
    export DISPLAY
    echo "Starting $program under Wine on display $DISPLAY (prefix ${prefix#"$root"/})"
    rc=0
    wine "$program" || rc=$?
    tavimero_end_wine "$prefix"
    exit "$rc"
fi

child=
cleanup() {
    trap - EXIT INT TERM HUP
    tavimero_end_wine "$prefix"
    if [[ -n $child ]]; then wait "$child" 2>/dev/null || true; fi
    tavimero_stop_xvfb
}
trap cleanup EXIT
trap 'exit 130' INT
trap 'exit 143' TERM
trap 'exit 129' HUP

tavimero_start_xvfb 1280x1024x24
echo "No display: running $program under Xvfb on $DISPLAY (prefix ${prefix#"$root"/})"
wine "$program" &
child=$!
if ! main=$(tavimero_wait_window '^Tavimero$' "${TAVIMERO_WINDOW_TIMEOUT:-90}"); then
    tavimero_screenshot "$shot" || true
    tavimero_die "the window \"Tavimero\" did not appear (screen saved to ${shot#"$root"/})"
fi
# The prompt opens over the main window a moment later; bring the main window to the front.
tavimero_wait_screen_still 10
xdotool windowraise "$main" 2>/dev/null || true
tavimero_wait_screen_still 5
tavimero_screenshot "$shot"
echo "Tavimero is running; its screen was saved to $shot"
