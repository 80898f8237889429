"""Pitch names, major scales and chord symbols for the music and the effects.

Notes are MIDI numbers (C4 = 60). Chords are written as symbols: "D", "Bm", "F#m7",
"Bbmaj7", "G7", "Cm7", "Dsus4", "A/C#" (a bass note after the slash).
"""
import re

_PITCH = {"C": 0, "D": 2, "E": 4, "F": 5, "G": 7, "A": 9, "B": 11}
_QUALITY = {
    "": (0, 4, 7), "m": (0, 3, 7), "7": (0, 4, 7, 10), "maj7": (0, 4, 7, 11),
    "m7": (0, 3, 7, 10), "6": (0, 4, 7, 9), "sus4": (0, 5, 7), "add9": (0, 4, 7, 14),
    "dim": (0, 3, 6), "m6": (0, 3, 7, 9),
}
MAJOR_STEPS = (0, 2, 4, 5, 7, 9, 11)


def pitch_class(name):
    value = _PITCH[name[0]]
    for accidental in name[1:]:
        value += 1 if accidental == "#" else -1
    return value % 12


def note(name):
    """'F#5' -> 78."""
    match = re.fullmatch(r"([A-G][#b]*)(-?\d)", name)
    if not match:
        raise ValueError(f"bad note name {name!r}")
    return pitch_class(match.group(1)) + 12 * (int(match.group(2)) + 1)


class Chord:
    def __init__(self, symbol):
        match = re.fullmatch(r"([A-G][#b]?)([a-z0-9]*)(?:/([A-G][#b]?))?", symbol)
        if not match or match.group(2) not in _QUALITY:
            raise ValueError(f"bad chord symbol {symbol!r}")
        self.symbol = symbol
        self.root = pitch_class(match.group(1))
        self.intervals = _QUALITY[match.group(2)]
        self.bass = pitch_class(match.group(3)) if match.group(3) else self.root

    def pitch_classes(self):
        return [(self.root + i) % 12 for i in self.intervals]

    def tones_in(self, low, high):
        """Every chord tone between the two MIDI notes, inclusive."""
        classes = set(self.pitch_classes())
        return [n for n in range(low, high + 1) if n % 12 in classes]

    def voicing(self, centre, count=4):
        """A close voicing of `count` chord tones around `centre`."""
        tones = self.tones_in(centre - 7, centre + 9)
        tones.sort(key=lambda n: abs(n - centre))
        return sorted(tones[:count])

    def bass_note(self, low):
        """The bass note at or above `low`."""
        return low + (self.bass - low) % 12

    def fifth_above_bass(self, low):
        return self.bass_note(low) + 7


def scale(key, low, high):
    """The major scale of `key` (a pitch name) between two MIDI notes."""
    tonic = pitch_class(key)
    classes = {(tonic + s) % 12 for s in MAJOR_STEPS}
    return [n for n in range(low, high + 1) if n % 12 in classes]
