#!/usr/bin/env python3
"""Draws Zorvel's small game and state icons as 32x32 PNG files.

Each game icon is a rounded tile in the game's own colour with a short label in a
5x7 pixel font; the PunkBuster icon is a green disc with "PB", the password icon a
padlock. Run it from this folder: python3 draw_icons.py
"""
import struct
import zlib

SIZE = 32

# A 5x7 pixel font holding only the glyphs the labels use; '#' is ink.
GLYPHS = {
    "C": [" ### ", "#   #", "#    ", "#    ", "#    ", "#   #", " ### "],
    "D": ["#### ", "#   #", "#   #", "#   #", "#   #", "#   #", "#### "],
    "U": ["#   #", "#   #", "#   #", "#   #", "#   #", "#   #", " ### "],
    "O": [" ### ", "#   #", "#   #", "#   #", "#   #", "#   #", " ### "],
    "E": ["#####", "#    ", "#    ", "#### ", "#    ", "#    ", "#####"],
    "T": ["#####", "  #  ", "  #  ", "  #  ", "  #  ", "  #  ", "  #  "],
    "P": ["#### ", "#   #", "#   #", "#### ", "#    ", "#    ", "#    "],
    "B": ["#### ", "#   #", "#   #", "#### ", "#   #", "#   #", "#### "],
    "o": ["     ", "     ", " ### ", "#   #", "#   #", "#   #", " ### "],
    "r": ["     ", "     ", "# ## ", "##  #", "#    ", "#    ", "#    "],
    "k": ["#    ", "#    ", "#  # ", "# #  ", "##   ", "# #  ", "#  # "],
    "2": [" ### ", "#   #", "    #", "   # ", "  #  ", " #   ", "#####"],
    "4": ["   # ", "  ## ", " # # ", "#  # ", "#####", "   # ", "   # "],
    "3": ["#### ", "    #", "    #", " ### ", "    #", "    #", "#### "],
    "Q": [" ### ", "#   #", "#   #", "#   #", "# # #", "#  # ", " ## #"],
    "A": [" ### ", "#   #", "#   #", "#####", "#   #", "#   #", "#   #"],
    "X": ["#   #", "#   #", " # # ", "  #  ", " # # ", "#   #", "#   #"],
    "N": ["#   #", "##  #", "# # #", "#  ##", "#   #", "#   #", "#   #"],
    "n": ["     ", "     ", "# ## ", "##  #", "#   #", "#   #", "#   #"],
    "e": ["     ", "     ", " ### ", "#   #", "#####", "#    ", " ### "],
    "x": ["     ", "     ", "#   #", " # # ", "  #  ", " # # ", "#   #"],
}


def blank(colour=(0, 0, 0, 0)):
    return [[colour] * SIZE for _ in range(SIZE)]


def rounded_tile(pixels, colour, border):
    for y in range(SIZE):
        for x in range(SIZE):
            corner = min(x, SIZE - 1 - x) + min(y, SIZE - 1 - y)
            if corner < 3:
                continue
            edge = x in (0, SIZE - 1) or y in (0, SIZE - 1) or corner == 3
            pixels[y][x] = border if edge else colour


def disc(pixels, colour, border):
    centre, radius = (SIZE - 1) / 2, SIZE / 2 - 0.5
    for y in range(SIZE):
        for x in range(SIZE):
            distance = ((x - centre) ** 2 + (y - centre) ** 2) ** 0.5
            if distance <= radius:
                pixels[y][x] = border if distance > radius - 1.5 else colour


def label(pixels, text, colour, scale, top):
    width = (len(text) * 6 - 1) * scale
    left = (SIZE - width) // 2
    for index, char in enumerate(text):
        for row, line in enumerate(GLYPHS[char]):
            for column, ink in enumerate(line):
                if ink != "#":
                    continue
                for dy in range(scale):
                    for dx in range(scale):
                        x = left + (index * 6 + column) * scale + dx
                        y = top + row * scale + dy
                        pixels[y][x] = colour


def padlock(pixels):
    gold, dark = (226, 178, 40, 255), (110, 80, 10, 255)
    for y in range(4, 16):
        for x in range(8, 24):
            ring = ((x - 15.5) ** 2 / 49 + (y - 13) ** 2 / 81)
            if 0.55 <= ring <= 1.0 and y <= 15:
                pixels[y][x] = dark
    for y in range(14, 30):
        for x in range(5, 27):
            edge = x in (5, 26) or y in (14, 29)
            pixels[y][x] = dark if edge else gold
    for y in range(19, 25):
        for x in range(15, 17):
            pixels[y][x] = dark


def png(pixels):
    raw = b"".join(b"\x00" + b"".join(bytes(p) for p in row) for row in pixels)

    def chunk(kind, data):
        body = kind + data
        return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body))

    header = struct.pack(">IIBBBBB", SIZE, SIZE, 8, 6, 0, 0, 0)
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header)
            + chunk(b"IDAT", zlib.compress(raw, 9)) + chunk(b"IEND", b""))


WHITE = (255, 255, 255, 255)
BLACK = (20, 20, 20, 255)

# File name, tile colour, label, label scale, label top.
GAME_TILES = [
    ("CoDgame.png", (92, 104, 52, 255), "CoD", 1, 12),
    ("UOgame.png", (128, 84, 44, 255), "UO", 2, 9),
    ("CoD2game.png", (70, 70, 74, 255), "CoD2", 1, 12),
    ("CoD4game.png", (28, 60, 36, 255), "CoD4", 1, 12),
    ("ETgame.png", (168, 32, 32, 255), "ET", 2, 9),
    ("UrbanTerrorGame.png", (36, 84, 160, 255), "UrT", 1, 12),
    ("UT2k4game.png", (214, 120, 20, 255), "UT2k4", 1, 12),
    # The Quake 3 family, named by their ids in the game catalogue.
    ("games/quake3.png", (120, 30, 20, 255), "Q3", 2, 9),
    ("games/openarena.png", (200, 150, 20, 255), "OA", 2, 9),
    ("games/xonotic.png", (30, 130, 150, 255), "Xon", 1, 12),
    ("games/nexuiz.png", (60, 40, 110, 255), "Nex", 1, 12),
]


def main():
    for name, colour, text, scale, top in GAME_TILES:
        pixels = blank()
        rounded_tile(pixels, colour, BLACK)
        label(pixels, text, WHITE, scale, top)
        write(name, pixels)
    punkbuster = blank()
    disc(punkbuster, (40, 160, 60, 255), BLACK)
    label(punkbuster, "PB", WHITE, 2, 9)
    write("PBOn.png", punkbuster)
    password = blank()
    padlock(password)
    write("PassOn.png", password)


def write(name, pixels):
    with open(name, "wb") as out:
        out.write(png(pixels))


if __name__ == "__main__":
    main()
