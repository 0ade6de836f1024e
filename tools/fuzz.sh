#!/usr/bin/env bash
# Builds the libFuzzer targets with AddressSanitizer and UndefinedBehaviorSanitizer and runs each
# for SECONDS (default 60), seeded with the shipped question bank, the example question file in
# UTF-8 and Top 10 files.
# Usage: tools/fuzz.sh [SECONDS]
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-60}
CC=clang CXX=clang++ cmake -S . -B build-fuzz -DMUDRACQ_TESTS=OFF -DMUDRACQ_FUZZ=ON -DMUDRACQ_WERROR="${CI:+ON}" >/dev/null
cmake --build build-fuzz -j"$(nproc)" --target fuzz_question_bank fuzz_highscores >/dev/null

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/bank" "$work/top10"
cp resources/r_pitanja.txt "$work/bank/shipped"
cp examples/pitanja.txt "$work/bank/example"
printf '@\r\n-"Q?"\r\na*\r\nb\r\nc\r\nd\r\n' >"$work/bank/small"
for i in $(seq 10); do printf 'https://mudracq.example.org\r\n0\r\n'; done >"$work/top10/default"
printf 'Ana\r\n57\r\n\r\n  -12 x\r\nBob\n$1F\r\n' >"$work/top10/edited"

run() {
    local target=$1 corpus=$2 status=0
    echo "== $target for ${seconds}s"
    TMPDIR="$work" "build-fuzz/tests/fuzz/$target" -max_total_time="$seconds" -timeout=10 \
        -rss_limit_mb=2048 -print_final_stats=1 "$corpus" >"$work/$target.log" 2>&1 || status=$?
    grep -E "^(#[0-9]+ +DONE|stat::number_of_executed_units|==[0-9]+==ERROR|SUMMARY)" \
        "$work/$target.log" || true
    # libFuzzer exits non-zero on a finding, and then its report is shown whole.
    if ((status != 0)); then
        tail -60 "$work/$target.log"
        return "$status"
    fi
}
run fuzz_question_bank "$work/bank"
run fuzz_highscores "$work/top10"
echo "fuzzing: no findings"
