#include "language/MacroLexer.h"

#include <array>
#include <cstring>

namespace {

enum TCharClass : std::uint8_t {
  cOther,
  cEnd,  // NUL: the interpreter reads a line as a C string
  cBlank,
  cQuote,
  cHash,
  cSemicolon,
  cSlash,
  cDigit,
  cDollar,
  cLetter,  // and "_"
  cOperator,
  cOpenParen,
  cCloseParen,
  cOpenBracket,
  cCloseBracket,
};

struct TCharTables {
  std::array<std::uint8_t, 256> cls{};
  // Bytes that matter when only strings and comments are looked for.
  std::array<bool, 256> rest_stop{};
  std::array<bool, 256> hex{};
  std::array<bool, 256> word{};
  std::array<bool, 256> blank{};
  std::array<bool, 256> assigning_start{};  // may start an operator with "="
  constexpr TCharTables() {
    cls[0] = cEnd;
    for (int c = 1; c <= 32; ++c) cls[static_cast<std::size_t>(c)] = cBlank;
    cls['\''] = cQuote;
    cls['"'] = cQuote;
    cls['#'] = cHash;
    cls[';'] = cSemicolon;
    cls['/'] = cSlash;
    for (int c = '0'; c <= '9'; ++c) cls[static_cast<std::size_t>(c)] = cDigit;
    cls['$'] = cDollar;
    for (int c = 'a'; c <= 'z'; ++c) cls[static_cast<std::size_t>(c)] = cLetter;
    for (int c = 'A'; c <= 'Z'; ++c) cls[static_cast<std::size_t>(c)] = cLetter;
    cls['_'] = cLetter;
    for (unsigned char c : std::string_view("+-*%=<>!&|^~")) cls[c] = cOperator;
    cls['('] = cOpenParen;
    cls[')'] = cCloseParen;
    cls['['] = cOpenBracket;
    cls[']'] = cCloseBracket;
    rest_stop['\''] = rest_stop['"'] = rest_stop[';'] = rest_stop['/'] = rest_stop[0] = true;
    for (int c = '0'; c <= '9'; ++c) hex[static_cast<std::size_t>(c)] = true;
    for (int c = 'a'; c <= 'f'; ++c) hex[static_cast<std::size_t>(c)] = true;
    for (int c = 'A'; c <= 'F'; ++c) hex[static_cast<std::size_t>(c)] = true;
    for (std::size_t c = 0; c < 256; ++c) {
      word[c] = cls[c] == cLetter || cls[c] == cDigit;
      blank[c] = cls[c] == cBlank;
    }
    for (unsigned char c : std::string_view("=+-*/%<>!&|^")) assigning_start[c] = true;
  }
};

constexpr TCharTables kTables;

std::uint8_t ClassOf(char c) { return kTables.cls[static_cast<unsigned char>(c)]; }

bool IsWordChar(char c) { return kTables.word[static_cast<unsigned char>(c)]; }
bool IsBlankChar(char c) { return kTables.blank[static_cast<unsigned char>(c)]; }

}  // namespace

TMacroLexer::TMacroLexer(std::string_view text, bool in_comment)
    : text_(text.data()), size_(static_cast<int>(text.size())) {
  if (in_comment) pos_ = SkipComment(0, false);
}

int TMacroLexer::SkipComment(int p, bool opened) {
  for (int s = opened ? p + 2 : p; s < size_; ++s) {
    const char c = text_[s];
    if (c == '*' && s + 1 < size_ && text_[s + 1] == '/') return s + 2;
    if (c == '\0') {
      size_ = s;
      break;
    }
  }
  comment_open_ = true;
  comment_start_ = opened ? p : -1;
  return size_;
}

int TMacroLexer::SkipQuoted(int p) {
  const char quote = text_[p];
  for (int q = p + 1; q < size_; ++q) {
    const char c = text_[q];
    if (c == quote) return q + 1;
    if (c == '\0') {
      size_ = q;
      break;
    }
  }
  if (unterminated_ < 0) unterminated_ = p;
  return size_;
}

int TMacroLexer::SkipCharCode(int p) const {
  int q = p + 1;
  if (q < size_ && text_[q] == '$') {
    ++q;
    const int digits = q;
    while (q < size_ && kTables.hex[static_cast<unsigned char>(text_[q])]) ++q;
    return q > digits ? q : p;
  }
  const int digits = q;
  while (q < size_ && ClassOf(text_[q]) == cDigit) ++q;
  return q > digits ? q : p;
}

int TMacroLexer::OperatorLength(int p) const {
  auto at = [this](int i) { return i < size_ ? text_[i] : '\0'; };
  const char a = at(p);
  const char b = at(p + 1);
  if ((a == '<' || a == '>') && b == a) {
    // << <<= >> >>= >>> >>>=
    int n = 2;
    if (a == '>' && at(p + 2) == '>') n = 3;
    return at(p + n) == '=' ? n + 1 : n;
  }
  if ((a == '&' || a == '|') && b == a) return 2;
  if (a == '<' && b == '>') return 2;
  // == != <= >= and the assigning forms += -= *= /= %= &= |= ^=
  if (b == '=' && a != '~') return 2;
  return 1;
}

int TMacroLexer::SkipBlanks() {
  const char* const text = text_;
  const int size = size_;
  int p = pos_;
  for (;;) {
    while (p < size && IsBlankChar(text[p])) ++p;
    if (p >= size) break;
    if (text[p] == '\0') {
      size_ = p;
      break;
    }
    if (text[p] == ';') {
      p = size;
      break;
    }
    if (text[p] != '/' || p + 1 >= size || text[p + 1] != '*') break;
    p = SkipComment(p, true);
  }
  pos_ = p;
  return p;
}

bool TMacroLexer::AtAssigningOperator() {
  const int p = SkipBlanks();
  if (p >= size_) return false;
  const char c = text_[p];
  if (c == '[') return true;
  if (!kTables.assigning_start[static_cast<unsigned char>(c)]) return false;
  const int n = OperatorLength(p);
  return std::memchr(text_ + p, '=', static_cast<std::size_t>(n)) != nullptr;
}

TMacroToken TMacroLexer::Peek() {
  const int saved = pos_;
  const TMacroToken token = Next();
  pos_ = saved;
  return token;
}

TMacroToken TMacroLexer::Next() {
  const int p = SkipBlanks();
  TMacroToken token{TMacroTokenKind::End, p, 0};
  if (p >= size_) return token;
  int q = p + 1;
  switch (ClassOf(text_[p])) {
    case cLetter:
      while (q < size_ && IsWordChar(text_[q])) ++q;
      token.kind = TMacroTokenKind::Word;
      break;
    case cDigit:
      while (q < size_ && ClassOf(text_[q]) == cDigit) ++q;
      token.kind = TMacroTokenKind::Number;
      break;
    case cDollar:
      while (q < size_ && kTables.hex[static_cast<unsigned char>(text_[q])]) ++q;
      token.kind = q > p + 1 ? TMacroTokenKind::Number : TMacroTokenKind::Other;
      break;
    case cQuote:
    case cHash: {
      // Quoted pieces and character codes with nothing between them make one string.
      q = p;
      for (;;) {
        if (q < size_ && ClassOf(text_[q]) == cQuote) {
          q = SkipQuoted(q);
        } else if (q < size_ && text_[q] == '#' && SkipCharCode(q) > q) {
          q = SkipCharCode(q);
        } else {
          break;
        }
      }
      token.kind = q > p ? TMacroTokenKind::String : TMacroTokenKind::Other;
      if (q == p) q = p + 1;
      break;
    }
    case cOperator:
    case cSlash:
      q = p + OperatorLength(p);
      token.kind = TMacroTokenKind::Operator;
      break;
    case cOpenParen:
      token.kind = TMacroTokenKind::OpenParen;
      break;
    case cCloseParen:
      token.kind = TMacroTokenKind::CloseParen;
      break;
    case cOpenBracket:
      token.kind = TMacroTokenKind::OpenBracket;
      break;
    case cCloseBracket:
      token.kind = TMacroTokenKind::CloseBracket;
      break;
    default:
      token.kind = TMacroTokenKind::Other;
      break;
  }
  token.length = q - p;
  pos_ = q;
  return token;
}

void TMacroLexer::SkipRest() {
  int p = pos_;
  while (p < size_) {
    const char c = text_[p];
    if (!kTables.rest_stop[static_cast<unsigned char>(c)]) {
      ++p;
    } else if (c == '\0') {
      size_ = p;
    } else if (c == ';') {
      p = size_;
    } else if (c == '/') {
      p = p + 1 < size_ && text_[p + 1] == '*' ? SkipComment(p, true) : p + 1;
    } else {
      p = SkipQuoted(p);
    }
  }
  pos_ = size_;
}
