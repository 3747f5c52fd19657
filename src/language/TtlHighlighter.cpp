#include "language/TtlHighlighter.h"

#include <cstring>

#include "platform/CodePage.h"

namespace {

struct CharTables {
  THighlighterCharSet word_set;
  std::array<bool, 256> word{};
  std::array<bool, 256> word_start{};
  CharTables() {
    for (unsigned char c : std::string_view("$%()*+-/<=>[]_")) word[c] = true;
    for (int c = '0'; c <= '9'; ++c) word[static_cast<std::size_t>(c)] = true;
    for (int c = 'A'; c <= 'Z'; ++c) word[static_cast<std::size_t>(c)] = true;
    for (int c = 'a'; c <= 'z'; ++c) word[static_cast<std::size_t>(c)] = true;
    for (std::size_t c = 0; c < 256; ++c) {
      word_start[c] = word[c] && !(c >= '0' && c <= '9');
      if (word[c]) word_set.set(c);
    }
  }
};

const CharTables& Tables() {
  static const CharTables tables;
  return tables;
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

  const CharTables& tables = Tables();
  for (std::size_t c = 0; c < 256; ++c) {
    Routine routine = &TTtlHighlighter::OtherProc;
    if (c == 0) {
      routine = &TTtlHighlighter::EndOfLineProc;
    } else if (c == 10) {
      routine = &TTtlHighlighter::LineFeedProc;
    } else if (c == 13) {
      routine = &TTtlHighlighter::CarriageReturnProc;
    } else if (c <= 32) {
      routine = &TTtlHighlighter::SpaceProc;
    } else if (c == '"' || c == '\'') {
      routine = &TTtlHighlighter::StringProc;
    } else if (c == ':') {
      routine = &TTtlHighlighter::LabelProc;
    } else if (c == ';') {
      routine = &TTtlHighlighter::CommentProc;
    } else if (tables.word_start[c]) {
      routine = &TTtlHighlighter::WordProc;
    }
    dispatch_[c] = routine;
  }

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

THighlighterCharSet TTtlHighlighter::IdentChars() const { return Tables().word_set; }

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
  const std::size_t nul = text.find('\0');
  if (nul != std::string_view::npos) text = text.substr(0, nul);
  line_.assign(text.data(), text.size());
  length_ = static_cast<int>(line_.size());
  run_ = 0;
  line_index_ = lineIndex;
  NextToken();
}

void TTtlHighlighter::NextToken() {
  token_start_ = run_;
  line_state_ = lsNone;
  (this->*dispatch_[static_cast<unsigned char>(line_[static_cast<std::size_t>(run_)])])();
}

std::string TTtlHighlighter::TokenText() const { return std::string(TokenView()); }

std::string_view TTtlHighlighter::TokenView() const {
  return std::string_view(line_).substr(static_cast<std::size_t>(token_start_),
                                        static_cast<std::size_t>(run_ - token_start_));
}

THighlighterAttributes* TTtlHighlighter::TokenAttribute() const {
  return kind_attributes_[static_cast<std::size_t>(kind_)];
}

void TTtlHighlighter::EndOfLineProc() { kind_ = TTtlTokenKind::EndOfLine; }

void TTtlHighlighter::SpaceProc() {
  kind_ = TTtlTokenKind::Space;
  const char* s = line_.c_str();
  do {
    ++run_;
  } while (static_cast<unsigned char>(s[run_]) >= 1 && static_cast<unsigned char>(s[run_]) <= 32);
}

void TTtlHighlighter::LineFeedProc() {
  kind_ = TTtlTokenKind::Space;
  ++run_;
}

void TTtlHighlighter::CarriageReturnProc() {
  kind_ = TTtlTokenKind::Space;
  ++run_;
  if (line_[static_cast<std::size_t>(run_)] == '\n') ++run_;
}

int TTtlHighlighter::BreakOrEnd(int from) const {
  const char* s = line_.c_str();
  std::size_t n = static_cast<std::size_t>(length_ - from);
  if (const void* cr = std::memchr(s + from, '\r', n))
    n = static_cast<const char*>(cr) - (s + from);
  if (const void* lf = std::memchr(s + from, '\n', n))
    n = static_cast<const char*>(lf) - (s + from);
  return from + static_cast<int>(n);
}

void TTtlHighlighter::StringProc() {
  kind_ = TTtlTokenKind::String;
  const char* s = line_.c_str();
  const char quote = s[run_];
  line_state_ = quote == '\'' ? lsSingleQuoted : lsDoubleQuoted;
  ++run_;
  const int stop = BreakOrEnd(run_);
  if (const void* q = std::memchr(s + run_, quote, static_cast<std::size_t>(stop - run_))) {
    run_ = static_cast<int>(static_cast<const char*>(q) - s) + 1;
    line_state_ = lsNone;
  } else {
    run_ = stop;
  }
}

void TTtlHighlighter::RunToLineEndOr13() {
  const char* s = line_.c_str();
  const int stop = BreakOrEnd(run_);
  int p = run_;
  while (p < stop) {
    const void* hash = std::memchr(s + p, '#', static_cast<std::size_t>(stop - p));
    if (!hash) break;
    p = static_cast<int>(static_cast<const char*>(hash) - s);
    // The bytes after a "#" before the break are in the line or its NUL.
    if (s[p + 1] == '1' && s[p + 2] == '3') {
      run_ = p + 3;
      line_state_ = lsNone;
      return;
    }
    ++p;
  }
  run_ = stop;
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

std::string_view TTtlHighlighter::WordKey(int word_end, std::uint32_t& hash) {
  const std::size_t max = index_.MaxLength();
  const int start = run_;
  // Word characters are neither blanks nor controls, so the key holds at
  // least the whole word.
  if (static_cast<std::size_t>(word_end - start) > max) return {};
  const unsigned char* s = reinterpret_cast<const unsigned char*>(line_.c_str());
  // The key is the rest of the line with trailing blanks and control
  // characters removed, then cut before its first blank.
  int i = word_end;
  int last_significant = word_end - 1;
  while (i < length_ && s[i] != ' ') {
    if (s[i] > 32) {
      last_significant = i;
      if (static_cast<std::size_t>(last_significant - start + 1) > max) return {};
    }
    ++i;
  }
  int end = last_significant + 1;
  if (i < length_ && last_significant != i - 1) {
    // Control characters stand between the word and the blank: they stay in
    // the key unless nothing but blanks and controls follows.
    int j = i + 1;
    while (j < length_ && s[j] <= 32) ++j;
    if (j < length_) end = i;
  }
  const std::size_t size = static_cast<std::size_t>(end - start);
  if (size > max) return {};
  char* key = key_buffer_.data();
  std::uint32_t h = TKeywordIndex::kHashSeed;
  for (std::size_t k = 0; k < size; ++k) {
    unsigned char c = s[static_cast<std::size_t>(start) + k];
    if (c >= 'A' && c <= 'Z') c = static_cast<unsigned char>(c + 32);
    key[k] = static_cast<char>(c);
    h = TKeywordIndex::HashStep(h, c);
  }
  hash = h;
  return std::string_view(key, size);
}

TTtlTokenKind TTtlHighlighter::PlainWordKind() const {
  std::string key = line_.substr(static_cast<std::size_t>(run_));
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

void TTtlHighlighter::WordProc() {
  const auto& word = Tables().word;
  const char* s = line_.c_str();
  int word_end = run_ + 1;
  while (word[static_cast<unsigned char>(s[word_end])]) ++word_end;
  if (linear_search_) {
    kind_ = PlainWordKind();
  } else {
    std::uint32_t hash = 0;
    const std::string_view key = WordKey(word_end, hash);
    if (key.empty()) {
      kind_ = TTtlTokenKind::Other;
    } else {
      const int i = index_.Find(key, hash);
      kind_ = i < 0 ? TTtlTokenKind::Other : entry_kinds_[static_cast<std::size_t>(i)];
    }
  }
  run_ = word_end;
}

void TTtlHighlighter::OtherProc() {
  kind_ = TTtlTokenKind::Other;
  const unsigned char c = static_cast<unsigned char>(line_[static_cast<std::size_t>(run_)]);
  ++run_;
  // A lead byte at the very end of the line has no trail byte to take.
  if (code_page_ && run_ < length_ && code_page_->IsLeadByte(c)) ++run_;
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
