# Shared by the scripts that run the real browsers against the loopback test sites
# (make_profiles.sh, reopen_check.sh). Sourced; the caller defines die() and, before calling
# browser_env, sets $work to its scratch folder.
# shellcheck shell=bash
# shellcheck disable=SC2034,SC2154 # sets globals for the caller and reads its $work and site facts

browsers_dir=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)

# Where the system lets us, runs the calling script again inside a network namespace of its
# own that has nothing but loopback: then nothing a browser tries can leave the machine,
# whatever it is set to. PURGEON_PROFILES_NETNS=shared in the environment skips that.
# Call as: in_own_netns "$@"   (sets $network to "own" or "shared" when it returns)
in_own_netns() {
    if [ -z "${PURGEON_PROFILES_NETNS:-}" ] && command -v unshare >/dev/null &&
        command -v ip >/dev/null && unshare --net true 2>/dev/null; then
        export PURGEON_PROFILES_NETNS=own
        exec unshare --net -- bash -c 'ip link set lo up && exec "$@"' bash "$0" "$@"
    fi
    network=${PURGEON_PROFILES_NETNS:-shared}
}

# Sets chromium_bin and firefox_bin, or dies.
find_browsers() {
    chromium_bin=/usr/lib/chromium/chromium # the real binary, without the launcher's extra flags
    [ -x "$chromium_bin" ] || chromium_bin=$(command -v chromium) || die "chromium is missing"
    firefox_bin=$(command -v firefox-esr) || die "firefox-esr is missing"
}

# The network service's files: Chromium on Windows keeps them in <profile>\Network, on Linux
# in the profile folder itself.
chromium_network_files=(Cookies Cookies-journal "Network Persistent State" "Reporting and NEL"
    "Reporting and NEL-journal" TransportSecurity "Trust Tokens" "Trust Tokens-journal"
    "SCT Auditing Pending Reports" "Device Bound Sessions" "Device Bound Sessions-journal")

free_port() {
    python3 -c 'import socket; s = socket.socket(); s.bind(("127.0.0.1", 0)); print(s.getsockname()[1])'
}

# Starts site_server.py on a free port, its output in DIR/server.out and its log in
# DIR/server.log; further arguments go to the server. Sets server_pid and port.
start_site_server() {
    local dir=$1
    shift
    : >"$dir/server.out"
    python3 "$browsers_dir/site_server.py" "$@" 0 >>"$dir/server.out" 2>"$dir/server.log" &
    server_pid=$!
    port=
    for _ in $(seq 100); do
        port=$(sed -n 's/^port=//p' "$dir/server.out")
        [ -n "$port" ] && return 0
        kill -0 "$server_pid" 2>/dev/null || die "site server did not start: $(cat "$dir/server.log")"
        sleep 0.05
    done
    die "site server did not report its port"
}

stop_site_server() {
    if [ -n "${server_pid:-}" ]; then
        kill "$server_pid" 2>/dev/null || true
        wait "$server_pid" 2>/dev/null || true
        server_pid=
    fi
}

# Runs a command with a throwaway home, so nothing of the machine's user leaks in or out.
# Usage: browser_env HOME COMMAND...
browser_env() {
    local home=$1
    mkdir -p "$home"
    env -u DISPLAY -u WAYLAND_DISPLAY -u DBUS_SESSION_BUS_ADDRESS \
        HOME="$home" XDG_CONFIG_HOME="$home/.config" XDG_CACHE_HOME="$home/.cache" \
        XDG_DATA_HOME="$home/.local/share" TMPDIR="$work" "${@:2}"
}

# Chromium's resolver rules: the test names go to the site server on PORT (port included),
# every other name fails. Needs keep_hosts and gone_hosts from site_server.py --facts.
chromium_rules() {
    local host rules=
    for host in $keep_hosts $gone_hosts; do
        rules+="MAP $host 127.0.0.1:$1, "
    done
    echo "${rules}MAP * ~NOTFOUND"
}

# Writes firefox_user.js, filled in for the site server's PORT and a Marionette port, to FILE.
# Usage: write_firefox_user_js FILE PORT MARIONETTE_PORT
write_firefox_user_js() {
    sed -e "s/@SITE_PORT@/$2/g" -e "s/@MARIONETTE_PORT@/$3/g" \
        "$browsers_dir/firefox_user.js" >"$1"
}
