// TCalcExpress: an arithmetic formula over named variables, compiled once
// into an expression tree and then evaluated for any number of value sets.
// Slide transitions use it: their formulas see x, y, width, height, offsetx
// and offsety and are evaluated at every step of the slide, so parsing is
// kept out of the evaluation entirely.
//
// The formula is kept in lower case. It knows + - * / ^, parentheses,
// number literals ("." as decimal separator, optional exponent), the
// variables named in Variables() (case-insensitively) and the functions cos,
// sin, tg, ctg, abs, sgn/sign, sqrt, ln, exp, arcsin, arccos, arctg, arcctg,
// sh, ch, th, cth and heaviside/h. A power's exponent is always a literal,
// written bare or in parentheses: 2^3, 2^(-1).
//
// Setting the formula or the variables parses at once; a formula that does
// not parse raises KivError("Error in Formula") and leaves no tree, so that
// Calculate then fails until a valid formula is set.
//
// Values are doubles. Calculate raises KivError when the value cannot be
// had: an unknown variable or one without a value, a division by zero, ln
// or a power of a number that is not above zero, sqrt of a negative number,
// arcsin or arccos outside [-1, 1], or any operation whose result is not a
// finite number (an overflow, or a NaN coming out of an operation). A NaN or
// infinite value handed in for a variable is passed on as it is: sgn and h
// of NaN give 0, and the first operation whose result is not finite fails.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace vorel {

class TCalcExpress {
 public:
  // The kinds of tokens and of tree nodes; one code serves both. Functions
  // keep their argument in the node's left child, binary operators use both
  // children, Negate its left one.
  enum class Kind : uint8_t {
    End = 0,
    Open = 1,
    Close = 2,
    Plus = 3,
    Minus = 4,
    Times = 5,
    Divide = 6,
    Number = 7,
    Variable = 8,
    Negate = 9,
    Cos = 10,
    Sin = 11,
    Tg = 12,
    Ctg = 13,
    Abs = 14,
    Sgn = 15,
    Sqrt = 16,
    Ln = 17,
    Exp = 18,
    Arcsin = 19,
    Arccos = 20,
    Arctg = 21,
    Arcctg = 22,
    Sh = 23,
    Ch = 24,
    Th = 25,
    Cth = 26,
    Heaviside = 27,
    Power = 31,
  };

  // NOTE: parentheses and function calls may nest at most kMaxNesting deep
  // and the tree may be at most kMaxTreeDepth nodes deep (a sum of n terms
  // is n deep); a deeper formula does not parse. Parsing, evaluating and
  // freeing the tree all recurse, and these bounds keep them far from the
  // end of any thread's stack.
  static constexpr int kMaxNesting = 200;
  static constexpr int kMaxTreeDepth = 1000;

  // Formula "0", no variables.
  TCalcExpress();
  ~TCalcExpress();
  TCalcExpress(TCalcExpress&&) noexcept;
  TCalcExpress& operator=(TCalcExpress&&) noexcept;

  const std::string& Formula() const { return formula_; }
  // Keeps the text (in lower case) even when it does not parse.
  void SetFormula(std::string_view formula);

  const std::vector<std::string>& Variables() const { return variables_; }
  // Variables are resolved while parsing, so the formula is parsed again.
  void SetVariables(std::vector<std::string> variables);

  // Whether a parsed tree is held.
  bool Valid() const { return tree_ != nullptr; }

  // One value per variable, in the order of Variables().
  double Calculate(std::span<const double> values) const;
  double Calculate(std::initializer_list<double> values) const {
    return Calculate(std::span<const double>(values.begin(), values.size()));
  }

  // A tree node; only the parser and the evaluator see inside it.
  struct Node;

 private:
  void Compile();

  std::string formula_ = "0";
  std::vector<std::string> variables_;
  std::unique_ptr<Node> tree_;
  // Found while parsing, so that the evaluation reads leaves unchecked: the
  // highest variable index the tree reads, and why it can never be
  // evaluated (an unknown variable, a literal beyond the range of a double).
  int lastIndex_ = -1;
  const char* failure_ = nullptr;
};

}  // namespace vorel
