"""Draws the program's icons and writes its description text, as the resource
compiler wants them: ICON0.ico (16 x 16, 16 colours: the form and program icon),
ICON1.ico to ICON4.ico (48 x 48, 32-bit with alpha, stored as PNG: red, yellow,
green and a dull olive lamp for the tray) and Str1.bin (the description text in code page 1251).

Usage: make_resources.py <description.txt> <output folder>
"""
import math
import os
import struct
import sys
import zlib

# --- ICO writing -------------------------------------------------------------

def bmp_rows(width, height, row_bytes):
    """Rows bottom-up, each padded to a multiple of four bytes."""
    out = b""
    for y in range(height - 1, -1, -1):
        row = row_bytes(y)
        out += row + b"\0" * ((4 - len(row) % 4) % 4)
    return out


def and_mask(width, height, transparent):
    def row(y):
        bits = bytearray((width + 7) // 8)
        for x in range(width):
            if transparent(x, y):
                bits[x // 8] |= 0x80 >> (x % 8)
        return bytes(bits)
    return bmp_rows(width, height, row)


def ico_file(width, height, bit_count, colour_count, palette, xor_bits, mask_bits):
    header = struct.pack("<IiiHHIIiiII", 40, width, height * 2, 1, bit_count, 0,
                         len(xor_bits) + len(mask_bits), 0, 0, len(palette) // 4, 0)
    image = header + palette + xor_bits + mask_bits
    directory = struct.pack("<HHH", 0, 1, 1)
    entry = struct.pack("<BBBBHHII", width % 256, height % 256, colour_count, 0, 1, bit_count,
                        len(image), 6 + 16)
    return directory + entry + image

# --- The tray lamps: shaded balls with a glint -----------------------------------

def lamp(rgb, size=48, samples=4):
    cx = cy = size / 2.0
    radius = size / 2.0 - 1.5
    pixels = {}
    for y in range(size):
        for x in range(size):
            cover = 0.0
            shade = 0.0
            for sy in range(samples):
                for sx in range(samples):
                    px = x + (sx + 0.5) / samples
                    py = y + (sy + 0.5) / samples
                    d = math.hypot(px - cx, py - cy)
                    if d <= radius:
                        cover += 1
                        # light from the upper left
                        lx = (px - cx) / radius + 0.35
                        ly = (py - cy) / radius + 0.35
                        shade += max(0.0, 1.0 - 0.55 * math.hypot(lx, ly))
            n = samples * samples
            alpha = cover / n
            if cover:
                shade /= cover
            r, g, b = (min(255, int(c * (0.45 + 0.75 * shade))) for c in rgb)
            # the glint
            gx, gy = x + 0.5 - (cx - radius * 0.38), y + 0.5 - (cy - radius * 0.42)
            glint = max(0.0, 1.0 - math.hypot(gx, gy) / (radius * 0.28))
            r, g, b = (int(c + (255 - c) * glint * 0.85) for c in (r, g, b))
            pixels[x, y] = (r, g, b, int(round(alpha * 255)))
    return png_ico_file(size, size, pixels)


def png_ico_file(width, height, pixels):
    """An icon whose one image is a 32-bit RGBA PNG, which Windows (since Vista)
    and Wine read like the bitmap form: a quarter of the bytes in the program."""
    def chunk(kind, data):
        return (struct.pack(">I", len(data)) + kind + data +
                struct.pack(">I", zlib.crc32(kind + data) & 0xFFFFFFFF))
    raw = b"".join(b"\0" + b"".join(struct.pack("BBBB", *pixels[x, y]) for x in range(width))
                   for y in range(height))
    png = (b"\x89PNG\r\n\x1a\n" +
           chunk(b"IHDR", struct.pack(">IIBBBBB", width, height, 8, 6, 0, 0, 0)) +
           chunk(b"IDAT", zlib.compress(raw, 9)) + chunk(b"IEND", b""))
    directory = struct.pack("<HHH", 0, 1, 1)
    entry = struct.pack("<BBBBHHII", width % 256, height % 256, 0, 0, 1, 32, len(png), 6 + 16)
    return directory + entry + png

# --- The program icon: a small globe in the 16 standard colours ------------------

VGA = [(0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0), (0, 0, 128), (128, 0, 128),
       (0, 128, 128), (192, 192, 192), (128, 128, 128), (255, 0, 0), (0, 255, 0),
       (255, 255, 0), (0, 0, 255), (255, 0, 255), (0, 255, 255), (255, 255, 255)]
BLACK, NAVY, GREEN, BLUE, LIME, YELLOW, WHITE = 0, 4, 2, 12, 10, 11, 15

GLOBE = [
    "................",
    ".....YYYYYY.....",
    "...YY......YY...",
    "..Y..NNNNNN..Y..",
    ".Y..NBBGGBBN..Y.",
    ".Y.NBGGGGBBBN.Y.",
    "Y.NBBGGGBBBBBN.Y",
    "Y.NBBBGGBBGGBN.Y",
    "Y.NBBBBGBGGGBN.Y",
    "Y.NBBBBBBGGGBN.Y",
    ".Y.NBBBBBBGBN.Y.",
    ".Y..NBBBBBBN..Y.",
    "..Y..NNNNNN..Y..",
    "...YY......YY...",
    ".....YYYYYY.....",
    "................",
]
GLOBE_COLOURS = {"N": NAVY, "B": BLUE, "G": LIME, "Y": YELLOW}


def program_icon():
    palette = b"".join(struct.pack("<BBBB", b, g, r, 0) for r, g, b in VGA)

    def row(y):
        line = GLOBE[y]
        out = bytearray()
        for x in range(0, 16, 2):
            hi = GLOBE_COLOURS.get(line[x], BLACK)
            lo = GLOBE_COLOURS.get(line[x + 1], BLACK)
            out.append(hi << 4 | lo)
        return bytes(out)
    xor_bits = bmp_rows(16, 16, row)
    mask = and_mask(16, 16, lambda x, y: GLOBE[y][x] == ".")
    return ico_file(16, 16, 4, 16, palette, xor_bits, mask)

# --- The description text ----------------------------------------------------------

# Lines 2, 6 and 7 end with LF CR, the others with CR LF; a ninth line of one
# space and a terminating zero follow.
def description(path):
    lines = open(path, encoding="utf-8").read().splitlines()
    assert len(lines) == 8, "the description has eight lines"
    out = b""
    for number, line in enumerate(lines, start=1):
        out += line.encode("cp1251") + (b"\n\r" if number in (2, 6, 7) else b"\r\n")
    return out + b" \0"


def main():
    source, folder = sys.argv[1], sys.argv[2]
    os.makedirs(folder, exist_ok=True)
    outputs = {
        "ICON0.ico": program_icon(),
        "ICON1.ico": lamp((230, 20, 20)),
        "ICON2.ico": lamp((250, 220, 0)),
        "ICON3.ico": lamp((20, 170, 40)),
        "ICON4.ico": lamp((128, 128, 64)),
        "Str1.bin": description(source),
    }
    for name, data in outputs.items():
        with open(os.path.join(folder, name), "wb") as f:
            f.write(data)


if __name__ == "__main__":
    main()
