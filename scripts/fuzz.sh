#!/usr/bin/env bash
# A bounded fuzzing run of the parse of DGD.txt (build the fuzz preset first).
# Seeds: the sample file and the small files of fuzz/corpus; what libFuzzer adds
# goes to a temporary folder. Exits non-zero when it finds a crash, a sanitizer
# report, a failed check, a leak or an input that runs longer than the limit.
set -euo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
target="$root/build/fuzz/fuzz/fuzz_kp_parse"
runs=${FUZZ_RUNS:-200000}
if [ ! -x "$target" ]; then
  echo "fuzz.sh: $target is missing; build the fuzz preset first" >&2
  exit 2
fi

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/corpus" "$root/build/fuzz/artifacts"
cp "$root/resources/sample/DGD.txt" "$root"/fuzz/corpus/* "$work/corpus/"

# max_len: room for a whole 30-day file several times over; timeout: seconds
# per input; rss_limit: a parse that swells memory counts as a finding too.
"$target" "$work/corpus" \
  -runs="$runs" -max_len=65536 -timeout=10 -rss_limit_mb=2048 \
  -artifact_prefix="$root/build/fuzz/artifacts/" -print_final_stats=1
