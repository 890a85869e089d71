# Prints the array formulas of the first sheet as another program reads them, one line each:
# "A1:B3<TAB>formula", the formula without "=" (in Excel's A1 syntax), sorted by range.
#
#   print_arrays.py openpyxl BOOK OUT       openpyxl's reading of each anchor cell
#   print_arrays.py libreoffice JOBS OUT    a headless LibreOffice (private profile), one
#                                           document per line of JOBS: "BOOK<TAB>OPS", the
#                                           operations done in order through LibreOffice's API
#                                           before the arrays are printed
# OPS, separated by ";", 1-based: "down r1 c1 r2 c2" (cells inserted, those below moving down),
# "up r1 c1 r2 c2" (cells deleted, those below moving up), "rows first last" and "cols first
# last" (whole rows or columns deleted). For LibreOffice, OUT holds per job a line "# BOOK",
# then "refused OP" for each operation LibreOffice refused (it raised, or left the sheet as it
# was), then the arrays.
import os
import sys


def openpyxl_arrays(path):
    import openpyxl

    sheet = openpyxl.load_workbook(path).worksheets[0]
    rows = []
    for line in sheet.iter_rows():
        for cell in line:
            value = cell.value
            if hasattr(value, "ref") and hasattr(value, "text"):  # openpyxl 3.1's ArrayFormula
                rows.append((value.ref, value.text.lstrip("=")))
                continue
            # openpyxl 3.0 keeps the formula's attributes beside the cell's "=..." text.
            attrs = getattr(sheet, "formula_attributes", {}).get(cell.coordinate, {})
            if attrs.get("t") == "array":
                rows.append((attrs.get("ref", ""), str(value).lstrip("=")))
    return sorted(rows)


def libreoffice_arrays(doc, parser):
    sheet = doc.Sheets.getByIndex(0)
    seen = {}
    found = sheet.queryContentCells(16).getCells().createEnumeration()  # formulas
    while found.hasMoreElements():
        cell = found.nextElement()
        if not cell.getArrayFormula():
            continue
        cursor = sheet.createCursorByRange(cell)
        cursor.collapseToCurrentArray()
        name = cursor.AbsoluteName.split(".")[-1].replace("$", "")
        if name in seen:
            continue
        a = cursor.getRangeAddress()
        anchor = sheet.getCellByPosition(a.StartColumn, a.StartRow)
        seen[name] = parser.printFormula(cursor.getArrayTokens(), anchor.getCellAddress())
    return sorted(seen.items())


def run_operations(doc, ops):
    from com.sun.star.table import CellRangeAddress
    from com.sun.star.sheet.CellInsertMode import DOWN
    from com.sun.star.sheet.CellDeleteMode import UP, ROWS, COLUMNS

    def addr(r1, c1, r2, c2):
        a = CellRangeAddress()
        a.Sheet = 0
        a.StartRow, a.StartColumn, a.EndRow, a.EndColumn = r1 - 1, c1 - 1, r2 - 1, c2 - 1
        return a

    refused = []
    for op in [o.strip() for o in ops.split(";") if o.strip()]:
        word, *n = op.split()
        n = [int(x) for x in n]
        sheet = doc.Sheets.getByIndex(0)
        before = sheet.getCellRangeByPosition(0, 0, 49, 199).getFormulaArray()
        try:
            if word == "down":
                sheet.insertCells(addr(*n), DOWN)
            elif word == "up":
                sheet.removeRange(addr(*n), UP)
            elif word == "rows":
                sheet.removeRange(addr(n[0], 1, n[1], 16384), ROWS)
            elif word == "cols":
                sheet.removeRange(addr(1, n[0], 1048576, n[1]), COLUMNS)
            else:
                sys.exit("unknown operation " + op)
        except Exception:  # noqa: BLE001 - a refusal may come as a UNO exception
            refused.append(op)
            continue
        if doc.Sheets.getByIndex(0).getCellRangeByPosition(0, 0, 49, 199).getFormulaArray() == before:
            refused.append(op)
    return refused


def from_libreoffice(jobs_path, out):
    sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
    import libreoffice_session as session
    from com.sun.star.sheet.AddressConvention import XL_A1

    with open(jobs_path, encoding="utf-8") as f:
        jobs = [line.rstrip("\n").split("\t") for line in f if line.strip()]
    lines = []
    pipe, stop = session.start_office("arrays")
    try:
        _, desktop = session.connect(pipe)
        for job in jobs:
            path, ops = job[0], job[1] if len(job) > 1 else ""
            doc = desktop.loadComponentFromURL(
                "file://" + os.path.abspath(path), "_blank", 0, (session.prop("Hidden", True),))
            if doc is None:
                sys.exit("LibreOffice cannot open " + path)
            parser = doc.createInstance("com.sun.star.sheet.FormulaParser")
            parser.FormulaConvention = XL_A1
            parser.CompileEnglish = True
            lines.append("# " + path)
            lines += ["refused " + op for op in run_operations(doc, ops)]
            lines += ["\t".join(row) for row in libreoffice_arrays(doc, parser)]
            doc.close(True)
    finally:
        stop()
    return lines


def main():
    mode, source, out = sys.argv[1:4]
    if mode == "libreoffice":
        lines = from_libreoffice(source, out)
    else:
        lines = ["\t".join(row) for row in openpyxl_arrays(source)]
    with open(out, "w", encoding="utf-8") as f:
        f.write("".join(line + "\n" for line in lines))


main()
