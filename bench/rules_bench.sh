#!/usr/bin/env bash
# What a large rule file costs: writes a rule file of ENTRIES entries in the community format
# (made up here, never the community's own file), lays out the traces of one entry in EVERY in a
# throwaway prefix, and times `purgeon.exe /preview apps` against `purgeon.exe /help` (Wine's own
# start-up and the program's), ROUNDS rounds each, with Wine's server kept up. Prints the medians.
#
# Usage: bench/rules_bench.sh [ENTRIES] [ROUNDS] [EVERY]
#        (defaults: 4000 entries, 5 rounds, the traces of one entry in EVERY=10 laid out)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
source "$root/scripts/lib/common.sh"
source "$root/bench/timing.sh"
entries=${1:-4000}
rounds=${2:-5}
every=${3:-10}
exe="$root/build/windows/app/win32/purgeon.exe"
[ -f "$exe" ] || { echo "build the windows preset first: $exe is missing" >&2; exit 1; }

work="$root/build/bench-rules"
rm -rf "$work"
mkdir -p "$work"
export WINEPREFIX="$work/prefix" HOME="$work/home"
trap wine_down EXIT
wine_up
appdata_win=$(wine cmd /c echo %APPDATA% 2>/dev/null | tr -d '\r')
appdata=$(winepath -u "$appdata_win" 2>/dev/null | tr -d '\r')
local_data=$(winepath -u "$(wine cmd /c echo %LOCALAPPDATA% 2>/dev/null | tr -d '\r')" 2>/dev/null | tr -d '\r')
mkdir -p "$appdata/Purgeon"

# Entries shaped like real ones: several detect keys, file keys with several patterns, wildcard
# folders, RECURSE, registry values; one in EVERY has its folder on this machine with a few files.
python3 - "$entries" "$appdata/Purgeon/winapp2.ini" "$appdata" "$local_data" "$every" <<'PY'
import os, sys
count, path, appdata, local = int(sys.argv[1]), sys.argv[2], sys.argv[3], sys.argv[4]
every = int(sys.argv[5])
lines = ["; Version: bench", "; made up for the bench", ""]
for i in range(count):
    name = f"Bench App {i} *"
    lines += [f"[{name}]", "LangSecRef=3021", f"Section=Bench {i % 40}",
              f"Detect=HKCU\\Software\\BenchVendor{i}\\App",
              f"Detect2=HKLM\\Software\\Wow6432Node\\BenchVendor{i}",
              f"DetectFile=%AppData%\\BenchVendor{i}",
              "Default=False",
              f"FileKey1=%AppData%\\BenchVendor{i}|*.log;*.tmp;recent*.xml|RECURSE",
              f"FileKey2=%LocalAppData%\\BenchVendor{i}\\Cache*|*.*|RECURSE|REMOVESELF",
              f"FileKey3=%LocalAppData%\\BenchVendor{i}\\logs|LOG;CURRENT;*.old",
              f"RegKey1=HKCU\\Software\\BenchVendor{i}\\App|Recent File List",
              f"RegKey2=HKCU\\Software\\BenchVendor{i}\\App\\MRU",
              f"ExcludeKey1=FILE|%AppData%\\BenchVendor{i}\\|keep.log", ""]
    if i % every == 0:
        os.makedirs(f"{appdata}/BenchVendor{i}/sub", exist_ok=True)
        os.makedirs(f"{local}/BenchVendor{i}/Cache1", exist_ok=True)
        for name in ("a.log", "b.tmp", "sub/recent1.xml", "keep.log"):
            open(f"{appdata}/BenchVendor{i}/{name}", "w").write("x" * 100)
        open(f"{local}/BenchVendor{i}/Cache1/data_0", "w").write("x" * 1000)
with open(path, "w", newline="\r\n") as out:
    out.write("\n".join(lines))
PY
echo "rule file: $(grep -c '^\[' "$appdata/Purgeon/winapp2.ini") entries, $(du -k "$appdata/Purgeon/winapp2.ini" | cut -f1) KiB"

wine "$exe" /preview apps >"$work/preview.txt" 2>/dev/null </dev/null || true
echo "detected: $(grep -c '^  ' "$work/preview.txt" | tr -d '\r') entries"
help_times=() preview_times=()
for ((r = 0; r < rounds; r++)); do
    help_times+=("$(time_run "$exe" /help)")
    preview_times+=("$(time_run "$exe" /preview apps)")
done
help=$(printf '%s\n' "${help_times[@]}" | median)
preview=$(printf '%s\n' "${preview_times[@]}" | median)
printf 'purgeon.exe /help:          %.2f s (median of %d)\n' "$help" "$rounds"
printf 'purgeon.exe /preview apps:  %.2f s (median of %d)\n' "$preview" "$rounds"
printf 'the rules add:              %.2f s\n' "$(echo "$preview - $help" | bc)"
