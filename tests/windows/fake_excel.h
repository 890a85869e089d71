// A double of Excel's Application for the add-in's tests: the in-memory workbook engine behind
// IDispatch, answering the Excel members the adapter calls as Excel does, plus the "Standard"
// command bar, which records what the add-in does to it.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "fake_dispatch.h"
#include "memory/memory_host.h"

namespace tezlo::fake {

class FakeButton;

// What the add-in did to the command bar, in order: "Controls.Add(1,1,-,1,true)", "Caption=&Z",
// "Delete", ...
struct BarLog {
  std::vector<std::wstring> entries;
  // The buttons still on the bar, first first.
  std::vector<FakeButton*> buttons;
};

class FakeButton final : public FakeDispatch,
                         public IConnectionPointContainer,
                         public IConnectionPoint {
 public:
  explicit FakeButton(BarLog& log) : log_(log) {}

  // Fires Click(Ctrl, CancelDefault) on every advised sink; returns CancelDefault as the sinks
  // left it.
  bool Click();
  size_t SinkCount() const { return sinks_.size(); }
  std::wstring Property(const std::wstring& name) const;

  ULONG STDMETHODCALLTYPE AddRef() override { return FakeDispatch::AddRef(); }
  ULONG STDMETHODCALLTYPE Release() override { return FakeDispatch::Release(); }
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
    return FakeDispatch::QueryInterface(iid, out);
  }
  // IConnectionPointContainer
  HRESULT STDMETHODCALLTYPE EnumConnectionPoints(IEnumConnectionPoints** out) override;
  HRESULT STDMETHODCALLTYPE FindConnectionPoint(REFIID iid, IConnectionPoint** out) override;
  // IConnectionPoint
  HRESULT STDMETHODCALLTYPE GetConnectionInterface(IID* iid) override;
  HRESULT STDMETHODCALLTYPE GetConnectionPointContainer(IConnectionPointContainer** out) override;
  HRESULT STDMETHODCALLTYPE Advise(IUnknown* sink, DWORD* cookie) override;
  HRESULT STDMETHODCALLTYPE Unadvise(DWORD cookie) override;
  HRESULT STDMETHODCALLTYPE EnumConnections(IEnumConnections** out) override;

 protected:
  bool Answer(const Call& call, com::Variant& result) override;
  void* Offer(REFIID iid) override;

 private:
  BarLog& log_;
  std::vector<std::pair<std::wstring, std::wstring>> properties_;
  std::vector<std::pair<DWORD, IDispatch*>> sinks_;
  DWORD nextCookie_ = 1;
};

// Scripted answers for Application.InputBox (nothing: the user cancels), and what each call
// passed: prompt, title and default ("(missing)" for an argument not given).
struct InputScript {
  std::vector<std::optional<std::string>> answers;
  std::vector<std::string> prompts;
  std::vector<std::string> titles;
  std::vector<std::string> defaults;
};

// The application object. `window` is what Application.Hwnd answers.
class FakeApplication final : public FakeDispatch {
 public:
  FakeApplication(MemoryHost& host, HWND window) : host_(host), window_(window) {}

  BarLog& Bar() { return bar_; }
  InputScript& Inputs() { return inputs_; }
  const std::vector<std::string>& SentKeys() const { return sentKeys_; }

 protected:
  bool Answer(const Call& call, com::Variant& result) override;

 private:
  MemoryHost& host_;
  HWND window_;
  BarLog bar_;
  InputScript inputs_;
  std::vector<std::string> sentKeys_;
};

}  // namespace tezlo::fake
