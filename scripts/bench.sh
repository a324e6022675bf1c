#!/usr/bin/env bash
# Builds a release build with the benchmarks and runs them: the core arithmetic and formatting,
# one Calculate press on a filled window, opening the Free SO2 by pH window, and the start-up of
# the program against a minimal Qt Widgets window (medians of alternated runs, under a virtual
# display).
# Usage: scripts/bench.sh [start-up runs, default 15]
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"

runs=${1:-15}
build=$ARDOVIN_ROOT/build/bench
if [ -z "${ARDOVIN_BENCH_INNER:-}" ]; then
    ardovin_require_packages "${ARDOVIN_BUILD_PACKAGES[@]}" libbenchmark-dev xvfb xauth
    ardovin_build "$build" Release -DARDOVIN_BUILD_TESTS=OFF -DARDOVIN_BUILD_BENCH=ON
    export ARDOVIN_BENCH_INNER=1
    exec xvfb-run -a -s "-screen 0 1024x768x24" "$0" "$@"
fi

folder=$(mktemp -d)
trap 'rm -rf "$folder"' EXIT
cp "$ARDOVIN_ROOT/resources/settings.cfg" "$folder/"
export XDG_RUNTIME_DIR="$folder" QT_QPA_PLATFORM=xcb

echo "== Core"
"$build/bench/bench_core"
echo "== One Calculate press"
"$build/bench/bench_calculate"
echo "== Opening the Free SO2 by pH window"
"$build/bench/bench_freeSO2"
echo "== Start-up: Ardovin (A) against a minimal window (B)"
"$build/bench/startup_runner" "$runs" "$build/bench/startup_app" ardovin "$folder" -- \
    "$build/bench/startup_app" minimal
echo "== Start-up: Ardovin (A) against a minimal window with one caption (B)"
"$build/bench/startup_runner" "$runs" "$build/bench/startup_app" ardovin "$folder" -- \
    "$build/bench/startup_app" caption
