# Helpers for the end-to-end scripts: start Purgeon under Wine, ask the probe, take screenshots.
set -euo pipefail
: "${PURGEON_EXE:?}" "${PROBE:?}" "${SHOTS:?}" "${WINEPREFIX:?}" "${DISPLAY:?}" "${BUILD_DIR:?}"
# Wine runs only in a throwaway prefix below the build folder, never in the user's own.
case "$WINEPREFIX" in
    "$BUILD_DIR"/*) ;;
    *) echo "FAIL: WINEPREFIX ($WINEPREFIX) is not below $BUILD_DIR (scripts/test sets it)" >&2
       exit 1 ;;
esac

fail() {
    echo "FAIL: $*" >&2
    exit 1
}

# A step that ends the script through "set -e" names itself, as fail does.
trap 'echo "FAIL: line $LINENO of $0: \"$BASH_COMMAND\" exited with $?" >&2' ERR

probe() { wine "$PROBE" "$@" 2>/dev/null | tr -d '\r'; }

# Starts purgeon.exe in the background; the PID of its Wine process goes to $purgeon_pid.
start_purgeon() {
    wine "$PURGEON_EXE" >/dev/null 2>&1 </dev/null &
    purgeon_pid=$!
}

# Starts purgeon.exe and shows its main window, past the splash, on the tab numbered $1.
open_tab() {
    start_purgeon
    wine "$PROBE" wait-exists frmmain 30000 || fail "the main window was never loaded"
    wine "$PROBE" wait-gone frmSplash 30000 || fail "the splash did not close"
    wine "$PROBE" show frmmain || fail "no main window"
    wine "$PROBE" wait-window frmmain ' Purgeon' 10000 || fail "the main window did not show"
    wine "$PROBE" tab frmmain "$1" || fail "no tab control"
}

# Waits up to $2 seconds for the process $1 to end.
wait_exit() {
    local pid=$1 seconds=$2 i
    for ((i = 0; i < seconds * 10; i++)); do
        kill -0 "$pid" 2>/dev/null || return 0
        sleep 0.1
    done
    return 1
}

# Ends every running Purgeon, whatever window it has left.
stop_purgeon() {
    local cls
    for cls in frmmain frmSplash; do
        while wine "$PROBE" kill "$cls" >/dev/null 2>&1; do sleep 0.2; done
    done
    wait 2>/dev/null || true
}

shot() {
    mkdir -p "$SHOTS"
    import -window root "$SHOTS/$1.png"
    echo "screenshot: $SHOTS/$1.png"
}

trap stop_purgeon EXIT
stop_purgeon

# Control identifiers: 1000 plus the control's place in the program's list of named controls.
readonly ID_cmdcheckForUpdates=1051
readonly ID_lblaction=1056
readonly ID_lblAction=1057
readonly ID_cmdViewLog=1058
readonly ID_cmdWipe=1047
readonly ID_cmdCancel=1059
readonly ID_cmdWipeFreeSpace=1068

readonly settings_key='HKCU\Software\Purgeon\Settings'
readonly run_key='HKCU\Software\Microsoft\Windows\CurrentVersion\Run'

# Stores preferences as the program stores them: "key=value" pairs; no pairs empties the store.
store_prefs() {
    wine reg delete "$settings_key" /f >/dev/null 2>&1 || true
    local pair
    for pair in "$@"; do
        wine reg add "$settings_key" /v "${pair%%=*}" /t REG_SZ /d "${pair#*=}" /f >/dev/null 2>&1
    done
}

# Ends every Purgeon and Wine's server, so that nothing of Wine holds a file of the prefix.
stop_wine() {
    stop_purgeon
    wineserver -k >/dev/null 2>&1 || true
    wineserver -w
}

# Restarts Wine's server: Wine reads the user's environment from the registry when it starts.
restart_wine() {
    wineserver -k >/dev/null 2>&1 || true
    wineserver -w
    wineserver -p >/dev/null 2>&1 </dev/null
    wine cmd /c exit >/dev/null 2>&1 </dev/null
}

# Points the user's TEMP and TMP at a folder (a Windows path) and restarts Wine's server to read them.
set_temp() {
    local name
    for name in TEMP TMP; do
        wine reg add 'HKCU\Environment' /v "$name" /t REG_EXPAND_SZ /d "$1" /f >/dev/null 2>&1
    done
    restart_wine
}

# The Unix path of a Windows path of the prefix.
unix_path() { winepath -u "$1" 2>/dev/null | tr -d '\r'; }

# A registry string value, or nothing.
reg_value() {
    wine reg query "$1" /v "$2" 2>/dev/null | tr -d '\r' | sed -n 's/.*REG_SZ[[:space:]]*//p'
}
readonly ID_URLs=1032
readonly ID_cmdClearHistory=1033
readonly ID_txtFolderToWipe=1037
readonly ID_cmdBrowseForFolder=1038
readonly ID_txtFileToWipe=1041
readonly ID_cmdBrowseForFile=1042

# Runs purgeon.exe with the arguments, without a window manager's help, for at most $cli_seconds
# (a minute unless set; a box would wait for ever); its output goes to the file $out (the
# caller's), its exit code to $code.
run_cli() {
    code=0
    timeout "${cli_seconds:-60}" wine "$PURGEON_EXE" "$@" </dev/null >"$out" 2>/dev/null || code=$?
    tr -d '\r' <"$out" >"$out.txt" && mv "$out.txt" "$out"
}
expect_code() {
    [ "$code" = "$1" ] || fail "$2: exit code $code, not $1; it said: $(cat "$out")"
}
said() { grep -qxF "$1" "$out" || fail "$2: no line '$1' in: $(cat "$out")"; }
