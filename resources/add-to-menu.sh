#!/bin/sh
# Adds Ardovin, as it stands in this folder, to the current user's application menu.
set -e
here=$(cd "$(dirname "$0")" && pwd)
data=${XDG_DATA_HOME:-$HOME/.local/share}
mkdir -p "$data/applications" "$data/icons"
# The entry as earlier versions named it, so that the menu does not show Ardovin twice.
rm -f "$data/applications/ardovin.desktop"
for entry in "$here"/share/applications/*.desktop; do
    sed "s|^Exec=.*|Exec=\"$here/ardovin\"|" "$entry" >"$data/applications/${entry##*/}"
done
cp -R "$here/share/icons/hicolor" "$data/icons/"
echo "Ardovin is in your application menu."
