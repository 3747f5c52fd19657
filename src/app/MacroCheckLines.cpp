#include "app/MacroCheckLines.h"

#include <algorithm>

#include "editor/EditorTextBuffer.h"

namespace {

// What few lines have: a block word, a comment opening, a name, problems.
struct TLineExtra {
  int comment_start = -1;
  int block_start = 0;
  int block_length = 0;
  int name_start = 0;
  int name_length = 0;
  std::string name;
  std::vector<TMacroProblem> problems;
};

// One line's facts in 24 bytes: a million-line macro keeps a million.
struct TLineRecord {
  static constexpr std::uint8_t kBlockInline = 1;
  static constexpr std::uint8_t kEndsFlow = 2;
  static constexpr std::uint8_t kCommentOpen = 4;  // at its end
  static constexpr std::uint8_t kInComment = 8;    // at its start, when it was read
  static constexpr std::uint8_t kStale = 16;       // to be read again

  TMacroStatementKind statement = TMacroStatementKind::None;
  TMacroCommand block = TMacroCommand::Plain;
  TMacroCommand command = TMacroCommand::Plain;
  TMacroNameUse name_use = TMacroNameUse::None;
  std::uint8_t flags = kStale;
  std::int32_t statement_start = 0;
  std::int32_t statement_length = 0;
  std::unique_ptr<TLineExtra> extra;

  TLineRecord() = default;
  TLineRecord(TLineRecord&&) = default;
  TLineRecord& operator=(TLineRecord&&) = default;
  TLineRecord(const TLineRecord& other)
      : statement(other.statement),
        block(other.block),
        command(other.command),
        name_use(other.name_use),
        flags(other.flags),
        statement_start(other.statement_start),
        statement_length(other.statement_length),
        extra(other.extra ? std::make_unique<TLineExtra>(*other.extra) : nullptr) {}
  TLineRecord& operator=(const TLineRecord& other) {
    if (this != &other) *this = TLineRecord(other);
    return *this;
  }

  bool Has(std::uint8_t flag) const { return (flags & flag) != 0; }
  void Set(std::uint8_t flag, bool on) {
    flags = static_cast<std::uint8_t>(on ? flags | flag : flags & ~flag);
  }

  void Store(const TMacroLineFacts& f, std::string_view text, bool in_comment,
             std::vector<TMacroProblem>& problems) {
    statement = f.statement;
    block = f.block;
    command = f.command;
    name_use = f.name_use;
    flags = 0;
    Set(kBlockInline, f.block_inline);
    Set(kEndsFlow, f.ends_flow);
    Set(kCommentOpen, f.comment_open_at_end);
    Set(kInComment, in_comment);
    statement_start = f.statement_start;
    statement_length = f.statement_length;
    const bool rare = f.block != TMacroCommand::Plain || f.comment_start >= 0 ||
                      f.name_use != TMacroNameUse::None || !problems.empty();
    if (!rare) {
      extra.reset();
      return;
    }
    if (!extra) extra = std::make_unique<TLineExtra>();
    extra->comment_start = f.comment_start;
    extra->block_start = f.block_start;
    extra->block_length = f.block_length;
    extra->name_start = f.name_start;
    extra->name_length = f.name_length;
    if (f.name_use != TMacroNameUse::None) {
      extra->name.assign(text.substr(static_cast<std::size_t>(f.name_start),
                                     static_cast<std::size_t>(f.name_length)));
    } else {
      extra->name.clear();
    }
    extra->problems.swap(problems);
  }

  TMacroLineFacts Facts() const {
    TMacroLineFacts f;
    f.statement = statement;
    f.block = block;
    f.block_inline = Has(kBlockInline);
    f.ends_flow = Has(kEndsFlow);
    f.command = command;
    f.comment_open_at_end = Has(kCommentOpen);
    f.name_use = name_use;
    f.statement_start = statement_start;
    f.statement_length = statement_length;
    if (extra) {
      f.comment_start = extra->comment_start;
      f.block_start = extra->block_start;
      f.block_length = extra->block_length;
      f.name_start = extra->name_start;
      f.name_length = extra->name_length;
    }
    return f;
  }
};
static_assert(sizeof(TLineRecord) <= 24, "line facts must stay compact");

}  // namespace

struct TMacroLineBlock {
  std::vector<TLineRecord> lines;
  int stale = 0;  // lines of this block waiting to be read
};

int TEditorMacroLines::LineCount() const { return lines_.Count(); }

std::string_view TEditorMacroLines::Line(int index) const { return lines_.LineView(index); }

std::optional<TMacroCheckResult> CheckMacroLines(const TMacroLinesSnapshot& lines,
                                                 const TMacroCheckOptions& options,
                                                 const std::atomic<bool>* stop) {
  TMacroFileCheck check(options);
  std::vector<TMacroProblem> problems;
  int line = 0;
  for (const auto& block : lines.blocks) {
    if (stop && stop->load(std::memory_order_relaxed)) return std::nullopt;
    for (const TLineRecord& record : block->lines) {
      if (!record.extra) {
        check.AddLineFacts(line, {}, record.Facts(), {});
      } else {
        // The problems were read with the line number the line had then.
        problems = record.extra->problems;
        for (TMacroProblem& problem : problems) problem.line = line;
        check.AddLineFacts(line, record.extra->name, record.Facts(), problems);
      }
      ++line;
    }
  }
  return check.Finish();
}

TMacroCheckLines::TMacroCheckLines(int block_lines) : block_lines_(std::max(1, block_lines)) {}

TMacroCheckLines::~TMacroCheckLines() = default;

int TMacroCheckLines::BlockOf(int line) const {
  const auto it = std::upper_bound(starts_.begin(), starts_.end(), line);
  return static_cast<int>(it - starts_.begin()) - 1;
}

TMacroLineBlock& TMacroCheckLines::Mutable(std::size_t block) {
  // A block a snapshot still holds is copied first.
  if (blocks_[block].use_count() > 1) {
    blocks_[block] = std::make_shared<TMacroLineBlock>(*blocks_[block]);
  }
  return *blocks_[block];
}

void TMacroCheckLines::RenumberFrom(std::size_t block) {
  starts_.resize(blocks_.size());
  int start =
      block == 0 ? 0 : starts_[block - 1] + static_cast<int>(blocks_[block - 1]->lines.size());
  for (std::size_t b = block; b < blocks_.size(); ++b) {
    starts_[b] = start;
    start += static_cast<int>(blocks_[b]->lines.size());
  }
  count_ = start;
}

void TMacroCheckLines::MarkStale(int line) {
  if (line < 0 || line >= count_) return;
  const auto b = static_cast<std::size_t>(BlockOf(line));
  TLineRecord& record = Mutable(b).lines[static_cast<std::size_t>(line - starts_[b])];
  if (record.Has(TLineRecord::kStale)) return;
  record.Set(TLineRecord::kStale, true);
  ++blocks_[b]->stale;
  ++stale_;
}

void TMacroCheckLines::LinesInserted(int index, int count) {
  ++version_;
  if (count <= 0 || index < 0 || index > count_) return;
  std::size_t b;
  if (blocks_.empty()) {
    blocks_.push_back(std::make_shared<TMacroLineBlock>());
    b = 0;
  } else if (index == count_) {
    b = blocks_.size() - 1;
  } else {
    b = static_cast<std::size_t>(BlockOf(index));
  }
  const int offset = b < starts_.size() ? index - starts_[b] : 0;
  TMacroLineBlock& block = Mutable(b);
  block.lines.insert(block.lines.begin() + offset, static_cast<std::size_t>(count), TLineRecord{});
  block.stale += count;
  stale_ += count;
  // A block grown past twice its size is cut into blocks of the usual size.
  const auto limit = static_cast<std::size_t>(2 * block_lines_);
  if (block.lines.size() > limit) {
    std::vector<std::shared_ptr<TMacroLineBlock>> pieces;
    auto& lines = block.lines;
    for (std::size_t from = 0; from < lines.size();
         from += static_cast<std::size_t>(block_lines_)) {
      auto piece = std::make_shared<TMacroLineBlock>();
      const std::size_t to = std::min(lines.size(), from + static_cast<std::size_t>(block_lines_));
      piece->lines.assign(
          std::make_move_iterator(lines.begin() + static_cast<std::ptrdiff_t>(from)),
          std::make_move_iterator(lines.begin() + static_cast<std::ptrdiff_t>(to)));
      for (const TLineRecord& r : piece->lines) piece->stale += r.Has(TLineRecord::kStale) ? 1 : 0;
      pieces.push_back(std::move(piece));
    }
    blocks_.erase(blocks_.begin() + static_cast<std::ptrdiff_t>(b));
    blocks_.insert(blocks_.begin() + static_cast<std::ptrdiff_t>(b), pieces.begin(), pieces.end());
  }
  RenumberFrom(b);
}

void TMacroCheckLines::LinesDeleted(int index, int count) {
  ++version_;
  if (index < 0 || index >= count_) return;
  count = std::min(count, count_ - index);
  if (count <= 0) return;
  auto b = static_cast<std::size_t>(BlockOf(index));
  const std::size_t first = b;
  int remaining = count;
  int offset = index - starts_[b];
  while (remaining > 0) {
    TMacroLineBlock& block = Mutable(b);
    const int n = std::min(remaining, static_cast<int>(block.lines.size()) - offset);
    const auto from = block.lines.begin() + offset;
    for (auto it = from; it != from + n; ++it) {
      if (it->Has(TLineRecord::kStale)) {
        --block.stale;
        --stale_;
      }
    }
    block.lines.erase(from, from + n);
    remaining -= n;
    if (block.lines.empty()) {
      blocks_.erase(blocks_.begin() + static_cast<std::ptrdiff_t>(b));
    } else {
      ++b;
    }
    offset = 0;
  }
  RenumberFrom(std::min(first, blocks_.size()));
  // The line after the removed ones follows another line now.
  MarkStale(index);
}

void TMacroCheckLines::LinesChanged(int index, int count) {
  ++version_;
  for (int i = 0; i < count; ++i) MarkStale(index + i);
}

void TMacroCheckLines::Clear() {
  ++version_;
  blocks_.clear();
  starts_.clear();
  count_ = 0;
  stale_ = 0;
}

void TMacroCheckLines::ReadAllAgain() { LinesChanged(0, count_); }

bool TMacroCheckLines::ReadLines(const IMacroLines& text, const TMacroReadOptions& options,
                                 int budget) {
  if (text.LineCount() != count_) {
    Clear();
    LinesInserted(0, text.LineCount());
  }
  TMacroLineFacts facts;
  std::vector<TMacroProblem> problems;
  for (std::size_t b = 0; b < blocks_.size() && stale_ > 0; ++b) {
    if (blocks_[b]->stale == 0) continue;
    TMacroLineBlock& block = Mutable(b);
    bool in_comment = b > 0 && blocks_[b - 1]->lines.back().Has(TLineRecord::kCommentOpen);
    for (std::size_t k = 0; k < block.lines.size(); ++k) {
      TLineRecord& record = block.lines[k];
      if (record.Has(TLineRecord::kStale)) {
        if (budget <= 0) return false;
        --budget;
        const int line = starts_[b] + static_cast<int>(k);
        const std::string_view line_text = text.Line(line);
        problems.clear();
        ReadMacroLine(line_text, line, in_comment, options, facts, problems);
        record.Store(facts, line_text, in_comment, problems);
        --block.stale;
        --stale_;
        // The next line was read inside or outside a comment; if that no
        // longer holds, it is read again.
        const int next = line + 1;
        if (next < count_) {
          const bool next_in_comment =
              k + 1 < block.lines.size()
                  ? block.lines[k + 1].Has(TLineRecord::kInComment)
                  : blocks_[b + 1]->lines.front().Has(TLineRecord::kInComment);
          if (next_in_comment != facts.comment_open_at_end) MarkStale(next);
        }
      }
      in_comment = record.Has(TLineRecord::kCommentOpen);
    }
  }
  return stale_ == 0;
}

TMacroLinesSnapshot TMacroCheckLines::Snapshot() const {
  TMacroLinesSnapshot snapshot;
  snapshot.blocks.assign(blocks_.begin(), blocks_.end());
  snapshot.line_count = count_;
  snapshot.version = version_;
  return snapshot;
}

std::vector<TMacroLabel> TMacroCheckLines::Labels() const {
  std::vector<TMacroLabel> labels;
  for (std::size_t b = 0; b < blocks_.size(); ++b) {
    const auto& lines = blocks_[b]->lines;
    for (std::size_t k = 0; k < lines.size(); ++k) {
      const TLineRecord& r = lines[k];
      if (r.name_use != TMacroNameUse::Label || !r.extra) continue;
      labels.push_back(TMacroLabel{r.extra->name, starts_[b] + static_cast<int>(k),
                                   r.extra->name_start, r.extra->name_length});
    }
  }
  return labels;
}

std::optional<TMacroLineFacts> TMacroCheckLines::Facts(int line, std::string* name) const {
  if (line < 0 || line >= count_) return std::nullopt;
  const auto b = static_cast<std::size_t>(BlockOf(line));
  const TLineRecord& r = blocks_[b]->lines[static_cast<std::size_t>(line - starts_[b])];
  if (name) *name = r.extra ? r.extra->name : std::string();
  return r.Facts();
}
