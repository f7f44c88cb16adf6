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
for p in native win64 win32; do
  rm -rf "build/$p/test-results"
  if run_preset "$p"; then
    step "test $p"
    ctest --preset "$p" --output-junit "$root/build/$p/ctest-junit.xml" || status=1
  else
    echo "preset $p did not build" >> build/failed-steps.txt
  fi
done

step "benchmarks (build only)"
run_preset bench || true

if [ -x scripts/fuzz.sh ]; then
  step "fuzzing"
  if run_preset fuzz && scripts/fuzz.sh; then
    echo "PASS fuzzing" >> build/extra-results.txt
  else
    echo "FAIL fuzzing" >> build/extra-results.txt
    status=1
  fi
fi

/usr/bin/python3 scripts/lib/summary.py "$root/build" || status=1
exit $status
