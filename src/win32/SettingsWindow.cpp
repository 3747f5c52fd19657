#include "win32/SettingsWindow.h"

#include <shlobj.h>

#include "app/SettingsStore.h"
#include "language/TtlHighlighter.h"
#include "platform/ProgramDir.h"
#include "platform/Registry.h"
#include "win32/EditorWindow.h"
#include "win32/PixelDialog.h"
#include "win32/SettingsCommonDialogs.h"
#include "win32/Win32Dpi.h"

namespace {

constexpr char kCaption[] = "Quillonar Settings";
constexpr int kClientWidth = 681;
constexpr int kClientHeight = 357;

constexpr char kResetQuestion[] =
    "Are you sure you want to reset all colors and styles to their default values?";

// The preview's fixed text; the fourth line starts with a tab.
constexpr char kPreviewText[] =
    "; Teraterm Macro language sample code\r\n"
    "wait \"yes/no\" \"assword:\"\r\n"
    "if result = 2\r\n"
    "\tgoto pswd\r\n"
    "sendln 'yes'\r\n"
    "wait 'assword:'\r\n"
    ":pswd";
// The line break after the fourth line and the whole fifth line.
constexpr int kDemoSelectionStart = 90;
constexpr int kDemoSelectionLength = 14;

constexpr const char* kElementNames[] = {"Reserved word",
                                         "Identifier",
                                         "String",
                                         "WhiteSpace",
                                         "Label",
                                         "System variable",
                                         "Comment",
                                         "Operation",
                                         "Selected color foreground",
                                         "Selected color background",
                                         "Active line color",
                                         "Background color"};

constexpr char kTemplateFilter[] = "Template files (*.tpl)|*.tpl|All files (*.*)|*.*";

bool IsAttributeElement(int element) {
  return element >= TfrmSettings::elReservedWord && element <= TfrmSettings::elOperation;
}

TFontStyles StyleBitOf(int box_id) {
  switch (box_id) {
    case TfrmSettings::idBold:
      return fsBold;
    case TfrmSettings::idItalic:
      return fsItalic;
    default:
      return fsUnderline;
  }
}

// Centred on the work area of the screen the window is on.
void CentreOnScreen(HWND hwnd) {
  MONITORINFO info{};
  info.cbSize = sizeof(info);
  GetMonitorInfoA(MonitorFromWindow(hwnd, MONITOR_DEFAULTTOPRIMARY), &info);
  RECT me{};
  GetWindowRect(hwnd, &me);
  const RECT& work = info.rcWork;
  const int left = work.left + ((work.right - work.left) - (me.right - me.left)) / 2;
  const int top = work.top + ((work.bottom - work.top) - (me.bottom - me.top)) / 2;
  SetWindowPos(hwnd, nullptr, left, top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

}  // namespace

TfrmSettings::TfrmSettings(const TSettingsWindowServices& services)
    : services_(services),
      ttm_(*services.preview_highlighter),
      association_(
          *services.registry, services.associations_changed ? services.associations_changed : [] {
            SHChangeNotify(SHCNE_ASSOCCHANGED, SHCNF_IDLIST, nullptr, nullptr);
          }) {
  ColorDialog = [this](TColor initial) { return RunColorDialog(hwnd_, initial); };
  FontDialog = [this](const TFontChoice& initial) { return RunFontDialog(hwnd_, initial); };
  std::vector<WORD> dialog_template = PixelDialogTemplate(kCaption, false);
  // A tool-window frame (only a close box) that stays on top: the extended
  // style is the template's second double word.
  const DWORD ex_style =
      MAKELONG(dialog_template[2], dialog_template[3]) | WS_EX_TOOLWINDOW | WS_EX_TOPMOST;
  dialog_template[2] = LOWORD(ex_style);
  dialog_template[3] = HIWORD(ex_style);
  CreateDialogIndirectParamA(GetModuleHandleA(nullptr),
                             reinterpret_cast<LPCDLGTEMPLATEA>(dialog_template.data()),
                             services_.owner, DialogProc, reinterpret_cast<LPARAM>(this));
}

TfrmSettings::~TfrmSettings() {
  if (hwnd_) DestroyWindow(hwnd_);  // stores the settings on the way
  memo3_.SetHighlighter(nullptr);
}

INT_PTR CALLBACK TfrmSettings::DialogProc(HWND hwnd, UINT msg, WPARAM wparam, LPARAM lparam) {
  if (msg == WM_INITDIALOG) {
    auto* self = reinterpret_cast<TfrmSettings*>(lparam);
    SetWindowLongPtrA(hwnd, DWLP_USER, lparam);
    self->hwnd_ = hwnd;
    self->FormCreate();
    return FALSE;
  }
  auto* self = reinterpret_cast<TfrmSettings*>(GetWindowLongPtrA(hwnd, DWLP_USER));
  if (!self) return FALSE;
  if (msg == WM_NCDESTROY) {
    self->hwnd_ = nullptr;
    self->memo3_window_ = nullptr;
    SetWindowLongPtrA(hwnd, DWLP_USER, 0);
    return FALSE;
  }
  return self->HandleMessage(msg, wparam, lparam);
}

INT_PTR TfrmSettings::HandleMessage(UINT msg, WPARAM wparam, LPARAM lparam) {
  switch (msg) {
    case WM_COMMAND:
      // An error cannot pass through the window system: it is shown in the
      // error box and the program carries on.
      try {
        OnCommand(LOWORD(wparam), HIWORD(wparam), reinterpret_cast<HWND>(lparam));
      } catch (const std::exception& e) {
        services_.prompts->Message(e.what(), "Error", TMessageKind::Error, TMessageButtons::Ok);
      }
      return TRUE;
    case WM_CLOSE:
      Close(IDCANCEL);
      return TRUE;
    case WM_DESTROY:
      // Also when the window goes with its owner: the controls still exist.
      SaveOnDestroy();
      return FALSE;
    default:
      return FALSE;
  }
}

void TfrmSettings::FormCreate() {
  SetDialogClientSize(hwnd_, kClientWidth, kClientHeight);
  SetWindowPos(hwnd_, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  CentreOnScreen(hwnd_);
  CreateControls();
  SetUpPreview();
  HWND tab_width = Item(idTabWidth);
  for (int i = 0; i < kTabWidthCount; ++i) {
    const std::string entry = std::to_string(i + 2);
    SendMessageA(tab_width, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(entry.c_str()));
  }
  LoadSettings();
  ElementsClick();
  const bool associated = association_.IsAssociated("ttl", services_.exe_path);
  SetChecked(idAssociate, associated);
  EnableWindow(Item(idAssociate), association_.AssociationState() == TFileAssociation::asAllowed);
  SelectDemonstrationRange();
  EnableApply(false);
}

void TfrmSettings::CreateControls() {
  const auto add = [this](const char* cls, const char* text, DWORD style, int id, int x, int y,
                          int w, int h) {
    return AddDialogControl(hwnd_, cls, text, style, id, x, y, w, h);
  };
  // Tab order follows creation order.
  add("BUTTON", " Syntax Highlighter settings: ", BS_GROUPBOX, idHighlighterGroup, 8, 4, 425, 345);
  add("BUTTON", " Elements: ", BS_GROUPBOX, idElementsGroup, 16, 20, 170, 182);
  HWND elements = add("LISTBOX", "", LBS_NOTIFY | WS_VSCROLL | WS_BORDER | WS_TABSTOP | WS_GROUP,
                      idElements, 24, 38, 154, 158);
  for (const char* name : kElementNames) {
    SendMessageA(elements, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(name));
  }
  add("BUTTON", " Text attribute: ", BS_GROUPBOX, idTextAttributeGroup, 16, 204, 170, 76);
  add("BUTTON", "&Bold", BS_AUTOCHECKBOX | WS_TABSTOP | WS_GROUP, idBold, 28, 220, 140, 17);
  add("BUTTON", "&Italic", BS_AUTOCHECKBOX | WS_TABSTOP, idItalic, 28, 239, 140, 17);
  add("BUTTON", "&Underline", BS_AUTOCHECKBOX | WS_TABSTOP, idUnderline, 28, 258, 140, 17);
  add("BUTTON", "&Change Color...", BS_PUSHBUTTON | WS_TABSTOP | WS_GROUP, idChangeColor, 16, 288,
      170, 25);
  add("BUTTON", "&Reset to defaults", BS_PUSHBUTTON | WS_TABSTOP, idReset, 16, 318, 170, 25);
  memo3_window_ = TEditorWindow::Create(hwnd_, idMemo3, memo3_);
  TEditorWindow::SetDpi(memo3_window_, WindowDpi(hwnd_));
  // The preview is looked at, not typed into: Tab passes it by.
  SetWindowLongPtrA(
      memo3_window_, GWL_STYLE,
      GetWindowLongPtrA(memo3_window_, GWL_STYLE) & ~static_cast<LONG_PTR>(WS_TABSTOP));
  SetWindowPos(memo3_window_, nullptr, ScaleToWindow(hwnd_, 194), ScaleToWindow(hwnd_, 24), ScaleToWindow(hwnd_, 231),
               ScaleToWindow(hwnd_, 260), SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
  add("BUTTON", "Show special characters", BS_AUTOCHECKBOX | WS_TABSTOP | WS_GROUP, idShowSpecial,
      194, 292, 231, 17);
  add("BUTTON", "Change &Font...", BS_PUSHBUTTON | WS_TABSTOP | WS_GROUP, idChangeFont, 194, 318,
      120, 25);

  add("BUTTON", "Tabulation settings: ", BS_GROUPBOX, idTabulationGroup, 441, 4, 232, 98);
  add("BUTTON", "Replace TABs with spaces", BS_AUTOCHECKBOX | WS_TABSTOP | WS_GROUP, idTabsToSpaces,
      453, 22, 210, 17);
  add("BUTTON", "Smart TABs", BS_AUTOCHECKBOX | WS_TABSTOP, idSmartTabs, 453, 44, 210, 17);
  add("STATIC", "TAB width", SS_LEFT, idTabWidthLabel, 453, 72, 60, 15);
  add("COMBOBOX", "", CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP | WS_GROUP, idTabWidth, 520, 68,
      60, 200);

  add("BUTTON", "Templates:", BS_GROUPBOX, idTemplatesGroup, 441, 108, 232, 92);
  add("STATIC", "File with Macro Templates:", SS_LEFT, idTemplateLabel, 453, 126, 208, 15);
  // A path may hold any character.
  AddWideDialogControl(hwnd_, L"EDIT", ES_AUTOHSCROLL | WS_BORDER | WS_TABSTOP | WS_GROUP,
                       idTemplatePath, 453, 144, 208, 21);
  add("BUTTON", "Browse...", BS_PUSHBUTTON | WS_TABSTOP, idBrowse, 586, 170, 75, 25);

  add("BUTTON", "Associate extention TTL with Quillonar", BS_AUTOCHECKBOX | WS_TABSTOP | WS_GROUP,
      idAssociate, 441, 212, 232, 17);
  add("BUTTON", "Check macros while typing", BS_AUTOCHECKBOX | WS_TABSTOP | WS_GROUP,
      idCheckMacros, 441, 234, 232, 17);

  add("BUTTON", "Cancel", BS_PUSHBUTTON | WS_TABSTOP | WS_GROUP, IDCANCEL, 441, 324, 72, 25);
  add("BUTTON", "Apply", BS_PUSHBUTTON | WS_TABSTOP, idApply, 521, 324, 72, 25);
  add("BUTTON", "OK", BS_DEFPUSHBUTTON | WS_TABSTOP, IDOK, 601, 324, 72, 25);
  SendMessageA(hwnd_, DM_SETDEFID, IDOK, 0);
}

void TfrmSettings::SetUpPreview() {
  memo3_.SetHighlighter(&ttm_);
  TFont font;
  font.Name = "Courier New";
  font.SetSize(9);
  memo3_.SetFont(font);
  TGutter& gutter = memo3_.Gutter();
  gutter.SetShowLineNumbers(true);
  gutter.SetDigitCount(2);
  gutter.SetAutoSize(true);
  TFont gutter_font;
  gutter_font.Name = "Courier New";
  gutter_font.SetSize(8);
  gutter.SetFont(gutter_font);
  memo3_.SetActiveLineColor(clYellow);
  memo3_.SetTabWidth(4);
  memo3_.SetWantTabs(true);
  memo3_.SetRightEdge(0);
  memo3_.SetOptions(TEditorOptions{eoAltSetsColumnMode, eoAutoIndent, eoAutoSizeMaxScrollWidth,
                                   eoDragDropEditing, eoEnhanceHomeKey, eoEnhanceEndKey,
                                   eoGroupUndo, eoHideShowScrollbars, eoKeepCaretX, eoNoCaret,
                                   eoShowScrollHint, eoSmartTabs, eoTabIndent});
  memo3_.SetText(kPreviewText);
  memo3_.SetReadOnly(true);
}

// ---- the settings store

TSettingsEditors TfrmSettings::Editors() {
  return {memo3_, ttm_, *services_.main_editor, *services_.main_highlighter};
}

TEditorSettings TfrmSettings::HeldSettings() {
  TEditorSettings s;
  s.template_file = TemplatePath();
  s.print_preview_scale = print_preview_scale_;
  s.tabs_to_spaces = Checked(idTabsToSpaces);
  s.smart_tabs = Checked(idSmartTabs);
  s.show_special = Checked(idShowSpecial);
  s.tab_width_index = static_cast<int>(SendMessageA(Item(idTabWidth), CB_GETCURSEL, 0, 0));
  s.scp_width = SCPWidth();
  s.check_macros = Checked(idCheckMacros);
  s.last_ttl_file = services_.CurrentFileName ? services_.CurrentFileName() : std::string();
  return s;
}

void TfrmSettings::ShowSettings(const TEditorSettings& s) {
  SetTemplatePath(s.template_file);
  print_preview_scale_ = s.print_preview_scale;
  SetChecked(idTabsToSpaces, s.tabs_to_spaces);
  SetChecked(idSmartTabs, s.smart_tabs);
  SetChecked(idShowSpecial, s.show_special);
  SendMessageA(Item(idTabWidth), CB_SETCURSEL, static_cast<WPARAM>(s.tab_width_index), 0);
  scp_width_ = s.scp_width;
  SetChecked(idCheckMacros, s.check_macros);
  if (services_.SetSCPWidth) services_.SetSCPWidth(s.scp_width);
}

void TfrmSettings::LoadSettings() {
  const std::string default_template = JoinProgramDir(services_.program_dir, "ttmacro.tpl");
  TEditorSettings defaults = DefaultEditorSettings(default_template, Checked(idShowSpecial));
  SendMessageA(Item(idElements), LB_SETCURSEL, 0, 0);
  const TEditorSettings settings =
      LoadEditorSettings(*services_.registry, Editors(), defaults, [this](bool on) {
        if (services_.OnShowSpecialState) services_.OnShowSpecialState(on);
      });
  ShowSettings(settings);
  // The boxes show the element the list now shows.
  ElementsClick();
  if (services_.OnShowSpecialState) services_.OnShowSpecialState(settings.show_special);
  if (services_.OnCheckMacros) services_.OnCheckMacros(settings.check_macros);
}

void TfrmSettings::SaveSettings() {
  if (!hwnd_) return;
  SaveEditorSettings(*services_.registry, Editors(), HeldSettings());
}

void TfrmSettings::ApplySettingsToEditor() {
  ::ApplySettingsToEditor(memo3_, *services_.main_editor);
  if (services_.OnShowSpecialState) services_.OnShowSpecialState(Checked(idShowSpecial));
  if (services_.OnCheckMacros) services_.OnCheckMacros(Checked(idCheckMacros));
}

void TfrmSettings::SaveOnDestroy() {
  if (saved_on_destroy_) return;
  saved_on_destroy_ = true;
  // Nothing may escape a window being destroyed; a refused value is skipped
  // like any other the store refuses.
  try {
    SaveSettings();
  } catch (const std::exception&) {
  }
}

// ---- showing

int TfrmSettings::Execute(bool show_special_down) {
  if (!hwnd_) return IDCANCEL;
  EnableApply(false);
  SetChecked(idShowSpecial, show_special_down);
  OptionBoxClick(idShowSpecial);
  LoadSettings();
  EnableApply(false);
  return ShowModal();
}

int TfrmSettings::ShowModal() {
  if (!hwnd_) return IDCANCEL;
  HWND owner = GetWindow(hwnd_, GW_OWNER);
  HWND focus = GetFocus();
  const bool disable_owner = owner && IsWindowEnabled(owner);
  if (disable_owner) EnableWindow(owner, FALSE);
  EnableApply(false);
  modal_result_ = 0;
  ShowWindow(hwnd_, SW_SHOW);
  SendMessageA(hwnd_, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(Item(idElements)), TRUE);
  MSG msg;
  while (hwnd_ && modal_result_ == 0) {
    // Wide, for the template path's box, which takes any character.
    const BOOL got = GetMessageW(&msg, nullptr, 0, 0);
    if (got == 0) {
      PostQuitMessage(static_cast<int>(msg.wParam));  // for the program's own loop
      break;
    }
    if (got == -1) break;
    if (!IsDialogMessageW(hwnd_, &msg)) {
      TranslateMessage(&msg);
      DispatchMessageW(&msg);
    }
  }
  const int result = modal_result_ == IDOK ? IDOK : IDCANCEL;
  modal_result_ = 0;
  if (disable_owner && IsWindow(owner)) EnableWindow(owner, TRUE);
  if (hwnd_) ShowWindow(hwnd_, SW_HIDE);
  if (focus && IsWindow(focus)) SetFocus(focus);
  return result;
}

void TfrmSettings::Close(int result) {
  modal_result_ = result;
  // Shown without the modal loop (never by the program): just hide.
  if (hwnd_ && IsWindowVisible(hwnd_)) ShowWindow(hwnd_, SW_HIDE);
}

// ---- values

std::string TfrmSettings::TemplatePath() const {
  return hwnd_ ? WideControlText(Item(idTemplatePath)) : std::string();
}

void TfrmSettings::SetTemplatePath(const std::string& path) {
  SetWideControlText(Item(idTemplatePath), path);
}

bool TfrmSettings::ShowSpecialChecked() const { return Checked(idShowSpecial); }

void TfrmSettings::SetShowSpecialChecked(bool on) {
  SetChecked(idShowSpecial, on);
  // The preview keeps showing no caret whatever the main editor shows.
  TEditorOptions options = services_.main_editor->Options() + TEditorOptions{eoNoCaret};
  memo3_.SetOptions(on ? options + TEditorOptions{eoShowSpecialChars}
                       : options - TEditorOptions{eoShowSpecialChars});
}

int TfrmSettings::SCPWidth() const {
  return services_.GetSCPWidth ? services_.GetSCPWidth() : scp_width_;
}

bool TfrmSettings::ApplyEnabled() const { return hwnd_ && IsWindowEnabled(Item(idApply)); }

bool TfrmSettings::Checked(int id) const {
  return hwnd_ && SendMessageA(Item(id), BM_GETCHECK, 0, 0) == BST_CHECKED;
}

void TfrmSettings::SetChecked(int id, bool on) {
  SendMessageA(Item(id), BM_SETCHECK, on ? BST_CHECKED : BST_UNCHECKED, 0);
}

void TfrmSettings::EnableApply(bool on) { EnableWindow(Item(idApply), on ? TRUE : FALSE); }

// ---- the controls

void TfrmSettings::OnCommand(int id, int code, HWND control) {
  switch (id) {
    case idElements:
      if (code == LBN_SELCHANGE) ElementsClick();
      return;
    case idBold:
    case idItalic:
    case idUnderline:
      if (code == BN_CLICKED) StyleBoxClick(id, control);
      return;
    case idChangeColor:
      if (code == BN_CLICKED) btnChangeColorClick();
      return;
    case idReset:
      if (code == BN_CLICKED) btnResetClick();
      return;
    case idChangeFont:
      if (code == BN_CLICKED) btnChangeFontClick();
      return;
    case idShowSpecial:
    case idTabsToSpaces:
    case idSmartTabs:
      if (code == BN_CLICKED) OptionBoxClick(id);
      return;
    case idAssociate:
    case idCheckMacros:
      if (code == BN_CLICKED) EnableApply(true);
      return;
    case idTabWidth:
      if (code == CBN_SELCHANGE) TabWidthChange();
      return;
    case idTemplatePath:
      if (code == EN_CHANGE) EnableApply(true);
      return;
    case idBrowse:
      if (code == BN_CLICKED) btnBrowseClick();
      return;
    case idApply:
      if (code == BN_CLICKED) btnApplyClick();
      return;
    case IDOK:
      btnApplyClick();
      Close(IDOK);
      return;
    case IDCANCEL:
      Close(IDCANCEL);
      return;
    default:
      return;
  }
}

TfrmSettings::TElement TfrmSettings::SelectedElement() const {
  const LRESULT index = SendMessageA(Item(idElements), LB_GETCURSEL, 0, 0);
  if (index < 0 || index >= kElementCount) return elReservedWord;
  return static_cast<TElement>(index);
}

THighlighterAttributes* TfrmSettings::ElementAttribute(int element) const {
  switch (element) {
    case elReservedWord:
      return ttm_.KeyAttri();
    case elIdentifier:
      return ttm_.IdentifierAttri();
    case elString:
      return ttm_.StringAttri();
    case elWhiteSpace:
      return ttm_.SpaceAttri();
    case elLabel:
      return ttm_.LabelsAttri();
    case elSystemVariable:
      return ttm_.SysVarsAttri();
    case elComment:
      return ttm_.CommentAttri();
    case elOperation:
      return ttm_.SymbolAttri();
    default:
      return nullptr;
  }
}

TColor TfrmSettings::ElementColor(int element) {
  switch (element) {
    case elSelectedForeground:
      return memo3_.SelectedColor().Foreground();
    case elSelectedBackground:
      return memo3_.SelectedColor().Background();
    case elActiveLine:
      return memo3_.ActiveLineColor();
    case elBackground:
      return ttm_.SpaceAttri()->Background();
    default: {
      THighlighterAttributes* attribute = ElementAttribute(element);
      return attribute ? attribute->Foreground() : clNone;
    }
  }
}

void TfrmSettings::SetElementColor(int element, TColor color) {
  switch (element) {
    case elSelectedForeground:
      memo3_.SelectedColor().SetForeground(color);
      return;
    case elSelectedBackground:
      memo3_.SelectedColor().SetBackground(color);
      return;
    case elActiveLine:
      memo3_.SetActiveLineColor(color);
      return;
    case elBackground:
      ttm_.SpaceAttri()->SetBackground(color);
      return;
    default:
      if (THighlighterAttributes* attribute = ElementAttribute(element)) {
        attribute->SetForeground(color);
      }
      return;
  }
}

void TfrmSettings::ElementsClick() {
  const TElement element = SelectedElement();
  const bool attribute_element = IsAttributeElement(element);
  const TFontStyles style = attribute_element ? ElementAttribute(element)->Style() : 0;
  for (int id : {idBold, idItalic, idUnderline}) {
    EnableWindow(Item(id), attribute_element ? TRUE : FALSE);
    SetChecked(id, (style & StyleBitOf(id)) != 0);
  }
  EnableWindow(Item(idChangeColor), element != elWhiteSpace ? TRUE : FALSE);
}

void TfrmSettings::StyleBoxClick(int id, HWND box) {
  // Only the user's own click counts as an edit.
  if (GetFocus() == box) EnableApply(true);
  THighlighterAttributes* attribute = ElementAttribute(SelectedElement());
  if (!attribute) return;
  const TFontStyles bit = StyleBitOf(id);
  const TFontStyles style = Checked(id) ? static_cast<TFontStyles>(attribute->Style() | bit)
                                        : static_cast<TFontStyles>(attribute->Style() & ~bit);
  attribute->SetStyle(style);
}

void TfrmSettings::btnChangeColorClick() {
  const TElement element = SelectedElement();
  if (element == elWhiteSpace || !ColorDialog) return;
  const std::optional<TColor> chosen = ColorDialog(ElementColor(element));
  if (!chosen) return;
  EnableApply(true);
  SetElementColor(element, *chosen);
}

void TfrmSettings::btnResetClick() {
  const int answer = services_.prompts->Message(kResetQuestion, kCaption, TMessageKind::Question,
                                                TMessageButtons::YesNo);
  if (answer == mrYes) {
    struct Default {
      THighlighterAttributes* attribute;
      TColor foreground;
      TFontStyles style;
    };
    const Default defaults[] = {
        {ttm_.CommentAttri(), Rgb(0, 128, 0), fsItalic},
        {ttm_.IdentifierAttri(), Rgb(0, 128, 128), 0},
        {ttm_.KeyAttri(), Rgb(0, 0, 128), fsBold},
        {ttm_.LabelsAttri(), Rgb(0, 0, 255), 0},
        {ttm_.SpaceAttri(), clNone, 0},
        {ttm_.StringAttri(), Rgb(128, 0, 128), 0},
        {ttm_.SymbolAttri(), Rgb(255, 0, 255), fsBold},
        {ttm_.SysVarsAttri(), Rgb(128, 128, 0), 0},
    };
    for (const Default& d : defaults) {
      d.attribute->SetForeground(d.foreground);
      d.attribute->SetStyle(d.style);
    }
    memo3_.SelectedColor().SetForeground(clHighlightText);
    memo3_.SelectedColor().SetBackground(clHighlight);
    memo3_.SetActiveLineColor(clYellow);
    ttm_.SpaceAttri()->SetBackground(clWindow);
  }
  SelectDemonstrationRange();
  SendMessageA(Item(idElements), LB_SETCURSEL, 0, 0);
  ElementsClick();
}

void TfrmSettings::btnChangeFontClick() {
  if (!FontDialog) return;
  const std::optional<TFontChoice> chosen = FontDialog({memo3_.Font(), memo3_.Font().CharSet});
  if (!chosen) return;
  TFont font = chosen->font;
  font.CharSet = chosen->charset;
  memo3_.SetFont(font);
  EnableApply(true);
}

void TfrmSettings::OptionBoxClick(int id) {
  const TEditorOption option = id == idShowSpecial ? eoShowSpecialChars
                               : id == idSmartTabs ? eoSmartTabs
                                                   : eoTabsToSpaces;
  const TEditorOptions options = memo3_.Options();
  memo3_.SetOptions(Checked(id) ? options + TEditorOptions{option}
                                : options - TEditorOptions{option});
  EnableApply(true);
}

void TfrmSettings::TabWidthChange() {
  const LRESULT index = SendMessageA(Item(idTabWidth), CB_GETCURSEL, 0, 0);
  memo3_.SetTabWidth(index < 0 ? 0 : static_cast<int>(index) + 2);
  EnableApply(true);
}

void TfrmSettings::btnBrowseClick() {
  TFileDialogOptions options;
  options.default_ext = "tpl";
  options.filter = kTemplateFilter;
  options.file_name = TemplatePath();
  if (const auto path = services_.prompts->OpenFile(options)) SetTemplatePath(*path);
}

void TfrmSettings::btnApplyClick() {
  HCURSOR previous = SetCursor(LoadCursor(nullptr, IDC_WAIT));
  // The cursor comes back also when a step raises.
  struct RestoreCursor {
    HCURSOR cursor;
    ~RestoreCursor() { SetCursor(cursor); }
  } restore{previous};
  ApplySettingsToEditor();
  SaveSettings();
  if (services_.OnApplied) services_.OnApplied();
  EnableApply(false);
  const bool wanted = Checked(idAssociate);
  if (wanted != association_.IsAssociated("ttl", services_.exe_path)) {
    if (wanted) {
      association_.AssociateExtension("ttl", services_.exe_path);
    } else {
      association_.RemoveAssociation("ttl");
    }
  }
}

void TfrmSettings::SelectDemonstrationRange() {
  memo3_.SetSelStart(kDemoSelectionStart);
  memo3_.SetSelLength(kDemoSelectionLength);
}
