# The block codes on a workbook full of what refers to cells, against LibreOffice doing the same
# cell operations through its API (block_feature_books.py writes the workbooks, one by
# LibreOffice and one by openpyxl). For each workbook and each code:
#  - `tezlo run BOOK --out OURS ... -- CODE` exits 0;
#  - a headless LibreOffice (one, started here for every case) opens BOOK, does what the code
#    does to cells (OPERATIONS) and saves THEIRS as xlsx;
#  - LibreOffice opens OURS and saves it again as xlsx (the conversion must succeed), so that both
#    files compared are written by the same writer (for the workbook LibreOffice wrote, OURS as
#    Tezlo saved it is compared too); from both are read the cell values, defined
#    names, conditional format ranges and formulas, validation ranges, hyperlink cells, the
#    autofilter, comment cells, each drawing's anchor cells and each chart's series formulas,
#    which must be equal but for the differences between the two spreadsheets listed in
#    DIFFERENCES, asserted as they are;
#  - openpyxl opens OURS and sees the same bold and bordered cells, validation and charts as in
#    THEIRS.
# Exits 1 listing every problem.
#   check_codes_like_libreoffice.py TEZLO
import os
import posixpath
import re
import shutil
import subprocess
import sys
import tempfile
import time
import warnings
import zipfile
import xml.etree.ElementTree as ET

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, HERE)
if not shutil.which("soffice"):
    sys.exit("FAIL: LibreOffice (libreoffice-calc-nogui, python3-uno) is not installed")
import block_feature_books as books  # noqa: E402
import libreoffice_session as session  # noqa: E402
from com.sun.star.sheet.CellDeleteMode import COLUMNS as DELETE_COLUMNS, ROWS as DELETE_ROWS, UP  # noqa: E402
from com.sun.star.sheet.CellInsertMode import DOWN  # noqa: E402
from com.sun.star.table import CellRangeAddress  # noqa: E402

warnings.simplefilter("ignore")
from openpyxl import load_workbook  # noqa: E402

tezlo = sys.argv[1]
problems = []


def cells(r1, c1, r2, c2):
    """A range of sheet "+1", 1-based."""
    a = CellRangeAddress()
    a.Sheet, a.StartRow, a.StartColumn, a.EndRow, a.EndColumn = 0, r1 - 1, c1 - 1, r2 - 1, c2 - 1
    return a


def swap_rows(sheet, row_a, row_b):
    """What "*3" does: the values of columns B..M of two rows exchanged, each read first."""
    a = sheet.getCellRangeByPosition(1, row_a - 1, 12, row_a - 1)
    b = sheet.getCellRangeByPosition(1, row_b - 1, 12, row_b - 1)
    first, second = a.DataArray, b.DataArray
    a.DataArray, b.DataArray = second, first


def sort_body(doc, sheet):
    """What "*5" does with the active cell in column C: the region's columns B..M sorted by C,
    ascending, without a header, formats going with their cells."""
    from com.sun.star.table import TableSortField
    body = sheet.getCellRangeByPosition(1, books.FIRST - 1, 12, books.LAST - 1)
    field = TableSortField()
    field.Field = 1  # C, the second column of B..M
    field.IsAscending = True
    field.IsCaseSensitive = False
    descriptor = body.createSortDescriptor()
    for p in descriptor:
        if p.Name == "SortFields":
            p.Value = uno_any("[]com.sun.star.table.TableSortField", (field,))
        elif p.Name == "ContainsHeader":
            p.Value = False
        elif p.Name == "BindFormatsToContent":
            p.Value = True
    body.sort(descriptor)


def uno_any(kind, value):
    import uno
    return uno.Any(kind, value)


def move_to_end(sheet):
    """What "*16" does from the first block: the sheet trimmed to its data (the whole rows below
    the last row holding a value, the whole columns right of the last column holding one), the
    region's values written 10 rows below the last region plus its own height (rows 97..108,
    the second block ending in row 75), then the region deleted, cells below moving up."""
    region = sheet.getCellRangeByPosition(0, books.FIRST - 1, 12, books.LAST - 1)
    values = region.DataArray
    sheet.removeRange(cells(books.SECOND_LAST + 1, 1, 1048576, 1), DELETE_ROWS)
    sheet.removeRange(cells(1, 14, 1, sheet.Columns.Count), DELETE_COLUMNS)
    rows = books.LAST - books.FIRST + 1
    target = rows + books.SECOND_LAST + 10
    sheet.getCellRangeByPosition(0, target - 1, 12, target + rows - 2).DataArray = values
    sheet.removeRange(cells(books.FIRST, 1, books.LAST, 13), UP)


# Each code: the arguments of `tezlo run` and the same cell operations through LibreOffice's API.
OPERATIONS = {
    "+3": (["--select", "B55"], lambda doc, s: s.insertCells(cells(55, 1, 57, 13), DOWN)),
    "-3": (["--select", "B55", "--answer", "ok"], lambda doc, s: s.removeRange(cells(55, 1, 57, 13), UP)),
    "++": (["--select", "B55"], lambda doc, s: s.insertCells(cells(55, 1, 55, 13), DOWN)),
    "--": (["--select", "B55"], lambda doc, s: s.removeRange(cells(55, 1, 55, 13), UP)),
    "*3": (["--select", "C53", "--select", "C58"], lambda doc, s: swap_rows(s, 53, 58)),
    "*5": (["--select", "C53"], sort_body),
    "*16": (["--select", "B55"], lambda doc, s: move_to_end(s)),
}


def ref_errors_plain(names):
    """Defined names with a reference error spelt one way: "#REF!" alone, as LibreOffice writes
    it, for "'+1'!#REF!" as Tezlo (and Excel) write it."""
    return sorted((n, sheet, re.sub(r"^('[^']*'|[^!]*)!#REF!$", "#REF!", text, flags=re.I))
                  for n, sheet, text in names)


def sorted_rows():
    """Where "*5" takes each row of the first block (old row -> new row): ascending by column C,
    the header's text after the numbers."""
    rows = list(range(books.FIRST, books.LAST + 1))
    block = books.first_block()
    order = sorted(rows, key=lambda r: (isinstance(block[r - books.FIRST][2], str), block[r - books.FIRST][2]))
    return {old: new for new, old in zip(rows, order)}


def carried(r, c):
    """Where a cell of the sorted columns B..M goes when LibreOffice carries it with its row."""
    inside = books.FIRST <= r <= books.LAST and 2 <= c <= 13
    return (sorted_rows()[r] if inside else r, c)


def sorted_validation(before, after):
    """LibreOffice keeps a validation as an attribute of each cell, which a sort that takes the
    formats along carries with the cells. Tezlo keeps validations as ranges of the sheet, as the
    file does, and a sort leaves them (as the spreadsheet the tools were made for does)."""
    moved = [(kind, tuple(sorted((carried(r, c) for r, c in where), key=str)), f)
             for kind, where, f in before["validation"]]
    return before["validation"], sorted(moved)


def sorted_hyperlinks(before, after):
    """In LibreOffice a hyperlink is text inside its cell, so the sort carries it with the text;
    in the file, and in Tezlo, it belongs to its cell."""
    moved = []
    for ref, target in before["hyperlinks"]:
        m = re.fullmatch(r"([A-Z]+)(\d+)", ref)
        moved.append(("%s%d" % (m.group(1), carried(int(m.group(2)), column_number(m.group(1)))[0]), target))
    return before["hyperlinks"], sorted(moved)


def sorted_drawings(before, after):
    """LibreOffice sorts a picture anchored to cells with the row of its first cell; Tezlo leaves
    drawings where they are on a sort, as it leaves the sheet's ranges."""
    moved = []
    for kind, corners, series in before["drawings"]:
        if kind == "picture":
            (c1, r1), (c2, r2) = corners
            by = carried(r1 + 1, c1 + 1)[0] - (r1 + 1)
            corners = [(c1, r1 + by), (c2, r2 + by)]
        moved.append((kind, corners, series))
    return before["drawings"], sorted(moved)


def deleted_names(before, after):
    """After the first block's cells are deleted, the names that pointed into it read #REF! in
    both, Tezlo (as Excel) naming the sheet, LibreOffice not. Tezlo keeps the hidden name of the
    filter whose range went, reading #REF! as every such name does; LibreOffice drops it (and
    does not read it back from a file). LibreOffice keeps besides a second print area, A51:M51
    (the first row of what moved up into the deleted rows' place)."""
    gone = "'+1'!#REF!"
    ours = sorted([("Corner", None, gone), ("Later", None, "'+1'!B59:M63"), ("Values", None, gone),
                   ("Wide", None, gone), ("_xlnm.Print_Area", "0", gone)])
    theirs = sorted(ref_errors_plain(ours) + [("_xlnm.Print_Area", "0", "'+1'!A51:M51")])
    filters = [n for n in after["names"] if n[0] == "_xlnm._FilterDatabase"]
    if filters in ([], [("_xlnm._FilterDatabase", "0", gone)]):
        ours = sorted(ours + filters)
    return ours, theirs


def deleted_drawings(before, after):
    """The picture inside the deleted block: LibreOffice deletes it, Tezlo keeps it with no
    height where the cells below moved up to (as Excel keeps it). The chart, whose series plot
    only deleted cells: Tezlo's series read #REF! (checked in its own file, as LibreOffice
    reads such a series back as literal data), LibreOffice's keep naming B52:B62 and C52:C62,
    the cells that moved up into the deleted ones' place; both charts stand in the same cells."""
    pictures = [d for d in after["drawings"] if d[0] == "picture"]
    charts = [d for d in after["drawings"] if d[0] == "chart"]
    flat = [p for p in pictures if p[1][0][1] == p[1][1][1] == books.FIRST - 1]
    series = [s for d in before["drawings"] if d[0] == "chart" for s in d[2]]
    return (sorted(flat + [(kind, corners, "any") for kind, corners, _ in charts]) if len(flat) == 1 else None,
            sorted((kind, corners, series) for kind, corners, _ in charts))


# Where the two spreadsheets differ by design: (code, what) -> a function of what LibreOffice
# sees in the workbook before and in Tezlo's result, giving what Tezlo's result (as LibreOffice
# saved it) and LibreOffice's own must hold. Asserted as they are, for both workbooks.
DIFFERENCES = {
    ("*5", "validation"): sorted_validation,
    ("*5", "hyperlinks"): sorted_hyperlinks,
    ("*5", "drawings"): sorted_drawings,
    ("*16", "names"): deleted_names,
    ("*16", "drawings"): deleted_drawings,
}

MAIN = "{http://schemas.openxmlformats.org/spreadsheetml/2006/main}"
REL = "{http://schemas.openxmlformats.org/officeDocument/2006/relationships}"
PKG = "{http://schemas.openxmlformats.org/package/2006/relationships}"
XDR = "{http://schemas.openxmlformats.org/drawingml/2006/spreadsheetDrawing}"
CHART = "{http://schemas.openxmlformats.org/drawingml/2006/chart}"


def rels(z, part):
    folder, name = posixpath.split(part)
    path = posixpath.join(folder, "_rels", name + ".rels")
    out = {}
    if path in z.namelist():
        for r in ET.fromstring(z.read(path)).iter(PKG + "Relationship"):
            target = r.get("Target")
            if r.get("TargetMode") != "External":
                target = target[1:] if target.startswith("/") else posixpath.normpath(posixpath.join(folder, target))
            out[r.get("Id")] = (r.get("Type").rsplit("/", 1)[-1], target)
    return out


def column_number(letters):
    n = 0
    for ch in letters:
        n = n * 26 + ord(ch) - 64
    return n


def sqref_cells(sqref):
    """The cells a space-separated list of areas covers, as a sorted tuple of (row, col)."""
    out = set()
    for piece in sqref.replace("$", "").split():
        m = re.fullmatch(r"([A-Z]+)(\d+)(?::([A-Z]+)(\d+))?", piece)
        if not m:
            out.add(piece)
            continue
        c1, r1 = column_number(m.group(1)), int(m.group(2))
        c2, r2 = (column_number(m.group(3)), int(m.group(4))) if m.group(3) else (c1, r1)
        out |= {(r, c) for r in range(r1, r2 + 1) for c in range(c1, c2 + 1)}
    return tuple(sorted(out, key=str))


def read_book(path):
    """What refers to cells on sheet "+1" of an xlsx file, and its cell values in A1:M130."""
    z = zipfile.ZipFile(path)
    book = ET.fromstring(z.read("xl/workbook.xml"))
    book_rels = rels(z, "xl/workbook.xml")
    part = [book_rels[s.get(REL + "id")][1] for s in book.iter(MAIN + "sheet") if s.get("name") == "+1"][0]
    strings = []
    if "xl/sharedStrings.xml" in z.namelist():
        strings = ["".join(t.text or "" for t in si.iter(MAIN + "t"))
                   for si in ET.fromstring(z.read("xl/sharedStrings.xml")).iter(MAIN + "si")]
    sheet = ET.fromstring(z.read(part))
    sheet_rels = rels(z, part)
    # LibreOffice writes back a name reading "'+1'!#REF!" as "'+1'!#ref!": one spelling here.
    out = {"names": sorted((d.get("name"), d.get("localSheetId"),
                            re.sub("#REF!", "#REF!", (d.text or "").replace("$", ""), flags=re.I))
                           for d in book.iter(MAIN + "definedName"))}
    values = {}
    for c in sheet.iter(MAIN + "c"):
        m = re.fullmatch(r"([A-Z]+)(\d+)", c.get("r"))
        row, col = int(m.group(2)), column_number(m.group(1))
        v = c.find(MAIN + "v")
        if row > 130 or col > 13 or v is None:
            continue
        text = strings[int(v.text)] if c.get("t") == "s" else v.text
        if c.get("t") in (None, "n"):
            text = repr(float(text))
        if text:
            values["%s%d" % (m.group(1), row)] = text
    out["values"] = values
    out["conditional"] = sorted((sqref_cells(f.get("sqref")), [(r.get("type"), [x.text for x in r.iter(MAIN + "formula")])
                                                              for r in f.iter(MAIN + "cfRule")])
                                for f in sheet.iter(MAIN + "conditionalFormatting"))
    out["validation"] = sorted((v.get("type"), sqref_cells(v.get("sqref")),
                                [(x.text or "") for x in v if x.tag in (MAIN + "formula1",)])
                               for v in sheet.iter(MAIN + "dataValidation"))
    out["hyperlinks"] = sorted((h.get("ref"), sheet_rels.get(h.get(REL + "id"), ("", h.get("location")))[1])
                               for h in sheet.iter(MAIN + "hyperlink"))
    out["autofilter"] = [f.get("ref") for f in sheet.iter(MAIN + "autoFilter")]
    comments, drawings = [], []
    for kind, target in sheet_rels.values():
        if kind == "comments":
            comments = sorted(c.get("ref") for c in ET.fromstring(z.read(target)).iter(MAIN + "comment"))
        if kind == "drawing":
            drawing = ET.fromstring(z.read(target))
            drawing_rels = rels(z, target)
            for anchor in drawing:
                corners = [(int(m.find(XDR + "col").text), int(m.find(XDR + "row").text))
                           for m in (anchor.find(XDR + "from"), anchor.find(XDR + "to")) if m is not None]
                series = []
                for ref in anchor.iter(CHART + "chart"):
                    chart = ET.fromstring(z.read(drawing_rels[ref.get(REL + "id")][1]))
                    series = [f.text.replace("$", "") for f in chart.iter(CHART + "f")]
                kind_of = "chart" if anchor.find(".//" + XDR + "graphicFrame") is not None else "picture"
                drawings.append((kind_of, corners, series))
    out["comments"] = comments
    out["drawings"] = sorted(drawings)
    return out


def formats_seen_by_openpyxl(path):
    ws = load_workbook(path)["+1"]
    bold, bordered = [], []
    for row in ws.iter_rows(max_row=130, max_col=13):
        for c in row:
            if c.font is not None and c.font.b:
                bold.append(c.coordinate)
            if any(getattr(c.border, side).style for side in ("left", "right", "top", "bottom")):
                bordered.append(c.coordinate)
    return {"bold": sorted(bold), "bordered": sorted(bordered),
            "validation": sorted((v.type, sorted(str(v.sqref).split())) for v in ws.data_validations.dataValidation),
            "charts": len(ws._charts)}


def tezlo_run(book, out, args, code):
    done = subprocess.run([tezlo, "run", book, "--out", out] + args + ["--", code],
                          capture_output=True, text=True, timeout=300)
    if done.returncode != 0:
        problems.append("%s %s: tezlo run exited %d: %s" % (os.path.basename(book), code, done.returncode,
                                                             (done.stdout + done.stderr).strip()))
    return done.returncode == 0


def main():
    work = tempfile.mkdtemp(prefix="tezlo-codes-")
    pipe, stop = session.start_office("codes")
    started = time.time()
    try:
        context, desktop = session.connect(pipe)
        made = {"libreoffice": os.path.join(work, "libreoffice.xlsx"), "openpyxl": os.path.join(work, "openpyxl.xlsx")}
        books.make_libreoffice_book(desktop, context, made["libreoffice"])
        books.make_openpyxl_book(made["openpyxl"])
        for writer, book in made.items():
            plain = os.path.join(work, writer + "-again.xlsx")
            doc = session.load(desktop, book)
            session.store_xlsx(doc, plain)
            doc.close(True)
            before = read_book(plain)
            for code, (args, operate) in OPERATIONS.items():
                case = "%s book, %s" % (writer, code)
                name = "%s-%s" % (writer, code.replace("*", "x").replace("+", "p").replace("-", "m"))
                ours, theirs = os.path.join(work, name + "-ours.xlsx"), os.path.join(work, name + "-theirs.xlsx")
                again = os.path.join(work, name + "-ours-again.xlsx")
                if not tezlo_run(book, ours, args, code):
                    continue
                doc = session.load(desktop, ours)
                if doc is None:
                    problems.append("%s: LibreOffice cannot open Tezlo's result" % case)
                    continue
                session.store_xlsx(doc, again)
                doc.close(True)
                doc = desktop.loadComponentFromURL("file://" + book, "_blank", 0, (session.prop("Hidden", True),))
                operate(doc, doc.Sheets.getByName("+1"))
                session.store_xlsx(doc, theirs)
                doc.close(True)
                compare(case, code, before, read_book(again), read_book(ours), read_book(theirs))
                if writer == "libreoffice":
                    # Tezlo keeps what LibreOffice wrote as it was written, and rewrites what the
                    # cells moved in the same spelling: its own file compares as it is.
                    compare(case + ", as Tezlo saved it", code, before, read_book(ours), read_book(ours),
                            read_book(theirs))
                try:
                    a, b = formats_seen_by_openpyxl(ours), formats_seen_by_openpyxl(theirs)
                    if (code, "validation") in DIFFERENCES:  # as above: Tezlo's stays as it was
                        b["validation"] = formats_seen_by_openpyxl(book)["validation"]
                    if a != b:
                        problems.append("%s: openpyxl sees in Tezlo's result\n    %s\n  in LibreOffice's\n    %s" % (case, a, b))
                    if not (a["bold"] and a["bordered"] and a["charts"]):
                        problems.append("%s: openpyxl finds no bold, border or chart in Tezlo's result: %s" % (case, a))
                except Exception as e:  # noqa: BLE001
                    problems.append("%s: openpyxl cannot open Tezlo's result: %r" % (case, e))
    finally:
        stop()
        shutil.rmtree(work, ignore_errors=True)
    for p in problems:
        print(p)
    print("%d cases, %d problems, %.0f s" % (2 * len(OPERATIONS), len(problems), time.time() - started))
    sys.exit(1 if problems else 0)


def compare(case, code, before, ours, raw, theirs):
    """`ours` is Tezlo's result as LibreOffice saved it, `raw` as Tezlo saved it."""
    if code == "*16":
        # Charts whose cells all went: their series read #REF! in Tezlo's own file.
        series = [s for d in raw["drawings"] if d[0] == "chart" for s in d[2]]
        if not series or any(s != "'+1'!#REF!" for s in series):
            problems.append("%s: the chart's series in Tezlo's file read %s, not #REF!" % (case, series))
    for what in ours:
        a, b = ours[what], theirs[what]
        if (code, what) in DIFFERENCES:
            expected_ours, expected_theirs = DIFFERENCES[(code, what)](before, ours)
            if expected_ours is None or not matches(a, expected_ours) or b != expected_theirs:
                problems.append("%s: %s, a known difference, not as expected:\n  Tezlo        %s\n  expected     %s"
                                "\n  LibreOffice  %s\n  expected     %s" % (case, what, a, expected_ours, b, expected_theirs))
        elif a != b:
            problems.append("%s: %s differ:\n  Tezlo        %s\n  LibreOffice  %s" % (case, what, a, b))


def matches(value, expected):
    """Equal, where "any" in `expected` stands for anything."""
    if expected == "any":
        return True
    if isinstance(expected, (list, tuple)) and isinstance(value, (list, tuple)):
        return len(value) == len(expected) and all(matches(v, e) for v, e in zip(value, expected))
    return value == expected


if __name__ == "__main__":
    main()
