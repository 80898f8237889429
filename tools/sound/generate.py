"""Makes every sound of the game: renders the tunes through the General MIDI sound font,
synthesises the effects, levels them (music -18 LUFS, effects -16 LUFS, true peaks below
-1 dBTP), encodes Ogg Vorbis into assets/audio/ and writes the manifest and loudness report.

Run through tools/sound/make_sound.sh, which installs the generator's packages.
"""
import os
import subprocess
import sys
import tempfile

import numpy as np
from scipy.io import wavfile

import compose
import effects
import loudness
import midi
from synth import RATE
from tunes import TUNES

MUSIC_LUFS = -18.0
EFFECT_LUFS = -16.0
PEAK_CEILING = -1.0
SOUND_FONT = "/usr/share/sounds/sf2/FluidR3_GM.sf2"
SEAM_FADE = 2048  # samples over which a loop's end is eased into what precedes its start


def soft_limit(audio, knee=0.5):
    """Rounds off what rises above `knee` (a bell's first strike) so the body can be louder."""
    over = np.abs(audio) > knee
    out = audio.copy()
    out[over] = np.sign(audio[over]) * (knee + (1 - knee) * np.tanh((np.abs(audio[over]) - knee) / (1 - knee)))
    return out


def level(audio, target):
    """Gain to `target` LUFS; peaks that would pass the ceiling are rounded off first, then
    the whole is lowered where still needed so the true peak stays under the ceiling."""
    for _ in range(3):
        audio = audio * 10 ** ((target - loudness.integrated(audio)) / 20)
        if loudness.true_peak(audio) <= PEAK_CEILING:
            return audio
        audio = soft_limit(audio / 10 ** (PEAK_CEILING / 20)) * 10 ** (PEAK_CEILING / 20)
    peak = loudness.true_peak(audio)
    if peak > PEAK_CEILING:
        audio = audio * 10 ** ((PEAK_CEILING - 0.05 - peak) / 20)
    return audio


def encode(audio, path, quality):
    os.makedirs(os.path.dirname(path), exist_ok=True)
    with tempfile.NamedTemporaryFile(suffix=".wav") as wav:
        wavfile.write(wav.name, RATE, np.round(np.clip(audio, -1, 1) * 32767).astype(np.int16))
        subprocess.run(["oggenc", "-Q", "-q", str(quality), "--resample", str(RATE), "-o", path, wav.name],
                       check=True)


def render_tune(tune, workdir):
    """The tune's loop: the middle of three rendered passes, its end eased into the sample
    before its start so the repeat joins without a step."""
    notes, programs, volumes, pans = compose.Arranger(tune).arrange(cycles=3)
    mid = os.path.join(workdir, tune.name + ".mid")
    wav = os.path.join(workdir, tune.name + ".wav")
    midi.write(mid, tune.bpm, notes, programs, volumes, pans, tune.beats)
    subprocess.run(["fluidsynth", "-ni", "-q", "-g", "0.6", "-r", str(RATE), "-F", wav, SOUND_FONT, mid],
                   check=True, stdout=subprocess.DEVNULL)
    rate, data = wavfile.read(wav)
    assert rate == RATE
    audio = data.astype(np.float64) / 32768.0
    length = int(round(tune.seconds() * RATE))
    loop = audio[length:2 * length].copy()
    ramp = np.linspace(0, 1, SEAM_FADE)[:, None]
    loop[-SEAM_FADE:] = loop[-SEAM_FADE:] * (1 - ramp) + audio[length - SEAM_FADE:length] * ramp
    return loop


def main(root):
    out = os.path.join(root, "assets", "audio")
    rows, report = [], []
    with tempfile.TemporaryDirectory() as workdir:
        for tune in TUNES:
            audio = level(render_tune(tune, workdir), MUSIC_LUFS)
            encode(audio, os.path.join(out, tune.path), 4)
            rows.append(("audio/" + tune.path, tune.purpose, "loop", len(audio) / RATE))
            report.append(("audio/" + tune.path, loudness.integrated(audio), loudness.true_peak(audio)))
            print(f"{tune.path}: {len(audio) / RATE:.1f} s", file=sys.stderr)
        for name, purpose, loops, recipe in effects.EFFECTS:
            audio = level(effects.render(recipe, loops), EFFECT_LUFS)
            encode(audio, os.path.join(out, "sfx", name), 5)
            rows.append(("audio/sfx/" + name, purpose, "loop" if loops else "once", len(audio) / RATE))
            report.append(("audio/sfx/" + name, loudness.integrated(audio), loudness.true_peak(audio)))
    here = os.path.dirname(os.path.abspath(__file__))
    with open(os.path.join(here, "manifest.csv"), "w") as f:
        f.write("# path in the package,purpose,once or loop,seconds (made by tools/sound/make_sound.sh)\n")
        for path, purpose, kind, seconds in rows:
            f.write(f"{path},{purpose.replace(',', ';')},{kind},{seconds:.3f}\n")
    with open(os.path.join(here, "loudness.txt"), "w") as f:
        f.write("# Level of each sound before encoding: integrated loudness (LUFS; effects shorter than\n"
                "# 0.4 s measured over their whole length) and true peak (dBTP). Targets: music -18,\n"
                "# effects -16, peaks below -1. Made by tools/sound/make_sound.sh.\n")
        for path, lufs, peak in report:
            f.write(f"{path:42s} {lufs:7.1f} LUFS {peak:6.1f} dBTP\n")


if __name__ == "__main__":
    main(sys.argv[1])
