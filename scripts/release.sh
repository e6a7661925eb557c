#!/usr/bin/env bash
# Builds every release package of the checked-out commit into dist/:
#   vornette-VERSION-win64.zip and .msi   the Windows programs (the .msi a
#                                         per-user install that puts them on
#                                         the user's PATH)
#   vornette-VERSION-linux-x86_64.tar.gz  the static Linux programs
#   vornette_VERSION-1_amd64.deb          the Debian package
#   vornette-linux-x64-VERSION.vsix,
#   vornette-win32-x64-VERSION.vsix       the VS Code extension
#   vornette-VERSION.tar.gz               the source
#   SHA256SUMS                            over all of them
# Offline but for the package registries the other scripts use. The
# programs, the .deb, the .tar.gz files and the zip are byte for byte the
# same for the same commit: every time in them is the commit's
# (SOURCE_DATE_EPOCH), no build path or PE time stamp is recorded, and
# archive entries are sorted with fixed owners. Fails when an artifact does
# not carry the version of CMakeLists.txt.
# Usage: scripts/release.sh [--programs-only] [OUT_DIR [BUILD_DIR]]
#   --programs-only: only the reproducible packages (no .msi, .vsix, source).
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
only_programs=
if [ "${1:-}" = --programs-only ]; then only_programs=1; shift; fi
out=$(realpath -m "${1:-dist}")
build=$(realpath -m "${2:-build/dist}")
version=$(sed -n 's/^project(Vornette VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)
export SOURCE_DATE_EPOCH=${SOURCE_DATE_EPOCH:-$(git log -1 --format=%ct)}
export TZ=UTC LC_ALL=C
umask 022
fail() { echo "release: $*" >&2; exit 1; }

scripts/deps.sh g++-mingw-w64-x86-64 wine wine64 zip unzip wixl msitools lintian mandoc man-db >/dev/null
git diff --quiet HEAD -- || echo "release: the work tree has changes the source archive leaves out" >&2
rm -rf "$out" "$build/stage" && mkdir -p "$out" "$build/stage"
jobs=$(nproc)
# No path of this machine in the programs: __FILE__ and debug paths
# relative to the source.
prefix_map="-ffile-prefix-map=$root/="

echo "release: building the Linux programs"
cmake -S . -B "$build/linux" -DCMAKE_BUILD_TYPE=Release -DVORNETTE_TESTS=OFF \
  -DCMAKE_CXX_FLAGS="$prefix_map" -DCMAKE_EXE_LINKER_FLAGS="-s" >/dev/null
cmake --build "$build/linux" -j "$jobs" --target vornette vornette-format >/dev/null
echo "release: building the Debian package's programs"
# Debian's rules: linked to the system's C library, hardened.
cmake -S . -B "$build/debian" -DCMAKE_BUILD_TYPE=Release -DVORNETTE_TESTS=OFF -DVORNETTE_STATIC=OFF \
  -DCMAKE_CXX_FLAGS="$prefix_map -fPIE -D_FORTIFY_SOURCE=2 -fstack-protector-strong" \
  -DCMAKE_EXE_LINKER_FLAGS="-s -pie -Wl,-z,relro,-z,now" >/dev/null
cmake --build "$build/debian" -j "$jobs" --target vornette vornette-format >/dev/null
echo "release: building the Windows programs"
cmake -S . -B "$build/windows" -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64.cmake" \
  -DCMAKE_BUILD_TYPE=Release -DVORNETTE_TESTS=OFF -DCMAKE_CXX_FLAGS="$prefix_map" \
  -DCMAKE_EXE_LINKER_FLAGS="-static -s -Wl,--no-insert-timestamp" >/dev/null
cmake --build "$build/windows" -j "$jobs" --target vornette vornette-format >/dev/null

for said in "$("$build/linux/vornette-format" --version)" \
            "$(WINEDEBUG=-all wine "$build/windows/vornette-format.exe" --version 2>/dev/null)"; do
  [ "$said" = "vornette-format $version" ] || fail "a program says \"$said\", not $version"
done
grep -q "^.TH [A-Z-]* 1 [0-9-]* \"Vornette $version\"" packaging/man/*.1 ||
  fail "a man page does not carry $version"

# Files and folders with the commit's time, entries sorted, owned by root.
normalize() { find "$@" -exec touch -h -d "@$SOURCE_DATE_EPOCH" {} +; }
tar_gz() { # OUTPUT FOLDER_IN_CWD
  tar --sort=name --mtime="@$SOURCE_DATE_EPOCH" --owner=0 --group=0 --numeric-owner \
    --mode='u+rwX,go+rX,go-w' -cf - "$2" | gzip -9n >"$1"
}

echo "release: the Linux archive"
linux=vornette-$version-linux-x86_64
stage=$build/stage/$linux
mkdir -p "$stage/man/man1"
cp "$build/linux/vornette" "$build/linux/vornette-format" scripts/git-vornette-format "$stage/"
cp Vornette.ini README.md CHANGELOG.md "$stage/"
cp packaging/man/*.1 "$stage/man/man1/"
normalize "$stage"
(cd "$build/stage" && tar_gz "$out/$linux.tar.gz" "$linux")

echo "release: the Debian package"
deb=$build/stage/deb
mkdir -p "$deb/DEBIAN" "$deb/usr/bin" "$deb/usr/lib/vornette" "$deb/etc/vornette" \
  "$deb/usr/share/man/man1" "$deb/usr/share/doc/vornette"
# The programs read the Vornette.ini beside them: beside them is the
# administrator's /etc/vornette/Vornette.ini.
cp "$build/debian/vornette" "$build/debian/vornette-format" "$deb/usr/lib/vornette/"
strip --remove-section=.comment "$deb"/usr/lib/vornette/vornette*
# The newest version of the C library whose symbols they use.
glibc=$(objdump -T "$deb"/usr/lib/vornette/vornette* | sed -n 's/.*GLIBC_\([0-9.]*\).*/\1/p' | sort -V | tail -1)
ln -s /etc/vornette/Vornette.ini "$deb/usr/lib/vornette/Vornette.ini"
ln -s ../lib/vornette/vornette "$deb/usr/bin/vornette"
ln -s ../lib/vornette/vornette-format "$deb/usr/bin/vornette-format"
cp scripts/git-vornette-format "$deb/usr/bin/"
cp Vornette.ini "$deb/etc/vornette/"
for page in packaging/man/*.1; do gzip -9n <"$page" >"$deb/usr/share/man/man1/${page##*/}.gz"; done
cp packaging/debian/copyright "$deb/usr/share/doc/vornette/"
gzip -9n <CHANGELOG.md >"$deb/usr/share/doc/vornette/changelog.gz"
sed -e "s/@VERSION@/$version/" -e "s/@DATE@/$(date -R -d "@$SOURCE_DATE_EPOCH")/" \
  packaging/debian/changelog.in | gzip -9n >"$deb/usr/share/doc/vornette/changelog.Debian.gz"
echo /etc/vornette/Vornette.ini >"$deb/DEBIAN/conffiles"
size=$(du -sk --apparent-size "$deb/usr" "$deb/etc" | awk '{ s += $1 } END { print s }')
sed -e "s/@VERSION@/$version/" -e "s/@SIZE@/$size/" -e "s/@GLIBC@/$glibc/" \
  packaging/debian/control.in >"$deb/DEBIAN/control"
(cd "$deb" && find usr etc -type f | sort | xargs md5sum >DEBIAN/md5sums)
chmod -R u+rwX,go+rX,go-w "$deb"
normalize "$deb"
dpkg-deb --root-owner-group -Zxz --build "$deb" "$out/vornette_${version}-1_amd64.deb" >/dev/null

echo "release: the Windows zip"
windows=$build/stage/windows
mkdir -p "$windows"
cp "$build/windows/vornette.exe" "$build/windows/vornette-format.exe" scripts/git-vornette-format \
  Vornette.ini packaging/README.txt "$windows/"
normalize "$windows"
(cd "$windows" && ls | sort | zip -X -9 -q "$out/vornette-$version-win64.zip" -@)

if [ -z "$only_programs" ]; then
  echo "release: the Windows installer"
  msi=$out/vornette-$version-win64.msi
  (cd "$windows" && wixl -a x64 -D Version="$version" -D SourceDir=. -o "$msi" \
     "$root/packaging/windows/vornette.wxs")
  # wixl writes no Environment table: the PATH entry, added on install and
  # removed on uninstall, goes in afterwards with its two actions.
  tables=$build/stage/msi
  mkdir -p "$tables"
  printf 'Environment\tName\tValue\tComponent_\ns72\tl255\tL255\ts72\nEnvironment\tEnvironment\n%s\n' \
    $'PathEnv\t=-PATH\t[~];[INSTALLDIR]\tMain' >"$tables/Environment.idt"
  msibuild "$msi" -i "$tables/Environment.idt"
  msidump -d "$tables" "$msi" >/dev/null
  printf 'RemoveEnvironmentStrings\t\t3300\nWriteEnvironmentStrings\t\t5200\n' \
    >>"$tables/InstallExecuteSequence.idt"
  msibuild "$msi" -i "$tables/InstallExecuteSequence.idt"
  grep -q "^ProductVersion	$version" "$tables/Property.idt" || fail "the .msi does not carry $version"

  echo "release: the VS Code packages"
  scripts/vscode.sh "$build/linux/vornette-format" "$build/windows/vornette-format.exe" >/dev/null
  for target in linux-x64 win32-x64; do
    cp "build/vscode/vornette-$target-$version.vsix" "$out/"
    unzip -p "$out/vornette-$target-$version.vsix" extension/package.json |
      grep -q "\"version\": \"$version\"" || fail "the $target .vsix does not carry $version"
  done

  echo "release: the source"
  git archive --format=tar --prefix="vornette-$version/" HEAD | gzip -9n >"$out/vornette-$version.tar.gz"
fi

dpkg-deb -f "$out/vornette_${version}-1_amd64.deb" Version | grep -qx "$version-1" ||
  fail "the .deb does not carry $version"
(cd "$out" && sha256sum -- * >SHA256SUMS)
ls -l "$out"
