#!/usr/bin/env bash
# purgeon.exe /wipe: files and every file of a folder wiped with no question and no window (told by
# their place on the line, never named), a file in use left as it is and named with exit code 1,
# bad arguments with exit code 2; the log counts and names no file.
source "$(dirname "$0")/lib.sh"

out=$(mktemp)
folder="$WINEPREFIX/drive_c/e2e-wipe-command"
win='C:\e2e-wipe-command'
local_data=$(wine cmd /c echo %LOCALAPPDATA% 2>/dev/null | tr -d '\r') || true
log=$(unix_path "$local_data\\Purgeon\\purgeon.log") || true
[ -n "$log" ] || fail "cannot find the log's folder ('$local_data')"
trap 'stop_purgeon; rm -rf "$folder" "$out"; store_prefs' EXIT
rm -rf "$folder"
mkdir -p "$folder/tree/sub"
store_prefs shredlevel=True

# Bad arguments: the reason, the usage, exit code 2, nothing touched.
echo "keep" >"$folder/kept.txt"
while IFS='|' read -r arguments first; do
    read -ra words <<<"$arguments"
    run_cli "${words[@]}"
    expect_code 2 "$arguments"
    [ "$(head -n 1 "$out")" = "$first" ] || fail "$arguments: the first line is not '$first': $(cat "$out")"
    said "  purgeon.exe /wipe PATH ...    wipes each file named and every file below each" "$arguments"
done <<'CASES'
/wipe|/wipe needs the full path of at least one file or folder.
/wipe kept.txt|Not a full path: kept.txt
/wipe C:\e2e-wipe-command\kept.txt /clean|/clean and /wipe cannot be given together.
CASES
[ "$(cat "$folder/kept.txt")" = "keep" ] || fail "a bad command line touched a file"
echo "ok: bad arguments end with 2 and touch nothing"

# A file and a folder: every file gone, the folders left, no window.
printf 'letter %.0s' $(seq 300) >"$folder/letter.doc"
printf 'a%.0s' $(seq 5000) >"$folder/tree/a.txt"
head -c 70000 /dev/urandom >"$folder/tree/sub/b.bin"
: >"$folder/tree/sub/empty.txt"
run_cli /wipe "$win\\letter.doc" "$win\\tree"
expect_code 0 "/wipe of a file and a folder"
said "Item 1 (a file) wiped." "/wipe of a file and a folder"
said "Item 2 (a folder): 3 file(s) wiped." "/wipe of a file and a folder"
! grep -qE "letter|tree" "$out" || fail "the output names what was wiped: $(cat "$out")"
[ ! -e "$folder/letter.doc" ] || fail "the file is still there"
[ -z "$(find "$folder/tree" -type f)" ] || fail "files are left: $(find "$folder/tree" -type f)"
[ -d "$folder/tree/sub" ] || fail "the folders went too"
! wine "$PROBE" wait-exists frmmain 500 || fail "a window was made"
echo "ok: a file and every file of a folder wiped"

# A file another program holds stays as it is; the other file goes; exit code 1, the reason named.
echo "someone's" >"$folder/held.txt"
echo "mine" >"$folder/two.txt"
# cmd keeps the file open, without sharing it for writing, while "set /p" waits for its input.
(sleep 8 | wine cmd /c "set /p x=>>$win\\held.txt" >/dev/null 2>&1) &
holder=$!
sleep 3
run_cli /wipe "$win\\held.txt" "$win\\two.txt" "$win\\missing.txt"
expect_code 1 "/wipe with a file in use"
said "$win\\held.txt could not be wiped: it is in use by another program." "/wipe with a file in use"
said "Item 2 (a file) wiped." "/wipe with a file in use"
said "$win\\missing.txt could not be wiped: there is no such file or folder." "/wipe of a missing file"
[ "$(cat "$folder/held.txt")" = "someone's" ] || fail "the file in use was touched"
[ ! -e "$folder/two.txt" ] || fail "the other file is still there"
wait "$holder" 2>/dev/null || true
echo "ok: a file in use was left and named, with exit code 1"

# The log counts what the runs did and names none of the files.
grep -aF "Command line: wipe: 1 file(s) wiped, 1 not wiped (1 in use by another program); 1 path(s) refused or missing." \
    "$log" >/dev/null || fail "the log has no count of the run: $(tail -n 5 "$log")"
! grep -aE "letter|held|two\.txt|e2e-wipe-command" "$log" >/dev/null ||
    fail "the log names a wiped file: $(grep -aE "letter|held|two\.txt|e2e-wipe-command" "$log")"
echo "ok: the log counts and names no file"
