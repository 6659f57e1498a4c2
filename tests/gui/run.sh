#!/bin/bash
# Runs the window tests on a virtual X server.  Exits 77 (skipped) when
# xvfb-run or xdotool is missing.
set -u
here=$(cd "$(dirname "$0")" && pwd)
blib=${KORVAL_BLIB:?KORVAL_BLIB must name the blib directory of the build}
for tool in xvfb-run xdotool; do
  if ! command -v "$tool" >/dev/null 2>&1; then
    echo "SKIPPED: $tool is not installed (Debian packages xvfb, xauth, xdotool)"
    exit 77
  fi
done
unset WAYLAND_DISPLAY
exec timeout 120 xvfb-run -a -s "-screen 0 1280x1024x24 -noreset" \
  prove -I "$blib/lib" -I "$blib/arch" -I "$here/lib" "$here"
