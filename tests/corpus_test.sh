#!/usr/bin/env bash
# vornette over copies of every sample program with the shipped
# Vornette.ini, twice, as a user runs it: the console names every step of
# every file, each backup holds the lines as read (CR LF after each), a
# second run changes nothing, and vornette-format -i gives the same bytes.
# With another vornette (the Linux build, for the Windows one under Wine),
# both give the same files, backups and console lines. Skipped (77) without
# the corpus.
# Usage: tests/corpus_test.sh VORNETTE VORNETTE_FORMAT SOURCE_DIR [OTHER_VORNETTE]
set -euo pipefail
vornette=$1 format=$2 source=$(cd "$3" && pwd) other=${4:+$(realpath "$4")}
corpus=$source/../shared/corpus/krl
[ -d "$corpus" ] || { echo "no KRL corpus on this machine: skipped"; exit 77; }
. "$source/tests/scratch_path.sh"
install_program "$vornette"
cp "$source/Vornette.ini" "$work/bin/"

# Formats copies of the corpus in FOLDER with the command VORNETTE, a
# hundred names a run (a Windows command line holds at most 32767 bytes),
# its console lines in FOLDER.log.
run() {
  local folder=$1 vornette=$2
  if [ ! -d "$folder" ]; then
    cp -r "$corpus" "$folder" && chmod -R u+w "$folder" && find "$folder" -name '*.md' -delete
    (cd "$folder" && find . -type f | sed 's|^\./||' | LC_ALL=C sort >../names)
  fi
  (cd "$folder" && xargs -d '\n' -n 100 "$vornette" <../names >"../$folder.log")
}

cd "$work"
name=${vornette##*/}
run first "${name%.exe}"
expected=$(while read -r f; do
  printf 'Debug: %s file "%s".\r\n' Open "$f" Save "$f~" Process "$f" Save "$f" Done "$f"
done <names)
[ "$(grep -v '^Vornette ' first.log)" = "$expected" ] || fail "the console lines: $(head -3 first.log)"
count=0
while read -r f; do
  perl -0777 -pe 's/\r\n|\r|\n/\r\n/g; $_ .= "\r\n" if length && !/\r\n\z/' "$corpus/$f" |
    cmp -s - "first/$f~" || fail "the backup of $f holds other lines"
  count=$((count + 1))
done <names
cp -r first once && cp first.log once.log
run first "${name%.exe}"
diff -rq -x '*~' once first || fail "a second run changed files"
cp -r "$corpus" again && chmod -R u+w again
vornette-format -i --config bin/Vornette.ini again
diff -rq -x '*~' -x '*.md' once again || fail "vornette-format -i gives other bytes"
if [ -n "$other" ]; then
  mkdir other && cp "$other" bin/Vornette.ini other/
  run second "$work/other/${other##*/}"
  diff -r once second >/dev/null || fail "the two builds format differently"
  cmp -s once.log second.log || fail "the two builds write other console lines"
fi
echo "$count programs formatted, backed up, formatted again and by vornette-format alike"
