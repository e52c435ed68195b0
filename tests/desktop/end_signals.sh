#!/usr/bin/env bash
# SIGTERM, SIGINT and SIGHUP end the game as its close button does, in every
# screen: within a second, with status 0, config.ini saved as the headless
# handset saves it when closed at that moment, or nothing written when the
# settings were not yet read (the splash). Times are printed, and checked
# only against a generous bound.
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
echo "end signals:$report"
