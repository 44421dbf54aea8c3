#!/usr/bin/env bash
# "Purgeon on startup" with the areas ticked cleans the real cookie folder, the URL cache (sparing
# "Cookie:" entries), the temporary folder and the Recycle Bin, showing its steps on the splash.
source "$(dirname "$0")/lib.sh"

cookies=$(unix_path "$(reg_value 'HKCU\Software\Microsoft\Windows\CurrentVersion\Explorer\Shell Folders' Cookies)")
temp=$(unix_path "$(wine cmd /c echo %TEMP% 2>/dev/null | tr -d '\r')")
[ -d "$(dirname "$cookies")" ] && [ -n "$temp" ] || fail "cannot find the prefix's cookie or temporary folder"
mkdir -p "$cookies" "$temp/sub" "$HOME/.local/share/Trash/files" "$HOME/.local/share/Trash/info"
echo c1 >"$cookies/root@a.example.txt"
echo c2 >"$cookies/root@b.example.txt"
chmod a-w "$cookies/root@b.example.txt"
echo t1 >"$temp/e2e-a.tmp"
echo t2 >"$temp/sub/e2e-b.tmp"
echo bin >"$HOME/.local/share/Trash/files/e2e-binned.txt"
printf '[Trash Info]\nPath=/tmp/e2e-binned.txt\nDeletionDate=2026-01-01T00:00:00\n' \
    >"$HOME/.local/share/Trash/info/e2e-binned.txt.trashinfo"
wine "$PROBE" fill-cache http://purgeon-e2e.example/page 3 || fail "cannot fill the cache"
# A large cache keeps the splash up for a while, so its texts can be watched from outside.
bulk=http://purgeon-e2e.example/bulk/
wine "$PROBE" fill-cache "$bulk" 2000 || fail "cannot fill the cache"
wine "$PROBE" fill-cache Cookie:root@purgeon-e2e.example/ 1 0x100001 || fail "cannot add a cookie entry"

store_prefs runonstart=1 autodelcookies=1 autodelcache=1 autoemptyrecyclebin=1 autocleartemp=1
start_purgeon
wine "$PROBE" wait-window frmSplash '*' 30000 || fail "the splash never showed"
seen=$(probe watch-id frmSplash "$ID_lblaction" 60000)
wine "$PROBE" wait-exists frmmain 1000 || fail "Purgeon ended during start-up"
echo "splash texts seen:"
echo "$seen"

# The texts seen (a fast step may pass between two looks) must follow the start-up order.
expected=("Loading preferences..." "Loading cache contents..." "Loading history..."
          "Loading cookie list..." "Clearing cache contents..." "Deleting coookies..."
          "Emptying Recycle Bin..." "Deleting temp files...")
position=0
while IFS= read -r line; do
    [ -z "$line" ] && continue
    while [ $position -lt ${#expected[@]} ] && [ "${expected[$position]}" != "$line" ]; do
        position=$((position + 1))
    done
    [ $position -lt ${#expected[@]} ] || fail "splash text out of order: $line"
done <<<"$seen"
grep -qx "Clearing cache contents..." <<<"$seen" || fail "the run's first step was not shown"

[ ! -e "$cookies/root@a.example.txt" ] || fail "a cookie file survived"
[ ! -e "$cookies/root@b.example.txt" ] || fail "the read-only cookie file survived"
[ ! -e "$temp/e2e-a.tmp" ] && [ ! -e "$temp/sub/e2e-b.tmp" ] || fail "temporary files survived"
[ -d "$temp/sub" ] || fail "a folder of the temporary folder was removed"
[ ! -e "$HOME/.local/share/Trash/files/e2e-binned.txt" ] || fail "the Recycle Bin was not emptied"
! wine "$PROBE" cache-has "${bulk}1999" || fail "a bulk cache entry survived"
for i in 0 1 2; do
    ! wine "$PROBE" cache-has "http://purgeon-e2e.example/page$i" || fail "cache entry page$i survived"
done
wine "$PROBE" cache-has "Cookie:root@purgeon-e2e.example/0" || fail "the Cookie: entry was not spared"
echo "ok: cookies, cache, temporary folder and Recycle Bin cleaned at start"
stop_purgeon
wine "$PROBE" drop-cache Cookie:root@purgeon-e2e.example/ 1
store_prefs
