#!/usr/bin/env python3
"""Synthesise Tuurbord's six sound effects.

Writes assets/sounds/{start,knop,score,camera,goed,fout}.wav as
22050 Hz, 16-bit, mono PCM files. Only the Python standard library is
used (wave, struct, math, random with a fixed seed), so running the
script twice gives byte-identical files.

Usage:  python3 tools/make-sounds.py [output-folder]
"""

import math
import os
import random
import struct
import sys
import wave

RATE = 22050
PEAK = 0.45          # loudest sample of every sound, as a fraction of full scale


def silence(seconds):
    return [0.0] * int(round(seconds * RATE))


def mix_into(buf, start, samples):
    """Add samples into buf starting at time start (seconds); grows buf."""
    i0 = int(round(start * RATE))
    need = i0 + len(samples)
    if need > len(buf):
        buf.extend([0.0] * (need - len(buf)))
    for i, s in enumerate(samples):
        buf[i0 + i] += s


def note_freq(name):
    """'C5', 'F#4', 'Bb3' -> frequency in Hz (A4 = 440 Hz)."""
    steps = {'C': -9, 'D': -7, 'E': -5, 'F': -4, 'G': -2, 'A': 0, 'B': 2}
    n = steps[name[0]]
    rest = name[1:]
    if rest[0] == '#':
        n += 1
        rest = rest[1:]
    elif rest[0] == 'b':
        n -= 1
        rest = rest[1:]
    octave = int(rest)
    return 440.0 * 2 ** ((n + 12 * (octave - 4)) / 12.0)


def tone(freq, seconds, harmonics=((1, 1.0),), attack=0.005, decay=None,
         release=0.03, vibrato=0.0, vib_rate=6.0, glide_to=None):
    """One note: additive harmonics with a simple envelope.

    decay: time constant (s) of an exponential decay after the attack
           (bell-like); None keeps the level until the release.
    glide_to: end frequency for a smooth pitch slide.
    """
    n = int(round(seconds * RATE))
    out = []
    phase = 0.0
    norm = sum(abs(a) for _, a in harmonics)
    for i in range(n):
        t = i / RATE
        f = freq
        if glide_to is not None:
            f = freq * (glide_to / freq) ** (t / seconds)
        if vibrato:
            f *= 1.0 + vibrato * math.sin(2 * math.pi * vib_rate * t)
        phase += 2 * math.pi * f / RATE
        s = sum(a * math.sin(k * phase) for k, a in harmonics) / norm
        # envelope
        if t < attack:
            env = t / attack
        else:
            env = 1.0
            if decay is not None:
                env = math.exp(-(t - attack) / decay)
        left = seconds - t
        if left < release:
            env *= max(left, 0.0) / release
        out.append(s * env)
    return out


def noise_burst(seconds, decay, cutoff, seed):
    """Decaying noise through a one-pole low-pass filter (a click)."""
    rnd = random.Random(seed)
    n = int(round(seconds * RATE))
    a = math.exp(-2 * math.pi * cutoff / RATE)
    y = 0.0
    out = []
    for i in range(n):
        t = i / RATE
        x = rnd.uniform(-1.0, 1.0)
        y = (1 - a) * x + a * y
        out.append(y * math.exp(-t / decay))
    return out


def finish(buf, fade_in=0.004, fade_out=0.02, level=1.0):
    """Fade both ends (no clicks) and scale to the common peak level.

    level < 1 makes a sound with a long steady tone quieter, so that all
    six sounds seem about equally loud.
    """
    n = len(buf)
    fi = max(1, int(fade_in * RATE))
    fo = max(1, int(fade_out * RATE))
    for i in range(min(fi, n)):
        buf[i] *= i / fi
    for i in range(min(fo, n)):
        buf[n - 1 - i] *= i / fo
    top = max(abs(s) for s in buf) or 1.0
    return [s * PEAK * level / top for s in buf]


def write_wav(path, samples):
    with wave.open(path, 'wb') as w:
        w.setnchannels(1)
        w.setsampwidth(2)
        w.setframerate(RATE)
        frames = b''.join(
            struct.pack('<h', int(round(max(-1.0, min(1.0, s)) * 32767)))
            for s in samples)
        w.writeframes(frames)


BELL = ((1, 1.0), (2, 0.35), (3, 0.12), (4, 0.06))
FLUTE = ((1, 1.0), (2, 0.15), (3, 0.05))
BRASS = ((1, 1.0), (2, 0.6), (3, 0.45), (4, 0.25), (5, 0.15), (6, 0.08))
SOFT = ((1, 1.0), (3, 0.12))


def make_knop():
    """Soft button click, 0.1 s: a short wooden 'tok'."""
    buf = silence(0.10)
    mix_into(buf, 0.0, tone(880, 0.09, SOFT, attack=0.002, decay=0.014, release=0.01))
    mix_into(buf, 0.0, [0.5 * s for s in tone(330, 0.09, SOFT, attack=0.002,
                                                decay=0.02, release=0.01)])
    mix_into(buf, 0.0, [0.25 * s for s in noise_burst(0.02, 0.004, 3000, seed=1)])
    return finish(buf, fade_out=0.01)


def make_camera():
    """Camera shutter, 0.25 s: two mechanical clicks with a tiny whirr."""
    buf = silence(0.25)
    mix_into(buf, 0.005, noise_burst(0.06, 0.010, 4500, seed=7))
    mix_into(buf, 0.005, [0.4 * s for s in tone(1400, 0.04, SOFT, attack=0.001,
                                                  decay=0.008, release=0.005)])
    mix_into(buf, 0.03, [0.12 * s for s in noise_burst(0.08, 0.03, 1200, seed=8)])
    mix_into(buf, 0.12, [0.8 * s for s in noise_burst(0.08, 0.014, 3500, seed=9)])
    mix_into(buf, 0.12, [0.35 * s for s in tone(900, 0.05, SOFT, attack=0.001,
                                                 decay=0.01, release=0.005)])
    return finish(buf, fade_out=0.03)


def make_start():
    """Cheerful rising jingle, about 0.7 s: C5 E5 G5 C6 on a bell."""
    buf = silence(0.72)
    notes = [('C5', 0.00), ('E5', 0.10), ('G5', 0.20), ('C6', 0.30)]
    for name, at in notes:
        length = 0.42 if name == 'C6' else 0.22
        mix_into(buf, at, tone(note_freq(name), length, BELL, attack=0.004,
                               decay=0.18 if name == 'C6' else 0.09, release=0.04))
    # a little sparkle on top of the last note
    mix_into(buf, 0.30, [0.25 * s for s in tone(note_freq('G6'), 0.35, BELL,
                                                 attack=0.004, decay=0.08)])
    return finish(buf, fade_out=0.05)


def make_score():
    """Short fanfare, about 0.75 s: G4 C5 E5 then a held G5 on a soft brass."""
    buf = silence(0.78)
    notes = [('G4', 0.00, 0.12), ('C5', 0.11, 0.12), ('E5', 0.22, 0.12),
             ('G5', 0.33, 0.43)]
    for name, at, length in notes:
        held = length > 0.2
        mix_into(buf, at, tone(note_freq(name), length, BRASS, attack=0.015,
                               decay=None if held else 0.12, release=0.12 if held else 0.03,
                               vibrato=0.006 if held else 0.0, vib_rate=5.5))
    # a quiet lower voice under the held note makes it sound fuller
    mix_into(buf, 0.33, [0.45 * s for s in tone(note_freq('C5'), 0.43, BRASS,
                                                 attack=0.02, release=0.12)])
    return finish(buf, fade_out=0.06, level=0.85)


def make_goed():
    """Happy major arpeggio, about 0.8 s: C5 E5 G5 C6 E6 and a final chord."""
    buf = silence(0.80)
    run = ['C5', 'E5', 'G5', 'C6']
    for i, name in enumerate(run):
        mix_into(buf, 0.075 * i, tone(note_freq(name), 0.2, BELL, attack=0.004,
                                      decay=0.08, release=0.03))
    at = 0.30
    for name in ('C6', 'E6', 'G6'):
        mix_into(buf, at, [0.6 * s for s in tone(note_freq(name), 0.5, FLUTE,
                                                  attack=0.01, decay=0.22,
                                                  release=0.1, vibrato=0.004)])
    return finish(buf, fade_out=0.08)


def make_fout():
    """Gentle 'wah-wah', about 0.8 s: two soft, sliding notes going down."""
    buf = silence(0.80)
    steps = [(note_freq('G4'), note_freq('F#4'), 0.00, 0.34),
             (note_freq('F4'), note_freq('D4'), 0.36, 0.44)]
    for f0, f1, at, length in steps:
        n = int(round(length * RATE))
        samples = []
        phase = 0.0
        for i in range(n):
            t = i / RATE
            f = f0 * (f1 / f0) ** (t / length)
            phase += 2 * math.pi * f / RATE
            # 'wah': the tone gets brighter, then duller again
            bright = math.sin(math.pi * min(1.0, t / length))
            s = (math.sin(phase) + 0.45 * bright * math.sin(2 * phase)
                 + 0.2 * bright * math.sin(3 * phase))
            env = min(1.0, t / 0.03) * min(1.0, (length - t) / 0.08)
            samples.append(s * env * (0.6 + 0.4 * bright))
        mix_into(buf, at, samples)
    return finish(buf, fade_out=0.08, level=0.6)


SOUNDS = {
    'start.wav': make_start,
    'knop.wav': make_knop,
    'score.wav': make_score,
    'camera.wav': make_camera,
    'goed.wav': make_goed,
    'fout.wav': make_fout,
}


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    out_dir = sys.argv[1] if len(sys.argv) > 1 else os.path.join(here, '..', 'assets', 'sounds')
    os.makedirs(out_dir, exist_ok=True)
    for name, make in SOUNDS.items():
        path = os.path.join(out_dir, name)
        samples = make()
        write_wav(path, samples)
        print('%-11s %.2f s  %6d bytes' % (name, len(samples) / RATE, os.path.getsize(path)))


if __name__ == '__main__':
    main()
