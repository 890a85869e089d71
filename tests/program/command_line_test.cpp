// The program's one command line: the workbench's forms, the batch runner's arguments passed on
// whole, --help and --version, and the forms that make no sense.
#include "program/command_line.h"

#include <gtest/gtest.h>

#include "cli/batch_options.h"
#include "cli/version.h"

namespace tezlo {
namespace {

using Kind = ProgramCommand::Kind;

TEST(ProgramCommandLine, ReadsEachFormAndRefusesTheRest) {
  ProgramCommand c = ParseProgramCommand({});
  EXPECT_EQ(c.kind, Kind::Workbench);
  EXPECT_EQ(c.workbench.book, "");  // the sample
  c = ParseProgramCommand({"笔记.xlsx"});
  EXPECT_EQ(c.kind, Kind::Workbench);
  EXPECT_EQ(c.workbench.book, "笔记.xlsx");
  EXPECT_FALSE(c.workbench.create);
  c = ParseProgramCommand({"--new", "n.xlsx"});
  EXPECT_TRUE(c.workbench.create);
  EXPECT_EQ(c.workbench.book, "n.xlsx");

  c = ParseProgramCommand({"--help"});
  EXPECT_EQ(c.kind, Kind::Help);
  EXPECT_EQ(c.text, ProgramUsage());
  EXPECT_EQ(ParseProgramCommand({"-h"}).kind, Kind::Help);
  c = ParseProgramCommand({"--version"});
  EXPECT_EQ(c.kind, Kind::Version);
  EXPECT_EQ(c.text, "tezlo " + std::string(kVersion) + "\n");

  // Everything after "run" is the runner's, options and codes that look like options included.
  c = ParseProgramCommand({"run", "b.xlsx", "--answer", "ok", "--", "-3", "--help"});
  EXPECT_EQ(c.kind, Kind::Run);
  EXPECT_EQ(c.runArgs,
            (std::vector<std::string>{"b.xlsx", "--answer", "ok", "--", "-3", "--help"}));
  EXPECT_EQ(ParseProgramCommand({"run", "--version"}).runArgs,
            std::vector<std::string>{"--version"});
  EXPECT_TRUE(ParseBatchCommand({"--version"}).help);
  EXPECT_EQ(ParseBatchCommand({"--version"}).helpText, "tezlo " + std::string(kVersion) + "\n");

  for (const std::vector<std::string>& bad :
       std::vector<std::vector<std::string>>{{"--bogus"},
                                             {"a.xlsx", "b.xlsx"},
                                             {"--new"},
                                             {"--new", "a.xlsx", "b.xlsx"},
                                             {"--new", ""}}) {
    EXPECT_THROW(ParseProgramCommand(bad), UsageError) << bad.front();
  }
}

}  // namespace
}  // namespace tezlo
