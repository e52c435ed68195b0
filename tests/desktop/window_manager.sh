#!/usr/bin/env bash
# The desktop test executable under an X server with a window manager (Xvfb
# and jwm, started here; skipped when missing), as a player meets it: the
# window's class names the desktop entry; the window never shrinks below the
# screen; its size and fullscreen state come back at the next start; a window
# minimised while a game runs pauses it, even when SDL had not seen the focus
# come back; and the keyboard's auto-repeat never runs ahead of the blocking
# key click: after the key is let go the cursor stops within one click.
# Usage: window_manager.sh FINGULP FINGULP-DESKTOP-TEST FINGULP-SIM
source "$(dirname "$0")/lib.sh"
test_exe="$(realpath "$2")"
need Xvfb jwm xdotool xprop xwd xmessage -- xvfb jwm xdotool x11-utils x11-apps

# Auto-repeat as on a desktop: 250 ms, then every 30 ms.
start_xvfb -screen 0 1600x1200x24 -ardelay 250 -arinterval 30
export DISPLAY="$xvfb_display" SDL_VIDEODRIVER=x11
HOME="$work" jwm > "$work/jwm.log" 2>&1 &
cleanup_steps+=("kill $! 2>/dev/null; wait $! 2>/dev/null")
export ASAN_OPTIONS="${ASAN_OPTIONS:+$ASAN_OPTIONS:}detect_leaks=0"  # X11 driver modules, as under_x_server.sh
install_copy "$test_exe" "$work/game"

start_game() {  # SCRIPT-TEXT: runs in the background, $game its process
  printf '%s\n' "$1" > "$work/game/input.sim"
  (cd "$work/game" && exec timeout 90 ./fingulp --input "$work/game/input.sim") \
    >> "$work/game/stdout.txt" 2>> "$work/game/stderr.txt" &
  game=$!
  cleanup_steps+=("kill $game 2>/dev/null; wait $game 2>/dev/null")
  window="$(game_window)"
}
stop_game() {  # the desktop's SIGTERM: saved as Exit saves
  kill -TERM "$game"
  wait "$game" || fail "the game ended with status $? after SIGTERM: $(cat "$work/game/stderr.txt")"
}
geometry() { xdotool getwindowgeometry "$window" | awk '/Geometry/ {print $2}'; }
changes_within() {  # MS: whether the picture changes within MS milliseconds
  local first end
  first="$(picture "$window")"
  end=$(( $(date +%s%N) / 1000000 + $1 ))
  while [ $(( $(date +%s%N) / 1000000 )) -lt "$end" ]; do
    [ "$(picture "$window")" != "$first" ] && return 0
  done
  return 1
}

# 1. The window's class is the desktop entry's StartupWMClass; the minimum
# size reaches the window manager, which keeps the window from shrinking.
start_game "wait 60000"
wm_class="$(grep '^StartupWMClass=' "$here/../../packaging/io.github.fingulp.Fingulp.desktop" | cut -d= -f2)"
[ "$(xprop -id "$window" WM_CLASS)" = "WM_CLASS(STRING) = \"$wm_class\", \"$wm_class\"" ] \
  || fail "the window's class is $(xprop -id "$window" WM_CLASS), the entry says $wm_class"
for _ in $(seq 50); do  # set once the renderer is made, after the window shows
  xprop -id "$window" WM_NORMAL_HINTS | grep -q "minimum size" && break
  sleep 0.1
done
xprop -id "$window" WM_NORMAL_HINTS | grep -q "minimum size: 176 by 220" || fail "no minimum size: $(xprop -id "$window" WM_NORMAL_HINTS)"
xdotool windowsize --sync "$window" 100 100 2>/dev/null || true
sleep 0.5
[ "$(geometry)" = 176x220 ] || fail "asked for 100 x 100 the window became $(geometry)"

# 2. A window made 880 x 1000 comes back so; then one closed in fullscreen.
xdotool windowsize --sync "$window" 880 1000
sleep 0.5
stop_game
grep -qx 'width=880' "$XDG_CONFIG_HOME/fingulp/window.ini" || fail "the size was not remembered: $(cat "$XDG_CONFIG_HOME/fingulp/window.ini")"
start_game "wait 3000
key 122"  # F11, once the size it came back at has been seen
[ "$(geometry)" = 880x1000 ] || fail "the window came back as $(geometry), not 880x1000"
sleep 4
[ "$(geometry)" = 1600x1200 ] || fail "F11 made the window $(geometry), not the whole screen"
stop_game
start_game "wait 60000"
sleep 1
[ "$(geometry)" = 1600x1200 ] || fail "a game closed in fullscreen came back as $(geometry)"
xdotool key --window "$window" F11
sleep 1
[ "$(geometry)" = 880x1000 ] || fail "out of fullscreen the window is $(geometry), not the size it had"
stop_game
ls "$work/game" | grep -vqx -e fingulp -e config.ini -e input.sim -e stdout.txt -e stderr.txt \
  && fail "something beside the executable: $(ls "$work/game")"
grep -aq "width" "$work/game/config.ini" && fail "the window's size went into config.ini"

rm "$XDG_CONFIG_HOME/fingulp/window.ini"  # the default window from here on

# 3. A game running while SDL has not seen the focus come back (another window
# took it, and the game was resumed from the keyboard script), then minimised:
# it pauses. Restored, it stays paused.
start_game "wait 5600
key enter
wait 10000
soft right"  # New at 5.6 s, play from 8.6 s; RESUME at 15.6 s
sleep 10
changes_within 1000 || fail "the game does not play"
xmessage -timeout 30 "another window" &
cleanup_steps+=("kill $! 2>/dev/null")
sleep 0.5
xdotool windowactivate --sync "$(xdotool search --name '^xmessage$' | head -1)"
sleep 5.5  # past the RESUME: playing without the focus
changes_within 1000 || fail "the game was not resumed"
xdotool windowminimize --sync "$window"
sleep 2
xdotool windowactivate --sync "$window"
sleep 0.5
changes_within 1500 && fail "the game played on while minimised"
stop_game

# 4. Auto-repeat with Sound on: each press blocks for the click.
start_game "$options_on_script"
sleep 9
click_ms="$(python3 -c 'import sys, wave; w = wave.open(sys.argv[1]); print(w.getnframes() * 1000 // w.getframerate())' \
  "$here/../../assets/sounds/DEF.wav")"
xdotool windowactivate --sync "$window"
# The window's picture read straight from the X server every few milliseconds;
# the time (ms) of each change.
python3 - "$window" 5 > "$work/changes.txt" <<'PY' &
import ctypes, sys, time
x = ctypes.cdll.LoadLibrary("libX11.so.6")
x.XOpenDisplay.restype = ctypes.c_void_p
x.XGetImage.restype = ctypes.c_void_p
x.XGetImage.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_int, ctypes.c_int, ctypes.c_uint,
                        ctypes.c_uint, ctypes.c_ulong, ctypes.c_int]
x.XDestroyImage.argtypes = [ctypes.c_void_p]
class Image(ctypes.Structure):
    _fields_ = [(n, ctypes.c_int) for n in ("width", "height", "xoffset", "format")] + [("data", ctypes.c_void_p)] + \
               [(n, ctypes.c_int) for n in ("byte_order", "unit", "bit_order", "pad", "depth", "bytes_per_line")]
display, window = x.XOpenDisplay(None), int(sys.argv[1])
last, end = None, time.time() + float(sys.argv[2])
while time.time() < end:
    image = x.XGetImage(display, window, 0, 0, 528, 660, 0xFFFFFFFF, 2)
    if image:
        i = Image.from_address(image)
        pixels = ctypes.string_at(i.data, i.bytes_per_line * i.height)
        x.XDestroyImage(image)
        if pixels != last:
            print(int(time.time() * 1000), flush=True)
            last = pixels
    time.sleep(0.002)
PY
poller=$!
sleep 0.3
xdotool keydown Down
sleep 2
xdotool keyup Down
released=$(( $(date +%s%N) / 1000000 ))
wait "$poller" || true
moves=$(awk -v r="$released" '$1 < r' "$work/changes.txt" | wc -l)
last_move=$(( $(tail -1 "$work/changes.txt") - released ))
[ "$moves" -ge 3 ] || fail "holding Down moved the cursor $moves times"
# One click, and a moment for the poller to see the picture on a busy machine;
# a queued repeat would add a whole click more.
[ "$last_move" -le $(( click_ms * 3 / 2 )) ] || fail "the cursor moved on ${last_move} ms after Down was let go (a click is ${click_ms} ms)"
stop_game
echo "window manager: class, minimum size, size and fullscreen remembered, minimised game paused; cursor stopped ${last_move} ms after release (click ${click_ms} ms, ${moves} moves while held)"
