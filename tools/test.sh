#!/usr/bin/env bash
# Installs what is missing, builds the game with its tests and runs the whole suite.
set -euo pipefail
cd "$(dirname "$0")/.."
tools/install-deps.sh --tests
jobs=$(nproc)

# The rules and the picture decoder under AddressSanitizer and UndefinedBehaviorSanitizer.
cmake -S . -B build-asan -DMUDRACQ_TESTS=ON -DMUDRACQ_SANITIZE=ON >/dev/null
cmake --build build-asan -j"$jobs" --target game_tests platform_tests
ctest --test-dir build-asan -L "rules|platform" -E "ShippedTunes" --output-on-failure -j"$jobs"

# The whole suite.
cmake -S . -B build-tests -DMUDRACQ_TESTS=ON >/dev/null
cmake --build build-tests -j"$jobs"
export QT_QPA_PLATFORM=offscreen
ctest --test-dir build-tests --output-on-failure -j"$jobs"
