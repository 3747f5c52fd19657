#pragma once
// Shared by the regular-expression tests: every match of a text as "pos:len"
// items, the way the search engine walks them.
#include <string>
#include <string_view>

#include "search/RegexMatcher.h"

inline std::string AllMatches(TRegexMatcher& matcher, std::string_view text) {
  std::string out;
  bool found = matcher.Exec(text);
  while (found) {
    if (!out.empty()) out += ' ';
    out += std::to_string(matcher.MatchPos(0)) + ":" + std::to_string(matcher.MatchLen(0));
    found = matcher.ExecNext();
  }
  return out.empty() ? "-" : out;
}
