#!/usr/bin/env bash
# Builds the game and its benchmarks optimised and runs them all; the start-up benchmark runs on
# an X server (Xvfb) like the game itself.
set -euo pipefail
cd "$(dirname "$0")/.."
tools/install-deps.sh --tests
cmake -S . -B build-bench -DCMAKE_BUILD_TYPE=Release -DMUDRACQ_TESTS=OFF -DMUDRACQ_BENCH=ON \
    >/dev/null
cmake --build build-bench -j"$(nproc)" >/dev/null
echo "machine: $(nproc) cores, $(sed -n 's/^model name\s*: //p' /proc/cpuinfo | head -1)"
echo "date: $(date -u +%Y-%m-%d)"
xvfb-run -a -s "-screen 0 1024x768x24" \
    build-bench/bench/startup_bench build-bench/bench/startup_game build-bench/bench/startup_bare \
    build-bench/bench/startup_text
build-bench/bench/bankload_bench resources/r_pitanja.txt
QT_QPA_PLATFORM=offscreen build-bench/bench/questionfile_bench
build-bench/bench/tunestart_bench resources/tunes
