#!/usr/bin/env bash
# git vornette-format in scratch repositories, with real git: only the lines
# a change touches are formatted, in the working tree or as staged, and the
# --diff and --check modes as a team's hook uses them.
# Usage: tests/git_format_test.sh VORNETTE_FORMAT_BINARY SOURCE_DIR
set -euo pipefail
format=$1
source=$2
. "$source/tests/scratch_path.sh"
cp "$source/scripts/git-vornette-format" "$work/bin/"
expect() { # FILE TEXT: the file holds exactly TEXT
  printf "$2" | cmp -s - "$1" || { cat -A "$1" >&2; fail "$1 is not as expected"; }
}

cd "$work" && git init -q repo && cd repo
git config user.email t@example.com && git config user.name t
printf '[Output]\nLineEnding=Auto\n' >Vornette.ini
printf 'DEF main()\nIF a THEN\nx=1\nENDIF\ny=2\nEND\n' >prog.src
printf 'x=1\r\ny=2\r\n' >"caf$(printf '\303\251').dat"
git add . && git commit -qm base

# Edits inside and around a block: only they are formatted.
printf 'DEF main()\nIF a THEN\nx=10\nENDIF\ny=2\nz=3\nEND\n' >prog.src
printf 'x=1\r\ny=20\r\n' >"caf$(printf '\303\251').dat"
git vornette-format
expect prog.src 'DEF main()\nIF a THEN\n    x = 10\nENDIF\ny=2\n  z = 3\nEND\n'
expect "caf$(printf '\303\251').dat" 'x=1\r\ny = 20\r\n'
git vornette-format --check >/dev/null || fail "--check after formatting"
git commit -qam edits

# A deleted line selects the line now standing where it was.
printf 'DEF main()\nIF a THEN\n    x = 10\ny=2\n  z = 3\nEND\n' >prog.src
git vornette-format
expect prog.src 'DEF main()\nIF a THEN\n    x = 10\n    y = 2\n  z = 3\nEND\n'
git checkout -q prog.src

# A new file with a blank in its name is all changed lines; a renamed file
# goes by its new name; untouched lines of it stay.
printf 'def b()\nx=1\nend' >"new prog.SRC"
git mv prog.src moved.src
printf 'DEF main()\nIF a THEN\nx=10\nENDIF\ny=2\n  z = 3\nEND\n' >moved.src
git add -A
git vornette-format
expect "new prog.SRC" 'def b()\n  x = 1\nend'
expect moved.src 'DEF main()\nIF a THEN\n    x = 10\nENDIF\ny=2\n  z = 3\nEND\n'

# Staged against unstaged: refused while a file has both, else the staged
# lines, written to the working file.
git add -A && git commit -qm more
printf 'DEF main()\nIF a THEN\n    x = 10\nENDIF\ny=5\n  z = 3\nEND\n' >moved.src
git add moved.src
printf 'w=1\n' >>moved.src
set +e
errors=$(git vornette-format --staged 2>&1)
status=$?
set -e
[ $status -eq 2 ] && [[ $errors == *moved.src* ]] || fail "--staged took a file with unstaged changes"
git checkout -q moved.src
git vornette-format --staged
expect moved.src 'DEF main()\nIF a THEN\n    x = 10\nENDIF\n  y = 5\n  z = 3\nEND\n'

# --diff changes nothing, and git apply takes what it prints.
git checkout -q moved.src
git vornette-format --diff >"$work/changes.patch" && fail "--diff found nothing"
expect moved.src 'DEF main()\nIF a THEN\n    x = 10\nENDIF\ny=5\n  z = 3\nEND\n'
git apply "$work/changes.patch"
git vornette-format --check >/dev/null || fail "the applied diff left work"

# --check as a pre-commit hook: refuses touched lines that are not
# formatted, lets the same change pass once they are.
git checkout -q moved.src
printf '#!/bin/sh\nexec git vornette-format --staged --check\n' >.git/hooks/pre-commit
chmod +x .git/hooks/pre-commit
git commit -qm unformatted >/dev/null 2>&1 && fail "the hook let unformatted lines pass"
git vornette-format --staged && git add moved.src
git commit -qm formatted || fail "the hook refused formatted lines"

# --check passes on the block warnings of the touched lines only.
printf 'DEF main()\nIF a THEN\n    x = 10\nENDIF\n  y = 5\n  z = 3\nENDLOOP\nEND\nENDFOR\n' >moved.src
git commit -qam loops --no-verify
printf 'DEF main()\nIF a THEN\n    x = 10\nENDIF\n  y = 5\n  z = 3\nENDLOOP\nEND\nENDFOR\nENDWHILE\n' >moved.src
errors=$(git vornette-format --check 2>&1) || fail "--check refused formatted lines"
[ "$errors" = "moved.src:10:1: warning: ENDWHILE closes no open block" ] || fail "warnings: $errors"

# A file a .vornetteignore leaves out is left as it is, and passes --check.
printf 'System/\n' >.vornetteignore && mkdir -p system && printf 'x=1\n' >system/bas.src
git add -A && git commit -qm vendor --no-verify && printf 'y=2\n' >>system/bas.src
git vornette-format --check && git vornette-format || fail "an ignored file was not left alone"
expect system/bas.src 'x=1\ny=2\n'

# Outside a repository, or with an unknown commit: git's own message.
set +e
errors=$(git vornette-format no-such-commit 2>&1)
[ $? -eq 2 ] && [[ $errors == *no-such-commit* ]] || fail "an unknown commit"
errors=$(cd "$work" && git vornette-format 2>&1)
[ $? -eq 2 ] && [[ $errors == *"not a git repository"* ]] || fail "outside a repository"
set -e
echo "git vornette-format works"
