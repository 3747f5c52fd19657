// Turns the syntax tree into the executor's program and works out where a
// match can start, so the executor need not try every position.
#include <map>

#include "search/RegexErrors.h"
#include "search/RegexProgram.h"

namespace regex_detail {
namespace {

constexpr std::size_t kMaxInstructions = 8'000'000;
constexpr std::size_t kMaxPrefix = 64;

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
    set_index_.assign(syntax.sets.size(), -1);
  }

  Program Run() {
    Emit(syntax_.root);
    Add(Op::Match);
    program_.anchored = Anchored(syntax_.root);
    const Inst& first = program_.code.front();
    program_.leading_run = first.op == Op::RepeatSimple && first.c == kUnbounded;
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
      program_.prefix = prefix;
      program_.prefix_fold = any_fold;
      std::array<unsigned char, 256> identity;
      for (int b = 0; b < 256; ++b)
        identity[static_cast<std::size_t>(b)] = static_cast<unsigned char>(b);
      program_.prefix_scanner.Reset(prefix, any_fold ? case_.fold : identity);
    } else {
      ByteSet first;
      if (!First(syntax_.root, first) && first.count() < 256) {
        program_.use_first_bytes = true;
        for (std::size_t b = 0; b < 256; ++b) program_.first_bytes[b] = first.test(b);
      }
    }
    return std::move(program_);
  }

 private:
  const Node& N(int index) const { return syntax_.nodes[static_cast<std::size_t>(index)]; }
  int Here() const { return static_cast<int>(program_.code.size()); }

  int Add(Op op, std::int32_t a = 0, std::int32_t b = 0, std::int32_t c = 0, std::int32_t d = 0) {
    if (program_.code.size() >= kMaxInstructions) {
      throw ERegexMatcher(regex_error::kRegexpTooBig, static_cast<int>(expression_length_));
    }
    Inst inst;
    inst.op = op;
    inst.a = a;
    inst.b = b;
    inst.c = c;
    inst.d = d;
    program_.code.push_back(inst);
    return Here() - 1;
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
        Add(node.fold ? Op::CharFold : Op::Char, node.byte);
        break;
      case NodeKind::Class:
        if (IsAllBytes(node.set)) {
          Add(Op::AnyByte);
        } else {
          Add(Op::Set, SetTable(node.set));
        }
        break;
      case NodeKind::Assert:
        Add(AssertOp(node.assertion));
        break;
      case NodeKind::Backref: {
        const int at = Add(Op::Backref, node.group);
        program_.code[static_cast<std::size_t>(at)].fold = node.fold;
        break;
      }
      case NodeKind::Group:
        Add(Op::Save, 2 * node.group);
        Emit(node.children[0]);
        Add(Op::Save, 2 * node.group + 1);
        break;
      case NodeKind::Concat:
        EmitConcat(node);
        break;
      case NodeKind::Alternation:
        EmitAlternation(node);
        break;
      case NodeKind::Repeat:
        EmitRepeat(node);
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

  // Runs of literals become one string comparison.
  void EmitConcat(const Node& node) {
    const auto& children = node.children;
    std::size_t k = 0;
    while (k < children.size()) {
      const Node& first = N(children[k]);
      std::size_t run = k;
      if (first.kind == NodeKind::Literal) {
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
      program_.code[static_cast<std::size_t>(split)].a = split + 1;
      Emit(node.children[j]);
      jumps.push_back(Add(Op::Jump));
      program_.code[static_cast<std::size_t>(split)].b = Here();
    }
    Emit(node.children.back());
    for (int jump : jumps) program_.code[static_cast<std::size_t>(jump)].a = Here();
  }

  bool SimpleItem(const Node& child, Item* item, std::int32_t* operand) {
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
    program_.code[static_cast<std::size_t>(split)].a = preferred;
    program_.code[static_cast<std::size_t>(split)].b = other;
  }

  void EmitRepeat(const Node& node) {
    const int child = node.children[0];
    if (node.max == 0) return;
    Item item;
    std::int32_t operand;
    if (SimpleItem(N(child), &item, &operand)) {
      const int at = Add(Op::RepeatSimple, operand, node.min, node.max);
      program_.code[static_cast<std::size_t>(at)].item = item;
      program_.code[static_cast<std::size_t>(at)].greedy = node.greedy;
      return;
    }
    if (node.min == 0 && node.max == 1) {
      const int split = Add(Op::Split);
      Emit(child);
      node.greedy ? SetSplit(split, split + 1, Here()) : SetSplit(split, Here(), split + 1);
      return;
    }
    // Unbounded loops never have an operand that can match nothing (the parser
    // refuses those), so every pass consumes input and the loop ends.
    if (node.min == 0 && node.max == kUnbounded) {
      const int split = Add(Op::Split);
      Emit(child);
      Add(Op::Jump, split);
      node.greedy ? SetSplit(split, split + 1, Here()) : SetSplit(split, Here(), split + 1);
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
    program_.code[static_cast<std::size_t>(test)].greedy = node.greedy;
    Add(Op::LoopMark, counter);
    Emit(child);
    const int step = Add(Op::LoopStep, counter, test);
    program_.code[static_cast<std::size_t>(test)].d = Here();
    program_.code[static_cast<std::size_t>(step)].c = Here();
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

  // Adds the bytes a match of the node can start with; returns whether the
  // node can match nothing (then what follows it can start the match too).
  bool First(int index, ByteSet& first) const {
    const Node& node = N(index);
    switch (node.kind) {
      case NodeKind::Empty:
      case NodeKind::Assert:
        return true;
      case NodeKind::Literal:
        if (node.fold) {
          for (std::size_t b = 0; b < 256; ++b) {
            if (case_.fold[b] == node.byte) first.set(b);
          }
        } else {
          first.set(node.byte);
        }
        return false;
      case NodeKind::Class:
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
  std::vector<int> set_index_;
  std::map<SetKey, int> tables_;
};

}  // namespace

Program CompileSyntax(const Syntax& syntax, const CaseInfo& case_info, const Separators& separators,
                      std::size_t expression_length) {
  return Compiler(syntax, case_info, separators, expression_length).Run();
}

}  // namespace regex_detail
