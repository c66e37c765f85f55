#!/usr/bin/env python3
"""Generates the program's own stone sound and icon (stone.wav, rowstone.png).

The outputs are committed; run this again only to change them.
  stone.wav    mono, 16-bit PCM, 22 050 Hz, 5 457 samples (10 914 bytes):
               a short wooden knock, two damped partials over a noise burst
  rowstone.png 64 x 64 RGBA: a corner of the board with a black and a white stone
"""
import math
import os
import random
import struct
import zlib

HERE = os.path.dirname(os.path.abspath(__file__))


def write_stone_sound(path):
    rate = 22050
    count = 10914 // 2
    rng = random.Random(1729)
    samples = []
    for n in range(count):
        t = n / rate
        knock = 0.55 * math.sin(2 * math.pi * 820 * t) * math.exp(-t * 38)
        knock += 0.30 * math.sin(2 * math.pi * 1930 * t) * math.exp(-t * 60)
        click = (rng.random() * 2 - 1) * 0.45 * math.exp(-t * 420)
        attack = min(1.0, n / 22.0)
        value = (knock + click) * attack
        samples.append(max(-32767, min(32767, int(value * 30000))))
    data = struct.pack("<%dh" % count, *samples)
    header = b"RIFF" + struct.pack("<I", 36 + len(data)) + b"WAVE"
    header += b"fmt " + struct.pack("<IHHIIHH", 16, 1, 1, rate, rate * 2, 2, 16)
    header += b"data" + struct.pack("<I", len(data))
    with open(path, "wb") as f:
        f.write(header + data)


def write_icon(path, size=64):
    board = (254, 215, 130, 255)
    pixels = [[board for _ in range(size)] for _ in range(size)]
    step = size // 5
    for i in range(1, 5):
        for k in range(size):
            pixels[i * step][k] = (0, 0, 0, 255)
            pixels[k][i * step] = (0, 0, 0, 255)

    def stone(cx, cy, r, fill):
        for y in range(size):
            for x in range(size):
                d = math.hypot(x + 0.5 - cx, y + 0.5 - cy)
                if d <= r - 1:
                    pixels[y][x] = fill
                elif d <= r:
                    pixels[y][x] = (0, 0, 0, 255)

    stone(2 * step, 2 * step, step * 0.45, (0, 0, 0, 255))
    stone(3 * step, 3 * step, step * 0.45, (255, 255, 255, 255))
    stone(3 * step, 2 * step, step * 0.45, (0, 0, 0, 255))
    raw = b"".join(b"\x00" + b"".join(struct.pack("4B", *p) for p in row) for row in pixels)

    def chunk(kind, body):
        return (struct.pack(">I", len(body)) + kind + body
                + struct.pack(">I", zlib.crc32(kind + body) & 0xFFFFFFFF))

    png = b"\x89PNG\r\n\x1a\n"
    png += chunk(b"IHDR", struct.pack(">IIBBBBB", size, size, 8, 6, 0, 0, 0))
    png += chunk(b"IDAT", zlib.compress(raw, 9))
    png += chunk(b"IEND", b"")
    with open(path, "wb") as f:
        f.write(png)


if __name__ == "__main__":
    write_stone_sound(os.path.join(HERE, "stone.wav"))
    write_icon(os.path.join(HERE, "rowstone.png"))
