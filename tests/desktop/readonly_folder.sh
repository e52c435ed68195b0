#!/usr/bin/env bash
# An installed copy whose folder the player cannot write: config.ini goes to
# the user's data folder (created), with no "Can't create config file!", and
# the scores saved at Exit are read back at the next start.
# Usage: readonly_folder.sh FINGULP FINGULP-DESKTOP-TEST FINGULP-SIM
source "$(dirname "$0")/lib.sh"
test_exe="$(realpath "$2")"

install_copy "$test_exe" "$work/installed"
mkdir -p "$work/data" "$work/home"
chmod 555 "$work/installed"
chmod 777 "$work/data" "$work/home"
# Root writes anywhere: run the game as an ordinary user then.
as_player=()
if [ "$(id -u)" = 0 ]; then
  command -v setpriv >/dev/null || skip "running as root without setpriv to become an ordinary user"
  as_player=(setpriv --reuid=65534 --regid=65534 --clear-groups --)
fi
printf 'wait 5600\nkey up\nwait 400\nkey enter\n' > "$work/input.sim"
chmod 644 "$work/input.sim"

play() {
  local status=0
  (cd "$work/installed" && env HOME="$work/home" XDG_DATA_HOME="$work/data" \
     timeout 30 "${as_player[@]}" ./fingulp --input "$work/input.sim") > "$work/stdout.txt" 2> "$work/stderr.txt" || status=$?
  [ "$status" = 0 ] || fail "the installed copy ended with status $status: $(cat "$work/stderr.txt")"
  ! grep -q "Can't create config file" "$work/stderr.txt" || fail "the player was told the config file cannot be created"
}

play
[ -f "$work/data/fingulp/config.ini" ] || fail "no config.ini in the data folder: $(ls -R "$work/data")"
[ ! -e "$work/installed/config.ini" ] || fail "config.ini was written beside a read-only executable"
config_text "$work/data/fingulp/config.ini" | grep -q 'EEasyScores="0"' || fail "the saved file is not the settings file"

# A best score in the data folder survives the next start and Exit.
python3 - "$work/data/fingulp/config.ini" <<'PY'
import sys
path = sys.argv[1]
text = open(path, "rb").read().decode("utf-16-le").replace('EEasyScores="0"', 'EEasyScores="42"')
open(path, "wb").write(text.encode("utf-16-le"))
PY
play
config_text "$work/data/fingulp/config.ini" | grep -q 'EEasyScores="42"' || fail "the best score in the data folder was lost"
echo "read-only folder: config.ini kept in the user's data folder"
