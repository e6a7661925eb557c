#!/usr/bin/env bash
# Headless Neovim formats sample programs through vornette-format --lsp, the
# whole buffer and a range of lines, and the files it writes hold what
# vornette-format writes (the editor keeps its own line ends, so those are
# not compared); the block warnings it shows are those vornette-format
# prints. Skipped (77) without nvim.
# Usage: tests/neovim_lsp_test.sh VORNETTE_FORMAT_BINARY SOURCE_DIR
set -euo pipefail
format=$1
source=$2
command -v nvim >/dev/null || { echo "no nvim: skipped"; exit 77; }
. "$source/tests/scratch_path.sh"

# Lines without CR, byte-order mark or a last line end: what both must agree on.
lines_of() { sed -e '1s/^\xEF\xBB\xBF//' -e 's/\r$//' "$1" | awk 1; }

samples=("$source/examples/pick.src" "$work/unpaired.src" "$work/frozen.src")
printf '\xEF\xBB\xBFDEF a()\r\n  IF x THEN\r\nEND\r\n;ENDFOLD\r\n' >"$work/unpaired.src"
printf 'def a()\r\nif x then\r\n; vornette: off\r\nx=1   ;  table\r\n  endif\r\n; vornette: on\r\nend\r\n' >"$work/frozen.src"
if [ -d "$source/../shared/corpus/krl" ]; then
  # Every tenth sample program, in a fixed order.
  mapfile -t corpus < <(find "$source/../shared/corpus/krl" -type f \
    \( -iname '*.src' -o -iname '*.dat' -o -iname '*.sub' \) | LC_ALL=C sort | awk 'NR % 10 == 1')
  samples+=("${corpus[@]}")
fi

cd "$work"
count=0
for sample in "${samples[@]}"; do
  cp "$sample" whole.src
  cp "$sample" range.src
  chmod u+w whole.src range.src
  VORNETTE_DIAGNOSTICS=shown.txt nvim --headless -n -u NONE -i NONE \
    -c "luafile $source/tests/neovim_format.lua" whole.src >/dev/null 2>nvim.log ||
    fail "nvim on $sample: $(cat nvim.log)"
  vornette-format --warnings "$sample" >expected.src 2>warnings.txt
  # Neovim holds a byte-order mark apart from the first line's text.
  mark=$(head -c 3 "$sample" | od -An -tx1 | tr -d ' \n')
  sed "s|^$sample:||" warnings.txt | awk -F: -v m="$mark" \
    'BEGIN { OFS = ":" } m == "efbbbf" && $1 == 1 { $2 -= 3 } 1' >expected.txt
  cmp -s shown.txt expected.txt ||
    fail "Neovim shows other warnings for $sample: $(diff expected.txt shown.txt | head -5)"
  warned=$((${warned:-0} + $(wc -l <shown.txt)))
  [[ $sample != */frozen.src ]] || grep -q '^x=1   ;  table' whole.src || fail "Neovim formatted a kept region"
  cmp -s <(lines_of whole.src) <(lines_of expected.src) ||
    fail "Neovim's formatting differs on $sample: $(diff <(lines_of expected.src) <(lines_of whole.src) | head -5)"
  # Lines 3 to 9, or to the last: range formatting gives what --lines gives.
  last=$(awk 'END { print (NR < 9 ? NR : 9) }' "$sample")
  [ "$last" -ge 3 ] || continue
  VORNETTE_LINES=3:$last nvim --headless -n -u NONE -i NONE \
    -c "luafile $source/tests/neovim_format.lua" range.src >/dev/null 2>nvim.log ||
    fail "nvim on $sample: $(cat nvim.log)"
  vornette-format --lines "3:$last" "$sample" >expected.src
  cmp -s <(lines_of range.src) <(lines_of expected.src) ||
    fail "Neovim's range formatting differs on $sample: $(diff <(lines_of expected.src) <(lines_of range.src) | head -5)"
  count=$((count + 1))
done
[ "$count" -gt 0 ] || fail "no program was formatted"
[ "$warned" -gt 0 ] || fail "no warning was shown"
echo "$count programs formatted in Neovim as vornette-format formats them, $warned warnings shown"
