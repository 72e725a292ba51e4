#!/usr/bin/env bash
# Sets up, builds and starts the dashboard on the embedded demo database.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
if [ -n "${DISPLAY:-}" ] || [ -n "${WAYLAND_DISPLAY:-}" ]; then
  exec build/kvet-demo "$@"
fi
# No display on this machine: show the screen on a virtual one and save a picture.
echo "No display found: running on a virtual 1920x1080 screen; picture in build/demo-screenshot.png"
exec xvfb-run -a -s "-screen 0 1920x1080x24" build/kvet-demo --screenshot build/demo-screenshot.png "$@"
