#!/usr/bin/env bash
# Plays a tune through a real audio server and records what reaches the sink: one choice must be
# heard; a hundred choices in four seconds and then no music must be silent at once.
# Usage: pulse_playback_test.sh PROBE TUNE_FILE. Exit 77 (skipped) without a PulseAudio server.
set -euo pipefail
probe=$1
tune=$2
pactl info >/dev/null 2>&1 || { echo "no PulseAudio server"; exit 77; }
sink=$(pactl get-default-sink)
recording=$(mktemp --suffix=.raw)
trap 'rm -f "$recording"' EXIT

# Records the sink while the probe runs with the arguments given; prints the RMS amplitude of
# the recording's last SECONDS (all of it when 0).
recorded_rms() {
    local seconds=$1
    shift
    parec -d "$sink.monitor" --format=s16le --rate=44100 --channels=2 >"$recording" &
    local recorder=$!
    sleep 0.5
    "$probe" "$tune" "$@" >/dev/null
    kill "$recorder"
    wait "$recorder" 2>/dev/null || true
    local bytes=$(stat -c %s "$recording")
    [[ $seconds == 0 ]] || bytes=$(awk -v s="$seconds" 'BEGIN { print int(s * 44100) * 4 }')
    tail -c "$bytes" "$recording" |
        sox -t raw -r 44100 -e signed -b 16 -c 2 - -n stat 2>&1 | awk '/RMS +amplitude/ {print $3}'
}

rms=$(recorded_rms 0 4)
echo "one tune: RMS amplitude $rms"
awk -v rms="$rms" 'BEGIN { exit !(rms > 0.01) }'

# The probe closes the music after the burst and waits 3 s: the last 1.5 s must be silent (a null sink with nothing playing records zeros).
rms=$(recorded_rms 1.5 3 100 stop)
echo "after a burst of 100 choices and no music: RMS amplitude $rms"
awk -v rms="$rms" 'BEGIN { exit !(rms < 0.00005) }'
