#include "program/command_line.h"

#include <CLI/CLI.hpp>

#include "cli/batch_options.h"
#include "cli/version.h"

namespace tezlo {

std::string ProgramUsage() {
  return "usage: tezlo [BOOK]            the workbench on BOOK (xlsx), or on the built-in sample\n"
         "       tezlo --new BOOK        the workbench on a new workbook saved to BOOK\n"
         "       tezlo run BOOK [options] [--] CODE...   function codes run on BOOK, which is "
         "saved\n"
         "       tezlo --help | --version   (tezlo run --help shows the batch runner's options)\n";
}

ProgramCommand ParseProgramCommand(const std::vector<std::string>& args) {
  CLI::App app{"tezlo"};
  app.set_help_flag();  // --help is answered below, with our own text
  bool help = false;
  bool version = false;
  std::string created;
  std::vector<std::string> books;
  app.add_flag("-h,--help", help);
  app.add_flag("--version", version);
  app.add_option("--new", created);
  app.add_option("book", books);
  // Everything after "run" is the batch runner's, read by its own parser.
  CLI::App* run = app.add_subcommand("run")->prefix_command();
  run->set_help_flag();

  // CLI11 reads its arguments from the back.
  std::vector<std::string> reversed(args.rbegin(), args.rend());
  try {
    app.parse(reversed);
  } catch (const CLI::ParseError& e) {
    throw UsageError(e.what());
  }
  ProgramCommand command;
  if (run->parsed()) {
    command.kind = ProgramCommand::Kind::Run;
    command.runArgs = run->remaining();
    return command;
  }
  if (help) {
    command.kind = ProgramCommand::Kind::Help;
    command.text = ProgramUsage();
    return command;
  }
  if (version) {
    command.kind = ProgramCommand::Kind::Version;
    command.text = "tezlo " + std::string(kVersion) + "\n";
    return command;
  }
  if (app.count("--new") > 0 && !books.empty())
    throw UsageError("--new takes the one workbook; no other goes with it");
  if (books.size() > 1) throw UsageError("one workbook at a time");
  command.workbench.create = app.count("--new") > 0;
  command.workbench.book =
      command.workbench.create ? created : (books.empty() ? "" : books.front());
  if (command.workbench.create && created.empty())
    throw UsageError("--new needs the file the new workbook is saved to");
  return command;
}

}  // namespace tezlo
