# Shared by scripts/run and scripts/test: installing what is missing and a private Wine setup.

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)

# Debian packages the build and the tests need.
purgeon_packages=(cmake ninja-build g++ libgtest-dev libgmock-dev googletest
                  g++-mingw-w64-x86-64-posix wine wine64 xvfb xauth xdotool imagemagick
                  sqlite3 chromium firefox-esr nsis zip unzip curl ca-certificates)

install_missing() {
    local missing=() pkg
    for pkg in "${purgeon_packages[@]}"; do
        dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q 'install ok installed' ||
            missing+=("$pkg")
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    echo "Installing: ${missing[*]}"
    local sudo=()
    [ "$(id -u)" -ne 0 ] && sudo=(sudo)
    "${sudo[@]}" apt-get update -qq
    DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y -qq --no-install-recommends \
        "${missing[@]}" >/dev/null
}

build_preset() {
    cmake --preset "$1" >/dev/null
    cmake --build --preset "$1"
}

# Starts Wine's server and background services for the prefix in WINEPREFIX, creating the prefix
# if needed. Their output goes to /dev/null: they outlive this call and must not hold a pipe open.
wine_up() {
    export WINEDEBUG=${WINEDEBUG:--all}
    mkdir -p "$WINEPREFIX" "$HOME"
    if [ ! -f "$WINEPREFIX/system.reg" ]; then
        WINEDLLOVERRIDES="mscoree=;mshtml=" wineboot --init >/dev/null 2>&1 </dev/null || true
        wineserver -w
    fi
    wineserver -p >/dev/null 2>&1 </dev/null
    wine cmd /c exit >/dev/null 2>&1 </dev/null
}

wine_down() {
    wineserver -k >/dev/null 2>&1 || true
}
