"""Arranges a tune described in tunes.py into MIDI notes: bass, pads, arpeggios, comping,
drums and a melody written over the chords.

A tune's bars come from its sections (each a list of chord symbols, one per bar, or two
separated by a blank for a change at the half bar). The melody is composed from a rhythm
motif per section: strong beats take chord tones near the last note, weak beats step along
the scale, every fourth bar ends a phrase on a long chord tone. Everything is drawn from a
generator seeded by the tune, so a tune renders the same every time.
"""
import random
from dataclasses import dataclass, field

from theory import Chord, note, scale

DRUMS = 9  # the General MIDI percussion channel


@dataclass
class Voice:
    role: str           # bass, pad, arp, comp, melody, counter, drums
    program: int        # General MIDI program (drum kit number on the drum channel)
    style: str = ""     # the role's pattern
    register: str = ""  # lowest and highest note, "C3-C5"
    velocity: int = 80
    volume: int = 100
    pan: int = 64


@dataclass
class Tune:
    name: str
    path: str
    purpose: str
    key: str
    bpm: float
    beats: int                      # beats in a bar
    sections: dict                  # name -> list of bar chords
    form: list                      # section names in order
    voices: list
    motifs: dict = field(default_factory=dict)  # section -> [(beat, length), ...] over 2 bars
    swing: float = 0.0              # 0 straight; 1/6 moves off-beat eighths to the triplet
    seed: int = 1

    def bars(self):
        out = []
        for name in self.form:
            out.extend(self.sections[name])
        return out

    def section_of_bar(self):
        out = []
        for name in self.form:
            out.extend([name] * len(self.sections[name]))
        return out

    def seconds(self):
        return len(self.bars()) * self.beats * 60.0 / self.bpm


def _register(text):
    low, high = text.split("-")
    return note(low), note(high)


def _bar_chords(bar):
    """A bar's chords as [(start beat fraction 0..1, Chord)]."""
    symbols = bar.split()
    step = 1.0 / len(symbols)
    return [(i * step, Chord(s)) for i, s in enumerate(symbols)]


def _chord_at(bar_chords, fraction):
    current = bar_chords[0][1]
    for start, chord in bar_chords:
        if fraction + 1e-9 >= start:
            current = chord
    return current


class Arranger:
    def __init__(self, tune):
        self.tune = tune
        self.rand = random.Random(tune.seed)
        self.notes = []

    def swung(self, beat):
        whole = int(beat)
        frac = beat - whole
        if self.tune.swing and abs(frac - 0.5) < 1e-9:
            return whole + 0.5 + self.tune.swing
        return beat

    def add(self, start, length, channel, key, velocity):
        jitter = self.rand.randint(-5, 5)
        self.notes.append((self.swung(start), length, channel, key, velocity + jitter))

    def arrange(self, cycles=1):
        """Notes for `cycles` repetitions of the tune and the channel set-up."""
        tune = self.tune
        bars = [_bar_chords(b) for b in tune.bars()]
        sections = tune.section_of_bar()
        programs, volumes, pans = {}, {}, {}
        channel = 0
        melody_notes = self.compose_melody(bars, sections)
        for voice in tune.voices:
            if voice.role == "drums":
                ch = DRUMS
            else:
                ch = channel
                channel += 1 if channel + 1 != DRUMS else 2
            programs[ch] = voice.program
            volumes[ch] = voice.volume
            pans[ch] = voice.pan
            for cycle in range(cycles):
                offset = cycle * len(bars) * tune.beats
                self.arrange_voice(voice, ch, bars, offset, melody_notes)
        return self.notes, programs, volumes, pans

    def arrange_voice(self, voice, ch, bars, offset, melody_notes):
        beats = self.tune.beats
        role = getattr(self, "_" + voice.role)
        for index, bar in enumerate(bars):
            start = offset + index * beats
            following = bars[(index + 1) % len(bars)]
            role(voice, ch, bar, following, start, index, melody_notes)

    # --- Roles -----------------------------------------------------------------------
    def _bass(self, voice, ch, bar, following, start, index, melody_notes):
        beats = self.tune.beats
        low, _ = _register(voice.register or "E1-E3")
        v = voice.velocity
        if voice.style == "walk":
            next_root = following[0][1].bass_note(low)
            for beat in range(beats):
                chord = _chord_at(bar, beat / beats)
                root = chord.bass_note(low)
                if beat == 0:
                    key = root
                elif beat == beats - 1:
                    key = next_root + self.rand.choice((-1, 1, 2))
                else:
                    key = self.rand.choice(chord.tones_in(root + 1, root + 12))
                self.add(start + beat, 0.95, ch, key, v - (0 if beat % 2 == 0 else 8))
        elif voice.style == "octave":
            for eighth in range(beats * 2):
                chord = _chord_at(bar, eighth / (beats * 2))
                root = chord.bass_note(low)
                self.add(start + eighth / 2, 0.4, ch, root + (12 if eighth % 2 else 0),
                         v - (10 if eighth % 2 else 0))
        elif voice.style == "waltz":
            chord = _chord_at(bar, 0)
            self.add(start, beats * 0.9, ch, chord.bass_note(low), v)
        elif voice.style == "bossa":
            for half, (b, length) in enumerate(((0, 1.4), (1.5, 0.5), (2, 1.4), (3.5, 0.5))):
                chord = _chord_at(bar, b / beats)
                key = chord.bass_note(low) if half % 2 == 0 else chord.fifth_above_bass(low) - 12
                self.add(start + b, length, ch, key if key >= low else key + 12, v - 6 * (half % 2))
        else:  # root and fifth
            for part, (fraction, chord) in enumerate(bar):
                length = beats * (1 - fraction) if part == len(bar) - 1 else beats * bar[part + 1][0] - beats * fraction
                b = start + fraction * beats
                root = chord.bass_note(low)
                self.add(b, min(length, beats / 2) * 0.95, ch, root, v)
                if length > beats / 2:
                    self.add(b + beats / 2, beats / 2 * 0.9, ch, root + 7 if root + 7 <= low + 19 else root - 5, v - 10)

    def _pad(self, voice, ch, bar, following, start, index, melody_notes):
        beats = self.tune.beats
        low, high = _register(voice.register or "A3-E5")
        for part, (fraction, chord) in enumerate(bar):
            end = bar[part + 1][0] if part + 1 < len(bar) else 1.0
            for key in chord.voicing((low + high) // 2):
                self.add(start + fraction * beats, (end - fraction) * beats * 0.98, ch, key, voice.velocity)

    def _arp(self, voice, ch, bar, following, start, index, melody_notes):
        beats = self.tune.beats
        low, high = _register(voice.register or "D4-D6")
        pattern = [int(x) for x in (voice.style or "0 1 2 3 2 1").split()]
        steps = len(pattern)
        per_beat = max(1, round(steps / beats))
        step_len = 1.0 / per_beat
        count = beats * per_beat
        for i in range(count):
            b = i * step_len
            chord = _chord_at(bar, b / beats)
            tones = chord.tones_in(low, high)[:6]
            key = tones[pattern[i % steps] % len(tones)]
            accent = 8 if i % per_beat == 0 else 0
            self.add(start + b, step_len * 1.6, ch, key, voice.velocity + accent)

    def _comp(self, voice, ch, bar, following, start, index, melody_notes):
        beats = self.tune.beats
        low, high = _register(voice.register or "G3-G5")
        hits = {
            "swing": [(1, 0.5), (3, 0.5)] if index % 2 == 0 else [(0.5, 0.4), (2, 0.6), (3.5, 0.4)],
            "waltz": [(1, 0.8), (2, 0.8)],
            "offbeat": [(b + 0.5, 0.35) for b in range(beats)],
            "stabs": [(0, 0.4), (1.5, 0.4), (3, 0.4)],
            "bossa": [(0, 0.5), (1.5, 0.5), (3, 0.5)] if index % 2 == 0 else [(0.5, 0.5), (2, 0.5), (3.5, 0.4)],
            "strum": [(b, 0.9) for b in range(beats)],
        }[voice.style or "strum"]
        for b, length in hits:
            if b >= beats:
                continue
            chord = _chord_at(bar, b / beats)
            for n, key in enumerate(chord.voicing((low + high) // 2)):
                self.add(start + b + n * (0.015 if voice.style == "strum" else 0), length, ch, key,
                         voice.velocity - (6 if b % 1 else 0))

    def _counter(self, voice, ch, bar, following, start, index, melody_notes):
        beats = self.tune.beats
        low, high = _register(voice.register or "F4-C6")
        for fraction, chord in bar:
            tones = chord.tones_in(low, high)
            third = [t for t in tones if (t - chord.root) % 12 in (3, 4, 10, 11)] or tones
            self.add(start + fraction * beats, beats * (0.5 if len(bar) > 1 else 1) * 0.95, ch,
                     third[len(third) // 2], voice.velocity)

    def _melody(self, voice, ch, bar, following, start, index, melody_notes):
        for b, length, key in melody_notes[index]:
            self.add(start + b, length, ch, key, voice.velocity + (8 if b == 0 else 0))

    def _drums(self, voice, ch, bar, following, start, index, melody_notes):
        beats = self.tune.beats
        v = voice.velocity
        style = voice.style
        hits = []
        if style == "four":
            hits += [(b, 36, v + 10) for b in range(beats)]
            hits += [(b + 0.5, 46 if b % 2 else 42, v - 15) for b in range(beats)]
            hits += [(1, 39, v - 5), (3, 39, v - 5)]
        elif style == "swing":
            hits += [(0, 51, v), (1, 51, v), (1.5, 51, v - 15), (2, 51, v), (3, 51, v), (3.5, 51, v - 15)]
            hits += [(1, 44, v - 20), (3, 44, v - 20), (0, 36, v - 25)]
            if index % 4 == 3:
                hits += [(3.5, 38, v - 20)]
        elif style == "brush":
            hits += [(b, 38, v - 25) for b in range(beats)] + [(1, 38, v - 10), (3, 38, v - 10)]
            hits += [(0, 36, v - 20), (2, 36, v - 30)]
        elif style == "waltz":
            hits += [(0, 36, v - 15), (1, 42, v - 30), (2, 42, v - 30)]
        elif style == "shaker":
            hits += [(b / 2, 70, v - (10 if b % 2 else 25)) for b in range(beats * 2)]
            hits += [(0, 36, v - 20), (2.5, 37, v - 25)] if beats == 4 else [(0, 36, v - 20)]
        if index == 0 and style in ("four", "swing"):
            hits.append((0, 49, v - 10))
        for b, key, vel in hits:
            self.add(start + b, 0.25, ch, key, vel)

    # --- Melody ------------------------------------------------------------------------
    def compose_melody(self, bars, sections):
        """Per bar, a list of (beat, length, key) for the melody voice."""
        tune = self.tune
        melody_voice = next((v for v in tune.voices if v.role == "melody"), None)
        if melody_voice is None:
            return [[] for _ in bars]
        low, high = _register(melody_voice.register or "A4-A5")
        steps = scale(tune.key, low, high)
        beats = tune.beats
        out = []
        last = steps[len(steps) // 2]
        rand = random.Random(tune.seed * 7 + 3)
        contour = 1
        for index, bar in enumerate(bars):
            motif = tune.motifs.get(sections[index]) or [(0, 1), (1, 1), (2, 1), (3, 1)]
            phrase_end = index % 4 == 3
            half = index % 2
            bar_notes = []
            events = [(b - half * beats, l) for b, l in motif if half * beats <= b < (half + 1) * beats]
            if phrase_end:
                events = [(0, 1), (1, beats - 1)] if beats > 2 else [(0, beats)]
            for b, length in events:
                chord = _chord_at(bar, b / beats)
                strong = (b == 0) or (beats == 4 and b == 2) or length >= 1.5
                if strong:
                    candidates = [t for t in chord.tones_in(low, high)]
                else:
                    candidates = [s for s in steps if 0 < abs(s - last) <= 2]
                    candidates = [c for c in candidates if (c - last) * contour >= 0] or candidates
                if not candidates:
                    candidates = steps
                target = last + contour * rand.choice((1, 2, 3))
                key = min(candidates, key=lambda c: (abs(c - target), rand.random()))
                if key >= high - 1 or key <= low + 1 or rand.random() < 0.2:
                    contour = -contour
                if phrase_end and strong and length > 1:
                    tonal = [t for t in chord.tones_in(low, high)
                             if (t - chord.root) % 12 in ((0, 4) if index % 8 == 7 else (4, 7))]
                    key = min(tonal or candidates, key=lambda c: abs(c - last))
                bar_notes.append((b, length * 0.92, key))
                last = key
            out.append(bar_notes)
        return out
