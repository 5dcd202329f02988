#!/usr/bin/env bash
# Writes a PNG picture of the editor window showing a sample library, under a virtual X server.
# Usage: tools/screenshot.sh [--language LANG] [OUT.png [LIBRARY.blfl]]
#   (builds the editor first if needed; LANG as in LANGUAGE, e.g. de; default English)
set -euo pipefail
cd "$(dirname "$0")/.."
language=en
if [ "${1:-}" = "--language" ]; then
    language=${2:?--language needs a language such as de}
    shift 2
fi
default_out=docs/screenshot-library.png
[ "$language" = en ] || default_out=docs/screenshot-library-$language.png
out=${1:-$default_out}
library=${2:-tests/app/data/sample.blfl}
editor=""
for candidate in build/app/kdr450p-editor build/kdr450p-editor; do
    [ -x "$candidate" ] && editor=$candidate && break
done
if [ -z "$editor" ]; then
    cmake --preset default >/dev/null
    cmake --build --preset default --target kdr450p-editor
    editor=build/app/kdr450p-editor
fi
command -v xvfb-run >/dev/null || { echo "xvfb-run is needed: apt-get install xvfb xauth" >&2; exit 1; }
mkdir -p "$(dirname "$out")"
# A private settings folder, so the picture never depends on (or changes) the user's settings.
config=$(mktemp -d)
trap 'rm -rf "$config"' EXIT
LANGUAGE=$language XDG_CONFIG_HOME=$config xvfb-run -a -s "-screen 0 1280x800x24" \
    "$editor" "$library" --screenshot "$out"
echo "wrote $out"
