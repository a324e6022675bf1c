#!/usr/bin/env bash
# Installs what is missing, builds everything (benchmarks included) and runs the whole test suite.
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"

ardovin_require_packages g++ cmake ninja-build qt6-base-dev libbenchmark-dev \
    xvfb xauth xdotool
ardovin_build "$ARDOVIN_ROOT/build/test" RelWithDebInfo -DARDOVIN_WERROR=ON
ctest --test-dir "$ARDOVIN_ROOT/build/test" --output-on-failure
