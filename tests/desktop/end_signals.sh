#!/usr/bin/env bash
# SIGTERM, SIGINT and SIGHUP end the game as its close button does, in every
# screen: within a second, with status 0, config.ini saved as the headless
# handset saves it when closed at that moment, or nothing written when the
# settings were not yet read (the splash). A signal while the start waits
# for another copy's window ends that start there and then, with no window.
# Times are printed, and checked only against a generous bound.
# Usage: end_signals.sh FINGULP FINGULP-DESKTOP-TEST FINGULP-SIM
source "$(dirname "$0")/lib.sh"
test_exe="$(realpath "$2")" sim="$(realpath "$3")"

# screen | signal | its time (ms) | input script before it
rows=(
  "splash|TERM|1000|"
  "settings load|HUP|2600|"
  "main menu|INT|8000|$options_on_script"
  "Get Ready! card|TERM|7000|wait 5600
key enter"
)
report=""
for row in "${rows[@]}"; do
  IFS='|' read -r screen signal at script <<< "$row"
  # read stops at the first line: the script is the rest of the row.
  script="${row#*|*|*|}"
  folder="$work/${screen// /-}"
  install_copy "$test_exe" "$folder"
  printf '%s\n' "$script" > "$folder/input.sim"
  (cd "$folder" && exec timeout 30 ./fingulp --input "$folder/input.sim") > "$folder/out.txt" 2>&1 &
  game=$!
  sleep "$(printf '%d.%03d' $(( at / 1000 )) $(( at % 1000 )))"
  sent=$(date +%s%N)
  kill -"$signal" "$game"
  status=0
  wait "$game" || status=$?
  took=$(( ($(date +%s%N) - sent) / 1000000 ))
  [ "$status" = 0 ] || fail "SIG$signal in the $screen: status $status: $(cat "$folder/out.txt")"
  [ "$took" -lt 3000 ] || fail "SIG$signal in the $screen: the game took $took ms to end"
  if [ "$screen" = splash ]; then
    [ ! -e "$folder/config.ini" ] || fail "SIG$signal in the splash wrote config.ini"
  else
    run_sim "$sim" "$folder-sim" "$script
wait $(( at - $(grep -o '^wait [0-9]*' <<< "$script" | awk '{s += $2} END {print s + 0}') ))
close"
    cmp -s "$folder/config.ini" "$folder-sim/config.ini" || {
      diff <(config_text "$folder-sim/config.ini") <(config_text "$folder/config.ini") || true
      fail "SIG$signal in the $screen: config.ini differs from the headless handset's closed there"
    }
  fi
  report+=" $screen/SIG$signal ${took} ms;"
done
# Another copy holds the marker for 1.5 s and shows no window meanwhile.
/usr/bin/python3 - "$(stem_of "$XDG_RUNTIME_DIR" "$XDG_RUNTIME_DIR").lock" <<'PY' &
import fcntl, sys, time
lock = open(sys.argv[1], "a")
fcntl.flock(lock, fcntl.LOCK_EX)
time.sleep(1.5)
PY
holder=$!
cleanup_steps+=("kill $holder 2>/dev/null; wait $holder 2>/dev/null")
sleep 0.3
install_copy "$test_exe" "$work/waiting"
(cd "$work/waiting" && exec timeout 30 ./fingulp --stats) > "$work/waiting/out.txt" 2>&1 &
game=$!
sleep 0.7
sent=$(date +%s%N)
kill -TERM "$game"
status=0
wait "$game" || status=$?
took=$(( ($(date +%s%N) - sent) / 1000000 ))
[ "$status" = 0 ] || fail "SIGTERM in the one-copy wait: status $status: $(cat "$work/waiting/out.txt")"
[ "$took" -lt 3000 ] || fail "SIGTERM in the one-copy wait: the start took $took ms to end"
grep -q "renderer none" "$work/waiting/out.txt" || fail "SIGTERM in the one-copy wait: a window was made"
[ ! -e "$work/waiting/config.ini" ] || fail "SIGTERM in the one-copy wait: config.ini was written"
echo "end signals:$report one-copy wait/SIGTERM ${took} ms"
