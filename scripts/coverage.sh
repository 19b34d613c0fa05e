#!/usr/bin/env bash
# Builds the coverage preset, runs the whole suite on it and prints the line and branch coverage
# of src/ and tools/, as a whole and per folder. Counters start from zero on every run.
#   scripts/coverage.sh [ctest arguments]     e.g. -R SavedGame for one group's share
# The per-file figures are in build/coverage/coverage.json (gcovr's summary).
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh
if ! command -v gcovr >/dev/null 2>&1; then
  echo "Installing: gcovr"
  sudo=()
  [ "$(id -u)" -eq 0 ] || sudo=(sudo)
  DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y -qq --no-install-recommends gcovr
fi

cmake --preset coverage >/dev/null
cmake --build --preset coverage -j "$(nproc)"
find build/coverage -name '*.gcda' -delete
status=0
ctest --preset coverage -j "$(nproc)" "$@" || status=$?

# Exception and unreachable branches are the compiler's, not the code's decisions.
gcovr --root . --object-directory build/coverage --filter 'src/' --filter 'tools/' \
  --exclude-throw-branches --exclude-unreachable-branches \
  --json-summary build/coverage/coverage.json >/dev/null

python3 - build/coverage/coverage.json <<'EOF'
import json, os, sys
files = json.load(open(sys.argv[1]))["files"]
rows = {}
for f in files:
    folder = os.path.dirname(f["filename"])
    row = rows.setdefault(folder, [0, 0, 0, 0])
    for i, key in enumerate(("line_covered", "line_total", "branch_covered", "branch_total")):
        row[i] += f[key]
def share(covered, total):
    return "%5.1f %%" % (100.0 * covered / total) if total else "    -  "
total = [sum(r[i] for r in rows.values()) for i in range(4)]
print("%-28s %8s %8s %10s %8s" % ("folder", "lines", "cover", "branches", "cover"))
for folder in sorted(rows) + ["src/ and tools/"]:
    r = total if folder == "src/ and tools/" else rows[folder]
    print("%-28s %8d %8s %10d %8s" % (folder, r[1], share(r[0], r[1]), r[3], share(r[2], r[3])))
EOF
exit "$status"
