#!/usr/bin/env bash
# Installs the build into a temporary folder and checks what lands there: the program with its
# defaults, the menu entry, the metainfo and the icon in every size. Entry and
# metainfo pass their validators without a remark; the program starts and shows its main window,
# not a message box.
# Each check is traced: the last one shown failed.
# Usage: install_tree.sh <cmake> <build folder> <desktop id> <version>
set -euo pipefail
cmake=$1 build=$2 id=$3 version=$4
prefix=$(mktemp -d)
trap 'rm -rf "$prefix"' EXIT
"$cmake" --install "$build" --prefix "$prefix" >/dev/null
cd "$prefix"
entry=share/applications/$id.desktop metainfo=share/metainfo/$id.metainfo.xml
set -x
for file in ardovin settings.cfg LICENSE add-to-menu.sh "$entry" "$metainfo" \
    share/icons/hicolor/{16x16,32x32,48x48,64x64,128x128,256x256}/apps/"$id".png \
    share/icons/hicolor/scalable/apps/"$id".svg; do
    [ -s "$file" ]
done
[ -x ardovin ]
grep -qxF "Icon=$id" "$entry"
grep -q "<release version=\"$version\"" "$metainfo"
[ -z "$(desktop-file-validate "$entry" 2>&1)" ]
appstreamcli validate-tree --no-net --strict .
Xvfb -displayfd 3 -nolisten tcp 3>"$prefix/display" >/dev/null 2>&1 &
xvfb=$!
trap 'kill $xvfb ${app:-} 2>/dev/null; rm -rf "$prefix"' EXIT
timeout 10 sh -c 'until [ -s "$0" ]; do sleep 0.1; done' "$prefix/display"
export DISPLAY=:$(head -n1 "$prefix/display") XDG_RUNTIME_DIR=$prefix
./ardovin &
app=$!
window=$(timeout 20 xdotool search --sync --onlyvisible --pid $app --name '^Ardovin$' | head -n1)
[[ $(xprop -id "$window" _NET_WM_WINDOW_TYPE) == *"= _NET_WM_WINDOW_TYPE_NORMAL" ]] # no message box
