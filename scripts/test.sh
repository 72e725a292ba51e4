#!/usr/bin/env bash
# Sets up, builds and runs every test through CTest; then the same under
# AddressSanitizer/UBSan/LeakSanitizer and the fuzzers (scripts/test-sanitizers.sh).
set -euo pipefail
cd "$(dirname "$0")/.."
KVET_BUILD_TYPE=${KVET_BUILD_TYPE:-Debug} bash scripts/setup.sh
(cd build && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j"$(nproc)" --timeout 300)
# Then every suite again under the sanitizers, and the fuzzers; KVET_SANITIZERS=0 skips them.
if [ "${KVET_SANITIZERS:-1}" != 0 ]; then
  bash scripts/test-sanitizers.sh
fi
