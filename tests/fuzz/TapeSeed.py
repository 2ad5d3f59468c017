#!/usr/bin/env python3
"""Writes a seed for the tape decoder fuzzer: the settings byte 0, then a short 8 kHz
8-bit WAV recording of a tape signal (a lead-in, three data bytes, a lead-out), so the
fuzzer starts with every stage of the decoder reached."""
import struct
import sys

RATE = 8000
UNIT = RATE / 3000.0  # samples of a short half-wave (a 1); a 0 lasts two


def frame(byte):
    return [2] + [1 if byte >> i & 1 else 2 for i in range(8)] + [1, 1]


units = []
for byte in [255] * 15 + [0, 0x5A, 0xC3] + [255] * 25:
    units += frame(byte)

samples, elapsed, level = [], 0, 96
for length in units:
    end = round((elapsed + length) * UNIT)
    samples += [128 + level] * (end - len(samples))
    elapsed += length
    level = -level

data = bytes(samples)
fmt = struct.pack("<HHIIHH", 1, 1, RATE, RATE, 1, 8)
wav = b"RIFF" + struct.pack("<I", 4 + 8 + len(fmt) + 8 + len(data)) + b"WAVE"
wav += b"fmt " + struct.pack("<I", len(fmt)) + fmt + b"data" + struct.pack("<I", len(data)) + data
with open(sys.argv[1], "wb") as out:
    out.write(b"\0" + wav)
