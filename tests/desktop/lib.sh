# Shared by the desktop shell tests: a scratch folder holding a copy of the
# executable (config.ini goes beside it), UTF-16 helpers, the headless
# handset as the oracle, and leak reports of the system libraries silenced
# under AddressSanitizer (SDL, X11 and Mesa keep caches until exit).
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
export LSAN_OPTIONS="suppressions=$here/lsan.supp${LSAN_OPTIONS:+:$LSAN_OPTIONS}"
export SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy

work="$(mktemp -d)"
chmod 755 "$work"
# The remembered window and the replays go to the test's folder, never the player's,
# and copies on the dummy drivers meet only the test's own (one copy per session).
export XDG_CONFIG_HOME="$work/config" XDG_DATA_HOME="$work/data" XDG_RUNTIME_DIR="$work/runtime"
mkdir -m 700 "$XDG_RUNTIME_DIR"
cleanup_steps=()
cleanup() {
  local step
  for step in "${cleanup_steps[@]}"; do eval "$step" || true; done
  rm -rf "$work"
}
trap cleanup EXIT

fail() { echo "FAIL: $*"; exit 1; }
skip() { echo "SKIPPED: $*"; exit 77; }

# Tools a test needs; skipped (77) with the packages named when one is missing.
need() {  # TOOL... -- PACKAGES
  local tool
  for tool in "$@"; do
    [ "$tool" = "--" ] && return 0
    command -v "$tool" >/dev/null || skip "$tool is not installed (packages: ${*##*-- })"
  done
}

# An X server of the test's own: Xvfb with ARGS, its display in
# $xvfb_display; skipped when it cannot start. No reset when the last client
# leaves (-noreset): a reset refuses the next client's connection.
start_xvfb() {  # ARGS...
  local fd_file="$work/xvfb.$RANDOM"
  Xvfb -displayfd 3 -nolisten tcp -noreset "$@" 3> "$fd_file" > /dev/null 2> "$fd_file.log" &
  cleanup_steps+=("kill $! 2>/dev/null; wait $! 2>/dev/null")
  for _ in $(seq 50); do [ -s "$fd_file" ] && break; sleep 0.1; done
  [ -s "$fd_file" ] || skip "Xvfb did not start: $(tail -3 "$fd_file.log")"
  xvfb_display=":$(head -1 "$fd_file")"
}

# The game's window on $DISPLAY, once it is there and settled (10 s at most):
# making the renderer can replace the first window with a new one, so the
# same window must be found five times running, 0.1 s apart.
game_window() {
  local window="" found seen=0
  for _ in $(seq 100); do
    found="$(xdotool search --name '^Smartphone 2002$' 2>/dev/null | head -1 || true)"
    if [ -n "$found" ] && [ "$found" = "$window" ]; then
      seen=$(( seen + 1 ))
      [ "$seen" -ge 5 ] && break
    else
      window="$found" seen=0
    fi
    sleep 0.1
  done
  [ -n "$window" ] || fail "no window titled \"Smartphone 2002\" appeared on $DISPLAY"
  echo "$window"
}

# A fingerprint of the window's picture.
picture() { xwd -silent -id "$1" | md5sum | cut -c1-32; }

# Real key presses through the X server, one after the other.
press_keys() {  # NAME...
  local name
  for name in "$@"; do
    timeout 5 xdotool keydown "$name"
    sleep 0.08
    timeout 5 xdotool keyup "$name"
    sleep 0.35
  done
}

# The one-copy marker's files in FOLDER, named as the game does on the dummy driver.
stem_of() {  # FOLDER RUNTIME-DIR-THE-GAME-SEES
  /usr/bin/python3 -c '
import sys
h = 0xcbf29ce484222325
for c in ("HelloApp\ndummy " + sys.argv[2]).encode():
    h = ((h ^ c) * 0x100000001b3) & 0xFFFFFFFFFFFFFFFF
print(f"{sys.argv[1]}/fingulp-{h:016x}")' "$1" "$2"
}

# A copy of the executable in its own folder.
install_copy() {  # EXE FOLDER
  mkdir -p "$2"
  cp "$1" "$2/fingulp"
}

# config.ini as UTF-8 text.
config_text() { python3 -c 'import sys; sys.stdout.write(open(sys.argv[1],"rb").read().decode("utf-16-le"))' "$1"; }

# Runs the headless handset on a script in FOLDER (config.ini lands there).
run_sim() {  # SIM FOLDER SCRIPT-TEXT
  mkdir -p "$2"
  printf '%s\n' "$3" > "$2/script.sim"
  (cd "$2" && "$1" --exe-dir "$2" script.sim) > "$2/sim.out"
}

# An input script: from the start to the main menu, into Options, Vibrate and
# Sound on, STORE (back in the main menu at about 7 s).
options_on_script="wait 5600
key down
wait 300
key enter
wait 300
key enter
wait 300
key down
wait 300
key enter
wait 300
soft right"

# Runs the desktop test executable (installed in FOLDER by install_copy) on an
# input script in the headless runner's language; prints its status.
run_desktop() {  # FOLDER SCRIPT-TEXT [TIMEOUT]
  printf '%s\n' "$2" > "$1/input.sim"
  local status=0
  (cd "$1" && timeout "${3:-30}" ./fingulp --stats --input "$1/input.sim") \
    > "$1/stdout.txt" 2> "$1/stderr.txt" || status=$?
  echo "$status"
}
