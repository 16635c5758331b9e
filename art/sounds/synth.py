"""Small synthesis toolkit for the game's sound effects.

Everything works on mono float64 numpy arrays at RATE samples per second.
Noise comes from numpy's legacy RandomState with a fixed seed per effect, whose
stream numpy keeps stable, so the same recipe always gives the same samples.
"""

import math
import wave

import numpy as np

RATE = 44100


def samples(seconds):
    return int(round(seconds * RATE))


def time_axis(seconds):
    return np.arange(samples(seconds)) / RATE


def noise(seconds, seed):
    """White noise in -1..1."""
    rng = np.random.RandomState(seed)
    return rng.uniform(-1.0, 1.0, samples(seconds))


# ---------------------------------------------------------------- envelopes

def ramp(seconds, points, curve="lin"):
    """Breakpoint curve: points is [(time, value), ...]; held after the last point.

    curve "exp" interpolates geometrically (values must be > 0), which suits
    pitch sweeps and fades that should sound even.
    """
    t = time_axis(seconds)
    xs = [p[0] for p in points]
    ys = [p[1] for p in points]
    if curve == "exp":
        return np.exp(np.interp(t, xs, np.log(ys)))
    return np.interp(t, xs, ys)


def decay(seconds, tau, attack=0.0):
    """Exponential decay with time constant tau, after a linear attack."""
    t = time_axis(seconds)
    env = np.exp(-np.maximum(t - attack, 0.0) / tau)
    if attack > 0:
        env *= np.clip(t / attack, 0.0, 1.0)
    return env


# ---------------------------------------------------------------- oscillators

def phase_of(freq, seconds):
    """Running phase (radians) for a constant or per-sample frequency."""
    n = samples(seconds)
    f = np.broadcast_to(np.asarray(freq, dtype=np.float64), (n,))
    return np.cumsum(2.0 * math.pi * f / RATE) - 2.0 * math.pi * f[0] / RATE


def sine(freq, seconds, phase0=0.0):
    return np.sin(phase_of(freq, seconds) + phase0)


def _additive(freq, seconds, harmonics):
    """Band-limited tone from (k, amplitude) harmonic pairs; partials above
    the Nyquist frequency are faded out so sweeps do not alias."""
    n = samples(seconds)
    f = np.broadcast_to(np.asarray(freq, dtype=np.float64), (n,))
    ph = phase_of(f, seconds)
    out = np.zeros(n)
    nyq = RATE / 2.0
    for k, amp in harmonics:
        fk = f * k
        keep = np.clip((nyq * 0.9 - fk) / (nyq * 0.1), 0.0, 1.0)
        if not keep.any():
            break
        out += amp * keep * np.sin(k * ph)
    return out


def square(freq, seconds, max_k=41):
    return _additive(freq, seconds, [(k, 4 / math.pi / k) for k in range(1, max_k + 1, 2)])


def saw(freq, seconds, max_k=40):
    return _additive(freq, seconds, [(k, 2 / math.pi / k * (-1) ** (k + 1)) for k in range(1, max_k + 1)])


def triangle(freq, seconds, max_k=21):
    return _additive(freq, seconds,
                     [(k, 8 / math.pi ** 2 / k ** 2 * (-1) ** ((k - 1) // 2)) for k in range(1, max_k + 1, 2)])


# ---------------------------------------------------------------- filters

def svf(x, cutoff, q=0.707, mode="low"):
    """State-variable filter (trapezoidal form) with a constant or per-sample cutoff in Hz.

    mode: "low", "band" (unity peak gain), "high".
    """
    n = len(x)
    fc = np.broadcast_to(np.asarray(cutoff, dtype=np.float64), (n,))
    g = np.tan(math.pi * np.clip(fc, 10.0, RATE * 0.45) / RATE)
    k = 1.0 / q
    a1 = 1.0 / (1.0 + g * (g + k))
    a2 = g * a1
    a3 = g * a2
    out = np.empty(n)
    ic1 = ic2 = 0.0
    xs = x.tolist()
    a1l, a2l, a3l = a1.tolist(), a2.tolist(), a3.tolist()
    for i in range(n):
        v0 = xs[i]
        v3 = v0 - ic2
        v1 = a1l[i] * ic1 + a2l[i] * v3
        v2 = ic2 + a2l[i] * ic1 + a3l[i] * v3
        ic1 = 2.0 * v1 - ic1
        ic2 = 2.0 * v2 - ic2
        if mode == "low":
            out[i] = v2
        elif mode == "band":
            out[i] = k * v1
        else:
            out[i] = v0 - k * v1 - v2
    return out


def lowpass(x, cutoff, q=0.707):
    return svf(x, cutoff, q, "low")


def highpass(x, cutoff, q=0.707):
    return svf(x, cutoff, q, "high")


def bandpass(x, cutoff, q=1.0):
    return svf(x, cutoff, q, "band")


# ---------------------------------------------------------------- shaping

def drive(x, amount):
    """Soft saturation of x brought to peak 1 first, so amount alone sets how hard
    it is pushed: 1 is gentle, 3 is crunchy. The result peaks at 1."""
    x = x / float(np.max(np.abs(x)))
    return np.tanh(amount * x) / math.tanh(amount)


def delay_mix(x, seconds, taps):
    """Adds echoes: taps is [(delay seconds, gain), ...]; output length seconds."""
    n = samples(seconds)
    out = np.zeros(n)
    out[:min(n, len(x))] += x[:n]
    for d, gain in taps:
        s = samples(d)
        if s < n:
            m = min(len(x), n - s)
            out[s:s + m] += gain * x[:m]
    return out


def place(total_seconds, *parts):
    """Mixes (start seconds, signal) pairs into one buffer of total_seconds."""
    out = np.zeros(samples(total_seconds))
    for start, sig in parts:
        s = samples(start)
        m = min(len(sig), len(out) - s)
        if m > 0:
            out[s:s + m] += sig[:m]
    return out


def pad(x, seconds):
    """Cuts or zero-extends x to exactly seconds."""
    n = samples(seconds)
    if len(x) >= n:
        return x[:n].copy()
    return np.concatenate([x, np.zeros(n - len(x))])


# ---------------------------------------------------------------- finishing

def clean_ends(x, fade_in=0.001, fade_out=0.02):
    """Raised-cosine fade at both ends so a sound never starts or stops on a step."""
    y = x.copy()
    fi = samples(fade_in)
    fo = samples(fade_out)
    if fi > 0:
        y[:fi] *= 0.5 - 0.5 * np.cos(math.pi * np.arange(fi) / fi)
    if fo > 0:
        y[-fo:] *= 0.5 + 0.5 * np.cos(math.pi * (np.arange(fo) + 1) / fo)
    y[-1] = 0.0
    return y


def remove_dc(x):
    """Gentle 20 Hz high-pass so no effect carries an offset."""
    return highpass(x, 20.0)


def loudest_rms(x, window=0.05):
    """RMS of the loudest window (50 ms by default): our measure of how loud an effect hits."""
    w = samples(window)
    if len(x) <= w:
        return float(np.sqrt(np.mean(x ** 2)))
    c = np.concatenate([[0.0], np.cumsum(x ** 2)])
    return float(np.sqrt(np.max(c[w:] - c[:-w]) / w))


def db(v):
    return 20.0 * math.log10(max(v, 1e-12))


def level(x, target_db, peak_ceiling_db=-1.0):
    """Scales x so its loudest 50 ms has RMS target_db (dBFS), but never lets the peak
    pass peak_ceiling_db. Returns (signal, gain_db, limited_by_peak)."""
    rms = loudest_rms(x)
    peak = float(np.max(np.abs(x)))
    g_rms = 10 ** (target_db / 20.0) / rms
    g_peak = 10 ** (peak_ceiling_db / 20.0) / peak
    g = min(g_rms, g_peak)
    return x * g, db(g), g_peak < g_rms


def write_wav(path, x):
    """16-bit PCM mono RIFF WAVE."""
    pcm = np.clip(np.round(x * 32767.0), -32767, 32767).astype("<i2")
    with wave.open(str(path), "wb") as w:
        w.setnchannels(1)
        w.setsampwidth(2)
        w.setframerate(RATE)
        w.writeframes(pcm.tobytes())
