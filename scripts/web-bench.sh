#!/usr/bin/env bash
# The benchmarks natively and under Node from the web build, side by side: builds qvbench in the
# release and web presets, runs both with the same filter and prints each benchmark's wall time
# (the fastest of its repetitions: the machine is shared, and other work only ever adds time) and
# the web build's ratio to the native one. A benchmark, not a test.
#   scripts/web-bench.sh [FILTER]     (default: the transition frames, the masked blend, memcpy)
#   REPETITIONS=N                     runs of each benchmark to take the fastest of (default 5)
set -euo pipefail
cd "$(dirname "$0")/.."
filter=${1:-'^(Memcpy|CrossFadeFrame|DissolveFrame|MaskTransitionFrame|MaskedBlend)$'}
repetitions=${REPETITIONS:-5}
export CCACHE_BASEDIR=$PWD CCACHE_NOHASHDIR=true
say() { echo "web-bench: $*" >&2; }

say "building the native qvbench"
[ -f build/release/build.ninja ] || cmake --preset release >&2
cmake --build --preset release --target qvbench >&2
say "building the web qvbench"
eval "$(scripts/web-deps.sh)"
cmake --preset web -DQV_BUILD_BENCH=ON >&2
cmake --build --preset web --target qvbench >&2

out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT
flags=(--benchmark_filter="$filter" --benchmark_repetitions="$repetitions"
  --benchmark_out_format=json)
say "running natively"
build/release/qvbench "${flags[@]}" --benchmark_out="$out/native.json" >"$out/native.txt"
say "running under Node $(node --version)"
node --no-experimental-fetch build/web/node/qvbench.js "${flags[@]}" \
  --benchmark_out="$out/web.json" >"$out/web.txt"

node - "$out/native.json" "$out/web.json" <<'TABLE'
const [native, web] = process.argv.slice(2).map((file) => {
  const fastest = new Map();
  for (const run of require(file).benchmarks) {
    if (run.run_type !== 'iteration') continue;
    const unit = {ns: 1, us: 1e3, ms: 1e6, s: 1e9}[run.time_unit];
    const time = run.real_time * unit;
    fastest.set(run.run_name, Math.min(time, fastest.get(run.run_name) ?? Infinity));
  }
  return fastest;
});
const rows = [['benchmark', 'native ns', 'web ns', 'ratio']];
for (const [name, time] of native) {
  const other = web.get(name);
  rows.push([name, time.toFixed(0), other === undefined ? '-' : other.toFixed(0),
             other === undefined ? '-' : `${(other / time).toFixed(2)}x`]);
}
const widths = rows[0].map((_, i) => Math.max(...rows.map((row) => row[i].length)));
for (const row of rows) {
  console.log(row.map((cell, i) => (i ? cell.padStart(widths[i]) : cell.padEnd(widths[i]))).join('  '));
}
TABLE
