#!/usr/bin/env bash
# The real executable under an X server (Xvfb, started here; skipped when it
# cannot start): the wait tests on SDL's X11 driver, real key presses from
# xdotool (Escape as MENU), the window's picture and the F12 screenshot (and
# what F12 prints) compared with the headless handset's screen in the same
# state, and SDL's disk audio driver
# showing that the click and the music reached the audio device.
# Usage: under_x_server.sh FINGULP FINGULP-DESKTOP-TEST FINGULP-SIM TEST_DESKTOP
source "$(dirname "$0")/lib.sh"
exe="$(realpath "$1")" sim="$(realpath "$3")" unit_tests="$(realpath "$4")"
need Xvfb xdotool import compare convert -- xvfb xdotool imagemagick

# Key auto-repeat off (-ardelay), so a held key is one press.
start_xvfb -screen 0 1024x768x24 -ardelay 100000
export DISPLAY="$xvfb_display" SDL_VIDEODRIVER=x11
# Under AddressSanitizer: the X11 and GL driver modules that SDL loads and
# unloads leave allocations no suppression can name; leaks in our own code are
# checked by the runs on the dummy drivers.
export ASAN_OPTIONS="${ASAN_OPTIONS:+$ASAN_OPTIONS:}detect_leaks=0"

# 1. The waits on the X11 driver: they block in the OS and time out.
timeout 60 "$unit_tests" --gtest_brief=1 \
  --gtest_filter='DesktopTest.TheWaitTimesOut*:DesktopTest.InputEndsTheWaitEarly:DesktopTest.ASleepLasts*:DesktopTest.TheScreenIsPresented*' \
  > "$work/waits.txt" 2>&1 || { cat "$work/waits.txt"; fail "the wait tests failed on the X11 driver"; }

# 2. The game, its sound going to a file.
install_copy "$exe" "$work/game"
(cd "$work/game" && SDL_AUDIODRIVER=disk SDL_DISKAUDIOFILE="$work/audio.raw" exec timeout 60 ./fingulp) \
  > "$work/game/stdout.txt" 2> "$work/game/stderr.txt" &
game=$!
cleanup_steps+=("kill $game 2>/dev/null; wait $game 2>/dev/null")
window="$(game_window)"
sleep 6  # splash, settings created and read: the main menu is up after 5 s

# Options: Sound on, STORE; then Help.
press_keys Down Return Down Return F2 Down Down Return
sleep 0.5
run_sim "$sim" "$work/sim" "key down
key enter
key down
key enter
soft right
key down
key down
key enter
state state
shot $work/sim/help.png"
grep -q "state=HelpFromMain" "$work/sim/sim.out" || fail "the headless handset is not in Help: $(cat "$work/sim/sim.out")"

timeout 20 import -window "$window" "$work/window.png"
width="$(identify -format '%w' "$work/window.png")"
height="$(identify -format '%h' "$work/window.png")"
scale=$(( width / 176 ))
[ $(( scale * 176 )) = "$width" ] && [ $(( scale * 220 )) = "$height" ] || fail "window of ${width} x ${height} is not a whole scale of 176 x 220"
convert "$work/sim/help.png" -filter point -resize "$(( scale * 100 ))%" "$work/sim/help-scaled.png"
differing="$(compare -metric AE "$work/window.png" "$work/sim/help-scaled.png" "$work/diff.png" 2>&1 || true)"
[ "$differing" = 0 ] || fail "the window differs from the headless handset's Help screen in $differing pixels"

press_keys F12
[ -f "$work/game/fingulp-0001.png" ] || fail "F12 wrote no screenshot beside config.ini: $(ls "$work/game")"
# The player is told where each shot went.
printf 'fingulp: screenshot saved to %s\n' "$work/game/fingulp-0001.png" "$work/game/fingulp-0001-x$scale.png" \
  > "$work/shots.expected"
cmp -s "$work/shots.expected" "$work/game/stdout.txt" || fail "F12 said: $(cat "$work/game/stdout.txt")"
[ -f "$work/game/fingulp-0001-x$scale.png" ] || fail "no enlarged screenshot"
differing="$(compare -metric AE "$work/game/fingulp-0001.png" "$work/sim/help.png" null: 2>&1 || true)"
[ "$differing" = 0 ] || fail "the F12 screenshot differs from the headless handset's screen in $differing pixels"

# A click on the right caption (OK) back to the menu, up to New, a game with
# its music, Escape as MENU, Exit.
xdotool mousemove --window "$window" $(( 130 * scale )) $(( 210 * scale )) click 1
sleep 0.5
press_keys Up Up Up Return
sleep 5
press_keys Escape Up Return
wait "$game" || fail "the game ended with status $? (after Exit from the game menu)"
[ -f "$work/game/config.ini" ] || fail "Exit saved no config.ini"

python3 - "$work/audio.raw" "$here/../../assets/sounds" <<'PY' || fail "the sounds did not reach the audio device"
import sys, wave
written = open(sys.argv[1], "rb").read()
def samples(name):
    with wave.open(f"{sys.argv[2]}/{name}.wav") as w:
        return w.readframes(w.getnframes())
click, music = samples("DEF"), samples("FLARE")
ok = True
if click not in written:
    print("the click's samples are not in the audio output"); ok = False
if music[:11025] not in written:
    print("the music's first second is not in the audio output"); ok = False
print(f"audio output: {len(written)} bytes; click found {written.count(click)} times")
sys.exit(0 if ok else 1)
PY
echo "X server: real keys, window and F12 shot equal to the headless screen, click and music played"
