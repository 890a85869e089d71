# Prints the first sheet's cells as another program reads them, one line each:
# "A1<TAB>formula<TAB>value", the formula without its "=" (empty for a constant).
#
#   print_formulas.py libreoffice BOOK OUT   LibreOffice, headless with a private profile; the
#                                            formula in Excel's A1 syntax, the value left out
#   print_formulas.py openpyxl BOOK OUT      openpyxl; the value is the one cached in the file
import os
import sys


def from_libreoffice(path):
    sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
    import libreoffice_session as session
    from com.sun.star.sheet.AddressConvention import XL_A1

    rows = []
    pipe, stop = session.start_office("formulas")
    try:
        _, desktop = session.connect(pipe)
        doc = session.load(desktop, os.path.abspath(path))
        if doc is None:
            sys.exit("LibreOffice cannot open " + path)
        sheet = doc.Sheets.getByIndex(0)
        parser = doc.createInstance("com.sun.star.sheet.FormulaParser")
        parser.FormulaConvention = XL_A1
        parser.CompileEnglish = True
        # The cells holding something (values, texts, formulas), wherever they lie.
        found = sheet.queryContentCells(1 | 2 | 4 | 16).getCells().createEnumeration()
        while found.hasMoreElements():
            cell = found.nextElement()
            at = cell.getCellAddress()
            formula = ""
            if cell.getType().value == "FORMULA":
                formula = parser.printFormula(cell.getTokens(), at)
            rows.append((cell.AbsoluteName.split(".")[-1].replace("$", ""), formula, ""))
        doc.close(True)
    finally:
        stop()
    return rows


def from_openpyxl(path):
    import openpyxl

    formulas = openpyxl.load_workbook(path).worksheets[0]
    values = openpyxl.load_workbook(path, data_only=True).worksheets[0]
    rows = []
    for line in formulas.iter_rows():
        for cell in line:
            if cell.value is None:
                continue
            text = cell.value if isinstance(cell.value, str) else ""
            formula = text[1:] if cell.data_type == "f" else ""
            rows.append((cell.coordinate, formula, str(values[cell.coordinate].value)))
    return rows


def main():
    mode, path, out = sys.argv[1:4]
    rows = from_libreoffice(path) if mode == "libreoffice" else from_openpyxl(path)
    with open(out, "w", encoding="utf-8") as f:
        for row in rows:
            f.write("\t".join(row) + "\n")


main()
