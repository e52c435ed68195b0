#!/usr/bin/env bash
# One running copy per user, across processes: a second start raises the first
# window and ends with code 0 without a window of its own; a killed copy leaves
# no marker behind; another user can neither find nor raise the window, and a
# copy in another session (with no display, as here) does not meet it; a first
# copy that never answers neither holds up an end signal nor ends the second silently.
# Usage: single_instance.sh FINGULP FINGULP-DESKTOP-TEST FINGULP-SIM
source "$(dirname "$0")/lib.sh"
exe="$(realpath "$1")" test_exe="$(realpath "$2")"
install_copy "$test_exe" "$work/first"
install_copy "$test_exe" "$work/second"
install_copy "$exe" "$work/killed"

# The first copy runs 6 s, then its window is closed.
printf 'wait 6000\nclose\n' > "$work/first/input.sim"
(cd "$work/first" && exec timeout 30 ./fingulp --stats --input "$work/first/input.sim") \
  > "$work/first/stdout.txt" 2> "$work/first/stderr.txt" &
first=$!
cleanup_steps+=("kill $first 2>/dev/null; wait $first 2>/dev/null")
sleep 1.5

started=$(date +%s%N)
status="$(run_desktop "$work/second" "" 10)"
took=$(( ($(date +%s%N) - started) / 1000000 )) raised_in=$took
[ "$status" = 0 ] || fail "the second start ended with status $status"
grep -q "renderer none, presents 0" "$work/second/stderr.txt" || fail "the second start made a window: $(cat "$work/second/stderr.txt")"
[ "$took" -lt 2500 ] || fail "the second start took $took ms to find the first window"
[ ! -e "$work/second/config.ini" ] || fail "the second start wrote settings"

# Another user cannot reach the channel: it lies in the first copy's private folder.
if [ "$(id -u)" = 0 ] && command -v setpriv >/dev/null && [ -x /usr/bin/python3 ]; then
  channel="$(ls "$XDG_RUNTIME_DIR"/fingulp-*.sock 2>/dev/null | head -1)"
  [ -n "$channel" ] || fail "the first copy's channel is not in its runtime folder: $(ls -la "$XDG_RUNTIME_DIR")"
  answer="$(setpriv --reuid=65534 --regid=65534 --clear-groups -- /usr/bin/python3 - "$channel" <<'PY'
import socket, sys
s = socket.socket(socket.AF_UNIX, socket.SOCK_STREAM)
s.settimeout(2)
try:
    s.connect(sys.argv[1])
    s.sendall(b"find HelloApp\tSmartphone 2002\n")
    print(repr(s.recv(100)))
except OSError as e:
    print("error", e)
PY
)"
  [[ "$answer" == error* ]] || fail "another user reached the channel: $answer"
fi

# A copy in another session (another test run at the same time) has its own.
mkdir -m 700 "$work/other-session"
status="$(XDG_RUNTIME_DIR="$work/other-session" run_desktop "$work/second" "wait 500
close" 15)"
[ "$status" = 0 ] || fail "the start in another session ended with status $status"
grep -q "renderer none" "$work/second/stderr.txt" && fail "a copy in another session met the first: $(cat "$work/second/stderr.txt")"

wait "$first" || fail "the first copy ended with status $?"
grep -q "raises 1" "$work/first/stderr.txt" || fail "the first window was not raised: $(cat "$work/first/stderr.txt")"
[ -f "$work/first/config.ini" ] || fail "the first copy did not save at the close"

# A copy killed outright leaves nothing that stops the next start.
(cd "$work/killed" && exec ./fingulp) > /dev/null 2>&1 &
killed=$!
sleep 1.5
kill -KILL "$killed"
wait "$killed" 2>/dev/null || true
status="$(run_desktop "$work/second" "wait 1000
close" 15)"
[ "$status" = 0 ] || fail "the start after a killed copy ended with status $status"
grep -q "renderer none" "$work/second/stderr.txt" && fail "the start after a killed copy found a ghost: $(cat "$work/second/stderr.txt")"
# A first copy that holds the marker but never answers (hung, then stopped):
# SIGTERM ends the second start within 1 s at any point of its wait, and one
# left to wait gives up saying so.
stem="$(stem_of "$XDG_RUNTIME_DIR" "$XDG_RUNTIME_DIR")"
/usr/bin/python3 - "$stem" <<'PY' &
import fcntl, os, socket, sys, time
lock = open(sys.argv[1] + ".lock", "a")
fcntl.flock(lock, fcntl.LOCK_EX)
if os.path.exists(sys.argv[1] + ".sock"):
    os.unlink(sys.argv[1] + ".sock")
listener = socket.socket(socket.AF_UNIX)
listener.bind(sys.argv[1] + ".sock")
listener.listen(128)  # room for every connection this test makes: each waits for its answer
time.sleep(60)
PY
hung=$!
cleanup_steps+=("kill $hung 2>/dev/null; wait $hung 2>/dev/null")
sleep 0.5
waits=""
second_copy() {  # SIGTERM-AFTER-SECONDS (none: left to give up); sets $took (ms from the signal) and $status
  (cd "$work/killed" && exec timeout 30 ./fingulp) > "$work/second.out" 2>&1 &
  local copy=$! sent
  [ "$1" = none ] || { sleep "$1"; kill -TERM "$copy"; }
  sent=$(date +%s%N) status=0
  wait "$copy" || status=$?
  took=$(( ($(date +%s%N) - sent) / 1000000 ))
}
for at in 0.2 0.7 1.2 3.3 6.0; do
  second_copy "$at"
  [ "$status" = 0 ] && [ "$took" -lt 1000 ] && [ ! -s "$work/second.out" ] \
    || fail "SIGTERM ${at} s into the wait on a hung copy: status $status after $took ms: $(cat "$work/second.out")"
  waits+=" ${at} s: ${took} ms;"
done
second_copy none
[ "$status" = 0 ] && [ "$(grep -c . "$work/second.out")" = 1 ] \
  && grep -q "another copy holds the game but does not answer" "$work/second.out" \
  || fail "giving up on a hung copy: status $status, said: $(cat "$work/second.out")"
kill "$hung"; wait "$hung" 2>/dev/null || true

install_copy "$exe" "$work/frozen"
(cd "$work/frozen" && exec ./fingulp) > /dev/null 2>&1 &  # no timeout in between: the game itself is stopped
frozen=$!
cleanup_steps+=("kill -CONT $frozen 2>/dev/null; kill $frozen 2>/dev/null; wait $frozen 2>/dev/null")
sleep 2
kill -STOP "$frozen"
second_copy 1.5
[ "$status" = 0 ] && [ "$took" -lt 1000 ] || fail "SIGTERM in the wait on a stopped copy: status $status after $took ms"
waits+=" stopped copy: ${took} ms"
kill -CONT "$frozen"; kill -TERM "$frozen"; wait "$frozen" || fail "the stopped copy ended with status $? once continued"
echo "single instance: second start raised the first and ended (${raised_in} ms); killed copy left no marker;" \
  "SIGTERM on a hung copy:$waits"
