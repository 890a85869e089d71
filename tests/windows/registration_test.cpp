// regsvr32 registers the add-in for the current user with exactly the expected values, and
// unregisters it without a trace. The type library embedded in the DLL describes "Text".
#include <gtest/gtest.h>

#include "shell/registration.h"
#include "tezlo_idl.h"
#include "wine_support.h"

namespace tezlo::wintest {
namespace {

using Tree = std::map<std::wstring, std::wstring>;

const std::wstring kClasses = L"Software\\Classes\\";
const std::wstring kAddIn = L"Software\\Microsoft\\Office\\Excel\\Addins\\Text.Connect";

std::wstring Clsid() { return shell::GuidText(CLSID_Connect); }
std::wstring Libid() { return shell::GuidText(LIBID_Text); }
std::wstring Folder(const std::wstring& path) { return path.substr(0, path.find_last_of(L'\\')); }

TEST(Registration, Regsvr32WritesExactlyTheAddInsValuesAndRemovesThemAll) {
  ASSERT_EQ(Regsvr32(false), 0);

  EXPECT_EQ(RegistryTree(kAddIn), (Tree{{L"|FriendlyName", L"TEZLO"},
                                        {L"|Description", L"Varelto"},
                                        {L"|LoadBehavior", L"dword:3"}}));
  EXPECT_EQ(RegistryTree(kClasses + L"Text.Connect"),
            (Tree{{L"|", L"Text.Connect"}, {L"CLSID|", Clsid()}}));
  EXPECT_EQ(RegistryTree(kClasses + L"CLSID\\" + Clsid()),
            (Tree{{L"|", L"Text.Connect"},
                  {L"InprocServer32|", DllPath()},
                  {L"InprocServer32|ThreadingModel", L"Apartment"},
                  {L"ProgID|", L"Text.Connect"},
                  {L"TypeLib|", Libid()}}));
  const std::wstring platform = sizeof(void*) == 8 ? L"win64" : L"win32";
  EXPECT_EQ(RegistryTree(kClasses + L"TypeLib\\" + Libid()),
            (Tree{{L"1.0|", L"Sample AddIn Project"},
                  {L"1.0\\0\\" + platform + L"|", DllPath()},
                  {L"1.0\\FLAGS|", L"0"},
                  {L"1.0\\HELPDIR|", Folder(DllPath())}}));

  // Registering again changes nothing.
  ASSERT_EQ(Regsvr32(false), 0);
  EXPECT_EQ(RegistryTree(kAddIn).size(), 3u);

  ASSERT_EQ(Regsvr32(true), 0);
  EXPECT_FALSE(KeyExists(kAddIn));
  EXPECT_FALSE(KeyExists(L"Software\\Microsoft\\Office"));  // nothing else was there
  EXPECT_FALSE(KeyExists(kClasses + L"Text.Connect"));
  EXPECT_FALSE(KeyExists(kClasses + L"CLSID\\" + Clsid()));
  EXPECT_FALSE(KeyExists(kClasses + L"TypeLib\\" + Libid()));
}

TEST(Registration, UnregisteringOneBitnessKeepsTheOthersTypeLibraryEntry) {
  const std::wstring other = kClasses + L"TypeLib\\" + Libid() + L"\\1.0\\0\\" +
                             (sizeof(void*) == 8 ? L"win32" : L"win64");
  HKEY key = nullptr;
  ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, other.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr,
                            &key, nullptr),
            ERROR_SUCCESS);
  RegCloseKey(key);
  ASSERT_EQ(Regsvr32(false), 0);
  ASSERT_EQ(Regsvr32(true), 0);
  EXPECT_TRUE(KeyExists(other));
  RegDeleteTreeW(HKEY_CURRENT_USER, (kClasses + L"TypeLib\\" + Libid()).c_str());
  RegDeleteKeyW(HKEY_CURRENT_USER, (kClasses + L"TypeLib\\" + Libid()).c_str());
}

TEST(TypeLibrary, TheDllCarriesTheLibraryTextVersionOneWithItsHelpString) {
  ITypeLib* library = nullptr;
  ASSERT_EQ(LoadTypeLibEx(DllPath().c_str(), REGKIND_NONE, &library), S_OK);
  BSTR name = nullptr;
  BSTR help = nullptr;
  ASSERT_EQ(library->GetDocumentation(-1, &name, &help, nullptr, nullptr), S_OK);
  EXPECT_STREQ(name, L"Text");
  EXPECT_STREQ(help, L"Sample AddIn Project");
  SysFreeString(name);
  SysFreeString(help);
  TLIBATTR* attr = nullptr;
  ASSERT_EQ(library->GetLibAttr(&attr), S_OK);
  EXPECT_EQ(attr->guid, LIBID_Text);
  EXPECT_EQ(attr->wMajorVerNum, 1);
  EXPECT_EQ(attr->wMinorVerNum, 0);
  library->ReleaseTLibAttr(attr);
  ITypeInfo* connect = nullptr;
  EXPECT_EQ(library->GetTypeInfoOfGuid(CLSID_Connect, &connect), S_OK);
  if (connect) connect->Release();
  ITypeInfo* events = nullptr;
  EXPECT_EQ(library->GetTypeInfoOfGuid(CLSID_cbEvents, &events), S_OK);
  if (events) events->Release();
  library->Release();
}

}  // namespace
}  // namespace tezlo::wintest
