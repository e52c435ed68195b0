#!/usr/bin/env bash
# tools/package.sh's release files, checked without installing anything.
# Usage: check.sh PACKAGE_DIR SITE_DIR
set -euo pipefail
out="$(realpath "$1")" site="$(realpath "$2")"
here="$(cd "$(dirname "$0")/../.." && pwd)"
version="$(sed -n 's/^project(fingulp VERSION \([0-9.]*\) .*/\1/p' "$here/CMakeLists.txt")"
arch="$(dpkg --print-architecture)"
deb="$out/fingulp_${version}_$arch.deb"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
fail() { echo "FAIL: $*"; exit 1; }

[ -f "$deb" ] || fail "no $deb"
# lintian leaves its scratch files in TMPDIR: ours goes with $work.
TMPDIR="$work" lintian --fail-on error,warning "$out/fingulp_${version}_$arch.changes" > "$work/lintian" 2>&1 \
  || fail "lintian: $(cat "$work/lintian")"
grep -v 'root privileges' "$work/lintian" || true

# Every file where a player's system looks for it, and nothing else.
dpkg-deb -c "$deb" | awk '$1 !~ /^d/ { print $6 }' | sed 's,^\./,/,' | sort > "$work/files"
s=/usr/share id=io.github.fingulp.Fingulp
printf '%s\n' /usr/games/fingulp $s/applications/$id.desktop $s/doc/fingulp/{changelog.gz,copyright} \
  $s/icons/hicolor/{16x16,32x32,48x48,64x64,128x128,256x256}/apps/fingulp.png $s/man/man6/fingulp.6.gz \
  $s/metainfo/$id.metainfo.xml $s/mime/packages/$id.xml | sort > "$work/expected"
diff -u "$work/expected" "$work/files" || fail "the package's files differ from the list above"

# Removing the package leaves nothing: no maintainer script writes elsewhere.
dpkg-deb -e "$deb" "$work/control"
[ "$(ls "$work/control" | tr '\n' ' ')" = "control md5sums " ] || fail "control area: $(ls "$work/control")"
depends="$(dpkg-deb -f "$deb" Depends)"
[[ "$depends" == *libsdl2-2.0-0* && "$depends" == *libstdc++6* && "$depends" != *-dev* ]] \
  || fail "runtime dependencies: $depends"
grep -q '^Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/' "$here/debian/copyright" \
  && grep -q '^License: Expat' "$here/debian/copyright" && grep -q '^License: OFL-1.1' "$here/debian/copyright" \
  || fail "debian/copyright names neither the code's nor the font's licence in the machine-readable format"

dpkg-deb -x "$deb" "$work/root"
[ "$("$work/root/usr/games/fingulp" --version)" = "fingulp $version" ] || fail "--version is not $version"
page="$work/root/usr/share/man/man6/fingulp.6.gz"
MANWIDTH=80 LC_ALL=C.UTF-8 man --warnings -l "$page" > "$work/page" 2> "$work/page.warnings"
[ ! -s "$work/page.warnings" ] || fail "man: $(cat "$work/page.warnings")"
for section in SYNOPSIS OPTIONS KEYS FILES ENVIRONMENT "EXIT STATUS"; do
  grep -q "^$section" "$work/page" || fail "the manual page has no $section"
done
# What `man -k fingulp` lists once mandb has indexed the page.
lexgrog "$page" | grep -q 'fingulp - steer a fish' || fail "mandb finds no name line: $(lexgrog "$page")"
# Run as root from /usr/games (the unpacked folder, bound there in a mount namespace of
# its own), the game saves at the end signal in the player's folders, never beside itself.
if [ "$(id -u)" = 0 ] && [ -d /usr/games ] && unshare --mount true 2>/dev/null; then
  games="$work/root/usr/games" data="$work/home/.local/share/fingulp"
  mkdir -m 700 "$work/home" "$work/run"
  env -u XDG_DATA_HOME -u XDG_CONFIG_HOME -u DISPLAY -u WAYLAND_DISPLAY HOME="$work/home" \
    XDG_RUNTIME_DIR="$work/run" SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy \
    unshare --mount sh -c 'mount --bind "$1" /usr/games && exec /usr/games/fingulp' sh "$games" \
    > "$work/game.txt" 2>&1 &
  game=$!
  for _ in $(seq 100); do [ -f "$data/config.ini" ] || [ -f "$games/config.ini" ] && break; sleep 0.1; done
  kill -TERM "$game"
  wait "$game" || fail "the installed copy ended with status $?: $(cat "$work/game.txt")"
  [ "$(ls "$games")" = fingulp ] || fail "the installed copy wrote beside itself: $(ls "$games")"
  [ -f "$data/config.ini" ] && [ -f "$work/home/.config/fingulp/window.ini" ] \
    || fail "the installed copy kept no config.ini or window: $(find "$work/home")"
else
  echo "SKIPPED: the copy installed in /usr/games (needs root and unshare)"
fi

# The web archive: the site's files under one folder, sorted, one owner, one time.
archive="$out/fingulp-web-$version.tar.gz"
tar -tzvf "$archive" > "$work/listing"
awk '{ print $6 }' "$work/listing" | grep -v '/$' > "$work/names"
(cd "$site" && find . -type f | sed "s,^\.,fingulp-web-$version," | LC_ALL=C sort) > "$work/site"
diff -u "$work/site" "$work/names" || fail "the web archive does not hold the site's files, sorted"
[ "$(awk '{ print $2, $4, $5 }' "$work/listing" | sort -u)" = "0/0 $(awk 'NR == 1 { print $4, $5 }' "$work/listing")" ] \
  || fail "the web archive's files differ in owner or time"
echo "package: lintian clean, $(wc -l < "$work/files") files, --version, manual page, the installed copy's files at home, web archive of $(wc -l < "$work/names") files"
