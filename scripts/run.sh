#!/usr/bin/env bash
# Installs what is missing, builds a release build and starts Ardovin.
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"

ardovin_require_packages g++ cmake ninja-build qt6-base-dev
ardovin_build "$ARDOVIN_ROOT/build/release" Release -DARDOVIN_BUILD_TESTS=OFF -DARDOVIN_BUILD_BENCH=OFF
exec "$ARDOVIN_ROOT/build/release/app/ardovin" "$@"
