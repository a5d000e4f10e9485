#!/usr/bin/env bash
# Screenshots of the user tools and the update check: "Toolmenü
# konfigurieren" with its macro menu open, the update check's progress
# window and its three messages. One PNG each.
#   scripts/screenshot-tools.sh [build dir] [output folder]
set -euo pipefail
here="$(cd "$(dirname "$0")/.." && pwd)"
build="${1:-$here/build/default}"
out="${2:-$here/build/screenshots}"
mkdir -p "$out"
KIB_SCREENSHOT_DIR="$out" xvfb-run -a -s "-screen 0 1280x1024x24 -nolisten tcp" \
  "$build/tests/gui_toolchain" --gtest_filter='UserToolsTest.MacroMenu*'
KIB_SCREENSHOT_DIR="$out" xvfb-run -a -s "-screen 0 1280x1024x24 -nolisten tcp" \
  "$build/tests/gui_update" --gtest_filter='*OnScreen*:*ProgressWindowPaints*'
ls -l "$out"/tools-*.png "$out"/update-*.png
