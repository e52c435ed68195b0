#!/usr/bin/env bash
# A game played with real keys under X is kept and plays back headless to the
# same last screen and outcome; watched in the window it ends there, writing
# nothing, and its keys pause, seek and set the pace as the title tells.
# Usage: replays.sh FINGULP FINGULP-DESKTOP-TEST FINGULP-SIM TEST_DESKTOP
source "$(dirname "$0")/lib.sh"
exe="$(realpath "$1")" sim="$(realpath "$3")"
need Xvfb xdotool import compare identify convert -- xvfb xdotool imagemagick
start_xvfb -screen 0 1024x768x24 -ardelay 100000
export DISPLAY="$xvfb_display" SDL_VIDEODRIVER=x11
export ASAN_OPTIONS="${ASAN_OPTIONS:+$ASAN_OPTIONS:}detect_leaks=0"
kept="$XDG_DATA_HOME/fingulp/replays"

# 1. A game with real keys, left to starve; then F12 and Exit.
install_copy "$exe" "$work/game"
(cd "$work/game" && exec timeout 120 ./fingulp) > "$work/game/stdout.txt" 2> "$work/game/stderr.txt" &
game=$!
cleanup_steps+=("kill $game 2>/dev/null; wait $game 2>/dev/null")
window="$(game_window)"
sleep 6
press_keys Return
sleep 3.5
for key in Left Up Right Down 4 6; do
  timeout 5 xdotool keydown "$key"; sleep 0.4; timeout 5 xdotool keyup "$key"; sleep 0.2
done
press_keys F2 F2
for _ in $(seq 400); do compgen -G "$kept/*.fgr" > /dev/null && break; sleep 0.1; done
replay="$(compgen -G "$kept/*.fgr" | head -1)" || fail "no replay kept in $kept: $(cat "$work/game/stderr.txt")"
[[ "$(basename "$replay")" =~ ^[0-9]{6}_[0-9]{4}-[0-9]{2}-[0-9]{2}_[0-9]{2}-[0-9]{2}-[0-9]{2}_score-[0-9]+\.fgr$ ]] \
  || fail "the replay's name tells no number, date, time and score: $replay"
sleep 1.5  # the closing music plays to its end
press_keys F12
press_keys Escape Up Return
wait "$game" || fail "the game ended with status $?"

# 2. The headless handset plays it to the same last screen and outcome.
"$sim" --replay "$replay" --verify --shot "$work/sim.png" > "$work/sim.out" 2>&1 || fail "--verify: $(cat "$work/sim.out")"
grep -q '^replay ending=starved ' "$work/sim.out" || fail "the replay did not end by starving: $(cat "$work/sim.out")"
differing="$(compare -metric AE "$work/game/fingulp-0001.png" "$work/sim.png" null: 2>&1 || true)"
[ "$differing" = 0 ] || fail "the headless handset's last screen differs from the window's in $differing pixels"

# 3. Watching it in the window: the title, 8x, the end, nothing written.
before="$(cd "$work" && find game data config -newer "$replay" -print | sort)"
(cd "$work/game" && exec timeout 120 ./fingulp "$replay") > "$work/watch.out" 2>&1 &
watcher=$!
cleanup_steps+=("kill $watcher 2>/dev/null; wait $watcher 2>/dev/null")
title_is() {  # PATTERN [TRIES]
  for _ in $(seq "${2:-100}"); do
    watching="$(xdotool search --name "$1" 2>/dev/null | head -1 || true)" && [ -n "$watching" ] && return 0
    sleep 0.1
  done; return 1
}
seconds() { echo $(( 10#${1%%:*} * 60 + 10#${1##*:} )); }  # m:ss
# The title tells the time, the total and the pace; each key changes it.
title_is '^FINGULP replay - 0:0[0-9] / [0-9]+:[0-9]{2} - 1x$' || fail "no window says a replay plays at 1x"
win="$watching"
total="$(xdotool getwindowname "$win" | sed -E 's#.* / ([0-9]+:[0-9]{2}) .*#\1#')"
at() { local s=$(( $1 < 0 ? 0 : $1 )); printf '%d:%02d' $(( s / 60 )) $(( s % 60 )); }
end=$(seconds "$total")
press_keys space
title_is " - paused\$" || fail "Space did not pause: $(xdotool getwindowname "$win")"
press_keys End
title_is "^FINGULP replay - $total / $total - ended\$" || fail "End did not go to the end: $(xdotool getwindowname "$win")"
sleep 0.5
import -window "$watching" "$work/sought.png"
scale=$(( $(identify -format '%w' "$work/sought.png") / 176 ))
convert "$work/sim.png" -filter point -resize "$(( scale * 100 ))%" "$work/sim-scaled.png"
differing="$(compare -metric AE "$work/sought.png" "$work/sim-scaled.png" null: 2>&1 || true)"
[ "$differing" = 0 ] || fail "the end sought shows another last screen, in $differing pixels"
press_keys Left
title_is "^FINGULP replay - $(at $(( end - 5 ))) / $total - paused\$" || fail "Left did not go back 5 s: $(xdotool getwindowname "$win")"
press_keys Home
title_is "^FINGULP replay - 0:00 / $total - paused\$" || fail "Home did not go to the start: $(xdotool getwindowname "$win")"
press_keys Right
title_is "^FINGULP replay - 0:05 / $total - paused\$" || fail "Right did not go on 5 s: $(xdotool getwindowname "$win")"
press_keys plus plus plus plus plus minus space  # the pace set while paused
title_is " / $total - 4x\$" || fail "+ and - did not set 4x: $(xdotool getwindowname "$win")"
title_is "^FINGULP replay - $total / $total - ended\$" 600 || fail "the replay never ended"
sleep 0.5
import -window "$watching" "$work/watched.png"
differing="$(compare -metric AE "$work/watched.png" "$work/sim-scaled.png" null: 2>&1 || true)"
[ "$differing" = 0 ] || fail "the watched game's last screen differs in $differing pixels"
press_keys Escape
wait "$watcher" || fail "watching ended with status $?"
after="$(cd "$work" && find game data config -newer "$replay" -print | sort)"
[ "$before" = "$after" ] || fail "watching wrote: $(diff <(echo "$before") <(echo "$after"))"
echo "replays: kept with date, time and score; the same last screen and outcome headless and watched; the watching keys and title"
