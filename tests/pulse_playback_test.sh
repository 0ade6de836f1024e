#!/usr/bin/env bash
# Plays a tune through a real audio server and records what reaches the sink.
# Usage: pulse_playback_test.sh PROBE TUNE_FILE. Exit 77 (skipped) without a PulseAudio server.
set -euo pipefail
probe=$1
tune=$2
pactl info >/dev/null 2>&1 || { echo "no PulseAudio server"; exit 77; }
sink=$(pactl get-default-sink)
recording=$(mktemp --suffix=.raw)
trap 'rm -f "$recording"' EXIT

parec -d "$sink.monitor" --format=s16le --rate=44100 --channels=2 >"$recording" &
recorder=$!
sleep 0.5
"$probe" "$tune" 4
kill "$recorder"
wait "$recorder" 2>/dev/null || true

rms=$(sox -t raw -r 44100 -e signed -b 16 -c 2 "$recording" -n stat 2>&1 | awk '/RMS +amplitude/ {print $3}')
echo "recorded $(stat -c %s "$recording") bytes, RMS amplitude $rms"
awk -v rms="$rms" 'BEGIN { exit !(rms > 0.01) }'
