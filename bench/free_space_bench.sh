#!/usr/bin/env bash
# The free-space wipe against the device, in one run, on a loop-mounted ext4 volume mapped into a
# throwaway prefix as drive P:, the device quiet before every timed step and the order rotated
# from round to round:
#   Purgeon's fill, phase by phase (bench/free_space_bench.cpp: large files, small files, removal);
#   dd writing the same bytes as the large files with conv=fdatasync (the device limit), and the
#     same bytes as the whole fill: random data, as the fill writes, read from a file in memory
#     (a virtual disk may store zeros without writing them, so zeros would measure something else);
#   purgeon.exe /wipefreespace P:\ as a user starts it (Wine's start-up included).
# Then the free blocks the fill could not reach: with ext4's own reserve, and without it.
# Then the same on an NTFS volume of the same size (mkntfs, mounted with ntfs-3g, drive Q: with
# the image as its device, so that the volume can be flushed as a whole): Purgeon's whole fill,
# the file table's free records included, against dd writing the same bytes through the same
# mount.
# Needs root (loop devices, /dev/fuse). Usage: bench/free_space_bench.sh [MiB (256)] [rounds (3)]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
source "$root/scripts/lib/common.sh"
size_mib=${1:-256}
rounds=${2:-3}
[ "$(id -u)" -eq 0 ] || { echo "needs root for the loop-mounted volume" >&2; exit 1; }
cmake --preset windows >/dev/null
cmake --build --preset windows --target purgeon purgeon_free_space_bench >/dev/null
bench_exe="$root/build/windows/bench/purgeon_free_space_bench.exe"
purgeon_exe="$root/build/windows/app/win32/purgeon.exe"

work="$root/build/bench-free-space"
export WINEPREFIX="$work/prefix" HOME="$work/home"
mnt="$work/mnt"
ntfs_mnt="$work/ntfs"
random_source=/dev/shm/purgeon-free-space-bench-$$
cleanup() {
    rm -f "$random_source"
    wine_down
    rm -f "$WINEPREFIX/dosdevices/p:" "$WINEPREFIX/dosdevices/q:" "$WINEPREFIX/dosdevices/q::"
    local mounted
    for mounted in "$mnt" "$ntfs_mnt"; do
        if mountpoint -q "$mounted"; then umount "$mounted"; fi
    done
}
trap cleanup EXIT
for mounted in "$mnt" "$ntfs_mnt"; do
    if mountpoint -q "$mounted"; then umount "$mounted"; fi
done
rm -rf "$work"
mkdir -p "$mnt" "$ntfs_mnt"
truncate -s "${size_mib}M" "$work/volume.img"
mkfs.ext4 -q "$work/volume.img"
mount -o loop "$work/volume.img" "$mnt"
reserve="/sys/fs/ext4/$(basename "$(findmnt -n -o SOURCE "$mnt")")/reserved_clusters"
default_reserve=$(cat "$reserve")
block=$(stat -f -c %S "$mnt")
# A volume in use: files of many sizes, half of them deleted again.
in_use() {
    python3 - "$1" <<'PY'
import os, random, sys
random.seed(7)
for i in range(400):
    with open(os.path.join(sys.argv[1], f"f{i}"), "wb") as f:
        f.write(os.urandom(random.choice([700, 5000, 60000, 300000])))
for i in range(0, 400, 2):
    os.remove(os.path.join(sys.argv[1], f"f{i}"))
PY
}
in_use "$mnt"
wine_up
ln -sfn "$mnt" "$WINEPREFIX/dosdevices/p:"

quiet() { sync; sleep 2; }
seconds() { /usr/bin/time -f '%e' "$@" 2>&1 >/dev/null | tail -n 1; }
median() { printf '%s\n' "$@" | sort -g | awk '{a[NR]=$1} END {print a[int((NR+1)/2)]}'; }
ratio() { python3 -c "print(f'{$1 / $2:.2f}')"; }
field() { sed -n "s/^$1: \([0-9]*\) bytes in \([0-9.]*\) s.*/\\$2/p" <<<"$3"; }

# Purgeon's fill of the drive $1 (P:\ unless given), phase by phase.
run_ours() {
    local out
    out=$(wine "$bench_exe" "${1:-P:\\}" 2>/dev/null | tr -d '\r')
    echo "$out" >>"$work/bench.out"
    grep -q '^outcome: 0,' <<<"$out" || { echo "the fill did not complete: $out" >&2; exit 1; }
    large_bytes=$(field large 1 "$out")
    large_s=$(field large 2 "$out")
    small_bytes=$(field small 1 "$out")
    total_s=$(sed -n 's/^total: \([0-9.]*\) s/\1/p' <<<"$out")
}
# dd writing $1 bytes into the volume mounted at $2 ($mnt unless given).
time_dd() {
    local s into=${2:-$mnt}
    s=$(seconds dd if="$random_source" of="$into/dd.bin" bs=4M count="$1" iflag=count_bytes \
        conv=fdatasync status=none)
    rm -f "$into/dd.bin"
    echo "$s"
}
time_cli() { seconds wine "$purgeon_exe" /wipefreespace 'P:\'; }

declare -a ours_large=() ours_total=() dd_large=() dd_total=() cli=() paired_share=() paired_whole=()
run_ours  # once untimed, for the byte counts the dd runs write
head -c "$((large_bytes + small_bytes))" /dev/urandom >"$random_source"
for ((round = 0; round < rounds; round++)); do
    for ((i = 0; i < 3; i++)); do
        quiet
        case $(((round + i) % 3)) in
            0) run_ours; ours_large+=("$large_s"); ours_total+=("$total_s") ;;
            1) dd_large+=("$(time_dd "$large_bytes")")
               quiet
               dd_total+=("$(time_dd "$((large_bytes + small_bytes))")") ;;
            2) cli+=("$(time_cli)") ;;
        esac
    done
    # The same round's steps ran minutes apart at most: their ratio holds when the disk's own
    # speed drifts from round to round, which it does here by half and more.
    paired_share+=("$(ratio "${dd_large[-1]}" "${ours_large[-1]}")")
    paired_whole+=("$(ratio "${cli[-1]}" "${dd_total[-1]}")")
    echo "round $((round + 1)): large files ${ours_large[-1]} s (dd ${dd_large[-1]} s)," \
         "whole fill ${ours_total[-1]} s (dd ${dd_total[-1]} s), purgeon.exe ${cli[-1]} s;" \
         "device share ${paired_share[-1]}, purgeon.exe / dd ${paired_whole[-1]}"
done

# The blocks left free when the fill has taken all it can: looked at while the fill waits.
left_at_full() {
    echo "$1" >"$reserve"
    rm -f "$work/in"
    mkfifo "$work/in"
    wine "$bench_exe" 'P:\' hold <"$work/in" >"$work/hold.out" 2>/dev/null &
    local filler=$! i
    exec 7>"$work/in"
    for ((i = 0; i < 600; i++)); do grep -q full "$work/hold.out" && break; sleep 0.1; done
    stat -f -c %f "$mnt"
    echo go >&7
    exec 7>&-
    wait "$filler" || true
}
left_default=$(left_at_full "$default_reserve")
left_none=$(left_at_full 0)
echo "$default_reserve" >"$reserve"

ol=$(median "${ours_large[@]}"); ot=$(median "${ours_total[@]}")
dl=$(median "${dd_large[@]}"); dt=$(median "${dd_total[@]}"); c=$(median "${cli[@]}")
echo
echo "== free space of a ${size_mib} MiB ext4 volume (median of $rounds)"
echo "large files: $large_bytes bytes in $ol s; dd the same bytes with fdatasync: $dl s"
echo "device speed share (dd / large files): $(ratio "$dl" "$ol")   (goal: 0.9 or more)"
echo "whole fill, small files ($small_bytes bytes) and removal included: $ot s;" \
     "dd the same bytes: $dt s"
echo "whole fill / dd: $(ratio "$ot" "$dt")   (goal: 2.0 or less)"
echo "purgeon.exe /wipefreespace, Wine's start-up included: $c s ($(ratio "$c" "$dt") x dd)"
echo "paired, the median of each round's own ratio: device share $(median "${paired_share[@]}")," \
     "purgeon.exe / dd $(median "${paired_whole[@]}")"
echo "== free blocks no write could reach (blocks of $block bytes)"
echo "with ext4's reserve of $default_reserve clusters: $left_default;" \
     "without it: $left_none"

# NTFS: the same volume in use, mkntfs and ntfs-3g; the whole fill (large files, the folders for
# the file table's free records, small files, removal) against dd of the same bytes.
truncate -s "${size_mib}M" "$work/ntfs.img"
mkntfs -q -F -f "$work/ntfs.img" >/dev/null 2>&1
ntfs-3g -o allow_other "$work/ntfs.img" "$ntfs_mnt"
in_use "$ntfs_mnt"
ln -sfn "$ntfs_mnt" "$WINEPREFIX/dosdevices/q:"
ln -sfn "$work/ntfs.img" "$WINEPREFIX/dosdevices/q::"
run_ours 'Q:\'  # untimed: the byte count dd writes
ntfs_bytes=$((large_bytes + small_bytes))
ntfs_folders=$(sed -n 's/^records: \([0-9]*\) folders.*/\1/p' "$work/bench.out" | tail -n 1)
head -c "$ntfs_bytes" /dev/urandom >"$random_source"
declare -a ntfs_ours=() ntfs_dd=() ntfs_paired=()
for ((round = 0; round < rounds; round++)); do
    for ((i = 0; i < 2; i++)); do
        quiet
        if (((round + i) % 2 == 0)); then
            run_ours 'Q:\'
            ntfs_ours+=("$total_s")
        else
            ntfs_dd+=("$(time_dd "$ntfs_bytes" "$ntfs_mnt")")
        fi
    done
    ntfs_paired+=("$(ratio "${ntfs_ours[-1]}" "${ntfs_dd[-1]}")")
    echo "NTFS round $((round + 1)): whole fill ${ntfs_ours[-1]} s, dd ${ntfs_dd[-1]} s;" \
         "fill / dd ${ntfs_paired[-1]}"
done
no=$(median "${ntfs_ours[@]}"); nd=$(median "${ntfs_dd[@]}")
echo
echo "== free space of a ${size_mib} MiB NTFS volume through ntfs-3g (median of $rounds)"
echo "whole fill: $ntfs_bytes bytes and ${ntfs_folders:-0} folders for the file table's free" \
     "records, removal included: $no s; dd the same bytes through the same mount: $nd s"
echo "whole fill / dd: $(ratio "$no" "$nd")   (goal: 2.0 or less);" \
     "paired, the median of each round's own ratio: $(median "${ntfs_paired[@]}")"
