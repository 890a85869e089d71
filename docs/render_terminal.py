#!/usr/bin/python3
"""Renders a terminal capture (tmux capture-pane -e: text with SGR colour sequences) to a PNG,
one fixed-size cell per column, wide characters over two cells.

    render_terminal.py CAPTURE.txt OUT.png

Needs python3-pil and fonts-wqy-microhei (its monospaced face covers Chinese)."""
import re
import sys
import unicodedata

from PIL import Image, ImageDraw, ImageFont

FONT = "/usr/share/fonts/truetype/wqy/wqy-microhei.ttc"
CELL_W, CELL_H, SIZE = 10, 20, 17
DEFAULT_FG, DEFAULT_BG = (220, 220, 220), (24, 24, 24)


def xterm256(n):
    base = [(0, 0, 0), (205, 0, 0), (0, 205, 0), (205, 205, 0), (0, 0, 238), (205, 0, 205),
            (0, 205, 205), (229, 229, 229), (127, 127, 127), (255, 0, 0), (0, 255, 0),
            (255, 255, 0), (92, 92, 255), (255, 0, 255), (0, 255, 255), (255, 255, 255)]
    if n < 16:
        return base[n]
    if n < 232:
        n -= 16
        levels = [0, 95, 135, 175, 215, 255]
        return (levels[n // 36], levels[(n // 6) % 6], levels[n % 6])
    v = 8 + 10 * (n - 232)
    return (v, v, v)


def parse(lines):
    """Yields rows of (char, width, fg, bg, bold)."""
    sgr = re.compile(r"\x1b\[([0-9;:]*)m")
    rows = []
    fg, bg, bold, reverse = None, None, False, False
    for line in lines:
        row, pos = [], 0
        for m in list(sgr.finditer(line)) + [None]:
            end = m.start() if m else len(line)
            for ch in line[pos:end]:
                w = 2 if unicodedata.east_asian_width(ch) in "WF" else 1
                f, b = fg or DEFAULT_FG, bg or DEFAULT_BG
                if reverse:
                    f, b = b, f
                row.append((ch, w, f, b, bold))
            if not m:
                break
            pos = m.end()
            codes = [int(c) if c else 0 for c in re.split("[;:]", m.group(1))] or [0]
            i = 0
            while i < len(codes):
                c = codes[i]
                if c == 0:
                    fg, bg, bold, reverse = None, None, False, False
                elif c == 1:
                    bold = True
                elif c == 22:
                    bold = False
                elif c == 7:
                    reverse = True
                elif c == 27:
                    reverse = False
                elif c in (38, 48) and i + 2 < len(codes) and codes[i + 1] == 5:
                    color = xterm256(codes[i + 2])
                    if c == 38:
                        fg = color
                    else:
                        bg = color
                    i += 2
                elif 30 <= c <= 37:
                    fg = xterm256(c - 30)
                elif 40 <= c <= 47:
                    bg = xterm256(c - 40)
                elif 90 <= c <= 97:
                    fg = xterm256(c - 90 + 8)
                elif 100 <= c <= 107:
                    bg = xterm256(c - 100 + 8)
                elif c == 39:
                    fg = None
                elif c == 49:
                    bg = None
                i += 1
        rows.append(row)
    return rows


def main():
    text = open(sys.argv[1], encoding="utf-8").read().rstrip("\n").split("\n")
    rows = parse(text)
    width = max(sum(w for _, w, *_ in r) for r in rows)
    image = Image.new("RGB", (width * CELL_W, len(rows) * CELL_H), DEFAULT_BG)
    draw = ImageDraw.Draw(image)
    font = ImageFont.truetype(FONT, SIZE, index=1)  # WenQuanYi Micro Hei Mono
    for y, row in enumerate(rows):
        x = 0
        for ch, w, fg, bg, bold in row:
            box = (x * CELL_W, y * CELL_H, (x + w) * CELL_W - 1, (y + 1) * CELL_H - 1)
            draw.rectangle(box, fill=bg)
            if ch != " ":
                draw.text((x * CELL_W, y * CELL_H + 1), ch, font=font, fill=fg)
                if bold:
                    draw.text((x * CELL_W + 1, y * CELL_H + 1), ch, font=font, fill=fg)
            x += w
        # The rest of the line keeps the default background.
    image.save(sys.argv[2])


if __name__ == "__main__":
    main()
