#!/usr/bin/env bash
# Lays out the seed corpus of every fuzz target below fuzz/corpus/ from real browser profiles
# (tests/browsers/make_profiles.sh) and from the program's own formats.
#
# Usage: fuzz/make_corpus.sh [PROFILES]   PROFILES: a tree make_profiles.sh made (made afresh when
#                                         not given). The old-style cookie files (cookie_file/) are
#                                         left as they are: see fuzz/README.md.
set -euo pipefail

here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/.." && pwd)
corpus="$here/corpus"

work=$(mktemp -d "${TMPDIR:-/tmp}/purgeon-corpus.XXXXXX")
trap 'rm -rf "$work"' EXIT
if [ $# -ge 1 ]; then
    profiles=$(cd "$1" && pwd)
else
    profiles="$work/profiles"
    "$root/tests/browsers/make_profiles.sh" "$profiles"
fi

chromium="$profiles/Local/Chromium/User Data"
default="$chromium/Default"
firefox_roaming="$profiles/Roaming/Mozilla/Firefox"
firefox=$(find "$firefox_roaming/Profiles" -maxdepth 1 -name '*.default-release' | head -1)
firefox_cache=$(find "$profiles/Local/Mozilla/Firefox/Profiles" -maxdepth 1 -name '*.default-release' | head -1)
[ -f "$default/Preferences" ] && [ -n "$firefox" ] || { echo "no profiles in $profiles" >&2; exit 1; }

fresh() {
    rm -rf "${corpus:?}/$1"
    mkdir -p "$corpus/$1"
}

# A copy of an SQLite database with every page it uses and no more, in small pages: the browser's
# own rows and schema in a few KB.
small_database() {
    local from=$1 to=$2 mode
    mode=$(sqlite3 "$from" 'PRAGMA journal_mode;')
    sqlite3 "$from" "VACUUM INTO '$work/vacuumed'"
    sqlite3 "$work/vacuumed" 'PRAGMA journal_mode = DELETE; PRAGMA page_size = 512; VACUUM;' >/dev/null
    [ "$mode" = wal ] && sqlite3 "$work/vacuumed" 'PRAGMA journal_mode = WAL;' >/dev/null
    mv "$work/vacuumed" "$to"
}

# Rows of a table as the browser_rows input: three fields per row, each ended by a NUL byte.
rows_of() {
    sqlite3 -separator $'\x1f' -newline $'\x1e' "$1" "$2" |
        tr '\037\036' '\000\000'
}

fresh json_value
cp "$chromium/Local State" "$corpus/json_value/local_state.json"
cp "$default/Preferences" "$corpus/json_value/chromium_preferences.json"
cp "$default/Secure Preferences" "$corpus/json_value/chromium_secure_preferences.json"
for name in times.json handlers.json containers.json xulstore.json sessionCheckpoints.json \
    extension-preferences.json; do
    cp "$firefox/$name" "$corpus/json_value/firefox_$name"
done

fresh chromium_preferences
cp "$default/Preferences" "$corpus/chromium_preferences/Preferences"

fresh ini_text
for name in profiles.ini installs.ini; do cp "$firefox_roaming/$name" "$corpus/ini_text/$name"; done
cp "$firefox/compatibility.ini" "$corpus/ini_text/compatibility.ini"

fresh profile_discovery
{ cat "$chromium/Local State"; printf '\0'; cat "$firefox_roaming/profiles.ini"; } \
    >"$corpus/profile_discovery/local_state_and_profiles_ini"

fresh chromium_cache_key
find "$default/Cache/Cache_Data" -name '*_0' | sort | head -3 |
    while read -r entry; do cp "$entry" "$corpus/chromium_cache_key/"; done
cp "$default/Cache/Cache_Data/index" "$corpus/chromium_cache_key/index"

fresh firefox_cache_key
find "$firefox_cache/cache2/entries" -type f | sort | head -3 |
    while read -r entry; do cp "$entry" "$corpus/firefox_cache_key/"; done

fresh browser_stores
small_database "$default/Network/Cookies" "$corpus/browser_stores/chromium_Cookies"
small_database "$default/History" "$corpus/browser_stores/chromium_History"
small_database "$firefox/cookies.sqlite" "$corpus/browser_stores/firefox_cookies.sqlite"
small_database "$firefox/places.sqlite" "$corpus/browser_stores/firefox_places.sqlite"

fresh browser_rows
rows_of "$default/Network/Cookies" 'SELECT host_key, name, path FROM cookies' \
    >"$corpus/browser_rows/chromium_cookies"
rows_of "$default/History" 'SELECT url, title, last_visit_time FROM urls' \
    >"$corpus/browser_rows/chromium_urls"
rows_of "$firefox/cookies.sqlite" 'SELECT host, name, path FROM moz_cookies' \
    >"$corpus/browser_rows/firefox_cookies"
rows_of "$firefox/places.sqlite" 'SELECT url, title, last_visit_date FROM moz_places' \
    >"$corpus/browser_rows/firefox_places"

fresh keep_list
# A stored keep list on the first line, then entries of a list, one per line.
for browser in chromium firefox; do
    if [ $browser = chromium ]; then
        database="$default/Network/Cookies" hosts="SELECT DISTINCT host_key AS host FROM cookies"
    else
        database="$firefox/cookies.sqlite" hosts="SELECT DISTINCT host FROM moz_cookies"
    fi
    { sqlite3 "$database" "SELECT group_concat(host, ';') FROM ($hosts)"
      sqlite3 "$database" "$hosts"; } >"$corpus/keep_list/${browser}_hosts"
done
printf 'Chrome/Default;Chrome/Profile 1\nChrome/Default\nChrome/Profile 1\nFirefox/4zm3dt22.default-release\n' \
    >"$corpus/keep_list/unticked_browsers"
printf '.Sub.Example.COM.;bank.test\nhttps://www.Example.com:8443/path\n.Sub.Example.COM.\n' \
    >"$corpus/keep_list/addresses"

fresh mozlz4
cp "$firefox/sessionstore.jsonlz4" "$firefox/search.json.mozlz4" "$corpus/mozlz4/"

fresh utf8_text
cp "$firefox/xulstore.json" "$corpus/utf8_text/xulstore.json"
printf 'Grüße, Привет, 你好, 🙂 and a café\n' >"$corpus/utf8_text/languages"

fresh registry_text
# The type byte (REG_SZ 1, REG_EXPAND_SZ 2, REG_DWORD 4), then the data as the registry holds it.
utf16() { printf '%s\0' "$1" | iconv -f UTF-8 -t UTF-16LE; }
{ printf '\x01'; utf16 '"C:\Program Files\Purgeon\purgeon.exe"'; } >"$corpus/registry_text/run_value"
{ printf '\x02'; utf16 '%USERPROFILE%\AppData\Roaming\Microsoft\Windows\Cookies'; } \
    >"$corpus/registry_text/cookies_folder"
{ printf '\x01'; utf16 'C:\Users\Jürgen\Documents 🙂'; } >"$corpus/registry_text/non_ascii"
printf '\x04\x01\x00\x00\x00' >"$corpus/registry_text/dword_one"
printf '\x04\xff\xff\xff\xff' >"$corpus/registry_text/dword_minus_one"

fresh settings
# The ten check boxes, then the shredding level, one stored text per line.
printf '1\n0\n1\n1\n1\n0\n0\n1\n0\n1\nTrue\n' >"$corpus/settings/stored"
printf ' 2\n-0\n+1\n\n7\n1\n0\n0\n1\n0\nfalse\n' >"$corpus/settings/odd_texts"

fresh version_file
printf '2.0' >"$corpus/version_file/plain"
printf '1.0,first release\r\n' >"$corpus/version_file/with_notes"
printf '\xEF\xBB\xBF2.5' >"$corpus/version_file/byte_order_mark"
printf '  "1.25",http://www.purgeon.example/products/zp/\n' >"$corpus/version_file/quoted"

fresh command_line
printf '/clean\n' >"$corpus/command_line/clean"
printf '/preview\ncookies,cache\nhistory\n' >"$corpus/command_line/preview_areas"
printf -- '-CLEAN\n cookies , temp \n' >"$corpus/command_line/dash_capitals"
printf '/?\n' >"$corpus/command_line/help"

fresh plain_path
printf 'C:\\Users\\me\\AppData\\Local\\Temp' >"$corpus/plain_path/temp"
printf '\\\\?\\C:\\Users\\me\\Documents\\..\\Desktop\\.' >"$corpus/plain_path/extended"
printf '\\\\localhost\\c$\\Windows/System32' >"$corpus/plain_path/localhost_share"
printf '\\\\server\\share\\folder. \\' >"$corpus/plain_path/unc_trailing"
printf 'c:/Users/Jürgen/Downloads/' >"$corpus/plain_path/forward_slashes"

du -sh "$corpus"
