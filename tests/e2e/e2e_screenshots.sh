#!/usr/bin/env bash
# Screenshots of the splash (held while the start-up run clears a large cache: the lists wait for
# their tabs) and of each of the seven tabs.
source "$(dirname "$0")/lib.sh"

bulk=http://purgeon-e2e.example/bulk/
entries=3000
wine "$PROBE" fill-cache "$bulk" "$entries" || fail "could not fill the cache"

store_prefs runonstart=1 autodelcache=1
start_purgeon
wine "$PROBE" wait-window frmSplash '*' 30000 || fail "the splash never showed"
wine "$PROBE" freeze frmSplash
shot splash
texts=$(probe texts frmSplash '*')
wine "$PROBE" thaw frmSplash
grep -qx 'Version 1.0.0' <<<"$texts" || fail "splash texts were: $texts"

wine "$PROBE" wait-gone frmSplash 60000 || fail "the splash did not close"
wine "$PROBE" show frmmain || fail "no main window"
wine "$PROBE" wait-window frmmain ' Purgeon' 10000 || fail "the main window did not show"
names=(general cookies cache browser-history secure-wipe about applications)
for i in "${!names[@]}"; do
    wine "$PROBE" tab frmmain "$i" || fail "no tab control"
    sleep 1
    shot "tab-$i-${names[$i]}"
done
wine "$PROBE" drop-cache "$bulk" "$entries" || true  # the start-up run took them
store_prefs
