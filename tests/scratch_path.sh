# Sourced by the shell tests: a scratch folder $work (removed at the end)
# whose bin/ comes first on the PATH and holds the vornette-format under
# test as "vornette-format" (the Windows build through Wine), and fail().
# Expects $format, the program's path.
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir "$work/bin"
if [ "${format%.exe}" != "$format" ]; then
  printf '#!/bin/sh\nWINEDEBUG=-all exec wine "%s" "$@"\n' "$format" >"$work/bin/vornette-format"
  chmod +x "$work/bin/vornette-format"
else
  cp "$format" "$work/bin/vornette-format"
fi
export PATH="$work/bin:$PATH"
fail() { echo "FAIL: $*" >&2; exit 1; }
