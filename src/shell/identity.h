// The add-in's COM identity, generated from tezlo.idl: the type library "Text" and its classes,
// and the names the registration writes.
#pragma once

#include "com/win32.h"
#include "tezlo_idl.h"

namespace tezlo::shell {

constexpr const wchar_t* kProgId = L"Text.Connect";
constexpr const wchar_t* kTypeLibraryHelp = L"Sample AddIn Project";
constexpr WORD kTypeLibraryMajor = 1;
constexpr WORD kTypeLibraryMinor = 0;

// The add-in's record for Excel, under HKEY_CURRENT_USER.
constexpr const wchar_t* kAddInKey = L"Software\\Microsoft\\Office\\Excel\\Addins\\Text.Connect";
constexpr const wchar_t* kFriendlyName = L"TEZLO";
constexpr const wchar_t* kDescription = L"Varelto";
constexpr DWORD kLoadBehavior = 3;  // connected, and loaded at every start of Excel

// Office's event interface of a command-bar button (_CommandBarButtonEvents); Click is DISPID 1.
constexpr GUID kCommandBarButtonEvents = {0x000C0351,
                                          0x0000,
                                          0x0000,
                                          {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};
constexpr DISPID kClickDispid = 1;

}  // namespace tezlo::shell
