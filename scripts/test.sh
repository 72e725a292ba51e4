#!/usr/bin/env bash
# Sets up, builds and runs every test through CTest.
set -euo pipefail
cd "$(dirname "$0")/.."
KVET_BUILD_TYPE=${KVET_BUILD_TYPE:-Debug} bash scripts/setup.sh
cd build
QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j"$(nproc)" --timeout 300
