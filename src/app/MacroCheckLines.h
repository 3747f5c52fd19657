#pragma once
// What the macro checker read from each line of the open document, kept
// between checks, so that after an edit only the lines it touched are read
// again (and the lines after one whose "/* */" comment state changed).
//
// The facts live in blocks of lines that snapshots share: a check on another
// thread works on a snapshot while the document goes on changing, and a
// block still held by a snapshot is copied before it changes, so a snapshot
// never changes under its reader. A snapshot costs a copy of the block list.
#include <atomic>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "language/MacroChecker.h"
#include "language/MacroLineReader.h"

class TEditorStringList;
struct TMacroLineBlock;

// The lines of the editor's line buffer, as the checker reads them.
class TEditorMacroLines : public IMacroLines {
 public:
  explicit TEditorMacroLines(const TEditorStringList& lines) : lines_(lines) {}
  int LineCount() const override;
  std::string_view Line(int index) const override;

 private:
  const TEditorStringList& lines_;
};

// The facts of every line at one moment, for the file-wide passes.
struct TMacroLinesSnapshot {
  std::vector<std::shared_ptr<const TMacroLineBlock>> blocks;
  int line_count = 0;
  std::uint64_t version = 0;  // of the lines it was taken from
};

// Runs the file-wide passes over a snapshot. Returns nothing when `stop` was
// set meanwhile (the answer is no longer wanted).
std::optional<TMacroCheckResult> CheckMacroLines(const TMacroLinesSnapshot& lines,
                                                 const TMacroCheckOptions& options,
                                                 const std::atomic<bool>* stop = nullptr);

class TMacroCheckLines {
 public:
  // block_lines: lines per block (tests use small blocks).
  explicit TMacroCheckLines(int block_lines = 1024);
  ~TMacroCheckLines();
  TMacroCheckLines(const TMacroCheckLines&) = delete;
  TMacroCheckLines& operator=(const TMacroCheckLines&) = delete;

  // ---- the line buffer's changes (0-based indexes)
  void LinesInserted(int index, int count);
  void LinesDeleted(int index, int count);
  void LinesChanged(int index, int count);
  void Clear();
  // Every line is to be read again (the way lines are read has changed).
  void ReadAllAgain();

  int Count() const { return count_; }
  // Changes with every change of the lines.
  std::uint64_t Version() const { return version_; }
  // How many lines wait to be read.
  int PendingLines() const { return stale_; }

  // Reads the lines that wait, in order, at most `budget` of them; true when
  // none is left. A text whose line count disagrees with what the changes
  // told is read again whole.
  bool ReadLines(const IMacroLines& text, const TMacroReadOptions& options, int budget);

  // The facts of the lines as read; only while no line waits.
  TMacroLinesSnapshot Snapshot() const;

  // The labels defined in the file as last read, in file order (repeated
  // definitions included).
  std::vector<TMacroLabel> Labels() const;
  // The facts of one line as last read and the name it uses (label, jump
  // target or included path); nothing for a line that does not exist.
  std::optional<TMacroLineFacts> Facts(int line, std::string* name = nullptr) const;

 private:
  int BlockOf(int line) const;
  TMacroLineBlock& Mutable(std::size_t block);
  void MarkStale(int line);
  void RenumberFrom(std::size_t block);

  int block_lines_;
  std::vector<std::shared_ptr<TMacroLineBlock>> blocks_;
  std::vector<int> starts_;  // first line of each block
  int count_ = 0;
  int stale_ = 0;
  std::uint64_t version_ = 0;
};
