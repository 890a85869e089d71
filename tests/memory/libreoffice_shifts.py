# Random areas moved by random cell shifts in a real LibreOffice (headless, a private profile in
# a temporary folder, started and ended here), to compare with the engine's ShiftArea,
# ShiftCellArea and the defined names' ShiftFormulaRefs.
#   libreoffice_shifts.py OUTPUT [COUNT] [SEED]
# Writes one line per case, tab-separated:
#   axis(R|C) op(I|D) first count bandFirst bandLast   areaRow1 areaCol1 areaRow2 areaCol2
#   conditional format range after the shift ("-" when it went)   named range after the shift
#   the validated cells after the shift ("-" when none)
#   a cell holding a comment ("row col"), and where the comment is after the shift ("-": gone)
# Coordinates are 1-based. A shift with the band 0 0 covers whole rows (axis R) or whole
# columns (axis C).
import os
import random
import sys
import time

import uno  # noqa: F401  (makes the com.sun.star modules importable)
from com.sun.star.table import CellRangeAddress, CellAddress
from com.sun.star.sheet.CellInsertMode import DOWN, RIGHT, ROWS, COLUMNS
from com.sun.star.sheet.CellDeleteMode import UP, LEFT
from com.sun.star.sheet.CellDeleteMode import ROWS as DEL_ROWS, COLUMNS as DEL_COLUMNS
from com.sun.star.sheet.ConditionOperator import GREATER
from com.sun.star.sheet.ValidationType import ANY, WHOLE

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "files"))
from libreoffice_session import connect, prop, start_office  # noqa: E402

out_path = sys.argv[1]
count = int(sys.argv[2]) if len(sys.argv) > 2 else 400
seed = int(sys.argv[3]) if len(sys.argv) > 3 else int(time.time())
rng = random.Random(seed)
print("seed", seed, flush=True)

pipe, cleanup = start_office("shifts")


def col_name(c):
    s = ""
    while c > 0:
        c, d = divmod(c - 1, 26)
        s = chr(65 + d) + s
    return s


def addr(r1, c1, r2, c2):
    a = CellRangeAddress()
    a.Sheet = 0
    a.StartRow, a.StartColumn, a.EndRow, a.EndColumn = r1 - 1, c1 - 1, r2 - 1, c2 - 1
    return a


def random_case():
    axis = rng.choice("RC")
    op = rng.choice("ID")
    first = rng.randint(1, 14)
    n = rng.randint(1, 4)
    whole = rng.random() < 0.25
    if whole:
        band = (0, 0)
    else:
        b1 = rng.randint(1, 10)
        band = (b1, rng.randint(b1, min(b1 + 5, 12)))
    r1 = rng.randint(1, 14)
    c1 = rng.randint(1, 10)
    r2 = rng.randint(r1, min(r1 + 6, 20))
    c2 = rng.randint(c1, min(c1 + 4, 14))
    cell = (rng.randint(1, 20), rng.randint(1, 14))
    return axis, op, first, n, band, (r1, c1, r2, c2), cell


try:
    context, desktop = connect(pipe)
    doc = desktop.loadComponentFromURL("private:factory/scalc", "_blank", 0,
                                       (prop("Hidden", True),))
    names = doc.NamedRanges
    lines = []
    for _ in range(count):
        axis, op, first, n, band, (r1, c1, r2, c2), (nr, nc) = random_case()
        # The sheet cleared of the last case, then a conditional format, a validation and a
        # named range over the area. A sheet object's own range follows the shifts, so it is
        # fetched again after one.
        sheet = doc.Sheets.getByIndex(0)
        formats = sheet.ConditionalFormats
        for f in formats.getConditionalFormats():
            formats.removeByID(f.ID)
        everything = sheet.getCellRangeByPosition(0, 0, 39, 49)
        cleared = everything.Validation
        cleared.Type = ANY
        everything.Validation = cleared
        notes = sheet.Annotations
        while notes.Count:
            notes.removeByIndex(0)
        notes.insertNew(CellAddress(0, nc - 1, nr - 1), "note")
        ranges = doc.createInstance("com.sun.star.sheet.SheetCellRanges")
        ranges.addRangeAddress(addr(r1, c1, r2, c2), False)
        cf_id = formats.createByRange(ranges)
        cf = [f for f in formats.getConditionalFormats() if f.ID == cf_id][0]
        cf.createEntry(0, 0)
        area = sheet.getCellRangeByPosition(c1 - 1, r1 - 1, c2 - 1, r2 - 1)
        validation = area.Validation
        validation.Type = WHOLE
        validation.setOperator(GREATER)
        validation.setFormula1("0")
        area.Validation = validation
        if names.hasByName("area"):
            names.removeByName("area")
        names.addNewByName("area", "$Sheet1.$%s$%d:$%s$%d" % (col_name(c1), r1, col_name(c2), r2),
                           CellAddress(0, 0, 0), 0)
        last = first + n - 1
        whole = band == (0, 0)
        if axis == "R":
            target = addr(first, 1, last, 1024) if whole else addr(first, band[0], last, band[1])
        else:
            target = addr(1, first, 1048576, last) if whole else addr(band[0], first, band[1], last)
        if op == "I":
            mode = (ROWS if whole else DOWN) if axis == "R" else (COLUMNS if whole else RIGHT)
            sheet.insertCells(target, mode)
        else:
            mode = (DEL_ROWS if whole else UP) if axis == "R" else (DEL_COLUMNS if whole else LEFT)
            sheet.removeRange(target, mode)
        sheet = doc.Sheets.getByIndex(0)
        after = [f for f in sheet.ConditionalFormats.getConditionalFormats() if f.ID == cf_id]
        cf_range = after[0].Range.RangeAddressesAsString if after else ""
        name_range = names.getByName("area").getContent()
        validated = []
        uniform = sheet.getCellRangeByPosition(0, 0, 39, 49).UniqueCellFormatRanges
        for i in range(uniform.Count):
            same = uniform.getByIndex(i)
            if same.Validation.Type == WHOLE:
                validated.append(same.RangeAddressesAsString)
        notes = sheet.Annotations
        note = "-"
        if notes.Count:
            at = notes.getByIndex(0).Position
            note = "%d %d" % (at.Row + 1, at.Column + 1)
        lines.append("\t".join([axis, op, str(first), str(n), str(band[0]), str(band[1]),
                                str(r1), str(c1), str(r2), str(c2),
                                cf_range or "-", name_range, ",".join(validated) or "-",
                                "%d %d" % (nr, nc), note]))
    with open(out_path, "w", encoding="utf-8") as out:
        out.write("\n".join(lines) + "\n")
    doc.close(True)
finally:
    cleanup()
