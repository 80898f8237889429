"""The game's sound effects, each a short synthesis recipe (mono, 44.1 kHz).

Pitched to the music's keys (mostly D and B flat major); rewards rise, losses fall, attacks
are soft. Each entry: file name under audio/sfx/, purpose, whether it loops, and the recipe.
"""
import numpy as np

from synth import (at, bandpass, bell, envelope, fade, highpass, hz, lowpass, noise, phase,
                   pluck, room, sine, time, tone, trim_tail)
from theory import note


def _chime(names, spacing, length=0.6, decay=5.0, bright=0.8):
    parts = [(i * spacing, bell(hz(note(n)), length, decay, bright)) for i, n in enumerate(names)]
    return room(at(parts, spacing * (len(names) - 1) + length))


def click():
    body = bandpass(noise(0.03, 3), 1800, 4200) * fade(0.03, 180)
    blip = sine(1250, 0.03) * fade(0.03, 120) * 0.5
    return body + blip


def dialog_click():
    tock = lowpass(noise(0.04, 7), 2500) * fade(0.04, 120) * 0.6
    ding = bell(hz(note("D6")), 0.18, 14, 0.4) * 0.5
    return at([(0, tock), (0.005, ding)], 0.19)


def game_click():
    return sine(np.linspace(900, 480, len(time(0.07))), 0.07) * envelope(0.07, 0.002, 0.02, 0.5, 0.04)


def keystroke():
    tick = bandpass(noise(0.025, 11), 2500, 7000) * fade(0.025, 260)
    thump = sine(180, 0.025) * fade(0.025, 160) * 0.4
    return tick + thump


def seat_guest():
    return _chime(["A5", "D6"], 0.09, 0.35, 9)


def pickup_guest():
    n = 0.28
    sweep = bandpass(noise(n, 13), 500, 3000) * envelope(n, 0.08, 0.1, 0.4, 0.1) * 0.4
    up = sine(np.linspace(hz(note("D5")), hz(note("A5")), len(time(n))), n) * envelope(n, 0.01, 0.1, 0.4, 0.12) * 0.5
    return room(sweep + up)


def ready_to_be_seated():
    return _chime(["F#5", "A5"], 0.12, 0.5, 6, 0.6)


def pickup_food():
    a = pluck(hz(note("D5")), 0.22) * 0.7
    b = pluck(hz(note("A5")), 0.2) * 0.7
    return room(at([(0, a), (0.06, b)], 0.26))


def deliver_food():
    clink = bell(2630, 0.25, 22, 1.2) * 0.5
    return room(at([(0, clink), (0.05, _chime(["D6", "F#6"], 0.07, 0.35, 9))], 0.5))


def bonus_points():
    return _chime(["D5", "F#5", "A5", "D6"], 0.07, 0.45, 7)


def lost_points():
    n = 0.42
    f = np.where(time(n) < 0.16, hz(note("A4")), hz(note("F4")))
    body = tone(f, n, (1.0, 0.0, 0.33, 0.0, 0.2)) * envelope(n, 0.01, 0.1, 0.6, 0.12)
    return room(lowpass(body, 1800) * 0.8)


def _brass(names, starts, length, total):
    parts = []
    for n, s in zip(names, starts):
        f = hz(note(n))
        body = tone(f * (1 + 0.004 * np.sin(2 * np.pi * 5.5 * time(length))), length,
                    (1.0, 0.7, 0.5, 0.35, 0.22, 0.14, 0.08))
        body = lowpass(body, 2600) * envelope(length, 0.03, 0.08, 0.7, 0.12)
        parts.append((s, body))
    return room(at(parts, total), 0.4, 0.22)


def velka_problem():
    return _brass(["Bb4", "G4"], [0, 0.2], 0.3, 0.55)


def velka_fixing_problem():
    n = 0.7
    gliss = sine(np.geomspace(hz(note("D5")), hz(note("D7")), len(time(0.35))), 0.35) * envelope(0.35, 0.02, 0.1, 0.5, 0.1) * 0.3
    sparkle = _chime(["A6", "D7", "F#7"], 0.08, 0.4, 10, 0.5)
    return at([(0, gliss), (0.25, sparkle)], n + 0.3)


def aunt_sobs():
    """A two-second loop of muffled sobs: breathy vowel bursts falling in pitch, silent at both ends."""
    n = 2.0
    out = np.zeros(len(time(n)))
    for start, pitch, length in ((0.1, 440, 0.22), (0.42, 415, 0.2), (0.72, 390, 0.34), (1.3, 430, 0.18),
                                 (1.55, 400, 0.28)):
        t = time(length)
        glide = np.linspace(pitch, pitch * 0.82, len(t)) * (1 + 0.03 * np.sin(2 * np.pi * 9 * t))
        voice = tone(glide, length, (1.0, 0.6, 0.45, 0.3, 0.2, 0.12, 0.08))
        voice = bandpass(voice, 500, 1400) + 0.25 * bandpass(noise(length, int(pitch)), 800, 3000)
        burst = voice * np.sin(np.pi * np.linspace(0, 1, len(t))) ** 2
        i = int(start * 44100)
        out[i:i + len(burst)] += burst
    return out


def end_of_level():
    return _brass(["D4", "F#4", "A4", "D5", "A4", "D5"], [0, 0.14, 0.28, 0.42, 0.42, 0.42], 0.9, 1.6)


def planning_right_choice():
    return _chime(["D6", "F#6"], 0.0, 0.45, 7)


def planning_wrong_choice():
    n = 0.45
    f = np.where(time(n) < 0.18, hz(note("E3")), hz(note("Eb3")))
    buzz = tone(f, n, (1.0, 0.5, 0.4, 0.3, 0.2)) * envelope(n, 0.01, 0.1, 0.7, 0.1)
    return room(lowpass(buzz, 900))


def planning_win():
    fanfare = _brass(["Bb4", "D5", "F5", "Bb5", "F5", "D5"], [0, 0.12, 0.24, 0.36, 0.36, 0.36], 0.7, 1.2)
    return fanfare + at([(0.36, _chime(["Bb6", "F7"], 0.06, 0.6, 6, 0.5) * 0.4)], len(fanfare) / 44100)


def dialog_roll():
    names = ["D4", "E4", "F#4", "A4", "B4", "D5", "E5", "F#5", "A5", "B5", "D6"]
    strings = [(i * 0.045, pluck(hz(note(n)), 0.5, 0.997) * 0.5) for i, n in enumerate(names)]
    return room(at(strings, 0.95), 0.4, 0.25)


def bridezilla():
    n = 1.0
    cluster = _brass(["D3", "Eb3", "A3", "Bb3"], [0, 0, 0.02, 0.02], 0.75, n)
    growl = tone(np.linspace(110, 70, len(time(0.7))) * (1 + 0.05 * np.sign(np.sin(2 * np.pi * 28 * time(0.7)))),
                 0.7, (1.0, 0.8, 0.6, 0.4)) * envelope(0.7, 0.02, 0.2, 0.6, 0.2)
    crash = highpass(noise(0.8, 29), 3000) * fade(0.8, 5) * 0.25
    return at([(0, cluster), (0.05, lowpass(growl, 1200) * 0.7), (0, crash)], n + 0.4)


def kiss():
    n = 0.22
    pop = sine(np.linspace(500, 1400, len(time(n))), n) * envelope(n, 0.005, 0.05, 0.4, 0.1)
    smack = bandpass(noise(0.03, 31), 1500, 5000) * fade(0.03, 150) * 0.6
    return at([(0, smack), (0.02, pop * 0.6)], n + 0.05)


def goal_reached():
    return _chime(["D5", "A5", "D6", "F#6", "A6"], 0.06, 0.8, 4, 0.7)


# name, purpose, loops, recipe
EFFECTS = [
    ("click.ogg", "check boxes and the account screen's buttons", False, click),
    ("dialog_click.ogg", "dialog and menu buttons", False, dialog_click),
    ("game_click.ogg", "clicks on room objects", False, game_click),
    ("keystroke.ogg", "typing a player's name", False, keystroke),
    ("seat_guest.ogg", "a guest sits down", False, seat_guest),
    ("pickup_guest.ogg", "the heroine picks a guest up", False, pickup_guest),
    ("ready_to_be_seated.ogg", "a guest waits to be seated", False, ready_to_be_seated),
    ("pickup_food.ogg", "a server takes a dish", False, pickup_food),
    ("deliver_food.ogg", "a dish reaches a guest", False, deliver_food),
    ("bonus_points.ogg", "points won", False, bonus_points),
    ("lost_points.ogg", "points lost", False, lost_points),
    ("velka_problem.ogg", "a problem needs the heroine", False, velka_problem),
    ("velka_fixing_problem.ogg", "the heroine fixes a problem", False, velka_fixing_problem),
    ("aunt_sobs.ogg", "the aunt sobbing, looped until she gets a tissue", True, aunt_sobs),
    ("end_of_level.ogg", "the end-of-level dialog", False, end_of_level),
    ("planning_right_choice.ogg", "a right choice while planning", False, planning_right_choice),
    ("planning_wrong_choice.ogg", "a wrong choice while planning", False, planning_wrong_choice),
    ("planning_win.ogg", "the planning round won", False, planning_win),
    ("dialog_roll.ogg", "the planning dialog's picks complete", False, dialog_roll),
    ("bridezilla.ogg", "the bride's outburst", False, bridezilla),
    ("kiss.ogg", "the couple's kiss effect", False, kiss),
    ("goal_reached.ogg", "the goal-reached effect", False, goal_reached),
]


def render(recipe, loops):
    x = recipe()
    return x if loops else trim_tail(x)
