#!/usr/bin/env bash
# The Linux and the Windows build format the same files alike: the examples
# and every sample program (when ../shared/corpus/krl is there) are formatted
# by both with the shipped Vornette.ini, and the results, the backups and the
# console lines must be identical byte for byte.
# Usage: tests/compare_builds.sh LINUX_VORNETTE WINDOWS_VORNETTE_EXE SOURCE_DIR
set -euo pipefail
linux=$1
windows=$2
source=$3
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

for side in linux windows; do
  mkdir -p "$work/$side/bin" "$work/$side/files"
  cp "$source/Vornette.ini" "$work/$side/bin/"
  cp "$source"/examples/*.src "$work/$side/files/"
  if [ -d "$source/../shared/corpus/krl" ]; then
    cp -r "$source/../shared/corpus/krl" "$work/$side/files/krl"
    chmod -R u+w "$work/$side/files"
  fi
done
cp "$linux" "$work/linux/bin/vornette"
cp "$windows" "$work/windows/bin/vornette.exe"

# A hundred names a run: a Windows command line holds at most 32767 bytes.
(cd "$work/linux/files" && find . -type f ! -name '*.md' | sed 's|^\./||' | sort >../names)
cp "$work/linux/names" "$work/windows/names"
for side in linux windows; do
  cd "$work/$side/files"
  split -l 100 ../names ../batch.
  for batch in ../batch.*; do
    mapfile -t names <"$batch"
    if [ "$side" = linux ]; then
      ../bin/vornette "${names[@]}" >>../console
    else
      WINEDEBUG=-all wine ../bin/vornette.exe "${names[@]}" >>../console
    fi
  done
  rm ../batch.*
done
if ! diff -r "$work/linux/files" "$work/windows/files" >"$work/diff" ||
   ! cmp -s "$work/linux/console" "$work/windows/console"; then
  head -40 "$work/diff"
  diff <(tr -d '\r' <"$work/linux/console") <(tr -d '\r' <"$work/windows/console") | head -20
  echo "FAIL: the builds differ" >&2
  exit 1
fi
echo "$(wc -l <"$work/linux/names") files formatted alike, backups and console lines too"
