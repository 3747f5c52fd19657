#include "win32/SearchDialogs.h"

#include <commctrl.h>

#include "app/SearchHistory.h"
#include "platform/Utf8CodePage.h"
#include "win32/PixelDialog.h"

namespace {

constexpr UINT_PTR kTimer1 = 1;
constexpr UINT kTimer1Interval = 10;

constexpr DWORD kComboStyle = WS_TABSTOP | WS_GROUP | WS_VSCROLL | CBS_DROPDOWN | CBS_AUTOHSCROLL;
// The drop-down part shows about eight entries below the edit part.
constexpr int kComboListHeight = 8 * 13 + 2;

// "&Replace with:" leads to no control; without this its accelerator would
// move the focus and take Alt+R away from "&Regular expression".
LRESULT CALLBACK NoAcceleratorLabelProc(HWND hwnd, UINT msg, WPARAM wparam, LPARAM lparam, UINT_PTR,
                                        DWORD_PTR) {
  if (msg == WM_GETDLGCODE) return 0;
  if (msg == WM_NCDESTROY) RemoveWindowSubclass(hwnd, NoAcceleratorLabelProc, 0);
  return DefSubclassProc(hwnd, msg, wparam, lparam);
}

// Runs a modal dialog and gives the focus back to where it was.
class TFocusKeeper {
 public:
  TFocusKeeper() : focus_(GetFocus()) {}
  ~TFocusKeeper() {
    if (focus_ && IsWindow(focus_)) SetFocus(focus_);
  }
  TFocusKeeper(const TFocusKeeper&) = delete;
  TFocusKeeper& operator=(const TFocusKeeper&) = delete;

 private:
  HWND focus_;
};

}  // namespace

// ---- TTextSearchDialog ----

TTextSearchDialog::TTextSearchDialog(HWND owner, const ICodePage& code_page)
    : code_page_(code_page), owner_(owner) {}

TTextSearchDialog::~TTextSearchDialog() {
  if (hwnd_) DestroyWindow(hwnd_);
}

int TTextSearchDialog::ShowModal() {
  const std::vector<WORD> dialog_template = PixelDialogTemplate(Layout().caption, true);
  TFocusKeeper focus;
  // A Unicode dialog with Unicode boxes: the texts may hold any character.
  const INT_PTR result = DialogBoxIndirectParamW(
      GetModuleHandleW(nullptr), reinterpret_cast<LPCDLGTEMPLATEW>(dialog_template.data()), owner_,
      DialogProc, reinterpret_cast<LPARAM>(this));
  return result == IDOK ? IDOK : IDCANCEL;
}

INT_PTR CALLBACK TTextSearchDialog::DialogProc(HWND hwnd, UINT msg, WPARAM wparam, LPARAM lparam) {
  if (msg == WM_INITDIALOG) {
    auto* self = reinterpret_cast<TTextSearchDialog*>(lparam);
    SetWindowLongPtrA(hwnd, DWLP_USER, lparam);
    self->hwnd_ = hwnd;
    self->InitDialog();
    return FALSE;  // the focus is set already
  }
  auto* self = reinterpret_cast<TTextSearchDialog*>(GetWindowLongPtrA(hwnd, DWLP_USER));
  if (!self) return FALSE;
  switch (msg) {
    case WM_TIMER:
      if (wparam != kTimer1) return FALSE;
      self->Timer1Timer();
      return TRUE;
    case WM_COMMAND: {
      const int id = LOWORD(wparam);
      if (id != IDOK && id != IDCANCEL) return FALSE;
      KillTimer(hwnd, kTimer1);
      self->FormCloseQuery(id);
      self->StoreControls();
      EndDialog(hwnd, id);
      return TRUE;
    }
    case WM_NCDESTROY:
      self->hwnd_ = nullptr;
      SetWindowLongPtrA(hwnd, DWLP_USER, 0);
      return FALSE;
    default:
      return FALSE;
  }
}

void TTextSearchDialog::InitDialog() {
  const TLayout layout = Layout();
  SetDialogClientSize(hwnd_, 332, layout.client_height);
  CreateControls();
  LoadControls();
  CentreDialogOnOwner(hwnd_);
  // The first control in tab order has the focus until Timer1 moves it to the
  // search text.
  // Through the dialog manager, which remembers it as the focus to restore
  // when the dialog is activated.
  for (HWND c = GetWindow(hwnd_, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
    if (GetWindowLongPtrA(c, GWL_STYLE) & WS_TABSTOP) {
      SendMessageA(hwnd_, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(c), TRUE);
      break;
    }
  }
  SetTimer(hwnd_, kTimer1, kTimer1Interval, nullptr);
}

void TTextSearchDialog::Timer1Timer() {
  KillTimer(hwnd_, kTimer1);
  // Through the dialog manager, so the text is selected and OK stays default.
  SendMessageA(hwnd_, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(GetDlgItem(hwnd_, idSearchText)),
               TRUE);
}

TTextSearchDialog::TLayout TTextSearchDialog::Layout() const {
  return {"Search Text", 180, 40, 144};
}

void TTextSearchDialog::CreateControls() {
  const TLayout layout = Layout();
  AddCancelButton(layout.buttons_top);
  AddLabel1();
  AddSearchText();
  AddOptionsAndDirection(layout.options_top);
  AddOkButton(layout.buttons_top);
}

void TTextSearchDialog::AddLabel1() {
  // Directly before the search text, so its accelerator leads there.
  AddDialogControl(hwnd_, "STATIC", "&Search for:", SS_LEFTNOWORDWRAP | WS_GROUP, idLabel1, 8, 12,
                   52, 13);
}

void TTextSearchDialog::AddSearchText() {
  AddWideDialogControl(hwnd_, L"COMBOBOX", kComboStyle, idSearchText, 96, 8, 228,
                       21 + kComboListHeight);
}

void TTextSearchDialog::AddOptionsAndDirection(int top) {
  AddDialogControl(hwnd_, "BUTTON", " Options: ", BS_GROUPBOX | WS_GROUP, idSearchOptions, 8, top,
                   154, 127);
  struct TCheck {
    int id;
    const char* caption;
    int top;
  } const checks[] = {
      {idCaseSensitive, "C&ase sensitivity", 17},
      {idWholeWords, "&Whole words only", 39},
      {idFromCursor, "Search from &caret", 61},
      {idSelectedOnly, "Selected &text only", 83},
      {idRegularExpression, "&Regular expression", 104},
  };
  for (const TCheck& c : checks) {
    const DWORD group = c.id == idCaseSensitive ? WS_GROUP : 0;
    AddDialogControl(hwnd_, "BUTTON", c.caption, BS_AUTOCHECKBOX | WS_TABSTOP | group, c.id, 8 + 8,
                     top + c.top, 140, 17);
  }
  AddDialogControl(hwnd_, "BUTTON", " Direction: ", BS_GROUPBOX | WS_GROUP, idSearchDirection, 170,
                   top, 154, 65);
  AddDialogControl(hwnd_, "BUTTON", "&Forward", BS_AUTORADIOBUTTON | WS_TABSTOP | WS_GROUP,
                   idForward, 170 + 8, top + 17, 138, 17);
  AddDialogControl(hwnd_, "BUTTON", "&Backward", BS_AUTORADIOBUTTON, idBackward, 170 + 8, top + 39,
                   138, 17);
}

void TTextSearchDialog::AddOkButton(int top) {
  AddDialogControl(hwnd_, "BUTTON", "OK", BS_DEFPUSHBUTTON | WS_TABSTOP | WS_GROUP, IDOK, 170, top,
                   75, 23);
}

void TTextSearchDialog::AddCancelButton(int top) {
  AddDialogControl(hwnd_, "BUTTON", "Cancel", BS_PUSHBUTTON | WS_TABSTOP | WS_GROUP, IDCANCEL, 249,
                   top, 75, 23);
}

void TTextSearchDialog::LoadControls() {
  CheckDlgButton(hwnd_, idCaseSensitive, case_sensitive_ ? BST_CHECKED : BST_UNCHECKED);
  CheckDlgButton(hwnd_, idWholeWords, whole_words_ ? BST_CHECKED : BST_UNCHECKED);
  CheckDlgButton(hwnd_, idFromCursor, from_cursor_ ? BST_CHECKED : BST_UNCHECKED);
  CheckDlgButton(hwnd_, idSelectedOnly, selected_only_ ? BST_CHECKED : BST_UNCHECKED);
  CheckDlgButton(hwnd_, idRegularExpression, regular_expression_ ? BST_CHECKED : BST_UNCHECKED);
  CheckRadioButton(hwnd_, idForward, idBackward, backwards_ ? idBackward : idForward);
  HWND search = GetDlgItem(hwnd_, idSearchText);
  SetComboEntries(search, search_history_);
  SetWideControlText(search, search_text_);
}

void TTextSearchDialog::StoreControls() {
  case_sensitive_ = IsDlgButtonChecked(hwnd_, idCaseSensitive) == BST_CHECKED;
  whole_words_ = IsDlgButtonChecked(hwnd_, idWholeWords) == BST_CHECKED;
  from_cursor_ = IsDlgButtonChecked(hwnd_, idFromCursor) == BST_CHECKED;
  selected_only_ = IsDlgButtonChecked(hwnd_, idSelectedOnly) == BST_CHECKED;
  regular_expression_ = IsDlgButtonChecked(hwnd_, idRegularExpression) == BST_CHECKED;
  backwards_ = IsDlgButtonChecked(hwnd_, idBackward) == BST_CHECKED;
  HWND search = GetDlgItem(hwnd_, idSearchText);
  search_text_ = WideControlText(search);
  search_history_ = ComboEntries(search);
}

void TTextSearchDialog::FormCloseQuery(int result) {
  if (result == IDOK) RememberTyped(idSearchText);
}

void TTextSearchDialog::RememberTyped(int combo_id) {
  HWND combo = GetDlgItem(hwnd_, combo_id);
  const std::string text = WideControlText(combo);
  if (text.empty()) return;
  std::vector<std::string> entries = ComboEntries(combo);
  // The entries are UTF-8 whatever the document's encoding.
  RememberInHistory(entries, text, Utf8CodePage());
  SetComboEntries(combo, entries);
  SetWideControlText(combo, text);
}

bool TTextSearchDialog::CheckOr(int id, bool stored) const {
  return hwnd_ ? IsDlgButtonChecked(hwnd_, id) == BST_CHECKED : stored;
}

void TTextSearchDialog::SetCheck(int id, bool& stored, bool value) {
  stored = value;
  if (hwnd_) CheckDlgButton(hwnd_, id, value ? BST_CHECKED : BST_UNCHECKED);
}

std::string TTextSearchDialog::ComboTextOr(int id, const std::string& stored) const {
  return hwnd_ ? WideControlText(GetDlgItem(hwnd_, id)) : stored;
}

std::string TTextSearchDialog::ComboHistoryOr(int id,
                                              const std::vector<std::string>& stored) const {
  return HistoryText(hwnd_ ? ComboEntries(GetDlgItem(hwnd_, id)) : stored);
}

void TTextSearchDialog::SetComboText(int id, std::string& stored, const std::string& value) {
  stored = value;
  if (hwnd_) SetWideControlText(GetDlgItem(hwnd_, id), value);
}

void TTextSearchDialog::SetComboHistory(int id, std::vector<std::string>& stored,
                                        const std::string& history) {
  stored = HistoryEntries(history);
  if (hwnd_) SetComboEntries(GetDlgItem(hwnd_, id), stored);
}

bool TTextSearchDialog::SearchBackwards() const { return CheckOr(idBackward, backwards_); }
void TTextSearchDialog::SetSearchBackwards(bool value) {
  backwards_ = value;
  if (hwnd_) CheckRadioButton(hwnd_, idForward, idBackward, value ? idBackward : idForward);
}
bool TTextSearchDialog::SearchCaseSensitive() const {
  return CheckOr(idCaseSensitive, case_sensitive_);
}
void TTextSearchDialog::SetSearchCaseSensitive(bool value) {
  SetCheck(idCaseSensitive, case_sensitive_, value);
}
bool TTextSearchDialog::SearchWholeWords() const { return CheckOr(idWholeWords, whole_words_); }
void TTextSearchDialog::SetSearchWholeWords(bool value) {
  SetCheck(idWholeWords, whole_words_, value);
}
bool TTextSearchDialog::SearchFromCursor() const { return CheckOr(idFromCursor, from_cursor_); }
void TTextSearchDialog::SetSearchFromCursor(bool value) {
  SetCheck(idFromCursor, from_cursor_, value);
}
bool TTextSearchDialog::SearchInSelectionOnly() const {
  return CheckOr(idSelectedOnly, selected_only_);
}
void TTextSearchDialog::SetSearchInSelectionOnly(bool value) {
  SetCheck(idSelectedOnly, selected_only_, value);
}
bool TTextSearchDialog::SearchRegularExpression() const {
  return CheckOr(idRegularExpression, regular_expression_);
}
void TTextSearchDialog::SetSearchRegularExpression(bool value) {
  SetCheck(idRegularExpression, regular_expression_, value);
}
std::string TTextSearchDialog::SearchText() const {
  return ComboTextOr(idSearchText, search_text_);
}
void TTextSearchDialog::SetSearchText(const std::string& value) {
  SetComboText(idSearchText, search_text_, value);
}
std::string TTextSearchDialog::SearchTextHistory() const {
  return ComboHistoryOr(idSearchText, search_history_);
}
void TTextSearchDialog::SetSearchTextHistory(const std::string& value) {
  SetComboHistory(idSearchText, search_history_, value);
}

// ---- TTextReplaceDialog ----

TTextSearchDialog::TLayout TTextReplaceDialog::Layout() const {
  return {"Replace text", 210, 70, 179};
}

void TTextReplaceDialog::CreateControls() {
  const TLayout layout = Layout();
  HWND label2 = AddDialogControl(hwnd_, "STATIC", "&Replace with:", SS_LEFTNOWORDWRAP | WS_GROUP,
                                 idLabel2, 8, 41, 65, 13);
  if (label2) SetWindowSubclass(label2, NoAcceleratorLabelProc, 0, 0);
  AddWideDialogControl(hwnd_, L"COMBOBOX", kComboStyle, idReplaceText, 96, 37, 228,
                       21 + kComboListHeight);
  AddOptionsAndDirection(layout.options_top);
  AddOkButton(layout.buttons_top);
  AddLabel1();
  AddSearchText();
  AddCancelButton(layout.buttons_top);
}

void TTextReplaceDialog::LoadControls() {
  TTextSearchDialog::LoadControls();
  HWND replace = GetDlgItem(hwnd_, idReplaceText);
  SetComboEntries(replace, replace_history_);
  SetWideControlText(replace, replace_text_);
}

void TTextReplaceDialog::StoreControls() {
  TTextSearchDialog::StoreControls();
  HWND replace = GetDlgItem(hwnd_, idReplaceText);
  replace_text_ = WideControlText(replace);
  replace_history_ = ComboEntries(replace);
}

void TTextReplaceDialog::FormCloseQuery(int result) {
  TTextSearchDialog::FormCloseQuery(result);
  if (result == IDOK) RememberTyped(idReplaceText);
}

std::string TTextReplaceDialog::ReplacementText() const {
  return ComboTextOr(idReplaceText, replace_text_);
}
void TTextReplaceDialog::SetReplacementText(const std::string& value) {
  SetComboText(idReplaceText, replace_text_, value);
}
std::string TTextReplaceDialog::ReplaceTextHistory() const {
  return ComboHistoryOr(idReplaceText, replace_history_);
}
void TTextReplaceDialog::SetReplaceTextHistory(const std::string& value) {
  SetComboHistory(idReplaceText, replace_history_, value);
}

// ---- TWin32SearchDialogs ----

TWin32SearchDialogs::TWin32SearchDialogs(HWND owner, const ICodePage& code_page)
    : owner_(owner), code_page_(code_page) {}

TWin32SearchDialogs::~TWin32SearchDialogs() = default;

bool TWin32SearchDialogs::ShowSearchDialog(bool replace, TSearchDialogValues& values) {
  std::unique_ptr<TTextSearchDialog> dialog =
      replace ? std::make_unique<TTextReplaceDialog>(owner_, code_page_)
              : std::make_unique<TTextSearchDialog>(owner_, code_page_);
  auto* replace_dialog = replace ? static_cast<TTextReplaceDialog*>(dialog.get()) : nullptr;
  // The order the main window has always loaded them in: the search text
  // before the history, so filling the list must keep the text.
  dialog->SetSearchBackwards(values.backwards);
  dialog->SetSearchCaseSensitive(values.case_sensitive);
  dialog->SetSearchFromCursor(values.from_caret);
  dialog->SetSearchInSelectionOnly(values.selected_only);
  dialog->SetSearchRegularExpression(values.regular_expression);
  dialog->SetSearchText(values.search_text);
  dialog->SetSearchTextHistory(values.search_history);
  if (replace_dialog) {
    replace_dialog->SetReplacementText(values.replace_text);
    replace_dialog->SetReplaceTextHistory(values.replace_history);
  }
  dialog->SetSearchWholeWords(values.whole_words);

  if (dialog->ShowModal() != IDOK) return false;

  values.backwards = dialog->SearchBackwards();
  values.case_sensitive = dialog->SearchCaseSensitive();
  values.whole_words = dialog->SearchWholeWords();
  values.from_caret = dialog->SearchFromCursor();
  values.selected_only = dialog->SearchInSelectionOnly();
  values.regular_expression = dialog->SearchRegularExpression();
  values.search_text = dialog->SearchText();
  values.search_history = dialog->SearchTextHistory();
  if (replace_dialog) {
    values.replace_text = replace_dialog->ReplacementText();
    values.replace_history = replace_dialog->ReplaceTextHistory();
  }
  return true;
}

TReplaceAction TWin32SearchDialogs::ConfirmReplace(const TRect& area, int x, int y1, int y2,
                                                   const std::string& search) {
  if (!confirm_ || !confirm_->Exists()) confirm_ = std::make_unique<TConfirmReplaceDialog>(owner_);
  confirm_->PrepareForText(area, x, y1, y2, search);
  return ReplaceActionFromModalResult(confirm_->ShowModal());
}

void TWin32SearchDialogs::ReleaseConfirmDialog() { confirm_.reset(); }

TConfirmReplaceDialog* TWin32SearchDialogs::ConfirmReplaceDialog() const {
  return confirm_ && confirm_->Exists() ? confirm_.get() : nullptr;
}
