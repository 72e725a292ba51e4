#!/usr/bin/env bash
# Cross-builds kvet for 64-bit Windows from this tree, as root on Debian 12:
# installs what it lacks, makes or reuses the static Qt for mingw-w64
# (scripts/windows-qt.sh, cached in /var/cache/kvet) and SQLite's amalgamation
# from Debian's SQLite source (cached there too), builds the programs with the
# same CMake project as the Linux build (warnings as errors) and leaves in
# build-windows/dist/:
#   kvet.exe kvet-demo.exe kvet-check.exe kvet-keeper.exe
#   kvet-<version>-win64.zip      the programs, a kvet.ini to fill in, the guide
#   kvet-setup-<version>.exe      the installer (packaging/windows)
# Every program links Qt, SQLite and the compiler's runtime in: none needs a
# DLL beyond Windows' own (the Wine tests check each one's imports).
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD

packages=(
  cmake ninja-build pkg-config qt6-base-dev qt6-base-dev-tools qt6-base-private-dev
  g++-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64
  dpkg-dev xz-utils tcl nsis python3
)
bash scripts/apt-install.sh "${packages[@]}"

cache=${KVET_QT_CACHE:-/var/cache/kvet}
qt=$(bash scripts/windows-qt.sh | tail -n 1)

# SQLite's amalgamation, made from the source of the SQLite the Linux build
# links (Debian's patches applied), so that both builds run the same SQLite.
sqlite_version=$(dpkg-query -W -f='${Version}' libsqlite3-dev 2>/dev/null || apt-cache policy libsqlite3-dev | awk '/Candidate/ {print $2}')
sqlite=$cache/sqlite-$sqlite_version
if [ ! -f "$sqlite/sqlite3.c" ]; then
  echo "SQLite for Windows: making the amalgamation of SQLite $sqlite_version"
  source scripts/deb-src.sh
  ensure_deb_src sqlite3
  work=$(mktemp -d)
  (cd "$work" && apt-get source -qq sqlite3="$sqlite_version" >/dev/null 2>&1)
  src=$(find "$work" -maxdepth 1 -type d -name 'sqlite3-*' | head -n 1)
  mkdir -p "$work/build"
  (cd "$work/build" && "$src/configure" -q >/dev/null && make -s sqlite3.c >/dev/null)
  mkdir -p "$sqlite.tmp"
  cp "$work/build/sqlite3.c" "$work/build/sqlite3.h" "$sqlite.tmp/"
  rm -rf "$sqlite" "$work"
  mv "$sqlite.tmp" "$sqlite"
fi

python3 packaging/windows/check-manifest.py src/app/kvet.manifest
out=build-windows
"$qt/bin/qt-cmake" -S . -B "$out" -G Ninja \
  -DQT_CHAINLOAD_TOOLCHAIN_FILE="$root/cmake/mingw-w64-x86_64.cmake" \
  -DCMAKE_BUILD_TYPE=Release -DKVET_WERROR=ON \
  -DKVET_BUILD_TESTS=OFF -DKVET_BUILD_BENCH=OFF \
  -DKVET_SQLITE_SOURCE="$sqlite" >/dev/null
cmake --build "$out" -j"$(nproc)"

version=$(sed -n 's/^project(kvet VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)
dist=$out/dist
rm -rf "$dist"
mkdir -p "$dist"
for exe in "$out"/*.exe; do
  x86_64-w64-mingw32-strip -o "$dist/$(basename "$exe")" "$exe"
done
bash packaging/windows/make-dist-files.sh "$dist" "$version"
bash packaging/windows/make-installer.sh "$dist" "$version" "$dist"
echo "Windows build: $(cd "$dist" && ls | tr '\n' ' ')in $dist"
