#!/usr/bin/env bash
# Gone from NTFS: the user's Documents on a real NTFS volume (an image made by mkntfs, mounted
# with ntfs-3g), files with markers in their contents and names. "/wipe" of six files and a folder
# of twenty leaves none of their contents and none of their names in the raw image (freed file
# records, index slack); then forty files removed by plain rm, and "/wipefreespace" leaves none of
# their contents or names either, the live files as they were and no fill file or folder. Needs
# root, ntfs-3g and /dev/fuse; without them it says so and is skipped.
source "$(dirname "$0")/lib.sh"

work=$(dirname "$WINEPREFIX")/gone-from-ntfs
skip() {
    echo "SKIP: $*"
    exit 77
}
[ "$(id -u)" -eq 0 ] || skip "mounting a volume needs root"
command -v mkntfs >/dev/null && command -v ntfs-3g >/dev/null ||
    skip "ntfs-3g (mkntfs and its driver) is not installed"

image=$work/volume.img
out=$work/out.txt
folders='HKCU\Software\Microsoft\Windows\CurrentVersion\Explorer\Shell Folders'
documents_win=$(reg_value "$folders" 'Personal')
documents=$(unix_path "$documents_win")
[ -n "$documents" ] || fail "no Documents folder in the prefix ('$documents_win')"
saved=$work/documents-link

# Documents comes back as it was (Wine links it to $HOME), however this ends.
restore() {
    stop_wine
    mountpoint -q "$documents" && umount "$documents"
    if [ -L "$saved" ]; then
        rmdir "$documents" 2>/dev/null || true
        mv "$saved" "$documents"
    fi
    rm -rf "$work"
    restart_wine
}
rm -rf "$work"
mkdir -p "$work"
trap restore EXIT
truncate -s 256M "$image"
mkntfs -q -F -f "$image" >/dev/null 2>&1 || skip "mkntfs cannot make a volume here"
stop_wine
if [ -L "$documents" ]; then
    mv "$documents" "$saved"
    mkdir "$documents"
fi
mount_volume() { ntfs-3g -o allow_other "$image" "$documents"; }
unmount_volume() {
    stop_wine
    sync
    umount "$documents"
}
mount_volume 2>/dev/null || skip "ntfs-3g cannot mount here (is /dev/fuse there?)"
restart_wine

# Files with markers of their own: one in the name, one in the content (ASCII and UTF-16LE), of
# sizes from 200 bytes (kept inside the file record) to 4 MiB. The marker lists go to $work.
plant() {
    python3 - "$documents/$1" "$work/$1.names" "$work/$1.contents" "$2" <<'PY'
import os, random, sys
folder, names, contents, count = sys.argv[1], sys.argv[2], sys.argv[3], int(sys.argv[4])
os.makedirs(folder, exist_ok=True)
sizes = [200, 400, 650, 900, 3000, 10000, 60000, 300000, 1 << 20, 4 << 20]
made_names, made_contents = [], []
for i in range(count):
    tag = f"{os.path.basename(folder)}{i:02d}{random.randrange(1 << 40):010x}"
    name, content = "NAMEMARK" + tag, "CONTENTMARK" + tag
    body = (content + " ").encode() + content.encode("utf-16-le") + b" "
    with open(os.path.join(folder, name + ".txt"), "wb") as f:
        f.write((body * (sizes[i % len(sizes)] // len(body) + 1))[:sizes[i % len(sizes)]])
    made_names.append(name)
    made_contents.append(content)
open(names, "w").write("\n".join(made_names) + "\n")
open(contents, "w").write("\n".join(made_contents) + "\n")
PY
}
# How many markers of the lists the raw image still holds, in either encoding, and where: "free
# record", "record" (in use), "index" (an INDX block) or "cluster".
left_in_image() {
    python3 - "$image" "$@" <<'PY'
import struct, sys
image = open(sys.argv[1], "rb").read()
cluster = struct.unpack_from("<H", image, 11)[0] * image[13]
mft = struct.unpack_from("<q", image, 0x30)[0] * cluster
def place(at):
    block = at // 4096 * 4096
    if image[block:block + 4] == b"INDX":
        return "index"
    record = at // 1024 * 1024
    if image[record:record + 4] == b"FILE":
        return "record" if struct.unpack_from("<H", image, record + 0x16)[0] & 1 else "free record"
    return "cluster"
for listing in sys.argv[2:]:
    markers = open(listing).read().split()
    places = []
    for marker in markers:
        for text in (marker.encode(), marker.encode("utf-16-le")):
            at = image.find(text)
            if at >= 0:
                places.append(f"{marker} ({place(at)})")
                break
    print(len(places), " ".join(places))
PY
}
# Each list's count, with the image unmounted; the volume comes back.
count_left() {
    unmount_volume
    left_in_image "$@" >"$work/left.txt"
    mount_volume
    restart_wine
}

plant w6 6
plant tree 20
plant old 40
echo "not wiped" >"$documents/w6/keep.txt"
head -c 100000 /dev/urandom >"$documents/live.bin"
live_sum=$(sha256sum <"$documents/live.bin")
count_left "$work/w6.names" "$work/tree.names" "$work/w6.contents" "$work/tree.contents"
[ "$(cut -d' ' -f1 "$work/left.txt" | tr '\n' ' ')" = "6 20 6 20 " ] ||
    fail "the markers are not all on the volume before the wipe: $(cat "$work/left.txt")"

# /wipe: six files by name, and a folder of twenty.
items=()
for file in "$documents"/w6/NAMEMARK*; do items+=("$documents_win\\w6\\$(basename "$file")"); done
run_cli /wipe "${items[@]}" "$documents_win\\tree"
expect_code 0 "/wipe of six files and a folder"
said "Item 7 (a folder): 20 file(s) wiped." "/wipe of six files and a folder"
[ -z "$(find "$documents/w6" "$documents/tree" -type f ! -name keep.txt)" ] ||
    fail "files are left: $(ls -R "$documents/w6" "$documents/tree")"
[ "$(cat "$documents/w6/keep.txt")" = "not wiped" ] || fail "the file beside them changed"
count_left "$work/w6.contents" "$work/tree.contents" "$work/w6.names" "$work/tree.names"
read -r contents_w6 contents_w6_where <<<"$(sed -n 1p "$work/left.txt")"
read -r contents_tree contents_tree_where <<<"$(sed -n 2p "$work/left.txt")"
read -r names_w6 names_w6_where <<<"$(sed -n 3p "$work/left.txt")"
read -r names_tree names_tree_where <<<"$(sed -n 4p "$work/left.txt")"
[ $((contents_w6 + contents_tree)) -eq 0 ] ||
    fail "wiped contents still in the image: $contents_w6_where $contents_tree_where"
[ $((names_w6 + names_tree)) -eq 0 ] ||
    fail "$((names_w6 + names_tree)) of 26 wiped names still in the image: $names_w6_where $names_tree_where"
echo "ok: /wipe left 0 of 26 contents and 0 of 26 names in the raw image"

# /wipefreespace after plain rm of forty files and their folder.
rm -rf "$documents/old"
count_left "$work/old.contents" "$work/old.names"
[ "$(cut -d' ' -f1 "$work/left.txt" | tr '\n' ' ')" = "40 40 " ] ||
    fail "plain rm already took markers away, the check sees nothing: $(cat "$work/left.txt")"
cli_seconds=240
run_cli /wipefreespace "$documents_win"
expect_code 0 "/wipefreespace"
grep -qE '^The free space of .* was wiped: .* of overwrite data written and removed\.$' "$out" ||
    fail "/wipefreespace said: $(cat "$out")"
[ ! -e "$documents/Purgeon free space" ] ||
    fail "the fill folder is still there: $(ls -R "$documents/Purgeon free space" | head)"
[ "$(sha256sum <"$documents/live.bin")" = "$live_sum" ] || fail "the live file changed"
[ "$(cat "$documents/w6/keep.txt")" = "not wiped" ] || fail "the file beside them changed"
count_left "$work/old.contents" "$work/old.names"
read -r contents_old contents_old_where <<<"$(sed -n 1p "$work/left.txt")"
read -r names_old names_old_where <<<"$(sed -n 2p "$work/left.txt")"
[ "$contents_old" -eq 0 ] || fail "$contents_old of 40 removed contents left: $contents_old_where"
[ "$names_old" -eq 0 ] || fail "$names_old of 40 removed names left: $names_old_where"
echo "ok: /wipefreespace left 0 of 40 removed contents and 0 of 40 names, the live files as" \
     "they were and no fill file"
