#!/usr/bin/env bash
# The Windows build and its tests under Wine: scripts/build-windows.sh, then
# the CTest label "windows" of build/ (made by scripts/setup.sh), one test at
# a time, each Wine call bounded. A missing Windows build fails them here.
set -euo pipefail
cd "$(dirname "$0")/.."
packages=(wine wine64 xvfb imagemagick locales fonts-liberation fonts-wqy-microhei tdsodbc unixodbc)
bash scripts/apt-install.sh "${packages[@]}"
bash scripts/build-windows.sh
cd build
KVET_REQUIRE_WINDOWS=1 ctest --output-on-failure -L windows --timeout "${KVET_TEST_TIMEOUT:-600}"
