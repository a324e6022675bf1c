#!/usr/bin/env bash
# Installs the build into a temporary folder whose name has a blank and checks what lands there:
# the program with its defaults, the menu entry, the metainfo, the icon in every size, and the
# manual, whose every picture and link leads somewhere. Entry and metainfo pass their validators
# without a remark; add-to-menu.sh makes an entry that starts the program; the program, started
# from another folder on a display of its own, shows its main window, not a message box, and
# Help, Ardovin Manual hands the desktop the installed manual.
# Each check is traced: the last one shown failed.
# Usage: install_tree.sh <cmake> <build folder> <desktop id> <version>
set -euo pipefail
cmake=$1 build=$2 id=$3 version=$4
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
prefix="$scratch/Ardovin 3"
"$cmake" --install "$build" --prefix "$prefix" >/dev/null
cd "$prefix"
entry=share/applications/$id.desktop metainfo=share/metainfo/$id.metainfo.xml
manual=share/doc/ardovin/manual.html
set -x
for file in ardovin settings.cfg LICENSE add-to-menu.sh "$entry" "$metainfo" "$manual" \
    share/icons/hicolor/{16x16,32x32,48x48,64x64,128x128,256x256}/apps/"$id".png \
    share/icons/hicolor/scalable/apps/"$id".svg; do
    [ -s "$file" ]
done
grep -qxF "Icon=$id" "$entry"
grep -q "<release version=\"$version\"" "$metainfo"
[ -z "$(desktop-file-validate "$entry" 2>&1)" ]
appstreamcli validate-tree --no-net --strict .
# Each picture and each link of the manual that is not on the web: a file beside it, or a heading.
for target in $(grep -o -E '(src|href)="[^"]*"' "$manual" | sed -E 's/^[a-z]+="(.*)"$/\1/' |
    grep -v -E '^(https?|mailto):'); do
    case $target in
    \#*) grep -q "id=\"${target#\#}\"" "$manual" ;;
    *) [ -s "$(dirname "$manual")/${target%%#*}" ] ;;
    esac
done
[ "$(grep -c '<img ' "$manual")" -ge 3 ]
# The menu entry starts the program, however the desktop splits its command at blanks.
XDG_DATA_HOME=$scratch/data ./add-to-menu.sh >/dev/null
eval "set -- $(sed -n 's/^Exec=//p' "$scratch/data/applications/$id.desktop")"
[ $# -eq 1 ]
[ "$1" = "$prefix/ardovin" ]
Xvfb -displayfd 3 -nolisten tcp 3>"$scratch/display" >/dev/null 2>&1 &
xvfb=$!
trap 'kill $xvfb ${app:-} 2>/dev/null; rm -rf "$scratch"' EXIT
timeout 10 sh -c 'until [ -s "$0" ]; do sleep 0.1; done' "$scratch/display"
mkdir "$scratch/desktop" # stands in for the desktop's opener, noting what it is handed
printf '#!/bin/sh\necho "$1" >"%s/opened"\n' "$scratch" >"$scratch/desktop/xdg-open"
chmod +x "$scratch/desktop/xdg-open"
cd "$scratch" # a folder other than the program's
# On the display, whatever platform the caller's shell names.
DISPLAY=:$(head -n1 display) XDG_RUNTIME_DIR=$scratch QT_QPA_PLATFORM=xcb \
    PATH=$scratch/desktop:$PATH "$prefix/ardovin" &
app=$!
export DISPLAY=:$(head -n1 display)
window=$(timeout 20 xdotool search --sync --onlyvisible --pid $app --name '^Ardovin$' | head -n1)
[[ $(xprop -id "$window" _NET_WM_WINDOW_TYPE) == *"= _NET_WM_WINDOW_TYPE_NORMAL" ]] # no message box
xdotool windowfocus --sync "$window" key --clearmodifiers alt+h
sleep 0.5 # the menu opens
xdotool key Return # Ardovin Manual, its first item
timeout 10 sh -c 'until [ -s "$0" ]; do sleep 0.1; done' "$scratch/opened"
[ "$(cat opened)" = "file://${prefix// /%20}/$manual" ]
