#include "shell/command_box_window.h"

#include "com/variant.h"
#include "shell/module.h"

namespace tezlo::shell {

namespace {

constexpr DWORD kStyle = WS_POPUP | WS_THICKFRAME | WS_CLIPCHILDREN;
constexpr DWORD kExStyle = 0;
constexpr UINT_PTR kTimerId = 1;
constexpr int kEditId = 100;
// Enter in the edit, posted so that the command runs from the box's own message handling.
constexpr UINT kEnterMessage = WM_APP + 1;

// The one box of the process, for the message hook.
CommandBoxWin32* g_openBox = nullptr;

bool RegisterBoxClass() {
  static const bool registered = [] {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = DefWindowProcW;
    wc.hInstance = ModuleInstance();
    wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.lpszClassName = CommandBoxWin32::kClassName;
    return RegisterClassExW(&wc) != 0 || GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
  }();
  return registered;
}

}  // namespace

SIZE CommandBoxWindowSize(int widthTwips, int heightTwips, int dpiX, int dpiY) {
  RECT r{0, 0, MulDiv(widthTwips, dpiX, 1440), MulDiv(heightTwips, dpiY, 1440)};
  AdjustWindowRectEx(&r, kStyle, FALSE, kExStyle);
  return SIZE{r.right - r.left, r.bottom - r.top};
}

CommandBoxWin32::~CommandBoxWin32() {
  if (window_) DestroyWindow(window_);
  if (font_) DeleteObject(font_);
}

void CommandBoxWin32::Show(HWND owner) {
  if (!window_) Create(owner);
  if (!window_) return;
  ShowWindow(window_, SW_SHOW);
  SetForegroundWindow(window_);
  SetFocus(edit_);
}

void CommandBoxWin32::Create(HWND owner) {
  if (!RegisterBoxClass()) return;
  HDC screen = GetDC(nullptr);
  const int dpiX = GetDeviceCaps(screen, LOGPIXELSX);
  const int dpiY = GetDeviceCaps(screen, LOGPIXELSY);
  ReleaseDC(nullptr, screen);
  const SIZE size = CommandBoxWindowSize(kWidthTwips, kHeightTwips, dpiX, dpiY);
  const int x = (GetSystemMetrics(SM_CXSCREEN) - size.cx) / 2;
  const int y = (GetSystemMetrics(SM_CYSCREEN) - size.cy) / 2;
  window_ = CreateWindowExW(kExStyle, kClassName, L"", kStyle, x, y, size.cx, size.cy, owner,
                            nullptr, ModuleInstance(), nullptr);
  if (!window_) return;
  SetWindowLongPtrW(window_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
  SetWindowLongPtrW(window_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&WindowProc));
  RECT client;
  GetClientRect(window_, &client);
  edit_ = CreateWindowExW(WS_EX_CLIENTEDGE, L"EDIT", L"",
                          WS_CHILD | WS_VISIBLE | WS_TABSTOP | ES_AUTOHSCROLL, 0, 0, client.right,
                          client.bottom, window_, reinterpret_cast<HMENU>(kEditId),
                          ModuleInstance(), nullptr);
  if (!edit_) {
    DestroyWindow(window_);
    return;
  }
  if (!font_) {
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof metrics;
    if (SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0)) {
      font_ = CreateFontIndirectW(&metrics.lfMessageFont);
    }
  }
  SendMessageW(edit_, WM_SETFONT,
               reinterpret_cast<WPARAM>(font_ ? font_ : GetStockObject(DEFAULT_GUI_FONT)), FALSE);
  SetWindowLongPtrW(edit_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
  editProc_ = reinterpret_cast<WNDPROC>(
      SetWindowLongPtrW(edit_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&EditProc)));
  // Excel's message loop may translate Enter before the edit sees it; the hook takes Enter for
  // the edit out of the queue first.
  g_openBox = this;
  hook_ = SetWindowsHookExW(WH_GETMESSAGE, &GetMessageHook, nullptr, GetCurrentThreadId());
}

void CommandBoxWin32::SetText(const std::string& text) {
  if (edit_) SetWindowTextW(edit_, com::Wide(text).c_str());
}

void CommandBoxWin32::StartTimer(int32_t intervalMs) {
  if (window_) SetTimer(window_, kTimerId, static_cast<UINT>(intervalMs), nullptr);
}

void CommandBoxWin32::StopTimer() {
  if (window_) KillTimer(window_, kTimerId);
}

void CommandBoxWin32::Close() {
  if (window_) DestroyWindow(window_);
}

void CommandBoxWin32::OnEnter() {
  if (!edit_ || !controller_) return;
  const int length = GetWindowTextLengthW(edit_);
  std::wstring text(static_cast<size_t>(length) + 1, L'\0');
  const int got = GetWindowTextW(edit_, text.data(), length + 1);
  text.resize(static_cast<size_t>(got));
  // May close the box and run a whole command; nothing of the window is used afterwards.
  controller_->OnEnter(com::Utf8(text.data(), text.size()));
}

LRESULT CALLBACK CommandBoxWin32::WindowProc(HWND window, UINT message, WPARAM wp, LPARAM lp) {
  auto* box = reinterpret_cast<CommandBoxWin32*>(GetWindowLongPtrW(window, GWLP_USERDATA));
  if (box && box->window_ == window) return box->Handle(message, wp, lp);
  return DefWindowProcW(window, message, wp, lp);
}

LRESULT CommandBoxWin32::Handle(UINT message, WPARAM wp, LPARAM lp) {
  switch (message) {
    case kEnterMessage: OnEnter(); return 0;
    case WM_TIMER:
      if (wp == kTimerId && controller_) controller_->OnTimer();
      return 0;
    case WM_SIZE:
      if (edit_) MoveWindow(edit_, 0, 0, LOWORD(lp), HIWORD(lp), TRUE);
      return 0;
    case WM_SETFOCUS:
      if (edit_) SetFocus(edit_);
      return 0;
    case WM_DESTROY: {
      HWND window = window_;
      if (hook_) UnhookWindowsHookEx(hook_);
      hook_ = nullptr;
      if (g_openBox == this) g_openBox = nullptr;
      window_ = nullptr;
      edit_ = nullptr;
      return DefWindowProcW(window, message, wp, lp);
    }
    default: return DefWindowProcW(window_, message, wp, lp);
  }
}

LRESULT CALLBACK CommandBoxWin32::EditProc(HWND edit, UINT message, WPARAM wp, LPARAM lp) {
  auto* box = reinterpret_cast<CommandBoxWin32*>(GetWindowLongPtrW(edit, GWLP_USERDATA));
  WNDPROC original = box ? box->editProc_ : DefWindowProcW;
  switch (message) {
    case WM_GETDLGCODE:
      // A dialog-style loop (IsDialogMessage) must hand Enter to the edit.
      return CallWindowProcW(original, edit, message, wp, lp) | DLGC_WANTALLKEYS;
    case WM_KEYDOWN:
      if (wp == VK_RETURN && box) {
        PostMessageW(box->window_, kEnterMessage, 0, 0);
        return 0;
      }
      break;
    case WM_CHAR:
      if (wp == L'\r' || wp == L'\n') return 0;  // no beep for Enter
      break;
    default: break;
  }
  return CallWindowProcW(original, edit, message, wp, lp);
}

LRESULT CALLBACK CommandBoxWin32::GetMessageHook(int code, WPARAM wp, LPARAM lp) {
  if (code == HC_ACTION && wp == PM_REMOVE && g_openBox) {
    MSG* msg = reinterpret_cast<MSG*>(lp);
    if (msg->message == WM_KEYDOWN && msg->wParam == VK_RETURN && msg->hwnd == g_openBox->edit_) {
      msg->message = WM_NULL;
      PostMessageW(g_openBox->window_, kEnterMessage, 0, 0);
    }
  }
  return CallNextHookEx(nullptr, code, wp, lp);
}

}  // namespace tezlo::shell
