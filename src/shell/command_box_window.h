// The command box on Windows: a captionless, resizable, modeless window owned by Excel's main
// window, holding one single-line edit that fills it. Enter and the readout timer go to the
// portable CommandBox controller.
#pragma once

#include <string>

#include "dispatch/command_box.h"
#include "com/win32.h"

namespace tezlo::shell {

class CommandBoxWin32 final : public CommandBoxWindow {
 public:
  static constexpr const wchar_t* kClassName = L"TezloCommandBox";
  // The box's client area in twips (1/1440 inch), converted with the screen's DPI.
  static constexpr int kWidthTwips = 855;
  static constexpr int kHeightTwips = 270;

  CommandBoxWin32() = default;
  ~CommandBoxWin32() override;

  void SetController(CommandBox* controller) { controller_ = controller; }

  // Shows the box modeless, creating it (empty, centred on the screen) when it is closed, and
  // puts the keyboard focus into its edit.
  void Show(HWND owner);
  bool IsOpen() const { return window_ != nullptr; }
  HWND Window() const { return window_; }
  HWND Edit() const { return edit_; }

  void SetText(const std::string& text) override;
  void StartTimer(int32_t intervalMs) override;
  void StopTimer() override;
  void Close() override;

 private:
  static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wp, LPARAM lp);
  static LRESULT CALLBACK EditProc(HWND edit, UINT message, WPARAM wp, LPARAM lp);
  static LRESULT CALLBACK GetMessageHook(int code, WPARAM wp, LPARAM lp);
  LRESULT Handle(UINT message, WPARAM wp, LPARAM lp);
  void Create(HWND owner);
  void OnEnter();

  CommandBox* controller_ = nullptr;
  HWND window_ = nullptr;
  HWND edit_ = nullptr;
  WNDPROC editProc_ = nullptr;
  HHOOK hook_ = nullptr;
  HFONT font_ = nullptr;
};

// The box's window size for a client area of the given twips at the given DPI, with the frame
// of a captionless resizable window added.
SIZE CommandBoxWindowSize(int widthTwips, int heightTwips, int dpiX, int dpiY);

}  // namespace tezlo::shell
