// Generated expressions from the common core of the syntax (literals, classes,
// dot, alternation, groups, ? * + and braces, greedy and not, anchors) are run
// over generated lines, and every match and capture is compared with a small,
// obviously correct matcher written here: recursive backtracking with
// continuations, far too slow for the editor but easy to trust. The same runs
// over UTF-8 text, where the reference steps over the line's characters.
#include <gtest/gtest.h>

#include <cctype>
#include <functional>
#include <random>
#include <string>
#include <vector>

#include "platform/UnicodeProperties.h"
#include "platform/Utf8.h"
#include "platform/Utf8CodePage.h"
#include "search/RegexMatcher.h"

namespace {

constexpr int kInf = -1;

// What expressions and lines are made of.
struct Alphabet {
  std::vector<std::string> literals;                  // characters of the expression
  std::vector<char32_t> singles;                      // class members
  std::vector<std::pair<char32_t, char32_t>> ranges;  // class ranges
  std::vector<std::string> text;                      // characters of the lines
};

std::vector<std::string> Chars(const char* ascii) {
  std::vector<std::string> out;
  for (const char* p = ascii; *p; ++p) out.emplace_back(1, *p);
  return out;
}

const Alphabet& AsciiAlphabet() {
  static const Alphabet a{
      Chars("abcAB -"), {'a', 'b', 'c', 'A', ' '}, {{'a', 'b'}}, Chars("aabbcAB -")};
  return a;
}

// Accented letters with their capitals, a letter whose case form lies beyond
// ASCII (the Kelvin sign), a wide character, one beyond 16 bits, a combining
// accent, a byte that does not decode.
const Alphabet& Utf8Alphabet() {
  static const Alphabet a{
      {"a", "é", "É", "k", "K", "日", "😀", "é", " "},
      {'a', 0xE9, 'K', 0x65E5, ' ', 0x3B2},
      {{'a', 'b'}, {0xE0, 0xE9}, {0x3B1, 0x3B3}},
      {"a", "b", "é", "É", "e", "é", "k", "K", "K", "日", "😀", "ÿ", "α", "Β", " ", "-", "́"}};
  return a;
}

struct RNode {
  enum Kind { Lit, Cls, Dot, Bol, Eol, WordB, Group, Cat, Alt, Rep } kind = Lit;
  std::string lit;                                    // Lit: one character
  std::vector<std::pair<char32_t, char32_t>> ranges;  // Cls
  bool negated = false;
  int group = 0;
  int min = 0, max = 0;
  bool greedy = true;
  std::vector<RNode> kids;
};

// ---- generation -----------------------------------------------------------

class Generator {
 public:
  // With nullable_repeats, operands that can match nothing are repeated too
  // (a bounded number of times, as the syntax demands).
  explicit Generator(unsigned seed, bool nullable_repeats = false,
                     const Alphabet& alphabet = AsciiAlphabet())
      : rng_(seed), nullable_repeats_(nullable_repeats), alphabet_(alphabet) {}

  RNode Pattern() {
    groups_ = 0;
    return Alternatives(3);
  }
  std::string Line() {
    std::string line;
    const int n = Int(0, 12);
    for (int k = 0; k < n; ++k) line += Pick(alphabet_.text);
    return line;
  }

 private:
  int Int(int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng_); }
  template <typename T>
  const T& Pick(const std::vector<T>& from) {
    return from.size() == 1
               ? from[0]
               : from[static_cast<std::size_t>(Int(0, static_cast<int>(from.size()) - 1))];
  }

  RNode Alternatives(int depth) {
    if (Int(0, 3) != 0) return Sequence(depth);
    RNode n;
    n.kind = RNode::Alt;
    const int count = Int(2, 3);
    for (int k = 0; k < count; ++k) n.kids.push_back(Sequence(depth));
    return n;
  }

  RNode Sequence(int depth) {
    RNode n;
    n.kind = RNode::Cat;
    const int count = Int(1, 4);
    for (int k = 0; k < count; ++k) n.kids.push_back(Piece(depth));
    return n;
  }

  RNode Piece(int depth) {
    const int pick = Int(0, 19);
    if (pick == 0) return Simple(RNode::Bol);
    if (pick == 1) return Simple(RNode::Eol);
    if (pick == 2) return Simple(RNode::WordB);
    RNode atom = Atom(depth);
    if (Int(0, 2) != 0 || (Nullable(atom) && !nullable_repeats_)) return atom;
    RNode rep;
    rep.kind = RNode::Rep;
    rep.greedy = Int(0, 2) != 0;
    switch (Int(0, 5)) {
      case 0:
        rep.min = 0, rep.max = 1;
        break;
      case 1:
        rep.min = 0, rep.max = kInf;
        break;
      case 2:
        rep.min = 1, rep.max = kInf;
        break;
      case 3:
        rep.min = rep.max = Int(0, 3);
        break;
      case 4:
        rep.min = Int(0, 3), rep.max = kInf;
        break;
      default:
        rep.min = Int(0, 2), rep.max = rep.min + Int(0, 2);
        break;
    }
    if (rep.max == kInf && Nullable(atom)) rep.max = rep.min + 2;
    rep.kids.push_back(std::move(atom));
    return rep;
  }

  RNode Atom(int depth) {
    const int pick = Int(0, 9);
    if (pick <= 4 || depth == 0) {
      if (pick == 0) return Simple(RNode::Dot);
      if (pick == 1) return Class();
      RNode n;
      n.kind = RNode::Lit;
      n.lit = Pick(alphabet_.literals);
      return n;
    }
    if (groups_ >= 14) return Simple(RNode::Dot);
    RNode g;
    g.kind = RNode::Group;
    g.group = ++groups_;
    g.kids.push_back(Alternatives(depth - 1));
    return g;
  }

  RNode Class() {
    RNode n;
    n.kind = RNode::Cls;
    n.negated = Int(0, 3) == 0;
    const int count = Int(1, 2);
    for (int k = 0; k < count; ++k) {
      if (Int(0, 2) == 0) {
        n.ranges.push_back(Pick(alphabet_.ranges));
      } else {
        const char32_t c = Pick(alphabet_.singles);
        n.ranges.emplace_back(c, c);
      }
    }
    return n;
  }

  static RNode Simple(RNode::Kind kind) {
    RNode n;
    n.kind = kind;
    return n;
  }

  static bool Nullable(const RNode& n) {
    switch (n.kind) {
      case RNode::Lit:
      case RNode::Cls:
      case RNode::Dot:
        return false;
      case RNode::Bol:
      case RNode::Eol:
      case RNode::WordB:
        return true;
      case RNode::Group:
        return Nullable(n.kids[0]);
      case RNode::Cat:
        for (const auto& k : n.kids)
          if (!Nullable(k)) return false;
        return true;
      case RNode::Alt:
        for (const auto& k : n.kids)
          if (Nullable(k)) return true;
        return false;
      case RNode::Rep:
        return n.min == 0 || Nullable(n.kids[0]);
    }
    return true;
  }

  std::mt19937 rng_;
  bool nullable_repeats_;
  const Alphabet& alphabet_;
  int groups_ = 0;
};

std::string Encode(char32_t cp) {
  std::string s;
  AppendUtf8(s, cp);
  return s;
}

std::string Render(const RNode& n) {
  switch (n.kind) {
    case RNode::Lit:
      return n.lit;
    case RNode::Cls: {
      std::string s = n.negated ? "[^" : "[";
      for (auto [lo, hi] : n.ranges) {
        s += Encode(lo);
        if (hi != lo) s += "-" + Encode(hi);
      }
      return s + "]";
    }
    case RNode::Dot:
      return ".";
    case RNode::Bol:
      return "^";
    case RNode::Eol:
      return "$";
    case RNode::WordB:
      return "\\b";
    case RNode::Group:
      return "(" + Render(n.kids[0]) + ")";
    case RNode::Cat: {
      std::string s;
      for (const auto& k : n.kids) s += Render(k);
      return s;
    }
    case RNode::Alt: {
      std::string s;
      for (std::size_t k = 0; k < n.kids.size(); ++k) s += (k ? "|" : "") + Render(n.kids[k]);
      return s;
    }
    case RNode::Rep: {
      std::string q;
      if (n.min == 0 && n.max == 1)
        q = "?";
      else if (n.min == 0 && n.max == kInf)
        q = "*";
      else if (n.min == 1 && n.max == kInf)
        q = "+";
      else if (n.max == kInf)
        q = "{" + std::to_string(n.min) + ",}";
      else if (n.min == n.max)
        q = "{" + std::to_string(n.min) + "}";
      else
        q = "{" + std::to_string(n.min) + "," + std::to_string(n.max) + "}";
      return Render(n.kids[0]) + q + (n.greedy ? "" : "?");
    }
  }
  return {};
}

// ---- the reference matcher ------------------------------------------------

// Positions are characters of the line: its bytes, or in UTF-8 a code point
// with the combining marks after it.
class Reference {
 public:
  Reference(const RNode& root, bool ignore_case, bool greedy_mode, bool utf8 = false)
      : root_(root), icase_(ignore_case), greedy_mode_(greedy_mode), utf8_(utf8) {}

  void SetLine(const std::string& text) {
    chars_.clear();
    offsets_.clear();
    for (std::size_t i = 0; i < text.size();) {
      const std::size_t n = utf8_ ? Utf8CodePage().CharLength(text, i) : 1;
      offsets_.push_back(static_cast<int>(i));
      chars_.push_back(text.substr(i, n));
      i += n;
    }
    offsets_.push_back(static_cast<int>(text.size()));
  }
  int Len() const { return static_cast<int>(chars_.size()); }
  // The byte offset of a character position.
  int Offset(int p) const { return offsets_[static_cast<std::size_t>(p)]; }

  // Leftmost match at or after `from`; fills captures (group 0 first).
  bool Search(int from, std::vector<int>& caps) {
    for (int start = from; start <= Len(); ++start) {
      caps_.assign(30, -1);
      int end = -1;
      if (M(root_, start, [&](int p) {
            end = p;
            return true;
          })) {
        caps_[0] = start;
        caps_[1] = end;
        caps = caps_;
        return true;
      }
    }
    return false;
  }

 private:
  using Cont = std::function<bool(int)>;

  const std::string& At(int p) const { return chars_[static_cast<std::size_t>(p)]; }
  bool Same(const std::string& a, const std::string& b) const {
    if (utf8_) {
      const ICodePage& u = Utf8CodePage();
      return icase_ ? u.MapCase(a, TCaseMapping::Fold) == u.MapCase(b, TCaseMapping::Fold) : a == b;
    }
    return icase_ ? std::tolower(static_cast<unsigned char>(a[0])) ==
                        std::tolower(static_cast<unsigned char>(b[0]))
                  : a == b;
  }
  bool InClass(const RNode& n, const std::string& ch) const {
    if (utf8_) {
      // By the character's first code point; a byte that does not decode is in no range.
      const TUtf8Char first = DecodeUtf8(ch, 0, true);
      bool hit = false;
      for (auto [lo, hi] : n.ranges) {
        for (char32_t x = lo; x <= hi && first.Valid; ++x) {
          hit = hit || x == first.CodePoint ||
                (icase_ && SimpleCaseFold(x) == SimpleCaseFold(first.CodePoint));
        }
      }
      return hit != n.negated;
    }
    const char c = ch[0];
    auto in = [&](char x) {
      for (auto [lo, hi] : n.ranges)
        if (x >= static_cast<char>(lo) && x <= static_cast<char>(hi)) return true;
      return false;
    };
    bool hit = in(c);
    if (icase_) {
      hit = hit || in(static_cast<char>(std::tolower(static_cast<unsigned char>(c)))) ||
            in(static_cast<char>(std::toupper(static_cast<unsigned char>(c))));
    }
    return hit != n.negated;
  }
  bool Word(int p) const {
    if (p < 0 || p >= Len()) return false;
    if (utf8_) return Utf8CodePage().IsWordCharAt(At(p), 0);
    const unsigned char c = static_cast<unsigned char>(At(p)[0]);
    return std::isalnum(c) || c == '_';
  }

  bool M(const RNode& n, int pos, const Cont& k) {
    switch (n.kind) {
      case RNode::Lit:
        return pos < Len() && Same(At(pos), n.lit) && k(pos + 1);
      case RNode::Cls:
        return pos < Len() && InClass(n, At(pos)) && k(pos + 1);
      case RNode::Dot:
        return pos < Len() && k(pos + 1);
      case RNode::Bol:
        return pos == 0 && k(pos);
      case RNode::Eol:
        return pos == Len() && k(pos);
      case RNode::WordB:
        return Word(pos - 1) != Word(pos) && k(pos);
      case RNode::Group: {
        const int slot = 2 * n.group;
        const int old_start = caps_[slot], old_end = caps_[slot + 1];
        const bool ok = M(n.kids[0], pos, [&](int p) {
          const int inner_start = caps_[slot], inner_end = caps_[slot + 1];
          caps_[slot] = pos;
          caps_[slot + 1] = p;
          if (k(p)) return true;
          caps_[slot] = inner_start;
          caps_[slot + 1] = inner_end;
          return false;
        });
        if (!ok) {
          caps_[slot] = old_start;
          caps_[slot + 1] = old_end;
        }
        return ok;
      }
      case RNode::Cat:
        return Cat(n, 0, pos, k);
      case RNode::Alt:
        for (const auto& kid : n.kids) {
          if (M(kid, pos, k)) return true;
        }
        return false;
      case RNode::Rep:
        return Rep(n, 0, pos, k);
    }
    return false;
  }

  bool Cat(const RNode& n, std::size_t index, int pos, const Cont& k) {
    if (index == n.kids.size()) return k(pos);
    return M(n.kids[index], pos, [&](int p) { return Cat(n, index + 1, p, k); });
  }

  bool Rep(const RNode& n, int count, int pos, const Cont& k) {
    const bool more = n.max == kInf || count < n.max;
    auto again = [&](int p) { return Rep(n, count + 1, p, k); };
    if (n.greedy && greedy_mode_) {
      if (more && M(n.kids[0], pos, again)) return true;
      return count >= n.min && k(pos);
    }
    if (count >= n.min && k(pos)) return true;
    return more && M(n.kids[0], pos, again);
  }

  const RNode& root_;
  bool icase_;
  bool greedy_mode_;
  bool utf8_;
  std::vector<std::string> chars_;
  std::vector<int> offsets_;
  std::vector<int> caps_;
};

// Every match of a line with the stepping rule of the search engine, as text.
std::string ReferenceMatches(Reference& ref, const std::string& line, int groups) {
  std::string out;
  int from = 0;
  std::vector<int> caps;
  ref.SetLine(line);
  // "pos:len" in bytes of the characters from s to e.
  auto span = [&ref](int s, int e) {
    return std::to_string(ref.Offset(s) + 1) + ":" + std::to_string(ref.Offset(e) - ref.Offset(s));
  };
  while (from <= ref.Len() && ref.Search(from, caps)) {
    out += "[" + span(caps[0], caps[1]);
    for (int g = 1; g <= groups; ++g) {
      const int s = caps[static_cast<std::size_t>(2 * g)];
      out += s < 0 ? " -" : " " + span(s, caps[static_cast<std::size_t>(2 * g + 1)]);
    }
    out += "]";
    from = caps[1] == caps[0] ? caps[1] + 1 : caps[1];
  }
  return out;
}

std::string MatcherMatches(TRegexMatcher& m, const std::string& line, int groups) {
  std::string out;
  bool found = m.Exec(line);
  while (found) {
    out += "[" + std::to_string(m.MatchPos(0)) + ":" + std::to_string(m.MatchLen(0));
    for (int g = 1; g <= groups; ++g) {
      out += m.MatchPos(g) < 0
                 ? " -"
                 : " " + std::to_string(m.MatchPos(g)) + ":" + std::to_string(m.MatchLen(g));
    }
    out += "]";
    found = m.ExecNext();
  }
  return out;
}

int CountGroups(const RNode& n) {
  int count = n.kind == RNode::Group ? 1 : 0;
  for (const auto& k : n.kids) count += CountGroups(k);
  return count;
}

// Compares the matcher with the reference on `rounds` generated expressions,
// six lines each; returns the number of lines compared.
int CompareWithReference(Generator& gen, int rounds, bool utf8,
                         TRegexMatcher::Engine engine = TRegexMatcher::Engine::Automatic) {
  int compared = 0;
  for (int round = 0; round < rounds; ++round) {
    const RNode pattern = gen.Pattern();
    const std::string expression = Render(pattern);
    const int groups = CountGroups(pattern);
    const bool ignore_case = round % 3 == 0;
    const bool greedy_mode = round % 7 != 0;
    TRegexMatcher matcher;
    if (utf8) matcher.SetCodePage(Utf8CodePage());
    matcher.SetEngine(engine);
    matcher.SetModifierI(ignore_case);
    matcher.SetModifierG(greedy_mode);
    matcher.SetExpression(expression);
    Reference ref(pattern, ignore_case, greedy_mode, utf8);
    for (int k = 0; k < 6; ++k) {
      const std::string line = gen.Line();
      std::string actual;
      try {
        actual = MatcherMatches(matcher, line, groups);
      } catch (const ERegexMatcher& e) {
        actual = e.what();
      }
      EXPECT_EQ(actual, ReferenceMatches(ref, line, groups))
          << "/" << expression << "/" << (ignore_case ? "i" : "") << (greedy_mode ? "" : "-g")
          << " on '" << line << "'";
      if (::testing::Test::HasFailure()) return compared;
      ++compared;
    }
  }
  return compared;
}

// The same for the two executors.
int CompareExecutors(Generator& gen, int rounds, bool utf8) {
  int compared = 0;
  for (int round = 0; round < rounds; ++round) {
    const RNode pattern = gen.Pattern();
    const std::string expression = Render(pattern);
    const int groups = CountGroups(pattern);
    TRegexMatcher backtracking, linear;
    for (TRegexMatcher* m : {&backtracking, &linear}) {
      if (utf8) m->SetCodePage(Utf8CodePage());
      m->SetModifierI(round % 3 == 0);
      m->SetModifierG(round % 7 != 0);
      m->SetExpression(expression);
    }
    backtracking.SetEngine(TRegexMatcher::Engine::Backtracking);
    linear.SetEngine(TRegexMatcher::Engine::Linear);
    EXPECT_TRUE(linear.HasLinearForm()) << expression;
    for (int k = 0; k < 6; ++k) {
      const std::string line = gen.Line();
      EXPECT_EQ(MatcherMatches(linear, line, groups), MatcherMatches(backtracking, line, groups))
          << "/" << expression << "/ on '" << line << "'";
      if (::testing::Test::HasFailure()) return compared;
      ++compared;
    }
  }
  return compared;
}

}  // namespace

TEST(RegexCrossCheck, GeneratedExpressionsAgreeWithTheReferenceMatcher) {
  Generator gen(20240607);
  EXPECT_EQ(CompareWithReference(gen, 3000, false), 18000);
}

TEST(RegexCrossCheck, TheLinearExecutorAgreesWithTheBacktrackingOne) {
  Generator gen(20240611, true);
  EXPECT_EQ(CompareExecutors(gen, 3000, false), 18000);
}

TEST(RegexCrossCheck, OnUtf8TextBothExecutorsAgreeWithTheReferenceMatcher) {
  for (auto engine : {TRegexMatcher::Engine::Backtracking, TRegexMatcher::Engine::Linear}) {
    Generator gen(20250301, false, Utf8Alphabet());
    EXPECT_EQ(CompareWithReference(gen, 1500, true, engine), 9000);
  }
  Generator nullable(20250302, true, Utf8Alphabet());
  EXPECT_EQ(CompareExecutors(nullable, 1500, true), 9000);
}
