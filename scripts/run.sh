#!/usr/bin/env bash
# Installs what is missing, builds a release build and starts Ardovin.
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"

ardovin_require_packages "${ARDOVIN_BUILD_PACKAGES[@]}"
ardovin_build "$ARDOVIN_ROOT/build/release" Release -DARDOVIN_BUILD_TESTS=OFF -DARDOVIN_BUILD_BENCH=OFF
# The program keeps its defaults beside itself; start from the program's own the first time.
program_folder=$ARDOVIN_ROOT/build/release/app
[ -e "$program_folder/settings.cfg" ] || cp "$ARDOVIN_ROOT/resources/settings.cfg" "$program_folder/"
exec "$program_folder/ardovin" "$@"
