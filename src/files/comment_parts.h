// The comments part of a sheet and the legacy drawing of its comment boxes, which the
// spreadsheet needs to show them.
#pragma once

#include <string>
#include <vector>

#include "host/cell.h"

namespace tezlo {

struct CommentBox {
  Cell cell;
  const std::string* text;
};

std::string CommentsXml(const std::vector<CommentBox>& comments);
// `sheetNumber` (1-based) keeps the boxes' shape ids apart across sheets.
std::string CommentBoxesVml(const std::vector<CommentBox>& comments, int sheetNumber);

}  // namespace tezlo
