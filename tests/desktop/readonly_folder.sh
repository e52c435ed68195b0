#!/usr/bin/env bash
# An installed copy whose folder the player cannot write: config.ini goes to
# the user's data folder (created), with no "Can't create config file!", and
# the scores saved at Exit are read back at the next start; a config.ini beside it
# is only read. Under /opt/ even root's copy saves in the data folder.
# Usage: readonly_folder.sh FINGULP FINGULP-DESKTOP-TEST FINGULP-SIM
source "$(dirname "$0")/lib.sh"
test_exe="$(realpath "$2")"

install_copy "$test_exe" "$work/installed"
mkdir -p "$work/data" "$work/home"
# The scores of the days when the folder was the player's.
{ printf '[Lagoon]\n'; printf '%s="off";\n' name sound music level MMCdir CAMdir DEVdir
  printf '%s="0";\n' EEasyScores EHardScores PEasyScores PHardScores | sed 's/^EEasyScores="0"/EEasyScores="77"/'
} | iconv -t UTF-16LE > "$work/installed/config.ini"
cp "$work/installed/config.ini" "$work/beside.ini"
chmod 644 "$work/installed/config.ini"
chmod 555 "$work/installed"
chmod 777 "$work/data" "$work/home"
# The player's one-copy marker goes to a temporary folder of the test's.
mkdir -m 1777 "$work/tmp"
# Root writes anywhere: run the game as an ordinary user then.
as_player=()
if [ "$(id -u)" = 0 ]; then
  command -v setpriv >/dev/null || skip "running as root without setpriv to become an ordinary user"
  as_player=(setpriv --reuid=65534 --regid=65534 --clear-groups --)
fi
printf 'wait 5600\nkey up\nwait 400\nkey enter\n' > "$work/input.sim"
chmod 644 "$work/input.sim"

play() {  # FOLDER [AS...]
  local folder="$1" status=0
  shift
  (cd "$folder" && env HOME="$work/home" XDG_DATA_HOME="$work/data" TMPDIR="$work/tmp" \
     timeout 30 "$@" ./fingulp --input "$work/input.sim") > "$work/stdout.txt" 2> "$work/stderr.txt" || status=$?
  [ "$status" = 0 ] || fail "the installed copy ended with status $status: $(cat "$work/stderr.txt")"
  ! grep -q "Can't create config file" "$work/stderr.txt" || fail "the player was told the config file cannot be created"
}
saved="$work/data/fingulp/config.ini"

play "$work/installed" "${as_player[@]}"
[ -f "$saved" ] || fail "no config.ini in the data folder: $(ls -R "$work/data")"
cmp -s "$work/installed/config.ini" "$work/beside.ini" || fail "config.ini beside a read-only executable was written"
config_text "$saved" | grep -q 'EEasyScores="77"' || fail "the game did not start from the config.ini beside it"

# A best score in the data folder survives the next start and Exit; the file
# beside the executable no longer counts.
python3 - "$saved" <<'PY'
import sys
path = sys.argv[1]
text = open(path, "rb").read().decode("utf-16-le").replace('EEasyScores="77"', 'EEasyScores="42"')
open(path, "wb").write(text.encode("utf-16-le"))
PY
play "$work/installed" "${as_player[@]}"
config_text "$saved" | grep -q 'EEasyScores="42"' || fail "the best score in the data folder was lost"

# Installed under /opt/ and run as root: the folder is never written.
if [ "$(id -u)" = 0 ] && [ -w /opt ]; then
  opt="$(mktemp -d /opt/fingulp-test.XXXXXX)"
  cleanup_steps+=("rm -rf '$opt'")
  chmod 755 "$opt"
  cp "$test_exe" "$opt/fingulp"
  cp "$work/beside.ini" "$opt/config.ini"
  rm -rf "$work/data/fingulp"
  printf 'wait 5600\nkey 123\nwait 400\nkey up\nwait 400\nkey enter\n' > "$work/input.sim"
  play "$opt"
  [ "$(ls "$opt")" = "$(printf 'config.ini\nfingulp')" ] || fail "the game wrote into its /opt folder: $(ls "$opt")"
  cmp -s "$opt/config.ini" "$work/beside.ini" || fail "config.ini beside the /opt copy was written"
  config_text "$saved" | grep -q 'EEasyScores="77"' || fail "the /opt copy did not save in the data folder"
  [ -f "$work/data/fingulp/fingulp-0001.png" ] || fail "F12 did not save in the data folder: $(cat "$work/stdout.txt")"
fi
echo "read-only and installed folders: config.ini kept in the user's data folder, the one beside only read"
