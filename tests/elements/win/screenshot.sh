#!/usr/bin/env bash
# Shows the element test form on the display and takes a picture of the whole
# screen with ImageMagick: screenshot.sh <runner> <test exe> <picture.png>
set -u
runner=$1 exe=$2 picture=$3
dir=$(mktemp -d)
mkdir -p "$(dirname "$picture")"
TERVIK_SHOT_DIR="Z:$dir" "$runner" "$exe" --gtest_filter='Screenshot.*' &
test_pid=$!
for _ in $(seq 1 300); do
  [ -e "$dir/ready" ] && break
  kill -0 $test_pid 2>/dev/null || break
  sleep 0.1
done
status=1
if [ -e "$dir/ready" ]; then
  import -window root "$picture" && status=0
fi
touch "$dir/done"
wait $test_pid || status=1
rm -rf "$dir"
[ $status -eq 0 ] && echo "picture: $picture"
exit $status
