#!/usr/bin/env bash
# Builds the real browser profiles into a temporary folder and checks that they hold what
# the browser tests rely on (both sites' cookies, history and cache in every browser), and
# that check_clean.sh fails on them while the gone site is there and passes once it is not.
# Usage: selftest.sh   (exit status 0 when every check passes)
# shellcheck disable=SC2154 # the fixture's facts and paths are sourced from expect.txt
set -uo pipefail

here=$(cd "$(dirname "$0")" && pwd)
work=$(mktemp -d "${TMPDIR:-/tmp}/purgeon-browsers-selftest.XXXXXX")
trap 'rm -rf "$work"' EXIT
out=$work/out
passed=0
failed=0

pass() {
    echo "ok: $*"
    passed=$((passed + 1))
}
fail() {
    echo "FAIL: $*"
    failed=$((failed + 1))
}
judge() { # status of a check, what passed, what failed
    if [ "$1" -eq 0 ]; then pass "$2"; else fail "$3"; fi
}
some() { # the count a query returned is at least one
    [ "${1:-0}" -ge 1 ]
}

if ! "$here/make_profiles.sh" "$out"; then
    echo "selftest: make_profiles.sh failed"
    echo "selftest: 0 passed, 1 failed"
    exit 1
fi
# shellcheck source=/dev/null
source "$out/expect.txt"

# Queries a copy of a database together with its -wal, so rows not yet checkpointed count
# and the fixture itself stays untouched.
query() {
    local db=$out/$1 copy=$work/query.db
    rm -f "$copy" "$copy-wal"
    cp "$db" "$copy" && { [ ! -f "$db-wal" ] || cp "$db-wal" "$copy-wal"; } &&
        sqlite3 "$copy" "$2"
}

# browser | cookies file, table, host column | history file, table
stores="chromium|$chromium_cookies|cookies|host_key|$chromium_history|urls
chrome|$chrome_cookies|cookies|host_key|$chrome_history|urls
firefox|$firefox_cookies|moz_cookies|host|$firefox_history|moz_places"

while IFS='|' read -r browser cookies ctable hostcol history htable; do
    cache_var=${browser}_cache
    for site in keep gone; do
        hosts_var=${site}_hosts names_var=${site}_cookies urls_var=${site}_urls
        titles_var=${site}_titles assets_var=${site}_assets
        read -r -a hosts <<<"${!hosts_var}"
        domain=${hosts[0]}
        for name in ${!names_var}; do
            n=$(query "$cookies" "SELECT count(*) FROM $ctable WHERE name = '$name' AND
                ($hostcol = '$domain' OR $hostcol = '.$domain' OR $hostcol LIKE '%.$domain')")
            some "$n"
            judge $? "$browser cookie $name for $domain" \
                "$browser has no cookie $name for $domain in $cookies"
        done
        for host in "${hosts[@]}"; do
            n=$(query "$cookies" "SELECT count(*) FROM $ctable WHERE $hostcol = '$host'")
            some "$n"
            judge $? "$browser host-only cookie for $host" \
                "$browser has no host-only cookie for $host"
        done
        for url in ${!urls_var}; do
            n=$(query "$history" "SELECT count(*) FROM $htable WHERE url = '$url'")
            some "$n"
            judge $? "$browser history $url" "$browser history lacks $url"
        done
        IFS='|' read -r -a titles <<<"${!titles_var}"
        for title in "${titles[@]}"; do
            n=$(query "$history" "SELECT count(*) FROM $htable WHERE title = '$title'")
            some "$n"
            judge $? "$browser history title '$title'" \
                "$browser history lacks the title '$title'"
        done
        for asset in ${!assets_var}; do
            grep -rqaF -- "$asset" "$out/${!cache_var}"
            judge $? "$browser cache holds $asset" "$browser cache ${!cache_var} holds no $asset"
        done
    done
done <<<"$stores"

# check_clean.sh against real data, damaged and cleaned copies of it.
cases=$work/cases
mkdir -p "$cases/lz4" "$cases/broken" "$cases/cleaned"
cp "$out/$firefox_profile/sessionstore.jsonlz4" "$cases/lz4/"
db=$out/$chromium_history
head -c $(($(stat -c %s "$db") / 2)) "$db" >"$cases/broken/History"
cp "$out/$chromium_cookies" "$cases/cleaned/Cookies"
sqlite3 "$cases/cleaned/Cookies" \
    "DELETE FROM cookies WHERE host_key LIKE '%gone.purgeon.test'; VACUUM;" ||
    fail "could not prepare a cleaned Cookies copy"

clean_case() { # what, exit status wanted, a text the report must hold, check_clean arguments
    local what=$1 want=$2 expect=$3 report status line
    shift 3
    report=$("$here/check_clean.sh" "$@" 2>&1)
    status=$?
    if [ "$status" -eq "$want" ] && grep -qF -- "$expect" <<<"$report"; then
        pass "check_clean: $what"
    else
        fail "check_clean: $what (exit $status, wanted $want and '$expect'):"
        while IFS= read -r line; do echo "    $line"; done <<<"$report"
    fi
}
read -r -a gone_words <<<"$gone_hosts $gone_cookies $gone_assets"
read -r -a keep_words <<<"$keep_hosts $keep_cookies $keep_assets"
clean_case "untouched profiles still hold the gone site" 1 "Default/Network/Cookies" \
    "$out/Local" "$out/Roaming" --gone "${gone_words[@]}" --keep "${keep_words[@]}"
clean_case "untouched profiles are sound and keep the kept site" 0 "failing integrity_check: 0" \
    "$out/Local" "$out/Roaming" --keep "${keep_words[@]}"
clean_case "a site found only inside Firefox's LZ4 session file" 1 "unpacked LZ4" \
    "$cases/lz4" --gone gone.purgeon.test
clean_case "a truncated History database" 1 "NOT OK" "$cases/broken" --keep History
clean_case "a really cleaned Cookies database" 0 "check_clean: clean" \
    "$cases/cleaned" --gone "${gone_words[@]}" --keep keepsite_pref
clean_case "a kept string that is nowhere" 1 "KEEP MISSING" \
    "$cases/cleaned" --keep keepsite_pref no-such-text-3391

echo "selftest: $passed passed, $failed failed"
[ "$failed" -eq 0 ]
