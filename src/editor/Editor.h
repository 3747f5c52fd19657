#pragma once
// The text-editing control as a portable object. It owns its line buffer, key
// bindings, gutter and marks, and talks to the window that shows it through
// IEditorHost; the window forwards keys, characters, mouse, wheel, scroll,
// focus, size, paint and timer events to the entry points below.
#include <algorithm>
#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "editor/EditorKbdHandler.h"
#include "editor/EditorKeyCmds.h"
#include "editor/EditorMiscClasses.h"
#include "editor/EditorRangeMarks.h"
#include "editor/EditorTextBuffer.h"
#include "editor/EditorTypes.h"
#include "editor/EditorUndoHistory.h"
#include "editor/TextDrawer.h"
#include "platform/Canvas.h"
#include "platform/EditorHost.h"
#include "platform/Exception.h"
#include "platform/Types.h"
#include "search/SearchOptions.h"

class ICodePage;
class IClipboard;
class TCustomHighlighter;
class THighlighterAttributes;
class TCustomEditor;
class TEditorSearchCustom;

// Errors of the editor itself ("Clipboard copy operation failed", ...).
class EEditorError : public Exception {
 public:
  using Exception::Exception;
};

// A component's view of every command: before (after_processing false) and
// after the editor runs it. Setting handled cancels the command.
struct THookedCommandHandler {
  void (*code)(void* object, TCustomEditor& sender, bool after_processing, bool& handled,
               TEditorCommand& command, char& achar, void* data, void* handler_data) = nullptr;
  void* object = nullptr;
  friend bool operator==(const THookedCommandHandler&, const THookedCommandHandler&) = default;
};

// Events. Every event receives the editor that raised it first.
using TEditorNotifyEvent = std::function<void(TCustomEditor& sender)>;
using TStatusChangeEvent = std::function<void(TCustomEditor& sender, TStatusChanges changes)>;
using TProcessCommandEvent =
    std::function<void(TCustomEditor& sender, TEditorCommand& command, char& achar, void* data)>;
using TContextHelpEvent = std::function<void(TCustomEditor& sender, const std::string& word)>;
using TPlaceMarkEvent = std::function<void(TCustomEditor& sender, TEditorMark*& mark)>;
using TEditorKeyEvent =
    std::function<void(TCustomEditor& sender, std::uint16_t& key, TShiftState shift)>;
using TEditorKeyPressEvent = std::function<void(TCustomEditor& sender, char& key)>;
using TEditorMouseEvent = std::function<void(TCustomEditor& sender, TMouseButton button,
                                             TShiftState shift, int x, int y)>;
using TScrollEvent = std::function<void(TCustomEditor& sender, TScrollBarKind kind)>;
// Asked before each replacement of a prompted replace. line and column
// (1-based) are where the occurrence starts; action arrives as raCancel.
using TReplaceTextEvent =
    std::function<void(TCustomEditor& sender, const std::string& search, const std::string& replace,
                       int line, int column, TReplaceAction& action)>;
using TPaintEvent = std::function<void(TCustomEditor& sender, ICanvas& canvas)>;
using TPaintTransientEvent =
    std::function<void(TCustomEditor& sender, ICanvas* canvas, TTransientType kind)>;
using TSpecialLineColorsEvent =
    std::function<void(TCustomEditor& sender, int line, bool& special, TColor& fg, TColor& bg)>;
using TGutterGetTextEvent = std::function<void(TCustomEditor& sender, int line, std::string& text)>;
using TGutterPaintEvent = std::function<void(TCustomEditor& sender, int line, int x, int y)>;
using TGutterClickEvent = std::function<void(TCustomEditor& sender, TMouseButton button, int x,
                                             int y, int line, TEditorMark* mark)>;
using TMouseCursorEvent =
    std::function<void(TCustomEditor& sender, const TBufferCoord& position, int& cursor)>;

class TCustomEditor {
 public:
  // The id of the auto-scroll timer the editor starts through its host.
  static constexpr int kScrollTimerId = 1;
  static constexpr int kScrollTimerInterval = 100;

  TCustomEditor();
  virtual ~TCustomEditor();
  TCustomEditor(const TCustomEditor&) = delete;
  TCustomEditor& operator=(const TCustomEditor&) = delete;

  // ---- the window that shows the editor (not owned; nullptr detaches)
  void SetHost(IEditorHost* host);
  IEditorHost* Host() const { return host_; }
  // The ANSI code page of ANSI documents (not owned); double-byte characters
  // are kept whole when it has them. Unicode documents are read as UTF-8.
  void SetCodePage(const ICodePage* code_page) { lines_->SetAnsiCodePage(code_page); }
  // The character set of the text: UTF-8 for a Unicode document, else the ANSI
  // code page (nullptr when none was given: one byte per character).
  const ICodePage* CharSet() const { return lines_->CodePage(); }
  // Text from elsewhere (a data file, the clipboard) in this document's
  // character set: `text` is UTF-8 when utf8, else in the ANSI code page.
  // Characters an ANSI document cannot hold become '?', counted in *lost.
  std::string DocumentText(std::string_view text, bool utf8, std::size_t* lost = nullptr) const;
  // Text of this document as UTF-8.
  std::string Utf8Text(std::string_view text) const;
  // UTF-8 text in the document's character set, asking OnCannotStore when an
  // ANSI document cannot hold it; false when nothing is to be inserted.
  bool TextForDocument(std::string_view utf8, std::string& out);
  // Changes how the document is saved. Between ANSI and Unicode the text is
  // converted. The change is one step of the undo history: Undo gives back
  // the encoding and the bytes the document had, and the steps before it are
  // undone in them. A conversion to ANSI that would lose characters changes
  // nothing: false, with their number in *lost.
  bool ConvertEncoding(TTextEncoding encoding, std::size_t* lost = nullptr);
  // The document's encoding changed: by ConvertEncoding, or by undoing or
  // redoing a conversion.
  TEditorNotifyEvent OnEncodingChange;
  // Asked when typed or pasted text holds a character (given as UTF-8) that an
  // ANSI document cannot hold; true when the handler converted the document
  // so that the text can go in. Without a handler nothing is inserted.
  std::function<bool(TCustomEditor& sender, const std::string& character)> OnCannotStore;

  // ---- text
  TEditorStringList& Lines() { return *lines_; }
  const TEditorStringList& Lines() const { return *lines_; }
  // All lines joined with CR LF.
  std::string Text() const { return lines_->GetText(); }
  // Replaces the whole text (CR LF, LF or CR separate lines); caret to (1, 1).
  void SetText(std::string_view text);
  // Removes the text, all bookmarks, the undo and redo history; not modified.
  void ClearAll();
  int LineCount() const { return lines_->Count(); }
  // The line's text; empty for a line that does not exist.
  std::string LineText(int line) const { return lines_->GetLine(line - 1); }

  // ---- caret
  int CaretChar() const { return caret_.Char; }
  int CaretLine() const { return caret_.Line; }
  int CaretX() const { return caret_.Char; }
  int CaretY() const { return caret_.Line; }
  TBufferCoord CaretPos() const { return caret_; }
  // Moves the caret (clamped), collapses the selection there and scrolls it into view.
  void SetCaretPos(TBufferCoord value);
  void SetCaretChar(int value) { SetCaretPos({value, caret_.Line}); }
  void SetCaretLine(int value) { SetCaretPos({caret_.Char, value}); }
  TDisplayCoord CaretDisplayPos() const { return BufferToDisplayPos(caret_); }

  // ---- selection
  TBufferCoord SelectionAnchor() const { return sel_anchor_; }
  TBufferCoord SelectionEnd() const { return sel_end_; }
  // Collapses the selection to the (clamped) point.
  void SetSelectionAnchor(TBufferCoord value);
  // Moves the moving end (clamped); ignored with eoNoSelection.
  void SetSelectionEnd(TBufferCoord value);
  bool HasSelection() const;
  bool SelAvail() const { return HasSelection(); }
  // The earlier and the later end.
  TBufferCoord SelectionBegin() const;
  TBufferCoord SelectionFinish() const;
  TSelectionMode SelectionMode() const { return selection_mode_; }
  void SetSelectionMode(TSelectionMode value);
  TSelectionMode ActiveSelectionMode() const { return active_selection_mode_; }
  void SetActiveSelectionMode(TSelectionMode value);
  // The selected text in the active mode.
  std::string SelectedText() const;
  void SelectWordAt(TBufferCoord position);
  void SelectAllText();
  // Character offsets into the whole text, each line break counting two.
  int SelectionStartIndex() const;
  int SelectionEndIndex() const;
  void SetSelectionStartIndex(int offset);
  void SetSelectionEndIndex(int offset);
  int SelStart() const { return SelectionStartIndex(); }
  void SetSelStart(int offset) { SetSelectionStartIndex(offset); }
  int SelLength() const { return SelectionEndIndex() - SelectionStartIndex(); }
  void SetSelLength(int length) { SetSelectionEndIndex(SelectionStartIndex() + length); }
  // The buffer position of a character offset (beyond the text: column 1 of
  // the line after the last).
  TBufferCoord OffsetToPosition(int offset) const;
  int PositionToOffset(TBufferCoord position) const;

  // ---- view
  int TopRow() const { return top_row_; }
  void SetTopRow(int value);
  int LeftColumn() const { return left_column_; }
  void SetLeftColumn(int value);
  int VisibleColumns() const { return visible_columns_; }
  int VisibleRows() const { return visible_rows_; }
  int DisplayRowCount() const { return lines_->Count(); }
  int MaxScrollWidth() const { return max_scroll_width_; }
  void SetMaxScrollWidth(int value);
  // The horizontal extent used with eoScrollPastEol: MaxScrollWidth, or the
  // widest column the caret has reached on a longer line.
  int ScrollWidth() const { return std::max(max_scroll_width_, reach_width_); }
  TScrollStyle ScrollBars() const { return scroll_bars_; }
  void SetScrollBars(TScrollStyle value);
  TColor ScrollHintColor() const { return scroll_hint_color_; }
  void SetScrollHintColor(TColor value) { scroll_hint_color_ = value; }
  TScrollHintFormat ScrollHintFormat() const { return scroll_hint_format_; }
  void SetScrollHintFormat(TScrollHintFormat value) { scroll_hint_format_ = value; }
  int CellWidth() const { return cell_width_; }
  int RowHeight() const { return row_height_; }
  int ExtraLineSpacing() const { return extra_line_spacing_; }
  void SetExtraLineSpacing(int value);
  int GutterPixels() const { return gutter_pixels_; }
  int TextLeft() const { return text_left_; }
  bool WordWrap() const { return false; }

  // ---- conversions
  TDisplayCoord BufferToDisplayPos(TBufferCoord p) const;
  TBufferCoord DisplayToBufferPos(TDisplayCoord p) const;
  TDisplayCoord PixelsToRowColumn(int x, int y) const;
  // For caret placement: the nearest cell boundary, the row limited to the window.
  TDisplayCoord PixelsToNearestRowColumn(int x, int y) const;
  TPoint RowColumnToPixels(TDisplayCoord p) const;

  void ScrollCaretIntoView();
  void ScrollCaretIntoViewCentered();

  // ---- options and modes
  TEditorOptions Options() const { return options_; }
  void SetOptions(TEditorOptions value);
  int TabWidth() const { return tab_width_; }
  // Limited to 1..256.
  void SetTabWidth(int value);
  bool WantTabs() const { return want_tabs_; }
  void SetWantTabs(bool value) { want_tabs_ = value; }
  bool WantReturns() const { return want_returns_; }
  void SetWantReturns(bool value) { want_returns_ = value; }
  bool ReadOnly() const { return read_only_; }
  void SetReadOnly(bool value);
  bool InsertMode() const { return insert_mode_; }
  void SetInsertMode(bool value);
  TEditorCaretType InsertCaret() const { return insert_caret_; }
  void SetInsertCaret(TEditorCaretType value);
  TEditorCaretType OverwriteCaret() const { return overwrite_caret_; }
  void SetOverwriteCaret(TEditorCaretType value);
  bool HideSelection() const { return hide_selection_; }
  void SetHideSelection(bool value);
  // Show the caret even without the focus.
  bool AlwaysShowCaret() const { return always_show_caret_; }
  void SetAlwaysShowCaret(bool value);
  bool Modified() const { return modified_; }
  virtual void SetModified(bool value);
  virtual bool CanUndo() const { return undo_history_.UndoAvailable(); }
  virtual void ClearUndoHistory() { undo_history_.ClearUndoHistory(); }
  virtual bool CanRedo() const { return undo_history_.RedoAvailable(); }
  bool UndoAvailable() const { return CanUndo(); }
  bool Focused() const;

  // ---- editing (nothing happens while read-only)
  // Replaces the selection (or inserts at the caret) in the active selection
  // mode, recording it for undo.
  void SetSelectedText(std::string_view text);
  void Undo();
  void Redo();
  void CutToClipboard();
  void CopyToClipboard();
  void PasteFromClipboard();
  void Cut() { CutToClipboard(); }
  void Copy() { CopyToClipboard(); }
  void Paste() { PasteFromClipboard(); }
  // Removes all lines, bookmarks and history; not modified afterwards.
  void ClearAllText() { ClearAll(); }
  // Paste is possible: not read-only and the clipboard holds text.
  bool CanPaste();
  int MaxUndo() const { return undo_history_.MaxUndo(); }
  void SetMaxUndo(int value) { undo_history_.SetMaxUndo(value); }
  TEditorUndoList& UndoList() { return undo_history_.UndoList(); }
  TEditorUndoList& RedoList() { return undo_history_.RedoList(); }
  // The clipboard cut, copy and paste use (not owned; nullptr: none, and copy fails).
  void SetClipboard(IClipboard* clipboard) { clipboard_ = clipboard; }
  IClipboard* Clipboard() const { return clipboard_; }

  // ---- dragging text between editor controls. The window under the pointer
  // gets DragOver while a drag of `source`'s selection passes over it, and
  // DragDrop when the button is released there.
  bool DragActive() const { return dragging_; }
  // Whether this control would take the drop; the caret follows the pointer.
  bool DragOver(TCustomEditor& source, int x, int y, TShiftState shift);
  // The pointer left this control during a drag.
  void DragLeave();
  void DragDrop(TCustomEditor& source, int x, int y, TShiftState shift);
  // Ends the drag of this control's selection without dropping here.
  void CancelDrag();

  // ---- appearance
  const TFont& Font() const { return font_; }
  void SetFont(const TFont& value);
  void SetFontName(const std::string& name);
  void SetFontHeight(int height);
  TColor Color() const { return color_; }
  void SetColor(TColor value);
  TColor ActiveLineColor() const { return active_line_color_; }
  void SetActiveLineColor(TColor value);
  int RightEdge() const { return right_edge_; }
  void SetRightEdge(int value);
  TColor RightEdgeColor() const { return right_edge_color_; }
  void SetRightEdgeColor(TColor value);
  TGutter& Gutter() { return gutter_; }
  TSelectedColor& SelectedColor() { return selected_color_; }
  TBookMarkOpt& BookMarkOptions() { return bookmark_options_; }
  TGlyph& WordWrapGlyph() { return word_wrap_glyph_; }
  TCustomHighlighter* Highlighter() const { return highlighter_; }
  // Not owned; the editor is told when it is destroyed.
  void SetHighlighter(TCustomHighlighter* value);

  // ---- commands
  TEditorKeyStrokes& Keystrokes() { return keystrokes_; }
  void SetKeystrokes(const TEditorKeyStrokes& value) { keystrokes_.Assign(value); }
  void ProcessCommand(TEditorCommand command, char achar = 0, void* data = nullptr);
  virtual void ExecuteBuiltInCommand(TEditorCommand command, char achar, void* data);
  void RegisterCommandHandler(THookedCommandHandler handler, void* handler_data);
  void UnregisterCommandHandler(THookedCommandHandler handler);
  TEditorKbdHandler& KbdHandler() { return kbd_handler_; }
  void AddKeyDownHandler(TKeyHandler h) { kbd_handler_.AddKeyDownHandler(h); }
  void RemoveKeyDownHandler(TKeyHandler h) { kbd_handler_.RemoveKeyDownHandler(h); }
  void AddKeyUpHandler(TKeyHandler h) { kbd_handler_.AddKeyUpHandler(h); }
  void RemoveKeyUpHandler(TKeyHandler h) { kbd_handler_.RemoveKeyUpHandler(h); }
  void AddKeyPressHandler(TKeyPressHandler h) { kbd_handler_.AddKeyPressHandler(h); }
  void RemoveKeyPressHandler(TKeyPressHandler h) { kbd_handler_.RemoveKeyPressHandler(h); }
  void AddMouseDownHandler(TMouseHandler h) { kbd_handler_.AddMouseDownHandler(h); }
  void RemoveMouseDownHandler(TMouseHandler h) { kbd_handler_.RemoveMouseDownHandler(h); }
  void AddMouseUpHandler(TMouseHandler h) { kbd_handler_.AddMouseUpHandler(h); }
  void RemoveMouseUpHandler(TMouseHandler h) { kbd_handler_.RemoveMouseUpHandler(h); }
  void AddMouseWheelHandler(TMouseWheelHandler h) { kbd_handler_.AddMouseWheelHandler(h); }
  void RemoveMouseWheelHandler(TMouseWheelHandler h) { kbd_handler_.RemoveMouseWheelHandler(h); }
  void AddMouseCursorHandler(TMouseCursorHandler h) { kbd_handler_.AddMouseCursorHandler(h); }
  void RemoveMouseCursorHandler(TMouseCursorHandler h) { kbd_handler_.RemoveMouseCursorHandler(h); }

  // ---- words
  bool IsWordChar(unsigned char c) const;
  TBufferCoord NextWordPos(TBufferCoord from) const;
  TBufferCoord PrevWordPos(TBufferCoord from) const;
  TBufferCoord WordStart(TBufferCoord at) const;
  TBufferCoord WordEnd(TBufferCoord at) const;
  // The word around a position ("" when there is none).
  std::string WordAt(TBufferCoord at) const;
  std::string WordAtCaret() const { return WordAt(caret_); }

  // ---- search and replace (the engine is not owned)
  TEditorSearchCustom* SearchEngine() const { return search_engine_; }
  void SetSearchEngine(TEditorSearchCustom* value) { search_engine_ = value; }
  // Finds, and with ReplaceOne / ReplaceAll replaces, occurrences of search in
  // the range the options give; selects each one found. Returns how many
  // occurrences inside the range were found (skipped and cancelled ones
  // included); 0 when none was.
  int SearchAndReplace(const std::string& search, const std::string& replace,
                       TSearchOptionSet options);

  // ---- bookmarks and marks
  const std::vector<std::unique_ptr<TEditorMark>>& Marks() const { return marks_; }
  // Bookmark n (0..9), or nullptr.
  TEditorMark* BookMark(int number) const;
  bool GetBookMark(int number, int& x, int& y) const;
  bool IsBookmark(int number) const { return BookMark(number) != nullptr; }
  void SetBookMark(int number, int x, int y);
  void ClearBookMark(int number);
  void GotoBookMark(int number);
  // Adds a mark that is not a bookmark (owned by the editor).
  TEditorMark* AddMark(int line, int image_index);
  void ClearMarks();

  // ---- range marks: a wavy underline under each range and a dot in a
  // column of the gutter, asked of `marks` line by line while painting (not
  // owned; nullptr: none). The owner repaints when it changes them.
  void SetRangeMarks(const IEditorRangeMarks* marks);
  const IEditorRangeMarks* RangeMarks() const { return range_marks_; }
  // The colour of each kind of mark, kind 0 first; red for a kind without one.
  void SetRangeMarkColors(std::vector<TColor> colors);
  TColor RangeMarkColor(int kind) const;

  // The dpi the window lays the editor out for. The gutter's border, the
  // margin before the text, the mark column and the underlines are given at
  // 96 dpi and grow with it.
  void SetDpi(int dpi);
  int Dpi() const { return dpi_; }
  // A length given at 96 dpi, in pixels at the editor's dpi.
  int Scaled(int pixels) const { return (pixels * dpi_ + 48) / 96; }
  // The margin between the gutter and the text.
  int TextMargin() const { return text_margin_; }

  // ---- paint lock: compound operations hold it so that caret, scroll-bar and
  // status updates happen once, when it is released
  void BeginUpdate();
  void EndUpdate();
  int PaintLock() const { return paint_lock_; }

  // ---- invalidation (line numbers are 1-based; -1, -1 means all)
  void Invalidate();
  void InvalidateLines(int first, int last);
  void InvalidateGutterLines(int first, int last);
  void InvalidateLine(int line);
  void InvalidateSelection();

  // ---- entry points for the window
  virtual void KeyDown(std::uint16_t& key, TShiftState shift);
  virtual void KeyUp(std::uint16_t& key, TShiftState shift);
  virtual void KeyPress(char& key);
  // A typed character as UTF-16 (one unit, or a surrogate pair), put into the
  // document's character set; a one-byte character goes through KeyPress.
  void TypeText(std::u16string_view text);
  // The finished string of an input method, as UTF-16.
  void InsertInputText(std::u16string_view text);
  virtual void MouseDown(TMouseButton button, TShiftState shift, int x, int y);
  virtual void MouseMove(TShiftState shift, int x, int y);
  virtual void MouseUp(TMouseButton button, TShiftState shift, int x, int y);
  virtual void DoubleClick();
  // delta in wheel units (120 a notch, positive away from the user).
  void MouseWheel(int delta, TShiftState shift);
  void Scroll(TScrollBarKind kind, TScrollCode code, int thumb_position);
  void TimerTick(int id);
  // The cursor to show over a client point: the gutter's over the gutter, an
  // I-beam over the text; OnMouseCursor and the mouse-cursor chain may change it.
  int CursorAt(int x, int y);
  // The client area changed size.
  void Resize();
  void FocusGained();
  void FocusLost();
  // Paints the part of the client area inside `rect`.
  void Paint(ICanvas& canvas, const TRect& rect);
  // The row in which the mouse currently scrolls (tests).
  int ScrollDeltaX() const { return scroll_delta_x_; }
  int ScrollDeltaY() const { return scroll_delta_y_; }

  // ---- events
  TEditorNotifyEvent OnChange;
  TStatusChangeEvent OnStatusChange;
  TProcessCommandEvent OnProcessCommand;
  TProcessCommandEvent OnProcessUserCommand;
  TProcessCommandEvent OnCommandProcessed;
  TContextHelpEvent OnContextHelp;
  TPlaceMarkEvent OnPlaceBookmark;
  TPlaceMarkEvent OnClearBookmark;
  TEditorKeyEvent OnKeyDown;
  TEditorKeyEvent OnKeyUp;
  TEditorKeyPressEvent OnKeyPress;
  TEditorMouseEvent OnMouseDown;
  TEditorMouseEvent OnMouseUp;
  TScrollEvent OnScroll;
  TPaintEvent OnPaint;
  TPaintTransientEvent OnPaintTransient;
  TSpecialLineColorsEvent OnSpecialLineColors;
  TGutterGetTextEvent OnGutterGetText;
  TGutterPaintEvent OnGutterPaint;
  TGutterClickEvent OnGutterClick;
  TMouseCursorEvent OnMouseCursor;
  TReplaceTextEvent OnReplaceText;

 protected:
  // Raises the status change (at once, or when the paint lock is released).
  void StatusChanged(TStatusChanges changes);
  // Every caret change goes through here.
  void InternalSetCaretPos(TBufferCoord value, bool scroll_into_view);
  // Movement commands: selecting or not.
  void MoveCaretAndSelection(TBufferCoord before, TBufferCoord after, bool select);
  void MoveCaretHorz(int delta, bool select);
  void MoveCaretVert(int delta, bool select);
  // Called before a movement command moves the caret (undo groups hook in here).
  virtual void BeforeCaretMove() { undo_history_.CaretMoved(); }
  // A drag of the selection started.
  virtual void StartDragDrop() {}
  // Commands that change text; they are not run while read-only.
  virtual void ExecuteEditingCommand(TEditorCommand command, char achar, void* data);
  void UpdateScrollBars();
  void UpdateCaret();
  void InitializeCaret();
  void DoPaintTransient(TTransientType kind);
  // The background of a line without special colours.
  TColor LineBackground(int line) const;
  TColor DefaultBackground() const;
  // Rescans the highlighter's line states from a 0-based index; lines before
  // `must_reach` are always scanned. Returns the last index whose state was
  // stored (-1 for none).
  int ScanRanges(int from_index, int must_reach);
  // Walks the characters of a line as the display sees them; NUL ends tab expansion.
  int LineLength(int line) const;
  // Display to buffer; a column on the second cell of a wide character moves
  // to the end of it (trail_step +1) or to its start (-1).
  TBufferCoord DisplayToBufferStep(TDisplayCoord p, int trail_step) const;
  // Whether the byte at 0-based char_index is inside a character of the line
  // rather than at its start.
  bool IsTrailByte(std::string_view s, int char_index) const;
  // 1-based positions stepped over whole characters: after the character at
  // ch, and the start of the one before ch (one step per byte beyond the end).
  int NextCharPos(std::string_view s, int ch) const;
  int PrevCharPos(std::string_view s, int ch) const;

 private:
  friend class TEditorPainter;
  friend class TEditorUndoAdapter;

  // ---- text primitives of the editing operations (1-based lines). None of
  // them records undo; marks follow inserted and deleted lines.
  std::string LineStr(int line) const { return lines_->GetLine(line - 1); }
  // Replaces a line (appending lines up to it when needed); trailing blanks
  // go with eoTrimTrailingSpaces.
  void PutLine(int line, std::string_view text);
  // Puts the document into the encoding and line bytes of a packed
  // TEncodingChange, the caret and selection keeping their cells; returns the
  // change that puts it back.
  std::string SwapEncoding(std::string_view change);
  // The ANSI code page and the character set of the text, one byte per
  // character standing in for a code page that was not given.
  const ICodePage& AnsiCharSet() const;
  const ICodePage& TextCharSet() const;
  void InsertLinesAt(int line, const std::vector<std::string_view>& texts);
  void RemoveLines(int line, int count);
  void MarksLinesInserted(int line, int count);
  void MarksLinesDeleted(int after_line, int count);
  // Removes the text between two positions as a selection of that mode covers
  // it; returns it as SelectedText would.
  std::string RemoveRange(TBufferCoord a, TBufferCoord b, TSelectionMode mode);
  // The text between two positions in a mode, as SelectedText gives it.
  std::string RangeText(TBufferCoord a, TBufferCoord b, TSelectionMode mode) const;
  // Inserts text at a position; returns the position after it. Column pieces
  // are recorded (paste, and line break for appended lines) when `record`.
  TBufferCoord InsertTextAtPos(TBufferCoord at, std::string_view text, TSelectionMode mode,
                               bool record);
  TBufferCoord InsertColumn(TBufferCoord at, std::string_view text, bool record,
                            bool pad_empty_pieces);
  // The caret set without a separator and with the selection collapsed.
  void PlaceCaret(TBufferCoord p);
  void SelectRange(TBufferCoord anchor, TBufferCoord end, TBufferCoord caret);
  // Selects one occurrence found by SearchAndReplace and scrolls it into view;
  // the caret goes to its start when backwards, else to its end.
  void SelectFoundText(int line, int column, int length, bool backwards);
  // Records and removes the selection (no block).
  void DeleteSelectionRecorded();
  // Inserts plain text at the caret in normal mode, padding a caret beyond the
  // end of the line; records an insertion covering padding and text.
  void InsertAtCaretRecorded(std::string_view text, TChangeReason reason = ckInsert);
  // Pads the caret's line with spaces up to the caret, recorded as an insertion.
  void PadToCaretRecorded();
  void RemoveRecorded(TBufferCoord a, TBufferCoord b, TChangeReason reason, TBufferCoord caret);

  void DoChar(char c);
  void DoImeString(const char* s);
  // The deletion of one character deletes the selection instead when there
  // is one; true when that, or a text without lines, leaves nothing to do.
  bool DeleteSelectionFirst();
  void DoDeleteChar();
  void DoDeleteLastChar();
  void DoDeleteWord();
  void DoDeleteLastWord();
  void DoDeleteBOL();
  void DoDeleteEOL();
  void DoDeleteLine();
  void DoLineBreak(bool move_caret);
  void DoTab();
  void DoShiftTab();
  void DoBlockIndent();
  void DoBlockUnindent();
  bool TabIndentsBlock() const;
  void DoCaseWord(TEditorCommand command);
  void DoCaseBlock(TEditorCommand command);
  std::string ConvertCase(std::string text, TEditorCommand command) const;
  int LeadingIndent(std::string_view s, bool tabs_count_width) const;
  int SmartTabDistance() const;
  void DoPaste();
  void DoCopy();

  // reactions to the line buffer
  void LinesUpdateStarted();
  void LinesUpdateEnded();
  void LinesInserted(int index, int count);
  void LinesDeleted(int index, int count);
  void LinesReplaced(int index, int count);
  void LinesCleared();

  void HighlighterChanged(THighlighterAttributes* attribute);
  void RecalcCellMetrics();
  void RecalcGutter();
  void RecalcVisibleSize();
  void SizeOrFontChanged();
  int PageSize() const;
  int MaxTopRow() const;
  int MaxLeftColumn() const;
  void ApplyScrollBar(THostScrollBar bar, int range, int page, int pos, int min_for_unscaled);
  void InvalidateRect(const TRect& rect);
  void ScrollText(int dx, int dy);
  void ComputeScrollDeltas(int x, int y);
  bool IsPointInSelection(TBufferCoord p) const;
  void ShowScrollHint();
  // Scrolls sideways just enough to show a display column.
  void ScrollColumnIntoView(int column);
  void ToggleBookmark(int number, TBufferCoord at);
  void PlaceBookmark(int number, TBufferCoord at);
  void RemoveBookmark(int number);
  void DoMatchBracket();
  void DoScrollLines(int delta);
  void DoMouseSelect(TDisplayCoord target);
  void DoGutterClick(TMouseButton button, int x, int y);
  void DoSmartHome(bool select);
  void DoSmartEnd(bool select);
  void SetCaretVisible(bool visible);
  bool CaretShouldShow() const;

  IEditorHost* host_ = nullptr;
  std::unique_ptr<TEditorStringList> lines_;
  TTextDrawer drawer_;
  TCustomHighlighter* highlighter_ = nullptr;

  // caret and selection
  TBufferCoord caret_;
  int last_caret_column_ = 1;
  TBufferCoord sel_anchor_;
  TBufferCoord sel_end_;
  TSelectionMode selection_mode_ = smNormal;
  TSelectionMode active_selection_mode_ = smNormal;

  // view
  int top_row_ = 1;
  int left_column_ = 1;
  int visible_columns_ = 0;
  int visible_rows_ = 0;
  int max_scroll_width_ = 1024;
  int reach_width_ = 0;
  int cell_width_ = 8;
  int row_height_ = 16;
  int extra_line_spacing_ = 0;
  int gutter_pixels_ = 0;
  int gutter_advance_ = 0;
  int text_left_ = 2;
  int dpi_ = 96;
  int gutter_border_ = 2;  // the gutter's two border columns
  int text_margin_ = 2;    // between the gutter and the text
  int mark_column_ = 0;    // the gutter's column of range-mark dots
  int client_width_ = 0;
  int client_height_ = 0;
  TScrollStyle scroll_bars_ = ssBoth;
  TColor scroll_hint_color_ = SystemColor(24);  // info-tip background
  TScrollHintFormat scroll_hint_format_ = shfTopLineOnly;

  // options and modes
  TEditorOptions options_ = kDefaultEditorOptions;
  int tab_width_ = 8;
  bool want_tabs_ = true;
  bool want_returns_ = true;
  bool read_only_ = false;
  bool insert_mode_ = true;
  TEditorCaretType insert_caret_ = ctVerticalLine;
  TEditorCaretType overwrite_caret_ = ctBlock;
  bool hide_selection_ = false;
  bool always_show_caret_ = false;
  bool modified_ = false;

  // appearance
  TFont font_;
  TColor color_ = clWindow;
  TColor active_line_color_ = clNone;
  int right_edge_ = 80;
  TColor right_edge_color_ = clSilver;
  TGutter gutter_;
  TSelectedColor selected_color_;
  TBookMarkOpt bookmark_options_;
  TGlyph word_wrap_glyph_;
  TInternalImage internal_images_;

  // commands
  TEditorKeyStrokes keystrokes_;
  TEditorKbdHandler kbd_handler_;
  struct HookedEntry {
    THookedCommandHandler handler;
    void* data;
  };
  std::unique_ptr<std::vector<HookedEntry>> hooked_handlers_;
  std::uint16_t last_key_ = 0;
  TShiftState last_shift_ = 0;
  bool ignore_next_char_ = false;
  int ime_chars_pending_ = 0;

  // marks
  std::vector<std::unique_ptr<TEditorMark>> marks_;
  const IEditorRangeMarks* range_marks_ = nullptr;
  std::vector<TColor> range_mark_colors_;

  // paint lock and deferred work
  int paint_lock_ = 0;
  TStatusChanges status_changes_;
  bool scrollbars_pending_ = false;
  bool caret_pending_ = false;
  bool lines_changing_ = false;
  bool have_invalid_rect_ = false;
  TRect invalid_rect_{};
  // The character offset of the start of a line, kept so that offsets near
  // the last one asked for need no walk from the top.
  mutable int offset_line_ = 0;
  mutable long long offset_start_ = 0;
  void ResetOffsetCache() const {
    offset_line_ = 0;
    offset_start_ = 0;
  }

  // system caret
  bool caret_created_ = false;
  bool caret_shown_ = false;
  int caret_offset_x_ = 0;
  int caret_offset_y_ = 0;

  // undo, clipboard and search
  TEditorUndoHistory undo_history_;
  TEditorSearchCustom* search_engine_ = nullptr;
  IClipboard* clipboard_ = nullptr;
  bool drag_over_ = false;

  // mouse
  bool mouse_down_in_selection_ = false;
  bool waiting_for_drag_ = false;
  bool dragging_ = false;
  bool double_clicked_ = false;
  bool gutter_click_pending_ = false;
  bool thumb_tracking_ = false;
  TPoint mouse_down_point_{};
  TPoint mouse_point_{};
  TShiftState mouse_shift_ = 0;
  int scroll_delta_x_ = 0;
  int scroll_delta_y_ = 0;
  int wheel_accumulator_ = 0;
  bool scroll_timer_running_ = false;
};

// Shown while the vertical scroll thumb is dragged.
std::string FormatScrollHint(TScrollHintFormat format, int top_line, int bottom_line);
