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
if [ -x build/kdr450p-editor ] || [ -x build/app/kdr450p-editor ]; then
  exec "$(ls build/kdr450p-editor build/app/kdr450p-editor 2>/dev/null | head -n1)" "${args[@]}"
fi
exec build/tools/kdr450p-tool --help
