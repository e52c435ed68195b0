#!/usr/bin/env bash
# Another user against the one-copy marker (run as root, with a user made for
# the test and removed afterwards; skipped otherwise): a marker they squat in
# the runtime folder the game is given, or in the temporary folder, with its
# channel's backlog filled, and a lock file of theirs held in the player's own
# runtime folder all count as no other copy: the game starts, plays and saves.
# Usage: hostile_marker.sh FINGULP FINGULP-DESKTOP-TEST FINGULP-SIM
source "$(dirname "$0")/lib.sh"
test_exe="$(realpath "$2")"
[ "$(id -u)" = 0 ] || skip "needs root to make another user"
need useradd userdel setpriv python3 -- passwd util-linux python3
other="fgtest$$"
useradd --system --no-create-home --shell /usr/sbin/nologin "$other" > /dev/null 2>&1 || skip "useradd failed"
cleanup_steps+=("userdel '$other' 2>/dev/null")
as_other=(setpriv --reuid="$(id -u "$other")" --regid="$(id -g "$other")" --clear-groups --)

# The other user holds a lock on the marker's file STEM.lock and, where they
# may, listens beside it without ever accepting, the backlog filled.
squat() {  # STEM
  "${as_other[@]}" /usr/bin/python3 - "$1" > "$work/squat.out" 2>&1 <<'PY' &
import fcntl, os, socket, sys, time
stem = sys.argv[1]
lock = open(stem + ".lock", "a")
fcntl.flock(lock, fcntl.LOCK_EX)
try:
    server = socket.socket(socket.AF_UNIX)
    server.bind(stem + ".sock")
    os.chmod(stem + ".sock", 0o777)
    server.listen(0)
    clients = []
    while len(clients) < 64:
        c = socket.socket(socket.AF_UNIX)
        c.setblocking(False)
        try:
            c.connect(stem + ".sock")
        except BlockingIOError:
            break
        clients.append(c)
except OSError:
    pass  # not their folder: the lock alone
print("ready", flush=True)
time.sleep(120)
PY
  local pid=$!
  cleanup_steps=("kill $pid 2>/dev/null; wait $pid 2>/dev/null" "${cleanup_steps[@]}")  # before userdel
  for _ in $(seq 50); do grep -q ready "$work/squat.out" && return 0; sleep 0.1; done
  fail "the other user's squatter did not start: $(cat "$work/squat.out")"
}

# The game, closed at 6 s: it must have made its window and saved.
starts() {  # WHAT ENV...
  local what="$1" status=0
  shift
  rm -rf "$work/game"
  install_copy "$test_exe" "$work/game"
  printf 'wait 6000\nclose\n' > "$work/game/input.sim"
  (cd "$work/game" && exec env "$@" timeout 30 ./fingulp --stats --input "$work/game/input.sim") \
    > /dev/null 2> "$work/game/stderr.txt" || status=$?
  [ "$status" = 0 ] || fail "$what: status $status: $(cat "$work/game/stderr.txt")"
  ! grep -q "renderer none" "$work/game/stderr.txt" || fail "$what: the game made no window"
  [ -f "$work/game/config.ini" ] || fail "$what: the game did not save"
}

mkdir -m 1777 "$work/tmp" "$work/tmp2"
mkdir -m 700 "$work/theirs" "$work/mine"
chown "$other" "$work/theirs"

squat "$(stem_of "$work/theirs" "$work/theirs")"
starts "a marker squatted in the runtime folder given" XDG_RUNTIME_DIR="$work/theirs" TMPDIR="$work/tmp"

"${as_other[@]}" mkdir -m 777 "$work/tmp2/fingulp-0"
squat "$(stem_of "$work/tmp2/fingulp-0" "")"
starts "a marker squatted in the temporary folder" -u XDG_RUNTIME_DIR TMPDIR="$work/tmp2"

# Root gives the other user a lock file in the player's folder, and lets them
# in for a moment to lock it.
stem="$(stem_of "$work/mine" "$work/mine")"
touch "$stem.lock"
chown "$other" "$stem.lock"
chmod 711 "$work/mine"
squat "$stem"
chmod 700 "$work/mine"
starts "another user's lock in the player's runtime folder" XDG_RUNTIME_DIR="$work/mine" TMPDIR="$work/tmp"
echo "hostile marker: squatted, filled and foreign markers never kept the game from starting"
