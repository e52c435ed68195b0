#!/usr/bin/env bash
# The one-copy rule is per user and display: with a player's copy open on an
# X server (Xvfb, started here), the desktop tests on SDL's dummy drivers run
# and pass, and the player's copy is left alone: never raised, still running,
# saving at its close. A second start on the player's display still only
# raises the first.
# Usage: isolation.sh FINGULP FINGULP-DESKTOP-TEST FINGULP-SIM
source "$(dirname "$0")/lib.sh"
exe="$(realpath "$1")" test_exe="$(realpath "$2")" sim="$(realpath "$3")"
need Xvfb xdotool -- xvfb xdotool
start_xvfb -screen 0 1024x768x24

install_copy "$test_exe" "$work/player"
(cd "$work/player" && DISPLAY="$xvfb_display" SDL_VIDEODRIVER=x11 ASAN_OPTIONS=detect_leaks=0 exec timeout 120 ./fingulp --stats) \
  > "$work/player/stdout.txt" 2> "$work/player/stderr.txt" &
player=$!
cleanup_steps+=("kill $player 2>/dev/null; wait $player 2>/dev/null")
DISPLAY="$xvfb_display" game_window > /dev/null

bash "$here/menu_exit.sh" "$1" "$2" "$3" > "$work/menu_exit.txt" 2>&1 \
  || fail "the desktop tests failed beside a player's copy: $(cat "$work/menu_exit.txt")"
kill -0 "$player" 2>/dev/null || fail "the player's copy ended during the tests: $(cat "$work/player/stderr.txt")"

# A second real start on the player's display raises the first and ends.
install_copy "$exe" "$work/second"
(cd "$work/second" && DISPLAY="$xvfb_display" SDL_VIDEODRIVER=x11 ASAN_OPTIONS=detect_leaks=0 timeout 10 ./fingulp) \
  || fail "the second start on the player's display ended with status $?"
[ ! -e "$work/second/config.ini" ] || fail "the second start on the player's display played"

kill -TERM "$player"
wait "$player" || fail "the player's copy ended with status $?"
grep -q "raises 1$" "$work/player/stderr.txt" || fail "the player's copy was raised other than once: $(cat "$work/player/stderr.txt")"
[ -f "$work/player/config.ini" ] || fail "the player's copy did not save at its close"
echo "isolation: the desktop tests passed beside a player's copy on another display, which was raised only by its own display's second start"
