// Generated expressions from the common core of the syntax (literals, classes,
// dot, alternation, groups, ? * + and braces, greedy and not, anchors) are run
// over generated lines, and every match and capture is compared with a small,
// obviously correct matcher written here: recursive backtracking with
// continuations, far too slow for the editor but easy to trust.
#include <gtest/gtest.h>

#include <cctype>
#include <functional>
#include <random>
#include <string>
#include <vector>

#include "search/RegexMatcher.h"

namespace {

constexpr int kInf = -1;

struct RNode {
  enum Kind { Lit, Cls, Dot, Bol, Eol, WordB, Group, Cat, Alt, Rep } kind = Lit;
  char c = 0;
  std::vector<std::pair<char, char>> ranges;  // Cls
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
  explicit Generator(unsigned seed, bool nullable_repeats = false)
      : rng_(seed), nullable_repeats_(nullable_repeats) {}

  RNode Pattern() {
    groups_ = 0;
    return Alternatives(3);
  }
  std::string Line() {
    static const char alphabet[] = "aabbcAB -";
    std::string line;
    const int n = Int(0, 12);
    for (int k = 0; k < n; ++k) line += alphabet[Int(0, 8)];
    return line;
  }

 private:
  int Int(int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng_); }

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
      n.c = "abcAB -"[Int(0, 6)];
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
        n.ranges.emplace_back('a', 'b');
      } else {
        const char c = "abcA "[Int(0, 4)];
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
  int groups_ = 0;
};

std::string Render(const RNode& n) {
  switch (n.kind) {
    case RNode::Lit:
      return std::string(1, n.c);
    case RNode::Cls: {
      std::string s = n.negated ? "[^" : "[";
      for (auto [lo, hi] : n.ranges) {
        s += lo;
        if (hi != lo) s += std::string("-") + hi;
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

class Reference {
 public:
  Reference(const RNode& root, bool ignore_case, bool greedy_mode)
      : root_(root), icase_(ignore_case), greedy_mode_(greedy_mode) {}

  // Leftmost match at or after `from`; fills captures (group 0 first).
  bool Search(const std::string& text, int from, std::vector<int>& caps) {
    text_ = &text;
    for (int start = from; start <= static_cast<int>(text.size()); ++start) {
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

  int Len() const { return static_cast<int>(text_->size()); }
  char At(int p) const { return (*text_)[static_cast<std::size_t>(p)]; }
  bool Same(char a, char b) const {
    return icase_ ? std::tolower(static_cast<unsigned char>(a)) ==
                        std::tolower(static_cast<unsigned char>(b))
                  : a == b;
  }
  bool InClass(const RNode& n, char c) const {
    auto in = [&](char x) {
      for (auto [lo, hi] : n.ranges)
        if (x >= lo && x <= hi) return true;
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
    const unsigned char c = static_cast<unsigned char>(At(p));
    return std::isalnum(c) || c == '_';
  }

  bool M(const RNode& n, int pos, const Cont& k) {
    switch (n.kind) {
      case RNode::Lit:
        return pos < Len() && Same(At(pos), n.c) && k(pos + 1);
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
  const std::string* text_ = nullptr;
  std::vector<int> caps_;
};

// Every match of a line with the stepping rule of the search engine, as text.
std::string ReferenceMatches(Reference& ref, const std::string& line, int groups) {
  std::string out;
  int from = 0;
  std::vector<int> caps;
  while (from <= static_cast<int>(line.size()) && ref.Search(line, from, caps)) {
    out += "[" + std::to_string(caps[0] + 1) + ":" + std::to_string(caps[1] - caps[0]);
    for (int g = 1; g <= groups; ++g) {
      const int s = caps[static_cast<std::size_t>(2 * g)];
      out += s < 0 ? " -"
                   : " " + std::to_string(s + 1) + ":" +
                         std::to_string(caps[static_cast<std::size_t>(2 * g + 1)] - s);
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

}  // namespace

TEST(RegexCrossCheck, GeneratedExpressionsAgreeWithTheReferenceMatcher) {
  Generator gen(20240607);
  int compared = 0;
  for (int round = 0; round < 3000; ++round) {
    const RNode pattern = gen.Pattern();
    const std::string expression = Render(pattern);
    const int groups = CountGroups(pattern);
    const bool ignore_case = round % 3 == 0;
    const bool greedy_mode = round % 7 != 0;
    TRegexMatcher matcher;
    matcher.SetModifierI(ignore_case);
    matcher.SetModifierG(greedy_mode);
    matcher.SetExpression(expression);
    Reference ref(pattern, ignore_case, greedy_mode);
    for (int k = 0; k < 6; ++k) {
      const std::string line = gen.Line();
      std::string actual;
      try {
        actual = MatcherMatches(matcher, line, groups);
      } catch (const ERegexMatcher& e) {
        actual = e.what();
      }
      ASSERT_EQ(actual, ReferenceMatches(ref, line, groups))
          << "/" << expression << "/" << (ignore_case ? "i" : "") << (greedy_mode ? "" : "-g")
          << " on '" << line << "'";
      ++compared;
    }
  }
  EXPECT_EQ(compared, 18000);
}

TEST(RegexCrossCheck, TheLinearExecutorAgreesWithTheBacktrackingOne) {
  Generator gen(20240611, true);
  int compared = 0;
  for (int round = 0; round < 3000; ++round) {
    const RNode pattern = gen.Pattern();
    const std::string expression = Render(pattern);
    const int groups = CountGroups(pattern);
    TRegexMatcher backtracking, linear;
    for (TRegexMatcher* m : {&backtracking, &linear}) {
      m->SetModifierI(round % 3 == 0);
      m->SetModifierG(round % 7 != 0);
      m->SetExpression(expression);
    }
    backtracking.SetEngine(TRegexMatcher::Engine::Backtracking);
    linear.SetEngine(TRegexMatcher::Engine::Linear);
    ASSERT_TRUE(linear.HasLinearForm()) << expression;
    for (int k = 0; k < 6; ++k) {
      const std::string line = gen.Line();
      ASSERT_EQ(MatcherMatches(linear, line, groups), MatcherMatches(backtracking, line, groups))
          << "/" << expression << "/ on '" << line << "'";
      ++compared;
    }
  }
  EXPECT_EQ(compared, 18000);
}
