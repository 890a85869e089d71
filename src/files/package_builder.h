// Builds the parts of the package a workbook is saved as: the parts the engine writes afresh
// (workbook part, worksheets, styles, shared texts, comments) and every part of the file it was
// read from that it does not rewrite, copied as it was with its relationships and content type.
#pragma once

#include "files/zip_writer.h"
#include "memory/workbook.h"

namespace tezlo {

// FileError when what the workbook keeps cannot be written (see CannotWrite).
void BuildPackage(const Workbook& book, ZipWriter& zip);

// Why what the workbook keeps cannot be written as it stands, for a message; empty when it can.
// A sheet whose form controls are kept in a legacy drawing cannot also get comments, which Tezlo
// draws in a legacy drawing of its own (a sheet has one).
std::string CannotWrite(const Workbook& book);

}  // namespace tezlo
