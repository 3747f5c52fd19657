#pragma once
// Search engines: the contract the editor drives line by line, and the plain
// text engine.
#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/CodePage.h"
#include "search/LiteralScanner.h"
#include "search/SearchOptions.h"
#include "search/Utf8LiteralFinder.h"

// What the editor needs from a search engine. It hands the engine one line at a
// time and asks for every occurrence in it, left to right, as 1-based start
// columns and lengths; when it replaces an occurrence it asks the engine for the
// text that goes in its place.
class TEditorSearchCustom {
 public:
  virtual ~TEditorSearchCustom() = default;

  virtual std::string GetPattern() const = 0;
  virtual void SetPattern(const std::string& value) = 0;
  // Length in bytes of occurrence `index` of the last FindAllInLine.
  virtual int LengthAt(int index) const = 0;
  // 1-based start column of occurrence `index`.
  virtual int ResultAt(int index) const = 0;
  virtual int ResultCount() const = 0;
  // Takes the options that concern the engine and ignores the rest.
  virtual void SetOptions(TSearchOptionSet options) = 0;
  // Finds every occurrence in one line and returns how many there are.
  virtual int FindAllInLine(std::string_view line) = 0;
  // The text that replaces one found occurrence.
  virtual std::string ReplacementText(const std::string& occurrence,
                                      const std::string& replacement) = 0;
  // The character set of the lines to come: the editor names its document's
  // before every search, since a document can change its encoding.
  virtual void SetCodePage(const ICodePage& code_page) = 0;
};

// Plain text search: case-insensitive by default through the code page's own
// lower-case table, optionally whole words only (words are the code page's
// letters and digits plus the underscore). Occurrences never overlap. In a
// Unicode document case follows simple case folding, words are made of
// Unicode letters and digits, and occurrences lie on whole characters.
class TEditorSearch : public TEditorSearchCustom {
 public:
  explicit TEditorSearch(const ICodePage& code_page);
  TEditorSearch();  // on the default code page
  TEditorSearch(const TEditorSearch&) = delete;
  TEditorSearch& operator=(const TEditorSearch&) = delete;

  std::string GetPattern() const override { return pattern_; }
  void SetPattern(const std::string& value) override;
  int LengthAt(int index) const override;
  int ResultAt(int index) const override;
  int ResultCount() const override { return static_cast<int>(results_.size()); }
  void SetOptions(TSearchOptionSet options) override;
  int FindAllInLine(std::string_view line) override;
  // The replacement as given: this engine substitutes nothing.
  std::string ReplacementText(const std::string& occurrence,
                              const std::string& replacement) override;
  void SetCodePage(const ICodePage& code_page) override;

  bool CaseSensitive() const { return case_sensitive_; }
  void SetCaseSensitive(bool value);
  bool WholeWord() const { return whole_word_; }
  void SetWholeWord(bool value) { whole_word_ = value; }

  // The matcher's tables, for inspection.
  const std::array<unsigned char, 256>& FoldTable() const { return fold_table_; }
  const std::array<bool, 256>& DelimiterTable() const { return delimiter_table_; }
  const std::array<std::int32_t, 256>& ShiftTable() const { return shift_table_; }
  int LookAtStep() const { return look_at_step_; }
  bool ShiftTableValid() const { return shift_table_valid_; }

 private:
  void TakeCodePage(const ICodePage& code_page);
  void MakeFoldTable(bool case_sensitive);
  void InitShiftTable();
  void FindAllByBlocks(std::string_view line);
  int FindFirstInLine(std::string_view line);
  int FindNextInLine();
  bool AcceptMatch(std::size_t start);
  bool IsCharStart(std::size_t start, std::size_t* previous_char);
  bool SameDoubleByteChars(std::size_t start) const;

  const ICodePage* code_page_ = nullptr;
  bool unicode_ = false;  // UTF-8 lines
  bool has_lead_bytes_ = false;
  std::array<bool, 256> lead_byte_{};

  bool table_is_identity_ = true;
  std::array<unsigned char, 256> fold_table_{};
  std::array<bool, 256> delimiter_table_{};
  std::array<std::int32_t, 256> shift_table_{};
  // The scan's inner skip, per raw text byte: how far the window end may move
  // when that byte stands under it (0 when its fold is the last pattern byte).
  std::array<std::int32_t, 256> skip_table_{};
  TLiteralScanner scanner_;
  // The search of UTF-8 lines, whose occurrences may differ in length.
  TUtf8LiteralFinder utf8_finder_;
  bool shift_table_valid_ = false;
  int look_at_step_ = 1;

  std::string pattern_;
  std::string folded_pattern_;
  std::size_t pattern_length_ = 0;
  unsigned char folded_last_ = 0;

  bool case_sensitive_ = false;
  bool whole_word_ = false;

  // The line being searched and the matcher's window end within it.
  const unsigned char* text_ = nullptr;
  std::size_t text_length_ = 0;
  std::ptrdiff_t current_ = 0;
  // Character-boundary walk for double-byte code pages: the first character
  // start not yet passed, and the start of the character before it.
  std::size_t char_walk_ = 0;
  std::size_t char_walk_previous_ = 0;

  std::vector<int> results_;
  std::vector<int> lengths_;  // UTF-8 lines only
};
