#!/usr/bin/env bash
# "&Check for updates..." against a version file served on this machine: newer, equal, missing,
# with a UTF-8 byte-order mark, and too large. Nothing is written into the program's folder.
source "$(dirname "$0")/lib.sh"
: "${PURGEON_LOCAL_EXE:?}" "${VENDOR_PORT:?}"

if python3 -c "import socket; socket.create_connection(('127.0.0.1', $VENDOR_PORT), 1)" 2>/dev/null; then
    fail "port $VENDOR_PORT is taken by another program: configure another PURGEON_E2E_VENDOR_PORT"
fi
site=$(mktemp -d)
mkdir -p "$site/products/zp"
# A bounded local server: it ends by itself, and with this script.
timeout 170 python3 -m http.server "$VENDOR_PORT" --bind 127.0.0.1 --directory "$site" \
    >/dev/null 2>&1 </dev/null &
server=$!
trap 'kill $server 2>/dev/null; rm -rf "$site"; stop_purgeon' EXIT
for _ in $(seq 50); do
    python3 -c "import socket; socket.create_connection(('127.0.0.1', $VENDOR_PORT), 1)" 2>/dev/null && break
    sleep 0.1
done

program_folder=$(dirname "$PURGEON_LOCAL_EXE")
before=$(ls -A "$program_folder")
wine "$PURGEON_LOCAL_EXE" >/dev/null 2>&1 </dev/null &
purgeon_pid=$!
wine "$PROBE" wait-exists frmmain 30000 || fail "the main window was never loaded"
wine "$PROBE" wait-gone frmSplash 30000 || fail "the splash did not close"
wine "$PROBE" show frmmain
wine "$PROBE" tab frmmain 5

# check PUBLISHED EXPECTED-TEXT BUTTON: publishes the version file (or none), presses the button,
# and reads the box that answers.
check() {
    local published=$1 expected=$2 button=$3
    rm -f "$site/products/zp/version.txt"
    [ "$published" = "-" ] || printf '%s' "$published" >"$site/products/zp/version.txt"
    wine "$PROBE" click-id frmmain "$ID_cmdcheckForUpdates" || fail "no update button"
    wine "$PROBE" wait-window '#32770' ' Purgeon' 30000 || fail "no answer for '${published:0:20}'"
    local texts
    texts=$(probe texts '#32770' ' Purgeon')
    grep -qxF "$expected" <<<"$texts" || fail "for '${published:0:20}' the box said: $texts"
    [ -n "${4:-}" ] && shot "$4"
    wine "$PROBE" press '#32770' ' Purgeon' "$button"
    wine "$PROBE" wait-gone '#32770' 10000
    [ "$(ls -A "$program_folder")" = "$before" ] || fail "the check wrote into the program's folder"
    echo "ok: '${published:0:20}' -> $expected"
}

check "2.0" "A newer version is available!. Do you wish to go to the download page?" 7 update-newer
check "1.0,first release" "Your version is up to date" 1
check "-" "The update file not found.Unable to verify if new download is present" 1
check $'\xEF\xBB\xBF2.5' "A newer version is available!. Do you wish to go to the download page?" 7
check "$(head -c 70000 /dev/zero | tr '\0' 1)" \
    "The update file could not be read.Unable to verify if new download is present" 1
