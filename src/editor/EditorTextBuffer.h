#pragma once
// The editor's line buffer: the text as an array of compact line records, with
// per-line caches of the tab-expanded length and the highlighter state, change
// notifications for the editor, and loading/saving of files that keeps the
// line-break style found on loading.
//
// Lines are byte strings in the document's character set: the ANSI code page,
// or UTF-8 for every Unicode encoding; they never contain CR or LF. Indexes are
// 0-based (editor line number = index + 1). The expanded length of a line is
// the number of display cells it takes.
#include <cstddef>
#include <cstdint>
#include <functional>
#include <iosfwd>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "editor/EditorCellMarks.h"
#include "platform/Exception.h"
#include "platform/TextEncoding.h"

class ICodePage;
class IFileSystem;
class IOutputFile;

// Index errors ("Invalid stringlist index %d") and capacity errors
// ("Stringlist capacity cannot be smaller than count").
class EEditorStringList : public Exception {
 public:
  using Exception::Exception;
};

enum TEditorLineBreakStyle : uint8_t { lbCRLF = 0, lbLF = 1, lbCR = 2 };

// The bytes that end a line in the given style ("\r\n", "\n" or "\r").
std::string_view LineBreakBytes(TEditorLineBreakStyle style);

// The highlighter's state at the end of a line. Highlighter states are 32-bit
// values; keeping them at that width keeps the line record small.
using TEditorLineRange = int32_t;

// One line. Kept to 24 bytes because a million-line file holds a million of
// these: the text is a pointer and a length (pointing either into the block the
// file was loaded into, or into the line's own heap block), and the attached
// Data pointers, which most lists never use, live in a side array of the list.
// Records are trivially copyable and move by plain memory copy.
struct TEditorStringRec {
  // Flag bits.
  static constexpr uint8_t TabsFound = 1;    // the line contains at least one tab
  static constexpr uint8_t NoTabs = 2;       // the line contains no tab
  static constexpr uint8_t LengthStale = 4;  // ExpandedLength must be recomputed
  // Some character takes a number of cells other than its number of bytes
  // (known once the length is computed; only in UTF-8).
  static constexpr uint8_t CellsVary = 8;

  const char* TextChars;  // not NUL-terminated; nullptr for an empty line
  uint32_t TextLength;
  int32_t ExpandedLength;  // -1 while not yet computed
  TEditorLineRange Range;  // -1 for a line that has not been scanned
  uint8_t Flags;
  uint8_t Storage;  // internal: who owns TextChars

  std::string_view Text() const { return {TextChars, TextLength}; }
};
static_assert(sizeof(TEditorStringRec) <= 24, "line records must stay compact");

// Tab expansion: column positions start at 0; a tab at output column c becomes
// (tab_width - c % tab_width) TAB characters, or one space when tab_width is 1.
// A line without a tab is returned as it is (a view of `line`, nothing copied);
// otherwise the expansion is built in `out` and a view of it is returned.
// has_tabs tells which happened.
using TExpandTabsRoutine = std::string_view (*)(std::string_view line, int tab_width,
                                                std::string& out, bool& has_tabs);
std::string_view ExpandTabsWidth1(std::string_view line, int tab_width, std::string& out,
                                  bool& has_tabs);
std::string_view ExpandTabsPowerOfTwo(std::string_view line, int tab_width, std::string& out,
                                      bool& has_tabs);
std::string_view ExpandTabsGeneral(std::string_view line, int tab_width, std::string& out,
                                   bool& has_tabs);
// The routine SetTabWidth picks for a width.
TExpandTabsRoutine ExpandTabsRoutineFor(int tab_width);

class TEditorStringList {
 public:
  using TNotify = std::function<void(TEditorStringList* Sender)>;
  using TLinesNotify = std::function<void(TEditorStringList* Sender, int Index, int Count)>;

  TEditorStringList();
  ~TEditorStringList();
  TEditorStringList(const TEditorStringList&) = delete;
  TEditorStringList& operator=(const TEditorStringList&) = delete;

  // --- Notifications (raised only when set). Line notifications come at once,
  // inside the update pair that brackets every change.
  TNotify OnUpdateStarted;
  TNotify OnUpdateEnded;
  TNotify OnLinesCleared;
  TLinesNotify OnLinesDeleted;
  TLinesNotify OnLinesInserted;
  TLinesNotify OnLinesReplaced;

  // --- Reading. A bad index is not an error: the empty value comes back.
  int Count() const { return count_; }
  int Capacity() const { return capacity_; }
  // Copy of the line's text.
  std::string GetLine(int Index) const;
  // The line's text without a copy; valid until that line is changed or removed.
  std::string_view LineView(int Index) const;
  void* GetData(int Index) const;
  TEditorLineRange GetRange(int Index) const;  // 0 out of range
  // The line with tabs expanded (a copy). Painting should prefer ExpandedLineView.
  std::string GetExpandedLine(int Index) const;
  // The expanded line without copying a line that has no tab: the view points at
  // the line's own text, or into `scratch` when tabs were expanded. Valid until
  // the line changes or scratch is reused. Fills the length cache like GetExpandedLine.
  std::string_view ExpandedLineView(int Index, std::string& scratch) const;
  int GetExpandedLength(int Index) const;  // 0 out of range
  // Whether a line's byte positions are not simply its cells (tabs aside);
  // false out of range.
  bool CellsVary(int Index) const;
  // On a line whose cells vary: where a walk over its characters toward byte
  // Byte stops (the first character boundary at or after it) and the cells
  // before that, tabs expanded; and a place a walk toward the cell after the
  // first Cells cells may set off from (a boundary at or before it). Both are
  // quick on the lines being edited or painted (see TEditorCellMarks). Other
  // lines answer their start.
  TCellMark WalkCellsToByte(int Index, std::size_t Byte) const;
  TCellMark CellMarkAtOrBeforeCells(int Index, long long Cells) const;
  int LongestLineLength() const;  // 0 for an empty list
  // All lines joined with CR LF, no break after the last line.
  std::string GetText() const;
  // Read-only access to a record (tests and diagnostics); Index must be valid.
  const TEditorStringRec& Record(int Index) const { return list_[Index]; }

  // --- Changing. Each change is bracketed by BeginUpdate/EndUpdate. Index errors
  // throw EEditorStringList and leave the list unchanged.
  int Add(std::string_view S);
  void Insert(int Index, std::string_view S);
  void SetLine(int Index, std::string_view S);  // Index == Count() appends
  void SetData(int Index, void* P);
  void SetRange(int Index, TEditorLineRange R);
  void Delete(int Index);
  void DeleteLineRange(int Index, int N);
  void InsertEmptyLines(int Index, int N);
  void AppendLines(const TEditorStringList& Source);         // copies texts and Data
  void AppendLines(const std::vector<std::string>& Source);  // Data nil
  void Exchange(int I, int J);
  void Clear();
  void SetCapacity(int N);
  // Replaces every line by the lines of Text (CR LF, LF or CR separate lines; a
  // break at the very end does not add an empty line). One update pair.
  void SetText(std::string_view Text);

  int TabWidth() const { return tab_width_; }
  // Values below 1 count as 1 and above 65536 as 65536.
  void SetTabWidth(int W);

  TEditorLineBreakStyle LineBreakStyle() const { return line_break_style_; }
  void SetLineBreakStyle(TEditorLineBreakStyle S) { line_break_style_ = S; }
  bool AppendBreakAtEnd() const { return append_break_at_end_; }
  void SetAppendBreakAtEnd(bool B) { append_break_at_end_ = B; }

  // How the text is saved. Loading detects it. Switching between ANSI and a
  // Unicode encoding changes the character set the lines are read in; the
  // caller converts the text.
  TTextEncoding Encoding() const { return encoding_; }
  void SetEncoding(TTextEncoding E);
  // Bytes kept after the text when loading (see TDecodedText) and written back;
  // a change of encoding drops them, and undoing it puts them back.
  const std::string& EncodingTail() const { return encoding_tail_; }
  void SetEncodingTail(std::string Tail) { encoding_tail_ = std::move(Tail); }
  // The ANSI code page of ANSI documents (not owned; nullptr: one byte per
  // character).
  void SetAnsiCodePage(const ICodePage* CodePage);
  const ICodePage* AnsiCodePage() const { return ansi_code_page_; }
  // The character set of the lines: UTF-8 for a Unicode encoding, else the
  // ANSI code page (nullptr when none was given).
  const ICodePage* CodePage() const;

  void BeginUpdate();
  void EndUpdate();
  int UpdateCount() const { return update_count_; }

  // --- Files. Loading replaces all lines (the file is read before anything is
  // cleared, so a file that cannot be read leaves the list untouched). Saving
  // writes a temporary file beside the target and replaces the target only when
  // everything was written: a failure leaves the old file as it was and throws
  // EFileError. Both go through FileSystem().
  void LoadFromFile(const std::string& FileName);
  void LoadFromStream(std::istream& Stream);  // reads from position 0 to the end
  // Loads from bytes already in memory, decoded as their encoding says; the
  // list keeps the text's block and lets the lines point into it, so loading
  // ANSI or UTF-8 copies no line.
  void LoadFromBuffer(std::string Bytes);
  void SaveToFile(const std::string& FileName) const;
  void SaveToStream(std::ostream& Stream) const;  // one write of the whole content
  // The exact bytes SaveToFile writes (byte-order mark, encoded text, tail).
  std::string SaveToString() const;

 private:
  class TUpdateScope;

  void CheckIndex(int Index, int Limit) const;
  void Grow();
  void ReallocateList(int NewCapacity);
  void InitRecord(TEditorStringRec& Rec);
  void AssignText(TEditorStringRec& Rec, std::string_view S);
  void ReleaseText(TEditorStringRec& Rec);
  void InsertItem(int Index, std::string_view S);
  void EnsureDataSlots();
  int ExpandedLengthOf(TEditorStringRec& Rec) const;
  void MarkAllLengthsStale();
  void ForgetLongestLine() const {
    length_counts_.clear();
    counts_valid_ = false;
  }
  // Keeps the count of lines per expanded length (once it has been built), so
  // that the longest length follows each line change without walking every
  // line, also when the longest line shrinks.
  void CountLength(int Length, int Delta) const;
  bool ParseLines(std::string_view Bytes, bool Borrow, bool AddFinalEmptyLine, bool& SawCR,
                  bool& SawLF);
  void ReleaseAll();
  void CompactLoadedBlock();
  TCellMeasure CellMeasure() const { return {*CodePage(), tab_width_}; }
  // Lets the cell marks of a line follow the change of its text to S; true
  // when they told the line's new width (and set it in Rec).
  bool FollowEditWithCellMarks(int Index, TEditorStringRec& Rec, std::string_view S);

  TEditorStringRec* list_ = nullptr;
  int count_ = 0;
  int capacity_ = 0;
  TEditorLineBreakStyle line_break_style_ = lbCRLF;
  bool append_break_at_end_ = false;
  TExpandTabsRoutine expand_tabs_;
  TTextEncoding encoding_ = TTextEncoding::Ansi;
  std::string encoding_tail_;
  const ICodePage* ansi_code_page_ = nullptr;
  mutable TEditorCellMarks cell_marks_;
  mutable std::map<int, int> length_counts_;
  mutable bool counts_valid_ = false;
  int tab_width_ = 8;
  int update_count_ = 0;
  // Data pointers, parallel to the records; empty until a line gets one.
  std::vector<void*> data_;
  // The block the last file was loaded into, and how many lines still point into it.
  std::string loaded_block_;
  int loaded_block_users_ = 0;
  size_t loaded_block_bytes_used_ = 0;
};

// Buffered output of lines: a byte buffer of 16384 bytes at construction,
// enlarged when a single line (with its break) does not fit.
class TEditorFiler {
 public:
  static constexpr int InitialBufferSize = 0x4000;

  TEditorFiler();
  virtual ~TEditorFiler() = default;
  TEditorFiler(const TEditorFiler&) = delete;
  TEditorFiler& operator=(const TEditorFiler&) = delete;

  TEditorLineBreakStyle LineBreakStyle() const { return line_break_style_; }
  void SetLineBreakStyle(TEditorLineBreakStyle S) { line_break_style_ = S; }
  int BufferSize() const { return buffer_size_; }
  int BufferPosition() const { return buffer_pos_; }

 protected:
  std::unique_ptr<char[]> buffer_;
  int buffer_pos_ = 0;
  int buffer_size_ = InitialBufferSize;
  TEditorLineBreakStyle line_break_style_ = lbCRLF;
};

// Writes a file safely: the bytes go to a temporary file beside FileName, and
// Commit() puts it in place of FileName. A writer destroyed without Commit()
// (for instance after a write error) removes the temporary file and leaves
// FileName untouched. Where that way is refused (ESwapRefused) FileName is
// overwritten in place after its old content was copied to a backup file in
// the user's temporary folder; errors of that overwrite name the backup, and
// a successful Commit() removes it.
class TEditorFileWriter : public TEditorFiler {
 public:
  explicit TEditorFileWriter(const std::string& FileName);
  ~TEditorFileWriter() override;

  void Write(std::string_view S);
  void WriteLine(std::string_view S);
  void Flush();
  // Flushes, closes and replaces the target. Throws EFileError; the target is
  // then unchanged (or, when overwritten in place, its backup is named in the
  // message) and the temporary file is gone.
  void Commit();

 private:
  void Reserve(size_t Needed);
  void BeginOverwrite();
  void Discard() noexcept;

  IFileSystem& fs_;
  std::string file_name_;
  std::string temp_name_;
  std::string backup_name_;
  std::unique_ptr<IOutputFile> file_;
  bool committed_ = false;
};
