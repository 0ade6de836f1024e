#!/usr/bin/env bash
# Installs what is missing, builds the game with its tests and runs the whole suite, first under
# AddressSanitizer and UndefinedBehaviorSanitizer, then as the game ships.
set -euo pipefail
cd "$(dirname "$0")/.."
tools/install-deps.sh --tests
jobs=$(nproc)
export QT_QPA_PLATFORM=offscreen

# Rendering every tune takes minutes under the sanitizers and runs in the plain suite below; the
# real-audio test plays once, there too.
cmake -S . -B build-asan -DMUDRACQ_TESTS=ON -DMUDRACQ_SANITIZE=ON >/dev/null
cmake --build build-asan -j"$jobs"
ctest --test-dir build-asan -E "ShippedTunes|tunes_loudness|pulse_playback" --output-on-failure -j"$jobs"

cmake -S . -B build-tests -DMUDRACQ_TESTS=ON >/dev/null
cmake --build build-tests -j"$jobs"
ctest --test-dir build-tests --output-on-failure -j"$jobs"
