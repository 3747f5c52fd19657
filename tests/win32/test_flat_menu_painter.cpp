#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <cmath>
#include <memory>
#include <string>

#include "app/Commands.h"
#include "win32/FlatMenuPainter.h"
#include "win32/MainMenus.h"
#include "win32/ToolGlyphs.h"

namespace {

TFlatMenuPainter* g_painter = nullptr;
int g_measured = 0;
int g_drawn = 0;

LRESULT CALLBACK PainterHostProc(HWND hwnd, UINT msg, WPARAM wparam, LPARAM lparam) {
  if (g_painter) {
    LRESULT result = 0;
    if (g_painter->HandleMessage(msg, wparam, lparam, result)) {
      if (msg == WM_MEASUREITEM) ++g_measured;
      if (msg == WM_DRAWITEM) ++g_drawn;
      return result;
    }
  }
  return DefWindowProcA(hwnd, msg, wparam, lparam);
}

const char kClass[] = "QuillonFlatMenuTestHost";

TColor FromRef(COLORREF c) { return Rgb(GetRValue(c), GetGValue(c), GetBValue(c)); }

struct ItemInfo {
  UINT type = 0;
  UINT id = 0;
  ULONG_PTR data = 0;
  HMENU sub = nullptr;
  std::string text;
};

ItemInfo Info(HMENU menu, int pos) {
  char text[256] = {};
  MENUITEMINFOA info{};
  info.cbSize = sizeof info;
  info.fMask = MIIM_FTYPE | MIIM_ID | MIIM_DATA | MIIM_SUBMENU | MIIM_STRING;
  info.dwTypeData = text;
  info.cch = sizeof text;
  EXPECT_TRUE(GetMenuItemInfoA(menu, static_cast<UINT>(pos), TRUE, &info));
  return {info.fType, info.wID, info.dwItemData, info.hSubMenu, text};
}

int PositionOf(HMENU menu, UINT id) {
  for (int i = 0; i < GetMenuItemCount(menu); ++i) {
    if (GetMenuItemID(menu, i) == id) return i;
  }
  return -1;
}

class FlatMenuPainterTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    WNDCLASSA wc{};
    wc.lpfnWndProc = PainterHostProc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = kClass;
    RegisterClassA(&wc);
  }

  void SetUp() override {
    hwnd_ = CreateWindowExA(0, kClass, "menus", WS_OVERLAPPEDWINDOW, 10, 10, 500, 300, nullptr,
                            BuildMainMenu(), GetModuleHandleA(nullptr), nullptr);
    ASSERT_TRUE(hwnd_);
    popup_ = BuildEditorPopup();
    glyphs_ = CreateToolGlyphs();
    painter_ = std::make_unique<TFlatMenuPainter>(hwnd_);
    g_painter = painter_.get();
    g_measured = g_drawn = 0;
    painter_->SetFont("Segoe UI", 12, kMenuRoleMenuText);
    painter_->SetImages(glyphs_, [](UINT id) {
      return ToolGlyphIndex(id == cmPrint ? cmToolPrint : static_cast<TCommandId>(id));
    });
    painter_->Attach(popup_);
    painter_->SetActive(true);
    font_ = CreateFontA(-12, 0, 0, 0, FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0, "Segoe UI");
  }

  void TearDown() override {
    g_painter = nullptr;
    painter_.reset();
    DestroyWindow(hwnd_);
    DestroyMenu(popup_);
    ImageList_Destroy(glyphs_);
    DeleteObject(font_);
  }

  HMENU Bar() const { return GetMenu(hwnd_); }
  HMENU FileMenu() const { return GetSubMenu(Bar(), 0); }
  HMENU EditMenu() const { return GetSubMenu(Bar(), 1); }

  SIZE TextSize(const std::string& text) const {
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(dc, font_);
    SIZE size{};
    GetTextExtentPoint32A(dc, text.c_str(), static_cast<int>(text.size()), &size);
    SelectObject(dc, old);
    DeleteDC(dc);
    return size;
  }

  MEASUREITEMSTRUCT Measure(HMENU menu, int pos) const {
    const ItemInfo item = Info(menu, pos);
    MEASUREITEMSTRUCT mis{};
    mis.CtlType = ODT_MENU;
    mis.itemID = item.id;
    mis.itemData = item.data;
    SendMessageA(hwnd_, WM_MEASUREITEM, 0, reinterpret_cast<LPARAM>(&mis));
    return mis;
  }

  TMenuWorkingColors Colors() const { return painter_->WorkingColors(); }

  HWND hwnd_ = nullptr;
  HMENU popup_ = nullptr;
  HIMAGELIST glyphs_ = nullptr;
  HFONT font_ = nullptr;
  std::unique_ptr<TFlatMenuPainter> painter_;
};

// A memory canvas the size of a menu, filled with a colour no item uses, on
// which one item is drawn at (10, 5) as the platform asks for it.
class ItemCanvas {
 public:
  static constexpr COLORREF kUntouched = RGB(255, 0, 255);
  static constexpr RECT kItem{10, 5, 230, 31};

  ItemCanvas() {
    HDC screen = GetDC(nullptr);
    dc_ = CreateCompatibleDC(screen);
    bitmap_ = CreateCompatibleBitmap(screen, 260, 40);
    ReleaseDC(nullptr, screen);
    old_ = SelectObject(dc_, bitmap_);
    RECT all{0, 0, 260, 40};
    HBRUSH brush = CreateSolidBrush(kUntouched);
    FillRect(dc_, &all, brush);
    DeleteObject(brush);
  }
  ~ItemCanvas() {
    SelectObject(dc_, old_);
    DeleteObject(bitmap_);
    DeleteDC(dc_);
  }

  void Draw(HWND hwnd, HMENU menu, int pos, UINT state, RECT rc = kItem) {
    const ItemInfo item = Info(menu, pos);
    DRAWITEMSTRUCT dis{};
    dis.CtlType = ODT_MENU;
    dis.itemID = item.id;
    dis.itemAction = ODA_DRAWENTIRE;
    dis.itemState = state;
    dis.hwndItem = reinterpret_cast<HWND>(menu);
    dis.hDC = dc_;
    dis.rcItem = rc;
    dis.itemData = item.data;
    SendMessageA(hwnd, WM_DRAWITEM, 0, reinterpret_cast<LPARAM>(&dis));
  }

  TColor At(int x, int y) const { return FromRef(GetPixel(dc_, x, y)); }
  COLORREF RawAt(int x, int y) const { return GetPixel(dc_, x, y); }

  // Pixels of a region unlike the given background.
  int CountUnlike(TColor back, int left, int top, int right, int bottom) const {
    int n = 0;
    for (int y = top; y < bottom; ++y)
      for (int x = left; x < right; ++x) n += At(x, y) != back;
    return n;
  }
  // The darkest pixel of a region, by the sum of its channels.
  int DarkestSum(int left, int top, int right, int bottom) const {
    int best = 3 * 255;
    for (int y = top; y < bottom; ++y)
      for (int x = left; x < right; ++x) {
        const TColor c = At(x, y);
        best = std::min(best, RedOf(c) + GreenOf(c) + BlueOf(c));
      }
    return best;
  }

 private:
  HDC dc_ = nullptr;
  HBITMAP bitmap_ = nullptr;
  HGDIOBJ old_ = nullptr;
};

TEST_F(FlatMenuPainterTest, EveryItemBecomesOwnerDrawnAndKeepsItsCaptionAndShortcut) {
  const auto& defs = MainMenuDefs();
  ASSERT_EQ(GetMenuItemCount(Bar()), static_cast<int>(defs.size()));
  for (int m = 0; m < static_cast<int>(defs.size()); ++m) {
    const ItemInfo top = Info(Bar(), m);
    EXPECT_TRUE(top.type & MFT_OWNERDRAW) << defs[m].caption;
    const auto* bar_record = painter_->RecordOf(top.data);
    ASSERT_TRUE(bar_record) << defs[m].caption;
    EXPECT_EQ(bar_record->Caption, defs[m].caption);
    EXPECT_TRUE(bar_record->TopLevel);
    // The platform keeps the text, so whoever reads the menu still finds it.
    EXPECT_EQ(top.text, defs[m].caption);
    HMENU drop = GetSubMenu(Bar(), m);
    for (int i = 0; i < static_cast<int>(defs[m].items.size()); ++i) {
      const TMenuItemDef& def = defs[m].items[i];
      const ItemInfo item = Info(drop, i);
      const auto* record = painter_->RecordOf(item.data);
      ASSERT_TRUE(record) << defs[m].caption << " " << i;
      EXPECT_TRUE(item.type & MFT_OWNERDRAW);
      EXPECT_FALSE(record->TopLevel);
      if (def.id == cmNone) {
        EXPECT_TRUE(item.type & MFT_SEPARATOR) << "still a separator for the menu's readers";
        EXPECT_TRUE(record->Separator);
        continue;
      }
      EXPECT_EQ(record->Caption, def.caption);
      EXPECT_EQ(record->ShortCut, def.shortcut ? ShortCutText(def.shortcut) : "");
      EXPECT_EQ(record->HasSubItems, def.id == cmImportTemplate || def.id == cmEncoding);
    }
  }
  for (int i = 0; i < GetMenuItemCount(popup_); ++i) {
    const auto* record = painter_->RecordOf(Info(popup_, i).data);
    ASSERT_TRUE(record) << "context menu item " << i;
    if (!record->Separator) {
      EXPECT_EQ(record->Caption, EditorPopupDefs()[i].caption);
    }
  }
}

TEST_F(FlatMenuPainterTest, MeasuresCaptionGapShortcutAndIconColumn) {
  const SIZE w = TextSize("W");
  const int text_room = w.cy + static_cast<int>(std::lround(w.cy * 0.75));
  struct Case {
    HMENU menu;
    UINT id;
    std::string text;
    bool image;  // 16 x 16 glyph
  } cases[] = {
      {FileMenu(), cmSave, "SaveWWWCtrl+S", true},
      {FileMenu(), cmSaveAs, "Save as ...", true},
      {FileMenu(), cmExit, "Exit", false},  // no image: the column is reserved anyway
      {EditMenu(), cmRedo, "RedoWWWCtrl+Alt+Z", true},
      {EditMenu(), cmSelectAll, "Select AllWWWCtrl+A", false},
      {popup_, cmRunToCursor, "Run to CursorWWWF8", true},
  };
  for (const Case& c : cases) {
    const MEASUREITEMSTRUCT mis = Measure(c.menu, PositionOf(c.menu, c.id));
    EXPECT_EQ(static_cast<int>(mis.itemWidth), TextSize(c.text).cx + 5 + 24) << c.text;
    EXPECT_EQ(static_cast<int>(mis.itemHeight), c.image ? std::max(text_room, 22) : text_room)
        << c.text;
  }
  // The drop-down holding the template list leaves room for its arrow.
  const MEASUREITEMSTRUCT sub = Measure(FileMenu(), 5);
  EXPECT_EQ(static_cast<int>(sub.itemWidth), TextSize("Import macro Template").cx + 5 + 6 + 24);
  // Menu-bar items have no icon column.
  const MEASUREITEMSTRUCT file = Measure(Bar(), 0);
  EXPECT_EQ(static_cast<int>(file.itemWidth), TextSize("File").cx + 5);
  EXPECT_EQ(static_cast<int>(file.itemHeight), text_room);
}

TEST_F(FlatMenuPainterTest, SeparatorsAreMeasuredThin) {
  const MEASUREITEMSTRUCT mis = Measure(FileMenu(), 4);
  EXPECT_EQ(mis.itemHeight, 4u);
  EXPECT_EQ(static_cast<int>(mis.itemWidth), 5 + 24);
}

TEST_F(FlatMenuPainterTest, ItemDrawsBackgroundIconColumnAndMargin) {
  ItemCanvas canvas;
  canvas.Draw(hwnd_, FileMenu(), PositionOf(FileMenu(), cmSaveAs), 0);
  const TMenuWorkingColors colors = Colors();
  const RECT r = ItemCanvas::kItem;
  EXPECT_EQ(canvas.At(r.left + 1, r.top + 1), colors.IconBack);
  EXPECT_EQ(canvas.At(r.left + 23, r.bottom - 1), colors.IconBack);
  EXPECT_EQ(canvas.At(r.left + 24, r.top + 1), colors.ItemBack);
  EXPECT_EQ(canvas.At(r.right - 1, r.bottom - 1), colors.ItemBack);
  EXPECT_EQ(canvas.At(r.left - 4, r.top), colors.ItemBack) << "the menu's margin is painted";
  EXPECT_EQ(canvas.RawAt(r.left - 5, r.top), ItemCanvas::kUntouched);
  EXPECT_EQ(canvas.RawAt(r.left, r.bottom), ItemCanvas::kUntouched);
  // Derived from the system colours: a light item, a slightly darker column.
  EXPECT_EQ(colors.ItemBack, LightenColor(FromRef(GetSysColor(COLOR_BTNFACE)), 86));
  EXPECT_EQ(colors.IconBack, LightenColor(FromRef(GetSysColor(COLOR_BTNFACE)), 16));
  EXPECT_GT(canvas.CountUnlike(colors.ItemBack, r.left + 24, r.top, r.right, r.bottom), 0)
      << "caption drawn";
}

TEST_F(FlatMenuPainterTest, SelectedItemIsFilledAndFramed) {
  ItemCanvas canvas;
  canvas.Draw(hwnd_, FileMenu(), PositionOf(FileMenu(), cmSaveAs), ODS_SELECTED);
  const TMenuWorkingColors colors = Colors();
  const RECT r = ItemCanvas::kItem;
  const TColor highlight = FromRef(GetSysColor(COLOR_HIGHLIGHT));
  EXPECT_EQ(canvas.At(r.left + 1, r.top), colors.IconBack) << "inset one pixel at the top";
  EXPECT_EQ(canvas.At(r.left, r.top + 1), highlight);
  EXPECT_EQ(canvas.At(r.right - 1, r.top + 10), highlight);
  EXPECT_EQ(canvas.At(r.left + 30, r.bottom - 2), highlight);
  EXPECT_EQ(canvas.At(r.left + 2, r.top + 3), colors.SelectFill) << "over the icon column too";
  EXPECT_EQ(canvas.At(r.right - 3, r.top + 3), colors.SelectFill);
  EXPECT_EQ(colors.SelectFill, LightenColor(highlight, 68));
}

TEST_F(FlatMenuPainterTest, DisabledItemIsGreyWithoutSelectionOrShortcut) {
  const int save = PositionOf(FileMenu(), cmSave);
  const TMenuWorkingColors colors = Colors();
  const RECT r = ItemCanvas::kItem;
  const int text_left = r.left + 24;
  const int shortcut_left = r.right - 10 - TextSize("Ctrl+S ").cx;
  ItemCanvas enabled, disabled;
  enabled.Draw(hwnd_, FileMenu(), save, 0);
  disabled.Draw(hwnd_, FileMenu(), save, ODS_GRAYED | ODS_SELECTED);

  EXPECT_EQ(disabled.At(r.right - 3, r.top + 3), colors.ItemBack) << "no selection";
  EXPECT_GT(enabled.CountUnlike(colors.ItemBack, shortcut_left, r.top, r.right, r.bottom), 0);
  EXPECT_EQ(disabled.CountUnlike(colors.ItemBack, shortcut_left, r.top, r.right, r.bottom), 0)
      << "no shortcut";
  const TColor grey = colors.DisabledText;
  const int grey_sum = RedOf(grey) + GreenOf(grey) + BlueOf(grey);
  EXPECT_GT(disabled.CountUnlike(colors.ItemBack, text_left, r.top, shortcut_left, r.bottom), 0);
  EXPECT_GE(disabled.DarkestSum(text_left, r.top, shortcut_left, r.bottom), grey_sum);
  EXPECT_LT(enabled.DarkestSum(text_left, r.top, shortcut_left, r.bottom), grey_sum);

  // The disk image: blue when enabled, only greys when disabled.
  auto blue_pixels = [&](const ItemCanvas& c) {
    int n = 0;
    for (int y = r.top; y < r.bottom; ++y)
      for (int x = r.left; x < r.left + 24; ++x) n += BlueOf(c.At(x, y)) > RedOf(c.At(x, y)) + 40;
    return n;
  };
  // Everything drawn in the column of the disabled item is a grey.
  int drawn = 0, coloured = 0;
  for (int y = r.top; y < r.bottom; ++y)
    for (int x = r.left; x < r.left + 24; ++x) {
      const TColor p = disabled.At(x, y);
      if (p == colors.IconBack) continue;
      ++drawn;
      coloured += RedOf(p) != GreenOf(p) || GreenOf(p) != BlueOf(p);
    }
  EXPECT_GT(blue_pixels(enabled), 20);
  EXPECT_GT(drawn, 20);
  EXPECT_EQ(coloured, 0);
  EXPECT_EQ(blue_pixels(disabled), 0);
}

TEST_F(FlatMenuPainterTest, SeparatorIsAThinLineAfterTheIconColumn) {
  ItemCanvas canvas;
  const RECT rc{10, 5, 230, 9};
  canvas.Draw(hwnd_, FileMenu(), 4, 0, rc);
  const TMenuWorkingColors colors = Colors();
  EXPECT_EQ(canvas.At(rc.left + 24 + 7, rc.top + 2), colors.Separator);
  EXPECT_EQ(canvas.At(rc.right - 1, rc.top + 2), colors.Separator);
  EXPECT_EQ(canvas.At(rc.left + 24 + 5, rc.top + 2), colors.ItemBack);
  EXPECT_EQ(canvas.At(rc.left + 40, rc.top + 1), colors.ItemBack);
  EXPECT_EQ(canvas.At(rc.left + 3, rc.top + 2), colors.IconBack);
}

TEST_F(FlatMenuPainterTest, CheckedItemWithoutImageShowsABoxInTheIconColumn) {
  ItemCanvas canvas;
  canvas.Draw(hwnd_, EditMenu(), PositionOf(EditMenu(), cmSelectAll), ODS_CHECKED);
  const TMenuWorkingColors colors = Colors();
  const RECT r = ItemCanvas::kItem;
  const int box_left = r.left + 7, box_top = r.top + 8;  // 10 x 10, centred
  EXPECT_EQ(canvas.At(box_left, box_top + 5), colors.CheckFrame);
  EXPECT_EQ(canvas.At(box_left + 9, box_top + 5), colors.CheckFrame);
  EXPECT_EQ(canvas.At(box_left + 1, box_top + 1), colors.CheckedBack);
  EXPECT_EQ(canvas.At(box_left - 1, box_top + 5), colors.IconBack);
  EXPECT_GT(
      canvas.CountUnlike(colors.CheckedBack, box_left + 1, box_top + 1, box_left + 9, box_top + 9),
      0)
      << "a tick inside";
}

TEST_F(FlatMenuPainterTest, MenuBarItemUsesTheMenuBarColourAndFramesWhenSelected) {
  ItemCanvas plain, selected;
  const RECT rc{10, 5, 60, 25};
  plain.Draw(hwnd_, Bar(), 0, 0, rc);
  selected.Draw(hwnd_, Bar(), 0, ODS_SELECTED, rc);
  const TMenuWorkingColors colors = Colors();
  const TColor face = FromRef(GetSysColor(COLOR_BTNFACE));
  EXPECT_EQ(plain.At(rc.left + 1, rc.top + 1), face);
  EXPECT_EQ(plain.RawAt(rc.left - 1, rc.top), ItemCanvas::kUntouched) << "no margin on the bar";
  EXPECT_EQ(selected.At(rc.left, rc.top + 5), colors.SelectBorder);
  EXPECT_EQ(selected.At(rc.left + 1, rc.top + 1), colors.SelectFill);
  EXPECT_EQ(selected.At(rc.right - 1, rc.top + 10), ShadeColor(face, 25)) << "shadow";
}

TEST_F(FlatMenuPainterTest, RefreshTakesOverAddedItemsAndForgetsRemovedOnes) {
  HMENU file = FileMenu();
  AppendMenuA(file, MF_STRING, 901, "&1 C:\\macros\\login.ttl");
  const int pos = GetMenuItemCount(file) - 1;
  EXPECT_FALSE(Info(file, pos).type & MFT_OWNERDRAW);
  painter_->Refresh();
  const ItemInfo added = Info(file, pos);
  EXPECT_TRUE(added.type & MFT_OWNERDRAW);
  const auto* record = painter_->RecordOf(added.data);
  ASSERT_TRUE(record);
  EXPECT_EQ(record->Caption, "&1 C:\\macros\\login.ttl");
  // The accelerator marker is not counted.
  const MEASUREITEMSTRUCT mis = Measure(file, pos);
  EXPECT_EQ(static_cast<int>(mis.itemWidth),
            TextSize("&1 C:\\macros\\login.ttl").cx + 5 - TextSize("&").cx + 24);

  const ULONG_PTR old_data = added.data;
  DeleteMenu(file, static_cast<UINT>(pos), MF_BYPOSITION);
  painter_->Refresh();
  EXPECT_EQ(painter_->RecordOf(old_data), nullptr);
  EXPECT_TRUE(painter_->RecordOf(Info(file, 0).data)) << "others stay";
}

TEST_F(FlatMenuPainterTest, ItemsTaggedOrDrawnByOthersAreLeftAlone) {
  HMENU file = FileMenu();
  MENUITEMINFOA tagged{};
  tagged.cbSize = sizeof tagged;
  tagged.fMask = MIIM_FTYPE | MIIM_ID | MIIM_STRING | MIIM_DATA;
  tagged.fType = MFT_STRING;
  tagged.wID = 950;
  char text[] = "Native";
  tagged.dwTypeData = text;
  tagged.dwItemData = TFlatMenuPainter::kKeepPlatformDrawingTag;
  InsertMenuItemA(file, 0, TRUE, &tagged);
  MENUITEMINFOA foreign{};
  foreign.cbSize = sizeof foreign;
  foreign.fMask = MIIM_FTYPE | MIIM_ID | MIIM_DATA;
  foreign.fType = MFT_OWNERDRAW;
  foreign.wID = 951;
  foreign.dwItemData = 12345;
  InsertMenuItemA(file, 0, TRUE, &foreign);
  painter_->Refresh();
  EXPECT_FALSE(Info(file, 1).type & MFT_OWNERDRAW);
  EXPECT_EQ(Info(file, 1).data, TFlatMenuPainter::kKeepPlatformDrawingTag);
  EXPECT_EQ(Info(file, 0).data, 12345u);
  // Nor are their measure and draw requests answered.
  MEASUREITEMSTRUCT mis{};
  mis.CtlType = ODT_MENU;
  mis.itemID = 951;
  mis.itemData = 12345;
  EXPECT_FALSE(painter_->HandleMeasureItem(mis));

  painter_->SetOverrideOwnerDraw(true);
  painter_->Refresh();
  EXPECT_TRUE(painter_->RecordOf(Info(file, 0).data));
  EXPECT_FALSE(Info(file, 1).type & MFT_OWNERDRAW);
}

TEST_F(FlatMenuPainterTest, SwitchingOffGivesItemsBackTheirPlatformDrawing) {
  painter_->SetActive(false);
  for (HMENU menu : {Bar(), FileMenu(), EditMenu(), popup_}) {
    for (int i = 0; i < GetMenuItemCount(menu); ++i) {
      const ItemInfo item = Info(menu, i);
      EXPECT_FALSE(item.type & MFT_OWNERDRAW) << i;
      EXPECT_EQ(item.data, 0u);
    }
  }
  char text[64] = {};
  GetMenuStringA(FileMenu(), cmSave, text, sizeof text, MF_BYCOMMAND);
  EXPECT_STREQ(text, "Save\tCtrl+S");
  painter_->SetActive(true);
  EXPECT_TRUE(Info(FileMenu(), 0).type & MFT_OWNERDRAW);
}

TEST_F(FlatMenuPainterTest, AutoDetectTakesOverNewItemsWhenTheMenuOpens) {
  HMENU edit = EditMenu();
  AppendMenuA(edit, MF_STRING, 960, "Later");
  const int pos = GetMenuItemCount(edit) - 1;
  SendMessageA(hwnd_, WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(edit), 1);
  EXPECT_FALSE(Info(edit, pos).type & MFT_OWNERDRAW) << "off by default";
  painter_->SetAutoDetect(true);
  SendMessageA(hwnd_, WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(edit), 1);
  EXPECT_TRUE(Info(edit, pos).type & MFT_OWNERDRAW);
}

TEST_F(FlatMenuPainterTest, WorkingColoursFollowAChangedColourScheme) {
  const TColor before = Colors().IconBack;
  const int role = COLOR_BTNFACE;
  const COLORREF old_face = GetSysColor(role);
  const COLORREF new_face = old_face == RGB(100, 150, 50) ? RGB(90, 60, 30) : RGB(100, 150, 50);
  SetSysColors(1, &role, &new_face);
  SendMessageA(hwnd_, WM_SYSCOLORCHANGE, 0, 0);
  const TColor after = Colors().IconBack;
  SetSysColors(1, &role, &old_face);
  SendMessageA(hwnd_, WM_SYSCOLORCHANGE, 0, 0);
  EXPECT_EQ(after, LightenColor(FromRef(new_face), 16));
  EXPECT_NE(after, before);
  EXPECT_EQ(Colors().IconBack, before);
}

void CALLBACK CloseMenuSoon(HWND, UINT, UINT_PTR, DWORD) { EndMenu(); }

TEST_F(FlatMenuPainterTest, ThePlatformAsksThePainterWhenTheContextMenuShows) {
  ShowWindow(hwnd_, SW_SHOWNOACTIVATE);
  SetForegroundWindow(hwnd_);
  const UINT_PTR timer = SetTimer(nullptr, 0, 300, CloseMenuSoon);
  TrackPopupMenu(popup_, TPM_RETURNCMD | TPM_NONOTIFY, 50, 50, 0, hwnd_, nullptr);
  KillTimer(nullptr, timer);
  EXPECT_GE(g_measured, GetMenuItemCount(popup_));
  EXPECT_GE(g_drawn, 1);
}

}  // namespace
