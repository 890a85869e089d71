#include "shell/addin.h"

#include "app/all_tools.h"
#include "shell/click_sink.h"

namespace tezlo::shell {

AddIn& AddIn::Get() {
  static AddIn addIn;
  return addIn;
}

AddIn::AddIn() {
  context_.tools = AllTools();
  box_.SetController(&controller_);
}

void AddIn::Connect(IDispatch* application) {
  host_.SetApplication(application);
  button_.Remove();
  com::Ptr<IDispatch> sink =
      com::Ptr<IDispatch>::Adopt(ClickSink::Create([] { Get().ShowCommandBox(); }));
  button_ = CommandBarButton::Add(application, sink.Get());
}

void AddIn::Disconnect() {
  button_.Remove();
  host_.SetApplication(nullptr);
}

void AddIn::ShowCommandBox() { box_.Show(static_cast<HWND>(ExcelWindow(host_.Application()))); }

}  // namespace tezlo::shell
