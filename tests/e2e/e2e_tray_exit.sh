#!/usr/bin/env bash
# The tray icon is there after start-up, opens the window on a double click and its menu on a
# single click (after the double-click time) or a right click, and "Exit" with OK runs
# the exit-time cleaning on the "Working..." window and ends the program.
source "$(dirname "$0")/lib.sh"

bulk=http://purgeon-e2e.example/exit/
entries=3000
store_prefs runonshutdown=1 autodelcache=1
start_purgeon
wine "$PROBE" wait-exists frmmain 30000 || fail "the main window was never loaded"
wine "$PROBE" wait-gone frmSplash 30000 || fail "the splash did not close"
wine "$PROBE" wait-window __winex11_standalone_tray '*' 10000 || fail "no notification area window"
position=
for _ in $(seq 100); do position=$(probe tray-icon) && break; sleep 0.1; done
[ -n "$position" ] || fail "no tray icon after start-up"
read -r x y <<<"$position"

xdotool mousemove "$x" "$y" click --repeat 2 --delay 80 1
wine "$PROBE" wait-window frmmain ' Purgeon' 10000 || fail "a double click did not show the window"

# Filled only now and listed by selecting the Cache tab: the exit run deletes what the list shows,
# and the "Working..." window stands while it does.
wine "$PROBE" fill-cache "$bulk" "$entries" || fail "could not fill the cache"
wine "$PROBE" tab frmmain 2 || fail "no tab control"
sleep 2

# A single click opens the menu once the double-click time has passed; "Show Purgeon", its first
# item, closes it again.
xdotool mousemove "$x" "$y" click 1
wine "$PROBE" wait-window '#32768' '*' 10000 || fail "no menu after a single click on the icon"
read -r mx my mw _ <<<"$(probe rect '#32768')"
xdotool mousemove $((mx + mw / 2)) $((my + 10)) click 1
wine "$PROBE" wait-gone '#32768' 10000 || fail "the menu stayed after Show Purgeon"
sleep 0.5

xdotool mousemove "$x" "$y" click 3
wine "$PROBE" wait-window '#32768' '*' 10000 || fail "no menu after a right click on the icon"
sleep 0.5
shot tray-menu
# "Exit" is the menu's last item: clicked with the mouse, which reaches the menu with or without
# a window manager.
read -r mx my mw mh <<<"$(probe rect '#32768')"
xdotool mousemove $((mx + mw / 2)) $((my + mh - 10)) click 1
wine "$PROBE" wait-window '#32770' ' Purgeon' 10000 || fail "Exit asked nothing"
texts=$(probe texts '#32770' ' Purgeon')
grep -qx 'Do you wish to end the application?' <<<"$texts" || fail "the question was: $texts"
wine "$PROBE" press '#32770' ' Purgeon' 1 || fail "the question has no OK button"
wine "$PROBE" wait-window frmCleanUp 'Working...' 20000 || fail "no Working... window"
wine "$PROBE" freeze frmCleanUp
shot working
action=$(probe text-id frmCleanUp "$ID_lblAction")
wine "$PROBE" thaw frmCleanUp
[ "$action" = "Clearing cache contents..." ] || fail "the Working... window said: $action"
wait_exit "$purgeon_pid" 120 || fail "Purgeon did not end after Exit"
! wine "$PROBE" cache-has "${bulk}7" || fail "the exit run left the cache"
for _ in $(seq 100); do probe tray-icon >/dev/null || break; sleep 0.1; done
! probe tray-icon >/dev/null || fail "the tray icon stayed after the program ended"
echo "ok: tray icon, menu, exit question, Working... window, ended"
store_prefs
