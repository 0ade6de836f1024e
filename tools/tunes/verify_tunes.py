#!/usr/bin/env python3
"""Check the built tunes in resources/tunes/ the way a listener would.

For every r_N.mid the script
  * reads the container (plain SMF, or RIFF/RMID with its chunk sizes),
  * parses every track with its own small MIDI reader (independent of
    make_tunes.py) and checks note pairing, end-of-track events, programs,
    note ranges and the length given by the tempo map,
  * checks that the file is what make_tunes.py builds from its score,
  * renders it through the game's own synthesizer settings with each
    SoundFont and measures it with ffmpeg's EBU R128 meter (ITU-R BS.1770):
    integrated loudness, the loudness of the first ten seconds (what a
    player hears on switching tunes), the sample peak, and the quietest
    ten second window,
  * wherever the score says a melody leads ('lead:'), renders the melody
    alone, takes the accompaniment as the whole less the melody, and
    measures how far the melody stands above it.

Goals, for each SoundFont: every tune's integrated loudness within 1.5 LU
of the set's median and its first ten seconds within 3 LU of it, no sample
above -1 dBFS, every melody at least 3 LU above its accompaniment, 60 to
180 seconds, no silent ten seconds.

The renderer is the game's own (tests/render_tune.cpp, give it with
--renderer); without it the fluidsynth command renders with the same
sample rate and gain. Needs the Debian packages fluidsynth, ffmpeg,
timgm6mb-soundfont and fluid-soundfont-gm. Exits 77 when a SoundFont is
missing.

    python3 tools/tunes/verify_tunes.py [--renderer build/tests/render_tune]
        [--soundfont FILE ...] [--no-render] [r_3 ...]
"""

import argparse
import math
import concurrent.futures
import os
import re
import shutil
import statistics
import struct
import subprocess
import sys
import tempfile
from fractions import Fraction
from pathlib import Path

HERE = Path(__file__).resolve().parent
ROOT = HERE.parent.parent
TUNES = ROOT / "resources" / "tunes"
# the melodies a tune must play note for note (the composer's own)
MELODIES = HERE / "melodies"
SOUNDFONTS = ["/usr/share/sounds/sf2/TimGM6mb.sf2",
              "/usr/share/sounds/sf2/FluidR3_GM.sf2"]
# where the game sets the synthesizer's gain; the fallback renderer uses it
GAIN_SOURCE = ROOT / "src" / "platform" / "fluidsynthlibrary.h"
RATE = 44100

sys.path.insert(0, str(HERE))
sys.dont_write_bytecode = True  # a test run leaves no __pycache__ in the source tree
import make_tunes  # noqa: E402  (the scores: reproducibility and stems)

MIN_BYTES, MAX_BYTES = 11 * 1024, 36 * 1024
MIN_SECONDS, MAX_SECONDS = 60.0, 180.0
WINDOW = 10.0            # seconds
SILENT_LUFS = -50.0      # a ten second window quieter than this is silence
INTEGRATED_SPREAD = 1.5  # LU around the median of the set
OPENING_SPREAD = 3.0     # LU around the same median, first ten seconds
MAX_PEAK = -1.0          # dBFS
MIN_MARGIN = 3.0         # LU, melody over accompaniment
PART = 10.0              # seconds: the melody's margin holds in parts this long


class Bad(Exception):
    pass


def unwrap(data):
    """Return (smf_bytes, container_name)."""
    if data[:4] == b"MThd":
        return data, "SMF"
    if data[:4] != b"RIFF" or data[8:12] != b"RMID":
        raise Bad("neither MThd nor RIFF/RMID")
    size = struct.unpack("<I", data[4:8])[0]
    if size + 8 != len(data):
        raise Bad(f"RIFF size {size} does not match file length {len(data)}")
    pos, smf, chunks = 12, None, []
    while pos < len(data):
        cid = data[pos:pos + 4]
        n = struct.unpack("<I", data[pos + 4:pos + 8])[0]
        body = data[pos + 8:pos + 8 + n]
        if len(body) != n:
            raise Bad(f"chunk {cid!r} runs past the end")
        chunks.append(cid.decode("latin-1"))
        if cid == b"data":
            smf = body
        pos += 8 + n + (n & 1)
    if pos != len(data):
        raise Bad("RIFF chunks do not add up to the file length")
    if not chunks or chunks[0] != "data" or smf is None:
        raise Bad("RMID must start with a 'data' chunk")
    if len(chunks) < 2:
        raise Bad("RMID needs a chunk after 'data'")
    return smf, "RMID(" + ",".join(chunks) + ")"


def varlen(buf, i):
    value = 0
    for _ in range(4):
        b = buf[i]
        i += 1
        value = (value << 7) | (b & 0x7F)
        if not b & 0x80:
            return value, i
    raise Bad("variable-length number too long")


def read_smf(smf):
    if smf[:4] != b"MThd" or struct.unpack(">I", smf[4:8])[0] != 6:
        raise Bad("bad MThd header")
    fmt, ntrk, division = struct.unpack(">HHH", smf[8:14])
    if division & 0x8000:
        raise Bad("SMPTE time division not expected")
    pos, tracks = 14, []
    for _ in range(ntrk):
        if smf[pos:pos + 4] != b"MTrk":
            raise Bad("missing MTrk")
        n = struct.unpack(">I", smf[pos + 4:pos + 8])[0]
        tracks.append(smf[pos + 8:pos + 8 + n])
        pos += 8 + n
    if pos != len(smf):
        raise Bad("bytes after the last track")
    info = {"format": fmt, "tracks": ntrk, "ppq": division, "notes": 0,
            "tempos": [], "programs": {}, "ranges": {}, "end": 0, "texts": [],
            "polyphony": 0, "track_names": [], "resets": {},
            "onsets": {}}   # track name -> [(tick, pitch)] of its notes
    sounding = []      # (tick, +1/-1) over all tracks
    for ti, trk in enumerate(tracks):
        i, tick, status, ended = 0, 0, None, False
        held, name, onsets = {}, None, []
        while i < len(trk):
            if ended:
                raise Bad(f"track {ti}: events after end of track")
            delta, i = varlen(trk, i)
            tick += delta
            b = trk[i]
            if b == 0xFF:
                kind = trk[i + 1]
                n, j = varlen(trk, i + 2)
                data = trk[j:j + n]
                i = j + n
                status = None
                if kind == 0x2F:
                    ended = True
                elif kind == 0x51:
                    info["tempos"].append((tick, int.from_bytes(data, "big")))
                elif kind in (0x01, 0x02, 0x03):
                    info["texts"].append(data.decode("latin-1"))
                    if kind == 0x03:
                        info["track_names"].append(data.decode("latin-1"))
                        name = name or data.decode("latin-1")
                continue
            if b in (0xF0, 0xF7):
                n, j = varlen(trk, i + 1)
                i = j + n
                status = None
                continue
            if b & 0x80:
                status = b
                i += 1
            elif status is None:
                raise Bad(f"track {ti}: data byte without status")
            kind, ch = status & 0xF0, status & 0x0F
            nbytes = 1 if kind in (0xC0, 0xD0) else 2
            d = trk[i:i + nbytes]
            i += nbytes
            if any(x & 0x80 for x in d):
                raise Bad(f"track {ti}: bad data byte")
            if kind == 0x90 and d[1] > 0:
                held.setdefault((ch, d[0]), []).append(tick)
                onsets.append((tick, d[0]))
                sounding.append((tick, 1))
                info["notes"] += 1
                lo, hi = info["ranges"].get(ch, (127, 0))
                info["ranges"][ch] = (min(lo, d[0]), max(hi, d[0]))
            elif kind == 0x80 or (kind == 0x90 and d[1] == 0):
                stack = held.get((ch, d[0]))
                if not stack:
                    raise Bad(f"track {ti}: note off without note on")
                stack.pop()
                sounding.append((tick, -1))
            elif kind == 0xC0:
                info["programs"].setdefault(ch, set()).add(d[0])
            elif kind == 0xB0 and d[0] == 121:
                info["resets"][ch] = info["resets"].get(ch, 0) + 1
        if not ended:
            raise Bad(f"track {ti}: no end-of-track event")
        if any(held.values()):
            raise Bad(f"track {ti}: notes left sounding")
        if name is not None:
            info["onsets"].setdefault(name, onsets)
        info["end"] = max(info["end"], tick)
    info["tempos"].sort(key=lambda t: t[0])   # stable: file order wins
    level = 0
    for _, step in sorted(sounding):
        level += step
        info["polyphony"] = max(info["polyphony"], level)
    return info


def seconds(info, tick):
    total, last, us = 0.0, 0, 500000
    for t, tempo in info["tempos"]:
        if t > tick:
            break
        total += (t - last) / info["ppq"] * us / 1e6
        last, us = t, tempo
    return total + (tick - last) / info["ppq"] * us / 1e6


PITCH_NAMES = "C Db D Eb E F Gb G Ab A Bb B".split()


def pitch_number(name, where):
    m = re.fullmatch(r"([A-G])(##|#|bb|b)?(-?\d)", name)
    if not m:
        raise Bad(f"{where}: bad note {name!r}")
    step = {"C": 0, "D": 2, "E": 4, "F": 5, "G": 7, "A": 9, "B": 11}[m.group(1)]
    alter = {None: 0, "#": 1, "##": 2, "b": -1, "bb": -2}[m.group(2)]
    return (int(m.group(3)) + 1) * 12 + step + alter


def pitch_names(pitches):
    return "+".join(f"{PITCH_NAMES[p % 12]}{p // 12 - 1}" for p in pitches) or "nothing"


def read_melody(path):
    """A melody file: the name of the track that plays it, its notes and
    chords as (beat, pitches, 'bar N beat B'), and its length in beats."""
    track, events, beat, bar = None, [], Fraction(0), 0
    for lineno, line in enumerate(path.read_text(encoding="utf-8").splitlines(), 1):
        where = f"{path.name}:{lineno}"
        if not line.strip() or line.lstrip().startswith("#"):
            continue
        key, _, value = line.partition(":")
        if key.strip() == "track":
            track = value.strip()
            continue
        bar += 1
        if not re.fullmatch(rf"bar\s+{bar}", key.strip()):
            raise Bad(f"{where}: expected bar {bar}")
        start = beat
        for token in value.split():
            what, _, length = token.rpartition(":")
            if what != "r":
                pitches = tuple(sorted(pitch_number(n, where) for n in what.split("+")))
                events.append((beat, pitches, f"bar {bar} beat {float(1 + beat - start):g}"))
            beat += Fraction(length)
        if beat - start != 4:
            raise Bad(f"{where}: bar {bar} lasts {beat - start} beats, not 4")
    if not track or not events:
        raise Bad(f"{path.name}: needs a 'track:' line and notes")
    return track, events, beat


def melody_problems(info, track, events, length):
    """Whether the named track plays the melody exactly, pass after pass
    from the start: the same pitches in the same order, each note or chord
    where the melody has it (to a 64th of a beat)."""
    if track not in info["onsets"]:
        return [f"no track named {track!r} to play the melody"]
    chords = {}
    for tick, pitch in info["onsets"][track]:
        chords.setdefault(tick, []).append(pitch)
    played = [(tick, tuple(sorted(p))) for tick, p in sorted(chords.items())]
    ppq, slack = info["ppq"], info["ppq"] // 64
    for i, (tick, pitches) in enumerate(played):
        n, (beat, want, where) = i // len(events), events[i % len(events)]
        at = (n * length + beat) * ppq
        if pitches != want or abs(tick - at) > slack:
            return [f"{track} leaves the melody in pass {n + 1}, {where}: plays "
                    f"{pitch_names(pitches)} at beat {tick / ppq:.2f}, the melody has "
                    f"{pitch_names(want)} at beat {float(at / ppq):.2f}"]
    if not played or len(played) % len(events):
        return [f"{track} stops the melody after {len(played) % len(events) or len(played)} "
                f"of its {len(events)} notes and chords"]
    return []


class Renderer:
    """Renders a tune file to raw 32-bit float stereo at 44.1 kHz."""

    def __init__(self, program):
        self.program = program
        self.gain = None
        if not program:
            m = re.search(r"kSynthGain\s*=\s*([0-9.]+)", GAIN_SOURCE.read_text())
            self.gain = float(m.group(1)) if m else 0.2

    def describe(self):
        if self.program:
            return f"the game's renderer {self.program}"
        return f"fluidsynth -r {RATE} -g {self.gain}"

    def render(self, soundfont, tune, out):
        if self.program:
            cmd = [self.program, soundfont, str(tune), str(out)]
        else:
            smf, _ = unwrap(Path(tune).read_bytes())
            mid = Path(str(out) + ".mid")
            mid.write_bytes(smf)
            cmd = ["fluidsynth", "-ni", "-q", "-T", "raw", "-O", "float",
                   "-r", str(RATE), "-g", str(self.gain), "-F", str(out),
                   soundfont, str(mid)]
        subprocess.run(cmd, check=True, capture_output=True)


def ebur128(raw, start=None, length=None, select=None, frames=False):
    """Integrated loudness (LUFS), loudness range (LU), sample peak (dBFS)
    and the momentary loudness every 0.1 s of a raw rendering, or of a
    part of it: from start for length seconds, or the spans in select."""
    cmd = ["ffmpeg", "-nostats", "-hide_banner"]
    if start is not None:
        cmd += ["-ss", f"{start:.3f}", "-t", f"{length:.3f}"]
    cmd += ["-f", "f32le", "-ar", str(RATE), "-ac", "2", "-i", str(raw)]
    chain = [f"ebur128=peak=sample:framelog={'info' if frames else 'verbose'}"]
    if select:
        expr = "+".join(f"between(t,{a:.3f},{b:.3f})" for a, b in select)
        chain.insert(0, f"aselect='{expr}',asetpts=N/SR/TB")
    cmd += ["-af", ",".join(chain), "-f", "null", "-"]
    out = subprocess.run(cmd, capture_output=True, text=True).stderr
    summary = out[out.rfind("Summary:"):]

    def value(name):
        m = re.search(name + r":\s+(-?[\d.]+|-inf)", summary)
        return float(m.group(1)) if m and m.group(1) != "-inf" else -70.0

    # silence shows as -inf or nan
    momentary = [m if m == m and m > -120 else -120.0
                 for m in map(float, re.findall(r"\bM:\s*(\S+)", out[:out.rfind("Summary:")]))]
    return {"I": value("I"), "LRA": value("LRA"), "peak": value("Peak"),
            "momentary": momentary}


def quietest_window(momentary):
    """Loudness of the quietest ten second window, stepping five seconds,
    from the momentary loudness every 0.1 s (energy average)."""
    per_window, step = int(WINDOW * 10), int(WINDOW * 5)
    lowest = 0.0
    for i in range(0, max(1, len(momentary) - per_window + 1), step):
        part = momentary[i:i + per_window]
        energy = sum(10 ** (m / 10) for m in part) / len(part)
        lowest = min(lowest, 10 * math.log10(energy) if energy > 0 else -70.0)
    return lowest


def merged_spans(spans):
    """(start, end, lead) spans with the same lead next to each other made one."""
    out = []
    for a, b, lead in spans:
        if out and out[-1][2] == lead and abs(out[-1][1] - a) < 1e-6:
            out[-1] = (out[-1][0], b, lead)
        else:
            out.append((a, b, lead))
    return out


def subtract(whole, part, out):
    """out = whole - part, sample by sample. The synthesizer adds its voices
    up, so the tune less its melody is what the accompaniment plays alone."""
    raw = ["-f", "f32le", "-ar", str(RATE), "-ac", "2"]
    subprocess.run(["ffmpeg", "-y", "-nostats", "-loglevel", "error",
                    *raw, "-i", str(whole), *raw, "-i", str(part),
                    "-filter_complex", "[0][1]amerge=inputs=2,pan=stereo|c0=c0-c2|c1=c1-c3",
                    *raw, "-c:a", "pcm_f32le", str(out)], check=True)


def measure(path, soundfont, renderer, work):
    """Loudness of one tune with one SoundFont, and its melody margins."""
    tag = f"{path.stem}-{Path(soundfont).stem}"
    full = Path(work) / f"{tag}.raw"
    renderer.render(soundfont, path, full)
    whole = ebur128(full, frames=True)
    opening = ebur128(full, 0.0, WINDOW)
    row = {"I": whole["I"], "first10": opening["I"], "peak": whole["peak"],
           "LRA": whole["LRA"], "seconds": full.stat().st_size / 8 / RATE,
           "quietest": quietest_window(whole["momentary"]), "margins": []}
    spans, melodies = make_tunes.stems(make_tunes.SRC_DIR / f"{path.stem}.txt")
    for lead, melody_smf in melodies.items():
        mid = Path(work) / f"{tag}-{'+'.join(lead)}.mid"
        mid.write_bytes(melody_smf)
        melody, rest = mid.with_suffix(".raw"), mid.with_suffix(".rest.raw")
        renderer.render(soundfont, mid, melody)
        subtract(full, melody, rest)
        mine = [(a, b) for a, b, l in merged_spans(spans) if l == lead]
        overall = (ebur128(melody, select=mine)["I"] - ebur128(rest, select=mine)["I"])
        # and every part of about ten seconds on its own
        worst = None
        for a, b, n in ((a, b, int((b - a) // PART)) for a, b in mine):
            for i in range(n):
                start, length = a + i * (b - a) / n, (b - a) / n
                margin = (ebur128(melody, start, length)["I"] -
                          ebur128(rest, start, length)["I"])
                if worst is None or margin < worst[0]:
                    worst = (margin, start)
        row["margins"].append(("+".join(lead), overall, worst))
        for f in (mid, melody, rest):
            f.unlink()
    full.unlink()
    return row


def check_file(path):
    data = path.read_bytes()
    smf, container = unwrap(data)
    info = read_smf(smf)
    problems = []
    if not MIN_BYTES <= len(data) <= MAX_BYTES:
        problems.append(f"size {len(data)} outside {MIN_BYTES}..{MAX_BYTES}")
    if not info["programs"]:
        problems.append("no program changes")
    if info["polyphony"] < 2:
        problems.append("never more than one note at a time")
    for ch, (lo, hi) in info["ranges"].items():
        if ch == 9:
            if lo < 27 or hi > 87:
                problems.append(f"drum keys {lo}-{hi} outside the GM kit")
        elif lo < 24 or hi > 108:
            problems.append(f"channel {ch + 1} notes {lo}-{hi} out of range")
    # a player showing the track name of a one-track file must see the title
    if info["format"] == 0 and len(info["track_names"]) != 1:
        problems.append(f"{len(info['track_names'])} track names in a one-track file")
    # a second reset would undo what the first voice on the channel set up
    for ch, n in sorted(info["resets"].items()):
        if n > 1:
            problems.append(f"channel {ch + 1} reset {n} times")
    source = make_tunes.SRC_DIR / f"{path.stem}.txt"
    if not source.exists():
        problems.append("no score in tools/tunes/src")
    elif make_tunes.build(source, write=False, report=False) != data:
        problems.append("differs from what make_tunes.py builds from its score")
    melody = MELODIES / f"{path.stem}.txt"
    if melody.exists():
        problems += melody_problems(info, *read_melody(melody))
    midi_len = seconds(info, info["end"])
    if not MIN_SECONDS <= midi_len <= MAX_SECONDS:
        problems.append(f"length {midi_len:.1f}s out of range")
    return {"name": path.stem, "container": container, "format": info["format"],
            "tracks": info["tracks"], "bytes": len(data), "notes": info["notes"],
            "midi_s": midi_len, "problems": problems,
            "ranges": " ".join(f"ch{c + 1}:{lo}-{hi}"
                               for c, (lo, hi) in sorted(info["ranges"].items()))}


def loudness_report(soundfont, rows):
    """Print one SoundFont's table and return the goals it misses."""
    median = statistics.median(r["I"] for r in rows.values())
    print(f"\n{soundfont}: median integrated loudness {median:.1f} LUFS")
    print(f"{'tune':5} {'LUFS':>6} {'dI':>5} {'10s':>6} {'d10s':>5} {'peak':>6} "
          f"{'LRA':>5} {'min10s':>6} {'len':>6}  melody over accompaniment (LU)")
    missed = []
    for name, r in rows.items():
        margins = "  ".join(
            f"{lead} {overall:+.1f}" + (f" (least {w[0]:+.1f} at {w[1]:.0f}s)" if w else "")
            for lead, overall, w in r["margins"]) or "-"
        print(f"{name:5} {r['I']:6.1f} {r['I'] - median:+5.1f} {r['first10']:6.1f} "
              f"{r['first10'] - median:+5.1f} {r['peak']:6.1f} {r['LRA']:5.1f} "
              f"{r['quietest']:6.1f} {r['seconds']:6.1f}  {margins}")
        if abs(r["I"] - median) > INTEGRATED_SPREAD:
            missed.append(f"{name}: integrated {r['I']:.1f} LUFS, "
                          f"{r['I'] - median:+.1f} LU from the median")
        if abs(r["first10"] - median) > OPENING_SPREAD:
            missed.append(f"{name}: first ten seconds {r['first10']:.1f} LUFS, "
                          f"{r['first10'] - median:+.1f} LU from the median")
        if r["peak"] > MAX_PEAK:
            missed.append(f"{name}: sample peak {r['peak']:.1f} dBFS")
        if r["quietest"] < SILENT_LUFS:
            missed.append(f"{name}: a silent ten seconds ({r['quietest']:.1f} LUFS)")
        if not MIN_SECONDS <= r["seconds"] <= MAX_SECONDS + 5:
            missed.append(f"{name}: rendered length {r['seconds']:.1f}s")
        for lead, overall, worst in r["margins"]:
            if overall < MIN_MARGIN:
                missed.append(f"{name}: {lead} only {overall:+.1f} LU over the rest")
            if worst and worst[0] < MIN_MARGIN:
                missed.append(f"{name}: {lead} only {worst[0]:+.1f} LU over the rest "
                              f"in the part from {worst[1]:.0f}s")
    return [f"{Path(soundfont).stem}: {m}" for m in missed]


def main(argv=None):
    ap = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    ap.add_argument("tunes", nargs="*")
    ap.add_argument("--soundfont", action="append",
                    help=f"SoundFont to measure with (default: {' and '.join(SOUNDFONTS)})")
    ap.add_argument("--renderer", help="the game's render_tune program")
    ap.add_argument("--no-render", action="store_true")
    ap.add_argument("--jobs", type=int, default=min(2, os.cpu_count() or 1))
    args = ap.parse_args(argv)
    paths = sorted(TUNES.glob("r_*.mid"), key=lambda p: int(p.stem[2:]))
    if args.tunes:
        paths = [p for p in paths if p.stem in set(args.tunes)]
    failed = 0
    print(f"{'tune':5} {'container':22} {'fmt':>3} {'trk':>3} {'bytes':>6} "
          f"{'notes':>5} {'midi s':>7}  ranges")
    for p in paths:
        try:
            r = check_file(p)
        except (Bad, IndexError) as e:
            print(f"{p.stem:5} BROKEN: {e}")
            failed += 1
            continue
        print(f"{r['name']:5} {r['container']:22} {r['format']:>3} "
              f"{r['tracks']:>3} {r['bytes']:>6} {r['notes']:>5} "
              f"{r['midi_s']:>7.1f}  {r['ranges']}")
        for prob in r["problems"]:
            print(f"      problem: {prob}")
        failed += bool(r["problems"])
    if args.no_render or failed:
        print(f"{len(paths) - failed} passed, {failed} failed")
        return 1 if failed else 0

    soundfonts = args.soundfont or SOUNDFONTS
    missing = [sf for sf in soundfonts if not Path(sf).is_file()]
    missing += [tool for tool in ("ffmpeg",) + (() if args.renderer else ("fluidsynth",))
                if not shutil.which(tool)]
    if missing:
        print(f"skipped: {', '.join(missing)} not installed")
        return 77
    renderer = Renderer(args.renderer)
    print(f"\nrendering with {renderer.describe()}")
    missed = []
    with tempfile.TemporaryDirectory() as work, \
            concurrent.futures.ThreadPoolExecutor(args.jobs) as pool:
        jobs = {(sf, p.stem): pool.submit(measure, p, sf, renderer, work)
                for sf in soundfonts for p in paths}
        for sf in soundfonts:
            rows = {p.stem: jobs[(sf, p.stem)].result() for p in paths}
            missed += loudness_report(sf, rows)
    print()
    for m in missed:
        print(f"goal missed: {m}")
    bad = {m.split(":")[1].strip() for m in missed}
    print(f"{len(paths) - len(bad)} passed, {len(bad)} failed")
    return 1 if missed else 0


if __name__ == "__main__":
    sys.exit(main())
