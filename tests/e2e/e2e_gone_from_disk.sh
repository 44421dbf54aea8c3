#!/usr/bin/env bash
# Gone from the disk, not only from the folder: the user's app-data folder on a real ext4 volume
# (a loop-mounted image), profiles the real Chromium and Firefox wrote on it, "/clean browsers",
# then the raw image searched byte by byte: no removed cookie, address or title is readable
# anywhere on the volume, every database is sound and the kept cookies are there.
# Needs root and loop devices; without them it says so and passes as skipped.
source "$(dirname "$0")/lib.sh"
: "${REAL_PROFILES:?}" "${CHECK_CLEAN:?}"
[ -f "$REAL_PROFILES/expect.txt" ] || fail "no real profiles in $REAL_PROFILES"
source "$REAL_PROFILES/expect.txt"

work=$(dirname "$WINEPREFIX")/gone-from-disk
image=$work/volume.img
rm -rf "$work"
mkdir -p "$work"
if [ "$(id -u)" -ne 0 ] || ! command -v mkfs.ext4 >/dev/null || ! truncate -s 160M "$image" ||
    ! mkfs.ext4 -q -F "$image" || ! mkdir -p "$work/probe" ||
    ! mount -o loop "$image" "$work/probe" 2>/dev/null; then
    echo "skipped: no loop-mounted volume can be made here (needs root and loop devices)"
    rm -rf "$work"
    exit 0
fi
umount "$work/probe"

folders='HKCU\Software\Microsoft\Windows\CurrentVersion\Explorer\Shell Folders'
local_dir=$(unix_path "$(reg_value "$folders" 'Local AppData')")
roaming_dir=$(unix_path "$(reg_value "$folders" 'AppData')")
appdata=$(dirname "$local_dir")
[ "$(dirname "$roaming_dir")" = "$appdata" ] || fail "Local and Roaming are not in one folder"

# The app-data folder moves onto the volume; it comes back, as it was, however this ends.
saved=$work/appdata-saved
restore() {
    stop_wine
    mountpoint -q "$appdata" && umount "$appdata"
    if [ -d "$saved" ]; then
        rm -rf "$appdata"
        mv "$saved" "$appdata"
    fi
    rm -rf "$work"
    restart_wine
}
trap restore EXIT
stop_wine
mv "$appdata" "$saved"
mkdir "$appdata"
mount -o loop "$image" "$appdata"
rm -rf "$appdata/lost+found"
cp -a "$saved/." "$appdata/"
cp -a "$REAL_PROFILES/Local/." "$local_dir/"
cp -a "$REAL_PROFILES/Roaming/." "$roaming_dir/"
restart_wine
store_prefs keepcookies=keep.purgeon.test

# How often each removed marker is readable on the raw volume, as UTF-8 and UTF-16LE text.
IFS='|' read -r -a titles <<<"$gone_titles"
markers=(gone.purgeon.test $gone_cookies "${titles[@]}" $gone_assets)
readable() {
    sync
    echo 3 >/proc/sys/vm/drop_caches
    python3 - "$image" "${markers[@]}" <<'EOF'
import sys
raw = open(sys.argv[1], "rb").read().lower()
for marker in sys.argv[2:]:
    text = marker.lower()
    found = raw.count(text.encode()) + raw.count(text.encode("utf-16-le"))
    if found:
        print(f"{marker}: {found}")
EOF
}
before=$(readable)
[ -n "$before" ] || fail "the markers are not on the volume before the clean: the search sees nothing"

code=0
summary=$(wine "$PURGEON_EXE" /clean browsers </dev/null 2>/dev/null | tr -d '\r') || code=$?
echo "$summary"
[ "$code" -eq 0 ] || fail "/clean browsers ended with $code"
left=$(readable)
[ -z "$left" ] || fail "still readable on the volume after /clean browsers:
$left"
echo "ok: no removed cookie, address or title readable on the raw volume"

bash "$CHECK_CLEAN" "$local_dir/Chromium/User Data" "$local_dir/Google/Chrome/User Data" \
    "$roaming_dir/Mozilla/Firefox/Profiles/$firefox_profile_dir" \
    --gone gone.purgeon.test $gone_cookies Gonesite \
    --keep $keep_cookies || fail "a cleared profile is unsound or lost what was kept"
for pair in "$local_dir/Chromium/User Data/Default/Network/Cookies|cookies" \
    "$roaming_dir/Mozilla/Firefox/Profiles/$firefox_profile_dir/cookies.sqlite|moz_cookies"; do
    names=$(sqlite3 "file:${pair%|*}?immutable=1" "SELECT name FROM ${pair#*|}")
    grep -q keepsite_session <<<"$names" || fail "a kept cookie went from ${pair%|*}"
done
leftovers=$(find "$appdata" \( -name '*-journal' -o -name '*.purgeon-old' -o -name '*.purgeon-new' \) -size +0)
[ -z "$leftovers" ] || fail "files left to be freed later: $leftovers"
echo "ok: every database sound, the kept cookies there, no journal or old copy left"

# The real browsers start on what was cleaned: they send the kept site its cookies, the removed
# site none, and find nothing damaged. The app-data folder holds Local and Roaming, as the tree does.
: "${REOPEN_CHECK:?}"
bash "$REOPEN_CHECK" "$appdata" || fail "Chromium or Firefox, started on the cleaned profiles, found them damaged or lost what was kept"
