#!/usr/bin/env bash
# Sets up, builds (the same build/ as scripts/demo.sh, warnings as errors) and
# runs every test through CTest; then cross-builds the Windows programs and
# runs their tests under Wine (scripts/test-windows.sh); then the suites again under
# AddressSanitizer/UBSan/LeakSanitizer and the fuzzers (scripts/test-sanitizers.sh).
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
bash scripts/run-ctest.sh build
bash scripts/test-windows.sh
# Then every suite again under the sanitizers, and the fuzzers; KVET_SANITIZERS=0 skips them.
if [ "${KVET_SANITIZERS:-1}" != 0 ]; then
  bash scripts/test-sanitizers.sh
fi
