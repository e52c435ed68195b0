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
# The window remembered goes to the test's folder, never the player's.
export XDG_CONFIG_HOME="$work/config"
cleanup_steps=()
cleanup() {
  local step
  for step in "${cleanup_steps[@]}"; do eval "$step" || true; done
  rm -rf "$work"
}
trap cleanup EXIT

fail() { echo "FAIL: $*"; exit 1; }
skip() { echo "SKIPPED: $*"; exit 77; }

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

# Runs the desktop test executable (installed in FOLDER by install_copy) on an
# input script in the headless runner's language; prints its status.
run_desktop() {  # FOLDER SCRIPT-TEXT [TIMEOUT]
  printf '%s\n' "$2" > "$1/input.sim"
  local status=0
  (cd "$1" && timeout "${3:-30}" ./fingulp --stats --input "$1/input.sim") \
    > "$1/stdout.txt" 2> "$1/stderr.txt" || status=$?
  echo "$status"
}
