#!/usr/bin/env bash
# Writes a PNG picture of the editor window showing a sample library, under a virtual X server.
# Usage: tools/screenshot.sh [--language LANG] [--size WxH] [--simulate] [OUT.png [LIBRARY.blfl]]
#   (builds the editor first; LANG as in LANGUAGE, e.g. de; default English;
#   --size sets the window's size, --simulate shows the simulated controllers' store)
set -euo pipefail
cd "$(dirname "$0")/.."
language=en
size=""
extra=()
while [ $# -gt 0 ]; do
    case $1 in
    --language) language=${2:?--language needs a language such as de}; shift 2 ;;
    --size) size=${2:?--size needs WIDTHxHEIGHT}; shift 2 ;;
    --simulate) extra+=(--simulate); shift ;;
    *) break ;;
    esac
done
[ -z "$size" ] || extra+=(-geometry "$size")
default_out=docs/screenshot-library.png
[ "$language" = en ] || default_out=docs/screenshot-library-$language.png
out=${1:-$default_out}
library=${2:-tests/app/data/sample.blfl}
# Always built first: a stale editor would show an older window than the sources.
cmake --preset default >/dev/null
cmake --build --preset default --target kdr450p-editor >/dev/null
editor=build/app/kdr450p-editor
[ -x "$editor" ] || { echo "no editor at $editor" >&2; exit 1; }
command -v xvfb-run >/dev/null || { echo "xvfb-run is needed: apt-get install xvfb xauth" >&2; exit 1; }
mkdir -p "$(dirname "$out")"
# A private settings folder, so the picture never depends on (or changes) the user's settings.
config=$(mktemp -d)
trap 'rm -rf "$config"' EXIT
LANGUAGE=$language XDG_CONFIG_HOME=$config xvfb-run -a -s "-screen 0 1280x800x24" \
    "$editor" "$library" "${extra[@]}" --screenshot "$out"
echo "wrote $out"
