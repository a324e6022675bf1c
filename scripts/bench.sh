#!/usr/bin/env bash
# Builds a release build with the benchmarks and runs them: the core arithmetic and formatting,
# one Calculate press on a filled window, opening the Free SO2 by pH window and the cellar book
# (on a file, and on a shared cellar on a private local PostgreSQL server),
# and the start-up of the program against the same window with no logic, and against bare Qt
# Widgets windows (medians of alternated runs, under a virtual display).
# Usage: scripts/bench.sh [start-up runs, default 15]
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"

runs=${1:-15}
build=$ARDOVIN_ROOT/build/bench
if [ -z "${ARDOVIN_BENCH_INNER:-}" ]; then
    ardovin_require_packages "${ARDOVIN_BUILD_PACKAGES[@]}" libbenchmark-dev xvfb xauth postgresql
    ardovin_build "$build" Release -DARDOVIN_BUILD_TESTS=OFF -DARDOVIN_BUILD_BENCH=ON
    export ARDOVIN_BENCH_INNER=1
    exec xvfb-run -a -s "-screen 0 1024x768x24" "$0" "$@"
fi

folder=$(mktemp -d)
# The runtime folder, where the program keeps its lock, is a memory file system on a desktop, as
# /dev/shm is; on a disk, the lock's flush to the disk would be timed as well.
runtime=$(mktemp -d -p /dev/shm 2>/dev/null || mktemp -d)
server=("$ARDOVIN_ROOT/tests/postgres_server.sh")
trap '"${server[@]}" stop "$folder/server"; rm -rf "$folder" "$runtime"' EXIT
cp "$ARDOVIN_ROOT/resources/settings.cfg" "$folder/"
export XDG_RUNTIME_DIR="$runtime" QT_QPA_PLATFORM=xcb

echo "== Core"
"$build/bench/bench_core"
echo "== One Calculate press"
"$build/bench/bench_calculate"
echo "== Opening the Free SO2 by pH window"
"$build/bench/bench_freeSO2"
echo "== The cellar book's file: opening 100,000 entries, saving one"
(cd "$folder" && "$build/bench/bench_storage")
echo "== Opening the cellar book on 100,000 entries"
(cd "$folder" && "$build/bench/bench_cellar")
# A shared cellar on a private local server, set up as the manual says, filled by the first bench.
"${server[@]}" start "$folder/server" >/dev/null
socket=$(cat "$folder/server")
psql -h "$socket" -U admin -d postgres -qc "CREATE DATABASE bench OWNER cellar_owner"
psql -h "$socket" -U cellar_owner -d bench -q \
    -c "ALTER DEFAULT PRIVILEGES GRANT SELECT, INSERT, UPDATE, DELETE ON TABLES TO cellar_user" \
    -c "ALTER DEFAULT PRIVILEGES GRANT USAGE ON SEQUENCES TO cellar_user"
"$build/app/ardovin" --upgrade-cellar "postgresql://cellar_owner@/bench?host=$socket"
export ARDOVIN_BENCH_CELLAR="postgresql://cellar_user@/bench?host=$socket"
echo "== The shared cellar on a local server: opening 100,000 entries, saving one"
"$build/bench/bench_storage"
echo "== Opening the cellar book on the shared cellar's 100,000 entries"
(cd "$folder" && "$build/bench/bench_cellar")
unset ARDOVIN_BENCH_CELLAR
echo "== Start-up: Ardovin (A) against the same window with no logic (B), in both orders"
"$build/bench/startup_runner" "$runs" "$build/bench/startup_app" ardovin "$folder" -- \
    "$build/bench/startup_app" floor
"$build/bench/startup_runner" "$runs" "$build/bench/startup_app" floor -- \
    "$build/bench/startup_app" ardovin "$folder"
echo "== Start-up: Ardovin (A) against a minimal window (B)"
"$build/bench/startup_runner" "$runs" "$build/bench/startup_app" ardovin "$folder" -- \
    "$build/bench/startup_app" minimal
echo "== Start-up: Ardovin (A) against a minimal window with one caption (B)"
"$build/bench/startup_runner" "$runs" "$build/bench/startup_app" ardovin "$folder" -- \
    "$build/bench/startup_app" caption
