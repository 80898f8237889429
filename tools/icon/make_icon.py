#!/usr/bin/env python3
"""Draws the program's window icon and writes it as C++ source.

The icon: two champagne flutes touching over a rose medallion, drawn with 4x4 supersampling
so the edges are smooth at 64x64. Output is a table of 64*64 packed ARGB pixels, rows top to
bottom. Remake with:
    python3 tools/icon/make_icon.py > game/main/ProgramIcon.cpp
"""
import math

SIZE = 64
SAMPLES = 4


def medallion(x, y):
    """Rose disc with a gold rim; returns (r, g, b, a) or None."""
    d = math.hypot(x - 32, y - 32)
    if d <= 27:
        t = d / 27
        return (236 - 30 * t, 170 - 40 * t, 180 - 30 * t, 1.0)
    if d <= 30:
        return (214, 172, 88, 1.0)
    return None


def flute(x, y, lean):
    """A flute leaning by `lean` radians, its rim near the icon's top centre."""
    cx, top = 32 + math.sin(lean) * 10, 12
    # Rotate the point into the flute's upright frame, pivoting at the bowl's bottom.
    px, py = cx, 38
    dx, dy = x - px, y - py
    ux = dx * math.cos(lean) + dy * math.sin(lean)
    uy = -dx * math.sin(lean) + dy * math.cos(lean)
    bowl_top = top - py
    if bowl_top <= uy <= 0:
        depth = (uy - bowl_top) / -bowl_top  # 0 at the rim, 1 at the bowl's bottom
        half = 3.2 + 3.4 * (1 - depth) ** 0.6
        if abs(ux) <= half:
            wine = uy > bowl_top + 6
            return (250, 226, 150, 1.0) if wine else (255, 252, 240, 0.9)
    if 0 <= uy <= 14 and abs(ux) <= 1.0:
        return (255, 252, 240, 0.95)
    if 14 <= uy <= 16 and abs(ux) <= 6:
        return (255, 252, 240, 0.95)
    return None


def sample(x, y):
    colour = (0, 0, 0, 0.0)
    for layer in (medallion(x, y), flute(x, y, -0.35), flute(x, y, 0.35)):
        if layer:
            r, g, b, a = layer
            cr, cg, cb, ca = colour
            out_a = a + ca * (1 - a)
            if out_a > 0:
                colour = tuple((c * a + o * ca * (1 - a)) / out_a for c, o in zip((r, g, b), (cr, cg, cb))) + (out_a,)
    return colour


def pixel(ix, iy):
    acc = [0.0, 0.0, 0.0, 0.0]
    for sy in range(SAMPLES):
        for sx in range(SAMPLES):
            r, g, b, a = sample(ix + (sx + 0.5) / SAMPLES, iy + (sy + 0.5) / SAMPLES)
            acc[0] += r * a
            acc[1] += g * a
            acc[2] += b * a
            acc[3] += a
    n = SAMPLES * SAMPLES
    a = acc[3] / n
    if a == 0:
        return 0
    r, g, b = (min(255, round(c / acc[3])) for c in acc[:3])
    return (round(a * 255) << 24) | (r << 16) | (g << 8) | b


def main():
    pixels = [pixel(x, y) for y in range(SIZE) for x in range(SIZE)]
    print("// The program's window icon, drawn by tools/icon/make_icon.py; do not edit.")
    print('#include "game/main/ProgramIcon.h"')
    print()
    print("const uint32_t kProgramIcon[kProgramIconSize * kProgramIconSize] = {")
    for row in range(SIZE):
        line = pixels[row * SIZE:(row + 1) * SIZE]
        print("    " + ", ".join(f"0x{p:08x}" for p in line) + ",")
    print("};")


if __name__ == "__main__":
    main()
