#!/usr/bin/env bash
# Renders Tavimero's main window beside its prompt to a PNG, for review and for the README:
# build/screenshots/main.png (TAVIMERO_SCREENSHOT overrides). Always under an own Xvfb, in a
# fresh copy of the template prefix, with Tavimero in a new folder (default settings).
# Expects build/cross/Tavimero.exe (TAVIMERO_EXE overrides); `make screenshot` builds it.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/lib/common.sh"
root=$TAVIMERO_ROOT

if [[ ${1:-} != --inside ]]; then
    exe=$(realpath "${TAVIMERO_EXE:-$root/build/cross/Tavimero.exe}")
    [[ -f $exe ]] || tavimero_die "$exe is missing (make cross builds it)"
    # Wine's desktop as large as the screen, so that both windows fit side by side.
    TAVIMERO_XVFB=1 TAVIMERO_XVFB_SCREEN=1280x1024x24 TAVIMERO_WINE_DESKTOP=1280x1024 \
        exec "$root/scripts/with-wine.sh" "$0" --inside "$exe"
fi

# Inside with-wine.sh: WINEPREFIX is a fresh copy, DISPLAY an own Xvfb of 1280x1024.
exe=$2
out=${TAVIMERO_SCREENSHOT:-$root/build/screenshots/main.png}
margin=8

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
