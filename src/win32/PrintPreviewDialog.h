#pragma once
// The print preview window: page buttons, the zoom list, Print and Close
// above the preview control, and a status bar with the page text. Created
// once and shown modally for every preview.
#include <windows.h>

#include <functional>
#include <string>

#include "win32/PrintPreview.h"

class TPrintPreviewDlg {
 public:
  TPrintPreviewDlg() = default;
  ~TPrintPreviewDlg();
  TPrintPreviewDlg(const TPrintPreviewDlg&) = delete;
  TPrintPreviewDlg& operator=(const TPrintPreviewDlg&) = delete;

  // The zoom list's index, stored by the settings as "PrintPreviewScale".
  std::function<int()> ReadScaleIndex;
  std::function<void(int)> WriteScaleIndex;

  // Creates the hidden window and applies the stored zoom.
  bool Create();
  HWND Handle() const { return hwnd_; }

  // Shows the engine's pages modally until the window is closed.
  void ShowModal(HWND owner, TEditorPrint* engine, bool printer_known,
                 const std::string& printer_name);
  bool Showing() const { return showing_; }

  TEditorPrintPreview& Preview() { return preview_; }
  HWND CBScale() const { return cb_scale_; }
  HWND BtnFirst() const { return btn_first_; }
  HWND BtnPrevious() const { return btn_previous_; }
  HWND BtnNext() const { return btn_next_; }
  HWND BtnLast() const { return btn_last_; }
  HWND BtnPrint() const { return btn_print_; }
  HWND BtnClose() const { return btn_close_; }
  HWND StatusBar() const { return status_; }
  const std::string& BtnPrintHint() const { return print_hint_; }
  std::string StatusPanelText(int panel) const;

  // As if the entry had been chosen in the zoom list.
  void ApplyZoom(int index);
  void UpdatePreviewButtons();

 private:
  static LRESULT CALLBACK WndProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);
  LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp);
  void OnCommand(int id, int code);
  void LayoutChildren();
  HWND AddButton(int id, const char* caption, const char* hint);
  // Places the bar's controls and makes the fonts for dpi_.
  void PlaceControls();

  HWND hwnd_ = nullptr;
  HWND owner_ = nullptr;
  HWND cb_scale_ = nullptr, status_ = nullptr, tips_ = nullptr;
  HWND btn_first_ = nullptr, btn_previous_ = nullptr, btn_next_ = nullptr, btn_last_ = nullptr;
  HWND btn_print_ = nullptr, btn_close_ = nullptr;
  HFONT status_font_ = nullptr;
  HFONT gui_font_ = nullptr;  // the bar's font at a dpi other than 96
  int dpi_ = 96;
  TEditorPrintPreview preview_;
  bool printer_known_ = false;
  bool showing_ = false;
  std::string print_hint_ = "Print";
};
