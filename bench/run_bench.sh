#!/usr/bin/env bash
# Shredding and temporary-folder clearing under Wine, against GNU shred in the same run.
# Usage: bench/run_bench.sh [MiB]   (builds the windows preset first; default 256 MiB)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
source "$root/scripts/lib/common.sh"
size_mib=${1:-256}
cmake --preset windows >/dev/null
cmake --build --preset windows --target purgeon_bench >/dev/null
bench_exe="$root/build/windows/bench/purgeon_bench.exe"

work="$root/build/bench"
rm -rf "$work"
mkdir -p "$work/files"
export WINEPREFIX="$work/prefix" HOME="$work/home"
trap wine_down EXIT
wine_up

seconds() { /usr/bin/time -f '%e' "$@" 2>&1 >/dev/null | tail -n 1; }
ratio() { python3 -c "print(f'{$1 / $2:.2f}')"; }

echo "== three passes over a ${size_mib} MiB file (each pass flushed to the device)"
head -c "$((size_mib * 1048576))" /dev/urandom >"$work/files/peer.bin"
cp "$work/files/peer.bin" "$work/files/ours.bin"
sync
peer=$(seconds shred -n 3 "$work/files/peer.bin")
out=$(wine "$bench_exe" shred "$(winepath -w "$work/files/ours.bin" 2>/dev/null)" 3 2>/dev/null | tr -d '\r')
ours=$(sed -n 's/^shred: \([0-9.]*\) s.*/\1/p' <<<"$out")
echo "shred -n 3: ${peer} s ($(python3 -c "print(f'{3 * $size_mib / $peer:.0f}')") MB/s per pass)"
echo "purgeon:    ${ours} s ($(python3 -c "print(f'{3 * $size_mib / $ours:.0f}')") MB/s per pass); $out"
echo "ratio purgeon / shred: $(ratio "$ours" "$peer")"
[ ! -e "$work/files/ours.bin" ] || echo "WARNING: the file was not removed"
rm -f "$work/files/peer.bin"

echo "== 10,000 small files, one pass each, then deleted"
make_tree() {
    mkdir -p "$1"
    python3 - "$1" <<'PY'
import os, sys
base = sys.argv[1]
for d in range(10):
    os.makedirs(os.path.join(base, f"d{d}"), exist_ok=True)
    for i in range(1000):
        with open(os.path.join(base, f"d{d}", f"f{i}.tmp"), "wb") as f:
            f.write(os.urandom(700))
PY
}
make_tree "$work/peer-temp"
make_tree "$work/ours-temp"
sync
peer=$(seconds find "$work/peer-temp" -type f -exec shred -n 1 -u {} +)
out=$(wine "$bench_exe" clear "$(winepath -w "$work/ours-temp" 2>/dev/null)" 2>/dev/null | tr -d '\r')
ours=$(sed -n 's/^clear: \([0-9.]*\) s.*/\1/p' <<<"$out")
left=$(find "$work/ours-temp" -type f | wc -l)
echo "find + shred -n 1 -u: ${peer} s"
echo "purgeon:             ${ours} s; $out; files left: $left"
echo "ratio purgeon / shred: $(ratio "$ours" "$peer")"
