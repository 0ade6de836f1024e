#!/usr/bin/env bash
# Starts a PulseAudio server whose only output is a null sink, for the playback test. Does
# nothing when a server already answers.
set -euo pipefail
if pactl info >/dev/null 2>&1; then
    exit 0
fi
pulseaudio --daemonize=yes --exit-idle-time=-1 -n \
    --load="module-null-sink sink_name=mudracq_null" \
    --load="module-native-protocol-unix" 2>/dev/null
for _ in $(seq 50); do
    pactl info >/dev/null 2>&1 && exit 0
    sleep 0.1
done
echo "PulseAudio did not start" >&2
exit 1
