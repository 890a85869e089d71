#!/usr/bin/env python3
"""Writes a small seed corpus for the reader's fuzzer: usage make_fuzz_seeds.py FOLDER.
A workbook from openpyxl, and small packages made here that reach the reader's other paths
(shared and inline texts, styles with fills, comments, merged areas, views, rows and columns)."""
import os
import subprocess
import sys
import zipfile

folder = sys.argv[1]
os.makedirs(folder, exist_ok=True)
here = os.path.dirname(os.path.abspath(__file__))
subprocess.run([sys.executable, os.path.join(here, "make_openpyxl_book.py"),
                os.path.join(folder, "openpyxl.xlsx")], check=True)

MAIN = "http://schemas.openxmlformats.org/spreadsheetml/2006/main"
R = "http://schemas.openxmlformats.org/officeDocument/2006/relationships"
PKG = "http://schemas.openxmlformats.org/package/2006/relationships"


def rels(*items):
    body = "".join(f'<Relationship Id="{i}" Type="{R}/{t}" Target="{target}"/>' for i, t, target in items)
    return f'<Relationships xmlns="{PKG}">{body}</Relationships>'


def package(name, sheet, extra=None):
    parts = {
        "[Content_Types].xml": '<Types xmlns="http://schemas.openxmlformats.org/package/2006/content-types"/>',
        "_rels/.rels": rels(("rId1", "officeDocument", "xl/workbook.xml")),
        "xl/workbook.xml": f'<workbook xmlns="{MAIN}" xmlns:r="{R}"><bookViews><workbookView activeTab="0"/>'
                           f'</bookViews><sheets><sheet name="+1" sheetId="1" r:id="rId1"/></sheets></workbook>',
        "xl/_rels/workbook.xml.rels": rels(("rId1", "worksheet", "worksheets/sheet1.xml"),
                                           ("rId2", "styles", "styles.xml"),
                                           ("rId3", "sharedStrings", "sharedStrings.xml")),
        "xl/styles.xml": f'<styleSheet xmlns="{MAIN}"><numFmts count="1"><numFmt numFmtId="164" formatCode="yyyy/m/d"/>'
                         '</numFmts><fills count="3"><fill><patternFill patternType="none"/></fill><fill>'
                         '<patternFill patternType="gray125"/></fill><fill><patternFill patternType="solid">'
                         '<fgColor indexed="50"/></patternFill></fill></fills><cellXfs count="4"><xf numFmtId="0"/>'
                         '<xf numFmtId="164"/><xf fillId="2"/><xf numFmtId="49" quotePrefix="1"/></cellXfs></styleSheet>',
        "xl/sharedStrings.xml": f'<sst xmlns="{MAIN}"><si><t>主题</t></si><si><r><t>a</t></r><r><t>b_x000A_</t></r></si></sst>',
        "xl/worksheets/sheet1.xml": f'<worksheet xmlns="{MAIN}" xmlns:r="{R}">{sheet}</worksheet>',
    }
    parts.update(extra or {})
    with zipfile.ZipFile(os.path.join(folder, name), "w", zipfile.ZIP_DEFLATED) as z:
        for part, text in parts.items():
            z.writestr(part, text)


package("cells.xlsx",
        '<sheetViews><sheetView tabSelected="1" topLeftCell="B2" workbookViewId="0">'
        '<selection activeCell="C3" sqref="C3 A1:B2"/></sheetView></sheetViews>'
        '<sheetFormatPr defaultRowHeight="15"/><cols><col min="1" max="3" width="12" style="2" customWidth="1"/></cols>'
        '<sheetData><row r="1" ht="20" customHeight="1"><c r="A1" t="s"><v>0</v></c><c r="B1" s="1"><v>29342</v></c>'
        '<c r="C1" t="b"><v>1</v></c><c r="D1" t="e"><v>#N/A</v></c><c r="E1" s="3" t="inlineStr"><is><t>0</t></is></c></row>'
        '<row r="2" hidden="1" s="2" customFormat="1"><c r="A2"><f>SUM(A1)</f><v>1</v></c>'
        '<c r="B2" t="str"><f>"x"</f><v>x</v></c><c t="s"><v>1</v></c></row></sheetData>'
        '<mergeCells count="1"><mergeCell ref="A5:B6"/></mergeCells><legacyDrawing r:id="rId2"/>')
package("comments.xlsx",
        '<sheetData><row r="1"><c r="A1"><v>1</v></c></row></sheetData><legacyDrawing r:id="rId2"/>',
        {"xl/worksheets/_rels/sheet1.xml.rels": rels(("rId1", "comments", "../comments1.xml"),
                                                     ("rId2", "vmlDrawing", "../drawings/vmlDrawing1.vml")),
         "xl/comments1.xml": f'<comments xmlns="{MAIN}"><authors><author>a</author></authors><commentList>'
                             '<comment ref="A1" authorId="0"><text><r><t>最近:</t></r><r><t xml:space="preserve">'
                             ' +3\n二</t></r></text></comment></commentList></comments>',
         "xl/drawings/vmlDrawing1.vml": "<xml/>"})
# Sizes kept as written (hidden ones, the sheet format's defaults) and texts with the format's
# escapes, controls and characters XML forbids, which the writer must escape to reload.
package("sizes_and_escapes.xlsx",
        '<sheetFormatPr baseColWidth="10" defaultColWidth="11.5" defaultRowHeight="14.25"/>'
        '<cols><col min="2" max="2" width="12.5" customWidth="1"/><col min="4" max="5" width="1e1" hidden="1"/></cols>'
        '<sheetData><row r="1" ht="40.0" customHeight="1"><c r="A1" t="inlineStr"><is><t>_x0001__xD800__x005F_x0041__xFFFE_</t></is></c>'
        '<c r="B1" t="s"><v>1</v></c></row><row r="3" ht="22.5" hidden="1"/></sheetData>',
        {"xl/workbook.xml": f'<workbook xmlns="{MAIN}" xmlns:r="{R}"><sheets><sheet name="a_x0007_b" sheetId="1" '
                            'r:id="rId1"/></sheets></workbook>'})
