#!/usr/bin/env bash
# Makes, or finds already made, the static Qt for 64-bit Windows that the
# Windows build links, and prints its install folder on the last line.
#
# Qt is built from Debian's own source package of the Qt the Linux build uses
# (same version, same patches as far as they touch Windows), cross-compiled with
# mingw-w64 and Debian's Qt as the host Qt (moc, rcc, uic). Only the modules
# kvet links are built: Core, Gui, Widgets, Network and the Windows platform
# plugin; the third-party libraries Qt bundles (zlib, pcre2, harfbuzz,
# freetype, libpng, libjpeg, double-conversion, md4c) are compiled in, so the
# programs need no DLL beyond Windows' own.
#
# The build takes 20-40 minutes on two cores, so it is cached outside the tree:
#   ${KVET_QT_CACHE:-/var/cache/kvet}/qt-<version>-mingw-static-<key>
# where <key> is a hash of the options below, the plugin patch and the
# toolchain file, so that changing any of them builds a new Qt beside the old
# one. `rm -rf /var/cache/kvet` clears every cached Qt (and the SQLite
# amalgamation); the next Windows build then makes them again.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD

toolchain=$root/cmake/mingw-w64-x86_64.cmake
cache=${KVET_QT_CACHE:-/var/cache/kvet}
host_version=$(dpkg-query -W -f='${Version}' qt6-base-dev)   # e.g. 6.4.2+dfsg-10
qt_version=${host_version%%+*}
qt_version=${qt_version%%-*}

# Two mends to the Windows platform plugin of 6.4.2:
# - Debian's source drops src/3rdparty/wintab (Wacom's tablet header), which
#   the plugin (and the Direct2D plugin, built from the same sources)
#   includes for pen tablets. A wall display has none: the plugins are built
#   without their tablet code; the rest of Qt keeps the tabletevent feature
#   (Widgets' API depends on it).
# - With OpenGL off, the dynamicgl feature stays on, and the plugin's window
#   code then reaches for OpenGL classes that are not there.
patch_plugin() {
  local plugin=$1/src/plugins/platforms/windows
  sed -i 's/CONDITION QT_FEATURE_tabletevent/CONDITION FALSE/' "$plugin/CMakeLists.txt" "$plugin/../direct2d/CMakeLists.txt"
  sed -i 's/QT_CONFIG(tabletevent)/0/' "$plugin"/qwindowspointerhandler.h \
    "$plugin"/qwindowspointerhandler.cpp "$plugin"/qwindowscontext.cpp
  sed -i 's/QT_CONFIG(dynamicgl)/(QT_CONFIG(dynamicgl) \&\& QT_CONFIG(opengl))/' "$plugin"/qwindowswindow.cpp
}

options=(
  -DQT_HOST_PATH=/usr
  -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake
  -DQT_QMAKE_TARGET_MKSPEC=win32-g++
  -DCMAKE_BUILD_TYPE=Release
  -DBUILD_SHARED_LIBS=OFF
  -DQT_BUILD_TESTS=OFF -DQT_BUILD_EXAMPLES=OFF -DQT_BUILD_BENCHMARKS=OFF
  -DFEATURE_system_zlib=OFF -DFEATURE_system_pcre2=OFF -DFEATURE_system_harfbuzz=OFF
  -DFEATURE_system_freetype=OFF -DFEATURE_system_png=OFF -DFEATURE_system_jpeg=OFF
  -DFEATURE_system_doubleconversion=OFF -DFEATURE_system_md4c=OFF
  -DFEATURE_sql=OFF -DFEATURE_dbus=OFF -DFEATURE_opengl=OFF -DFEATURE_testlib=OFF
  -DFEATURE_concurrent=OFF -DFEATURE_xml=OFF -DFEATURE_printsupport=OFF -DFEATURE_vulkan=OFF
  -DFEATURE_openssl=OFF
)
key=$( { printf '%s\n' "${options[@]}"; declare -f patch_plugin; grep -v '^#' "$toolchain"; } | sha256sum | cut -c1-12)
prefix=$cache/qt-$qt_version-mingw-static-$key

if [ -f "$prefix/.complete" ]; then
  echo "Qt for Windows: cached in $prefix" >&2
  echo "$prefix"
  exit 0
fi

work=$cache/work-$key
rm -rf "$work"
mkdir -p "$work"
echo "Qt for Windows: building Qt $qt_version for mingw-w64 in $work (20-40 minutes)" >&2

source scripts/deb-src.sh
ensure_deb_src qt6-base
(cd "$work" && apt-get source --download-only -qq qt6-base="$host_version" >/dev/null 2>&1)
tar -C "$work" -xf "$work"/qt6-base_*.orig.tar.xz
src=$(echo "$work"/qtbase-everywhere-src-*)
patch_plugin "$src"

cmake -S "$src" -B "$work/build" -G Ninja -DCMAKE_TOOLCHAIN_FILE="$toolchain" \
  -DCMAKE_INSTALL_PREFIX="$prefix" "${options[@]}" >"$work/configure.log" 2>&1 \
  || { tail -40 "$work/configure.log" >&2; echo "Qt for Windows: configure failed ($work/configure.log)" >&2; exit 1; }
cmake --build "$work/build" -j"$(nproc)" >"$work/build.log" 2>&1 \
  || { grep -B2 -A20 -m3 'error' "$work/build.log" >&2; echo "Qt for Windows: build failed ($work/build.log)" >&2; exit 1; }
rm -rf "$prefix"
cmake --install "$work/build" >"$work/install.log" 2>&1
touch "$prefix/.complete"
rm -rf "$work"
echo "Qt for Windows: built into $prefix" >&2
echo "$prefix"
