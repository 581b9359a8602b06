#include "vorel/util/calc_express.h"

#include <gtest/gtest.h>

#include <clocale>
#include <cmath>
#include <limits>
#include <locale>
#include <numbers>
#include <optional>
#include <string>
#include <vector>

#include "vorel/util/errors.h"

using vorel::KivError;
using vorel::TCalcExpress;

namespace {

enum class Outcome { Value, Invalid, Fails };

struct Case {
  std::string formula;
  Outcome outcome;
  double value = 0;
  std::vector<std::string> variables = {};
  std::vector<double> values = {};
};

Case Val(std::string formula, double value, std::vector<std::string> variables = {}, std::vector<double> values = {}) {
  return {std::move(formula), Outcome::Value, value, std::move(variables), std::move(values)};
}
Case Invalid(std::string formula, std::vector<std::string> variables = {}) {
  return {std::move(formula), Outcome::Invalid, 0, std::move(variables), {}};
}
Case Fails(std::string formula, std::vector<std::string> variables = {}, std::vector<double> values = {}) {
  return {std::move(formula), Outcome::Fails, 0, std::move(variables), std::move(values)};
}

constexpr double kPi = std::numbers::pi;
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInf = std::numeric_limits<double>::infinity();

// Powers go through exp and ln, so results are close, not always exact.
void ExpectCase(const Case& c) {
  SCOPED_TRACE("formula '" + c.formula + "'");
  TCalcExpress calc;
  calc.SetVariables(c.variables);
  std::optional<std::string> parseError;
  try {
    calc.SetFormula(c.formula);
  } catch (const KivError& e) {
    parseError = e.what();
  }
  if (c.outcome == Outcome::Invalid) {
    ASSERT_TRUE(parseError) << "parsed, but should not";
    EXPECT_EQ(*parseError, "Error in Formula");
    EXPECT_FALSE(calc.Valid());
    EXPECT_THROW(calc.Calculate(c.values), KivError);
    return;
  }
  ASSERT_FALSE(parseError) << "did not parse";
  if (c.outcome == Outcome::Fails) {
    EXPECT_THROW(calc.Calculate(c.values), KivError);
    return;
  }
  double got = calc.Calculate(c.values);
  EXPECT_NEAR(got, c.value, 1e-12 * std::max(1.0, std::fabs(c.value)));
}

TEST(TCalcExpress, SignsAndPowers) {
  const Case cases[] = {
      Val("-x^2", -4, {"x"}, {2}),  // the sign negates the whole term
      Fails("-2^2"),                // the literal -2 is the base
      Val("0-2^2", -4),
      Val("- 2^2", -4),  // a blank parts the sign from the digit
      Val("-x*3", -6, {"x"}, {2}),
      Val("-3", -3),
      Val("-3*2", -6),
      Val("-(2+3)", -5),
      Val("-+3", -3),
      Val("(-+3)", -3),
      Val("+3", 3),
      Val("(+3)*2", 6),
      Val("sin(-x)", -std::sin(1.0), {"x"}, {1}),
      Invalid("+-3"),
      Invalid("--3"),
      Invalid("-+-3"),
      Invalid("2*-3"),
      Invalid("2+-3"),
      Invalid("2-+3"),
      Invalid("2/-3"),
      Invalid("(1)-+3"),
      Fails("(-3)^2"),
      Fails("0^2"),
      Fails("(0)^2"),
      Val("2^(-1)", 0.5),
      Invalid("2^-1"),
      Invalid("2^(- 1)"),
      Invalid("2^x", {"x"}),
      Invalid("2^(1+1)"),
      Invalid("2^(1"),
      Invalid("2^sin(1)"),
      Invalid("2^"),
      Val("2^3^2", 64),
      Val("2^0.5", std::sqrt(2.0)),
      Val("2^3*2", 16),
      Val("(1+1)^3", 8),
      Val("x^2", 9, {"x"}, {3}),
      Val("sqrt(2)^2", 2),
      Val("2 ^ ( 2 )", 4),
      Val("2^1e1", 1024),
  };
  for (const auto& c : cases) ExpectCase(c);
}

TEST(TCalcExpress, Functions) {
  const double e = std::numbers::e;
  const Case cases[] = {
      Val("sin(0)+cos(0)", 1),
      Val("sin(pi)", std::sin(kPi), {"pi"}, {kPi}),
      Val("tg(1)", std::tan(1.0)),
      Val("ctg(1)", 1 / std::tan(1.0)),
      Fails("ctg(0)"),
      Val("abs(-2.5)", 2.5),
      Val("sgn(-5)", -1),
      Val("sign(3)", 1),
      Val("sgn(0)", 0),
      Val("sqrt(9)", 3),
      Val("sqrt(0)", 0),
      Fails("sqrt(-1)"),
      Val("ln(exp(2))", 2),
      Fails("ln(0)"),
      Fails("ln(-1)"),
      Val("exp(0)", 1),
      Val("arcsin(1)", kPi / 2),
      Fails("arcsin(1.5)"),
      Val("arccos(-1)", kPi),
      Fails("arccos(-1.01)"),
      Val("arctg(1)", kPi / 4),
      Val("arcctg(1)", kPi / 4),
      Val("arcctg(0)", kPi / 2),
      Val("sh(1)", (e - 1 / e) / 2),
      Val("ch(1)", (e + 1 / e) / 2),
      Val("ch(0)", 1),
      Val("th(1)", (e - 1 / e) / (e + 1 / e)),
      Val("th(1000)", 1),
      Val("cth(1)", (e + 1 / e) / (e - 1 / e)),
      Fails("cth(0)"),
      Val("h(0)", 1),
      Val("h(2)", 1),
      Val("heaviside(-0.5)", 0),
      Val("sin(cos(0)-1)", 0),
      Val("SIN(0) + Cos(0)", 1),
      Invalid("sin 0"),
      Invalid("sin"),
      Invalid("sin(0"),
      Invalid("sin()"),
      Invalid("h", {"h"}),         // a function's name is never a variable
      Invalid("sin+1", {"sin"}),
      Val("sinx", 7, {"sinx"}, {7}),  // a longer name is a name of its own
  };
  for (const auto& c : cases) ExpectCase(c);
}

TEST(TCalcExpress, LiteralsBlanksAndParentheses) {
  const Case cases[] = {
      Val("1.5e+2", 150),
      Val("2.5E-1", 0.25),
      Val("1e3", 1000),
      Val("007", 7),
      Val("12345678901234567890", 12345678901234567890.0),
      Val("1e-400", 0),  // below the range of a double
      Val("-1e-400", 0),
      Fails("1e999"),  // above it
      Fails("-1e999"),
      Fails("h(1e999)"),   // an out-of-range literal fails wherever it stands
      Fails("2^1e999"),
      Fails("0*sgn(1e999)"),
      Fails("1" + std::string(400, '0')),
      Fails("1e99999999999999999999999"),
      Val("0.000000000000000000001e21", 1),
      Invalid("1."),
      Invalid("1e"),
      Invalid("1e+"),
      Invalid("1.e5"),
      Invalid(".5"),
      Invalid("1,5"),
      Invalid("1.5.2"),
      Invalid("1e2e3"),
      Invalid("2x", {"x"}),
      Invalid("1 2"),
      Invalid("2(3)"),
      Invalid("(2)(3)"),
      Val(" 1 +  2 ", 3),
      Invalid("1\t+2"),
      Invalid("\t1"),
      Invalid("1\n"),
      Invalid("a$b", {"a", "b"}),
      Invalid("\xc3\xa9"),
      Invalid(""),
      Invalid("   "),
      Invalid("()"),
      Invalid("(1+2"),
      Invalid("1+2)"),
      Invalid(")"),
      Invalid("(1))+((2"),
      Invalid("1+"),
      Invalid("*2"),
      Invalid("1+*2"),
      Val("((1))", 1),
      Val("(1+2)*(3-1)/4", 1.5),
      Val("10-4-3", 3),  // left to right
      Val("8/4/2", 1),
      Fails("1/0"),
      Fails("0/0"),
      Fails("1/(1-1)"),
  };
  for (const auto& c : cases) ExpectCase(c);
}

TEST(TCalcExpress, Variables) {
  const std::vector<std::string> xy = {"x", "y"};
  const Case cases[] = {
      Val("sqrt(x*x+y*y)", 5, xy, {3, 4}),
      Val("y-x", 1, xy, {3, 4}),
      Fails("z+1", xy, {3, 4}),
      Fails("0*h(z)", xy, {3, 4}),
      Fails("y", xy, {3}),  // no value for the second variable
      Fails("x", xy, {}),
      Val("x", 3, xy, {3, 4, 5}),  // values beyond the variables are unused
      Val("Width*2", 6, {"width"}, {3}),
      Val("width*2", 6, {"Width"}, {3}),
      Val("WIDTH", 3, {"wIdTh"}, {3}),
      Val("x_1+_a", 3, {"x_1", "_a"}, {1, 2}),
      Val("a", 1, {"a", "a"}, {1, 2}),  // the first of two equal names
      Val("x+(width-offsetx)*0.5-sin(y/10)*2+height^2/100-offsety",
          10 + (200 - 20) * 0.5 - std::sin(3.0) * 2 + 150.0 * 150.0 / 100 - 5,
          {"x", "y", "width", "height", "offsetx", "offsety"}, {10, 30, 200, 150, 20, 5}),
      // A value handed in passes through until an operation makes a
      // non-finite result of it; sgn and h give 0 for NaN.
      Val("sgn(x)", 0, {"x"}, {kNaN}),
      Val("h(x)", 0, {"x"}, {kNaN}),
      Val("sgn(x)", 1, {"x"}, {kInf}),
      Fails("x+1", {"x"}, {kNaN}),
      Fails("x", {"x"}, {kNaN}),
      Fails("x*0", {"x"}, {kInf}),
      Fails("exp(x)", {"x"}, {1000}),
      Fails("h(exp(x))", {"x"}, {1000}),  // the overflow inside is caught
      Fails("x*x", {"x"}, {1e200}),
      Val("sgn(x)", -1, {"x"}, {-1e300}),
  };
  for (const auto& c : cases) ExpectCase(c);
}

TEST(TCalcExpress, StartsAtZero) {
  TCalcExpress calc;
  EXPECT_EQ(calc.Formula(), "0");
  EXPECT_TRUE(calc.Variables().empty());
  EXPECT_TRUE(calc.Valid());
  EXPECT_EQ(calc.Calculate({}), 0);
}

TEST(TCalcExpress, KeepsTheFormulaInLowerCase) {
  TCalcExpress calc;
  calc.SetVariables({"X"});
  calc.SetFormula("SIN(X)+Offset");
  EXPECT_EQ(calc.Formula(), "sin(x)+offset");
  EXPECT_EQ(calc.Variables(), std::vector<std::string>{"X"});
}

TEST(TCalcExpress, SettingVariablesParsesAgain) {
  TCalcExpress calc;
  calc.SetFormula("x+1");
  EXPECT_THROW(calc.Calculate({2}), KivError);
  calc.SetVariables({"x"});
  EXPECT_EQ(calc.Calculate({2}), 3);
  calc.SetVariables({"y", "x"});
  EXPECT_EQ(calc.Calculate({2, 5}), 6);
  calc.SetVariables({});
  EXPECT_THROW(calc.Calculate({2, 5}), KivError);
}

TEST(TCalcExpress, AFailedFormulaLeavesNoTree) {
  TCalcExpress calc;
  calc.SetFormula("2*3");
  ASSERT_EQ(calc.Calculate({}), 6);
  try {
    calc.SetFormula("2*");
    FAIL() << "parsed";
  } catch (const KivError& e) {
    EXPECT_STREQ(e.what(), vorel::errors::kFormulaError);
  }
  EXPECT_FALSE(calc.Valid());
  EXPECT_EQ(calc.Formula(), "2*");
  try {
    calc.Calculate({});
    FAIL() << "calculated";
  } catch (const KivError& e) {
    EXPECT_STREQ(e.what(), vorel::errors::kFormulaNotParsed);
  }
  // The text stays, so new variables do not make it parse either.
  EXPECT_THROW(calc.SetVariables({"x"}), KivError);
  EXPECT_FALSE(calc.Valid());
  calc.SetFormula("x*2");
  EXPECT_EQ(calc.Calculate({4}), 8);
}

TEST(TCalcExpress, EvaluationFailuresSayWhy) {
  auto message = [](const std::string& formula, std::vector<std::string> variables, std::vector<double> values) {
    TCalcExpress calc;
    calc.SetVariables(std::move(variables));
    calc.SetFormula(formula);
    try {
      calc.Calculate(values);
    } catch (const KivError& e) {
      return std::string(e.what());
    }
    return std::string("no failure");
  };
  EXPECT_EQ(message("z+1", {"x"}, {1}), "Formula: unknown variable");
  EXPECT_EQ(message("x+y", {"x", "y"}, {1}), "Formula: no value given for variable y");
  EXPECT_EQ(message("1/x", {"x"}, {0}), "Formula: division by zero");
  EXPECT_EQ(message("ln(x)", {"x"}, {-1}), "Formula: argument outside the domain of ln");
  EXPECT_EQ(message("x^2", {"x"}, {-1}), "Formula: argument outside the domain of ^");
  EXPECT_EQ(message("exp(x)", {"x"}, {1e6}), "Formula: result is not a finite number");
}

TEST(TCalcExpress, EvaluatesManyValueSets) {
  TCalcExpress calc;
  calc.SetVariables({"x", "y"});
  calc.SetFormula("x*10+y");
  for (int x = 0; x < 10; ++x)
    for (int y = 0; y < 10; ++y) EXPECT_EQ(calc.Calculate({double(x), double(y)}), x * 10 + y);
}

std::string Nested(int depth, const std::string& open, const std::string& inner) {
  std::string text;
  for (int i = 0; i < depth; ++i) text += open;
  text += inner;
  text.append(depth, ')');
  return text;
}

std::string Chain(int terms, const std::string& op) {
  std::string text = "1";
  for (int i = 1; i < terms; ++i) text += op + "1";
  return text;
}

TEST(TCalcExpress, DeepFormulasDoNotParseRatherThanOverflowTheStack) {
  constexpr int kNest = TCalcExpress::kMaxNesting;
  constexpr int kDeep = TCalcExpress::kMaxTreeDepth;
  const Case cases[] = {
      Val(Nested(kNest, "(", "1"), 1),
      Invalid(Nested(kNest + 1, "(", "1")),
      Invalid(Nested(1000, "(", "1")),
      Invalid(Nested(100000, "(", "1")),
      Invalid(std::string(100000, '(')),
      Val(Nested(kNest, "sin(", "0"), 0),
      Invalid(Nested(kNest + 1, "sin(", "0")),
      Val(Nested(kNest, "-(", "1"), kNest % 2 ? -1 : 1),
      Invalid(Nested(100000, "-(", "1")),
      Val(Chain(kDeep, "+"), kDeep),  // a sum of n terms is n nodes deep
      Invalid(Chain(kDeep + 1, "+")),
      Invalid(Chain(100000, "*")),
      Val(Chain(kDeep, "^"), 1),
      Invalid(Chain(100000, "^")),
  };
  for (const auto& c : cases) ExpectCase(c);
}

// Restores the C and C++ global locales however the test ends.
class LocaleGuard {
 public:
  LocaleGuard() : c_(std::setlocale(LC_ALL, nullptr)), cpp_(std::locale()) {}
  ~LocaleGuard() {
    std::setlocale(LC_ALL, c_.c_str());
    std::locale::global(cpp_);
  }

 private:
  std::string c_;
  std::locale cpp_;
};

void ExpectPointLiterals() {
  TCalcExpress calc;
  calc.SetVariables({"x"});
  calc.SetFormula("x*1.5+0.25e1");
  EXPECT_EQ(calc.Calculate({2}), 5.5);
  EXPECT_THROW(calc.SetFormula("1,5"), KivError);
}

TEST(TCalcExpress, LiteralsIgnoreAGermanCLocale) {
  LocaleGuard guard;
  const char* names[] = {"de_DE.UTF-8", "de_DE.utf8", "de_DE"};
  bool set = false;
  for (const char* name : names) set = set || std::setlocale(LC_ALL, name) != nullptr;
  if (!set) GTEST_SKIP() << "no German locale installed";
  ASSERT_EQ(*std::localeconv()->decimal_point, ',');
  ExpectPointLiterals();
}

// A comma as decimal point in the C++ global locale.
class CommaPoint : public std::numpunct<char> {
 public:
  // One reference held here, so the locales that share the facet never
  // free it.
  CommaPoint() : std::numpunct<char>(1) {}

 protected:
  char do_decimal_point() const override { return ','; }
};

TEST(TCalcExpress, LiteralsIgnoreACommaCppLocale) {
  LocaleGuard guard;
  static CommaPoint comma;
  std::locale::global(std::locale(std::locale::classic(), &comma));
  ExpectPointLiterals();
}

}  // namespace
