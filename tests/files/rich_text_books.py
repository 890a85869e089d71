#!/usr/bin/env python3
"""Texts with formatted runs in a workbook written by openpyxl, kept by `tezlo run`.

openpyxl writes a random sheet "+1" (texts, numbers, a bold cell format), its texts inline; some
of them are then given runs with random fonts, bold, italics, sizes and colours (and one a
phonetic guide) where they stand, as a spreadsheet would write them (Debian's openpyxl reads and
writes texts without runs).  Tezlo writes them back as shared texts.  For several seeds:
  - `tezlo run BOOK` (a load and a save in place) exits 0, every cell's runs are what they were,
    compared element by element after canonicalising, and openpyxl reads the same values;
  - `tezlo run BOOK --sheet +1 --select B3 -- +3`: the cells of the 13-column block from row 3 down sit three
    rows lower with their runs, the others where they were;
  - `tezlo run BOOK --sheet +1 --select B5:C5 --answer 1 -- *22` over a formatted text of digits and a formatted
    word: the digits become a number, and the word, whose value the tool writes back, is plain
    text; every other cell keeps its runs.
Exits 1 listing every problem.
  rich_text_books.py TEZLO"""
import os
import random
import re
import shutil
import subprocess
import sys
import tempfile
import warnings
import zipfile
import xml.etree.ElementTree as ET

warnings.simplefilter("ignore")
from openpyxl import Workbook, load_workbook  # noqa: E402
from openpyxl.styles import Font  # noqa: E402
from openpyxl.utils import get_column_letter  # noqa: E402

MAIN = "http://schemas.openxmlformats.org/spreadsheetml/2006/main"
M = "{%s}" % MAIN
ET.register_namespace("", MAIN)
tezlo = sys.argv[1]
problems = []


def random_runs(rng, text):
    """`text` cut into one to four runs, each with random properties; the XML of the item."""
    cuts = sorted(rng.sample(range(1, len(text)), min(len(text) - 1, rng.randint(0, 3)))) if len(text) > 1 else []
    pieces = [text[a:b] for a, b in zip([0] + cuts, cuts + [len(text)])]
    xml = ""
    for piece in pieces:
        props = ""
        if rng.random() < 0.6:
            props += "<b/>"
        if rng.random() < 0.4:
            props += "<i/>"
        if rng.random() < 0.5:
            props += '<sz val="%d"/>' % rng.randint(8, 24)
        if rng.random() < 0.5:
            props += '<color rgb="FF%06X"/>' % rng.randrange(1 << 24)
        if rng.random() < 0.3:
            props += '<rFont val="宋体"/><family val="3"/><charset val="134"/>'
        space = ' xml:space="preserve"' if piece != piece.strip() else ""
        escaped = piece.replace("&", "&amp;").replace("<", "&lt;").replace(">", "&gt;")
        xml += "<r>%s<t%s>%s</t></r>" % ("<rPr>%s</rPr>" % props if props else "", space, escaped)
    return xml


def make_book(path, rng):
    """The workbook, and what each formatted cell's item should hold: {coordinate: text}."""
    wb = Workbook()
    ws = wb.active
    ws.title = "+1"
    words = ["粗体字", "plain words", "a & b <c>", " lead", "trail ", "数据 data", "item"]
    for row in range(1, 31):
        for col in range(1, 16):
            roll = rng.random()
            if roll < 0.5:
                # Unique texts, so that each formatted item belongs to one cell.
                ws.cell(row, col, "%s %d-%d" % (rng.choice(words), row, col))
            elif roll < 0.8:
                ws.cell(row, col, rng.randint(-1000, 1000) / 4)
    ws.cell(1, 1).font = Font(bold=True)
    wb.create_sheet("+2")  # the second working sheet, which Tezlo adds otherwise (and goes to)
    ws["A2"] = "读音 2-1"  # given a phonetic guide
    ws["B5"] = "1234"  # digits as text, for "*22"
    ws["C5"] = "word 5-3"
    wb.save(path)
    with zipfile.ZipFile(path) as z:
        parts = {n: z.read(n) for n in z.namelist()}
    # openpyxl writes its texts inline: some are given runs where they stand.
    sheet = parts["xl/worksheets/sheet1.xml"].decode("utf-8")
    texts = {c.get("r"): "".join(t.text or "" for t in c.iter(M + "t"))
             for c in ET.fromstring(sheet).iter(M + "c") if c.get("t") == "inlineStr"}
    rich = {}

    def give_runs(match):
        where = match.group(2)
        if where not in ("A2", "B5", "C5") and rng.random() >= 0.4:
            return match.group(0)
        xml = random_runs(rng, texts[where])
        if where == "A2":
            xml += '<rPh sb="0" eb="1"><t>よみ</t></rPh><phoneticPr fontId="0" type="noConversion"/>'
        rich[where] = texts[where]
        return match.group(1) + xml + match.group(4)
    sheet = re.sub(r'(<c r="([A-Z]+[0-9]+)"[^>]*t="inlineStr"[^>]*><is>)(.*?)(</is>)', give_runs, sheet)
    parts["xl/worksheets/sheet1.xml"] = sheet.encode("utf-8")
    with zipfile.ZipFile(path, "w", zipfile.ZIP_DEFLATED) as z:
        for name, data in parts.items():
            z.writestr(name, data)
    return rich


def runs_by_cell(path):
    """Each text with runs, inline or shared: its item's children canonicalised, by coordinate."""
    def canonical(item):
        children = list(item)
        if all(child.tag == M + "t" for child in children):
            return None
        return [ET.canonicalize(ET.tostring(child, encoding="unicode")) for child in children]
    with zipfile.ZipFile(path) as z:
        items = []
        if "xl/sharedStrings.xml" in z.namelist():
            items = [canonical(si) for si in ET.fromstring(z.read("xl/sharedStrings.xml")).iter(M + "si")]
        sheet = ET.fromstring(z.read("xl/worksheets/sheet1.xml"))
    out = {}
    for c in sheet.iter(M + "c"):
        item = None
        if c.get("t") == "s":
            item = items[int(c.find(M + "v").text)]
        elif c.get("t") == "inlineStr":
            item = canonical(c.find(M + "is"))
        if item is not None:
            out[c.get("r")] = item
    return out


def values(path):
    ws = load_workbook(path)["+1"]
    return {c.coordinate: c.value for row in ws.iter_rows() for c in row if c.value is not None}


def run(args, what):
    done = subprocess.run([tezlo, "run"] + args, capture_output=True, text=True, timeout=300)
    if done.returncode != 0:
        problems.append("%s: tezlo run %s exited %d: %s" % (what, " ".join(args), done.returncode, done.stderr.strip()))
    return done.returncode == 0


def moved(coordinate, rows):
    """Where "+3" on B3 puts a cell: the block's 13 columns from row 3 down go three rows lower."""
    col = "".join(ch for ch in coordinate if ch.isalpha())
    row = int(coordinate[len(col):])
    index = sum((ord(ch) - 64) * 26 ** i for i, ch in enumerate(reversed(col)))
    return "%s%d" % (col, row + rows if index <= 13 and row >= 3 else row)


def check(seed, work):
    rng = random.Random(seed)
    original = os.path.join(work, "book%d.xlsx" % seed)
    rich = make_book(original, rng)
    before = runs_by_cell(original)
    if sorted(before) != sorted(rich):
        problems.append("seed %d: the book holds runs in %s, not %s" % (seed, sorted(before), sorted(rich)))
    before_values = values(original)

    same = original.replace(".xlsx", "-same.xlsx")
    shutil.copyfile(original, same)
    if run([same], "seed %d" % seed):
        after = runs_by_cell(same)
        if after != before:
            changed = sorted(k for k in set(before) | set(after) if before.get(k) != after.get(k))
            problems.append("seed %d: after a load and a save the runs of %s differ: %s became %s" % (
                seed, changed, [before.get(k) for k in changed[:2]], [after.get(k) for k in changed[:2]]))
        if values(same) != before_values:
            problems.append("seed %d: openpyxl reads other values after a load and a save" % seed)

    plus = original.replace(".xlsx", "-plus3.xlsx")
    shutil.copyfile(original, plus)
    if run([plus, "--sheet", "+1", "--select", "B3", "--", "+3"], "seed %d" % seed):
        after = runs_by_cell(plus)
        expected = {moved(k, 3): v for k, v in before.items()}
        if after != expected:
            changed = sorted(k for k in set(expected) | set(after) if expected.get(k) != after.get(k))
            problems.append("seed %d: after +3 the runs of %s are not where they should be" % (seed, changed))
        moved_values = {moved(k, 3): v for k, v in before_values.items()}
        if values(plus) != moved_values:
            problems.append("seed %d: after +3 openpyxl reads other values" % seed)

    swap = original.replace(".xlsx", "-22.xlsx")
    shutil.copyfile(original, swap)
    if run([swap, "--sheet", "+1", "--select", "B5:C5", "--answer", "1", "--", "*22"], "seed %d" % seed):
        after = runs_by_cell(swap)
        got = values(swap)
        if got.get("B5") != 1234:
            problems.append("seed %d: *22 left B5 as %r" % (seed, got.get("B5")))
        if "B5" in after:
            problems.append("seed %d: the number *22 made is written with runs" % seed)
        # The tool writes every value of the selection back, as the spreadsheet's Value = Value
        # does, which replaces the word's runs too; cells outside the selection keep theirs.
        if got.get("C5") != before_values["C5"] or "C5" in after:
            problems.append("seed %d: *22 left the word in C5 as %r with runs %r" % (seed, got.get("C5"), after.get("C5")))
        if after != {k: v for k, v in before.items() if k not in ("B5", "C5")}:
            problems.append("seed %d: *22 changed runs outside its selection" % seed)


def main():
    work = tempfile.mkdtemp(prefix="tezlo-rich-")
    try:
        for seed in range(1, 5):
            check(seed, work)
    finally:
        shutil.rmtree(work, ignore_errors=True)
    for p in problems:
        print(p)
    print("%d problems" % len(problems))
    sys.exit(1 if problems else 0)


if __name__ == "__main__":
    main()
