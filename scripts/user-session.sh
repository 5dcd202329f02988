#!/bin/sh
# Runs the scripted first session (start with the simulated controller, upload three library
# definitions, download one back, delete it on the device) on the real window under Xvfb and
# saves the window before and after into docs/screenshots/.
# Usage: scripts/user-session.sh [build-dir]
set -eu
here=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-"$here/build"}
session="$build/tests/app_test_user_session"
[ -x "$session" ] || { echo "build the tests first: $session is missing" >&2; exit 1; }

display=:$(( $$ % 400 + 100 ))
Xvfb "$display" -screen 0 1280x800x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
trap 'kill "$xvfb" 2>/dev/null || true' EXIT INT TERM
sleep 1

DISPLAY=$display QT_QPA_PLATFORM=xcb KDR_SCREENSHOT_DIR="$here/docs/screenshots" "$session"
ls -l "$here/docs/screenshots"/session-*.png
