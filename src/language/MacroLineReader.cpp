#include "language/MacroLineReader.h"

#include <string>

#include "language/MacroLexer.h"

namespace {

// Nested brackets deeper than this are not followed (the line is then read
// as having a condition the checker cannot make out).
constexpr int kMaxExpressionDepth = 200;

bool IsLabelChar(char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_';
}

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

// Compares a word with a lower-case one, ignoring the word's letter case.
bool WordIs(std::string_view word, std::string_view lower) {
  if (word.size() != lower.size()) return false;
  for (std::size_t i = 0; i < word.size(); ++i) {
    char c = word[i];
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c + 32);
    if (c != lower[i]) return false;
  }
  return true;
}

// A token's text for a message, cut short when long.
std::string Quoted(std::string_view text) {
  constexpr std::size_t kShown = 40;
  if (text.size() > kShown) return "'" + std::string(text.substr(0, kShown)) + "...'";
  return "'" + std::string(text) + "'";
}

// The byte offset where character number `limit` (0-based) starts, or
// text.size() when the text holds no more than `limit` characters.
std::size_t OffsetOfCharacter(std::string_view text, std::size_t limit, bool utf8) {
  if (!utf8) return text.size() > limit ? limit : text.size();
  std::size_t count = 0;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if ((static_cast<unsigned char>(text[i]) & 0xC0) != 0x80) {
      if (count == limit) return i;
      ++count;
    }
  }
  return text.size();
}

class TLineReader {
 public:
  TLineReader(std::string_view text, int line, bool in_comment, const TMacroReadOptions& options,
              TMacroLineFacts& facts, std::vector<TMacroProblem>& problems)
      : lexer_(text, in_comment),
        line_(line),
        commands_(options.commands ? *options.commands : TMacroCommandSet::Interpreter()),
        facts_(facts),
        problems_(problems) {}

  void Read();

 private:
  void ReadLabel(int colon);
  void ReadStatement(bool nested);
  void ReadCommand(TMacroCommand command, const TMacroToken& word, bool nested);
  void ReadIf(const TMacroToken& word, bool nested);
  void ReadElseIf(const TMacroToken& word);
  void ReadJump(TMacroCommand command, const TMacroToken& word, bool nested);
  void ReadInclude();
  void SetBlock(TMacroCommand block, const TMacroToken& word, bool nested);
  // Moves over one expression. True when it is well formed; after is then
  // the first token behind it, else the token where it went wrong.
  bool SkipExpression(TMacroToken& after, int depth = 0);
  // Whether the last token from `from` to the end of the line is "then".
  bool EndsWithThen(TMacroToken from);
  bool IsThen(const TMacroToken& token) const {
    return token.kind == TMacroTokenKind::Word && WordIs(lexer_.TextOf(token), "then");
  }
  bool IsUnary(const TMacroToken& token) const;
  bool IsBinary(const TMacroToken& token) const;
  void Report(TMacroProblemCode code, int start, int length, std::string message) {
    problems_.push_back(MakeMacroProblem(code, line_, start, length, std::move(message)));
  }

  TMacroLexer lexer_;
  int line_;
  const TMacroCommandSet& commands_;
  TMacroLineFacts& facts_;
  std::vector<TMacroProblem>& problems_;
};

void TLineReader::Read() {
  const int start = lexer_.SkipBlanks();
  const std::string_view text = lexer_.Text();
  if (start < static_cast<int>(text.size())) {
    if (text[static_cast<std::size_t>(start)] == ':') {
      ReadLabel(start);
    } else {
      ReadStatement(false);
    }
  }
  lexer_.SkipRest();
  if (lexer_.UnterminatedString() >= 0) {
    const int quote = lexer_.UnterminatedString();
    const std::string_view line = lexer_.Text();
    Report(TMacroProblemCode::UnterminatedString, quote, static_cast<int>(line.size()) - quote,
           std::string("string without its closing ") + line[static_cast<std::size_t>(quote)] +
               " on this line");
  }
  facts_.comment_open_at_end = lexer_.CommentOpen();
  facts_.comment_start = lexer_.CommentStart();
}

void TLineReader::ReadLabel(int colon) {
  const std::string_view text = lexer_.Text();
  std::size_t p = static_cast<std::size_t>(colon) + 1;
  while (p < text.size() && IsBlank(text[p])) ++p;
  const std::size_t name = p;
  while (p < text.size() && IsLabelChar(text[p])) ++p;
  lexer_.Seek(static_cast<int>(p));
  if (p == name) return;
  facts_.statement = TMacroStatementKind::Label;
  facts_.statement_start = colon;
  facts_.statement_length = static_cast<int>(p) - colon;
  facts_.name_use = TMacroNameUse::Label;
  facts_.name_start = static_cast<int>(name);
  facts_.name_length = static_cast<int>(p - name);
}

void TLineReader::ReadStatement(bool nested) {
  const TMacroToken first = lexer_.Next();
  if (!nested) {
    facts_.statement_start = first.start;
    facts_.statement_length = first.length;
  }
  if (first.kind != TMacroTokenKind::Word) {
    if (!nested) facts_.statement = TMacroStatementKind::Invalid;
    // An unclosed string is reported once, as that.
    if (first.start == lexer_.UnterminatedString()) return;
    Report(TMacroProblemCode::NotAStatement, first.start, first.length,
           "a statement starts with a command or a variable, not " + Quoted(lexer_.TextOf(first)));
    return;
  }
  // "name = ...", "name[i] = ..." and "name += ..." assign, whatever the name.
  if (lexer_.AtAssigningOperator()) {
    if (!nested) facts_.statement = TMacroStatementKind::Assignment;
    return;
  }
  const std::string_view word = lexer_.TextOf(first);
  const std::optional<TMacroCommand> command = commands_.Find(word);
  if (!command) {
    if (!nested) facts_.statement = TMacroStatementKind::Invalid;
    Report(TMacroProblemCode::UnknownCommand, first.start, first.length,
           "unknown command " + Quoted(word));
    return;
  }
  if (!nested) {
    facts_.statement = TMacroStatementKind::Command;
    facts_.command = *command;
  }
  ReadCommand(*command, first, nested);
}

void TLineReader::ReadCommand(TMacroCommand command, const TMacroToken& word, bool nested) {
  switch (command) {
    case TMacroCommand::If:
      ReadIf(word, nested);
      return;
    case TMacroCommand::ElseIf:
      if (!nested) ReadElseIf(word);
      return;
    case TMacroCommand::Then:
      Report(TMacroProblemCode::ThenOutOfPlace, word.start, word.length,
             "'then' belongs at the end of an if or elseif line");
      return;
    case TMacroCommand::Goto:
    case TMacroCommand::Call:
      ReadJump(command, word, nested);
      return;
    case TMacroCommand::Include:
      ReadInclude();
      return;
    case TMacroCommand::End:
    case TMacroCommand::Exit:
    case TMacroCommand::Return:
      if (!nested) facts_.ends_flow = true;
      return;
    case TMacroCommand::Plain:
      return;
    default:  // the other block commands
      SetBlock(command, word, nested);
      return;
  }
}

void TLineReader::SetBlock(TMacroCommand block, const TMacroToken& word, bool nested) {
  // After a one-line if only break and continue matter: a block word there
  // opens or closes nothing the checker could follow.
  if (nested && block != TMacroCommand::Break && block != TMacroCommand::Continue) return;
  facts_.block = block;
  facts_.block_inline = nested;
  facts_.block_start = word.start;
  facts_.block_length = word.length;
}

void TLineReader::ReadIf(const TMacroToken& word, bool nested) {
  TMacroToken after;
  if (!SkipExpression(after)) {
    // Where the condition ends is unclear; a line ending in "then" opens a block.
    if (EndsWithThen(after)) SetBlock(TMacroCommand::If, word, nested);
    return;
  }
  if (after.kind == TMacroTokenKind::End) {
    Report(TMacroProblemCode::MissingThen, word.start, word.length,
           "'if' needs 'then' at the end of the line, or a statement after its condition");
    // Most likely a forgotten "then": its endif then still has its if.
    SetBlock(TMacroCommand::If, word, nested);
    return;
  }
  if (IsThen(after)) {
    SetBlock(TMacroCommand::If, word, nested);
    return;
  }
  // The one-line form: the statement after the condition is read as a line
  // of its own would be.
  lexer_.Seek(after.start);
  ReadStatement(true);
}

void TLineReader::ReadElseIf(const TMacroToken& word) {
  SetBlock(TMacroCommand::ElseIf, word, false);
  TMacroToken after;
  const bool well_formed = SkipExpression(after);
  if ((well_formed && IsThen(after)) || EndsWithThen(after)) return;
  Report(TMacroProblemCode::MissingThen, word.start, word.length,
         "'elseif' needs 'then' at the end of the line");
}

void TLineReader::ReadJump(TMacroCommand command, const TMacroToken& word, bool nested) {
  const int start = lexer_.SkipBlanks();
  const std::string_view text = lexer_.Text();
  std::size_t p = static_cast<std::size_t>(start);
  while (p < text.size() && IsLabelChar(text[p])) ++p;
  lexer_.Seek(static_cast<int>(p));
  if (!nested && command == TMacroCommand::Goto) facts_.ends_flow = true;
  if (p > static_cast<std::size_t>(start)) {
    facts_.name_use = command == TMacroCommand::Goto ? TMacroNameUse::Goto : TMacroNameUse::Call;
    facts_.name_start = start;
    facts_.name_length = static_cast<int>(p) - start;
  } else if (start >= static_cast<int>(text.size())) {
    Report(TMacroProblemCode::MissingLabelName, word.start, word.length,
           Quoted(lexer_.TextOf(word)) + " needs the name of a label");
  }
}

void TLineReader::ReadInclude() {
  const TMacroToken path = lexer_.Next();
  if (path.kind != TMacroTokenKind::String || path.length < 2) return;
  // Only a plain quoted name can be looked for; a name built from variables
  // or character codes is left alone.
  const std::string_view text = lexer_.TextOf(path);
  const char quote = text.front();
  if ((quote != '\'' && quote != '"') || text.back() != quote ||
      text.substr(1, text.size() - 2).find(quote) != std::string_view::npos) {
    return;
  }
  facts_.name_use = TMacroNameUse::Include;
  facts_.name_start = path.start + 1;
  facts_.name_length = path.length - 2;
}

bool TLineReader::IsUnary(const TMacroToken& token) const {
  const std::string_view text = lexer_.TextOf(token);
  if (token.kind == TMacroTokenKind::Word) return WordIs(text, "not");
  return token.kind == TMacroTokenKind::Operator && text.size() == 1 &&
         (text[0] == '-' || text[0] == '+' || text[0] == '!' || text[0] == '~');
}

bool TLineReader::IsBinary(const TMacroToken& token) const {
  const std::string_view text = lexer_.TextOf(token);
  if (token.kind == TMacroTokenKind::Word) {
    return WordIs(text, "and") || WordIs(text, "or") || WordIs(text, "xor");
  }
  return token.kind == TMacroTokenKind::Operator && text != "!" && text != "~";
}

bool TLineReader::SkipExpression(TMacroToken& after, int depth) {
  if (depth > kMaxExpressionDepth) {
    after = lexer_.Next();
    return false;
  }
  for (;;) {
    TMacroToken operand = lexer_.Next();
    while (IsUnary(operand)) operand = lexer_.Next();
    switch (operand.kind) {
      case TMacroTokenKind::Word:
        if (IsBinary(operand) || IsThen(operand)) {
          after = operand;
          return false;
        }
        if (lexer_.Peek().kind == TMacroTokenKind::OpenBracket) {
          lexer_.Next();
          TMacroToken inner;
          if (!SkipExpression(inner, depth + 1) || inner.kind != TMacroTokenKind::CloseBracket) {
            after = inner;
            return false;
          }
        }
        break;
      case TMacroTokenKind::Number:
      case TMacroTokenKind::String:
        break;
      case TMacroTokenKind::OpenParen: {
        TMacroToken inner;
        if (!SkipExpression(inner, depth + 1) || inner.kind != TMacroTokenKind::CloseParen) {
          after = inner;
          return false;
        }
        break;
      }
      default:
        after = operand;
        return false;
    }
    const TMacroToken op = lexer_.Next();
    if (!IsBinary(op)) {
      after = op;
      return true;
    }
  }
}

bool TLineReader::EndsWithThen(TMacroToken from) {
  TMacroToken last = from;
  for (TMacroToken t = from; t.kind != TMacroTokenKind::End; t = lexer_.Next()) last = t;
  return IsThen(last);
}

}  // namespace

void ReadMacroLine(std::string_view text, int line, bool in_comment,
                   const TMacroReadOptions& options, TMacroLineFacts& facts,
                   std::vector<TMacroProblem>& problems) {
  facts = TMacroLineFacts{};
  if (text.size() > static_cast<std::size_t>(kMacroLineLimit)) {
    const std::size_t cut = OffsetOfCharacter(text, kMacroLineLimit, options.utf8);
    if (cut < text.size()) {
      problems.push_back(
          MakeMacroProblem(TMacroProblemCode::LineTooLong, line, static_cast<int>(cut),
                           static_cast<int>(text.size() - cut),
                           "line longer than 1023 characters: the interpreter ignores the rest"));
    }
  }
  TLineReader(text, line, in_comment, options, facts, problems).Read();
}
