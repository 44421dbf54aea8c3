#!/usr/bin/env bash
# Profiles the real Chromium and Firefox wrote, laid out as Windows keeps them: the tabs list their
# cookies, cache and history; the start-up run clears them with the keep list honoured, leaving
# every database sound and no file of a profile naming the removed site; a browser that runs
# (it holds its profile's lock) keeps its profile exactly as it was, and the user is told.
source "$(dirname "$0")/lib.sh"
: "${REAL_PROFILES:?}" "${CHECK_CLEAN:?}"
[ -f "$REAL_PROFILES/expect.txt" ] || fail "no real profiles in $REAL_PROFILES"
source "$REAL_PROFILES/expect.txt"

folders='HKCU\Software\Microsoft\Windows\CurrentVersion\Explorer\Shell Folders'
local_dir=$(unix_path "$(reg_value "$folders" 'Local AppData')")
roaming_dir=$(unix_path "$(reg_value "$folders" 'AppData')")
[ -d "$local_dir" ] && [ -d "$roaming_dir" ] || fail "cannot find the prefix's app-data folders"
# The other tests share the prefix: the profiles go again however this one ends.
remove_profiles() {
    rm -rf "$local_dir/Chromium" "$local_dir/Google" "$local_dir/Microsoft/Edge" \
        "$local_dir/Mozilla" "$roaming_dir/Mozilla"
}
trap 'remove_profiles; stop_purgeon' EXIT
cp -a "$REAL_PROFILES/Local/." "$local_dir/"
cp -a "$REAL_PROFILES/Roaming/." "$roaming_dir/"
# The Chromium profile once more as Edge's, whose browser runs throughout.
edge="$local_dir/Microsoft/Edge/User Data"
mkdir -p "$(dirname "$edge")"
cp -a "$local_dir/Chromium/User Data" "$edge"
# Started outside this shell's jobs: stop_purgeon waits for those.
lock_win=$(winepath -w "$edge/lockfile" 2>/dev/null | tr -d '\r')
holder=$( (wine "$PROBE" hold-lock "$lock_win" 280000 >/dev/null 2>&1 </dev/null & echo $!))
trap 'kill "$holder" 2>/dev/null || true; stop_purgeon; remove_profiles' EXIT
for _ in $(seq 50); do [ -e "$edge/lockfile" ] && break; sleep 0.2; done
[ -e "$edge/lockfile" ] || fail "the running browser's lock was not taken"
edge_sums() { (cd "$edge" && find . -type f ! -name lockfile -print0 | sort -z | xargs -0 sha256sum); }
edge_before=$(edge_sums)

# The command line's preview counts what the browsers hold, names the running one and removes nothing.
chromium_cookies_sum=$(sha256sum <"$local_dir/Chromium/User Data/Default/Network/Cookies")
code=0
preview=$(wine "$PURGEON_EXE" /preview browsers </dev/null 2>/dev/null | tr -d '\r') || code=$?
echo "$preview"
[ "$code" -eq 1 ] || fail "/preview browsers ended with $code, not 1 (Edge runs)"
grep -Eq '^Browsers: [0-9]+ items \(.*\) would be removed; left alone while running: Edge \(Your Chromium\)\.$' \
    <<<"$preview" || fail "the preview said: $preview"
[ "$(sha256sum <"$local_dir/Chromium/User Data/Default/Network/Cookies")" = "$chromium_cookies_sum" ] ||
    fail "the preview changed a cookie database"

readonly ID_lstcookies=1020 ID_cmdselectallcookies=1021 ID_cmddelcookies=1024 ID_List1=1026

# The tabs list what the browsers keep.
store_prefs keepcookies=keep.purgeon.test
start_purgeon
wine "$PROBE" wait-exists frmmain 30000 || fail "the main window was never loaded"
wine "$PROBE" wait-gone frmSplash 30000 || fail "the splash did not close"
wine "$PROBE" show frmmain
sleep 2
shot browsers-general
wine "$PROBE" tab frmmain 1
sleep 2
cookies=$(probe count-id frmmain "$ID_lstcookies")
# Three sites' cookies (two names each, some host-only) in four profiles (Chrome, Chromium, Edge,
# Firefox): at least 2 names x 2 sites x 4 profiles.
[ "${cookies:-0}" -ge 16 ] || fail "the cookie list shows ${cookies:-no} rows"
shot browsers-cookies
wine "$PROBE" tab frmmain 1  # stays on Cookies; the next tabs in turn
wine "$PROBE" tab frmmain 2
sleep 2
shot browsers-cache
wine "$PROBE" tab frmmain 3
sleep 2
history=$(probe count-id frmmain "$ID_URLs")
# Six pages in each of the four profiles; Wine's own history store lists nothing.
[ "${history:-0}" -ge 24 ] || fail "the history list shows ${history:-no} rows"
shot browsers-history
echo "ok: $cookies cookies and $history visited pages listed"

# Deleting every cookie by hand: the running browser is named, its profile left alone.
wine "$PROBE" tab frmmain 1
sleep 1
wine "$PROBE" click-id frmmain "$ID_cmdselectallcookies"
wine "$PROBE" click-id frmmain "$ID_cmddelcookies" &
clicker=$!
wine "$PROBE" wait-window '#32770' 'Delete Cookies' 10000 || fail "no question before deleting"
wine "$PROBE" press '#32770' 'Delete Cookies' 6
wine "$PROBE" wait-window '#32770' ' Purgeon' 30000 || fail "the running browser was not named"
texts=$(probe texts '#32770' ' Purgeon')
grep -qx 'Close Edge to clean it' <<<"$texts" || fail "the box said: $texts"
shot browsers-close-edge
wine "$PROBE" press '#32770' ' Purgeon' 1
wait "$clicker" 2>/dev/null || true
stop_purgeon
echo "ok: a running browser named and left alone ($SECONDS s)"

# The start-up run clears every area of every ticked profile.
store_prefs runonstart=1 autodelcookies=1 autodelcache=1 autodelhistory=1 \
    keepcookies=keep.purgeon.test
start_purgeon
wine "$PROBE" wait-exists frmmain 60000 || fail "the main window was never loaded"
wine "$PROBE" wait-gone frmSplash 120000 || fail "the start-up run did not end"
stop_purgeon
echo "start-up run done ($SECONDS s)"

log="$local_dir/Purgeon/purgeon.log"
grep -q 'Cookies: Edge (Your Chromium): skipped: the browser is running (Close Edge to clean it)' \
    "$log" || fail "the log does not say why Edge was skipped"
grep -q 'History: Firefox (default-release): ' "$log" || fail "the log names no Firefox history clear"
edge_after=$(edge_sums)
[ "$edge_after" = "$edge_before" ] ||
    fail "the running browser's profile changed: $(diff <(echo "$edge_before") <(echo "$edge_after"))"

bash "$CHECK_CLEAN" "$local_dir/Chromium/User Data/Default" \
    "$local_dir/Google/Chrome/User Data/Default" \
    "$roaming_dir/Mozilla/Firefox/Profiles/$firefox_profile_dir" \
    "$local_dir/Mozilla/Firefox/Profiles/$firefox_profile_dir" \
    --gone gone.purgeon.test $gone_cookies Gonesite \
    --keep $keep_cookies || fail "a cleared profile still holds what was removed"
for pair in "$local_dir/Chromium/User Data/Default/Network/Cookies|cookies" \
    "$roaming_dir/Mozilla/Firefox/Profiles/$firefox_profile_dir/cookies.sqlite|moz_cookies"; do
    db=${pair%|*}
    names=$(sqlite3 "file:$db?immutable=1" "SELECT name FROM ${pair#*|}")
    grep -q keepsite_session <<<"$names" || fail "a kept cookie went from $db"
    ! grep -q gonesite <<<"$names" || fail "a removed cookie is still in $db"
done
echo "ok: the start-up run cleared every ticked profile, kept the keep list's cookies and left Edge alone"

# Once Edge has ended, the command line clears its profile too.
kill "$holder" 2>/dev/null || true
for _ in $(seq 50); do [ ! -e "$edge/lockfile" ] && break; sleep 0.2; done
code=0
summary=$(wine "$PURGEON_EXE" /clean browsers </dev/null 2>/dev/null | tr -d '\r') || code=$?
echo "$summary"
[ "$code" -eq 0 ] || fail "/clean browsers ended with $code"
bash "$CHECK_CLEAN" "$edge/Default" --gone gone.purgeon.test $gone_cookies Gonesite \
    --keep $keep_cookies || fail "the command line left the removed site in Edge's profile"
echo "ok: /clean browsers cleared Edge's profile once Edge had ended"
