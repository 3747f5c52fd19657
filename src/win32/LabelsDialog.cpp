#include "win32/LabelsDialog.h"

#include <commctrl.h>

#include <string>

#include "app/LabelNavigation.h"
#include "win32/PixelDialog.h"

namespace {

enum : int { idFilterLabel = 101, idFilter, idList };

class TLabelsDialog {
 public:
  explicit TLabelsDialog(const std::vector<TMacroLabel>& labels) : labels_(labels) {}

  std::optional<std::size_t> Run(HWND owner) {
    const std::vector<WORD> dialog_template = PixelDialogTemplate("Labels", false);
    const INT_PTR result = DialogBoxIndirectParamA(
        GetModuleHandleA(nullptr), reinterpret_cast<LPCDLGTEMPLATEA>(dialog_template.data()), owner,
        DialogProc, reinterpret_cast<LPARAM>(this));
    if (result != IDOK) return std::nullopt;
    return chosen_;
  }

 private:
  static INT_PTR CALLBACK DialogProc(HWND hwnd, UINT msg, WPARAM wparam, LPARAM lparam) {
    if (msg == WM_INITDIALOG) {
      SetWindowLongPtrA(hwnd, DWLP_USER, lparam);
      reinterpret_cast<TLabelsDialog*>(lparam)->Create(hwnd);
      return FALSE;  // the focus is in the filter box
    }
    auto* self = reinterpret_cast<TLabelsDialog*>(GetWindowLongPtrA(hwnd, DWLP_USER));
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
        if (header->code == LVN_GETDISPINFOA) {
          self->ItemText(reinterpret_cast<NMLVDISPINFOA*>(lparam)->item);
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
      SendMessageA(reinterpret_cast<HWND>(list), WM_KEYDOWN, wparam, lparam);
      return 0;
    }
    if (msg == WM_NCDESTROY) RemoveWindowSubclass(hwnd, FilterKeys, 0);
    return DefSubclassProc(hwnd, msg, wparam, lparam);
  }

  void Create(HWND hwnd) {
    hwnd_ = hwnd;
    SetDialogClientSize(hwnd_, 320, 330);
    AddDialogControl(hwnd_, "STATIC", "&Filter:", SS_LEFT, idFilterLabel, 8, 11, 44, 15);
    HWND filter = AddDialogControl(hwnd_, "EDIT", "", ES_AUTOHSCROLL | WS_BORDER | WS_TABSTOP,
                                   idFilter, 54, 8, 258, 21);
    list_ = AddDialogControl(
        hwnd_, WC_LISTVIEWA, "",
        LVS_REPORT | LVS_OWNERDATA | LVS_SINGLESEL | LVS_SHOWSELALWAYS | WS_BORDER | WS_TABSTOP,
        idList, 8, 36, 304, 254);
    SendMessageA(list_, LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_FULLROWSELECT, LVS_EX_FULLROWSELECT);
    AddColumn(0, "Label", 214);
    AddColumn(1, "Line", 64);
    AddDialogControl(hwnd_, "BUTTON", "&Go to", BS_DEFPUSHBUTTON | WS_TABSTOP, IDOK, 156, 298, 75,
                     23);
    AddDialogControl(hwnd_, "BUTTON", "Cancel", BS_PUSHBUTTON | WS_TABSTOP, IDCANCEL, 237, 298, 75,
                     23);
    SendMessageA(hwnd_, DM_SETDEFID, IDOK, 0);
    SetWindowSubclass(filter, FilterKeys, 0, reinterpret_cast<DWORD_PTR>(list_));
    Filter();
    CentreDialogOnOwner(hwnd_);
    SetFocus(filter);
  }

  void AddColumn(int index, const char* title, int width) {
    LVCOLUMNA column{};
    column.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_SUBITEM | LVCF_FMT;
    column.fmt = index == 0 ? LVCFMT_LEFT : LVCFMT_RIGHT;
    column.cx = ScaleToWindow(hwnd_, width);
    column.pszText = const_cast<char*>(title);
    column.iSubItem = index;
    SendMessageA(list_, LVM_INSERTCOLUMNA, static_cast<WPARAM>(index),
                 reinterpret_cast<LPARAM>(&column));
  }

  void Filter() {
    shown_ = FilterLabels(labels_, ControlText(GetDlgItem(hwnd_, idFilter)));
    SendMessageA(list_, LVM_SETITEMCOUNT, shown_.size(), 0);
    if (!shown_.empty()) Select(0);
    InvalidateRect(list_, nullptr, TRUE);
  }

  void Select(int row) {
    LVITEMA item{};
    item.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
    item.state = LVIS_SELECTED | LVIS_FOCUSED;
    SendMessageA(list_, LVM_SETITEMSTATE, static_cast<WPARAM>(row),
                 reinterpret_cast<LPARAM>(&item));
    SendMessageA(list_, LVM_ENSUREVISIBLE, static_cast<WPARAM>(row), FALSE);
  }

  void ItemText(LVITEMA& item) {
    if (!(item.mask & LVIF_TEXT) || item.iItem < 0 ||
        static_cast<std::size_t>(item.iItem) >= shown_.size()) {
      return;
    }
    const TMacroLabel& label = labels_[shown_[static_cast<std::size_t>(item.iItem)]];
    text_ = item.iSubItem == 0 ? label.name : std::to_string(label.line + 1);
    lstrcpynA(item.pszText, text_.c_str(), item.cchTextMax);
  }

  void Choose() {
    const auto row = static_cast<int>(
        SendMessageA(list_, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED));
    if (row < 0 || static_cast<std::size_t>(row) >= shown_.size()) {
      MessageBeep(MB_OK);
      return;
    }
    chosen_ = shown_[static_cast<std::size_t>(row)];
    EndDialog(hwnd_, IDOK);
  }

  const std::vector<TMacroLabel>& labels_;
  std::vector<std::size_t> shown_;
  std::string text_;
  std::size_t chosen_ = 0;
  HWND hwnd_ = nullptr;
  HWND list_ = nullptr;
};

}  // namespace

std::optional<std::size_t> ChooseLabel(HWND owner, const std::vector<TMacroLabel>& labels) {
  TLabelsDialog dialog(labels);
  return dialog.Run(owner);
}
