// Column widths and row heights as the file a sheet was read from wrote them. The engine keeps
// a width in characters as the spreadsheet reports it, which the file's text cannot always be
// computed back from (a stored 12.5 shows as 11.71 characters, and 11.71 stores as 12.4243).
// The file layer notes each text with the value it gave, and writes a size whose value is
// still that one with its original text: untouched sizes come back character for character,
// and a changed size (its value differs) is computed anew.
#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tezlo {

class SizeTexts {
 public:
  // Columns first..last got `chars` from the width text `width` (`chars` 0 for hidden columns,
  // whose width is the one they show again when unhidden).
  void NoteColumns(int32_t first, int32_t last, double chars, std::string_view width);
  // Row `row` got `points` from the height text `height` (`points` 0 for a hidden row). Called
  // for hidden rows and for texts that writing the number would not give back ("40.0"); other
  // heights need no text.
  void NoteRow(int32_t row, double points, std::string_view height);

  // The width text to write for column `col` whose width is `chars`: the text the column was
  // read with while its width is still what that text gave, else a text that gave the same
  // width to another column (columns move). Nothing when no text gave `chars`.
  const std::string* ColumnWidth(int32_t col, double chars) const;
  // The height text to write for row `row` whose height is `points`: the text it was read with
  // while its height is still what that text gave; nothing otherwise.
  const std::string* RowHeight(int32_t row, double points) const;
  // Where the columns' texts start and stop (first and last + 1 of each listing), for a writer
  // that lists columns in runs: a run cut there keeps each listing's own text.
  std::vector<int32_t> ColumnCuts() const;

  // The sheet's format attributes as read: a text and the value it gave.
  struct Noted {
    std::string text;
    double value = 0;
  };
  std::optional<Noted> defaultColWidth;   // value: characters
  std::optional<Noted> defaultRowHeight;  // value: points
  std::optional<std::string> baseColWidth;

 private:
  struct ColumnText {
    int32_t first;
    int32_t last;
    double chars;
    std::string text;
  };
  std::vector<ColumnText> columns_;       // as the file listed them, ascending
  std::map<double, std::string> widths_;  // chars -> the first text that gave them
  struct RowText {
    double points;
    std::string text;
  };
  std::map<int32_t, RowText> rows_;
};

}  // namespace tezlo
