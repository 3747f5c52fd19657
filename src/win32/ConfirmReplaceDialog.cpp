#include "win32/ConfirmReplaceDialog.h"

#include "app/ConfirmPlacement.h"
#include "platform/Exception.h"
#include "win32/PixelDialog.h"

namespace {

constexpr char kConfirmation[] = "Replace this occurence of \"%s\"?";
constexpr WORD kQuestionIcon = 32514;  // the system's question-mark icon

}  // namespace

TConfirmReplaceDialog::TConfirmReplaceDialog(HWND owner) {
  const std::vector<WORD> dialog_template = PixelDialogTemplate("Confirm replace", false);
  // WM_INITDIALOG sets hwnd_; a failed creation leaves a dialog that answers
  // Cancel, so nothing is replaced without a yes.
  CreateDialogIndirectParamA(GetModuleHandleA(nullptr),
                             reinterpret_cast<LPCDLGTEMPLATEA>(dialog_template.data()), owner,
                             DialogProc, reinterpret_cast<LPARAM>(this));
}

TConfirmReplaceDialog::~TConfirmReplaceDialog() {
  if (hwnd_) DestroyWindow(hwnd_);
}

INT_PTR CALLBACK TConfirmReplaceDialog::DialogProc(HWND hwnd, UINT msg, WPARAM wparam,
                                                   LPARAM lparam) {
  if (msg == WM_INITDIALOG) {
    auto* self = reinterpret_cast<TConfirmReplaceDialog*>(lparam);
    SetWindowLongPtrA(hwnd, DWLP_USER, lparam);
    self->hwnd_ = hwnd;
    self->FormCreate();
    return FALSE;
  }
  auto* self = reinterpret_cast<TConfirmReplaceDialog*>(GetWindowLongPtrA(hwnd, DWLP_USER));
  if (!self) return FALSE;
  switch (msg) {
    case WM_COMMAND: {
      const int id = LOWORD(wparam);
      if (id != IDYES && id != IDNO && id != IDCANCEL && id != mrYesToAll) return FALSE;
      self->modal_result_ = id;
      return TRUE;
    }
    case WM_CLOSE:
      self->modal_result_ = IDCANCEL;
      return TRUE;
    case WM_NCDESTROY:
      self->hwnd_ = nullptr;
      SetWindowLongPtrA(hwnd, DWLP_USER, 0);
      return FALSE;
    default:
      return FALSE;
  }
}

void TConfirmReplaceDialog::FormCreate() {
  SetDialogClientSize(hwnd_, 328, 98);
  // Buttons first, in tab order; the label and image take no focus.
  AddDialogControl(hwnd_, "BUTTON", "&Yes", BS_DEFPUSHBUTTON | WS_TABSTOP | WS_GROUP, IDYES, 8, 67,
                   75, 23);
  AddDialogControl(hwnd_, "BUTTON", "&No", BS_PUSHBUTTON | WS_TABSTOP, IDNO, 87, 67, 75, 23);
  AddDialogControl(hwnd_, "BUTTON", "Cancel", BS_PUSHBUTTON | WS_TABSTOP, IDCANCEL, 166, 67, 75,
                   23);
  AddDialogControl(hwnd_, "BUTTON", "Yes to &all", BS_PUSHBUTTON | WS_TABSTOP, idReplaceAll, 245,
                   67, 75, 23);
  // The question shows the search text as it is: an "&" in it is no accelerator.
  // It is a Unicode control: the search text may hold any character.
  AddWideDialogControl(hwnd_, L"STATIC", SS_LEFT | SS_NOPREFIX | WS_GROUP, idConfirmation, 60, 12,
                       261, 44);
  HWND image =
      AddDialogControl(hwnd_, "STATIC", "", SS_ICON | SS_CENTERIMAGE, idImage1, 16, 16, 32, 32);
  const int icon_size = ScaleToWindow(hwnd_, 32);
  HANDLE icon = LoadImageA(nullptr, MAKEINTRESOURCEA(kQuestionIcon), IMAGE_ICON, icon_size,
                           icon_size, LR_SHARED);
  if (image && icon) {
    SendMessageA(image, STM_SETICON, reinterpret_cast<WPARAM>(icon), 0);
    // Setting an icon resizes the control to the icon; keep the laid-out place.
    SetWindowPos(image, nullptr, ScaleToWindow(hwnd_, 16), ScaleToWindow(hwnd_, 16), icon_size, icon_size,
                 SWP_NOZORDER | SWP_NOACTIVATE);
  }
  SendMessageA(hwnd_, DM_SETDEFID, IDYES, 0);
  CentreDialogOnOwner(hwnd_);
}

void TConfirmReplaceDialog::PrepareForText(const TRect& area, int x, int y1, int y2,
                                           const std::string& search) {
  if (!hwnd_) return;
  SetWideControlText(GetDlgItem(hwnd_, idConfirmation), FormatText(kConfirmation, search.c_str()));
  RECT r{};
  GetWindowRect(hwnd_, &r);
  const TPoint p = ConfirmDialogPosition(area, x, y1, y2, r.right - r.left, r.bottom - r.top);
  SetWindowPos(hwnd_, nullptr, p.x, p.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

std::string TConfirmReplaceDialog::Question() const {
  return hwnd_ ? WideControlText(GetDlgItem(hwnd_, idConfirmation)) : std::string();
}

int TConfirmReplaceDialog::ShowModal() {
  if (!hwnd_) return IDCANCEL;
  HWND owner = GetWindow(hwnd_, GW_OWNER);
  HWND focus = GetFocus();
  const bool disable_owner = owner && IsWindowEnabled(owner);
  if (disable_owner) EnableWindow(owner, FALSE);
  modal_result_ = 0;
  ShowWindow(hwnd_, SW_SHOW);
  SendMessageA(hwnd_, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(GetDlgItem(hwnd_, IDYES)), TRUE);
  MSG msg;
  while (hwnd_ && modal_result_ == 0) {
    const BOOL got = GetMessageW(&msg, nullptr, 0, 0);
    if (got == 0) {
      // Leave the quit request for the program's own message loop.
      PostQuitMessage(static_cast<int>(msg.wParam));
      break;
    }
    if (got == -1) break;
    if (!IsDialogMessageW(hwnd_, &msg)) {
      TranslateMessage(&msg);
      DispatchMessageW(&msg);
    }
  }
  const int result = modal_result_ != 0 ? modal_result_ : IDCANCEL;
  modal_result_ = 0;
  // The owner is enabled before the dialog hides, so the activation goes back
  // to it rather than to another program.
  if (disable_owner && IsWindow(owner)) EnableWindow(owner, TRUE);
  if (hwnd_) ShowWindow(hwnd_, SW_HIDE);
  if (focus && IsWindow(focus)) SetFocus(focus);
  return result;
}

TReplaceAction ReplaceActionFromModalResult(int result) {
  switch (result) {
    case IDYES:
      return raReplace;
    case IDNO:
      return raSkip;
    case TConfirmReplaceDialog::mrYesToAll:
      return raReplaceAll;
    default:
      return raCancel;
  }
}
