#!/usr/bin/env bash
# Screenshots of the editor view: a JDK source with line numbers, colours, a
# selection, the column guide, white-space marks and a brace match, and the
# bad-input scenes (binary bytes, a 20 MB line). Runs the editor GUI tests
# under their own Xvfb and saves one PNG per scene.
#   scripts/screenshot-editor.sh [test binary] [output folder]
set -euo pipefail
here="$(cd "$(dirname "$0")/.." && pwd)"
bin="${1:-$here/build/default/tests/gui_editor}"
out="${2:-$here/build/screenshots}"
mkdir -p "$out"
KIB_SCREENSHOT_DIR="$out" xvfb-run -a -s "-screen 0 1024x768x24 -nolisten tcp" \
  "$bin" --gtest_filter='ScreenshotTest.*'
ls -l "$out"/editor-*.png
