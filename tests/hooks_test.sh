#!/usr/bin/env bash
# The editor and version-control snippets of the README, run for real: the
# git pre-commit hook, the pre-commit framework's hooks (when pre-commit is
# installed), the CI step and the Vim filter (when Vim is installed).
# Usage: tests/hooks_test.sh VORNETTE_FORMAT_BINARY SOURCE_DIR
set -euo pipefail
format=$1
source=$2
. "$source/tests/scratch_path.sh"

cd "$work" && git init -q repo && cd repo
git config user.email t@example.com && git config user.name t
cp "$source/scripts/pre-commit" .git/hooks/pre-commit
printf 'def a()\nx=1\nend\n' >"My Prog.SRC"
git add "My Prog.SRC"
git commit -qm unformatted 2>/dev/null && fail "the git hook let an unformatted file pass"
vornette-format -i "My Prog.SRC"
git add "My Prog.SRC"
git commit -qm formatted || fail "the git hook refused a formatted file"

# A file a .vornetteignore leaves out is no reason to refuse a commit.
mkdir System && printf 'x=1\n' >System/bas.src && printf 'system/\n' >.vornetteignore
git add .vornetteignore System/bas.src
git commit -qm vendor || fail "the git hook refused an ignored file"

# The CI step: vornette-format --check . fails on an unformatted tree only.
vornette-format --check . || fail "--check refused a formatted tree"
printf 'x=1\n' >b.dat
vornette-format --check . >/dev/null && fail "--check passed an unformatted tree"
rm b.dat

# pre-commit takes the hooks from this repository: not from a source archive.
if command -v pre-commit >/dev/null && git -C "$source" rev-parse --git-dir >/dev/null 2>&1; then
  printf 'x=1\n' >c.sub
  git add c.sub
  pre-commit try-repo "$source" vornette-format-check --files c.sub >/dev/null 2>&1 &&
    fail "the pre-commit check hook passed an unformatted file"
  pre-commit try-repo "$source" vornette-format-check --files System/bas.src >/dev/null 2>&1 ||
    fail "the pre-commit check hook refused an ignored file"
  pre-commit try-repo "$source" vornette-format --files c.sub >/dev/null 2>&1 || true
  [ "$(cat c.sub)" = "$(printf 'X = 1\r')" ] || fail "the pre-commit hook did not format"
  # Changed lines only: the staged line that the commit touches decides.
  cp "$source/scripts/git-vornette-format" "$work/bin/"
  git add c.sub && git commit -qm c --no-verify
  printf 'y=2\r\n' >>c.sub && git add c.sub
  pre-commit try-repo "$source" git-vornette-format-check >/dev/null 2>&1 &&
    fail "the changed-lines hook passed an unformatted line"
  git-vornette-format --staged && git add c.sub
  pre-commit try-repo "$source" git-vornette-format-check >/dev/null 2>&1 ||
    fail "the changed-lines hook refused a formatted line"
fi

if command -v vim >/dev/null; then
  printf 'if a==1 then\nx=2\nendif\n' >v.src
  vim -Nu NONE -es -c 'set fileformat=dos | %!vornette-format --stdin-filename %' -c wq v.src </dev/null
  cmp -s v.src <(printf 'IF A == 1 THEN\r\n  X = 2\r\nENDIF\r\n') || fail "the Vim filter"
fi
echo "hooks and editor snippets work"
