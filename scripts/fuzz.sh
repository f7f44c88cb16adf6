#!/usr/bin/env bash
# A bounded fuzzing run of the parse of DGD.txt and of the 3-day forecast
# (build the fuzz preset first). Seeds: the samples and, for DGD.txt, the small
# files of fuzz/corpus; what libFuzzer adds goes to a temporary folder. Exits
# non-zero when it finds a crash, a sanitizer report, a failed check, a leak or
# an input that runs longer than the limit.
set -euo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
runs=${FUZZ_RUNS:-200000}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p "$root/build/fuzz/artifacts"

# fuzz <target> <runs> <seed>...
fuzz() {
  local target="$root/build/fuzz/fuzz/$1" n=$2
  shift 2
  if [ ! -x "$target" ]; then
    echo "fuzz.sh: $target is missing; build the fuzz preset first" >&2
    exit 2
  fi
  mkdir -p "$work/$(basename "$target")"
  cp "$@" "$work/$(basename "$target")/"
  # max_len: room for a whole 30-day file several times over; timeout: seconds
  # per input; rss_limit: a parse that swells memory counts as a finding too.
  "$target" "$work/$(basename "$target")" \
    -runs="$n" -max_len=65536 -timeout=10 -rss_limit_mb=2048 \
    -artifact_prefix="$root/build/fuzz/artifacts/" -print_final_stats=1
}

fuzz fuzz_kp_parse "$runs" "$root/resources/sample/DGD.txt" "$root"/fuzz/corpus/*
fuzz fuzz_forecast_parse "$((runs / 2))" "$root/resources/sample/3-day-geomag-forecast.txt"
