"""Recipes for the game's sound effects, one function per effect.

Each recipe returns a mono signal in roughly -1..1; the build scales it to the
shared loudness and cleans both ends. Seeds are fixed per effect.
"""

import numpy as np

from synth import (bandpass, decay, delay_mix, drive, highpass, lowpass, noise, pad,
                   place, ramp, saw, sine, square, time_axis, triangle)


def kick_strong():
    """A hard kick landing on a passer-by: a punchy thump, a bright slap on top, a little crunch."""
    length = 0.42
    seed = 1101
    # body: a sine falling fast in pitch, the punch you feel
    body = sine(ramp(length, [(0, 320.0), (0.04, 110.0), (0.16, 62.0)], "exp"), length)
    body *= decay(length, 0.08, attack=0.0015)
    # slap: bright noise burst, the contact
    slap = bandpass(noise(length, seed), 2400.0, 0.8) * decay(length, 0.018, attack=0.0005)
    # thwack: the mid-range of the hit, where small speakers hear it
    thwack = lowpass(noise(length, seed + 1), ramp(length, [(0, 3500.0), (0.1, 500.0)], "exp"), 1.2)
    thwack *= decay(length, 0.045, attack=0.001)
    # a short tonal knock gives the hit its pitch
    knock = sine(ramp(length, [(0, 640.0), (0.05, 330.0)], "exp"), length) * decay(length, 0.035)
    mix = 1.0 * body + 1.1 * slap + 1.1 * thwack + 0.45 * knock
    return drive(mix, 2.4)


def crash():
    """Running into someone: a dull bump, a crunchy scuffle and things rattling in a school bag."""
    length = 0.62
    seed = 2202
    thud = sine(ramp(length, [(0, 180.0), (0.12, 70.0)], "exp"), length) * decay(length, 0.07, attack=0.003)
    # a hollow knock: two heads (or a head and a bag) meeting
    knock_f = ramp(length, [(0, 420.0), (0.06, 330.0)], "exp")
    knock = (sine(knock_f, length) + 0.5 * sine(knock_f * 2.76, length)) * decay(length, 0.045, attack=0.001)
    crunch = noise(length, seed)
    crunch = lowpass(crunch, ramp(length, [(0, 5000.0), (0.3, 700.0)], "exp"), 0.9)
    crunch *= decay(length, 0.11, attack=0.002)
    # the scuffle of cloth and shoes right after the bump
    scuff_env = ramp(length, [(0, 0.0), (0.03, 0.0), (0.07, 0.8), (0.22, 0.25), (0.36, 0.0)])
    scuff = bandpass(noise(length, seed + 1), 1600.0, 0.6) * scuff_env
    # rattle: short resonant ticks, as of a school bag's contents
    rng = np.random.RandomState(seed + 2)
    ticks = []
    when = 0.04
    for i in range(7):
        when += rng.uniform(0.03, 0.07)
        f = rng.uniform(1500.0, 4200.0)
        tick = bandpass(noise(0.06, seed + 10 + i), f, 4.0) * decay(0.06, 0.01)
        ticks.append((when, tick * (1.0 * 0.78 ** i)))
    rattle = place(length, *ticks)
    mix = 0.6 * thud + 0.6 * knock + 1.0 * crunch + 0.7 * scuff + 2.2 * rattle
    return drive(mix, 1.6)


def footstep_stone():
    """A shoe on a stone pavement: heel tap, a grain of grit, the toe just after."""
    length = 0.13
    seed = 3303
    heel = bandpass(noise(length, seed), 950.0, 1.3) * decay(length, 0.012, attack=0.0006)
    body = sine(ramp(length, [(0, 190.0), (0.03, 110.0)], "exp"), length) * decay(length, 0.012, attack=0.001)
    grit = highpass(noise(length, seed + 1), 3500.0) * decay(length, 0.02, attack=0.001)
    toe = bandpass(noise(0.06, seed + 2), 1400.0, 1.5) * decay(0.06, 0.008, attack=0.0005)
    mix = 1.0 * heel + 0.7 * body + 0.15 * grit
    mix += place(length, (0.028, 0.45 * toe))
    # stone is hard but not hissy
    return lowpass(mix, 7000.0)


def dash_start():
    """Breaking into a dash: a push-off scuff and a rising rush of air.

    The game starts the first stride (dash_step) in the same frame, and the stride
    brings the thump of the foot. So the scuff here is light and has no thump of its
    own: two thumps falling in pitch from the same instant add up in phase and take
    the pair past full scale."""
    length = 0.5
    seed = 4404
    push = bandpass(noise(length, seed), 1300.0, 1.1) * decay(length, 0.025, attack=0.0008)
    air = noise(length, seed + 1)
    air = bandpass(air, ramp(length, [(0, 500.0), (0.18, 3200.0), (0.5, 2200.0)], "exp"), 1.6)
    air *= ramp(length, [(0, 0.0), (0.06, 1.0), (0.2, 0.8), (0.5, 0.0)]) ** 1.5
    # a faint rising tone under the air: the "zip" of speeding up
    zip_ = lowpass(square(ramp(length, [(0, 160.0), (0.22, 640.0)], "exp"), length), 1800.0)
    zip_ *= ramp(length, [(0, 0.0), (0.03, 0.25), (0.18, 0.2), (0.3, 0.0)])
    return 0.5 * push + 1.6 * air + 0.5 * zip_


def dash_step():
    """One stride at full dash speed: a quick tap with a puff of air. Short, since it
    repeats every eighth frame."""
    length = 0.11
    seed = 5505
    tap = bandpass(noise(length, seed), 1150.0, 1.2) * decay(length, 0.009, attack=0.0005)
    thump = sine(ramp(length, [(0, 160.0), (0.03, 90.0)], "exp"), length) * decay(length, 0.015, attack=0.001)
    puff = bandpass(noise(length, seed + 1), ramp(length, [(0, 2800.0), (0.11, 1500.0)], "exp"), 1.4)
    puff *= ramp(length, [(0, 0.0), (0.012, 0.7), (0.07, 0.1), (0.11, 0.0)])
    return 1.0 * tap + 0.35 * thump + 0.8 * puff


def power_up():
    """Power mode and the special move: a charging sweep that bursts into a shimmering chord."""
    length = 1.15
    seed = 6606
    # charge: a sawtooth sweeping up through an opening filter
    f = ramp(length, [(0, 140.0), (0.42, 1100.0), (1.15, 1100.0)], "exp")
    charge = saw(f, length)
    charge = lowpass(charge, ramp(length, [(0, 400.0), (0.42, 6000.0)], "exp"), 2.5)
    charge *= ramp(length, [(0, 0.0), (0.05, 0.5), (0.4, 0.9), (0.46, 0.0)])
    # rush of air with the charge
    rush = bandpass(noise(length, seed), ramp(length, [(0, 600.0), (0.45, 5000.0)], "exp"), 1.2)
    rush *= ramp(length, [(0, 0.0), (0.3, 0.6), (0.45, 0.9), (0.7, 0.0)])
    # burst: a bright A major chord that shimmers and fades
    t = time_axis(length)
    chord = np.zeros_like(t)
    for fr, a in [(880.0, 1.0), (1108.73, 0.8), (1318.51, 0.7), (1760.0, 0.55), (2217.46, 0.35)]:
        chord += a * triangle(fr * (1.0 + 0.004 * np.sin(2 * np.pi * 5.5 * t)), length)
    tremolo = 0.75 + 0.25 * np.sin(2 * np.pi * 16.0 * t)
    burst_env = np.where(t < 0.42, 0.0, np.exp(-np.maximum(t - 0.42, 0.0) / 0.28))
    burst_env *= np.clip((t - 0.42) / 0.004, 0.0, 1.0)
    chord *= tremolo * burst_env / 3.0
    # a flash of noise at the burst
    flash = highpass(noise(length, seed + 1), 4000.0)
    flash *= np.where(t < 0.42, 0.0, np.exp(-np.maximum(t - 0.42, 0.0) / 0.05))
    mix = 0.7 * charge + 0.6 * rush + 1.0 * chord + 0.25 * flash
    return delay_mix(mix, length, [(0.09, 0.25), (0.18, 0.1)])


def _bell(freq, seconds, tau):
    """A soft bell-like tone: sine fundamental with quickly fading upper partials."""
    t = time_axis(seconds)
    tone = (np.sin(2 * np.pi * freq * t) * np.exp(-t / tau)
            + 0.45 * np.sin(2 * np.pi * 2 * freq * t) * np.exp(-t / (tau * 0.4))
            + 0.18 * np.sin(2 * np.pi * 3.01 * freq * t) * np.exp(-t / (tau * 0.2)))
    return tone * np.clip(t / 0.002, 0.0, 1.0)


def menu_confirm():
    """Choosing a menu entry: a quick bright arpeggio up to a ringing top note."""
    length = 0.9
    notes = [(0.0, 1046.50, 0.12), (0.06, 1318.51, 0.12), (0.12, 1567.98, 0.14), (0.18, 2093.00, 0.3)]
    parts = []
    for start, f, tau in notes:
        parts.append((start, _bell(f, length - start, tau)))
        # a square an octave down gives the chime some body
        body = lowpass(square(f / 2, 0.1), 2500.0) * decay(0.1, 0.03, attack=0.002)
        parts.append((start, 0.25 * body))
    mix = place(length, *parts)
    return delay_mix(mix, length, [(0.11, 0.3), (0.22, 0.12)])


def menu_cursor():
    """Moving the menu cursor: one short soft pip."""
    length = 0.075
    t = time_axis(length)
    f = ramp(length, [(0, 1760.0), (0.012, 1568.0)], "exp")
    pip = triangle(f, length) * decay(length, 0.022, attack=0.0015)
    pip += 0.3 * sine(f * 2, length) * decay(length, 0.01, attack=0.0015)
    return pip * (t >= 0)


# file name (under SE/), recipe, loudness trim in dB relative to the shared target,
# fade-out length in seconds
EFFECTS = [
    ("entry.wav", menu_confirm, -3.0, 0.15),
    ("cursor_move.wav", menu_cursor, -6.0, 0.015),
    ("蹴る(強).wav", kick_strong, 2.0, 0.06),
    ("crash.wav", crash, 1.0, 0.08),
    ("se_asioto_isi01.wav", footstep_stone, -10.0, 0.02),
    ("eva.wav", power_up, -1.0, 0.25),
    ("dash1.wav", dash_start, -1.0, 0.08),
    ("dash2.wav", dash_step, -8.0, 0.02),
]
