#!/usr/bin/env bash
# Start-up under Wine, measured from outside against Wine's own start in the same run: the time
# from launching purgeon.exe until its splash has gone, from a cold Wine session (server ended
# first) and a warm one, beside the time `wine cmd /c exit` takes in the same state; how long the
# tray icon's window takes to answer a message sent every 20 ms from the moment it is made, through
# the splash; then how long the main window takes to answer one sent every 100 ms during the 3 s
# after the splash has gone.
#
# Usage: bench/startup_bench.sh [PREFIX] [ROUNDS (3)]   (inside an X display, e.g. xvfb-run -a)
#   PREFIX: a Wine prefix to start in, e.g. build/bench-profiles/prefix after
#   bench/profiles_bench.sh has laid the inflated profiles into it (a throwaway one otherwise)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
source "$root/scripts/lib/common.sh"
source "$root/bench/window_tools.sh"
work="$root/build/bench-startup"
mkdir -p "$work"
export WINEPREFIX=${1:-$work/prefix} HOME=$work/home
rounds=${2:-3}
trap wine_down EXIT
wine_up
wine_without_window_manager

now() { date +%s.%N; }
since() { echo "$(now) - $1" | bc; }
probe() { wine "$ping" "$@" </dev/null 2>/dev/null | tr -d '\r'; }
cold() { wineserver -k 2>/dev/null || true; wineserver -w 2>/dev/null || true; }
wine_start() {
    local started
    started=$(now)
    wine cmd /c exit >/dev/null 2>&1 </dev/null
    since "$started"
}
# Seconds until the splash has gone; the tray window's answers during start-up go to
# $work/tray.txt, the main window's after it to $work/ping.txt.
purgeon_start() {
    local started gone pid tray
    started=$(now)
    wine "$exe" >/dev/null 2>&1 </dev/null &
    pid=$!
    # Started with the program (before, it would warm a cold start up), it waits for the tray's
    # window and pings it from its first moments on.
    probe watch frmtray "${BENCH_TRAY_S:-2}" 20 >"$work/tray.txt" &
    tray=$!
    probe wait frmmain 60 >/dev/null
    probe gone frmSplash 60 >/dev/null
    gone=$(since "$started")
    wait "$tray" || true
    probe ping frmmain 3 >"$work/ping.txt"
    kill "$pid" 2>/dev/null || true
    wineserver -k 2>/dev/null || true
    wait 2>/dev/null || true
    echo "$gone"
}

for ((round = 1; round <= rounds; round++)); do
    cold
    wine_cold=$(wine_start)
    cold
    ours_cold=$(purgeon_start)
    tray_cold=$(cat "$work/tray.txt")
    ping_cold=$(cat "$work/ping.txt")
    wine_up
    wine_warm=$(wine_start)
    ours_warm=$(purgeon_start)
    tray_warm=$(cat "$work/tray.txt")
    ping_warm=$(cat "$work/ping.txt")
    wine_up
    printf 'round %d: cold: wine %.2f s, purgeon splash gone %.2f s; warm: wine %.2f s, purgeon %.2f s\n' \
        "$round" "$wine_cold" "$ours_cold" "$wine_warm" "$ours_warm"
    echo "  the tray's window from its making, through the splash: cold $tray_cold; warm $tray_warm"
    echo "  the main window in the 3 s after the splash: cold $ping_cold; warm $ping_warm"
done
