#!/usr/bin/env python3
"""Build the background tunes of the game from the note sources in src/.

Every src/r_N.txt is a small score in the text notation described in
README.md.  The script parses it, checks bar lengths and voice lengths,
and writes resources/tunes/r_N.mid (a Standard MIDI File, or an RMID
file when the score asks for it).  Only the Python standard library is
used and the output is byte-for-byte reproducible.

    python3 tools/tunes/make_tunes.py            # build all tunes
    python3 tools/tunes/make_tunes.py r_3 r_10   # build some of them
    python3 tools/tunes/make_tunes.py --check    # parse and report only
"""

import argparse
import random
import re
import shlex
import struct
import sys
import zlib
from fractions import Fraction
from pathlib import Path

HERE = Path(__file__).resolve().parent
SRC_DIR = HERE / "src"
OUT_DIR = HERE.parent.parent / "resources" / "tunes"

PPQ = 480                      # ticks per quarter note
WHOLE = 4 * PPQ                # ticks per whole note

# General MIDI level 1 program names, in program order (0..127).
GM_PROGRAMS = """
acoustic_grand_piano bright_acoustic_piano electric_grand_piano honky_tonk_piano
electric_piano_1 electric_piano_2 harpsichord clavinet celesta glockenspiel
music_box vibraphone marimba xylophone tubular_bells dulcimer drawbar_organ
percussive_organ rock_organ church_organ reed_organ accordion harmonica
tango_accordion acoustic_guitar_nylon acoustic_guitar_steel electric_guitar_jazz
electric_guitar_clean electric_guitar_muted overdriven_guitar distortion_guitar
guitar_harmonics acoustic_bass electric_bass_finger electric_bass_pick
fretless_bass slap_bass_1 slap_bass_2 synth_bass_1 synth_bass_2 violin viola
cello contrabass tremolo_strings pizzicato_strings orchestral_harp timpani
string_ensemble_1 string_ensemble_2 synth_strings_1 synth_strings_2 choir_aahs
voice_oohs synth_voice orchestra_hit trumpet trombone tuba muted_trumpet
french_horn brass_section synth_brass_1 synth_brass_2 soprano_sax alto_sax
tenor_sax baritone_sax oboe english_horn bassoon clarinet piccolo flute recorder
pan_flute blown_bottle shakuhachi whistle ocarina lead_square lead_sawtooth
lead_calliope lead_chiff lead_charang lead_voice lead_fifths lead_bass_lead
pad_new_age pad_warm pad_polysynth pad_choir pad_bowed pad_metallic pad_halo
pad_sweep fx_rain fx_soundtrack fx_crystal fx_atmosphere fx_brightness
fx_goblins fx_echoes fx_sci_fi sitar banjo shamisen koto kalimba bagpipe fiddle
shanai tinkle_bell agogo steel_drums woodblock taiko_drum melodic_tom
synth_drum reverse_cymbal guitar_fret_noise breath_noise seashore bird_tweet
telephone_ring helicopter applause gunshot
""".split()
assert len(GM_PROGRAMS) == 128
PROGRAM = {name: i for i, name in enumerate(GM_PROGRAMS)}

# General MIDI percussion key map (channel 10), short names used in scores.
DRUMS = {
    "kick": 36, "kick2": 35, "rim": 37, "snare": 38, "clap": 39,
    "snare2": 40, "tomlo": 41, "hat": 42, "tomlo2": 43, "pedalhat": 44,
    "tommid": 45, "ohat": 46, "tommid2": 47, "tomhi": 48, "crash": 49,
    "tomhi2": 50, "ride": 51, "china": 52, "ridebell": 53, "tamb": 54,
    "splash": 55, "cowbell": 56, "crash2": 57, "vibraslap": 58, "ride2": 59,
    "bongohi": 60, "bongolo": 61, "congamute": 62, "congahi": 63,
    "congalo": 64, "timbalehi": 65, "timbalelo": 66, "agogohi": 67,
    "agogolo": 68, "cabasa": 69, "maracas": 70, "whistle": 71,
    "whistle2": 72, "guiro": 73, "guiro2": 74, "claves": 75, "woodhi": 76,
    "woodlo": 77, "cuica": 78, "cuica2": 79, "trimute": 80, "tri": 81,
}

DYNAMICS = {"ppp": 24, "pp": 36, "p": 50, "mp": 64, "mf": 78, "f": 92,
            "ff": 106, "fff": 118}

NOTE_BASE = {"C": 0, "D": 2, "E": 4, "F": 5, "G": 7, "A": 9, "B": 11}
ACCIDENTAL = {"": 0, "#": 1, "##": 2, "b": -1, "bb": -2}

KEYS = {  # tonic name -> sharps (+) / flats (-) of the major key
    "Cb": -7, "Gb": -6, "Db": -5, "Ab": -4, "Eb": -3, "Bb": -2, "F": -1,
    "C": 0, "G": 1, "D": 2, "A": 3, "E": 4, "B": 5, "F#": 6, "C#": 7,
}

MINOR_KEYS = {  # tonic name -> sharps (+) / flats (-) of the minor key
    "Ab": -7, "Eb": -6, "Bb": -5, "F": -4, "C": -3, "G": -2, "D": -1,
    "A": 0, "E": 1, "B": 2, "F#": 3, "C#": 4, "G#": 5, "D#": 6, "A#": 7,
}

NOTE_RE = re.compile(r"^([A-G])(##|#|bb|b)?(-?\d)$")
TOKEN_RE = re.compile(r"<[^>]*>[^\s()|<]*|\(|\)(?:\*\d+)?|\||[^\s()|<]+")
SUFFIX_RE = re.compile(r"^(/[0-9.+*]+)?([_'>^~$]*)$")


class ScoreError(Exception):
    pass


def fail(where, msg):
    raise ScoreError(f"{where}: {msg}")


def parse_duration(text, where):
    """'/4.' -> Fraction(3, 8); '/4+16' -> 5/16; '/2*3' -> 3/2."""
    body = text[1:]
    mult = 1
    if "*" in body:
        body, m = body.split("*", 1)
        if not m.isdigit() or int(m) < 1:
            fail(where, f"bad duration multiplier in {text!r}")
        mult = int(m)
    total = Fraction(0)
    for term in body.split("+"):
        m = re.fullmatch(r"(\d+)(\.*)", term)
        if not m:
            fail(where, f"bad duration {text!r}")
        base = Fraction(1, int(m.group(1)))
        value = base
        for i in range(len(m.group(2))):
            value += base / (2 ** (i + 1))
        total += value
    return total * mult


def parse_pitch(name, where, drums):
    if drums and name.lower() in DRUMS:
        return DRUMS[name.lower()]
    m = NOTE_RE.match(name)
    if not m:
        fail(where, f"bad note {name!r}")
    letter, acc, octave = m.group(1), m.group(2) or "", int(m.group(3))
    pitch = (octave + 1) * 12 + NOTE_BASE[letter] + ACCIDENTAL[acc]
    if not 0 <= pitch <= 127:
        fail(where, f"note {name!r} out of MIDI range")
    return pitch


def parse_meter(text, where):
    m = re.fullmatch(r"\s*(\d+)\s*/\s*(\d+)\s*", text)
    if not m or int(m.group(2)) not in (1, 2, 4, 8, 16):
        fail(where, f"bad meter {text!r}")
    return int(m.group(1)), int(m.group(2))


def parse_key(text, where):
    """'G minor' -> (-2, 1): sharps (+) or flats (-), and 1 for minor."""
    m = re.fullmatch(r"\s*([A-G][#b]?)\s+(major|minor)\s*", text)
    if not m:
        fail(where, f"bad key {text!r} (use e.g. 'G minor')")
    tonic, mode = m.group(1), m.group(2)
    table = MINOR_KEYS if mode == "minor" else KEYS
    if tonic not in table:
        fail(where, f"unknown key {text!r}")
    return table[tonic], int(mode == "minor")


# --------------------------------------------------------------------------
# Score model
# --------------------------------------------------------------------------

class Voice:
    def __init__(self, name, params, where):
        self.name = name
        self.channel = int(params.pop("ch", "1")) - 1
        if not 0 <= self.channel <= 15:
            fail(where, f"voice {name}: channel must be 1..16")
        self.drums = self.channel == 9
        prog = params.pop("prog", "acoustic_grand_piano")
        if prog not in PROGRAM:
            fail(where, f"voice {name}: unknown program {prog!r}")
        self.program = PROGRAM[prog]
        self.volume = int(params.pop("vol", "100"))
        self.pan = int(params.pop("pan", "64"))
        self.reverb = int(params.pop("rev", "40"))
        self.chorus = int(params.pop("cho", "0"))
        self.gate = float(params.pop("gate", "0.92"))
        self.vel_scale = float(params.pop("vel", "1.0"))
        self.accent = int(params.pop("accent", "4"))
        self.swing = float(params.pop("swing", "0.5"))
        self.jitter = int(params.pop("jitter", "3"))
        self.label = params.pop("name", name.capitalize())
        self.copy_of = params.pop("from", None)
        self.shift = int(params.pop("shift", "0"))
        # the pedals of this voice also act on another voice's channel
        # (the two hands of a piano on channels of their own)
        self.pedal_also = params.pop("pedal", None)
        # a doubling may also move by scale steps in the key of the piece,
        # e.g. degrees=-2 plays a third below the voice it copies
        self.degrees = int(params.pop("degrees", "0"))
        # lowest note the instrument has; a doubling folds up an octave
        # rather than go below it
        floor = params.pop("floor", None)
        self.floor = parse_pitch(floor, where, False) if floor else None
        if params:
            fail(where, f"voice {name}: unknown parameters {sorted(params)}")
        for what, value in (("vol", self.volume), ("pan", self.pan),
                            ("rev", self.reverb), ("cho", self.chorus)):
            if not 0 <= value <= 127:
                fail(where, f"voice {name}: {what} must be 0..127")


class Section:
    def __init__(self, name):
        self.name = name
        self.lines = {}        # voice -> list of (text, where)
        self.touched = set()   # voices given their own lines here
        self.pickup = Fraction(0)
        self.meter = None
        self.key = None
        self.tempo = None
        self.lead = None       # voices carrying the melody here; () for none


class Score:
    def __init__(self, path):
        self.path = path
        self.name = path.stem
        self.meta = {}
        self.voices = {}
        self.sections = {}
        self.form = []
        self.parse(path.read_text(encoding="utf-8"))

    def parse_lead(self, value, where):
        """'lead: vln fl' names the voices that carry the melody; '-' none."""
        names = value.split()
        if names == ["-"]:
            return ()
        for n in names:
            if n not in self.voices:
                fail(where, f"lead names unknown voice {n!r}")
        return tuple(names)

    def parse(self, text):
        current = None
        for lineno, raw in enumerate(text.splitlines(), 1):
            where = f"{self.path.name}:{lineno}"
            line = re.sub(r"(^|\s)#.*$", "", raw).strip()
            if not line:
                continue
            m = re.fullmatch(r"\[(\w+)(?:\s*<\s*(\w+))?\]", line)
            if m:
                name, base = m.group(1), m.group(2)
                if name in self.sections:
                    fail(where, f"section {name} defined twice")
                current = Section(name)
                if base:
                    # a variation: starts as a copy of an earlier section
                    if base not in self.sections:
                        fail(where, f"section {base} must come before {name}")
                    b = self.sections[base]
                    current.lines = {k: list(v) for k, v in b.lines.items()}
                    current.pickup, current.meter = b.pickup, b.meter
                    current.key, current.tempo = b.key, b.tempo
                    current.lead = b.lead
                self.sections[name] = current
                continue
            if line.startswith("voice "):
                if current is not None:
                    fail(where, "voices must be declared before sections")
                parts = shlex.split(line)
                if len(parts) < 2:
                    fail(where, "voice needs a name")
                params = {}
                for p in parts[2:]:
                    if "=" not in p:
                        fail(where, f"bad voice parameter {p!r}")
                    k, v = p.split("=", 1)
                    params[k] = v
                if parts[1] in self.voices:
                    fail(where, f"voice {parts[1]} declared twice")
                self.voices[parts[1]] = Voice(parts[1], params, where)
                continue
            m = re.fullmatch(r"([\w-]+)\s*:\s*(.*)", line)
            if not m:
                fail(where, f"cannot understand {line!r}")
            key, value = m.group(1), m.group(2)
            if current is None:
                if key == "form":
                    self.form = value.split()
                else:
                    self.meta[key] = value
                continue
            if key == "pickup":
                try:
                    current.pickup = Fraction(value.strip())
                except ValueError:
                    fail(where, f"bad pickup {value!r} (use e.g. 1/8)")
            elif key == "meter":
                current.meter = parse_meter(value, where)
            elif key == "key":
                current.key = parse_key(value, where)
            elif key == "tempo":
                current.tempo = float(value)
            elif key == "lead":
                current.lead = self.parse_lead(value, where)
            elif key in self.voices:
                if self.voices[key].copy_of:
                    fail(where, f"voice {key} copies another voice")
                # in a variation the first line of a voice replaces what
                # was inherited; '-' silences the voice, '=other' plays
                # what the other voice plays in this section
                if key not in current.touched:
                    current.touched.add(key)
                    current.lines.pop(key, None)
                if value.strip() == "-":
                    continue
                if value.strip().startswith("="):
                    other = value.strip()[1:]
                    if other not in self.voices:
                        fail(where, f"unknown voice {other!r}")
                    current.lines.setdefault(key, []).extend(
                        current.lines.get(other, []))
                    continue
                current.lines.setdefault(key, []).append((value, where))
            else:
                fail(where, f"unknown voice or setting {key!r}")
        for required in ("title", "tempo", "meter", "format"):
            if required not in self.meta:
                fail(self.path.name, f"missing header '{required}:'")
        if not self.form:
            fail(self.path.name, "missing 'form:' line")
        for v in self.voices.values():
            if v.copy_of and v.copy_of not in self.voices:
                fail(self.path.name, f"voice {v.name} copies unknown voice")
        self.lead = self.parse_lead(self.meta.pop("lead", "-"), self.path.name)
        # level: the whole tune louder or softer by so many dB, through the
        # volume controller of every voice (which follows 40 log10 of its value)
        try:
            self.level = 10 ** (float(self.meta.pop("level", "0")) / 40)
        except ValueError:
            fail(self.path.name, "level must be a number of dB, e.g. -2.5")
        for v in self.voices.values():
            if round(v.volume * self.level) > 127:
                fail(self.path.name, f"voice {v.name}: vol {v.volume} with the "
                                     f"level above 127")
        on_channel = {}
        for v in self.voices.values():
            if v.pedal_also and v.pedal_also not in self.voices:
                fail(self.path.name, f"voice {v.name} pedals unknown voice")
            # a channel has one instrument, volume, pan and effect level
            first = on_channel.setdefault(v.channel, v)
            setup = lambda x: (x.program, x.volume, x.pan, x.reverb, x.chorus)
            if setup(v) != setup(first):
                fail(self.path.name, f"voices {first.name} and {v.name} share "
                                     f"channel {v.channel + 1} but not its "
                                     f"program, vol, pan, rev and cho")
        self.format = int(self.meta["format"])
        if self.format not in (0, 1):
            fail(self.path.name, "format must be 0 or 1")
        self.meter = parse_meter(self.meta["meter"], self.path.name)
        self.key = (parse_key(self.meta["key"], self.path.name)
                    if "key" in self.meta else None)


# --------------------------------------------------------------------------
# Turning a score into timed events
# --------------------------------------------------------------------------

class VoiceState:
    """What carries over from one section to the next inside one voice."""

    def __init__(self):
        self.velocity = DYNAMICS["mf"]


class Builder:
    def __init__(self, score):
        self.score = score
        self.notes = {name: [] for name in score.voices}   # (start, end, pitch, vel)
        self.ctrl = {name: [] for name in score.voices}    # (tick, order, bytes)
        self.tempos = []                                   # (tick, bpm)
        self.meta_events = []                              # (tick, type, data)
        self.lead_spans = []                               # (start, end, voices)
        self.states = {name: VoiceState() for name in score.voices}
        self.rng = random.Random(zlib.crc32(score.name.encode()))

    # -- helpers ---------------------------------------------------------
    @staticmethod
    def ticks(frac):
        t = frac * WHOLE
        if t.denominator != 1:
            raise ScoreError(f"duration {frac} is not a whole number of ticks")
        return int(t)

    def add_ramp(self, voice, tick, kind, setting, where):
        """@expr:90 sets a value; @expr:60-110:/2 ramps from 60 to 110 over
        a half note; @expr:80-115-90:/2. goes up and back down (any number
        of equally spaced points)."""
        parts = setting.split(":")
        try:
            values = [float(v) for v in parts[0].split("-")]
        except ValueError:
            fail(where, f"bad value in @{kind}:{setting}")
        if len(values) == 1:
            if len(parts) != 1:
                fail(where, f"a single value takes no duration: @{kind}:{setting}")
            self.put_value(voice, tick, kind, values[0])
            return
        if len(parts) != 2:
            fail(where, f"ramp needs values and a duration, got @{kind}:{setting}")
        length = self.ticks(parse_duration(parts[1], where))
        # controllers move in 64th-note steps, tempo in 16th-note steps
        step = PPQ // 16 if kind not in ("tempo", "rit") else PPQ // 4
        n = max(len(values) - 1, length // step)
        last = None
        for i in range(n + 1):
            x = i / n * (len(values) - 1)
            seg = min(int(x), len(values) - 2)
            frac = x - seg
            v = values[seg] + (values[seg + 1] - values[seg]) * frac
            shown = round(v) if kind not in ("tempo", "rit") else round(v, 1)
            if shown == last:
                continue
            last = shown
            self.put_value(voice, tick + length * i // n, kind, v)

    def put_value(self, voice, tick, kind, value):
        v = self.score.voices[voice]
        if kind in ("tempo", "rit"):
            self.tempos.append((tick, value))
            return
        number = {"expr": 11, "vol": 7, "pan": 10, "rev": 91, "cho": 93}[kind]
        if kind == "vol":
            value *= self.score.level
        value = max(0, min(127, int(round(value))))
        self.ctrl[voice].append((tick, 1, bytes([0xB0 | v.channel, number, value])))

    # -- sections --------------------------------------------------------
    def expand(self, lines):
        """Tokenize the lines of one voice in one section and flatten the
        ( ... )*N groups, which may run over several lines. Returns a list
        of (token, where) pairs."""
        stack = [[]]
        where = lines[0][1] if lines else ""
        for text, where in lines:
            for tok in TOKEN_RE.findall(text):
                if tok == "(":
                    stack.append([])
                elif tok.startswith(")"):
                    if len(stack) == 1:
                        fail(where, "unbalanced ')'")
                    group = stack.pop()
                    times = int(tok[2:]) if tok.startswith(")*") else 1
                    stack[-1].extend(group * times)
                else:
                    stack[-1].append((tok, where))
        if len(stack) != 1:
            fail(where, "unbalanced '('")
        return stack[0]

    def voice_section(self, vname, section, start, shift, meter):
        """Lay out one voice of one section; returns its length in ticks."""
        voice = self.score.voices[vname]
        state = self.states[vname]
        bar = Fraction(meter[0], meter[1])
        beat = Fraction(3, 8) if meter[1] == 8 and meter[0] % 3 == 0 else Fraction(1, meter[1])
        pos = Fraction(0)
        dur = Fraction(1, 4)
        open_ties = {}     # pitch -> index into notes of the note being tied
        for tok, where in self.expand(section.lines.get(vname, [])):
            if tok == "|":
                if (pos - section.pickup) % bar != 0 and pos != 0:
                    fail(where, f"voice {vname}: bar line at {pos} "
                                f"is not on a bar boundary "
                                f"(section {section.name})")
                continue
            if tok.startswith("!"):
                level = tok[1:]
                if level in DYNAMICS:
                    state.velocity = DYNAMICS[level]
                elif re.fullmatch(r"v\d+", level):
                    state.velocity = int(level[1:])
                else:
                    fail(where, f"unknown dynamic {tok!r}")
                continue
            if tok.startswith("@"):
                self.command(vname, tok[1:], start + self.ticks(pos), where)
                continue
            # note, chord or rest with optional duration and marks
            if tok.startswith("<"):
                close = tok.index(">")
                names = tok[1:close].split()
                rest = tok[close + 1:]
                if not names:
                    fail(where, "empty chord")
            else:
                m = re.match(r"^([^/_'>^~$]+)(.*)$", tok)
                if not m:
                    fail(where, f"cannot read {tok!r}")
                names, rest = [m.group(1)], m.group(2)
            sm = SUFFIX_RE.match(rest)
            if not sm:
                fail(where, f"bad marks in {tok!r}")
            if sm.group(1):
                dur = parse_duration(sm.group(1), where)
            marks = sm.group(2)
            t0 = start + self.ticks(pos)
            t1 = start + self.ticks(pos + dur)
            if names == ["R"] or names == ["r"]:
                if open_ties:
                    fail(where, f"voice {vname}: tie into a rest")
                pos += dur
                continue
            pitches, tie_set = [], set()
            for n in names:
                own_tie = n.endswith("~")
                n = n.rstrip("~")
                p = parse_pitch(n, where, voice.drums)
                if not voice.drums:
                    p += shift + voice.shift
                if not 0 <= p <= 127:
                    fail(where, f"note {n} shifted out of range")
                pitches.append(p)
                if own_tie:
                    tie_set.add(p)
            # velocity: dynamic level, marks, metric accent, small jitter
            vel = state.velocity
            if ">" in marks:
                vel += 16
            if "^" in marks:
                vel += 26
            in_bar = (pos - section.pickup) % bar
            if in_bar == 0:
                vel += voice.accent
            elif in_bar % beat == 0:
                vel += voice.accent // 2
            else:
                vel -= voice.accent // 2
            gate = voice.gate
            if "'" in marks:
                gate = 0.45
            if "^" in marks:
                gate = min(gate, 0.7)
            if "_" in marks:
                gate = 1.0
            # swing the off-beat eighths a little where asked
            s0 = t0
            if voice.swing != 0.5:
                eighth = WHOLE // 8
                rel = t0 - start
                if rel % eighth == 0 and (rel // eighth) % 2 == 1:
                    s0 = t0 + int((voice.swing - 0.5) * 2 * eighth)
            # release velocity: how fast the key (or bow, or breath)
            # lets go - quick for short notes, slow for held ones
            rel = 64
            if "'" in marks or "^" in marks:
                rel = 100
            elif "_" in marks:
                rel = 40
            if "~" in marks:
                tie_set = set(pitches)
            # '$' rolls a chord upwards, like a harp or a strummed chord
            roll = 0
            if "$" in marks and len(pitches) > 1:
                roll = min(PPQ // 16, (t1 - t0) // (2 * len(pitches)))
            new_ties = {}
            for i, p in enumerate(sorted(pitches) if roll else pitches):
                tied_next = p in tie_set
                n0 = s0 + i * roll
                v = vel + (self.rng.randint(-voice.jitter, voice.jitter)
                           if voice.jitter else 0)
                v = max(1, min(127, int(round(v * voice.vel_scale))))
                if p in open_ties:
                    idx = open_ties.pop(p)
                    s, _, pp, vv, _ = self.notes[vname][idx]
                    length = t1 - s
                    if tied_next:
                        self.notes[vname][idx] = (s, t1, pp, vv, rel)
                        new_ties[p] = idx
                    else:
                        end = s + max(1, int(length * gate)) if gate < 1 else t1
                        self.notes[vname][idx] = (s, max(end, t0 + 1), pp, vv, rel)
                    continue
                if tied_next:
                    self.notes[vname].append((n0, t1, p, v, rel))
                    new_ties[p] = len(self.notes[vname]) - 1
                else:
                    length = t1 - s0
                    end = n0 + max(1, int(length * gate)) if gate < 1 else t1
                    self.notes[vname].append((n0, min(max(end, n0 + 1), t1), p, v, rel))
            if open_ties:
                fail(where, f"voice {vname}: tie to a different pitch")
            open_ties = new_ties
            pos += dur
        if open_ties:
            fail(section.lines[vname][-1][1], f"voice {vname}: unfinished tie")
        return self.ticks(pos)

    def command(self, vname, cmd, tick, where):
        v = self.score.voices[vname]
        name, _, arg = cmd.partition(":")
        ch = v.channel
        # pedals also hold the channel of the voice named by pedal=
        pedal_channels = [ch]
        if v.pedal_also:
            pedal_channels.append(self.score.voices[v.pedal_also].channel)

        def pedal(at, order, number, value):
            for c in pedal_channels:
                self.ctrl[vname].append((at, order, bytes([0xB0 | c, number, value])))

        if name == "ped":
            pedal(tick, 1, 64, 127)
        elif name == "noped":
            pedal(tick, 0, 64, 0)
        elif name == "repedal":
            pedal(tick, 0, 64, 0)
            pedal(tick + PPQ // 16, 1, 64, 127)
        elif name == "cc":
            m = re.fullmatch(r"(\d+):(\d+)", arg)
            if not m or int(m.group(1)) > 119 or int(m.group(2)) > 127:
                fail(where, f"bad controller command @{cmd}")
            number, value = int(m.group(1)), int(m.group(2))
            if number in (64, 66, 67):
                pedal(tick, 1, number, value)
            else:
                self.ctrl[vname].append((tick, 1, bytes([0xB0 | ch, number, value])))
        elif name == "prog":
            if arg not in PROGRAM:
                fail(where, f"unknown program {arg!r}")
            self.ctrl[vname].append((tick, 0, bytes([0xC0 | ch, PROGRAM[arg]])))
        elif name in ("expr", "vol", "pan", "rev", "cho", "tempo", "rit"):
            if not arg:
                fail(where, f"@{name} needs a value")
            self.add_ramp(vname, tick, name, arg, where)
        else:
            fail(where, f"unknown command @{cmd}")

    def build(self):
        sc = self.score
        tick = 0
        meter = None
        key = None
        grid, grid_meter = None, None
        self.tempos.append((0, float(sc.meta["tempo"])))
        for item in sc.form:
            m = re.fullmatch(r"(\w+)([+-]\d+)?", item)
            if not m or m.group(1) not in sc.sections:
                fail(sc.path.name, f"form names unknown section {item!r}")
            section = sc.sections[m.group(1)]
            shift = int(m.group(2) or 0)
            sec_meter = section.meter or sc.meter
            if sec_meter != meter:
                nn, dd = sec_meter
                self.meta_events.append(
                    (tick, 0x58, bytes([nn, dd.bit_length() - 1, 24, 8])))
                meter = sec_meter
            sec_key = section.key or sc.key
            if sec_key and sec_key != key:
                sf, mi = sec_key
                if shift:
                    sf = ((sf * 7 + shift) % 12) * 7 % 12
                    sf = sf - 12 if sf > 6 else sf
                self.meta_events.append((tick, 0x59, struct.pack("bB", sf, mi)))
                key = sec_key if not shift else None
            if section.tempo:
                self.tempos.append((tick, section.tempo))
            self.meta_events.append((tick, 0x06, item.encode()))
            lead = section.lead if section.lead is not None else sc.lead
            lengths = {}
            for vname, voice in sc.voices.items():
                if voice.copy_of:
                    continue
                if vname in section.lines:
                    lengths[vname] = self.voice_section(vname, section, tick,
                                                        shift, sec_meter)
            if not lengths:
                fail(sc.path.name, f"section {section.name} is empty")
            if len(set(lengths.values())) != 1:
                detail = ", ".join(f"{k}={Fraction(v, WHOLE)}"
                                   for k, v in lengths.items())
                fail(sc.path.name, f"section {section.name}: voices differ "
                                   f"in length ({detail})")
            length = next(iter(lengths.values()))
            # the first bar line of every section must fall on the bar grid
            # laid down by the sections before it
            bar = Fraction(*sec_meter)
            downbeat = Fraction(tick, WHOLE) + section.pickup
            if grid is None or sec_meter != grid_meter:
                grid, grid_meter = downbeat, sec_meter
            elif (downbeat - grid) % bar != 0:
                fail(sc.path.name, f"section {section.name} starts off the "
                                   f"bar grid (check pickups and bar counts)")
            if lead:
                self.lead_spans.append((tick, tick + length, lead))
            tick += length
        self.end_tick = tick
        # copies (doublings) of other voices
        for vname, voice in sc.voices.items():
            if voice.copy_of:
                src = self.notes[voice.copy_of]
                out = []
                scale = self.scale()
                for s, e, p, v, r in src:
                    q = p + voice.shift
                    if voice.degrees:
                        q = diatonic_step(q, voice.degrees, scale)
                    while voice.floor is not None and q < voice.floor:
                        q += 12
                    if 0 <= q <= 127:
                        out.append((s, e, q, max(1, min(127, int(v * voice.vel_scale))), r))
                self.notes[vname] = out
        self.tempos.sort(key=lambda x: x[0])

    def scale(self):
        """Pitch classes of the piece's key (natural minor for minor keys,
        with the raised leading note added)."""
        sf, mi = self.score.key or (0, 0)
        tonic = (sf * 7) % 12
        if mi:
            tonic = (tonic + 9) % 12
            steps = [0, 2, 3, 5, 7, 8, 10]
        else:
            steps = [0, 2, 4, 5, 7, 9, 11]
        return [(tonic + x) % 12 for x in steps]

    # -- timing ----------------------------------------------------------
    def seconds_at(self, tick):
        final = {}
        for t, b in self.tempos:
            final[t] = b
        total, last_tick, bpm = 0.0, 0, final[0]
        for t, b in sorted(final.items()):
            if t > tick:
                break
            total += (t - last_tick) / PPQ * 60.0 / bpm
            last_tick, bpm = t, b
        return total + (tick - last_tick) / PPQ * 60.0 / bpm


def diatonic_step(pitch, steps, scale):
    """Move a pitch by a number of scale steps. A note outside the scale
    (a chromatic passing note) is moved like the scale note below it."""
    base = pitch
    while base % 12 not in scale:
        base -= 1
    octave, pc = divmod(base, 12)
    # scale as it runs upwards from C inside one octave
    ordered = sorted(scale)
    idx = ordered.index(pc)
    total = idx + steps
    o, i = divmod(total, len(ordered))
    return (octave + o) * 12 + ordered[i] + (pitch - base)


# --------------------------------------------------------------------------
# Writing the Standard MIDI File
# --------------------------------------------------------------------------

def varlen(n):
    out = [n & 0x7F]
    n >>= 7
    while n:
        out.append(0x80 | (n & 0x7F))
        n >>= 7
    return bytes(reversed(out))


def meta(kind, data):
    return bytes([0xFF, kind]) + varlen(len(data)) + data


def encode_track(events):
    """events: list of (tick, order, bytes). Uses running status."""
    events.sort(key=lambda e: (e[0], e[1]))
    out = bytearray()
    last_tick, status = 0, None
    for tick, _, data in events:
        out += varlen(tick - last_tick)
        last_tick = tick
        if data[0] == 0xFF:
            status = None
            out += data
        elif data[0] == status:
            out += data[1:]
        else:
            status = data[0]
            out += data
    return b"MTrk" + struct.pack(">I", len(out)) + bytes(out)


def voice_events(builder, vname, reset, keep_notes=True):
    """Events of one voice. reset: whether this voice resets its channel's
    controllers (only the first voice on a channel does, so a second hand
    on the same channel cannot undo what the first one set). keep_notes
    False leaves the notes out (a stem for measuring balance)."""
    voice = builder.score.voices[vname]
    ch = voice.channel
    ev = []
    if voice.label:
        # in a one-track file the track name is the title; each voice gets
        # an instrument name instead
        kind = 0x03 if builder.score.format == 1 else 0x04
        ev.append((0, -10, meta(kind, voice.label.encode())))
    if reset:
        ev.append((0, -5, bytes([0xB0 | ch, 121, 0])))        # reset controllers
        if not voice.drums:
            ev.append((0, -4, bytes([0xB0 | ch, 0, 0])))      # bank select GM
            ev.append((0, -4, bytes([0xB0 | ch, 32, 0])))
        ev.append((0, -3, bytes([0xC0 | ch, voice.program])))
        ev.append((0, -2, bytes([0xB0 | ch, 7, round(voice.volume * builder.score.level)])))
        ev.append((0, -2, bytes([0xB0 | ch, 10, voice.pan])))
        ev.append((0, -2, bytes([0xB0 | ch, 11, 127])))
        ev.append((0, -2, bytes([0xB0 | ch, 91, voice.reverb])))
        ev.append((0, -2, bytes([0xB0 | ch, 93, voice.chorus])))
    for tick, order, data in builder.ctrl[vname]:
        ev.append((tick, order, data))
    for s, e, p, v, r in builder.notes[vname] if keep_notes else ():
        ev.append((e, 0, bytes([0x80 | ch, p, r])))
        ev.append((s, 2, bytes([0x90 | ch, p, v])))
    # the pedal is always let go at the very end
    for c in sorted({d[0] & 0x0F for _, _, d in builder.ctrl[vname]
                     if d[0] & 0xF0 == 0xB0 and d[1] == 64}):
        ev.append((builder.end_tick + PPQ, 0, bytes([0xB0 | c, 64, 0])))
    return ev


def conductor_events(builder):
    sc = builder.score
    ev = [(0, -20, meta(0x03, sc.meta["title"].encode("latin-1")))]
    if "copyright" in sc.meta:
        ev.append((0, -19, meta(0x02, sc.meta["copyright"].encode("latin-1"))))
    for key in ("composer", "note"):
        if key in sc.meta:
            ev.append((0, -18, meta(0x01, sc.meta[key].encode("latin-1"))))
    for tick, kind, data in builder.meta_events:
        ev.append((tick, -15 if kind != 0x06 else -14, meta(kind, data)))
    # several tempo marks may land on one tick (the end of a ritardando
    # and the 'a tempo' after it): the one written last wins
    final = {}
    for tick, bpm in builder.tempos:
        final[tick] = bpm
    last_bpm = None
    for tick in sorted(final):
        bpm = final[tick]
        if bpm == last_bpm:
            continue
        us = int(round(60_000_000 / bpm))
        ev.append((tick, -16, meta(0x51, struct.pack(">I", us)[1:])))
        last_bpm = bpm
    return ev


def write_smf(builder, only=None):
    """The Standard MIDI File; only: the voices whose notes are kept (all
    when None), everything else stays as it is."""
    sc = builder.score
    tail = builder.end_tick + 2 * PPQ          # let the last notes ring
    names = [n for n in sc.voices]
    first_on_channel = {}
    for n in names:
        first_on_channel.setdefault(sc.voices[n].channel, n)

    def events_of(n):
        return voice_events(builder, n, first_on_channel[sc.voices[n].channel] == n,
                            only is None or n in only)

    if sc.format == 0:
        events = conductor_events(builder)
        for n in names:
            events += events_of(n)
        events.append((tail, 99, meta(0x2F, b"")))
        tracks = [encode_track(events)]
    else:
        cond = conductor_events(builder)
        cond.append((tail, 99, meta(0x2F, b"")))
        tracks = [encode_track(cond)]
        for n in names:
            ev = events_of(n)
            ev.append((tail, 99, meta(0x2F, b"")))
            tracks.append(encode_track(ev))
    header = b"MThd" + struct.pack(">IHHH", 6, sc.format, len(tracks), PPQ)
    return header + b"".join(tracks), len(tracks)


def riff_chunk(cid, data):
    out = cid + struct.pack("<I", len(data)) + data
    if len(data) % 2:
        out += b"\0"
    return out


def wrap_rmid(smf, score):
    info = b"INFO"
    for cid, key in ((b"INAM", "title"), (b"IART", "composer"),
                     (b"ICOP", "copyright"), (b"ISFT", "software"),
                     (b"ICMT", "note")):
        if key in score.meta:
            info += riff_chunk(cid, score.meta[key].encode("latin-1") + b"\0")
    body = b"RMID" + riff_chunk(b"data", smf) + riff_chunk(b"LIST", info)
    return b"RIFF" + struct.pack("<I", len(body)) + body


# --------------------------------------------------------------------------

def stems(path):
    """For measuring balance: the score's lead spans in seconds, as a list of
    (start, end, voices), and for every group of voices that leads
    somewhere the tune with only that group's notes, {voices: smf}."""
    score = Score(path)
    builder = Builder(score)
    builder.build()
    spans = [(builder.seconds_at(a), builder.seconds_at(b), lead)
             for a, b, lead in builder.lead_spans]
    melodies = {lead: write_smf(builder, set(lead))[0]
                for lead in dict.fromkeys(lead for _, _, lead in spans)}
    return spans, melodies


def build(path, write=True, report=True):
    score = Score(path)
    builder = Builder(score)
    builder.build()
    smf, ntracks = write_smf(builder)
    data = smf
    if score.meta.get("wrap") == "rmid":
        data = wrap_rmid(smf, score)
    elif "wrap" in score.meta:
        fail(path.name, "wrap must be 'rmid'")
    out = OUT_DIR / (score.name + ".mid")
    if write:
        OUT_DIR.mkdir(parents=True, exist_ok=True)
        out.write_bytes(data)
    if not report:
        return data
    seconds = builder.seconds_at(builder.end_tick)
    nnotes = sum(len(v) for v in builder.notes.values())
    ranges = []
    for vname, notes in builder.notes.items():
        if notes:
            lo = min(n[2] for n in notes)
            hi = max(n[2] for n in notes)
            ranges.append(f"{vname} {lo}-{hi}")
    print(f"{score.name:5} {score.meta['title'][:26]:26} fmt {score.format} "
          f"trk {ntracks:2} {seconds:6.1f}s notes {nnotes:5} "
          f"{len(data):6} bytes  [{'; '.join(ranges)}]")
    return data


def main(argv=None):
    ap = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    ap.add_argument("tunes", nargs="*", help="tune names such as r_3")
    ap.add_argument("--check", action="store_true",
                    help="parse and report without writing files")
    args = ap.parse_args(argv)
    paths = sorted(SRC_DIR.glob("r_*.txt"),
                   key=lambda p: int(p.stem.split("_")[1]))
    if args.tunes:
        wanted = set(args.tunes)
        paths = [p for p in paths if p.stem in wanted]
        missing = wanted - {p.stem for p in paths}
        if missing:
            print(f"no source for: {', '.join(sorted(missing))}", file=sys.stderr)
            return 2
    ok = True
    for p in paths:
        try:
            build(p, write=not args.check)
        except ScoreError as e:
            print(f"error: {e}", file=sys.stderr)
            ok = False
    return 0 if ok else 1


if __name__ == "__main__":
    sys.exit(main())
