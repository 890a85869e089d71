"""Writes the workbook memory_bound_bench.cpp opens: one sheet of ROWS rows by 16,384 columns of
formatted empty cells, deflated at the highest level, as a hostile file would be. The cells leave
out their reference (<c s="1"/>, each the next column), which lets the part shrink to under 1 MB;
with references (<c r="XFD2400" s="1"/>) the same sheet zips to 100 MB.
Usage: make_formatted_book.py PATH [ROWS]"""
import sys
import zipfile

path = sys.argv[1]
rows = int(sys.argv[2]) if len(sys.argv) > 2 else 2400


row_cells = '<c s="1"/>' * 16384
ns = 'xmlns="http://schemas.openxmlformats.org/spreadsheetml/2006/main"'
rel = "http://schemas.openxmlformats.org/officeDocument/2006/relationships"
with zipfile.ZipFile(path, "w", zipfile.ZIP_DEFLATED, compresslevel=9) as z:
    z.writestr("[Content_Types].xml",
               '<Types xmlns="http://schemas.openxmlformats.org/package/2006/content-types">'
               '<Default Extension="rels" ContentType="application/vnd.openxmlformats-package.relationships+xml"/>'
               '<Default Extension="xml" ContentType="application/xml"/></Types>')
    z.writestr("_rels/.rels", f'<Relationships xmlns="http://schemas.openxmlformats.org/package/2006/relationships">'
               f'<Relationship Id="rId1" Type="{rel}/officeDocument" Target="xl/workbook.xml"/></Relationships>')
    z.writestr("xl/workbook.xml", f'<workbook {ns} xmlns:r="{rel}"><sheets>'
               '<sheet name="S" sheetId="1" r:id="rId1"/></sheets></workbook>')
    z.writestr("xl/_rels/workbook.xml.rels",
               f'<Relationships xmlns="http://schemas.openxmlformats.org/package/2006/relationships">'
               f'<Relationship Id="rId1" Type="{rel}/worksheet" Target="worksheets/sheet1.xml"/>'
               f'<Relationship Id="rId2" Type="{rel}/styles" Target="styles.xml"/></Relationships>')
    z.writestr("xl/styles.xml", f'<styleSheet {ns}><fonts count="2"><font/><font><b/></font></fonts>'
               '<fills count="2"><fill><patternFill patternType="none"/></fill>'
               '<fill><patternFill patternType="gray125"/></fill></fills>'
               '<cellXfs count="2"><xf/><xf fontId="1"/></cellXfs></styleSheet>')
    with z.open("xl/worksheets/sheet1.xml", "w", force_zip64=True) as sheet:
        sheet.write(f'<worksheet {ns}><sheetData>'.encode())
        for r in range(1, rows + 1):
            sheet.write(f'<row r="{r}">{row_cells}</row>'.encode())
        sheet.write(b"</sheetData></worksheet>")
