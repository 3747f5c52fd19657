#include "search/RegexMatcher.h"

#include <algorithm>
#include <limits>

#include "platform/CodePage1252.h"
#include "search/RegexProgram.h"

using namespace regex_detail;

namespace {

constexpr char kModifierLetters[] = "irsgmx";
// Positions are kept in 32 bits; no line of the editor comes near this.
constexpr std::size_t kMaxInput = std::numeric_limits<std::int32_t>::max() - 16;

CaseInfo BuildCaseInfo(const ICodePage& code_page) {
  CaseInfo info;
  for (int b = 0; b < 256; ++b) {
    char c = static_cast<char>(b);
    if (!code_page.IsLeadByte(static_cast<unsigned char>(b))) code_page.LowerBuffer(&c, 1);
    info.fold[static_cast<std::size_t>(b)] = static_cast<unsigned char>(c);
  }
  for (std::size_t b = 0; b < 256; ++b) {
    info.lead[b] = code_page.IsLeadByte(static_cast<unsigned char>(b));
    info.double_byte = info.double_byte || info.lead[b];
  }
  info.utf8 = code_page.UnicodeText();
  std::array<int, 256> members{};
  for (unsigned char f : info.fold) ++members[f];
  for (std::size_t b = 0; b < 256; ++b) info.has_partner[b] = members[info.fold[b]] > 1;
  return info;
}

bool& ModifierRef(Modifiers& m, char letter) {
  switch (letter) {
    case 'i':
      return m.i;
    case 'r':
      return m.r;
    case 's':
      return m.s;
    case 'g':
      return m.g;
    case 'm':
      return m.m;
    default:
      return m.x;
  }
}

}  // namespace

TRegexMatcher::TRegexMatcher() : TRegexMatcher(DefaultCodePage()) {}

TRegexMatcher::TRegexMatcher(const ICodePage& code_page)
    : code_page_(&code_page), case_info_(BuildCaseInfo(code_page)) {
  separators_.single.set('\r');
  separators_.single.set('\n');
  separators_.pair_first = '\r';
  separators_.pair_second = '\n';
}

TRegexMatcher::~TRegexMatcher() = default;

void TRegexMatcher::SetCodePage(const ICodePage& code_page) {
  if (&code_page == code_page_) return;
  code_page_ = &code_page;
  case_info_ = BuildCaseInfo(code_page);
  Invalidate();
}

void TRegexMatcher::SetExpression(const std::string& value) {
  if (value == expression_) return;
  expression_ = value;
  Invalidate();
}

bool TRegexMatcher::Modifier(char letter) const {
  Modifiers probe;
  if (!ApplyModifierLetter(probe, letter, true)) {
    throw ERegexMatcher(regex_error::kUnrecognizedModifier);
  }
  Modifiers copy = modifiers_;
  return ModifierRef(copy, static_cast<char>(letter | 0x20));
}

void TRegexMatcher::SetModifier(char letter, bool on) {
  Modifiers next = modifiers_;
  if (!ApplyModifierLetter(next, letter, on)) {
    throw ERegexMatcher(regex_error::kUnrecognizedModifier);
  }
  if (next == modifiers_) return;
  modifiers_ = next;
  Invalidate();
}

std::string TRegexMatcher::ModifierStr() const {
  std::string on, off;
  Modifiers copy = modifiers_;
  for (const char* p = kModifierLetters; *p; ++p) (ModifierRef(copy, *p) ? on : off) += *p;
  return off.empty() ? on : on + "-" + off;
}

void TRegexMatcher::SetModifierStr(std::string_view value) {
  Modifiers next = modifiers_;
  bool on = true;
  for (char c : value) {
    if (c == '-') {
      on = false;
    } else if (!ApplyModifierLetter(next, c, on)) {
      throw ERegexMatcher(regex_error::kUnrecognizedModifier);
    }
  }
  if (next == modifiers_) return;
  modifiers_ = next;
  Invalidate();
}

std::string TRegexMatcher::LineSeparators() const {
  std::string result;
  for (std::size_t b = 0; b < 256; ++b) {
    if (separators_.single.test(b)) result += static_cast<char>(b);
  }
  return result;
}

void TRegexMatcher::SetLineSeparators(std::string_view value) {
  separators_.single.reset();
  for (char c : value) separators_.single.set(static_cast<unsigned char>(c));
  Invalidate();
}

std::string TRegexMatcher::LinePairedSeparator() const {
  if (separators_.pair_first < 0) return {};
  return {static_cast<char>(separators_.pair_first), static_cast<char>(separators_.pair_second)};
}

void TRegexMatcher::SetLinePairedSeparator(std::string_view value) {
  if (value.empty()) {
    separators_.pair_first = separators_.pair_second = -1;
  } else if (value.size() == 2 && value[0] != value[1]) {
    separators_.pair_first = static_cast<unsigned char>(value[0]);
    separators_.pair_second = static_cast<unsigned char>(value[1]);
  } else {
    throw ERegexMatcher(regex_error::kBadLinePairedSeparator);
  }
  Invalidate();
}

void TRegexMatcher::Compile() {
  if (expression_.empty()) throw ERegexMatcher(regex_error::kNullArgument);
  const Syntax syntax = ParseExpression(expression_, modifiers_, separators_, case_info_);
  program_ =
      std::make_unique<Program>(CompileSyntax(syntax, case_info_, separators_, expression_.size()));
  compiled_ = true;
}

void TRegexMatcher::EnsureCompiled() {
  if (expression_.empty()) throw ERegexMatcher(regex_error::kNoExpression);
  if (!compiled_) Compile();
}

std::string TRegexMatcher::InputString() const {
  if (!has_input_) throw ERegexMatcher(regex_error::kGetInputStringWithoutInputString);
  return std::string(text_);
}

void TRegexMatcher::NewText() {
  executor_.NewText();
  linear_executor_.NewText();
}

void TRegexMatcher::SetInputString(std::string_view value) {
  input_.assign(value.data(), value.size());
  text_ = input_;
  NewText();
  has_input_ = true;
  has_run_ = false;
  matched_ = false;
}

void TRegexMatcher::SetBudget(std::int64_t base, std::int64_t per_byte) {
  budget_base_ = base;
  budget_per_byte_ = per_byte;
}

bool TRegexMatcher::HasLinearForm() {
  EnsureCompiled();
  return !program_->linear.empty();
}

void TRegexMatcher::StartBudget() {
  std::int64_t base = budget_base_;
  std::int64_t per_byte = budget_per_byte_;
  if (engine_ == Engine::Automatic && !program_->linear.empty()) {
    base = std::min(base, kTrialBudgetBase);
    per_byte = std::min(per_byte, kTrialBudgetPerByte);
  }
  budget_ = base + per_byte * static_cast<std::int64_t>(text_.size());
  linear_now_ = engine_ == Engine::Linear && !program_->linear.empty();
}

bool TRegexMatcher::ExecBorrowed(std::string_view text) {
  text_ = text;
  NewText();
  has_input_ = true;
  has_run_ = false;
  matched_ = false;
  return ExecPos(1);
}

void TRegexMatcher::ReleaseInput() {
  text_ = input_;
  has_input_ = has_run_ = matched_ = false;
}

bool TRegexMatcher::Exec(std::string_view input) {
  SetInputString(input);
  return ExecPos(1);
}

bool TRegexMatcher::ExecPos(int offset) {
  EnsureCompiled();
  if (!has_input_) throw ERegexMatcher(regex_error::kNoInputString);
  if (offset < 1) throw ERegexMatcher(regex_error::kOffsetMustBePositive);
  StartBudget();
  return Run(static_cast<std::size_t>(offset - 1));
}

bool TRegexMatcher::ExecNext() {
  if (!has_run_) throw ERegexMatcher(regex_error::kExecNextWithoutExec);
  if (!matched_) return false;
  // After an empty match the search moves one column on, so it cannot stall.
  std::size_t from = static_cast<std::size_t>(captures_[1]);
  if (captures_[1] == captures_[0]) ++from;
  // The work allowance is shared with the search that found the first match,
  // so walking all matches of a line stays within one bound.
  return Run(from);
}

bool TRegexMatcher::Run(std::size_t from) {
  EnsureCompiled();
  matched_ = false;
  has_run_ = false;
  groups_pending_ = false;
  if (text_.size() > kMaxInput) throw ERegexMatcher(regex_error::kLoopStackExceeded);
  if (from <= text_.size()) {
    if (linear_now_) {
      matched_ = RunLinear(from);
    } else {
      try {
        matched_ = executor_.Search(*program_, text_, from, budget_, captures_);
      } catch (const ERegexMatcher& e) {
        if (e.ErrorCode() != regex_error::kLoopStackExceeded || engine_ != Engine::Automatic ||
            program_->linear.empty()) {
          throw;
        }
        linear_now_ = true;
        matched_ = RunLinear(from);
      }
    }
  }
  has_run_ = true;
  return matched_;
}

// The linear executor finds where the match lies without its groups, which
// costs less; they are worked out when first asked for, by a second search
// from the match's start. That search takes the same way to the same match:
// the ways from earlier starts that crowded out some of its ways in the first
// search all failed, and so would have the ways they crowded out.
bool TRegexMatcher::RunLinear(std::size_t from) {
  const bool found = linear_executor_.Search(*program_, text_, from, {.groups = false}, captures_);
  groups_pending_ = found && program_->group_count > 0;
  return found;
}

void TRegexMatcher::EnsureGroups() const {
  if (!groups_pending_) return;
  groups_pending_ = false;
  const auto start = static_cast<std::size_t>(captures_[0]);
  const int end = captures_[1];
  std::fill(captures_.begin() + 2, captures_.end(), -1);
  if (!linear_executor_.Search(*program_, text_, start, {.groups = true, .at_from_only = true},
                               captures_) ||
      captures_[1] != end) {
    throw ERegexMatcher(regex_error::kMatchPrimCorruptedPointers);
  }
}

int TRegexMatcher::SubExprMatchCount() const {
  if (!matched_) return -1;
  EnsureGroups();
  int highest = 0;
  for (int g = 1; g <= program_->group_count; ++g) {
    if (captures_[static_cast<std::size_t>(2 * g)] >= 0) highest = g;
  }
  return highest;
}

int TRegexMatcher::MatchPos(int group) const {
  if (!matched_ || group < 0 || group > program_->group_count) return -1;
  if (group > 0) EnsureGroups();
  const int start = captures_[static_cast<std::size_t>(2 * group)];
  const int end = captures_[static_cast<std::size_t>(2 * group + 1)];
  return start >= 0 && end >= start ? start + 1 : -1;
}

int TRegexMatcher::MatchLen(int group) const {
  if (MatchPos(group) < 0) return -1;
  return captures_[static_cast<std::size_t>(2 * group + 1)] -
         captures_[static_cast<std::size_t>(2 * group)];
}

std::string TRegexMatcher::Match(int group) const {
  const int pos = MatchPos(group);
  if (pos < 0) return {};
  return std::string(
      text_.substr(static_cast<std::size_t>(pos - 1), static_cast<std::size_t>(MatchLen(group))));
}

std::string TRegexMatcher::Substitute(std::string_view templ) const {
  std::string result;
  result.reserve(templ.size());
  const std::size_t n = templ.size();
  std::size_t i = 0;
  auto is_digit = [](char c) { return c >= '0' && c <= '9'; };
  // Group numbers beyond the 14 kept groups insert nothing.
  auto group_number = [&](std::size_t from, std::size_t to) {
    int value = 0;
    for (std::size_t k = from; k < to; ++k) {
      value = value * 10 + (templ[k] - '0');
      if (value > kSubExprMax) return kSubExprMax + 1;
    }
    return value;
  };
  while (i < n) {
    const char c = templ[i];
    if (c == '\\') {
      if (i + 1 < n) {
        result += templ[i + 1];
        i += 2;
      } else {
        result += c;
        ++i;
      }
      continue;
    }
    if (c != '$' || i + 1 >= n) {
      result += c;
      ++i;
      continue;
    }
    const char d = templ[i + 1];
    if (is_digit(d)) {
      std::size_t j = i + 1;
      while (j < n && is_digit(templ[j])) ++j;
      result += Match(group_number(i + 1, j));
      i = j;
    } else if (d == '&') {
      result += Match(0);
      i += 2;
    } else if (d == '{') {
      const std::size_t close = templ.find('}', i + 2);
      const std::size_t inner = i + 2;
      bool all_digits = close != std::string_view::npos && close > inner;
      for (std::size_t k = inner; all_digits && k < close; ++k) all_digits = is_digit(templ[k]);
      if (all_digits) {
        result += Match(group_number(inner, close));
        i = close + 1;
      } else if (close == inner + 1 && templ[inner] == '&') {
        result += Match(0);
        i = close + 1;
      } else {
        result += '$';
        ++i;
      }
    } else {
      result += '$';
      ++i;
    }
  }
  return result;
}

std::string TRegexMatcher::Replace(std::string_view input, std::string_view templ) {
  std::string result;
  bool found = Exec(input);
  std::size_t copied = 0;
  while (found) {
    const auto start = static_cast<std::size_t>(captures_[0]);
    result.append(text_.substr(copied, start - copied));
    result += Substitute(templ);
    copied = static_cast<std::size_t>(captures_[1]);
    found = ExecNext();
  }
  result.append(text_.substr(copied));
  return result;
}
