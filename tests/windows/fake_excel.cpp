#include "fake_excel.h"

#include <olectl.h>

#include <optional>

#include "host/host_error.h"
#include "shell/identity.h"

namespace tezlo::fake {

namespace {

using com::Variant;

bool Is(const Call& c, const wchar_t* name) { return _wcsicmp(c.member.c_str(), name) == 0; }

// The spreadsheet's run-time errors become automation exceptions.
template <typename F>
auto Checked(F f) -> decltype(f()) {
  try {
    return f();
  } catch (const HostError& e) {
    throw Failure{e.what()};
  }
}

int32_t ColumnNumber(const std::string& letters) {
  int32_t n = 0;
  for (char ch : letters) n = n * 26 + (ch - 'A' + 1);
  return n;
}

// "A1", "A1:B3": one area of an A1-style address.
Area ParseArea(const std::string& text) {
  auto parseCell = [](const std::string& s) {
    size_t i = 0;
    while (i < s.size() && s[i] >= 'A' && s[i] <= 'Z') ++i;
    if (i == 0 || i == s.size()) throw Failure{"bad address " + s};
    return Cell{std::stoi(s.substr(i)), ColumnNumber(s.substr(0, i))};
  };
  const size_t colon = text.find(':');
  if (colon == std::string::npos) return Area::Of(parseCell(text));
  return Area{parseCell(text.substr(0, colon)), parseCell(text.substr(colon + 1))};
}

enum class Counting { Cells, Rows, Columns };
enum class Whole { No, Rows, Columns };

class FakeRange;

class FakeComment final : public FakeDispatch {
 public:
  FakeComment(MemoryHost& h, SheetRef s, Cell c) : host_(h), sheet_(s), cell_(c) {}

 protected:
  bool Answer(const Call& call, Variant& result) override {
    if (!Is(call, L"Text")) return false;
    if (call.Given(0)) {
      Checked([&] { host_.SetCommentText(sheet_, cell_, call.Text(0)); });
    }
    result = Variant::Text(Checked([&] { return host_.CommentText(sheet_, cell_); }));
    return true;
  }

 private:
  MemoryHost& host_;
  SheetRef sheet_;
  Cell cell_;
};

class FakeInterior final : public FakeDispatch {
 public:
  FakeInterior(MemoryHost& h, SheetRef s, Area a, Whole w)
      : host_(h), sheet_(s), area_(a), whole_(w) {}

 protected:
  bool Answer(const Call& call, Variant& result) override {
    if (!Is(call, L"ColorIndex")) return false;
    if (call.put) {
      int32_t index = Variant(call.Value()).ToInt();
      if (index == -4142) index = 0;
      Checked([&] {
        if (whole_ == Whole::Columns) {
          host_.SetColumnColorIndex(sheet_, area_.first.col, area_.last.col, index);
        } else {
          host_.SetColorIndex(sheet_, area_, index);
        }
      });
      return true;
    }
    const int32_t index = Checked([&] { return host_.ColorIndex(sheet_, area_.first); });
    result = Variant::Int(index == 0 ? -4142 : index);
    return true;
  }

 private:
  MemoryHost& host_;
  SheetRef sheet_;
  Area area_;
  Whole whole_;
};

class FakeAreas final : public FakeDispatch {
 public:
  FakeAreas(MemoryHost& h, SheetRef s, std::vector<Area> a)
      : host_(h), sheet_(s), areas_(std::move(a)) {}

 protected:
  bool Answer(const Call& call, Variant& result) override;

 private:
  MemoryHost& host_;
  SheetRef sheet_;
  std::vector<Area> areas_;
};

class FakeRange final : public FakeDispatch {
 public:
  FakeRange(MemoryHost& h, SheetRef s, std::vector<Area> a, Counting c = Counting::Cells,
            Whole w = Whole::No)
      : host_(h), sheet_(s), areas_(std::move(a)), counting_(c), whole_(w) {}
  FakeRange(MemoryHost& h, SheetRef s, Area a) : FakeRange(h, s, std::vector<Area>{a}) {}

  SheetRef Sheet() const { return sheet_; }
  const Area& First() const { return areas_.front(); }

 protected:
  bool Answer(const Call& call, Variant& result) override;

 private:
  Variant Make(Area a, Counting c = Counting::Cells, Whole w = Whole::No) {
    return Hand(new FakeRange(host_, sheet_, std::vector<Area>{a}, c, w));
  }

  MemoryHost& host_;
  SheetRef sheet_;
  std::vector<Area> areas_;
  Counting counting_;
  Whole whole_;
};

const FakeRange* AsRange(IDispatch* d) {
  return dynamic_cast<const FakeRange*>(static_cast<FakeDispatch*>(d));
}

bool FakeAreas::Answer(const Call& call, Variant& result) {
  if (Is(call, L"Count")) {
    result = Variant::Int(static_cast<int32_t>(areas_.size()));
  } else if (Is(call, L"Item")) {
    const int32_t i = call.Int(0);
    if (i < 1 || i > static_cast<int32_t>(areas_.size())) throw Failure{"no such area"};
    result = Hand(new FakeRange(host_, sheet_, areas_[static_cast<size_t>(i - 1)]));
  } else {
    return false;
  }
  return true;
}

bool FakeRange::Answer(const Call& call, Variant& result) {
  const Area& a = First();
  if (Is(call, L"Row")) {
    result = Variant::Int(a.first.row);
  } else if (Is(call, L"Column")) {
    result = Variant::Int(a.first.col);
  } else if (Is(call, L"Rows")) {
    result = Make(a, Counting::Rows, whole_);
  } else if (Is(call, L"Columns")) {
    result = Make(a, Counting::Columns, whole_);
  } else if (Is(call, L"Count")) {
    const int64_t n = counting_ == Counting::Rows      ? a.Rows()
                      : counting_ == Counting::Columns ? a.Cols()
                                                       : a.Count();
    result = Variant::Double(static_cast<double>(n));
  } else if (Is(call, L"Value")) {
    if (call.put) {
      const VARIANT& v = call.Value();
      Checked([&] {
        if (v.vt & VT_ARRAY) {
          host_.SetValues(sheet_, a.first, com::ToMatrix(v));
        } else {
          const Value value = com::ToValue(v);
          for (int32_t r = a.first.row; r <= a.last.row; ++r)
            for (int32_t c = a.first.col; c <= a.last.col; ++c)
              host_.SetValue(sheet_, {r, c}, value);
        }
      });
    } else if (a.Count() == 1) {
      result = com::FromValue(Checked([&] { return host_.GetValue(sheet_, a.first); }));
    } else {
      result = com::FromMatrix(Checked([&] { return host_.GetValues(sheet_, a); }));
    }
  } else if (Is(call, L"Resize")) {
    result = Make(Area::Of(a.first.row, a.first.col, a.first.row + call.Int(0) - 1,
                           a.first.col + call.Int(1) - 1));
  } else if (Is(call, L"End")) {
    const int32_t d = call.Int(0);
    const Direction dir = d == -4162   ? Direction::Up
                          : d == -4121 ? Direction::Down
                          : d == -4159 ? Direction::ToLeft
                                       : Direction::ToRight;
    result = Make(Area::Of(Checked([&] { return host_.End(sheet_, a.first, dir); })));
  } else if (Is(call, L"Text")) {
    result = Variant::Text(Checked([&] { return host_.GetText(sheet_, a.first); }));
  } else if (Is(call, L"Formula")) {
    if (call.put) {
      Checked([&] { host_.SetFormula(sheet_, a.first, Variant(call.Value()).ToText(), Value()); });
    } else {
      result = Variant::Text(Checked([&] { return host_.GetFormula(sheet_, a.first); }));
    }
  } else if (Is(call, L"HasFormula")) {
    result = Variant::Bool(Checked([&] { return host_.HasFormula(sheet_, a.first); }));
  } else if (Is(call, L"ClearContents")) {
    Checked([&] { host_.ClearContents(sheet_, a); });
  } else if (Is(call, L"Insert")) {
    if (call.Given(0) && call.Int(0) != -4121) throw Failure{"only shifting down is doubled"};
    Checked([&] { host_.InsertShiftDown(sheet_, a); });
    result = Variant::Bool(true);
  } else if (Is(call, L"Delete")) {
    Checked([&] {
      if (whole_ == Whole::Rows) {
        host_.DeleteRows(sheet_, a.first.row, a.last.row);
      } else if (whole_ == Whole::Columns) {
        host_.DeleteColumns(sheet_, a.first.col, a.last.col);
      } else {
        host_.DeleteShiftUp(sheet_, a);
      }
    });
    result = Variant::Bool(true);
  } else if (Is(call, L"EntireRow")) {
    result = Make(Area::Of(a.first.row, 1, a.last.row, host_.ColumnsCount()), Counting::Cells,
                  Whole::Rows);
  } else if (Is(call, L"EntireColumn")) {
    result = Make(Area::Of(1, a.first.col, host_.RowsCount(), a.last.col), Counting::Cells,
                  Whole::Columns);
  } else if (Is(call, L"Sort")) {
    const FakeRange* key = AsRange(call.Object(0));
    if (!key) throw Failure{"Sort needs Key1"};
    const bool descending = call.Given(1) && call.Int(1) == 2;
    Checked([&] { host_.Sort(sheet_, a, key->First().first.col, descending); });
  } else if (Is(call, L"Copy")) {
    const FakeRange* dest = AsRange(call.Object(0));
    if (!dest) throw Failure{"Copy needs a destination"};
    Checked([&] { host_.Copy(sheet_, a, dest->Sheet(), dest->First().first); });
  } else if (Is(call, L"Comment")) {
    if (Checked([&] { return host_.HasComment(sheet_, a.first); })) {
      result = Hand(new FakeComment(host_, sheet_, a.first));
    } else {
      result = Variant::Object(nullptr);
    }
  } else if (Is(call, L"AddComment")) {
    Checked(
        [&] { host_.AddComment(sheet_, a.first, call.Given(0) ? call.Text(0) : std::string()); });
    result = Hand(new FakeComment(host_, sheet_, a.first));
  } else if (Is(call, L"ClearComments")) {
    Checked([&] { host_.ClearComments(sheet_, a); });
  } else if (Is(call, L"Interior")) {
    result = Hand(new FakeInterior(host_, sheet_, a, whole_));
  } else if (Is(call, L"NumberFormat")) {
    if (call.put) {
      Checked([&] { host_.SetNumberFormat(sheet_, a, Variant(call.Value()).ToText()); });
    } else {
      result = Variant::Text(Checked([&] { return host_.NumberFormat(sheet_, a.first); }));
    }
  } else if (Is(call, L"NumberFormatLocal") && call.put) {
    Checked([&] { host_.SetNumberFormatLocal(sheet_, a, Variant(call.Value()).ToText()); });
  } else if (Is(call, L"ColumnWidth")) {
    if (call.put) {
      Checked([&] {
        host_.SetColumnWidth(sheet_, a.first.col, a.last.col, Variant(call.Value()).ToDouble());
      });
    } else {
      result = Variant::Double(Checked([&] { return host_.ColumnWidth(sheet_, a.first.col); }));
    }
  } else if (Is(call, L"Width")) {
    result = Variant::Double(Checked([&] { return host_.ColumnWidthPoints(sheet_, a.first.col); }));
  } else if (Is(call, L"RowHeight")) {
    if (call.put) {
      Checked([&] {
        host_.SetRowHeight(sheet_, a.first.row, a.last.row, Variant(call.Value()).ToDouble());
      });
    } else {
      result = Variant::Double(Checked([&] { return host_.RowHeight(sheet_, a.first.row); }));
    }
  } else if (Is(call, L"Activate")) {
    Checked([&] {
      host_.ActivateSheet(sheet_);
      host_.ActivateCell(a.first);
    });
  } else if (Is(call, L"Select")) {
    Checked([&] {
      host_.ActivateSheet(sheet_);
      host_.Select(Selection{areas_, a.first});
    });
  } else if (Is(call, L"Areas")) {
    result = Hand(new FakeAreas(host_, sheet_, areas_));
  } else {
    return false;
  }
  return true;
}

class FakeWorksheet final : public FakeDispatch {
 public:
  FakeWorksheet(MemoryHost& h, SheetRef s) : host_(h), sheet_(s) {}
  SheetRef Ref() const { return sheet_; }

 protected:
  bool Answer(const Call& call, Variant& result) override {
    const int32_t rows = host_.RowsCount();
    const int32_t cols = host_.ColumnsCount();
    if (Is(call, L"Name")) {
      if (call.put) {
        Checked([&] { host_.RenameSheet(sheet_, Variant(call.Value()).ToText()); });
      } else {
        result = Variant::Text(Checked([&] { return host_.SheetName(sheet_); }));
      }
    } else if (Is(call, L"Index")) {
      result = Variant::Int(sheet_.sheet);
    } else if (Is(call, L"Cells")) {
      const Cell c{call.Int(0), call.Int(1)};
      if (c.row < 1 || c.col < 1 || c.row > rows || c.col > cols)
        throw Failure{"cell outside the sheet"};
      result = Hand(new FakeRange(host_, sheet_, Area::Of(c)));
    } else if (Is(call, L"Range")) {
      if (call.Given(1)) {
        const FakeRange* a = AsRange(call.Object(0));
        const FakeRange* b = AsRange(call.Object(1));
        if (!a || !b) throw Failure{"Range needs two cells"};
        result = Hand(new FakeRange(host_, sheet_, Area{a->First().first, b->First().last}));
      } else {
        std::vector<Area> areas;
        const std::string text = call.Text(0);
        size_t start = 0;
        while (start <= text.size()) {
          const size_t comma = text.find(',', start);
          areas.push_back(ParseArea(
              text.substr(start, comma == std::string::npos ? std::string::npos : comma - start)));
          if (comma == std::string::npos) break;
          start = comma + 1;
        }
        result = Hand(new FakeRange(host_, sheet_, areas));
      }
    } else if (Is(call, L"Rows")) {
      result = Hand(
          new FakeRange(host_, sheet_, {Area::Of(1, 1, rows, cols)}, Counting::Rows, Whole::Rows));
    } else if (Is(call, L"Columns")) {
      result = Hand(new FakeRange(host_, sheet_, {Area::Of(1, 1, rows, cols)}, Counting::Columns,
                                  Whole::Columns));
    } else if (Is(call, L"UsedRange")) {
      result = Hand(new FakeRange(host_, sheet_, Checked([&] { return host_.UsedRange(sheet_); })));
    } else if (Is(call, L"Delete")) {
      Checked([&] { host_.DeleteSheet(sheet_); });
    } else if (Is(call, L"Activate")) {
      Checked([&] { host_.ActivateSheet(sheet_); });
    } else {
      return false;
    }
    return true;
  }

 private:
  MemoryHost& host_;
  SheetRef sheet_;
};

class FakeSheets final : public FakeDispatch {
 public:
  FakeSheets(MemoryHost& h, int32_t book) : host_(h), book_(book) {}

 protected:
  bool Answer(const Call& call, Variant& result) override {
    if (Is(call, L"Count")) {
      result = Variant::Int(Checked([&] { return host_.SheetCount(book_); }));
    } else if (Is(call, L"Item")) {
      int32_t index = 0;
      if (call.Arg(0).vt == VT_BSTR) {
        const std::string name = call.Text(0);
        for (int32_t i = 1; i <= host_.SheetCount(book_); ++i) {
          if (host_.SheetName({book_, i}) == name) index = i;
        }
      } else {
        index = call.Int(0);
      }
      if (index < 1 || index > host_.SheetCount(book_)) throw Failure{"Subscript out of range"};
      result = Hand(new FakeWorksheet(host_, {book_, index}));
    } else if (Is(call, L"Add")) {
      SheetRef anchor = Checked([&] { return host_.ActiveSheet(); });
      if (call.Given(1)) {
        const auto* after =
            dynamic_cast<const FakeWorksheet*>(static_cast<FakeDispatch*>(call.Object(1)));
        if (!after) throw Failure{"After needs a sheet"};
        anchor = after->Ref();
      }
      const SheetRef added = Checked([&] { return host_.AddSheetAfter(anchor); });
      result = Hand(new FakeWorksheet(host_, added));
    } else {
      return false;
    }
    return true;
  }

 private:
  MemoryHost& host_;
  int32_t book_;
};

class FakeWorkbook final : public FakeDispatch {
 public:
  FakeWorkbook(MemoryHost& h, int32_t book) : host_(h), book_(book) {}

 protected:
  bool Answer(const Call& call, Variant& result) override {
    if (Is(call, L"Name")) {
      result = Variant::Text(Checked([&] { return host_.WorkbookName(book_); }));
    } else if (Is(call, L"Sheets") || Is(call, L"Worksheets")) {
      result = Hand(new FakeSheets(host_, book_));
    } else if (Is(call, L"Activate")) {
      Checked([&] { host_.ActivateWorkbook(book_); });
    } else if (Is(call, L"SaveAs")) {
      Checked([&] { host_.SaveWorkbookAs(book_, call.Text(0)); });
    } else if (Is(call, L"Close")) {
      Checked([&] { host_.CloseWorkbook(book_, call.Given(0) && call.Bool(0)); });
    } else {
      return false;
    }
    return true;
  }

 private:
  MemoryHost& host_;
  int32_t book_;
};

class FakeWorkbooks final : public FakeDispatch {
 public:
  explicit FakeWorkbooks(MemoryHost& h) : host_(h) {}

 protected:
  bool Answer(const Call& call, Variant& result) override {
    if (Is(call, L"Count")) {
      result = Variant::Int(host_.WorkbookCount());
    } else if (Is(call, L"Item")) {
      const int32_t book = call.Arg(0).vt == VT_BSTR
                               ? Checked([&] { return host_.FindWorkbook(call.Text(0)); })
                               : call.Int(0);
      if (book < 1 || book > host_.WorkbookCount()) throw Failure{"Subscript out of range"};
      result = Hand(new FakeWorkbook(host_, book));
    } else if (Is(call, L"Add")) {
      result = Hand(new FakeWorkbook(host_, Checked([&] { return host_.AddWorkbook(); })));
    } else {
      return false;
    }
    return true;
  }

 private:
  MemoryHost& host_;
};

class FakeWindow final : public FakeDispatch {
 public:
  explicit FakeWindow(MemoryHost& h) : host_(h) {}

 protected:
  bool Answer(const Call& call, Variant& result) override {
    if (Is(call, L"ScrollRow")) {
      if (call.put) {
        Checked([&] { host_.SetScrollRow(Variant(call.Value()).ToInt()); });
      } else {
        result = Variant::Int(host_.TopLeftVisibleCell().row);
      }
    } else if (Is(call, L"ScrollColumn")) {
      if (call.put) {
        Checked([&] { host_.SetScrollColumn(Variant(call.Value()).ToInt()); });
      } else {
        result = Variant::Int(host_.TopLeftVisibleCell().col);
      }
    } else if (Is(call, L"VisibleRange")) {
      const Cell top = host_.TopLeftVisibleCell();
      result = Hand(new FakeRange(host_, host_.ActiveSheet(),
                                  Area::Of(top.row, top.col, top.row + host_.VisibleRows() - 1,
                                           top.col + host_.VisibleColumns() - 1)));
    } else {
      return false;
    }
    return true;
  }

 private:
  MemoryHost& host_;
};

class FakeWorksheetFunction final : public FakeDispatch {
 public:
  explicit FakeWorksheetFunction(MemoryHost& h) : host_(h) {}

 protected:
  bool Answer(const Call& call, Variant& result) override {
    if (Is(call, L"CountA")) {
      const FakeRange* r = AsRange(call.Object(0));
      if (!r) throw Failure{"CountA needs a range"};
      result = Variant::Double(
          static_cast<double>(Checked([&] { return host_.CountA(r->Sheet(), r->First()); })));
    } else if (Is(call, L"Match")) {
      const FakeRange* r = AsRange(call.Object(1));
      if (!r) throw Failure{"Match needs a range"};
      const Value lookup = com::ToValue(call.Arg(0));
      result =
          Variant::Double(Checked([&] { return host_.Match(r->Sheet(), lookup, r->First()); }));
    } else {
      return false;
    }
    return true;
  }

 private:
  MemoryHost& host_;
};

class FakeControls final : public FakeDispatch {
 public:
  explicit FakeControls(BarLog& log) : log_(log) {}

 protected:
  bool Answer(const Call& call, Variant& result) override {
    if (Is(call, L"Add")) {
      std::wstring entry = L"Controls.Add(";
      for (size_t i = 0; i < call.args.size(); ++i) {
        if (i) entry += L",";
        if (!call.Given(i)) {
          entry += L"-";
        } else if (call.Arg(i).vt == VT_BOOL) {
          entry += call.Bool(i) ? L"True" : L"False";
        } else {
          entry += com::Wide(call.Text(i));
        }
      }
      log_.entries.push_back(entry + L")");
      auto* button = new FakeButton(log_);
      const size_t before =
          call.Given(3) ? static_cast<size_t>(call.Int(3)) : log_.buttons.size() + 1;
      log_.buttons.insert(log_.buttons.begin() +
                              static_cast<long>(std::min(before - 1, log_.buttons.size())),
                          button);
      button->AddRef();  // the bar's own reference
      result = Hand(button);
    } else if (Is(call, L"Count")) {
      result = Variant::Int(static_cast<int32_t>(log_.buttons.size()));
    } else {
      return false;
    }
    return true;
  }

 private:
  BarLog& log_;
};

class FakeCommandBar final : public FakeDispatch {
 public:
  explicit FakeCommandBar(BarLog& log) : log_(log) {}

 protected:
  bool Answer(const Call& call, Variant& result) override {
    if (!Is(call, L"Controls")) return false;
    result = Hand(new FakeControls(log_));
    return true;
  }

 private:
  BarLog& log_;
};

class FakeCommandBars final : public FakeDispatch {
 public:
  explicit FakeCommandBars(BarLog& log) : log_(log) {}

 protected:
  bool Answer(const Call& call, Variant& result) override {
    if (!Is(call, L"Item")) return false;
    if (call.Text(0) != "Standard") throw Failure{"no such command bar"};
    result = Hand(new FakeCommandBar(log_));
    return true;
  }

 private:
  BarLog& log_;
};

}  // namespace

// ---- The button ---------------------------------------------------------------------------------

bool FakeButton::Click() {
  VARIANT_BOOL cancel = VARIANT_FALSE;
  const auto sinks = sinks_;
  for (const auto& [cookie, sink] : sinks) {
    VARIANT args[2];
    args[1].vt = VT_DISPATCH;
    args[1].pdispVal = static_cast<IDispatch*>(static_cast<FakeDispatch*>(this));
    args[0].vt = VT_BOOL | VT_BYREF;
    args[0].pboolVal = &cancel;
    DISPPARAMS params{args, nullptr, 2, 0};
    sink->Invoke(1, IID_NULL, 0, DISPATCH_METHOD, &params, nullptr, nullptr, nullptr);
  }
  return cancel != VARIANT_FALSE;
}

std::wstring FakeButton::Property(const std::wstring& name) const {
  for (auto it = properties_.rbegin(); it != properties_.rend(); ++it) {
    if (it->first == name) return it->second;
  }
  return {};
}

bool FakeButton::Answer(const Call& call, Variant& result) {
  if (Is(call, L"Delete")) {
    log_.entries.push_back(L"Delete");
    for (auto it = log_.buttons.begin(); it != log_.buttons.end(); ++it) {
      if (*it == this) {
        log_.buttons.erase(it);
        Release();  // the bar's reference
        break;
      }
    }
    return true;
  }
  static const wchar_t* const kProperties[] = {L"Caption", L"OnAction", L"Style", L"TooltipText",
                                               L"FaceId"};
  for (const wchar_t* p : kProperties) {
    if (!Is(call, p)) continue;
    if (call.put) {
      const std::wstring value = com::Wide(Variant(call.Value()).ToText());
      properties_.emplace_back(p, value);
      log_.entries.push_back(std::wstring(p) + L"=" + value);
    } else {
      result = Variant::Text(com::Utf8(Property(p).c_str(), Property(p).size()));
    }
    return true;
  }
  return false;
}

void* FakeButton::Offer(REFIID iid) {
  if (iid == IID_IConnectionPointContainer) return static_cast<IConnectionPointContainer*>(this);
  if (iid == IID_IConnectionPoint) return static_cast<IConnectionPoint*>(this);
  return nullptr;
}

HRESULT FakeButton::EnumConnectionPoints(IEnumConnectionPoints** out) {
  *out = nullptr;
  return E_NOTIMPL;
}

HRESULT FakeButton::FindConnectionPoint(REFIID iid, IConnectionPoint** out) {
  *out = nullptr;
  if (iid != shell::kCommandBarButtonEvents) return CONNECT_E_NOCONNECTION;
  *out = static_cast<IConnectionPoint*>(this);
  AddRef();
  return S_OK;
}

HRESULT FakeButton::GetConnectionInterface(IID* iid) {
  *iid = shell::kCommandBarButtonEvents;
  return S_OK;
}

HRESULT FakeButton::GetConnectionPointContainer(IConnectionPointContainer** out) {
  *out = static_cast<IConnectionPointContainer*>(this);
  AddRef();
  return S_OK;
}

HRESULT FakeButton::Advise(IUnknown* sink, DWORD* cookie) {
  IDispatch* events = nullptr;
  if (FAILED(sink->QueryInterface(shell::kCommandBarButtonEvents,
                                  reinterpret_cast<void**>(&events)))) {
    return CONNECT_E_CANNOTCONNECT;
  }
  *cookie = nextCookie_++;
  sinks_.emplace_back(*cookie, events);
  return S_OK;
}

HRESULT FakeButton::Unadvise(DWORD cookie) {
  for (auto it = sinks_.begin(); it != sinks_.end(); ++it) {
    if (it->first == cookie) {
      it->second->Release();
      sinks_.erase(it);
      return S_OK;
    }
  }
  return CONNECT_E_NOCONNECTION;
}

HRESULT FakeButton::EnumConnections(IEnumConnections** out) {
  *out = nullptr;
  return E_NOTIMPL;
}

// ---- The application ----------------------------------------------------------------------------

bool FakeApplication::Answer(const Call& call, Variant& result) {
  MemoryHost& h = host_;
  if (Is(call, L"Workbooks")) {
    result = Hand(new FakeWorkbooks(h));
  } else if (Is(call, L"ActiveWorkbook")) {
    result = Hand(new FakeWorkbook(h, Checked([&] { return h.ActiveWorkbook(); })));
  } else if (Is(call, L"ActiveSheet")) {
    result = Hand(new FakeWorksheet(h, Checked([&] { return h.ActiveSheet(); })));
  } else if (Is(call, L"ActiveCell")) {
    result =
        Hand(new FakeRange(h, h.ActiveSheet(), Area::Of(Checked([&] { return h.ActiveCell(); }))));
  } else if (Is(call, L"Selection")) {
    const Selection s = Checked([&] { return h.GetSelection(); });
    result = Hand(new FakeRange(h, h.ActiveSheet(), s.areas));
  } else if (Is(call, L"ActiveWindow")) {
    result = Hand(new FakeWindow(h));
  } else if (Is(call, L"Rows") || Is(call, L"Columns")) {
    const bool rows = Is(call, L"Rows");
    result =
        Hand(new FakeRange(h, h.ActiveSheet(), {Area::Of(1, 1, h.RowsCount(), h.ColumnsCount())},
                           rows ? Counting::Rows : Counting::Columns,
                           rows ? Whole::Rows : Whole::Columns));
  } else if (Is(call, L"ScreenUpdating")) {
    if (call.put) {
      h.SetScreenUpdating(Variant(call.Value()).ToBool());
    } else {
      result = Variant::Bool(h.ScreenUpdating());
    }
  } else if (Is(call, L"DisplayAlerts")) {
    if (call.put) {
      h.SetDisplayAlerts(Variant(call.Value()).ToBool());
    } else {
      result = Variant::Bool(h.DisplayAlerts());
    }
  } else if (Is(call, L"WorksheetFunction")) {
    result = Hand(new FakeWorksheetFunction(h));
  } else if (Is(call, L"InputBox")) {
    inputs_.prompts.push_back(call.Text(0));
    inputs_.titles.push_back(call.Given(1) ? call.Text(1) : "(missing)");
    inputs_.defaults.push_back(call.Given(2) ? call.Text(2) : "(missing)");
    std::optional<std::string> answer;
    if (!inputs_.answers.empty()) {
      answer = inputs_.answers.front();
      inputs_.answers.erase(inputs_.answers.begin());
    }
    result = answer ? Variant::Text(*answer) : Variant::Bool(false);
  } else if (Is(call, L"SendKeys")) {
    sentKeys_.push_back(call.Text(0));
    h.BeginEditing();
  } else if (Is(call, L"Hwnd")) {
    result = Variant::Int(static_cast<int32_t>(reinterpret_cast<intptr_t>(window_)));
  } else if (Is(call, L"CommandBars")) {
    result = Hand(new FakeCommandBars(bar_));
  } else {
    return false;
  }
  return true;
}

}  // namespace tezlo::fake
