#!/usr/bin/env python3
"""Draws the run's copy animation and writes it as copy.avi: 21 frames of 272 x 60
pixels, 8-bit palette, RLE8-compressed, the kind of clip the animation control plays
without any codec. A sheet of paper flies in an arc from a folder into a database.
The top-left pixel's colour is the background the control makes transparent.
Run only to change the clip; the output is kept in the repository."""
import math
import os
import struct

WIDTH, HEIGHT, FRAMES = 272, 60, 21
PALETTE = [
    (255, 0, 255),    # 0 background (transparent)
    (0, 0, 0),        # 1 outline
    (240, 200, 80),   # 2 folder
    (200, 150, 40),   # 3 folder shade
    (255, 255, 255),  # 4 paper
    (150, 150, 150),  # 5 paper lines
    (47, 111, 181),   # 6 database
    (140, 192, 240),  # 7 database top
    (29, 79, 134),    # 8 database outline
]


def new_frame():
    return [[0] * WIDTH for _ in range(HEIGHT)]


def rect(f, x0, y0, x1, y1, c):
    for y in range(max(0, y0), min(HEIGHT, y1)):
        for x in range(max(0, x0), min(WIDTH, x1)):
            f[y][x] = c


def frame_rect(f, x0, y0, x1, y1, c):
    rect(f, x0, y0, x1, y0 + 1, c)
    rect(f, x0, y1 - 1, x1, y1, c)
    rect(f, x0, y0, x0 + 1, y1, c)
    rect(f, x1 - 1, y0, x1, y1, c)


def ellipse(f, cx, cy, rx, ry, fill, outline):
    for y in range(HEIGHT):
        for x in range(WIDTH):
            d = ((x + 0.5 - cx) / rx) ** 2 + ((y + 0.5 - cy) / ry) ** 2
            if d <= 1.0:
                f[y][x] = outline if d > 0.72 else fill


def folder(f, x, y):
    rect(f, x, y + 4, x + 14, y + 8, 3)
    frame_rect(f, x, y + 4, x + 14, y + 9, 1)
    rect(f, x, y + 8, x + 44, y + 38, 2)
    frame_rect(f, x, y + 8, x + 44, y + 38, 1)
    rect(f, x + 1, y + 30, x + 43, y + 37, 3)


def database(f, x, y):
    rect(f, x, y + 6, x + 36, y + 34, 6)
    rect(f, x, y + 6, x + 1, y + 34, 8)
    rect(f, x + 35, y + 6, x + 36, y + 34, 8)
    ellipse(f, x + 18, y + 34, 18, 5, 6, 8)
    rect(f, x + 1, y + 28, x + 35, y + 34, 6)
    ellipse(f, x + 18, y + 6, 18, 5, 7, 8)


def paper(f, x, y):
    rect(f, x, y, x + 14, y + 18, 4)
    frame_rect(f, x, y, x + 14, y + 18, 1)
    for line in range(4):
        rect(f, x + 3, y + 4 + line * 3, x + 11, y + 5 + line * 3, 5)


def frames():
    result = []
    for i in range(FRAMES):
        f = new_frame()
        folder(f, 24, 14)
        database(f, 212, 14)
        t = i / (FRAMES - 1)
        x = int(44 + t * (208 - 44))
        y = int(30 - math.sin(t * math.pi) * 26)
        paper(f, x, y)
        result.append(f)
    return result


def rle8(f):
    out = bytearray()
    for y in range(HEIGHT - 1, -1, -1):  # bottom-up rows
        row = f[y]
        x = 0
        while x < WIDTH:
            run = 1
            while x + run < WIDTH and run < 255 and row[x + run] == row[x]:
                run += 1
            out += bytes((run, row[x]))
            x += run
        out += b"\x00\x00"  # end of line
    out[-2:] = b"\x00\x01"  # end of bitmap
    return bytes(out)


def chunk(fourcc, data):
    pad = b"\x00" if len(data) % 2 else b""
    return fourcc + struct.pack("<I", len(data)) + data + pad


def riff_list(kind, payload):
    return b"LIST" + struct.pack("<I", len(payload) + 4) + kind + payload


def main():
    data = [rle8(f) for f in frames()]
    usec = 100000
    biggest = max(len(d) for d in data)
    avih = struct.pack("<IIIIIIIIII4I", usec, biggest * 10, 0, 0x10, FRAMES, 0, 1, biggest, WIDTH, HEIGHT,
                       0, 0, 0, 0)
    strh = (b"vids" + b"\x00\x00\x00\x00" +
            struct.pack("<IHHIIIIIIIIhhhh", 0, 0, 0, 0, 1, 10, 0, FRAMES, biggest, 0xFFFFFFFF, 0,
                        0, 0, WIDTH, HEIGHT))
    # The image size is that of the largest frame: decoders stop at the end-of-bitmap mark.
    bih = struct.pack("<IiiHHIIiiII", 40, WIDTH, HEIGHT, 1, 8, 1, biggest, 0, 0, len(PALETTE), len(PALETTE))
    palette = b"".join(struct.pack("BBBB", b, g, r, 0) for r, g, b in PALETTE)
    hdrl = riff_list(b"hdrl", chunk(b"avih", avih) +
                     riff_list(b"strl", chunk(b"strh", strh) + chunk(b"strf", bih + palette)))
    movi_payload = b""
    index = b""
    for d in data:
        offset = 4 + len(movi_payload)  # from the "movi" type
        movi_payload += chunk(b"00dc", d)
        index += b"00dc" + struct.pack("<III", 0x10, offset, len(d))
    body = b"AVI " + hdrl + riff_list(b"movi", movi_payload) + chunk(b"idx1", index)
    with open(os.path.join(os.path.dirname(os.path.abspath(__file__)), "copy.avi"), "wb") as out:
        out.write(b"RIFF" + struct.pack("<I", len(body)) + body)


if __name__ == "__main__":
    main()
