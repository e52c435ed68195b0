#!/usr/bin/env bash
# One running copy per user, across processes: a second start raises the first
# window and ends with code 0 without a window of its own; a killed copy leaves
# no marker behind; another user can neither find nor raise the window, and a
# copy in another session (with no display, as here) does not meet it.
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
took=$(( ($(date +%s%N) - started) / 1000000 ))
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
echo "single instance: second start raised the first and ended (${took} ms); killed copy left no marker"
