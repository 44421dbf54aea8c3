#!/usr/bin/env bash
# Shows that reopen_check.sh tells a good profile tree from a bad one: it fails on untouched
# profiles (the removed site's cookies are still sent) and on damaged ones (the browsers drop
# or rebuild what they cannot read), and passes on profiles cleaned with sqlite3 by hand.
# Usage: reopen_selftest.sh [TREE]   (TREE: what make_profiles.sh wrote; made afresh if absent)
# About a minute and a half.
# shellcheck disable=SC2154 # the fixture's paths are sourced from expect.txt
set -uo pipefail

here=$(cd "$(dirname "$0")" && pwd)
work=$(mktemp -d "${TMPDIR:-/tmp}/purgeon-reopen-selftest.XXXXXX")
trap 'rm -rf "$work"' EXIT
passed=0
failed=0

if [ $# -ge 1 ]; then
    tree=$1
elif ! "$here/make_profiles.sh" "$work/tree" >/dev/null; then
    echo "reopen_selftest: make_profiles.sh failed"
    exit 1
else
    tree=$work/tree
fi
# shellcheck source=/dev/null
source "$tree/expect.txt" || exit 1

fresh_copy() {
    rm -rf "$work/case"
    cp -a "$tree" "$work/case"
}
# Cuts a database off in the middle of the page half way through it, as a write that never
# finished leaves it.
cut_half() {
    local db=$work/case/$1 size pages
    size=$(sqlite3 "file:$db?immutable=1" 'PRAGMA page_size') &&
        pages=$(sqlite3 "file:$db?immutable=1" 'PRAGMA page_count') &&
        truncate -s $(((pages / 2) * size + size / 2)) "$db"
}
# Runs reopen_check.sh on the case: wanted exit status, then texts its report must hold.
expect() {
    local want=$1 report status text missing=()
    shift
    report=$(bash "$here/reopen_check.sh" "$work/case" 2>&1)
    status=$?
    for text in "$@"; do
        grep -qF -- "$text" <<<"$report" || missing+=("'$text'")
    done
    if [ "$status" -eq "$want" ] && [ ${#missing[@]} -eq 0 ]; then
        echo "ok: $case_name"
        passed=$((passed + 1))
    else
        echo "FAIL: $case_name (exit $status, wanted $want${missing:+; report lacks ${missing[*]}}):"
        while IFS= read -r text; do echo "    $text"; done <<<"$report"
        failed=$((failed + 1))
    fi
}

case_name="untouched profiles: the removed site still gets its cookies"
fresh_copy
expect 1 "FAIL: chromium sent gone.purgeon.test removed cookies" \
    "FAIL: firefox sent gone.purgeon.test removed cookies"

case_name="profiles cleaned by hand: accepted as they are"
fresh_copy
sqlite3 "$work/case/$chromium_cookies" "DELETE FROM cookies WHERE host_key LIKE '%gone.purgeon.test'" &&
    sqlite3 "$work/case/$firefox_cookies" "DELETE FROM moz_cookies WHERE host LIKE '%gone.purgeon.test'"
expect 0 "ok: chromium sent gone.purgeon.test no cookie" "ok: firefox sent gone.purgeon.test no cookie" \
    "ok: chromium kept the kept cookie rows" "ok: firefox kept the kept cookie rows"

case_name="cookie databases cut short: the kept cookies are not sent, Firefox renames its aside"
fresh_copy
cut_half "$chromium_cookies"
cut_half "$firefox_cookies"
expect 1 "FAIL: chromium sent keep.purgeon.test without the kept cookie(s)" \
    "FAIL: firefox sent keep.purgeon.test without the kept cookie(s)" \
    "FAIL: firefox renamed damaged files aside: cookies.sqlite.bak"

case_name="damage each browser repairs on its own: every repair is seen"
fresh_copy
prefs="$work/case/$chromium_user_data/Default/Preferences"
head -c 100 "$prefs" >"$work/prefs" && mv "$work/prefs" "$prefs"
# A Cookies database marked as written by a newer Chromium is emptied and filled anew.
sqlite3 "$work/case/$chromium_cookies" \
    "UPDATE meta SET value = '9999' WHERE key IN ('version', 'last_compatible_version')"
# A page of History's rows overwritten: History is emptied in place.
dd if=/dev/zero of="$work/case/$chromium_history" bs=4096 seek=20 count=2 conv=notrunc status=none
# A favicons.sqlite cut short is deleted and made anew, without a word.
cut_half "$firefox_profile/favicons.sqlite"
expect 1 "FAIL: chromium renamed damaged files aside: Default/Preferences.bad" \
    "FAIL: chromium lost or remade the kept cookie rows" \
    "chromium-user-data/Default/History: lost its tables" \
    "favicons.sqlite: thrown away and made anew"

echo "reopen_selftest: $passed passed, $failed failed"
[ "$failed" -eq 0 ]
