#pragma once
// The print preview control: one page of a print engine drawn to scale in
// the client area, with scrolling, zoom modes and paging.
#include <windows.h>

#include <functional>

#include "platform/Types.h"
#include "print/EditorPrint.h"
#include "print/EditorPrintPreviewLayout.h"

class TEditorPrintPreview {
 public:
  TEditorPrintPreview() = default;
  ~TEditorPrintPreview();
  TEditorPrintPreview(const TEditorPrintPreview&) = delete;
  TEditorPrintPreview& operator=(const TEditorPrintPreview&) = delete;

  bool Create(HWND parent, int x, int y, int width, int height);
  // The screen's dots per inch the zoom percentages refer to: those of the
  // window's monitor. Lays the pages out anew.
  void SetDpi(int dpi);
  HWND Handle() const { return hwnd_; }

  // Not owned: the owner of both keeps the engine alive while it is assigned.
  TEditorPrint* EditorPrint() const { return engine_; }
  void SetEditorPrint(TEditorPrint* value);
  TPreviewScale ScaleMode() const { return scale_mode_; }
  void SetScaleMode(TPreviewScale value);
  int ScalePercent() const { return scale_percent_; }
  void SetScalePercent(int value);
  TColor PageBGColor() const { return page_bg_color_; }
  void SetPageBGColor(TColor value);
  TColor Color() const { return color_; }
  bool ShowScrollHint() const { return show_scroll_hint_; }
  void SetShowScrollHint(bool value) { show_scroll_hint_ = value; }

  int CurrentPage() const { return current_page_; }
  // 0 without an engine.
  int PageCount() const;
  const TPreviewLayout& Layout() const { return layout_; }
  // The window that shows "Page: n" while the thumb is dragged in whole-page mode.
  static HWND ScrollHintWindow();
  TPoint ScrollPosition() const { return scroll_; }

  void UpdatePreview();
  void FirstPage();
  void LastPage();
  void NextPage();
  void PreviousPage();
  void PrintFromPreview();

  std::function<void(TEditorPrintPreview* Sender, int PageNumber)> OnPreviewPage;
  std::function<void(TEditorPrintPreview* Sender)> OnScaleChange;
  // button: 0 left, 1 right, 2 middle.
  std::function<void(TEditorPrintPreview* Sender, int button)> OnMouseDown;

 private:
  static LRESULT CALLBACK WndProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);
  LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp);
  void Paint(HDC dc);
  void Relayout();
  void UpdateScrollBars();
  void ScrollTo(int x, int y);
  void OnScroll(int bar, int code, int thumb);
  void GoToPage(int page);
  void ShowPageHint(int page);
  RECT PageRect() const;

  HWND hwnd_ = nullptr;
  TEditorPrint* engine_ = nullptr;
  TPreviewScale scale_mode_ = pscUserScaled;
  int scale_percent_ = 100;
  TColor page_bg_color_ = clWhite;
  TColor color_ = SystemColor(12);  // application workspace
  bool show_scroll_hint_ = true;
  int current_page_ = 1;
  TPreviewLayout layout_;
  TPoint scroll_{};
  int wheel_rest_ = 0;
  bool in_layout_ = false;
  int dpi_ = 96;
};
