#!/usr/bin/env bash
# Takes the screenshots in docs/screens/ with the headless handset
# (fingulp-sim), at the handset's 176 x 220 and enlarged 2x with crisp pixels.
# Run after a build: tools/screenshots.sh [BUILD_DIR]
set -euo pipefail
cd "$(dirname "$0")/.."
build="${1:-build}"
sim="$(realpath "$build/fingulp-sim")"
out="$(pwd)/docs/screens"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
mkdir -p "$out"

# The same game as tests/e2e/starvation.sim: a small fish is eaten at about
# 16.4 s and the player itself at about 28.5 s; it starves at 45.6 s.
cat > "$work/screens.sim" <<SCRIPT
shot $out/menu.png
key down
key enter
key down
key right
shot $out/options.png
soft left
key down
key enter
shot $out/about.png
soft right
key down
key enter
key down
shot $out/help.png
soft right
soft left
shot $out/title.png
key enter
key up
key up
key up
shot-while-blocked $out/get-ready.png
key enter
shot $out/game-start.png
hold left 200
hold left 600
hold up 600
wait 400
wait 800
hold left 800
hold down 800
hold left 600
hold right 200
hold right 400
hold down 800
hold down 600
hold left 600
hold right 800
wait 300
shot $out/game-eaten-fish.png
wait 11900
shot $out/game-player-eaten.png
wait 20000
shot $out/game-over.png
SCRIPT
(cd "$work" && "$sim" --exe-dir "$work" "$work/screens.sim" >/dev/null)
for f in "$out"/*.png; do
  case "$f" in *@2x.png) continue ;; esac
  convert "$f" -filter point -resize 200% "${f%.png}@2x.png"
done
echo "screenshots in $out"
