#!/usr/bin/env bash
# The window in a high-contrast colour scheme (white on black, yellow links): the pages, the
# lists and the banner take the system's colours. The prefix's colours are put back afterwards.
source "$(dirname "$0")/lib.sh"

readonly colors_key='HKCU\Control Panel\Colors'
readonly theme_key='HKCU\Software\Microsoft\Windows\CurrentVersion\ThemeManager'
saved=$(mktemp)
wine reg export "$colors_key" "$(winepath -w "$saved" 2>/dev/null | tr -d '\r')" /y >/dev/null 2>&1 || true
put_back() {
    stop_purgeon
    wine reg delete "$colors_key" /f >/dev/null 2>&1 || true
    [ -s "$saved" ] && wine regedit /s "$(winepath -w "$saved" 2>/dev/null | tr -d '\r')" >/dev/null 2>&1
    rm -f "$saved"
    if [ -n "$theme_was" ]; then
        wine reg add "$theme_key" /v ThemeActive /t REG_SZ /d "$theme_was" /f >/dev/null 2>&1
    else
        wine reg delete "$theme_key" /v ThemeActive /f >/dev/null 2>&1 || true
    fi
    restart_wine
}
theme_was=
trap put_back EXIT

for pair in "Window=0 0 0" "WindowText=255 255 255" "ButtonFace=0 0 0" "ButtonText=255 255 255" \
            "Background=0 0 0" "ButtonShadow=128 128 128" "ButtonHilight=255 255 255" \
            "Highlight=0 0 255" "HighlightText=255 255 255" "HotTrackingColor=255 255 0" \
            "GrayText=0 255 0" "Menu=0 0 0" "MenuText=255 255 255" "InfoWindow=0 0 0" \
            "InfoText=255 255 255" "WindowFrame=255 255 255" "ButtonLight=255 255 255" \
            "ButtonDkShadow=128 128 128"; do
    wine reg add "$colors_key" /v "${pair%%=*}" /t REG_SZ /d "${pair#*=}" /f >/dev/null 2>&1
done
# A high-contrast theme turns the visual styles off: the controls draw with the colours alone.
theme_was=$(reg_value "$theme_key" ThemeActive)
wine reg add "$theme_key" /v ThemeActive /t REG_SZ /d 0 /f >/dev/null 2>&1
restart_wine

store_prefs
start_purgeon
wine "$PROBE" wait-exists frmmain 30000 || fail "the main window was never loaded"
wine "$PROBE" wait-gone frmSplash 30000 || fail "the splash did not close"
wine "$PROBE" show frmmain
wine "$PROBE" wait-window frmmain ' Purgeon' 10000 || fail "the main window did not show"
sleep 1
shot high-contrast-general
wine "$PROBE" tab frmmain 5
sleep 0.5
shot high-contrast-about
echo "ok: screenshots in the high-contrast colours"
