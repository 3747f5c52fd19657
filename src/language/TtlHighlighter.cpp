#include "language/TtlHighlighter.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

#include "platform/CodePage.h"

namespace {

// Word characters, and the word characters that may start a word (no digits).
struct CharTables {
  std::array<bool, 256> word{};
  std::array<bool, 256> word_start{};
  constexpr CharTables() {
    for (unsigned char c : std::string_view("$%()*+-/<=>[]_")) word[c] = true;
    for (int c = '0'; c <= '9'; ++c) word[static_cast<std::size_t>(c)] = true;
    for (int c = 'A'; c <= 'Z'; ++c) word[static_cast<std::size_t>(c)] = true;
    for (int c = 'a'; c <= 'z'; ++c) word[static_cast<std::size_t>(c)] = true;
    for (std::size_t c = 0; c < 256; ++c) word_start[c] = word[c] && !(c >= '0' && c <= '9');
  }
};

constexpr CharTables kTables;

// The first byte at or after p that is NUL, a, b or c; eight bytes at a time
// first, for a string of wide characters is three times as many bytes. A
// load never reaches past the line's first NUL by more than seven bytes: the
// zero padding after the text.
const char* FindFirstOf(const char* p, char a, char b, char c) {
  constexpr std::uint64_t kOnes = 0x0101010101010101ULL;
  constexpr std::uint64_t kHighs = 0x8080808080808080ULL;
  const auto has_zero = [](std::uint64_t v) { return (v - kOnes) & ~v & kHighs; };
  const std::uint64_t wa = kOnes * static_cast<unsigned char>(a);
  const std::uint64_t wb = kOnes * static_cast<unsigned char>(b);
  const std::uint64_t wc = kOnes * static_cast<unsigned char>(c);
  for (;; p += 8) {
    std::uint64_t w;
    std::memcpy(&w, p, sizeof w);
    if (has_zero(w) | has_zero(w ^ wa) | has_zero(w ^ wb) | has_zero(w ^ wc)) break;
  }
  while (*p != '\0' && *p != a && *p != b && *p != c) ++p;
  return p;
}

std::unique_ptr<THighlighterAttributes> MakeAttribute(const char* name, TColor foreground,
                                                      TFontStyles style) {
  auto attribute = std::make_unique<THighlighterAttributes>(name);
  attribute->SetForeground(foreground);
  attribute->SetStyle(style);
  return attribute;
}

}  // namespace

TTtlHighlighter::TTtlHighlighter() {
  auto add = [this](const char* name, TColor foreground, TFontStyles style) {
    auto attribute = MakeAttribute(name, foreground, style);
    THighlighterAttributes* raw = attribute.get();
    AddAttribute(std::move(attribute));
    return raw;
  };
  comment_ = add("Comment", Rgb(0, 128, 0), fsItalic);
  identifier_ = add("Macro", Rgb(0, 128, 128), 0);
  key_ = add("Text", Rgb(0, 0, 128), fsBold);
  labels_ = add("Labels", Rgb(0, 0, 255), 0);
  vantrel_vars_ = add("VantrelVars", Rgb(255, 0, 0), 0);
  space_ = add("Space", clNone, 0);
  string_ = add("String", Rgb(128, 0, 128), 0);
  symbol_ = add("Symbol", Rgb(255, 0, 255), fsBold);
  sys_vars_ = add("SysVars", Rgb(128, 128, 0), 0);
  SetAttributesOnChange([this](THighlighterAttributes* sender) { DefHighlightChange(sender); });

  kind_attributes_[static_cast<int>(TTtlTokenKind::Comment)] = comment_;
  kind_attributes_[static_cast<int>(TTtlTokenKind::Identifier)] = identifier_;
  kind_attributes_[static_cast<int>(TTtlTokenKind::Keyword)] = key_;
  kind_attributes_[static_cast<int>(TTtlTokenKind::Label)] = labels_;
  kind_attributes_[static_cast<int>(TTtlTokenKind::VantrelKeyword)] = vantrel_vars_;
  kind_attributes_[static_cast<int>(TTtlTokenKind::EndOfLine)] = nullptr;
  kind_attributes_[static_cast<int>(TTtlTokenKind::Space)] = space_;
  kind_attributes_[static_cast<int>(TTtlTokenKind::String)] = string_;
  kind_attributes_[static_cast<int>(TTtlTokenKind::Symbol)] = symbol_;
  kind_attributes_[static_cast<int>(TTtlTokenKind::SystemVariable)] = sys_vars_;
  kind_attributes_[static_cast<int>(TTtlTokenKind::Other)] = identifier_;

  for (std::size_t c = 0; c < 256; ++c) {
    TRoutine routine = rOther;
    if (c == 0) {
      routine = rEndOfLine;
    } else if (c == 10) {
      routine = rLineFeed;
    } else if (c == 13) {
      routine = rCarriageReturn;
    } else if (c <= 32) {
      routine = rSpace;
    } else if (c == '"' || c == '\'') {
      routine = rString;
    } else if (c == ':') {
      routine = rLabel;
    } else if (c == ';') {
      routine = rComment;
    } else if (kTables.word_start[c]) {
      routine = rWord;
    }
    dispatch_[c] = routine;
  }

  line_capacity_ = 256;
  line_ = std::make_unique<char[]>(line_capacity_);  // zero-filled: an empty line

  SetDefaultFilter("TeraTerm Macro files (*.ttl)|*.ttl");
  line_state_ = lsNone;
  SetKeywordData(TKeywordData{});
  Loaded();
}

THighlighterAttributes* TTtlHighlighter::DefaultAttribute(int role) const {
  switch (role) {
    case hrComment:
      return comment_;
    case hrIdentifier:
      return identifier_;
    case hrKeyword:
      return key_;
    case hrString:
      return string_;
    case hrWhitespace:
      return space_;
    case hrSymbol:
      return symbol_;
    default:
      return nullptr;
  }
}

THighlighterCharSet TTtlHighlighter::IdentChars() const {
  THighlighterCharSet set;
  for (std::size_t c = 0; c < 256; ++c) set[c] = kTables.word[c];
  return set;
}

std::string TTtlHighlighter::SampleSource() const {
  static const char* const kLines[] = {
      "",
      "{ Sample source for the demo highlighter }",
      "",
      "; This highlighter will recognize the commands of TeraTerm",
      "; macro language as keywords. It will also highlight \"Strings\".",
      "; ******* Macro Template for Telnet session *******",
      "; Substitute words inside angle brackets with corresponding values",
      "; and delete angle brackets.",
      ";",
      "; Openning telnet connection using port 23",
      "connect '<server_name_or_IP_address>:23 /nossh'",
      ";",
      "; Entering synchronous communication mode (useful in most cases)",
      "setsync 1",
      ";",
      "; Assigning new title to TeraTerm window",
      "settitle 'Connecting <Server_name_or_site_name>'",
      "; Another way of assigning title using Vantrel key word",
      "; settitle 'Connecting $connection$'",
      ";",
      "; Waiting for Login prompt from remote side",
      "wait 'ogin:'",
      ";",
      "; Sending user name",
      "sendln '<user_name>'",
      "; Another way of sending user name using Vantrel key word",
      "; sendln '$user$'",
      ";",
      "; Waiting for Password prompt from remote side",
      "wait 'assword:'",
      ";",
      "; Calling Popup window to type in password",
      "passwordbox 'Enter password' 'Login'",
      "sendln inputstr",
      "; Previous 2 lines can be replaced with hardcoded password (not recommended)",
      "; sendln '<password>'",
      ";",
      "; Assigning final title to TeraTerm window",
      "settitle 'Connected to <Server_name_or_site_name>'",
      ";",
  };
  std::string text;
  bool first = true;
  for (const char* line : kLines) {
    if (!first) text += "\r\n";
    first = false;
    text += line;
  }
  return text;
}

// ------------------------------------------------------------------ scanning

void TTtlHighlighter::SetLineText(std::string_view text, int lineIndex) {
  const std::size_t size = text.size();
  if (size + kLinePadding > line_capacity_) {
    const std::size_t capacity = std::max(line_capacity_ * 2, size + kLinePadding);
    // Copied before the old buffer goes: the text may be a view into it.
    std::unique_ptr<char[]> bigger(new char[capacity]);
    std::memcpy(bigger.get(), text.data(), size);
    line_ = std::move(bigger);
    line_capacity_ = capacity;
  } else if (size > 0) {
    std::memmove(line_.get(), text.data(), size);
  }
  // The line ends at its first NUL: every scanning loop stops at one, so an
  // earlier NUL inside the text cuts the line without a search for it here.
  std::memset(line_.get() + size, 0, kLinePadding);
  length_ = -1;
  run_ = 0;
  line_index_ = lineIndex;
  NextToken();
}

TLineState TTtlHighlighter::ScanLine(std::string_view, int lineIndex) {
  line_[0] = '\0';
  length_ = 0;
  run_ = 0;
  token_start_ = 0;
  kind_ = TTtlTokenKind::EndOfLine;
  line_index_ = lineIndex;
  line_state_ = lsNone;
  return line_state_;
}

int TTtlHighlighter::LineLength() {
  if (length_ < 0) length_ = static_cast<int>(std::strlen(line_.get()));
  return length_;
}

void TTtlHighlighter::StringProc() {
  kind_ = TTtlTokenKind::String;
  const char* s = line_.get();
  const char quote = s[run_];
  const char* stop = FindFirstOf(s + run_ + 1, quote, '\r', '\n');
  if (*stop == quote) {
    run_ = static_cast<int>(stop - s) + 1;
  } else {
    run_ = static_cast<int>(stop - s);
    line_state_ = quote == '\'' ? lsSingleQuoted : lsDoubleQuoted;
  }
}

void TTtlHighlighter::RunToLineEndOr13() {
  const char* s = line_.get();
  const char* p = s + run_;
  for (;;) {
    p = FindFirstOf(p, '#', '\r', '\n');
    if (*p != '#') break;
    // The two bytes after a "#" are in the line or its zero padding.
    if (p[1] == '1' && p[2] == '3') {
      run_ = static_cast<int>(p - s) + 3;
      line_state_ = lsNone;
      return;
    }
    ++p;
  }
  run_ = static_cast<int>(p - s);
}

void TTtlHighlighter::LabelProc() {
  kind_ = TTtlTokenKind::Label;
  ++run_;
  line_state_ = lsLabel;
  RunToLineEndOr13();
}

void TTtlHighlighter::CommentProc() {
  kind_ = TTtlTokenKind::Comment;
  ++run_;
  line_state_ = lsComment;
  RunToLineEndOr13();
}

void TTtlHighlighter::WordProc() {
  const char* s = line_.get();
  const int start = run_;
  int word_end = start + 1;
  while (kTables.word[static_cast<unsigned char>(s[word_end])]) ++word_end;
  run_ = word_end;
  if (linear_search_) {
    kind_ = PlainWordKind(start);
    return;
  }
  // The key is the rest of the line, trimmed and cut before its first blank:
  // just the word when a blank or the end of the line follows it, as it
  // nearly always does. Word characters are all below 128, and the padding
  // after the line covers the index's read past the word.
  const char next = s[word_end];
  if (next == ' ' || next == '\0') {
    const int i = index_.FindAnyCaseAscii(s + start, static_cast<std::size_t>(word_end - start));
    kind_ = i < 0 ? TTtlTokenKind::Other : entry_kinds_[static_cast<std::size_t>(i)];
  } else {
    kind_ = LongKeyKind(start, word_end);
  }
}

TTtlTokenKind TTtlHighlighter::LongKeyKind(int start, int word_end) {
  const std::size_t max = index_.MaxLength();
  // Word characters are neither blanks nor controls, so the key holds at
  // least the whole word.
  if (static_cast<std::size_t>(word_end - start) > max) return TTtlTokenKind::Other;
  const unsigned char* s = reinterpret_cast<const unsigned char*>(line_.get());
  // The key is the rest of the line with trailing blanks and control
  // characters removed, then cut before its first blank.
  int i = word_end;
  int last_significant = word_end - 1;
  while (s[i] != 0 && s[i] != ' ') {
    if (s[i] > 32) {
      last_significant = i;
      if (static_cast<std::size_t>(last_significant - start + 1) > max) {
        return TTtlTokenKind::Other;
      }
    }
    ++i;
  }
  int end = last_significant + 1;
  if (s[i] == ' ' && last_significant != i - 1) {
    // Control characters stand between the word and the blank: they stay in
    // the key unless nothing but blanks and controls follows.
    int j = i + 1;
    while (static_cast<unsigned char>(s[j] - 1) < 32) ++j;
    if (s[j] != 0) end = i;
  }
  const std::size_t size = static_cast<std::size_t>(end - start);
  if (size > max) return TTtlTokenKind::Other;
  char* key = key_buffer_.data();
  for (std::size_t k = 0; k < size; ++k) {
    unsigned char c = s[static_cast<std::size_t>(start) + k];
    if (c >= 'A' && c <= 'Z') c = static_cast<unsigned char>(c + 32);
    key[k] = static_cast<char>(c);
  }
  const int found = index_.Find(std::string_view(key, size));
  return found < 0 ? TTtlTokenKind::Other : entry_kinds_[static_cast<std::size_t>(found)];
}

TTtlTokenKind TTtlHighlighter::PlainWordKind(int start) {
  std::string key(line_.get() + start, static_cast<std::size_t>(LineLength() - start));
  for (char& c : key) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c + 32);
  }
  std::size_t b = 0;
  std::size_t e = key.size();
  while (b < e && static_cast<unsigned char>(key[b]) <= 32) ++b;
  while (e > b && static_cast<unsigned char>(key[e - 1]) <= 32) --e;
  key = key.substr(b, e - b);
  const std::size_t blank = key.find(' ');
  if (blank != std::string::npos) key.resize(blank);
  return KindOfKey(key);
}

void TTtlHighlighter::OtherProc() {
  kind_ = TTtlTokenKind::Other;
  const unsigned char c = static_cast<unsigned char>(line_[static_cast<std::size_t>(run_)]);
  ++run_;
  // A lead byte at the very end of the line has no trail byte to take.
  if (code_page_ && line_[static_cast<std::size_t>(run_)] != '\0' && code_page_->IsLeadByte(c)) {
    ++run_;
  }
}

// -------------------------------------------------------------- keyword data

int TTtlHighlighter::FindKeyword(std::string_view word) const {
  if (!linear_search_) return index_.Find(word);
  const auto& list = keywords_.keywords;
  for (std::size_t i = 0; i < list.size(); ++i) {
    if (list[i] == word) return static_cast<int>(i);
  }
  return -1;
}

TTtlTokenKind TTtlHighlighter::KindOfKey(std::string_view key) const {
  const int i = FindKeyword(key);
  if (i < 0) return TTtlTokenKind::Other;
  return entry_kinds_[static_cast<std::size_t>(i)];
}

void TTtlHighlighter::SetKeywordData(TKeywordData data) {
  keywords_ = std::move(data);
  index_.Build(keywords_.keywords);
  entry_kinds_.assign(keywords_.keywords.size(), TTtlTokenKind::Other);
  for (std::size_t n = 0; n < entry_kinds_.size(); ++n) {
    const int i = static_cast<int>(n);
    if (keywords_.commands.Contains(i)) {
      entry_kinds_[n] = TTtlTokenKind::Keyword;
    } else if (keywords_.sysvars.Contains(i)) {
      entry_kinds_[n] = TTtlTokenKind::SystemVariable;
    } else if (keywords_.vntkeywords.Contains(i)) {
      entry_kinds_[n] = TTtlTokenKind::VantrelKeyword;
    } else if (keywords_.symbols.Contains(i)) {
      entry_kinds_[n] = TTtlTokenKind::Symbol;
    }
  }
  key_buffer_.assign(index_.MaxLength(), '\0');
}

bool TTtlHighlighter::LoadKeywordText(std::string_view content) {
  std::optional<TKeywordData> data = ParseKeywordFile(content);
  if (!data) {
    SetKeywordData(TKeywordData{});
    return false;
  }
  SetKeywordData(std::move(*data));
  return true;
}

bool TTtlHighlighter::LoadKeywordFile(const std::string& path) {
  std::optional<std::string> content = ReadWholeFile(path);
  if (!content) {
    SetKeywordData(TKeywordData{});
    return false;
  }
  return LoadKeywordText(*content);
}

std::int32_t TTtlHighlighter::HelpIdOf(std::string_view word) const {
  const int i = FindKeyword(word);
  if (i < 0) return 0;
  return keywords_.help_ids[static_cast<std::size_t>(i)];
}
