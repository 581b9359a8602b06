#include "platform/scriptcontrol/vbscript/vb_lexer.h"

#include <algorithm>
#include <charconv>
#include <string>

#include "platform/scriptcontrol/vbscript/vb_date_literal.h"
#include "platform/scriptcontrol/vbscript/vb_errors.h"
#include "platform/util/text.h"

namespace scriptcontrol::vbscript {

namespace {

// VBScript refuses longer names.
constexpr size_t kMaxNameLength = 255;

struct Word {
  const char* text;
  Tok kind;
};

constexpr Word kReservedWords[] = {
    {"And", Tok::KwAnd},         {"Call", Tok::KwCall},       {"Case", Tok::KwCase},
    {"Class", Tok::KwClass},     {"Const", Tok::KwConst},     {"Dim", Tok::KwDim},
    {"Do", Tok::KwDo},           {"Each", Tok::KwEach},       {"Else", Tok::KwElse},
    {"ElseIf", Tok::KwElseIf},   {"Empty", Tok::KwEmpty},     {"End", Tok::KwEnd},
    {"Eqv", Tok::KwEqv},         {"Erase", Tok::KwErase},     {"Exit", Tok::KwExit},
    {"False", Tok::KwFalse},     {"For", Tok::KwFor},         {"Function", Tok::KwFunction},
    {"If", Tok::KwIf},           {"Imp", Tok::KwImp},         {"In", Tok::KwIn},
    {"Is", Tok::KwIs},           {"Loop", Tok::KwLoop},       {"Me", Tok::KwMe},
    {"Mod", Tok::KwMod},         {"New", Tok::KwNew},         {"Next", Tok::KwNext},
    {"Not", Tok::KwNot},         {"Nothing", Tok::KwNothing}, {"Null", Tok::KwNull},
    {"On", Tok::KwOn},           {"Option", Tok::KwOption},   {"Or", Tok::KwOr},
    {"Private", Tok::KwPrivate}, {"Property", Tok::KwProperty}, {"Public", Tok::KwPublic},
    {"ReDim", Tok::KwReDim},     {"Select", Tok::KwSelect},   {"Set", Tok::KwSet},
    {"Stop", Tok::KwStop},       {"Sub", Tok::KwSub},         {"Then", Tok::KwThen},
    {"To", Tok::KwTo},           {"True", Tok::KwTrue},       {"Until", Tok::KwUntil},
    {"Wend", Tok::KwWend},       {"While", Tok::KwWhile},     {"With", Tok::KwWith},
    {"Xor", Tok::KwXor},
};

constexpr Word kSymbols[] = {
    {"end of script", Tok::Eof}, {"end of line", Tok::Newline}, {":", Tok::Colon},
    {"name", Tok::Name},         {"number", Tok::Number},       {"string", Tok::String},
    {"date", Tok::Date},         {"(", Tok::LParen},            {")", Tok::RParen},
    {",", Tok::Comma},           {".", Tok::Dot},               {"+", Tok::Plus},
    {"-", Tok::Minus},           {"*", Tok::Star},              {"/", Tok::Slash},
    {"\\", Tok::Backslash},      {"^", Tok::Caret},             {"&", Tok::Amp},
    {"=", Tok::Eq},              {"<>", Tok::Ne},               {"<", Tok::Lt},
    {">", Tok::Gt},              {"<=", Tok::Le},               {">=", Tok::Ge},
};

bool IsLetter(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }
bool IsNameChar(char c) { return IsLetter(c) || IsDigit(c) || c == '_'; }
bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\v' || c == '\f'; }

int HexValue(char c) {
  if (IsDigit(c)) return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

// Whether a decimal number the double type cannot hold is tiny rather
// than huge: its first significant digit lies far right of the point.
bool IsBelowDoubleRange(std::string_view text) {
  const size_t e = text.find_first_of("eE");
  const std::string_view mantissa = text.substr(0, e);
  int64_t exponent = 0;
  if (e != std::string_view::npos) {
    size_t i = e + 1;
    const bool negative = i < text.size() && text[i] == '-';
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) ++i;
    for (; i < text.size(); ++i) exponent = std::min<int64_t>(exponent * 10 + (text[i] - '0'), 1'000'000'000);
    if (negative) exponent = -exponent;
  }
  // The power of ten of the first significant digit.
  const size_t point = std::min(mantissa.find('.'), mantissa.size());
  const size_t firstDigit = mantissa.find_first_of("123456789");
  if (firstDigit == std::string_view::npos) return true;
  const int64_t place = firstDigit < point ? static_cast<int64_t>(point - firstDigit - 1)
                                           : -static_cast<int64_t>(firstDigit - point);
  return place + exponent < 0;
}

}  // namespace

const char* TokName(Tok kind) {
  for (const auto& w : kSymbols)
    if (w.kind == kind) return w.text;
  for (const auto& w : kReservedWords)
    if (w.kind == kind) return w.text;
  return "?";
}

Lexer::Lexer(std::string_view source) : src_(source) {
  if (src_.starts_with("\xEF\xBB\xBF")) src_.remove_prefix(3);
}

void Lexer::Skip(size_t n) {
  for (; n > 0 && !AtEnd(); --n, ++pos_)
    if ((static_cast<unsigned char>(src_[pos_]) & 0xC0) != 0x80) ++column_;
}

void Lexer::SkipLineBreak() {
  if (At() == '\r' && At(1) == '\n') ++pos_;
  ++pos_;
  ++line_;
  column_ = 1;
}

void Lexer::Fail(int32_t number, int32_t line, int32_t column) const {
  VbError error(number);
  error.Place(line, column);
  throw error;
}

bool Lexer::SkipSpace() {
  bool blank = false;
  for (;;) {
    const char c = At();
    if (IsBlank(c)) {
      Skip();
      blank = true;
    } else if (c == '\'') {
      while (!AtEnd() && !AtLineBreak()) Skip();
    } else if (c == '_') {
      // A continuation: "_", blanks, then the end of the line.
      size_t k = 1;
      while (IsBlank(At(k))) ++k;
      const char after = At(k);
      if (after != '\n' && after != '\r') return blank;
      Skip(k);
      SkipLineBreak();
      blank = true;
    } else {
      return blank;
    }
  }
}

Token Lexer::Next() {
  Token t;
  for (;;) {
    t = Token{};
    t.spaceBefore = SkipSpace();
    t.line = line_;
    t.column = column_;
    const char c = At();
    if (AtEnd()) {
      t.kind = Tok::Eof;
      // After a final line break the script's last line is the one that
      // break ended, not an empty one after it.
      if (last_ == Tok::Newline || last_ == Tok::Eof) {
        if (pos_ > 0) {
          t.line = lastLine_;
          t.column = lastColumn_;
        }
      }
    } else if (c == '\n' || c == '\r') {
      t.kind = Tok::Newline;
      SkipLineBreak();
    } else if (IsLetter(c)) {
      ReadWord(t);
      if (t.kind == Tok::Eof) {  // Rem: the rest of the line is a comment
        while (!AtEnd() && !AtLineBreak()) Skip();
        continue;
      }
    } else if (c == '[') {
      ReadBracketedName(t);
    } else if (IsDigit(c) || (c == '.' && IsDigit(At(1)))) {
      ReadNumber(t);
    } else if (c == '&' && ReadRadixNumber(t)) {
      // read
    } else if (c == '"') {
      ReadString(t);
    } else if (c == '#') {
      ReadDate(t);
    } else if (!ReadOperator(t)) {
      Fail(kErrInvalidCharacter, t.line, t.column);
    }
    break;
  }
  last_ = t.kind;
  lastLine_ = t.line;
  lastColumn_ = t.column;
  return t;
}

// Leaves t.kind Eof for "Rem", whose comment the caller skips.
void Lexer::ReadWord(Token& t) {
  const size_t start = pos_;
  size_t end = pos_;
  while (end < src_.size() && IsNameChar(src_[end])) ++end;
  if (end - start > kMaxNameLength) Fail(kErrIdentifierTooLong, t.line, t.column);
  const std::string_view word = src_.substr(start, end - start);
  Skip(end - start);
  t.kind = Tok::Name;
  t.text = std::string(word);
  // Members may have any name: obj.Type, Err.Raise, x.End, x.Rem.
  if (last_ == Tok::Dot) return;
  if (kiv::EqualsIgnoreCase(word, "Rem")) {
    t.kind = Tok::Eof;
    return;
  }
  for (const auto& w : kReservedWords) {
    if (kiv::EqualsIgnoreCase(word, w.text)) {
      t.kind = w.kind;
      return;
    }
  }
}

void Lexer::ReadBracketedName(Token& t) {
  size_t end = pos_ + 1;
  while (end < src_.size() && src_[end] != ']' && src_[end] != '\n' && src_[end] != '\r') ++end;
  if (end >= src_.size() || src_[end] != ']') {
    constexpr int32_t kErrExpectedBracket = 1007;  // Expected ']'
    Fail(kErrExpectedBracket, t.line, t.column);
  }
  const std::string_view name = src_.substr(pos_ + 1, end - pos_ - 1);
  if (name.empty()) Fail(kErrExpectedIdentifier, t.line, t.column);
  if (name.size() > kMaxNameLength) Fail(kErrIdentifierTooLong, t.line, t.column);
  t.kind = Tok::Name;
  t.bracketed = true;
  t.text = std::string(name);
  Skip(end + 1 - pos_);
}

// digits [. digits] [E [+|-] digits], or . digits [E ...]. Whole numbers
// are Integer when they fit 16 bits, else Long, else Double.
void Lexer::ReadNumber(Token& t) {
  const size_t start = pos_;
  size_t end = pos_;
  while (end < src_.size() && IsDigit(src_[end])) ++end;
  const size_t intEnd = end;
  bool isFloat = false;
  if (end < src_.size() && src_[end] == '.') {
    isFloat = true;
    ++end;
    while (end < src_.size() && IsDigit(src_[end])) ++end;
  }
  auto digitAt = [&](size_t i) { return i < src_.size() && IsDigit(src_[i]); };
  if (end < src_.size() && (src_[end] == 'e' || src_[end] == 'E')) {
    size_t k = end + 1;
    if (k < src_.size() && (src_[k] == '+' || src_[k] == '-')) ++k;
    if (digitAt(k)) {
      isFloat = true;
      end = k;
      while (digitAt(end)) ++end;
    }
  }
  const std::string_view text = src_.substr(start, end - start);
  Skip(end - start);
  t.kind = Tok::Number;

  if (!isFloat) {
    size_t first = start;
    while (first < intEnd - 1 && src_[first] == '0') ++first;
    if (intEnd - first <= 10) {
      uint64_t value = 0;
      for (size_t i = first; i < intEnd; ++i) value = value * 10 + static_cast<uint64_t>(src_[i] - '0');
      if (value <= 32767) {
        t.value = automation::Variant(static_cast<int16_t>(value));
        return;
      }
      if (value <= 2147483647) {
        t.value = automation::Variant(static_cast<int32_t>(value));
        return;
      }
    }
  }
  double value = 0;
  const auto result = std::from_chars(text.data(), text.data() + text.size(), value);
  if (result.ec == std::errc::result_out_of_range && IsBelowDoubleRange(text))
    value = 0;  // too small to be told from zero
  else if (result.ec != std::errc() || result.ptr != text.data() + text.size())
    Fail(kErrInvalidNumber, t.line, t.column);
  t.value = automation::Variant(value);
}

// &H1F, &O17, with an optional "&" after: up to 16 bits they are Integer
// (&HFFFF is -1), up to 32 bits Long (&HFFFFFFFF is -1); the trailing "&"
// makes a Long of any of them (&HFFFF& is 65535).
bool Lexer::ReadRadixNumber(Token& t) {
  const char radixChar = At(1);
  int base = 0;
  if (radixChar == 'H' || radixChar == 'h')
    base = 16;
  else if (radixChar == 'O' || radixChar == 'o')
    base = 8;
  auto digitValue = [&](char c) {
    const int v = HexValue(c);
    return v >= 0 && v < base ? v : -1;
  };
  if (base == 0 || digitValue(At(2)) < 0) return false;
  Skip(2);
  uint64_t value = 0;
  bool overflow = false;
  while (!AtEnd() && digitValue(At()) >= 0) {
    value = value * static_cast<uint64_t>(base) + static_cast<uint64_t>(digitValue(At()));
    if (value > 0xFFFFFFFFu) {
      overflow = true;
      value = 0xFFFFFFFFu;  // keeps the sum small while the digits run on
    }
    Skip();
  }
  if (overflow) Fail(kErrInvalidNumber, t.line, t.column);
  bool forceLong = false;
  if (At() == '&') {
    forceLong = true;
    Skip();
  }
  t.kind = Tok::Number;
  if (!forceLong && value <= 0xFFFF)
    t.value = automation::Variant(static_cast<int16_t>(static_cast<uint16_t>(value)));
  else
    t.value = automation::Variant(static_cast<int32_t>(static_cast<uint32_t>(value)));
  return true;
}

void Lexer::ReadString(Token& t) {
  Skip();  // the opening quote
  std::string text;
  for (;;) {
    if (AtEnd() || AtLineBreak()) Fail(kErrUnterminatedString, t.line, t.column);
    const char c = At();
    if (c == '"') {
      if (At(1) != '"') break;
      Skip();
    }
    text.push_back(c);
    Skip();
  }
  Skip();  // the closing quote
  t.kind = Tok::String;
  t.text = std::move(text);
}

void Lexer::ReadDate(Token& t) {
  size_t end = pos_ + 1;
  while (end < src_.size() && src_[end] != '#' && src_[end] != '\n' && src_[end] != '\r') ++end;
  if (end >= src_.size() || src_[end] != '#') Fail(kErrInvalidCharacter, t.line, t.column);
  const auto date = ReadDateLiteral(src_.substr(pos_ + 1, end - pos_ - 1));
  if (!date) Fail(kErrSyntax, t.line, t.column);
  t.kind = Tok::Date;
  t.value = automation::Variant(*date);
  Skip(end + 1 - pos_);
}

bool Lexer::ReadOperator(Token& t) {
  const char c = At();
  const char next = At(1);
  size_t length = 1;
  switch (c) {
    case '(': t.kind = Tok::LParen; break;
    case ')': t.kind = Tok::RParen; break;
    case ',': t.kind = Tok::Comma; break;
    case '.': t.kind = Tok::Dot; break;
    case ':': t.kind = Tok::Colon; break;
    case '+': t.kind = Tok::Plus; break;
    case '-': t.kind = Tok::Minus; break;
    case '*': t.kind = Tok::Star; break;
    case '/': t.kind = Tok::Slash; break;
    case '\\': t.kind = Tok::Backslash; break;
    case '^': t.kind = Tok::Caret; break;
    case '&': t.kind = Tok::Amp; break;
    case '=': t.kind = Tok::Eq; break;
    case '<':
      if (next == '=' || next == '>') {
        t.kind = next == '=' ? Tok::Le : Tok::Ne;
        length = 2;
      } else {
        t.kind = Tok::Lt;
      }
      break;
    case '>':
      if (next == '=') {
        t.kind = Tok::Ge;
        length = 2;
      } else {
        t.kind = Tok::Gt;
      }
      break;
    default: return false;
  }
  Skip(length);
  return true;
}

}  // namespace scriptcontrol::vbscript
