#!/usr/bin/env bash
# The executable's command line on SDL's dummy drivers: --help and --version
# answer and end; a bad option or level prints the usage and ends with status
# 2 without starting the game or touching config.ini, as does a replay that
# cannot be played (with its reason instead); --level hard is taken as
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
printf 'FGR\001garbage' > damaged.fgr
# A bad option or level: the usage. A replay missing, damaged or not one: its reason.
for bad in "--bogus" "--level" "--level medium" "--level=HARD" "--replay" scores.ini damaged.fgr \
           "--replay=#replay=RkdSAQ"; do
  status=0 said="^usage: fingulp"
  [[ "$bad" == *.* || "$bad" == --replay=* ]] && said="^fingulp: .*: .*replay"
  # shellcheck disable=SC2086
  timeout 10 ./fingulp $bad > out.txt 2> err.txt || status=$?
  [ "$status" = 2 ] || fail "'$bad' ended with status $status"
  grep -q "$said" err.txt || fail "'$bad' did not say $said: $(cat err.txt)"
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
