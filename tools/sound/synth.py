"""Small synthesis kit for the sound effects: oscillators, envelopes, filters, a room.

Signals are float64 numpy arrays at RATE, mono, nominally within -1..1.
"""
import numpy as np
from scipy import signal

RATE = 44100


def hz(midi_note):
    return 440.0 * 2.0 ** ((midi_note - 69) / 12.0)


def time(seconds):
    return np.arange(int(round(seconds * RATE))) / RATE


def phase(freq, seconds):
    """Running phase for a frequency that may change along the sound (array or number)."""
    f = np.broadcast_to(np.asarray(freq, dtype=float), time(seconds).shape)
    return 2 * np.pi * np.cumsum(f) / RATE


def sine(freq, seconds):
    return np.sin(phase(freq, seconds))


def tone(freq, seconds, harmonics=(1.0,)):
    """A sum of harmonics with the given amplitudes (a soft additive timbre)."""
    p = phase(freq, seconds)
    return sum(a * np.sin((i + 1) * p) for i, a in enumerate(harmonics))


def bell(freq, seconds, decay=3.0, bright=1.0):
    """Inharmonic partials that die away faster the higher they are."""
    t = time(seconds)
    out = np.zeros_like(t)
    for ratio, amp in ((1.0, 1.0), (2.0, 0.5 * bright), (2.76, 0.35 * bright), (5.4, 0.18 * bright),
                       (8.93, 0.08 * bright)):
        out += amp * np.sin(2 * np.pi * freq * ratio * t) * np.exp(-t * decay * (0.6 + ratio * 0.4))
    return out


def pluck(freq, seconds, damping=0.996):
    """A plucked string: a noise burst circulating through a damped delay line."""
    n = int(round(seconds * RATE))
    period = max(2, int(round(RATE / freq)))
    rng = np.random.default_rng(int(freq * 100))
    line = rng.uniform(-1, 1, period)
    out = np.empty(n)
    for i in range(n):
        j = i % period
        out[i] = line[j]
        line[j] = damping * 0.5 * (line[j] + line[(j + 1) % period])
    return out


def noise(seconds, seed=1):
    return np.random.default_rng(seed).uniform(-1, 1, len(time(seconds)))


def envelope(seconds, attack=0.005, decay=0.1, sustain=0.6, release=0.1):
    """Attack-decay-sustain-release, the release ending with the sound."""
    n = len(time(seconds))
    a, d, r = (max(1, int(x * RATE)) for x in (attack, decay, release))
    s = max(0, n - a - d - r)
    env = np.concatenate([np.linspace(0, 1, a, endpoint=False),
                          np.linspace(1, sustain, d, endpoint=False),
                          np.full(s, sustain), np.linspace(sustain, 0, r)])
    return env[:n] if len(env) >= n else np.pad(env, (0, n - len(env)))


def fade(seconds, rate):
    return np.exp(-time(seconds) * rate)


def lowpass(x, cutoff, order=2):
    sos = signal.butter(order, min(cutoff, RATE * 0.45), "low", fs=RATE, output="sos")
    return signal.sosfilt(sos, x)


def highpass(x, cutoff, order=2):
    sos = signal.butter(order, cutoff, "high", fs=RATE, output="sos")
    return signal.sosfilt(sos, x)


def bandpass(x, low, high, order=2):
    sos = signal.butter(order, (low, min(high, RATE * 0.45)), "band", fs=RATE, output="sos")
    return signal.sosfilt(sos, x)


def room(x, size=0.25, mix=0.18, seed=5):
    """A short, soft room: the dry sound plus a decaying, low-passed noise tail."""
    t = time(size)
    ir = np.random.default_rng(seed).normal(0, 1, len(t)) * np.exp(-t * 6.9 / size)
    ir = lowpass(ir, 5000)
    ir /= np.sqrt(np.sum(ir ** 2)) + 1e-12
    wet = signal.fftconvolve(x, ir)
    return np.pad(x, (0, len(wet) - len(x))) * (1 - mix) + wet * mix


def at(parts, seconds):
    """Mixes (start seconds, signal) pairs into one signal of the given length."""
    out = np.zeros(len(time(seconds)))
    for start, part in parts:
        i = int(round(start * RATE))
        end = min(len(out), i + len(part))
        if end > i:
            out[i:end] += part[: end - i]
    return out


def trim_tail(x, floor=1e-4):
    """Drops the silent end (below `floor`) and smooths the last millisecond to zero."""
    loud = np.nonzero(np.abs(x) > floor)[0]
    x = x[: (loud[-1] + 1) if len(loud) else 1].copy()
    tail = min(len(x), RATE // 1000)
    x[-tail:] *= np.linspace(1, 0, tail)
    return x
