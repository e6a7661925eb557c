#!/usr/bin/env bash
# Builds vornette and formats a scratch copy of examples/pick.src with it,
# showing the console lines and what changed.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/deps.sh diffutils
cmake -S . -B build/example -DCMAKE_BUILD_TYPE=Release -DVORNETTE_TESTS=OFF >/dev/null
cmake --build build/example -j "$(nproc)" --target vornette >/dev/null

scratch=$(mktemp -d)
cp build/example/vornette build/example/Vornette.ini "$scratch/"
cp examples/pick.src "$scratch/"
cd "$scratch"
echo "== $scratch/vornette pick.src"
./vornette pick.src
echo
echo "== diff pick.src~ pick.src (the backup, then the formatted file)"
diff --strip-trailing-cr pick.src~ pick.src || true
