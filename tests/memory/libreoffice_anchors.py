# Random drawings moved by random cell shifts in a real LibreOffice (headless, a private profile
# in a temporary folder, started and ended here), to compare with the engine's ShiftAnchor.
#   libreoffice_anchors.py OUTPUT [COUNT] [SEED]
# Each case draws a rectangle over cells, anchored the way a drawing part can anchor it, moves
# cells, and reads where the rectangle's corners are. One line per case, tab-separated:
#   mode(twoCell|oneCell|absolute) fromCol fromRow toCol toRow
#   axis(R|C) op(I|D) first count bandFirst bandLast
#   fromCol fromRow toCol toRow after the shift ("-" when LibreOffice deleted the drawing)
# Columns and rows of the corners are 0-based, as a drawing part writes them; those of the shift
# 1-based, with the band 0 0 for whole rows (axis R) or whole columns (axis C). The top-left
# corner lies a third into its cell, the bottom-right two thirds into its own, so that a corner
# never sits on a cell's edge.
import os
import random
import sys
import time

import uno  # noqa: F401  (makes the com.sun.star modules importable)
from com.sun.star.awt import Point, Size
from com.sun.star.table import CellRangeAddress
from com.sun.star.sheet.CellInsertMode import DOWN, RIGHT, ROWS, COLUMNS
from com.sun.star.sheet.CellDeleteMode import UP, LEFT
from com.sun.star.sheet.CellDeleteMode import ROWS as DEL_ROWS, COLUMNS as DEL_COLUMNS

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "files"))
from libreoffice_session import connect, prop, start_office  # noqa: E402

out_path = sys.argv[1]
count = int(sys.argv[2]) if len(sys.argv) > 2 else 300
seed = int(sys.argv[3]) if len(sys.argv) > 3 else int(time.time())
rng = random.Random(seed)
print("seed", seed, flush=True)

pipe, cleanup = start_office("anchors")

COLS, ROWS_SEEN = 40, 60  # the part of the sheet the cases reach


def addr(r1, c1, r2, c2):
    a = CellRangeAddress()
    a.Sheet = 0
    a.StartRow, a.StartColumn, a.EndRow, a.EndColumn = r1 - 1, c1 - 1, r2 - 1, c2 - 1
    return a


def random_case():
    mode = rng.choice(["twoCell", "twoCell", "oneCell", "absolute"])
    c1 = rng.randint(0, 10)
    r1 = rng.randint(0, 14)
    corners = (c1, r1, c1 + rng.randint(0, 4), r1 + rng.randint(0, 6))
    axis = rng.choice("RC")
    op = rng.choice("ID")
    first = rng.randint(1, 16)
    n = rng.randint(1, 4)
    if rng.random() < 0.25:
        band = (0, 0)
    else:
        b1 = rng.randint(1, 12)
        band = (b1, rng.randint(b1, b1 + 6))
    return mode, corners, axis, op, first, n, band


def edges(sheet):
    """The left edge of each column and the top of each row, in 1/100 mm."""
    lefts = [sheet.getCellByPosition(c, 0).Position.X for c in range(COLS)]
    tops = [sheet.getCellByPosition(0, r).Position.Y for r in range(ROWS_SEEN)]
    return lefts, tops


def index_of(starts, at):
    i = 0
    while i + 1 < len(starts) and starts[i + 1] <= at:
        i += 1
    return i


try:
    context, desktop = connect(pipe)
    doc = desktop.loadComponentFromURL("private:factory/scalc", "_blank", 0, (prop("Hidden", True),))
    lines = []
    for _ in range(count):
        mode, (c1, r1, c2, r2), axis, op, first, n, band = random_case()
        sheet = doc.Sheets.getByIndex(0)
        page = sheet.DrawPage
        while page.Count:
            page.remove(page.getByIndex(0))
        lefts, tops = edges(sheet)
        width = lefts[1] - lefts[0]
        height = tops[1] - tops[0]
        x1, y1 = lefts[c1] + width // 3, tops[r1] + height // 3
        x2, y2 = lefts[c2] + 2 * width // 3, tops[r2] + 2 * height // 3
        shape = doc.createInstance("com.sun.star.drawing.RectangleShape")
        page.add(shape)
        shape.Position = Point(x1, y1)
        shape.Size = Size(x2 - x1, y2 - y1)
        if mode != "absolute":
            # Anchored to its cell; resized with its cells for a two-cell anchor.
            shape.Anchor = sheet.getCellByPosition(c1, r1)
            shape.ResizeWithCell = mode == "twoCell"
        last = first + n - 1
        whole = band == (0, 0)
        if axis == "R":
            target = addr(first, 1, last, 1024) if whole else addr(first, band[0], last, band[1])
        else:
            target = addr(1, first, 1048576, last) if whole else addr(band[0], first, band[1], last)
        if op == "I":
            sheet.insertCells(target, (ROWS if whole else DOWN) if axis == "R" else (COLUMNS if whole else RIGHT))
        else:
            sheet.removeRange(target, (DEL_ROWS if whole else UP) if axis == "R" else (DEL_COLUMNS if whole else LEFT))
        sheet = doc.Sheets.getByIndex(0)
        page = sheet.DrawPage
        after = "-"
        if page.Count:
            moved = page.getByIndex(0)
            lefts, tops = edges(sheet)
            p, s = moved.Position, moved.Size
            after = "%d %d %d %d" % (index_of(lefts, p.X), index_of(tops, p.Y),
                                     index_of(lefts, p.X + s.Width), index_of(tops, p.Y + s.Height))
        lines.append("\t".join([mode, "%d %d %d %d" % (c1, r1, c2, r2), axis, op, str(first), str(n),
                                str(band[0]), str(band[1]), after]))
    with open(out_path, "w", encoding="utf-8") as out:
        out.write("\n".join(lines) + "\n")
    doc.close(True)
finally:
    cleanup()
