# Shared by scripts/run and scripts/test: installing what is missing and a private Wine setup.

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)

# Debian packages the build and the tests need.
purgeon_packages=(cmake ninja-build g++ libgtest-dev libgmock-dev googletest
                  g++-mingw-w64-x86-64-posix wine wine64 xvfb xauth xdotool imagemagick
                  sqlite3 chromium firefox-esr nsis zip unzip curl ca-certificates ntfs-3g)
# The fuzz targets (scripts/fuzz): clang's libFuzzer, and an embedded Python with the LZ4 library
# for the browser-data checker's LZ4 reader.
purgeon_packages+=(clang libclang-rt-14-dev python3-dev liblz4-dev)

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

# SQLite's amalgamation, pinned in deps/sqlite.lock, unpacked below build/deps (never committed).
sqlite_dir() {
    source "$root/deps/sqlite.lock"
    echo "$root/build/deps/sqlite-$SQLITE_VERSION"
}

fetch_sqlite() {
    source "$root/deps/sqlite.lock"
    local dir
    dir=$(sqlite_dir)
    if [ -f "$dir/sqlite3.c" ] && echo "$SQLITE_C_SHA256  $dir/sqlite3.c" | sha256sum -c --status; then
        return 0
    fi
    local registry=https://registry.npmjs.org/
    command -v npm >/dev/null && registry=$(npm config get registry 2>/dev/null || echo "$registry")
    local work
    work=$(mktemp -d)
    local tarball="$work/package.tgz"
    echo "Fetching SQLite $SQLITE_VERSION ($SQLITE_PACKAGE $SQLITE_PACKAGE_VERSION)"
    curl -fsSL --retry 3 -o "$tarball" \
        "${registry%/}/$SQLITE_PACKAGE/-/$SQLITE_PACKAGE-$SQLITE_PACKAGE_VERSION.tgz"
    echo "$SQLITE_PACKAGE_SHA256  $tarball" | sha256sum -c --status ||
        { echo "The SQLite package does not match its pinned SHA-256" >&2; rm -rf "$work"; return 1; }
    tar -xzf "$tarball" -C "$work" package/deps/sqlite3/sqlite3.c package/deps/sqlite3/sqlite3.h
    (cd "$work/package/deps/sqlite3" &&
        printf '%s  sqlite3.c\n%s  sqlite3.h\n' "$SQLITE_C_SHA256" "$SQLITE_H_SHA256" | sha256sum -c --status) ||
        { echo "The SQLite sources do not match their pinned SHA-256" >&2; rm -rf "$work"; return 1; }
    rm -rf "$dir"
    mkdir -p "$dir"
    mv "$work/package/deps/sqlite3/sqlite3.c" "$work/package/deps/sqlite3/sqlite3.h" "$dir/"
    rm -rf "$work"
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

# Xvfb alone has no window manager, and Wine waits about 2 s for one whenever a window is hidden:
# the prefix is told there is none.
wine_without_window_manager() {
    wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /t REG_SZ /d N /f >/dev/null 2>&1
}

# The Unix path of one of the prefix's shell folders ("AppData", "Local AppData", ...).
shell_folder() {
    local windows
    windows=$(wine reg query 'HKCU\Software\Microsoft\Windows\CurrentVersion\Explorer\Shell Folders' \
        /v "$1" 2>/dev/null | tr -d '\r' | sed -n 's/.*REG_SZ[[:space:]]*//p')
    winepath -u "$windows" 2>/dev/null | tr -d '\r'
}

wine_down() {
    wineserver -k >/dev/null 2>&1 || true
}
