#!/usr/bin/env bash
# The product's smoke test: the 32-bit program, built from the product's sources
# with its servers on loopback (the smoke32 preset), run under Wine's 32-bit part
# against the sample served by FTP, and watched by product_smoke.exe.
#   product_smoke.sh <tervik.exe> <product_smoke.exe> <kpdump> <ftp port>
set -uo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
exe=$1 probe=$2 kpdump=$3 port=$4
sample=$root/resources/sample/DGD.txt

value=$("$kpdump" "$sample" | sed -n 's/^{"value": "\([0-9]*\)".*/\1/p')
[ -n "$value" ] || { echo "kpdump found no value in $sample"; exit 1; }

dir=$(mktemp -d "$root/build/smoke.XXXXXX")
cp "$exe" "$dir/tervik.exe"
# Served as issued now: data issued more than six hours ago would get a second
# tooltip line saying they are out of date.
mkdir "$dir/served"
LC_ALL=C sed "s/^:Issued: .*/:Issued: $(LC_ALL=C date -u '+%H%M UT %d %b %Y')/" "$sample" > "$dir/served/DGD.txt"
sample=$dir/served/DGD.txt
/usr/bin/python3 "$root/scripts/lib/serve_ftp.py" "$sample" "$port" >/dev/null &
server=$!
trap 'kill $server 2>/dev/null; wait $server 2>/dev/null; rm -rf "$dir"' EXIT
for _ in $(seq 50); do
  (echo > "/dev/tcp/127.0.0.1/$port") 2>/dev/null && break
  kill -0 $server 2>/dev/null || { echo "the FTP server did not start (port $port taken?)"; exit 1; }
  sleep 0.1
done

echo "$(file -b "$exe")"
"$root/scripts/wine-run.sh" "$probe" "Z:${dir//\//\\}\\tervik.exe" "Z:${sample//\//\\}" "$value"
