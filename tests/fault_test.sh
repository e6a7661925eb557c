#!/usr/bin/env bash
# Faults from outside while the programs work: two runs of vornette on one
# file, and kills at any moment of a vornette run and of a vornette-format
# -i run. Whatever happens, a user's file is as it was, or formatted, or
# (vornette, which rewrites the file in place after its backup is written)
# cut short with its backup complete; -i leaves every file old or new.
# Usage: tests/fault_test.sh VORNETTE VORNETTE_FORMAT SOURCE_DIR
set -euo pipefail
vornette=$1 format=$2 source=$(cd "$3" && pwd)
. "$source/tests/scratch_path.sh"
install_program "$vornette"
: >"$work/bin/Vornette.ini"
mkdir "$work/files" && cd "$work/files"
vornette=${vornette##*/} vornette=${vornette%.exe} format=vornette-format

# A program of BLOCKS blocks, with the line end END: with LF its backup and
# its result both differ from it; with CR LF it is its backup.
big() {
  awk -v blocks="$1" -v end="$2" 'BEGIN { printf "DEF big()%s", end
    for (i = 0; i < blocks; ++i) printf "if $in[%d]==true then%sx=x+1;count%sendif%s", i % 16, end, end, end
    printf "END%s", end }'
}
now() { date +%s%N; }
big 150000 '\n' >../original
big 150000 '\r\n' >../backup
cp ../original f0.src && "$vornette" f0.src >/dev/null && mv f0.src ../formatted

# Two runs on one file: progress, or a refusal (the file was held by the
# other run); one run or two give the same file, formatting being
# idempotent, and a refused save leaves the other run's complete result.
for round in $(seq 12); do
  cp ../original f0.src
  "$vornette" f0.src >one.log & first=$!
  "$vornette" f0.src >two.log & second=$!
  wait $first && wait $second || fail "a run failed"
  grep -qvaE $'^(Vornette |Debug: |Error: Can not .* werden\r$)' one.log two.log &&
    fail "round $round: $(cat one.log two.log)"
  cmp -s f0.src ../formatted || fail "round $round: two runs left another file"
  cmp -s f0.src~ ../backup || cmp -s f0.src~ ../formatted || fail "round $round: the backup"
done

# Kills: half of them anywhere in about one run's time and somewhat beyond,
# half soon after a file on the disk changed.
kills() { # FILES ARGS...: rounds of a run on FILES copies of the program, killed
  local files=$1 changed=0
  shift
  for ((i = 0; i < files; ++i)); do cp ../original "f$i.src"; done
  local start=$(now)
  "$@" >/dev/null
  local run_time=$(($(now) - start)) size=$(stat -c %s ../original)
  RANDOM=2026
  for round in $(seq 40); do
    for ((i = 0; i < files; ++i)); do cp ../original "f$i.src"; done
    rm -f f0.src~
    "$@" >/dev/null & local running=$!
    if ((round % 2)); then
      local give_up=$(($(now) + 4 * run_time))
      while [ ! -e f0.src~ ] && [ "$(stat -c %s f0.src)" = "$size" ] && (($(now) < give_up)); do :; done
      sleep "$(printf '0.%09d' $((run_time * (RANDOM % 100) / 1000)))"
    else
      sleep "$(printf '%d.%09d' $((run_time * (RANDOM % 1300) / 1000 / 1000000000)) \
                                  $((run_time * (RANDOM % 1300) / 1000 % 1000000000)))"
    fi
    kill -9 $running 2>/dev/null || true
    wait $running 2>/dev/null || true
    for ((i = 0; i < files; ++i)); do
      cmp -s "f$i.src" ../original && continue
      changed=$((changed + 1))
      if [ "$1" = "$format" ]; then
        cmp -s "f$i.src" ../formatted || fail "round $round: f$i.src is neither old nor new"
      else
        cmp -s f0.src~ ../backup || fail "round $round: the source changed, its backup is not whole"
        [ "$(stat -c %s f0.src)" -lt "$(stat -c %s ../formatted)" ] || cmp -s f0.src ../formatted ||
          fail "round $round: the source is garbled"
      fi
    done
  done
  # Some kills must have come after a file was touched, or this proves nothing.
  [ $changed -gt 0 ] || fail "no kill came after $1 touched a file"
}
kills 1 "$vornette" f0.src
big 10000 '\n' >../original
cp ../original f0.src && "$format" -i f0.src && mv f0.src ../formatted
kills 20 "$format" -i .
echo "two runs and kills at any moment left every file whole"
