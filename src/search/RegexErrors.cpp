#include "search/RegexErrors.h"

std::string RegexErrorText(int code) {
  using namespace regex_error;
  switch (code) {
    case kNullArgument:
      return "TRegexMatcher(comp): Null Argument";
    case kRegexpTooBig:
      return "TRegexMatcher(comp): Regexp Too Big";
    case kTooManyGroups:
      return "TRegexMatcher(comp): ParseReg Too Many ()";
    case kUnmatchedOpen:
    case kUnmatchedClose:
      return "TRegexMatcher(comp): ParseReg Unmatched ()";
    case kJunkOnEnd:
      return "TRegexMatcher(comp): ParseReg Junk On End";
    case kOperandCouldBeEmpty:
      return "TRegexMatcher(comp): *+ Operand Could Be Empty";
    case kNestedQuantifier:
      return "TRegexMatcher(comp): Nested *?+";
    case kBadHexDigit:
      return "TRegexMatcher(comp): Bad Hex Digit";
    case kInvalidRange:
      return "TRegexMatcher(comp): Invalid [] Range";
    case kParseAtomTrailingBackslash:
      return "TRegexMatcher(comp): Parse Atom Trailing \\";
    case kNoHexCode:
      return "TRegexMatcher(comp): No Hex Code After \\x";
    case kHexCodeTooBig:
      return "TRegexMatcher(comp): Hex Code After \\x Is Too Big";
    case kUnmatchedBracket:
      return "TRegexMatcher(comp): Unmatched []";
    case kInternalUrp:
      return "TRegexMatcher(comp): Internal Urp";
    case kQuantifierFollowsNothing:
      return "TRegexMatcher(comp): ?+*{ Follows Nothing";
    case kTrailingBackslash:
      return "TRegexMatcher(comp): Trailing \\";
    case kParseAtomInternalDisaster:
      return "TRegexMatcher(comp): RarseAtom Internal Disaster";
    case kBracesArgumentTooBig:
      return "TRegexMatcher(comp): BRACES Argument Too Big";
    case kBraceMinGreaterThanMax:
      return "TRegexMatcher(comp): BRACE Min Param Greater then Max";
    case kUnclosedComment:
      return "TRegexMatcher(comp): Unclosed (?#Comment)";
    case kUnrecognizedModifier:
      return "TRegexMatcher(comp): Urecognized Modifier";
    case kBadLinePairedSeparator:
      return "TRegexMatcher(comp): LinePairedSeparator must countain two different chars or no "
             "chars at all";
    case kRegRepeatCalledInappropriately:
      return "TRegexMatcher(exec): RegRepeat Called Inappropriately";
    case kMatchPrimMemoryCorruption:
      return "TRegexMatcher(exec): MatchPrim Memory Corruption";
    case kMatchPrimCorruptedPointers:
      return "TRegexMatcher(exec): MatchPrim Corrupted Pointers";
    case kNoExpression:
      return "TRegexMatcher(exec): Not Assigned Expression Property";
    case kCorruptedProgram:
      return "TRegexMatcher(exec): Corrupted Program";
    case kNoInputString:
      return "TRegexMatcher(exec): No Input String Specified";
    case kOffsetMustBePositive:
      return "TRegexMatcher(exec): Offset Must Be Greater Then 0";
    case kExecNextWithoutExec:
      return "TRegexMatcher(exec): ExecNext Without Exec[Pos]";
    case kGetInputStringWithoutInputString:
      return "TRegexMatcher(exec): GetInputString Without InputString";
    case kDumpCorruptedOpcode:
      return "TRegexMatcher(dump): Corrupted Opcode";
    case kLoopStackExceeded:
      return "TRegexMatcher(exec): Loop Stack Exceeded";
    case kLoopWithoutEntry:
      return "TRegexMatcher(exec): Loop Without LoopEntry !";
    case kBadPCodeImported:
      return "TRegexMatcher(misc): Bad p-code imported";
    default:
      return "Unknown error";
  }
}

namespace {
std::string ComposeMessage(int code, int position) {
  std::string message = RegexErrorText(code);
  if (position != ERegexMatcher::kNoPosition) {
    message += " (pos " + std::to_string(position) + ")";
  }
  return message;
}
}  // namespace

ERegexMatcher::ERegexMatcher(int code, int position)
    : Exception(ComposeMessage(code, position)), code_(code), position_(position) {}
