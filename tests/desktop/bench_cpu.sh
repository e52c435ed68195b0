#!/usr/bin/env bash
# Benchmark, not a test: CPU used by the running game over 10 s in the main
# menu and over 10 s of play (from /proc), and the cost of presenting a frame,
# on SDL's dummy video driver and, when Xvfb is at hand, on X11 (with SDL's
# default renderer and with its software renderer).
# Usage: bench_cpu.sh FINGULP-DESKTOP-TEST
source "$(dirname "$0")/lib.sh"
exe="$(realpath "$1")"
hz="$(getconf CLK_TCK)"

cpu_ticks() { awk '{print $14 + $15}' "/proc/$1/stat"; }

# Menu from 6 s to 16 s; New at 16.5 s; play from 21 s (after "Get Ready!") to
# 31 s; then MENU and Exit.
script='wait 16500
key enter
wait 16000
soft left
wait 500
key up
wait 400
key enter'

measure() {  # LABEL [ENV...]
  local label="$1"
  shift
  local folder="$work/$label"
  install_copy "$exe" "$folder"
  printf '%s\n' "$script" > "$folder/input.sim"
  (cd "$folder" && exec env "$@" ./fingulp --stats --input "$folder/input.sim") 2> "$folder/stderr.txt" &
  local pid=$!
  sleep 6
  local a b c d
  a="$(cpu_ticks "$pid")"; sleep 10; b="$(cpu_ticks "$pid")"
  sleep 5
  c="$(cpu_ticks "$pid")"; sleep 10; d="$(cpu_ticks "$pid")"
  wait "$pid" || echo "$label: the game ended with status $?"
  awk -v l="$label" -v hz="$hz" -v a="$a" -v b="$b" -v c="$c" -v d="$d" 'BEGIN {
    printf "%-16s menu: %5.1f%% CPU (%d ms in 10 s)   play: %5.1f%% CPU (%d ms in 10 s)\n",
      l, (b - a) * 100 / hz / 10, (b - a) * 1000 / hz, (d - c) * 100 / hz / 10, (d - c) * 1000 / hz }'
  grep "fingulp stats" "$folder/stderr.txt" | sed "s/^/$(printf '%-16s' "$label") /"
}

measure dummy SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy
if command -v Xvfb >/dev/null; then
  start_xvfb -screen 0 1024x768x24
  measure x11-default DISPLAY="$xvfb_display" SDL_VIDEODRIVER=x11 SDL_AUDIODRIVER=dummy
  measure x11-software DISPLAY="$xvfb_display" SDL_VIDEODRIVER=x11 SDL_AUDIODRIVER=dummy SDL_RENDER_DRIVER=software
fi
