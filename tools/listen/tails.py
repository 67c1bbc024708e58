#!/usr/bin/env python3
"""Measures how each music loop ends: the silence before its last frame and the cut itself.

    tools/listen/tails.py [file.wav ...]      (default: build/assets/files/sound1..8.wav)

Per loop: frames, peak and RMS (16-bit units), the trailing silence (frames after the last
sample at or above -60 dBFS, |s| >= 33, in milliseconds), the last frame's larger magnitude
the largest step between neighbouring samples of one channel in the last 5 ms (what a
click at the cut would show as), and how loud the last 250 ms still are against the whole
loop (RMS ratio in dB: how well the loop carries up to the next music step).
"""
import math
import struct
import sys
import wave

RATE = 22050
QUIET = 33            # 32768 * 10^(-60/20), rounded up: anything below is silence
LAST_5MS = RATE // 200


def measure(path):
    w = wave.open(path)
    frames = w.getnframes()
    data = w.readframes(frames)
    s = struct.unpack("<%dh" % (2 * frames), data)
    peak = max(abs(v) for v in s)
    rms = (sum(v * v for v in s) / len(s)) ** 0.5
    last_loud = -1
    for f in range(frames - 1, -1, -1):
        if abs(s[2 * f]) >= QUIET or abs(s[2 * f + 1]) >= QUIET:
            last_loud = f
            break
    tail = frames - 1 - last_loud
    end = max(abs(s[-2]), abs(s[-1]))
    step = 0
    for c in (0, 1):
        for f in range(frames - LAST_5MS, frames):
            step = max(step, abs(s[2 * f + c] - s[2 * (f - 1) + c]))
    last = s[-2 * (RATE // 4):]
    end_rms = (sum(v * v for v in last) / len(last)) ** 0.5
    carry = 20 * math.log10(end_rms / rms) if end_rms > 0 else float("-inf")
    return frames, peak, rms, tail, end, step, carry


def main():
    paths = sys.argv[1:] or ["build/assets/files/sound%d.wav" % n for n in range(1, 9)]
    print("%-8s %7s %6s %6s %8s %8s %5s %8s %11s" %
          ("loop", "frames", "peak", "rms", "silence", "(ms)", "last", "step5ms", "end250(dB)"))
    for p in paths:
        frames, peak, rms, tail, end, step, carry = measure(p)
        name = p.rsplit("/", 1)[-1].rsplit(".", 1)[0]
        print("%-8s %7d %6d %6d %8d %8.1f %5d %8d %11.1f" %
              (name, frames, peak, rms, tail, 1000.0 * tail / RATE, end, step, carry))


if __name__ == "__main__":
    main()
