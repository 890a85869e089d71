#include "excel/excel_ui.h"

#include "com/win32.h"

#include "host/host_error.h"

namespace tezlo {

using com::Variant;

void* ExcelWindow(const com::Object& application) {
  if (!application) return nullptr;
  try {
    return reinterpret_cast<void*>(static_cast<intptr_t>(application.Call(L"Hwnd").ToInt()));
  } catch (const HostError&) {
    return nullptr;
  }
}

Answer ExcelUi::MessageBox(const MessageBoxRequest& request) {
  UINT type = request.buttons == Buttons::OkCancel ? MB_OKCANCEL : MB_OK;
  switch (request.icon) {
    case Icon::None: break;
    case Icon::Information: type |= MB_ICONINFORMATION; break;
    case Icon::Warning: type |= MB_ICONWARNING; break;
    case Icon::Critical: type |= MB_ICONERROR; break;
    case Icon::Question: type |= MB_ICONQUESTION; break;
  }
  if (request.defaultButton == DefaultButton::Second) type |= MB_DEFBUTTON2;
  const std::wstring text = com::Wide(request.text);
  const std::wstring title = com::Wide(request.title.empty() ? kDefaultTitle : request.title);
  const HWND owner = static_cast<HWND>(ExcelWindow(host_.Application()));
  const int answer = MessageBoxW(owner, text.c_str(), title.c_str(), type | MB_SETFOREGROUND);
  return answer == IDCANCEL ? Answer::Cancel : Answer::Ok;
}

std::optional<std::string> ExcelUi::InputBox(const InputBoxRequest& request) {
  const com::Object& app = host_.Application();
  if (!app) return std::nullopt;
  try {
    const Variant answer =
        app.Call(L"InputBox",
                 {Variant::Text(request.prompt),
                  request.title.empty() ? Variant::Missing() : Variant::Text(request.title),
                  request.defaultValue.empty() ? Variant::Missing()
                                               : Variant::Text(request.defaultValue)});
    if (answer.Type() == VT_BOOL && answer.Raw().boolVal == VARIANT_FALSE) return std::nullopt;
    return answer.ToText();
  } catch (const HostError&) {
    return std::nullopt;
  }
}

}  // namespace tezlo
