#!/usr/bin/env python3
"""Writes the corpus of the keeping tests with openpyxl: one workbook per feature Tezlo does not
model, and all.xlsx holding all of them with Chinese text.  usage: make_feature_books.py OUTDIR"""
import datetime
import io
import os
import struct
import sys
import zipfile
import zlib

from openpyxl import Workbook
from openpyxl.chart import BarChart, Reference
from openpyxl.comments import Comment
from openpyxl.drawing.image import Image
from openpyxl.formatting.rule import ColorScaleRule, DataBarRule, FormulaRule
from openpyxl.styles import PatternFill
from openpyxl.workbook.defined_name import DefinedName
from openpyxl.worksheet.datavalidation import DataValidation
from openpyxl.worksheet.pagebreak import Break
from openpyxl.worksheet.table import Table, TableStyleInfo

def png():
    """A 2x2 red PNG, made here so that no imaging library is needed."""
    def chunk(kind, data):
        return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data) & 0xFFFFFFFF)
    raw = b"".join(b"\0" + b"\xff\0\0" * 2 for _ in range(2))
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", 2, 2, 8, 2, 0, 0, 0)) +
            chunk(b"IDAT", zlib.compress(raw)) + chunk(b"IEND", b""))


class RawImage(Image):
    """openpyxl's picture without its imaging library: the bytes are written as they are."""
    def __init__(self, data, anchor):
        self.ref = io.BytesIO(data)
        self.format = "png"
        self.width = 64
        self.height = 32
        self.anchor = anchor
        self._data_bytes = data

    def _data(self):
        return self._data_bytes


def data(ws, title="Name"):
    ws.append([title, "Value", "Date"])
    for i in range(1, 11):
        ws.append(["item %d" % i, i * 10, datetime.datetime(2024, 1, i)])


def chart(ws):
    c = BarChart()
    c.title = "Values"
    c.add_data(Reference(ws, min_col=2, min_row=1, max_row=11), titles_from_data=True)
    c.set_categories(Reference(ws, min_col=1, min_row=2, max_row=11))
    ws.add_chart(c, "E2")


def picture(ws):
    ws.add_image(RawImage(png(), "E20"))


def names(wb, ws):
    wb.defined_names.append(DefinedName("Values", attr_text="'%s'!$B$2:$B$11" % ws.title))
    wb.defined_names.append(DefinedName("Local", attr_text="'%s'!$A$1" % ws.title, localSheetId=0))
    ws.print_area = "A1:C11"
    ws.print_title_rows = "1:1"


def conditional(ws):
    # Rules that draw without a differential format of the styles part.
    ws.conditional_formatting.add("B2:B11", DataBarRule(start_type="min", end_type="max", color="638EC6"))
    ws.conditional_formatting.add("A2:A11", FormulaRule(formula=['LEN(A2)>6'], stopIfTrue=True))
    ws.conditional_formatting.add("C2:C11", ColorScaleRule(start_type="min", start_color="FFFFFF",
                                                           end_type="max", end_color="63BE7B"))


def validation(ws):
    dv = DataValidation(type="list", formula1='"yes,no,maybe"', allow_blank=True)
    dv.add("D2:D11")
    ws.add_data_validation(dv)
    whole = DataValidation(type="whole", operator="between", formula1="0", formula2="1000")
    whole.error = "0 to 1000"
    whole.add("B2:B11")
    ws.add_data_validation(whole)


def hyperlinks(ws):
    ws["A13"] = "site"
    ws["A13"].hyperlink = "https://example.com/a?b=1&c=2"
    ws["A14"] = "inside"
    ws["A14"].hyperlink = "#'%s'!B5" % ws.title


def autofilter(ws):
    ws.auto_filter.ref = "A1:C11"
    ws.auto_filter.add_filter_column(1, ["10", "20"])
    ws.auto_filter.add_sort_condition("B2:B11")


def panes(ws):
    ws.freeze_panes = "B2"


def table(ws):
    t = Table(displayName="Items", ref="A1:C11")
    t.tableStyleInfo = TableStyleInfo(name="TableStyleMedium9", showRowStripes=True)
    ws.add_table(t)


def printing(ws):
    ws.print_options.gridLines = True
    ws.page_setup.orientation = "landscape"
    ws.page_setup.paperSize = ws.PAPERSIZE_A4
    ws.page_margins.left = 0.25
    ws.page_margins.top = 1.125
    ws.oddHeader.center.text = "&A"
    ws.oddFooter.right.text = "Page &P of &N"
    ws.row_breaks.append(Break(id=5))
    ws.col_breaks.append(Break(id=2))


def sheet_settings(ws):
    ws.sheet_properties.tabColor = "1072BA"
    ws.protection.sheet = True
    ws.row_dimensions[3].outlineLevel = 1
    ws.row_dimensions[4].outlineLevel = 1
    ws.row_dimensions[20].outlineLevel = 2  # a row with no cell
    ws.column_dimensions.group("E", "F", outline_level=1)


def properties(wb):
    wb.properties.creator = "Ada Writer"
    wb.properties.title = "Quarterly numbers"
    wb.properties.keywords = "kept"


FEATURES = {
    "chart": lambda wb, ws: chart(ws),
    "picture": lambda wb, ws: picture(ws),
    "names": names,
    "conditional": lambda wb, ws: conditional(ws),
    "validation": lambda wb, ws: validation(ws),
    "hyperlink": lambda wb, ws: hyperlinks(ws),
    "filter": lambda wb, ws: autofilter(ws),
    "panes": lambda wb, ws: panes(ws),
    "table": lambda wb, ws: table(ws),
    "print": lambda wb, ws: printing(ws),
    "settings": lambda wb, ws: sheet_settings(ws),
    "properties": lambda wb, ws: properties(wb),
}


def book(features, title="Data", chinese=False):
    wb = Workbook()
    ws = wb.active
    ws.title = title
    data(ws, "名称" if chinese else "Name")
    for f in features:
        FEATURES[f](wb, ws)
    if chinese:
        ws["A12"] = "合计"
        ws["A3"].comment = Comment("第一条批注", "作者")  # comments Tezlo rewrites, next to a kept drawing
        other = wb.create_sheet("第二张")
        other["A1"] = "另一张表"
        other.freeze_panes = "A2"
        validation(other)
    return wb


CUSTOM = (b'<?xml version="1.0" encoding="UTF-8" standalone="yes"?>\n'
          b'<Properties xmlns="http://schemas.openxmlformats.org/officeDocument/2006/custom-properties" '
          b'xmlns:vt="http://schemas.openxmlformats.org/officeDocument/2006/docPropsVTypes">'
          b'<property fmtid="{D5CDD505-2E9C-101B-9397-08002B2CF9AE}" pid="2" name="Project">'
          b'<vt:lpwstr>Tezlo \xe9\xa1\xb9\xe7\x9b\xae</vt:lpwstr></property></Properties>')


def rewrite(path, edit, extra):
    """Rewrites the package at `path`: `edit(name, bytes)` gives each part's new bytes, `extra` parts are added."""
    with zipfile.ZipFile(path) as src:
        items = [(item, src.read(item.filename)) for item in src.infolist()]
    with zipfile.ZipFile(path, "w", zipfile.ZIP_DEFLATED) as dst:
        for item, content in items:
            dst.writestr(item, edit(item.filename, content))
        for name, content in extra.items():
            dst.writestr(name, content)


def add_custom_properties(path):
    """Custom document properties, which this openpyxl does not write."""
    def edit(name, content):
        if name == "[Content_Types].xml":
            return content.replace(b"</Types>", b'<Override PartName="/docProps/custom.xml" ContentType="application/vnd.openxmlformats-officedocument.custom-properties+xml"/></Types>')
        if name == "_rels/.rels":
            return content.replace(b"</Relationships>", b'<Relationship Id="rIdCustom" Type="http://schemas.openxmlformats.org/officeDocument/2006/relationships/custom-properties" Target="docProps/custom.xml"/></Relationships>')
        return content
    rewrite(path, edit, {"docProps/custom.xml": CUSTOM})


def add_macros(path, out):
    """An .xlsm made by hand: the workbook's content type says macros, and a vbaProject part."""
    with zipfile.ZipFile(path) as src, zipfile.ZipFile(out, "w", zipfile.ZIP_DEFLATED) as dst:
        for item in src.infolist():
            content = src.read(item.filename)
            if item.filename == "[Content_Types].xml":
                content = content.replace(b"application/vnd.openxmlformats-officedocument.spreadsheetml.sheet.main+xml",
                                          b"application/vnd.ms-excel.sheet.macroEnabled.main+xml")
                content = content.replace(b"</Types>", b'<Default Extension="bin" ContentType="application/vnd.ms-office.vbaProject"/></Types>')
            elif item.filename == "xl/_rels/workbook.xml.rels":
                content = content.replace(b"</Relationships>",
                                          b'<Relationship Id="rIdVba" Type="http://schemas.microsoft.com/office/2006/relationships/vbaProject" Target="vbaProject.bin"/></Relationships>')
            dst.writestr(item, content)
        dst.writestr("xl/vbaProject.bin", b"\xd0\xcf\x11\xe0\xa1\xb1\x1a\xe1" + bytes(range(256)) * 8)


if __name__ == "__main__":  # the corpus; drawing_anchor_books.py borrows the features
    OUT = sys.argv[1]
    os.makedirs(OUT, exist_ok=True)
    for feature in FEATURES:
        book([feature]).save(os.path.join(OUT, feature + ".xlsx"))
    all_path = os.path.join(OUT, "all.xlsx")
    book(list(FEATURES), "数据表", chinese=True).save(all_path)
    add_custom_properties(all_path)
    add_custom_properties(os.path.join(OUT, "properties.xlsx"))
    book(["chart"]).save(os.path.join(OUT, "plain.xlsx"))
    add_macros(os.path.join(OUT, "plain.xlsx"), os.path.join(OUT, "macro.xlsm"))
    os.remove(os.path.join(OUT, "plain.xlsx"))
