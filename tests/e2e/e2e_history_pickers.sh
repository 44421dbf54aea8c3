#!/usr/bin/env bash
# Against Wine's history store, which cannot list or clear: the program runs on with an empty
# list and its summary says it could not clear. The two pickers open and are cancelled.
source "$(dirname "$0")/lib.sh"

store_prefs
start_purgeon
wine "$PROBE" wait-exists frmmain 30000 || fail "the main window was never loaded"
wine "$PROBE" wait-gone frmSplash 30000 || fail "the splash did not close"
wine "$PROBE" show frmmain
wine "$PROBE" tab frmmain 3
sleep 1
rows=$(probe count-id frmmain "$ID_URLs")
[ "$rows" = "0" ] || fail "the history list shows $rows rows"
wine "$PROBE" click-id frmmain "$ID_cmdClearHistory"
wine "$PROBE" wait-window '#32770' ' Purgeon' 10000 || fail "Clear History said nothing"
texts=$(probe texts '#32770' ' Purgeon')
grep -q '^History: not cleaned: ' <<<"$texts" || fail "the box said: $texts"
shot history-not-cleared
wine "$PROBE" press '#32770' ' Purgeon' 1
kill -0 "$purgeon_pid" 2>/dev/null || fail "Purgeon ended"
echo "ok: history store failure absorbed"

wine "$PROBE" tab frmmain 4
sleep 0.5
# cancel_picker NAME BUTTON BOX TYPED: types into the box, opens the dialog, cancels it, and
# prints what the box holds afterwards.
cancel_picker() {
    local name=$1 button=$2 box=$3 typed=$4
    wine "$PROBE" set-text frmmain "$box" "$typed"
    wine "$PROBE" click-id frmmain "$button"
    wine "$PROBE" wait-window '#32770' '*' 10000 || fail "the $name dialog did not open"
    sleep 1
    shot "$name-dialog" >&2
    wine "$PROBE" press '#32770' '*' 2 || fail "the $name dialog has no Cancel"
    wine "$PROBE" wait-gone '#32770' 10000 || fail "the $name dialog stayed"
    probe text-id frmmain "$box"
}

file_box=$(cancel_picker file "$ID_cmdBrowseForFile" "$ID_txtFileToWipe" 'C:\typed.txt')
[ "$file_box" = 'C:\typed.txt' ] || fail "Cancel changed the file box to '$file_box'"
folder_box=$(cancel_picker folder "$ID_cmdBrowseForFolder" "$ID_txtFolderToWipe" 'C:\somewhere')
[ -z "$folder_box" ] || fail "Cancel left '$folder_box' in the folder box"
echo "ok: pickers opened and cancelled"
