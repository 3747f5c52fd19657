// Cut, copy and paste through the clipboard (plain text and the private block
// that keeps the selection mode), and dragging text within and between editor
// controls.
#include <algorithm>
#include <climits>

#include "editor/Editor.h"
#include "platform/Clipboard.h"
#include "platform/CodePage.h"
#include "platform/Utf8.h"

namespace {

// The private block: the selection mode byte, then the text and a NUL. The
// first format holds ANSI text; the second, preferred when reading, UTF-8, so
// that blocks keep every character between documents of any encoding.
constexpr const char* kBlockFormatName = "Quillon Control Block Type";
constexpr const char* kUtf8BlockFormatName = "Quillon Control Block Type UTF-8";
constexpr const char* kCopyFailed = "Clipboard copy operation failed";
constexpr const char* kPasteFailed = "Clipboard paste operation failed.";

class ClipboardScope {
 public:
  explicit ClipboardScope(IClipboard& c) : c_(c), open_(c.Open()) {}
  ~ClipboardScope() {
    if (open_) c_.Close();
  }
  bool IsOpen() const { return open_; }
  ClipboardScope(const ClipboardScope&) = delete;
  ClipboardScope& operator=(const ClipboardScope&) = delete;

 private:
  IClipboard& c_;
  bool open_;
};

// The text of a clipboard block: up to its first NUL, or all of it when the
// NUL is missing.
std::string_view UpToNul(std::string_view bytes) {
  const std::size_t nul = bytes.find('\0');
  return nul == std::string_view::npos ? bytes : bytes.substr(0, nul);
}

// Clipboard UTF-16 (little-endian bytes) and the UTF-8 of it, up to the first NUL unit.
std::string Utf16Bytes(std::u16string_view text) {
  std::string bytes;
  bytes.reserve(2 * text.size() + 2);
  for (char16_t u : text) {
    bytes.push_back(static_cast<char>(u & 0xFF));
    bytes.push_back(static_cast<char>(u >> 8));
  }
  bytes.append(2, '\0');
  return bytes;
}

std::string Utf8OfUtf16Bytes(std::string_view bytes) {
  std::u16string text;
  for (std::size_t i = 0; i + 1 < bytes.size(); i += 2) {
    const char16_t u = static_cast<char16_t>(static_cast<unsigned char>(bytes[i]) |
                                             static_cast<unsigned char>(bytes[i + 1]) << 8);
    if (u == 0) break;
    text.push_back(u);
  }
  return Utf16ToUtf8(text);
}

}  // namespace

void TCustomEditor::DoCopy() {
  if (!HasSelection()) return;
  std::string text;
  if (active_selection_mode_ == smColumn && options_.Contains(eoTrimTrailingSpaces)) {
    // The copied lines keep their spaces.
    options_ -= TEditorOptions{eoTrimTrailingSpaces};
    text = SelectedText();
    options_ += TEditorOptions{eoTrimTrailingSpaces};
  } else {
    text = SelectedText();
  }
  if (!clipboard_) throw EEditorError(kCopyFailed);
  const unsigned format = clipboard_->RegisterFormat(kBlockFormatName);
  const unsigned utf8_format = clipboard_->RegisterFormat(kUtf8BlockFormatName);
  // The text as UTF-16, as UTF-8 and in the ANSI code page (where a Unicode
  // document's characters it cannot hold become "?").
  const ICodePage& ansi_cp = AnsiCharSet();
  const ICodePage& doc_cp = TextCharSet();
  const std::u16string wide = doc_cp.ToUtf16(text);
  const bool unicode = doc_cp.UnicodeText();
  const std::string utf8 = unicode ? text : Utf16ToUtf8(wide);
  const std::string ansi = unicode ? ansi_cp.FromUtf16(wide) : text;
  const char mode = static_cast<char>(active_selection_mode_);
  ClipboardScope scope(*clipboard_);
  if (!scope.IsOpen() || !clipboard_->Empty()) throw EEditorError(kCopyFailed);
  if (!clipboard_->SetData(IClipboard::kTextFormat, ansi + '\0') ||
      !clipboard_->SetData(IClipboard::kUnicodeTextFormat, Utf16Bytes(wide)) || format == 0 ||
      !clipboard_->SetData(format, mode + ansi + '\0') || utf8_format == 0 ||
      !clipboard_->SetData(utf8_format, mode + utf8 + '\0'))
    throw EEditorError(kCopyFailed);
}

void TCustomEditor::CopyToClipboard() {
  BeginUpdate();
  struct Unlock {
    TCustomEditor& e;
    ~Unlock() { e.EndUpdate(); }
  } unlock{*this};
  DoCopy();
}

void TCustomEditor::CutToClipboard() {
  if (read_only_ || !HasSelection()) return;
  ProcessCommand(ecCut, 0, nullptr);
}

void TCustomEditor::PasteFromClipboard() { ProcessCommand(ecPaste, 0, nullptr); }

bool TCustomEditor::CanPaste() {
  if (read_only_ || !clipboard_) return false;
  const unsigned format = clipboard_->RegisterFormat(kBlockFormatName);
  const unsigned utf8_format = clipboard_->RegisterFormat(kUtf8BlockFormatName);
  ClipboardScope scope(*clipboard_);
  return (format != 0 && clipboard_->HasFormat(format)) ||
         (utf8_format != 0 && clipboard_->HasFormat(utf8_format)) ||
         clipboard_->HasFormat(IClipboard::kUnicodeTextFormat) ||
         clipboard_->HasFormat(IClipboard::kTextFormat);
}

void TCustomEditor::DoPaste() {
  if (read_only_ || !clipboard_) return;
  const unsigned format = clipboard_->RegisterFormat(kBlockFormatName);
  const unsigned utf8_format = clipboard_->RegisterFormat(kUtf8BlockFormatName);
  // The block with its mode byte, or plain text; UTF-8 or in the ANSI code page.
  std::string data;
  bool has_block = false, utf8 = false;
  {
    ClipboardScope scope(*clipboard_);
    if (!scope.IsOpen()) throw EEditorError(kPasteFailed);
    const auto read = [&](unsigned f) {
      std::optional<std::string> bytes = clipboard_->GetData(f);
      if (!bytes) throw EEditorError(kPasteFailed);
      return std::move(*bytes);
    };
    if (utf8_format != 0 && clipboard_->HasFormat(utf8_format)) {
      data = read(utf8_format);
      has_block = utf8 = true;
    } else if (format != 0 && clipboard_->HasFormat(format)) {
      data = read(format);
      has_block = true;
    } else if (clipboard_->HasFormat(IClipboard::kUnicodeTextFormat)) {
      data = Utf8OfUtf16Bytes(read(IClipboard::kUnicodeTextFormat));
      utf8 = true;
    } else if (clipboard_->HasFormat(IClipboard::kTextFormat)) {
      data = read(IClipboard::kTextFormat);
    } else {
      return;
    }
    // A block that holds not even its mode byte.
    if (has_block && data.empty()) throw EEditorError(kPasteFailed);
  }
  const std::string_view source = UpToNul(std::string_view(data).substr(has_block ? 1 : 0));
  std::string text;
  if (!utf8)
    text = DocumentText(source, false);
  else if (!TextForDocument(source, text))
    return;  // the ANSI document keeps its text
  TEditorUndoList& undo = UndoList();
  TEditorUndoBlockScope group(undo);
  undo.AddRecord(ckPasteOpen, caret_, smNormal, std::string(), caret_);
  if (has_block) {
    // An unknown mode is pasted as ordinary text.
    const auto mode_byte = static_cast<unsigned char>(data[0]);
    const TSelectionMode mode =
        mode_byte <= smColumn ? static_cast<TSelectionMode>(mode_byte) : smNormal;
    if (HasSelection()) {
      if (active_selection_mode_ == smLine) {
        const TBufferCoord b = SelectionBegin();
        DeleteSelectionRecorded();
        PlaceCaret({1, b.Line});
      } else {
        DeleteSelectionRecorded();
      }
    }
    if (!text.empty()) {
      TBufferCoord start = mode == smLine ? TBufferCoord{1, caret_.Line} : caret_;
      if (mode == smNormal) {
        InsertAtCaretRecorded(text, ckPaste);
      } else {
        if (lines_->Count() == 0) lines_->Add("");
        start.Line = std::clamp(start.Line, 1, lines_->Count());
        const TBufferCoord end = InsertTextAtPos(start, text, mode, true);
        if (mode == smLine) undo.AddRecord(ckPaste, start, smNormal, std::string(), end);
        PlaceCaret(end);
      }
    }
  } else {
    const TSelectionMode mode = HasSelection() ? active_selection_mode_ : selection_mode_;
    if (mode == smNormal) {
      DeleteSelectionRecorded();
      SetActiveSelectionMode(smNormal);
      InsertAtCaretRecorded(text, ckPaste);
    } else {
      SetSelectedText(text);
    }
  }
  undo.AddRecord(ckPasteClose, caret_, smNormal, std::string(), caret_);
  if (options_.Contains(eoHideShowScrollbars)) {
    scrollbars_pending_ = true;
  }
  ScrollCaretIntoView();
}

// ---- drag and drop

bool TCustomEditor::DragOver(TCustomEditor& source, int x, int y, TShiftState /*shift*/) {
  if (read_only_ || !source.HasSelection() || !source.dragging_) return false;
  if (&source != this) drag_over_ = true;
  ComputeScrollDeltas(x, y);
  TDisplayCoord d = PixelsToNearestRowColumn(x, y);
  // The caret stays within the visible rows and columns.
  d.Row = std::clamp(d.Row, top_row_, std::max(top_row_, top_row_ + visible_rows_ - 1));
  d.Column =
      std::clamp(d.Column, left_column_, std::max(left_column_, left_column_ + visible_columns_));
  d.Row = std::clamp(d.Row, 1, std::max(1, DisplayRowCount()));
  BeginUpdate();
  InternalSetCaretPos(DisplayToBufferPos(d), true);
  EndUpdate();
  return true;
}

void TCustomEditor::DragLeave() {
  drag_over_ = false;
  if (scroll_timer_running_ && !dragging_) {
    if (host_) host_->StopTimer(kScrollTimerId);
    scroll_timer_running_ = false;
  }
  scroll_delta_x_ = scroll_delta_y_ = 0;
}

void TCustomEditor::CancelDrag() {
  dragging_ = false;
  waiting_for_drag_ = false;
  if (scroll_timer_running_) {
    if (host_) host_->StopTimer(kScrollTimerId);
    scroll_timer_running_ = false;
  }
  scroll_delta_x_ = scroll_delta_y_ = 0;
}

void TCustomEditor::DragDrop(TCustomEditor& source, int x, int y, TShiftState shift) {
  const bool accepted = DragOver(source, x, y, shift);
  DragLeave();
  source.CancelDrag();
  if (!accepted) return;
  const bool same = &source == this;
  const bool move = same ? !(shift & ssCtrl) : (shift & ssShift) != 0;
  TBufferCoord drop = caret_;
  const TBufferCoord b = source.SelectionBegin(), e = source.SelectionFinish();
  if (same) {
    const bool inside = (b < drop && drop < e) || (move && (drop == b || drop == e));
    if (inside) {
      SelectRange(sel_anchor_, sel_end_, caret_);
      return;
    }
  }
  // Text dragged from a document of another character set arrives in this one's.
  const bool source_utf8 = source.CharSet() && source.CharSet()->UnicodeText();
  const std::string text =
      same ? source.SelectedText() : DocumentText(source.SelectedText(), source_utf8);
  BeginUpdate();
  {
    TEditorUndoBlockScope group(UndoList());
    if (move) {
      if (same) {
        DeleteSelectionRecorded();
        if (e < drop || e == drop) {
          if (drop.Line == e.Line)
            drop = {b.Char + (drop.Char - e.Char), b.Line};
          else
            drop.Line -= e.Line - b.Line;
        }
      } else if (!source.read_only_) {
        source.BeginUpdate();
        {
          TEditorUndoBlockScope source_group(source.UndoList());
          source.DeleteSelectionRecorded();
        }
        source.EndUpdate();
      }
    }
    const bool past = options_.Contains(eoScrollPastEol);
    options_ += TEditorOptions{eoScrollPastEol};
    PlaceCaret(drop);
    const TBufferCoord start{std::min(caret_.Char, LineLength(caret_.Line) + 1), caret_.Line};
    InsertAtCaretRecorded(text, same ? ckDropInsert : ckInsert);
    SelectRange(start, caret_, caret_);
    if (!past) options_ -= TEditorOptions{eoScrollPastEol};
  }
  EndUpdate();
}
