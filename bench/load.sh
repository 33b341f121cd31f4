#!/usr/bin/env bash
# Loading benchmark: 1 GiB of ASCII lines and 200 MiB of Japanese UTF-8 into
# the line list. Inputs are made once under ${BENCH_DIR:-/tmp/varnopel-bench}.
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
bin="${BENCH_BIN:-$here/build/bench}"
dir="${BENCH_DIR:-/tmp/varnopel-bench}"
mkdir -p "$dir"
[ -f "$dir/ascii-1g.txt" ] || "$bin/bench_gen" ascii 1024 "$dir/ascii-1g.txt"
[ -f "$dir/utf8ja-200m.txt" ] || "$bin/bench_gen" utf8ja 200 "$dir/utf8ja-200m.txt"
for f in ascii-1g.txt utf8ja-200m.txt; do
  size=$(stat -c %s "$dir/$f")
  echo "== $f ($((size >> 20)) MiB)"
  "$bin/bench_load" "$dir/$f"
done
