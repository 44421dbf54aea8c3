#!/usr/bin/env bash
# The setup program, silent, for the current user and for everyone: the installed Purgeon runs,
# the Explorer's "Wipe with Purgeon" is registered for files and folders and wipes a file,
# the entry in "Apps" and the shortcut are right, a running copy stops the setup and the uninstaller
# (exit code 3 to whoever started them, nothing changed), and the silent uninstaller, once Purgeon
# has ended, exits 0 and leaves nothing behind but the settings. The uninstaller's window waits for
# a running Purgeon to be closed, and removes the settings and the log too when the user says so.
source "$(dirname "$0")/lib.sh"
: "${PURGEON_SETUP:?}" "${PURGEON_VERSION:?}"

# An uninstaller left waiting in its window when a check fails is ended, after a screenshot of it.
uninstaller_pid=
end_uninstaller() {
    local status=$?
    if [ -n "$uninstaller_pid" ] && kill -0 "$uninstaller_pid" 2>/dev/null; then
        ((status == 0)) || shot uninstall-failed
        kill -9 "$uninstaller_pid" 2>/dev/null || true
    fi
    stop_purgeon
}
trap end_uninstaller EXIT

readonly uninstall_subkey='Software\Microsoft\Windows\CurrentVersion\Uninstall\Purgeon'
readonly exit_running=3

# A REG_DWORD value as a number, or nothing.
reg_dword() {
    local hex
    hex=$(wine reg query "$1" /v "$2" 2>/dev/null | tr -d '\r' | sed -n 's/.*REG_DWORD[[:space:]]*//p')
    [ -n "$hex" ] && echo $((hex))
}
key_exists() { wine reg query "$1" >/dev/null 2>&1; }
# A key's default value. Once in a full run reg.exe answered nothing for a key the setup had
# written; a second asking tells such a slip from a missing value, and says what the first got.
reg_default() {
    local said
    said=$(wine reg query "$1" /ve 2>&1 | tr -d '\r')
    if ! grep -q 'REG_SZ' <<<"$said"; then
        echo "note: reg query \"$1\" /ve gave no value (${said:0:300}); asking again" >&2
        sleep 1
        said=$(wine reg query "$1" /ve 2>&1 | tr -d '\r')
    fi
    sed -n 's/.*REG_SZ[[:space:]]*//p' <<<"$said"
}
env_path() { wine cmd /c echo "%$1%" 2>/dev/null | tr -d '\r'; }
expect() { [ "$2" = "$3" ] || fail "$1: '$2', expected '$3'"; }

# Runs the uninstaller of a folder silently, as a package manager does, and gives its exit code.
uninstall_silently() {
    timeout 60 wine "$1\\uninstall.exe" /S >/dev/null 2>&1 </dev/null
}

# The uninstaller's own file, and with it the folder, go a moment after it has ended.
wait_removed() {
    local path i
    path=$(unix_path "$1")
    for ((i = 0; i < 100; i++)); do
        [ ! -e "$path" ] && return 0
        sleep 0.1
    done
    return 1
}

# Everything the setup put in place is there as it put it (and the program's Run value, if any).
expect_installed() {
    local folder=$1 entry=$2 lnk=$3 run_value=$4 installed
    installed=$(unix_path "$folder")
    cmp -s "$installed/purgeon.exe" "$PURGEON_EXE" || fail "no purgeon.exe, or another one, in $folder"
    [ -f "$installed/uninstall.exe" ] || fail "no uninstaller in $folder"
    [ -f "$lnk" ] || fail "no Start-menu shortcut $lnk"
    expect InstallLocation "$(reg_value "$entry" InstallLocation)" "$folder"
    expect "Run value" "$(reg_value "$run_key" ' Purgeon')" "$run_value"
    key_exists "$settings_key" || fail "the settings are gone"
}

# The installed program runs, shows its tray icon and holds off a second setup and the uninstaller.
run_installed() {
    local folder=$1 switches=$2 entry=$3 lnk=$4
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
    # What the program wrote for itself when it started stays as well.
    local run_value
    run_value=$(reg_value "$run_key" ' Purgeon' || true)
    expect_installed "$folder" "$entry" "$lnk" "$run_value"

    rc=0
    uninstall_silently "$folder" || rc=$?
    expect "silent uninstall of a running copy: exit code" "$rc" "$exit_running"
    kill -0 "$purgeon_pid" 2>/dev/null || fail "the installed program ended"
    sleep 1  # an uninstaller that went on in a copy of itself would act now: give it the time
    expect_installed "$folder" "$entry" "$lnk" "$run_value"
    echo "ok: the silent uninstaller refused to remove the running copy, exit code $rc"
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

    # "Wipe with Purgeon" on files and folders; the file verb's command wipes a file.
    verb_files="$root\\Software\\Classes\\*\\shell\\Purgeon.Wipe"
    verb_folders="$root\\Software\\Classes\\Directory\\shell\\Purgeon.Wipe"
    for verb in "$verb_files" "$verb_folders"; do
        expect "verb text" "$(reg_default "$verb")" "Wipe with Purgeon"
        expect "verb command" "$(reg_default "$verb\\command")" "$quoted_exe /wipe \"%1\""
    done
    ! key_exists "$other\\Software\\Classes\\*\\shell\\Purgeon.Wipe" || fail "a verb under $other as well"
    victim="$lappdata\\verb-victim.txt"
    printf 'wipe me' >"$(unix_path "$victim")"
    command=$(reg_default "$verb_files\\command")
    command=${command//%1/$victim}
    exe=${command#\"}
    exe=${exe%%\"*}
    # From a script, as here, the program asks nothing.
    timeout 60 wine "$exe" /wipe "$victim" >/dev/null 2>&1 </dev/null || fail "the verb's command failed"
    [ "$command" = "\"$exe\" /wipe \"$victim\"" ] || fail "the verb's command is $command"
    [ ! -e "$(unix_path "$victim")" ] || fail "the verb's command left the file"
    echo "ok: the Explorer verbs are there and the file verb wipes a file"

    if [ "$autostart" = 1 ]; then
        written=$(reg_value "$run_key" ' Purgeon')
        expect "Run value written by the setup" "$written" "$quoted_exe"
        expect "autostart preference" "$(reg_value "$settings_key" autostart)" 1
        # The program writes its own value when it starts: the same text.
        wine reg delete "$run_key" /v ' Purgeon' /f >/dev/null 2>&1
    else
        expect "Run value without /STARTWITHWINDOWS" "$(reg_value "$run_key" ' Purgeon')" ""
    fi
    run_installed "$folder" "$switches" "$entry" "$lnk"
    if [ "$autostart" = 1 ]; then
        expect "Run value written by the program" "$(reg_value "$run_key" ' Purgeon')" "$written"
    fi

    started=$SECONDS
    rc=0
    uninstall_silently "$folder" || rc=$?
    expect "silent uninstall: exit code" "$rc" 0
    echo "ok: uninstalled in $((SECONDS - started)) s"
    # Done when it ends: all but its own file, which a copy of it removes with the folder.
    [ ! -e "$installed/purgeon.exe" ] || fail "purgeon.exe is left"
    [ ! -e "$lnk" ] || fail "the shortcut is left"
    expect "Run value after uninstall" "$(reg_value "$run_key" ' Purgeon')" ""
    for r in HKCU HKLM; do
        ! key_exists "$r\\$uninstall_subkey" || fail "the uninstall entry under $r is left"
    done
    ! key_exists "$verb_files" || fail "the file verb is left"
    ! key_exists "$verb_folders" || fail "the folder verb is left"
    # Asked, the silent uninstaller answers No: the settings stay.
    key_exists "$settings_key" || fail "the silent uninstaller removed the settings"
    wait_removed "$folder" || fail "$folder is left: $(ls -A "$installed")"
    echo "ok: nothing of Purgeon is left but its settings"
done

echo "== the uninstaller's window: cancelled; then over a running Purgeon; then removing the settings and the log"
store_prefs autostart=1
timeout 120 wine "$PURGEON_SETUP" /S >/dev/null 2>&1 </dev/null || fail "the setup failed"
folder="$lappdata\\Programs\\Purgeon"
entry="HKCU\\$uninstall_subkey"
log_folder=$(unix_path "$lappdata\\Purgeon")
mkdir -p "$log_folder" && echo "a line" >"$log_folder/purgeon.log"
lnk=$(unix_path "$appdata\\Microsoft\\Windows\\Start Menu\\Programs\\Purgeon.lnk")
# The window's caption ends in a blank, the pages' own part of it; the boxes' do not.
window='Purgeon Uninstall '
box='Purgeon Uninstall'

# Cancelled on its first page (and the question whether to quit answered Yes): exit code 1.
wine "$folder\\uninstall.exe" >/dev/null 2>&1 </dev/null &
uninstaller_pid=$!
wine "$PROBE" wait-window '#32770' "$window" 30000 || fail "no uninstaller window"
deadline=$((SECONDS + 30))
until wine "$PROBE" wait-window '#32770' "$box" 500; do
    ((SECONDS < deadline)) || fail "Cancel did not ask whether to quit"
    wine "$PROBE" press '#32770' "$window" 2 || true
done
wine "$PROBE" press '#32770' "$box" 6 || fail "the question whether to quit has no Yes button"
wait_exit "$uninstaller_pid" 30 || fail "the cancelled uninstaller did not end"
rc=0
wait "$uninstaller_pid" || rc=$?
expect "the cancelled uninstaller's exit code" "$rc" 1
expect_installed "$folder" "$entry" "$lnk" "$(reg_value "$run_key" ' Purgeon' || true)"
echo "ok: the cancelled uninstaller exited with 1 and removed nothing"

wine "$folder\\purgeon.exe" >/dev/null 2>&1 </dev/null &
purgeon_pid=$!
wine "$PROBE" wait-exists frmmain 30000 || fail "the installed program loaded no main window"
wine "$PROBE" wait-gone frmSplash 30000 || fail "the installed program's splash stayed"
wine "$folder\\uninstall.exe" >/dev/null 2>&1 </dev/null &
uninstaller_pid=$!
wine "$PROBE" wait-window '#32770' "$box" 30000 || fail "the uninstaller did not say that Purgeon runs"
texts=$(probe texts '#32770' "$box")
grep -q '^Purgeon is running\. Close it first' <<<"$texts" || fail "the box said: $texts"
# The user exits Purgeon and clicks Retry: the uninstaller goes on.
for cls in frmmain frmSplash; do
    while wine "$PROBE" kill "$cls" >/dev/null 2>&1; do sleep 0.2; done
done
wait_exit "$purgeon_pid" 30 || fail "Purgeon did not end"
wine "$PROBE" press '#32770' "$box" 4 || fail "the box has no Retry button"
wine "$PROBE" wait-window '#32770' "$window" 30000 || fail "no uninstaller window after Retry"
# A click that comes while the page is still being laid out is lost: click until the work starts.
question="Remove Purgeon's settings and its log as well?"
deadline=$((SECONDS + 60))
until grep -qxF "$question" <<<"$(probe texts '#32770' "$box")"; do
    ((SECONDS < deadline)) || fail "the uninstaller did not ask about the settings"
    wine "$PROBE" press '#32770' "$window" 1 || true
    sleep 0.5
done
shot uninstall-settings-question
wine "$PROBE" press '#32770' "$box" 6 || fail "the question has no Yes button"
deadline=$((SECONDS + 60))
while key_exists "$entry" || key_exists 'HKCU\Software\Purgeon'; do
    ((SECONDS < deadline)) || fail "the uninstaller left its entry or the settings"
    sleep 0.2
done
[ ! -e "$log_folder" ] || fail "the log folder is left"
# "Close" answers once the work is done.
for ((i = 0; i < 50; i++)); do
    wine "$PROBE" press '#32770' "$window" 1 || break
    sleep 0.2
done
wine "$PROBE" wait-gone '#32770' 10000 || fail "the uninstaller's window stayed"
wait_exit "$uninstaller_pid" 30 || fail "the uninstaller went on without its window"
rc=0
wait "$uninstaller_pid" || rc=$?
expect "the uninstaller's exit code" "$rc" 0
wait_removed "$folder" || fail "$folder is left"
echo "ok: the uninstaller waited for Purgeon to end, then removed the settings and the log on request"
