#!/usr/bin/env bash
# The desktop test executable on SDL's dummy drivers, driven by an input
# script: through the main menu to Exit (exit code 0, config.ini as the
# headless handset saves it for the same script); then the Options changed and
# the window closed by the desktop: the close saves exactly as Exit does.
# Usage: menu_exit.sh FINGULP FINGULP-DESKTOP-TEST FINGULP-SIM
source "$(dirname "$0")/lib.sh"
test_exe="$(realpath "$2")" sim="$(realpath "$3")"

exit_script="wait 5600
key up
wait 400
key enter"
install_copy "$test_exe" "$work/exit"
status="$(run_desktop "$work/exit" "$exit_script")"
[ "$status" = 0 ] || fail "Exit from the menu ended with status $status: $(cat "$work/exit/stderr.txt")"
[ -f "$work/exit/config.ini" ] || fail "Exit saved no config.ini"
run_sim "$sim" "$work/exit-sim" "$exit_script"
cmp -s "$work/exit/config.ini" "$work/exit-sim/config.ini" || {
  diff <(config_text "$work/exit-sim/config.ini") <(config_text "$work/exit/config.ini") || true
  fail "config.ini after Exit differs from the headless handset's"
}

# Options: Sound on (and Vibrate), STORE, then the desktop's close button.
close_script="$options_on_script
wait 600
close"
install_copy "$test_exe" "$work/close"
status="$(run_desktop "$work/close" "$close_script")"
[ "$status" = 0 ] || fail "the close button ended with status $status: $(cat "$work/close/stderr.txt")"
run_sim "$sim" "$work/close-sim" "$close_script"
grep -q "exit 0" "$work/close-sim/sim.out" || fail "the headless handset did not quit on close: $(cat "$work/close-sim/sim.out")"
cmp -s "$work/close/config.ini" "$work/close-sim/config.ini" || {
  diff <(config_text "$work/close-sim/config.ini") <(config_text "$work/close/config.ini") || true
  fail "config.ini after the close button differs from the headless handset's"
}
cmp -s "$work/close/config.ini" "$work/exit/config.ini" && fail "the changed options were not saved by the close"
echo "menu exit and close button: saved as the headless handset saves, exit code 0"
