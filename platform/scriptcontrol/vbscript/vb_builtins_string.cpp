// The string functions. Positions and lengths count UTF-16 code units, as
// VBScript's strings do; a cut through a surrogate pair leaves U+FFFD.
#include <algorithm>
#include <array>
#include <cstdio>

#include "platform/scriptcontrol/vbscript/vb_builtin_support.h"
#include "platform/scriptcontrol/vbscript/vb_convert.h"
#include "platform/scriptcontrol/vbscript/vb_errors.h"
#include "platform/scriptcontrol/vbscript/vb_text.h"
#include "platform/util/utf8.h"

namespace scriptcontrol::vbscript {

namespace {

using automation::Variant;
using automation::VariantArray;
using namespace builtin_args;

constexpr size_t npos = std::u16string::npos;

// A length or count argument: 94 for Null, 5 below zero.
size_t Count(const BuiltinCall& call, size_t index) {
  if (IsNull(call, index)) Throw(kErrInvalidNull);
  int32_t n = Long(call, index);
  if (n < 0) Throw(kErrInvalidCall);
  return static_cast<size_t>(n);
}

// A 1-based position argument: 94 for Null, 5 below one.
size_t Position(const BuiltinCall& call, size_t index, int32_t fallback) {
  if (IsNull(call, index)) Throw(kErrInvalidNull);
  int32_t n = LongOr(call, index, fallback);
  if (n < 1) Throw(kErrInvalidCall);
  return static_cast<size_t>(n);
}

Variant Len(BuiltinCall& call) {
  if (IsNull(call, 0)) return Variant::Null();
  return static_cast<int32_t>(Units(call, 0).size());
}

Variant Left(BuiltinCall& call) {
  size_t n = Count(call, 1);
  if (IsNull(call, 0)) return Variant::Null();
  std::u16string s = Units(call, 0);
  return FromUnits(std::u16string_view(s).substr(0, n));
}

Variant Right(BuiltinCall& call) {
  size_t n = Count(call, 1);
  if (IsNull(call, 0)) return Variant::Null();
  std::u16string s = Units(call, 0);
  return FromUnits(std::u16string_view(s).substr(s.size() - std::min(n, s.size())));
}

Variant Mid(BuiltinCall& call) {
  size_t start = Position(call, 1, 1);
  size_t length = Given(call, 2) ? Count(call, 2) : npos;
  if (IsNull(call, 0)) return Variant::Null();
  std::u16string s = Units(call, 0);
  if (start > s.size()) return Variant("");
  return FromUnits(std::u16string_view(s).substr(start - 1, length));
}

Variant InStr(BuiltinCall& call) {
  // InStr([start, ]string1, string2[, compare]): a start comes first when
  // three or more arguments are given.
  const bool withStart = GivenCount(call) >= 3;
  const size_t first = withStart ? 1 : 0;
  size_t start = withStart ? Position(call, 0, 1) : 1;
  bool text = withStart && TextCompare(call, 3);
  if (IsNull(call, first) || IsNull(call, first + 1)) return Variant::Null();
  std::u16string s = Units(call, first);
  std::u16string what = Units(call, first + 1);
  if (s.empty() || start > s.size()) return 0;
  if (what.empty()) return static_cast<int32_t>(start);
  size_t at = FindUnits(s, what, start - 1, text);
  return at == npos ? 0 : static_cast<int32_t>(at + 1);
}

Variant InStrRev(BuiltinCall& call) {
  int32_t start = LongOr(call, 2, -1);
  if (start == 0 || start < -1) Throw(kErrInvalidCall);
  bool text = TextCompare(call, 3);
  if (IsNull(call, 0) || IsNull(call, 1)) return Variant::Null();
  std::u16string s = Units(call, 0);
  std::u16string what = Units(call, 1);
  size_t end = start == -1 ? s.size() : static_cast<size_t>(start);
  if (s.empty() || end > s.size()) return 0;
  if (what.empty()) return static_cast<int32_t>(end);
  if (what.size() > end) return 0;
  std::u16string hay = text ? LowerUnits(s) : s;
  std::u16string needle = text ? LowerUnits(what) : what;
  size_t at = hay.rfind(needle, end - what.size());
  return at == npos ? 0 : static_cast<int32_t>(at + 1);
}

Variant LCase(BuiltinCall& call) {
  if (IsNull(call, 0)) return Variant::Null();
  return FromUnits(LowerUnits(Units(call, 0)));
}

Variant UCase(BuiltinCall& call) {
  if (IsNull(call, 0)) return Variant::Null();
  return FromUnits(UpperUnits(Units(call, 0)));
}

// VBScript trims spaces only, not tabs or line breaks.
Variant TrimSpaces(BuiltinCall& call, bool left, bool right) {
  if (IsNull(call, 0)) return Variant::Null();
  std::string s = String(call, 0);
  size_t begin = 0, end = s.size();
  if (left)
    while (begin < end && s[begin] == ' ') ++begin;
  if (right)
    while (end > begin && s[end - 1] == ' ') --end;
  return s.substr(begin, end - begin);
}

Variant Trim(BuiltinCall& call) { return TrimSpaces(call, true, true); }
Variant LTrim(BuiltinCall& call) { return TrimSpaces(call, true, false); }
Variant RTrim(BuiltinCall& call) { return TrimSpaces(call, false, true); }

Variant Replace(BuiltinCall& call) {
  if (IsNull(call, 1) || IsNull(call, 2)) Throw(kErrInvalidNull);
  size_t start = Position(call, 3, 1);
  int32_t count = LongOr(call, 4, -1);
  if (count < -1) Throw(kErrInvalidCall);
  bool text = TextCompare(call, 5);
  if (IsNull(call, 0)) return Variant::Null();
  std::u16string s = Units(call, 0);
  std::u16string find = Units(call, 1);
  std::u16string with = Units(call, 2);
  if (start > s.size()) return Variant("");
  // The result starts at start, as VBScript's does.
  std::u16string_view rest = std::u16string_view(s).substr(start - 1);
  if (find.empty() || count == 0) return FromUnits(rest);
  std::u16string out;
  size_t pos = 0;
  for (int32_t done = 0; count == -1 || done < count; ++done) {
    size_t at = FindUnits(rest, find, pos, text);
    if (at == npos) break;
    out.append(rest.substr(pos, at - pos));
    out += with;
    pos = at + find.size();
  }
  out.append(rest.substr(pos));
  return FromUnits(out);
}

Variant Space(BuiltinCall& call) { return std::string(Count(call, 0), ' '); }

Variant StringOf(BuiltinCall& call) {
  size_t n = Count(call, 0);
  if (IsNull(call, 1)) return Variant::Null();
  Variant c = Value(call, 1);
  char16_t unit;
  if (c.Type() == automation::VarType::String) {
    std::u16string u = kiv::Utf8ToUtf16(*c.Get<std::string>());
    if (u.empty()) Throw(kErrInvalidCall);
    // A supplementary character repeats whole.
    if (u.size() > 1 && u[0] >= 0xD800 && u[0] <= 0xDBFF && u[1] >= 0xDC00 && u[1] <= 0xDFFF) {
      std::u16string pair = u.substr(0, 2), out;
      for (size_t i = 0; i < n; ++i) out += pair;
      return FromUnits(out);
    }
    unit = u[0];
  } else {
    int32_t code = ToVbLong(c);
    if (code < 0) Throw(kErrInvalidCall);
    unit = static_cast<char16_t>(code % 256);
  }
  return FromUnits(std::u16string(n, unit));
}

Variant StrReverse(BuiltinCall& call) {
  if (IsNull(call, 0)) Throw(kErrInvalidNull);
  std::u16string s = Units(call, 0);
  std::reverse(s.begin(), s.end());
  // Keep surrogate pairs in their order so that the characters survive.
  for (size_t i = 0; i + 1 < s.size(); ++i)
    if (s[i] >= 0xDC00 && s[i] <= 0xDFFF && s[i + 1] >= 0xD800 && s[i + 1] <= 0xDBFF) std::swap(s[i], s[i + 1]), ++i;
  return FromUnits(s);
}

Variant StrComp(BuiltinCall& call) {
  bool text = TextCompare(call, 2);
  if (IsNull(call, 0) || IsNull(call, 1)) return Variant::Null();
  return static_cast<int16_t>(CompareUnits(Units(call, 0), Units(call, 1), text));
}

// Windows-1252's characters 0x80..0x9F; the five it leaves undefined map
// to the control characters of the same code.
constexpr std::array<char16_t, 32> kCp1252High = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

char16_t UnitOfAnsi(int32_t code) {
  return code >= 0x80 && code <= 0x9F ? kCp1252High[static_cast<size_t>(code - 0x80)] : static_cast<char16_t>(code);
}

int32_t AnsiOfUnit(char16_t unit) {
  if (unit < 0x80 || (unit >= 0xA0 && unit <= 0xFF)) return unit;
  for (size_t i = 0; i < kCp1252High.size(); ++i)
    if (kCp1252High[i] == unit) return static_cast<int32_t>(0x80 + i);
  return '?';
}

std::u16string FirstUnits(BuiltinCall& call) {
  if (IsNull(call, 0)) Throw(kErrInvalidNull);
  std::u16string s = Units(call, 0);
  if (s.empty()) Throw(kErrInvalidCall);
  return s;
}

Variant Asc(BuiltinCall& call) { return static_cast<int16_t>(AnsiOfUnit(FirstUnits(call)[0])); }

Variant AscW(BuiltinCall& call) { return static_cast<int16_t>(FirstUnits(call)[0]); }

Variant Chr(BuiltinCall& call) {
  if (IsNull(call, 0)) Throw(kErrInvalidNull);
  int32_t code = Long(call, 0);
  if (code < 0 || code > 255) Throw(kErrInvalidCall);
  return FromUnits(std::u16string(1, UnitOfAnsi(code)));
}

Variant ChrW(BuiltinCall& call) {
  if (IsNull(call, 0)) Throw(kErrInvalidNull);
  int32_t code = Long(call, 0);
  if (code < -32768 || code > 65535) Throw(kErrInvalidCall);
  return FromUnits(std::u16string(1, static_cast<char16_t>(code < 0 ? code + 65536 : code)));
}

// Hex and Oct show Integer-sized values (Integer, Byte, Boolean, Empty)
// as 16-bit patterns and everything else as 32-bit ones.
Variant InRadix(BuiltinCall& call, const char* format) {
  if (IsNull(call, 0)) return Variant::Null();
  Variant v = Value(call, 0);
  auto t = v.Type();
  uint32_t bits;
  if (t == automation::VarType::Int16 || t == automation::VarType::UInt8 || t == automation::VarType::Bool ||
      t == automation::VarType::Empty)
    bits = static_cast<uint16_t>(ToVbInteger(v));
  else
    bits = static_cast<uint32_t>(ToVbLong(v));
  char buffer[16];
  std::snprintf(buffer, sizeof buffer, format, bits);
  return std::string(buffer);
}

Variant Hex(BuiltinCall& call) { return InRadix(call, "%X"); }
Variant Oct(BuiltinCall& call) { return InRadix(call, "%o"); }

const VariantArray& ArrayArg(const BuiltinCall& call, size_t index) {
  const VariantArray* a = Arg(call, index).Array();
  if (!a) Throw(kErrTypeMismatch);
  return *a;
}

Variant Split(BuiltinCall& call) {
  std::u16string delimiter = Given(call, 1) ? Units(call, 1) : std::u16string(u" ");
  int32_t count = LongOr(call, 2, -1);
  if (count < -1) Throw(kErrInvalidCall);
  bool text = TextCompare(call, 3);
  if (IsNull(call, 0)) return Variant::Null();
  std::u16string s = Units(call, 0);
  std::vector<Variant> parts;
  if (!s.empty() && count != 0) {
    size_t pos = 0;
    while (!delimiter.empty() && (count == -1 || parts.size() + 1 < static_cast<size_t>(count))) {
      size_t at = FindUnits(s, delimiter, pos, text);
      if (at == npos) break;
      parts.push_back(FromUnits(std::u16string_view(s).substr(pos, at - pos)));
      pos = at + delimiter.size();
    }
    parts.push_back(FromUnits(std::u16string_view(s).substr(pos)));
  }
  return VariantArray(std::move(parts));
}

Variant Join(BuiltinCall& call) {
  const VariantArray& list = ArrayArg(call, 0);
  std::string delimiter = Given(call, 1) ? String(call, 1) : std::string(" ");
  std::string out;
  bool first = true;
  for (const Variant& item : list.Items()) {
    if (item.Deref().IsArray()) Throw(kErrTypeMismatch);
    if (!first) out += delimiter;
    first = false;
    if (!item.Deref().IsNull()) out += ToVbString(item);
  }
  return out;
}

Variant Filter(BuiltinCall& call) {
  const VariantArray& list = ArrayArg(call, 0);
  if (IsNull(call, 1)) Throw(kErrInvalidNull);
  std::u16string value = Units(call, 1);
  bool include = BoolOr(call, 2, true);
  bool text = TextCompare(call, 3);
  std::vector<Variant> kept;
  for (const Variant& item : list.Items()) {
    std::string s = ToVbString(item);
    bool found = FindUnits(kiv::Utf8ToUtf16(s), value, 0, text) != npos;
    if (found == include) kept.emplace_back(std::move(s));
  }
  return VariantArray(std::move(kept));
}

bool Unescaped(char16_t c) {
  return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '@' || c == '*' ||
         c == '_' || c == '+' || c == '-' || c == '.' || c == '/';
}

Variant Escape(BuiltinCall& call) {
  if (IsNull(call, 0)) return Variant::Null();
  std::string out;
  char buffer[8];
  for (char16_t c : Units(call, 0)) {
    if (Unescaped(c)) {
      out += static_cast<char>(c);
    } else {
      std::snprintf(buffer, sizeof buffer, c < 256 ? "%%%02X" : "%%u%04X", static_cast<unsigned>(c));
      out += buffer;
    }
  }
  return out;
}

int HexDigit(char16_t c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// The value of count hex digits at s[at], or -1.
int32_t HexAt(std::u16string_view s, size_t at, size_t count) {
  if (at + count > s.size()) return -1;
  int32_t value = 0;
  for (size_t i = 0; i < count; ++i) {
    int d = HexDigit(s[at + i]);
    if (d < 0) return -1;
    value = value * 16 + d;
  }
  return value;
}

Variant Unescape(BuiltinCall& call) {
  if (IsNull(call, 0)) return Variant::Null();
  std::u16string s = Units(call, 0);
  std::u16string out;
  for (size_t i = 0; i < s.size(); ++i) {
    if (s[i] == '%') {
      int32_t v;
      if (i + 1 < s.size() && s[i + 1] == 'u' && (v = HexAt(s, i + 2, 4)) >= 0) {
        out += static_cast<char16_t>(v);
        i += 5;
        continue;
      }
      if ((v = HexAt(s, i + 1, 2)) >= 0) {
        out += static_cast<char16_t>(v);
        i += 2;
        continue;
      }
    }
    out += s[i];
  }
  return FromUnits(out);
}

constexpr Builtin kStringBuiltins[] = {
    {"Asc", 1, 1, Asc},
    {"AscW", 1, 1, AscW},
    {"Chr", 1, 1, Chr},
    {"ChrW", 1, 1, ChrW},
    {"Escape", 1, 1, Escape},
    {"Filter", 2, 4, Filter},
    {"Hex", 1, 1, Hex},
    {"InStr", 2, 4, InStr},
    {"InStrRev", 2, 4, InStrRev},
    {"Join", 1, 2, Join},
    {"LCase", 1, 1, LCase},
    {"Left", 2, 2, Left},
    {"Len", 1, 1, Len},
    {"LTrim", 1, 1, LTrim},
    {"Mid", 2, 3, Mid},
    {"Oct", 1, 1, Oct},
    {"Replace", 3, 6, Replace},
    {"Right", 2, 2, Right},
    {"RTrim", 1, 1, RTrim},
    {"Space", 1, 1, Space},
    {"Split", 1, 4, Split},
    {"StrComp", 2, 3, StrComp},
    {"String", 2, 2, StringOf},
    {"StrReverse", 1, 1, StrReverse},
    {"Trim", 1, 1, Trim},
    {"UCase", 1, 1, UCase},
    {"Unescape", 1, 1, Unescape},
};

}  // namespace

std::span<const Builtin> StringBuiltins() { return kStringBuiltins; }

}  // namespace scriptcontrol::vbscript
