#!/usr/bin/env bash
# Runs every benchmark of the default build and prints their figures (the
# window benchmarks under an Xvfb of their own). Figures only: nothing here
# passes or fails. Build first: cmake --build --preset default
set -uo pipefail
cd "$(dirname "$0")/.."
for bench in build/default/bench/bench_*; do
    [ -x "$bench" ] || continue
    echo "=== $(basename "$bench")"
    case "$(basename "$bench")" in
        bench_ui_*) xvfb-run -a -s "-screen 0 1280x1024x24 -nolisten tcp" "$bench" ;;
        *) "$bench" ;;
    esac
done
