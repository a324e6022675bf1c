#!/usr/bin/env bash
# Shows what a screen reader on Linux is told of Ardovin: starts the built program on a virtual
# display with an accessibility bus, opens Options, and prints each window's controls with
# their roles, names and labels (tools/atspi_tree.py).
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"

ardovin_require_packages "${ARDOVIN_BUILD_PACKAGES[@]}" xvfb xdotool at-spi2-core dbus \
    gir1.2-atspi-2.0 python3-gi
build=$ARDOVIN_ROOT/build/release
ardovin_build "$build" Release
folder=$(mktemp -d)
trap 'kill ${xvfb:-} 2>/dev/null; rm -rf "$folder"' EXIT
cp "$build/app/ardovin" "$ARDOVIN_ROOT/resources/settings.cfg" "$folder/"
Xvfb -displayfd 3 -nolisten tcp 3>"$folder/display" >/dev/null 2>&1 &
xvfb=$!
timeout 10 sh -c 'until [ -s "$0" ]; do sleep 0.1; done' "$folder/display"
export DISPLAY=:$(head -n1 "$folder/display") XDG_RUNTIME_DIR=$folder QT_QPA_PLATFORM=xcb \
    QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 ARDOVIN_ROOT folder
dbus-run-session -- bash -c '
    /usr/libexec/at-spi-bus-launcher --launch-immediately &
    "$folder/ardovin" &
    window=$(timeout 20 xdotool search --sync --onlyvisible --name "^Ardovin$" | head -n1)
    xdotool windowfocus --sync "$window" key --clearmodifiers alt+o
    sleep 1 # the Default Settings window opens
    "$ARDOVIN_ROOT/tools/atspi_tree.py" ardovin
    kill %2' 2>/dev/null
