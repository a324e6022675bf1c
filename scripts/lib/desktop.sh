# Drives a program under an X display with xdotool, as a person at the keyboard would.
# Sourced by the screenshot script.

pause() { sleep "${1:-0.3}"; }

# The visible window of the process with a title matching the pattern, and when a width is
# given, of that width (waits up to 20 s).
wait_for_window() {
    local pid=$1 title=$2 width=${3:-} id
    for _ in $(seq 100); do
        for id in $(xdotool search --all --onlyvisible --pid "$pid" --name "$title" 2>/dev/null); do
            if [ -z "$width" ] || xdotool getwindowgeometry "$id" | grep -q "Geometry: $width"x; then
                echo "$id"
                return 0
            fi
        done
        kill -0 "$pid" 2>/dev/null || return 1
        sleep 0.2
    done
    return 1
}

focus() { xdotool windowfocus --sync "$1"; pause 0.2; }
keys() { xdotool key --delay 60 "$@"; pause; }
type_text() { xdotool type --delay 60 "$1"; pause; }

# Enters the worked batch by keystrokes, from the focus on Existing SO2: 10 to 40 mg/L free,
# 23 U.S. gallons, and presses Calculate.
enter_worked_batch() {
    keys ctrl+a
    type_text 10
    keys Tab ctrl+a
    type_text 40
    keys Tab Tab Tab ctrl+a # Sulphite source, Powder, batch size
    type_text 23
    keys alt+c
    pause 0.5
}
