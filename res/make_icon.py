#!/usr/bin/env python3
"""Draws the application icon: a monitor showing a night sky with a crescent
moon, stars and a dark hill, at 48x48 in 4, 8 and 32 bits per pixel.

Usage: make_icon.py OUT.ico [PREVIEW.png]
"""
import struct
import sys
import zlib

SIZE = 48
SAMPLES = 4  # per axis, for smooth edges in the 32-bit image


def lerp(a, b, t):
    return tuple(round(x + (y - x) * t) for x, y in zip(a, b))


def inside_rounded(x, y, x0, y0, x1, y1, r):
    if not (x0 <= x <= x1 and y0 <= y <= y1):
        return False
    cx = min(max(x, x0 + r), x1 - r)
    cy = min(max(y, y0 + r), y1 - r)
    return (x - cx) ** 2 + (y - cy) ** 2 <= r * r


STARS = [(11.5, 12.5, 1.0), (16.5, 20.5, 0.8), (21.5, 11.5, 1.1), (25.5, 23.5, 0.7),
         (38.5, 25.5, 0.8), (14.5, 26.5, 0.6), (27.5, 15.5, 0.6), (37.5, 11.5, 0.7)]


def sample(x, y):
    """Colour (r, g, b, a) of the picture at a point."""
    # stand: base and neck
    if inside_rounded(x, y, 13, 40, 35, 44, 2):
        return (70, 76, 88, 255) if y > 43 else (110, 116, 128, 255)
    if 20 <= x <= 28 and 35 <= y <= 41:
        return (96, 102, 114, 255)
    # monitor case with a dark rim
    if inside_rounded(x, y, 2, 4, 46, 37, 4):
        if not inside_rounded(x, y, 3, 5, 45, 36, 3.2):
            return (52, 56, 66, 255)
        if 7 <= x <= 41 and 8 <= y <= 32:
            return screen(x, y)
        shade = 1 - (y - 5) / 40
        return lerp((150, 156, 168), (205, 210, 218), shade) + (255,)
    return (0, 0, 0, 0)


def screen(x, y):
    # a dark hill across the bottom of the sky
    if (x - 20) ** 2 / 400 + (y - 36) ** 2 / 49 <= 1 or (x - 38) ** 2 / 160 + (y - 35) ** 2 / 36 <= 1:
        return (14, 38, 42, 255)
    # crescent moon
    in_moon = (x - 32) ** 2 + (y - 16) ** 2 <= 36
    in_bite = (x - 35) ** 2 + (y - 14) ** 2 <= 27
    if in_moon and not in_bite:
        return (250, 236, 160, 255)
    for sx, sy, r in STARS:
        d = abs(x - sx) + abs(y - sy)
        if d <= r or ((abs(x - sx) < 0.35 or abs(y - sy) < 0.35) and d <= r * 2):
            return (255, 255, 235, 255)
    t = (y - 8) / 24
    return lerp((8, 14, 52), (34, 62, 124), t) + (255,)


def render():
    image = []
    for py in range(SIZE):
        row = []
        for px in range(SIZE):
            acc = [0, 0, 0, 0]
            for sy in range(SAMPLES):
                for sx in range(SAMPLES):
                    r, g, b, a = sample(px + (sx + 0.5) / SAMPLES, py + (sy + 0.5) / SAMPLES)
                    acc[0] += r * a
                    acc[1] += g * a
                    acc[2] += b * a
                    acc[3] += a
            alpha = acc[3] / (SAMPLES * SAMPLES)
            if acc[3]:
                row.append((round(acc[0] / acc[3]), round(acc[1] / acc[3]), round(acc[2] / acc[3]), round(alpha)))
            else:
                row.append((0, 0, 0, 0))
        image.append(row)
    return image


VGA16 = [(0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0), (0, 0, 128), (128, 0, 128), (0, 128, 128),
         (192, 192, 192), (128, 128, 128), (255, 0, 0), (0, 255, 0), (255, 255, 0), (0, 0, 255),
         (255, 0, 255), (0, 255, 255), (255, 255, 255)]


def palette256():
    levels = [0, 51, 102, 153, 204, 255]
    colours = [(r, g, b) for r in levels for g in levels for b in levels]
    colours += [(v, v, v) for v in range(8, 248, 8) if (v, v, v) not in colours][:24]
    colours += [(8, 14, 52), (14, 24, 66), (20, 36, 84), (26, 48, 100), (30, 56, 112), (34, 62, 124),
                (14, 38, 42), (250, 236, 160), (255, 255, 235), (52, 56, 66), (70, 76, 88), (96, 102, 114),
                (110, 116, 128), (150, 156, 168), (178, 184, 194), (205, 210, 218)]
    return (colours + [(0, 0, 0)] * 256)[:256]


def nearest(colour, palette):
    r, g, b = colour[:3]
    return min(range(len(palette)),
               key=lambda i: 3 * (palette[i][0] - r) ** 2 + 4 * (palette[i][1] - g) ** 2 + 2 * (palette[i][2] - b) ** 2)


def and_mask(image):
    rows = []
    for row in reversed(image):
        bits = 0
        for px in row:
            bits = (bits << 1) | (1 if px[3] < 128 else 0)
        rows.append(bits.to_bytes(SIZE // 8, 'big') + b'\0' * ((-(SIZE // 8)) % 4))
    return b''.join(rows)


def header(bits, colours):
    height = SIZE * 2  # colour rows and mask rows
    return struct.pack('<IiiHHIIiiII', 40, SIZE, height, 1, bits, 0, 0, 0, 0, colours, 0)


def indexed(image, palette, bits):
    cache = {}
    data = b''
    for row in reversed(image):
        indices = []
        for px in row:
            if px[3] < 128:
                indices.append(0)
                continue
            key = px[:3]
            if key not in cache:
                cache[key] = nearest(key, palette)
            indices.append(cache[key])
        if bits == 4:
            raw = bytes((indices[i] << 4) | indices[i + 1] for i in range(0, SIZE, 2))
        else:
            raw = bytes(indices)
        data += raw + b'\0' * ((-len(raw)) % 4)
    table = b''.join(struct.pack('<BBBB', b, g, r, 0) for r, g, b in palette)
    return header(bits, len(palette)) + table + data + and_mask(image)


def true_colour(image):
    data = b''.join(struct.pack('<BBBB', px[2], px[1], px[0], px[3]) for row in reversed(image) for px in row)
    return header(32, 0) + data + and_mask(image)


def write_ico(path, image):
    images = [(16, 4, indexed(image, VGA16, 4)), (0, 8, indexed(image, palette256(), 8)),
              (0, 32, true_colour(image))]
    out = struct.pack('<HHH', 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for colours, bits, blob in images:
        out += struct.pack('<BBBBHHII', SIZE, SIZE, colours, 0, 1, bits, len(blob), offset)
        offset += len(blob)
    out += b''.join(blob for _, _, blob in images)
    with open(path, 'wb') as f:
        f.write(out)


def write_preview(path, image, scale=6):
    """The three images side by side, enlarged, on a light checkerboard."""
    pal16 = [VGA16[nearest(px, VGA16)] if px[3] >= 128 else None for row in image for px in row]
    p256 = palette256()
    pal256 = [p256[nearest(px, p256)] if px[3] >= 128 else None for row in image for px in row]
    full = [px for row in image for px in row]
    width, height = SIZE * 3 * scale + 4 * scale, SIZE * scale
    raw = b''
    for y in range(height):
        line = b'\0'
        for x in range(width):
            panel, rest = divmod(x, SIZE * scale + 2 * scale)
            ix = rest // scale
            back = (235, 235, 235) if ((x // 8 + y // 8) % 2) else (205, 205, 205)
            colour = back
            if panel < 3 and ix < SIZE:
                i = (y // scale) * SIZE + ix
                if panel == 0 and pal16[i]:
                    colour = pal16[i]
                elif panel == 1 and pal256[i]:
                    colour = pal256[i]
                elif panel == 2:
                    r, g, b, a = full[i]
                    colour = tuple(round((c * a + k * (255 - a)) / 255) for c, k in zip((r, g, b), back))
            line += bytes(colour)
        raw += line

    def chunk(kind, data):
        return struct.pack('>I', len(data)) + kind + data + struct.pack('>I', zlib.crc32(kind + data))

    png = b'\x89PNG\r\n\x1a\n' + chunk(b'IHDR', struct.pack('>IIBBBBB', width, height, 8, 2, 0, 0, 0))
    png += chunk(b'IDAT', zlib.compress(raw, 9)) + chunk(b'IEND', b'')
    with open(path, 'wb') as f:
        f.write(png)


if __name__ == '__main__':
    picture = render()
    write_ico(sys.argv[1], picture)
    if len(sys.argv) > 2:
        write_preview(sys.argv[2], picture)
