// The folder listing of every ready drive's root: one run of the command interpreter's dir.
#include <string>
#include <vector>

#include "com/variant.h"
#include "com/win32.h"
#include "host/host_error.h"
#include "system/windows/windows_system.h"

namespace tezlo {

namespace {

// The roots of the drives that can be read now, in drive-letter order (a drive without a
// medium fails GetVolumeInformation).
std::vector<std::wstring> ReadyRoots() {
  std::vector<std::wstring> roots;
  const DWORD drives = GetLogicalDrives();
  const UINT oldMode = SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX);
  for (int i = 0; i < 26; ++i) {
    if (!(drives & (1u << i))) continue;
    std::wstring root = {static_cast<wchar_t>(L'A' + i), L':', L'\\'};
    if (GetVolumeInformationW(root.c_str(), nullptr, 0, nullptr, nullptr, nullptr, nullptr, 0)) {
      roots.push_back(root);
    }
  }
  SetErrorMode(oldMode);
  return roots;
}

// Runs the command line and returns everything it wrote to its standard output.
std::string RunAndRead(std::wstring commandLine) {
  SECURITY_ATTRIBUTES inherit{sizeof(SECURITY_ATTRIBUTES), nullptr, TRUE};
  HANDLE readEnd = nullptr;
  HANDLE writeEnd = nullptr;
  if (!CreatePipe(&readEnd, &writeEnd, &inherit, 0)) throw HostError("CreatePipe failed");
  SetHandleInformation(readEnd, HANDLE_FLAG_INHERIT, 0);
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESTDHANDLES | STARTF_USESHOWWINDOW;
  startup.wShowWindow = SW_HIDE;
  startup.hStdOutput = writeEnd;
  startup.hStdError = GetStdHandle(STD_ERROR_HANDLE);
  startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
  PROCESS_INFORMATION process{};
  const BOOL started = CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, TRUE,
                                      CREATE_NO_WINDOW, nullptr, nullptr, &startup, &process);
  CloseHandle(writeEnd);
  if (!started) {
    CloseHandle(readEnd);
    throw HostError("the command interpreter could not be started");
  }
  std::string output;
  char buffer[4096];
  DWORD got = 0;
  while (ReadFile(readEnd, buffer, sizeof buffer, &got, nullptr) && got > 0) {
    output.append(buffer, got);
  }
  CloseHandle(readEnd);
  WaitForSingleObject(process.hProcess, INFINITE);
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  return output;
}

// The interpreter writes in the console's (OEM) code page.
std::string OemToUtf8(const std::string& text) {
  if (text.empty()) return {};
  const int n =
      MultiByteToWideChar(CP_OEMCP, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
  std::wstring wide(static_cast<size_t>(n), L'\0');
  MultiByteToWideChar(CP_OEMCP, 0, text.data(), static_cast<int>(text.size()), wide.data(), n);
  return com::Utf8(wide.data(), wide.size());
}

}  // namespace

std::wstring DriveListingCommand(const std::vector<std::wstring>& roots) {
  std::wstring command = L"cmd.exe /c dir ";
  for (const std::wstring& root : roots) command += root + L" ";
  return command + L" /ad";
}

std::vector<std::string> SplitAtLineFeeds(const std::string& text) {
  std::vector<std::string> lines;
  size_t start = 0;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\n') {
      lines.push_back(text.substr(start, i - start));
      start = i + 1;
    }
  }
  lines.push_back(text.substr(start));
  return lines;
}

std::vector<std::string> WindowsSystem::DriveFolderListing() {
  const std::string output = RunAndRead(DriveListingCommand(ReadyRoots()));
  if (output.empty()) return {};
  return SplitAtLineFeeds(OemToUtf8(output));
}

}  // namespace tezlo
