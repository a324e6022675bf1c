#!/usr/bin/env bash
# Takes the screenshots in docs/screenshots of the real program under a virtual display: the
# main window after the worked batch is calculated, the Free SO2 by pH window for that batch,
# and the Default Settings window.
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"
source "$ARDOVIN_ROOT/scripts/lib/desktop.sh"

if [ -z "${ARDOVIN_SCREENSHOTS_INNER:-}" ]; then
    ardovin_require_packages "${ARDOVIN_BUILD_PACKAGES[@]}" xvfb xauth xdotool
    ardovin_build "$ARDOVIN_ROOT/build/release" Release -DARDOVIN_BUILD_TESTS=OFF \
        -DARDOVIN_BUILD_BENCH=OFF
    export ARDOVIN_SCREENSHOTS_INNER=1
    exec xvfb-run -a -s "-screen 0 1024x768x24" "$0" "$@"
fi

build=$ARDOVIN_ROOT/build/release
shots=$ARDOVIN_ROOT/docs/screenshots
mkdir -p "$shots"
folder=$(mktemp -d)
trap 'kill $(jobs -p) 2>/dev/null || true; rm -rf "$folder"' EXIT
cp "$build/app/ardovin" "$ARDOVIN_ROOT/resources/settings.cfg" "$folder/"
mkdir -m 700 "$folder/run"
export XDG_RUNTIME_DIR="$folder/run" QT_QPA_PLATFORM=xcb

"$folder/ardovin" &
program=$!
main=$(wait_for_window "$program" '^Ardovin$' 510)
focus "$main"
enter_worked_batch
"$build/tools/ardovin_grab_window" "$main" "$shots/main-window.png"
keys alt+t p
chart=$(wait_for_window "$program" '^Free SO2 by pH$')
focus "$chart"
pause 0.5
"$build/tools/ardovin_grab_window" "$chart" "$shots/free-so2-by-ph.png"
keys Escape
focus "$main"
keys alt+o
dialog=$(wait_for_window "$program" '^Default Settings$')
focus "$dialog"
"$build/tools/ardovin_grab_window" "$dialog" "$shots/default-settings.png"
echo "Saved main-window.png, free-so2-by-ph.png and default-settings.png in $shots"
