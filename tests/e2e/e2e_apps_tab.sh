#!/usr/bin/env bash
# The Applications tab as a user drives it: without a rule file it says where to put one and "Get
# rules..." downloads it; it lists the detected entries of the rule file with their counts and
# nothing ticked; an entry with a Warning is ticked only after "Yes"; "Clean
# Applications" removes exactly the ticked entry's traces and ends with a summary. Screenshots of
# the tab without and with rules, the preview, the Warning and the summary.
source "$(dirname "$0")/lib.sh"

readonly ID_lblRuleFile=1071
readonly ID_lstApps=1072
readonly ID_cmdPreviewApp=1073
readonly ID_cmdGetRules=1074
readonly ID_cmdCleanApps=1075
readonly IDYES=6 IDNO=7 IDOK=1

win_var() { wine cmd /c echo "%$1%" 2>/dev/null | tr -d '\r'; }
appdata_win=$(win_var APPDATA) || true
appdata=$(unix_path "$appdata_win") || true
[ -n "$appdata" ] || fail "cannot find the prefix's AppData: '$appdata_win'"
edit="$appdata/TabEdit"
view="$appdata/TabView"
rules="$appdata/Purgeon/winapp2.ini"
served=$(mktemp -d)
cleanup() {
    [ -z "${server:-}" ] || kill "$server" 2>/dev/null || true
    rm -rf "$edit" "$view" "$rules" "$served"
    wine reg delete 'HKCU\Software\PurgeonTabEdit' /f >/dev/null 2>&1 || true
    store_prefs
    stop_purgeon
}
trap cleanup EXIT

rm -f "$rules"
mkdir -p "$edit" "$view" "$appdata/Purgeon"
printf '%0100d' 0 >"$edit/session.xml"
printf '%010d' 0 >"$edit/a.bak"
printf 'notes' >"$edit/notes.txt"
printf '%0200d' 0 >"$view/thumbs.db"
printf 'keep' >"$view/keep.txt"
wine reg add 'HKCU\Software\PurgeonTabEdit' /v Recent /t REG_SZ /d a /f >/dev/null 2>&1
wine reg add 'HKCU\Software\PurgeonTabEdit' /v Settings /t REG_SZ /d b /f >/dev/null 2>&1
{
    printf '[TabEdit *]\nSection=Editors\nWarning=Your unsaved sessions go too.\n'
    printf 'DetectFile=%%AppData%%\\TabEdit\nFileKey1=%%AppData%%\\TabEdit|session.xml;*.bak\n'
    printf 'RegKey1=HKCU\\Software\\PurgeonTabEdit|Recent\n\n'
    printf '[TabView Thumbnails]\nSection=Viewers\nDetectFile=%%AppData%%\\TabView\n'
    printf 'FileKey1=%%AppData%%\\TabView|*.db\n\n'
    printf '[Not Here]\nDetectFile=%%AppData%%\\NoSuchApp\nFileKey1=%%AppData%%\\NoSuchApp|*.*\n'
} | sed 's/$/\r/' >"$served/winapp2.ini"

# "Get rules..." downloads from the address rulesurl names: a server on this machine.
port=$((20000 + RANDOM % 20000))
python3 -m http.server "$port" --bind 127.0.0.1 --directory "$served" >/dev/null 2>&1 &
server=$!
for _ in $(seq 50); do (exec 3<>"/dev/tcp/127.0.0.1/$port") 2>/dev/null && break; sleep 0.1; done
store_prefs "rulesurl=http://127.0.0.1:$port/winapp2.ini"

open_tab 6
for _ in $(seq 50); do
    probe text-id frmmain "$ID_lblRuleFile" | grep -q 'There is no rule file' && break
    sleep 0.2
done
text=$(probe text-id frmmain "$ID_lblRuleFile")
grep -qF 'There is no rule file. Put one in the winapp2.ini format at ' <<<"$text" &&
    grep -qF 'Purgeon\winapp2.ini, or get the current one with "Get rules...".' <<<"$text" ||
    fail "without rules the tab said: $text"
shot apps-no-rules
wine "$PROBE" click-id frmmain "$ID_cmdGetRules"
wine "$PROBE" wait-window '#32770' ' Purgeon' 30000 || fail "Get rules told nothing"
box=$(probe texts '#32770' ' Purgeon')
grep -qx '3 entries read.' <<<"$box" || fail "Get rules said: $box"
wine "$PROBE" press '#32770' ' Purgeon' "$IDOK"
cmp -s "$served/winapp2.ini" "$rules" || fail "the rule file was not written to $rules"
echo "ok: without a rule file the tab says where to put one; Get rules downloaded it"
for _ in $(seq 100); do
    probe text-id frmmain "$ID_lblRuleFile" | grep -q 'detected on this computer' && break
    sleep 0.2
done
text=$(probe text-id frmmain "$ID_lblRuleFile")
grep -q "winapp2.ini (3 entries, 2 detected on this computer)." <<<"$text" ||
    fail "the rule file's text was: $text"
# The Windows group stands first; the rule file's entries follow it.
all_rows=$(probe list-rows frmmain "$ID_lstApps")
first=$(grep -c $'\tWindows\t' <<<"$all_rows" || true)
[ "$first" -eq 12 ] || fail "the Windows group has $first rows"
rows=$(tail -n +$((first + 1)) <<<"$all_rows")
expected=$(printf '[ ]\tTabEdit *\tEditors\t2\t110 bytes\t1\n[ ]\tTabView Thumbnails\tViewers\t1\t200 bytes\t0')
[ "$rows" = "$expected" ] || fail "the list showed: $rows"
echo "ok: the tab lists the two detected entries, grouped by section, with nothing ticked"
wine "$PROBE" list-select frmmain "$ID_lstApps" "$first"
sleep 0.5
shot apps-tab

# The preview names the selected entry's files and registry items.
wine "$PROBE" click-id frmmain "$ID_cmdPreviewApp"
wine "$PROBE" wait-window '#32770' ' Purgeon' 10000 || fail "no preview"
box=$(probe texts '#32770' ' Purgeon')
grep -qF 'TabEdit\session.xml (100 bytes)' <<<"$box" && grep -qF 'TabEdit\a.bak (10 bytes)' <<<"$box" &&
    grep -qF 'HKCU\Software\PurgeonTabEdit | Recent' <<<"$box" || fail "the preview said: $box"
shot apps-preview
wine "$PROBE" press '#32770' ' Purgeon' "$IDOK"
wine "$PROBE" wait-gone '#32770' 10000 || fail "the preview did not close"
echo "ok: the preview names the selected entry's files and registry items"

# The Warning shows before the tick takes: "No" leaves the entry unticked.
wine "$PROBE" list-tick frmmain "$ID_lstApps" "$first" 1
wine "$PROBE" wait-window '#32770' ' Purgeon' 10000 || fail "no Warning before the tick"
box=$(probe texts '#32770' ' Purgeon')
grep -q 'Your unsaved sessions go too.' <<<"$box" || fail "the Warning box said: $box"
shot apps-warning
wine "$PROBE" press '#32770' ' Purgeon' "$IDNO"
wine "$PROBE" wait-gone '#32770' 10000 || fail "the Warning did not close"
sleep 0.5
[ "$(probe list-rows frmmain "$ID_lstApps" | sed -n "$((first + 1))p" | cut -f1)" = '[ ]' ] ||
    fail "the entry is ticked after No"
[ -z "$(reg_value "$settings_key" apps)" ] || fail "a tick was stored after No"

wine "$PROBE" list-tick frmmain "$ID_lstApps" "$first" 1
wine "$PROBE" wait-window '#32770' ' Purgeon' 10000 || fail "no Warning before the second tick"
wine "$PROBE" press '#32770' ' Purgeon' "$IDYES"
wine "$PROBE" wait-gone '#32770' 10000 || fail "the Warning did not close"
for _ in $(seq 50); do [ "$(reg_value "$settings_key" apps)" = 'TabEdit *' ] && break; sleep 0.2; done
[ "$(reg_value "$settings_key" apps)" = 'TabEdit *' ] ||
    fail "apps is '$(reg_value "$settings_key" apps)', not the ticked entry"
[ "$(probe list-rows frmmain "$ID_lstApps" | tail -n +$((first + 1)) | cut -f1 | tr '\n' ' ')" = '[x] [ ] ' ] ||
    fail "not exactly the first entry is ticked"
echo "ok: the Warning came first; No left the entry unticked, Yes ticked and stored it"

wine "$PROBE" click-id frmmain "$ID_cmdCleanApps"
wine "$PROBE" wait-window '#32770' ' Purgeon' 30000 || fail "no summary after the clean"
box=$(probe texts '#32770' ' Purgeon')
grep -q '^Freed 110 bytes' <<<"$box" || fail "the summary said: $box"
grep -q 'Applications: 2 files removed, 110 bytes; 1 registry item removed from 1 entry' \
    <<<"$box" || fail "the summary said: $box"
shot apps-summary
wine "$PROBE" press '#32770' ' Purgeon' "$IDOK"
for gone in "$edit/session.xml" "$edit/a.bak"; do [ ! -e "$gone" ] || fail "the clean left $gone"; done
for kept in "$edit/notes.txt" "$view/thumbs.db" "$view/keep.txt" "$rules"; do
    [ -e "$kept" ] || fail "the clean removed $kept"
done
wine reg query 'HKCU\Software\PurgeonTabEdit' /v Recent >/dev/null 2>&1 && fail "the value Recent is still there"
wine reg query 'HKCU\Software\PurgeonTabEdit' /v Settings >/dev/null 2>&1 ||
    fail "the other value of the same key was removed"
echo "ok: Clean Applications removed exactly the ticked entry's traces and told what went"
