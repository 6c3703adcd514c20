#!/usr/bin/env bash
# Runs every fuzz target of a sanitizer build for a while, each on the seed
# corpus kept in fuzz/corpus/ and on what earlier runs found, and prints what
# each reached. A finding stops the run with the crashing input saved beside
# the target.
#   tools/fuzz.sh [SECONDS_EACH] [BUILD]   (defaults: 25 s, build-sanitize)
set -euo pipefail

cd "$(dirname "$0")/.."
root="$(pwd)"
seconds="${1:-25}"
build="${2:-$root/build-sanitize}"

export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"

for target in cp932 media save script check; do
  program="$build/fuzz/${target}_fuzz"
  found="$build/fuzz/found/$target"
  mkdir -p "$found"
  echo "== $target: $seconds s"
  # New inputs go into the build's own corpus; the tree's seeds stay as they are.
  "$program" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -max_len=8192 \
    -print_final_stats=1 -artifact_prefix="$build/fuzz/${target}-" \
    "$found" "$root/fuzz/corpus/$target" 2>"$build/fuzz/$target.log" || {
    tail -n 60 "$build/fuzz/$target.log"
    echo "fuzz target $target failed; the input is in $build/fuzz/${target}-*" >&2
    exit 1
  }
  grep -E "^stat::number_of_executed_units|^stat::average_exec_per_sec|^stat::new_units_added" \
    "$build/fuzz/$target.log" || true
  grep -E "cov: [0-9]+" "$build/fuzz/$target.log" | tail -n 1 || true
done
