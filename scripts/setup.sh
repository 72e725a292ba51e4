#!/usr/bin/env bash
# Installs the Debian 12 packages kvet needs that are not there yet, then
# configures and builds it in build/. Run as root (or with sudo available).
set -euo pipefail
cd "$(dirname "$0")/.."

packages=(
  cmake g++ ninja-build pkg-config
  qt6-base-dev qt6-base-dev-tools libgl-dev
  unixodbc unixodbc-dev tdsodbc freetds-bin libsqliteodbc libsqlite3-dev
  googletest libgtest-dev libbenchmark-dev
  xvfb xdotool imagemagick x11-apps x11-xserver-utils x11-utils
  fonts-wqy-microhei dbus-daemon
  clang libclang-rt-dev # sanitizer and libFuzzer runtimes for scripts/test-sanitizers.sh
)
bash scripts/apt-install.sh "${packages[@]}"

# One configuration for scripts/demo.sh and scripts/test.sh alike, so that
# either one after the other finds build/ up to date. Another build type or
# KVET_WERROR=OFF rebuilds everything (and the next run with the default too).
build_type=${KVET_BUILD_TYPE:-RelWithDebInfo}
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE="$build_type" -DKVET_WERROR="${KVET_WERROR:-ON}" >/dev/null
cmake --build build -j"$(nproc)"
