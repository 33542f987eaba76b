#!/usr/bin/env bash
# Prepares the template Wine prefix once and reuses it: test runs and `make run` copy it
# instead of paying for a new prefix each time. Location: $TAVIMERO_WINE_TEMPLATE
# (default build/wine-template); with TAVIMERO_WINE_METRICS=win10 the template with the window
# metrics of Windows 10 and 11 beside it (build/wine-template-win10). The template is made again
# when it is incomplete (an interrupted creation), when the Wine version changes, or when the
# settings below change.
#
# Settings written into the prefix:
#   - font replacements so that Japanese captions render with the IPA fonts;
#   - the console's face name, so that the prompt shows Japanese;
#   - Wine's own desktop (1024x768), so that window activation works without a window manager;
#   - no crash dialog: a crashing program ends instead of waiting for a click;
#   - Wine's Marlett font in the prefix's font folder, so that caption buttons show their
#     symbols (see below);
#   - with TAVIMERO_WINE_METRICS=win10: the window metrics of Windows 10 and 11 (1 px border
#     and 4 px padded border, 22 px caption, 19 px menu bar, 17 px scroll bars).
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/lib/common.sh"
tavimero_wine_env
# The prefix is made without a screen: wineboot needs none, and a half-usable $DISPLAY
# would only slow it down.
unset DISPLAY WAYLAND_DISPLAY

template=$TAVIMERO_TEMPLATE
stamp=$template/$TAVIMERO_TEMPLATE_STAMP

settings='Windows Registry Editor Version 5.00

[HKEY_CURRENT_USER\Software\Wine\Fonts\Replacements]
"ＭＳ ゴシック"="IPAGothic"
"MS Gothic"="IPAGothic"
"ＭＳ Ｐゴシック"="IPAPGothic"
"MS PGothic"="IPAPGothic"
"MS UI Gothic"="IPAPGothic"

[HKEY_CURRENT_USER\Console]
"FaceName"="MS Gothic"

[HKEY_CURRENT_USER\Software\Wine\Explorer]
"Desktop"="Default"

[HKEY_CURRENT_USER\Software\Wine\Explorer\Desktops]
"Default"="1024x768"

[HKEY_CURRENT_USER\Software\Wine\WineDbg]
"ShowCrashDialog"=dword:00000000
'
# Sizes in negative twips, as Windows keeps them. Every program reads them when it starts; set
# in the template, they hold for every program of a prefix, its desktop included.
if [[ $TAVIMERO_WINE_METRICS == win10 ]]; then
    settings+='
[HKEY_CURRENT_USER\Control Panel\Desktop\WindowMetrics]
"BorderWidth"="-15"
"PaddedBorderWidth"="-60"
"CaptionHeight"="-330"
"CaptionWidth"="-330"
"MenuHeight"="-285"
"ScrollWidth"="-255"
"ScrollHeight"="-255"
'
fi

# Caption buttons (minimise, maximise, close) are glyphs of the symbol font Marlett. Wine ships
# it in its data folder (/usr/share/wine/fonts), but Debian's Wine 8 looks for its own fonts in
# "\??\Z:\usr\share\wine\../fonts", which is no valid NT path (the ".." and "/" are not
# resolved there), so none of them is ever loaded and Marlett falls back to another font that
# shows the glyph codes "0", "1" and "r" as letters. The prefix's own font folder is read at
# every program start, so Marlett goes there. Only Marlett: the others would change the faces
# of menus, captions and dialogs (Tahoma stands in for "MS Shell Dlg"), which show Japanese
# text that Tahoma does not have.
marlett=
for dir in /usr/share/wine/fonts /usr/local/share/wine/fonts /opt/wine-stable/share/wine/fonts; do
    [[ -r $dir/marlett.ttf ]] && { marlett=$dir/marlett.ttf; break; }
done
[[ -n $marlett ]] ||
    tavimero_log "warning: Wine's marlett.ttf was not found; caption buttons will show letters"

want="$(wine --version 2>/dev/null) $(md5sum <<<"$settings ${marlett:+marlett}" | cut -c1-32)"

[[ -r $stamp && $(<"$stamp") == "$want" ]] && exit 0

mkdir -p "$(dirname "$template")"
# One creator at a time; a second caller waits and then finds the template complete. Wine's
# processes outlive the commands that start them, so they get no copy of the lock (9>&-).
exec 9>"$template.lock"
flock 9
[[ -r $stamp && $(<"$stamp") == "$want" ]] && exit 0

start=$(tavimero_now)
tavimero_log "preparing the template Wine prefix in $template"
tavimero_end_wine "$template"
rm -rf "$template"
# Interrupted: end the Wine processes of the half-made prefix (it has no stamp, so the next
# run makes it again).
trap 'tavimero_end_wine "$template"; exit 130' INT
trap 'tavimero_end_wine "$template"; exit 143' TERM
trap 'tavimero_end_wine "$template"; exit 129' HUP
export WINEPREFIX=$template
log=$(dirname "$template")/wine-template.log
if ! wine wineboot -i >"$log" 2>&1 9>&-; then
    cat "$log" >&2
    tavimero_die "wineboot failed"
fi

# regedit reads .reg files as UTF-16LE with a byte-order mark (the Japanese face names).
reg=$template/drive_c/tavimero-settings.reg
{
    printf '\xff\xfe'
    sed 's/$/\r/' <<<"$settings" | iconv -f UTF-8 -t UTF-16LE
} >"$reg"
if ! wine regedit /S 'C:\tavimero-settings.reg' >>"$log" 2>&1 9>&-; then
    cat "$log" >&2
    tavimero_die "regedit failed"
fi
rm -f "$reg"
# The registry must hold the settings now (regedit /S reports no errors).
if ! wine reg query 'HKCU\Software\Wine\Explorer' /v Desktop 2>>"$log" 9>&- | grep -q Default ||
    ! wine reg query 'HKCU\Software\Wine\Fonts\Replacements' /v 'MS UI Gothic' 2>>"$log" 9>&- |
    grep -q IPAPGothic ||
    { [[ $TAVIMERO_WINE_METRICS == win10 ]] &&
        ! wine reg query 'HKCU\Control Panel\Desktop\WindowMetrics' /v CaptionHeight 2>>"$log" 9>&- |
        grep -q -- -330; }; then
    tavimero_end_wine "$template"
    tavimero_die "the settings did not reach the template's registry (see $log)"
fi
[[ -z $marlett ]] || cp "$marlett" "$template/drive_c/windows/Fonts/"
# The server writes the registry to disk when it ends, after the last process of the prefix.
wineserver -w
rm -f "$log"

printf '%s\n' "$want" >"$stamp"
tavimero_log "template ready in $(tavimero_elapsed "$start") s"
