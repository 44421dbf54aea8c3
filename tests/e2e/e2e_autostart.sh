#!/usr/bin/env bash
# "Start up with windows" stored ticked: every start writes the Run value, quoted.
source "$(dirname "$0")/lib.sh"

wine reg delete "$run_key" /v ' Purgeon' /f >/dev/null 2>&1 || true
store_prefs autostart=1
start_purgeon
wine "$PROBE" wait-exists frmmain 30000 || fail "the main window was never loaded"
wine "$PROBE" wait-gone frmSplash 30000 || fail "the splash did not close"
value=$(reg_value "$run_key" ' Purgeon')
[ -n "$value" ] || fail "no Run value after start-up"
[[ "$value" == \"*purgeon.exe\" ]] || fail "Run value is not the quoted program path: $value"
echo "ok: Run value $value"
stop_purgeon
store_prefs
wine reg delete "$run_key" /v ' Purgeon' /f >/dev/null 2>&1 || true
