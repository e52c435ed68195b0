#!/usr/bin/env bash
# Another user (made as root, else skipped) squats the one-copy marker, fills its
# channel or leaves a lock in the player's folder: the game starts all the same.
# Usage: hostile_marker.sh FINGULP FINGULP-DESKTOP-TEST FINGULP-SIM
source "$(dirname "$0")/lib.sh"
test_exe="$(realpath "$2")"
[ "$(id -u)" = 0 ] || skip "needs root to make another user"
need useradd userdel setpriv -- passwd util-linux
other="fgtest$$"
useradd --system --no-create-home --shell /usr/sbin/nologin "$other" > /dev/null 2>&1 || skip "useradd failed"
cleanup_steps+=("userdel '$other'")

squat() {  # STEM: lock STEM.lock; where they may, listen on STEM.sock, never accepting
  setpriv --reuid="$other" --regid="$other" --clear-groups -- /usr/bin/python3 - "$1" > "$work/squat.out" 2>&1 <<'PY' &
import fcntl, socket, sys, time
lock = open(sys.argv[1] + ".lock", "a")
fcntl.flock(lock, fcntl.LOCK_EX)
try:
    server = socket.socket(socket.AF_UNIX)
    server.bind(sys.argv[1] + ".sock")
    server.listen(0)
    clients = [socket.socket(socket.AF_UNIX) for _ in range(8)]
    for c in clients:
        c.setblocking(False)
        c.connect_ex(sys.argv[1] + ".sock")
except OSError:
    pass
print("ready", flush=True)
time.sleep(120)
PY
  cleanup_steps=("kill $! 2>/dev/null; wait $! 2>/dev/null" "${cleanup_steps[@]}")  # before userdel
  for _ in $(seq 50); do grep -q ready "$work/squat.out" && return 0; sleep 0.1; done
  fail "the squatter did not start: $(cat "$work/squat.out")"
}

starts() {  # WHAT ENV...: the game, closed at 6 s, made its window and saved
  local what="$1" status=0
  shift
  rm -rf "$work/game" && install_copy "$test_exe" "$work/game"
  printf 'wait 6000\nclose\n' > "$work/game/input.sim"
  (cd "$work/game" && exec env "$@" timeout 30 ./fingulp --stats --input input.sim) 2> "$work/game/err" || status=$?
  [ "$status" = 0 ] && ! grep -q "renderer none" "$work/game/err" && [ -f "$work/game/config.ini" ] \
    || fail "$what: status $status, no window or no save: $(cat "$work/game/err")"
}

mkdir -m 1777 "$work/tmp" "$work/tmp2"
mkdir -m 700 "$work/theirs" "$work/mine"
chown "$other" "$work/theirs"
squat "$(stem_of "$work/theirs" "$work/theirs")"
starts "squatted runtime folder" XDG_RUNTIME_DIR="$work/theirs" TMPDIR="$work/tmp"

setpriv --reuid="$other" --regid="$other" --clear-groups -- mkdir -m 777 "$work/tmp2/fingulp-0"
squat "$(stem_of "$work/tmp2/fingulp-0" "")"
starts "squatted temporary folder" -u XDG_RUNTIME_DIR TMPDIR="$work/tmp2"

stem="$(stem_of "$work/mine" "$work/mine")"
touch "$stem.lock" && chown "$other" "$stem.lock"
chmod 711 "$work/mine" && squat "$stem" && chmod 700 "$work/mine"
starts "another user's lock in the player's folder" XDG_RUNTIME_DIR="$work/mine" TMPDIR="$work/tmp"
echo "hostile marker: squatted, filled and foreign markers never kept the game from starting"
