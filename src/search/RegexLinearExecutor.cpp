#include "search/RegexLinearExecutor.h"

#include <algorithm>
#include <cstring>

namespace regex_detail {

// Each position's ways are gathered in a round of their own; an instruction
// is held by the first way that reaches it in that round.
void LinearExecutor::NewRound() {
  if (++round_ == 0) {
    std::fill(held_.begin(), held_.end(), 0u);
    round_ = 1;
  }
}

void LinearExecutor::Keep(Ways& ways, int pc) {
  const auto slots = static_cast<std::size_t>(slot_count_);
  if (ways.pcs.size() <= ways.count) ways.pcs.resize(std::max<std::size_t>(16, 2 * ways.count));
  // The number of slots differs between searches with and without groups.
  if (ways.slots.size() < ways.pcs.size() * slots) ways.slots.resize(ways.pcs.size() * slots);
  ways.pcs[ways.count] = pc;
  std::memcpy(ways.slots.data() + ways.count * slots, work_.data(), slots * sizeof(int));
  ++ways.count;
}

// A way arrives at pc at pos, with its captures in work_.
void LinearExecutor::Arrive(Ways& ways, int pc, int pos) {
  if (!mode_.groups) {
    const Program& program = *program_;
    const std::int32_t begin = program.linear_reach_begin[static_cast<std::size_t>(pc)];
    if (begin >= 0) {
      const std::int32_t end = program.linear_reach_end[static_cast<std::size_t>(pc)];
      for (std::int32_t k = begin; k < end; ++k) {
        const std::int32_t at = program.linear_reach[static_cast<std::size_t>(k)];
        std::uint32_t& held = held_[static_cast<std::size_t>(at)];
        if (held == round_) continue;
        held = round_;
        Keep(ways, at);
      }
      return;
    }
  }
  Follow(ways, pc, pos);
}

// Follows a way from pc through everything that takes no byte, preferred
// branches first, keeping every way that arrives at a byte or at the match.
void LinearExecutor::Follow(Ways& ways, int pc, int pos) {
  const Inst* code = program_->linear.data();
  jobs_.clear();
  jobs_.push_back(Job{pc, -1, 0});
  while (!jobs_.empty()) {
    const Job job = jobs_.back();
    jobs_.pop_back();
    if (job.slot >= 0) {
      work_[static_cast<std::size_t>(job.slot)] = job.value;
      continue;
    }
    int at = job.pc;
    for (bool going = true; going;) {
      std::uint32_t& held = held_[static_cast<std::size_t>(at)];
      if (held == round_) break;
      held = round_;
      const Inst& in = code[at];
      switch (in.op) {
        case Op::Jump:
          at = in.a;
          break;
        case Op::Split:
          jobs_.push_back(Job{in.b, -1, 0});
          at = in.a;
          break;
        case Op::Save:
          if (mode_.groups) {
            int& slot = work_[static_cast<std::size_t>(in.a)];
            jobs_.push_back(Job{0, in.a, slot});
            slot = pos;
          }
          ++at;
          break;
        case Op::TextStart:
        case Op::TextEnd:
        case Op::LineStart:
        case Op::LineEnd:
        case Op::WordBoundary:
        case Op::NotWordBoundary:
          going = program_->utf8 ? view_.Holds<true>(in.op, pos) : view_.Holds<false>(in.op, pos);
          ++at;
          break;
        default:  // takes a byte, or is the match
          Keep(ways, at);
          going = false;
          break;
      }
    }
  }
}

// The next position at or after pos where a match may start, or npos.
std::size_t LinearExecutor::NextStart(std::size_t pos) {
  const Program& program = *program_;
  const StartHints& hints = *hints_;
  const auto length = static_cast<std::size_t>(view_.length);
  const unsigned char* text = view_.text;
  for (;; ++pos) {
    if (pos > length) return std::string_view::npos;
    if (program.anchored || mode_.at_from_only) {
      if (pos != (program.anchored ? 0 : from_)) return std::string_view::npos;
    } else if (!hints.prefix.empty()) {
      pos = hints.prefix_scanner.Find(text, length, pos);
      if (pos == TLiteralScanner::npos) return std::string_view::npos;
    } else if (hints.starts.Active()) {
      pos = hints.starts.Find(text, length, pos);
      if (pos == StartScanner::npos) return std::string_view::npos;
    } else if (hints.use_first_bytes) {
      while (pos < length && !hints.first_bytes[text[pos]]) ++pos;
      if (pos == length) return std::string_view::npos;  // such a match cannot be empty
    }
    if (IsStart(pos)) return pos;
  }
}

// Whether a match may start at pos as far as characters go.
bool LinearExecutor::IsStart(std::size_t pos) {
  const Program& program = *program_;
  if (program.utf8) return view_.IsCharStart(static_cast<int>(pos));
  return !program.double_byte ||
         starts_.IsStart(program, view_.text, static_cast<std::size_t>(view_.length), pos);
}

// A cheap test that lets most positions start no way at all.
bool LinearExecutor::MayStartAt(std::size_t pos) {
  const Program& program = *program_;
  const StartHints& hints = *hints_;
  const auto length = static_cast<std::size_t>(view_.length);
  const unsigned char* text = view_.text;
  if (program.anchored || mode_.at_from_only) return pos == (program.anchored ? 0 : from_);
  if (!hints.prefix.empty()) {
    const std::string& prefix = hints.prefix;
    if (length - pos < prefix.size()) return false;
    for (std::size_t k = 0; k < prefix.size(); ++k) {
      const unsigned char c = hints.prefix_fold ? program.fold[text[pos + k]] : text[pos + k];
      if (c != static_cast<unsigned char>(prefix[k])) return false;
    }
  } else if (hints.starts.Active()) {
    if (!hints.starts.At(text, length, pos)) return false;
  } else if (hints.use_first_bytes) {
    if (pos >= length || !hints.first_bytes[text[pos]]) return false;
  }
  return IsStart(pos);
}

bool LinearExecutor::Search(const Program& program, std::string_view text, std::size_t from,
                            Mode mode, Captures& captures) {
  program_ = &program;
  view_ = TextView{&program, reinterpret_cast<const unsigned char*>(text.data()),
                   static_cast<int>(text.size())};
  mode_ = mode;
  from_ = from;
  // Without groups a way carries only where it started.
  slot_count_ = mode.groups ? 2 * (program.group_count + 1) : 1;
  if (held_.size() < program.linear.size()) {
    held_.assign(program.linear.size(), 0u);
    round_ = 0;
  }
  hints_ = &program.hints;
  if (program.ascii_hints_differ) {
    if (last_non_ascii_ == kNotKnown)
      last_non_ascii_ = utf8_chars::LastNonAscii(view_.text, text.size());
    hints_ = &program.HintsFrom(from, last_non_ascii_);
    if (hints_->none && !mode.at_from_only) return false;
  }
  return program.utf8 ? Run<true>(captures) : Run<false>(captures);
}

template <bool kUtf8>
bool LinearExecutor::Run(Captures& captures) {
  const Inst* code = program_->linear.data();
  const auto slots = static_cast<std::size_t>(slot_count_);
  const auto length = static_cast<std::size_t>(view_.length);
  const unsigned char* bytes = view_.text;
  bool matched = false;
  current_.count = 0;
  std::size_t pos = from_;
  for (;;) {
    if (!matched) {
      if (current_.count == 0) {
        pos = NextStart(pos);
        if (pos == std::string_view::npos) break;
        NewRound();
      }
      // A start further on is tried after every way from an earlier one.
      if (MayStartAt(pos)) {
        std::fill(work_.begin(), work_.begin() + slot_count_, -1);
        work_[0] = static_cast<int>(pos);
        Arrive(current_, 0, static_cast<int>(pos));
      }
      if (current_.count == 0) {
        ++pos;
        continue;
      }
    }
    if (current_.count == 0) break;
    NewRound();
    next_.count = 0;
    // The ways take a byte, or in UTF-8 the character here, all at once.
    const int step = kUtf8 && pos < length ? view_.CharLen(static_cast<int>(pos)) : 1;
    for (std::size_t k = 0; k < current_.count; ++k) {
      const Inst& in = code[current_.pcs[k]];
      const int* way_slots = current_.slots.data() + k * slots;
      if (in.op == Op::Match) {
        // Ways behind this one are less preferred: they are dropped. Those
        // before it go on and may still end in a preferred match.
        std::copy(way_slots, way_slots + slots, captures.begin());
        captures[1] = static_cast<int>(pos);
        matched = true;
        break;
      }
      const bool takes = pos < length && (kUtf8 ? view_.TakesChar(in, static_cast<int>(pos), step)
                                                : view_.Takes(in, bytes[pos]));
      if (takes) {
        std::copy(way_slots, way_slots + slots, work_.begin());
        Arrive(next_, in.b, static_cast<int>(pos) + step);
      }
    }
    std::swap(current_, next_);
    if (pos == length) break;
    pos += static_cast<std::size_t>(step);
  }
  return matched;
}

}  // namespace regex_detail
