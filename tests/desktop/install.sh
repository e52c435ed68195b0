#!/usr/bin/env bash
# `cmake --install` with DESTDIR: the executable, the manual page, the desktop
# entry (naming the executable and the icon), the AppStream metainfo (naming
# the entry) and the icon in every theme size, square, with see-through
# corners from the icon's key colour.
# Usage: install.sh BUILD_DIR
source "$(dirname "$0")/lib.sh"
build="$(realpath "$1")"
root="$work/root"
DESTDIR="$root" cmake --install "$build" --prefix /usr > "$work/install.log" || fail "install failed: $(cat "$work/install.log")"

[ -x "$root/usr/bin/fingulp" ] || fail "no executable in /usr/bin"
grep -q '^\.TH FINGULP 6 .*fingulp [0-9]' "$root/usr/share/man/man6/fingulp.6" || fail "no manual page with its version"
entry="$root/usr/share/applications/io.github.fingulp.Fingulp.desktop"
[ -f "$entry" ] || fail "no desktop entry"
grep -qx 'Exec=fingulp %f' "$entry" && grep -qx 'Icon=fingulp' "$entry" && grep -qx 'Type=Application' "$entry" \
  || fail "the desktop entry does not start fingulp with its icon"
need desktop-file-validate appstreamcli -- desktop-file-utils appstream
desktop-file-validate "$entry" || fail "desktop-file-validate refuses the desktop entry"
grep -qx 'StartupWMClass=fingulp' "$entry" || fail "the desktop entry names no window class"
# Replay files (.fgr) open with the entry, through their MIME type.
grep -qx 'MimeType=application/x-fingulp-replay;' "$entry" || fail "the desktop entry opens no replay files"
python3 - "$root/usr/share/mime/packages/io.github.fingulp.Fingulp.xml" <<'PY' || fail "no MIME type for replay files"
import sys, xml.etree.ElementTree as ET
ns = "{http://www.freedesktop.org/standards/shared-mime-info}"
t = ET.parse(sys.argv[1]).getroot().find(ns + "mime-type")
assert t.get("type") == "application/x-fingulp-replay" and t.find(ns + "glob").get("pattern") == "*.fgr"
PY
meta="$root/usr/share/metainfo/io.github.fingulp.Fingulp.metainfo.xml"
python3 - "$meta" <<'PY' || fail "the metainfo is not valid AppStream for the entry"
import sys, xml.etree.ElementTree as ET
c = ET.parse(sys.argv[1]).getroot()
assert c.tag == "component" and c.get("type") == "desktop-application"
assert c.findtext("id") == "io.github.fingulp.Fingulp"
assert c.find("launchable").text == "io.github.fingulp.Fingulp.desktop"
assert c.find("provides/binary").text == "fingulp"
PY
appstreamcli validate --no-net "$meta" > "$work/appstream.txt" || fail "appstreamcli validate: $(cat "$work/appstream.txt")"
for size in 16 32 48 64 128 256; do
  icon="$root/usr/share/icons/hicolor/${size}x${size}/apps/fingulp.png"
  [ -f "$icon" ] || fail "no ${size}x${size} icon"
  [ "$(identify -format '%wx%h' "$icon")" = "${size}x${size}" ] || fail "the ${size}x${size} icon is $(identify -format '%wx%h' "$icon")"
  # The icon's key colour is see-through somewhere (a corner is not painted).
  [ "$(convert "$icon" -format '%[fx:minima.a]' info:)" = 0 ] || fail "the ${size}x${size} icon has no transparent pixel"
done
echo "install: executable, manual page, desktop entry, replay MIME type, metainfo and six icon sizes"
