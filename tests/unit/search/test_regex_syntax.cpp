#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "RegexTestHelpers.h"
#include "search/RegexMatcher.h"

namespace {

struct Case {
  std::string pattern;
  std::string modifiers;  // applied with SetModifierStr before the search
  std::string text;
  std::string matches;  // every match, "pos:len ..." or "-"
};

void RunCases(const std::vector<Case>& cases) {
  for (const auto& c : cases) {
    TRegexMatcher matcher;
    matcher.SetModifierStr(c.modifiers);
    matcher.SetExpression(c.pattern);
    try {
      EXPECT_EQ(AllMatches(matcher, c.text), c.matches)
          << "/" << c.pattern << "/" << c.modifiers << " on '" << c.text << "'";
    } catch (const ERegexMatcher& e) {
      ADD_FAILURE() << "/" << c.pattern << "/ raised " << e.what();
    }
  }
}

}  // namespace

TEST(RegexSyntax, LiteralsDotsAndEscapes) {
  RunCases({
      {"send", "", "sendln send", "1:4 8:4"},
      {"a+", "i", "AaB aa", "1:2 5:2"},
      {"a+", "", "AaB aa", "2:1 5:2"},
      {"x*", "", "ab", "1:0 2:0 3:0"},
      {"a*", "", "baa", "1:0 2:2 4:0"},
      {"a.c", "", "abc a\nc", "1:3 5:3"},
      {"a.c", "-s", "abc a\nc a\rc", "1:3"},
      {"\\.", "", "a.b", "2:1"},
      {"\\\\", "", "a\\b", "2:1"},
      {"\\t\\n\\r\\f\\a\\e", "", std::string("x\t\n\r\f\x07\x1b", 7), "2:6"},
      {"\\x41\\x{42}\\x{0043}", "", "zABC", "2:3"},
      {"\\x4g", "", "\x04g", "1:2"},
      {"\\q\\-\\]", "", "q-]", "1:3"},
      {std::string("a\0b", 3), "", std::string("a\0b ab", 6), "1:3"},
      {"\\x00", "", std::string("a\0", 2), "2:1"},
      {"a{", "", "a{", "1:2"},
      {"a{x}", "", "a{x}", "1:4"},
      {"a{,2}", "", "a{,2}", "1:5"},
      {"}]", "", "}]", "1:2"},
  });
}

TEST(RegexSyntax, Classes) {
  RunCases({
      {"[abc]", "", "xxbx", "3:1"},
      {"[^abc]+", "", "abxyc", "3:2"},
      {"[a-c]+", "", "zzabcd", "3:3"},
      {"[]a]+", "", "x]a]", "2:3"},
      {"[^]a]", "", "]ab", "3:1"},
      {"[\\d]+", "", "ab123c", "3:3"},
      {"[\\w-]+", "", "a-b c", "1:3 5:1"},
      {"[a-]+", "", "-a-", "1:3"},
      {"[\\x41-\\x43]+", "", "zABCD", "2:3"},
      {"[\\]\\\\]+", "", "a]\\b", "2:2"},
      {"[\\s\\d]+", "", "ab 1\t2c", "3:4"},
      {"[^\\W\\d]+", "", "12ab_3", "3:3"},
      {"[A-Z]+", "i", "abcXYZ1", "1:6"},
      {"[^a]", "i", "AaB", "3:1"},
  });
}

TEST(RegexSyntax, ShorthandsBoundariesAndAnchors) {
  RunCases({
      {"\\d+", "", "ab12", "3:2"},
      {"\\D+", "", "12ab", "3:2"},
      {"\\w+", "", "  ab_1 ", "3:4"},
      {"\\W+", "", "ab  cd", "3:2"},
      {"\\s+", "", "a \t\fb", "2:3"},
      {"\\S+", "", "  ab", "3:2"},
      // Word characters are ASCII only.
      {"\\w+", "", "caf\xE9s", "1:3 5:1"},
      {"\\bwait\\b", "", "waitln wait", "8:4"},
      {"\\Bai\\B", "", "wait", "2:2"},
      {"\\b", "", "ab cd", "1:0 3:0 4:0 6:0"},
      {"^ab", "", "ab ab", "1:2"},
      {"ab$", "", "ab ab", "4:2"},
      {"\\Aab", "", "ab ab", "1:2"},
      {"ab\\Z", "", "ab ab", "4:2"},
      {"^b", "", "a\nb", "-"},
      {"^b", "m", "a\nb", "3:1"},
      {"a$", "m", "a\r\nb", "1:1"},
      // Between the CR and LF of a pair there is no line start or end.
      {"^", "m", "a\r\nb", "1:0 4:0"},
      {"$", "m", "a\r\nb", "2:0 5:0"},
      {"^", "m", "a\rb\nc", "1:0 3:0 5:0"},
      {"\\A", "m", "a\nb", "1:0"},
  });
}

TEST(RegexSyntax, AlternationAndGroups) {
  RunCases({
      {"cat|dog", "", "hotdog cat", "4:3 8:3"},
      {"a|ab", "", "ab", "1:1"},  // the first alternative that matches wins
      {"(a|ab)(c|bcd)", "", "abcd", "1:4"},
      {"a(|b)c", "", "ac abc", "1:2 4:3"},
      {"(a+b)+", "", "abaabx", "1:5"},
      {"send(ln)? '", "", "send 'a' sendln 'b' sendkcode 'c'", "1:6 10:8"},
  });
}

TEST(RegexSyntax, Repetition) {
  RunCases({
      {"a{2}", "", "aaa", "1:2"},
      {"a{2,}", "", "aaaa", "1:4"},
      {"a{1,2}", "", "aaa", "1:2 3:1"},
      {"a{0}b", "", "ab", "2:1"},
      {"(ab){2}", "", "ababab", "1:4"},
      {"(ab){2,}", "", "ababab", "1:6"},
      {"(a|b){3}", "", "abba", "1:3"},
      {"(a?){3}", "", "aa", "1:2 3:0"},
      {"(a|bc){2,3}d", "", "abcbcd", "1:6"},
      {"(a|bc){2}d", "", "abcbcd", "2:5"},
      {"x(ab){0,2}y", "", "xy xaby xababy xabababy", "1:2 4:4 9:6"},
      // Non-greedy forms and the g modifier.
      {"a+?", "", "aaa", "1:1 2:1 3:1"},
      {"a*?b", "", "aab", "1:3"},
      {"<.+?>", "", "<a><b>", "1:3 4:3"},
      {"<.+>", "", "<a><b>", "1:6"},
      {"<.+>", "-g", "<a><b>", "1:3 4:3"},
      {"a{2,3}?", "", "aaaa", "1:2 3:2"},
      {"a??b", "", "ab", "1:2"},
      {"(ab)*?c", "", "ababc", "1:5"},
      {"(ab){1,3}?", "", "ababab", "1:2 3:2 5:2"},
      {"(ab)+?", "", "abab", "1:2 3:2"},
      {"\\d{3,}?x", "", "12345x", "1:6"},
  });
}

TEST(RegexSyntax, BackReferences) {
  RunCases({
      {"(a+)b\\1", "", "aabaa", "1:5"},
      {"(a+)b\\1", "", "aaba", "2:3"},
      {"(a)\\1", "", "aA", "-"},
      {"(a)\\1", "i", "aA", "1:2"},
      {"(a)|b\\1", "", "b", "-"},  // a group that took no part matches nothing
      {"(\\w)\\1", "", "hello", "3:2"},
      {"\\2(a)", "", "aa", "-"},
  });
}

TEST(RegexSyntax, ABackReferenceInsideItsOwnGroupSeesThePreviousPass) {
  struct {
    const char* pattern;
    const char* text;
    const char* match;   // "-" for none
    const char* group1;  // the group's text after the match
  } cases[] = {
      {"^(a\\1?){4}$", "aaaaa", "aaaaa", "a"},
      {"^(a\\1?){4}$", "aaaaaa", "aaaaaa", "aa"},
      {"^(a\\1?){4}$", "aaaaaaa", "aaaaaaa", "a"},
      {"^(a\\1?){4}$", "aaaaaaaaaa", "aaaaaaaaaa", "aaaa"},
      {"^(a\\1?){4}$", "aaaaaaaaaaa", "-", ""},
      {"^(a|b\\1){2}", "aba", "aba", "ba"},
      {"^(a|b\\1)+$", "ababbabbba", "ababbabbba", "bbba"},
      {"(a\\1)", "aa", "-", ""},  // on the first pass the group has no capture yet
  };
  for (const auto& c : cases) {
    TRegexMatcher matcher;
    matcher.SetExpression(c.pattern);
    const bool found = matcher.Exec(c.text);
    EXPECT_EQ(found ? matcher.Match(0) : "-", c.match) << c.pattern << " on " << c.text;
    EXPECT_EQ(matcher.Match(1), c.group1) << c.pattern << " on " << c.text;
  }
}

TEST(RegexSyntax, ModifiersSwitchedInsideTheExpression) {
  RunCases({
      {"a(?i)b", "", "aB AB", "1:2"},
      {"(?i)a(?-i)b", "", "Ab AB", "1:2"},
      {"(?I)a", "", "A", "1:1"},
      {"(?-s).", "", "\na", "2:1"},
      {"(?m)^b", "", "a\nb", "3:1"},
      {"(?-g)a+", "", "aa", "1:1 2:1"},
      {"(?i-g)A+", "", "aa", "1:1 2:1"},
      {"(?x) a b # comment\n c", "", "abc", "1:3"},
      {"(?x)a\\ b", "", "a b", "1:3"},
      {"(?x)[ ]", "", "a b", "2:1"},
      {"(?x)a +", "", "aa", "1:2"},
      {"a(?#comment)b", "", "ab", "1:2"},
      {"(?#)a", "", "a", "1:1"},
  });
}

TEST(RegexSyntax, CyrillicRangesTakeInTheLettersYo) {
  // In the Cyrillic code page the small letters run 0xE0-0xFF and the capitals
  // 0xC0-0xDF, but yo (0xB8) and YO (0xA8) lie outside those runs.
  RunCases({
      {"[\xE0-\xFF]", "", "\xB8", "1:1"},
      {"[\xE0-\xFF]", "-r", "\xB8", "-"},
      {"[\xC0-\xDF]", "", "\xA8\xB8", "1:1"},
      {"[\xC0-\xFF]+", "", "\xA8\xB8", "1:2"},
      {"[\xC0-\xFF]+", "-r", "\xA8\xB8", "-"},
  });
}

TEST(RegexSyntax, GroupsAreNumberedByTheirOpeningParenthesis) {
  TRegexMatcher matcher;
  matcher.SetExpression("((a)(b))(x)?c");
  ASSERT_TRUE(matcher.Exec("zabc"));
  EXPECT_EQ(matcher.Match(0), "abc");
  EXPECT_EQ(matcher.Match(1), "ab");
  EXPECT_EQ(matcher.Match(2), "a");
  EXPECT_EQ(matcher.Match(3), "b");
  EXPECT_EQ(matcher.MatchPos(3), 3);
  EXPECT_EQ(matcher.MatchPos(4), -1);  // optional group that took no part
  EXPECT_EQ(matcher.MatchLen(4), -1);
  EXPECT_EQ(matcher.SubExprMatchCount(), 3);

  std::string fourteen;
  for (int k = 0; k < 14; ++k) fourteen += "(.)";
  matcher.SetExpression(fourteen);
  ASSERT_TRUE(matcher.Exec("abcdefghijklmn"));
  EXPECT_EQ(matcher.Match(14), "n");
  EXPECT_EQ(matcher.SubExprMatchCount(), 14);
}

TEST(RegexSyntax, CapturesAreUndoneWhenTheMatcherBacktracks) {
  struct GroupCase {
    const char* pattern;
    const char* text;
    std::vector<std::string> groups;  // group 0 first
  } cases[] = {
      {"(a)*ab", "aab", {"aab", "a"}},
      {"(a|b)*c", "abac", {"abac", "a"}},
      {"(x)?(a)b|(a)c", "ac", {"ac", "", "", "a"}},
      {"(a{1,2}?)(a*)", "aaa", {"aaa", "a", "aa"}},
      {"((a)|b){2}", "ab", {"ab", "b", "a"}},
  };
  for (const auto& c : cases) {
    TRegexMatcher matcher;
    matcher.SetExpression(c.pattern);
    ASSERT_TRUE(matcher.Exec(c.text)) << c.pattern;
    for (std::size_t g = 0; g < c.groups.size(); ++g) {
      EXPECT_EQ(matcher.Match(static_cast<int>(g)), c.groups[g]) << c.pattern << " group " << g;
    }
  }
}

TEST(RegexSyntax, ExecPosStartsLaterButSeesTheTextBefore) {
  TRegexMatcher matcher;
  matcher.SetExpression("\\ba");
  matcher.SetInputString("aa a");
  EXPECT_TRUE(matcher.ExecPos(2));
  EXPECT_EQ(matcher.MatchPos(0), 4);
  matcher.SetExpression("^a");
  EXPECT_FALSE(matcher.ExecPos(2));
  EXPECT_TRUE(matcher.ExecPos(1));
  EXPECT_FALSE(matcher.ExecPos(6));  // beyond the end: nothing, no error
  matcher.SetExpression("a*");
  EXPECT_TRUE(matcher.ExecPos(5));  // just after the end: the empty match
  EXPECT_EQ(matcher.MatchPos(0), 5);
}

TEST(RegexSyntax, ModifiersHaveTheirDefaultsAndRecompile) {
  TRegexMatcher matcher;
  EXPECT_EQ(matcher.ModifierStr(), "rsg-imx");
  EXPECT_FALSE(matcher.ModifierI());
  EXPECT_TRUE(matcher.ModifierR());
  EXPECT_TRUE(matcher.ModifierS());
  EXPECT_TRUE(matcher.ModifierG());
  EXPECT_FALSE(matcher.ModifierM());
  EXPECT_FALSE(matcher.ModifierX());
  matcher.SetExpression("send");
  EXPECT_FALSE(matcher.Exec("SEND"));
  matcher.SetModifierI(true);
  EXPECT_TRUE(matcher.Exec("SEND"));
  matcher.SetModifierStr("M-GI");
  EXPECT_EQ(matcher.ModifierStr(), "rsm-igx");
  EXPECT_TRUE(matcher.Modifier('m'));
  EXPECT_FALSE(matcher.Exec("SEND"));
  EXPECT_EQ(matcher.LineSeparators(), "\n\r");
  EXPECT_EQ(matcher.LinePairedSeparator(), "\r\n");
}

TEST(RegexSyntax, OtherLineSeparators) {
  TRegexMatcher matcher;
  matcher.SetModifierStr("m-s");
  matcher.SetLineSeparators(";");
  matcher.SetLinePairedSeparator("");
  matcher.SetExpression("^.");
  EXPECT_EQ(AllMatches(matcher, "a;b\nc"), "1:1 3:1");
  matcher.SetLinePairedSeparator("|;");
  matcher.SetExpression("$");
  EXPECT_EQ(AllMatches(matcher, "a|;b"), "2:0 5:0");
}
