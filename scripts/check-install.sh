#!/usr/bin/env bash
# Installs into a staging prefix, lists what landed and validates the desktop files.
# Usage: scripts/check-install.sh [build-dir]
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}
stage=$(mktemp -d)
trap 'rm -rf "$stage"' EXIT
cmake --install "$build" --prefix "$stage/usr" >/dev/null
(cd "$stage" && find . -type f | sort)
desktop-file-validate "$stage"/usr/share/applications/*.desktop
appstreamcli validate --no-net "$stage"/usr/share/metainfo/*.metainfo.xml
for b in kdr450p-tool kdr450p-editor; do
  [ -x "$stage/usr/bin/$b" ] || { echo "missing: usr/bin/$b" >&2; exit 1; }
done
echo "install check: ok"
