#!/usr/bin/env bash
# The main window driven from outside: the history list's first columns share its width, it takes
# 1.6 times its size and its cookie list grows with it, a smaller size is refused, the size is
# kept after a restart; Ctrl+Tab changes the tab;
# "Clean &Now" lists the ticked areas with counts, No removes nothing, Yes removes them and says
# how much was freed. A click on a header of the cookie list sorts it (again: descending), the
# column widths are kept after a restart, and "Delete Selected" on the cache tab removes every
# selected row and ends with the summary. Screenshots of every tab, at the first size and
# maximised, and of the question and the summaries.
source "$(dirname "$0")/lib.sh"

readonly ID_lstcookies=1020
readonly ID_List1=1026
readonly ID_cmdDelSelFromCache=1027
readonly ID_cmdCleanNow=1069
readonly ID_cmdok=1004
readonly window_key='HKCU\Software\Purgeon\Window'
bulk=http://purgeon-e2e.example/cleannow/
entries=40

# Waits for the main window after a start, and shows it.
open_window() {
    start_purgeon
    wine "$PROBE" wait-exists frmmain 30000 || fail "the main window was never loaded"
    wine "$PROBE" wait-gone frmSplash 30000 || fail "the splash did not close"
    wine "$PROBE" show frmmain
    wine "$PROBE" wait-window frmmain ' Purgeon' 10000 || fail "the main window did not show"
    sleep 1
}
frame() { probe rect frmmain; }
size_of() { read -r _ _ w h <<<"$(frame)"; echo "$w $h"; }

wine reg delete "$window_key" /f >/dev/null 2>&1 || true
store_prefs autodelcache=1 autocleartemp=1
temp=$(unix_path "$(wine cmd /c echo %TEMP% 2>/dev/null | tr -d '\r')")
[ -d "$temp" ] || fail "no temporary folder"
open_window
# The temporary files come after the window's start, which clears the folder when its box is
# ticked.
mkdir -p "$temp/clean-now"
for i in $(seq 1 30); do head -c $((i * 4096)) /dev/urandom >"$temp/clean-now/file$i.tmp"; done

read -r w0 h0 <<<"$(size_of)"
read -r lw0 lh0 <<<"$(probe rect-id frmmain "$ID_lstcookies")"
echo "first size ${w0}x${h0}, cookie list ${lw0}x${lh0}"
columns_total() { echo $(($(probe column-widths frmmain "$ID_lstcookies" | tr ',' '+'))); }
cw0=$(columns_total)
# The history list's title, address and last visit share its width at the first size.
read -r hw _ <<<"$(probe rect-id frmmain "$ID_URLs")"
IFS=, read -r title address visited _ <<<"$(probe column-widths frmmain "$ID_URLs")"
history_first=$((title + address + visited))
((history_first > hw - 48 && history_first <= hw)) ||
    fail "the history's title, address and last visit take $history_first of ${hw} pixels"

names=(general cookies cache browser-history secure-wipe about applications)
for i in "${!names[@]}"; do
    wine "$PROBE" tab frmmain "$i"
    sleep 0.5
    shot "window-$i-${names[$i]}"
done

# 1.6 times the size: the cookie list takes the extra width whole, and most of the extra height.
w1=$((w0 * 16 / 10))
h1=$((h0 * 16 / 10))
wine "$PROBE" size frmmain "$w1" "$h1"
sleep 1
[ "$(size_of)" = "$w1 $h1" ] || fail "the window is $(size_of), not ${w1}x${h1}"
read -r lw1 lh1 <<<"$(probe rect-id frmmain "$ID_lstcookies")"
echo "at ${w1}x${h1} the cookie list is ${lw1}x${lh1}"
[ $((lw1 - lw0)) -eq $((w1 - w0)) ] || fail "the cookie list grew by $((lw1 - lw0)), not $((w1 - w0))"
[ $((lh1 - lh0)) -ge $(((h1 - h0) / 2)) ] || fail "the cookie list grew by only $((lh1 - lh0)) in height"
# Its columns take the extra width, give or take a vertical scroll bar that came or went: no
# empty band at the right.
cw1=$(columns_total)
gap=$((lw1 - lw0 - (cw1 - cw0)))
[ "${gap#-}" -le 24 ] || fail "the cookie columns grew by $((cw1 - cw0)), the list by $((lw1 - lw0))"

# Smaller than the first size: refused.
wine "$PROBE" size frmmain $((w0 * 8 / 10)) $((h0 * 8 / 10))
sleep 1
read -r w h <<<"$(size_of)"
[ "$w" -ge "$w0" ] && [ "$h" -ge "$h0" ] || fail "the window was made ${w}x${h}, below ${w0}x${h0}"

# Maximised, each tab. Without a window manager a maximised window keeps its old frame on the X
# screen: the window is put over the whole work area instead, as a window manager shows a
# maximised one.
wine "$PROBE" fill-screen frmmain
sleep 1
read -r mx my mw mh <<<"$(frame)"
echo "maximised: ${mw}x${mh} at $mx,$my"
[ "$mx" -ge 0 ] && [ "$my" -ge 0 ] && [ $((mx + mw)) -le 1280 ] && [ $((my + mh)) -le 1024 ] &&
    [ "$mw" -ge 1200 ] && [ "$mh" -ge 900 ] ||
    fail "the maximised window is ${mw}x${mh} at $mx,$my, not the whole screen"
for i in "${!names[@]}"; do
    wine "$PROBE" tab frmmain "$i"
    sleep 0.5
    shot "window-maximised-$i-${names[$i]}"
done
wine "$PROBE" restore frmmain
sleep 1
wine "$PROBE" size frmmain "$w1" "$h1"
sleep 1

# Ctrl+Tab and Ctrl+PageUp, typed on the window once a click on its banner has given it the
# keyboard (without a window manager the click may take a moment to do so: a few tries).
wine "$PROBE" tab frmmain 0
read -r x y _ _ <<<"$(frame)"
# keys KEY TAB: types the key until the tab is TAB, at most three times.
keys() {
    local try
    for try in 1 2 3; do
        xdotool mousemove $((x + w1 / 2)) $((y + 60)) click 1
        sleep 1
        # Without a window manager the X focus may stay elsewhere: it is given to the window.
        xdotool search --onlyvisible --name '^ Purgeon$' windowfocus 2>/dev/null || true
        sleep 0.5
        xdotool key "$1"
        sleep 1
        [ "$(probe tab-of frmmain)" = "$2" ] && return 0
    done
    shot "keys-failed"
    return 1
}
keys ctrl+Tab 1 || fail "Ctrl+Tab left the tab at $(probe tab-of frmmain)"
keys ctrl+Prior 0 || fail "Ctrl+PageUp left the tab at $(probe tab-of frmmain)"
echo "ok: Ctrl+Tab and Ctrl+PageUp change the tab"

# Clean Now over the ticked cache: No first, then Yes.
wine "$PROBE" fill-cache "$bulk" "$entries" || fail "could not fill the cache"
wine "$PROBE" click-id frmmain "$ID_cmdCleanNow"
wine "$PROBE" wait-window '#32770' ' Purgeon' 30000 || fail "Clean Now asked nothing"
texts=$(probe texts '#32770' ' Purgeon')
grep -q '^Cache: [0-9]* entries' <<<"$texts" || fail "the question said: $texts"
grep -q '^Temporary files: 30 files, 1.8 MB' <<<"$texts" || fail "the question said: $texts"
shot clean-now-question
wine "$PROBE" press '#32770' ' Purgeon' 7  # No
wine "$PROBE" wait-gone '#32770' 10000 || fail "the question stayed"
wine "$PROBE" cache-has "${bulk}1" || fail "No removed the cache"
[ -f "$temp/clean-now/file30.tmp" ] || fail "No removed the temporary files"

wine "$PROBE" click-id frmmain "$ID_cmdCleanNow"
wine "$PROBE" wait-window '#32770' ' Purgeon' 30000 || fail "Clean Now asked nothing the second time"
wine "$PROBE" press '#32770' ' Purgeon' 6  # Yes
sleep 1
wine "$PROBE" wait-window '#32770' ' Purgeon' 60000 || fail "Clean Now gave no summary"
texts=$(probe texts '#32770' ' Purgeon')
grep -q '^Freed 1.8 MB' <<<"$texts" || fail "the summary said: $texts"
grep -q '^Cache: [0-9]* entries removed' <<<"$texts" || fail "the summary said: $texts"
shot clean-now-summary
wine "$PROBE" press '#32770' ' Purgeon' 1
wine "$PROBE" cache-has "${bulk}1" && fail "Yes left the cache entries"
[ -z "$(ls -A "$temp/clean-now" 2>/dev/null)" ] || fail "Yes left temporary files"
echo "ok: Clean Now asks, No keeps, Yes cleans and tells what was freed"

# The cookie list sorted by a click on a header: sites ascending, again descending; sizes as
# numbers. The cookie folder gets three files of other sites and sizes.
cookie_dir=$(unix_path "$(reg_value 'HKCU\Software\Microsoft\Windows\CurrentVersion\Explorer\Shell Folders' Cookies)")
[ -d "$cookie_dir" ] || mkdir -p "$cookie_dir"
head -c 900 /dev/urandom >"$cookie_dir/me@beta.test[1].txt"
head -c 80 /dev/urandom >"$cookie_dir/me@gamma.test[1].txt"
head -c 5000 /dev/urandom >"$cookie_dir/me@alpha.test[1].txt"
wine "$PROBE" tab frmmain 1
cookie_column() { # COLUMN: the column's texts, one row a line
    local rows row
    rows=$(probe count-id frmmain "$ID_lstcookies")
    for ((row = 0; row < rows; row++)); do probe row-text frmmain "$ID_lstcookies" "$row" "$1"; done
}
# The tab lists the folder off the window's thread: waited for, up to 30 s.
for ((i = 0; i < 30; i++)); do
    [ "$(cookie_column 0 | grep -c '\.test$')" -eq 3 ] && break
    sleep 1
done
[ "$(cookie_column 0 | grep -c '\.test$')" -eq 3 ] || fail "the cookie list shows: $(cookie_column 0)"
wine "$PROBE" header-click frmmain "$ID_lstcookies" 0
sleep 1
sites=$(cookie_column 0 | grep '\.test$' | paste -sd' ')
[ "$sites" = "alpha.test beta.test gamma.test" ] || fail "sorted by site the list shows: $sites"
wine "$PROBE" header-click frmmain "$ID_lstcookies" 0
sleep 1
sites=$(cookie_column 0 | grep '\.test$' | paste -sd' ')
[ "$sites" = "gamma.test beta.test alpha.test" ] || fail "sorted again the list shows: $sites"
wine "$PROBE" header-click frmmain "$ID_lstcookies" 3
sleep 1
sizes=$(cookie_column 3 | paste -sd' ')
sites=$(cookie_column 0 | grep '\.test$' | paste -sd' ')
[ "$sites" = "gamma.test beta.test alpha.test" ] || fail "sorted by size the list shows: $sites ($sizes)"
shot cookies-sorted-by-size
echo "ok: a header click sorts the cookie list ($sizes)"
rm -f "$cookie_dir"/me@*.test*.txt
# A column made narrower by the user, kept for the next start.
wine "$PROBE" set-column-width frmmain "$ID_lstcookies" 1 123 || fail "could not size a column"
cookie_widths=$(probe column-widths frmmain "$ID_lstcookies")

# "Delete Selected" on the cache tab: every selected row goes, the others stay.
wine "$PROBE" fill-cache "${bulk}selected" 6 || fail "could not fill the cache again"
wine "$PROBE" tab frmmain 2
sleep 2
wine "$PROBE" header-click frmmain "$ID_List1" 0
sleep 1
rows=$(probe count-id frmmain "$ID_List1")
chosen=()
for ((row = 0; row < rows; row++)); do
    text=$(probe row-text frmmain "$ID_List1" "$row" 0)
    case "$text" in "${bulk}selected"[135]) chosen+=("$row:$text") ;; esac
done
[ "${#chosen[@]}" -eq 3 ] || fail "the cache list shows ${#chosen[@]} of the entries to delete"
wine "$PROBE" select-rows frmmain "$ID_List1" "${chosen[@]%%:*}" || fail "could not select rows"
wine "$PROBE" click-id frmmain "$ID_cmdDelSelFromCache"
wine "$PROBE" wait-window '#32770' ' Purgeon' 30000 || fail "Delete Selected gave no summary"
texts=$(probe texts '#32770' ' Purgeon')
grep -q '^Cache: 3 entries removed' <<<"$texts" || fail "the summary said: $texts"
shot cache-delete-selected-summary
wine "$PROBE" press '#32770' ' Purgeon' 1
wine "$PROBE" wait-gone '#32770' 10000 || fail "the summary stayed"
for n in 1 3 5; do wine "$PROBE" cache-has "${bulk}selected$n" && fail "selected$n was not deleted"; done
for n in 0 2 4; do wine "$PROBE" cache-has "${bulk}selected$n" || fail "selected$n went unselected"; done
echo "ok: Delete Selected removes every selected cache row and ends with the summary"
wine "$PROBE" drop-cache "${bulk}selected" 6 >/dev/null 2>&1 || true
wine "$PROBE" tab frmmain 0

# Kept after a restart: "&Ok" closes the window, which keeps its size.
wine "$PROBE" click-id frmmain "$ID_cmdok"
wine "$PROBE" wait-gone frmmain 10000 || fail "Ok left the window open"
# The program stays in the tray: it is ended there.
wine "$PROBE" kill frmtray || fail "no tray window"
wait_exit "$purgeon_pid" 30 || fail "the program did not end"
open_window
[ "$(size_of)" = "$w1 $h1" ] || fail "after a restart the window is $(size_of), not ${w1}x${h1}"
echo "ok: the window's size is kept (${w1}x${h1})"
widths=$(probe column-widths frmmain "$ID_lstcookies")
[ "$widths" = "$cookie_widths" ] || fail "the cookie list's widths came back as $widths, not $cookie_widths"
echo "ok: the column widths are kept ($widths)"
wine reg delete "$window_key" /f >/dev/null 2>&1 || true
