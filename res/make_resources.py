#!/usr/bin/env python3
"""Generates the program's own stone sound, icon and splash picture.

The outputs are committed; run this again only to change them.
  stone.wav    mono, 16-bit PCM, 22 050 Hz, 5 457 samples (10 914 bytes):
               a short wooden knock, two damped partials over a noise burst
  rowstone.png 64 x 64 RGBA: a corner of the board with a black and a white stone
  splash.gif   GIF89a, 108 x 114, ten frames of 10/100 s: the board, five
               stones placed one by one on a diagonal, a light running along
               the row (frames restored to the previous image) and the whole
               row lit
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


def lzw_encode(indices, min_size):
    """GIF's variable-length LZW: codes packed from the low bit up."""
    clear = 1 << min_size
    end = clear + 1
    out = bytearray()
    acc = 0
    nbits = 0

    def put(code, size):
        nonlocal acc, nbits
        acc |= code << nbits
        nbits += size
        while nbits >= 8:
            out.append(acc & 0xFF)
            acc >>= 8
            nbits -= 8

    size = min_size + 1
    table = {}
    next_code = end + 1
    put(clear, size)
    prefix = indices[0]
    for k in indices[1:]:
        key = (prefix, k)
        if key in table:
            prefix = table[key]
            continue
        put(prefix, size)
        if next_code < 4096:
            table[key] = next_code
            if next_code == (1 << size) and size < 12:
                size += 1
            next_code += 1
        else:
            put(clear, size)
            table = {}
            size = min_size + 1
            next_code = end + 1
        prefix = k
    put(prefix, size)
    put(end, size)
    if nbits:
        out.append(acc & 0xFF)
    return bytes(out)


def sub_blocks(data):
    body = bytearray()
    for i in range(0, len(data), 255):
        piece = data[i:i + 255]
        body.append(len(piece))
        body += piece
    body.append(0)
    return bytes(body)


SPLASH_W, SPLASH_H = 108, 114
STONE_R = 8
STONES = [(18 + 18 * i, 21 + 18 * i) for i in range(5)]
TRANSPARENT = 0


def splash_palette():
    colours = [(255, 0, 255)]  # the transparent index
    for i in range(6):  # wood
        t = i / 5
        colours.append((int(214 + 32 * t), int(168 + 40 * t), int(96 + 44 * t)))
    colours.append((110, 72, 36))  # grid lines
    for i in range(10):  # stone greys
        v = int(12 + 150 * i / 9)
        colours.append((v, v, v))
    for i in range(10):  # gold
        t = i / 9
        colours.append((int(150 + 105 * t), int(100 + 136 * t), int(10 + 130 * t)))
    colours += [(252, 236, 170), (255, 245, 200), (255, 250, 225), (255, 255, 255)]
    return colours


def nearest(palette, rgb):
    best = 1
    best_d = None
    for i, c in enumerate(palette):
        if i == TRANSPARENT:
            continue
        d = sum((a - b) ** 2 for a, b in zip(c, rgb))
        if best_d is None or d < best_d:
            best, best_d = i, d
    return best


def board_colour(x, y):
    if x % 18 == 0 or (y - 3) % 18 == 0:
        return (110, 72, 36)
    grain = 0.5 + 0.5 * math.sin(x * 0.21 + math.sin(y * 0.09) * 2.5)
    return (int(216 + 28 * grain), int(170 + 36 * grain), int(98 + 40 * grain))


def stone_colour(x, y, cx, cy, lit):
    """The stone's colour at a pixel, or None outside it (its halo when lit)."""
    d = math.hypot(x + 0.5 - cx, y + 0.5 - cy)
    if d <= STONE_R:
        shine = max(0.0, 1 - math.hypot(x + 0.5 - (cx - 3), y + 0.5 - (cy - 3)) / (STONE_R * 1.2))
        if lit and d > STONE_R - 2:
            return (255, 200 + int(36 * shine), 60)
        v = int(14 + 140 * shine ** 2)
        if lit:
            return (min(255, v + 90), min(255, v + 70), v)
        return (v, v, v)
    if lit and d <= STONE_R + 3:
        t = (d - STONE_R) / 3
        return (255, int(236 + 14 * t), int(150 + 70 * t))
    return None


def frame_pixels(palette, area, stones, lit):
    left, top, w, h = area
    pixels = []
    for y in range(top, top + h):
        for x in range(left, left + w):
            colour = None
            for cx, cy in stones:
                colour = stone_colour(x, y, cx, cy, lit) or colour
            pixels.append(TRANSPARENT if colour is None else nearest(palette, colour))
    return pixels


def stones_area(stones, margin):
    xs = [cx for cx, _ in stones]
    ys = [cy for _, cy in stones]
    left, top = min(xs) - margin, min(ys) - margin
    return (left, top, max(xs) + margin - left + 1, max(ys) + margin - top + 1)


def write_splash(path):
    palette = splash_palette()
    frames = []  # (area, pixels, disposal, transparent)
    board = [nearest(palette, board_colour(x, y)) for y in range(SPLASH_H) for x in range(SPLASH_W)]
    frames.append(((0, 0, SPLASH_W, SPLASH_H), board, 1, False))
    for stone in STONES:
        area = stones_area([stone], STONE_R)
        frames.append((area, frame_pixels(palette, area, [stone], False), 1, True))
    for first in range(3):
        lit = STONES[first:first + 2 + (first > 0)]
        area = stones_area(lit, STONE_R + 3)
        frames.append((area, frame_pixels(palette, area, lit, True), 3, True))
    area = stones_area(STONES, STONE_R + 3)
    frames.append((area, frame_pixels(palette, area, STONES, True), 1, True))
    assert len(frames) == 10

    gif = bytearray(b"GIF89a")
    gif += struct.pack("<HHBBB", SPLASH_W, SPLASH_H, 0x80 | 0x70 | 4, 1, 0)
    for c in palette:
        gif += bytes(c)
    gif += b"\x21\xff\x0bNETSCAPE2.0\x03\x01\x00\x00\x00"
    gif += b"\x21\xfe" + sub_blocks(b"Rowstone")
    for (left, top, w, h), pixels, disposal, transparent in frames:
        packed = (disposal << 2) | (1 if transparent else 0)
        gif += struct.pack("<BBBBHBB", 0x21, 0xF9, 4, packed, 10, TRANSPARENT, 0)
        gif += struct.pack("<BHHHHB", 0x2C, left, top, w, h, 0)
        gif += bytes([5]) + sub_blocks(lzw_encode(pixels, 5))
    gif += b"\x3b"
    with open(path, "wb") as f:
        f.write(gif)


if __name__ == "__main__":
    write_stone_sound(os.path.join(HERE, "stone.wav"))
    write_icon(os.path.join(HERE, "rowstone.png"))
    write_splash(os.path.join(HERE, "splash.gif"))
