#!/usr/bin/env bash
# A second start tells the user Purgeon is already running and ends; the first runs on.
source "$(dirname "$0")/lib.sh"

start_purgeon
first=$purgeon_pid
probe wait-exists frmmain 30000 >/dev/null || fail "the first instance never loaded its main window"
wine "$PROBE" wait-gone frmSplash 30000 || fail "the splash of the first instance stayed"

start_purgeon
second=$purgeon_pid
wine "$PROBE" wait-window '#32770' ' Purgeon' 30000 || fail "no box captioned ' Purgeon' appeared"
texts=$(probe texts '#32770' ' Purgeon')
grep -qx ' Purgeon is already running' <<<"$texts" || fail "box texts were: $texts"
shot second-instance
wine "$PROBE" press '#32770' ' Purgeon' 1 || fail "the box has no OK button"
wait_exit "$second" 20 || fail "the second instance did not end after OK"
kill -0 "$first" 2>/dev/null || fail "the first instance ended too"
wine "$PROBE" wait-exists frmmain 1000 || fail "the first instance lost its main window"
echo "ok: second start refused, first runs on"
