#!/usr/bin/env bash
# What the Windows items' preview costs: lays out every item's traces in a throwaway prefix, as
# Windows lays them out (COUNT recent documents with their shortcuts, jump lists, Run-box commands,
# typed paths, search words, Open and Save entries, program usage, folder views, thumbnail caches,
# error reports, minidumps and prefetch files, a memory dump, text on the clipboard), then times
# `purgeon.exe /preview windows` against `purgeon.exe /help` (Wine's own start-up and the
# program's), in turn, ROUNDS rounds after a warm-up, with Wine's server kept up. Prints each
# one's median, fastest and slowest, and what the preview adds to /help, by the medians and by
# each round's own difference. Needs an X display for the clipboard (starts Xvfb when there is
# none).
#
# Usage: bench/windows_bench.sh [COUNT] [ROUNDS]   (defaults: 25 of each, 9 rounds)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
count=${1:-25}
rounds=${2:-9}
exe="$root/build/windows/app/win32/purgeon.exe"
traces="$root/build/windows/tests/e2e/purgeon_windows_traces.exe"
for file in "$exe" "$traces"; do
    [ -f "$file" ] || { echo "build the windows preset first: $file is missing" >&2; exit 1; }
done
if [ -z "${DISPLAY:-}" ]; then
    exec xvfb-run -a -s '-screen 0 1280x1024x24' "$0" "$@"
fi
source "$root/scripts/lib/common.sh"
source "$root/bench/timing.sh"

work="$root/build/bench-windows"
rm -rf "$work"
mkdir -p "$work"
export WINEPREFIX="$work/prefix" HOME="$work/home"
trap wine_down EXIT
wine_up
wine "$traces" lay "$count" >/dev/null 2>&1 </dev/null || { echo "the traces were not laid out" >&2; exit 1; }
# Every item ticked: the preview counts each as a clean would take it.
wine reg add 'HKCU\Software\Purgeon\Settings' /v windows /t REG_SZ /f /d \
    'Recent documents|Jump lists|Run and search history|Open and Save history|Thumbnail cache|Program usage|Folder views|Clipboard|DNS cache|Error reports|Memory dumps|Prefetch' \
    >/dev/null 2>&1
wine "$exe" /preview windows >"$work/preview.txt" 2>/dev/null </dev/null || true
tr -d '\r' <"$work/preview.txt" | head -1

# A warm-up of each, untimed: Wine maps the program and its libraries once.
time_run "$exe" /help >/dev/null
time_run "$exe" /preview windows >/dev/null
help_times=() preview_times=() differences=()
for ((r = 0; r < rounds; r++)); do
    help=$(time_run "$exe" /help)
    preview=$(time_run "$exe" /preview windows)
    help_times+=("$help")
    preview_times+=("$preview")
    differences+=("$(echo "$preview - $help" | bc)")
done
stats() {
    sort -n | awk '{a[NR]=$1} END {printf "median %.3f s, fastest %.3f s, slowest %.3f s", a[int((NR+1)/2)], a[1], a[NR]}'
}
echo "rounds: $rounds (after a warm-up), $count of each trace"
echo "purgeon.exe /help:             $(printf '%s\n' "${help_times[@]}" | stats)"
echo "purgeon.exe /preview windows:  $(printf '%s\n' "${preview_times[@]}" | stats)"
help_median=$(printf '%s\n' "${help_times[@]}" | median)
preview_median=$(printf '%s\n' "${preview_times[@]}" | median)
printf 'the preview adds:              %.3f s by the medians (%.2f times /help)\n' \
    "$(echo "$preview_median - $help_median" | bc)" "$(echo "$preview_median / $help_median" | bc -l)"
echo "each round's own difference:   $(printf '%s\n' "${differences[@]}" | stats)"
