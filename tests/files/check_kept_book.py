#!/usr/bin/env python3
"""Compares a workbook Tezlo saved with the file it read: usage check_kept_book.py ORIGINAL SAVED [same|changed]

Every part Tezlo does not rewrite must be byte-identical (with "same", comments too); the workbook part, the worksheets and
their relationships must hold the same content outside what Tezlo writes itself, compared after
canonicalising the XML; core properties must differ only in their modified time.  With "same"
(a load and a save, nothing changed) the attributes of rows and cells are compared too.  Last,
openpyxl must open the saved file and see the same charts, validation, conditional formats,
filters, panes, tables, names, hyperlinks, print settings and properties.  Exits 1 listing what differs."""
import posixpath
import re
import sys
import warnings
import zipfile
import xml.etree.ElementTree as ET

MAIN = "{http://schemas.openxmlformats.org/spreadsheetml/2006/main}"
REL = "{http://schemas.openxmlformats.org/officeDocument/2006/relationships}"
PKG = "{http://schemas.openxmlformats.org/package/2006/relationships}"
CT = "{http://schemas.openxmlformats.org/package/2006/content-types}"
REWRITTEN_TYPES = {"worksheet", "styles", "sharedStrings", "calcChain"}
ENGINE_ELEMENTS = {"dimension", "sheetData", "cols", "sheetViews", "sheetFormatPr", "mergeCells"}

original_path, saved_path = sys.argv[1], sys.argv[2]
mode = sys.argv[3] if len(sys.argv) > 3 else "same"
original, saved = zipfile.ZipFile(original_path), zipfile.ZipFile(saved_path)
problems = []


def canon(element):
    return ET.canonicalize(ET.tostring(element, encoding="unicode"))


def rels_of(z, part):
    folder, name = posixpath.split(part)
    path = posixpath.join(folder, "_rels", name + ".rels")
    if path not in z.namelist():
        return {}
    out = {}
    for r in ET.fromstring(z.read(path)).iter(PKG + "Relationship"):
        target = r.get("Target")
        if r.get("TargetMode") != "External":
            target = posixpath.normpath(posixpath.join(folder, target)) if not target.startswith("/") else target[1:]
        out[r.get("Id")] = (r.get("Type").rsplit("/", 1)[-1], target, r.get("TargetMode"))
    return out


def workbook_part(z):
    return [t for (kind, t, _) in rels_of(z, "").values() if kind == "officeDocument"][0]


def sheets(z):
    book = workbook_part(z)
    rels = rels_of(z, book)
    out = {}
    for s in ET.fromstring(z.read(book)).iter(MAIN + "sheet"):
        out[s.get("name")] = (rels[s.get(REL + "id")][1], s)
    return out


def local(tag):
    return tag.split("}", 1)[-1]


def rewritten_parts(z):
    book = workbook_part(z)
    parts = {book, "[Content_Types].xml", posixpath.join(posixpath.dirname(book), "_rels", posixpath.basename(book) + ".rels")}
    parts |= {t for (kind, t, _) in rels_of(z, book).values() if kind in REWRITTEN_TYPES}
    for part, _ in sheets(z).values():
        rels = rels_of(z, part)
        parts.add(posixpath.join(posixpath.dirname(part), "_rels", posixpath.basename(part) + ".rels"))
        # Comments Tezlo keeps while they are unchanged, and writes afresh once they change.
        if mode != "same" and any(kind == "comments" for (kind, _, _) in rels.values()):
            parts |= {t for (kind, t, _) in rels.values() if kind in ("comments", "vmlDrawing")}
    parts |= {t for (kind, t, _) in rels_of(z, "").values() if kind == "core-properties"}
    return parts


def attrs_without(element, names):
    return {k: v for k, v in element.attrib.items() if local(k) not in names}


# Parts kept byte for byte.
rewritten = rewritten_parts(original)
for name in original.namelist():
    if name in rewritten or name.endswith("/"):
        continue
    if name not in saved.namelist():
        problems.append("part %s is missing" % name)
    elif original.read(name) != saved.read(name):
        problems.append("part %s changed" % name)

# Core properties: the same but for the modified time.
core = [t for (kind, t, _) in rels_of(original, "").values() if kind == "core-properties"]
if core:
    def without_modified(z):
        root = ET.fromstring(z.read(core[0]))
        stamp = [e for e in root if local(e.tag) == "modified"]
        for e in stamp:
            root.remove(e)
        return canon(root), [e.text for e in stamp]
    (a, _), (b, stamp) = without_modified(original), without_modified(saved)
    if a != b:
        problems.append("core properties changed beyond the modified time")
    if len(stamp) != 1 or not re.fullmatch(r"\d{4}-\d\d-\d\dT\d\d:\d\d:\d\dZ", stamp[0] or ""):
        problems.append("core properties: modified time %r" % stamp)

# Content types of the kept parts and of the workbook.
def types(z):
    root = ET.fromstring(z.read("[Content_Types].xml"))
    return ({e.get("Extension").lower(): e.get("ContentType") for e in root.iter(CT + "Default")},
            {e.get("PartName").lstrip("/").lower(): e.get("ContentType") for e in root.iter(CT + "Override")})
(defaults_a, overrides_a), (defaults_b, overrides_b) = types(original), types(saved)
for ext, kind in defaults_a.items():
    if defaults_b.get(ext) != kind:
        problems.append("default content type of .%s: %s" % (ext, defaults_b.get(ext)))
for part, kind in overrides_a.items():
    if part in {n.lower() for n in saved.namelist()} and (part not in rewritten or part == workbook_part(original).lower()):
        if overrides_b.get(part) != kind:
            problems.append("content type of %s: %s, was %s" % (part, overrides_b.get(part), kind))

# The workbook part outside the sheet list and calculation settings.
def book_children(z, views=True):
    root = ET.fromstring(z.read(workbook_part(z)))
    out = []
    for e in root:
        name = local(e.tag)
        if name in ("sheets", "calcPr") or (name == "bookViews" and not views):
            continue
        if name == "bookViews":
            for v in e:
                v.attrib.pop("activeTab", None)
        out.append(canon(e))
    return out
# Tezlo writes a workbook view for the active tab when the file had none.
views = ET.fromstring(original.read(workbook_part(original))).find(MAIN + "bookViews") is not None
if book_children(original, views) != book_children(saved, views):
    problems.append("workbook part: %s\n  became %s" % (book_children(original, views), book_children(saved, views)))
book_a, book_b = workbook_part(original), workbook_part(saved)
for rid, rel in rels_of(original, book_a).items():
    if rel[0] not in REWRITTEN_TYPES and rels_of(saved, book_b).get(rid) != rel:
        problems.append("workbook relationship %s %s: %s" % (rid, rel, rels_of(saved, book_b).get(rid)))

# Each worksheet.
sheets_a, sheets_b = sheets(original), sheets(saved)
if list(sheets_a) != list(sheets_b)[:len(sheets_a)] or (mode == "same" and len(sheets_b) != len(sheets_a)):
    problems.append("sheets %s became %s" % (list(sheets_a), list(sheets_b)))
for name, (part_a, entry_a) in sheets_a.items():
    if name not in sheets_b:
        continue
    part_b, entry_b = sheets_b[name]
    if attrs_without(entry_a, {"name"}) != attrs_without(entry_b, {"name"}):
        problems.append("sheet %s: entry %s became %s" % (name, entry_a.attrib, entry_b.attrib))
    rels_a, rels_b = rels_of(original, part_a), rels_of(saved, part_b)
    ours = mode != "same" and any(kind == "comments" for (kind, _, _) in rels_a.values())
    for rid, rel in rels_a.items():
        if not (ours and rel[0] in ("comments", "vmlDrawing")) and rels_b.get(rid) != rel:
            problems.append("sheet %s: relationship %s %s became %s" % (name, rid, rel, rels_b.get(rid)))
    a, b = ET.fromstring(original.read(part_a)), ET.fromstring(saved.read(part_b))
    ours_now = mode != "same" and any(kind == "comments" for (kind, _, _) in rels_b.values())
    skip = ENGINE_ELEMENTS | ({"legacyDrawing"} if ours or ours_now else set())
    kept_a = [canon(e) for e in a if local(e.tag) not in skip]
    kept_b = [canon(e) for e in b if local(e.tag) not in skip]
    if kept_a != kept_b:
        problems.append("sheet %s: elements\n  %s\n  became\n  %s" % (name, kept_a, kept_b))
    for what, engine in (("sheetFormatPr", {"defaultRowHeight", "customHeight", "zeroHeight"}),):
        ea, eb = a.find(MAIN + what), b.find(MAIN + what)
        if ea is not None and (eb is None or attrs_without(ea, engine) != attrs_without(eb, engine)):
            problems.append("sheet %s: %s" % (name, what))
    va, vb = a.find(MAIN + "sheetViews"), b.find(MAIN + "sheetViews")
    if va is not None:
        for view_a, view_b in zip(va, vb):
            if attrs_without(view_a, {"tabSelected", "topLeftCell"}) != attrs_without(view_b, {"tabSelected", "topLeftCell"}):
                problems.append("sheet %s: view %s became %s" % (name, view_a.attrib, view_b.attrib))
            pane_a, pane_b = view_a.find(MAIN + "pane"), view_b.find(MAIN + "pane")
            if (pane_a is None) != (pane_b is None) or (pane_a is not None and canon(pane_a) != canon(pane_b)):
                problems.append("sheet %s: pane" % name)
            active = pane_a.get("activePane", "topLeft") if pane_a is not None else "topLeft"
            others = lambda v: [canon(s) for s in v.findall(MAIN + "selection") if s.get("pane", "topLeft") != active]
            if others(view_a) != others(view_b):
                problems.append("sheet %s: selections of the other panes" % name)
    if mode == "same":
        def row_cell_attrs(root):
            rows, cells = {}, {}
            for row in root.iter(MAIN + "row"):
                extra = attrs_without(row, {"r", "spans", "s", "customFormat", "ht", "hidden", "customHeight"})
                if extra:
                    rows[row.get("r")] = extra
                for c in row.iter(MAIN + "c"):
                    extra = attrs_without(c, {"r", "s", "t"})
                    if extra:
                        cells[c.get("r")] = extra
            return rows, cells
        def col_attrs(root):
            out = {}
            for col in root.iter(MAIN + "col"):
                extra = attrs_without(col, {"min", "max", "width", "style", "hidden", "customWidth"})
                for i in range(int(col.get("min")), int(col.get("max")) + 1):
                    if extra:
                        out[i] = extra
            return out
        if col_attrs(a) != col_attrs(b):
            problems.append("sheet %s: column attributes %s became %s" % (name, col_attrs(a), col_attrs(b)))
        if row_cell_attrs(a) != row_cell_attrs(b):
            problems.append("sheet %s: row or cell attributes %s became %s" % (name, row_cell_attrs(a), row_cell_attrs(b)))

# What openpyxl sees.
warnings.simplefilter("ignore")
from openpyxl import load_workbook  # noqa: E402


def seen(path):
    wb = load_workbook(path)
    out = {"names": sorted((n.name, n.attr_text, n.localSheetId) for n in wb.defined_names.definedName),
           "creator": wb.properties.creator, "title": wb.properties.title}
    for ws in wb.worksheets:
        out[ws.title] = {
            "charts": len(ws._charts),
            "validation": sorted((v.type, v.formula1, str(v.sqref)) for v in ws.data_validations.dataValidation),
            "conditional": sorted(str(r.sqref) for r in ws.conditional_formatting),
            "filter": ws.auto_filter.ref,
            "panes": ws.freeze_panes,
            "tables": sorted((t.displayName, t.ref) for t in ws.tables.values()),
            "links": sorted((c.coordinate, c.hyperlink.target or c.hyperlink.location) for row in ws.iter_rows() for c in row if c.hyperlink),
            "print": (ws.print_options.gridLines, ws.page_setup.orientation, ws.page_margins.left, ws.page_margins.top,
                      ws.oddFooter.right.text, len(ws.row_breaks.brk), ws.print_title_rows, ws.print_area),
            "tab": ws.sheet_properties.tabColor.rgb if ws.sheet_properties.tabColor else None,
            "protected": ws.protection.sheet,
            "outline": sorted((r, d.outlineLevel) for r, d in ws.row_dimensions.items() if d.outlineLevel),
            "column outline": sorted((c, d.outlineLevel) for c, d in ws.column_dimensions.items() if d.outlineLevel),
        }
    return out


try:
    before, after = seen(original_path), seen(saved_path)
    for key in before:
        if mode == "changed" and key in ("outline",):
            continue
        if before[key] != after.get(key):
            problems.append("openpyxl sees %s: %s\n  became %s" % (key, before[key], after.get(key)))
except Exception as e:  # noqa: BLE001
    problems.append("openpyxl cannot open the saved file: %r" % e)

for p in problems:
    print(p)
sys.exit(1 if problems else 0)
