#include "win32/MainToolBar.h"

#include <commctrl.h>

#include <vector>

#include "win32/ToolGlyphs.h"

namespace {

constexpr int kButtonWidth = 24;
constexpr int kButtonHeight = 22;
constexpr int kToolBarTop = 4;

HWND MakeChild(const char* cls, const char* text, DWORD style, int x, int y, int w, int h,
               HWND parent, int id, DWORD ex_style = 0) {
  return CreateWindowExA(ex_style, cls, text, WS_CHILD | WS_VISIBLE | style, x, y, w, h, parent,
                         reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                         GetModuleHandleA(nullptr), nullptr);
}

}  // namespace

TMainToolBar::~TMainToolBar() {
  if (images_) ImageList_Destroy(images_);
}

void TMainToolBar::Create(HWND parent, int id) {
  toolbar_ = MakeChild(TOOLBARCLASSNAMEA, "",
                       TBSTYLE_FLAT | TBSTYLE_TOOLTIPS | CCS_NORESIZE | CCS_NOPARENTALIGN |
                           CCS_NODIVIDER,
                       0, kToolBarTop, 400, kButtonHeight + 2, parent, id);
  SendMessageA(toolbar_, TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON), 0);
  images_ = CreateToolGlyphs();
  SendMessageA(toolbar_, TB_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(images_));
  SendMessageA(toolbar_, TB_SETBUTTONSIZE, 0, MAKELPARAM(kButtonWidth, kButtonHeight));

  // Buttons sit at fixed x positions; separators fill the gaps between groups.
  std::vector<TBBUTTON> buttons;
  int x = 3;
  SendMessageA(toolbar_, TB_SETINDENT, x, 0);
  for (const auto& def : ToolButtonDefs()) {
    if (def.x > x) {
      TBBUTTON gap{};
      gap.iBitmap = def.x - x;
      gap.fsStyle = BTNS_SEP;
      buttons.push_back(gap);
    }
    TBBUTTON b{};
    b.iBitmap = ToolGlyphIndex(def.id);
    b.idCommand = def.id;
    b.fsState = 0;  // every button starts disabled; the command state enables them
    b.fsStyle = def.toggle ? BTNS_CHECK : BTNS_BUTTON;
    buttons.push_back(b);
    tips_[def.id] = def.tip;
    x = def.x + kButtonWidth;
  }
  SendMessageA(toolbar_, TB_ADDBUTTONSA, buttons.size(), reinterpret_cast<LPARAM>(buttons.data()));
  SendMessageA(toolbar_, TB_ENABLEBUTTON, cmOpen, TRUE);
  SendMessageA(toolbar_, TB_ENABLEBUTTON, cmSaveAs, TRUE);
  SendMessageA(toolbar_, TB_ENABLEBUTTON, cmShowSpecial, TRUE);

  // Caption buttons and edit boxes for the macro parameters.
  HFONT font = static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
  btn_param2_ = MakeChild("BUTTON", "Param2:", BS_PUSHBUTTON | BS_FLAT, 408, 5, 49, 20, parent,
                          cmParam2);
  ed_param2_ = MakeChild("EDIT", "", ES_AUTOHSCROLL, 408 + 49 + 2, 5, 50, 18, parent, 0,
                         WS_EX_CLIENTEDGE);
  const int param3_x = 408 + 49 + 2 + 50 + 12;
  btn_param3_ = MakeChild("BUTTON", "Param3:", BS_PUSHBUTTON | BS_FLAT, param3_x, 5, 49, 20,
                          parent, cmParam3);
  ed_param3_ = MakeChild("EDIT", "", ES_AUTOHSCROLL, param3_x + 49 + 2, 5, 50, 18, parent, 0,
                         WS_EX_CLIENTEDGE);
  for (HWND w : {btn_param2_, btn_param3_, ed_param2_, ed_param3_})
    SendMessageA(w, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
}

void TMainToolBar::SetEnabled(TCommandId id, bool enabled) {
  if (Enabled(id) != enabled) SendMessageA(toolbar_, TB_ENABLEBUTTON, id, enabled ? TRUE : FALSE);
}

bool TMainToolBar::Enabled(TCommandId id) const {
  return SendMessageA(toolbar_, TB_ISBUTTONENABLED, id, 0) != 0;
}

void TMainToolBar::SetChecked(TCommandId id, bool checked) {
  if (Checked(id) != checked) SendMessageA(toolbar_, TB_CHECKBUTTON, id, checked ? TRUE : FALSE);
}

bool TMainToolBar::Checked(TCommandId id) const {
  return SendMessageA(toolbar_, TB_ISBUTTONCHECKED, id, 0) != 0;
}

void TMainToolBar::SetTip(TCommandId id, const std::string& tip) {
  if (id > cmNone && id <= cmParam3) tips_[id] = tip;
}

std::string TMainToolBar::Tip(TCommandId id) const {
  return id > cmNone && id <= cmParam3 ? tips_[id] : std::string();
}

bool TMainToolBar::HandleNotify(NMHDR* header) {
  if (header->code != TTN_GETDISPINFOA) return false;
  auto* info = reinterpret_cast<NMTTDISPINFOA*>(header);
  const auto id = static_cast<TCommandId>(header->idFrom);
  if (id <= cmNone || id > cmParam3) return false;
  info->lpszText = const_cast<char*>(tips_[id].c_str());
  info->hinst = nullptr;
  return true;
}

void TMainToolBar::PaintStrip(HDC dc, int width) const {
  RECT r{0, 0, width, kStripHeight};
  DrawEdge(dc, &r, EDGE_ETCHED, BF_TOP | BF_BOTTOM);
}

std::string TMainToolBar::ParamText(int which) const {
  HWND edit = ParamEdit(which);
  std::string text(static_cast<std::size_t>(GetWindowTextLengthA(edit)) + 1, '\0');
  text.resize(static_cast<std::size_t>(GetWindowTextA(edit, text.data(), static_cast<int>(text.size()))));
  return text;
}

void TMainToolBar::SetParamText(int which, const std::string& text) {
  SetWindowTextA(ParamEdit(which), text.c_str());
}
