# Sourced by the benches that watch the window: the program and the pinger, built for Windows.
build="$root/build/windows"
exe="$build/app/win32/purgeon.exe"
ping="$build/bench/purgeon_window_ping.exe"
[ -x "$exe" ] && [ -x "$ping" ] || { echo "build the windows preset first" >&2; exit 1; }
