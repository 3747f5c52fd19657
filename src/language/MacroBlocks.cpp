#include "language/MacroBlocks.h"

#include <string>

namespace {

using W = TMacroCommand;

W CloserOf(W opener) {
  switch (opener) {
    case W::If:
      return W::EndIf;
    case W::For:
      return W::Next;
    case W::While:
      return W::EndWhile;
    case W::Do:
      return W::Loop;
    case W::Until:
      return W::EndUntil;
    default:
      return W::Plain;
  }
}

bool IsLoop(W word) {
  return word == W::For || word == W::While || word == W::Do || word == W::Until;
}

bool IsCloserOrContinuation(W word) {
  return word == W::ElseIf || word == W::Else || word == W::EndIf || word == W::Next ||
         word == W::EndWhile || word == W::Loop || word == W::EndUntil;
}

std::string Q(W word) { return MacroMessage({"'", MacroCommandName(word), "'"}); }

// "the 'for' of line 12"
std::string BlockOfLine(W word, int line) {
  return MacroMessage({"the '", MacroCommandName(word), "' of line ", std::to_string(line + 1)});
}

}  // namespace

void TMacroBlockPass::Report(TMacroProblemCode code, int line, const TMacroLineFacts& facts,
                             std::string message) {
  problems_.push_back(
      MakeMacroProblem(code, line, facts.block_start, facts.block_length, std::move(message)));
}

void TMacroBlockPass::Add(int line, const TMacroLineFacts& facts) {
  if (facts.statement == TMacroStatementKind::None) return;
  if (facts.statement == TMacroStatementKind::Label) {
    unreached_ = false;
    return;
  }
  const W block = facts.block_inline ? W::Plain : facts.block;
  if (unreached_) {
    if (IsCloserOrContinuation(block) && open_.size() <= unreached_depth_) {
      unreached_ = false;
    } else if (!unreached_reported_) {
      unreached_reported_ = true;
      problems_.push_back(MakeMacroProblem(
          TMacroProblemCode::UnreachableCode, line, facts.statement_start, facts.statement_length,
          MacroMessage({"never reached: no label leads here after the '",
                        MacroCommandName(stop_command_), "' of line ",
                        std::to_string(stop_line_ + 1)})));
    }
  }
  switch (block) {
    case W::If:
    case W::For:
    case W::While:
    case W::Do:
    case W::Until:
      Open(line, facts);
      break;
    case W::ElseIf:
    case W::Else:
      Continue(line, facts);
      break;
    case W::EndIf:
      Close(line, facts, W::If);
      break;
    case W::Next:
      Close(line, facts, W::For);
      break;
    case W::EndWhile:
      Close(line, facts, W::While);
      break;
    case W::Loop:
      Close(line, facts, W::Do);
      break;
    case W::EndUntil:
      Close(line, facts, W::Until);
      break;
    default:
      break;
  }
  if (facts.block == W::Break || facts.block == W::Continue) CheckInLoop(line, facts);
  if (facts.ends_flow) {
    unreached_ = true;
    unreached_reported_ = false;
    unreached_depth_ = open_.size();
    stop_line_ = line;
    stop_command_ = facts.command;
  }
}

void TMacroBlockPass::Open(int line, const TMacroLineFacts& facts) {
  open_.push_back(TOpenBlock{facts.block, line, facts.block_start, facts.block_length, -1});
  if (IsLoop(facts.block)) ++loops_open_;
}

int TMacroBlockPass::Innermost(W word) const {
  for (std::size_t i = open_.size(); i-- > 0;) {
    if (open_[i].word == word) return static_cast<int>(i);
  }
  return -1;
}

void TMacroBlockPass::Continue(int line, const TMacroLineFacts& facts) {
  const int i = Innermost(W::If);
  if (i < 0) {
    Report(TMacroProblemCode::CloserWithoutOpener, line, facts,
           MacroMessage({Q(facts.block), " without 'if ... then'"}));
    return;
  }
  const std::size_t index = static_cast<std::size_t>(i);
  if (index + 1 != open_.size()) {
    const TOpenBlock& inner = open_.back();
    Report(TMacroProblemCode::CrossedBlocks, line, facts,
           MacroMessage(
               {Q(facts.block), " while ", BlockOfLine(inner.word, inner.line), " is still open"}));
  }
  TOpenBlock& block = open_[index];
  if (block.else_line >= 0) {
    Report(TMacroProblemCode::AfterElse, line, facts,
           MacroMessage({Q(facts.block), " after the 'else' of line ",
                         std::to_string(block.else_line + 1)}));
  } else if (facts.block == W::Else) {
    block.else_line = line;
  }
}

void TMacroBlockPass::Close(int line, const TMacroLineFacts& facts, W opener) {
  if (open_.empty()) {
    Report(TMacroProblemCode::CloserWithoutOpener, line, facts,
           MacroMessage({Q(facts.block), " without ", Q(opener)}));
    return;
  }
  const TOpenBlock top = open_.back();
  const int i = Innermost(opener);
  if (i < 0) {
    // Closes nothing: the open blocks stay as they are, so that one stray
    // closer makes one error, and a wrong one two (here and at the opener).
    Report(TMacroProblemCode::CrossedBlocks, line, facts,
           MacroMessage({Q(facts.block), " cannot close ", BlockOfLine(top.word, top.line),
                         ", which ends with ", Q(CloserOf(top.word))}));
    return;
  } else if (static_cast<std::size_t>(i) + 1 != open_.size()) {
    const TOpenBlock& match = open_[static_cast<std::size_t>(i)];
    Report(TMacroProblemCode::CrossedBlocks, line, facts,
           MacroMessage({Q(facts.block), " closes ", BlockOfLine(match.word, match.line), " while ",
                         BlockOfLine(top.word, top.line), " is still open"}));
    // The blocks opened inside it stay open: their closers may still follow.
    if (IsLoop(match.word)) --loops_open_;
    open_.erase(open_.begin() + i);
    return;
  }
  if (IsLoop(open_.back().word)) --loops_open_;
  open_.pop_back();
}

void TMacroBlockPass::CheckInLoop(int line, const TMacroLineFacts& facts) {
  if (loops_open_ > 0) return;
  Report(TMacroProblemCode::OutsideLoop, line, facts,
         MacroMessage({Q(facts.block), " outside a for, while, do or until loop"}));
}

void TMacroBlockPass::Finish() {
  for (const TOpenBlock& block : open_) {
    problems_.push_back(
        MakeMacroProblem(TMacroProblemCode::BlockNotClosed, block.line, block.column, block.length,
                         MacroMessage({Q(block.word), " without its ", Q(CloserOf(block.word))})));
  }
  open_.clear();
  loops_open_ = 0;
}
