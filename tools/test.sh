#!/usr/bin/env bash
# Installs what is missing, builds the game with its tests and runs the whole suite.
set -euo pipefail
cd "$(dirname "$0")/.."
tools/install-deps.sh --tests
cmake -S . -B build-tests -DMUDRACQ_TESTS=ON >/dev/null
cmake --build build-tests -j"$(nproc)"
export QT_QPA_PLATFORM=offscreen
ctest --test-dir build-tests --output-on-failure -j"$(nproc)"

# The rules and the picture decoder once more under AddressSanitizer and UndefinedBehaviorSanitizer.
cmake -S . -B build-asan -DMUDRACQ_TESTS=ON -DMUDRACQ_SANITIZE=ON >/dev/null
cmake --build build-asan -j"$(nproc)" --target game_tests platform_tests
build-asan/tests/platform_tests --gtest_brief=1 --gtest_filter='JpegDecoder.*'
build-asan/tests/game_tests --gtest_brief=1
