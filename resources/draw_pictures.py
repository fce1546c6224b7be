#!/usr/bin/env python3
"""Draws the program icon and the five toolbar pictures as XPM files.

Run from anywhere: python3 resources/draw_pictures.py [--preview DIR]

Writes icons/program.xpm (32 x 32), icons/zeroraz.png (the same icon as PNG,
read back from the XPM) and toolbar/*.xpm (32 x 16: the normal picture on the
left, the disabled one on the right). Every picture uses the 16-colour VGA
palette. A toolbar picture's bottom-left pixel is its transparent key colour.
With --preview, 8x enlarged PNG copies go into DIR for looking at.

Only the standard library is used, and the output is the same on every run.
"""

import argparse
import os
import struct
import sys
import zlib

HERE = os.path.dirname(os.path.abspath(__file__))

# The 16 VGA colours, each with the letter that stands for it in the drawings
# below and in the XPM files.
PALETTE = {
    "k": "#000000",  # black
    "m": "#800000",  # maroon
    "g": "#008000",  # green
    "o": "#808000",  # olive
    "n": "#000080",  # navy
    "p": "#800080",  # purple
    "t": "#008080",  # teal
    "s": "#C0C0C0",  # silver
    "d": "#808080",  # grey
    "r": "#FF0000",  # red
    "l": "#00FF00",  # lime
    "y": "#FFFF00",  # yellow
    "b": "#0000FF",  # blue
    "f": "#FF00FF",  # fuchsia
    "c": "#00FFFF",  # aqua
    "w": "#FFFFFF",  # white
}

# "." is the background: transparent in the icon, the key colour (fuchsia,
# never used inside a picture) in the toolbar pictures.
BACKGROUND = "."
TOOLBAR_KEY = "f"


def Luminance(letter):
    value = PALETTE[letter]
    r, g, b = (int(value[i : i + 2], 16) for i in (1, 3, 5))
    return 0.299 * r + 0.587 * g + 0.114 * b


class TCanvas:
    """A grid of palette letters with a few drawing operations."""

    def __init__(self, width, height):
        self.FWidth = width
        self.FHeight = height
        self.FRows = [[BACKGROUND] * width for _ in range(height)]

    def Put(self, x, y, letter):
        if 0 <= x < self.FWidth and 0 <= y < self.FHeight:
            self.FRows[y][x] = letter

    def Fill(self, x0, y0, x1, y1, letter):
        for y in range(y0, y1 + 1):
            for x in range(x0, x1 + 1):
                self.Put(x, y, letter)

    def Paste(self, x0, y0, drawing):
        """Copies a drawing (rows of letters) onto the canvas; "." is left clear."""
        for dy, row in enumerate(drawing):
            for dx, letter in enumerate(row):
                if letter != BACKGROUND:
                    self.Put(x0 + dx, y0 + dy, letter)

    def Lines(self):
        return ["".join(row) for row in self.FRows]


def CheckDrawing(name, drawing, width, height):
    if len(drawing) != height or any(len(row) != width for row in drawing):
        sys.exit(f"{name}: drawing is not {width} x {height}")
    for row in drawing:
        for letter in row:
            if letter != BACKGROUND and letter not in PALETTE:
                sys.exit(f"{name}: unknown letter {letter!r}")


# ---------------------------------------------------------------------------
# Toolbar pictures, 16 x 16 each.

DIRECTORY = [
    ".kkkk...........",
    "kyyyykkkkk......",
    "kwwwwwwwwwk.....",
    "kwyyyyyyyok.....",
    "kwyyyyyyyok.....",
    "kkkkkkkkkkk.....",
    "..k....kkk......",
    "..k...kyyykkkkk.",
    "..kkkkkwwwwwwwk.",
    "..k...kwyyyyyok.",
    "..k...kkkkkkkkk.",
    "..k....kkk......",
    "..k...kyyykkkkk.",
    "..kkkkkwwwwwwwk.",
    "......kwyyyyyok.",
    "......kkkkkkkkk.",
]

SAVE = [
    "kkkkkkkkkkkkkkk.",
    "knkwwwwwwwwwknnk",
    "knkwwwwwwwwwknnk",
    "knkwddddddwwknnk",
    "knkwwwwwwwwwknnk",
    "knkwddddddwwknnk",
    "knkwwwwwwwwwknnk",
    "knnkkkkkkkkknnnk",
    "knnnnnnnnnnnnnnk",
    "knnnsssssssssnnk",
    "knnnssknnsssnnnk",
    "knnnssknnsssnnnk",
    "knnnssknnsssnnnk",
    "knnnsssssssssnnk",
    ".kkkkkkkkkkkkkkk",
    "................",
]

ABOUT = [
    ".kkkkkkkkkkkkkk.",
    ".kwwwwwwwwwwwdk.",
    ".kwkkkkkkkkkkdk.",
    ".kwkccttttttkdk.",
    ".kwkcttttttnkdk.",
    ".kwkttttttnnkdk.",
    ".kwkttttttnnkdk.",
    ".kwkttttnnnnkdk.",
    ".kwkkkkkkkkkkdk.",
    ".kwsssssssssldk.",
    ".kddddddddddddk.",
    ".kkkkkkkkkkkkkk.",
    "......kssk......",
    "....kkkkkkkk....",
    "...kwsssssssdk..",
    "...kkkkkkkkkkk..",
]

WEBSITE = [
    "kkkkkkk..kkkkkkk",
    "kcctttk..kcctttk",
    "kcttnnk..kcttnnk",
    "kkkkkkk..kkkkkkk",
    "..kdk......kdk..",
    ".kkkkk....kkkkk.",
    "...k........k...",
    "...kkkkkkkkkk...",
    ".......k........",
    ".......k........",
    "....kkkkkkk.....",
    "....kcctttk.....",
    "....kcttnnk.....",
    "....kkkkkkk.....",
    "......kdk.......",
    ".....kkkkk......",
]

EXIT = [
    "...........kk...",
    "..........kkkk..",
    "..........kkkk..",
    "...........kk...",
    "........kkkk....",
    "......kkkkkkk.k.",
    ".....kk.kkkkkkk.",
    "....kk..kkk.....",
    ".......kkkk.....",
    "......kkkkkk....",
    ".....kk...kkk...",
    "..kkkk......kk..",
    ".kk.........kk..",
    ".k..........kk..",
    ".............kkk",
    "................",
]


def DisabledPicture(drawing):
    """The embossed look of a disabled button: the dark parts of the picture
    in grey, with a white copy one pixel lower right. Light colours (silver,
    white, yellow, aqua) drop out, so a shape keeps only its outlines."""
    size = len(drawing)
    shape = [
        [letter != BACKGROUND and Luminance(letter) < 176 for letter in row]
        for row in drawing
    ]
    canvas = TCanvas(size, size)
    for y in range(size):
        for x in range(size):
            if shape[y][x]:
                canvas.Put(x + 1, y + 1, "w")
    for y in range(size):
        for x in range(size):
            if shape[y][x]:
                canvas.Put(x, y, "d")
    return canvas.Lines()


def ToolbarPicture(name, drawing):
    CheckDrawing(name, drawing, 16, 16)
    canvas = TCanvas(32, 16)
    canvas.Paste(0, 0, drawing)
    canvas.Paste(16, 0, DisabledPicture(drawing))
    rows = [row.replace(BACKGROUND, TOOLBAR_KEY) for row in canvas.Lines()]
    if rows[-1][0] != TOOLBAR_KEY:
        sys.exit(f"{name}: the bottom-left pixel must be background")
    return rows


# ---------------------------------------------------------------------------
# The program icon, 32 x 32: a pen writing on yellow ruled paper.


PAPER = (2, 3, 25, 29)  # left, top, right, bottom
RULE_TOP, RULE_STEP = 9, 4  # the first ruled line and the distance between lines


def DrawPaper(canvas):
    left, top, right, bottom = PAPER
    canvas.Fill(left + 1, top + 1, right + 1, bottom + 1, "d")  # shadow
    canvas.Fill(left, top, right, bottom, "k")
    canvas.Fill(left + 1, top + 1, right - 1, bottom - 1, "y")
    for y in range(RULE_TOP, bottom - 1, RULE_STEP):
        canvas.Fill(left + 1, y, right - 1, y, "b")
    canvas.Fill(left + 4, top + 1, left + 4, bottom - 1, "r")  # margin


# Handwriting, three rows above a ruled line each; the last line is still
# being written and ends at the pen's point.
WRITING = [
    [
        "..k......k.........",
        ".k.kk.kk.k.kk..kk.k",
        "k..k.k..kk.k.kk..k.",
    ],
    [
        "k........k.......",
        "k.k.k.kk.kk..k.kk",
        ".k.k.k..k.k.k.k.k",
    ],
    [
        "..k...",
        ".kk.k.",
        "k..k.k",
    ],
]


def DrawWriting(canvas):
    left = PAPER[0] + 6
    for line, drawing in enumerate(WRITING):
        baseline = RULE_TOP + line * RULE_STEP
        canvas.Paste(left, baseline - len(drawing), drawing)


def DrawPen(canvas):
    # The pen lies at 45 degrees, its point at the end of the last line of
    # writing and its end at the top right. Along the pen s counts from the
    # point; across it d counts diagonals, negative on the lit upper left side.
    tipX, tipY = PAPER[0] + 6 + len(WRITING[-1][0]), RULE_TOP + 2 * RULE_STEP - 1
    length = 2 * (min(31 - tipX, tipY) - 1)
    for y in range(canvas.FHeight):
        for x in range(canvas.FWidth):
            s = (x - y) - (tipX - tipY)
            d = (x + y) - (tipX + tipY)
            if s < 0 or s > length:
                continue
            halfWidth = 0 if s < 2 else 1 if s < 5 else 2 if s < 9 else 3
            if abs(d) > halfWidth:
                continue
            if s < 2 or abs(d) == halfWidth or s >= length - 1:
                letter = "k"  # point, outline and end
            elif s < 12:
                letter = "w" if d < 0 else "s" if d == 0 else "d"  # metal cone
            elif s < 14:
                letter = "k"  # collar
            else:
                letter = "w" if d == -2 and 18 <= s < 30 else "r" if d <= 1 else "m"
            canvas.Put(x, y, letter)


def ProgramIcon():
    canvas = TCanvas(32, 32)
    DrawPaper(canvas)
    DrawWriting(canvas)
    DrawPen(canvas)
    return canvas.Lines()


# ---------------------------------------------------------------------------
# Output.


def XpmText(name, rows):
    used = sorted({letter for row in rows for letter in row})
    if len(used) > 16:
        sys.exit(f"{name}: {len(used)} colours, at most 16 allowed")
    lines = [
        "/* XPM */",
        "/* Drawn by resources/draw_pictures.py; edit the script, not this file. */",
        f"static const char *const {name}_xpm[] = {{",
        f'"{len(rows[0])} {len(rows)} {len(used)} 1",',
    ]
    for letter in used:
        value = "None" if letter == BACKGROUND else PALETTE[letter]
        lines.append(f'"{letter} c {value}",')
    lines += [f'"{row}",' for row in rows[:-1]]
    lines.append(f'"{rows[-1]}"')
    lines.append("};")
    return "\n".join(lines) + "\n"


def ReadXpm(path):
    """Reads back an XPM written by XpmText: a list of rows of RGBA tuples."""
    with open(path, encoding="ascii") as file:
        strings = [line.split('"')[1] for line in file if line.startswith('"')]
    width, height, count, _ = (int(part) for part in strings[0].split())
    colours = {}
    for entry in strings[1 : 1 + count]:
        letter, value = entry[0], entry.split()[-1]
        if value == "None":
            colours[letter] = (0, 0, 0, 0)
        else:
            colours[letter] = tuple(int(value[i : i + 2], 16) for i in (1, 3, 5)) + (255,)
    rows = strings[1 + count :]
    if len(rows) != height or any(len(row) != width for row in rows):
        sys.exit(f"{path}: size does not match its header")
    return [[colours[letter] for letter in row] for row in rows]


def PngBytes(pixels, scale=1):
    height, width = len(pixels) * scale, len(pixels[0]) * scale
    raw = bytearray()
    for row in pixels:
        line = bytearray([0])  # filter type: none
        for pixel in row:
            line += bytes(pixel) * scale
        raw += line * scale

    def Chunk(kind, data):
        body = kind + data
        return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body))

    header = struct.pack(">IIBBBBB", width, height, 8, 6, 0, 0, 0)  # 8-bit RGBA
    return (
        b"\x89PNG\r\n\x1a\n"
        + Chunk(b"IHDR", header)
        + Chunk(b"IDAT", zlib.compress(bytes(raw), 9))
        + Chunk(b"IEND", b"")
    )


def Write(path, data):
    os.makedirs(os.path.dirname(path), exist_ok=True)
    mode = "wb" if isinstance(data, bytes) else "w"
    with open(path, mode) as file:
        file.write(data)


def Main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--preview", metavar="DIR", help="also write 8x enlarged PNGs here")
    args = parser.parse_args()

    pictures = {
        "icons/program.xpm": ("program", ProgramIcon()),
        "toolbar/directory.xpm": ("directory", ToolbarPicture("directory", DIRECTORY)),
        "toolbar/save.xpm": ("save", ToolbarPicture("save", SAVE)),
        "toolbar/about.xpm": ("about", ToolbarPicture("about", ABOUT)),
        "toolbar/website.xpm": ("website", ToolbarPicture("website", WEBSITE)),
        "toolbar/exit.xpm": ("exit", ToolbarPicture("exit", EXIT)),
    }
    for relative, (name, rows) in pictures.items():
        Write(os.path.join(HERE, relative), XpmText(name, rows))

    iconPixels = ReadXpm(os.path.join(HERE, "icons/program.xpm"))
    Write(os.path.join(HERE, "icons/zeroraz.png"), PngBytes(iconPixels))

    if args.preview:
        for relative, (name, _) in pictures.items():
            pixels = ReadXpm(os.path.join(HERE, relative))
            Write(os.path.join(args.preview, name + ".png"), PngBytes(pixels, 8))
            # As the button shows it: the key colour and transparency on button face.
            key = pixels[-1][0] if relative.startswith("toolbar/") else (0, 0, 0, 0)
            face = (192, 192, 192, 255)
            shown = [[face if p == key or p[3] == 0 else p for p in row] for row in pixels]
            Write(os.path.join(args.preview, name + "_face.png"), PngBytes(shown, 8))


if __name__ == "__main__":
    Main()
