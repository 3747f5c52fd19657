#pragma once
// The window that shows an editor control: it turns window messages into calls
// on the portable editor and gives the editor the window services it asks for.
#include <windows.h>

#include <exception>
#include <functional>
#include <string>

#include "editor/EditorMemo.h"
#include "platform/EditorHost.h"
#include "win32/Win32Clipboard.h"

class TEditorWindow : public IEditorHost {
 public:
  // Creates a child window (visible, both scroll bars, sunken client edge)
  // showing `editor`. The editor is not owned and must outlive the window; the
  // window object is deleted with the window. Like an edit control, the
  // window tells its parent when it gains and loses the focus (WM_COMMAND
  // with EN_SETFOCUS and EN_KILLFOCUS).
  static HWND Create(HWND parent, int id, TEditorMemo& editor, DWORD extra_style = 0);
  // The adapter or the editor of a window made by Create; nullptr otherwise.
  static TEditorWindow* FromHandle(HWND hwnd);
  static TEditorMemo* EditorFromHandle(HWND hwnd);
  // Errors raised by the editor while handling a message cannot pass through
  // the window system; they are handed to this handler (the default shows an
  // error box with the message).
  static void SetErrorHandler(std::function<void(HWND, const std::exception&)> handler);
  // A Unicode window class: typed characters arrive as UTF-16.
  static const wchar_t* ClassName() { return L"QuillonEditor"; }
  // The editor's fonts are made for this dpi (its window's monitor's); the
  // editor measures them anew.
  static void SetDpi(HWND hwnd, int dpi);

  HWND Handle() const { return hwnd_; }
  TEditorMemo& Editor() { return editor_; }

  // A menu shown on a right click in the editor; its commands go to the
  // parent window. Without one (and without OnContextPopup handling it) the
  // context-menu request goes to the parent.
  void SetPopupMenu(HMENU menu) { popup_ = menu; }
  HMENU PopupMenu() const { return popup_; }
  // Called with screen coordinates before the popup menu; true when handled.
  std::function<bool(int x, int y)> OnContextPopup;

  // ---- IEditorHost
  TFontMetrics MeasureFont(const TFont& font, TFontStyles style) override;
  int ClientWidth() override;
  int ClientHeight() override;
  bool HasBorder() override;
  void InvalidateRect(const TRect& rect) override;
  void ScrollPixels(int dx, int dy, const TRect& area) override;
  void SetScrollBar(THostScrollBar bar, const TScrollBarInfo& info) override;
  int VerticalThumbTop() override;
  void CreateCaret(int width, int height) override;
  void DestroyCaret() override;
  void SetCaretPosition(int x, int y) override;
  void ShowCaret() override;
  void HideCaret() override;
  void CaptureMouse() override;
  void ReleaseMouse() override;
  bool MouseCaptured() override;
  void StartTimer(int id, int milliseconds) override;
  void StopTimer(int id) override;
  bool HasFocus() override;
  void TakeFocus() override;
  bool IsKeyDown(int virtual_key) override;
  int DragThreshold() override;
  void ShowHint(const std::string& text, int right, int top, TColor color) override;
  void HideHint() override;
  void AcceptDroppedFiles(bool accept) override;
  bool HasPopupMenu() override { return popup_ != nullptr; }

  // The hint window while it is shown (tests).
  HWND HintWindow() const { return hint_; }
  std::string HintText() const { return hint_text_; }

 private:
  TEditorWindow(HWND hwnd, TEditorMemo& editor);
  ~TEditorWindow() override;
  static LRESULT CALLBACK WindowProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);
  static LRESULT CALLBACK HintProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);
  LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp);
  void OnScrollMessage(int bar, WPARAM wp);
  // EN_SETFOCUS or EN_KILLFOCUS to the parent window.
  void NotifyParent(WORD code);
  // A WM_CHAR unit; the two halves of a surrogate pair make one character.
  void OnCharUnit(WPARAM wp);
  // The window-text and edit-control messages that carry UTF-16 text.
  bool HandleTextMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result);
  // Puts the input method's composition window at the caret, in the
  // editor's font.
  void PlaceComposition(bool with_font);
  // While this window's selection is dragged: the other editor window under
  // the pointer, or nullptr when the pointer is over this one or none.
  TEditorWindow* DropTargetAt(LPARAM lp, int& x, int& y);
  void LeaveDropTarget();

  HWND hwnd_;
  TEditorMemo& editor_;
  TWin32Clipboard clipboard_;
  HWND drop_target_ = nullptr;
  HMENU popup_ = nullptr;
  HWND hint_ = nullptr;
  std::string hint_text_;
  TColor hint_color_ = 0;
  int dpi_ = 96;
  bool updating_scroll_bar_ = false;
  bool key_made_command_ = false;
  char16_t high_surrogate_ = 0;
  bool composing_ = false;
  TScrollBarInfo last_bars_[2]{};
  bool bars_known_[2]{false, false};
};
