#!/usr/bin/env bash
# Stores the windows' pictures and descriptions anew (tests/ui/snapshots), after a change that
# alters them on purpose: runs the window tests in a scratch folder, where each window that
# differs from its stored snapshot is written, and keeps those. Look at them before committing.
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"

ardovin_require_packages "${ARDOVIN_BUILD_PACKAGES[@]}" fonts-dejavu-core
build=$ARDOVIN_ROOT/build/test
ardovin_build "$build" RelWithDebInfo -DARDOVIN_WERROR=ON
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
(cd "$scratch" && QT_QPA_PLATFORM=offscreen "$build/tests/test_windows" -silent >/dev/null) || true
shopt -s nullglob
differing=("$scratch"/*.png "$scratch"/*.txt)
[ ${#differing[@]} -gt 0 ] || { echo "Every window matches its snapshot."; exit 0; }
cp -v "${differing[@]}" "$ARDOVIN_ROOT/tests/ui/snapshots/"
