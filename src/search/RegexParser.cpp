// Turns the text of a regular expression into its syntax tree, checking it as
// it goes. Recursion follows the nesting of groups only, which is limited to
// the number of groups, so no expression can exhaust the stack.
#include <string>

#include "platform/UnicodeProperties.h"
#include "platform/Utf8.h"
#include "search/RegexErrors.h"
#include "search/RegexSyntax.h"
#include "search/Utf8Chars.h"

namespace regex_detail {

bool ApplyModifierLetter(Modifiers& modifiers, char letter, bool on) {
  switch (letter) {
    case 'i':
    case 'I':
      modifiers.i = on;
      return true;
    case 'r':
    case 'R':
      modifiers.r = on;
      return true;
    case 's':
    case 'S':
      modifiers.s = on;
      return true;
    case 'g':
    case 'G':
      modifiers.g = on;
      return true;
    case 'm':
    case 'M':
      modifiers.m = on;
      return true;
    case 'x':
    case 'X':
      modifiers.x = on;
      return true;
    default:
      return false;
  }
}

bool CanMatchEmpty(const Syntax& syntax, int index) {
  const Node& node = syntax.nodes[static_cast<std::size_t>(index)];
  switch (node.kind) {
    case NodeKind::Literal:
    case NodeKind::Class:
      return false;
    case NodeKind::Empty:
    case NodeKind::Assert:
      return true;
    case NodeKind::Backref:
      return node.may_be_empty;
    case NodeKind::Group:
      return CanMatchEmpty(syntax, node.children[0]);
    case NodeKind::Concat:
      for (int child : node.children) {
        if (!CanMatchEmpty(syntax, child)) return false;
      }
      return true;
    case NodeKind::Alternation:
      for (int child : node.children) {
        if (CanMatchEmpty(syntax, child)) return true;
      }
      return false;
    case NodeKind::Repeat:
      return node.min == 0 || CanMatchEmpty(syntax, node.children[0]);
  }
  return true;
}

namespace {

// More nodes than any sensible expression needs; guards memory against huge input.
constexpr std::size_t kMaxNodes = 4'000'000;

// Cyrillic letters in their usual single-byte code page: a..ya and A..YA are
// contiguous, but yo and YO lie outside those runs.
constexpr int kCyrSmallA = 0xE0, kCyrSmallYa = 0xFF, kCyrSmallYo = 0xB8;
constexpr int kCyrCapitalA = 0xC0, kCyrCapitalYa = 0xDF, kCyrCapitalYo = 0xA8;
// The same letters in Unicode.
constexpr char32_t kUniSmallA = 0x430, kUniSmallYa = 0x44F, kUniSmallYo = 0x451;
constexpr char32_t kUniCapitalA = 0x410, kUniCapitalYa = 0x42F, kUniCapitalYo = 0x401;
// The largest \x{...} value: a byte of the code page, or any code point in UTF-8.
constexpr unsigned kMaxByteValue = 0xFF;
constexpr unsigned kMaxCodePoint = 0x10FFFF;

bool IsHexDigit(unsigned char c) {
  return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
}
unsigned HexValue(unsigned char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return c - 'A' + 10;
}
bool IsDigit(unsigned char c) { return c >= '0' && c <= '9'; }
bool IsShorthand(unsigned char c) {
  return c == 'd' || c == 'D' || c == 'w' || c == 'W' || c == 's' || c == 'S';
}

ByteSet ShorthandSet(unsigned char c) {
  ByteSet set;
  switch (c) {
    case 'd':
    case 'D':
      for (int b = '0'; b <= '9'; ++b) set.set(static_cast<std::size_t>(b));
      break;
    case 'w':
    case 'W':
      for (int b = '0'; b <= '9'; ++b) set.set(static_cast<std::size_t>(b));
      for (int b = 'a'; b <= 'z'; ++b) set.set(static_cast<std::size_t>(b));
      for (int b = 'A'; b <= 'Z'; ++b) set.set(static_cast<std::size_t>(b));
      set.set('_');
      break;
    default:
      for (int b : {' ', '\t', '\n', '\r', '\f'}) set.set(static_cast<std::size_t>(b));
      break;
  }
  if (c == 'D' || c == 'W' || c == 'S') set.flip();
  return set;
}

// The byte an escaped character stands for when it is not a class or an assertion.
unsigned char EscapedByte(unsigned char c) {
  switch (c) {
    case 't':
      return '\t';
    case 'n':
      return '\n';
    case 'r':
      return '\r';
    case 'f':
      return '\f';
    case 'a':
      return 7;
    case 'e':
      return 27;
    default:
      return c;
  }
}

class Parser {
 public:
  Parser(std::string_view expression, const Modifiers& modifiers, const Separators& separators,
         const CaseInfo& case_info)
      : e_(expression), mods_(modifiers), separators_(separators), case_(case_info) {}

  Syntax Run() {
    syntax_.root = ParseAlternation(kTopLevel);
    return std::move(syntax_);
  }

 private:
  static constexpr std::size_t kTopLevel = static_cast<std::size_t>(-1);

  [[noreturn]] void Fail(int code, std::size_t index) {
    throw ERegexMatcher(code, static_cast<int>(index + 1));
  }
  bool AtEnd() const { return i_ >= e_.size(); }
  unsigned char At(std::size_t k) const { return static_cast<unsigned char>(e_[k]); }
  bool Is(std::size_t k, char c) const { return k < e_.size() && e_[k] == c; }

  int Add(Node node) {
    if (syntax_.nodes.size() >= kMaxNodes) Fail(regex_error::kRegexpTooBig, i_);
    syntax_.nodes.push_back(std::move(node));
    return static_cast<int>(syntax_.nodes.size() - 1);
  }
  int AddClass(const ByteSet& set) {
    syntax_.sets.push_back(set);
    Node node;
    node.kind = NodeKind::Class;
    node.set = static_cast<int>(syntax_.sets.size() - 1);
    return Add(std::move(node));
  }
  int AddLiteral(unsigned char c) {
    Node node;
    node.kind = NodeKind::Literal;
    // The byte after a lead byte is the second half of a double-byte character
    // and has no case of its own, even when it looks like an ASCII letter.
    const bool trail = after_lead_;
    lead_literal_ = case_.double_byte && !trail && case_.lead[c];
    if (mods_.i && case_.has_partner[c] && !trail) {
      node.fold = true;
      node.byte = case_.fold[c];
    } else {
      node.byte = c;
    }
    return Add(std::move(node));
  }
  int AddAssert(AssertKind kind) {
    Node node;
    node.kind = NodeKind::Assert;
    node.assertion = kind;
    return Add(std::move(node));
  }
  int AddComposite(NodeKind kind, std::vector<int> children) {
    if (children.empty()) return Add(Node{});
    if (children.size() == 1) return children[0];
    Node node;
    node.kind = kind;
    node.children = std::move(children);
    return Add(std::move(node));
  }

  // Blanks and # comments in extended mode.
  void SkipIgnored() {
    if (!mods_.x) return;
    while (!AtEnd()) {
      const unsigned char c = At(i_);
      if (c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f' || c == '\v') {
        ++i_;
      } else if (c == '#') {
        while (!AtEnd() && At(i_) != '\n' && At(i_) != '\r') ++i_;
      } else {
        break;
      }
    }
  }

  int ParseAlternation(std::size_t open) {
    std::vector<int> branches{ParseBranch()};
    while (Is(i_, '|')) {
      ++i_;
      branches.push_back(ParseBranch());
    }
    if (open != kTopLevel) {
      if (AtEnd()) Fail(regex_error::kUnmatchedOpen, open);
      ++i_;  // the closing parenthesis
    } else if (!AtEnd()) {
      Fail(Is(i_, ')') ? regex_error::kUnmatchedClose : regex_error::kJunkOnEnd, i_);
    }
    return AddComposite(NodeKind::Alternation, std::move(branches));
  }

  int ParseBranch() {
    std::vector<int> pieces;
    lead_literal_ = false;
    for (;;) {
      SkipIgnored();
      if (AtEnd() || Is(i_, '|') || Is(i_, ')')) break;
      const int piece = ParsePiece();
      if (piece >= 0) pieces.push_back(piece);
    }
    return AddComposite(NodeKind::Concat, std::move(pieces));
  }

  bool IsBraceAt(std::size_t k) const {
    if (!Is(k, '{')) return false;
    std::size_t j = k + 1;
    const std::size_t digits = j;
    while (j < e_.size() && IsDigit(At(j))) ++j;
    if (j == digits) return false;
    if (Is(j, ',')) {
      ++j;
      while (j < e_.size() && IsDigit(At(j))) ++j;
    }
    return Is(j, '}');
  }
  bool IsQuantifierAt(std::size_t k) const {
    return Is(k, '*') || Is(k, '+') || Is(k, '?') || IsBraceAt(k);
  }

  int ReadCount() {
    const std::size_t first = i_;
    long long value = 0;
    while (!AtEnd() && IsDigit(At(i_))) {
      value = value * 10 + (At(i_) - '0');
      if (value > kMaxBraceCount) Fail(regex_error::kBracesArgumentTooBig, first);
      ++i_;
    }
    return static_cast<int>(value);
  }

  // Reads * + ? or a brace quantifier at the current position.
  void ReadQuantifier(int* min, int* max) {
    const unsigned char c = At(i_);
    if (c != '{') {
      ++i_;
      *min = c == '+' ? 1 : 0;
      *max = c == '?' ? 1 : kUnbounded;
      return;
    }
    const std::size_t brace = i_++;
    *min = ReadCount();
    *max = *min;
    if (Is(i_, ',')) {
      ++i_;
      *max = Is(i_, '}') ? kUnbounded : ReadCount();
    }
    ++i_;  // the closing brace, which IsBraceAt has seen
    if (*max != kUnbounded && *min > *max) Fail(regex_error::kBraceMinGreaterThanMax, brace);
  }

  int ParsePiece() {
    if (IsQuantifierAt(i_)) Fail(regex_error::kQuantifierFollowsNothing, i_);
    after_lead_ = lead_literal_;
    lead_literal_ = false;
    const int atom = ParseAtom();
    after_lead_ = false;
    if (atom < 0) return atom;
    SkipIgnored();
    if (!IsQuantifierAt(i_)) return atom;
    lead_literal_ = false;
    const std::size_t quantifier = i_;
    int min = 0, max = 0;
    ReadQuantifier(&min, &max);
    bool lazy = false;
    if (Is(i_, '?')) {
      lazy = true;
      ++i_;
    }
    SkipIgnored();
    if (IsQuantifierAt(i_)) Fail(regex_error::kNestedQuantifier, i_);
    // Repeating something that can match nothing without limit would never end.
    if (max == kUnbounded && CanMatchEmpty(syntax_, atom)) {
      Fail(regex_error::kOperandCouldBeEmpty, quantifier);
    }
    Node node;
    node.kind = NodeKind::Repeat;
    node.min = min;
    node.max = max;
    node.greedy = mods_.g && !lazy;
    node.children = {atom};
    return Add(std::move(node));
  }

  // Returns the new node, or -1 for a construct that adds none (a comment or a
  // modifier switch).
  int ParseAtom() {
    const unsigned char c = At(i_);
    switch (c) {
      case '(':
        return ParseParen();
      case '[':
        return case_.utf8 ? ParseCharClass() : ParseClass();
      case '.': {
        ++i_;
        if (case_.utf8) return AddCharClass(DotClass());
        if (mods_.s) return AddClass(ByteSet().set());
        ByteSet set = separators_.single;
        if (separators_.pair_first >= 0) {
          set.set(static_cast<std::size_t>(separators_.pair_first));
          set.set(static_cast<std::size_t>(separators_.pair_second));
        }
        return AddClass(~set);
      }
      case '^':
        ++i_;
        return AddAssert(mods_.m ? AssertKind::LineStart : AssertKind::TextStart);
      case '$':
        ++i_;
        return AddAssert(mods_.m ? AssertKind::LineEnd : AssertKind::TextEnd);
      case '\\':
        return ParseEscape();
      case '|':
      case ')':
        Fail(regex_error::kParseAtomInternalDisaster, i_);
      default:
        if (case_.utf8) return AddCharLiteral(ReadCodePoint());
        ++i_;
        return AddLiteral(c);
    }
  }

  // UTF-8: the code point at the current position, read past; a byte that
  // does not decode is utf8_chars::kUndecodable + the byte.
  char32_t ReadCodePoint() {
    const TUtf8Char c = DecodeUtf8(e_, i_, true);
    const char32_t cp = c.Valid ? c.CodePoint : utf8_chars::kUndecodable + At(i_);
    i_ += c.Length;
    return cp;
  }

  // UTF-8: the literal character that starts with cp, together with the
  // combining marks written right after it, as the text joins them.
  int AddCharLiteral(char32_t cp) {
    std::string chars;
    std::u32string points;
    if (cp >= utf8_chars::kUndecodable) {
      chars += static_cast<char>(cp - utf8_chars::kUndecodable);
    } else {
      AppendUtf8(chars, cp);
      points += cp;
      while (cp >= 0x20 && !AtEnd() && At(i_) >= 0x80) {
        const TUtf8Char mark = DecodeUtf8(e_, i_, true);
        if (!mark.Valid || CodePointCells(mark.CodePoint) != 0) break;
        chars.append(e_.substr(i_, mark.Length));
        points += mark.CodePoint;
        i_ += mark.Length;
      }
    }
    Node node;
    node.kind = NodeKind::Literal;
    node.byte = static_cast<unsigned char>(chars[0]);
    node.chars = chars;
    bool has_case = false, ascii_forms = true;
    for (char32_t p : points) {
      const TCaseForms forms = CaseFoldForms(p);
      has_case = has_case || forms.Count > 1;
      for (int k = 0; k < forms.Count; ++k) ascii_forms = ascii_forms && forms.Forms[k] < 0x80;
    }
    if (mods_.i && has_case) {
      if (chars.size() == 1 && ascii_forms) {
        // An ASCII letter whose case forms are all ASCII: the fold table serves.
        node.fold = true;
        node.byte = case_.fold[node.byte];
        node.chars.assign(1, static_cast<char>(node.byte));
      } else {
        node.fold_points = true;
        node.chars.clear();
        for (char32_t p : points) AppendUtf8(node.chars, SimpleCaseFold(p));
      }
    }
    return Add(std::move(node));
  }

  int AddCharClass(CharClass cls) {
    cls.Finish();
    syntax_.char_classes.push_back(std::move(cls));
    Node node;
    node.kind = NodeKind::Class;
    node.set = static_cast<int>(syntax_.char_classes.size() - 1);
    return Add(std::move(node));
  }

  // UTF-8: the dot takes any character, or without modifier s any but the line separators.
  CharClass DotClass() const {
    CharClass cls;
    cls.SetNegated(true);
    if (!mods_.s) {
      ByteSet separators = separators_.single;
      if (separators_.pair_first >= 0) {
        separators.set(static_cast<std::size_t>(separators_.pair_first));
        separators.set(static_cast<std::size_t>(separators_.pair_second));
      }
      for (char32_t b = 0; b < 0x80; ++b) {
        if (separators.test(b)) cls.Add(b);
      }
    }
    return cls;
  }

  static CharClass ShorthandClass(unsigned char c) {
    CharClass cls;
    cls.AddShorthand(static_cast<char>(c));
    return cls;
  }

  int ParseParen() {
    const std::size_t open = i_;
    if (Is(open + 1, '?')) {
      if (Is(open + 2, '#')) {
        const std::size_t close = e_.find(')', open + 3);
        if (close == std::string_view::npos) Fail(regex_error::kUnclosedComment, open);
        i_ = close + 1;
        return -1;
      }
      i_ = open + 2;
      ParseModifierSwitch(open);
      return -1;
    }
    if (syntax_.group_count >= kMaxGroups) Fail(regex_error::kTooManyGroups, open);
    const int number = ++syntax_.group_count;
    ++i_;
    const int child = ParseAlternation(open);
    group_closed_[number] = true;
    group_may_be_empty_[number] = CanMatchEmpty(syntax_, child);
    Node node;
    node.kind = NodeKind::Group;
    node.group = number;
    node.children = {child};
    return Add(std::move(node));
  }

  // (?letters-letters): the switch acts on everything after it.
  void ParseModifierSwitch(std::size_t open) {
    Modifiers next = mods_;
    bool on = true;
    for (;;) {
      if (AtEnd()) Fail(regex_error::kUnmatchedOpen, open);
      const char c = e_[i_];
      if (c == ')') {
        ++i_;
        break;
      }
      if (c == '-' && on) {
        on = false;
      } else if (!ApplyModifierLetter(next, c, on)) {
        Fail(regex_error::kUnrecognizedModifier, i_);
      }
      ++i_;
    }
    mods_ = next;
  }

  int ParseEscape() {
    const std::size_t backslash = i_;
    if (backslash + 1 >= e_.size()) Fail(regex_error::kParseAtomTrailingBackslash, backslash);
    const unsigned char c = At(backslash + 1);
    if (c == 'x') {
      i_ = backslash + 1;
      if (case_.utf8) return AddCharLiteral(ParseHex(kMaxCodePoint));
      return AddLiteral(static_cast<unsigned char>(ParseHex(kMaxByteValue)));
    }
    i_ = backslash + 2;
    if (IsShorthand(c))
      return case_.utf8 ? AddCharClass(ShorthandClass(c)) : AddClass(ShorthandSet(c));
    switch (c) {
      case 'b':
        return AddAssert(AssertKind::WordBoundary);
      case 'B':
        return AddAssert(AssertKind::NotWordBoundary);
      case 'A':
        return AddAssert(AssertKind::TextStart);
      case 'Z':
        return AddAssert(AssertKind::TextEnd);
      default:
        break;
    }
    if (c >= '1' && c <= '9') {
      Node node;
      node.kind = NodeKind::Backref;
      node.group = c - '0';
      node.fold = mods_.i;
      // A group not closed yet may be unset or still growing: assume the worst.
      node.may_be_empty =
          node.group > kMaxGroups || !group_closed_[node.group] || group_may_be_empty_[node.group];
      return Add(std::move(node));
    }
    if (case_.utf8) {
      if (c < 0x80) return AddCharLiteral(EscapedByte(c));
      i_ = backslash + 1;  // any other character stands for itself
      return AddCharLiteral(ReadCodePoint());
    }
    return AddLiteral(EscapedByte(c));
  }

  // \xNN or \x{N}, with the current position on the x; braces hold at most `max`.
  unsigned ParseHex(unsigned max) {
    ++i_;
    if (Is(i_, '{')) {
      const std::size_t first_digit = ++i_;
      unsigned value = 0;
      for (;;) {
        if (AtEnd()) Fail(regex_error::kBadHexDigit, i_);
        const unsigned char c = At(i_);
        if (c == '}') break;
        if (!IsHexDigit(c)) Fail(regex_error::kBadHexDigit, i_);
        value = value * 16 + HexValue(c);
        if (value > max) Fail(regex_error::kHexCodeTooBig, first_digit);
        ++i_;
      }
      if (i_ == first_digit) Fail(regex_error::kNoHexCode, i_);
      ++i_;
      return value;
    }
    if (AtEnd() || !IsHexDigit(At(i_))) Fail(regex_error::kNoHexCode, i_);
    unsigned value = HexValue(At(i_++));
    if (!AtEnd() && IsHexDigit(At(i_))) value = value * 16 + HexValue(At(i_++));
    return value;
  }

  // One member of a bracket class: returns its byte, or -1 when it was a
  // shorthand class that has been added to `set`.
  int ParseClassMember(ByteSet& set, bool range_end) {
    if (At(i_) != '\\') return At(i_++);
    if (i_ + 1 >= e_.size()) Fail(regex_error::kTrailingBackslash, i_);
    const unsigned char c = At(i_ + 1);
    if (IsShorthand(c)) {
      if (range_end) Fail(regex_error::kInvalidRange, i_);
      set |= ShorthandSet(c);
      i_ += 2;
      return -1;
    }
    if (c == 'x') {
      ++i_;
      return static_cast<int>(ParseHex(kMaxByteValue));
    }
    i_ += 2;
    return EscapedByte(c);
  }

  // UTF-8: one member of a bracket class, as a code point, or -1 for a
  // shorthand class added to `cls`.
  long ParseCharClassMember(CharClass& cls, bool range_end) {
    if (At(i_) != '\\') return static_cast<long>(ReadCodePoint());
    if (i_ + 1 >= e_.size()) Fail(regex_error::kTrailingBackslash, i_);
    const unsigned char c = At(i_ + 1);
    if (IsShorthand(c)) {
      if (range_end) Fail(regex_error::kInvalidRange, i_);
      cls.AddShorthand(static_cast<char>(c));
      i_ += 2;
      return -1;
    }
    if (c == 'x') {
      ++i_;
      return static_cast<long>(ParseHex(kMaxCodePoint));
    }
    ++i_;
    if (c >= 0x80) return static_cast<long>(ReadCodePoint());
    ++i_;
    return EscapedByte(c);
  }

  // UTF-8: a bracket class of code points.
  int ParseCharClass() {
    const std::size_t open = i_++;
    CharClass cls;
    if (Is(i_, '^')) {
      cls.SetNegated(true);
      ++i_;
    }
    for (bool first = true;; first = false) {
      if (AtEnd()) Fail(regex_error::kUnmatchedBracket, open);
      if (Is(i_, ']') && !first) {
        ++i_;
        break;
      }
      const std::size_t member = i_;
      const long low = ParseCharClassMember(cls, false);
      if (low < 0) continue;
      if (!(Is(i_, '-') && i_ + 1 < e_.size() && !Is(i_ + 1, ']'))) {
        cls.Add(static_cast<char32_t>(low));
        continue;
      }
      ++i_;
      const long high = ParseCharClassMember(cls, true);
      if (low > high) Fail(regex_error::kInvalidRange, member);
      const auto lo = static_cast<char32_t>(low), hi = static_cast<char32_t>(high);
      cls.AddRange(lo, hi);
      if (mods_.r) {
        if ((lo == kUniSmallA || lo == kUniCapitalA) && hi == kUniSmallYa) cls.Add(kUniSmallYo);
        if (lo == kUniCapitalA && (hi == kUniCapitalYa || hi == kUniSmallYa))
          cls.Add(kUniCapitalYo);
      }
    }
    cls.SetFold(mods_.i);
    return AddCharClass(std::move(cls));
  }

  int ParseClass() {
    const std::size_t open = i_++;
    bool negate = false;
    if (Is(i_, '^')) {
      negate = true;
      ++i_;
    }
    ByteSet set;
    bool first = true;
    for (;;) {
      if (AtEnd()) Fail(regex_error::kUnmatchedBracket, open);
      if (Is(i_, ']') && !first) {
        ++i_;
        break;
      }
      first = false;
      const std::size_t member = i_;
      const int low = ParseClassMember(set, false);
      if (low < 0) continue;
      if (Is(i_, '-') && i_ + 1 < e_.size() && !Is(i_ + 1, ']')) {
        ++i_;
        const int high = ParseClassMember(set, true);
        if (low > high) Fail(regex_error::kInvalidRange, member);
        for (int b = low; b <= high; ++b) set.set(static_cast<std::size_t>(b));
        if (mods_.r) {
          if (low == kCyrSmallA && high == kCyrSmallYa) set.set(kCyrSmallYo);
          if (low == kCyrCapitalA && high == kCyrCapitalYa) set.set(kCyrCapitalYo);
          if (low == kCyrCapitalA && high == kCyrSmallYa) {
            set.set(kCyrSmallYo);
            set.set(kCyrCapitalYo);
          }
        }
      } else {
        set.set(static_cast<std::size_t>(low));
      }
    }
    if (mods_.i) set = FoldClosure(set);
    if (negate) set.flip();
    return AddClass(set);
  }

  // Every byte whose fold equals the fold of a member.
  ByteSet FoldClosure(const ByteSet& set) const {
    ByteSet folded_members;
    for (std::size_t b = 0; b < 256; ++b) {
      if (set.test(b)) folded_members.set(case_.fold[b]);
    }
    ByteSet result = set;
    for (std::size_t b = 0; b < 256; ++b) {
      if (folded_members.test(case_.fold[b])) result.set(b);
    }
    return result;
  }

  std::string_view e_;
  std::size_t i_ = 0;
  Modifiers mods_;
  const Separators& separators_;
  const CaseInfo& case_;
  Syntax syntax_;
  bool lead_literal_ = false;  // the piece just parsed is a lone lead byte
  bool after_lead_ = false;    // the atom being parsed follows one
  std::array<bool, kMaxGroups + 1> group_closed_{};
  std::array<bool, kMaxGroups + 1> group_may_be_empty_{};
};

}  // namespace

Syntax ParseExpression(std::string_view expression, const Modifiers& modifiers,
                       const Separators& separators, const CaseInfo& case_info) {
  return Parser(expression, modifiers, separators, case_info).Run();
}

}  // namespace regex_detail
