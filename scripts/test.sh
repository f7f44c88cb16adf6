#!/usr/bin/env bash
# Builds and runs every test of the project: the portable core natively under the
# sanitizers, the Windows build under Wine on a virtual display, the product build
# and its checks, the benchmarks' build and a bounded fuzzing run.
# On a fresh Debian 12 machine run it as root: it installs what is missing.
set -uo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$root"
source scripts/lib/setup.sh

tervik_install_packages
tervik_wine_prefix
tervik_start_xvfb
trap tervik_stop_xvfb EXIT

status=0
step() { echo "== $*"; }

run_preset() {
  local p=$1
  step "configure $p"; cmake --preset "$p" >/dev/null || { status=1; return 1; }
  step "build $p"; cmake --build --preset "$p" || { status=1; return 1; }
}

rm -f build/extra-results.txt build/failed-steps.txt
built=()
for p in native fuzz win64 win32 bench; do
  if run_preset "$p"; then
    built+=("$p")
  else
    echo "preset $p did not build" >> build/failed-steps.txt
  fi
done
has() { [[ " ${built[*]} " == *" $1 "* ]]; }

# The fuzzing run takes one core for several minutes; the Windows tests spend
# much of their time waiting on Wine, so both go on at once.
fuzz_pid=
if has fuzz; then
  step "fuzzing (in the background, log: build/fuzz/fuzz.log)"
  scripts/fuzz.sh > build/fuzz/fuzz.log 2>&1 &
  fuzz_pid=$!
fi

for p in native win64 win32; do
  has "$p" || continue
  rm -rf "build/$p/test-results"
  step "test $p"
  ctest --preset "$p" --output-junit "$root/build/$p/ctest-junit.xml" || status=1
done

# The product itself: its 32-bit build (smoke32: the same sources with the servers
# on loopback) run under Wine's 32-bit part, where this kernel can run it.
if ! tervik_has_wine32; then
  echo "== product smoke test skipped: ${tervik_no_wine32_why:-wine32:i386 is not installed}"
elif ! run_preset smoke32; then
  echo "preset smoke32 did not build" >> build/failed-steps.txt
elif has win64 && has native; then
  step "product smoke test (build/smoke32/tervik.exe under 32-bit Wine)"
  if tests/app/product_smoke.sh build/smoke32/tervik.exe build/win64/tests/app/product_smoke.exe \
       build/native/tools/kpdump 2141; then
    echo "PASS product smoke test" >> build/extra-results.txt
  else
    echo "FAIL product smoke test" >> build/extra-results.txt
    status=1
  fi
fi

if [ -n "$fuzz_pid" ]; then
  step "waiting for the fuzzing run"
  if wait "$fuzz_pid"; then
    echo "PASS fuzzing" >> build/extra-results.txt
  else
    echo "FAIL fuzzing" >> build/extra-results.txt
    tail -30 build/fuzz/fuzz.log
    status=1
  fi
fi

/usr/bin/python3 scripts/lib/summary.py "$root/build" || status=1
exit $status
