#!/usr/bin/env python3
"""Writes a workbook with openpyxl for the interop test: usage make_openpyxl_book.py OUT.xlsx"""
import datetime
import sys

from openpyxl import Workbook
from openpyxl.comments import Comment
from openpyxl.styles import PatternFill
from openpyxl.styles.colors import Color

wb = Workbook()
ws = wb.active
ws.title = "+1"
second = wb.create_sheet("数据")

ws["A1"] = 42.5
ws["B1"] = "主题词"
ws["C1"] = True
ws["D1"] = "=SUM(A1,1)"
ws["E1"] = datetime.datetime(1980, 5, 1)
ws["E1"].number_format = "yyyy/m/d"
ws["F1"] = "#N/A"
ws["F1"].data_type = "e"
ws["G1"] = "00123"
ws["G1"].number_format = "@"
ws["H1"] = "'quoted"
ws["I1"] = "x"
ws["I1"].quotePrefix = True
ws["A2"] = 1234.5
ws["A2"].number_format = "#,##0.00"

ws["A3"].comment = Comment("第一行\n第二行", "someone")
ws["A4"].fill = PatternFill("solid", fgColor=Color(indexed=50))  # ColorIndex 43
ws["B4"].fill = PatternFill("solid", fgColor="FF99CC00")          # the same colour as rgb
ws["C4"].fill = PatternFill("solid", fgColor="FFFF0001")          # nearest: red, 3

ws.column_dimensions["A"].width = 20
ws.column_dimensions["C"].hidden = True
ws.row_dimensions[2].height = 30
ws.row_dimensions[5].hidden = True
ws.merge_cells("A10:C11")
ws.sheet_view.selection[0].activeCell = "D66"
ws.sheet_view.selection[0].sqref = "D66 F1:G2"
ws.sheet_view.topLeftCell = "C50"

second["B2"] = "第二张"
wb.active = 1
wb.save(sys.argv[1])
