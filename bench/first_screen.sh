#!/usr/bin/env bash
# Seconds from the start of kvet-demo to its first full screen, RUNS times.
# kvet-demo --snapshot writes its snapshot right after the first full refresh
# has painted; the time is taken from the exec of the program to the opening
# of that file (strace, filtered to these two calls), so that the program's
# exit, which --snapshot adds, is not counted.
#   bash bench/first_screen.sh [RUNS] [kvet-demo options...]
#   e.g. bash bench/first_screen.sh 8                        # in-memory demo
#        bash bench/first_screen.sh 8 --database demo.db     # demo file
# Needs strace (apt-get install strace).
set -euo pipefail
cd "$(dirname "$0")/.."
runs=${1:-5}
shift || true
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
export QT_QPA_PLATFORM=${QT_QPA_PLATFORM:-offscreen}
for ((i = 1; i <= runs; ++i)); do
  strace -f -ttt --seccomp-bpf -e trace=execve,openat -o "$scratch/trace" \
    build/kvet-demo "$@" --snapshot "$scratch/s.json" 2>/dev/null
  awk -v file="$scratch/s.json" '
    /execve\(/ && !start { start = $2 }
    index($0, "openat(") && index($0, "\"" file "\"") && !done { done = $2 }
    END { if (start && done) printf "%.3f\n", done - start; else print "no snapshot written" }' "$scratch/trace"
done
