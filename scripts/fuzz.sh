#!/usr/bin/env bash
# Builds the libFuzzer targets (clang, ASan + UBSan) into build-fuzz/ and runs
# each for the given number of seconds on its seed corpus.
#   scripts/fuzz.sh [SECONDS] [TARGET...]     (default: 30 s, every target)
# FUZZ_JOBS=N runs N targets at a time; FUZZ_CORPUS=DIR keeps the grown corpus
# there (default: a temporary folder, so the seeds in the tree stay as they are).
# Exits non-zero when a target finds a crash; the input is saved in build-fuzz/crashes/.
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
seconds="${1:-30}"
shift || true
all=(decode lines compare split settings desktop_entry)
targets=("${@:-${all[@]}}")
jobs="${FUZZ_JOBS:-1}"

bash "$here/scripts/setup.sh"
build="$here/build-fuzz"
(cd "$here" && cmake --preset fuzz >/dev/null)
(cd "$here" && cmake --build --preset fuzz --target "${targets[@]/#/fuzz_}")

corpus_root="${FUZZ_CORPUS:-$(mktemp -d)}"
mkdir -p "$build/crashes" "$build/logs"
export ASAN_OPTIONS="detect_leaks=1:abort_on_error=1" UBSAN_OPTIONS="halt_on_error=1:print_stacktrace=1"
export QT_QPA_PLATFORM=offscreen

run() {
  local t="$1"
  mkdir -p "$corpus_root/$t"
  cp -n "$here/tests/fuzz/corpus/$t/"* "$corpus_root/$t/" 2>/dev/null || true
  if "$build/fuzz/fuzz_$t" -max_total_time="$seconds" -max_len=4096 -timeout=20 -rss_limit_mb=2048 \
      -print_final_stats=1 -artifact_prefix="$build/crashes/$t-" "$corpus_root/$t" >"$build/logs/$t.log" 2>&1; then
    echo "fuzz_$t: $(grep -o 'stat::number_of_executed_units: *[0-9]*' "$build/logs/$t.log" | grep -o '[0-9]*$') executions, no crash"
  else
    echo "fuzz_$t: FAILED, see $build/logs/$t.log"; tail -30 "$build/logs/$t.log"; return 1
  fi
}

status=0
pids=()
for t in "${targets[@]}"; do
  run "$t" & pids+=($!)
  if [ "${#pids[@]}" -ge "$jobs" ]; then
    wait "${pids[0]}" || status=1
    pids=("${pids[@]:1}")
  fi
done
for p in "${pids[@]}"; do wait "$p" || status=1; done
exit "$status"
