# Workbooks written by LibreOffice kept whole by Tezlo: makes the corpus through a running headless
# LibreOffice (make_libreoffice_books.py), then for each workbook
#  - `tezlo run BOOK` (a load and a save in place, no code) exits 0; check_kept_book.py finds every
#    untouched part byte-identical and the rest equal after canonicalising; each worksheet part
#    and the styles part are equal after canonicalising (booleans spelt one way, defaults left
#    out, the used range not written); openpyxl sees the same bold and borders on every cell; and
#    LibreOffice opens the saved file and sees through its API exactly what it saw in its own;
#  - `tezlo run BOOK --select B3 -- +3` exits 0 and LibreOffice and openpyxl still see the bold,
#    the borders, the validation, the conditional format, the chart, ... (counted, as cells moved);
#  - texts with formatted runs keep their runs (LibreOffice sees the same portions, fonts and
#    colours, in place after the save, moved with their cells after "+3");
#  - over the workbooks with what Tezlo cannot keep (REFUSED; none at present) both runs exit 1
#    with a message naming it, and the file is untouched.
# Exits 1 listing every problem.
#   check_libreoffice_books.py PIPE-NAME WORKDIR TEZLO
import difflib
import os
import shutil
import subprocess
import sys
import warnings
import zipfile
import xml.etree.ElementTree as ET

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, HERE)
import make_libreoffice_books  # noqa: E402
from libreoffice_session import connect, load  # noqa: E402

pipe, work, tezlo = sys.argv[1], sys.argv[2], sys.argv[3]
books = os.path.join(work, "books")
problems = []


def report(book, text):
    problems.append("%s: %s" % (book, text))


# The corpus.
sys.argv = [sys.argv[0], pipe, books]
make_libreoffice_books.main()
context, desktop = connect(pipe)
names = sorted(os.listdir(books))
expected = [f + ".xlsx" for f in list(make_libreoffice_books.FEATURES) + list(make_libreoffice_books.REFUSED)]
expected.append("all.xlsx")
refused = {f + ".xlsx": why for f, (_, why) in make_libreoffice_books.REFUSED.items()}
if sorted(names) != sorted(expected):
    sys.exit("the corpus holds %s, not %s" % (names, expected))


def text_portions(cell):
    """A cell's text as LibreOffice holds it: each portion's text, weight, slant, colour and size."""
    out = []
    paragraphs = cell.Text.createEnumeration()
    while paragraphs.hasMoreElements():
        portions = paragraphs.nextElement().createEnumeration()
        while portions.hasMoreElements():
            p = portions.nextElement()
            out.append((p.String, p.CharWeight, p.CharPosture.value, p.CharColor, p.CharHeight))
    return out


def seen_by_libreoffice(path):
    """What LibreOffice's API sees in a workbook, cell by cell; None when it cannot open it."""
    doc = load(desktop, path)
    if doc is None:
        return None
    try:
        out = {"names": sorted(doc.NamedRanges.ElementNames)}
        filters = doc.getPropertyValue("UnnamedDatabaseRanges")
        for index in range(doc.Sheets.Count):
            sheet = doc.Sheets.getByIndex(index)
            # Calls through the bridge are slow: ranges of uniform format, not cells.
            s = {"bold": [], "borders": [], "validation": [], "merged": [], "links": [], "formats": []}
            formats = sheet.CellFormatRanges
            for i in range(formats.Count):
                cells = formats.getByIndex(i)
                a = cells.RangeAddress
                where = [(c, r) for r in range(a.StartRow, min(a.EndRow, 19) + 1)
                         for c in range(a.StartColumn, min(a.EndColumn, 7) + 1)]
                if not where:
                    continue
                weight, top, left, rule, key = cells.getPropertyValues(
                    ("CharWeight", "TopBorder", "LeftBorder", "Validation", "NumberFormat"))
                if weight > 100:
                    s["bold"] += where
                if top.OuterLineWidth > 0 and left.OuterLineWidth > 0:
                    s["borders"] += where
                if rule.Type.value != "ANY":
                    s["validation"] += [(w, rule.Type.value, rule.getFormula1(), rule.getFormula2()) for w in where]
                if cells.getIsMerged():
                    s["merged"] += where
                if key:
                    s["formats"] += [(w, doc.NumberFormats.getByKey(key).FormatString) for w in where]
            texts = sheet.getCellRangeByPosition(0, 0, 7, 19).DataArray
            s["rich"] = []
            for row, values in enumerate(texts):
                for col, value in enumerate(values):
                    if value == "site":  # the corpus's hyperlink
                        fields = sheet.getCellByPosition(col, row).TextFields.createEnumeration()
                        while fields.hasMoreElements():
                            s["links"].append(((col, row), fields.nextElement().URL))
                    elif isinstance(value, str) and value:
                        portions = text_portions(sheet.getCellByPosition(col, row))
                        if len(portions) > 1:
                            s["rich"].append(((col, row), portions))
            for k in s:
                s[k].sort()
            s["conditional"] = [(str(f.Range.RangeAddressesAsString), f.Count)
                                for f in sheet.ConditionalFormats.ConditionalFormats]
            s["charts"] = sheet.Charts.Count
            s["shapes"] = sheet.DrawPage.Count
            s["comments"] = [a.String for a in (sheet.Annotations.getByIndex(i) for i in range(sheet.Annotations.Count))]
            rows, columns = sheet.Rows, sheet.Columns
            s["hidden rows"] = [r for r in range(16) if not rows.getByIndex(r).IsVisible]
            s["hidden columns"] = [c for c in range(6) if not columns.getByIndex(c).IsVisible]
            s["tab"] = sheet.TabColor
            s["protected"] = sheet.isProtected()
            s["print areas"] = [(a.StartColumn, a.StartRow, a.EndColumn, a.EndRow) for a in sheet.getPrintAreas()]
            s["filter"] = filters.hasByTable(index) and filters.getByTable(index).AutoFilter
            out[sheet.Name] = s
        return out
    finally:
        doc.close(True)


def counted(seen, sheets):
    """What must survive cells moving on the sheets a workbook had: how many of each, not where;
    which validation types and number formats, as ranges may grow.  Hyperlinks are counted by
    openpyxl: LibreOffice sees one only on a cell that holds text."""
    out = {"names": seen["names"]}
    for name in sheets:
        s = seen.get(name, {})
        out[name] = {k: (len(v) if isinstance(v, list) else v) for k, v in s.items()
                     if k not in ("print areas", "hidden rows", "hidden columns", "validation", "formats", "links",
                                  "rich")}
        # Formatted texts move with their cells: the same portions, wherever they are now.
        out[name]["rich"] = sorted(portions for _, portions in s.get("rich", []))
        out[name]["validation"] = sorted({v[1:] for v in s.get("validation", [])})
        out[name]["formats"] = sorted({f for _, f in s.get("formats", [])})
    return out


warnings.simplefilter("ignore")
from openpyxl import load_workbook  # noqa: E402


def seen_by_openpyxl(path):
    wb = load_workbook(path)
    out = {}
    for ws in wb.worksheets:
        cells = {}
        for row in ws.iter_rows():
            for c in row:
                b = c.border
                sides = tuple(getattr(b, side).style for side in ("left", "right", "top", "bottom"))
                if c.font.b or any(sides):
                    cells[c.coordinate] = (bool(c.font.b), sides, c.alignment.horizontal)
        out[ws.title] = {"cells": cells, "links": sorted(c.hyperlink.target for row in ws.iter_rows() for c in row
                                                          if c.hyperlink), "validation": sorted(v.type for v in ws.data_validations.dataValidation),
                         "conditional": len(ws.conditional_formatting), "charts": len(ws._charts)}
    return out


def counted_openpyxl(seen, sheets):
    return {name: {"bold": sum(1 for v in s["cells"].values() if v[0]),
                   "bordered": sum(1 for v in s["cells"].values() if any(v[1])),
                   "validation": s["validation"], "links": s["links"], "conditional": s["conditional"], "charts": s["charts"]}
            for name, s in seen.items() if name in sheets}


def canonical_styles(path):
    with zipfile.ZipFile(path) as z:
        return ET.canonicalize(z.read("xl/styles.xml").decode("utf-8"))


MAIN = "{http://schemas.openxmlformats.org/spreadsheetml/2006/main}"
BOOLEAN = {"true": "1", "false": "0", "1": "1", "0": "0"}
# Attribute values the schema gives when an attribute is absent.
DEFAULTS = {"c": {"s": "0", "t": "n", "cm": "0", "vm": "0", "ph": "0"},
            "f": {"t": "normal", "aca": "0", "ca": "0", "bx": "0", "del1": "0", "del2": "0", "dt2D": "0", "dtr": "0"},
            "row": {"customFormat": "0", "hidden": "0", "customHeight": "0", "outlineLevel": "0", "collapsed": "0",
                    "thickTop": "0", "thickBot": "0", "ph": "0"},
            "col": {"customWidth": "0", "hidden": "0", "outlineLevel": "0", "collapsed": "0", "style": "0",
                    "bestFit": "0", "phonetic": "0"},
            "sheetView": {"tabSelected": "0", "topLeftCell": "A1"},
            "selection": {"pane": "topLeft", "activeCellId": "0", "activeCell": "A1", "sqref": "A1"}}
NOT_BOOLEAN = {"r", "s", "t", "ht", "width", "min", "max", "style", "activeCellId", "outlineLevel"}


def normalise(element):
    """Spells an element's booleans one way and leaves out attributes at their defaults; on rows,
    the height and style only where they are custom (otherwise the spreadsheet works them out)."""
    kind = element.tag.split("}", 1)[-1]
    defaults = DEFAULTS.get(kind, {})
    out = {}
    for key, value in element.attrib.items():
        value = value if key in NOT_BOOLEAN else BOOLEAN.get(value, value)
        if defaults.get(key) != value and key != "spans":
            out[key] = value
    if kind == "row":
        if out.get("customHeight") != "1":
            out.pop("ht", None)
        if out.get("customFormat") != "1":
            out.pop("s", None)
    element.attrib.clear()
    element.attrib.update(out)


def sheet_parts(path):
    """Each worksheet part canonicalised after normalising the spelling of its sheet data, view
    and selections, without the used range (which Tezlo does not write), shared strings shown
    as their texts; one line per element."""
    out = {}
    with zipfile.ZipFile(path) as z:
        strings = []
        if "xl/sharedStrings.xml" in z.namelist():
            strings = ["".join(t.text or "" for t in si.iter(MAIN + "t"))
                       for si in ET.fromstring(z.read("xl/sharedStrings.xml")).iter(MAIN + "si")]
        for name in sorted(n for n in z.namelist() if n.startswith("xl/worksheets/sheet")):
            root = ET.fromstring(z.read(name))
            for dimension in root.findall(MAIN + "dimension"):
                root.remove(dimension)
            for element in root.iter():
                if element.tag.split("}", 1)[-1] in DEFAULTS:
                    normalise(element)
            for c in root.iter(MAIN + "c"):
                v = c.find(MAIN + "v")
                if c.get("t") == "s" and v is not None:
                    v.text = strings[int(v.text)]
                    c.set("t", "shared string")
            out[name] = ET.canonicalize(ET.tostring(root, encoding="unicode")).replace("><", ">\n<").split("\n")
    return out


def run(args, book):
    done = subprocess.run([tezlo, "run"] + args, capture_output=True, text=True, timeout=120)
    if done.returncode != 0:
        report(book, "tezlo run %s exited %d: %s" % (" ".join(args), done.returncode, done.stderr.strip()))
    return done.returncode == 0


def refuses(args, book, why):
    """A run over a workbook holding what cannot be kept exits 1 naming it, the file untouched."""
    path = args[0]
    with open(path, "rb") as f:
        before = f.read()
    done = subprocess.run([tezlo, "run"] + args, capture_output=True, text=True, timeout=120)
    if done.returncode != 1 or "does not keep (%s)" % why not in done.stderr:
        report(book, "tezlo run %s exited %d: %s" % (" ".join(args), done.returncode, done.stderr.strip()))
    with open(path, "rb") as f:
        if f.read() != before:
            report(book, "a refused run changed the file")


for name in names:
    original = os.path.join(books, name)
    if name in refused:
        for args in ([], ["--select", "B3", "--", "+3"]):
            copy = os.path.join(work, "refused", name)
            os.makedirs(os.path.dirname(copy), exist_ok=True)
            shutil.copyfile(original, copy)
            refuses([copy] + args, name, refused[name])
        continue
    before = seen_by_libreoffice(original)
    if before is None:
        report(name, "LibreOffice cannot open its own workbook")
        continue
    before_openpyxl = seen_by_openpyxl(original)
    if name in ("richtext.xlsx", "all.xlsx") and not before["+1"]["rich"]:
        report(name, "LibreOffice wrote no text with formatted runs")

    # A load and a save in place.
    same = os.path.join(work, "same", name)
    os.makedirs(os.path.dirname(same), exist_ok=True)
    shutil.copyfile(original, same)
    if run([same], name):
        check = subprocess.run([sys.executable, os.path.join(HERE, "check_kept_book.py"), original, same, "same"],
                               capture_output=True, text=True)
        if check.returncode != 0:
            report(name, "check_kept_book.py: " + (check.stdout + check.stderr).strip())
        a, b = sheet_parts(original), sheet_parts(same)
        for part in a:
            if a[part] != b.get(part):
                diff = difflib.unified_diff(a[part], b.get(part, []), lineterm="", n=0)
                report(name, "%s differs:\n  %s" % (part, "\n  ".join(list(diff)[2:14])))
        if canonical_styles(original) != canonical_styles(same):
            report(name, "the styles part changed")
        if seen_by_openpyxl(same) != before_openpyxl:
            report(name, "openpyxl sees %s\n  became %s" % (before_openpyxl, seen_by_openpyxl(same)))
        after = seen_by_libreoffice(same)
        if after is None:
            report(name, "LibreOffice cannot open the saved workbook")
        elif after != before:
            report(name, "LibreOffice sees %s\n  became %s" % (before, after))

    # "+3" on B3, saved in place.
    moved = os.path.join(work, "moved", name)
    os.makedirs(os.path.dirname(moved), exist_ok=True)
    shutil.copyfile(original, moved)
    if run([moved, "--select", "B3", "--", "+3"], name):
        after = seen_by_libreoffice(moved)
        if after is None:
            report(name, "LibreOffice cannot open the workbook after +3")
        elif counted(after, before_openpyxl) != counted(before, before_openpyxl):
            report(name, "after +3 LibreOffice sees %s\n  became %s" % (counted(before, before_openpyxl),
                                                                       counted(after, before_openpyxl)))
        try:
            a = counted_openpyxl(before_openpyxl, before_openpyxl)
            b = counted_openpyxl(seen_by_openpyxl(moved), before_openpyxl)
            if a != b:
                report(name, "after +3 openpyxl sees %s\n  became %s" % (a, b))
        except Exception as e:  # noqa: BLE001
            report(name, "openpyxl cannot open the workbook after +3: %r" % e)

for p in problems:
    print(p)
print("%d workbooks, %d problems" % (len(names), len(problems)))
sys.exit(1 if problems else 0)
