#!/usr/bin/env bash
# What Windows itself remembers, through purgeon.exe: /preview windows names every item with what
# it remembers and removes nothing; /clean windows takes the ticked items only and leaves the
# decoys beside them; the Applications tab shows the Windows group first, with no rule file, its
# preview names what is remembered, the Warning comes before a tick, the tick is stored in
# "windows" and "Clean Applications" cleans the ticked item. Screenshots of the group at the first
# and the maximised size, the preview, the Warning and the summary.
source "$(dirname "$0")/lib.sh"
: "${WINDOWS_TRACES:?}"

readonly ID_lstApps=1072
readonly ID_cmdPreviewApp=1073
readonly ID_cmdCleanApps=1075
readonly IDYES=6 IDOK=1
readonly explorer='HKCU\Software\Microsoft\Windows\CurrentVersion\Explorer'

out=$(mktemp)
win_var() { wine cmd /c echo "%$1%" 2>/dev/null | tr -d '\r'; }
appdata=$(unix_path "$(win_var APPDATA)") || true
local_data=$(unix_path "$(win_var LOCALAPPDATA)") || true
windir=$(unix_path "$(win_var WINDIR)") || true
public=$(unix_path "$(win_var PUBLIC)") || true
[ -n "$appdata" ] && [ -n "$local_data" ] && [ -n "$windir" ] && [ -n "$public" ] ||
    fail "cannot find the prefix's folders"
recent="$appdata/Microsoft/Windows/Recent"
remove_traces() {
    rm -rf "$recent"/*.lnk "$recent/PurgeonDecoy.txt" "$recent/AutomaticDestinations" \
        "$recent/CustomDestinations" "$local_data/Microsoft/Windows/Explorer" \
        "$local_data/Microsoft/Windows/WER" "$windir/Minidump" "$windir/Prefetch" \
        "$windir/MEMORY.DMP" "$public/Documents/Purgeon traces"
    local key
    for key in RecentDocs RunMRU TypedPaths WordWheelQuery ComDlg32 UserAssist; do
        wine reg delete "$explorer\\$key" /f >/dev/null 2>&1 || true
    done
    wine reg delete 'HKCU\Software\Microsoft\Windows\Shell' /f >/dev/null 2>&1 || true
}
cleanup() {
    remove_traces
    store_prefs
    stop_purgeon
    rm -f "$out"
}
trap cleanup EXIT
lay() { remove_traces; wine "$WINDOWS_TRACES" lay "$1" >/dev/null 2>&1 || fail "the traces were not laid out"; }
value_there() { wine reg query "$1" /v "$2" >/dev/null 2>&1; }
# Waits for the program's box, checks that it says $1, takes the screenshot $2, presses $3.
answer_box() {
    wine "$PROBE" wait-window '#32770' ' Purgeon' 30000 || fail "no box saying $1"
    local box
    box=$(probe texts '#32770' ' Purgeon')
    grep -q "$1" <<<"$box" || fail "the box said: $box"
    shot "$2"
    wine "$PROBE" press '#32770' ' Purgeon' "$3"
    wine "$PROBE" wait-gone '#32770' 10000 || fail "the box saying $1 did not close"
}

# Nothing is ticked: the preview names all twelve items and what they remember, and removes
# nothing.
lay 3
store_prefs
run_cli /preview windows
expect_code 0 "/preview windows"
said 'Windows: 0 items (0 bytes) would be removed; 0 of 12 items ticked.' "/preview windows"
grep -q '^  Recent documents: 3 files (.*), 8 registry items$' "$out" ||
    fail "the recent documents' line: $(cat "$out")"
grep -q '^    remembers: .*Letter 1.docx' "$out" && grep -q '^    remembers: .*Letter 3.docx' "$out" ||
    fail "the documents were not named: $(cat "$out")"
said '    remembers: notepad letter0.txt, notepad letter1.txt, notepad letter2.txt, C:\Projects\Folder 0, C:\Projects\Folder 1, C:\Projects\Folder 2, search words 0, search words 1, search words 2' "/preview windows"
said '    remembers: tool0.exe, tool1.exe, tool2.exe' "/preview windows"
said '    3 folders with remembered views' "/preview windows"
said '  Clipboard: holds text of 12 characters' "/preview windows"
said '  Memory dumps: 4 files (4.3 KB), 0 registry items' "/preview windows"
[ "$(ls "$recent"/*.lnk | wc -l)" -eq 3 ] || fail "the preview removed a shortcut"
echo "ok: /preview windows names what each item remembers and removes nothing"

# Ticked: recent documents, Run and search history, Prefetch. Only they go; decoys stay.
store_prefs 'windows=Recent documents|Run and search history|Prefetch'
run_cli /clean windows
expect_code 0 "/clean windows"
grep -q '^Windows: 24 items (.*) removed; from 3 items\.$' "$out" ||
    fail "/clean windows said: $(cat "$out")"
ls "$recent"/*.lnk >/dev/null 2>&1 && fail "a recent document's shortcut is left"
[ -z "$(ls "$windir/Prefetch"/*.pf 2>/dev/null)" ] || fail "a prefetch file is left"
for kept in "$recent/PurgeonDecoy.txt" "$windir/Prefetch/Layout.ini" \
    "$recent/AutomaticDestinations/PurgeonDecoy.txt"; do
    [ "$(cat "$kept" 2>/dev/null)" = kept ] || fail "the decoy $kept is not as it was"
done
[ -s "$windir/MEMORY.DMP" ] || fail "the memory dump was not ticked but went"
[ "$(ls "$recent/AutomaticDestinations"/*.automaticDestinations-ms | wc -l)" -eq 3 ] ||
    fail "the jump lists were not ticked but went"
for value in a b c MRUList; do value_there "$explorer\\RunMRU" "$value" && fail "RunMRU $value is left"; done
for key in RunMRU TypedPaths WordWheelQuery RecentDocs; do
    [ "$(reg_value "$explorer\\$key" PurgeonDecoy)" = kept ] || fail "the decoy beside $key went"
done
value_there "$explorer\\ComDlg32\\LastVisitedPidlMRU" 0 || fail "the Open and Save history was not ticked but went"
echo "ok: /clean windows took exactly the ticked items and left the decoys"

# The tab, with no rule file: the Windows group first.
lay 3
store_prefs
open_tab 6
for _ in $(seq 100); do
    [ "$(probe list-rows frmmain "$ID_lstApps" | grep -c $'\tWindows\t')" -eq 12 ] && break
    sleep 0.2
done
rows=$(probe list-rows frmmain "$ID_lstApps")
[ "$(grep -c $'\tWindows\t' <<<"$rows")" -eq 12 ] || fail "the Windows group showed: $rows"
grep -q $'^\\[ \\]\tRecent documents\tWindows\t3\t' <<<"$rows" || fail "the first row: $rows"
grep -q $'^\\[ \\]\tClipboard (text of 12 characters)\tWindows\t\t\t$' <<<"$rows" ||
    fail "the clipboard's row: $rows"
echo "ok: the Windows group stands first, nothing ticked, with no rule file"
wine "$PROBE" list-select frmmain "$ID_lstApps" 0
sleep 0.5
shot windows-group
wine "$PROBE" click-id frmmain "$ID_cmdPreviewApp"
answer_box 'remembers: .*Letter 2.docx' windows-preview "$IDOK"
wine "$PROBE" list-tick frmmain "$ID_lstApps" 1 1
answer_box 'pinned' windows-warning "$IDYES"
for _ in $(seq 50); do [ "$(reg_value "$settings_key" windows)" = 'Jump lists' ] && break; sleep 0.2; done
[ "$(reg_value "$settings_key" windows)" = 'Jump lists' ] ||
    fail "windows is '$(reg_value "$settings_key" windows)'"
[ -z "$(reg_value "$settings_key" apps)" ] || fail "a Windows item was stored among the applications"
echo "ok: the Warning came first, and the tick is stored in windows"

wine "$PROBE" fill-screen frmmain
sleep 1
shot windows-group-maximised
wine "$PROBE" restore frmmain
sleep 1

wine "$PROBE" click-id frmmain "$ID_cmdCleanApps"
answer_box 'Windows: 6 items removed' windows-summary "$IDOK"
ls "$recent/AutomaticDestinations"/*.automaticDestinations-ms >/dev/null 2>&1 &&
    fail "a jump list is left"
[ -e "$recent/AutomaticDestinations/PurgeonDecoy.txt" ] || fail "the decoy beside the jump lists went"
[ "$(ls "$recent"/*.lnk | wc -l)" -eq 3 ] || fail "the recent documents were not ticked but went"
echo "ok: Clean Applications cleaned the ticked Windows item and nothing else"
