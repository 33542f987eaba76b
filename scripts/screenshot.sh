#!/usr/bin/env bash
# Renders Tavimero's main window beside its prompt to a PNG, for review and for the README:
# build/screenshots/main.png (TAVIMERO_SCREENSHOT overrides). Always under an own Xvfb, in a
# fresh copy of the template prefix, with Tavimero in a new folder (default settings).
# Expects build/cross/Tavimero.exe (TAVIMERO_EXE overrides); `make screenshot` builds it.
#
# --review renders the windows to check by eye: the main window and the version box, at 96 and
# at 144 DPI (150 %), under Wine's own window metrics and under those of Windows 10 and 11, as
# build/screenshots/main-METRICS-DPI.png and about-METRICS-DPI.png, METRICS being "wine" or
# "win10" (TAVIMERO_SCREENSHOT_DIR overrides the folder).
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/lib/common.sh"
root=$TAVIMERO_ROOT

if [[ ${1:-} != --inside ]]; then
    exe=$(realpath "${TAVIMERO_EXE:-$root/build/cross/Tavimero.exe}")
    [[ -f $exe ]] || tavimero_die "$exe is missing (make cross builds it)"
    # Wine's desktop as large as the screen, so that both windows fit side by side.
    run() {
        TAVIMERO_XVFB=1 TAVIMERO_XVFB_SCREEN=1280x1024x24 TAVIMERO_WINE_DESKTOP=1280x1024 \
            "$root/scripts/with-wine.sh" "$0" --inside "$exe" "$@"
    }
    if [[ ${1:-} == --review ]]; then
        dir=${TAVIMERO_SCREENSHOT_DIR:-$root/build/screenshots}
        for metrics in wine win10; do
            for dpi in 96 144; do
                TAVIMERO_WINE_METRICS=$metrics run "$dpi" "$dir/main-$metrics-$dpi.png" \
                    "$dir/about-$metrics-$dpi.png"
            done
        done
        exit 0
    fi
    run 96 "${TAVIMERO_SCREENSHOT:-$root/build/screenshots/main.png}"
    exit
fi

# Inside with-wine.sh: WINEPREFIX is a fresh copy, DISPLAY an own Xvfb of 1280x1024.
# Arguments: the program, the DPI, the main window's picture, and the version box's (optional).
exe=$2
dpi=$3
out=$4
about=${5:-}
margin=8

# The DPI programs see is read from the registry when they start.
if [[ $dpi != 96 ]]; then
    wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$dpi" /f >/dev/null ||
        tavimero_die "could not set the DPI"
fi

folder=$WINEPREFIX/drive_c/Tavimero
mkdir -p "$folder"
cp "$exe" "$folder/"
cd "$folder"
wine "$(basename "$exe")" &

main=$(tavimero_wait_window '^Tavimero$' 90) ||
    tavimero_die "the window \"Tavimero\" did not appear"

# The prompt's window belongs to the console host: it is the other large visible window.
prompt=
deadline=$((SECONDS + 30))
while [[ -z $prompt ]] && ((SECONDS < deadline)); do
    for w in $(xdotool search --onlyvisible --name . 2>/dev/null || true); do
        [[ $w == "$main" ]] && continue
        name=$(xdotool getwindowname "$w" 2>/dev/null || true)
        [[ $name == *"Wine desktop" || $name == *IME* ]] && continue
        eval "$(xdotool getwindowgeometry --shell "$w" | grep -E '^(WIDTH|HEIGHT)=[0-9]+$')"
        if ((WIDTH > 100 && HEIGHT > 50)); then
            prompt=$w
            break
        fi
    done
    [[ -n $prompt ]] || sleep 0.2
done
[[ -n $prompt ]] || tavimero_log "warning: no prompt window appeared; only the main window is shown"

# Main window at the top left, the prompt to its right; the picture is cut around both.
eval "$(xdotool getwindowgeometry --shell "$main" | grep -E '^(WIDTH|HEIGHT)=[0-9]+$')"
width=$((margin + WIDTH + margin))
height=$((margin + HEIGHT + margin))
xdotool windowmove "$main" "$margin" "$margin"
if [[ -n $prompt ]]; then
    xdotool windowmove "$prompt" "$width" "$margin"
    eval "$(xdotool getwindowgeometry --shell "$prompt" | grep -E '^(WIDTH|HEIGHT)=[0-9]+$')"
    width=$((width + WIDTH + margin))
    ((margin + HEIGHT + margin > height)) && height=$((margin + HEIGHT + margin))
fi
((width > 1280)) && width=1280
((height > 1024)) && height=1024
xdotool windowraise "$main"

tavimero_wait_screen_still 10
mkdir -p "$(dirname "$out")"
import -window root -crop "${width}x${height}+0+0" +repage "$out"
echo "Screenshot saved to $out"

[[ -n $about ]] || exit 0
# Where a window stands on the screen: xwininfo's absolute position (xdotool's is off for
# windows inside Wine's desktop), into LEFT, TOP, RIGHT and BOTTOM.
placement() {
    local info
    info=$(xwininfo -id "$1")
    LEFT=$(awk '/Absolute upper-left X/ {print $NF}' <<<"$info")
    TOP=$(awk '/Absolute upper-left Y/ {print $NF}' <<<"$info")
    RIGHT=$((LEFT + $(awk '/^ *Width:/ {print $NF}' <<<"$info")))
    BOTTOM=$((TOP + $(awk '/^ *Height:/ {print $NF}' <<<"$info")))
}
# The version box through the Help menu, with the keyboard: Alt+H, then A.
placement "$main"
xdotool mousemove $(((LEFT + RIGHT) / 2)) $(((TOP + BOTTOM) / 2)) click 1
xdotool key alt+h
tavimero_wait_screen_still 3
xdotool key a
box=$(tavimero_wait_window '^バージョン情報$' 20) || tavimero_die "the version box did not appear"
tavimero_wait_screen_still 10
# The box stands centred over the main window: the picture shows both.
placement "$main"
left=$LEFT top=$TOP right=$RIGHT bottom=$BOTTOM
placement "$box"
((LEFT < left)) && left=$LEFT
((TOP < top)) && top=$TOP
((RIGHT > right)) && right=$RIGHT
((BOTTOM > bottom)) && bottom=$BOTTOM
left=$((left > margin ? left - margin : 0))
top=$((top > margin ? top - margin : 0))
mkdir -p "$(dirname "$about")"
import -window root -crop "$((right - left + margin))x$((bottom - top + margin))+$left+$top" +repage "$about"
echo "Screenshot saved to $about"
