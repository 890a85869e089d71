#include "com/variant.h"

#include "com/win32.h"

#include "host/host_error.h"
#include "text/windows/unicode_win.h"

namespace tezlo::com {

namespace {

constexpr int32_t kErrorNumbers[] = {2000, 2007, 2015, 2023, 2029, 2036, 2042};
// The code Excel puts into VT_ERROR for CVErr(n): the automation facility's error n.
constexpr uint32_t kErrorFacility = 0x800A0000u;

VARIANT Changed(const VARIANT& v, VARTYPE type) {
  VARIANT out;
  VariantInit(&out);
  if (FAILED(VariantChangeType(&out, const_cast<VARIANT*>(&v), 0, type))) {
    throw HostError("type mismatch");
  }
  return out;
}

}  // namespace

Variant::Variant(const VARIANT& v) {
  VariantInit(&v_);
  VariantCopy(&v_, const_cast<VARIANT*>(&v));
}

Variant::Variant(const Variant& o) {
  VariantInit(&v_);
  VariantCopy(&v_, const_cast<VARIANT*>(&o.v_));
}

Variant& Variant::operator=(const Variant& o) {
  if (this != &o) {
    VariantClear(&v_);
    VariantCopy(&v_, const_cast<VARIANT*>(&o.v_));
  }
  return *this;
}

Variant Variant::Int(int32_t i) {
  Variant r;
  r.v_.vt = VT_I4;
  r.v_.lVal = i;
  return r;
}

Variant Variant::Double(double d) {
  Variant r;
  r.v_.vt = VT_R8;
  r.v_.dblVal = d;
  return r;
}

Variant Variant::Bool(bool b) {
  Variant r;
  r.v_.vt = VT_BOOL;
  r.v_.boolVal = b ? VARIANT_TRUE : VARIANT_FALSE;
  return r;
}

Variant Variant::Text(std::string_view utf8) {
  const std::wstring w = Wide(utf8);
  Variant r;
  r.v_.vt = VT_BSTR;
  r.v_.bstrVal = SysAllocStringLen(w.data(), static_cast<UINT>(w.size()));
  return r;
}

Variant Variant::Object(IDispatch* object) {
  Variant r;
  r.v_.vt = VT_DISPATCH;
  r.v_.pdispVal = object;
  if (object) object->AddRef();
  return r;
}

Variant Variant::Missing() {
  Variant r;
  r.v_.vt = VT_ERROR;
  r.v_.scode = DISP_E_PARAMNOTFOUND;
  return r;
}

IDispatch* Variant::Dispatch() const {
  if (v_.vt == VT_DISPATCH) return v_.pdispVal;
  if (v_.vt == (VT_DISPATCH | VT_BYREF) && v_.ppdispVal) return *v_.ppdispVal;
  return nullptr;
}

int32_t Variant::ToInt() const {
  VARIANT c = Changed(v_, VT_I4);
  return c.lVal;
}

double Variant::ToDouble() const {
  VARIANT c = Changed(v_, VT_R8);
  return c.dblVal;
}

bool Variant::ToBool() const {
  VARIANT c = Changed(v_, VT_BOOL);
  return c.boolVal != VARIANT_FALSE;
}

std::string Variant::ToText() const {
  if (v_.vt == VT_EMPTY) return {};
  VARIANT c = Changed(v_, VT_BSTR);
  std::string r = Utf8(c.bstrVal);
  VariantClear(&c);
  return r;
}

std::wstring Wide(std::string_view utf8) { return win::WideOf(utf8); }

std::string Utf8(const wchar_t* text, size_t length) {
  if (!text || length == 0) return {};
  const int n =
      WideCharToMultiByte(CP_UTF8, 0, text, static_cast<int>(length), nullptr, 0, nullptr, nullptr);
  std::string s(static_cast<size_t>(n), '\0');
  WideCharToMultiByte(CP_UTF8, 0, text, static_cast<int>(length), s.data(), n, nullptr, nullptr);
  return s;
}

std::string Utf8(BSTR text) { return text ? Utf8(text, SysStringLen(text)) : std::string(); }

int32_t ErrorNumber(ErrorCode code) { return kErrorNumbers[static_cast<int>(code)]; }

Value ToValue(const VARIANT& v) {
  switch (v.vt) {
    case VT_EMPTY:
    case VT_NULL: return Value();
    case VT_BSTR: return Value::Text(Utf8(v.bstrVal));
    case VT_BOOL: return Value::Boolean(v.boolVal != VARIANT_FALSE);
    case VT_DATE: return Value::Date(v.date);
    case VT_ERROR: {
      const int32_t n = static_cast<int32_t>(static_cast<uint32_t>(v.scode) & 0xFFFFu);
      for (int i = 0; i < 7; ++i) {
        if (kErrorNumbers[i] == n) return Value::Error(static_cast<ErrorCode>(i));
      }
      return Value::Error(ErrorCode::Value);
    }
    default: {
      VARIANT c = Changed(v, VT_R8);
      return Value::Number(c.dblVal);
    }
  }
}

Variant FromValue(const Value& value) {
  Variant r;
  switch (value.Kind()) {
    case ValueKind::Empty: break;
    case ValueKind::Number: return Variant::Double(value.AsNumber());
    case ValueKind::Text: return Variant::Text(value.AsText());
    case ValueKind::Boolean: return Variant::Bool(value.AsBoolean());
    case ValueKind::Date:
      r.Get()->vt = VT_DATE;
      r.Get()->date = value.AsNumber();
      break;
    case ValueKind::Error:
      r.Get()->vt = VT_ERROR;
      r.Get()->scode =
          static_cast<SCODE>(kErrorFacility | static_cast<uint32_t>(ErrorNumber(value.AsError())));
      break;
  }
  return r;
}

Matrix ToMatrix(const VARIANT& v) {
  if (!(v.vt & VT_ARRAY)) {
    Matrix one(1, 1);
    one.At(0, 0) = ToValue(v);
    return one;
  }
  SAFEARRAY* array = (v.vt & VT_BYREF) ? *v.pparray : v.parray;
  if (!array || SafeArrayGetDim(array) != 2 || (v.vt & VT_TYPEMASK) != VT_VARIANT) {
    throw HostError("not a block of values");
  }
  LONG rowLow = 0, rowHigh = -1, colLow = 0, colHigh = -1;
  SafeArrayGetLBound(array, 1, &rowLow);
  SafeArrayGetUBound(array, 1, &rowHigh);
  SafeArrayGetLBound(array, 2, &colLow);
  SafeArrayGetUBound(array, 2, &colHigh);
  Matrix m(rowHigh - rowLow + 1, colHigh - colLow + 1);
  for (LONG r = rowLow; r <= rowHigh; ++r) {
    for (LONG c = colLow; c <= colHigh; ++c) {
      LONG index[2] = {r, c};
      VARIANT cell;
      VariantInit(&cell);
      if (SUCCEEDED(SafeArrayGetElement(array, index, &cell))) {
        m.At(r - rowLow, c - colLow) = ToValue(cell);
      }
      VariantClear(&cell);
    }
  }
  return m;
}

Variant FromMatrix(const Matrix& m) {
  SAFEARRAYBOUND bounds[2];
  bounds[0].lLbound = 1;
  bounds[0].cElements = static_cast<ULONG>(m.Rows());
  bounds[1].lLbound = 1;
  bounds[1].cElements = static_cast<ULONG>(m.Cols());
  SAFEARRAY* array = SafeArrayCreate(VT_VARIANT, 2, bounds);
  if (!array) throw HostError("out of memory");
  for (int32_t r = 0; r < m.Rows(); ++r) {
    for (int32_t c = 0; c < m.Cols(); ++c) {
      LONG index[2] = {r + 1, c + 1};
      Variant cell = FromValue(m.At(r, c));
      SafeArrayPutElement(array, index, cell.Get());
    }
  }
  Variant result;
  result.Get()->vt = VT_ARRAY | VT_VARIANT;
  result.Get()->parray = array;
  return result;
}

}  // namespace tezlo::com
