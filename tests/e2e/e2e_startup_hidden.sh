#!/usr/bin/env bash
# With nothing stored, start-up shows the splash, closes it and leaves no window in sight.
source "$(dirname "$0")/lib.sh"

start_purgeon
wine "$PROBE" wait-exists frmmain 30000 || fail "the main window was never loaded"
wine "$PROBE" wait-gone frmSplash 30000 || fail "the splash did not close"
sleep 3  # Wine takes a moment to clear a destroyed window from the X screen
kill -0 "$purgeon_pid" 2>/dev/null || fail "Purgeon ended after start-up"
visible=$(probe visible-of frmmain)
[ -z "$visible" ] || fail "windows left in sight after start-up: $visible"
shot after-startup
echo "ok: nothing visible after start-up"
