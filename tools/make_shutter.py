#!/usr/bin/env python3
"""Writes the shutter sound played after each capture: a RIFF WAVE, PCM mono,
22050 Hz, 8-bit, 3375 samples (3419 bytes in all).

The sound is a mechanical "ka-chick": the shutter opening and, a moment later,
closing. Each click is a burst of band-passed noise with a fast decay plus a
short metallic ring. The noise comes from a fixed seed, so every build writes
the same bytes.

Usage: make_shutter.py OUTPUT.wav
"""
import math
import random
import struct
import sys

RATE = 22050
SAMPLES = 3375
SEED = 190


class BandPass:
    """Second-order band-pass filter (constant peak gain)."""

    def __init__(self, centre_hz, q):
        w = 2 * math.pi * centre_hz / RATE
        alpha = math.sin(w) / (2 * q)
        a0 = 1 + alpha
        self.b = (alpha / a0, 0.0, -alpha / a0)
        self.a = (-2 * math.cos(w) / a0, (1 - alpha) / a0)
        self.x1 = self.x2 = self.y1 = self.y2 = 0.0

    def __call__(self, x):
        y = (self.b[0] * x + self.b[1] * self.x1 + self.b[2] * self.x2
             - self.a[0] * self.y1 - self.a[1] * self.y2)
        self.x2, self.x1 = self.x1, x
        self.y2, self.y1 = self.y1, y
        return y


def click(out, rng, start_ms, gain, noise_hz, decay_ms, ring_hz, ring_decay_ms):
    """Adds one shutter click to out, starting at start_ms."""
    start = int(start_ms * RATE / 1000)
    bright = BandPass(noise_hz, 0.9)
    body = BandPass(noise_hz / 3, 1.2)
    for n in range(start, len(out)):
        t = (n - start) / RATE
        attack = min(1.0, t / 0.0004)
        noise = 2 * rng.random() - 1  # random() is the part Python keeps stable across versions
        burst = (bright(noise) + 0.6 * body(noise)) * math.exp(-t * 1000 / decay_ms)
        ring = 0.35 * math.sin(2 * math.pi * ring_hz * t) * math.exp(-t * 1000 / ring_decay_ms) \
            if ring_hz else 0.0
        out[n] += gain * attack * (burst + ring)


def shutter_samples():
    rng = random.Random(SEED)
    out = [0.0] * SAMPLES
    click(out, rng, 0.0, 0.8, 4200, 3.5, 1700, 7)     # blades open
    click(out, rng, 2.5, 0.25, 2500, 12, 0, 0)       # spring rattle, no ring
    click(out, rng, 72.0, 1.0, 2600, 5.0, 1100, 11)   # blades close
    peak = max(abs(v) for v in out)
    fade = int(0.012 * RATE)
    for i in range(fade):  # end on silence so the speaker does not pop
        out[SAMPLES - 1 - i] *= i / fade
    return [v * 0.92 / peak for v in out]


def wave_bytes(samples):
    data = bytes(max(0, min(255, 128 + round(v * 127))) for v in samples)
    fmt = struct.pack("<HHIIHH", 1, 1, RATE, RATE, 1, 8)  # PCM, mono, 1 byte per sample
    body = b"WAVE" + b"fmt " + struct.pack("<I", len(fmt)) + fmt \
        + b"data" + struct.pack("<I", len(data)) + data
    # The odd-sized data chunk goes without its pad byte: players accept that,
    # and the file keeps its 3419 bytes.
    return b"RIFF" + struct.pack("<I", len(body)) + body


def main():
    if len(sys.argv) != 2:
        sys.exit(__doc__)
    with open(sys.argv[1], "wb") as f:
        f.write(wave_bytes(shutter_samples()))


if __name__ == "__main__":
    main()
