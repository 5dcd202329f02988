#!/usr/bin/env bash
# Installs the Debian 12 packages the build needs, when they are missing.
# Usage: scripts/deps.sh [extra-package...]
set -euo pipefail
pkgs=(cmake ninja-build g++ pkg-config qt6-base-dev qt6-base-dev-tools qt6-serialport-dev
      qt6-tools-dev qt6-tools-dev-tools qt6-l10n-tools qt6-translations-l10n libarchive-dev
      libarchive-tools dpkg-dev file
      libgl-dev xvfb xauth "$@")
missing=()
for p in "${pkgs[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0
echo "Installing missing packages: ${missing[*]}"
if [ "$(id -u)" -eq 0 ]; then
  apt-get update -q && DEBIAN_FRONTEND=noninteractive apt-get install -y -q "${missing[@]}"
elif command -v sudo >/dev/null 2>&1; then
  sudo apt-get update -q && sudo DEBIAN_FRONTEND=noninteractive apt-get install -y -q "${missing[@]}"
else
  echo "These Debian packages are needed and this user cannot install them:" >&2
  echo "  ${missing[*]}" >&2
  echo "Ask an administrator to run: apt-get install ${missing[*]}" >&2
  exit 1
fi
