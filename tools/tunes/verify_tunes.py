#!/usr/bin/env python3
"""Check the built tunes in resources/tunes/ the way a listener would.

For every r_N.mid the script
  * reads the container (plain SMF, or RIFF/RMID with its chunk sizes),
  * parses every track with its own small MIDI reader (independent of
    make_tunes.py) and checks note pairing, end-of-track events, programs,
    note ranges and the length given by the tempo map,
  * renders the music offline with fluidsynth and measures the audio with
    sox: total length, overall RMS, and the RMS of every 10 second window.

Needs the Debian packages fluidsynth, sox and a General MIDI SoundFont
(fluid-soundfont-gm or timgm6mb-soundfont).

    python3 tools/tunes/verify_tunes.py [--soundfont FILE] [--no-render] [r_3 ...]
"""

import argparse
import re
import struct
import subprocess
import sys
import tempfile
from pathlib import Path

HERE = Path(__file__).resolve().parent
TUNES = HERE.parent.parent / "resources" / "tunes"
DEFAULT_SF = "/usr/share/sounds/sf2/default-GM.sf2"

MIN_BYTES, MAX_BYTES = 11 * 1024, 36 * 1024
MIN_SECONDS, MAX_SECONDS = 60.0, 180.0
WINDOW = 10.0            # seconds
SILENT_RMS = 0.002       # an RMS below this counts as silence


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
            "polyphony": 0}
    sounding = []      # (tick, +1/-1) over all tracks
    for ti, trk in enumerate(tracks):
        i, tick, status, ended = 0, 0, None, False
        held = {}
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
        if not ended:
            raise Bad(f"track {ti}: no end-of-track event")
        if any(held.values()):
            raise Bad(f"track {ti}: notes left sounding")
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


def sox_stat(wav, start=None, length=None):
    cmd = ["sox", str(wav), "-n"]
    if start is not None:
        cmd += ["trim", f"{start:.3f}", f"{length:.3f}"]
    cmd += ["stat"]
    out = subprocess.run(cmd, capture_output=True, text=True).stderr
    stats = {}
    for line in out.splitlines():
        m = re.match(r"\s*([A-Za-z ()]+?):\s+(-?[\d.e+-]+)", line)
        if m:
            stats[m.group(1).strip()] = float(m.group(2))
    return stats


def check(path, soundfont, render, workdir):
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
    midi_len = seconds(info, info["end"])
    row = {"name": path.stem, "container": container, "format": info["format"],
           "tracks": info["tracks"], "bytes": len(data), "notes": info["notes"],
           "midi_s": midi_len, "problems": problems,
           "ranges": " ".join(f"ch{c + 1}:{lo}-{hi}"
                              for c, (lo, hi) in sorted(info["ranges"].items()))}
    if render:
        mid = Path(workdir) / f"{path.stem}.mid"
        wav = Path(workdir) / f"{path.stem}.wav"
        mid.write_bytes(smf)
        subprocess.run(["fluidsynth", "-ni", "-F", str(wav), "-r", "44100",
                        soundfont, str(mid)], check=True,
                       capture_output=True)
        whole = sox_stat(wav)
        length = whole.get("Length (seconds)", 0.0)
        row["wav_s"] = length
        row["rms"] = whole.get("RMS     amplitude", whole.get("RMS amplitude", 0.0))
        # every 10 s window, stepping by 5 s, up to the end of the music
        quiet, lowest, t = [], 1.0, 0.0
        while t + WINDOW <= midi_len + 0.01:
            rms = sox_stat(wav, t, WINDOW).get("RMS     amplitude", 0.0)
            lowest = min(lowest, rms)
            if rms < SILENT_RMS:
                quiet.append(f"{t:.0f}s")
            t += WINDOW / 2
        row["min_window_rms"] = lowest
        if not MIN_SECONDS <= length <= MAX_SECONDS:
            problems.append(f"rendered length {length:.1f}s out of range")
        if quiet:
            problems.append("silent windows at " + ", ".join(quiet))
    return row


def main(argv=None):
    ap = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    ap.add_argument("tunes", nargs="*")
    ap.add_argument("--soundfont", default=DEFAULT_SF)
    ap.add_argument("--no-render", action="store_true")
    args = ap.parse_args(argv)
    paths = sorted(TUNES.glob("r_*.mid"), key=lambda p: int(p.stem[2:]))
    if args.tunes:
        paths = [p for p in paths if p.stem in set(args.tunes)]
    failed = 0
    with tempfile.TemporaryDirectory() as work:
        print(f"{'tune':5} {'container':22} {'fmt':>3} {'trk':>3} {'bytes':>6} "
              f"{'notes':>5} {'midi s':>7} {'wav s':>7} {'rms':>7} {'min10s':>7}  ranges")
        for p in paths:
            try:
                r = check(p, args.soundfont, not args.no_render, work)
            except (Bad, IndexError) as e:
                print(f"{p.stem:5} BROKEN: {e}")
                failed += 1
                continue
            print(f"{r['name']:5} {r['container']:22} {r['format']:>3} "
                  f"{r['tracks']:>3} {r['bytes']:>6} {r['notes']:>5} "
                  f"{r['midi_s']:>7.1f} {r.get('wav_s', 0):>7.1f} "
                  f"{r.get('rms', 0):>7.4f} {r.get('min_window_rms', 0):>7.4f}  "
                  f"{r['ranges']}")
            for prob in r["problems"]:
                print(f"      problem: {prob}")
            failed += bool(r["problems"])
    print(f"{len(paths) - failed} passed, {failed} failed")
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())
