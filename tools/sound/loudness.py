"""Loudness (ITU-R BS.1770 K-weighting, EBU R128 gating) and true peak of float signals.

`integrated` gates 400 ms blocks as R128 does; a sound shorter than one block is measured
over its whole length (ungated), which is how the effects are levelled.
"""
import numpy as np
from scipy import signal

from synth import RATE


def _k_weighting():
    # High shelf (+4 dB above about 1.7 kHz) then a high pass at about 38 Hz.
    w0 = 2 * np.pi * 1681.974450955533 / RATE
    a = 10 ** (3.999843853973347 / 40)
    alpha = np.sin(w0) / (2 * 0.7071752369554196)
    c = np.cos(w0)
    shelf_b = [a * ((a + 1) + (a - 1) * c + 2 * np.sqrt(a) * alpha), -2 * a * ((a - 1) + (a + 1) * c),
               a * ((a + 1) + (a - 1) * c - 2 * np.sqrt(a) * alpha)]
    shelf_a = [(a + 1) - (a - 1) * c + 2 * np.sqrt(a) * alpha, 2 * ((a - 1) - (a + 1) * c),
               (a + 1) - (a - 1) * c - 2 * np.sqrt(a) * alpha]
    w0 = 2 * np.pi * 38.13547087602444 / RATE
    alpha = np.sin(w0) / (2 * 0.5003270373238773)
    c = np.cos(w0)
    high_b = [(1 + c) / 2, -(1 + c), (1 + c) / 2]
    high_a = [1 + alpha, -2 * c, 1 - alpha]
    return (shelf_b, shelf_a), (high_b, high_a)


_FILTERS = _k_weighting()


def _weighted(channels):
    out = []
    for x in channels:
        for b, a in _FILTERS:
            x = signal.lfilter(b, a, x)
        out.append(x)
    return out


def integrated(audio):
    """LUFS of a (samples,) or (samples, channels) array."""
    channels = [audio] if audio.ndim == 1 else [audio[:, i] for i in range(audio.shape[1])]
    weighted = _weighted(channels)
    block, hop = int(0.4 * RATE), int(0.1 * RATE)
    n = len(weighted[0])
    if n < block:
        power = sum(np.mean(w ** 2) for w in weighted)
        return -0.691 + 10 * np.log10(power + 1e-20)
    powers = np.array([sum(np.mean(w[i:i + block] ** 2) for w in weighted)
                       for i in range(0, n - block + 1, hop)])
    loud = -0.691 + 10 * np.log10(powers + 1e-20)
    gated = powers[loud > -70]
    if len(gated) == 0:
        return -70.0
    relative = -0.691 + 10 * np.log10(np.mean(gated)) - 10
    final = powers[(loud > -70) & (loud > relative)]
    return -0.691 + 10 * np.log10(np.mean(final))


def true_peak(audio):
    """dBTP: the peak of the signal upsampled four times."""
    up = signal.resample_poly(audio, 4, 1, axis=0)
    return 20 * np.log10(np.max(np.abs(up)) + 1e-20)
