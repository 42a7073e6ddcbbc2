#!/usr/bin/env python3
"""Draws the window's pictures as 32 x 32 pixel art and writes them as resource files.

    python3 resources/make_pictures.py      (writes next to this script)

orvalis.ico          the application icon: a memory module on a dark tile (32-bit, alpha)
memory_module.ico    a green memory module (32-bit, alpha): title picture and image 0
expansion_card.ico   an expansion card (32-bit, alpha): image 1
pdf_document.bmp     a PDF page (24-bit); the bottom-left pixel's colour is transparent
"""
import os
import struct

SIZE = 32
CLEAR = (0, 0, 0, 0)
KEY = (255, 0, 255, 255)  # transparent colour of the 24-bit picture


def canvas(fill=CLEAR):
    return [[fill for _ in range(SIZE)] for _ in range(SIZE)]


def rgba(r, g, b, a=255):
    return (r, g, b, a)


def rect(img, x0, y0, x1, y1, colour):
    """Fills x0..x1, y0..y1 inclusive."""
    for y in range(max(0, y0), min(SIZE - 1, y1) + 1):
        for x in range(max(0, x0), min(SIZE - 1, x1) + 1):
            img[y][x] = colour


def frame(img, x0, y0, x1, y1, colour):
    rect(img, x0, y0, x1, y0, colour)
    rect(img, x0, y1, x1, y1, colour)
    rect(img, x0, y0, x0, y1, colour)
    rect(img, x1, y0, x1, y1, colour)


def round_corners(img, x0, y0, x1, y1, colour):
    """Softens a framed rectangle's corners with half-transparent pixels."""
    r, g, b, _ = colour
    for x, y in ((x0, y0), (x1, y0), (x0, y1), (x1, y1)):
        img[y][x] = (r, g, b, 110)


def shadow(img, x0, y0, x1, y1):
    for y in range(y0, y1 + 1):
        for x in range(x0, x1 + 1):
            if img[y][x][3] == 0:
                img[y][x] = (0, 0, 0, 55)


def draw_module(img, top=9):
    """A green memory module (DIMM) seen from the front, 30 pixels wide."""
    y0, y1 = top, top + 14
    shadow(img, 2, y0 + 1, 31, y1 + 1)
    pcb, edge, light = rgba(38, 150, 64), rgba(16, 92, 36), rgba(96, 196, 112)
    rect(img, 0, y0, 30, y1, pcb)
    frame(img, 0, y0, 30, y1, edge)
    rect(img, 1, y0 + 1, 29, y0 + 1, light)
    round_corners(img, 0, y0, 30, y1, edge)
    # side notches where the slot's latches hold the module
    rect(img, 0, y0 + 6, 1, y0 + 8, CLEAR)
    rect(img, 29, y0 + 6, 30, y0 + 8, CLEAR)
    # memory chips with a highlight along their top
    chip, chip_light = rgba(36, 36, 40), rgba(92, 92, 104)
    for cx in (3, 10, 17, 24):
        rect(img, cx, y0 + 3, cx + 4, y0 + 8, chip)
        rect(img, cx, y0 + 3, cx + 4, y0 + 3, chip_light)
        rect(img, cx + 1, y0 + 5, cx + 1, y0 + 5, chip_light)
    # gold contacts along the bottom edge, with the key notch
    gold, gold_dark = rgba(236, 188, 52), rgba(170, 120, 20)
    for x in range(2, 29):
        rect(img, x, y1 - 3, x, y1 - 1, gold if x % 2 == 0 else gold_dark)
    rect(img, 12, y1 - 3, 13, y1, CLEAR)


def memory_module():
    img = canvas()
    draw_module(img)
    return img


def expansion_card():
    img = canvas()
    # metal bracket on the left with its screw tab
    steel, steel_dark, steel_light = rgba(176, 184, 194), rgba(104, 112, 124), rgba(226, 230, 236)
    rect(img, 1, 3, 4, 29, steel)
    rect(img, 1, 3, 1, 29, steel_light)
    rect(img, 4, 3, 4, 29, steel_dark)
    rect(img, 1, 2, 8, 4, steel)
    rect(img, 1, 2, 8, 2, steel_light)
    rect(img, 6, 3, 6, 3, steel_dark)
    rect(img, 2, 29, 3, 30, steel_dark)
    # ports in the bracket
    for py in (9, 15):
        rect(img, 2, py, 3, py + 3, rgba(30, 34, 40))
    # blue board
    shadow(img, 6, 7, 31, 26)
    board, board_edge, board_light = rgba(40, 92, 170), rgba(20, 50, 104), rgba(92, 144, 214)
    rect(img, 5, 6, 30, 23, board)
    frame(img, 5, 6, 30, 23, board_edge)
    rect(img, 6, 7, 29, 7, board_light)
    round_corners(img, 5, 6, 30, 23, board_edge)
    # processor under a cooler, and two small chips
    rect(img, 12, 9, 23, 19, rgba(58, 60, 66))
    rect(img, 13, 10, 22, 18, rgba(148, 154, 164))
    for fy in range(11, 18, 2):
        rect(img, 14, fy, 21, fy, rgba(96, 100, 110))
    rect(img, 25, 9, 28, 12, rgba(36, 36, 40))
    rect(img, 25, 15, 28, 18, rgba(36, 36, 40))
    rect(img, 7, 10, 9, 11, rgba(230, 200, 90))
    rect(img, 7, 14, 9, 15, rgba(230, 200, 90))
    # gold edge connector below the board, with its key gap
    gold, gold_dark = rgba(236, 188, 52), rgba(170, 120, 20)
    for x in range(9, 29):
        if x in (16, 17):
            continue
        rect(img, x, 24, x, 27, gold if x % 2 else gold_dark)
    rect(img, 9, 24, 28, 24, board_edge)
    rect(img, 16, 24, 17, 24, CLEAR)
    return img


def pdf_document():
    img = canvas(KEY)
    paper, outline, fold = rgba(255, 255, 255), rgba(120, 120, 128), rgba(214, 216, 222)
    # page with a folded top-right corner: the corner above the diagonal is cut away,
    # the triangle below it is the folded-over paper
    rect(img, 6, 1, 25, 30, paper)
    frame(img, 6, 1, 25, 30, outline)
    for y in range(1, 8):
        for x in range(19, 26):
            if x - 19 > y - 1:
                img[y][x] = KEY
            elif x - 19 == y - 1 or y == 7 or x == 19:
                img[y][x] = outline
            else:
                img[y][x] = fold
    # text lines
    grey = rgba(168, 172, 180)
    for ly in (5, 8, 11):
        rect(img, 9, ly, 16 if ly < 9 else 22, ly, grey)
    # red band with "PDF" in a 3 x 5 pixel font
    red, white = rgba(200, 30, 36), rgba(255, 255, 255)
    rect(img, 3, 15, 28, 24, red)
    rect(img, 3, 24, 28, 24, rgba(140, 16, 20))
    glyphs = {
        "P": ["111", "101", "111", "100", "100"],
        "D": ["110", "101", "101", "101", "110"],
        "F": ["111", "100", "110", "100", "100"],
    }
    x = 8
    for letter in "PDF":
        for row, bits in enumerate(glyphs[letter]):
            for col, bit in enumerate(bits):
                if bit == "1":
                    rect(img, x + col * 2, 17 + row, x + col * 2 + 1, 17 + row, white)
        x += 6 + 2
    for ly in (27,):
        rect(img, 9, ly, 22, ly, grey)
    # keep the bottom-left pixel the transparent colour
    img[SIZE - 1][0] = KEY
    return img


def app_icon():
    img = canvas()
    tile, tile_edge, tile_light = rgba(34, 40, 52), rgba(12, 14, 20), rgba(72, 82, 102)
    rect(img, 0, 0, 31, 31, tile)
    frame(img, 0, 0, 31, 31, tile_edge)
    rect(img, 1, 1, 30, 1, tile_light)
    for x, y in ((0, 0), (31, 0), (0, 31), (31, 31)):
        img[y][x] = CLEAR
    for x, y in ((1, 0), (0, 1), (30, 0), (31, 1), (0, 30), (1, 31), (31, 30), (30, 31)):
        img[y][x] = (12, 14, 20, 140)
    module = canvas()
    draw_module(module, top=8)
    for y in range(SIZE):
        for x in range(SIZE):
            r, g, b, a = module[y][x]
            if a == 255 and 1 <= x <= 30:
                img[y][x] = module[y][x]
    # a gauge bar under the module: the memory load the program shows
    rect(img, 4, 25, 27, 27, rgba(20, 22, 28))
    rect(img, 5, 26, 18, 26, rgba(96, 220, 120))
    return img


def write_ico(path, img):
    xor = bytearray()
    for row in reversed(img):
        for r, g, b, a in row:
            xor += bytes((b, g, r, a))
    mask = bytearray()
    for row in reversed(img):
        bits = 0
        for x, (_, _, _, a) in enumerate(row):
            if a == 0:
                bits |= 1 << (31 - x)
        mask += struct.pack(">I", bits)
    header = struct.pack("<IiiHHIIiiII", 40, SIZE, SIZE * 2, 1, 32, 0, len(xor) + len(mask), 0,
                         0, 0, 0)
    payload = header + xor + mask
    icondir = struct.pack("<HHH", 0, 1, 1)
    entry = struct.pack("<BBBBHHII", SIZE, SIZE, 0, 0, 1, 32, len(payload), 6 + 16)
    with open(path, "wb") as f:
        f.write(icondir + entry + payload)


def write_bmp24(path, img):
    pixels = bytearray()
    for row in reversed(img):
        for r, g, b, _ in row:
            pixels += bytes((b, g, r))
    info = struct.pack("<IiiHHIIiiII", 40, SIZE, SIZE, 1, 24, 0, len(pixels), 2835, 2835, 0, 0)
    offset = 14 + len(info)
    filehdr = struct.pack("<2sIHHI", b"BM", offset + len(pixels), 0, 0, offset)
    with open(path, "wb") as f:
        f.write(filehdr + info + pixels)


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    write_ico(os.path.join(here, "orvalis.ico"), app_icon())
    write_ico(os.path.join(here, "memory_module.ico"), memory_module())
    write_ico(os.path.join(here, "expansion_card.ico"), expansion_card())
    write_bmp24(os.path.join(here, "pdf_document.bmp"), pdf_document())


if __name__ == "__main__":
    main()
