#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "search/RegexMatcher.h"

namespace {

// The error an expression raises when it is compiled, or nullopt.
std::optional<ERegexMatcher> CompileError(const std::string& pattern) {
  TRegexMatcher matcher;
  matcher.SetExpression(pattern);
  try {
    matcher.Compile();
  } catch (const ERegexMatcher& e) {
    return e;
  }
  return std::nullopt;
}

}  // namespace

TEST(RegexErrors, ExpressionErrorsNameTheFaultAndItsPosition) {
  struct Case {
    std::string pattern;
    int code;
    int position;
  } cases[] = {
      {"(", 103, 1},
      {"a(b", 103, 2},
      {"(a(b)", 103, 1},
      {"(?i", 103, 1},
      {")", 104, 1},
      {"a)b", 104, 2},
      {"(a))", 104, 4},
      {"((((((((((((((()))))))))))))))", 102, 15},
      {"(a)(b)(c)(d)(e)(f)(g)(h)(i)(j)(k)(l)(m)(n)(o)", 102, 43},
      {"*a", 115, 1},
      {"a|+b", 115, 3},
      {"(?i)*", 115, 5},
      {"{2}", 115, 1},
      {"(*)", 115, 2},
      {"a**", 107, 3},
      {"a+*", 107, 3},
      {"a*??", 107, 4},
      {"a{2}{3}", 107, 5},
      {"(a*)*", 106, 5},
      {"()+", 106, 3},
      {"\\b*", 106, 3},
      {"(a|)*", 106, 5},
      {"(a?){2,}", 106, 5},
      {"(a*)\\1+", 106, 7},
      {"\\x{zz}", 108, 4},
      {"\\x{12", 108, 6},
      {"[z-a]", 109, 2},
      {"[a-\\d]", 109, 4},
      {"ab\\", 110, 3},
      {"\\x", 111, 3},
      {"\\xg", 111, 3},
      {"\\x{}", 111, 4},
      {"\\x{100}", 112, 4},
      {"\\x{FFFFFFFF}", 112, 4},
      {"[abc", 113, 1},
      {"x[", 113, 2},
      {"[]", 113, 1},
      {"[a\\", 116, 3},
      {"a{99999999999}", 122, 3},
      {"a{1,99999999999}", 122, 5},
      {"a{2147483647}", 122, 3},
      {"a{3,2}", 124, 2},
      {"a(?#abc", 125, 2},
      {"(?q)", 127, 3},
      {"(?:a)", 127, 3},
      {"(?i-m-s)", 127, 6},
  };
  for (const auto& c : cases) {
    const auto error = CompileError(c.pattern);
    ASSERT_TRUE(error.has_value()) << c.pattern;
    EXPECT_EQ(error->ErrorCode(), c.code) << c.pattern << ": " << error->what();
    EXPECT_EQ(error->ErrorPos(), c.position) << c.pattern << ": " << error->what();
  }
}

TEST(RegexErrors, ValidExpressionsNearTheErrorCases) {
  for (const char* pattern : {"a{2147483646}", "(a)(b)(c)(d)(e)(f)(g)(h)(i)(j)(k)(l)(m)(n)",
                              "(a)\\1+", "(a?){2,5}", "\\x{ff}", "[a-a]", "(?)a", "a{,}"}) {
    const auto error = CompileError(pattern);
    EXPECT_FALSE(error.has_value()) << pattern << ": " << error->what();
  }
}

TEST(RegexErrors, MessagesAreTheTextsOfTheirCodes) {
  EXPECT_STREQ(CompileError("(")->what(), "TRegexMatcher(comp): ParseReg Unmatched () (pos 1)");
  EXPECT_STREQ(CompileError("[abc")->what(), "TRegexMatcher(comp): Unmatched [] (pos 1)");
  EXPECT_STREQ(CompileError("ab\\")->what(), "TRegexMatcher(comp): Parse Atom Trailing \\ (pos 3)");
  EXPECT_STREQ(CompileError("\\x{100}")->what(),
               "TRegexMatcher(comp): Hex Code After \\x Is Too Big (pos 4)");
  EXPECT_STREQ(CompileError("a{3,2}")->what(),
               "TRegexMatcher(comp): BRACE Min Param Greater then Max (pos 2)");
  EXPECT_STREQ(CompileError("(?q)")->what(), "TRegexMatcher(comp): Urecognized Modifier (pos 3)");

  struct Text {
    int code;
    const char* text;
  } texts[] = {
      {100, "TRegexMatcher(comp): Null Argument"},
      {105, "TRegexMatcher(comp): ParseReg Junk On End"},
      {119, "TRegexMatcher(comp): RarseAtom Internal Disaster"},
      {125, "TRegexMatcher(comp): Unclosed (?#Comment)"},
      {128,
       "TRegexMatcher(comp): LinePairedSeparator must countain two different chars or no chars at "
       "all"},
      {1003, "TRegexMatcher(exec): Not Assigned Expression Property"},
      {1011, "TRegexMatcher(dump): Corrupted Opcode"},
      {1014, "TRegexMatcher(exec): Loop Stack Exceeded"},
      {1015, "TRegexMatcher(exec): Loop Without LoopEntry !"},
      {2000, "TRegexMatcher(misc): Bad p-code imported"},
      {117, "Unknown error"},
      {0, "Unknown error"},
  };
  for (const auto& t : texts) {
    EXPECT_EQ(RegexErrorText(t.code), t.text) << t.code;
    EXPECT_EQ(ERegexMatcher(t.code).Message(), t.text) << t.code;  // no position
  }
  EXPECT_EQ(ERegexMatcher(109, 7).Message(), "TRegexMatcher(comp): Invalid [] Range (pos 7)");
}

TEST(RegexErrors, MisuseOfTheMatcher) {
  auto code_of = [](auto&& action) {
    try {
      action();
    } catch (const ERegexMatcher& e) {
      EXPECT_STREQ(e.what(), RegexErrorText(e.ErrorCode()).c_str()) << "no position expected";
      return e.ErrorCode();
    }
    return 0;
  };
  TRegexMatcher empty;
  EXPECT_EQ(code_of([&] { empty.Exec("text"); }), 1003);
  EXPECT_EQ(code_of([&] { empty.Compile(); }), 100);
  TRegexMatcher matcher;
  matcher.SetExpression("a");
  EXPECT_EQ(code_of([&] { matcher.ExecPos(1); }), 1005);
  EXPECT_EQ(code_of([&] { matcher.InputString(); }), 1008);
  EXPECT_EQ(code_of([&] { matcher.ExecNext(); }), 1007);
  matcher.SetInputString("aaa");
  EXPECT_EQ(code_of([&] { matcher.ExecPos(0); }), 1006);
  EXPECT_EQ(code_of([&] { matcher.SetLinePairedSeparator("a"); }), 128);
  EXPECT_EQ(code_of([&] { matcher.SetLinePairedSeparator("aa"); }), 128);
  EXPECT_EQ(code_of([&] { matcher.SetLinePairedSeparator("abc"); }), 128);
  EXPECT_EQ(code_of([&] { matcher.SetModifierStr("iq"); }), 127);
  EXPECT_EQ(code_of([&] { matcher.SetModifier('z', true); }), 127);
  EXPECT_EQ(matcher.ModifierStr(), "rsg-imx");  // a refused switch changes nothing
  EXPECT_EQ(matcher.InputString(), "aaa");
}

TEST(RegexErrors, AFaultyExpressionLeavesTheMatcherUsable) {
  TRegexMatcher matcher;
  matcher.SetExpression("(");
  EXPECT_THROW(matcher.Exec("a"), ERegexMatcher);
  EXPECT_THROW(matcher.ExecNext(), ERegexMatcher);  // no search ran
  matcher.SetExpression("a");
  EXPECT_TRUE(matcher.Exec("a"));
}
