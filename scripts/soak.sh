#!/usr/bin/env bash
# Long random play of the sample game: scripts/soak.sh [SEEDS] [EVENTS] [PRESET]
# runs qvsoak for seeds 1..SEEDS (default 5) with EVENTS events each (default 100000) in the
# PRESET build (default release), one summary line per seed, and fails if any seed failed.
set -euo pipefail
cd "$(dirname "$0")/.."

seeds="${1:-5}"
events="${2:-100000}"
preset="${3:-release}"
soak="build/$preset/qvsoak"
if [ ! -x "$soak" ]; then
  echo "soak: $soak is missing; build it with: cmake --build --preset $preset --target qvsoak" >&2
  exit 2
fi

failed=0
start=$(date +%s)
for seed in $(seq 1 "$seeds"); do
  # Sanitizer builds run several times slower: give the hang watchdog room.
  if ! "$soak" --seed "$seed" --events "$events" --watchdog 600; then
    failed=$((failed + 1))
  fi
done
echo "soak: $seeds seeds x $events events in $(($(date +%s) - start)) s, $failed failed"
[ "$failed" -eq 0 ]
