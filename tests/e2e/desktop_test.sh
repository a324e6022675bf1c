#!/usr/bin/env bash
# Runs a copy of the real program under Xvfb and uses it with the keyboard, as a person would.
# Usage: desktop_test.sh <ardovin executable> <clipboard reader>
set -euo pipefail
source "$(dirname "$(realpath "$0")")/../../scripts/lib/desktop.sh"

program=$(realpath "$1")
clipboard_reader=$(realpath "$2")

for tool in xvfb-run xdotool; do
    command -v "$tool" >/dev/null || { echo "FAIL: $tool is not installed" >&2; exit 1; }
done

if [ -z "${ARDOVIN_E2E_INNER:-}" ]; then
    export ARDOVIN_E2E_INNER=1
    exec xvfb-run -a -s "-screen 0 1024x768x24" "$0" "$@"
fi

folder=$(mktemp -d)
trap 'kill $(jobs -p) 2>/dev/null || true; rm -rf "$folder"' EXIT
cp "$program" "$folder/ardovin"
mkdir -m 700 "$folder/run"
export XDG_RUNTIME_DIR="$folder/run" QT_QPA_PLATFORM=xcb LC_ALL=C.UTF-8 LANG=C.UTF-8

fail() {
    echo "FAIL: $*; windows shown: $(xdotool search --onlyvisible --name '.' getwindowname %@ 2>/dev/null)" >&2
    exit 1
}
clipboard() { "$clipboard_reader"; }

# A message box's text, copied with Ctrl+C as the box allows.
box_text() {
    focus "$1"
    keys ctrl+c
    clipboard
}

# 1. First start without settings.cfg: the message, answered with the keyboard.
cd "$folder"
./ardovin &
first=$!
box=$(wait_for_window "$first" '^Ardovin$') || fail "no window at the first start"
text=$(box_text "$box")
grep -q "User default settings not found." <<<"$text" || fail "start-up message was: $text"
grep -q "Loading program defaults." <<<"$text" || fail "start-up message was: $text"
keys Return

main=$(wait_for_window "$first" '^Ardovin$' 510) || fail "the main window did not appear"
focus "$main"

# 2. A second copy says so and ends without a window; the first goes on.
./ardovin &
second=$!
box=$(wait_for_window "$second" '^Ardovin$') || fail "the second copy showed nothing"
text=$(box_text "$box")
grep -q "Ardovin already running." <<<"$text" || fail "second copy said: $text"
[ "$(xdotool search --all --onlyvisible --pid "$second" --name '^Ardovin$' | wc -l)" -eq 1 ] ||
    fail "the second copy showed more than its message"
keys Return
status=0
wait "$second" || status=$?
[ "$status" -eq 0 ] || fail "the second copy ended with status $status"
kill -0 "$first" || fail "the first copy ended"

# 3. A batch, by keystrokes: 23 U.S. gallons, pH 3.50, from 10 to 40 mg/L, powder in grams.
focus "$main"
enter_worked_batch

# The addition, selected in its label and copied.
xdotool mousemove --window "$main" 380 $(($(menu_height "$main") + 202)) click 1
pause
keys ctrl+a ctrl+c
[ "$(clipboard)" = "4.53" ] || fail "the addition was '$(clipboard)', not 4.53"

# 4. File, Exit ends the program with status 0.
focus "$main"
keys alt+f x
status=0
wait "$first" || status=$?
[ "$status" -eq 0 ] || fail "File, Exit ended with status $status"
echo "PASS: Ardovin started, refused a second copy, calculated and ended"
