#!/usr/bin/env bash
# Runs one end-to-end script on the headless handset and compares what it
# printed (state lines, the log of sounds, vibration, timers and messages, the
# closing line) with NAME.expected. When NAME.config.in exists it becomes the
# starting "config.ini" (written as UTF-16LE); when NAME.config.expected exists
# the saved "config.ini" must be exactly that text in UTF-16LE.
# FINGULP_UPDATE_EXPECTED=1 rewrites the expected files instead (read the diff!).
set -euo pipefail
sim="$(realpath "$1")"
script="$(realpath "$2")"
base="${script%.sim}"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT

utf16() { python3 -c 'import sys; sys.stdout.buffer.write(sys.stdin.buffer.read().decode("utf-8").encode("utf-16-le"))'; }
from_utf16() { python3 -c 'import sys; sys.stdout.write(sys.stdin.buffer.read().decode("utf-16-le"))'; }

if [ -f "$base.config.in" ]; then utf16 < "$base.config.in" > "$work/config.ini"; fi
(cd "$work" && "$sim" --exe-dir "$work" --log - "$script") > "$work/out.txt"

status=0
if [ "${FINGULP_UPDATE_EXPECTED:-0}" = 1 ]; then
  cp "$work/out.txt" "$base.expected"
  if [ -f "$base.config.expected" ]; then from_utf16 < "$work/config.ini" > "$base.config.expected"; fi
  exit 0
fi
diff -u "$base.expected" "$work/out.txt" || status=1
if [ -f "$base.config.expected" ]; then
  utf16 < "$base.config.expected" > "$work/want.ini"
  if ! cmp -s "$work/want.ini" "$work/config.ini"; then
    echo "config.ini differs:"; diff -u "$base.config.expected" <(from_utf16 < "$work/config.ini") || true
    status=1
  fi
fi
leftovers="$(cd "$work" && ls -A | grep -v -E '^(config\.ini|out\.txt|want\.ini|.*\.png)$' || true)"
if [ -n "$leftovers" ]; then echo "unexpected files left in the folder: $leftovers"; status=1; fi
exit $status
