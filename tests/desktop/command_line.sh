#!/usr/bin/env bash
# The executable's command line on SDL's dummy drivers: --help and --version
# answer and end; a bad option or level prints the usage and ends with status
# 2 without starting the game or touching config.ini, and so does a replay
# that cannot be played (with its reason); --level hard is taken as
# if read from config.ini and saved when the desktop closes the game (SIGTERM),
# and --level easy turns it back.
# Usage: command_line.sh FINGULP FINGULP-DESKTOP-TEST FINGULP-SIM
source "$(dirname "$0")/lib.sh"
exe="$(realpath "$1")"
install_copy "$exe" "$work/game"
cd "$work/game"

./fingulp --help > help.txt || fail "--help ended with status $?"
grep -q -- "--level easy|hard" help.txt || fail "--help: $(cat help.txt)"
[ "$(./fingulp --version)" = "fingulp $(sed -n 's/^project(fingulp VERSION \([0-9.]*\).*/\1/p' "$here/../../CMakeLists.txt")" ] \
  || fail "--version: $(./fingulp --version)"
printf 'untouched' > config.ini
for bad in "--bogus" "--level" "--level medium" "--level=HARD" "--replay"; do
  status=0
  # shellcheck disable=SC2086
  timeout 10 ./fingulp $bad > out.txt 2> err.txt || status=$?
  [ "$status" = 2 ] || fail "'$bad' ended with status $status"
  grep -q "^usage: fingulp" err.txt || fail "'$bad' printed no usage: $(cat err.txt)"
  [ "$(cat config.ini)" = untouched ] || fail "'$bad' touched config.ini"
done
# A replay that is missing, damaged or not a replay: a reason, status 2, nothing touched.
printf 'FGR\001garbage' > damaged.fgr
for bad in "scores.ini" "damaged.fgr" "--replay=#replay=RkdSAQ"; do
  status=0
  timeout 10 ./fingulp "$bad" > out.txt 2> err.txt || status=$?
  [ "$status" = 2 ] || fail "'$bad' ended with status $status"
  grep -q "^fingulp: .*: .*replay" err.txt || fail "'$bad' gave no reason: $(cat err.txt)"
  [ "$(cat config.ini)" = untouched ] || fail "'$bad' touched config.ini"
done
rm config.ini damaged.fgr

play() {  # LEVEL: a run closed by the desktop after the menu is up
  ./fingulp --level "$1" > out.txt 2> err.txt &
  local game=$!
  sleep 6.5
  kill -TERM "$game"
  wait "$game" || fail "--level $1 ended with status $?: $(cat err.txt)"
}
play hard
config_text config.ini | grep -q 'level="on"' || fail "--level hard was not saved: $(config_text config.ini)"
play easy
config_text config.ini | grep -q 'level="off"' || fail "--level easy was not saved: $(config_text config.ini)"
echo "command line: help, version, refusals with status 2, the level saved"
