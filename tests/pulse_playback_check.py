#!/usr/bin/env python3
"""Plays tunes through a real audio server and listens to a sink of its own: one choice is
heard, the last of a hundred choices in four seconds starts within a moment, and no music after
such a burst is silent within 0.1 s.
Usage: pulse_playback_check.py PROBE TUNE_FILE. Exit 77 (skipped) without a PulseAudio server."""
import array
import math
import os
import subprocess
import sys
import threading
import time

RATE = 44100
FRAME = 4  # two 16-bit channels
AUDIBLE = 64  # a sample above this is sound, not dither
# A chunk reaches the recorder at most this late after it was played.
DELIVERY = 0.05


def record(sink, probe_args):
    """Runs the probe while recording the sink; returns the samples, each as (the time it was
    played at the latest, its louder channel), and what the probe printed."""
    recorder = subprocess.Popen(
        ["parec", "--latency-msec=20", "-d", sink + ".monitor", "--format=s16le",
         "--rate=%d" % RATE, "--channels=2"], stdout=subprocess.PIPE)
    chunks = []

    def read():
        while True:
            data = recorder.stdout.read1(65536)
            if not data:
                return
            chunks.append((time.time(), data))

    reader = threading.Thread(target=read)
    reader.start()
    time.sleep(0.5)
    probe = subprocess.run(probe_args, capture_output=True, text=True, check=False,
                           env=dict(os.environ, PULSE_SINK=sink))
    time.sleep(0.5)
    recorder.terminate()
    reader.join()
    # A chunk's last frame was played at most when it arrived.
    samples = []
    for arrived, data in chunks:
        frames = array.array("h", data[: len(data) // FRAME * FRAME])
        count = len(frames) // 2
        for i in range(count):
            samples.append((arrived - (count - i) / RATE, max(abs(frames[2 * i]), abs(frames[2 * i + 1]))))
    return samples, probe


def last_choice(probe):
    for line in probe.stdout.splitlines():
        if line.startswith("last choice at "):
            return float(line.split()[-1])
    sys.exit("the probe did not say when it chose: " + probe.stdout + probe.stderr)


def rms(samples):
    return math.sqrt(sum(s * s for s in samples) / max(len(samples), 1)) / 32768


def main():
    probe_path, tune = sys.argv[1], sys.argv[2]
    if subprocess.run(["pactl", "info"], capture_output=True, check=False).returncode:
        print("no PulseAudio server")
        return 77
    # A sink of the test's own: whatever else plays on the server is neither heard nor recorded.
    sink = "mudracq_playback_test_%d" % os.getpid()
    module = subprocess.run(["pactl", "load-module", "module-null-sink", "sink_name=" + sink],
                            capture_output=True, text=True, check=True).stdout.strip()
    try:
        return check(probe_path, tune, sink)
    finally:
        subprocess.run(["pactl", "unload-module", module], check=False)


def check(probe_path, tune, sink):
    failures = []

    samples, probe = record(sink, [probe_path, tune, "3"])
    chosen = last_choice(probe)
    heard = [t for t, s in samples if t > chosen and s > AUDIBLE]
    level = rms([s for t, s in samples if t > chosen])
    print("one tune: heard %s, RMS amplitude %.6f"
          % ("%.0f ms after the choice" % ((heard[0] - chosen) * 1000) if heard else "never", level))
    if not heard or level < 0.01:
        failures.append("one tune chosen is not heard")

    samples, probe = record(sink, [probe_path, tune, "3", "100"])
    chosen = last_choice(probe)
    later = [t for t, s in samples if t > chosen + DELIVERY and s > AUDIBLE]
    print("a burst of 100 choices: the last one heard %s; %s"
          % ("%.0f ms after it" % ((later[0] - chosen) * 1000) if later else "never",
             probe.stdout.splitlines()[-2]))
    if not later:
        failures.append("the last of 100 choices is never heard")

    samples, probe = record(sink, [probe_path, tune, "3", "100", "stop"])
    closed = last_choice(probe)
    after = [s for t, s in samples if t > closed + 0.1 + DELIVERY]
    loud = [t for t, s in samples if t > closed + 0.1 + DELIVERY and s > AUDIBLE]
    print("a burst of 100 choices and no music: from 0.1 s after, RMS amplitude %.6f over %.1f s%s; %s"
          % (rms(after), len(after) / RATE,
             ", sound %.2f s after" % (loud[-1] - closed) if loud else "",
             probe.stdout.splitlines()[-2]))
    if loud or len(after) < RATE:
        failures.append("music sounds after it was closed")

    for failure in failures:
        print("FAIL: " + failure)
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
