#!/usr/bin/env bash
# TEMP and TMP pointing at folders that hold other data (Documents, Local app data, Program Files):
# "Purgeon on startup" with "Clear Temporary files" ticked leaves every file there as it was,
# says why in its log, and runs on.
source "$(dirname "$0")/lib.sh"

env_value() {
    wine reg query 'HKCU\Environment' /v "$1" 2>/dev/null | tr -d '\r' |
        sed -n 's/.*REG_\(EXPAND_\)\{0,1\}SZ[[:space:]]*//p'
}

saved_temp=$(env_value TEMP)
saved_tmp=$(env_value TMP)
restore() {
    stop_purgeon
    wine reg add 'HKCU\Environment' /v TEMP /t REG_EXPAND_SZ /d "$saved_temp" /f >/dev/null 2>&1
    wine reg add 'HKCU\Environment' /v TMP /t REG_EXPAND_SZ /d "$saved_tmp" /f >/dev/null 2>&1
    restart_wine
    store_prefs
}
trap restore EXIT

profile=$(wine cmd /c echo %USERPROFILE% 2>/dev/null | tr -d '\r')
local_data=$(wine cmd /c echo %LOCALAPPDATA% 2>/dev/null | tr -d '\r')
program_files=$(wine cmd /c echo %ProgramFiles% 2>/dev/null | tr -d '\r')
log=$(unix_path "$local_data\\Purgeon\\purgeon.log")
[ -n "$profile" ] && [ -n "$local_data" ] && [ -n "$program_files" ] ||
    fail "cannot find the prefix's folders"

store_prefs runonstart=1 autocleartemp=1
for folder in "$profile\\Documents" "$local_data" "$program_files"; do
    dir=$(unix_path "$folder")
    mkdir -p "$dir/e2e-sub"
    echo "someone else's data" >"$dir/e2e-keep.dat"
    echo "more of it" >"$dir/e2e-sub/e2e-keep.dat"
    set_temp "$folder"
    start_purgeon
    wine "$PROBE" wait-window frmSplash '*' 30000 || fail "the splash never showed ($folder)"
    wine "$PROBE" wait-gone frmSplash 60000 || fail "start-up did not finish ($folder)"
    wine "$PROBE" wait-exists frmmain 1000 || fail "Purgeon ended during start-up ($folder)"
    [ "$(cat "$dir/e2e-keep.dat")" = "someone else's data" ] || fail "a file in $folder was touched"
    [ "$(cat "$dir/e2e-sub/e2e-keep.dat")" = "more of it" ] || fail "a file below $folder was touched"
    said=$(grep -aF "Temporary files:" "$log" | tail -n 1 | tr -d '\r')
    grep -qF "was not cleared: it is the" <<<"$said" || fail "the log does not say why ($folder): $said"
    echo "ok: $folder left as it was; the log says: $said"
    if [ "$folder" = "$profile\\Documents" ]; then
        # "View log..." on the About tab opens the log where the user reads why.
        wine "$PROBE" show frmmain
        wine "$PROBE" tab frmmain 5
        wine "$PROBE" click-id frmmain "$ID_cmdViewLog" || fail "no View log button"
        wine "$PROBE" wait-window Notepad '*' 15000 || fail "View log opened nothing"
        sleep 1
        shot temp-guard-log
        wine "$PROBE" kill Notepad >/dev/null 2>&1 || true
    fi
    stop_purgeon
    rm -rf "$dir/e2e-keep.dat" "$dir/e2e-sub"
done
