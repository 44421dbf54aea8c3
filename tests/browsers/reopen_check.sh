#!/usr/bin/env bash
# Starts the real Chromium and Firefox on a cleaned profile tree and checks that they take it
# as their own: they send the kept site its cookies, send the removed site none, and show no
# sign of having found damage (a file renamed aside, a database emptied or unsound).
#
# Usage: reopen_check.sh ROOT     (exit 0 ok, 1 a check failed, 2 set-up error)
#
# ROOT is laid out as make_profiles.sh writes it, the way Windows keeps the folders:
#   ROOT/Local/Chromium/User Data, ROOT/Roaming/Mozilla/Firefox/{profiles.ini,Profiles/<dir>},
#   ROOT/Local/Mozilla/Firefox/Profiles/<dir> (the Firefox profile's cache).
# ROOT is only read: the profiles are copied into a scratch folder in the layout the browsers
# use on Linux, and each browser visits the kept and the removed site's home page once, through
# the loopback site server, which logs the Cookie header of every request.
# shellcheck disable=SC2154 # the site facts are sourced from site_server.py --facts
set -uo pipefail

here=$(cd "$(dirname "$0")" && pwd)
# shellcheck source=browsers_lib.sh
source "$here/browsers_lib.sh"
in_own_netns "$@"

die() {
    echo "reopen_check: $*" >&2
    exit 2
}
problems=0
bad() {
    echo "reopen_check: FAIL: $*"
    problems=$((problems + 1))
}
ok() { echo "reopen_check: ok: $*"; }

[ $# -eq 1 ] || die "usage: reopen_check.sh ROOT"
root=$(cd "$1" 2>/dev/null && pwd) || die "no folder $1"
chromium_src="$root/Local/Chromium/User Data"
ff_root=$root/Roaming/Mozilla/Firefox
[ -d "$chromium_src/Default" ] || die "no Chromium profile in $chromium_src"
[ -f "$ff_root/profiles.ini" ] || die "no $ff_root/profiles.ini"
for tool in python3 sqlite3; do
    command -v "$tool" >/dev/null || die "$tool is missing"
done
find_browsers

started=$(date +%s.%N)
work=$(mktemp -d "${TMPDIR:-/tmp}/purgeon-reopen.XXXXXX") || die "no scratch folder"
server_pid=
holder_pid=
cleanup() {
    stop_holder
    stop_site_server
    rm -rf "$work"
}
trap cleanup EXIT

python3 "$here/site_server.py" --facts >"$work/facts" || die "site_server.py --facts failed"
# shellcheck source=/dev/null
source "$work/facts"
keep_url=${keep_urls%% *}
gone_url=${gone_urls%% *}
keep_host=${keep_hosts%% *}
gone_host=${gone_hosts%% *}

# --- the profiles, laid out as on Linux ---------------------------------------------------
udd=$work/chromium-user-data
cp -a "$chromium_src" "$udd" || die "could not copy $chromium_src"
rm -f "$udd/lockfile" # Windows' marker of a running instance; none runs
for netdir in "$udd"/*/Network; do
    [ -d "$netdir" ] || continue
    for f in "${chromium_network_files[@]}"; do
        if [ -e "$netdir/$f" ]; then
            mv "$netdir/$f" "$netdir/../$f" || die "could not move $netdir/$f"
        fi
    done
    rmdir "$netdir" 2>/dev/null || true
done
chromium_cookies=$udd/Default/Cookies

# The profile Firefox would start with: the install's default, else the one marked Default.
ff_rel=$(tr -d '\r' <"$ff_root/profiles.ini" | awk -F= '
    /^\[/ { install = ($0 ~ /^\[Install/); path = ""; dflt = 0 }
    install && $1 == "Default" { print $2; exit }
    !install && $1 == "Path" { path = $2 }
    !install && $1 == "Default" && $2 == "1" { dflt = 1 }
    !install && dflt && path != "" && !fallback { fallback = path }
    END { if (fallback) print fallback }' | head -1)
[ -n "$ff_rel" ] || die "profiles.ini names no default Firefox profile"
ff_name=${ff_rel##*/}
[ -d "$ff_root/$ff_rel" ] || die "no Firefox profile folder $ff_root/$ff_rel"
ff_home=$work/firefox-home
ff_profile=$ff_home/.mozilla/firefox/$ff_name
ff_cache=$ff_home/.cache/mozilla/firefox/$ff_name
mkdir -p "$ff_home/.mozilla/firefox" "$ff_home/.cache/mozilla/firefox"
cp -a "$ff_root/$ff_rel" "$ff_profile" || die "could not copy the Firefox profile"
if [ -d "$root/Local/Mozilla/Firefox/Profiles/$ff_name" ]; then
    cp -a "$root/Local/Mozilla/Firefox/Profiles/$ff_name" "$ff_cache" ||
        die "could not copy the Firefox cache"
fi
cat >"$ff_home/.mozilla/firefox/profiles.ini" <<EOF
[Profile0]
Name=$ff_name
IsRelative=1
Path=$ff_name
Default=1

[General]
StartWithLastProfile=1
Version=2
EOF
ff_cookies=$ff_profile/cookies.sqlite

# Queries a copy of a database with its -wal and -journal, so the file the browser opens, and
# what it would roll back or replay, stay as they are.
query() {
    local db=$1 copy=$work/query/db
    rm -rf "$work/query"
    mkdir -p "$work/query"
    cp "$db" "$copy" || return 1
    for side in wal journal; do
        if [ -f "$db-$side" ]; then cp "$db-$side" "$copy-$side" || return 1; fi
    done
    sqlite3 -bail "$copy" "$2" 2>&1
}

# The kept site's cookies as "name|host|creation time": a browser that found the database
# damaged starts an empty one, and the visit sets the cookies again, but with a new creation
# time (setting a cookie that exists keeps the time it was first made).
kept_rows() { # browser, database
    local sql
    case $1 in
    chromium) sql="SELECT name || '|' || host_key || '|' || creation_utc FROM cookies
                   WHERE host_key = '$keep_host' OR host_key LIKE '%.$keep_host' ORDER BY 1" ;;
    firefox) sql="SELECT name || '|' || host || '|' || creationTime FROM moz_cookies
                  WHERE host = '$keep_host' OR host LIKE '%.$keep_host' ORDER BY 1" ;;
    esac
    [ -f "$2" ] || return 1
    query "$2" "$sql"
}

# --- the browsers ---------------------------------------------------------------------------
start_site_server "$work" --log "$work/requests.log"

# Runs a browser with a throwaway home; the requests it made go to $work/<browser>.requests.
run() { # browser, command...
    local browser=$1 log=$work/$1.log status from
    shift
    from=$(($(wc -l <"$work/requests.log") + 1))
    browser_env "$work/$browser-home" "$@" 2>"$log"
    status=$?
    tail -n +"$from" "$work/requests.log" >"$work/$browser.requests"
    if [ "$status" -ne 0 ]; then
        bad "$browser did not run through its visits on the cleaned profile (exit $status):"
        tail -15 "$log" | sed 's/^/    /'
    fi
}

# The Cookie header of the browser's first request for HOST's home page, after a '>' so that
# a request without one still shows; nothing if there was no such request.
first_request() { # browser, host
    awk -F'\t' -v h="$2" '$1 == h && $2 == "/" { print ">" $3; exit }' "$work/$1.requests"
}

check_requests() { # browser
    local browser=$1 sent names missing=() name
    sent=$(first_request "$browser" "$keep_host")
    if [ -z "$sent" ]; then
        bad "$browser: no request for $keep_url reached the site server"
    else
        names=$(tr ';' '\n' <<<"${sent#>}" | sed 's/^ *//; s/=.*//')
        for name in $keep_cookies; do
            grep -qxF "$name" <<<"$names" || missing+=("$name")
        done
        if [ ${#missing[@]} -eq 0 ]; then
            ok "$browser sent $keep_host its kept cookies: $(echo "$names" | xargs)"
        else
            bad "$browser sent $keep_host without the kept cookie(s) ${missing[*]}" \
                "(Cookie: '${sent#>}')"
        fi
    fi
    sent=$(first_request "$browser" "$gone_host")
    if [ -z "$sent" ]; then
        bad "$browser: no request for $gone_url reached the site server"
    elif [ "$sent" = ">" ]; then
        ok "$browser sent $gone_host no cookie"
    else
        bad "$browser sent $gone_host removed cookies: '${sent#>}'"
    fi
}

check_kept_rows() { # browser, database, rows before the run
    local browser=$1 db=$2 before=$3 after row missing=() name
    for name in $keep_cookies; do
        grep -q "^$name|" <<<"$before" || missing+=("$name")
    done
    if [ ${#missing[@]} -gt 0 ]; then
        bad "$browser: the tree's cookie database lacks the kept cookie(s) ${missing[*]}" \
            "before the browser ran: ${before:-no rows}"
        return
    fi
    if ! after=$(kept_rows "$browser" "$db"); then
        bad "$browser: cannot read the kept cookies from $db after the run: ${after:-no file}"
        return
    fi
    missing=()
    while IFS= read -r row; do
        grep -qxF "$row" <<<"$after" || missing+=("$row")
    done <<<"$before"
    if [ ${#missing[@]} -eq 0 ]; then
        ok "$browser kept the kept cookie rows as they were ($(wc -l <<<"$before") rows)"
    else
        bad "$browser lost or remade the kept cookie rows ${missing[*]}; after the run: $(echo "$after" | xargs)"
    fi
}

# Files a browser leaves when it finds a profile file damaged: Chromium renames a Preferences
# or Local State it cannot read to *.bad; Firefox renames places.sqlite and the like to
# *.corrupt, cookies.sqlite to cookies.sqlite.bak, and prefs.js to Invalidprefs.js.
aside='\.(bad|corrupt|bak|bak-rebuild)$|^Invalidprefs\.js$'
check_renamed_aside() { # browser, folders...
    local browser=$1 found
    shift
    found=$(find "$@" -type f -printf '%P\n' 2>/dev/null | grep -E "(^|/)[^/]*($aside)" | sort)
    if [ -z "$found" ]; then
        ok "$browser renamed nothing aside as damaged"
    else
        bad "$browser renamed damaged files aside: $(echo "$found" | xargs)"
    fi
}

# Every database of the profile: still the same file, with the tables it had, and sound
# (PRAGMA integrity_check on a copy with its -wal and -journal) after the browser ran.
snapshot_dbs() { # browser, folders...
    local browser=$1
    shift
    python3 "$here/reopen_dbs.py" --skip "$aside" snapshot "$work/$browser.dbs" "$@" &
    holder_pid=$!
    for _ in $(seq 600); do
        [ -f "$work/$browser.dbs" ] && return 0
        kill -0 "$holder_pid" 2>/dev/null || die "could not list the databases of the $browser profile"
        sleep 0.05
    done
    die "listing the databases of the $browser profile takes too long"
}
stop_holder() {
    if [ -n "${holder_pid:-}" ]; then
        kill "$holder_pid" 2>/dev/null
        wait "$holder_pid" 2>/dev/null
        holder_pid=
    fi
}
check_dbs() { # browser, folders...
    local browser=$1 report line
    shift
    stop_holder
    report=$(python3 "$here/reopen_dbs.py" --skip "$aside" compare "$work/$browser.dbs" "$@")
    case $? in
    0) ok "$browser: every database still there, whole and sound ($(tail -1 <<<"$report"))" ;;
    1) while IFS= read -r line; do
        bad "$browser: database ${line#"$work"/}"
    done < <(sed '$d' <<<"$report") ;;
    *) die "could not check the databases of the $browser profile" ;;
    esac
}

# Chromium
chromium_before=$(kept_rows chromium "$chromium_cookies")
snapshot_dbs chromium "$udd"
run chromium python3 "$here/browse.py" chromium "$chromium_bin" "$udd" \
    "$(chromium_rules "$port")" "$keep_url" "$gone_url"
rm -f "$udd"/Singleton{Lock,Socket,Cookie}
check_requests chromium
check_renamed_aside chromium "$udd"
check_kept_rows chromium "$chromium_cookies" "$chromium_before"
check_dbs chromium "$udd"

# Firefox
ff_before=$(kept_rows firefox "$ff_cookies")
snapshot_dbs firefox "$ff_profile" "$ff_cache"
marionette_port=$(free_port)
write_firefox_user_js "$ff_profile/user.js" "$port" "$marionette_port"
run firefox python3 "$here/browse.py" firefox "$firefox_bin" "$ff_name" \
    "$marionette_port" "$keep_url" "$gone_url"
check_requests firefox
check_renamed_aside firefox "$ff_profile" "$ff_cache"
check_kept_rows firefox "$ff_cookies" "$ff_before"
check_dbs firefox "$ff_profile" "$ff_cache"

elapsed=$(echo "$(date +%s.%N) $started" | awk '{printf "%.1f", $1 - $2}')
if [ "$problems" -gt 0 ]; then
    echo "reopen_check: $problems problem(s) with the profiles in $root (${elapsed} s)"
    exit 1
fi
echo "reopen_check: Chromium and Firefox took the profiles in $root as they were" \
    "(${elapsed} s, $network network namespace)"
