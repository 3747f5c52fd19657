// Turns the syntax tree into the executors' programs and works out where a
// match can start, so the executors need not try every position.
#include <algorithm>
#include <map>

#include "platform/UnicodeProperties.h"
#include "platform/Utf8.h"
#include "search/RegexErrors.h"
#include "search/RegexProgram.h"

namespace regex_detail {
namespace {

constexpr std::size_t kMaxInstructions = 8'000'000;
// The linear executor keeps a thread and its captures per instruction that
// takes a byte; beyond this size the backtracking executor alone runs it.
constexpr std::size_t kMaxLinearInstructions = 40'000;
constexpr std::size_t kMaxPrefix = 64;
// Bound on the precomputed ways of the linear program (see Program::linear_reach).
constexpr std::size_t kMaxLinearReach = 1'000'000;

struct LinearTooBig {};

using SetKey = std::array<std::uint64_t, 4>;

SetKey KeyOf(const ByteSet& set) {
  SetKey key{};
  for (std::size_t b = 0; b < 256; ++b) {
    if (set.test(b)) key[b / 64] |= std::uint64_t{1} << (b % 64);
  }
  return key;
}

class Compiler {
 public:
  Compiler(const Syntax& syntax, const CaseInfo& case_info, const Separators& separators,
           std::size_t expression_length)
      : syntax_(syntax), case_(case_info), expression_length_(expression_length) {
    program_.fold = case_info.fold;
    program_.separators = separators;
    for (std::size_t b = 0; b < 256; ++b) program_.separator_bytes[b] = separators.single.test(b);
    if (separators.pair_first >= 0) {
      program_.separator_bytes[static_cast<std::size_t>(separators.pair_first)] = true;
      program_.separator_bytes[static_cast<std::size_t>(separators.pair_second)] = true;
    }
    program_.group_count = syntax.group_count;
    program_.double_byte = case_info.double_byte;
    program_.lead_bytes = case_info.lead;
    program_.utf8 = case_info.utf8;
    program_.char_classes = syntax.char_classes;
    set_index_.assign(syntax.sets.size(), -1);
  }

  Program Run() {
    Emit(syntax_.root);
    Add(Op::Match);
    const bool backrefs = HasBackref(syntax_.root);
    if (!backrefs) EmitLinear();
    program_.failures_hold = !backrefs && program_.counter_count == 0;
    program_.anchored = Anchored(syntax_.root);
    int lead = 0;
    while (!backrefs && program_.code[static_cast<std::size_t>(lead)].op == Op::Save) ++lead;
    const Inst& first = program_.code[static_cast<std::size_t>(lead)];
    program_.leading_run =
        (first.op == Op::RepeatSimple || first.op == Op::RepeatChars) && first.c == kUnbounded;
    program_.leading_run_pc = lead;
    WorkOutHints(program_.hints, false);
    if (program_.utf8) {
      ascii_special_ = false;
      WorkOutHints(program_.ascii_hints, true);
      program_.ascii_hints_differ = ascii_special_;
    }
    return std::move(program_);
  }

 private:
  // Where matches can start, in any text or (ascii_text) in ASCII text.
  void WorkOutHints(StartHints& hints, bool ascii_text) {
    ascii_text_ = ascii_text;
    std::string prefix;
    std::vector<bool> folded;
    CollectPrefix(syntax_.root, prefix, folded);
    bool any_fold = false;
    for (bool f : folded) any_fold = any_fold || f;
    if (prefix.size() >= 2) {
      // With any byte compared through the fold table, candidates are found by
      // folding all of them; the program itself then checks the exact ones.
      if (any_fold) {
        for (std::size_t k = 0; k < prefix.size(); ++k) {
          if (!folded[k])
            prefix[k] = static_cast<char>(case_.fold[static_cast<unsigned char>(prefix[k])]);
        }
      }
      hints.prefix = prefix;
      hints.prefix_fold = any_fold;
      std::array<unsigned char, 256> identity;
      for (int b = 0; b < 256; ++b)
        identity[static_cast<std::size_t>(b)] = static_cast<unsigned char>(b);
      hints.prefix_scanner.Reset(prefix, any_fold ? case_.fold : identity);
    } else if (!UseStartTexts(hints)) {
      ByteSet first;
      if (!First(syntax_.root, first) && first.count() < 256) {
        hints.use_first_bytes = true;
        for (std::size_t b = 0; b < 256; ++b) hints.first_bytes[b] = first.test(b);
        // Matches that start beyond ASCII cannot start in ASCII text at all.
        if (ascii_text && (first & ByteSet().set() >> 128).none()) {
          hints.none = true;
          ascii_special_ = true;
        }
      }
    }
  }

  const Node& N(int index) const { return syntax_.nodes[static_cast<std::size_t>(index)]; }
  int Here() const { return static_cast<int>(out_->size()); }
  Inst& At(int pc) { return (*out_)[static_cast<std::size_t>(pc)]; }

  int Add(Op op, std::int32_t a = 0, std::int32_t b = 0, std::int32_t c = 0, std::int32_t d = 0) {
    if (linear_) {
      if (out_->size() >= kMaxLinearInstructions) throw LinearTooBig{};
    } else if (out_->size() >= kMaxInstructions) {
      throw ERegexMatcher(regex_error::kRegexpTooBig, static_cast<int>(expression_length_));
    }
    Inst inst;
    inst.op = op;
    inst.a = a;
    inst.b = b;
    inst.c = c;
    inst.d = d;
    out_->push_back(inst);
    return Here() - 1;
  }

  // An instruction that takes one byte; in the linear program it names its successor.
  int AddConsuming(Op op, std::int32_t a = 0) {
    const int at = Add(op, a);
    if (linear_) At(at).b = at + 1;
    return at;
  }

  bool HasBackref(int index) const { return RefersTo(index, -1); }

  // Whether the node holds a back-reference to `group` (to any group for -1).
  bool RefersTo(int index, int group) const {
    const Node& node = N(index);
    if (node.kind == NodeKind::Backref) return group < 0 || node.group == group;
    for (int child : node.children) {
      if (RefersTo(child, group)) return true;
    }
    return false;
  }

  void EmitLinear() {
    linear_ = true;
    out_ = &program_.linear;
    try {
      Emit(syntax_.root);
      Add(Op::Match);
    } catch (const LinearTooBig&) {
      program_.linear.clear();
      program_.linear.shrink_to_fit();
    }
    out_ = &program_.code;
    linear_ = false;
    WorkOutLinearReach();
  }

  static bool TakesByte(Op op) {
    return op == Op::Char || op == Op::CharFold || op == Op::Set || op == Op::AnyByte ||
           TakesChars(op);
  }

  void WorkOutLinearReach() {
    const std::vector<Inst>& code = program_.linear;
    const std::size_t size = code.size();
    if (size == 0) return;
    program_.linear_reach_begin.assign(size, -1);
    program_.linear_reach_end.assign(size, -1);
    std::vector<int> seen(size, -1);  // the entry whose ways passed here
    std::vector<bool> done(size, false);
    std::vector<int> stack;
    auto reach_from = [&](int entry) {
      if (done[static_cast<std::size_t>(entry)]) return;
      done[static_cast<std::size_t>(entry)] = true;
      std::vector<std::int32_t>& reach = program_.linear_reach;
      const auto begin = static_cast<std::int32_t>(reach.size());
      stack.assign(1, entry);
      while (!stack.empty()) {
        int pc = stack.back();
        stack.pop_back();
        for (;;) {
          int& mark = seen[static_cast<std::size_t>(pc)];
          if (mark == entry) break;
          mark = entry;
          const Inst& in = code[static_cast<std::size_t>(pc)];
          if (in.op == Op::Jump) {
            pc = in.a;
          } else if (in.op == Op::Split) {
            stack.push_back(in.b);
            pc = in.a;
          } else if (in.op == Op::Save) {
            ++pc;
          } else if (TakesByte(in.op) || in.op == Op::Match) {
            reach.push_back(pc);
            break;
          } else {  // an assertion
            reach.resize(static_cast<std::size_t>(begin));
            return;
          }
        }
      }
      if (reach.size() > kMaxLinearReach) {
        reach.resize(static_cast<std::size_t>(begin));
        return;
      }
      program_.linear_reach_begin[static_cast<std::size_t>(entry)] = begin;
      program_.linear_reach_end[static_cast<std::size_t>(entry)] =
          static_cast<std::int32_t>(reach.size());
    };
    reach_from(0);
    for (const Inst& in : code) {
      if (TakesByte(in.op)) reach_from(in.b);
    }
  }

  bool IsAllBytes(int set) const { return syntax_.sets[static_cast<std::size_t>(set)].all(); }

  // Identical classes share one table.
  int SetTable(int set) {
    int& index = set_index_[static_cast<std::size_t>(set)];
    if (index >= 0) return index;
    const ByteSet& bits = syntax_.sets[static_cast<std::size_t>(set)];
    const SetKey key = KeyOf(bits);
    auto found = tables_.find(key);
    if (found == tables_.end()) {
      ByteTable table{};
      for (std::size_t b = 0; b < 256; ++b) table[b] = bits.test(b);
      program_.sets.push_back(table);
      found = tables_.emplace(key, static_cast<int>(program_.sets.size() - 1)).first;
    }
    index = found->second;
    return index;
  }

  void Emit(int index) {
    const Node& node = N(index);
    switch (node.kind) {
      case NodeKind::Empty:
        break;
      case NodeKind::Literal:
        if (program_.utf8) {
          EmitCharLiteral(node);
        } else {
          AddConsuming(node.fold ? Op::CharFold : Op::Char, node.byte);
        }
        break;
      case NodeKind::Class:
        if (program_.utf8) {
          if (CharClassAt(node.set).TakesAll()) {
            AddConsuming(Op::UAny);
          } else {
            AddConsuming(Op::USet, node.set);
          }
        } else if (IsAllBytes(node.set)) {
          AddConsuming(Op::AnyByte);
        } else {
          AddConsuming(Op::Set, SetTable(node.set));
        }
        break;
      case NodeKind::Assert:
        Add(AssertOp(node.assertion));
        break;
      case NodeKind::Backref: {
        const int at = Add(Op::Backref, node.group);
        At(at).fold = node.fold;
        break;
      }
      case NodeKind::Group:
        if (RefersTo(node.children[0], node.group)) {
          Add(Op::Save, kPendingSlot + node.group);
          Emit(node.children[0]);
          Add(Op::Commit, node.group);
        } else {
          Add(Op::Save, 2 * node.group);
          Emit(node.children[0]);
          Add(Op::Save, 2 * node.group + 1);
        }
        break;
      case NodeKind::Concat:
        EmitConcat(node);
        break;
      case NodeKind::Alternation:
        EmitAlternation(node);
        break;
      case NodeKind::Repeat:
        if (linear_) {
          EmitLinearRepeat(node);
        } else {
          EmitRepeat(node);
        }
        break;
    }
  }

  static Op AssertOp(AssertKind kind) {
    switch (kind) {
      case AssertKind::TextStart:
        return Op::TextStart;
      case AssertKind::TextEnd:
        return Op::TextEnd;
      case AssertKind::LineStart:
        return Op::LineStart;
      case AssertKind::LineEnd:
        return Op::LineEnd;
      case AssertKind::WordBoundary:
        return Op::WordBoundary;
      case AssertKind::NotWordBoundary:
        return Op::NotWordBoundary;
    }
    return Op::TextStart;
  }

  const CharClass& CharClassAt(int set) const {
    return syntax_.char_classes[static_cast<std::size_t>(set)];
  }

  // Adds one character of a case-blind literal to folded_chars.
  void AddFoldedChar(const Node& node) {
    std::vector<char32_t>& pool = program_.folded_chars;
    const std::size_t count_at = pool.size();
    pool.push_back(0);
    for (std::size_t i = 0; i < node.chars.size();) {
      const TUtf8Char c = DecodeUtf8(node.chars, i, true);
      pool.push_back(c.CodePoint);
      ++pool[count_at];
      i += c.Length;
    }
  }

  // A UTF-8 literal: one character.
  void EmitCharLiteral(const Node& node) {
    if (node.fold_points) {
      const auto index = static_cast<std::int32_t>(program_.folded_chars.size());
      AddFoldedChar(node);
      At(AddConsuming(Op::UTextFold, index)).c = 1;
    } else if (node.chars.size() == 1) {
      AddConsuming(node.fold ? Op::UCharFold : Op::UChar, node.byte);
    } else {
      const auto offset = static_cast<std::int32_t>(program_.literals.size());
      program_.literals += node.chars;
      At(AddConsuming(Op::UText, offset)).c = static_cast<std::int32_t>(node.chars.size());
    }
  }

  static bool StartsWithMark(const std::string& chars) {
    const TUtf8Char c = DecodeUtf8(chars, 0, true);
    return c.Valid && CodePointCells(c.CodePoint) == 0;
  }

  // Runs of UTF-8 literals become one comparison: of bytes, or of folds
  // character by character. A byte run stops before a character that starts
  // with a combining mark, which in the text would join the one before it.
  std::size_t EmitCharLiteralRun(const std::vector<int>& children, std::size_t k) {
    const Node& first = N(children[k]);
    const bool folding = first.fold || first.fold_points;
    std::size_t run = k + 1;
    while (run < children.size()) {
      const Node& next = N(children[run]);
      if (next.kind != NodeKind::Literal || (next.fold || next.fold_points) != folding) break;
      if (!folding && StartsWithMark(next.chars)) break;
      ++run;
    }
    if (run - k < 2) {
      Emit(children[k]);
      return k + 1;
    }
    if (folding) {
      const auto index = static_cast<std::int32_t>(program_.folded_chars.size());
      for (std::size_t j = k; j < run; ++j) AddFoldedChar(N(children[j]));
      At(Add(Op::UTextFold, index)).c = static_cast<std::int32_t>(run - k);
    } else {
      const auto offset = static_cast<std::int32_t>(program_.literals.size());
      for (std::size_t j = k; j < run; ++j) program_.literals += N(children[j]).chars;
      At(Add(Op::UText, offset)).c = static_cast<std::int32_t>(program_.literals.size()) - offset;
    }
    return run;
  }

  // Runs of literals become one string comparison.
  void EmitConcat(const Node& node) {
    const auto& children = node.children;
    std::size_t k = 0;
    while (k < children.size()) {
      const Node& first = N(children[k]);
      if (program_.utf8 && first.kind == NodeKind::Literal && !linear_) {
        k = EmitCharLiteralRun(children, k);
        continue;
      }
      std::size_t run = k;
      if (first.kind == NodeKind::Literal && !linear_) {
        while (run < children.size() && N(children[run]).kind == NodeKind::Literal &&
               N(children[run]).fold == first.fold) {
          ++run;
        }
      }
      if (run - k >= 2) {
        const auto offset = static_cast<std::int32_t>(program_.literals.size());
        for (std::size_t j = k; j < run; ++j)
          program_.literals += static_cast<char>(N(children[j]).byte);
        Add(first.fold ? Op::StringFold : Op::String, offset, static_cast<std::int32_t>(run - k));
        k = run;
      } else {
        Emit(children[k]);
        ++k;
      }
    }
  }

  void EmitAlternation(const Node& node) {
    std::vector<int> jumps;
    for (std::size_t j = 0; j + 1 < node.children.size(); ++j) {
      const int split = Add(Op::Split);
      At(split).a = split + 1;
      Emit(node.children[j]);
      jumps.push_back(Add(Op::Jump));
      At(split).b = Here();
    }
    Emit(node.children.back());
    for (int jump : jumps) At(jump).a = Here();
  }

  bool SimpleItem(const Node& child, Item* item, std::int32_t* operand) {
    if (program_.utf8) {
      // Characters of one byte, or classes.
      if (child.kind == NodeKind::Literal && !child.fold_points && child.chars.size() == 1) {
        *item = child.fold ? Item::CharFold : Item::Char;
        *operand = child.byte;
        return true;
      }
      if (child.kind != NodeKind::Class) return false;
      *item = CharClassAt(child.set).TakesAll() ? Item::Any : Item::Set;
      *operand = child.set;
      return true;
    }
    if (child.kind == NodeKind::Literal) {
      *item = child.fold ? Item::CharFold : Item::Char;
      *operand = child.byte;
      return true;
    }
    if (child.kind == NodeKind::Class) {
      if (IsAllBytes(child.set)) {
        *item = Item::Any;
        *operand = 0;
      } else {
        *item = Item::Set;
        *operand = SetTable(child.set);
      }
      return true;
    }
    return false;
  }

  // Sets the order of a two-way choice: the preferred target is tried first.
  void SetSplit(int split, int preferred, int other) {
    At(split).a = preferred;
    At(split).b = other;
  }

  // The child once or not at all, in the order the repetition prefers.
  void EmitOptional(int child, bool greedy) {
    const int split = Add(Op::Split);
    Emit(child);
    greedy ? SetSplit(split, split + 1, Here()) : SetSplit(split, Here(), split + 1);
  }

  // The child any number of times.
  void EmitLoop(int child, bool greedy) {
    const int split = Add(Op::Split);
    Emit(child);
    Add(Op::Jump, split);
    greedy ? SetSplit(split, split + 1, Here()) : SetSplit(split, Here(), split + 1);
  }

  void EmitRepeat(const Node& node) {
    const int child = node.children[0];
    if (node.max == 0) return;
    Item item;
    std::int32_t operand;
    if (SimpleItem(N(child), &item, &operand)) {
      const int at =
          Add(program_.utf8 ? Op::RepeatChars : Op::RepeatSimple, operand, node.min, node.max);
      At(at).item = item;
      At(at).greedy = node.greedy;
      if (node.max == kUnbounded) At(at).d = program_.unbounded_runs++;
      return;
    }
    if (node.min == 0 && node.max == 1) {
      EmitOptional(child, node.greedy);
      return;
    }
    // Unbounded loops never have an operand that can match nothing (the parser
    // refuses those), so every pass consumes input and the loop ends.
    if (node.min == 0 && node.max == kUnbounded) {
      EmitLoop(child, node.greedy);
      return;
    }
    if (node.min == 1 && node.max == kUnbounded) {
      const int body = Here();
      Emit(child);
      const int split = Add(Op::Split);
      node.greedy ? SetSplit(split, body, Here()) : SetSplit(split, Here(), body);
      return;
    }
    // Counted loops keep their count in a register, so huge bounds cost nothing.
    const int counter = program_.counter_count++;
    Add(Op::LoopInit, counter);
    const int test = Add(Op::LoopTest, counter, node.min, node.max);
    At(test).greedy = node.greedy;
    Add(Op::LoopMark, counter);
    Emit(child);
    const int step = Add(Op::LoopStep, counter, test);
    At(test).d = Here();
    At(step).c = Here();
  }

  // The linear form of a repetition: the passes a count demands written out
  // one after the other, then either a loop or the optional passes up to the
  // most, each preferred or put off as the backtracking loop would.
  void EmitLinearRepeat(const Node& node) {
    const int child = node.children[0];
    if (node.max == 0) return;
    // Unbounded operands never match nothing (the parser refuses those).
    if (node.max == kUnbounded) {
      for (int k = 0; k < node.min; ++k) Emit(child);
      EmitLoop(child, node.greedy);
      return;
    }
    // A single optional pass is a plain choice, as in the backtracking program.
    if (node.min == 0 && node.max == 1) {
      EmitOptional(child, node.greedy);
      return;
    }
    // Counted passes: a pass that matched nothing ends the loop (as the
    // backtracking loop's step does), so such an operand needs to know
    // whether its pass has taken a byte yet.
    const bool empty_ends = CanMatchEmpty(syntax_, child);
    std::vector<int> to_end;
    std::vector<int> splits;
    for (int k = 0; k < node.max; ++k) {
      if (k >= node.min) splits.push_back(Add(Op::Split));
      if (empty_ends) {
        EmitPassThatEndsWhenEmpty(child, to_end);
      } else {
        Emit(child);
      }
    }
    const int end = Here();
    for (int split : splits) {
      node.greedy ? SetSplit(split, split + 1, end) : SetSplit(split, end, split + 1);
    }
    for (int jump : to_end) At(jump).a = end;
  }

  // One pass written twice: the copy entered first stands for "nothing taken
  // yet" and leaves the loop when it ends; each byte it takes continues in the
  // other copy, which goes on to the next pass. Within the copies every
  // instruction keeps its place, so the first copy is the second one moved,
  // except that the successors of byte-taking instructions stay in the second.
  void EmitPassThatEndsWhenEmpty(int child, std::vector<int>& to_end) {
    const int enter = Add(Op::Jump);
    const int taken = Here();
    Emit(child);
    const int taken_end = Here();
    const int go_on = Add(Op::Jump);
    const int fresh = Here();
    const int shift = fresh - taken;
    for (int pc = taken; pc < taken_end; ++pc) {
      Inst inst = At(pc);
      switch (inst.op) {
        case Op::Split:
          inst.b += shift;
          [[fallthrough]];
        case Op::Jump:
          inst.a += shift;
          break;
        default:
          break;
      }
      Add(inst.op);
      At(Here() - 1) = inst;
    }
    to_end.push_back(Add(Op::Jump));
    At(enter).a = fresh;
    At(go_on).a = Here();
  }

  bool IsZeroWidth(const Node& node) const { return node.kind == NodeKind::Assert; }

  bool Anchored(int index) const {
    const Node& node = N(index);
    switch (node.kind) {
      case NodeKind::Assert:
        return node.assertion == AssertKind::TextStart;
      case NodeKind::Group:
        return Anchored(node.children[0]);
      case NodeKind::Repeat:
        return node.min >= 1 && Anchored(node.children[0]);
      case NodeKind::Concat:
        for (int child : node.children) {
          if (Anchored(child)) return true;
          if (!IsZeroWidth(N(child))) return false;
        }
        return false;
      case NodeKind::Alternation:
        for (int child : node.children) {
          if (!Anchored(child)) return false;
        }
        return true;
      default:
        return false;
    }
  }

  // Appends the literal bytes every match starts with; returns whether the
  // whole node was literal, so that the caller may go on past it.
  bool CollectPrefix(int index, std::string& prefix, std::vector<bool>& folded) const {
    const Node& node = N(index);
    switch (node.kind) {
      case NodeKind::Literal:
        if (program_.utf8) return CollectCharPrefix(node, prefix, folded);
        if (prefix.size() >= kMaxPrefix) return false;
        prefix += static_cast<char>(node.byte);
        folded.push_back(node.fold);
        return true;
      case NodeKind::Group:
        return CollectPrefix(node.children[0], prefix, folded);
      case NodeKind::Concat:
        for (int child : node.children) {
          if (!CollectPrefix(child, prefix, folded)) return false;
        }
        return true;
      case NodeKind::Repeat:
        if (node.min >= 1) CollectPrefix(node.children[0], prefix, folded);
        return false;
      default:
        return false;
    }
  }

  // A case-blind UTF-8 literal that in ASCII text can only be the ASCII
  // letter of its fold (s for s, S and the long s); 0 for none.
  char AsciiFoldOf(const Node& node) const {
    if (!ascii_text_ || !node.fold_points || node.chars.size() != 1) return 0;
    ascii_special_ = true;
    return node.chars[0];
  }

  bool CollectCharPrefix(const Node& node, std::string& prefix, std::vector<bool>& folded) const {
    if (node.fold_points) {
      const char ascii = AsciiFoldOf(node);
      if (ascii == 0 || prefix.size() >= kMaxPrefix) return false;
      prefix += ascii;
      folded.push_back(true);
      return true;
    }
    if (prefix.size() + node.chars.size() > kMaxPrefix) return false;
    prefix += node.chars;
    folded.resize(prefix.size(), node.fold);
    return true;
  }

  // A literal text some match may start with; `open` while the text is all
  // the node matched, so that what follows the node may extend it.
  struct StartText {
    std::string text;
    bool open = true;
  };
  using StartTexts = std::vector<StartText>;
  static constexpr std::size_t kMaxClassStarts = 4;

  // Sets the program's start texts when every match starts with one of a few
  // texts (none of them empty); returns whether it did.
  bool UseStartTexts(StartHints& hints) const {
    StartTexts starts;
    bool folded = false;
    if (!StartsOf(syntax_.root, starts, folded)) return false;
    std::vector<std::string> texts;
    for (StartText& s : starts) {
      if (s.text.empty()) return false;
      // With any byte compared through the fold table, all of them are.
      if (folded) {
        for (char& c : s.text) c = static_cast<char>(case_.fold[static_cast<unsigned char>(c)]);
      }
      if (std::find(texts.begin(), texts.end(), s.text) == texts.end()) texts.push_back(s.text);
    }
    if (texts.empty()) return false;
    std::array<unsigned char, 256> identity;
    for (int b = 0; b < 256; ++b)
      identity[static_cast<std::size_t>(b)] = static_cast<unsigned char>(b);
    hints.starts.Reset(texts, folded ? case_.fold : identity);
    return true;
  }

  // The texts, one of which begins every match of the node; false when there
  // are too many or a match may begin with anything.
  bool StartsOf(int index, StartTexts& out, bool& folded) const {
    const Node& node = N(index);
    out.clear();
    switch (node.kind) {
      case NodeKind::Empty:
      case NodeKind::Assert:
        out.push_back({});
        return true;
      case NodeKind::Literal:
        if (program_.utf8) {
          if (node.fold_points) {
            const char ascii = AsciiFoldOf(node);
            if (ascii == 0) return false;
            folded = true;
            out.push_back({std::string(1, ascii), true});
            return true;
          }
          folded = folded || node.fold;
          out.push_back({node.chars, true});
          return true;
        }
        folded = folded || node.fold;
        out.push_back({std::string(1, static_cast<char>(node.byte)), true});
        return true;
      case NodeKind::Class: {
        if (program_.utf8) {
          const CharClass& cls = CharClassAt(node.set);
          if (cls.TakesBeyondAscii()) {
            if (!ascii_text_) return false;
            ascii_special_ = true;
          }
          for (char32_t b = 0; b < 0x80; ++b) {
            if (!cls.AsciiTakes()[b]) continue;
            if (out.size() == kMaxClassStarts) return false;
            out.push_back({std::string(1, static_cast<char>(b)), true});
          }
          return true;
        }
        const ByteSet& set = syntax_.sets[static_cast<std::size_t>(node.set)];
        if (set.count() > kMaxClassStarts) return false;
        for (std::size_t b = 0; b < 256; ++b) {
          if (set.test(b)) out.push_back({std::string(1, static_cast<char>(b)), true});
        }
        return true;
      }
      case NodeKind::Backref:
        return false;
      case NodeKind::Group:
        return StartsOf(node.children[0], out, folded);
      case NodeKind::Alternation:
        for (int child : node.children) {
          StartTexts part;
          if (!StartsOf(child, part, folded)) return false;
          out.insert(out.end(), part.begin(), part.end());
          if (out.size() > StartScanner::kMaxTexts) return false;
        }
        return true;
      case NodeKind::Repeat: {
        if (node.max == 0) {
          out.push_back({});
          return true;
        }
        if (!StartsOf(node.children[0], out, folded)) return false;
        // After one pass the repetition may go on, unless one is its most.
        if (node.max != 1) {
          for (StartText& s : out) s.open = false;
        }
        if (node.min == 0) out.push_back({});
        return out.size() <= StartScanner::kMaxTexts;
      }
      case NodeKind::Concat:
        out.push_back({});
        for (int child : node.children) {
          bool any_open = false;
          for (const StartText& s : out) any_open = any_open || s.open;
          if (!any_open) break;
          StartTexts part;
          bool part_folded = folded;
          StartTexts next;
          if (StartsOf(child, part, part_folded)) {
            for (const StartText& s : out) {
              if (!s.open) {
                next.push_back(s);
                continue;
              }
              for (const StartText& t : part) next.push_back({s.text + t.text, t.open});
            }
          }
          bool fits = !next.empty() && next.size() <= StartScanner::kMaxTexts;
          for (const StartText& s : next) fits = fits && s.text.size() <= kMaxPrefix;
          if (!fits) {
            // What is known so far still begins every match.
            for (StartText& s : out) s.open = false;
            break;
          }
          folded = part_folded;
          out = std::move(next);
        }
        return true;
    }
    return false;
  }

  // Adds the bytes a match of the node can start with; returns whether the
  // node can match nothing (then what follows it can start the match too).
  bool First(int index, ByteSet& first) const {
    const Node& node = N(index);
    switch (node.kind) {
      case NodeKind::Empty:
      case NodeKind::Assert:
        return true;
      case NodeKind::Literal:
        if (node.fold_points) {
          if (AsciiFoldOf(node) == 0) {
            // The first byte of every case form of the first code point.
            const TCaseForms forms = CaseFoldForms(DecodeUtf8(node.chars, 0, true).CodePoint);
            for (int k = 0; k < forms.Count; ++k) {
              std::string encoded;
              AppendUtf8(encoded, forms.Forms[k]);
              first.set(static_cast<unsigned char>(encoded[0]));
            }
            return false;
          }
          for (std::size_t b = 0; b < 256; ++b) {
            if (case_.fold[b] == static_cast<unsigned char>(node.chars[0])) first.set(b);
          }
        } else if (node.fold) {
          for (std::size_t b = 0; b < 256; ++b) {
            if (case_.fold[b] == node.byte) first.set(b);
          }
        } else {
          first.set(node.byte);
        }
        return false;
      case NodeKind::Class:
        if (program_.utf8) {
          const CharClass& cls = CharClassAt(node.set);
          for (std::size_t b = 0; b < 0x80; ++b) {
            if (cls.AsciiTakes()[b]) first.set(b);
          }
          if (cls.TakesBeyondAscii()) {
            for (std::size_t b = 0x80; b < 256; ++b) first.set(b);
          }
          return false;
        }
        first |= syntax_.sets[static_cast<std::size_t>(node.set)];
        return false;
      case NodeKind::Backref:
        first.set();
        return true;
      case NodeKind::Group:
        return First(node.children[0], first);
      case NodeKind::Concat:
        for (int child : node.children) {
          if (!First(child, first)) return false;
        }
        return true;
      case NodeKind::Alternation: {
        bool empty = false;
        for (int child : node.children) empty = First(child, first) || empty;
        return empty;
      }
      case NodeKind::Repeat:
        if (node.max == 0) return true;
        return First(node.children[0], first) || node.min == 0;
    }
    return true;
  }

  const Syntax& syntax_;
  const CaseInfo& case_;
  std::size_t expression_length_;
  Program program_;
  // Where instructions go: the backtracking program, or the linear one.
  std::vector<Inst>* out_ = &program_.code;
  bool linear_ = false;
  std::vector<int> set_index_;
  std::map<SetKey, int> tables_;
  // While hints are worked out: whether for ASCII text, and whether that made a difference.
  bool ascii_text_ = false;
  mutable bool ascii_special_ = false;
};

}  // namespace

Program CompileSyntax(const Syntax& syntax, const CaseInfo& case_info, const Separators& separators,
                      std::size_t expression_length) {
  return Compiler(syntax, case_info, separators, expression_length).Run();
}

}  // namespace regex_detail
