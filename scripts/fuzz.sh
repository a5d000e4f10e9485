#!/usr/bin/env bash
# Long fuzzing campaigns over the libFuzzer targets (preset fuzz, clang).
#
#   scripts/fuzz.sh [-t SECONDS] [-w DIR] [--merge] [TARGET...]
#
# Each target runs SECONDS (default $KIB_FUZZ_SECONDS or 600). Its working
# corpus lives in DIR/corpus/<target> (default DIR: $KIB_FUZZ_WORK or
# build/fuzz-work) and grows from run to run; the checked-in seeds in
# tests/fuzz/corpus/<target> are read but never written, except with --merge,
# which adds the working inputs that reach new coverage to the seeds.
# Crashes, timeouts, leaks and out-of-memory inputs are kept in
# DIR/findings/<target>; a target stops at its first finding. Inputs that
# merely ran slowly once (slow-unit-*, often a busy machine) are kept there
# too but are no finding. Ends non-zero if anything was found.
set -uo pipefail
cd "$(dirname "$0")/.."

seconds=${KIB_FUZZ_SECONDS:-600}
work=${KIB_FUZZ_WORK:-build/fuzz-work}
merge=no
targets=()

usage() { sed -n '2,14s/^# \{0,1\}//p' "$0"; exit "${1:-0}"; }
# Findings (not slow units) in a folder.
count_findings() { find "$1" -type f ! -name 'slow-unit-*' | wc -l; }

while [ $# -gt 0 ]; do
  case $1 in
    -t) seconds=${2:?}; shift 2 ;;
    -w) work=${2:?}; shift 2 ;;
    --merge) merge=yes; shift ;;
    -h|--help) usage ;;
    -*) echo "fuzz.sh: unknown option $1" >&2; usage 2 ;;
    *) targets+=("$1"); shift ;;
  esac
done
case $seconds in ''|*[!0-9]*) echo "fuzz.sh: -t needs whole seconds" >&2; exit 2 ;; esac

command -v clang++ >/dev/null || { echo "fuzz.sh: clang++ not found (scripts/setup.sh installs it)" >&2; exit 1; }
cmake --preset fuzz >/dev/null && cmake --build --preset fuzz || exit 1

if [ ${#targets[@]} -eq 0 ]; then
  for bin in build/fuzz/tests/fuzz_*; do
    [ -x "$bin" ] && targets+=("$(basename "$bin")")
  done
fi

mkdir -p "$work"
work=$(cd "$work" && pwd)
summary=()
found=0
for name in "${targets[@]}"; do
  bin=build/fuzz/tests/$name
  [ -x "$bin" ] || { echo "fuzz.sh: no target $name" >&2; exit 2; }
  seeds=tests/fuzz/corpus/$name
  corpus=$work/corpus/$name
  findings=$work/findings/$name
  log=$work/logs/$name.log
  mkdir -p "$corpus" "$findings" "$work/logs" "$seeds"

  before=$(count_findings "$findings")
  slow_before=$(find "$findings" -type f -name 'slow-unit-*' | wc -l)
  echo "=== fuzz $name (${seconds} s, corpus $corpus)"
  # New inputs go to the first directory only; the seeds stay as they are.
  "$bin" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -print_final_stats=1 \
    -artifact_prefix="$findings/" "$corpus" "$seeds" >"$log" 2>&1
  rc=$?
  after=$(count_findings "$findings")
  slow=$(( $(find "$findings" -type f -name 'slow-unit-*' | wc -l) - slow_before ))

  execs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -1)
  [ -n "$execs" ] || execs=$(grep -o '^#[0-9]*' "$log" | tail -1 | tr -d '#')
  inputs=$(find "$corpus" -type f | wc -l)
  line="$name: ${execs:-?} executions, $inputs corpus inputs, $((after - before)) new findings"
  [ "$slow" -gt 0 ] && line+=", $slow slow inputs"
  if [ $rc -ne 0 ] || [ "$after" -gt "$before" ]; then
    found=1
    line+=" (exit $rc, see $log)"
    tail -50 "$log"
  fi
  echo "$line"
  summary+=("$line")

  if [ "$merge" = yes ]; then
    n0=$(find "$seeds" -type f | wc -l)
    "$bin" -merge=1 -timeout=10 -rss_limit_mb=2048 "$seeds" "$corpus" >>"$log" 2>&1
    n1=$(find "$seeds" -type f | wc -l)
    echo "    merged $((n1 - n0)) new seeds into $seeds"
  fi
done

echo "=== summary"
printf '%s\n' "${summary[@]}"
exit $found
