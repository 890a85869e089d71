// The add-in driven as Excel drives it: created by its ProgID, connected to a double of Excel's
// Application, its button clicked through the connection point, the command box typed into
// with real key input, and the command's result read back from the double's workbook.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "com/automation.h"
#include "fake_excel.h"
#include "memory/memory_host.h"
#include "tezlo_idl.h"
#include "wine_support.h"

namespace tezlo::wintest {
namespace {

using fake::FakeApplication;

constexpr const wchar_t* kBoxClass = L"TezloCommandBox";

HWND Box() { return FindWindowW(kBoxClass, nullptr); }

std::wstring BoxText() {
  HWND edit = GetWindow(Box(), GW_CHILD);
  wchar_t text[256] = {};
  GetWindowTextW(edit, text, 256);
  return text;
}

// Keyboard input as the user types it (SendInput of Unicode characters and Enter).
void Type(const std::wstring& text, bool enter) {
  std::vector<INPUT> inputs;
  for (wchar_t c : text) {
    INPUT down{};
    down.type = INPUT_KEYBOARD;
    down.ki.wScan = c;
    down.ki.dwFlags = KEYEVENTF_UNICODE;
    INPUT up = down;
    up.ki.dwFlags |= KEYEVENTF_KEYUP;
    inputs.push_back(down);
    inputs.push_back(up);
  }
  if (enter) {
    INPUT down{};
    down.type = INPUT_KEYBOARD;
    down.ki.wVk = VK_RETURN;
    INPUT up = down;
    up.ki.dwFlags = KEYEVENTF_KEYUP;
    inputs.push_back(down);
    inputs.push_back(up);
  }
  SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
}

// The box as the screen shows it, saved as a 24-bit BMP (the test script turns it into a PNG).
bool SaveWindowImage(HWND window, const std::string& path) {
  RECT r;
  GetWindowRect(window, &r);
  const int w = r.right - r.left;
  const int h = r.bottom - r.top;
  HDC screen = GetDC(nullptr);
  HDC memory = CreateCompatibleDC(screen);
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  info.bmiHeader.biWidth = w;
  info.bmiHeader.biHeight = h;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 24;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  HBITMAP bitmap = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  HGDIOBJ old = SelectObject(memory, bitmap);
  BitBlt(memory, 0, 0, w, h, screen, r.left, r.top, SRCCOPY);
  GdiFlush();
  const DWORD stride = static_cast<DWORD>(((w * 3) + 3) & ~3);
  const DWORD size = stride * static_cast<DWORD>(h);
  BITMAPFILEHEADER file{};
  file.bfType = 0x4D42;
  file.bfOffBits = sizeof(BITMAPFILEHEADER) + sizeof(BITMAPINFOHEADER);
  file.bfSize = file.bfOffBits + size;
  bool ok = false;
  if (FILE* f = std::fopen(path.c_str(), "wb")) {
    ok = std::fwrite(&file, sizeof file, 1, f) == 1 &&
         std::fwrite(&info.bmiHeader, sizeof(BITMAPINFOHEADER), 1, f) == 1 &&
         std::fwrite(bits, 1, size, f) == size;
    std::fclose(f);
  }
  SelectObject(memory, old);
  DeleteObject(bitmap);
  DeleteDC(memory);
  ReleaseDC(nullptr, screen);
  return ok;
}

LRESULT CALLBACK ExcelWindowProc(HWND w, UINT m, WPARAM wp, LPARAM lp) {
  return DefWindowProcW(w, m, wp, lp);
}

// Excel's main window stand-in: the owner of the command box.
HWND MakeExcelWindow() {
  WNDCLASSW wc{};
  wc.lpfnWndProc = ExcelWindowProc;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.lpszClassName = L"XLMAIN";
  RegisterClassW(&wc);
  return CreateWindowExW(0, L"XLMAIN", L"Microsoft Excel", WS_OVERLAPPEDWINDOW, 0, 0, 400, 300,
                         nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
}

class AddInTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { ASSERT_EQ(Regsvr32(false), 0); }
  static void TearDownTestSuite() { Regsvr32(true); }

  void SetUp() override {
    excelWindow_ = MakeExcelWindow();
    ShowWindow(excelWindow_, SW_SHOW);
    // The working sheets, with a block of labels in A51:Z60 of "+1" and the cursor at C55.
    host_.RenameSheet({1, 1}, "+1");
    host_.RenameSheet({1, 2}, "+2");
    host_.RenameSheet({1, 3}, "+3");
    host_.ActivateSheet({1, 1});
    for (int32_t r = 51; r <= 60; ++r) {
      for (int32_t c = 1; c <= 26; ++c) {
        host_.SetValue({1, 1}, {r, c},
                       Value::Text("r" + std::to_string(r) + "c" + std::to_string(c)));
      }
    }
    host_.ActivateCell({55, 3});
    app_ = new FakeApplication(host_, excelWindow_);
    CLSID clsid{};
    ASSERT_EQ(CreateByProgId(L"Text.Connect", IID_IDTExtensibility2,
                             reinterpret_cast<void**>(&addIn_), &clsid),
              S_OK);
    ASSERT_EQ(clsid, CLSID_Connect);
  }

  void TearDown() override {
    if (HWND box = Box()) DestroyWindow(box);
    if (connected_) addIn_->OnDisconnection(1, nullptr);
    if (addIn_) addIn_->Release();
    if (app_) app_->Release();
    DestroyWindow(excelWindow_);
  }

  void Connect() {
    ASSERT_EQ(addIn_->OnConnection(app_, 0, nullptr, nullptr), S_OK);
    connected_ = true;
  }
  void Disconnect() {
    ASSERT_EQ(addIn_->OnDisconnection(0, nullptr), S_OK);
    connected_ = false;
  }
  fake::FakeButton* OnlyButton() {
    EXPECT_EQ(app_->Bar().buttons.size(), 1u);
    return app_->Bar().buttons.empty() ? nullptr : app_->Bar().buttons.front();
  }
  std::string Cell(int32_t row, int32_t col) {
    const Value v = host_.GetValue({1, 1}, {row, col});
    return v.IsText() ? v.AsText() : v.IsEmpty() ? "" : "?";
  }

  static MemorySettings SmallGrid() {
    MemorySettings settings;
    settings.rows = 65536;
    settings.cols = 256;
    return settings;
  }

  MemoryHost host_{SmallGrid()};
  HWND excelWindow_ = nullptr;
  FakeApplication* app_ = nullptr;
  IDTExtensibility2* addIn_ = nullptr;
  bool connected_ = false;
};

TEST_F(AddInTest, ConnectionAddsTheButtonWithItsPropertiesInOrder) {
  Connect();
  EXPECT_EQ(app_->Bar().entries,
            (std::vector<std::wstring>{L"Controls.Add(1,1,-,1,True)", L"Caption=&Z",
                                       L"OnAction=ShowForm", L"Style=3", L"TooltipText=FormShow",
                                       L"FaceId=25"}));
  fake::FakeButton* button = OnlyButton();
  ASSERT_NE(button, nullptr);
  EXPECT_EQ(button->SinkCount(), 1u);
  // The three events the add-in leaves alone answer success.
  EXPECT_EQ(addIn_->OnAddInsUpdate(nullptr), S_OK);
  EXPECT_EQ(addIn_->OnStartupComplete(nullptr), S_OK);
  EXPECT_EQ(addIn_->OnBeginShutdown(nullptr), S_OK);
}

TEST_F(AddInTest, ClickOnAnotherActionOpensNothingButStillCancelsTheDefault) {
  Connect();
  fake::FakeButton* button = OnlyButton();
  ASSERT_NE(button, nullptr);
  com::Object::Of(button).Put(L"OnAction", com::Variant::Text("showform"));
  EXPECT_TRUE(button->Click());
  PumpUntil([] { return false; }, 200);
  EXPECT_EQ(Box(), nullptr);
}

TEST_F(AddInTest, ClickOpensTheCaptionlessCentredBoxAndPlusThreeInsertsRows) {
  Connect();
  fake::FakeButton* button = OnlyButton();
  ASSERT_NE(button, nullptr);
  EXPECT_TRUE(button->Click());
  ASSERT_TRUE(PumpUntil([] { return Box() != nullptr && IsWindowVisible(Box()); }));
  HWND box = Box();

  const LONG style = GetWindowLongW(box, GWL_STYLE);
  EXPECT_EQ(style & WS_CAPTION, 0);
  EXPECT_NE(style & WS_THICKFRAME, 0);
  EXPECT_EQ(GetWindow(box, GW_OWNER), excelWindow_);
  HDC screen = GetDC(nullptr);
  const int dpiX = GetDeviceCaps(screen, LOGPIXELSX);
  const int dpiY = GetDeviceCaps(screen, LOGPIXELSY);
  ReleaseDC(nullptr, screen);
  RECT client;
  GetClientRect(box, &client);
  EXPECT_EQ(client.right, MulDiv(855, dpiX, 1440));
  EXPECT_EQ(client.bottom, MulDiv(270, dpiY, 1440));
  RECT frame;
  GetWindowRect(box, &frame);
  EXPECT_LE(std::abs((frame.left + frame.right) / 2 - GetSystemMetrics(SM_CXSCREEN) / 2), 1);
  EXPECT_LE(std::abs((frame.top + frame.bottom) / 2 - GetSystemMetrics(SM_CYSCREEN) / 2), 1);
  HWND edit = GetWindow(box, GW_CHILD);
  RECT editRect;
  GetClientRect(edit, &editRect);
  GetWindowRect(edit, &editRect);
  EXPECT_EQ(editRect.right - editRect.left, client.right);
  EXPECT_EQ(editRect.bottom - editRect.top, client.bottom);
  EXPECT_EQ(GetFocus(), edit);

  Type(L"+3", false);
  ASSERT_TRUE(PumpUntil([] { return BoxText() == L"+3"; }));
  if (const char* bmp = std::getenv("TEZLO_COMMAND_BOX_BMP")) {
    PumpUntil([] { return false; }, 300);  // let the frame and the text paint
    EXPECT_TRUE(SaveWindowImage(box, bmp));
  }
  Type(L"", true);
  ASSERT_TRUE(PumpUntil([] { return Box() == nullptr; }));

  // Three empty rows at row 55 in the block A:M; N:Z and the rows above did not move.
  EXPECT_EQ(Cell(54, 1), "r54c1");
  for (int32_t r = 55; r <= 57; ++r) {
    for (int32_t c = 1; c <= 13; ++c) EXPECT_EQ(Cell(r, c), "") << r << "," << c;
  }
  EXPECT_EQ(Cell(58, 1), "r55c1");
  EXPECT_EQ(Cell(63, 13), "r60c13");
  EXPECT_EQ(Cell(55, 14), "r55c14");
  EXPECT_EQ(Cell(58, 14), "r58c14");
}

TEST_F(AddInTest, PointerReadoutKeepsTheBoxOpenAndTheNextEnterRunsNothing) {
  Connect();
  ASSERT_NE(OnlyButton(), nullptr);
  OnlyButton()->Click();
  ASSERT_TRUE(PumpUntil([] { return Box() != nullptr; }));
  SetCursorPos(120, 80);
  Type(L" *10 ", true);
  ASSERT_TRUE(PumpUntil([] { return BoxText() == L"120.80"; }));
  SetCursorPos(130, 90);
  ASSERT_TRUE(PumpUntil([] { return BoxText() == L"130.90"; }, 3000));  // the 500 ms timer
  const Matrix before = host_.GetValues({1, 1}, Area::Of(50, 1, 65, 26));
  Type(L"", true);
  ASSERT_TRUE(PumpUntil([] { return Box() == nullptr; }));
  EXPECT_EQ(host_.GetValues({1, 1}, Area::Of(50, 1, 65, 26)), before);
}

TEST_F(AddInTest, DisconnectRemovesTheButtonSoAReconnectionLeavesExactlyOneWorkingButton) {
  Connect();
  ASSERT_EQ(app_->Bar().buttons.size(), 1u);
  Disconnect();
  EXPECT_TRUE(app_->Bar().buttons.empty());
  Connect();
  fake::FakeButton* button = OnlyButton();
  ASSERT_NE(button, nullptr);
  EXPECT_EQ(button->SinkCount(), 1u);
  EXPECT_TRUE(button->Click());
  EXPECT_TRUE(PumpUntil([] { return Box() != nullptr; }));
}

TEST_F(AddInTest, ACommandFromABoxLeftOpenAfterDisconnectionChangesNothing) {
  Connect();
  OnlyButton()->Click();
  ASSERT_TRUE(PumpUntil([] { return Box() != nullptr; }));
  Disconnect();
  const Matrix before = host_.GetValues({1, 1}, Area::Of(50, 1, 65, 26));
  Type(L"+3", true);
  ASSERT_TRUE(PumpUntil([] { return Box() == nullptr; }));
  EXPECT_EQ(host_.GetValues({1, 1}, Area::Of(50, 1, 65, 26)), before);
}

}  // namespace
}  // namespace tezlo::wintest
