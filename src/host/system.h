// What the tools read from the operating system. Each call throws HostError when the source
// cannot be read at all.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace tezlo {

struct CalendarDate {
  int32_t year = 1900;
  int32_t month = 1;
  int32_t day = 1;
  bool operator==(const CalendarDate&) const = default;
};

struct ProcessInfo {
  std::string name;
  std::string owner;  // empty where it cannot be read
  int64_t id = 0;
  double memoryKb = 0;  // resident memory, bytes / 1024
  std::string path;     // executable path, empty where it cannot be read
  bool operator==(const ProcessInfo&) const = default;
};

struct PointerPosition {
  int32_t x = 0;
  int32_t y = 0;
  bool operator==(const PointerPosition&) const = default;
};

class System {
 public:
  System() = default;
  System(const System&) = delete;
  System& operator=(const System&) = delete;
  virtual ~System() = default;

  // Date: today in local time.
  virtual CalendarDate Today() = 0;
  // Win32_Process instances: every running process.
  virtual std::vector<ProcessInfo> Processes() = 0;
  // The command interpreter's folder listing of every ready drive's root, line by line; the last
  // line is the empty text after the final line break.
  virtual std::vector<std::string> DriveFolderListing() = 0;
  // Shell Namespace(16).Items: the names of the desktop folder's items.
  virtual std::vector<std::string> DesktopItems() = 0;
  // The folder the template workbook is saved into (it may not exist).
  virtual std::string TemplateFolder() = 0;
  // GetCursorPos: the pointer's position in screen pixels.
  virtual PointerPosition Pointer() = 0;
};

}  // namespace tezlo
