#include "search/EditorSearch.h"

#include "platform/CodePage1252.h"
#include "platform/Exception.h"

TEditorSearch::TEditorSearch() : TEditorSearch(DefaultCodePage()) {}

TEditorSearch::TEditorSearch(const ICodePage& code_page) { TakeCodePage(code_page); }

void TEditorSearch::TakeCodePage(const ICodePage& code_page) {
  code_page_ = &code_page;
  unicode_ = code_page.UnicodeText();
  has_lead_bytes_ = false;
  for (int b = 0; b < 256; ++b) {
    const auto c = static_cast<unsigned char>(b);
    lead_byte_[b] = code_page.IsLeadByte(c);
    has_lead_bytes_ = has_lead_bytes_ || lead_byte_[b];
    // Letters and digits of the code page and the underscore make up words;
    // every other byte, NUL included, ends one.
    delimiter_table_[b] = !(code_page.IsAlphaNumeric(c) || c == '_');
  }
  table_is_identity_ = !case_sensitive_;  // so that the table is made afresh
  MakeFoldTable(case_sensitive_);
}

void TEditorSearch::SetCodePage(const ICodePage& code_page) {
  if (&code_page == code_page_) return;
  TakeCodePage(code_page);
  shift_table_valid_ = false;
}

int TEditorSearch::LengthAt(int index) const {
  if (unicode_ && index >= 0 && index < static_cast<int>(lengths_.size()))
    return lengths_[static_cast<std::size_t>(index)];
  return static_cast<int>(pattern_.size());
}

void TEditorSearch::MakeFoldTable(bool case_sensitive) {
  if (table_is_identity_ == case_sensitive) return;
  for (int b = 0; b < 256; ++b) fold_table_[b] = static_cast<unsigned char>(b);
  if (!case_sensitive) {
    // One byte at a time: converting the table as one buffer would let a
    // double-byte code page read neighbouring entries as lead and trail bytes.
    for (int b = 0; b < 256; ++b) {
      char c = static_cast<char>(b);
      if (!lead_byte_[b]) code_page_->LowerBuffer(&c, 1);
      fold_table_[b] = static_cast<unsigned char>(c);
    }
  }
  table_is_identity_ = case_sensitive;
}

void TEditorSearch::SetPattern(const std::string& value) {
  if (value == pattern_) return;
  pattern_ = value;
  shift_table_valid_ = false;
}

void TEditorSearch::SetCaseSensitive(bool value) {
  if (value == case_sensitive_) return;
  case_sensitive_ = value;
  MakeFoldTable(value);
  shift_table_valid_ = false;
}

void TEditorSearch::SetOptions(TSearchOptionSet options) {
  SetCaseSensitive(options.Contains(TSearchOption::MatchCase));
  SetWholeWord(options.Contains(TSearchOption::WholeWord));
}

int TEditorSearch::ResultAt(int index) const {
  if (index < 0 || index >= ResultCount()) return 0;
  return results_[static_cast<std::size_t>(index)];
}

std::string TEditorSearch::ReplacementText(const std::string&, const std::string& replacement) {
  return replacement;
}

void TEditorSearch::InitShiftTable() {
  pattern_length_ = pattern_.size();
  if (pattern_length_ == 0) throw Exception("Pattern is empty");
  folded_pattern_.resize(pattern_length_);
  for (std::size_t i = 0; i < pattern_length_; ++i) {
    folded_pattern_[i] = static_cast<char>(fold_table_[static_cast<unsigned char>(pattern_[i])]);
  }
  const auto* folded = reinterpret_cast<const unsigned char*>(folded_pattern_.data());
  folded_last_ = folded[pattern_length_ - 1];

  // A pattern longer than any line cannot match; clamping keeps the shifts in range.
  const auto default_shift =
      static_cast<std::int32_t>(pattern_length_ < 0x7FFFFFF0u ? pattern_length_ + 1 : 0x7FFFFFF0u);
  shift_table_.fill(default_shift);
  for (std::size_t i = 0; i < pattern_length_; ++i) {
    shift_table_[folded[i]] = static_cast<std::int32_t>(pattern_length_ - i);
  }
  // Folding is built into the skip so the inner loop does one lookup per step.
  const auto far =
      static_cast<std::int32_t>(pattern_length_ < 0x7FFFFFF0u ? pattern_length_ : 0x7FFFFFF0u);
  std::array<std::int32_t, 256> by_fold;
  by_fold.fill(far);
  for (std::size_t i = 0; i + 1 < pattern_length_; ++i) {
    by_fold[folded[i]] = static_cast<std::int32_t>(pattern_length_ - 1 - i);
  }
  by_fold[folded_last_] = 0;
  for (int b = 0; b < 256; ++b) skip_table_[b] = by_fold[fold_table_[b]];

  scanner_.Reset(folded_pattern_, fold_table_);
  if (unicode_) utf8_finder_.Reset(pattern_, case_sensitive_);

  look_at_step_ = 1;
  while (static_cast<std::size_t>(look_at_step_) < pattern_length_) {
    if (folded_last_ == folded[pattern_length_ - 1 - look_at_step_]) break;
    ++look_at_step_;
  }
  shift_table_valid_ = true;
}

int TEditorSearch::FindAllInLine(std::string_view line) {
  results_.clear();
  if (!shift_table_valid_) InitShiftTable();
  if (unicode_) {
    lengths_.clear();
    utf8_finder_.FindAll(line, whole_word_, results_, lengths_);
    return ResultCount();
  }
  if (scanner_.Vectorized()) {
    FindAllByBlocks(line);
    return ResultCount();
  }
  int position = FindFirstInLine(line);
  while (position > 0) {
    results_.push_back(position);
    position = FindNextInLine();
  }
  return ResultCount();
}

// The same occurrences as the skip-table scan below finds, with the candidate
// positions of sixteen bytes examined at once.
void TEditorSearch::FindAllByBlocks(std::string_view line) {
  text_ = reinterpret_cast<const unsigned char*>(line.data());
  text_length_ = line.size();
  char_walk_ = 0;
  char_walk_previous_ = 0;
  std::size_t from = 0;
  for (;;) {
    const std::size_t start = scanner_.Find(text_, text_length_, from);
    if (start == TLiteralScanner::npos) return;
    if (AcceptMatch(start)) {
      results_.push_back(static_cast<int>(start + 1));
      from = start + pattern_length_;
    } else {
      from = start + 1;
    }
  }
}

int TEditorSearch::FindFirstInLine(std::string_view line) {
  if (!shift_table_valid_) InitShiftTable();
  text_length_ = line.size();
  if (text_length_ < pattern_length_) return 0;
  text_ = reinterpret_cast<const unsigned char*>(line.data());
  current_ = -1;
  char_walk_ = 0;
  char_walk_previous_ = 0;
  return FindNextInLine();
}

int TEditorSearch::FindNextInLine() {
  // Locals, not members, in the loop: the text is read through a byte pointer,
  // which the compiler must otherwise assume may change any member.
  const unsigned char* const text = text_;
  const auto end = static_cast<std::ptrdiff_t>(text_length_);
  const auto length = static_cast<std::ptrdiff_t>(pattern_length_);
  const unsigned char* const fold = fold_table_.data();
  const std::int32_t* const shift = shift_table_.data();
  const std::int32_t* const skip = skip_table_.data();
  const auto* const folded = reinterpret_cast<const unsigned char*>(folded_pattern_.data());
  // Three skips in a row stay inside the line below this mark.
  const std::ptrdiff_t unrolled_end = end - 3 * length;
  std::ptrdiff_t current = current_ + length;
  while (current < end) {
    // Move the window until the byte under its end is the last pattern byte.
    // A skip of 0 keeps the window where it is, so steps can be chained.
    while (current < unrolled_end) {
      current += skip[text[current]];
      current += skip[text[current]];
      current += skip[text[current]];
      if (skip[text[current]] == 0) break;
    }
    while (current < end && skip[text[current]] != 0) current += skip[text[current]];
    if (current >= end) break;

    const std::ptrdiff_t start = current - length + 1;
    std::ptrdiff_t i = 0;
    while (i < length && folded[i] == fold[text[start + i]]) ++i;
    if (i == length) {
      current_ = current;
      if (AcceptMatch(static_cast<std::size_t>(start))) return static_cast<int>(start + 1);
    }
    current += look_at_step_;
    if (current >= end) break;
    current += shift[fold[text[current]]] - 1;
  }
  current_ = current;
  return 0;
}

bool TEditorSearch::AcceptMatch(std::size_t start) {
  const std::size_t after = start + pattern_length_;
  std::size_t previous_char = start - 1;
  if (has_lead_bytes_) {
    // In a double-byte code page an occurrence has to start on a character and
    // agree with the text on whole characters: a trail byte may look like an
    // ASCII letter, and it is never case-folded.
    if (!IsCharStart(start, &previous_char) || !SameDoubleByteChars(start)) return false;
  }
  if (!whole_word_) return true;
  if (start > 0 && !delimiter_table_[text_[previous_char]]) return false;
  // The end of the line counts as a delimiter.
  if (after < text_length_ && !delimiter_table_[text_[after]]) return false;
  return true;
}

bool TEditorSearch::IsCharStart(std::size_t start, std::size_t* previous_char) {
  // Candidates come in increasing order, so the walk over the line's characters
  // only ever moves forward: one pass per line in total.
  std::size_t p = char_walk_;
  std::size_t previous = char_walk_previous_;
  while (p < start) {
    previous = p;
    p += (lead_byte_[text_[p]] && p + 1 < text_length_) ? 2 : 1;
  }
  char_walk_ = p;
  char_walk_previous_ = previous;
  *previous_char = previous;
  return p == start;
}

bool TEditorSearch::SameDoubleByteChars(std::size_t start) const {
  const auto* pattern = reinterpret_cast<const unsigned char*>(pattern_.data());
  std::size_t i = 0;
  while (i < pattern_length_) {
    const unsigned char t = text_[start + i];
    if (lead_byte_[t] != lead_byte_[pattern[i]]) return false;
    if (!lead_byte_[t] || start + i + 1 >= text_length_) {
      ++i;
      continue;
    }
    // A double-byte character must lie wholly inside the occurrence and match exactly.
    if (i + 1 >= pattern_length_ || text_[start + i + 1] != pattern[i + 1]) return false;
    i += 2;
  }
  return true;
}
