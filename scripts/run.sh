#!/usr/bin/env bash
# Builds and starts the editor; without an attached controller it runs against the simulated one.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh
cmake --preset default >/dev/null
cmake --build --preset default
args=("$@")
if [ ${#args[@]} -eq 0 ] && ! ls /dev/serial/by-id/*BRENLOW* >/dev/null 2>&1; then
  args=(--simulate)
fi
# Without the window (KDR_BUILD_GUI off) only the tool is built.
if [ -x build/app/kdr450p-editor ]; then
  exec build/app/kdr450p-editor "${args[@]}"
fi
exec build/tools/kdr450p-tool --help
