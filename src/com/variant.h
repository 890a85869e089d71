// VARIANTs as the automation calls pass them: an owning wrapper, and the translation between a
// cell's Value and what Excel's Range.Value gives and takes.
#pragma once

#include "com/win32.h"

#include <string>
#include <string_view>

#include "host/matrix.h"
#include "host/value.h"

namespace tezlo::com {

// Owns one VARIANT (VariantClear on destruction).
class Variant {
 public:
  Variant() { VariantInit(&v_); }
  // A copy of `v` (VariantCopy).
  explicit Variant(const VARIANT& v);
  Variant(const Variant& o);
  Variant& operator=(const Variant& o);
  ~Variant() { VariantClear(&v_); }

  static Variant Int(int32_t i);
  static Variant Double(double d);
  static Variant Bool(bool b);
  static Variant Text(std::string_view utf8);
  // Adds a reference of its own to `object`.
  static Variant Object(IDispatch* object);
  // An optional argument left out (VT_ERROR DISP_E_PARAMNOTFOUND).
  static Variant Missing();

  VARIANT* Get() { return &v_; }
  const VARIANT& Raw() const { return v_; }
  VARTYPE Type() const { return v_.vt; }
  // The object, or null when the variant holds none (Nothing included).
  IDispatch* Dispatch() const;

  // Conversions that throw HostError when the value does not convert.
  int32_t ToInt() const;
  double ToDouble() const;
  bool ToBool() const;
  std::string ToText() const;

 private:
  VARIANT v_;
};

// UTF-16 of UTF-8 text (win::WideOf, text/windows/unicode_win.h).
std::wstring Wide(std::string_view utf8);
std::string Utf8(const wchar_t* text, size_t length);
std::string Utf8(BSTR text);

// Excel's error values as CVErr numbers (xlErrDiv0 = 2007, ...).
int32_t ErrorNumber(ErrorCode code);

// A cell value as Range.Value hands it over; an empty cell is VT_EMPTY.
Value ToValue(const VARIANT& v);
// What Range.Value = ... takes for a value.
Variant FromValue(const Value& value);

// Range.Value of a block: a two-dimensional SAFEARRAY of VARIANT (or one value for one cell).
Matrix ToMatrix(const VARIANT& v);
// A two-dimensional, 1-based SAFEARRAY of VARIANT holding the matrix.
Variant FromMatrix(const Matrix& m);

}  // namespace tezlo::com
