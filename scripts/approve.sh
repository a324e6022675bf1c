#!/usr/bin/env bash
# Approves what the scenarios now show: plays them all, and copies each transcript or picture
# that differs from its approved file (or has none) into tests/approved. Read every file it
# lists (git diff shows the changes) before committing them.
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"

ardovin_require_packages "${ARDOVIN_BUILD_PACKAGES[@]}" fonts-dejavu-core postgresql
build=$ARDOVIN_ROOT/build/test
ardovin_build "$build" RelWithDebInfo -DARDOVIN_WERROR=ON
received=$build/tests/received
rm -rf "$received"
status=0
# The shared cellar's scenarios play against the suite's own server, as under ctest.
server=("$ARDOVIN_ROOT/tests/postgres_server.sh")
"${server[@]}" start "$build/tests/test-server" >/dev/null
trap '"${server[@]}" stop "$build/tests/test-server"' EXIT
QT_QPA_PLATFORM=offscreen "$build/tests/test_scenarios" -silent >/dev/null || status=$?
# Qt Test counts failures in its exit code; a crash leaves scenarios unplayed.
[ "$status" -lt 128 ] || { echo "The scenarios crashed (exit $status); nothing approved." >&2; exit 1; }
shopt -s nullglob
differing=("$received"/*)
[ ${#differing[@]} -gt 0 ] || { echo "Every scenario shows what was approved."; exit 0; }
cp -v "${differing[@]}" "$ARDOVIN_ROOT/tests/approved/"
# Transcripts of scenarios that no longer exist.
for approved in "$ARDOVIN_ROOT"/tests/approved/*.txt; do
    name=$(basename "$approved" .txt)
    grep -h '^== ' "$ARDOVIN_ROOT"/tests/scenarios/*.scenario |
        sed 's/^== //' | tr 'A-Z' 'a-z' | sed -E 's/[^a-z0-9]+/-/g; s/^-|-$//g' |
        grep -qxF "$name" || echo "no scenario now: $approved"
done
