#include "win32/LabelsDialog.h"

#include <commctrl.h>

#include <string>

#include "app/LabelNavigation.h"
#include "platform/CodePage.h"
#include "win32/PixelDialog.h"

namespace {

enum : int { idFilterLabel = 101, idFilter, idList };

class TLabelsDialog {
 public:
  TLabelsDialog(const std::vector<TMacroLabel>& labels, const ICodePage& charset)
      : labels_(labels), charset_(charset) {}

  std::optional<std::size_t> Run(HWND owner) {
    const std::vector<WORD> dialog_template = PixelDialogTemplate("Labels", false);
    const INT_PTR result = DialogBoxIndirectParamW(
        GetModuleHandleW(nullptr), reinterpret_cast<LPCDLGTEMPLATEW>(dialog_template.data()), owner,
        DialogProc, reinterpret_cast<LPARAM>(this));
    if (result != IDOK) return std::nullopt;
    return chosen_;
  }

 private:
  static INT_PTR CALLBACK DialogProc(HWND hwnd, UINT msg, WPARAM wparam, LPARAM lparam) {
    if (msg == WM_INITDIALOG) {
      SetWindowLongPtrW(hwnd, DWLP_USER, lparam);
      reinterpret_cast<TLabelsDialog*>(lparam)->Create(hwnd);
      return FALSE;  // the focus is in the filter box
    }
    auto* self = reinterpret_cast<TLabelsDialog*>(GetWindowLongPtrW(hwnd, DWLP_USER));
    if (!self) return FALSE;
    switch (msg) {
      case WM_COMMAND:
        if (LOWORD(wparam) == idFilter && HIWORD(wparam) == EN_CHANGE) {
          self->Filter();
        } else if (LOWORD(wparam) == IDOK) {
          self->Choose();
        } else if (LOWORD(wparam) == IDCANCEL) {
          EndDialog(hwnd, IDCANCEL);
        }
        return TRUE;
      case WM_NOTIFY: {
        const auto* header = reinterpret_cast<const NMHDR*>(lparam);
        if (header->idFrom != idList) return FALSE;
        if (header->code == LVN_GETDISPINFOW) {
          self->ItemText(reinterpret_cast<NMLVDISPINFOW*>(lparam)->item);
        } else if (header->code == NM_DBLCLK) {
          self->Choose();
        }
        return TRUE;
      }
      default:
        return FALSE;
    }
  }

  // Arrow and page keys in the filter box move through the list, so that
  // typing and choosing need no change of focus.
  static LRESULT CALLBACK FilterKeys(HWND hwnd, UINT msg, WPARAM wparam, LPARAM lparam, UINT_PTR,
                                     DWORD_PTR list) {
    if (msg == WM_KEYDOWN &&
        (wparam == VK_UP || wparam == VK_DOWN || wparam == VK_PRIOR || wparam == VK_NEXT)) {
      SendMessageW(reinterpret_cast<HWND>(list), WM_KEYDOWN, wparam, lparam);
      return 0;
    }
    if (msg == WM_NCDESTROY) RemoveWindowSubclass(hwnd, FilterKeys, 0);
    return DefSubclassProc(hwnd, msg, wparam, lparam);
  }

  void Create(HWND hwnd) {
    hwnd_ = hwnd;
    SetDialogClientSize(hwnd_, 320, 330);
    AddDialogControl(hwnd_, "STATIC", "&Filter:", SS_LEFT, idFilterLabel, 8, 11, 44, 15);
    // Names may hold any character of the document.
    HWND filter = AddWideDialogControl(hwnd_, L"EDIT", ES_AUTOHSCROLL | WS_BORDER | WS_TABSTOP,
                                       idFilter, 54, 8, 258, 21);
    list_ = AddWideDialogControl(
        hwnd_, WC_LISTVIEWW,
        LVS_REPORT | LVS_OWNERDATA | LVS_SINGLESEL | LVS_SHOWSELALWAYS | WS_BORDER | WS_TABSTOP,
        idList, 8, 36, 304, 254);
    SendMessageW(list_, LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_FULLROWSELECT, LVS_EX_FULLROWSELECT);
    AddColumn(0, L"Label", 210);
    AddColumn(1, L"Line", 70);
    AddDialogControl(hwnd_, "BUTTON", "&Go to", BS_DEFPUSHBUTTON | WS_TABSTOP, IDOK, 156, 298, 75,
                     23);
    AddDialogControl(hwnd_, "BUTTON", "Cancel", BS_PUSHBUTTON | WS_TABSTOP, IDCANCEL, 237, 298, 75,
                     23);
    SendMessageW(hwnd_, DM_SETDEFID, IDOK, 0);
    SetWindowSubclass(filter, FilterKeys, 0, reinterpret_cast<DWORD_PTR>(list_));
    Filter();
    CentreDialogOnOwner(hwnd_);
    SetFocus(filter);
  }

  void AddColumn(int index, const wchar_t* title, int width) {
    LVCOLUMNW column{};
    column.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_SUBITEM | LVCF_FMT;
    column.fmt = index == 0 ? LVCFMT_LEFT : LVCFMT_RIGHT;
    column.cx = ScaleToWindow(hwnd_, width);
    column.pszText = const_cast<wchar_t*>(title);
    column.iSubItem = index;
    SendMessageW(list_, LVM_INSERTCOLUMNW, static_cast<WPARAM>(index),
                 reinterpret_cast<LPARAM>(&column));
  }

  void Filter() {
    // What is typed, in the document's character set, as the names are.
    HWND edit = GetDlgItem(hwnd_, idFilter);
    std::wstring typed(static_cast<std::size_t>(GetWindowTextLengthW(edit)) + 1, L'\0');
    typed.resize(static_cast<std::size_t>(
        GetWindowTextW(edit, typed.data(), static_cast<int>(typed.size()))));
    shown_ = FilterLabels(labels_, charset_.FromUtf16(std::u16string(typed.begin(), typed.end())));
    SendMessageW(list_, LVM_SETITEMCOUNT, shown_.size(), 0);
    if (!shown_.empty()) Select(0);
    InvalidateRect(list_, nullptr, TRUE);
  }

  void Select(int row) {
    LVITEMW item{};
    item.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
    item.state = LVIS_SELECTED | LVIS_FOCUSED;
    SendMessageW(list_, LVM_SETITEMSTATE, static_cast<WPARAM>(row),
                 reinterpret_cast<LPARAM>(&item));
    SendMessageW(list_, LVM_ENSUREVISIBLE, static_cast<WPARAM>(row), FALSE);
  }

  void ItemText(LVITEMW& item) {
    if (!(item.mask & LVIF_TEXT) || item.iItem < 0 ||
        static_cast<std::size_t>(item.iItem) >= shown_.size()) {
      return;
    }
    const TMacroLabel& label = labels_[shown_[static_cast<std::size_t>(item.iItem)]];
    const std::u16string units =
        charset_.ToUtf16(item.iSubItem == 0 ? label.name : std::to_string(label.line + 1));
    text_.assign(units.begin(), units.end());
    lstrcpynW(item.pszText, text_.c_str(), item.cchTextMax);
  }

  void Choose() {
    const auto row = static_cast<int>(
        SendMessageW(list_, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED));
    if (row < 0 || static_cast<std::size_t>(row) >= shown_.size()) {
      MessageBeep(MB_OK);
      return;
    }
    chosen_ = shown_[static_cast<std::size_t>(row)];
    EndDialog(hwnd_, IDOK);
  }

  const std::vector<TMacroLabel>& labels_;
  const ICodePage& charset_;
  std::vector<std::size_t> shown_;
  std::wstring text_;
  std::size_t chosen_ = 0;
  HWND hwnd_ = nullptr;
  HWND list_ = nullptr;
};

}  // namespace

std::optional<std::size_t> ChooseLabel(HWND owner, const std::vector<TMacroLabel>& labels,
                                       const ICodePage& charset) {
  TLabelsDialog dialog(labels, charset);
  return dialog.Run(owner);
}
