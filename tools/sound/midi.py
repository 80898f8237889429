"""Writes standard MIDI files (format 1) from note lists, for rendering the music.

A note is (start_beat, length_beats, channel, key, velocity); programs are set per channel.
Only what the music needs: note on/off, program change, channel volume and pan, one tempo.
"""
import struct

PPQ = 960  # ticks per quarter note


def _varlen(value):
    out = [value & 0x7F]
    value >>= 7
    while value:
        out.append(0x80 | (value & 0x7F))
        value >>= 7
    return bytes(reversed(out))


def _track(events):
    """events: list of (tick, order, bytes); order keeps note-offs before note-ons at one tick."""
    data = bytearray()
    last = 0
    for tick, _, payload in sorted(events, key=lambda e: (e[0], e[1])):
        data += _varlen(tick - last) + payload
        last = tick
    data += _varlen(0) + b"\xff\x2f\x00"
    return b"MTrk" + struct.pack(">I", len(data)) + bytes(data)


def write(path, bpm, notes, programs, volumes=None, pans=None, beats_per_bar=4):
    """programs: {channel: GM program}; volumes and pans: {channel: 0..127}."""
    volumes = volumes or {}
    pans = pans or {}
    tempo = round(60_000_000 / bpm)
    meta = [(0, 0, b"\xff\x51\x03" + tempo.to_bytes(3, "big")),
            (0, 0, b"\xff\x58\x04" + bytes([beats_per_bar, 2, 24, 8]))]
    events = []
    for channel, program in programs.items():
        if channel != 9:
            events.append((0, 0, bytes([0xC0 | channel, program])))
        events.append((0, 0, bytes([0xB0 | channel, 7, volumes.get(channel, 100)])))
        events.append((0, 0, bytes([0xB0 | channel, 10, pans.get(channel, 64)])))
    for start, length, channel, key, velocity in notes:
        on = round(start * PPQ)
        off = max(on + 1, round((start + length) * PPQ))
        key = max(0, min(127, int(key)))
        velocity = max(1, min(127, int(velocity)))
        events.append((on, 2, bytes([0x90 | channel, key, velocity])))
        events.append((off, 1, bytes([0x80 | channel, key, 0])))
    header = b"MThd" + struct.pack(">IHHH", 6, 1, 2, PPQ)
    with open(path, "wb") as f:
        f.write(header + _track(meta) + _track(events))
