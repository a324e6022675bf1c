#!/usr/bin/env bash
# Runs a copy of the real program under Xvfb and uses it with the keyboard, as a person would:
# the first start's message, a second copy refused, the worked batch, File, Exit. A missing
# Xvfb, xdotool or xclip fails it rather than skipping it.
# Usage: desktop_test.sh <ardovin executable>
set -euo pipefail
source "$(dirname "$(realpath "$0")")/../../scripts/lib/desktop.sh"
if [ -z "${ARDOVIN_E2E_INNER:-}" ]; then
    export ARDOVIN_E2E_INNER=1
    exec xvfb-run -a -s "-screen 0 1024x768x24" "$0" "$(realpath "$1")"
fi

folder=$(mktemp -d)
trap 'kill $(jobs -p) 2>/dev/null || true; rm -rf "$folder"' EXIT
cp "$1" "$folder/ardovin"
mkdir -m 700 "$folder/run"
export XDG_RUNTIME_DIR="$folder/run" QT_QPA_PLATFORM=xcb LC_ALL=C.UTF-8 LANG=C.UTF-8
cd "$folder"

fail() {
    echo "FAIL: $*; windows shown: $(xdotool search --onlyvisible --name '.' getwindowname %@ 2>/dev/null)" >&2
    exit 1
}
clipboard() { xclip -o -selection clipboard; }
# A copy's message box holds the text (copied with Ctrl+C, as the box allows); Return answers it.
expect_box() {
    focus "$(wait_for_window "$1" '^Ardovin$')" || fail "no message from copy $1"
    keys ctrl+c
    [[ "$(clipboard)" == *"$2"* ]] || fail "the message was '$(clipboard)', not '$2'"
    keys Return
}
ends_well() { wait "$1" || fail "copy $1 ended with status $?"; }

./ardovin &
first=$!
expect_box "$first" $'User default settings not found.\nLoading program defaults.'
main=$(wait_for_window "$first" '^Ardovin$' 510) || fail "the main window did not appear"
./ardovin &
second=$!
expect_box "$second" "Ardovin already running."
ends_well "$second"
kill -0 "$first" || fail "the first copy ended"

# 23 U.S. gallons, pH 3.50, from 10 to 40 mg/L, powder in grams; the addition selected in its
# label and copied.
focus "$main"
enter_worked_batch
xdotool mousemove --window "$main" 380 $(($(menu_height "$main") + 202)) click 1
pause
keys ctrl+a ctrl+c
[ "$(clipboard)" = "4.53" ] || fail "the addition was '$(clipboard)', not 4.53"
keys alt+f x
ends_well "$first"
echo "PASS: Ardovin started, refused a second copy, calculated and ended"
