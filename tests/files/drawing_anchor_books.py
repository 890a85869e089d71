#!/usr/bin/env python3
"""Pictures and charts anchored every way a drawing part can anchor them, written and read back with
openpyxl (a reader that is not Tezlo's).
  drawing_anchor_books.py make BOOK   writes the workbook
  drawing_anchor_books.py read BOOK   prints each drawing of the first sheet, one a line: its
                                      two-cell anchors, one-cell anchors, then absolute ones:
      chart|picture  twoCell|oneCell|absolute|fixed  fromCol fromColOff fromRow fromRowOff
                     toCol toColOff toRow toRowOff
  ("fixed" is an absoluteAnchor, whose numbers are all 0; a oneCellAnchor's "to" is its from.)"""
import os
import posixpath
import sys
import zipfile

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import make_feature_books as features  # noqa: E402
from openpyxl import Workbook, load_workbook  # noqa: E402
from openpyxl.chart import BarChart, Reference  # noqa: E402
from openpyxl.drawing.spreadsheet_drawing import (AbsoluteAnchor, AnchorMarker,  # noqa: E402
                                                  OneCellAnchor, SpreadsheetDrawing, TwoCellAnchor)
from openpyxl.drawing.xdr import XDRPoint2D, XDRPositiveSize2D  # noqa: E402
from openpyxl.xml.functions import fromstring  # noqa: E402

EMU = 9525  # one pixel


def two_cell(c1, r1, c2, r2, edit_as=None):
    """Columns and rows 0-based, as the drawing part writes them; offsets of a few pixels."""
    anchor = TwoCellAnchor(editAs=edit_as)
    anchor._from = AnchorMarker(col=c1, colOff=3 * EMU, row=r1, rowOff=2 * EMU)
    anchor.to = AnchorMarker(col=c2, colOff=7 * EMU, row=r2, rowOff=5 * EMU)
    return anchor


def picture(ws, anchor):
    image = features.RawImage(features.png(), "A1")
    image.anchor = anchor
    ws.add_image(image)


def make(path):
    wb = Workbook()
    ws = wb.active
    ws.title = "Data"
    features.data(ws)
    features.chart(ws)    # a oneCellAnchor at E2
    features.picture(ws)  # a oneCellAnchor at E20
    chart = BarChart()
    chart.add_data(Reference(ws, min_col=2, min_row=1, max_row=11), titles_from_data=True)
    chart.anchor = two_cell(15, 2, 19, 11)  # P3:T12, right of the 13-column band A:M
    ws.add_chart(chart)
    picture(ws, two_cell(1, 4, 3, 8))               # B5:D9, moves and sizes with its cells
    picture(ws, two_cell(11, 11, 15, 15, "oneCell"))  # L12:P16, across the band's right edge
    picture(ws, two_cell(5, 23, 7, 26, "absolute"))   # F24:H27, stays
    picture(ws, two_cell(6, 7, 9, 13, "twoCell"))     # G8:J14
    picture(ws, AbsoluteAnchor(pos=XDRPoint2D(x=100 * EMU, y=50 * EMU), ext=XDRPositiveSize2D(cx=64 * EMU, cy=32 * EMU)))
    picture(ws, OneCellAnchor(_from=AnchorMarker(col=0, colOff=EMU, row=30, rowOff=EMU),
                              ext=XDRPositiveSize2D(cx=64 * EMU, cy=32 * EMU)))  # A31
    wb.save(path)


def line(kind, anchor):
    if isinstance(anchor, AbsoluteAnchor):
        return "%s fixed 0 0 0 0 0 0 0 0" % kind
    f = anchor._from
    if isinstance(anchor, OneCellAnchor):
        t, mode = f, "oneCell"
    else:
        t, mode = anchor.to, anchor.editAs or "twoCell"
    return "%s %s %d %d %d %d %d %d %d %d" % (kind, mode, f.col, f.colOff, f.row, f.rowOff,
                                              t.col, t.colOff, t.row, t.rowOff)


def resolve(base, target):
    """A relationship's target as a part name: absolute ("/xl/...") or relative to `base`."""
    if target.startswith("/"):
        return target[1:]
    return posixpath.normpath(posixpath.join(base, target))


def target(rels_xml, rel_id, base):
    for rel in fromstring(rels_xml):
        if rel.get("Id") == rel_id:
            return resolve(base, rel.get("Target"))
    return None


def read(path):
    """openpyxl reads the charts itself; its pictures need an imaging library, so the drawing part
    is read with openpyxl's drawing classes, and each picture's image part is looked up."""
    ws = load_workbook(path).worksheets[0]
    with zipfile.ZipFile(path) as z:
        names = set(z.namelist())
        sheet_rels = z.read("xl/worksheets/_rels/sheet1.xml.rels")
        drawing_rel = [r for r in fromstring(sheet_rels) if r.get("Type").endswith("/drawing")][0]
        drawing = resolve("xl/worksheets", drawing_rel.get("Target"))
        part = SpreadsheetDrawing.from_tree(fromstring(z.read(drawing)))
        rels = z.read(posixpath.join(posixpath.dirname(drawing), "_rels", posixpath.basename(drawing) + ".rels"))
    base = posixpath.dirname(drawing)
    charts = pictures = 0
    for anchor in part.twoCellAnchor + part.oneCellAnchor + part.absoluteAnchor:
        if anchor.graphicFrame is not None:
            charts += 1
            print(line("chart", anchor))
        elif anchor.pic is not None:
            pictures += 1
            image = target(rels, anchor.pic.blipFill.blip.embed, base)
            if image not in names:
                sys.exit("picture without its image: %s" % image)
            print(line("picture", anchor))
    if charts != len(ws._charts) or pictures == 0:
        sys.exit("openpyxl opened %d charts of %d, %d pictures" % (len(ws._charts), charts, pictures))


if __name__ == "__main__":
    {"make": make, "read": read}[sys.argv[1]](sys.argv[2])
