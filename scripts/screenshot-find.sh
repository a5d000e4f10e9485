#!/usr/bin/env bash
# Screenshots of the find windows: the find and replace dialogs over a
# document, the find-in-files dialog, its progress window and a results
# pane. Runs the find GUI tests under their own Xvfb, one PNG per scene.
#   scripts/screenshot-find.sh [test binary] [output folder]
set -euo pipefail
here="$(cd "$(dirname "$0")/.." && pwd)"
bin="${1:-$here/build/default/tests/gui_find}"
out="${2:-$here/build/screenshots}"
mkdir -p "$out"
KIB_SCREENSHOT_DIR="$out" xvfb-run -a -s "-screen 0 1280x900x24 -nolisten tcp" \
  "$bin" --gtest_filter='FindScreenshotTest.*'
ls -l "$out"/find*.png "$out"/replace*.png
