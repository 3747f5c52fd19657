#pragma once
// The regular-expression matcher behind the regular-expression search engine.
//
// Syntax: . [] [^] ^ $ | () * + ? {n} {n,} {n,m} (each also non-greedy with a
// trailing ?), \d \D \w \W \s \S \b \B \A \Z, back-references \1..\9, \t \n \r
// \f \a \e, \xNN and \x{N}, inline modifier switches (?i-g) and comments (?#...).
// Up to 14 groups, numbered by their opening parenthesis; group 0 is the match.
#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "platform/CodePage.h"
#include "search/RegexErrors.h"
#include "search/RegexExecutor.h"
#include "search/RegexLinearExecutor.h"
#include "search/RegexSyntax.h"

class TRegexMatcher {
 public:
  static constexpr int kSubExprMax = regex_detail::kMaxGroups;
  // Work the backtracking executor may do before it gives up with "Loop Stack
  // Exceeded": a fixed allowance plus a share per byte of input, counted in
  // executed instructions, backtracking steps and bytes scanned by
  // repetitions. An Exec and the ExecNext calls after it share one allowance.
  // The same error ends a search whose backtracking stack would pass
  // Executor::kMaxFrames.
  static constexpr std::int64_t kDefaultBudgetBase = 10'000'000;
  static constexpr std::int64_t kDefaultBudgetPerByte = 32;
  // An expression without back-references never ends that way: the
  // backtracking executor, fastest on ordinary searches, gets this smaller
  // allowance, and when it runs out the linear-time executor takes over for
  // the rest of the input with the same results.
  static constexpr std::int64_t kTrialBudgetBase = 20'000;
  static constexpr std::int64_t kTrialBudgetPerByte = 4;

  // Which executor searches: Automatic as described above; Backtracking alone
  // (ending with "Loop Stack Exceeded" as for back-references); Linear from
  // the start wherever the expression allows it.
  enum class Engine { Automatic, Backtracking, Linear };

  TRegexMatcher();  // on the default code page
  explicit TRegexMatcher(const ICodePage& code_page);
  ~TRegexMatcher();
  TRegexMatcher(const TRegexMatcher&) = delete;
  TRegexMatcher& operator=(const TRegexMatcher&) = delete;

  // The character set of the texts to search: in UTF-8 the expression is made
  // of whole characters too, and so are the matches (see RegexText.h).
  void SetCodePage(const ICodePage& code_page);

  // The expression; it is compiled when first needed after a change.
  const std::string& Expression() const { return expression_; }
  void SetExpression(const std::string& value);

  // Modifiers by letter (i r s g m x, either case). Unknown letters raise
  // "Urecognized Modifier".
  bool Modifier(char letter) const;
  void SetModifier(char letter, bool on);
  // All modifiers as a switch text such as "rsg-imx"; setting one applies its
  // letters before "-" as on and those after as off.
  std::string ModifierStr() const;
  void SetModifierStr(std::string_view value);
  bool ModifierI() const { return modifiers_.i; }
  void SetModifierI(bool on) { SetModifier('i', on); }
  bool ModifierR() const { return modifiers_.r; }
  void SetModifierR(bool on) { SetModifier('r', on); }
  bool ModifierS() const { return modifiers_.s; }
  void SetModifierS(bool on) { SetModifier('s', on); }
  bool ModifierG() const { return modifiers_.g; }
  void SetModifierG(bool on) { SetModifier('g', on); }
  bool ModifierM() const { return modifiers_.m; }
  void SetModifierM(bool on) { SetModifier('m', on); }
  bool ModifierX() const { return modifiers_.x; }
  void SetModifierX(bool on) { SetModifier('x', on); }

  // Bytes that end a line for multi-line anchors and for the dot without s
  // (default CR and LF), and the two-byte separator inside which ^ and $ do not
  // match (default CR LF; empty for none).
  std::string LineSeparators() const;
  void SetLineSeparators(std::string_view value);
  std::string LinePairedSeparator() const;
  void SetLinePairedSeparator(std::string_view value);

  // Compiles now; raises the expression's error, if any.
  void Compile();

  // Searches `input` from its start; the input is kept for ExecNext and Match.
  bool Exec(std::string_view input);
  // Searches the kept input from a 1-based offset.
  bool ExecPos(int offset = 1);
  // Goes on after the last match: from its end, or one further when it was empty.
  bool ExecNext();

  std::string InputString() const;
  void SetInputString(std::string_view value);

  // Exec without keeping a copy of the text: for callers that walk all matches
  // of a text at once and then call ReleaseInput before the text goes away.
  bool ExecBorrowed(std::string_view text);
  void ReleaseInput();

  // Highest group that took part in the last match (0 for the match alone, -1
  // for no match).
  int SubExprMatchCount() const;
  // 1-based start and length of a group of the last match; -1 when it did not take part.
  int MatchPos(int group = 0) const;
  int MatchLen(int group = 0) const;
  std::string Match(int group = 0) const;

  // The template with group references of the last match filled in: $n and
  // ${n} for group n, $& and ${&} for the match; a backslash makes the next
  // character literal.
  std::string Substitute(std::string_view templ) const;
  // Every match in `input` replaced by the substituted template.
  std::string Replace(std::string_view input, std::string_view templ);

  // Work allowance of one search (see kDefaultBudgetBase).
  void SetBudget(std::int64_t base, std::int64_t per_byte);

  void SetEngine(Engine engine) { engine_ = engine; }
  // Whether the linear-time executor can run the expression (compiles it).
  bool HasLinearForm();

 private:
  void Invalidate() { compiled_ = false; }
  void EnsureCompiled();
  bool Run(std::size_t from);
  bool RunLinear(std::size_t from);
  void EnsureGroups() const;
  void StartBudget();
  void NewText();

  const ICodePage* code_page_;
  regex_detail::CaseInfo case_info_;
  std::string expression_;
  regex_detail::Modifiers modifiers_;
  regex_detail::Separators separators_;
  bool compiled_ = false;
  std::unique_ptr<regex_detail::Program> program_;
  regex_detail::Executor executor_;
  // Asked for the groups of a match only when they are wanted (see EnsureGroups).
  mutable regex_detail::LinearExecutor linear_executor_;
  Engine engine_ = Engine::Automatic;
  bool linear_now_ = false;  // the linear executor has taken over this input
  mutable bool groups_pending_ = false;

  std::string input_;      // the kept copy of the input
  std::string_view text_;  // what is searched: the copy, or a borrowed text
  bool has_input_ = false;
  bool has_run_ = false;
  bool matched_ = false;
  mutable regex_detail::Captures captures_{};
  std::int64_t budget_ = 0;
  std::int64_t budget_base_ = kDefaultBudgetBase;
  std::int64_t budget_per_byte_ = kDefaultBudgetPerByte;
};
