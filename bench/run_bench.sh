#!/usr/bin/env bash
# Purgeon's shredding against its peers and against the device, in one run, the device quiet
# before every timed step (sync, then a pause) and the order rotated from round to round:
#   3 passes over a large file: Purgeon, `shred -n 3 -u`, and dd writing the same bytes with the
#     same syncs followed by rm (the device limit);
#   clearing 10,000 files of 700 bytes: Purgeon, and a native single-thread loop that overwrites,
#     flushes and removes each file (bench/native_loop.c).
# Prints each time, the medians, the ratios and Purgeon's peak memory.
# Usage: bench/run_bench.sh [MiB (256)] [rounds (3)]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
source "$root/scripts/lib/common.sh"
size_mib=${1:-256}
rounds=${2:-3}
cmake --preset windows >/dev/null
cmake --build --preset windows --target purgeon_bench >/dev/null
bench_exe="$root/build/windows/bench/purgeon_bench.exe"

work="$root/build/bench"
rm -rf "$work"
mkdir -p "$work/files"
cc -O2 -o "$work/native_loop" "$root/bench/native_loop.c"
export WINEPREFIX="$work/prefix" HOME="$work/home"
trap wine_down EXIT
wine_up

quiet() { sync; sleep 2; }
seconds() { /usr/bin/time -f '%e' "$@" 2>&1 >/dev/null | tail -n 1; }
median() { printf '%s\n' "$@" | sort -g | awk '{a[NR]=$1} END {print a[int((NR+1)/2)]}'; }
ratio() { python3 -c "print(f'{$1 / $2:.2f}')"; }
windows_path() { winepath -w "$1" 2>/dev/null | tr -d '\r'; }

big="$work/files/big.bin"
fresh_big() { head -c "$((size_mib * 1048576))" /dev/urandom >"$big"; }
# Purgeon's own figure: the engine's time inside its process (Wine's start-up left out).
run_purgeon() {
    local out
    out=$(wine "$bench_exe" "$@" 2>/dev/null | tr -d '\r')
    echo "$out" >>"$work/purgeon.out"
    sed -n 's/^[a-z]*: \([0-9.]*\) s.*/\1/p' <<<"$out"
}
time_dd() {
    seconds sh -c 'for p in 1 2 3; do
        dd if=/dev/zero of="$1" bs=1M count="$2" conv=notrunc,fdatasync status=none; done
        rm -f "$1"' _ "$big" "$size_mib"
}
time_shred() { seconds shred -n 3 -u "$big"; }
time_ours_big() { run_purgeon shred "$(windows_path "$big")" quick; }

make_tree() {
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
time_native_small() { make_tree "$work/native"; quiet; seconds "$work/native_loop" "$work/native"; }
time_ours_small() {
    make_tree "$work/ours"
    quiet
    run_purgeon clear "$(windows_path "$work/ours")"
    local left
    left=$(find "$work/ours" -type f | wc -l)
    [ "$left" -eq 0 ] || echo "WARNING: $left small files left" >&2
}

declare -a ours_big=() shred_big=() dd_big=() ours_small=() native_small=()
big_steps=(ours shred dd)
for ((round = 0; round < rounds; round++)); do
    for ((i = 0; i < 3; i++)); do
        step=${big_steps[$(((round + i) % 3))]}
        fresh_big
        quiet
        case $step in
            ours) ours_big+=("$(time_ours_big)") ;;
            shred) shred_big+=("$(time_shred)") ;;
            dd) dd_big+=("$(time_dd)") ;;
        esac
        [ ! -e "$big" ] || echo "WARNING: $step left the file" >&2
    done
    if ((round % 2 == 0)); then
        native_small+=("$(time_native_small)")
        ours_small+=("$(time_ours_small)")
    else
        ours_small+=("$(time_ours_small)")
        native_small+=("$(time_native_small)")
    fi
    echo "round $((round + 1)): big purgeon ${ours_big[-1]} s, shred ${shred_big[-1]} s, dd ${dd_big[-1]} s;" \
         "small purgeon ${ours_small[-1]} s, native loop ${native_small[-1]} s"
done

ob=$(median "${ours_big[@]}"); sb=$(median "${shred_big[@]}"); db=$(median "${dd_big[@]}")
os=$(median "${ours_small[@]}"); ns=$(median "${native_small[@]}")
echo
echo "== 3 passes over ${size_mib} MiB (median of $rounds)"
echo "purgeon ${ob} s, shred -n 3 -u ${sb} s, dd + rm (device limit) ${db} s"
echo "purgeon / shred:        $(ratio "$ob" "$sb")   (goal: under 0.5)"
echo "purgeon / device limit: $(ratio "$ob" "$db")   (device limit / purgeon: $(ratio "$db" "$ob"); goal: 0.9 or more)"
echo "== 10,000 files of 700 bytes (median of $rounds)"
echo "purgeon ${os} s, native single-thread loop ${ns} s"
echo "purgeon / native loop:  $(ratio "$os" "$ns")   (goal: 1.0 or less)"
echo "== Purgeon's peak memory, every run"
sed -n 's/.*peak working set \([0-9.]*\) MiB, peak private \([0-9.]*\) MiB.*/working set \1 MiB, private \2 MiB/p' \
    "$work/purgeon.out" | sort | uniq -c
