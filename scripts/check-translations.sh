#!/usr/bin/env bash
# Keeps the translation files in step with the sources.
#   scripts/check-translations.sh           fails when a text of the sources is missing,
#                                           untranslated or obsolete in a translation file
#   scripts/check-translations.sh --update  refreshes every resources/translations/*.ts
# English is the source language: its file holds only the plural forms of the counters.
set -euo pipefail
cd "$(dirname "$0")/.."
qtbin=/usr/lib/qt6/bin
lupdate=${LUPDATE:-$qtbin/lupdate}
lrelease=${LRELEASE:-$qtbin/lrelease}
sources=(app views firmware device transfer library model tools)
opts=(-extensions cpp,h,ui -locations none -source-language en -silent)

refresh() { # ts-file, extra lupdate options...
  local ts=$1; shift
  "$lupdate" "${opts[@]}" "$@" "${sources[@]}" -ts "$ts" 2>&1 |
    grep -v -e "lacks Q_OBJECT macro" || true
}

if [ "${1:-}" = "--update" ]; then
  for ts in resources/translations/kdr450p_*.ts; do
    extra=(-no-obsolete)
    [[ $ts == *_en.ts ]] && extra+=(-pluralonly)
    refresh "$ts" "${extra[@]}"
  done
  exit 0
fi

tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
status=0
for ts in resources/translations/kdr450p_*.ts; do
  copy="$tmp/$(basename "$ts")"
  cp "$ts" "$copy"
  extra=()
  [[ $ts == *_en.ts ]] && extra+=(-pluralonly)
  refresh "$copy" "${extra[@]}" >"$tmp/lupdate.log"
  # A tr() lupdate cannot place in a context is a text no translation reaches.
  if grep -q "cannot be called without context" "$tmp/lupdate.log"; then
    sed 's/^/  /' "$tmp/lupdate.log" | head -20
    status=1
  fi
  obsolete=$(grep -c -E 'type="(obsolete|vanished)"' "$copy" || true)
  report=$("$lrelease" "$copy" -qm "$tmp/out.qm" 2>&1)
  translated=$(sed -n 's/.*Generated \([0-9]*\) translation.*/\1/p' <<<"$report")
  # lrelease counts an empty translation as "untranslated", a filled-in draft as "unfinished".
  unfinished=$(sed -n 's/.*finished and \([0-9]*\) unfinished.*/\1/p' <<<"$report")
  untranslated=$(sed -n 's/.*Ignored \([0-9]*\) untranslated.*/\1/p' <<<"$report")
  unfinished=$(( ${unfinished:-0} + ${untranslated:-0} ))
  echo "$ts: ${translated:-0} translated, $unfinished unfinished, $obsolete obsolete"
  if [ "$unfinished" != 0 ] || [ "$obsolete" != 0 ]; then
    grep -B4 -E 'type="(unfinished|obsolete|vanished)"' "$copy" | grep '<source>' |
      sed 's/^ *<source>/  /; s/<\/source>$//' | head -40 || true
    status=1
  fi
done
[ $status = 0 ] || echo "Run scripts/check-translations.sh --update and translate the texts above." >&2
exit $status
