#!/usr/bin/env bash
# Installs what is missing, builds the game with its tests and runs the whole suite, first under
# AddressSanitizer and UndefinedBehaviorSanitizer, then the threaded parts (the media player and
# the windows that drive it) under ThreadSanitizer, then the whole suite as the game ships.
set -euo pipefail
cd "$(dirname "$0")/.."
tools/install-deps.sh --tests
jobs=$(nproc)
export QT_QPA_PLATFORM=offscreen
# A CI build fails on any warning; elsewhere a newer compiler's new warnings do not stop the tests.
werror=OFF
if [[ -n "${CI:-}" ]]; then
    werror=ON
fi

# Rendering every tune takes minutes under the sanitizers and runs in the plain suite below; the
# real-audio test plays once, there too.
cmake -S . -B build-asan -DMUDRACQ_TESTS=ON -DMUDRACQ_SANITIZE=ON -DMUDRACQ_WERROR="$werror" >/dev/null
cmake --build build-asan -j"$jobs"
ctest --test-dir build-asan -E "ShippedTunes|tunes_loudness|pulse_playback" --output-on-failure -j"$jobs"

# Qt and FluidSynth are not built with ThreadSanitizer: what they do inside themselves is left out
# of the race detection, everything of ours stays in it.
threaded=(mediaplayer_test tform1_test topwindows_test infowindows_test)
cmake -S . -B build-tsan -DMUDRACQ_TESTS=ON -DMUDRACQ_TSAN=ON -DMUDRACQ_WERROR="$werror" >/dev/null
cmake --build build-tsan -j"$jobs" --target "${threaded[@]}" playback_probe
pattern=$(IFS='|'; echo "${threaded[*]}|pulse_playback")
TSAN_OPTIONS="ignore_noninstrumented_modules=1 halt_on_error=1" \
    ctest --test-dir build-tsan -R "^($pattern)\$" --output-on-failure -j"$jobs"

cmake -S . -B build-tests -DMUDRACQ_TESTS=ON -DMUDRACQ_WERROR="$werror" >/dev/null
cmake --build build-tests -j"$jobs"
ctest --test-dir build-tests --output-on-failure -j"$jobs"
