# Writes the LibreOffice half of the keeping corpus through a running headless LibreOffice: one
# workbook per feature, stored with LibreOffice's own xlsx filter, and all.xlsx holding all of them
# with Chinese text.  Starts nothing itself; the caller starts LibreOffice and ends it.  Frozen
# panes are missing: a hidden document has no view that could freeze them.
#   make_libreoffice_books.py PIPE-NAME OUTDIR
import os
import struct
import sys
import zlib

from libreoffice_session import connect, prop, store_xlsx
from com.sun.star.awt import Point, Size, Rectangle
from com.sun.star.table import BorderLine2, CellAddress, CellRangeAddress
from com.sun.star.table.CellHoriJustify import CENTER
from com.sun.star.sheet.ValidationType import LIST, WHOLE
from com.sun.star.sheet.ConditionOperator import BETWEEN, GREATER
from com.sun.star.sheet.ValidationAlertStyle import STOP
from com.sun.star.awt.FontSlant import ITALIC


def png():
    """A 2x2 red PNG, made here so that no imaging library is needed."""
    def chunk(kind, data):
        return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data) & 0xFFFFFFFF)
    raw = b"".join(b"\0" + b"\xff\0\0" * 2 for _ in range(2))
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", 2, 2, 8, 2, 0, 0, 0)) +
            chunk(b"IDAT", zlib.compress(raw)) + chunk(b"IEND", b""))


def data(sheet, title):
    sheet.getCellByPosition(0, 0).String = title
    sheet.getCellByPosition(1, 0).String = "Value"
    sheet.getCellByPosition(2, 0).String = "Share"
    for i in range(1, 11):
        sheet.getCellByPosition(0, i).String = "item %d" % i
        sheet.getCellByPosition(1, i).Value = i * 10
        sheet.getCellByPosition(2, i).Value = i / 40


def header(doc, sheet):
    cells = sheet.getCellRangeByName("A1:C1")
    cells.CharWeight = 150.0  # bold
    cells.HoriJustify = CENTER
    line = BorderLine2()
    line.OuterLineWidth = 35
    line.LineWidth = 35
    line.Color = 0x000000
    cells.TopBorder = line
    cells.BottomBorder = line
    cells.LeftBorder = line
    cells.RightBorder = line


def number_format(doc, sheet):
    formats = doc.NumberFormats
    locale = doc.CharLocale
    code = "#,##0.00\" kg\""
    key = formats.queryKey(code, locale, False)
    if key == -1:
        key = formats.addNew(code, locale)
    sheet.getCellRangeByName("B2:B11").NumberFormat = key
    percent = formats.queryKey("0.0%", locale, False)
    if percent == -1:
        percent = formats.addNew("0.0%", locale)
    sheet.getCellRangeByName("C2:C11").NumberFormat = percent


def autofilter(doc, sheet):
    area = sheet.getCellRangeByName("A1:C11").RangeAddress
    ranges = doc.getPropertyValue("UnnamedDatabaseRanges")
    ranges.setByTable(area)
    ranges.getByTable(area.Sheet).AutoFilter = True


def validation(doc, sheet):
    cells = sheet.getCellRangeByName("D2:D11")
    rule = cells.Validation
    rule.Type = LIST
    rule.setFormula1('"yes";"no";"maybe"')
    rule.IgnoreBlankCells = True
    cells.Validation = rule
    cells = sheet.getCellRangeByName("B2:B11")
    rule = cells.Validation
    rule.Type = WHOLE
    rule.setOperator(BETWEEN)
    rule.setFormula1("0")
    rule.setFormula2("1000")
    rule.ShowErrorMessage = True
    rule.ErrorAlertStyle = STOP
    rule.ErrorMessage = "0 to 1000"
    rule.ShowInputMessage = True
    rule.InputTitle = "Value"
    rule.InputMessage = "a whole number, 0 to 1000"
    cells.Validation = rule


def conditional(doc, sheet):
    cells = sheet.getCellRangeByName("B2:B11")
    rules = cells.ConditionalFormat
    rules.addNew((prop("Operator", GREATER), prop("Formula1", "50"), prop("StyleName", "Bad")))
    cells.ConditionalFormat = rules


def hyperlink(doc, sheet):
    cell = sheet.getCellByPosition(0, 15)
    field = doc.createInstance("com.sun.star.text.TextField.URL")
    field.URL = "https://example.com/a?b=1&c=2"
    field.Representation = "site"
    cell.insertTextContent(cell.createTextCursor(), field, False)


def names(doc, sheet):
    address = CellAddress(sheet.RangeAddress.Sheet, 0, 0)
    doc.NamedRanges.addNewByName("Values", "$'%s'.$B$2:$B$11" % sheet.Name, address, 0)
    sheet.setPrintAreas((CellRangeAddress(sheet.RangeAddress.Sheet, 0, 0, 2, 10),))


def comment(doc, sheet):
    sheet.Annotations.insertNew(CellAddress(sheet.RangeAddress.Sheet, 0, 2), "a note on item 2")


def chart(doc, sheet):
    area = sheet.getCellRangeByName("A1:B11").RangeAddress
    sheet.Charts.addNewByName("Values", Rectangle(9000, 500, 10000, 7000), (area,), True, True)


def image(doc, sheet, folder):
    path = os.path.join(folder, "red.png")
    with open(path, "wb") as f:
        f.write(png())
    import uno
    provider = doc_context().ServiceManager.createInstanceWithContext("com.sun.star.graphic.GraphicProvider",
                                                                     doc_context())
    graphic = provider.queryGraphic((prop("URL", uno.systemPathToFileUrl(path)),))
    shape = doc.createInstance("com.sun.star.drawing.GraphicObjectShape")
    shape.Graphic = graphic
    sheet.DrawPage.add(shape)
    shape.setPosition(Point(9000, 8000))
    shape.setSize(Size(2000, 1000))
    os.remove(path)


def merged(doc, sheet):
    sheet.getCellRangeByName("A13:C13").merge(True)
    sheet.getCellByPosition(0, 12).String = "merged"


def hidden(doc, sheet):
    sheet.Rows.getByIndex(5).IsVisible = False
    sheet.Columns.getByIndex(4).IsVisible = False


def formulas(doc, sheet):
    for i in range(1, 11):
        sheet.getCellByPosition(4, i).Formula = "=B%d*C%d" % (i + 1, i + 1)
    sheet.getCellByPosition(1, 11).Formula = "=SUM(B2:B11)"
    sheet.getCellByPosition(2, 11).Formula = '=IF(B12>100;"many";"few")'
    sheet.getCellByPosition(3, 11).Formula = "=B12>100"
    sheet.getCellByPosition(5, 1).Value = 45000  # a date
    sheet.getCellByPosition(5, 1).NumberFormat = doc.NumberFormats.getStandardFormat(2, doc.CharLocale)  # DATE


def sizes(doc, sheet):
    sheet.Columns.getByIndex(0).Width = 3175  # 1/100 mm
    sheet.Rows.getByIndex(1).Height = 1000
    sheet.group(CellRangeAddress(sheet.RangeAddress.Sheet, 0, 3, 0, 5), 1)  # rows 4 to 6, an outline
    sheet.group(CellRangeAddress(sheet.RangeAddress.Sheet, 6, 0, 7, 0), 0)  # columns G and H


def data_bar(doc, sheet):
    """A data bar and a colour scale, which LibreOffice writes partly in an x14 extension list."""
    from com.sun.star.sheet.ConditionEntryType import DATABAR, COLORSCALE
    formats = sheet.ConditionalFormats
    for where, kind in (("C2:C11", DATABAR), ("A2:A11", COLORSCALE)):
        ranges = doc.createInstance("com.sun.star.sheet.SheetCellRanges")
        ranges.addRangeAddress(sheet.getCellRangeByName(where).RangeAddress, False)
        key = formats.createByRange(ranges)
        found = [f for f in formats.ConditionalFormats if f.ID == key][0]
        found.createEntry(kind, 0)


def errors_and_texts(doc, sheet):
    sheet.getCellByPosition(6, 1).Formula = "=1/0"
    sheet.getCellByPosition(6, 2).Formula = "=NA()"
    sheet.getCellByPosition(6, 3).String = "  two spaces first\nand a second line  "
    sheet.getCellByPosition(6, 4).String = "<&> \"quoted\" 'text' \t tab"
    sheet.getCellByPosition(6, 5).String = "中文，全角：标点"


def printing(doc, sheet):
    sheet.setTitleRows(CellRangeAddress(sheet.RangeAddress.Sheet, 0, 0, 0, 0))
    sheet.PrintTitleRows = True
    sheet.Rows.getByIndex(6).IsStartOfNewPage = True
    sheet.Columns.getByIndex(2).IsStartOfNewPage = True


def rich_text(doc, sheet):
    """Texts with formatted runs: "Na" of the title bold; in "item 5" (inside the block the
    checks' "+3" moves) "item" italic and red, "5" bold and larger."""
    cursor = sheet.getCellByPosition(0, 0).createTextCursor()
    cursor.gotoStart(False)
    cursor.goRight(2, True)
    cursor.CharWeight = 150.0
    cursor = sheet.getCellByPosition(0, 5).createTextCursor()
    cursor.gotoStart(False)
    cursor.goRight(4, True)
    cursor.CharPosture = ITALIC
    cursor.CharColor = 0xC00000
    cursor.gotoEnd(False)
    cursor.goLeft(1, True)
    cursor.CharWeight = 150.0
    cursor.CharHeight = 14.0


def array_formula(doc, sheet):
    """An array formula beside the column block the "+3" of the checks edits (an insertion through
    an array is refused, as the spreadsheet refuses it)."""
    sheet.getCellRangeByName("P2:P3").setArrayFormula("B2:B3*2")


def pivot_table(doc, sheet):
    """A pivot table (LibreOffice writes its cache and definition parts) on the +2 sheet."""
    tables = sheet.DataPilotTables
    descriptor = tables.createDataPilotDescriptor()
    descriptor.SourceRange = sheet.getCellRangeByName("A1:C11").RangeAddress
    from com.sun.star.sheet.DataPilotFieldOrientation import ROW, DATA
    descriptor.DataPilotFields.getByIndex(0).Orientation = ROW
    descriptor.DataPilotFields.getByIndex(1).Orientation = DATA
    tables.insertNewByName("Pivot", CellAddress(sheet.RangeAddress.Sheet, 9, 0), descriptor)


def shape_and_local_name(doc, sheet):
    """A drawn rectangle with text, a named range of the sheet alone and a named cell style."""
    shape = doc.createInstance("com.sun.star.drawing.RectangleShape")
    sheet.DrawPage.add(shape)
    shape.setPosition(Point(12000, 1000))
    shape.setSize(Size(3000, 1500))
    shape.String = "a note in a box"
    sheet.NamedRanges.addNewByName("Local", "$'+1'.$A$1", CellAddress(sheet.RangeAddress.Sheet, 0, 0), 0)
    style = doc.createInstance("com.sun.star.style.CellStyle")
    doc.StyleFamilies.getByName("CellStyles").insertByName("Totals", style)
    style.CharWeight = 150.0
    style.CellBackColor = 0xFFEE88
    sheet.getCellRangeByName("A11:C11").CellStyle = "Totals"


def tab_colour(doc, sheet):
    sheet.TabColor = 0x1072BA


def protection(doc, sheet):
    sheet.protect("")


# What Tezlo cannot keep yet: a save over these workbooks is refused, naming it (not in all.xlsx).
REFUSED = {}

FEATURES = {
    "header": header,
    "numbers": number_format,
    "filter": autofilter,
    "validation": validation,
    "conditional": conditional,
    "hyperlink": hyperlink,
    "names": names,
    "comment": comment,
    "chart": chart,
    "image": None,  # needs the output folder
    "merged": merged,
    "hidden": hidden,
    "formulas": formulas,
    "pivot": pivot_table,
    "array": array_formula,
    "shapes": shape_and_local_name,
    "databar": data_bar,
    "texts": errors_and_texts,
    "printing": printing,
    "sizes": sizes,
    "tab": tab_colour,
    "protection": protection,
    "richtext": rich_text,
}

_context = None


def doc_context():
    return _context


def book(desktop, features, folder, path, chinese=False):
    doc = desktop.loadComponentFromURL("private:factory/scalc", "_blank", 0, (prop("Hidden", True),))
    sheet = doc.Sheets.getByIndex(0)
    sheet.Name = "+1"  # the sheet Tezlo's tools work on
    data(sheet, "名称" if chinese else "Name")
    for f in features:
        if f == "image":
            image(doc, sheet, folder)
        elif f in REFUSED:
            REFUSED[f][0](doc, sheet)
        elif f != "protection":
            FEATURES[f](doc, sheet)
    doc.Sheets.insertNewByName("+2", 1)  # the second working sheet, which Tezlo adds otherwise
    if chinese:
        sheet.getCellByPosition(0, 13).String = "合计"
        doc.Sheets.insertNewByName("第二张", 2)
        other = doc.Sheets.getByIndex(2)
        other.getCellByPosition(0, 0).String = "另一张表"
        validation(doc, other)
    doc.CurrentController.setActiveSheet(sheet)
    if "protection" in features:  # last: a protected sheet refuses the other changes
        protection(doc, sheet)
    store_xlsx(doc, path)
    doc.close(True)


def main():
    global _context
    pipe, out = sys.argv[1], sys.argv[2]
    os.makedirs(out, exist_ok=True)
    _context, desktop = connect(pipe)
    for feature in FEATURES:
        book(desktop, [feature], out, os.path.join(out, feature + ".xlsx"))
    for feature in REFUSED:
        book(desktop, [feature], out, os.path.join(out, feature + ".xlsx"))
    book(desktop, list(FEATURES), out, os.path.join(out, "all.xlsx"), chinese=True)


if __name__ == "__main__":
    main()
