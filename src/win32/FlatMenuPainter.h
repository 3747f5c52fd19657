#pragma once
// Draws a window's menu bar, its drop-down menus and chosen pop-up menus in the
// program's flat style: every item becomes owner-drawn, keeps its caption,
// shortcut and state, and is measured and painted here with an icon column,
// a framed selection and colours derived from the system colours.
#include <windows.h>
// after windows.h, which it needs
#include <commctrl.h>

#include <functional>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <unordered_map>

#include "app/MenuColors.h"
#include "app/MenuItemLayout.h"

// Which of the owner's menus are painted.
enum : unsigned { pmMainMenus = 1, pmPopupMenus = 2 };
using TPaintedMenus = unsigned;

class TFlatMenuPainter {
 public:
  // Item data (or, for a whole menu bar, menu data) with this value keeps the
  // platform's own drawing.
  static constexpr ULONG_PTR kKeepPlatformDrawingTag = 999;

  // Maps a menu item's command ID to an image of the image list, or -1.
  using TImageIndexOf = std::function<int(UINT command_id)>;

  // What the painter keeps of an item it draws; the item's data points here.
  struct TItemRecord {
    HMENU Menu = nullptr;
    UINT Id = 0;
    std::string Caption;
    std::string ShortCut;
    bool Separator = false;
    bool TopLevel = false;  // an item of the menu bar itself
    bool HasSubItems = false;
    bool Radio = false;
    bool RightToLeft = false;
  };

  explicit TFlatMenuPainter(HWND owner);
  ~TFlatMenuPainter();
  TFlatMenuPainter(const TFlatMenuPainter&) = delete;
  TFlatMenuPainter& operator=(const TFlatMenuPainter&) = delete;

  HWND Owner() const { return owner_; }

  // Attaches to the owner's menu bar and the pop-up menus given to Attach;
  // switching off gives every item back its platform drawing.
  bool Active() const { return active_; }
  void SetActive(bool active);
  // Picks up items added to a drop-down menu when it opens.
  bool AutoDetect() const { return auto_detect_; }
  void SetAutoDetect(bool on) { auto_detect_ = on; }

  TColor Color() const { return colors_.Color; }
  void SetColor(TColor c) { SetColorField(colors_.Color, c); }
  TColor IconBackColor() const { return colors_.IconBackColor; }
  void SetIconBackColor(TColor c) { SetColorField(colors_.IconBackColor, c); }
  TColor MenuBarColor() const { return colors_.MenuBarColor; }
  void SetMenuBarColor(TColor c) { SetColorField(colors_.MenuBarColor, c); }
  TColor SelectColor() const { return colors_.SelectColor; }
  void SetSelectColor(TColor c) { SetColorField(colors_.SelectColor, c); }
  TColor SelectBorderColor() const { return colors_.SelectBorderColor; }
  void SetSelectBorderColor(TColor c) { SetColorField(colors_.SelectBorderColor, c); }
  TColor SelectFontColor() const { return colors_.SelectFontColor; }
  void SetSelectFontColor(TColor c) { SetColorField(colors_.SelectFontColor, c); }
  TColor DisabledColor() const { return colors_.DisabledColor; }
  void SetDisabledColor(TColor c) { SetColorField(colors_.DisabledColor, c); }
  TColor SeparatorColor() const { return colors_.SeparatorColor; }
  void SetSeparatorColor(TColor c) { SetColorField(colors_.SeparatorColor, c); }
  TColor CheckedColor() const { return colors_.CheckedColor; }
  void SetCheckedColor(TColor c) { SetColorField(colors_.CheckedColor, c); }
  bool UseSystemColors() const { return colors_.UseSystemColors; }
  void SetUseSystemColors(bool on);
  bool UseDimColor() const { return colors_.UseDimColor; }
  void SetUseDimColor(bool on);

  // The menu font: face name, character height in pixels (0 keeps the
  // platform's menu font) and colour.
  void SetFont(const std::string& name, int height, TColor color);
  const std::string& FontName() const { return font_name_; }
  int FontHeight() const { return font_height_; }
  TColor FontColor() const { return colors_.FontColor; }

  // The dpi of the owner window's monitor: the font and every length of the
  // design (given at 96 dpi) are scaled to it. Items are measured anew.
  int Dpi() const { return dpi_; }
  void SetDpi(int dpi);

  int IconWidth() const { return icon_width_; }
  void SetIconWidth(int width) { icon_width_ = width; }
  int DimLevel() const { return dim_level_; }
  void SetDimLevel(int level) { dim_level_ = level; }
  int GrayLevel() const { return gray_level_; }
  void SetGrayLevel(int level) { gray_level_ = level; }
  bool DrawSelect() const { return draw_select_; }
  void SetDrawSelect(bool on) { draw_select_ = on; }
  // Fills the whole menu bar, beyond its items, with the menu-bar colour.
  bool DrawMenuBar() const { return draw_menu_bar_; }
  void SetDrawMenuBar(bool on);
  bool OverrideOwnerDraw() const { return override_owner_draw_; }
  void SetOverrideOwnerDraw(bool on) { override_owner_draw_ = on; }
  TPaintedMenus PaintedMenus() const { return painted_menus_; }
  void SetPaintedMenus(TPaintedMenus menus);

  // The images shown in the icon column (not owned).
  void SetImages(HIMAGELIST images, TImageIndexOf index_of);

  // Paints a pop-up menu (a context menu) as well; menus attached while the
  // painter is inactive are painted once it becomes active.
  void Attach(HMENU popup);
  void Detach(HMENU popup);
  // Attaches again after menus were rebuilt: new items are taken over,
  // changed captions re-read, and records of removed items released.
  void Refresh();

  // Message handlers; true when the message concerned an item of this painter.
  bool HandleMeasureItem(MEASUREITEMSTRUCT& item);
  bool HandleDrawItem(const DRAWITEMSTRUCT& item);
  void HandleInitMenuPopup(HMENU popup);
  // Dispatches WM_MEASUREITEM, WM_DRAWITEM, WM_INITMENUPOPUP and
  // WM_SYSCOLORCHANGE; returns true with the result to give when the message
  // was handled (the last two always go on to the window's own handling).
  bool HandleMessage(UINT msg, WPARAM wparam, LPARAM lparam, LRESULT& result);

  // The colours items are drawn with now.
  const TMenuWorkingColors& WorkingColors();
  bool HighColor() const;
  // The record behind an item's data, or null when the item is not painted here.
  const TItemRecord* RecordOf(ULONG_PTR item_data) const;

 private:
  void SetColorField(TColor& field, TColor value);
  void AttachAll();
  void DetachAll();
  void AttachMenu(HMENU menu, bool bar, std::set<const TItemRecord*>& seen);
  void DetachMenu(HMENU menu);
  void ApplyMenuBarBackground(bool paint);
  HFONT MenuFont();
  const TMenuImage* ImageFor(int index);
  TMenuItemSize ImageSize(const TItemRecord& record) const;
  int ImageIndex(const TItemRecord& record) const;

  HWND owner_;
  bool active_ = false;
  bool auto_detect_ = false;
  TMenuColorSettings colors_;
  bool colors_dirty_ = true;
  TMenuWorkingColors working_;
  std::string font_name_;
  int font_height_ = 0;
  HFONT font_ = nullptr;
  int icon_width_ = 24;
  int dpi_ = 96;
  int dim_level_ = 30;
  int gray_level_ = 10;
  bool draw_select_ = true;
  bool draw_menu_bar_ = false;
  bool override_owner_draw_ = false;
  TPaintedMenus painted_menus_ = pmMainMenus | pmPopupMenus;
  HIMAGELIST images_ = nullptr;
  TImageIndexOf index_of_;
  std::map<int, TMenuImage> image_cache_;
  std::set<HMENU> popups_;
  HBRUSH bar_brush_ = nullptr;
  std::unordered_map<const TItemRecord*, std::unique_ptr<TItemRecord>> records_;
};
