#!/usr/bin/env bash
# keys.ini: a damaged or hostile one gives today's keys and one line on stderr;
# --bind refuses with status 2 and its reason, touching nothing; a game under X with
# WASD and sticky arrows replays arrows only, a tap held, to the window's last screen.
# Usage: keys.sh FINGULP FINGULP-DESKTOP-TEST FINGULP-SIM
source "$(dirname "$0")/lib.sh"
exe="$(realpath "$1")" sim="$(realpath "$3")"
install_copy "$exe" "$work/game"
cd "$work/game"
keys="$XDG_CONFIG_HOME/fingulp/keys.ini"
mkdir -p "$XDG_CONFIG_HOME/fingulp"

./fingulp --keys > today.txt 2> err.txt || fail "--keys ended with status $?"
grep -qx 'up = Up' today.txt && [ ! -s err.txt ] || fail "--keys: $(cat today.txt err.txt)"

# 1. Damaged or hostile files: today's keys and one line, in the listing and at the start.
printf 'up = W\n' > good.ini
hostile() {  # KIND: puts it in keys.ini's place
  rm -f "$keys"
  case "$1" in
    junk) head -c 3000 /dev/urandom > "$keys" ;;
    huge) yes 'up = Up' | head -c 40000 > "$keys" || true ;;
    link) ln -s "$PWD/good.ini" "$keys" ;;
    fifo) mkfifo "$keys" ;;
    unknown) printf 'up = Wubble\n' > "$keys" ;;
    desktop) printf 'up = F11\n' > "$keys" ;;
    twice) printf 'up = W\nleft = W\n' > "$keys" ;;
  esac
}
for kind in junk huge link fifo unknown desktop twice; do
  hostile "$kind"
  timeout 10 ./fingulp --keys > out.txt 2> err.txt || fail "$kind: --keys ended with status $?"
  cmp -s out.txt today.txt || fail "$kind: not today's keys: $(cat out.txt)"
  [ "$(wc -l < err.txt)" = 1 ] && grep -q 'keys.ini: .*; using the default keys$' err.txt \
    || fail "$kind: not one line on stderr: $(cat err.txt)"
done
hostile fifo
./fingulp > out.txt 2> err.txt &
game=$!
sleep 4
kill -TERM "$game"
wait "$game" || fail "a game with a FIFO for keys.ini ended with status $?"
[ "$(grep -c 'keys.ini' err.txt)" = 1 ] || fail "the game did not say once that keys.ini was refused: $(cat err.txt)"

# 2. --bind: refused with status 2 and the reason, the file untouched; else written.
rm -f "$keys"
printf 'up = W, Up\n' > "$keys"
for bad in "up=F12" "left=W" "upward=W" "gamepad-up=wheel" "action="; do
  status=0
  ./fingulp --bind "$bad" > out.txt 2> err.txt || status=$?
  [ "$status" = 2 ] && grep -q '^fingulp: --bind' err.txt || fail "--bind $bad: status $status: $(cat err.txt)"
  [ "$(cat "$keys")" = 'up = W, Up' ] || fail "--bind $bad touched keys.ini"
done
./fingulp --bind up=W --bind left=A --bind down=S --bind right=D --bind sticky-arrows=on > out.txt \
  || fail "--bind ended with status $?"
grep -qx 'left = A' "$keys" && grep -qx 'sticky-arrows = on' "$keys" || fail "--bind wrote: $(cat "$keys")"

# 3. A game under X with WASD and sticky arrows, left to starve.
need Xvfb xdotool compare -- xvfb xdotool imagemagick
start_xvfb -screen 0 1024x768x24 -ardelay 100000
export DISPLAY="$xvfb_display" SDL_VIDEODRIVER=x11
export ASAN_OPTIONS="${ASAN_OPTIONS:+$ASAN_OPTIONS:}detect_leaks=0"
kept="$XDG_DATA_HOME/fingulp/replays"
timeout 120 ./fingulp > stdout.txt 2> stderr.txt &
game=$!
cleanup_steps+=("kill $game 2>/dev/null; wait $game 2>/dev/null")
game_window > /dev/null
sleep 6
press_keys Return
sleep 3.5
press_keys w  # a tap: held until another arrow
sleep 0.6
press_keys a Up  # Up is bound no more: Left stays held
sleep 0.6
press_keys a  # the same again lets it go
sleep 0.3
press_keys s d d
for _ in $(seq 400); do compgen -G "$kept/*.fgr" > /dev/null && break; sleep 0.1; done
replay="$(compgen -G "$kept/*.fgr" | head -1)" || fail "no replay kept: $(cat stderr.txt)"
sleep 1.5
press_keys F12
kill -TERM "$game"
wait "$game" || fail "the game ended with status $?"

"$sim" --replay "$replay" --verify --shot sim.png > sim.out 2>&1 || fail "--verify: $(cat sim.out)"
differing="$(compare -metric AE fingulp-0001.png sim.png null: 2>&1 || true)"
[ "$differing" = 0 ] || fail "the headless handset's last screen differs from the window's in $differing pixels"
# The program saw arrows only; each tap held its arrow until the next press.
PYTHONPATH="$here/../support" python3 - "$replay" <<'PY' || fail "the replay's input is not a tapped game of arrows"
import sys
from replay_file import Replay
presses, held, letters = [], {}, []
for tick, kind, _, value in Replay(sys.argv[1]).items():
    if kind < 4: held.setdefault(kind, []).append(tick)
    elif 8 <= kind <= 11: presses.append((tick, kind - 8))
    elif kind == 12 and value in (0x57, 0x41, 0x53, 0x44): letters.append(tick)
    elif kind == 15: sys.exit("a run of presses or another event: no key was held long enough to repeat")
assert not letters, f"letters reached the program at ticks {letters}"
arrows = [arrow for _, arrow in presses]
assert arrows == [2, 0, 0, 3, 1, 1], f"presses of (Left, Right, Up, Down) {arrows}"
# Up held from its tap until Left's: some 1.4 s, as a held key's ticks would read.
up_off = held[2][0]
assert up_off - presses[0][0] >= 10, f"Up was held {up_off - presses[0][0]} ticks"
PY
echo "keys: hostile keys.ini gives today's keys and one line; --bind refuses with reasons; WASD and sticky arrows replay"
