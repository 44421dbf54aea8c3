#!/usr/bin/env bash
# Other applications' traces from a rule file in %APPDATA%\Purgeon: /preview apps lists exactly the
# detected entries with their counts; /clean apps removes exactly what the ticked, detected entries
# reach (neighbours, excluded files, a held file and other values of the same key stay); links in
# a swept folder to a file and to a folder outside the prefix leave what they point to alone; and
# hostile entries that would recurse over the profile, AppData, the drive or the folder above Local
# touch nothing, are listed with their refusals and make the run's exit code 1.
source "$(dirname "$0")/lib.sh"

out=$(mktemp)
win_var() { wine cmd /c echo "%$1%" 2>/dev/null | tr -d '\r'; }
appdata_win=$(win_var APPDATA) || true
local_win=$(win_var LOCALAPPDATA) || true
profile_win=$(win_var USERPROFILE) || true
appdata=$(unix_path "$appdata_win") || true
local_data=$(unix_path "$local_win") || true
profile=$(unix_path "$profile_win") || true
drive=$(unix_path 'C:\') || true
[ -n "$appdata" ] && [ -n "$local_data" ] && [ -n "$profile" ] && [ -n "$drive" ] ||
    fail "cannot find the prefix's folders: '$appdata_win', '$local_win', '$profile_win'"

edit="$appdata/TraceEdit"
backups="$local_data/TraceEdit"
rules="$appdata/Purgeon/winapp2.ini"
outside="$BUILD_DIR/e2e-apps-outside"
cleanup() {
    rm -rf "$edit" "$backups" "$rules" "$outside" "$profile/trace-marker.txt" \
        "$appdata/trace-marker.txt" \
        "$drive/trace-marker.txt"
    wine reg delete 'HKCU\Software\PurgeonTraceEdit' /f >/dev/null 2>&1 || true
    wine reg delete 'HKLM\Software\Wow6432Node\PurgeonTraceEdit' /f >/dev/null 2>&1 || true
    store_prefs
    [ -z "${holder:-}" ] || kill "$holder" 2>/dev/null || true
}
trap cleanup EXIT

# The traces of an editor, markers where hostile rules would reach, and its registry values.
mkdir -p "$edit/plugins" "$backups/backup1/deep" "$backups/Backup2" "$backups/other" "$appdata/Purgeon"
printf '%0100d' 0 >"$edit/session.xml"
printf '%010d' 0 >"$edit/a.bak"
printf 'keep' >"$edit/keep.bak"
printf 'notes' >"$edit/notes.txt"
printf 'plugin' >"$edit/plugins/p.bak"
printf 'someone' >"$edit/held.bak"
printf '%05d' 0 >"$backups/backup1/LOG"
printf '%05d' 0 >"$backups/backup1/deep/CURRENT"
printf '%05d' 0 >"$backups/Backup2/x [1].tmp"
printf 'other' >"$backups/other/o.tmp"
# Unix links, as Wine shows them (a file link looks like a plain file), to a file and a folder
# outside the prefix, in a folder a ticked rule sweeps with RECURSE.
rm -rf "$outside"
mkdir -p "$outside/dir"
printf 'outside' >"$outside/target.txt"
printf 'inner' >"$outside/dir/inner.txt"
ln -s "$outside/target.txt" "$backups/Backup2/link.txt"
ln -s "$outside/dir" "$backups/Backup2/dirlink"
for place in "$profile" "$appdata" "$drive"; do echo marker >"$place/trace-marker.txt"; done
wine reg add 'HKCU\Software\PurgeonTraceEdit' /v Recent /t REG_SZ /d a /f >/dev/null 2>&1
wine reg add 'HKCU\Software\PurgeonTraceEdit' /v Settings /t REG_SZ /d b /f >/dev/null 2>&1
wine reg add 'HKCU\Software\PurgeonTraceEdit\MRU' /v 1 /t REG_SZ /d c /f >/dev/null 2>&1
wine reg add 'HKLM\Software\Wow6432Node\PurgeonTraceEdit' /v Installed /t REG_SZ /d 1 /f \
    >/dev/null 2>&1

# Written as the community files are: UTF-8 without a mark, CRLF, long keys, odd names.
{
    printf '; Version: e2e\n\n'
    printf '[TraceEdit *]\nLangSecRef=3021\nSection=Editors\n'
    printf 'Detect1=HKCU\\Software\\PurgeonNoSuchKey\nDetect2=HKLM\\Software\\Wow6432Node\\PurgeonTraceEdit\n'
    printf 'FileKey1=%%AppData%%\\TraceEdit|session.xml;*.bak\n'
    printf 'FileKey134=%%LocalAppData%%\\traceedit\\BACKUP*|*.*|RECURSE|REMOVESELF\n'
    printf 'ExcludeKey1=FILE|%%AppData%%\\TraceEdit\\|keep.bak\n'
    printf 'RegKey1=HKCU\\Software\\PurgeonTraceEdit|Recent\nRegKey401=HKCU\\Software\\PurgeonTraceEdit\\MRU\n\n'
    printf '[TraceEdit Others & 100%% Notes]\nDetectFile=%%AppData%%\\Trace*\\notes.txt\n'
    printf 'FileKey1=%%LocalAppData%%\\TraceEdit\\other|*.tmp\n\n'
    printf '[Hostile Profile]\nFileKey1=%%UserProfile%%|*.*|RECURSE\n\n'
    printf '[Hostile AppData]\nFileKey1=%%AppData%%|*.*|RECURSE|REMOVESELF\n\n'
    printf '[Hostile Drive]\nFileKey1=%%SystemDrive%%\\|*.*|RECURSE\n\n'
    printf '[Hostile Everything]\nFileKey1=%%AppData%%\\TraceEdit\n\n'
    printf '[Hostile Parent]\nFileKey1=%%LocalAppData%%\\..\\|*|RECURSE\n\n'
    printf '[Absent]\nDetect=HKCU\\Software\\PurgeonNoSuchKey\nFileKey1=%%AppData%%\\TraceEdit|notes.txt\n'
} | sed 's/$/\r/' >"$rules"
store_prefs 'apps=TraceEdit *|Hostile Profile|Hostile AppData|Hostile Drive|Hostile Everything|Hostile Parent|Absent'

run_cli /preview apps
expect_code 1 "/preview apps with refused rules ticked"
cat "$out"
said "  TraceEdit *: 7 files (139 bytes), 2 registry items, ticked" "/preview apps"
said "  TraceEdit Others & 100% Notes: 1 file (5 bytes), 0 registry items" "/preview apps"
said "  Hostile Profile: 0 files (0 bytes), 0 registry items, 1 rule(s) refused, ticked" "/preview apps"
said "  Hostile AppData: 0 files (0 bytes), 0 registry items, 1 rule(s) refused, ticked" "/preview apps"
said "  Hostile Drive: 0 files (0 bytes), 0 registry items, 1 rule(s) refused, ticked" "/preview apps"
said "  Hostile Parent: 0 files (0 bytes), 0 registry items, 1 rule(s) refused, ticked" "/preview apps"
said "    FileKey 1: the folder %LocalAppData%\\.. was refused: it steps with \".\" or \"..\"." \
    "/preview apps"
! grep -q "Absent\|Hostile Everything" "$out" || fail "an undetected or malformed entry was listed"
[ "$(grep -c '^  [^ ]' "$out")" = 6 ] || fail "/preview apps: not exactly the six detected entries"
[ "$(grep -c '^    FileKey 1: .* was refused: ' "$out")" = 4 ] || fail "/preview apps: not four refusals"
[ -e "$edit/session.xml" ] || fail "/preview apps removed a file"
echo "ok: /preview apps lists the detected entries, the refused ones with why, and removes nothing"

# Another program holds one of the matched files.
marker="$appdata/held.marker"
rm -f "$marker"
wine "$PROBE" hold-file "$appdata_win\\TraceEdit\\held.bak" 120000 "$appdata_win\\held.marker" \
    >/dev/null 2>&1 </dev/null &
holder=$!
for _ in $(seq 600); do [ -e "$marker" ] && break; sleep 0.1; done
[ -e "$marker" ] || fail "the probe never held the file"

run_cli /clean apps
expect_code 1 "/clean apps with a file in use"
cat "$out"
for gone in "$edit/session.xml" "$edit/a.bak" "$backups/backup1" "$backups/Backup2/x [1].tmp"; do
    [ ! -e "$gone" ] || fail "/clean apps left $gone"
done
for kept in "$edit/keep.bak" "$edit/notes.txt" "$edit/plugins/p.bak" "$backups/other/o.tmp" \
    "$profile/trace-marker.txt" "$appdata/trace-marker.txt" "$drive/trace-marker.txt" "$rules"; do
    [ -e "$kept" ] || fail "/clean apps removed $kept"
done
[ "$(cat "$edit/held.bak")" = someone ] || fail "the held file was touched"
[ -d "$backups" ] || fail "REMOVESELF reached above the matched folders"
[ "$(cat "$outside/target.txt")" = outside ] || fail "a link in a swept folder removed its target"
[ "$(cat "$outside/dir/inner.txt")" = inner ] || fail "a folder link in a swept folder was entered"
[ -L "$backups/Backup2/link.txt" ] && [ -L "$backups/Backup2/dirlink" ] ||
    fail "the links themselves went, though what they lead to was left"
grep -q "TraceEdit \*: 5 files and 2 registry items removed, 2 folders; left: 1 in use by another program, 1 reached through a link and left alone" \
    "$(unix_path "$local_win\\Purgeon\\purgeon.log")" || fail "the link left alone is not in the log"
wine reg query 'HKCU\Software\PurgeonTraceEdit' /v Recent >/dev/null 2>&1 && fail "the value Recent is still there"
wine reg query 'HKCU\Software\PurgeonTraceEdit\MRU' >/dev/null 2>&1 && fail "the key MRU is still there"
wine reg query 'HKCU\Software\PurgeonTraceEdit' /v Settings >/dev/null 2>&1 ||
    fail "the other value of the same key was removed"
log=$(unix_path "$local_win\\Purgeon\\purgeon.log")
grep -q "Hostile Profile: FileKey 1: the folder .* was refused: it is the profile folder" "$log" ||
    fail "the hostile profile rule's refusal is not in the log"
grep -q "Hostile Drive: FileKey 1: the folder C:\\\\ was refused: it is the root of a drive" "$log" ||
    fail "the hostile drive rule's refusal is not in the log"
grep -q 'left out: line [0-9]*, entry "Hostile Everything": FileKey1 has no file pattern' "$log" ||
    fail "the malformed entry is not in the log"
grep -q "Hostile Parent: FileKey 1: the folder .* was refused: it steps with" "$log" ||
    fail "the rule that steps up is not refused in the log"
grep -q "rule(s) refused; the log says why" "$out" || fail "/clean apps did not count the refusals"
echo "ok: /clean apps removed exactly the ticked entries' traces; links and hostile rules touched nothing"
