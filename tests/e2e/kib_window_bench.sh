#!/usr/bin/env bash
# The window benchmark on a tiny file with one key of each kind: it must
# find the real kib window and both peers, see their pixels change after a
# key through XTest and their loops answer a ping, and print a figure for
# each. Figures are not judged here (scripts/bench.sh does that).
set -euo pipefail
build=${KIB_BUILD_DIR:?}
src=${KIB_SOURCE_DIR:?}
b="$build/bench/window"
[ -x "$b/bench_window" ] || { echo "benchmarks not built (KIB_BUILD_BENCH=OFF)"; exit 77; }
out=$("$b/bench_window" --kib "$build/app/kib" --gtk "$b/peer_gtktextview" --stc "$b/peer_stc" \
    --defaults "$src/tests/data/settings/kibparam_defaults.xml" --lines 400 --keys 1) || {
    echo "$out"; echo "FAIL: bench_window failed"; exit 1; }
echo "$out"
fail=0
for who in kib GtkTextView wxSTC; do
    line=$(grep "^$who " <<<"$out" | head -1)
    [[ $line == *"painted and idle"* ]] || { echo "FAIL: no window figures for $who"; fail=1; }
done
for key in "type x" "Backspace" "Page Down" "Ctrl+End"; do
    n=$(grep -cE "^  ${key//+/\\+} +pixels min/median +[0-9.]+ / +[0-9.]+ ms +largest repaint +[0-9.]+ / +[0-9.]+ ms +loop answers +[0-9.]+ / +[0-9.]+ ms" <<<"$out" || true)
    [ "$n" -eq 3 ] || { echo "FAIL: '$key' timed for $n of 3 windows"; fail=1; }
done
grep -qE '^@row\|window: typing a character, key to pixels \(median\)\|[0-9.]+ ms\|GtkTextView|^@row\|window: typing a character, key to pixels \(median\)\|[0-9.]+ ms\|wxSTC' <<<"$out" ||
    { echo "FAIL: no table row for typing"; fail=1; }
grep -qE '^@row\|window: Ctrl\+End on 2\.5 M lines, key to the new page \(median\)\|[0-9.]+ ms\|' <<<"$out" ||
    { echo "FAIL: no table row for Ctrl+End"; fail=1; }
exit $fail
