#!/usr/bin/env python3
"""Compares two raw renders (little-endian doubles): prints the largest difference and
fails when it reaches -200 dB of the peak, far below anything audible."""
import array
import sys

first, second = array.array("d"), array.array("d")
with open(sys.argv[1], "rb") as f:
    first.frombytes(f.read())
with open(sys.argv[2], "rb") as f:
    second.frombytes(f.read())
if len(first) != len(second) or not first:
    sys.exit(f"renders differ in length: {len(first)} and {len(second)} samples")
peak = max(abs(x) for x in first)
largest = max(abs(x - y) for x, y in zip(first, second))
identical = sum(x == y for x, y in zip(first, second))
print(f"{len(first)} samples, {identical} identical; peak {peak:.6g}, "
      f"largest difference {largest:.3g} ({largest / peak if peak else 0.0:.3g} of the peak)")
if peak == 0.0 or largest >= peak * 1e-10:
    sys.exit("renders differ audibly or are silent")
