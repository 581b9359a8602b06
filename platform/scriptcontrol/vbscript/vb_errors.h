// VBScript's errors: the numbers scripts see in Err.Number for the
// language's own failures (13 "Type mismatch", 1002 "Syntax error"), their
// texts in one table (vb_error_texts.cpp), and VbError, the one exception
// every stage throws. The stage that knows the place (the lexer and parser
// for compile errors, the interpreter for run-time ones) fills in line and
// column; the engine turns a VbError into the script control's error.
#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>

namespace scriptcontrol::vbscript {

// Run-time errors.
inline constexpr int32_t kErrInvalidCall = 5;  // Invalid procedure call or argument
inline constexpr int32_t kErrOverflow = 6;
inline constexpr int32_t kErrOutOfMemory = 7;
inline constexpr int32_t kErrSubscript = 9;        // Subscript out of range
inline constexpr int32_t kErrArrayLocked = 10;     // This array is fixed or temporarily locked
inline constexpr int32_t kErrDivisionByZero = 11;
inline constexpr int32_t kErrTypeMismatch = 13;
inline constexpr int32_t kErrOutOfStack = 28;      // Out of stack space
inline constexpr int32_t kErrNotDefined = 35;      // Sub or Function not defined
inline constexpr int32_t kErrFileNotFound = 53;
inline constexpr int32_t kErrObjectNotSet = 91;    // Object variable not set
inline constexpr int32_t kErrForNotInitialized = 92;
inline constexpr int32_t kErrInvalidNull = 94;     // Invalid use of Null
inline constexpr int32_t kErrObjectRequired = 424;
inline constexpr int32_t kErrCannotCreate = 429;   // ActiveX component can't create object
inline constexpr int32_t kErrNoSuchMember = 438;   // Object doesn't support this property or method
inline constexpr int32_t kErrAutomation = 440;     // Automation error
inline constexpr int32_t kErrNoAction = 445;       // Object doesn't support this action
inline constexpr int32_t kErrNotOptional = 449;    // Argument not optional
inline constexpr int32_t kErrWrongArgCount = 450;  // Wrong number of arguments or invalid property assignment
inline constexpr int32_t kErrNotCollection = 451;  // Object not a collection
inline constexpr int32_t kErrUndefined = 500;      // Variable is undefined
inline constexpr int32_t kErrIllegalAssignment = 501;
inline constexpr int32_t kErrClassNotDefined = 506;
inline constexpr int32_t kErrTimeout = 1096;  // not VBScript's: the host stopped a script that ran too long

// Compile errors.
inline constexpr int32_t kErrSyntax = 1002;
inline constexpr int32_t kErrExpectedColon = 1003;
inline constexpr int32_t kErrExpectedLParen = 1005;
inline constexpr int32_t kErrExpectedRParen = 1006;
inline constexpr int32_t kErrExpectedIdentifier = 1010;
inline constexpr int32_t kErrExpectedEquals = 1011;
inline constexpr int32_t kErrExpectedIf = 1012;
inline constexpr int32_t kErrExpectedTo = 1013;
inline constexpr int32_t kErrExpectedEnd = 1014;
inline constexpr int32_t kErrExpectedFunction = 1015;
inline constexpr int32_t kErrExpectedSub = 1016;
inline constexpr int32_t kErrExpectedThen = 1017;
inline constexpr int32_t kErrExpectedWend = 1018;
inline constexpr int32_t kErrExpectedLoop = 1019;
inline constexpr int32_t kErrExpectedNext = 1020;
inline constexpr int32_t kErrExpectedCase = 1021;
inline constexpr int32_t kErrExpectedSelect = 1022;
inline constexpr int32_t kErrExpectedExpression = 1023;
inline constexpr int32_t kErrExpectedStatement = 1024;
inline constexpr int32_t kErrExpectedEndOfStatement = 1025;
inline constexpr int32_t kErrExpectedInteger = 1026;
inline constexpr int32_t kErrExpectedWhileUntil = 1027;
inline constexpr int32_t kErrExpectedWhileUntilEnd = 1028;
inline constexpr int32_t kErrExpectedWith = 1029;
inline constexpr int32_t kErrIdentifierTooLong = 1030;
inline constexpr int32_t kErrInvalidNumber = 1031;
inline constexpr int32_t kErrInvalidCharacter = 1032;
inline constexpr int32_t kErrUnterminatedString = 1033;
inline constexpr int32_t kErrInvalidMe = 1037;
inline constexpr int32_t kErrLoopWithoutDo = 1038;
inline constexpr int32_t kErrInvalidExit = 1039;
inline constexpr int32_t kErrInvalidForVariable = 1040;
inline constexpr int32_t kErrNameRedefined = 1041;
inline constexpr int32_t kErrMustBeFirst = 1042;
inline constexpr int32_t kErrAssignNonByVal = 1043;
inline constexpr int32_t kErrParenthesesInSubCall = 1044;
inline constexpr int32_t kErrExpectedLiteral = 1045;
inline constexpr int32_t kErrExpectedIn = 1046;
inline constexpr int32_t kErrExpectedClass = 1047;
inline constexpr int32_t kErrMustBeInClass = 1048;
inline constexpr int32_t kErrExpectedLetSetGet = 1049;
inline constexpr int32_t kErrExpectedProperty = 1050;
inline constexpr int32_t kErrInconsistentArgs = 1051;
inline constexpr int32_t kErrMultipleDefault = 1052;
inline constexpr int32_t kErrInitTerminateArgs = 1053;
inline constexpr int32_t kErrPropertyNeedsArgument = 1054;
inline constexpr int32_t kErrUnexpectedNext = 1055;
inline constexpr int32_t kErrDefaultPlacement = 1056;
inline constexpr int32_t kErrDefaultNotPublic = 1057;
inline constexpr int32_t kErrDefaultNotGet = 1058;

// Compile errors are the numbers from 1001 to 1999.
constexpr bool IsCompileError(int32_t number) { return number > 1000 && number < 2000 && number != kErrTimeout; }

// VBScript's text for one of its numbers; "Unknown runtime error" for a
// number it has none for.
const char* ErrorText(int32_t number);

class VbError : public std::runtime_error {
 public:
  // The table's text.
  explicit VbError(int32_t number);
  VbError(int32_t number, std::string description, std::string source = {});

  int32_t Number() const { return number_; }
  const std::string& Description() const { return description_; }
  // Empty for the language's own errors: the engine gives the source as
  // "Microsoft VBScript runtime error" or "... compilation error". Errors
  // raised by scripts (Err.Raise) and by objects carry their own.
  const std::string& Source() const { return source_; }
  // 1-based; 0 while no stage has placed the error yet.
  int32_t Line() const { return line_; }
  int32_t Column() const { return column_; }
  // The name a report adds to the description ("Variable is undefined:
  // 'x'"); Err.Description leaves it out, as VBScript's does.
  const std::string& Name() const { return name_; }
  VbError& Named(std::string name) {
    name_ = std::move(name);
    return *this;
  }
  bool Placed() const { return line_ > 0; }
  void Place(int32_t line, int32_t column) {
    line_ = line;
    column_ = column;
  }

 private:
  int32_t number_;
  std::string description_;
  std::string source_;
  std::string name_;
  int32_t line_ = 0;
  int32_t column_ = 0;
};

[[noreturn]] void Throw(int32_t number);

}  // namespace scriptcontrol::vbscript
