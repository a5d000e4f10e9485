#!/usr/bin/env bash
# Screenshots of the options dialog: each of its eleven pages, the colour
# palette open over the dialog, and an editor after a text block went in.
# Runs the GUI tests of those scenes under their own Xvfb, one PNG each.
#   scripts/screenshot-options.sh [build dir] [output folder]
set -euo pipefail
here="$(cd "$(dirname "$0")/.." && pwd)"
build="${1:-$here/build/default}"
out="${2:-$here/build/screenshots}"
mkdir -p "$out"
KIB_SCREENSHOT_DIR="$out" xvfb-run -a -s "-screen 0 1280x1024x24 -nolisten tcp" \
  "$build/tests/gui_options" --gtest_filter='*OnScreen*'
KIB_SCREENSHOT_DIR="$out" xvfb-run -a -s "-screen 0 1280x1024x24 -nolisten tcp" \
  "$build/tests/gui_app" --gtest_filter='OptionsFrameTest.*OnScreen*'
ls -l "$out"/options-*.png
