// The variant coercion service: VariantChangeTypeEx with the user's default
// locale (0x400) and flags 0. Text crosses as a BSTR, widened from and
// narrowed to the ANSI code page.
#include <string>

#include "platform/win32/win32_api.h"

// After <windows.h>, which they build on.
#include <oleauto.h>

namespace zu::platform {
namespace {

constexpr uint16_t kEmpty = 0, kInteger = 3, kFloat = 5, kDateTime = 7, kBoolean = 11, kText = 256;
constexpr LCID kUserDefaultLocale = 0x400;

// A VARIANT that clears itself.
class OwnedVariant {
 public:
  OwnedVariant() { ::VariantInit(&v_); }
  ~OwnedVariant() { ::VariantClear(&v_); }
  OwnedVariant(const OwnedVariant&) = delete;
  OwnedVariant& operator=(const OwnedVariant&) = delete;
  VARIANT* get() { return &v_; }
  const VARIANT& operator*() const { return v_; }

 private:
  VARIANT v_;
};

// The text in the 16-bit string form, or nullptr when it cannot be made.
BSTR Widen(const std::string& text) {
  if (text.empty()) return ::SysAllocStringLen(nullptr, 0);
  const int n =
      ::MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
  if (n <= 0) return nullptr;
  BSTR out = ::SysAllocStringLen(nullptr, static_cast<UINT>(n));
  if (out == nullptr) return nullptr;
  ::MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), out, n);
  return out;
}

std::string Narrow(BSTR text) {
  const UINT length = ::SysStringLen(text);
  if (length == 0) return std::string();
  const int n = ::WideCharToMultiByte(CP_ACP, 0, text, static_cast<int>(length), nullptr, 0,
                                      nullptr, nullptr);
  if (n <= 0) return std::string();
  std::string out(static_cast<size_t>(n), '\0');
  ::WideCharToMultiByte(CP_ACP, 0, text, static_cast<int>(length), out.data(), n, nullptr, nullptr);
  return out;
}

VARTYPE VariantType(uint16_t kind) {
  switch (kind) {
    case kInteger:
      return VT_I4;
    case kFloat:
      return VT_R8;
    case kDateTime:
      return VT_DATE;
    case kBoolean:
      return VT_BOOL;
    case kText:
      return VT_BSTR;
    default:
      return VT_EMPTY;
  }
}

bool ToVariant(const Variant& src, VARIANT& out) {
  switch (src.Kind) {
    case kEmpty:
      V_VT(&out) = VT_EMPTY;
      return true;
    case kInteger:
      V_VT(&out) = VT_I4;
      V_I4(&out) = src.Int;
      return true;
    case kFloat:
      V_VT(&out) = VT_R8;
      V_R8(&out) = src.Double;
      return true;
    case kDateTime:
      V_VT(&out) = VT_DATE;
      V_DATE(&out) = src.Double;
      return true;
    case kBoolean:
      V_VT(&out) = VT_BOOL;
      V_BOOL(&out) = src.Bool;
      return true;
    case kText: {
      BSTR text = Widen(src.Text);
      if (text == nullptr) return false;
      V_VT(&out) = VT_BSTR;
      V_BSTR(&out) = text;
      return true;
    }
    default:
      return false;
  }
}

}  // namespace

bool ChangeType(const Variant& src, uint16_t targetKind, Variant& dst) {
  OwnedVariant in;
  OwnedVariant out;
  if (!ToVariant(src, *in.get())) return false;
  const VARTYPE target = VariantType(targetKind);
  if (target == VT_EMPTY && targetKind != kEmpty) return false;
  if (FAILED(::VariantChangeTypeEx(out.get(), in.get(), kUserDefaultLocale, 0, target))) {
    return false;
  }
  dst = Variant();
  dst.Kind = targetKind;
  const VARIANT& v = *out;
  switch (targetKind) {
    case kInteger:
      dst.Int = V_I4(&v);
      break;
    case kFloat:
      dst.Double = V_R8(&v);
      break;
    case kDateTime:
      dst.Double = V_DATE(&v);
      break;
    case kBoolean:
      dst.Bool = V_BOOL(&v);
      break;
    case kText:
      dst.Text = Narrow(V_BSTR(&v));
      break;
    default:
      break;
  }
  return true;
}

}  // namespace zu::platform
