#pragma once
// The window that shows the completion list: a borderless, resizable,
// always-on-top tool window that never takes the focus, so the editor keeps
// its caret and the main window its active look while the list is shown.
#include <windows.h>

#include "app/CompletionProposal.h"

class TCompletionPopup : public ICompletionPopupHost {
 public:
  // Creates the hidden window, owned by `owner`, and makes it the proposal's
  // host. The proposal must outlive the window; destroying the window (with
  // its owner, or by DestroyWindow) detaches it and deletes this object.
  static TCompletionPopup* Create(HWND owner, TCompletionProposal& proposal);
  static TCompletionPopup* FromHandle(HWND hwnd);
  static const char* ClassName() { return "QuillonCompletionPopup"; }
  static constexpr UINT_PTR kTimerId = 1;

  HWND Handle() const { return hwnd_; }
  TCompletionProposal& Proposal() { return proposal_; }
  // The dpi of the window the list opens over (96 until told); the list's
  // width, fonts and margins follow it.
  void SetDpi(int dpi);

  // ---- ICompletionPopupHost
  void ShowPopup(const TRect& bounds) override;
  void HidePopup() override;
  bool PopupVisible() override;
  TRect PopupBounds() override;
  void InvalidatePopup() override;
  void SetPopupScrollBar(const TScrollBarInfo& info) override;
  int FrameThickness() override;
  TRect ScreenArea(TPoint at) override;
  int TextHeight(const TFont& font) override;
  int Dpi() override { return dpi_; }
  int WheelScrollLines() override;
  TPoint EditorToScreen(TCustomEditor& editor, TPoint client) override;
  void StartTimer(int milliseconds) override;
  void StopTimer() override;
  bool ApplicationActive() override;

 private:
  TCompletionPopup(HWND hwnd, TCompletionProposal& proposal);
  ~TCompletionPopup() override;
  static LRESULT CALLBACK WindowProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);
  LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp);
  void Paint();
  void OnScroll(WPARAM wp);
  void OnSizing(WPARAM edge, RECT& r);

  HWND hwnd_;
  TCompletionProposal& proposal_;
  int dpi_ = kDesignDpi;
};
