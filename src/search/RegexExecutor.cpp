#include "search/RegexExecutor.h"

#include <algorithm>
#include <cstring>

#include "search/RegexErrors.h"

namespace regex_detail {
namespace {

enum FrameKind : std::int32_t {
  kAlternative,     // resume at (at, pos)
  kRestoreCapture,  // slot at had value pos
  kRestoreCounter,  // counter at had count pos and mark extra
  kGreedyRepeat,    // RepeatSimple at, started at pos, currently takes extra items
  kLazyRepeat,      // same, may take one more item
  kRunFailed,       // RepeatSimple at, started at pos, ran to extra (-1: not known yet)
  kGreedyChars,     // RepeatChars at, may end at pos at the least, ends at extra now
  kLazyChars,       // RepeatChars at, ends at pos after extra characters
};

[[noreturn]] void OutOfBudget() { throw ERegexMatcher(regex_error::kLoopStackExceeded); }

}  // namespace

bool Executor::ItemMatches(const Inst& inst, unsigned char c) const {
  switch (inst.item) {
    case Item::Char:
      return c == inst.a;
    case Item::CharFold:
      return program_->fold[c] == inst.a;
    case Item::Set:
      return program_->sets[static_cast<std::size_t>(inst.a)][c];
    case Item::Any:
      return true;
  }
  return false;
}

bool Executor::InFailedRun(const Inst& inst, int pos) const {
  const FailedRun& run = failed_runs_[static_cast<std::size_t>(inst.d)];
  return run.stamp == stamp_ && run.start <= pos && pos <= run.end;
}

int Executor::RunEnd(const Inst& inst, int pos) const {
  if (inst.op == Op::RepeatChars) {
    while (pos < length_) {
      const int n = view_.ItemChar(inst, pos);
      if (n == 0) break;
      pos += n;
    }
    return pos;
  }
  while (pos < length_ && ItemMatches(inst, text_[pos])) ++pos;
  return pos;
}

void Executor::Push(std::int32_t kind, std::int32_t at, std::int32_t pos, std::int32_t extra) {
  if (stack_.size() >= kMaxFrames) OutOfBudget();
  stack_.push_back(Frame{kind, at, pos, extra});
}

std::size_t Executor::FindPrefix(const StartHints& hints, std::size_t from) const {
  const std::size_t found =
      hints.prefix_scanner.Find(text_, static_cast<std::size_t>(length_), from);
  return found == TLiteralScanner::npos ? std::string_view::npos : found;
}

const StartHints& Executor::HintsFrom(std::size_t from) {
  if (!program_->ascii_hints_differ) return program_->hints;
  if (last_non_ascii_ == kNotKnown)
    last_non_ascii_ = utf8_chars::LastNonAscii(text_, static_cast<std::size_t>(length_));
  return program_->HintsFrom(from, last_non_ascii_);
}

bool Executor::Search(const Program& program, std::string_view text, std::size_t from,
                      std::int64_t& budget, Captures& captures) {
  return program.utf8 ? SearchIn<true>(program, text, from, budget, captures)
                      : SearchIn<false>(program, text, from, budget, captures);
}

template <bool kUtf8>
bool Executor::SearchIn(const Program& program, std::string_view text, std::size_t from,
                        std::int64_t& budget, Captures& captures) {
  program_ = &program;
  text_ = reinterpret_cast<const unsigned char*>(text.data());
  length_ = static_cast<int>(text.size());
  view_ = TextView{&program, text_, length_};
  if (program.failures_hold) {
    if (failed_runs_.size() < static_cast<std::size_t>(program.unbounded_runs)) {
      failed_runs_.resize(static_cast<std::size_t>(program.unbounded_runs));
    }
    if (++stamp_ == 0) {
      std::fill(failed_runs_.begin(), failed_runs_.end(), FailedRun{});
      stamp_ = 1;
    }
  }
  if (counters_.size() < static_cast<std::size_t>(program.counter_count)) {
    counters_.resize(static_cast<std::size_t>(program.counter_count));
    marks_.resize(static_cast<std::size_t>(program.counter_count));
  }
  const auto length = static_cast<std::size_t>(length_);
  if (program.anchored) {
    return from == 0 && MatchAt<kUtf8>(0, budget, captures);
  }
  const StartHints& hints = kUtf8 ? HintsFrom(from) : program.hints;
  if (kUtf8 && hints.none) return false;
  std::size_t pos = from;
  while (pos <= length) {
    if (!hints.prefix.empty()) {
      pos = FindPrefix(hints, pos);
      if (pos == std::string_view::npos) return false;
    } else if (hints.starts.Active()) {
      pos = hints.starts.Find(text_, length, pos);
      if (pos == StartScanner::npos) return false;
    } else if (hints.use_first_bytes) {
      while (pos < length && !hints.first_bytes[text_[pos]]) ++pos;
      if (pos == length) return false;  // such a match cannot be empty
    }
    if (kUtf8 ? !view_.IsCharStart(static_cast<int>(pos))
              : program.double_byte && !starts_.IsStart(program, text_, length, pos)) {
      ++pos;
      continue;
    }
    if (MatchAt<kUtf8>(static_cast<int>(pos), budget, captures)) return true;
    if (program.leading_run) {
      // Every start inside the run offers the rest of the expression a subset
      // of the positions this start offered, and all of them failed.
      const Inst& run = program.code[static_cast<std::size_t>(program.leading_run_pc)];
      std::size_t end = pos;
      if constexpr (kUtf8) {
        end = static_cast<std::size_t>(RunEnd(run, static_cast<int>(pos)));
      } else {
        while (end < length && ItemMatches(run, text_[end])) ++end;
      }
      budget -= static_cast<std::int64_t>(end - pos);
      if (end > pos + 1) pos = end - 1;
    }
    ++pos;
  }
  return false;
}

// The UTF-8 instructions that take characters: whether `in` matches at pos,
// moving pos and pc on and noting what backtracking will need.
bool Executor::TakeUtf8(const Inst& in, int& pc, int& pos, std::int64_t& budget) {
  const Program& program = *program_;
  const auto& fold = program.fold;
  const unsigned char* text = text_;
  const int length = length_;
  bool ok = true;
  switch (in.op) {
    case Op::UChar:
      ok = pos < length && text[pos] == in.a && view_.CharLen(pos) == 1;
      ++pos, ++pc;
      break;
    case Op::UCharFold:
      ok = pos < length && fold[text[pos]] == in.a && view_.CharLen(pos) == 1;
      ++pos, ++pc;
      break;
    case Op::UText:
      ok = length - pos >= in.c &&
           std::memcmp(text + pos, program.literals.data() + in.a,
                       static_cast<std::size_t>(in.c)) == 0 &&
           view_.IsCharStart(pos + in.c);
      pos += in.c, ++pc;
      break;
    case Op::UTextFold:
      pos = view_.FoldedCharsEnd(in.a, in.c, pos);
      ok = pos >= 0;
      ++pc;
      break;
    case Op::USet:
      ok = pos < length && view_.ClassTakes(in.a, pos);
      if (ok) pos += view_.CharLen(pos);
      ++pc;
      break;
    case Op::UAny:
      ok = pos < length;
      if (ok) pos += view_.CharLen(pos);
      ++pc;
      break;
    case Op::RepeatChars: {
      const bool unbounded = in.c == kUnbounded;
      const bool note_failure = unbounded && program.failures_hold;
      if (note_failure && InFailedRun(in, pos)) {
        ok = false;
        ++pc;
        break;
      }
      // Greedy takes all it can, lazy only the least; min_end is where the
      // least number of characters ends.
      const int most = !in.greedy ? in.b : unbounded ? length : in.c;
      int count = 0;
      int at = pos;
      int min_end = pos;
      while (count < most && at < length) {
        const int n = view_.ItemChar(in, at);
        if (n == 0) break;
        at += n;
        if (++count == in.b) min_end = at;
      }
      budget -= at - pos;
      ok = count >= in.b;
      if (ok && in.greedy) {
        if (note_failure) Push(kRunFailed, pc, pos, at);
        if (count > in.b) Push(kGreedyChars, pc, min_end, at);
      } else if (ok) {
        if (note_failure) Push(kRunFailed, pc, pos, -1);
        Push(kLazyChars, pc, at, count);
      }
      pos = at;
      ++pc;
      break;
    }
    default:
      ok = false;
      break;
  }
  return ok;
}

template <bool kUtf8>
bool Executor::MatchAt(int start, std::int64_t& budget, Captures& captures) {
  const Program& program = *program_;
  const Inst* code = program.code.data();
  const auto& fold = program.fold;
  const unsigned char* text = text_;
  const int length = length_;
  const int slots = 2 * (program.group_count + 1);
  for (int k = 0; k < slots; ++k) captures[static_cast<std::size_t>(k)] = -1;
  stack_.clear();

  int pc = 0;
  int pos = start;
  for (;;) {
    if (--budget < 0) OutOfBudget();
    const Inst& in = code[pc];
    bool ok = true;
    switch (in.op) {
      case Op::Char:
        ok = pos < length && text[pos] == in.a;
        ++pos, ++pc;
        break;
      case Op::CharFold:
        ok = pos < length && fold[text[pos]] == in.a;
        ++pos, ++pc;
        break;
      case Op::String:
        ok = length - pos >= in.b && std::memcmp(text + pos, program.literals.data() + in.a,
                                                 static_cast<std::size_t>(in.b)) == 0;
        pos += in.b, ++pc;
        break;
      case Op::StringFold: {
        ok = length - pos >= in.b;
        const auto* lit = reinterpret_cast<const unsigned char*>(program.literals.data()) + in.a;
        for (int j = 0; ok && j < in.b; ++j) ok = fold[text[pos + j]] == lit[j];
        pos += in.b, ++pc;
        break;
      }
      case Op::Set:
        ok = pos < length && program.sets[static_cast<std::size_t>(in.a)][text[pos]];
        ++pos, ++pc;
        break;
      case Op::AnyByte:
        ok = pos < length;
        ++pos, ++pc;
        break;
      case Op::TextStart:
        ok = pos == 0;
        ++pc;
        break;
      case Op::TextEnd:
        ok = pos == length;
        ++pc;
        break;
      case Op::LineStart:
      case Op::LineEnd:
      case Op::WordBoundary:
      case Op::NotWordBoundary:
        ok = view_.Holds<kUtf8>(in.op, pos);
        ++pc;
        break;
      case Op::Backref: {
        const int g = in.a;
        const int from = g <= program.group_count ? captures[static_cast<std::size_t>(2 * g)] : -1;
        const int to =
            g <= program.group_count ? captures[static_cast<std::size_t>(2 * g + 1)] : -1;
        if constexpr (kUtf8) {
          const int end = from >= 0 && to >= from ? view_.BackrefEnd(from, to, pos, in.fold) : -1;
          budget -= to - from > 0 ? to - from : 0;
          ok = end >= 0;
          pos = end;
          ++pc;
          break;
        }
        ok = from >= 0 && to >= from && length - pos >= to - from;
        for (int j = 0; ok && j < to - from; ++j) {
          const unsigned char a = text[from + j], b = text[pos + j];
          ok = in.fold ? fold[a] == fold[b] : a == b;
        }
        if (ok) pos += to - from;
        budget -= to - from > 0 ? to - from : 0;
        ++pc;
        break;
      }
      case Op::Save: {
        int& slot = captures[static_cast<std::size_t>(in.a)];
        Push(kRestoreCapture, in.a, slot, 0);
        slot = pos;
        ++pc;
        break;
      }
      case Op::Commit: {
        // The group's capture changes only now that its pass is complete.
        auto& start = captures[static_cast<std::size_t>(2 * in.a)];
        auto& end = captures[static_cast<std::size_t>(2 * in.a + 1)];
        Push(kRestoreCapture, 2 * in.a, start, 0);
        Push(kRestoreCapture, 2 * in.a + 1, end, 0);
        start = captures[static_cast<std::size_t>(kPendingSlot + in.a)];
        end = pos;
        ++pc;
        break;
      }
      case Op::Split:
        Push(kAlternative, in.b, pos, 0);
        pc = in.a;
        break;
      case Op::Jump:
        pc = in.a;
        break;
      case Op::RepeatSimple: {
        const int available = length - pos;
        const bool unbounded = in.c == kUnbounded;
        const int limit = unbounded ? available : std::min(in.c, available);
        const bool note_failure = unbounded && program.failures_hold;
        if (note_failure && InFailedRun(in, pos)) {
          ok = false;
        } else if (in.greedy) {
          int count = 0;
          if (in.item == Item::Any) {
            count = limit;
          } else {
            while (count < limit && ItemMatches(in, text[pos + count])) ++count;
          }
          budget -= count;
          ok = count >= in.b;
          if (ok && note_failure) Push(kRunFailed, pc, pos, pos + count);
          if (ok && count > in.b) Push(kGreedyRepeat, pc, pos, count);
          pos += count;
        } else {
          int count = 0;
          while (count < in.b && count < limit && ItemMatches(in, text[pos + count])) ++count;
          budget -= count;
          ok = count >= in.b;
          if (ok && note_failure) Push(kRunFailed, pc, pos, -1);
          if (ok) Push(kLazyRepeat, pc, pos, count);
          pos += count;
        }
        ++pc;
        break;
      }
      case Op::LoopInit:
        Push(kRestoreCounter, in.a, counters_[static_cast<std::size_t>(in.a)],
             marks_[static_cast<std::size_t>(in.a)]);
        counters_[static_cast<std::size_t>(in.a)] = 0;
        ++pc;
        break;
      case Op::LoopTest: {
        const int count = counters_[static_cast<std::size_t>(in.a)];
        if (count < in.b) {
          ++pc;
        } else if (in.c != kUnbounded && count >= in.c) {
          pc = in.d;
        } else if (in.greedy) {
          Push(kAlternative, in.d, pos, 0);
          ++pc;
        } else {
          Push(kAlternative, pc + 1, pos, 0);
          pc = in.d;
        }
        break;
      }
      case Op::LoopMark:
        Push(kRestoreCounter, in.a, counters_[static_cast<std::size_t>(in.a)],
             marks_[static_cast<std::size_t>(in.a)]);
        marks_[static_cast<std::size_t>(in.a)] = pos;
        ++pc;
        break;
      case Op::LoopStep: {
        auto& count = counters_[static_cast<std::size_t>(in.a)];
        auto& mark = marks_[static_cast<std::size_t>(in.a)];
        Push(kRestoreCounter, in.a, count, mark);
        ++count;
        // A pass that matched nothing could be repeated forever to the same
        // effect: the loop is done.
        pc = pos == mark ? in.c : in.b;
        break;
      }
      case Op::Match:
        captures[0] = start;
        captures[1] = pos;
        return true;
      default:  // the UTF-8 instructions, which no other program holds
        if constexpr (kUtf8) {
          ok = TakeUtf8(in, pc, pos, budget);
        } else {
          ok = false;
        }
        break;
    }
    if (ok) continue;

    // Backtrack to the most recent choice that is still open.
    for (;;) {
      if (stack_.empty()) return false;
      const Frame f = stack_.back();
      stack_.pop_back();
      if (f.kind == kAlternative) {
        pc = f.at;
        pos = f.pos;
        break;
      }
      if (f.kind == kRestoreCapture) {
        captures[static_cast<std::size_t>(f.at)] = f.pos;
        continue;
      }
      if (f.kind == kRestoreCounter) {
        counters_[static_cast<std::size_t>(f.at)] = f.pos;
        marks_[static_cast<std::size_t>(f.at)] = f.extra;
        continue;
      }
      const Inst& rep = code[f.at];
      if (f.kind == kRunFailed) {
        const int end = f.extra >= 0 ? f.extra : RunEnd(rep, f.pos);
        failed_runs_[static_cast<std::size_t>(rep.d)] = FailedRun{stamp_, f.pos, end};
        continue;
      }
      if (--budget < 0) OutOfBudget();
      if (kUtf8 && f.kind == kGreedyChars) {
        // One character less, and fewer still while the character after the
        // run cannot be what the next instruction wants.
        int end = view_.PrevCharStart(f.extra);
        int next_pc = f.at + 1;
        while (code[next_pc].op == Op::Save || code[next_pc].op == Op::Commit) ++next_pc;
        const Inst& next = code[next_pc];
        int wanted = -1;
        if (next.op == Op::UChar || next.op == Op::UText) {
          wanted =
              next.op == Op::UChar
                  ? next.a
                  : static_cast<unsigned char>(program.literals[static_cast<std::size_t>(next.a)]);
          while (end > f.pos && text[end] != wanted) end = view_.PrevCharStart(end);
        } else if (next.op == Op::UCharFold) {
          while (end > f.pos && fold[text[end]] != next.a) end = view_.PrevCharStart(end);
        }
        budget -= f.extra - end;
        if (end > f.pos) Push(kGreedyChars, f.at, f.pos, end);
        pc = f.at + 1;
        pos = end;
        break;
      }
      if (kUtf8 && f.kind == kLazyChars) {
        // One character more, if the item takes it.
        const int n = (rep.c == kUnbounded || f.extra < rep.c) && f.pos < length
                          ? view_.ItemChar(rep, f.pos)
                          : 0;
        if (n == 0) continue;
        Push(kLazyChars, f.at, f.pos + n, f.extra + 1);
        pc = f.at + 1;
        pos = f.pos + n;
        break;
      }
      if (f.kind == kGreedyRepeat) {
        int count = f.extra - 1;
        // When a byte-taking instruction follows (captures in between take
        // none), only counts that leave a byte it takes next can succeed.
        int next_pc = f.at + 1;
        while (code[next_pc].op == Op::Save || code[next_pc].op == Op::Commit) ++next_pc;
        const Inst& next = code[next_pc];
        int wanted = -1;
        bool folded = false;
        if (next.op == Op::Char || next.op == Op::CharFold) {
          wanted = next.a;
          folded = next.op == Op::CharFold;
        } else if (next.op == Op::String || next.op == Op::StringFold) {
          wanted = static_cast<unsigned char>(program.literals[static_cast<std::size_t>(next.a)]);
          folded = next.op == Op::StringFold;
        }
        if (wanted >= 0) {
          while (count > rep.b &&
                 (folded ? fold[text[f.pos + count]] : text[f.pos + count]) != wanted) {
            --count;
          }
          budget -= f.extra - 1 - count;
        } else if (next.op == Op::Set) {
          const ByteTable& set = program.sets[static_cast<std::size_t>(next.a)];
          while (count > rep.b && !set[text[f.pos + count]]) --count;
          budget -= f.extra - 1 - count;
        }
        if (count > rep.b) Push(kGreedyRepeat, f.at, f.pos, count);
        pc = f.at + 1;
        pos = f.pos + count;
        break;
      }
      // Lazy repeat: take one more item if it is there.
      const int count = f.extra;
      const int at = f.pos + count;
      if ((rep.c == kUnbounded || count < rep.c) && at < length && ItemMatches(rep, text[at])) {
        Push(kLazyRepeat, f.at, f.pos, count + 1);
        pc = f.at + 1;
        pos = at + 1;
        break;
      }
    }
  }
}

}  // namespace regex_detail
