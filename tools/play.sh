#!/usr/bin/env bash
# Installs what is missing, builds the game and starts it with the options given.
set -euo pipefail
cd "$(dirname "$0")/.."
tools/install-deps.sh
cmake -S . -B build -DMUDRACQ_TESTS=OFF >/dev/null
cmake --build build -j"$(nproc)"
exec build/mudracq "$@"
