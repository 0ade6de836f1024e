#!/usr/bin/env bash
# Installs what is missing, builds the game with its tests and runs the whole suite.
set -euo pipefail
cd "$(dirname "$0")/.."
tools/install-deps.sh --tests
cmake -S . -B build-tests -DMUDRACQ_TESTS=ON >/dev/null
cmake --build build-tests -j"$(nproc)"
export QT_QPA_PLATFORM=offscreen
ctest --test-dir build-tests --output-on-failure -j"$(nproc)"
