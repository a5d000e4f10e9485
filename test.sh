#!/usr/bin/env bash
# Sets everything up and runs every test: the full build with all unit, GUI
# and end-to-end tests, the core tests again under ASan/UBSan, and each fuzz
# target for a bounded time. Ends non-zero on any failure.
set -uo pipefail
cd "$(dirname "$0")"

scripts/setup.sh || exit 1

failed=()
step() {
  local name=$1; shift
  echo "=== $name"
  if ! "$@"; then
    echo "=== $name FAILED"
    failed+=("$name")
    return 1
  fi
}

if step "configure" cmake --preset default && step "build" cmake --build --preset default; then
  step "tests" ctest --preset default
fi

if step "configure asan" cmake --preset asan && step "build asan" cmake --build --preset asan; then
  export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
  step "tests asan" ctest --preset asan
fi

if command -v clang++ >/dev/null; then
  # A fresh corpus each time, from the seeds only; kept when something was found.
  fuzzwork=$(mktemp -d)
  if step "fuzz" scripts/fuzz.sh -t "${KIB_FUZZ_SECONDS:-30}" -w "$fuzzwork"; then
    rm -rf "$fuzzwork"
  else
    echo "=== fuzz findings and logs kept in $fuzzwork"
  fi
else
  echo "=== clang not found: fuzz targets skipped"
fi

if [ ${#failed[@]} -gt 0 ]; then
  echo "FAILED: ${failed[*]}"
  exit 1
fi
echo "all tests passed"
