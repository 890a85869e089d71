// The add-in's dialogs: real message boxes owned by Excel's main window, found and answered from
// a second thread as a user would (the box blocks the thread that opened it), and input boxes
// through Application.InputBox of the double.
#include <gtest/gtest.h>

#include <atomic>
#include <optional>
#include <string>
#include <thread>

#include "app/all_tools.h"
#include "app/sample_workbook.h"
#include "dispatch/context.h"
#include "dispatch/dispatch.h"
#include "excel/excel_host.h"
#include "excel/excel_ui.h"
#include "com/variant.h"
#include "fake_excel.h"
#include "memory/memory_host.h"
#include "scripted/fixed_system.h"

namespace tezlo {
namespace {

LRESULT CALLBACK OwnerProc(HWND w, UINT m, WPARAM wp, LPARAM lp) {
  return DefWindowProcW(w, m, wp, lp);
}

HWND MakeOwner() {
  WNDCLASSW wc{};
  wc.lpfnWndProc = OwnerProc;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.lpszClassName = L"TezloUiTestOwner";
  RegisterClassW(&wc);
  return CreateWindowExW(0, wc.lpszClassName, L"Microsoft Excel", WS_OVERLAPPEDWINDOW, 0, 0, 400,
                         300, nullptr, nullptr, wc.hInstance, nullptr);
}

// What the helper thread saw of the box it answered.
struct SeenBox {
  bool found = false;
  HWND owner = nullptr;
  std::wstring title;
  std::wstring text;
  bool hasOk = false;
  bool hasCancel = false;
  int defaultId = 0;
  int focusId = 0;
};

BOOL CALLBACK FirstDialog(HWND w, LPARAM out) {
  wchar_t cls[16] = {};
  GetClassNameW(w, cls, 16);
  if (std::wstring(cls) == L"#32770" && IsWindowVisible(w)) {
    *reinterpret_cast<HWND*>(out) = w;
    return FALSE;
  }
  return TRUE;
}

std::wstring WindowText(HWND w) {
  wchar_t buffer[1024] = {};
  GetWindowTextW(w, buffer, 1024);
  return buffer;
}

// Waits (at most 10 s) for a message box among `thread`'s windows, reads it and presses
// `button` on it.
std::thread Answerer(DWORD thread, int button, SeenBox& seen) {
  return std::thread([thread, button, &seen] {
    HWND box = nullptr;
    for (int i = 0; i < 200 && !box; ++i) {
      EnumThreadWindows(thread, FirstDialog, reinterpret_cast<LPARAM>(&box));
      if (!box) Sleep(50);
    }
    if (!box) return;
    seen.found = true;
    seen.owner = GetWindow(box, GW_OWNER);
    seen.title = WindowText(box);
    seen.text = WindowText(GetDlgItem(box, 0xFFFF));  // the message's static control
    seen.hasOk = GetDlgItem(box, IDOK) != nullptr;
    seen.hasCancel = GetDlgItem(box, IDCANCEL) != nullptr;
    // The default button is the one drawn as default, where the keyboard focus starts.
    for (int id : {IDOK, IDCANCEL}) {
      const HWND b = GetDlgItem(box, id);
      if (b && (GetWindowLongW(b, GWL_STYLE) & 0x0F) == BS_DEFPUSHBUTTON) seen.defaultId = id;
    }
    GUITHREADINFO gui{};
    gui.cbSize = sizeof gui;
    if (GetGUIThreadInfo(thread, &gui) && gui.hwndFocus) seen.focusId = GetDlgCtrlID(gui.hwndFocus);
    SendMessageW(GetDlgItem(box, button), BM_CLICK, 0, 0);
  });
}

class ExcelUiTest : public ::testing::Test {
 protected:
  ExcelUiTest() : owner_(MakeOwner()), app_(new fake::FakeApplication(memory_, owner_)) {
    excel_.SetApplication(app_);
  }
  ~ExcelUiTest() override {
    excel_.SetApplication(nullptr);
    app_->Release();
    DestroyWindow(owner_);
  }

  // Shows the box on this thread and answers it with `button` from another.
  Answer ShowAndPress(ExcelUi& ui, const MessageBoxRequest& request, int button, SeenBox& seen) {
    std::thread answerer = Answerer(GetCurrentThreadId(), button, seen);
    const Answer answer = ui.MessageBox(request);
    answerer.join();
    return answer;
  }

  MemoryHost memory_;
  HWND owner_;
  fake::FakeApplication* app_;
  ExcelHost excel_;
};

TEST_F(ExcelUiTest, AChoiceIsOwnedByExcelAndCancelIsCancel) {
  ASSERT_NE(owner_, nullptr);
  ExcelUi ui(excel_);
  MessageBoxRequest request;
  request.title = "提示";
  request.text = "要删除的区域有非空单元格\r\n第二行 line";
  request.buttons = Buttons::OkCancel;
  request.icon = Icon::Warning;
  request.defaultButton = DefaultButton::Second;
  SeenBox seen;
  EXPECT_EQ(ShowAndPress(ui, request, IDCANCEL, seen), Answer::Cancel);
  ASSERT_TRUE(seen.found);
  EXPECT_EQ(seen.owner, owner_);
  EXPECT_EQ(seen.title, L"提示");
  EXPECT_EQ(seen.text, com::Wide(request.text));
  EXPECT_TRUE(seen.hasOk);
  EXPECT_TRUE(seen.hasCancel);
  EXPECT_EQ(seen.defaultId, IDCANCEL);
  EXPECT_EQ(seen.focusId, IDCANCEL);
}

TEST_F(ExcelUiTest, OkOnAChoiceIsOk) {
  ExcelUi ui(excel_);
  MessageBoxRequest request;
  request.title = "设置提示";
  request.text = "点“确定”恢复初始的行宽列高";
  request.buttons = Buttons::OkCancel;
  SeenBox seen;
  EXPECT_EQ(ShowAndPress(ui, request, IDOK, seen), Answer::Ok);
  ASSERT_TRUE(seen.found);
  EXPECT_EQ(seen.defaultId, IDOK);
  EXPECT_EQ(seen.focusId, IDOK);
}

TEST_F(ExcelUiTest, AMessageWithoutTitleShowsTheProjectNameAndOnlyOk) {
  ExcelUi ui(excel_);
  MessageBoxRequest request;
  request.text = "所选单元格不是两个";
  SeenBox seen;
  EXPECT_EQ(ShowAndPress(ui, request, IDOK, seen), Answer::Ok);
  ASSERT_TRUE(seen.found);
  EXPECT_EQ(seen.title, L"Text");
  EXPECT_EQ(seen.owner, owner_);
  EXPECT_TRUE(seen.hasOk);
  EXPECT_FALSE(seen.hasCancel);
}

TEST_F(ExcelUiTest, WithoutExcelTheBoxHasNoOwner) {
  ExcelHost unconnected;
  ExcelUi ui(unconnected);
  MessageBoxRequest request;
  request.text = "x";
  SeenBox seen;
  EXPECT_EQ(ShowAndPress(ui, request, IDOK, seen), Answer::Ok);
  ASSERT_TRUE(seen.found);
  EXPECT_EQ(seen.owner, nullptr);
}

TEST_F(ExcelUiTest, InputGoesThroughExcelsInputBox) {
  ExcelUi ui(excel_);
  app_->Inputs().answers = {std::string("2"), std::nullopt, std::string("")};
  InputBoxRequest ask;
  ask.prompt = "输入1：将文本转换成数字；\n输入2：将数字转换成文本。";
  ask.title = "提示";
  ask.defaultValue = "1";
  EXPECT_EQ(ui.InputBox(ask), std::optional<std::string>("2"));
  EXPECT_EQ(ui.InputBox(ask), std::nullopt);  // Cancel: the box answers False
  InputBoxRequest bare;
  bare.prompt = "行数";
  EXPECT_EQ(ui.InputBox(bare), std::optional<std::string>(""));  // OK on an empty box is not Cancel
  const fake::InputScript& seen = app_->Inputs();
  EXPECT_EQ(seen.prompts, (std::vector<std::string>{ask.prompt, ask.prompt, "行数"}));
  EXPECT_EQ(seen.titles, (std::vector<std::string>{"提示", "提示", "(missing)"}));
  EXPECT_EQ(seen.defaults, (std::vector<std::string>{"1", "1", "(missing)"}));
}

TEST_F(ExcelUiTest, WithoutExcelInputIsCancelled) {
  ExcelHost unconnected;
  ExcelUi ui(unconnected);
  InputBoxRequest ask;
  ask.prompt = "p";
  EXPECT_EQ(ui.InputBox(ask), std::nullopt);
  EXPECT_TRUE(app_->Inputs().prompts.empty());
}

// A whole command as Excel runs it: the tool's question is a real box owned by Excel's window,
// answered by the user, and the answer decides what the tool writes.
class ExcelUiCommandTest : public ExcelUiTest {
 protected:
  ExcelUiCommandTest() {
    BuildSampleWorkbook(memory_);
    memory_.Select(
        Selection{{Area::Of(1, 14, 1, 14)}, Cell{1, 14}});  // the comparison's topic word
  }

  // Runs "*18" and presses `button` on its box; what stands where the first header goes.
  Value CompareAndPress(int button, SeenBox& seen) {
    ExcelUi ui(excel_);
    FixedSystem system;
    Context ctx(excel_, ui, system);
    ctx.tools = AllTools();
    ctx.funcCode = "*18";
    std::thread answerer = Answerer(GetCurrentThreadId(), button, seen);
    Dispatch(ctx);
    answerer.join();
    return memory_.GetValue({1, 1}, {1, 17});
  }
};

TEST_F(ExcelUiCommandTest, OkOnTheToolsQuestionLetsItWrite) {
  SeenBox seen;
  EXPECT_EQ(CompareAndPress(IDOK, seen), Value::Text("左有右无"));
  ASSERT_TRUE(seen.found);
  EXPECT_EQ(seen.owner, owner_);
  EXPECT_EQ(seen.title, L"提示");
  EXPECT_TRUE(seen.hasCancel);
  EXPECT_EQ(memory_.GetValue({1, 1}, {4, 17}), Value::Text("橙子 orange"));  // only on the left
  EXPECT_EQ(memory_.GetValue({1, 1}, {2, 18}), Value::Text("苹果 apple"));   // on both sides
}

TEST_F(ExcelUiCommandTest, CancelOnTheToolsQuestionWritesNothing) {
  SeenBox seen;
  EXPECT_EQ(CompareAndPress(IDCANCEL, seen), Value());
  ASSERT_TRUE(seen.found);
  EXPECT_EQ(memory_.GetValue({1, 1}, {4, 17}), Value());
}

}  // namespace
}  // namespace tezlo
