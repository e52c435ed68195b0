# Shared by the desktop shell tests: a scratch folder holding a copy of the
# executable (config.ini goes beside it), UTF-16 helpers, the headless
# handset as the oracle, and leak reports of the system libraries silenced
# under AddressSanitizer (SDL, X11 and Mesa keep caches until exit).
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
export LSAN_OPTIONS="suppressions=$here/lsan.supp${LSAN_OPTIONS:+:$LSAN_OPTIONS}"
unset FINGULP_TEST_INPUT FINGULP_STATS
export SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy

work="$(mktemp -d)"
chmod 755 "$work"
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

# Runs the desktop executable with a test input script; prints its status.
run_desktop() {  # FOLDER SCRIPT-TEXT [TIMEOUT]
  printf '%s\n' "$2" > "$1/input.txt"
  local status=0
  (cd "$1" && FINGULP_STATS=1 FINGULP_TEST_INPUT="$1/input.txt" timeout "${3:-30}" ./fingulp) \
    > "$1/stdout.txt" 2> "$1/stderr.txt" || status=$?
  echo "$status"
}
