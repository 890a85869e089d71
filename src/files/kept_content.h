// What the file layer keeps of a workbook file beyond what the engine models, so that a save
// gives it back: the parts it does not rewrite, and the pieces of the parts it does rewrite
// (workbook part, worksheets) that the engine has no place for.
//
// Kept XML is held as the exact bytes the file had, cut out of the part at the offsets the
// parser reports for each element, never re-serialised: the bytes are already well-formed XML,
// prefixes and entity references stay as the writing program chose them, and numbers keep every
// character. The namespace declarations those bytes rely on are on the part's root element,
// whose start tag is kept too and written back with the same declarations. Elements are kept
// one per entry with their local name, so a later step that moves cells can find the ones that
// refer to cells (conditional formats, validation, hyperlinks, filters, ...) by name and
// rewrite their references.
#pragma once

#include <cstdint>
#include <map>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "files/packed_part.h"
#include "files/package_parts.h"
#include "files/raw_tag.h"
#include "memory/workbook.h"

namespace tezlo {

// One child element of a part's root, as it was written.
struct KeptElement {
  int order = 0;     // its position in the root's schema sequence (see the writers)
  std::string name;  // local name: "conditionalFormatting", "extLst", ...
  std::string xml;   // the element's bytes
};

// An element of a kept part that the writer updates in place: the element's bytes, and where
// inside them the start tag of its first child of interest lies.
struct KeptView {
  std::string xml;                             // the whole sheetViews (bookViews) element
  size_t tagBegin = 0, tagEnd = 0;             // the first sheetView's (workbookView's) start tag
  size_t viewEnd = 0;                          // the end of that sheetView (its last byte + 1)
  size_t insertAt = 0;                         // where the selection goes (after the pane)
  std::vector<std::pair<size_t, size_t>> cut;  // the selections the engine's replaces
  std::string activePane;                      // the pane the engine's selection belongs to
};

// The comments a sheet was read with, and the parts that hold them (written back unchanged
// while the sheet's comments are these).
struct KeptComments {
  std::vector<std::pair<Cell, std::string>> cells;  // by row, then column
  std::vector<Relationship> rels;                   // to the comments part and their drawing
  std::string drawing;                              // the sheet's legacyDrawing element
};

struct KeptSheetXml {
  std::string part;                   // the worksheet part's name
  RawTag entry;                       // its <sheet> in the workbook part; the name is the engine's
  int position = 0;                   // its 0-based place among the file's sheets
  std::vector<Relationship> rels;     // its relationships, less the comments Tezlo writes
  std::optional<RawTag> root;         // <worksheet ...> with its namespace declarations
  std::vector<KeptElement> elements;  // children the engine does not write, in file order
  std::optional<KeptView> views;
  std::optional<RawTag> formatPr;  // sheetFormatPr
  // Attributes of rows and cells the engine does not use, by row and by (row, column).
  std::map<int32_t, std::vector<RawAttr>> rowAttrs;
  std::map<std::pair<int32_t, int32_t>, std::vector<RawAttr>> cellAttrs;
  // Attributes of column ranges the engine does not use (outline level, collapsed, best fit),
  // by first column: the last column and the attributes.
  std::map<int32_t, std::pair<int32_t, std::vector<RawAttr>>> colAttrs;
  std::optional<KeptComments> comments;
};

// A chart sheet, dialog sheet or macro sheet: listed among the sheets, not read by the engine.
struct OtherSheet {
  RawTag entry;
  int position = 0;  // as KeptSheetXml::position
  // The worksheets before it, nearest last: it follows the nearest one still there.
  std::vector<const KeptSheetXml*> preceding;
};

struct KeptPackage {
  // Parts copied as they are, by name as written; their relationships by lower-case name.
  std::vector<std::pair<std::string, std::string>> parts;
  // Of those, the binary ones (pictures, embedded files, macros), which the engine never looks
  // into: kept as the archive held them, packed, by name as written (their bytes in `parts` are
  // left empty).
  std::map<std::string, PackedPart> packed;
  std::map<std::string, std::vector<Relationship>> rels;
  std::set<std::string> orphans;  // lower-case names of parts no relationship led to
  std::vector<Relationship> rootRels;
  // [Content_Types].xml: defaults by extension, overrides by lower-case part name.
  std::vector<std::pair<std::string, std::string>> defaults;
  std::map<std::string, std::string> overrides;

  std::string workbookPart;                // "xl/workbook.xml" or as the file named it
  std::vector<Relationship> workbookRels;  // less worksheets, styles, shared texts, calc chain
  std::optional<RawTag> workbookRoot;
  std::vector<KeptElement> workbookElements;  // less sheets and calcPr
  std::optional<KeptView> bookViews;
  std::optional<RawTag> calcPr;
  std::vector<OtherSheet> otherSheets;
  bool date1904 = false;
  std::string coreProperties;  // the core properties part's name, if there is one
};

}  // namespace tezlo
