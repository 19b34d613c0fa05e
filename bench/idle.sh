#!/usr/bin/env bash
# How much of a core a game uses while it waits: qvplay at the sample's title (music playing, the
# waiting cursor running) on SDL's dummy video and audio drivers, measured with GNU time. Two runs,
# one of SETTLE seconds and one of SETTLE + SPAN, are stopped by SIGTERM; the difference of their
# CPU times over SPAN is the waiting game's share, start-up left out. A benchmark, not a test.
#   bench/idle.sh [SPAN] [GAME_DIR]     (defaults: 20 s, the sample game; build/release first)
set -euo pipefail
cd "$(dirname "$0")/.."
span=${1:-20}
settle=5
qvplay=build/release/qvplay
[ -x "$qvplay" ] || { echo "idle.sh: build the release preset first" >&2; exit 2; }
command -v /usr/bin/time >/dev/null || { echo "idle.sh: needs GNU time (apt-get install time)" >&2; exit 2; }
game=${2:-}
if [ -z "$game" ]; then
  game=$(mktemp -d)/sample
  trap 'rm -rf "$(dirname "$game")"' EXIT
  build/release/qvtool make-sample "$game" >/dev/null
fi

cpu_seconds() {  # SECONDS: the CPU time (user + system) of a run stopped after SECONDS
  local out
  out=$(mktemp)
  SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy /usr/bin/time -f "%U %S" -o "$out" \
    timeout -s TERM "$1" "$qvplay" "$game" >/dev/null 2>&1 || true
  tail -n 1 "$out" | awk '{print $1 + $2}'
  rm -f "$out"
}

short=$(cpu_seconds "$settle")
long=$(cpu_seconds $((settle + span)))
awk -v s="$short" -v l="$long" -v span="$span" 'BEGIN {
  share = (l - s) / span * 100; if (share < 0) share = 0
  printf "idle: %.2f s of CPU in %d s of waiting: %.2f %% of a core\n", l - s, span, share }'
