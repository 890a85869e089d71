// The table the dispatcher runs a command through: rows of a test on the function code, an
// optional recent-codes caption and the tool. The program's own table is AllTools() (app/); a
// test passes a table of its own.
#pragma once

#include <span>
#include <string_view>

namespace tezlo {

struct Context;

using Tool = void (*)(Context&);

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

  static constexpr CodeTest FirstCharIn(std::string_view chars) {
    return {Kind::FirstCharIn, chars, 0};
  }
  static constexpr CodeTest Empty() { return {Kind::Empty, {}, 0}; }
  static constexpr CodeTest StartsWith(std::string_view prefix) {
    return {Kind::StartsWith, prefix, 0};
  }
  static constexpr CodeTest NumberEquals(double n) { return {Kind::NumberEquals, {}, n}; }
  static constexpr CodeTest NumberAbove(double n) { return {Kind::NumberAbove, {}, n}; }
  static constexpr CodeTest Exactly(std::string_view code) { return {Kind::Exactly, code, 0}; }

  bool Holds(std::string_view code) const;
};

// One row of a table: when the test holds, the caption (if any) goes into the recent-codes note
// first and then the tool runs.
struct DispatchRow {
  CodeTest test;
  const char* caption;  // nullptr: no note
  Tool tool;
};

// The rows in the order they are tried; the first that holds is the only one that runs.
using ToolTable = std::span<const DispatchRow>;

}  // namespace tezlo
