#!/usr/bin/env bash
# Installs what is missing (PostgreSQL's server among it: the suite starts a private one of its
# own and removes it after), then, stopping at the first failure: builds everything (benchmarks
# included) and runs the whole test suite; runs the static checks; builds and runs the suite
# again under AddressSanitizer and UndefinedBehaviorSanitizer; builds the fuzz targets with
# clang and runs each for a short while.
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"

ardovin_require_packages "${ARDOVIN_BUILD_PACKAGES[@]}" libbenchmark-dev \
    desktop-file-utils appstream xvfb xdotool x11-utils fonts-dejavu-core clang libclang-rt-14-dev \
    clang-tidy cppcheck strace postgresql

stage() { printf '\n==== %s\n' "$*"; }

stage "Test suite"
ardovin_build "$ARDOVIN_ROOT/build/test" RelWithDebInfo -DARDOVIN_WERROR=ON
ctest --test-dir "$ARDOVIN_ROOT/build/test" --output-on-failure

stage "Static checks"
"$ARDOVIN_ROOT/scripts/static_checks.sh" "$ARDOVIN_ROOT/build/test"

# The whole suite again.
stage "Test suite under AddressSanitizer and UndefinedBehaviorSanitizer"
ardovin_build "$ARDOVIN_ROOT/build/asan" RelWithDebInfo -DARDOVIN_WERROR=ON \
    -DARDOVIN_SANITIZE=ON -DARDOVIN_BUILD_BENCH=OFF
(ardovin_sanitizer_options && ctest --test-dir "$ARDOVIN_ROOT/build/asan" --output-on-failure)

stage "Fuzzing"
"$ARDOVIN_ROOT/scripts/fuzz.sh" 25
