#!/usr/bin/env bash
# Builds Kib and its benchmarks, installs the peers they are compared with
# (scripts/setup.sh: ripgrep, GTK, the styled text control, XTest/DAMAGE),
# runs every benchmark with its floor or peer in the same run and prints one
# table: figure, floor or peer, ratio, target, met or not. The full output
# of each benchmark is kept in build/default/bench-logs/.
#   scripts/bench.sh            everything
#   scripts/bench.sh window     only the benchmarks whose name holds "window"
# Not part of the test run: figures depend on the machine and its load.
set -uo pipefail
cd "$(dirname "$0")/.."
root=$PWD
filter=${1:-}

bash scripts/setup.sh || { echo "bench: setup failed" >&2; exit 1; }
[ -f build/default/CMakeCache.txt ] || cmake --preset default >/dev/null || exit 1
targets=$(cmake --build --preset default --target help 2>/dev/null |
    sed -n 's/^\.\.\. \(bench_[A-Za-z0-9_]*\|peer_[A-Za-z0-9_]*\).*/\1/p' | sort -u)
echo "bench: building kib, kitprobe and $(echo "$targets" | wc -w) benchmark programs"
# shellcheck disable=SC2086
cmake --build --preset default -j2 --target kib kitprobe $targets >build/default/bench-build.log 2>&1 ||
    { tail -30 build/default/bench-build.log; echo "bench: build failed" >&2; exit 1; }

logs=build/default/bench-logs
mkdir -p "$logs"
rows=$logs/rows.txt
: >"$rows"
xvfb=(xvfb-run -a -s "-screen 0 1280x1024x24 -nolisten tcp -noreset")
b=build/default/bench
for bench in "$b"/bench_* "$b"/ui/bench_ui_* "$b"/window/bench_window; do
    [ -x "$bench" ] || continue
    name=$(basename "$bench")
    [ -n "$filter" ] && [[ $name != *"$filter"* ]] && continue
    echo "bench: running $name" >&2
    case "$name" in
        bench_window)
            "${xvfb[@]}" "$bench" --kib build/default/app/kib --gtk "$b/window/peer_gtktextview" \
                --stc "$b/window/peer_stc" --defaults tests/data/settings/kibparam_defaults.xml ;;
        bench_ui_*) "${xvfb[@]}" "$bench" ;;
        *) "$bench" ;;
    esac >"$logs/$name.txt" 2>&1
    rc=$?
    if grep -q '^@row|' "$logs/$name.txt"; then
        grep '^@row|' "$logs/$name.txt" | sed "s/^@row|/$name|/" >>"$rows"
    else
        echo "$name|(prints no table rows; see $logs/$name.txt)|-|-|-|-|-" >>"$rows"
    fi
    [ $rc -eq 0 ] || echo "$name|(ended with status $rc; see $logs/$name.txt)|-|-|-|-|failed" >>"$rows"
done

echo
echo "Kib benchmarks, $(date -u '+%Y-%m-%d %H:%M UTC'), $(nproc) cores, load $(cut -d' ' -f1-3 /proc/loadavg)"
awk -F'|' '
    { for (i = 2; i <= 7; ++i) { cell[NR, i] = $i; if (length($i) > w[i]) w[i] = length($i) } n = NR }
    END {
        split("figure|value|floor or peer|ratio|target|verdict", head, "|")
        for (i = 2; i <= 7; ++i) if (length(head[i - 1]) > w[i]) w[i] = length(head[i - 1])
        line = ""
        for (i = 2; i <= 7; ++i) line = line sprintf("| %-*s ", w[i], head[i - 1])
        print line "|"
        line = ""
        for (i = 2; i <= 7; ++i) { d = ""; for (k = 0; k < w[i]; ++k) d = d "-"; line = line "|-" d "-" }
        print line "|"
        for (r = 1; r <= n; ++r) {
            line = ""
            for (i = 2; i <= 7; ++i) line = line sprintf("| %-*s ", w[i], cell[r, i])
            print line "|"
        }
    }' "$rows"
over=$(awk -F'|' '$7 == "over target" || $7 == "missing" || $7 == "peer missing" || $7 == "failed"' "$rows" | wc -l)
echo
echo "bench: $over of $(wc -l <"$rows") rows over target, missing or failed; logs in $root/$logs"
