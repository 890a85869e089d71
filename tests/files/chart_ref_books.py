#!/usr/bin/env python3
"""Charts whose data lie on several sheets, written and read back with openpyxl (a reader that is
not Tezlo's).
  chart_ref_books.py make BOOK   writes the workbook: sheet "Data" with the feature corpus's chart
                                 (values B2:B11 titled by B1, categories A2:A11), sheet "My Sheet"
                                 with a line chart of its own column B and of Data's column C, and a
                                 chart sheet "Plot" with a bar chart of Data's B and My Sheet's C
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


if __name__ == "__main__":
    {"make": make, "read": read}[sys.argv[1]](sys.argv[2])
