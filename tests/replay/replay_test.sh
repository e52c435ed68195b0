#!/usr/bin/env bash
# A scripted headless game plays back to the same last screen and outcome; an edited
# replay fails --verify (1); damaged or foreign ones are refused with a reason (2);
# the most demanding replay ends in time linear in its input, its memory flat.
# Usage: replay_test.sh FINGULP-SIM HOSTILE-REPLAY-WRITER
set -euo pipefail
sim="$(realpath "$1")" writer="$(realpath "$2")"
here="$(cd "$(dirname "$0")" && pwd)"
export PYTHONPATH="$here/../support"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
cd "$work"
sed "s#SHOT#$work/recorded.png#" "$here/recorded_game.sim" > game.sim
"$sim" --exe-dir "$work" --record game.fgr game.sim > /dev/null
"$sim" --replay game.fgr --verify --shot played.png --animation game.webp > out.txt
grep -q '^replay ending=starved fish=[1-9]' out.txt || { echo "unexpected outcome:"; cat out.txt; exit 1; }
cmp recorded.png played.png
[ "$(head -c 4 game.webp | tail -c 4)" = RIFF ] && [ "$(head -c 12 game.webp | tail -c 4)" = WEBP ]

# The link form plays the same game.
printf 'https://example.org/fingulp/#replay=%s\n' "$(base64 -w0 game.fgr | tr '+/' '-_' | tr -d '=')" > link.txt
"$sim" --replay link.txt --verify --shot link.png > /dev/null
cmp recorded.png link.png

# Verdicts: edited fish count -> 1; cut short, other format, not a replay -> 2.
expect() {
  local want="$1" file="$2" status=0
  "$sim" --replay "$file" --verify > /dev/null 2> err.txt || status=$?
  [ "$status" = "$want" ] || { echo "$file: exit $status, wanted $want"; cat err.txt; exit 1; }
  [ "$want" = 0 ] || [ -s err.txt ] || { echo "$file: no message"; exit 1; }
}
python3 - <<'PY'
from replay_file import Replay
r = Replay("game.fgr")
r.data[r.fish_at] ^= 1
open("edited.fgr", "wb").write(r.data)
original = open("game.fgr", "rb").read()
open("short.fgr", "wb").write(original[:-3])
open("future.fgr", "wb").write(original[:3] + bytes([9]) + original[4:])
open("noise.fgr", "wb").write(b"\x00" * 50)
PY
expect 0 game.fgr
expect 1 edited.fgr
for f in short.fgr future.fgr noise.fgr missing.fgr; do expect 2 "$f"; done
# A replay of format 1 (no version, no state checks) still plays and verifies by its outcome.
expect 0 "$here/../fuzz/corpus/replay_reader/game.fgr"

# An arrow press changed: --verify names the first checked tick after it, with its time.
read -r changed < <(python3 - <<'PY'
from replay_file import Replay
r = Replay("game.fgr")
tick, place = next((t, p) for t, kind, p, _ in r.items() if 8 <= kind <= 11 and t >= 60)
r.data[place] ^= 1  # Left <-> Right, Up <-> Down
open("departs.fgr", "wb").write(r.data)
print(tick)
PY
)
expect 1 departs.fgr
departed="$(sed -n 's/.*departs from the replay at tick \([0-9]*\) (\([0-9]*:[0-9][0-9]\.[0-9]\))$/\1 \2/p' err.txt)"
[ -n "$departed" ] && [ "${departed% *}" -gt "$changed" ] && [ $(( ${departed% *} % 20 )) = 0 ] \
  || { echo "a press changed at tick $changed: $(cat err.txt)"; exit 1; }

# What a replay holds, on one line; a refused one exits 2.
"$sim" --info game.fgr > info.txt
grep -Eqx "format=2 edition=headless level=easy version=[0-9]+\.[0-9]+\.[0-9]+ fish=[1-9][0-9]* duration=0:[0-9]{2}\.[0-9] ticks=[0-9]+ ending=starved checks=[0-9]+ bytes=$(stat -c %s game.fgr)" info.txt \
  || { echo "--info said: $(cat info.txt)"; exit 1; }
status=0; "$sim" --info noise.fgr > /dev/null 2>&1 || status=$?
[ "$status" = 2 ] || { echo "--info of noise: status $status"; exit 1; }

# --until stops the replay at a tick: the state there, and at the end the last screen.
"$sim" --replay game.fgr --until 200 | grep -q '^replay ending=unfinished fish=[0-9]* ticks=200$'
"$sim" --replay game.fgr --until 4000000 --shot until.png > /dev/null
cmp recorded.png until.png

# Every message quotes a path's control bytes as \xNN, so none drives the terminal.
esc=$'\e]0;owned\a' shown='\x1B]0;owned\x07'
while IFS='|' read -r -a args; do
  args=("${args[@]//ESC/$esc}") status=0
  timeout 20 "$sim" "${args[@]}" > /dev/null 2> err.txt || status=$?
  [ "$status" != 0 ] && [ "$status" != 124 ] && grep -qF "$shown" err.txt && ! grep -q $'\e' err.txt \
    || { echo "${args[*]}: status $status, said: $(cat -v err.txt)"; exit 1; }
done <<'CASES'
--replay|missingESC.fgr
--replay|game.fgr|--shot|noESC/last.png
--replay|game.fgr|--animation|noESC/game.webp
--exe-dir|.|--record|noESC/game.fgr|game.sim
--exe-dir|.|--log|noESC/log.txt|game.sim
missingESC.sim
--verifyESC
CASES

# A FIFO, or a file swapped for one as it is opened, is refused at once, never waited on.
mkfifo pipe
status=0; timeout 5 "$sim" pipe > /dev/null 2>&1 || status=$?
[ "$status" = 2 ] || { echo "a FIFO as the script: status $status"; exit 1; }
python3 - <<'PY' &
import os
for name, target in (("a", "game.fgr"), ("b", "pipe")):
    os.symlink(target, name)
while True:
    for name, target in (("a", "game.fgr"), ("b", "pipe")):
        os.rename(name, "swapped.fgr")
        os.symlink(target, name)
PY
swapper=$!
trap 'kill $swapper 2>/dev/null; rm -rf "$work"' EXIT
for _ in $(seq 60); do
  status=0; timeout 5 "$sim" --replay swapped.fgr > /dev/null 2>&1 || status=$?
  [ "$status" = 0 ] || [ "$status" = 2 ] || { echo "a replay swapped for a FIFO: status $status"; exit 1; }
done
# A sixteenth of the largest replay (each press a click, logged, never kept) ends within a
# sixteenth of 8 minutes in 16 MB; AddressSanitizer's slower builds only have to end.
"$writer" hostile.fgr 65536 sound
status=0
/usr/bin/time -f '%e %M' -o used.txt timeout 300 "$sim" --replay hostile.fgr > out.txt 2> err.txt || status=$?
read -r seconds kilobytes < used.txt
[ "$status" = 0 ] && grep -q '^replay ending=unfinished fish=0 ticks=0$' out.txt \
  || { echo "the hostile replay: status $status, said: $(cat out.txt err.txt)"; exit 1; }
if ! ldd "$sim" | grep -q libasan; then
  awk -v s="$seconds" -v k="$kilobytes" 'BEGIN { exit !(s <= 30 && k <= 16384) }' \
    || { echo "the hostile replay took $seconds s and $kilobytes KB"; exit 1; }
fi
echo "replays play back identically; a sixteenth of the largest hostile replay: $seconds s, $kilobytes KB"
