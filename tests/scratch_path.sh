# Sourced by the shell tests: a scratch folder $work (removed at the end)
# whose bin/ comes first on the PATH, `install_program PROGRAM` that puts a
# copy of PROGRAM there under its own name (the Windows build, NAME.exe,
# with a wrapper NAME that runs it through Wine), the vornette-format under
# test ($format) installed so, and fail().
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir "$work/bin"
export PATH="$work/bin:$PATH"
fail() { echo "FAIL: $*" >&2; exit 1; }
install_program() {
  cp "$1" "$work/bin/"
  local name=${1##*/}
  [ "${name%.exe}" = "$name" ] && return
  printf '#!/bin/sh\nWINEDEBUG=-all exec wine "%s" "$@"\n' "$work/bin/$name" >"$work/bin/${name%.exe}"
  chmod +x "$work/bin/${name%.exe}"
}
install_program "$format"
