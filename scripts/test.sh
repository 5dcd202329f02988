#!/usr/bin/env bash
# Builds everything and runs every test: the normal build, then the whole suite under
# ASan+UBSan, the device-link and transfer tests under TSan, the device tests in a build
# without the Linux termios2 backend, a short run of every fuzz target, and an install check
# with the Debian package (built, lintian, and as root installed, run and purged).
# `--quick` stops after the normal build's tests.
set -euo pipefail
cd "$(dirname "$0")/.."

quick=0
[ "${1:-}" = "--quick" ] && quick=1

jobs=$(nproc 2>/dev/null || echo 2)
stage() { printf '\n== %s (%s) ==\n' "$1" "$(date -u +%H:%M:%S)"; }
elapsed() { echo "stage time: $(( $(date +%s) - $1 )) s"; }

extra=(qlcplus-data) # fixture files the import tests read when present
[ $quick -eq 0 ] && extra+=(clang libclang-rt-14-dev desktop-file-utils appstream)
scripts/deps.sh "${extra[@]}"

t0=$(date +%s)
stage "normal build and tests"
cmake --preset default >/dev/null
cmake --build --preset default -j "$jobs"
ctest --preset default -j "$jobs"
# Every text of the sources translated, none obsolete.
scripts/check-translations.sh
elapsed "$t0"
[ $quick -eq 1 ] && exit 0

t=$(date +%s)
stage "ASan+UBSan build and tests"
cmake --preset asan >/dev/null
cmake --build --preset asan -j "$jobs"
ctest --preset asan -j "$jobs"
elapsed "$t"

t=$(date +%s)
stage "TSan build, device-link and transfer tests"
tsan_labels='^(device|transfer|firmware)$'
cmake --preset tsan >/dev/null
# Only the programs of those tests: test names are their target names.
mapfile -t tsan_targets < <(ctest --preset tsan -N -L "$tsan_labels" | sed -n 's/^ *Test *#[0-9]*: *//p')
cmake --build --preset tsan -j "$jobs" --target "${tsan_targets[@]}"
ctest --preset tsan -j "$jobs" -L "$tsan_labels"
elapsed "$t"

t=$(date +%s)
stage "device tests without the termios2 backend (Qt serial ports, over a pseudo-terminal)"
cmake --preset no-termios2 >/dev/null
mapfile -t plain_targets < <(ctest --preset no-termios2 -N -L '^device$' | sed -n 's/^ *Test *#[0-9]*: *//p')
cmake --build --preset no-termios2 -j "$jobs" --target "${plain_targets[@]}"
ctest --preset no-termios2 -j "$jobs" -L '^device$'
elapsed "$t"

if [ -x scripts/fuzz.sh ]; then
  t=$(date +%s)
  stage "fuzz targets"
  scripts/fuzz.sh "${KDR_FUZZ_SECONDS:-60}"
  elapsed "$t"
fi

t=$(date +%s)
stage "install check and Debian package"
scripts/check-install.sh build
scripts/check-deb.sh build
elapsed "$t"

echo
echo "all stages passed in $(( $(date +%s) - t0 )) s"
