// Workbooks and sheets through the Calc host, step by step beside the memory engine: the same
// names, indexes, active sheets and refusals; and what differs between the two spreadsheets.
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <string>

#include "host/host_error.h"
#include "memory/memory_host.h"
#include "office_for_tests.h"

namespace tezlo {
namespace {

// The outcome of one operation: its result as text, or that it was refused.
std::string Outcome(const std::function<std::string()>& op) {
  try {
    return op();
  } catch (const HostError&) {
    return "refused";
  }
}

std::string Sheets(Host& h) {
  std::string out = std::to_string(h.WorkbookCount()) + " books, active " +
                    std::to_string(h.ActiveWorkbook()) + ":";
  for (int32_t b = 1; b <= h.WorkbookCount(); ++b) {
    out += " [" + h.WorkbookName(b);
    for (int32_t s = 1; s <= h.SheetCount(b); ++s) out += " " + h.SheetName({b, s});
    out += "]";
  }
  const SheetRef active = h.ActiveSheet();
  return out + " sheet " + std::to_string(active.book) + "/" + std::to_string(active.sheet);
}

TEST(CalcHostSheets, SameSheetsNamesAndRefusalsAsTheMemoryEngine) {
  MemoryHost memory;
  auto calc = NewCalcHost();
  std::vector<std::function<std::string(Host&)>> steps = {
      [](Host& h) { return Sheets(h); },
      [](Host& h) {
        return std::to_string(h.AddSheetAfter({1, 1}).sheet);
      },
      [](Host& h) {
        h.RenameSheet({1, 2}, "Data");
        return std::string();
      },
      [](Host& h) {
        h.RenameSheet({1, 3}, "DATA");
        return std::string();
      },  // taken, without case
      [](Host& h) {
        h.RenameSheet({1, 3}, "a[1]");
        return std::string();
      },  // forbidden character
      [](Host& h) {
        h.RenameSheet({1, 3}, std::string(32, 'x'));
        return std::string();
      },
      [](Host& h) {
        h.RenameSheet({1, 3}, "中文表");
        return std::string();
      },
      [](Host& h) {
        return std::to_string(h.AddSheetAfter({1, 4}).sheet);
      },
      [](Host& h) {
        h.ActivateSheet({1, 2});
        return std::string();
      },
      [](Host& h) {
        h.DeleteSheet({1, 2});
        return std::string();
      },
      [](Host& h) {
        h.DeleteSheet({1, 9});
        return std::string();
      },
      [](Host& h) { return std::to_string(h.AddWorkbook()); },
      [](Host& h) { return std::to_string(h.FindWorkbook("book1")); },
      [](Host& h) { return std::to_string(h.FindWorkbook("Book7")); },
      [](Host& h) {
        h.DeleteSheet({2, 1});
        h.DeleteSheet({2, 1});
        h.DeleteSheet({2, 1});
        return std::string();
      },
      [](Host& h) {
        h.ActivateWorkbook(1);
        return std::string();
      },
      [](Host& h) {
        h.ActivateSheet({2, 1});
        return std::string();
      },
      [](Host& h) {
        h.CloseWorkbook(2, true);
        return std::string();
      },  // never saved: refused
      [](Host& h) {
        h.CloseWorkbook(2, false);
        return std::string();
      },
      [](Host& h) {
        h.SaveWorkbookAs(1, "");
        return std::string();
      },
  };
  for (size_t i = 0; i < steps.size(); ++i) {
    const std::string m = Outcome([&] { return steps[i](memory); });
    const std::string c = Outcome([&] { return steps[i](*calc); });
    EXPECT_EQ(c, m) << "step " << i;
    EXPECT_EQ(Sheets(*calc), Sheets(memory)) << "after step " << i;
  }
}

TEST(CalcHostSheets, SavesAsAndClosesWithTheFileName) {
  auto calc = NewCalcHost(1);
  const std::filesystem::path dir =
      std::filesystem::temp_directory_path() / ("tezlo-calc-save-" + std::to_string(::getpid()));
  std::filesystem::create_directories(dir);
  calc->SetValue({1, 1}, {1, 1}, Value::Number(42));
  calc->SaveWorkbookAs(1, (dir / "Saved.xlsx").string());
  EXPECT_EQ(calc->WorkbookName(1), "Saved.xlsx");
  EXPECT_EQ(calc->FindWorkbook("saved.XLSX"), 1);
  EXPECT_GT(std::filesystem::file_size(dir / "Saved.xlsx"), 0u);
  calc->SetValue({1, 1}, {1, 1}, Value::Number(43));
  calc->CloseWorkbook(1, true);
  EXPECT_EQ(calc->WorkbookCount(), 0);
  EXPECT_THROW(calc->ActiveSheet(), HostError);
  EXPECT_THROW(calc->SaveWorkbookAs(1, (dir / "x.xlsx").string()), HostError);
  // A folder that does not exist cannot be written to.
  calc->AddWorkbook();
  EXPECT_THROW(calc->SaveWorkbookAs(1, (dir / "missing" / "x.xlsx").string()), HostError);
  std::filesystem::remove_all(dir);
}

}  // namespace
}  // namespace tezlo
