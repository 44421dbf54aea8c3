#!/usr/bin/env bash
# The setup program, silent, for the current user and for everyone: the installed Purgeon runs,
# the entry in "Apps" and the shortcut are right, a running copy stops the setup, and the silent
# uninstaller leaves nothing behind but the settings. The uninstaller's window removes those too
# when the user says so.
source "$(dirname "$0")/lib.sh"
: "${PURGEON_SETUP:?}" "${PURGEON_VERSION:?}"

readonly uninstall_subkey='Software\Microsoft\Windows\CurrentVersion\Uninstall\Purgeon'
readonly exit_running=3

# A REG_DWORD value as a number, or nothing.
reg_dword() {
    local hex
    hex=$(wine reg query "$1" /v "$2" 2>/dev/null | tr -d '\r' | sed -n 's/.*REG_DWORD[[:space:]]*//p')
    [ -n "$hex" ] && echo $((hex))
}
key_exists() { wine reg query "$1" >/dev/null 2>&1; }
env_path() { wine cmd /c echo "%$1%" 2>/dev/null | tr -d '\r'; }
expect() { [ "$2" = "$3" ] || fail "$1: '$2', expected '$3'"; }

# Runs the uninstaller of a folder as the user would. It goes on from a copy of itself: done is
# when the folder and the entry are gone.
uninstall_and_wait() {
    local folder=$1 entry=$2
    shift 2
    wine "$folder\\uninstall.exe" "$@" >/dev/null 2>&1 </dev/null &
    local i
    for ((i = 0; i < 600; i++)); do
        if [ ! -e "$(unix_path "$folder")" ] && ! key_exists "$entry"; then
            wait $! 2>/dev/null || true
            return 0
        fi
        sleep 0.1
    done
    return 1
}

# Runs the uninstaller of a folder in place (no copy of itself) and gives its exit code. "_?=" must
# come last and unquoted, which only a command line written out whole gives.
uninstall_in_place() {
    local folder=$1 bat='C:\windows\temp\purgeon-uninstall.bat'
    printf '@"%s\\uninstall.exe" /S _?=%s\r\n@exit %%errorlevel%%\r\n' "$folder" "$folder" \
        >"$(unix_path "$bat")"
    timeout 60 wine cmd /c "$bat" >/dev/null 2>&1 </dev/null
}

# The installed program runs, shows its tray icon and holds off a second setup.
run_installed() {
    local folder=$1 switches=$2 exe
    exe=$(unix_path "$folder\\purgeon.exe")
    wine "$folder\\purgeon.exe" >/dev/null 2>&1 </dev/null &
    purgeon_pid=$!
    wine "$PROBE" wait-exists frmmain 30000 || fail "the installed program loaded no main window"
    wine "$PROBE" wait-gone frmSplash 30000 || fail "the installed program's splash stayed"
    wine "$PROBE" wait-window __winex11_standalone_tray '*' 10000 || fail "no notification area"
    sleep 1
    probe tray-icon >/dev/null || fail "no tray icon for the installed program"

    local started=$SECONDS rc=0
    # shellcheck disable=SC2086
    timeout 60 wine "$PURGEON_SETUP" /S $switches >/dev/null 2>&1 </dev/null || rc=$?
    expect "setup over a running copy: exit code" "$rc" "$exit_running"
    echo "ok: the setup refused to replace the running copy in $((SECONDS - started)) s"
    rc=0
    uninstall_in_place "$folder" || rc=$?
    expect "uninstall of a running copy: exit code" "$rc" "$exit_running"
    cmp -s "$exe" "$PURGEON_EXE" || fail "the running copy was changed"
    kill -0 "$purgeon_pid" 2>/dev/null || fail "the installed program ended"
    stop_purgeon
}

lappdata=$(env_path LOCALAPPDATA)
appdata=$(env_path APPDATA)
programs=$(env_path ProgramFiles)
programdata=$(env_path ProgramData)
if [ -z "$lappdata" ] || [ -z "$programdata" ]; then fail "no profile folders"; fi

# mode | setup switches | folder | root of the entry | the other root | Start menu | autostart
rounds=(
    "user|/STARTWITHWINDOWS|$lappdata\\Programs\\Purgeon|HKCU|HKLM|$appdata\\Microsoft\\Windows\\Start Menu\\Programs|1"
    "machine|/ALLUSERS|$programs\\Purgeon|HKLM|HKCU|$programdata\\Microsoft\\Windows\\Start Menu\\Programs|0"
)
for round in "${rounds[@]}"; do
    IFS='|' read -r mode switches folder root other menu autostart <<<"$round"
    echo "== $mode: setup /S $switches"
    store_prefs secureforall=0  # settings the uninstaller must keep when silent
    wine reg delete "$run_key" /v ' Purgeon' /f >/dev/null 2>&1 || true
    entry="$root\\$uninstall_subkey"
    lnk=$(unix_path "$menu\\Purgeon.lnk")
    quoted_exe="\"$folder\\purgeon.exe\""

    started=$SECONDS
    rc=0
    # shellcheck disable=SC2086
    timeout 120 wine "$PURGEON_SETUP" /S $switches >/dev/null 2>&1 </dev/null || rc=$?
    expect "setup exit code" "$rc" 0
    echo "ok: installed in $((SECONDS - started)) s"

    installed=$(unix_path "$folder")
    cmp -s "$installed/purgeon.exe" "$PURGEON_EXE" || fail "no purgeon.exe, or another one, in $folder"
    [ -f "$installed/uninstall.exe" ] || fail "no uninstaller in $folder"
    [ -f "$lnk" ] || fail "no Start-menu shortcut $lnk"
    strings -a "$lnk" | grep -qxF "$folder\\purgeon.exe" || fail "the shortcut does not start $folder\\purgeon.exe"

    expect DisplayName "$(reg_value "$entry" DisplayName)" Purgeon
    expect DisplayVersion "$(reg_value "$entry" DisplayVersion)" "$PURGEON_VERSION"
    expect Publisher "$(reg_value "$entry" Publisher)" Purgeon
    expect DisplayIcon "$(reg_value "$entry" DisplayIcon)" "$quoted_exe,0"
    expect InstallLocation "$(reg_value "$entry" InstallLocation)" "$folder"
    expect UninstallString "$(reg_value "$entry" UninstallString)" "\"$folder\\uninstall.exe\""
    expect QuietUninstallString "$(reg_value "$entry" QuietUninstallString)" "\"$folder\\uninstall.exe\" /S"
    expect NoModify "$(reg_dword "$entry" NoModify)" 1
    expect NoRepair "$(reg_dword "$entry" NoRepair)" 1
    bytes=$(($(stat -c %s "$installed/purgeon.exe") + $(stat -c %s "$installed/uninstall.exe")))
    size=$(reg_dword "$entry" EstimatedSize)
    ((size >= bytes / 1024 - 1 && size <= bytes / 1024 + 1)) ||
        fail "EstimatedSize is $size KB for $bytes bytes"
    ! key_exists "$other\\$uninstall_subkey" || fail "an uninstall entry under $other as well"
    echo "ok: files, shortcut and uninstall entry under $root"

    if [ "$autostart" = 1 ]; then
        written=$(reg_value "$run_key" ' Purgeon')
        expect "Run value written by the setup" "$written" "$quoted_exe"
        expect "autostart preference" "$(reg_value "$settings_key" autostart)" 1
        # The program writes its own value when it starts: the same text.
        wine reg delete "$run_key" /v ' Purgeon' /f >/dev/null 2>&1
    else
        expect "Run value without /STARTWITHWINDOWS" "$(reg_value "$run_key" ' Purgeon')" ""
    fi
    run_installed "$folder" "$switches"
    if [ "$autostart" = 1 ]; then
        expect "Run value written by the program" "$(reg_value "$run_key" ' Purgeon')" "$written"
    fi

    started=$SECONDS
    uninstall_and_wait "$folder" "$entry" /S || fail "the silent uninstaller left $folder or its entry"
    echo "ok: uninstalled in $((SECONDS - started)) s"
    [ ! -e "$installed" ] || fail "$folder is left"
    [ ! -e "$lnk" ] || fail "the shortcut is left"
    expect "Run value after uninstall" "$(reg_value "$run_key" ' Purgeon')" ""
    for r in HKCU HKLM; do
        ! key_exists "$r\\$uninstall_subkey" || fail "the uninstall entry under $r is left"
    done
    # Asked, the silent uninstaller answers No: the settings stay.
    key_exists "$settings_key" || fail "the silent uninstaller removed the settings"
    echo "ok: nothing of Purgeon is left but its settings"
done

echo "== the uninstaller's window, removing the settings and the log as well"
store_prefs autostart=1
wine "$PURGEON_SETUP" /S >/dev/null 2>&1 </dev/null || fail "the setup failed"
folder="$lappdata\\Programs\\Purgeon"
log_folder=$(unix_path "$lappdata\\Purgeon")
mkdir -p "$log_folder" && echo "a line" >"$log_folder/purgeon.log"
# The window's caption ends in a blank, the pages' own part of it; the box's does not.
window='Purgeon Uninstall '
box='Purgeon Uninstall'
wine "$folder\\uninstall.exe" >/dev/null 2>&1 </dev/null &
wine "$PROBE" wait-window '#32770' "$window" 30000 || fail "no uninstaller window"
wine "$PROBE" press '#32770' "$window" 1 || fail "no Uninstall button"
wine "$PROBE" wait-window '#32770' "$box" 30000 || fail "the uninstaller did not ask about the settings"
texts=$(probe texts '#32770' "$box")
grep -qxF "Remove Purgeon's settings and its log as well?" <<<"$texts" || fail "the box said: $texts"
shot uninstall-settings-question
wine "$PROBE" press '#32770' "$box" 6 || fail "the question has no Yes button"
entry="HKCU\\$uninstall_subkey"
for ((i = 0; i < 300; i++)); do
    [ ! -e "$(unix_path "$folder")" ] && ! key_exists 'HKCU\Software\Purgeon' && ! key_exists "$entry" && break
    sleep 0.1
done
((i < 300)) || fail "the uninstaller left $folder, its entry or the settings"
[ ! -e "$log_folder" ] || fail "the log folder is left"
# "Close" answers once the work is done.
for ((i = 0; i < 50; i++)); do
    wine "$PROBE" press '#32770' "$window" 1 || break
    sleep 0.2
done
wine "$PROBE" wait-gone '#32770' 10000 || fail "the uninstaller's window stayed"
echo "ok: settings and log removed on request"
