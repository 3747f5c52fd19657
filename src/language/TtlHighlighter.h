#pragma once
// The highlighter for macro files: comments, labels, strings, the four keyword
// families of the keyword file, spaces and everything else.
#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "language/EditorHighlighter.h"
#include "language/KeywordFile.h"
#include "language/KeywordIndex.h"

class ICodePage;

// The values of TokenKind.
enum class TTtlTokenKind : int {
  Comment = 0,
  Identifier = 1,  // never produced by the scanner
  Keyword = 2,
  Label = 3,
  VantrelKeyword = 4,
  EndOfLine = 5,
  Space = 6,
  String = 7,
  Symbol = 8,
  SystemVariable = 9,
  Other = 10,
};

// The values of GetLineState: what was still open where the last token ended.
enum TTtlLineState : TLineState {
  lsNone = 0,
  lsLabel = 1,
  lsComment = 2,
  lsSingleQuoted = 3,
  lsDoubleQuoted = 4,
};

class TTtlHighlighter final : public TCustomHighlighter {
 public:
  TTtlHighlighter();

  THighlighterAttributes* CommentAttri() const { return comment_; }
  THighlighterAttributes* IdentifierAttri() const { return identifier_; }
  THighlighterAttributes* KeyAttri() const { return key_; }
  THighlighterAttributes* LabelsAttri() const { return labels_; }
  THighlighterAttributes* VantrelVarsAttri() const { return vantrel_vars_; }
  THighlighterAttributes* SpaceAttri() const { return space_; }
  THighlighterAttributes* StringAttri() const { return string_; }
  THighlighterAttributes* SymbolAttri() const { return symbol_; }
  THighlighterAttributes* SysVarsAttri() const { return sys_vars_; }

  THighlighterAttributes* DefaultAttribute(int role) const override;
  THighlighterCharSet IdentChars() const override;
  std::string SampleSource() const override;
  std::string LanguageName() const override { return "TeraTerm Macro "; }

  void SetLineText(std::string_view text, int lineIndex) override;
  // Defined below: the editor's rescan and the benchmarks call it through the
  // concrete type, where it inlines.
  void NextToken() override;
  bool AtLineEnd() const override { return kind_ == TTtlTokenKind::EndOfLine; }
  std::string TokenText() const override { return std::string(TokenView()); }
  std::string_view TokenView() const {
    return std::string_view(line_.get() + token_start_,
                            static_cast<std::size_t>(run_ - token_start_));
  }
  int TokenStart() const override { return token_start_; }
  int TokenLength() const override { return run_ - token_start_; }
  int TokenKind() const override { return static_cast<int>(kind_); }
  TTtlTokenKind Kind() const { return kind_; }
  THighlighterAttributes* TokenAttribute() const override {
    return kind_attributes_[static_cast<std::size_t>(kind_)];
  }
  TLineState GetLineState() const override { return line_state_; }
  void SetLineState(TLineState value) override { line_state_ = value; }
  void ResetLineState() override { line_state_ = lsNone; }
  int LineIndex() const { return line_index_; }
  // Every token is scanned from state 0 and the end-of-line token, which
  // sets state 0 again, is always the last: a whole line leaves state 0
  // whatever it holds, so the rescan needs no tokens. Leaves the scanner at
  // the end of an empty line.
  TLineState ScanLine(std::string_view text, int lineIndex) override;

  // Double-byte characters of this code page stay whole in "other" tokens;
  // without one every byte is a character. Not owned.
  void SetCodePage(const ICodePage* codePage) { code_page_ = codePage; }
  const ICodePage* CodePage() const { return code_page_; }

  // ---- keyword data
  // Loads a keyword file; false (and no keywords) when it cannot be read or
  // has fewer than 5 lines.
  bool LoadKeywordFile(const std::string& path);
  // The same from the file's bytes.
  bool LoadKeywordText(std::string_view content);
  // Replaces the keyword data (an empty TKeywordData clears it).
  void SetKeywordData(TKeywordData data);
  const TKeywordData& KeywordData() const { return keywords_; }
  // The help context number of a word (exact comparison; callers pass it in
  // lower case), 0 when the word is not listed.
  std::int32_t HelpIdOf(std::string_view word) const;
  // The kind that a word with this lookup key gets.
  TTtlTokenKind KindOfKey(std::string_view key) const;
  // Looks words up the plain way: copies the rest of the line as the key,
  // lower-cases and trims it, cuts it at the first blank and walks the
  // keyword list from the top. Same answers, much slower: kept to measure the
  // index against and to cross-check it.
  void SetLinearKeywordSearch(bool value) { linear_search_ = value; }

 private:
  // What the first byte of a token starts; one entry per byte value in
  // dispatch_.
  enum TRoutine : std::uint8_t {
    rEndOfLine,
    rSpace,
    rLineFeed,
    rCarriageReturn,
    rString,
    rLabel,
    rComment,
    rWord,
    rOther,
  };
  // Zero bytes kept after the copied line: the keyword index reads a word
  // eight bytes at a time, up to 7 bytes past the NUL that ends the line.
  static constexpr std::size_t kLinePadding = 8;

  void StringProc();
  void LabelProc();
  void CommentProc();
  void WordProc();
  void OtherProc();
  void RunToLineEndOr13();
  // The line's length up to its first NUL; measured on first use per line.
  int LineLength();
  // The kind of the word at start whose run of word characters ends at
  // word_end, when the key does not end with that run.
  [[gnu::noinline]] TTtlTokenKind LongKeyKind(int start, int word_end);
  // The same, the plain way (see SetLinearKeywordSearch).
  [[gnu::noinline]] TTtlTokenKind PlainWordKind(int start);
  // Index of the first keyword-list entry equal to word, or -1.
  int FindKeyword(std::string_view word) const;

  THighlighterAttributes* comment_;
  THighlighterAttributes* identifier_;
  THighlighterAttributes* key_;
  THighlighterAttributes* labels_;
  THighlighterAttributes* vantrel_vars_;
  THighlighterAttributes* space_;
  THighlighterAttributes* string_;
  THighlighterAttributes* symbol_;
  THighlighterAttributes* sys_vars_;
  std::array<THighlighterAttributes*, 11> kind_attributes_{};

  std::array<std::uint8_t, 256> dispatch_{};

  // The current line: its copied text, then kLinePadding zero bytes.
  std::unique_ptr<char[]> line_;
  std::size_t line_capacity_ = 0;
  int length_ = -1;  // -1: not measured yet
  int run_ = 0;
  int token_start_ = 0;
  TTtlTokenKind kind_ = TTtlTokenKind::EndOfLine;
  TLineState line_state_ = lsNone;
  int line_index_ = 0;
  const ICodePage* code_page_ = nullptr;

  TKeywordData keywords_;
  TKeywordIndex index_;
  // The kind of each keyword-list entry, from the family ranges.
  std::vector<TTtlTokenKind> entry_kinds_;
  std::string key_buffer_;
  bool linear_search_ = false;
};

inline void TTtlHighlighter::NextToken() {
  token_start_ = run_;
  line_state_ = lsNone;
  const char* s = line_.get();
  switch (dispatch_[static_cast<unsigned char>(s[run_])]) {
    case rEndOfLine:
      kind_ = TTtlTokenKind::EndOfLine;
      return;
    case rSpace: {
      kind_ = TTtlTokenKind::Space;
      int p = run_ + 1;
      // 1..32; the NUL wraps round to 255.
      while (static_cast<unsigned char>(s[p] - 1) < 32) ++p;
      run_ = p;
      return;
    }
    case rLineFeed:
      kind_ = TTtlTokenKind::Space;
      ++run_;
      return;
    case rCarriageReturn:
      kind_ = TTtlTokenKind::Space;
      run_ += s[run_ + 1] == '\n' ? 2 : 1;
      return;
    case rString:
      StringProc();
      return;
    case rLabel:
      LabelProc();
      return;
    case rComment:
      CommentProc();
      return;
    case rWord:
      WordProc();
      return;
    default:
      OtherProc();
      return;
  }
}
