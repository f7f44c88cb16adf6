#!/usr/bin/env bash
# Builds the program and runs it under Wine, with its window opened from the
# tray as a user would open it, and saves a picture of the screen as
# build/screenshot.png. On $DISPLAY when there is one, otherwise on a virtual
# display. On a fresh Debian 12 machine run it as root: it installs what is missing.
#
#   scripts/run.sh            the demo build (build/demo), downloading the sample
#                             resources/sample/DGD.txt from an FTP server of ours
#                             on 127.0.0.1:2121 (and by HTTP on 2122 for the web
#                             fallback, and beside it the sample 3-day forecast),
#                             its ":Issued:" line set to the current time (data
#                             in date); runs until Ctrl+C
#   scripts/run.sh --stale    the same, issued seven hours ago: out of date
#   scripts/run.sh --live     the product with the real server settings
#                             (build/win32; build/win64 where this kernel cannot
#                             run 32-bit code), downloading from the data provider
#   add --once                to stop right after the screenshot
set -uo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$root"
source scripts/lib/setup.sh

live=0
once=0
age=now
for arg in "$@"; do
  case $arg in
    --live) live=1 ;;
    --once) once=1 ;;
    --stale) age="7 hours ago" ;;
    *) echo "usage: scripts/run.sh [--live | --stale] [--once]" >&2; exit 2 ;;
  esac
done

demo_port=2121
preset=demo

tervik_install_packages || exit 1
if [ $live -eq 1 ]; then
  preset=win64
  tervik_has_wine32 && preset=win32
fi
cmake --preset "$preset" >/dev/null || exit 1
cmake --build --preset "$preset" --target tervik trayclick || exit 1
tervik_wine_prefix

exe="$root/build/$preset/tervik.exe"
trayclick="$root/build/$preset/tools/trayclick.exe"

server_pid=
program_pid=
stop_all() {
  if [ -n "$program_pid" ] && kill -0 "$program_pid" 2>/dev/null; then
    # Closed as a user closes it, so that it takes its icon out of the tray.
    "$root/scripts/wine-run.sh" "$trayclick" --close 1 >/dev/null 2>&1
    for _ in $(seq 50); do kill -0 "$program_pid" 2>/dev/null || break; sleep 0.1; done
    kill "$program_pid" 2>/dev/null
    wait "$program_pid" 2>/dev/null
  fi
  [ -n "$server_pid" ] && kill "$server_pid" 2>/dev/null && wait "$server_pid" 2>/dev/null
  program_pid= server_pid=
  # Only our own display goes; other Wine programs of the prefix (a test run)
  # are left alone.
  if [ -n "${tervik_xvfb_pid:-}" ]; then
    kill "$tervik_xvfb_pid" 2>/dev/null
    wait "$tervik_xvfb_pid" 2>/dev/null
    tervik_xvfb_pid=
  fi
}
trap stop_all EXIT
trap 'exit 130' INT TERM

if [ $live -eq 0 ]; then
  served="$root/build/demo/served-DGD.txt"
  LC_ALL=C sed "s/^:Issued: .*/:Issued: $(LC_ALL=C date -u -d "$age" '+%H%M UT %d %b %Y')/" \
    resources/sample/DGD.txt > "$served"
  /usr/bin/python3 scripts/lib/serve_ftp.py "$served" "$demo_port" &
  server_pid=$!
  for _ in $(seq 50); do
    (echo > "/dev/tcp/127.0.0.1/$demo_port") 2>/dev/null && break
    kill -0 "$server_pid" 2>/dev/null || { echo "the FTP server did not start (port $demo_port taken?)" >&2; exit 1; }
    sleep 0.1
  done
fi

[ -n "${DISPLAY:-}" ] || tervik_start_xvfb || exit 1

rm -f "$(dirname "$exe")/DGD.txt"
"$root/scripts/wine-run.sh" "$exe" &
program_pid=$!

# The first refresh runs before the program takes its first message, so the
# click is handled once the window has something to show.
"$root/scripts/wine-run.sh" "$trayclick" 120 || exit 1
sleep 3
import -window root "$root/build/screenshot.png" && echo "screenshot: build/screenshot.png"

[ $once -eq 1 ] && exit 0
echo "running; Ctrl+C stops the program${server_pid:+ and the FTP server}"
wait "$program_pid"
program_pid=
