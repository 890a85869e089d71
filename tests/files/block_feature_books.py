# Two workbooks, one written by LibreOffice through its API and one by openpyxl, holding the same
# layout: on sheet "+1" a topic block A51:M62 (topic word in A51, a bold bordered header in
# B51:M51, eleven rows of data in B52:M62) and a second topic block A70:M75, with what refers to
# cells crossing them:
#   defined names (a range in the first block, one in the second, one cell, the print area),
#   conditional formats (C52:C62 over a value; B71:M75 by a relative formula),
#   validation (D52:D62 decimal; E71:E75 a list), a hyperlink on B60, the autofilter B51:M62,
#   a chart of C52:C62 by B52:B62 anchored to the cells H64:M68, a picture anchored to F54:H58,
#   comments on C55 and C72;
# and what crosses the 13-column band's right edge, which a band shift leaves or splits: a name
# over A52:P60, a conditional format over L53:O58 by a relative formula, validation of
# L56:N57, a comment on N56 (no value right of M, so that "*16" trims the same columns).
# Sheet "+2" exists in both, as the tools' preparation would add it otherwise.
#   make_libreoffice_book(desktop, context, path)    make_openpyxl_book(path)
import os

from make_feature_books import png

FIRST, LAST = 51, 62             # the first topic block's rows
SECOND, SECOND_LAST = 70, 75     # the second's
PICTURE = (5, 53, 7, 57)         # 0-based corners: F54:H58
CHART = (7, 63, 12, 67)          # H64:M68
LINK = "https://example.com/items?b=1&c=2"


def key(i):
    """The sort key of data row i (0..10) in column C: distinct, in no order."""
    return [70, 20, 110, 50, 90, 10, 100, 30, 80, 60, 40][i]


def first_block():
    """Rows FIRST..LAST of columns A..M: the topic word, the header, then data (no empty cell in
    B..M, so that the values written by a swap or a move land on every cell)."""
    rows = [["Topic"] + ["h%d" % c for c in range(2, 14)]]
    for i in range(LAST - FIRST):
        rows.append([None, "item %d" % (i + 1), key(i), (i + 1) / 40] + [(i + 1) * c for c in range(5, 14)])
    return rows


def second_block():
    rows = [["Second"] + ["s%d" % c for c in range(2, 14)]]
    for i in range(SECOND_LAST - SECOND):
        rows.append([None] + [(i + 1) * 37 % 150 + c for c in range(2, 14)])
    return rows


def make_libreoffice_book(desktop, context, path):
    import uno
    from libreoffice_session import prop, store_xlsx
    from com.sun.star.awt import Point, Size, Rectangle
    from com.sun.star.table import BorderLine2, CellAddress, CellRangeAddress
    from com.sun.star.sheet.ValidationType import DECIMAL, LIST, WHOLE
    from com.sun.star.sheet.ConditionOperator import BETWEEN, GREATER, FORMULA

    doc = desktop.loadComponentFromURL("private:factory/scalc", "_blank", 0, (prop("Hidden", True),))
    sheet = doc.Sheets.getByIndex(0)
    sheet.Name = "+1"
    doc.Sheets.insertNewByName("+2", 1)
    for top, rows in ((FIRST, first_block()), (SECOND, second_block())):
        for r, values in enumerate(rows):
            for c, v in enumerate(values):
                if v is None:
                    continue
                cell = sheet.getCellByPosition(c, top - 1 + r)
                if isinstance(v, str):
                    cell.String = v
                else:
                    cell.Value = v
    line = BorderLine2()
    line.OuterLineWidth = line.LineWidth = 35
    for where in ("B51:M51", "A70"):
        cells = sheet.getCellRangeByName(where)
        cells.CharWeight = 150.0
        cells.TopBorder = cells.BottomBorder = cells.LeftBorder = cells.RightBorder = line

    names = doc.NamedRanges
    here = CellAddress(0, 0, 0)
    names.addNewByName("Values", "$'+1'.$C$52:$C$62", here, 0)
    names.addNewByName("Later", "$'+1'.$B$71:$M$75", here, 0)
    names.addNewByName("Corner", "$'+1'.$E$58", here, 0)
    names.addNewByName("Wide", "$'+1'.$A$52:$P$60", here, 0)
    sheet.setPrintAreas((CellRangeAddress(0, 0, FIRST - 1, 12, LAST - 1),))

    rules = sheet.getCellRangeByName("C52:C62").ConditionalFormat
    rules.addNew((prop("Operator", GREATER), prop("Formula1", "50"), prop("StyleName", "Bad")))
    sheet.getCellRangeByName("C52:C62").ConditionalFormat = rules
    rules = sheet.getCellRangeByName("B71:M75").ConditionalFormat
    rules.addNew((prop("Operator", FORMULA), prop("Formula1", "B71>100"), prop("StyleName", "Good")))
    sheet.getCellRangeByName("B71:M75").ConditionalFormat = rules
    rules = sheet.getCellRangeByName("L53:O58").ConditionalFormat
    rules.addNew((prop("Operator", FORMULA), prop("Formula1", "L53>K53"), prop("StyleName", "Bad")))
    sheet.getCellRangeByName("L53:O58").ConditionalFormat = rules

    for where, kind, f1, f2 in (("D52:D62", DECIMAL, "0", "1"), ("E71:E75", LIST, '"yes";"no"', ""),
                                ("L56:N57", WHOLE, "0", "1000")):
        cells = sheet.getCellRangeByName(where)
        rule = cells.Validation
        rule.Type = kind
        if kind != LIST:
            rule.setOperator(BETWEEN)
        rule.setFormula1(f1)
        rule.setFormula2(f2)
        cells.Validation = rule

    cell = sheet.getCellByPosition(1, 59)  # B60, holding "item 9"
    text = cell.String
    cell.String = ""
    field = doc.createInstance("com.sun.star.text.TextField.URL")
    field.URL = LINK
    field.Representation = text
    cell.insertTextContent(cell.createTextCursor(), field, False)

    area = sheet.getCellRangeByName("B51:M62").RangeAddress
    filters = doc.getPropertyValue("UnnamedDatabaseRanges")
    filters.setByTable(area)
    filters.getByTable(0).AutoFilter = True

    for where, text in (("C55", "a note on C55"), ("C72", "a note in the second block"), ("N56", "beside")):
        a = sheet.getCellRangeByName(where).CellAddress
        sheet.Annotations.insertNew(a, text)

    def rectangle(c1, r1, c2, r2):
        start = sheet.getCellByPosition(c1, r1).Position
        end = sheet.getCellByPosition(c2, r2)
        return start, end.Position.X + end.Size.Width // 2 - start.X, end.Position.Y + end.Size.Height // 2 - start.Y

    def anchor_to_cells(shape, c1, r1):
        shape.Anchor = sheet.getCellByPosition(c1, r1)
        shape.ResizeWithCell = True

    series = sheet.getCellRangeByName("B52:C62").RangeAddress
    start, w, h = rectangle(*CHART)
    sheet.Charts.addNewByName("Keys", Rectangle(start.X, start.Y, w, h), (series,), False, True)
    page = sheet.DrawPage
    chart = [page.getByIndex(i) for i in range(page.Count)][-1]
    anchor_to_cells(chart, CHART[0], CHART[1])

    folder = os.path.dirname(os.path.abspath(path))
    image = os.path.join(folder, "red.png")
    with open(image, "wb") as f:
        f.write(png())
    provider = context.ServiceManager.createInstanceWithContext("com.sun.star.graphic.GraphicProvider", context)
    graphic = provider.queryGraphic((prop("URL", uno.systemPathToFileUrl(image)),))
    os.remove(image)
    shape = doc.createInstance("com.sun.star.drawing.GraphicObjectShape")
    shape.Graphic = graphic
    page.add(shape)
    start, w, h = rectangle(*PICTURE)
    shape.setPosition(Point(start.X, start.Y))
    shape.setSize(Size(w, h))
    anchor_to_cells(shape, PICTURE[0], PICTURE[1])

    doc.CurrentController.setActiveSheet(sheet)
    store_xlsx(doc, os.path.abspath(path))
    doc.close(True)


def make_openpyxl_book(path):
    from openpyxl import Workbook
    from openpyxl.chart import BarChart, Reference
    from openpyxl.comments import Comment
    from openpyxl.drawing.spreadsheet_drawing import AnchorMarker, TwoCellAnchor
    from openpyxl.formatting.rule import CellIsRule, FormulaRule
    from openpyxl.styles import Border, Font, PatternFill, Side
    from openpyxl.workbook.defined_name import DefinedName
    from openpyxl.worksheet.datavalidation import DataValidation
    from make_feature_books import RawImage

    wb = Workbook()
    ws = wb.active
    ws.title = "+1"
    wb.create_sheet("+2")
    for top, rows in ((FIRST, first_block()), (SECOND, second_block())):
        for r, values in enumerate(rows):
            for c, v in enumerate(values):
                if v is not None:
                    ws.cell(row=top + r, column=c + 1, value=v)
    side = Side(style="thin")
    for row in ws["B51:M51"] + ws["A70:A70"]:
        for c in row:
            c.font = Font(bold=True)
            c.border = Border(left=side, right=side, top=side, bottom=side)

    wb.defined_names.append(DefinedName("Values", attr_text="'+1'!$C$52:$C$62"))
    wb.defined_names.append(DefinedName("Later", attr_text="'+1'!$B$71:$M$75"))
    wb.defined_names.append(DefinedName("Corner", attr_text="'+1'!$E$58"))
    wb.defined_names.append(DefinedName("Wide", attr_text="'+1'!$A$52:$P$60"))
    ws.print_area = "A51:M62"

    red = PatternFill(start_color="FFC7CE", end_color="FFC7CE", fill_type="solid")
    ws.conditional_formatting.add("C52:C62", CellIsRule(operator="greaterThan", formula=["50"], fill=red))
    ws.conditional_formatting.add("B71:M75", FormulaRule(formula=["B71>100"], fill=red))
    ws.conditional_formatting.add("L53:O58", FormulaRule(formula=["L53>K53"], fill=red))

    decimal = DataValidation(type="decimal", operator="between", formula1="0", formula2="1")
    decimal.add("D52:D62")
    ws.add_data_validation(decimal)
    choice = DataValidation(type="list", formula1='"yes,no"', allow_blank=True)
    choice.add("E71:E75")
    ws.add_data_validation(choice)
    whole = DataValidation(type="whole", operator="between", formula1="0", formula2="1000")
    whole.add("L56:N57")
    ws.add_data_validation(whole)

    ws["B60"].hyperlink = LINK
    ws.auto_filter.ref = "B51:M62"
    ws["C55"].comment = Comment("a note on C55", "tester")
    ws["C72"].comment = Comment("a note in the second block", "tester")
    ws["N56"].comment = Comment("beside", "tester")

    def two_cell(c1, r1, c2, r2):
        """Corners a few pixels inside their cells: one on a cell's edge is read by LibreOffice
        as either cell."""
        pixel = 9525
        anchor = TwoCellAnchor()
        anchor._from = AnchorMarker(col=c1, colOff=3 * pixel, row=r1, rowOff=2 * pixel)
        anchor.to = AnchorMarker(col=c2, colOff=7 * pixel, row=r2, rowOff=5 * pixel)
        return anchor

    chart = BarChart()
    chart.add_data(Reference(ws, min_col=3, min_row=52, max_row=62))
    chart.set_categories(Reference(ws, min_col=2, min_row=52, max_row=62))
    chart.anchor = two_cell(*CHART)
    ws.add_chart(chart)
    picture = RawImage(png(), "A1")
    picture.anchor = two_cell(*PICTURE)
    ws.add_image(picture)
    wb.save(path)
