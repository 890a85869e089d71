#!/usr/bin/env python3
"""Charts whose data lie on several sheets, written and read back with openpyxl (a reader that is
not Tezlo's).
  chart_ref_books.py make BOOK   writes the workbook: sheet "Data" with the feature corpus's chart
                                 (values B2:B11 titled by B1, categories A2:A11), sheet "My Sheet"
                                 with a line chart of its own column B and of Data's column C, and a
                                 chart sheet "Plot" with a bar chart of Data's B and My Sheet's C
  chart_ref_books.py libreoffice BOOK OUT
                                 opens BOOK in a headless LibreOffice (a private profile, started and
                                 ended here), applies the operations of the test (STEPS), saves OUT
  chart_ref_books.py read BOOK   prints every formula of every chart, one a line, in the order of
                                 the sheets (worksheets, then chart sheets) and of their series:
      SHEET  SERIES  title|values|categories  FORMULA"""
import os
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import make_feature_books as features  # noqa: E402
from openpyxl import Workbook, load_workbook  # noqa: E402
from openpyxl.chart import BarChart, LineChart, Reference, Series  # noqa: E402


def make(path):
    wb = Workbook()
    data = wb.active
    data.title = "Data"
    features.data(data)
    features.chart(data)
    mine = wb.create_sheet("My Sheet")
    for row in range(1, 21):
        mine.append([row, row * 2, row * 3])
    line = LineChart()
    line.add_data(Reference(mine, min_col=2, min_row=1, max_row=20), titles_from_data=True)
    line.series.append(Series(Reference(data, min_col=3, min_row=2, max_row=11), title="Dates"))
    mine.add_chart(line, "F3")
    plot = wb.create_chartsheet("Plot")
    bar = BarChart()
    bar.add_data(Reference(data, min_col=2, min_row=2, max_row=11))
    bar.add_data(Reference(mine, min_col=3, min_row=5, max_row=15))
    bar.set_categories(Reference(data, min_col=1, min_row=2, max_row=11))
    plot.add_chart(bar)
    wb.save(path)


def formulas(series):
    out = []
    if series.tx is not None and series.tx.strRef is not None:
        out.append(("title", series.tx.strRef.f))
    for kind, source in (("values", series.val), ("categories", series.cat)):
        if source is None:
            continue
        ref = source.numRef or getattr(source, "strRef", None)
        if ref is not None:
            out.append((kind, ref.f))
    return out


def read(path):
    wb = load_workbook(path)
    for sheet in wb.worksheets + wb.chartsheets:
        for chart in sheet._charts:
            for i, series in enumerate(chart.series):
                for kind, f in formulas(series):
                    print("%s\t%d\t%s\t%s" % (sheet.title, i, kind, f))


# The test's operations, in order: rows 1..3 of cells inserted in A:M of Data, cells below moving
# down; whole rows 2..4 of My Sheet deleted; Data renamed "Data 2024"; Data's C5:C14 deleted,
# cells below moving up; My Sheet renamed "Summary". Rows and columns 1-based.
STEPS = [
    ("insert down", 0, (1, 1, 3, 13)),
    ("delete rows", 1, (2, 4)),
    ("rename", 0, "Data 2024"),
    ("delete up", 0, (5, 3, 14, 3)),
    ("rename", 1, "Summary"),
]


def libreoffice(path, out):
    import libreoffice_session as session
    from com.sun.star.sheet.CellDeleteMode import ROWS as DELETE_ROWS, UP
    from com.sun.star.sheet.CellInsertMode import DOWN
    from com.sun.star.table import CellRangeAddress

    def cells(index, r1, c1, r2, c2):
        a = CellRangeAddress()
        a.Sheet, a.StartRow, a.StartColumn, a.EndRow, a.EndColumn = index, r1 - 1, c1 - 1, r2 - 1, c2 - 1
        return a

    pipe, stop = session.start_office("charts")
    try:
        _, desktop = session.connect(pipe)
        doc = desktop.loadComponentFromURL("file://" + os.path.abspath(path), "_blank", 0,
                                           (session.prop("Hidden", True),))
        sheets = doc.Sheets
        index = {name: sheets.getByIndex(i).Name for i, name in enumerate(("Data", "My Sheet"))}
        for what, i, arg in STEPS:
            sheet = sheets.getByName(index[("Data", "My Sheet")[i]])
            if what == "insert down":
                sheet.insertCells(cells(i, *arg), DOWN)
            elif what == "delete up":
                sheet.removeRange(cells(i, *arg), UP)
            elif what == "delete rows":
                sheet.removeRange(cells(i, arg[0], 1, arg[1], 1024), DELETE_ROWS)
            else:
                sheet.Name = arg
                index[("Data", "My Sheet")[i]] = arg
        session.store_xlsx(doc, os.path.abspath(out))
        doc.close(True)
    finally:
        stop()


if __name__ == "__main__":
    if sys.argv[1] == "libreoffice":
        libreoffice(sys.argv[2], sys.argv[3])
    else:
        {"make": make, "read": read}[sys.argv[1]](sys.argv[2])
