#!/usr/bin/env python3
"""Makes the program's own images: toolbar strips (16 x 16 cells, magenta transparent, 24-bit
BMP) from the pixel art below, and the application icon (16 and 32 px) drawn from shapes.
Run it after changing the art; the outputs in src/app/res/ are committed."""
import os
import struct

OUT = os.path.join(os.path.dirname(os.path.abspath(__file__)), '..', 'src', 'app', 'res')

PALETTE = {
    '.': (255, 0, 255),   # transparent
    'k': (0, 0, 0), 'd': (96, 96, 96), 's': (192, 192, 192), 'w': (255, 255, 255),
    'y': (255, 208, 64), 'Y': (192, 144, 16), 'b': (32, 80, 200), 'B': (128, 176, 248),
    'g': (32, 150, 56), 'G': (140, 220, 140), 'r': (208, 40, 40), 'R': (248, 150, 150),
    'o': (240, 140, 20), 'c': (40, 180, 200), 'p': (150, 70, 180), 'e': (230, 230, 230),
}

FOLDER = [
    "................",
    "................",
    "................",
    "..kkkk..........",
    ".kyyyyk.........",
    ".kyyyyykkkkkkk..",
    ".kYYYYYYYYYYYYk.",
    ".kyyyyyyyyyyyyk.",
    ".kyyyyyyyyyyyyk.",
    ".kyyyyyyyyyyyyk.",
    ".kyyyyyyyyyyyyk.",
    ".kyyyyyyyyyyyyk.",
    ".kyyyyyyyyyyyyk.",
    ".kkkkkkkkkkkkkk.",
    "................",
    "................",
]

PICTURE = [
    "................",
    "................",
    ".kkkkkkkkkkkkkk.",
    ".kBBBBBBBBBBooBk",
    ".kBBBBBBBBBBooBk",
    ".kBBBBBBBBBBBBBk",
    ".kBBBBBgBBBBBBBk",
    ".kBBBBgggBBBBBBk",
    ".kBBBgggggBBgBBk",
    ".kBBgggggggggggk",
    ".kBggggggggggggk",
    ".kgggggggggggggk",
    ".kkkkkkkkkkkkkkk",
    "................",
    "................",
    "................",
]


def overlay(base, art):
    """Pixel art drawn over a base picture; '.' in art keeps the base."""
    return [''.join(a if a != '.' else b for a, b in zip(ar, br)) for ar, br in zip(art, base)]


EMPTY = ["." * 16] * 16

MAIN = [
    # 1 new folder
    overlay(FOLDER, [
        "...........o....",
        "........o..o..o.",
        ".........o.o.o..",
        "..........ooo...",
        "........ooooooo.",
        "..........ooo...",
        ".........o.o.o..",
        "........o..o..o.",
        "...........o....",
    ] + ["." * 16] * 7),
    # 2 refresh
    [
        "................",
        ".....gggggg.....",
        "...ggGGGGGGgg...",
        "..gGGg....gGGg..",
        "..gGg......gGg..",
        ".gGg.........g..",
        ".gGg.....ggggggg",
        ".gGg......gGGGg.",
        ".gGg.......gGg..",
        ".ggggggg....g...",
        "..gGGGg.....gGg.",
        "...gGg.....gGGg.",
        "....g....ggGGg..",
        "...ggGGGGGGgg...",
        ".....gggggg.....",
        "................",
    ],
    # 3 back
    [
        "................",
        "................",
        "......b.........",
        ".....bb.........",
        "....bBb.........",
        "...bBBbbbbbbbb..",
        "..bBBBBBBBBBBb..",
        ".bBBBBBBBBBBBb..",
        "..bBBBBBBBBBBb..",
        "...bBBbbbbbbbb..",
        "....bBb.........",
        ".....bb.........",
        "......b.........",
        "................",
        "................",
        "................",
    ],
    # 4 last folder
    overlay(FOLDER, [
        "................",
        "................",
        "................",
        "................",
        "................",
        "................",
        "................",
        "......b.........",
        ".....bb.........",
        "....bBbbbbbb....",
        "...bBBBBBBBb....",
        "....bBbbbbbb....",
        ".....bb.........",
        "......b.........",
        "................",
        "................",
    ]),
    # 5 search
    [
        "................",
        "....kkkk........",
        "..kkwwwwkk......",
        "..kwBBwwwk......",
        ".kwBwwwwwwk.....",
        ".kwBwwwwwwk.....",
        ".kwwwwwwwwk.....",
        ".kwwwwwwwwk.....",
        "..kwwwwwwk......",
        "..kkwwwwkkk.....",
        "....kkkkkddk....",
        "..........kddk..",
        "...........kddk.",
        "............kddk",
        ".............kk.",
        "................",
    ],
    # 6 full screen
    [
        "................",
        ".kkkkkkkkkkkkkk.",
        ".kbbbbbbbbbbbbk.",
        ".kbwwwwwwwwwwbk.",
        ".kbwkk....kkwbk.",
        ".kbwk......kwbk.",
        ".kbw........wbk.",
        ".kbw........wbk.",
        ".kbwk......kwbk.",
        ".kbwkk....kkwbk.",
        ".kbwwwwwwwwwwbk.",
        ".kbbbbbbbbbbbbk.",
        ".kkkkkkkkkkkkkk.",
        "......kddk......",
        "....kkkkkkkk....",
        "................",
    ],
    # 7 spread (open book)
    [
        "................",
        "................",
        ".kkkkkk..kkkkkk.",
        "kwwwwwwkkwwwwwwk",
        "kwkkkkwwkwkkkkwk",
        "kwwwwwwwkwwwwwwk",
        "kwkkkkwwkwkkkkwk",
        "kwwwwwwwkwwwwwwk",
        "kwkkkkwwkwkkkkwk",
        "kwwwwwwwkwwwwwwk",
        "kwkkkwwwkwkkkwwk",
        "kwwwwwwwkwwwwwwk",
        ".kkkkkkkkkkkkkk.",
        "................",
        "................",
        "................",
    ],
    # 8 recycle bin
    [
        "................",
        "......kkkk......",
        "..kkkkkddkkkkk..",
        "..kssssssssssk..",
        "..kkkkkkkkkkkk..",
        "...kwsswsswsk...",
        "...kwsswsswsk...",
        "...kwsswsswsk...",
        "...kwsswsswsk...",
        "...kwsswsswsk...",
        "...kwsswsswsk...",
        "...kwsswsswsk...",
        "...kwsswsswsk...",
        "....kkkkkkkk....",
        "................",
        "................",
    ],
    # 9 paste (clipboard)
    [
        "................",
        ".....kkkkk......",
        ".kkkkdsssdkkkk..",
        ".kYYkkkkkkkYYk..",
        ".kYYYYYYYYYYYk..",
        ".kYYYYkkkkkkkkk.",
        ".kYYYYkwwwwwwwk.",
        ".kYYYYkwkkkkkwk.",
        ".kYYYYkwwwwwwwk.",
        ".kYYYYkwkkkkkwk.",
        ".kYYYYkwwwwwwwk.",
        ".kYYYYkwkkkkwwk.",
        ".kYYYYkwwwwwwwk.",
        ".kkkkkkkkkkkkkk.",
        "................",
        "................",
    ],
    # 10 copy (two sheets)
    [
        "................",
        ".kkkkkkk........",
        ".kwwwwwkk.......",
        ".kwkkkwkwk......",
        ".kwwwwwkkkkkkk..",
        ".kwkkkkkwwwwwkk.",
        ".kwwwwkwkkkwwkwk",
        ".kwkkkkwwwwwwkkk",
        ".kwwwwkwkkkkkwwk",
        ".kkkkkkwwwwwwwwk",
        "......kwkkkkkkwk",
        "......kwwwwwwwwk",
        "......kwkkkkkwwk",
        "......kwwwwwwwwk",
        "......kkkkkkkkkk",
        "................",
    ],
    # 11 extract (box, arrow out)
    [
        "......r.........",
        ".....rrr........",
        "....rrrrr.......",
        "......r.........",
        "......r.........",
        "..kkkkrkkkkkk...",
        ".kYYYYrYYYYYYk..",
        "kkkkkkkkkkkkkkk.",
        "kyyyyyyyyyyyyyk.",
        "kyyyyykkkyyyyyk.",
        "kyyyyyyyyyyyyyk.",
        "kyyyyyyyyyyyyyk.",
        "kyyyyyyyyyyyyyk.",
        "kkkkkkkkkkkkkkk.",
        "................",
        "................",
    ],
    # 12 compress (box, arrow in)
    [
        "......b.........",
        "......b.........",
        "......b.........",
        "....bbbbb.......",
        ".....bbb........",
        "..kkkkbkkkkkk...",
        ".kYYYYYYYYYYYk..",
        "kkkkkkkkkkkkkkk.",
        "kyyyyyyyyyyyyyk.",
        "kyyyyykkkyyyyyk.",
        "kyyyyyyyyyyyyyk.",
        "kyyyyyLHAyyyyyk.".replace('L', 'b').replace('H', 'b').replace('A', 'b'),
        "kyyyyyyyyyyyyyk.",
        "kkkkkkkkkkkkkkk.",
        "................",
        "................",
    ],
    # 13 select all files (list)
    [
        "................",
        ".kkkkkkkkkkkkkk.",
        ".kbbbbbbbbbbbbk.",
        ".kwwwwwwwwwwwwk.",
        ".kBBBBBBBBBBBBk.",
        ".kwwwwwwwwwwwwk.",
        ".kBBBBBBBBBBBBk.",
        ".kwwwwwwwwwwwwk.",
        ".kBBBBBBBBBBBBk.",
        ".kwwwwwwwwwwwwk.",
        ".kBBBBBBBBBBBBk.",
        ".kwwwwwwwwwwwwk.",
        ".kBBBBBBBBBBBBk.",
        ".kkkkkkkkkkkkkk.",
        "................",
        "................",
    ],
    # 14 select all images (grid)
    [
        "................",
        ".kkkkkk..kkkkkk.",
        ".kBBoBk..kBBBBk.",
        ".kBgBBk..kBBoBk.",
        ".kgggBk..kBgggk.",
        ".kggggk..kggggk.",
        ".kkkkkk..kkkkkk.",
        "................",
        "................",
        ".kkkkkk..kkkkkk.",
        ".kBBBBk..kBoBBk.",
        ".kBBgBk..kBBBgk.",
        ".kBgggk..kgBggk.",
        ".kggggk..kggggk.",
        ".kkkkkk..kkkkkk.",
        "................",
    ],
    # 15 thumbnail size
    overlay(PICTURE, [
        "r...............",
        "rr..............",
        "rrr.............",
        "r.r.............",
        "................",
        "................",
        "................",
        "................",
        "................",
        "................",
        "................",
        "................",
        "...........r.r..",
        "............rrr.",
        ".............rr.",
        "..............r.",
    ]),
    # 16 captions
    [
        "................",
        "..kkkkkkkkkkkk..",
        "..kBBBBBBBBooBk.",
        "..kBBBBgBBBBBBk.",
        "..kBBBgggBBBBBk.",
        "..kBBgggggBgBBk.",
        "..kBgggggggggBk.",
        "..kgggggggggggk.",
        "..kkkkkkkkkkkkk.",
        "................",
        "..kkk.kk.kkkk...",
        "................",
        "...kkkk.kkk.....",
        "................",
        "................",
        "................",
    ],
    # 17 small icons
    overlay(PICTURE, [
        "................",
        "................",
        "................",
        "................",
        "................",
        "................",
        "................",
        "................",
        "................",
        ".........kkkkkkk",
        ".........kwwwwwk",
        ".........kwyyywk",
        ".........kwyyywk",
        ".........kwwwwwk",
        ".........kkkkkkk",
        "................",
    ]),
    # 18 folder-tree preview
    overlay(FOLDER, [
        "................",
        "................",
        "................",
        "................",
        "................",
        "................",
        "................",
        "................",
        "........kkkkkkkk",
        "........kBBBoBBk",
        "........kBBgBBBk",
        "........kBgggBBk",
        "........kgggggBk",
        "........kggggggk",
        "........kkkkkkkk",
        "................",
    ]),
    # 19 thumbnail-panel preview
    overlay(PICTURE, [
        "................",
        "................",
        "................",
        "................",
        "................",
        "................",
        "................",
        "................",
        "........kkkkkkkk",
        "........kwwwwwwk",
        "........kwkkwwwk",
        "........kwkkkwwk",
        "........kwwwwwwk",
        "........kkkkkkkk",
        "................",
        "................",
    ]),
    # 20 version & help
    [
        "................",
        ".....bbbbbb.....",
        "...bbBBBBBBbb...",
        "..bBBBwwwwBBBb..",
        "..bBBwwBBwwBBb..",
        ".bBBBBBBBwwBBBb.",
        ".bBBBBBBwwBBBBb.",
        ".bBBBBBwwBBBBBb.",
        ".bBBBBBwwBBBBBb.",
        ".bBBBBBBBBBBBBb.",
        "..bBBBBwwBBBBb..",
        "..bBBBBwwBBBBb..",
        "...bbBBBBBBbb...",
        ".....bbbbbb.....",
        "................",
        "................",
    ],
]

ARROW_UP_DOWN = [
    "................",
    ".......b........",
    "......bbb.......",
    ".....bBBBb......",
    "....bBBBBBb.....",
    "......bBb.......",
    "......bBb.......",
    "..dddddddddddd..",
    "......bBb.......",
    "......bBb.......",
    "....bBBBBBb.....",
    ".....bBBBb......",
    "......bbb.......",
    ".......b........",
    "................",
    "................",
]
ROTATE_LEFT = [
    "................",
    "................",
    "....b...........",
    "...bb...........",
    "..bBbbbbbbb.....",
    ".bBBBBBBBBBbb...",
    "..bBbbbbbbbBBb..",
    "...bb......bBb..",
    "....b.......bBb.",
    ".............bb.",
    ".............bb.",
    ".............bb.",
    "............bBb.",
    "..........bbBb..",
    "..........bbb...",
    "................",
]


def mirror(art):
    return [row[::-1] for row in art]


def transpose(art):
    return [''.join(art[x][y] for x in range(16)) for y in range(16)]


PREVIEW = [ARROW_UP_DOWN, ROTATE_LEFT, mirror(ROTATE_LEFT), transpose(ARROW_UP_DOWN)]

ADD_TAB = [[
    "................",
    "................",
    "................",
    "..........g.....",
    "..........g.....",
    "........ggggg...",
    "..........g.....",
    "..kkkkkk..g.....",
    ".kwwwwwwk.......",
    ".kwwwwwwkkkkkkk.",
    ".kwwwwwwwwwwwwk.",
    ".kwwwwwwwwwwwwk.",
    ".kwwwwwwwwwwwwk.",
    ".kkkkkkkkkkkkkk.",
    "................",
    "................",
]]


def bmp24(width, height, pixel):
    """A bottom-up 24-bit BMP; pixel(x, y) gives (r, g, b) for the top-down coordinates."""
    stride = (width * 3 + 3) & ~3
    rows = []
    for y in reversed(range(height)):
        row = bytearray()
        for x in range(width):
            r, g, b = pixel(x, y)
            row += bytes((b, g, r))
        row += b'\0' * (stride - len(row))
        rows.append(bytes(row))
    data = b''.join(rows)
    header = struct.pack('<2sIHHI', b'BM', 54 + len(data), 0, 0, 54)
    info = struct.pack('<IiiHHIIiiII', 40, width, height, 1, 24, 0, len(data), 2835, 2835, 0, 0)
    return header + info + data


def strip(cells):
    for i, art in enumerate(cells):
        assert len(art) == 16 and all(len(r) == 16 for r in art), i
    return bmp24(16 * len(cells), 16, lambda x, y: PALETTE[cells[x // 16][y][x % 16]])


def icon_pixel(size):
    """The application icon: a framed picture of a hill under a sun, with transparency."""
    def px(x, y):
        u, v = (x + 0.5) / size, (y + 0.5) / size
        if not (0.06 <= u <= 0.94 and 0.12 <= v <= 0.88):
            return None
        if u < 0.13 or u > 0.87 or v < 0.19 or v > 0.81:
            return (120, 60, 20) if (u < 0.09 or u > 0.91 or v < 0.15 or v > 0.85) else (200, 130, 50)
        if (u - 0.66) ** 2 + (v - 0.36) ** 2 < 0.008:
            return (250, 190, 30)
        hill = 0.62 + 0.12 * ((u - 0.4) * 3) ** 2
        if v > hill:
            return (40, 150, 60)
        if v > 0.5 + abs(u - 0.36) * 0.9:
            return (90, 110, 130)
        return (120 + int(100 * v), 170 + int(60 * v), 250)
    return px


def ico(sizes):
    images = []
    for size in sizes:
        px = icon_pixel(size)
        xor = bytearray()
        for y in reversed(range(size)):
            for x in range(size):
                c = px(x, y)
                xor += bytes((c[2], c[1], c[0], 255)) if c else bytes((0, 0, 0, 0))
        mask_stride = ((size + 31) // 32) * 4
        mask = bytearray()
        for y in reversed(range(size)):
            row = bytearray(mask_stride)
            for x in range(size):
                if px(x, y) is None:
                    row[x // 8] |= 0x80 >> (x % 8)
            mask += row
        info = struct.pack('<IiiHHIIiiII', 40, size, size * 2, 1, 32, 0, len(xor) + len(mask), 0, 0, 0, 0)
        images.append((size, info + bytes(xor) + bytes(mask)))
    out = struct.pack('<HHH', 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for size, data in images:
        out += struct.pack('<BBBBHHII', size % 256, size % 256, 0, 0, 1, 32, len(data), offset)
        offset += len(data)
    return out + b''.join(d for _, d in images)


def main():
    os.makedirs(OUT, exist_ok=True)
    files = {
        'toolbar-main.bmp': strip(MAIN),
        'toolbar-preview.bmp': strip(PREVIEW),
        'toolbar-addtab.bmp': strip(ADD_TAB),
        'mirabelo.ico': ico([16, 32]),
    }
    for name, data in files.items():
        with open(os.path.join(OUT, name), 'wb') as f:
            f.write(data)


if __name__ == '__main__':
    main()
