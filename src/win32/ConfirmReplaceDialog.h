#pragma once
// The question asked before each replacement of a prompted replace run.
#include <windows.h>

#include <string>

#include "platform/Types.h"
#include "search/SearchOptions.h"

class TConfirmReplaceDialog {
 public:
  // The modal result of "Yes to &all".
  static constexpr int mrYesToAll = 10;
  enum : int { idConfirmation = 201, idImage1, idReplaceAll = mrYesToAll };

  // Creates the (hidden) window, owned by owner.
  explicit TConfirmReplaceDialog(HWND owner);
  ~TConfirmReplaceDialog();
  TConfirmReplaceDialog(const TConfirmReplaceDialog&) = delete;
  TConfirmReplaceDialog& operator=(const TConfirmReplaceDialog&) = delete;

  // False once the window is gone (for example with its owner).
  bool Exists() const { return hwnd_ != nullptr; }
  HWND Handle() const { return hwnd_; }

  // Sets the question about search and moves the dialog beside the
  // occurrence: area is the main window's client area on the screen, x the
  // occurrence's screen column, y1 and y2 the rows of its line's top and bottom.
  void PrepareForText(const TRect& area, int x, int y1, int y2, const std::string& search);
  std::string Question() const;

  // Shows the dialog modally: IDYES, IDNO, IDCANCEL or mrYesToAll. Closing it
  // any other way gives IDCANCEL.
  int ShowModal();

 private:
  static INT_PTR CALLBACK DialogProc(HWND hwnd, UINT msg, WPARAM wparam, LPARAM lparam);
  void FormCreate();

  HWND hwnd_ = nullptr;
  int modal_result_ = 0;
};

// The answer a modal result of the confirmation dialog stands for.
TReplaceAction ReplaceActionFromModalResult(int result);
