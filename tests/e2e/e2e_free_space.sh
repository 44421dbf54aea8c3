#!/usr/bin/env bash
# The free space of a real ext4 volume mapped into the prefix as a drive, with its device as Wine
# maps a real disk's (so that the volume can be flushed as a whole): /wipefreespace leaves no
# marker of the fifty files deleted before it readable in the raw image, the live file as it was,
# the free space as it was and no fill file. "Wipe free space" in the window asks first and stops
# at Cancel; a run killed part-way and the next start leave no fill file either. Needs root and
# loop devices; without them it is skipped.
source "$(dirname "$0")/lib.sh"

work=$(mktemp -d "${TMPDIR:-/tmp}/purgeon-free-space.XXXXXX")
small_drive="$WINEPREFIX/dosdevices/p:"
small_device="$WINEPREFIX/dosdevices/p::"
big_drive="$WINEPREFIX/dosdevices/q:"
out="$work/out.txt"
cleanup() {
    stop_purgeon
    rm -f "$small_drive" "$small_device" "$big_drive"
    local mounted
    for mounted in "$work/small" "$work/big"; do
        mountpoint -q "$mounted" && umount "$mounted"
    done
    rm -rf "$work"
}
trap cleanup EXIT

skip() {
    echo "SKIP: $*"
    exit 77
}
[ "$(id -u)" -eq 0 ] || skip "loop mounts need root"

# An ext4 volume of the given size in an image file, mounted and mapped to a drive letter.
make_volume() {
    local name=$1 size=$2 drive=$3
    truncate -s "$size" "$work/$name.img"
    mkfs.ext4 -q "$work/$name.img" || skip "mkfs.ext4 failed"
    mkdir -p "$work/$name"
    mount -o loop "$work/$name.img" "$work/$name" 2>/dev/null ||
        skip "loop devices cannot be mounted here"
    ln -sfn "$work/$name" "$drive"
}
available() { df -B1 --output=avail "$1" | tail -n 1 | tr -d ' '; }
fill_folder() { echo "$1/Purgeon free space"; }
# True once the fill folder of the volume at $big holds no fill file, waiting at most 10 s.
no_fill_files_within_10s() {
    for _ in $(seq 100); do
        compgen -G "$(fill_folder "$big")/purgeon-fill-*.tmp" >/dev/null || return 0
        sleep 0.1
    done
    return 1
}
cli_seconds=120  # a fill takes longer than other runs
drop_caches() {
    sync
    echo 3 >/proc/sys/vm/drop_caches
}

make_volume small 256M "$small_drive"
make_volume big 4G "$big_drive"
small="$work/small"
big="$work/big"
ln -sfn "$(findmnt -n -o SOURCE "$small")" "$small_device"
# ext4 keeps 2% of its blocks (at most 4096 clusters) free for its own records: no program's
# write may take them, and the allocator leaves the smallest holes (deleted small files) for last,
# so they are what stays. This test is about what a program can reach: the reserve goes.
reserve="/sys/fs/ext4/$(basename "$(findmnt -n -o SOURCE "$small")")/reserved_clusters"
[ -w "$reserve" ] || skip "ext4's reserve cannot be set here ($reserve)"
echo 0 >"$reserve"

# Fifty deleted files of 100 bytes to 4 MiB, each holding a marker of its own in ASCII and in
# UTF-16LE, written to the device before plain rm removes them; and a live file that must stay.
# With 1 KiB blocks the fill's large file needs a block of its own for its map of extents, which
# the volume's flush puts on the disk before the file goes.
python3 - "$small" "$work/markers.txt" <<'PY'
import os, random, sys
folder, listing = sys.argv[1], sys.argv[2]
os.makedirs(os.path.join(folder, "docs"))
markers = []
for i, size in enumerate(int(100 * (4 * 1024 * 1024 / 100) ** (k / 49)) for k in range(50)):
    marker = f"PURGEON-GONE-{os.getpid()}-{i}-{random.randrange(1 << 40):010x}"
    markers.append(marker)
    body = (marker + " ").encode() + marker.encode("utf-16-le")
    with open(os.path.join(folder, "docs", f"deleted-{i}.txt"), "wb") as f:
        f.write((body * (size // len(body) + 1))[:size])
with open(os.path.join(folder, "docs", "live.bin"), "wb") as f:
    f.write(os.urandom(2 << 20) + b"PURGEON-LIVE-MARKER")
with open(listing, "w") as f:
    f.write("\n".join(markers) + "\n")
PY
# How many of the markers the raw image still holds, in either encoding.
markers_left() {
    python3 - "$work/small.img" "$work/markers.txt" <<'PY'
import sys
data = open(sys.argv[1], "rb").read()
markers = open(sys.argv[2]).read().split()
print(sum(1 for m in markers if m.encode() in data or m.encode("utf-16-le") in data))
PY
}
drop_caches
marker_count=$(wc -l <"$work/markers.txt")
[ "$(markers_left)" -eq "$marker_count" ] || fail "the markers never reached the image"
live_sum=$(sha256sum <"$small/docs/live.bin")
rm "$small"/docs/deleted-*.txt
drop_caches
[ "$(markers_left)" -eq "$marker_count" ] || fail "plain rm already wiped the markers"
free_before=$(available "$small")

run_cli /wipefreespace 'P:\docs'
[ "$code" -eq 0 ] || fail "/wipefreespace ended with $code: $(cat "$out")"
grep -qE '^The free space of P:\\ was wiped: .* of overwrite data written and removed\.$' "$out" ||
    fail "/wipefreespace said: $(cat "$out")"
drop_caches
left=$(markers_left)
[ "$left" -eq 0 ] || fail "$left of $marker_count markers of deleted files are still in the image"
[ "$(sha256sum <"$small/docs/live.bin")" = "$live_sum" ] || fail "the live file changed"
[ ! -e "$(fill_folder "$small")" ] || fail "the fill folder is still there: $(ls -la "$(fill_folder "$small")")"
free_after=$(available "$small")
python3 -c "import sys; b, a = $free_before, $free_after; sys.exit(abs(a - b) > b / 100)" ||
    fail "the free space was $free_before bytes before and $free_after after"
echo "ok: $(tail -n 1 "$out") No marker of $marker_count deleted files is left in the image;" \
     "the live file is as it was; free space $free_before bytes before, $free_after after"

# The window: the question names the volume and warns of a full disk; Cancel stops the fill and
# removes what it wrote. The 4 GiB volume takes long enough to fill for Cancel to come first.
free_before=$(available "$big")
start_purgeon
wine "$PROBE" wait-exists frmmain 30000 || fail "the main window was never loaded"
wine "$PROBE" wait-gone frmSplash 30000 || fail "the splash did not close"
wine "$PROBE" show frmmain
wine "$PROBE" tab frmmain 4
wine "$PROBE" set-text frmmain "$ID_txtFolderToWipe" 'Q:\' || fail "cannot name the folder"
wine "$PROBE" click-id frmmain "$ID_cmdWipeFreeSpace" || fail "no Wipe free space button"
wine "$PROBE" wait-window '#32770' ' Purgeon' 10000 || fail "no question"
asked=$(probe texts '#32770' ' Purgeon')
grep -qF 'Wipe the free space of Q:\?' <<<"$asked" || fail "the question was: $asked"
grep -qF 'other programs may briefly find the disk full' <<<"$asked" || fail "no warning: $asked"
shot free-space-question
wine "$PROBE" press '#32770' ' Purgeon' 6  # Yes
for _ in $(seq 100); do
    compgen -G "$(fill_folder "$big")/purgeon-fill-*.tmp" >/dev/null && break
    sleep 0.1
done
compgen -G "$(fill_folder "$big")/purgeon-fill-*.tmp" >/dev/null || fail "no fill file appeared"
wine "$PROBE" answers frmmain 2000 || fail "the window did not answer while the fill ran"
shot free-space-progress
wine "$PROBE" click-id frmmain "$ID_cmdCancel" || fail "no Cancel button"
wine "$PROBE" wait-window '#32770' ' Purgeon' 60000 || fail "no message after Cancel"
said=$(probe texts '#32770' ' Purgeon')
grep -qF 'The wipe of the free space of Q:\ was stopped after' <<<"$said" ||
    fail "after Cancel the box said: $said"
grep -qF 'what it had written was removed.' <<<"$said" || fail "after Cancel: $said"
wine "$PROBE" press '#32770' ' Purgeon' 1
wine "$PROBE" wait-gone '#32770' 10000
[ ! -e "$(fill_folder "$big")" ] || fail "Cancel left the fill folder: $(ls "$(fill_folder "$big")")"
free_after=$(available "$big")
python3 -c "import sys; b, a = $free_before, $free_after; sys.exit(abs(a - b) > b / 100)" ||
    fail "after Cancel the free space was $free_before bytes before and $free_after after"
stop_purgeon
echo "ok: the question came first; Cancel stopped the fill and left no fill file"

# A run killed part-way: the large fill files go with the process; what an abrupt end could leave
# (small fill files) the next start removes, and nothing else in the fill folder.
wine "$PURGEON_EXE" /wipefreespace 'Q:\' </dev/null >/dev/null 2>&1 &
filler=$!
for _ in $(seq 100); do
    compgen -G "$(fill_folder "$big")/purgeon-fill-*.tmp" >/dev/null && break
    sleep 0.1
done
kill -0 "$filler" 2>/dev/null || fail "the fill ended before it could be killed"
kill -9 "$filler"
wait "$filler" 2>/dev/null || true
no_fill_files_within_10s ||
    fail "the killed run left fill files: $(ls -la "$(fill_folder "$big")")"
mkdir -p "$(fill_folder "$big")"
head -c 4096 /dev/urandom >"$(fill_folder "$big")/purgeon-fill-00000042.tmp"
head -c 4096 /dev/urandom >"$(fill_folder "$big")/purgeon-fill-00000043.tmp"
echo "not a fill file" >"$(fill_folder "$big")/keep.txt"
start_purgeon
wine "$PROBE" wait-gone frmSplash 30000 || fail "the splash did not close"
no_fill_files_within_10s ||
    fail "the start did not remove the fill files left: $(ls "$(fill_folder "$big")")"
[ "$(cat "$(fill_folder "$big")/keep.txt")" = "not a fill file" ] ||
    fail "the start removed what was not a fill file"
echo "ok: a killed run left no large fill file; the next start removed the small ones and nothing else"
