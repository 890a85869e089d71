// Pictures, charts and shapes follow the cells the tools move: the anchors of a kept drawing part
// are rewritten in place, and a saved workbook read back by openpyxl has them where the cells
// went.
#include "files/drawing_anchors.h"

#include <gtest/gtest.h>

#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "files/workbook_file.h"
#include "memory/memory_host.h"
#include "test_files.h"

namespace tezlo {
namespace {

const GridSize kGrid;

RefShift InsertRight(int32_t r1, int32_t first, int32_t r2, int32_t last) {
  return RefShift{RefShift::Axis::Cols, true, first, last - first + 1, r1, r2, "S", kGrid};
}

// A marker as a drawing part writes it, with the prefix and spacing given.
std::string Marker(const std::string& p, const char* name, const AnchorMarker& m) {
  return "<" + p + name + "><" + p + "col>" + std::to_string(m.col) + "</" + p + "col><" + p +
         "colOff>" + std::to_string(m.colOff) + "</" + p + "colOff>\n  <" + p + "row>" +
         std::to_string(m.row) + "</" + p + "row><" + p + "rowOff>" + std::to_string(m.rowOff) +
         "</" + p + "rowOff></" + p + name + ">";
}

// A drawing part holding `anchors`: two-cell ones with their editAs (none for TwoCell, to test
// the default), every third one inside markup-compatibility content, with a picture, a comment
// and text around them whose bytes must come back unchanged.
std::string Part(const std::vector<DrawingAnchor>& anchors) {
  std::string out =
      "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\n"
      "<xdr:wsDr xmlns:xdr=\"http://schemas.openxmlformats.org/drawingml/2006/spreadsheetDrawing\" "
      "xmlns:a=\"http://schemas.openxmlformats.org/drawingml/2006/main\">";
  for (size_t i = 0; i < anchors.size(); ++i) {
    const DrawingAnchor& a = anchors[i];
    const bool wrapped = i % 3 == 2;
    if (wrapped) out += "<mc:AlternateContent><mc:Choice Requires=\"a14\">";
    const std::string body =
        "<xdr:sp macro=\"\" textlink=\"\"><xdr:nvSpPr><xdr:cNvPr id=\"" + std::to_string(i + 2) +
        "\" name=\"Box &amp; 1\"/></xdr:nvSpPr><xdr:txBody><a:p><a:r><a:t>row 7 &lt; col "
        "3</a:t></a:r></a:p>"
        "</xdr:txBody></xdr:sp><!-- <xdr:from><xdr:row>1</xdr:row></xdr:from> --><xdr:clientData/>";
    if (i % 4 == 3) {
      out += "<xdr:oneCellAnchor>" + Marker("xdr:", "from", a.from) +
             "<xdr:ext cx=\"609600\" cy=\"190500\"/>" + body + "</xdr:oneCellAnchor>";
    } else {
      const char* editAs = a.mode == AnchorMode::OneCell    ? " editAs=\"oneCell\""
                           : a.mode == AnchorMode::Absolute ? " editAs='absolute'"
                                                            : "";
      out += "<xdr:twoCellAnchor" + std::string(editAs) + ">" + Marker("xdr:", "from", a.from) +
             Marker("xdr:", "to", a.to) + body + "</xdr:twoCellAnchor>";
    }
    if (wrapped) out += "</mc:Choice><mc:Fallback/></mc:AlternateContent>";
  }
  out +=
      "<xdr:absoluteAnchor><xdr:pos x=\"5\" y=\"7\"/><xdr:ext cx=\"9\" "
      "cy=\"9\"/><xdr:clientData/></xdr:absoluteAnchor>";
  return out + "</xdr:wsDr>";
}

// The anchor as Part writes it at index i: a one-cell anchor has no "to".
DrawingAnchor AsWritten(DrawingAnchor a, size_t i) {
  if (i % 4 == 3) {
    a.mode = AnchorMode::OneCell;
    a.to = AnchorMarker{};
  }
  return a;
}

TEST(DrawingAnchors, EachKindOfAnchorMovesAsShiftAnchorSaysAndNothingElseChanges) {
  // Random anchors near the top-left corner under random shifts of every kind: the part written
  // for the shifted anchors is exactly what comes out, so only the anchors' numbers changed.
  std::mt19937 rng(20261208);
  auto pick = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); };
  int changedParts = 0;
  for (int round = 0; round < 300; ++round) {
    std::vector<DrawingAnchor> anchors;
    for (int i = pick(1, 8); i > 0; --i) {
      const AnchorMode mode = static_cast<AnchorMode>(pick(0, 2));
      AnchorMarker from{pick(0, 15), pick(0, 3) * 9525, pick(0, 20), pick(0, 3) * 9525};
      AnchorMarker to{from.col + pick(0, 4), pick(0, 3) * 9525, from.row + pick(0, 6),
                      pick(0, 3) * 9525};
      anchors.push_back(AsWritten(DrawingAnchor{mode, from, to}, anchors.size()));
    }
    std::vector<RefShift> shifts;
    for (int i = pick(1, 3); i > 0; --i) {
      const int32_t first = pick(1, 18);
      const int32_t last = first + pick(0, 3);
      const int32_t b1 = pick(1, 12);
      const int32_t b2 = b1 + pick(0, 6);
      switch (pick(0, 5)) {
        case 0: shifts.push_back(InsertDownShift("S", kGrid, first, b1, last, b2)); break;
        case 1: shifts.push_back(DeleteUpShift("S", kGrid, first, b1, last, b2)); break;
        case 2: shifts.push_back(InsertDownShift("S", kGrid, first, 1, last, kGrid.cols)); break;
        case 3: shifts.push_back(DeleteRowsShift("S", kGrid, first, last)); break;
        case 4: shifts.push_back(DeleteColumnsShift("S", kGrid, first, last)); break;
        default: shifts.push_back(InsertRight(b1, first, b2, last)); break;
      }
    }
    std::vector<DrawingAnchor> expected;
    for (size_t i = 0; i < anchors.size(); ++i) {
      DrawingAnchor a = anchors[i];
      for (const RefShift& s : shifts) a = ShiftAnchor(a, s);
      expected.push_back(AsWritten(a, i));
    }
    const std::string before = Part(anchors);
    const std::string after = ShiftDrawingPart(before, shifts);
    SCOPED_TRACE("round " + std::to_string(round));
    ASSERT_EQ(after, Part(expected));
    changedParts += after != before;
    // Read back, the anchors say the same (the absolute anchor last).
    const auto read = DrawingPartAnchors(after);
    ASSERT_EQ(read.size(), expected.size() + 1);
    for (size_t i = 0; i < expected.size(); ++i) {
      ASSERT_TRUE(read[i].has_value());
      EXPECT_EQ(read[i]->mode, expected[i].mode);
      EXPECT_EQ(read[i]->from, expected[i].from);
      if (i % 4 != 3) {
        EXPECT_EQ(read[i]->to, expected[i].to);
      }
    }
    EXPECT_EQ(read.back()->mode, AnchorMode::Absolute);
  }
  EXPECT_GT(changedParts, 150);  // the shifts reach the drawings
}

TEST(DrawingAnchors, AHandCheckedPartWithEditAsAndNoPrefix) {
  const std::string part =
      "<wsDr xmlns=\"http://schemas.openxmlformats.org/drawingml/2006/spreadsheetDrawing\">"
      "<twoCellAnchor "
      "editAs=\"oneCell\"><from><col>4</col><colOff>10</colOff><row>19</row><rowOff>20</rowOff></"
      "from>"
      "<to><col>6</col><colOff>30</colOff><row>22</row><rowOff>40</rowOff></to><pic/><clientData/"
      "></twoCellAnchor>"
      "<twoCellAnchor><from><col>1</col><colOff>0</colOff><row>2</row><rowOff>5</rowOff></from>"
      "<to><col>3</col><colOff>0</colOff><row>9</row><rowOff>6</rowOff></to><sp/><clientData/></"
      "twoCellAnchor>"
      "</wsDr>";
  // Rows 5..6 (0-based 4..5) deleted in columns A:M: the first picture (rows 20..23) moves up two
  // and keeps its size; the second (rows 3..10) loses two rows of its height.
  const std::string moved = ShiftDrawingPart(part, {DeleteUpShift("S", kGrid, 5, 1, 6, 13)});
  EXPECT_EQ(
      moved,
      "<wsDr xmlns=\"http://schemas.openxmlformats.org/drawingml/2006/spreadsheetDrawing\">"
      "<twoCellAnchor "
      "editAs=\"oneCell\"><from><col>4</col><colOff>10</colOff><row>17</row><rowOff>20</rowOff></"
      "from>"
      "<to><col>6</col><colOff>30</colOff><row>20</row><rowOff>40</rowOff></to><pic/><clientData/"
      "></twoCellAnchor>"
      "<twoCellAnchor><from><col>1</col><colOff>0</colOff><row>2</row><rowOff>5</rowOff></from>"
      "<to><col>3</col><colOff>0</colOff><row>7</row><rowOff>6</rowOff></to><sp/><clientData/></"
      "twoCellAnchor>"
      "</wsDr>");
  // Whole rows 1..3 deleted: the second picture's top corner was in them, it goes to row 1's top.
  const std::string cut = ShiftDrawingPart(part, {DeleteRowsShift("S", kGrid, 1, 3)});
  EXPECT_NE(cut.find("<from><col>1</col><colOff>0</colOff><row>0</row><rowOff>0</rowOff></from>"
                     "<to><col>3</col><colOff>0</colOff><row>6</row><rowOff>6</rowOff></to>"),
            std::string::npos)
      << cut;
  // Cells inserted in N:Z, beside both: nothing moves.
  EXPECT_EQ(ShiftDrawingPart(part, {InsertDownShift("S", kGrid, 1, 14, 5, 26)}), part);
}

TEST(DrawingAnchors, APartOrAnAnchorThatCannotBeReadIsLeftAsItWas) {
  const RefShift down = InsertDownShift("S", kGrid, 1, 1, 2, kGrid.cols);
  const std::string good =
      "<twoCellAnchor><from><col>1</col><colOff>0</colOff><row>3</row><rowOff>0</rowOff></from>"
      "<to><col>2</col><colOff>0</colOff><row>4</row><rowOff>0</rowOff></to></twoCellAnchor>";
  const std::string moved =
      "<twoCellAnchor><from><col>1</col><colOff>0</colOff><row>5</row><rowOff>0</rowOff></from>"
      "<to><col>2</col><colOff>0</colOff><row>6</row><rowOff>0</rowOff></to></twoCellAnchor>";
  ASSERT_EQ(ShiftDrawingPart(good, {down}), moved);
  // Anchors this reader cannot take: a number that is not one, an entity, a missing field, a
  // field written twice, a field holding markup. Each stays, the good one beside it moves.
  for (const std::string& odd : {
           std::string("<oneCellAnchor><from><col>1</col><colOff>0</colOff><row>x3</row><rowOff>0</"
                       "rowOff></from></oneCellAnchor>"),
           std::string("<oneCellAnchor><from><col>1</col><colOff>0</colOff><row>&#51;</"
                       "row><rowOff>0</rowOff></from></oneCellAnchor>"),
           std::string("<oneCellAnchor><from><col>1</col><colOff>0</colOff><rowOff>0</rowOff></"
                       "from></oneCellAnchor>"),
           std::string("<oneCellAnchor><from><col>1</col><colOff>0</colOff><row>3</row><row>3</"
                       "row><rowOff>0</rowOff></from></oneCellAnchor>"),
           std::string("<oneCellAnchor><from><col>1</col><colOff>0</colOff><row><b>3</b></"
                       "row><rowOff>0</rowOff></from></oneCellAnchor>"),
           std::string("<twoCellAnchor><from><col>1</col><colOff>0</colOff><row>3</row><rowOff>0</"
                       "rowOff></from></twoCellAnchor>"),
           std::string("<oneCellAnchor><from><col>1</col><colOff>0</colOff><row>99999999999</"
                       "row><rowOff>0</rowOff></from></oneCellAnchor>"),
       }) {
    SCOPED_TRACE(odd);
    EXPECT_EQ(ShiftDrawingPart("<wsDr>" + odd + good + "</wsDr>", {down}),
              "<wsDr>" + odd + moved + "</wsDr>");
  }
  // A one-cell anchor has no "to": one written there anyway is left alone, its "from" moves.
  EXPECT_EQ(
      ShiftDrawingPart(
          "<oneCellAnchor><from><col>1</col><colOff>0</colOff><row>3</row><rowOff>0</rowOff></from>"
          "<to><col>7</col><colOff>0</colOff><row>7</row><rowOff>0</rowOff></to></oneCellAnchor>",
          {down}),
      "<oneCellAnchor><from><col>1</col><colOff>0</colOff><row>5</row><rowOff>0</rowOff></from>"
      "<to><col>7</col><colOff>0</colOff><row>7</row><rowOff>0</rowOff></to></oneCellAnchor>");
  // White space around a number is read; the number is rewritten without it.
  EXPECT_EQ(
      ShiftDrawingPart(
          "<oneCellAnchor><from><col>1</col><colOff>0</colOff><row> 3\n</row><rowOff>0</rowOff>"
          "</from></oneCellAnchor>",
          {down}),
      "<oneCellAnchor><from><col>1</col><colOff>0</colOff><row>5</row><rowOff>0</rowOff></from></"
      "oneCellAnchor>");
  // A part whose tags do not nest is left whole: every cut of a good part, and one closed by
  // the wrong end tag. Nothing crashes on any of them.
  const std::string two = "<wsDr>" + good + good + "</wsDr>";
  for (size_t n = 0; n < two.size(); ++n) {
    const std::string cutPart = two.substr(0, n);
    const std::string out = ShiftDrawingPart(cutPart, {down});
    if (n <= 6 + good.size() - 1) {
      EXPECT_EQ(out, cutPart) << n;  // inside the first anchor
    }
  }
  const std::string wrongEnd =
      "<wsDr>" + good.substr(0, good.size() - 16) + "</oneCellAnchor></wsDr>";
  EXPECT_EQ(ShiftDrawingPart(wrongEnd, {down}), wrongEnd);
  // A corner outside the sheet (a damaged file) stays where it is.
  const std::string far =
      "<oneCellAnchor><from><col>1</col><colOff>0</colOff><row>1048576</row><rowOff>0</rowOff></"
      "from></oneCellAnchor>";
  EXPECT_EQ(ShiftDrawingPart(far, {down}), far);
}

// Runs drawing_anchor_books.py and reads its lines into anchors.
std::vector<std::pair<std::string, DrawingAnchor>> ReadWithOpenpyxl(const testing::ScratchDir& dir,
                                                                    const std::string& book) {
  std::vector<std::pair<std::string, DrawingAnchor>> out;
  const int status =
      testing::RunTestScript("drawing_anchor_books.py", "read '" + book + "'", dir.Path("log"));
  const std::string log = testing::ReadFileBytes(dir.Path("log"));
  EXPECT_EQ(status, 0) << log;
  std::istringstream in(log);
  for (std::string line; std::getline(in, line);) {
    std::istringstream fields(line);
    std::string kind, mode;
    DrawingAnchor a;
    fields >> kind >> mode >> a.from.col >> a.from.colOff >> a.from.row >> a.from.rowOff >>
        a.to.col >> a.to.colOff >> a.to.row >> a.to.rowOff;
    EXPECT_TRUE(fields) << line;
    a.mode = mode == "twoCell"   ? AnchorMode::TwoCell
             : mode == "oneCell" ? AnchorMode::OneCell
                                 : AnchorMode::Absolute;
    out.emplace_back(kind, a);
  }
  return out;
}

TEST(DrawingAnchors, PicturesAndChartsOfASavedWorkbookStandWhereTheirCellsWent) {
  testing::ScratchDir dir;
  const std::string book = dir.Path("drawings.xlsx");
  ASSERT_EQ(testing::RunTestScript("drawing_anchor_books.py", "make '" + book + "'",
                                   dir.Path("log")),
            0)
      << testing::ReadFileBytes(dir.Path("log"));
  const auto original = ReadWithOpenpyxl(dir, book);
  ASSERT_EQ(original.size(), 9u);

  MemoryHost host;
  host.OpenWorkbook(LoadWorkbook(book));
  host.CloseWorkbook(1, false);
  const SheetRef sheet{1, 1};
  const std::string saved = dir.Path("saved.xlsx");
  // Each step, then a save read back by openpyxl: every drawing where ShiftAnchor puts it after
  // all the steps so far.
  struct Step {
    const char* what;
    void (*run)(MemoryHost&, SheetRef);
  };
  const Step steps[] = {
      {"3 rows inserted in the band A:M above everything",
       [](MemoryHost& h, SheetRef s) { h.InsertShiftDown(s, Area::Of(1, 1, 3, 13)); }},
      {"cells inserted in N:Z, beside most drawings, across the chart at P",
       [](MemoryHost& h, SheetRef s) { h.InsertShiftDown(s, Area::Of(2, 14, 4, 26)); }},
      {"rows 8..9 deleted in B:D, through the picture at B",
       [](MemoryHost& h, SheetRef s) { h.DeleteShiftUp(s, Area::Of(8, 2, 9, 4)); }},
      {"whole rows 12..14 deleted", [](MemoryHost& h, SheetRef s) { h.DeleteRows(s, 12, 14); }},
      {"whole columns C..D deleted", [](MemoryHost& h, SheetRef s) { h.DeleteColumns(s, 3, 4); }},
  };
  for (const Step& step : steps) {
    SCOPED_TRACE(step.what);
    step.run(host, sheet);
    SaveWorkbook(host.GetWorkbook(1), saved);
    const auto after = ReadWithOpenpyxl(dir, saved);
    ASSERT_EQ(after.size(), original.size());
    const std::vector<RefShift>& shifts = host.GetWorkbook(1).GetSheet(1).ShiftsSinceRead();
    for (size_t i = 0; i < original.size(); ++i) {
      DrawingAnchor expected = original[i].second;
      for (const RefShift& s : shifts) expected = ShiftAnchor(expected, s);
      EXPECT_EQ(after[i].first, original[i].first);
      EXPECT_EQ(after[i].second, expected) << "drawing " << i;
    }
  }
  // By hand, after all the steps: the chart at E2 (0-based row 1) went down 3 rows, then its
  // column E moved left 2 with C:D. The picture at B5:D9 (0-based rows 4..8) went down 3 (7..11);
  // its top corner then lay in the deleted row 8 and went to the top of what followed (row 7, no
  // offset), its bottom corner up 2 (9); whole rows 12..14 lie below it; its right corner in
  // column D went with D to the start of what followed (column C, 0-based 2, no offset).
  const auto last = ReadWithOpenpyxl(dir, saved);
  EXPECT_EQ(last[5].second, (DrawingAnchor{AnchorMode::OneCell, {2, 0, 4, 0}, {2, 0, 4, 0}}));
  EXPECT_EQ(last[1].second,
            (DrawingAnchor{AnchorMode::TwoCell, {1, 28575, 7, 0}, {2, 0, 9, 47625}}));
  // The absolute picture (F24:H27) moved with nothing.
  EXPECT_EQ(last[3].second, original[3].second);
}

}  // namespace
}  // namespace tezlo
