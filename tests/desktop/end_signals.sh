#!/usr/bin/env bash
# End signals close the game as its close button does, by screen: status 0, within a
# generous bound, config.ini as the headless handset saves it, or none before it was read.
# Usage: end_signals.sh FINGULP FINGULP-DESKTOP-TEST FINGULP-SIM
source "$(dirname "$0")/lib.sh"
test_exe="$(realpath "$2")" sim="$(realpath "$3")"

ends() {  # WHAT SIGNAL SECONDS FOLDER: signals the game (started in FOLDER) that long after
  sleep "$3"
  local sent=$(date +%s%N) status=0
  kill -"$2" "$game"
  wait "$game" || status=$?
  took=$(( ($(date +%s%N) - sent) / 1000000 ))
  [ "$status" = 0 ] && [ "$took" -lt 3000 ] || fail "SIG$2 in the $1: status $status after $took ms: $(cat "$4/out")"
  report+=" $1/SIG$2 $took ms;"
}

# screen | signal | its time in ms | input script before it
rows=("splash|TERM|1000|" "settings load|HUP|2600|" "main menu|INT|8000|$options_on_script"
      "Get Ready! card|TERM|7000|wait 5600
key enter")
report=""
for row in "${rows[@]}"; do
  IFS='|' read -r screen signal at _ <<< "$row"
  script="${row#*|*|*|}" folder="$work/${screen// /-}"
  install_copy "$test_exe" "$folder"
  printf '%s\n' "$script" > "$folder/input.sim"
  (cd "$folder" && exec timeout 30 ./fingulp --input input.sim) > "$folder/out" 2>&1 &
  game=$!
  ends "$screen" "$signal" "$(( at / 1000 )).$(printf %03d $(( at % 1000 )))" "$folder"
  if [ "$screen" = splash ]; then
    [ ! -e "$folder/config.ini" ] || fail "SIG$signal in the splash wrote config.ini"
    continue
  fi
  waited="$( (grep -o '^wait [0-9]*' <<< "$script" || true) | awk '{s += $2} END {print s + 0}')"
  run_sim "$sim" "$folder-sim" "$script
wait $(( at - waited ))
close"
  cmp -s "$folder/config.ini" "$folder-sim/config.ini" || fail "SIG$signal in the $screen: config.ini differs" \
    "from the headless handset's: $(diff <(config_text "$folder-sim/config.ini") <(config_text "$folder/config.ini"))"
done

# Another copy holds the marker for 1.5 s, with no window to find.
/usr/bin/python3 -c 'import fcntl, sys, time; f = open(sys.argv[1], "a"); fcntl.flock(f, fcntl.LOCK_EX); time.sleep(1.5)' \
  "$(stem_of "$XDG_RUNTIME_DIR" "$XDG_RUNTIME_DIR").lock" &
cleanup_steps+=("kill $! 2>/dev/null; wait $! 2>/dev/null")
sleep 0.3
install_copy "$test_exe" "$work/waiting"
(cd "$work/waiting" && exec timeout 30 ./fingulp --stats) > "$work/waiting/out" 2>&1 &
game=$!
ends "one-copy wait" TERM 0.7 "$work/waiting"
grep -q "renderer none" "$work/waiting/out" && [ ! -e "$work/waiting/config.ini" ] \
  || fail "SIGTERM in the one-copy wait made a window or wrote config.ini: $(cat "$work/waiting/out")"
echo "end signals:$report"
