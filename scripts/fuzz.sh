#!/usr/bin/env bash
# The fuzzing campaign: builds the fuzz preset (clang's libFuzzer with the address and undefined
# behaviour sanitizers) and runs every target, or the ones named, for SECONDS each (default 60).
# New inputs collect in build/fuzz/corpus/TARGET; the seeds in fuzz/corpus/TARGET stay as they
# are. Findings (crash-*, timeout-*, leak-*, oom-*) land in build/fuzz/findings/TARGET. Prints a
# line per target: executions, coverage (libFuzzer's cov:), features and findings.
#   scripts/fuzz.sh [SECONDS] [TARGET...]
set -euo pipefail
cd "$(dirname "$0")/.."

seconds=60
if [ $# -gt 0 ] && [[ "$1" =~ ^[0-9]+$ ]]; then
  seconds=$1
  shift
fi
mapfile -t all < <(ls fuzz/corpus)
targets=("$@")
[ ${#targets[@]} -eq 0 ] && targets=("${all[@]}")
for target in "${targets[@]}"; do
  if [ ! -d "fuzz/corpus/$target" ]; then
    echo "fuzz.sh: no target $target (targets: ${all[*]})" >&2
    exit 2
  fi
done

cmake --preset fuzz >/dev/null
cmake --build --preset fuzz -j "$(nproc)" --target "${targets[@]/#/fuzz_}"

status=0
printf '%-16s %14s %8s %8s %s\n' target executions cov ft findings
for target in "${targets[@]}"; do
  work=build/fuzz/corpus/$target
  findings=build/fuzz/findings/$target
  mkdir -p "$work" "$findings"
  log=build/fuzz/$target.log
  # A finding stops the run early; the rest of the time is not spent on the other inputs.
  "build/fuzz/fuzz_$target" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=4096 \
    -print_final_stats=1 -artifact_prefix="$findings/" "$work" "fuzz/corpus/$target" \
    >"$log" 2>&1 || status=1
  execs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -1)
  last=$(grep -E '^#[0-9]+' "$log" | tail -1 || true)
  cov=$(sed -n 's/.* cov: \([0-9]*\).*/\1/p' <<<"$last")
  ft=$(sed -n 's/.* ft: \([0-9]*\).*/\1/p' <<<"$last")
  found=$(find "$findings" -type f | wc -l)
  printf '%-16s %14s %8s %8s %s\n' "$target" "${execs:-?}" "${cov:-?}" "${ft:-?}" "$found"
  [ "$found" -eq 0 ] || status=1
done
exit $status
