#include "vorel/util/calc_express.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>
#include <numbers>
#include <utility>

#include "vorel/util/errors.h"

namespace vorel {

using Kind = TCalcExpress::Kind;

// Numbers and variables keep what the parser found in them, so that the
// evaluation neither converts text nor looks names up.
struct TCalcExpress::Node {
  Kind kind = Kind::End;
  uint16_t depth = 1;  // nodes on the longest path down from here
  int index = -1;      // a variable's position in the value set
  double value = 0;    // a number's value
  std::unique_ptr<Node> left, right;
};

namespace {

using Node = TCalcExpress::Node;
using NodePtr = std::unique_ptr<Node>;

// Function names as they appear in the (lower-cased) formula.
constexpr std::pair<std::string_view, Kind> kFunctions[] = {
    {"cos", Kind::Cos},       {"sin", Kind::Sin},       {"tg", Kind::Tg},
    {"ctg", Kind::Ctg},       {"abs", Kind::Abs},       {"sgn", Kind::Sgn},
    {"sign", Kind::Sgn},      {"sqrt", Kind::Sqrt},     {"ln", Kind::Ln},
    {"exp", Kind::Exp},       {"arcsin", Kind::Arcsin}, {"arccos", Kind::Arccos},
    {"arctg", Kind::Arctg},   {"arcctg", Kind::Arcctg}, {"sh", Kind::Sh},
    {"ch", Kind::Ch},         {"th", Kind::Th},         {"cth", Kind::Cth},
    {"heaviside", Kind::Heaviside}, {"h", Kind::Heaviside},
};

bool IsFunction(Kind kind) { return kind >= Kind::Cos && kind <= Kind::Heaviside; }

// The classification is ASCII only, whatever the locale: a byte of any other
// character makes the formula invalid.
bool IsDigit(char c) { return c >= '0' && c <= '9'; }
bool IsLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
char Lower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

bool SameName(std::string_view lowered, std::string_view name) {
  return lowered.size() == name.size() &&
         std::equal(lowered.begin(), lowered.end(), name.begin(), [](char a, char b) { return a == Lower(b); });
}

// Whether a literal from_chars found out of range lies above the range of a
// double rather than below it: its leading digit's decimal order decides,
// as any literal out of range is hundreds of orders away from 1.
bool AboveRange(std::string_view text) {
  size_t e = text.find('e');
  std::string_view mantissa = text.substr(0, e);
  long long exponent = 0;
  if (e != std::string_view::npos) {
    std::string_view digits = text.substr(e + 1);
    if (!digits.empty() && digits.front() == '+') digits.remove_prefix(1);
    auto [end, ec] = std::from_chars(digits.data(), digits.data() + digits.size(), exponent);
    if (ec == std::errc::result_out_of_range) return digits.front() != '-';
  }
  size_t point = std::min(mantissa.find('.'), mantissa.size());
  size_t lead = mantissa.find_first_of("123456789");
  if (lead == std::string_view::npos) return false;
  long long order = lead < point ? static_cast<long long>(point - lead - 1) : -static_cast<long long>(lead - point);
  return exponent + order > 0;
}

// Converts a literal the lexer has checked, with "." as decimal separator
// whatever the locale. One beyond the range of a double becomes infinity,
// which its evaluation reports; one below it becomes zero.
double LiteralValue(std::string_view text) {
  double value = 0;
  auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (ec == std::errc::result_out_of_range) {
    value = AboveRange(text) ? std::numeric_limits<double>::infinity() : 0.0;
    if (text.front() == '-') value = -value;
  }
  return value;
}

// Reads a formula into a tree: one function per grammar rule, each of which
// leaves the token after what it consumed in token_. Every failure goes
// through Fail, and the partial tree goes with the unwinding.
class Parser {
 public:
  Parser(std::string_view text, const std::vector<std::string>& variables) : text_(text), variables_(variables) {}

  NodePtr Parse() {
    Next();
    NodePtr tree = Expression();
    // Only an expression that ended at a ")" without a "(" stops short of
    // the end, and it leaves the counter below zero.
    if (nesting_ != 0 || token_ != Kind::End) Fail();
    return tree;
  }

  int LastIndex() const { return lastIndex_; }
  const char* Failure() const { return failure_; }

 private:
  [[noreturn]] void Fail() const { throw KivError(errors::kFormulaError); }

  // A part that parses but fails whenever the formula is evaluated; the
  // first one is what the evaluation reports.
  void FailsWhenEvaluated(const char* failure) {
    if (!failure_) failure_ = failure;
  }

  // expression = term { ( "+" | "-" ) term } ( end | ")" )
  NodePtr Expression() {
    NodePtr node = Term();
    while (token_ == Kind::Plus || token_ == Kind::Minus) {
      Kind op = token_;
      Next();
      NodePtr right = Term();
      node = Make(op, std::move(node), std::move(right));
    }
    if (token_ == Kind::Close) {
      --nesting_;
      Next();
    } else if (token_ != Kind::End) {
      Fail();
    }
    return node;
  }

  // term = [ "-" [ "+" ] | "+" ] factor { ( "*" | "/" ) factor }
  // The sign is allowed only at the start of the formula or after "(", and
  // a "-" negates the whole product: -x^2*3 is -((x^2)*3).
  NodePtr Term() {
    bool negate = false;
    if (token_ == Kind::Plus || token_ == Kind::Minus) {
      if (previous_ != Kind::End && previous_ != Kind::Open) Fail();
      negate = token_ == Kind::Minus;
      Next();
      if (negate && token_ == Kind::Plus) Next();
    }
    NodePtr node = Factor();
    while (token_ == Kind::Times || token_ == Kind::Divide) {
      Kind op = token_;
      Next();
      NodePtr right = Factor();
      node = Make(op, std::move(node), std::move(right));
    }
    if (negate) node = Make(Kind::Negate, std::move(node));
    return node;
  }

  // factor = ( "(" expression | number | variable | function "(" expression )
  //          { "^" exponent }
  NodePtr Factor() {
    NodePtr node;
    if (token_ == Kind::Open) {
      Enter();
      node = Expression();
    } else if (token_ == Kind::Number) {
      node = Number();
    } else if (token_ == Kind::Variable) {
      node = Make(Kind::Variable);
      node->index = index_;
      if (index_ < 0) FailsWhenEvaluated(errors::kFormulaUnknownVariable);
      lastIndex_ = std::max(lastIndex_, index_);
      Next();
    } else if (IsFunction(token_)) {
      Kind function = token_;
      Next();
      if (token_ != Kind::Open) Fail();
      Enter();
      node = Make(function, Expression());
    } else {
      Fail();
    }
    while (token_ == Kind::Power) node = Make(Kind::Power, std::move(node), Exponent());
    return node;
  }

  // exponent = number | "(" number ")"    (after the "^")
  // The parenthesised form is how a negative exponent is written: the "-"
  // after "(" starts a negative literal.
  NodePtr Exponent() {
    Next();
    bool parenthesised = token_ == Kind::Open;
    if (parenthesised) Next();
    if (token_ != Kind::Number) Fail();
    NodePtr node = Number();
    if (parenthesised) {
      if (token_ != Kind::Close) Fail();
      Next();
    }
    return node;
  }

  NodePtr Number() {
    NodePtr node = Make(Kind::Number);
    node->value = number_;
    if (!std::isfinite(number_)) FailsWhenEvaluated(errors::kFormulaNotFinite);
    Next();
    return node;
  }

  // Steps past a "(" that an expression will close.
  void Enter() {
    if (++nesting_ > TCalcExpress::kMaxNesting) Fail();
    Next();
  }

  NodePtr Make(Kind kind, NodePtr left = nullptr, NodePtr right = nullptr) {
    int depth = 1 + std::max(left ? left->depth : 0, right ? right->depth : 0);
    if (depth > TCalcExpress::kMaxTreeDepth) Fail();
    auto node = std::make_unique<Node>();
    node->kind = kind;
    node->depth = static_cast<uint16_t>(depth);
    node->left = std::move(left);
    node->right = std::move(right);
    return node;
  }

  // Reads the next token into token_ (number_ or index_ with it), keeping
  // the one before in previous_. Before the first token previous_ is End,
  // which stands for the start of the formula: no token follows a real End.
  void Next() {
    previous_ = token_;
    while (pos_ < text_.size() && text_[pos_] == ' ') ++pos_;
    if (pos_ == text_.size()) {
      token_ = Kind::End;
      return;
    }
    char c = text_[pos_];
    switch (c) {
      case '(': return Single(Kind::Open);
      case ')': return Single(Kind::Close);
      case '+': return Single(Kind::Plus);
      case '*': return Single(Kind::Times);
      case '/': return Single(Kind::Divide);
      case '^': return Single(Kind::Power);
      case '-':
        // "-" and a digit at the start or after "(" begin a negative
        // literal, which is how (-3)^2 gets a negative base.
        if (pos_ + 1 < text_.size() && IsDigit(text_[pos_ + 1]) &&
            (previous_ == Kind::End || previous_ == Kind::Open))
          return ReadNumber();
        return Single(Kind::Minus);
      default: break;
    }
    if (IsDigit(c)) return ReadNumber();
    if (IsLetter(c) || c == '_') return ReadName();
    Fail();
  }

  void Single(Kind kind) {
    token_ = kind;
    ++pos_;
  }

  // number = [ "-" ] digits [ "." digits ] [ "e" [ "+" | "-" ] digits ]
  void ReadNumber() {
    size_t start = pos_;
    if (text_[pos_] == '-') ++pos_;
    Digits();
    if (pos_ < text_.size() && text_[pos_] == '.') {
      ++pos_;
      Digits();
    }
    if (pos_ < text_.size() && text_[pos_] == 'e') {
      ++pos_;
      if (pos_ < text_.size() && (text_[pos_] == '+' || text_[pos_] == '-')) ++pos_;
      Digits();
    }
    token_ = Kind::Number;
    number_ = LiteralValue(text_.substr(start, pos_ - start));
  }

  // One or more digits.
  void Digits() {
    if (pos_ == text_.size() || !IsDigit(text_[pos_])) Fail();
    while (pos_ < text_.size() && IsDigit(text_[pos_])) ++pos_;
  }

  // A function's name gives its kind; any other name is a variable, -1 when
  // it is not among the variables (that fails only when evaluated).
  void ReadName() {
    size_t start = pos_;
    while (pos_ < text_.size() && (IsLetter(text_[pos_]) || IsDigit(text_[pos_]) || text_[pos_] == '_')) ++pos_;
    std::string_view name = text_.substr(start, pos_ - start);
    for (const auto& [function, kind] : kFunctions) {
      if (function == name) {
        token_ = kind;
        return;
      }
    }
    token_ = Kind::Variable;
    auto found = std::find_if(variables_.begin(), variables_.end(),
                              [name](const std::string& variable) { return SameName(name, variable); });
    index_ = found == variables_.end() ? -1 : static_cast<int>(found - variables_.begin());
  }

  std::string_view text_;
  const std::vector<std::string>& variables_;
  size_t pos_ = 0;
  int nesting_ = 0;  // "(" read and not yet closed
  Kind token_ = Kind::End;
  Kind previous_ = Kind::End;
  double number_ = 0;
  int index_ = -1;
  int lastIndex_ = -1;
  const char* failure_ = nullptr;
};

// Walks the tree depth first. Each operation checks its own domain, so the
// caller learns which rule was broken, and then whether its result is
// finite, so that an overflow is caught where it happens rather than hidden
// by a later sgn or h. The leaves need no checks: Calculate has made sure
// that every variable read has a value and that no literal is out of range.
class Evaluator {
 public:
  explicit Evaluator(const double* values) : values_(values) {}

  double Value(const Node& node) const {
    double result;
    switch (node.kind) {
      case Kind::Number: return node.value;
      case Kind::Variable: return values_[node.index];
      case Kind::Plus: result = Operand(*node.left) + Operand(*node.right); break;
      case Kind::Minus: result = Operand(*node.left) - Operand(*node.right); break;
      case Kind::Times: result = Operand(*node.left) * Operand(*node.right); break;
      case Kind::Divide: result = Operand(*node.left) / NonZero(Operand(*node.right)); break;
      case Kind::Power: {
        double base = Operand(*node.left);
        Domain(!(base <= 0), "^");
        // The exponent is a literal, always: the parser allows no other.
        result = std::exp(node.right->value * std::log(base));
        break;
      }
      default: result = Function(node.kind, Operand(*node.left)); break;
    }
    if (!std::isfinite(result)) Fail(errors::kFormulaNotFinite);
    return result;
  }

 private:
  // Half the nodes of a formula are leaves; reading them here rather than
  // in a call of their own is most of what makes the walk fast.
  double Operand(const Node& node) const {
    if (node.kind == Kind::Number) return node.value;
    if (node.kind == Kind::Variable) return values_[node.index];
    return Value(node);
  }

  [[noreturn]] static void Fail(const std::string& message) { throw KivError(message); }

  static double NonZero(double x) {
    if (x == 0) Fail(errors::kFormulaDivisionByZero);
    return x;
  }

  static void Domain(bool inside, const char* function) {
    if (!inside) Fail(std::string(errors::kFormulaOutsideDomain) + function);
  }

  // A NaN argument passes the domain checks and makes a NaN the finiteness
  // check reports, except in sgn and h, which give 0 for it.
  static double Function(Kind kind, double x) {
    switch (kind) {
      case Kind::Negate: return -x;
      case Kind::Cos: return std::cos(x);
      case Kind::Sin: return std::sin(x);
      case Kind::Tg: return std::tan(x);
      case Kind::Ctg: return 1 / NonZero(std::tan(x));
      case Kind::Abs: return std::fabs(x);
      case Kind::Sgn: return x > 0 ? 1 : x < 0 ? -1 : 0;
      case Kind::Sqrt: Domain(!(x < 0), "sqrt"); return std::sqrt(x);
      case Kind::Ln: Domain(!(x <= 0), "ln"); return std::log(x);
      case Kind::Exp: return std::exp(x);
      case Kind::Arcsin: Domain(!(std::fabs(x) > 1), "arcsin"); return std::asin(x);
      case Kind::Arccos: Domain(!(std::fabs(x) > 1), "arccos"); return std::acos(x);
      case Kind::Arctg: return std::atan(x);
      case Kind::Arcctg: return std::numbers::pi / 2 - std::atan(x);
      // The library's hyperbolic functions equal the exponential forms but
      // do not overflow halfway: th(1000) is 1, not inf/inf.
      case Kind::Sh: return std::sinh(x);
      case Kind::Ch: return std::cosh(x);
      case Kind::Th: return std::tanh(x);
      case Kind::Cth: return 1 / NonZero(std::tanh(x));
      case Kind::Heaviside: return x >= 0 ? 1 : 0;
      default: Fail(errors::kFormulaError);  // the parser makes no other kind
    }
  }

  const double* values_;
};

}  // namespace

TCalcExpress::TCalcExpress() { Compile(); }
TCalcExpress::~TCalcExpress() = default;
TCalcExpress::TCalcExpress(TCalcExpress&&) noexcept = default;
TCalcExpress& TCalcExpress::operator=(TCalcExpress&&) noexcept = default;

void TCalcExpress::SetFormula(std::string_view formula) {
  formula_.assign(formula);
  std::transform(formula_.begin(), formula_.end(), formula_.begin(), Lower);
  Compile();
}

void TCalcExpress::SetVariables(std::vector<std::string> variables) {
  variables_ = std::move(variables);
  Compile();
}

// The old tree goes first, so that a formula that does not parse leaves
// none behind.
void TCalcExpress::Compile() {
  tree_.reset();
  Parser parser(formula_, variables_);
  NodePtr tree = parser.Parse();
  lastIndex_ = parser.LastIndex();
  failure_ = parser.Failure();
  tree_ = std::move(tree);
}

double TCalcExpress::Calculate(std::span<const double> values) const {
  if (!tree_) throw KivError(errors::kFormulaNotParsed);
  if (failure_) throw KivError(failure_);
  if (lastIndex_ >= static_cast<int>(values.size()))
    throw KivError(errors::kFormulaNoValue + variables_[lastIndex_]);
  double result = Evaluator(values.data()).Value(*tree_);
  // Variables are handed on unchecked, so a formula that is only a variable
  // is checked here.
  if (!std::isfinite(result)) throw KivError(errors::kFormulaNotFinite);
  return result;
}

}  // namespace vorel
