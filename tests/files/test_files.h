// Helpers for the file tests: a scratch folder and small zip packages made by hand.
#pragma once

#include <filesystem>
#include <map>
#include <string>

namespace tezlo::testing {

// A fresh folder under the system's temporary folder, removed with everything in it.
class ScratchDir {
 public:
  ScratchDir();
  ~ScratchDir();
  ScratchDir(const ScratchDir&) = delete;
  ScratchDir& operator=(const ScratchDir&) = delete;
  std::string Path(const std::string& name) const { return (dir_ / name).string(); }
  const std::filesystem::path& Dir() const { return dir_; }

 private:
  std::filesystem::path dir_;
};

// The bytes of a zip archive holding `parts` (name -> content), deflated.
std::string MakeZip(const std::map<std::string, std::string>& parts);
// The parts of a zip archive, unpacked (name -> content).
std::map<std::string, std::string> ReadZip(const std::string& bytes);
// A minimal valid package whose one sheet "S" holds `sheetData` (the inside of <sheetData>),
// with `extraParts` added or replacing parts, and `sheetTail` after </sheetData>.
std::map<std::string, std::string> MinimalParts(const std::string& sheetData,
                                                const std::string& sheetTail = "");
// Adds to the workbook's relationships (of MinimalParts) one of `type` (its last segment, as
// "sharedStrings") to `target`, under `id`.
void AddWorkbookRelationship(std::map<std::string, std::string>& parts, const std::string& id,
                             const std::string& type, const std::string& target);
// [Content_Types].xml naming the workbook and `sheets` worksheets (sheet1.xml ...), which
// MinimalParts leaves out and LibreOffice wants.
std::string ContentTypesXml(int sheets);
std::string ReadFileBytes(const std::string& path);
// Runs a Python script of this folder with Debian's interpreter (where python3-openpyxl is
// installed), its output going to `log`; returns its exit status.
int RunTestScript(const std::string& script, const std::string& args, const std::string& log);
void WriteFileBytes(const std::string& path, const std::string& bytes);

}  // namespace tezlo::testing
