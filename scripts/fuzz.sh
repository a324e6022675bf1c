#!/usr/bin/env bash
# Builds the fuzz targets with clang (build/fuzz) and runs each in turn for the given time.
# New inputs collect in build/fuzz/corpus/<target>; an input that breaks a property is saved
# in build/fuzz/findings/ and fails the run: copy it into tests/fuzz/corpus/<target>/ so that
# every later run tries it first, as it tries every stored input before looking for new ones.
# Usage: fuzz.sh <seconds per target> [target...]   (targets: numbers dose settings csv)
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"

seconds=${1:?usage: fuzz.sh <seconds per target> [target...]}
shift
targets=("$@")
[ ${#targets[@]} -gt 0 ] || targets=(numbers dose settings csv)

build=$ARDOVIN_ROOT/build/fuzz
ardovin_configure "$build" RelWithDebInfo -DCMAKE_CXX_COMPILER=clang++ -DARDOVIN_FUZZ=ON \
    -DARDOVIN_WERROR=ON -DARDOVIN_BUILD_TESTS=OFF -DARDOVIN_BUILD_BENCH=OFF
cmake --build "$build" --target "${targets[@]/#/fuzz_}"

ardovin_sanitizer_options
mkdir -p "$build/findings"
for target in "${targets[@]}"; do
    corpus=$build/corpus/$target
    log=$build/fuzz_$target.log
    mkdir -p "$corpus"
    # The first folder takes the new inputs; the committed seeds stay as they are.
    if "$build/tests/fuzz/fuzz_$target" -max_total_time="$seconds" -timeout=10 \
        -print_final_stats=1 -artifact_prefix="$build/findings/$target-" \
        "$corpus" "$ARDOVIN_ROOT/tests/fuzz/corpus/$target" >"$log" 2>&1; then
        runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log")
        echo "fuzz_$target: ${runs:-?} inputs in ${seconds} s, no findings"
    else
        tail -n 60 "$log" >&2
        echo "fuzz_$target found a problem; the input is in $build/findings/ (log: $log)" >&2
        exit 1
    fi
done
