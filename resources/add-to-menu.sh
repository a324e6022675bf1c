#!/bin/sh
# Adds Ardovin, as it stands in this folder, to the current user's application menu.
set -e
here=$(cd "$(dirname "$0")" && pwd)
data=${XDG_DATA_HOME:-$HOME/.local/share}
mkdir -p "$data/applications" "$data/icons"
sed "s|^Exec=.*|Exec=\"$here/ardovin\"|" "$here/share/applications/ardovin.desktop" \
    >"$data/applications/ardovin.desktop"
cp -R "$here/share/icons/hicolor" "$data/icons/"
echo "Ardovin is in your application menu."
