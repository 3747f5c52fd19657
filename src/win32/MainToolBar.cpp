#include "win32/MainToolBar.h"

#include <commctrl.h>

#include <vector>

#include "win32/PixelDialog.h"
#include "win32/ToolGlyphs.h"
#include "win32/WideString.h"
#include "win32/Win32Dpi.h"

namespace {

// The strip at 96 dpi, in pixels.
constexpr int kButtonWidth = 24;
constexpr int kButtonHeight = 22;
constexpr int kGlyphSize = 16;
constexpr int kToolBarTop = 4;
constexpr int kFirstButtonX = 3;
constexpr int kParamButtonX = 408;
constexpr int kParamButtonWidth = 49;
constexpr int kParamEditWidth = 50;
constexpr int kToolBarWidth = 400;

// Unicode windows, so the parameter boxes take any character.
HWND MakeChild(const wchar_t* cls, const wchar_t* text, DWORD style, int x, int y, int w, int h,
               HWND parent, int id, DWORD ex_style = 0) {
  return CreateWindowExW(ex_style, cls, text, WS_CHILD | WS_VISIBLE | style, x, y, w, h, parent,
                         reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                         GetModuleHandleW(nullptr), nullptr);
}

}  // namespace

TMainToolBar::~TMainToolBar() {
  if (images_) ImageList_Destroy(images_);
  if (font_) DeleteObject(font_);
}

void TMainToolBar::Create(HWND parent, int id, int dpi) {
  dpi_ = dpi;
  toolbar_ = MakeChild(TOOLBARCLASSNAMEW, L"",
                       TBSTYLE_FLAT | TBSTYLE_TOOLTIPS | CCS_NORESIZE | CCS_NOPARENTALIGN |
                           CCS_NODIVIDER,
                       0, 0, 0, 0, parent, id);
  SendMessageA(toolbar_, TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON), 0);

  // Buttons sit at fixed x positions; separators fill the gaps between groups
  // (their widths are set by Place).
  std::vector<TBBUTTON> buttons;
  int x = kFirstButtonX;
  for (const auto& def : ToolButtonDefs()) {
    if (def.x > x) {
      TBBUTTON gap{};
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
  btn_param2_ =
      MakeChild(L"BUTTON", L"Param2:", BS_PUSHBUTTON | BS_FLAT, 0, 0, 0, 0, parent, cmParam2);
  ed_param2_ = MakeChild(L"EDIT", L"", ES_AUTOHSCROLL, 0, 0, 0, 0, parent, 0, WS_EX_CLIENTEDGE);
  btn_param3_ =
      MakeChild(L"BUTTON", L"Param3:", BS_PUSHBUTTON | BS_FLAT, 0, 0, 0, 0, parent, cmParam3);
  ed_param3_ = MakeChild(L"EDIT", L"", ES_AUTOHSCROLL, 0, 0, 0, 0, parent, 0, WS_EX_CLIENTEDGE);
  Place();
}

void TMainToolBar::SetDpi(int dpi) {
  if (dpi == dpi_) return;
  dpi_ = dpi;
  Place();
}

int TMainToolBar::StripHeight() const { return ScaleForDpi(kStripHeight, dpi_); }

void TMainToolBar::Place() {
  const TDpiScale s{dpi_};
  HIMAGELIST old_images = images_;
  images_ = CreateToolGlyphs(s(kGlyphSize));
  SendMessageA(toolbar_, TB_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(images_));
  if (old_images) ImageList_Destroy(old_images);
  SendMessageA(toolbar_, TB_SETBITMAPSIZE, 0, MAKELPARAM(s(kGlyphSize), s(kGlyphSize)));
  SendMessageA(toolbar_, TB_SETBUTTONSIZE, 0, MAKELPARAM(s(kButtonWidth), s(kButtonHeight)));
  SendMessageA(toolbar_, TB_SETINDENT, s(kFirstButtonX), 0);
  // Each gap reaches from the end of the button before it to the next
  // button's x, both scaled, so the groups keep their places.
  int x = kFirstButtonX;
  for (const auto& def : ToolButtonDefs()) {
    if (def.x > x) {
      const WPARAM gap = static_cast<WPARAM>(SendMessageA(toolbar_, TB_COMMANDTOINDEX, def.id, 0) - 1);
      TBBUTTONINFOA info{};
      info.cbSize = sizeof info;
      info.dwMask = TBIF_SIZE | TBIF_BYINDEX;
      info.cx = static_cast<WORD>(s(def.x) - s(x));
      SendMessageA(toolbar_, TB_SETBUTTONINFOA, gap, reinterpret_cast<LPARAM>(&info));
    }
    x = def.x + kButtonWidth;
  }
  MoveWindow(toolbar_, 0, s(kToolBarTop), s(kToolBarWidth), s(kButtonHeight + 2), TRUE);

  const int param3_x = kParamButtonX + kParamButtonWidth + 2 + kParamEditWidth + 12;
  MoveWindow(btn_param2_, s(kParamButtonX), s(5), s(kParamButtonWidth), s(20), TRUE);
  MoveWindow(ed_param2_, s(kParamButtonX + kParamButtonWidth + 2), s(5), s(kParamEditWidth), s(18),
             TRUE);
  MoveWindow(btn_param3_, s(param3_x), s(5), s(kParamButtonWidth), s(20), TRUE);
  MoveWindow(ed_param3_, s(param3_x + kParamButtonWidth + 2), s(5), s(kParamEditWidth), s(18), TRUE);

  // The stock font is made for 96 dpi; other screens get the same 8 points.
  HFONT old_font = font_;
  font_ = dpi_ == kDesignDpi ? nullptr : CreatePixelFont("MS Shell Dlg", -11, dpi_);
  HFONT font = font_ ? font_ : static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
  for (HWND w : {btn_param2_, btn_param3_, ed_param2_, ed_param3_})
    SendMessageA(w, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
  if (old_font) DeleteObject(old_font);
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
  // The tips ask in the form their parent window speaks, which is Unicode.
  if (header->code != TTN_GETDISPINFOA && header->code != TTN_GETDISPINFOW) return false;
  const auto id = static_cast<TCommandId>(header->idFrom);
  if (id <= cmNone || id > cmParam3) return false;
  if (header->code == TTN_GETDISPINFOW) {
    auto* info = reinterpret_cast<NMTTDISPINFOW*>(header);
    tip_shown_ = Wide(tips_[id]);
    info->lpszText = tip_shown_.data();
    info->hinst = nullptr;
  } else {
    auto* info = reinterpret_cast<NMTTDISPINFOA*>(header);
    info->lpszText = const_cast<char*>(tips_[id].c_str());
    info->hinst = nullptr;
  }
  return true;
}

void TMainToolBar::PaintStrip(HDC dc, int width) const {
  RECT r{0, 0, width, StripHeight()};
  DrawEdge(dc, &r, EDGE_ETCHED, BF_TOP | BF_BOTTOM);
}

std::string TMainToolBar::ParamText(int which) const {
  return WideControlText(ParamEdit(which));
}

void TMainToolBar::SetParamText(int which, const std::string& text) {
  SetWideControlText(ParamEdit(which), text);
}
