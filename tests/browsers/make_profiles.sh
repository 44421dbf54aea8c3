#!/usr/bin/env bash
# Builds real Chromium and Firefox profiles by browsing the two loopback test sites, and
# lays them out below OUT the way Windows keeps them under %LOCALAPPDATA% and %APPDATA%.
#
# Usage: make_profiles.sh OUT      (OUT must not exist yet, or be empty)
#
# OUT/Local/Chromium/User Data          Chromium's user data folder (Default profile)
# OUT/Local/Google/Chrome/User Data     the same profile again, as a second browser
# OUT/Roaming/Mozilla/Firefox           profiles.ini, installs.ini, Profiles/<dir>/
# OUT/Local/Mozilla/Firefox/Profiles/<dir>/cache2    Firefox's cache for that profile
# OUT/expect.txt                        key='value' lines: sites, cookies, URLs, paths
#
# Runs as root without a display or network: the browsers reach only the site server on
# loopback, and both are shut down through their own quit commands so that what they keep
# on disk is what a normal exit leaves. Where it may, it runs in a network namespace of its
# own (only loopback); PURGEON_PROFILES_NETNS=shared in the environment skips that.
# shellcheck disable=SC2154 # the site facts are sourced from site_server.py --facts
set -euo pipefail

here=$(cd "$(dirname "$0")" && pwd)

# shellcheck source=browsers_lib.sh
source "$here/browsers_lib.sh"
in_own_netns "$@" # browse with nothing but loopback, where the system lets us

die() {
    echo "make_profiles: $*" >&2
    exit 1
}

[ $# -eq 1 ] || die "usage: make_profiles.sh OUT"
out=$1
if [ -e "$out" ] && [ -n "$(ls -A "$out")" ]; then
    die "$out exists and is not empty"
fi
mkdir -p "$out"
out=$(cd "$out" && pwd)

for tool in python3 sqlite3; do
    command -v "$tool" >/dev/null || die "$tool is missing"
done
find_browsers

started=$(date +%s.%N)
work=$(mktemp -d "${TMPDIR:-/tmp}/purgeon-profiles.XXXXXX")
server_pid=
cleanup() {
    stop_site_server
    rm -rf "$work"
}
trap cleanup EXIT

# --- the sites ---------------------------------------------------------------------------
python3 "$here/site_server.py" --facts >"$work/facts"
# shellcheck source=/dev/null
source "$work/facts" # visit_urls, keep_hosts, gone_hosts and the other site facts
read -r -a visits <<<"$visit_urls"

start_site_server "$work"

# --- Chromium ----------------------------------------------------------------------------
# The test names resolve to the site server (port included); every other name fails.
rules=$(chromium_rules "$port")

chromium_udd=$work/chromium-user-data
browser_env "$work/chromium-home" python3 "$here/browse.py" chromium "$chromium_bin" \
    "$chromium_udd" "$rules" "${visits[@]}" 2>"$work/chromium.log" ||
    die "chromium run failed: $(tail -20 "$work/chromium.log")"

# Linux keeps its running-instance markers in the user data folder; Windows does not.
rm -f "$chromium_udd"/Singleton{Lock,Socket,Cookie}

# Chromium on Windows keeps the network service's files below Default\Network.
default_dir=$chromium_udd/Default
if [ ! -e "$default_dir/Network/Cookies" ]; then
    mkdir -p "$default_dir/Network"
    for f in "${chromium_network_files[@]}"; do
        if [ -e "$default_dir/$f" ]; then
            mv "$default_dir/$f" "$default_dir/Network/$f"
        fi
    done
fi
[ -f "$default_dir/Network/Cookies" ] || die "chromium wrote no Cookies database"

mkdir -p "$out/Local/Chromium" "$out/Local/Google/Chrome"
cp -a "$chromium_udd" "$out/Local/Chromium/User Data"
cp -a "$chromium_udd" "$out/Local/Google/Chrome/User Data"

# --- Firefox -----------------------------------------------------------------------------
firefox_home=$work/firefox-home
mkdir -p "$firefox_home/.mozilla/firefox"
# Firefox names the profiles (a random prefix) and writes its own files for them. A
# profile named "default" sits beside the one in use, as the first run on Windows leaves.
for name in default-release default; do
    browser_env "$firefox_home" "$firefox_bin" --headless -CreateProfile "$name" \
        >>"$work/firefox.log" 2>&1 || die "firefox could not create profile $name"
done
profile_path() { # the folder name that profiles.ini gives the profile named $1
    awk -F= -v want="$1" '
        /^\[/ { name = ""; path = "" }
        $1 == "Name" { name = $2 }
        $1 == "Path" { path = $2 }
        name == want && path != "" { print path; exit }' \
        "$firefox_home/.mozilla/firefox/profiles.ini"
}
ff_profile=$(profile_path default-release)
ff_legacy=$(profile_path default)
if [ -z "$ff_profile" ] || [ -z "$ff_legacy" ]; then
    die "firefox wrote no profiles.ini entries"
fi
ff_dir=$firefox_home/.mozilla/firefox/$ff_profile

marionette_port=$(free_port)
write_firefox_user_js "$ff_dir/user.js" "$port" "$marionette_port"
browser_env "$firefox_home" python3 "$here/browse.py" firefox "$firefox_bin" default-release \
    "$marionette_port" "${visits[@]}" 2>>"$work/firefox.log" ||
    die "firefox run failed: $(tail -20 "$work/firefox.log")"
# The fixture's own preferences file is no part of a user's profile.
rm -f "$ff_dir/user.js"

# Windows: %APPDATA%\Mozilla\Firefox holds profiles.ini and Profiles\<dir>, while
# %LOCALAPPDATA%\Mozilla\Firefox\Profiles\<dir> holds the cache (cache2, startupCache, ...).
roaming=$out/Roaming/Mozilla/Firefox
local_ff=$out/Local/Mozilla/Firefox/Profiles
mkdir -p "$roaming/Profiles" "$local_ff"
for entry in "$firefox_home/.mozilla/firefox"/*; do
    case $(basename "$entry") in
    profiles.ini | installs.ini) ;;
    "$ff_profile" | "$ff_legacy") cp -a "$entry" "$roaming/Profiles/" ;;
    *) cp -a "$entry" "$roaming/" ;;
    esac
done
for p in "$ff_profile" "$ff_legacy"; do
    if [ -d "$firefox_home/.cache/mozilla/firefox/$p" ]; then
        cp -a "$firefox_home/.cache/mozilla/firefox/$p" "$local_ff/"
    else
        mkdir -p "$local_ff/$p"
    fi
    rm -f "$roaming/Profiles/$p/lock" "$roaming/Profiles/$p/.parentlock"
done
[ -d "$local_ff/$ff_profile/cache2" ] || die "firefox wrote no cache2 folder"

# profiles.ini and installs.ini as Firefox writes them on Windows: relative paths with a
# forward slash below Profiles/, and the install section that dedicates the profile to the
# default install folder (C:\Program Files\Mozilla Firefox hashes to 308046B0AF4A39CB).
install_hash=308046B0AF4A39CB
cat >"$roaming/profiles.ini" <<EOF
[Install$install_hash]
Default=Profiles/$ff_profile
Locked=1

[Profile1]
Name=default
IsRelative=1
Path=Profiles/$ff_legacy
Default=1

[Profile0]
Name=default-release
IsRelative=1
Path=Profiles/$ff_profile

[General]
StartWithLastProfile=1
Version=2

EOF
cat >"$roaming/installs.ini" <<EOF
[$install_hash]
Default=Profiles/$ff_profile
Locked=1

EOF

# --- what the tests can rely on ----------------------------------------------------------
chromium_version=$("$chromium_bin" --version 2>/dev/null | awk '{print $2}')
firefox_version=$("$firefox_bin" --version 2>/dev/null | awk '{print $3}')
{
    echo "# Written by make_profiles.sh. Paths are relative to this file's folder."
    echo "# Lists are separated by spaces, titles by '|'."
    cat "$work/facts"
    for b in chromium chrome; do
        case $b in
        chromium) udd="Local/Chromium/User Data" ;;
        chrome) udd="Local/Google/Chrome/User Data" ;;
        esac
        echo "${b}_user_data='$udd'"
        echo "${b}_cookies='$udd/Default/Network/Cookies'"
        echo "${b}_history='$udd/Default/History'"
        echo "${b}_cache='$udd/Default/Cache/Cache_Data'"
        echo "${b}_urls='${visits[*]}'"
        echo "${b}_version='$chromium_version'"
    done
    echo "firefox_root='Roaming/Mozilla/Firefox'"
    echo "firefox_profile_dir='$ff_profile'"
    echo "firefox_other_profile_dir='$ff_legacy'"
    echo "firefox_profile='Roaming/Mozilla/Firefox/Profiles/$ff_profile'"
    echo "firefox_cookies='Roaming/Mozilla/Firefox/Profiles/$ff_profile/cookies.sqlite'"
    echo "firefox_history='Roaming/Mozilla/Firefox/Profiles/$ff_profile/places.sqlite'"
    echo "firefox_cache='Local/Mozilla/Firefox/Profiles/$ff_profile/cache2'"
    echo "firefox_urls='${visits[*]}'"
    echo "firefox_version='$firefox_version'"
} >"$out/expect.txt"

# Anything the browsers asked of the server for a host that is not a test site.
if grep -q '"[A-Z]* [^"]*" 404' "$work/server.log"; then
    echo "make_profiles: note: requests the sites did not serve:" >&2
    grep '"[A-Z]* [^"]*" 404' "$work/server.log" | sort | uniq -c >&2
fi

elapsed=$(echo "$(date +%s.%N) $started" | awk '{printf "%.1f", $1 - $2}')
echo "make_profiles: Chromium $chromium_version and Firefox $firefox_version profiles in $out" \
    "(${elapsed} s, $network network namespace)"
