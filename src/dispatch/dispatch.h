// The function-code dispatcher: from the code typed into the command box to one tool.
#pragma once

#include <span>
#include <string_view>

#include "dispatch/context.h"

namespace tezlo {

// A test on the trimmed function code.
struct CodeTest {
  enum class Kind {
    FirstCharIn,   // the first character is one of `text`
    Empty,         // the code is empty
    StartsWith,    // the code begins with `text`
    NumberEquals,  // the code's leading number equals `number`
    NumberAbove,   // the code's leading number is greater than `number`
    Exactly,       // the whole code equals `text`, case included
  };
  Kind kind;
  std::string_view text;
  double number = 0;

  bool Holds(std::string_view code) const;
};

// One row of the table: when the test holds, the caption (if any) goes into the recent-codes
// note first and then the action runs.
struct DispatchRow {
  CodeTest test;
  const char* caption;  // nullptr: no note
  Tool action;
};

// The rows in the order they are tried; the first that holds is the only one that runs.
std::span<const DispatchRow> DispatchTable();

// Runs the command in ctx.funcCode. After a pointer readout (flowFlag SkipNextOnce) it only
// sets flowFlag back to GoOn. Otherwise it prepares the workbook, stops when the preparation
// refused (flowFlag Stop), and runs the first matching row. Nothing escapes: a refused host call ends the
// step or the tool as its failure handling says, keeping what it had changed; any other exception
// is a fault of ours, reported as an internal error (internal_error.h) and kept in
// ctx.internalError until the next command.
void Dispatch(Context& ctx);

}  // namespace tezlo
