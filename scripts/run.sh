#!/usr/bin/env bash
# Builds the program and starts it under Wine: on $DISPLAY when there is one,
# otherwise on a virtual display, where it saves build/screenshot.png after a few
# seconds. On a fresh Debian 12 machine run it as root: it installs what is missing.
set -uo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$root"
source scripts/lib/setup.sh

tervik_install_packages || exit 1
cmake --preset win64 >/dev/null && cmake --build --preset win64 --target tervik || exit 1
tervik_wine_prefix

exe="$root/build/win64/tervik.exe"
if [ -n "${DISPLAY:-}" ]; then
  exec "$root/scripts/wine-run.sh" "$exe" "$@"
fi

tervik_start_xvfb || exit 1
trap tervik_stop_xvfb EXIT
"$root/scripts/wine-run.sh" "$exe" "$@" &
pid=$!
sleep 6
import -window root "$root/build/screenshot.png" && echo "screenshot: build/screenshot.png"
wait $pid
