#!/usr/bin/env bash
# Large profiles under Wine, measured from outside: real Chromium and Firefox profiles inflated
# with sqlite3 (bench/inflate_profiles.py: per profile 50,000 pages, 150,000 visits, 5,000
# cookies, 20,000 cache entries) and laid into a throwaway prefix; then the time until the splash
# has gone, and for each list tab how long the window takes to answer a message sent every
# 100 ms while the tab lists, when its first rows came, when its row count last changed and when
# the listing ended ("Listing..." gone from the status bar); and the program's peak resident
# memory. Then one run that opens the three list tabs in turn, as a user going through them would,
# and so holds all three lists at once.
#
# Usage: bench/profiles_bench.sh [PROFILES]   (inside an X display, e.g. xvfb-run -a)
#   PROFILES: profiles made by tests/browsers/make_profiles.sh (made afresh when not given)
#   BENCH_TABS: the tabs measured one per run ("1 2 3"); BENCH_PING_S: seconds each (40);
#   BENCH_ALL: empty to leave out the run of all three; BENCH_ALL_PING_S: seconds a tab in it at
#   most (60)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
source "$root/scripts/lib/common.sh"
source "$root/bench/window_tools.sh"
work="$root/build/bench-profiles"
rm -rf "$work"
mkdir -p "$work"

if [ $# -ge 1 ]; then
    real=$1
else
    real="$work/real"
    "$root/tests/browsers/make_profiles.sh" "$real"
fi
echo "== inflating a copy of $real"
cp -a "$real/." "$work/inflated/" 2>/dev/null || { mkdir -p "$work/inflated"; cp -a "$real/." "$work/inflated/"; }
rm -rf "$work/inflated/Local/Google"  # one Chromium and one Firefox
python3 "$root/bench/inflate_profiles.py" "$work/inflated"

export WINEPREFIX="$work/prefix" HOME="$work/home"
trap wine_down EXIT
wine_up
wine_without_window_manager
local_dir=$(shell_folder 'Local AppData')
roaming_dir=$(shell_folder 'AppData')
cp -a "$work/inflated/Local/." "$local_dir/"
cp -a "$work/inflated/Roaming/." "$roaming_dir/"

probe() { wine "$ping" "$@" </dev/null 2>/dev/null | tr -d '\r'; }
tab_name() { case $1 in 1) echo cookies ;; 2) echo cache ;; 3) echo history ;; esac; }
# One start of the program, then each tab given opened in turn, the window pinged while it lists;
# the peak is the whole run's.
run_once() {
    local name=$1
    shift
    local started
    started=$(date +%s.%N)
    wine "$exe" >/dev/null 2>&1 </dev/null &
    local pid=$!
    probe wait frmSplash 60 >/dev/null
    probe gone frmSplash 120 >/dev/null
    local splash
    splash=$(echo "$(date +%s.%N) - $started" | bc)
    probe wait frmmain 60 >/dev/null
    sleep 1
    local tab answers=()
    for tab in "$@"; do
        # Pinged while the tab lists.
        probe ping frmmain "${BENCH_PING_S:-40}" "$tab" ${BENCH_AFTER_S:+"$BENCH_AFTER_S"} \
            >"$work/ping.txt" &
        local pinger=$!
        sleep 0.3
        probe tab frmmain "$tab"
        wait "$pinger"
        if [ $# -gt 1 ]; then
            cp "$work/ping.txt" "$work/ping-$name-$(tab_name "$tab").txt"
            answers+=("$(tab_name "$tab"): $(cat "$work/ping.txt")")
        else
            cp "$work/ping.txt" "$work/ping-$(tab_name "$tab").txt"
            answers+=("$(cat "$work/ping.txt")")
        fi
    done
    # The peak resident memory of the program's process, as Linux counts it: the one of this
    # prefix (others on the machine may run copies of their own).
    local peak=unknown process candidate
    process=
    for candidate in $(pgrep -f 'purgeon\.exe' || true); do
        tr '\0' '\n' <"/proc/$candidate/environ" 2>/dev/null | grep -qxF "WINEPREFIX=$WINEPREFIX" &&
            process=$candidate
    done
    [ -n "$process" ] && peak=$(awk '/VmHWM/ {printf "%.0f", $2 / 1024}' "/proc/$process/status")
    local joined
    joined=$(printf " $([ $# -gt 1 ] && echo '| ')%s" "${answers[@]}")
    printf '%-8s splash_gone_s=%.2f%s peak_mib=%s\n' "$name" "$splash" "$joined" "$peak"
    kill "$pid" 2>/dev/null || true
    wineserver -k 2>/dev/null || true
    wait 2>/dev/null || true
    wine_up
}
echo "== each tab opened once the window is up (list views: 0 browsers, 1 cookies, 2 cache, 3 history)"
for tab in ${BENCH_TABS:-1 2 3}; do
    run_once "$(tab_name "$tab")" "$tab"
done
# As a user would go through them: every list tab in one run, each pinged until 2 s after its
# listing ended before the next is opened; the peak is that of all three lists held at once.
if [ -n "${BENCH_ALL-1}" ]; then
    echo "== the three list tabs opened in turn in one run, each until its listing has ended"
    BENCH_PING_S=${BENCH_ALL_PING_S:-60} BENCH_AFTER_S=2 run_once all 1 2 3
fi
# The platform's floor for the cache listing in the same state: the start of every cache file read
# on four threads and nothing else done (bench/entry_reads.cpp).
if [ -f "$work/ping-cache.txt" ]; then
    cache_folders=()
    while IFS= read -r -d '' folder; do
        cache_folders+=("$(winepath -w "$folder" | tr -d '\r')")
    done < <(find "$local_dir" \( -path '*/Cache/Cache_Data' -o -path '*/cache2/entries' \) \
        -type d -print0)
    floor=$(wine "$build/bench/purgeon_entry_reads.exe" 4 "${cache_folders[@]}" 2>/dev/null |
        tr -d '\r')
    # The rows all come first; the listing ends when the last address has been read.
    listed=$(sed -n 's/.*listed_s=\([0-9.]*\).*/\1/p' "$work/ping-cache.txt")
    floor_s=$(sed -n 's/.*seconds=\([0-9.]*\).*/\1/p' <<<"$floor")
    echo "cache floor: $floor"
    echo "cache listing / floor: $(python3 -c "print(f'{$listed / $floor_s:.2f}')")"
fi
