#pragma once
// The regular-expression matcher's error codes and the exception that carries them.
#include <string>

#include "platform/Exception.h"

namespace regex_error {
enum : int {
  kNullArgument = 100,
  kRegexpTooBig = 101,
  kTooManyGroups = 102,
  kUnmatchedOpen = 103,
  kUnmatchedClose = 104,
  kJunkOnEnd = 105,
  kOperandCouldBeEmpty = 106,
  kNestedQuantifier = 107,
  kBadHexDigit = 108,
  kInvalidRange = 109,
  kParseAtomTrailingBackslash = 110,
  kNoHexCode = 111,
  kHexCodeTooBig = 112,
  kUnmatchedBracket = 113,
  kInternalUrp = 114,
  kQuantifierFollowsNothing = 115,
  kTrailingBackslash = 116,
  kParseAtomInternalDisaster = 119,
  kBracesArgumentTooBig = 122,
  kBraceMinGreaterThanMax = 124,
  kUnclosedComment = 125,
  kUnrecognizedModifier = 127,
  kBadLinePairedSeparator = 128,
  kRegRepeatCalledInappropriately = 1000,
  kMatchPrimMemoryCorruption = 1001,
  kMatchPrimCorruptedPointers = 1002,
  kNoExpression = 1003,
  kCorruptedProgram = 1004,
  kNoInputString = 1005,
  kOffsetMustBePositive = 1006,
  kExecNextWithoutExec = 1007,
  kGetInputStringWithoutInputString = 1008,
  kDumpCorruptedOpcode = 1011,
  kLoopStackExceeded = 1014,
  kLoopWithoutEntry = 1015,
  kBadPCodeImported = 2000,
};
}  // namespace regex_error

// The text the user is shown for an error code ("Unknown error" for any other).
std::string RegexErrorText(int code);

// An error of the matcher. Errors found in the expression itself also carry the
// 1-based position in the expression at which the fault lies, and their message
// ends with " (pos N)".
class ERegexMatcher : public Exception {
 public:
  static constexpr int kNoPosition = -1;
  explicit ERegexMatcher(int code, int position = kNoPosition);

  int ErrorCode() const { return code_; }
  int ErrorPos() const { return position_; }

 private:
  int code_;
  int position_;
};
