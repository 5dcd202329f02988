#!/usr/bin/env bash
# Builds the Debian package in a built build folder and runs lintian on it (errors fail).
# As root it then installs the package with apt, runs both programs from it, purges it and
# checks that nothing of it is left; other users get a line saying that part was skipped.
# Usage: scripts/check-deb.sh [build-dir]
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}
pkg=kdr450p-editor
fail() { echo "deb check: $*" >&2; exit 1; }
work=$(mktemp -d)
installed=0
cleanup() {
  if [ $installed -eq 1 ]; then
    apt-get remove --purge -y -q -o DPkg::Lock::Timeout=300 "$pkg" >/dev/null 2>&1 || true
  fi
  rm -rf "$work"
}
trap cleanup EXIT

scripts/deps.sh lintian dpkg-dev file

version=$("$build/tools/kdr450p-tool" --version | sed -n 's/^kdr450p-tool //p')
[ -n "$version" ] || fail "$build/tools/kdr450p-tool --version printed no version"
rm -f "$build/${pkg}"_*.deb
(cd "$build" && cpack -G DEB) || fail "cpack -G DEB failed"
debs=("$build/${pkg}"_*.deb)
[ ${#debs[@]} -eq 1 ] && [ -f "${debs[0]}" ] || fail "expected one $pkg .deb in $build, found: ${debs[*]}"
deb=$(realpath "${debs[0]}")
dpkg-deb -f "$deb" Package Version Depends
deb_version=$(dpkg-deb -f "$deb" Version)
[ "${deb_version%-*}" = "$version" ] || fail "package version $deb_version is not the program's $version"
# Without dpkg-shlibdeps the package would install on a machine that cannot run it.
depends=$(dpkg-deb -f "$deb" Depends)
for lib in libqt6core6 libqt6widgets6 libqt6serialport6 libarchive13; do
  grep -qw "$lib" <<<"$depends" || fail "Depends lacks $lib"
done
# The manual pages and the metainfo state the version too.
dpkg-deb -x "$deb" "$work/root"
for page in "$work"/root/usr/share/man/man1/*.1.gz; do
  th=$(zcat "$page" | grep '^\.TH ') || true
  [[ "$th" == *" $version\""* ]] || fail "$(basename "$page") does not state version $version"
done
grep -q "<release version=\"$version\"" "$work"/root/usr/share/metainfo/*.metainfo.xml ||
  fail "the metainfo has no release $version"

echo "-- lintian"
lintian --fail-on error --tag-display-limit 0 "$deb" || fail "lintian reports errors"

if [ "$(id -u)" -ne 0 ]; then
  echo "deb check: not root, so the install, run and removal of the package are skipped (CI runs them as root)"
  echo "deb check: ok (built, lintian without errors)"
  exit 0
fi

# Two runs on one machine would install and remove the one package under each other.
exec 9>/run/lock/kdr450p-check-deb.lock
flock 9
status=$(dpkg-query -W -f='${db:Status-Status}' "$pkg" 2>/dev/null || true)
[ -z "$status" ] || [ "$status" = not-installed ] ||
  fail "$pkg is already on this machine ($status); remove it first: apt-get remove --purge $pkg"

# Paths that exist before the install are not ours to miss afterwards (/usr/share and such);
# files the triggers make from ours (MIME database, desktop caches) are found by name.
ours() { find /usr /etc /var/lib/dpkg/info -iname '*kdr450p*' 2>/dev/null | sort || true; }
ours_in_caches() {
  grep -rl -e ag.brenlow.KDR450PEditor -e x-kdr450p-library /usr/share/applications/*.cache \
      /usr/share/mime/globs2 2>/dev/null | sort || true
}
ours >"$work/named-before"
ours_in_caches >"$work/caches-before"
dpkg-deb --fsys-tarfile "$deb" | tar -t | sed 's|^\./|/|; s|/$||' | grep -v '^$' >"$work/contents"
while read -r p; do
  [ -e "$p" ] && echo "$p"
done <"$work/contents" >"$work/existed"

# apt's progress goes to a log, shown when it fails.
apt() {
  DEBIAN_FRONTEND=noninteractive apt-get -y -q -o DPkg::Lock::Timeout=300 "$@" >"$work/apt.log" 2>&1 ||
    { cat "$work/apt.log" >&2; fail "apt-get $* failed"; }
  grep -E '^(Unpacking|Setting up|Removing|Purging|Processing triggers)' "$work/apt.log" || true
}

echo "-- install"
installed=1
apt install "$deb"
dpkg -L "$pkg" | grep -v '^/\.$' | sort >"$work/listing"
echo "installed $(wc -l <"$work/listing") paths"

out=$(/usr/bin/kdr450p-tool --version) || fail "/usr/bin/kdr450p-tool --version failed"
echo "$out"
[ "$out" = "kdr450p-tool $version" ] || fail "the installed tool says '$out', not version $version"
QT_QPA_PLATFORM=offscreen /usr/bin/kdr450p-editor --version ||
  fail "/usr/bin/kdr450p-editor --version failed"
[ -e /usr/share/mime/application/x-kdr450p-library.xml ] ||
  fail "the MIME type did not reach the MIME database"

echo "-- remove"
apt remove --purge "$pkg"
installed=0
status=$(dpkg-query -W -f='${db:Status-Status}' "$pkg" 2>/dev/null || true)
[ -z "$status" ] || [ "$status" = not-installed ] || fail "after the purge $pkg is still $status"

{
  grep -vxF -f "$work/existed" "$work/listing" | while read -r p; do
    if [ -e "$p" ] || [ -L "$p" ]; then echo "$p"; fi
  done
  comm -13 "$work/named-before" <(ours)
  comm -13 "$work/caches-before" <(ours_in_caches)
} | sort -u >"$work/left"
[ ! -s "$work/left" ] || fail "left behind after the purge:"$'\n'"$(cat "$work/left")"
echo "deb check: ok (built, lintian without errors, installed, ran, purged without a trace)"
