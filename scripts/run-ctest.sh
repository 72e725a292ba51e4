#!/usr/bin/env bash
# Runs every CTest test of a build folder: the time-out cases (label
# "stand-in-time-out", which mostly wait on a silent server) all at once in the
# background, the rest as many at once as there are cores. Fails when either
# part fails. Each test may take KVET_TEST_TIMEOUT seconds (300 by default).
#   bash scripts/run-ctest.sh BUILD-DIR [extra ctest options]
set -euo pipefail
dir=$1
shift
cd "$dir"
export QT_QPA_PLATFORM=offscreen
timeout=${KVET_TEST_TIMEOUT:-300}
ctest --output-on-failure -L time-out -LE windows -j8 --timeout "$timeout" "$@" >time-out-tests.log 2>&1 &
waiting=$!
status=0
# The Windows programs' tests under Wine run apart (scripts/test-windows.sh).
ctest --output-on-failure -LE 'time-out|windows' -j"$(nproc)" --timeout "$timeout" "$@" || status=1
if ! wait "$waiting"; then
  status=1
fi
cat time-out-tests.log
exit $status
