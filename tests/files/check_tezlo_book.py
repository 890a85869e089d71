#!/usr/bin/env python3
"""Reads a workbook Tezlo wrote (interop_test.cpp's book) with openpyxl and checks what the other
program sees. Usage: check_tezlo_book.py BOOK.xlsx. Exits 1 with the differences listed."""
import datetime
import sys

from openpyxl import load_workbook

failures = []


def expect(what, got, wanted):
    if got != wanted:
        failures.append(f"{what}: got {got!r}, wanted {wanted!r}")


wb = load_workbook(sys.argv[1])
expect("sheet names", wb.sheetnames, ["+1", "数据"])
expect("active sheet", wb.active.title, "数据")
ws = wb["+1"]
expect("A1", ws["A1"].value, 42.5)
expect("B1", ws["B1"].value, "主题词\n第二行")
expect("C1", ws["C1"].value, True)
expect("D1 formula", ws["D1"].value, "=SUM(A1,1)")
expect("E1", ws["E1"].value, datetime.datetime(1980, 5, 1))
expect("E1 format", ws["E1"].number_format, "yyyy/m/d")
expect("F1", ws["F1"].value, "#N/A")
expect("F1 type", ws["F1"].data_type, "e")
expect("G1", ws["G1"].value, "00123")
expect("G1 format", ws["G1"].number_format, "@")
expect("H1", ws["H1"].value, "0")
expect("H1 quote prefix", ws["H1"].quotePrefix, True)
expect("A2 format", ws["A2"].number_format, "#,##0.00")
expect("A3 comment", ws["A3"].comment.text if ws["A3"].comment else None, "最近: +3\n第二行")
expect("A4 fill", ws["A4"].fill.fgColor.indexed, 50)
expect("A4 fill type", ws["A4"].fill.fill_type, "solid")
expect("N9 column fill", ws.column_dimensions["N"].fill.fgColor.indexed if ws.column_dimensions["N"].fill else None, 50)
expect("N7 blank cell in a coloured column", ws.cell(7, 14).value, None)
expect("A width", ws.column_dimensions["A"].width, 20 + 5 / 7)
expect("C hidden", ws.column_dimensions["C"].hidden, True)
expect("row 2 height", ws.row_dimensions[2].height, 30)
expect("row 5 hidden", ws.row_dimensions[5].hidden, True)
expect("merged", [str(r) for r in ws.merged_cells.ranges], ["A10:C11"])
expect("active cell", ws.sheet_view.selection[0].activeCell, "D66")
expect("selection", ws.sheet_view.selection[0].sqref, "D66 F1:G2")
expect("top-left cell", ws.sheet_view.topLeftCell, "C50")
expect("second sheet", wb["数据"]["B2"].value, "第二张")

if failures:
    print("\n".join(failures))
    sys.exit(1)
