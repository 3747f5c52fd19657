#pragma once
// The completion proposal: a small list under the caret that offers macro
// commands to insert. It opens on its shortcut (Ctrl+Space) or a moment after
// a trigger character, narrows while the user types, and inserts the chosen
// entry on Tab, Enter, a double click or an end-of-token character.
//
// The editor keeps the keyboard focus while the list is shown: the proposal
// hooks into the editor's key-down and key-press chains and takes the keys
// there. The window that shows the list is reached through
// ICompletionPopupHost, so everything here runs natively in tests.
#include <bitset>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "app/DpiScale.h"
#include "app/PrettyText.h"
#include "editor/Editor.h"
#include "editor/EditorKeyCmds.h"
#include "editor/EditorTypes.h"
#include "platform/Canvas.h"
#include "platform/EditorHost.h"
#include "platform/Types.h"

enum TCompletionType : std::uint8_t { ctCode = 0, ctHint = 1, ctParams = 2 };

enum TCompletionOption : int {
  scoAnsiStrings = 0,
  scoCaseSensitive = 1,
  scoLimitToMatchedText = 2,
  scoTitleIsCentered = 3,
  scoUseInsertList = 4,
  scoUsePrettyText = 5,
  scoUseBuiltInTimer = 6,
  scoEndCharCompletion = 7,
  scoConsiderWordBreakChars = 8,
  scoCompleteWithTab = 9,
  scoCompleteWithEnter = 10
};
using TCompletionOptions = TEnumSet<TCompletionOption, std::uint16_t>;

// A new component's options (stored value 1668).
constexpr TCompletionOptions kDefaultCompletionOptions = {
    scoLimitToMatchedText, scoEndCharCompletion, scoCompleteWithTab, scoCompleteWithEnter};
// The options this program gives the main editor's proposal (stored value 1780).
constexpr TCompletionOptions kProgramCompletionOptions = {
    scoLimitToMatchedText, scoUseInsertList,   scoUsePrettyText,    scoUseBuiltInTimer,
    scoEndCharCompletion,  scoCompleteWithTab, scoCompleteWithEnter};

class TBaseCompletionProposal;
class TCompletionProposal;

// The window that shows the list, as the proposal needs it. Coordinates given
// to ShowPopup and returned by PopupBounds are screen pixels of the whole
// window, frame included.
class ICompletionPopupHost {
 public:
  virtual ~ICompletionPopupHost() = default;
  // Shows the window at `bounds`, on top, without taking the focus.
  virtual void ShowPopup(const TRect& bounds) = 0;
  virtual void HidePopup() = 0;
  virtual bool PopupVisible() = 0;
  virtual TRect PopupBounds() = 0;
  virtual void InvalidatePopup() = 0;
  virtual void SetPopupScrollBar(const TScrollBarInfo& info) = 0;
  // Thickness of the sizing frame on one side.
  virtual int FrameThickness() = 0;
  // The part of the screen the list stays on when it opens at a point: the
  // work area of the monitor there, in screen pixels (a monitor left of or
  // above the main one has negative ones).
  virtual TRect ScreenArea(TPoint at) = 0;
  // Height of a line of text ("CompletionProposal") in the font, made for
  // the window's dpi.
  virtual int TextHeight(const TFont& font) = 0;
  // The dots per inch the list is drawn for: its width, margin and fonts are
  // given at 96 dpi and scaled to it.
  virtual int Dpi() = 0;
  // Lines to move per wheel notch.
  virtual int WheelScrollLines() = 0;
  // An editor client point in screen pixels.
  virtual TPoint EditorToScreen(TCustomEditor& editor, TPoint client) = 0;
  // The delay timer after a trigger character; its expiry calls
  // TCompletionProposal::TimerExpired.
  virtual void StartTimer(int milliseconds) = 0;
  virtual void StopTimer() = 0;
  // The program is the active application.
  virtual bool ApplicationActive() = 0;
};

// The popup's state and behaviour: the lists, the filter, the selection,
// keys, mouse and painting. Owned by the component.
class TBaseCompletionProposalForm {
 public:
  explicit TBaseCompletionProposalForm(TBaseCompletionProposal& owner) : owner_(owner) {}

  std::vector<std::string>& ItemList() { return item_list_; }
  std::vector<std::string>& InsertList() { return insert_list_; }
  // Item-list index of each shown entry.
  const std::vector<int>& AssignedList() const { return assigned_list_; }
  int ShownCount() const { return static_cast<int>(assigned_list_.size()); }
  // Insert text of the shown entry (with the insert list) or its display text.
  std::string ShownText(int shown_index) const;

  const std::string& CurrentString() const { return current_string_; }
  void SetCurrentString(const std::string& value);
  int Position() const { return position_; }
  void SetPosition(int value);
  void MoveLine(int delta);
  int TopIndex() const { return top_; }
  int LinesInWindow() const { return lines_in_window_; }
  void SetLinesInWindow(int value) { lines_in_window_ = value < 1 ? 1 : value; }
  int ItemHeight();
  int TitleHeight();
  // A length of the 96-dpi design at the host's dpi.
  int Scaled(int pixels) const;

  TCustomEditor* CurrentEditor() const { return editor_; }
  void SetCurrentEditor(TCustomEditor* editor) { editor_ = editor; }
  std::bitset<256>& WordBreakChars() { return word_break_; }
  bool IsWordBreakChar(char c) const { return word_break_[static_cast<unsigned char>(c)]; }

  // Shows every entry again.
  void ResetAssignedList();
  // Recomputes the scroll bar from the shown count and lines in window.
  void UpdateScrollBar();

  // Keys and characters while shown.
  void KeyDown(std::uint16_t key, TShiftState shift);
  // The list acts on the key itself, so the character it types is not for it.
  bool TakesKey(std::uint16_t key, TShiftState shift) const;
  void KeyPress(char key);
  // Mouse on the popup's client area.
  void MouseDown(int x, int y);
  void DoubleClick();
  // delta in wheel units (120 a notch, positive away from the user).
  void MouseWheel(int delta, TShiftState shift);
  // The scroll bar moved the first visible row.
  void Scrolled(int new_top);
  // The height a user resize should snap to, and the rows after it.
  int SnapHeight(int proposed_window_height);
  void Resized(int client_height);

  // Paints the list into `area` (the client area without the scroll bar).
  void Paint(ICanvas& canvas, IPrettyCanvas& text, const TRect& area);

 private:
  bool Matches(int item_index, const std::string& s) const;
  void Repaint();
  void Changed();
  void BackspaceLike(TEditorCommand command);

  TBaseCompletionProposal& owner_;
  std::vector<std::string> item_list_;
  std::vector<std::string> insert_list_;
  std::vector<int> assigned_list_;
  std::string current_string_;
  int position_ = 0;
  int top_ = 0;
  int lines_in_window_ = 8;
  std::bitset<256> word_break_;
  TCustomEditor* editor_ = nullptr;
  int wheel_accumulator_ = 0;
};

using TCompletionExecuteEvent =
    std::function<void(TCompletionType kind, TBaseCompletionProposal& sender, std::string& input,
                       int& x, int& y, bool& can_execute)>;
using TCompletionChangeEvent = std::function<void(TBaseCompletionProposal& sender, int index)>;
using TCompletionNotifyEvent = std::function<void(TBaseCompletionProposal& sender)>;

class TBaseCompletionProposal {
 public:
  TBaseCompletionProposal();
  virtual ~TBaseCompletionProposal();
  TBaseCompletionProposal(const TBaseCompletionProposal&) = delete;
  TBaseCompletionProposal& operator=(const TBaseCompletionProposal&) = delete;

  // The window that shows the list (not owned; nullptr: none, nothing shows).
  void SetPopupHost(ICompletionPopupHost* host) { host_ = host; }
  ICompletionPopupHost* PopupHost() const { return host_; }
  TBaseCompletionProposalForm& Form() { return form_; }

  TCompletionType DefaultType() const { return default_type_; }
  void SetDefaultType(TCompletionType value) { default_type_ = value; }
  TCompletionOptions Options() const { return options_; }
  virtual void SetOptions(TCompletionOptions value) { options_ = value; }
  std::vector<std::string>& ItemList() { return form_.ItemList(); }
  void SetItemList(std::vector<std::string> value) { form_.ItemList() = std::move(value); }
  std::vector<std::string>& InsertList() { return form_.InsertList(); }
  void SetInsertList(std::vector<std::string> value) { form_.InsertList() = std::move(value); }
  // Whether the item texts are UTF-8 (else in the ANSI code page); they are
  // put into the editor in its document's character set.
  bool ItemsUnicode() const { return items_unicode_; }
  void SetItemsUnicode(bool value) { items_unicode_ = value; }
  int NbLinesInWindow() const { return nb_lines_in_window_; }
  void SetNbLinesInWindow(int value);
  // At 96 dpi, as stored; the window is this wide scaled to its dpi.
  int Width() const { return width_; }
  void SetWidth(int value) { width_ = value; }
  const std::string& EndOfTokenChr() const { return end_of_token_chr_; }
  void SetEndOfTokenChr(const std::string& value) { end_of_token_chr_ = value; }
  const TFont& Font() const { return font_; }
  void SetFont(const TFont& value) { font_ = value; }
  const TFont& TitleFont() const { return title_font_; }
  void SetTitleFont(const TFont& value) { title_font_ = value; }
  const std::string& Title() const { return title_; }
  void SetTitle(const std::string& value) { title_ = value; }
  TColor ClSelect() const { return cl_select_; }
  void SetClSelect(TColor value) { cl_select_ = value; }
  TColor ClSelectedText() const { return cl_selected_text_; }
  void SetClSelectedText(TColor value) { cl_selected_text_ = value; }
  TColor ClBackground() const { return cl_background_; }
  void SetClBackground(TColor value) { cl_background_ = value; }
  TColor ClTitleBackground() const { return cl_title_background_; }
  void SetClTitleBackground(TColor value) { cl_title_background_ = value; }
  TProposalColumns& Columns() { return columns_; }
  bool Resizeable() const { return resizeable_; }
  void SetResizeable(bool value) { resizeable_ = value; }
  int ItemHeight() const { return item_height_; }
  void SetItemHeight(int value) { item_height_ = value; }
  IPrettyImages* Images() const { return images_; }
  void SetImages(IPrettyImages* value) { images_ = value; }
  int Margin() const { return margin_; }
  void SetMargin(int value) { margin_ = value; }

  bool Visible();
  // The general entry point: offers the list for `input` with the window's
  // top-left corner at the screen point (x, y).
  void Execute(std::string input, int x, int y, TCompletionType kind);
  // Closes without inserting.
  void CancelCompletion();
  // Inserts the selected entry; end_char 0 means none.
  virtual void Complete(char end_char) = 0;
  // Closes the list; its size is kept for the next opening.
  virtual void Deactivate();
  // A character the list passed on to the editor.
  virtual void CharTyped(char) {}

  TCompletionExecuteEvent OnExecute;
  TCompletionChangeEvent OnChange;
  TCompletionNotifyEvent OnShow;
  TCompletionNotifyEvent OnClose;
  TCompletionNotifyEvent OnCancelled;

 protected:
  virtual void StopTimerIfAny() {}

  ICompletionPopupHost* host_ = nullptr;
  TBaseCompletionProposalForm form_;

 private:
  TCompletionType default_type_ = ctCode;
  TCompletionOptions options_ = kDefaultCompletionOptions;
  int nb_lines_in_window_ = 8;
  int width_ = 260;
  std::string end_of_token_chr_ = "()[]. ";
  TFont font_{"MS Sans Serif", -11, clWindowText, 0};
  TFont title_font_{"MS Sans Serif", -11, SystemColor(18), fsBold};
  std::string title_;
  TColor cl_select_ = clHighlight;
  TColor cl_selected_text_ = clHighlightText;
  TColor cl_background_ = clWindow;
  TColor cl_title_background_ = clBtnFace;
  TProposalColumns columns_;
  bool resizeable_ = true;
  int item_height_ = 0;
  IPrettyImages* images_ = nullptr;
  int margin_ = 2;
  bool items_unicode_ = false;
};

class TCompletionProposal : public TBaseCompletionProposal {
 public:
  static constexpr TShortCut kDefaultShortCut = 0x4020;  // Ctrl+Space

  TCompletionProposal() = default;
  ~TCompletionProposal() override;

  // The editor the proposal works for; setting it attaches it (and keeps
  // the editors attached before). nullptr detaches every editor. An editor
  // must be detached before it is destroyed.
  TCustomEditor* Editor() const { return editors_.empty() ? nullptr : editors_.front(); }
  void SetEditor(TCustomEditor* editor);
  void AddEditor(TCustomEditor& editor);
  void RemoveEditor(TCustomEditor& editor);
  int EditorsCount() const { return static_cast<int>(editors_.size()); }

  TShortCut ShortCut() const { return shortcut_; }
  void SetShortCut(TShortCut value) { shortcut_ = value; }
  const std::string& TriggerChars() const { return trigger_chars_; }
  void SetTriggerChars(const std::string& value) { trigger_chars_ = value; }
  int TimerInterval() const { return timer_interval_; }
  void SetTimerInterval(int value);
  void SetOptions(TCompletionOptions value) override;
  bool HasTimer() const { return Options().Contains(scoUseBuiltInTimer); }
  bool TimerRunning() const { return timer_running_; }
  // 1-based column where the token being completed begins.
  int CompletionStart() const { return completion_start_; }

  // Also starts the delay for a typed character that is no trigger
  // character when this answers true (called before the character reaches
  // the editor).
  std::function<bool(TCustomEditor& editor, char typed)> TriggerWhen;

  // Opens the list for an attached editor at its caret.
  void ActivateCompletion(TCustomEditor& editor);
  void TimerExpired();
  void Complete(char end_char) override;
  void Deactivate() override;
  void CharTyped(char c) override;

 protected:
  void StopTimerIfAny() override { StopTimer(); }

 private:
  static void EditorKeyDown(void* object, TCustomEditor& sender, std::uint16_t& key,
                            TShiftState shift);
  static void EditorKeyPress(void* object, TCustomEditor& sender, char& key);
  static void EditorMouseDown(void* object, TCustomEditor& sender, TMouseButton button,
                              TShiftState shift, int x, int y);
  static void EditorMouseWheel(void* object, TCustomEditor& sender, int& delta, TShiftState shift);
  static void EditorCommand(void* object, TCustomEditor& sender, bool after_processing,
                            bool& handled, TEditorCommand& command, char& achar, void* data,
                            void* handler_data);
  void StartTimer(TCustomEditor& editor);
  void StopTimer();
  bool IsTriggerChar(char c) const;
  bool StartsDelay(TCustomEditor& editor, char c) const;
  void ComputeInput(TCustomEditor& editor, std::string& input);

  std::vector<TCustomEditor*> editors_;
  TShortCut shortcut_ = kDefaultShortCut;
  std::string trigger_chars_ = ".";
  int timer_interval_ = 1000;
  bool timer_running_ = false;
  TCustomEditor* timer_editor_ = nullptr;
  int completion_start_ = 1;
  // The line the list was opened on: a completion changes no other.
  int completion_line_ = 1;
  // The character that the key which opened the list will still type (the
  // blank of Ctrl+Space), swallowed when it arrives; 0 when none is due.
  char no_next_key_ = 0;
  // A key the list took whose character is still to come (Enter, Tab, Esc,
  // Backspace), so that it does not reach the editor after the list closed.
  char swallow_char_ = 0;
};
