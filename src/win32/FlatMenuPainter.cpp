#include "win32/FlatMenuPainter.h"

#include <algorithm>
#include <vector>

#include "app/DpiScale.h"
#include "win32/WideString.h"

namespace {

COLORREF Ref(TColor rgb) { return static_cast<COLORREF>(rgb & 0x00FFFFFF); }

TColor Resolve(TColor c) {
  if (IsSystemColor(c)) return static_cast<TColor>(GetSysColor(static_cast<int>(c & 0xFF)));
  return c & 0x00FFFFFF;
}

RECT ToRect(const TRect& r) { return RECT{r.left, r.top, r.right, r.bottom}; }

void Fill(HDC dc, const TRect& r, TColor rgb) {
  if (r.IsEmpty()) return;
  RECT rc = ToRect(r);
  HBRUSH brush = CreateSolidBrush(Ref(rgb));
  FillRect(dc, &rc, brush);
  DeleteObject(brush);
}

void Frame(HDC dc, const TRect& r, TColor rgb) {
  if (r.IsEmpty()) return;
  RECT rc = ToRect(r);
  HBRUSH brush = CreateSolidBrush(Ref(rgb));
  FrameRect(dc, &rc, brush);
  DeleteObject(brush);
}

// Selects a pen and a brush (or the hollow brush) for shapes, and restores.
class TShapeTools {
 public:
  TShapeTools(HDC dc, TColor pen, const TColor* fill) : dc_(dc) {
    pen_ = CreatePen(PS_SOLID, 1, Ref(pen));
    brush_ = fill ? CreateSolidBrush(Ref(*fill)) : nullptr;
    old_pen_ = SelectObject(dc, pen_);
    old_brush_ =
        SelectObject(dc, brush_ ? static_cast<HGDIOBJ>(brush_) : GetStockObject(NULL_BRUSH));
  }
  ~TShapeTools() {
    SelectObject(dc_, old_pen_);
    SelectObject(dc_, old_brush_);
    DeleteObject(pen_);
    if (brush_) DeleteObject(brush_);
  }
  TShapeTools(const TShapeTools&) = delete;
  TShapeTools& operator=(const TShapeTools&) = delete;

 private:
  HDC dc_;
  HPEN pen_;
  HBRUSH brush_;
  HGDIOBJ old_pen_;
  HGDIOBJ old_brush_;
};

// Text measurement with the menu font on a memory DC.
class TDcTextMeasure final : public IMenuTextMeasure {
 public:
  explicit TDcTextMeasure(HDC dc) : dc_(dc) {
    TEXTMETRICA tm{};
    GetTextMetricsA(dc_, &tm);
    height_ = tm.tmHeight;
  }
  int TextWidth(const std::string& text) const override {
    SIZE size{};
    const std::wstring wide = Wide(text);
    GetTextExtentPoint32W(dc_, wide.c_str(), static_cast<int>(wide.size()), &size);
    return size.cx;
  }
  int TextHeight() const override { return height_; }

 private:
  HDC dc_;
  int height_ = 0;
};

// Item text as the menu holds it: caption, then a tab and the shortcut.
void SplitItemText(const std::string& text, std::string& caption, std::string& shortcut) {
  const auto tab = text.find('\t');
  caption = text.substr(0, tab);
  shortcut = tab == std::string::npos ? std::string() : text.substr(tab + 1);
}

// Captions are read and drawn wide: a recent file's path may hold any character.
std::string ItemText(HMENU menu, int pos) {
  MENUITEMINFOW info{};
  info.cbSize = sizeof info;
  info.fMask = MIIM_STRING;
  if (!GetMenuItemInfoW(menu, static_cast<UINT>(pos), TRUE, &info) || info.cch == 0) return {};
  std::wstring text(info.cch + 1, L'\0');
  info.dwTypeData = text.data();
  info.cch = static_cast<UINT>(text.size());
  if (!GetMenuItemInfoW(menu, static_cast<UINT>(pos), TRUE, &info)) return {};
  text.resize(info.cch);
  return Utf8(text);
}

ULONG_PTR MenuData(HMENU menu) {
  MENUINFO info{};
  info.cbSize = sizeof info;
  info.fMask = MIM_MENUDATA;
  if (!GetMenuInfo(menu, &info)) return 0;
  return info.dwMenuData;
}

// A 32-bit top-down bitmap the item is composed in before it goes on screen.
class TItemBitmap {
 public:
  TItemBitmap(HDC reference, int width, int height) : width_(width), height_(height) {
    BITMAPINFO bmi{};
    bmi.bmiHeader.biSize = sizeof bmi.bmiHeader;
    bmi.bmiHeader.biWidth = width;
    bmi.bmiHeader.biHeight = -height;
    bmi.bmiHeader.biPlanes = 1;
    bmi.bmiHeader.biBitCount = 32;
    bmi.bmiHeader.biCompression = BI_RGB;
    dc_ = CreateCompatibleDC(reference);
    bitmap_ = CreateDIBSection(reference, &bmi, DIB_RGB_COLORS, &bits_, nullptr, 0);
    old_ = SelectObject(dc_, bitmap_);
  }
  ~TItemBitmap() {
    SelectObject(dc_, old_);
    DeleteObject(bitmap_);
    DeleteDC(dc_);
  }
  TItemBitmap(const TItemBitmap&) = delete;
  TItemBitmap& operator=(const TItemBitmap&) = delete;

  bool Valid() const { return bitmap_ && bits_; }
  HDC Dc() const { return dc_; }
  void Put(int x, int y, TColor rgb) {
    if (x < 0 || y < 0 || x >= width_ || y >= height_) return;
    // Pixels are stored blue, green, red from the lowest byte on.
    static_cast<DWORD*>(bits_)[y * width_ + x] =
        static_cast<DWORD>(BlueOf(rgb) | (GreenOf(rgb) << 8) | (RedOf(rgb) << 16));
  }

 private:
  int width_;
  int height_;
  HDC dc_ = nullptr;
  HBITMAP bitmap_ = nullptr;
  HGDIOBJ old_ = nullptr;
  void* bits_ = nullptr;
};

// The pixels of one image-list image; a pixel counts as opaque when it comes
// out the same over a black and over a white background.
TMenuImage ExtractImage(HIMAGELIST list, int index) {
  TMenuImage image;
  int w = 0, h = 0;
  if (!ImageList_GetIconSize(list, &w, &h) || w <= 0 || h <= 0) return image;
  HDC screen = GetDC(nullptr);
  std::vector<DWORD> over[2];
  for (int pass = 0; pass < 2; ++pass) {
    BITMAPINFO bmi{};
    bmi.bmiHeader.biSize = sizeof bmi.bmiHeader;
    bmi.bmiHeader.biWidth = w;
    bmi.bmiHeader.biHeight = -h;
    bmi.bmiHeader.biPlanes = 1;
    bmi.bmiHeader.biBitCount = 32;
    bmi.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HBITMAP bmp = CreateDIBSection(screen, &bmi, DIB_RGB_COLORS, &bits, nullptr, 0);
    HDC dc = CreateCompatibleDC(screen);
    HGDIOBJ old = SelectObject(dc, bmp);
    RECT all{0, 0, w, h};
    FillRect(dc, &all, static_cast<HBRUSH>(GetStockObject(pass == 0 ? BLACK_BRUSH : WHITE_BRUSH)));
    ImageList_Draw(list, index, dc, 0, 0, ILD_TRANSPARENT);
    GdiFlush();
    const DWORD* px = static_cast<const DWORD*>(bits);
    over[pass].assign(px, px + static_cast<std::size_t>(w) * h);
    SelectObject(dc, old);
    DeleteDC(dc);
    DeleteObject(bmp);
  }
  ReleaseDC(nullptr, screen);
  image.Width = w;
  image.Height = h;
  image.Pixels.resize(static_cast<std::size_t>(w) * h);
  image.Opaque.resize(static_cast<std::size_t>(w) * h);
  for (std::size_t i = 0; i < image.Pixels.size(); ++i) {
    const DWORD p = over[0][i] & 0x00FFFFFF;
    image.Opaque[i] = p == (over[1][i] & 0x00FFFFFF);
    image.Pixels[i] = Rgb(static_cast<int>((p >> 16) & 0xFF), static_cast<int>((p >> 8) & 0xFF),
                          static_cast<int>(p & 0xFF));
  }
  return image;
}

}  // namespace

TFlatMenuPainter::TFlatMenuPainter(HWND owner) : owner_(owner) {}

TFlatMenuPainter::~TFlatMenuPainter() {
  if (active_) DetachAll();
  if (font_) DeleteObject(font_);
  if (bar_brush_) DeleteObject(bar_brush_);
}

void TFlatMenuPainter::SetActive(bool active) {
  if (active == active_) return;
  active_ = active;
  if (active)
    AttachAll();
  else
    DetachAll();
}

void TFlatMenuPainter::SetColorField(TColor& field, TColor value) {
  field = value;
  colors_dirty_ = true;
  if (draw_menu_bar_ && active_) ApplyMenuBarBackground(true);
}

void TFlatMenuPainter::SetUseSystemColors(bool on) {
  colors_.UseSystemColors = on;
  colors_dirty_ = true;
}

void TFlatMenuPainter::SetUseDimColor(bool on) {
  colors_.UseDimColor = on;
  colors_dirty_ = true;
}

void TFlatMenuPainter::SetFont(const std::string& name, int height, TColor color) {
  font_name_ = name;
  font_height_ = height;
  colors_.FontColor = color;
  colors_dirty_ = true;
  if (font_) DeleteObject(font_);
  font_ = nullptr;
  // Sizes depend on the font: have the platform measure the items again.
  if (active_) Refresh();
}

void TFlatMenuPainter::SetDrawMenuBar(bool on) {
  draw_menu_bar_ = on;
  if (active_) ApplyMenuBarBackground(on);
}

void TFlatMenuPainter::SetPaintedMenus(TPaintedMenus menus) {
  if (menus == painted_menus_) return;
  const bool was_active = active_;
  if (was_active) SetActive(false);
  painted_menus_ = menus;
  if (was_active) SetActive(true);
}

void TFlatMenuPainter::SetDpi(int dpi) {
  if (dpi == dpi_) return;
  dpi_ = dpi;
  if (font_) DeleteObject(font_);
  font_ = nullptr;
  image_cache_.clear();
  if (active_) Refresh();
}

void TFlatMenuPainter::SetImages(HIMAGELIST images, TImageIndexOf index_of) {
  images_ = images;
  index_of_ = std::move(index_of);
  image_cache_.clear();
}

void TFlatMenuPainter::Attach(HMENU popup) {
  if (!popup || !popups_.insert(popup).second) return;
  if (active_) Refresh();
}

void TFlatMenuPainter::Detach(HMENU popup) {
  if (popups_.erase(popup) == 0) return;
  if (active_ && IsMenu(popup)) DetachMenu(popup);
  if (active_) Refresh();
}

void TFlatMenuPainter::Refresh() {
  if (!active_) return;
  AttachAll();
}

HFONT TFlatMenuPainter::MenuFont() {
  if (font_) return font_;
  // Wide: the system's face names may be in the user's language.
  NONCLIENTMETRICSW metrics{};
  metrics.cbSize = sizeof metrics;
  LOGFONTW lf{};
  if (SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0))
    lf = metrics.lfMenuFont;
  if (!font_name_.empty()) {
    lstrcpynW(lf.lfFaceName, Wide(font_name_).c_str(), LF_FACESIZE);
    lf.lfCharSet = DEFAULT_CHARSET;
  }
  if (font_height_ > 0) lf.lfHeight = -ScaleForDpi(font_height_, dpi_);
  font_ = CreateFontIndirectW(&lf);
  return font_;
}

bool TFlatMenuPainter::HighColor() const {
  HDC dc = GetDC(owner_);
  const int bits = GetDeviceCaps(dc, BITSPIXEL) * GetDeviceCaps(dc, PLANES);
  ReleaseDC(owner_, dc);
  return bits > 15;
}

const TMenuWorkingColors& TFlatMenuPainter::WorkingColors() {
  if (colors_dirty_) {
    working_ = DeriveMenuColors(colors_, HighColor(), Resolve);
    colors_dirty_ = false;
  }
  return working_;
}

const TFlatMenuPainter::TItemRecord* TFlatMenuPainter::RecordOf(ULONG_PTR item_data) const {
  const auto* key = reinterpret_cast<const TItemRecord*>(item_data);
  auto it = records_.find(key);
  return it == records_.end() ? nullptr : it->second.get();
}

void TFlatMenuPainter::AttachAll() {
  std::set<const TItemRecord*> seen;
  HMENU bar = GetMenu(owner_);
  const bool paint_bar =
      bar && (painted_menus_ & pmMainMenus) && MenuData(bar) != kKeepPlatformDrawingTag;
  if (paint_bar) AttachMenu(bar, true, seen);
  if (painted_menus_ & pmPopupMenus) {
    for (HMENU popup : popups_) {
      if (IsMenu(popup)) AttachMenu(popup, false, seen);
    }
  }
  // Items no longer found in any painted menu were removed with their menus.
  for (auto it = records_.begin(); it != records_.end();) {
    if (seen.count(it->first))
      ++it;
    else
      it = records_.erase(it);
  }
  if (paint_bar) {
    if (draw_menu_bar_) ApplyMenuBarBackground(true);
    // The bar measures its items again only when it is redrawn after a change.
    ::DrawMenuBar(owner_);
  }
}

void TFlatMenuPainter::AttachMenu(HMENU menu, bool bar, std::set<const TItemRecord*>& seen) {
  const int count = GetMenuItemCount(menu);
  for (int pos = 0; pos < count; ++pos) {
    MENUITEMINFOA info{};
    info.cbSize = sizeof info;
    info.fMask = MIIM_FTYPE | MIIM_DATA | MIIM_ID | MIIM_SUBMENU;
    if (!GetMenuItemInfoA(menu, static_cast<UINT>(pos), TRUE, &info)) continue;
    if (info.hSubMenu) AttachMenu(info.hSubMenu, false, seen);
    if (info.dwItemData == kKeepPlatformDrawingTag) continue;
    TItemRecord* record = nullptr;
    if (auto it = records_.find(reinterpret_cast<const TItemRecord*>(info.dwItemData));
        info.dwItemData && it != records_.end()) {
      record = it->second.get();
      if (seen.count(record)) continue;  // reached twice, through two attached menus
    } else if ((info.fType & MFT_OWNERDRAW) && !override_owner_draw_) {
      continue;  // somebody else draws this item
    }
    const std::string text = ItemText(menu, pos);
    if (!record) {
      auto owned = std::make_unique<TItemRecord>();
      record = owned.get();
      records_.emplace(record, std::move(owned));
      SplitItemText(text, record->Caption, record->ShortCut);
    } else if (!text.empty()) {
      SplitItemText(text, record->Caption, record->ShortCut);
    }
    seen.insert(record);
    record->Menu = menu;
    record->Id = info.wID;
    record->Separator = (info.fType & MFT_SEPARATOR) != 0 || record->Caption == "-";
    record->TopLevel = bar;
    record->HasSubItems = info.hSubMenu != nullptr;
    record->Radio = (info.fType & MFT_RADIOCHECK) != 0;
    record->RightToLeft = (info.fType & MFT_RIGHTORDER) != 0;
    if ((info.fType & MFT_OWNERDRAW) && info.dwItemData == reinterpret_cast<ULONG_PTR>(record))
      continue;
    MENUITEMINFOA change{};
    change.cbSize = sizeof change;
    change.fMask = MIIM_FTYPE | MIIM_DATA;
    change.fType = info.fType | MFT_OWNERDRAW;
    change.dwItemData = reinterpret_cast<ULONG_PTR>(record);
    SetMenuItemInfoA(menu, static_cast<UINT>(pos), TRUE, &change);
  }
}

void TFlatMenuPainter::DetachAll() {
  HMENU bar = GetMenu(owner_);
  if (bar && IsMenu(bar)) {
    DetachMenu(bar);
    if (bar_brush_) ApplyMenuBarBackground(false);
    ::DrawMenuBar(owner_);
  }
  for (HMENU popup : popups_) {
    if (IsMenu(popup)) DetachMenu(popup);
  }
  records_.clear();
}

void TFlatMenuPainter::DetachMenu(HMENU menu) {
  const int count = GetMenuItemCount(menu);
  for (int pos = 0; pos < count; ++pos) {
    MENUITEMINFOA info{};
    info.cbSize = sizeof info;
    info.fMask = MIIM_FTYPE | MIIM_DATA | MIIM_SUBMENU;
    if (!GetMenuItemInfoA(menu, static_cast<UINT>(pos), TRUE, &info)) continue;
    if (info.hSubMenu) DetachMenu(info.hSubMenu);
    const TItemRecord* record = RecordOf(info.dwItemData);
    if (!record) continue;
    // Only what this painter changed is given back: the drawing and the data;
    // the caption is written again in case the platform dropped it.
    std::wstring text = Wide(record->Caption);
    if (!record->ShortCut.empty()) text += L"\t" + Wide(record->ShortCut);
    MENUITEMINFOW change{};
    change.cbSize = sizeof change;
    change.fMask = MIIM_FTYPE | MIIM_DATA;
    change.fType = info.fType & ~static_cast<UINT>(MFT_OWNERDRAW);
    change.dwItemData = 0;
    if (!(info.fType & MFT_SEPARATOR)) {
      change.fMask |= MIIM_STRING;
      change.dwTypeData = text.data();
      change.cch = static_cast<UINT>(text.size());
    }
    SetMenuItemInfoW(menu, static_cast<UINT>(pos), TRUE, &change);
  }
}

void TFlatMenuPainter::ApplyMenuBarBackground(bool paint) {
  HMENU bar = GetMenu(owner_);
  if (!bar) return;
  if (bar_brush_) DeleteObject(bar_brush_);
  bar_brush_ = paint ? CreateSolidBrush(Ref(WorkingColors().MenuBar)) : nullptr;
  MENUINFO info{};
  info.cbSize = sizeof info;
  info.fMask = MIM_BACKGROUND;
  info.hbrBack = bar_brush_;
  SetMenuInfo(bar, &info);
}

int TFlatMenuPainter::ImageIndex(const TItemRecord& record) const {
  if (!images_ || !index_of_ || record.Separator || record.HasSubItems) return -1;
  const int index = index_of_(record.Id);
  return index >= 0 && index < ImageList_GetImageCount(images_) ? index : -1;
}

TMenuItemSize TFlatMenuPainter::ImageSize(const TItemRecord& record) const {
  if (ImageIndex(record) < 0) return {};
  int w = 0, h = 0;
  ImageList_GetIconSize(images_, &w, &h);
  return {w, h};
}

const TMenuImage* TFlatMenuPainter::ImageFor(int index) {
  auto it = image_cache_.find(index);
  if (it == image_cache_.end())
    it = image_cache_.emplace(index, ExtractImage(images_, index)).first;
  return it->second.Width > 0 ? &it->second : nullptr;
}

bool TFlatMenuPainter::HandleMeasureItem(MEASUREITEMSTRUCT& item) {
  if (item.CtlType != ODT_MENU) return false;
  const TItemRecord* record = RecordOf(item.itemData);
  if (!record) return false;
  TMenuMeasureInput in;
  in.Caption = record->Caption;
  in.ShortCut = record->ShortCut;
  in.Separator = record->Separator;
  in.DropDown = !record->TopLevel;
  in.HasSubItems = record->HasSubItems;
  in.Image = ImageSize(*record);
  in.IconWidth = icon_width_;
  in.Dpi = dpi_;
  HDC screen = GetDC(owner_);
  HDC dc = CreateCompatibleDC(screen);
  ReleaseDC(owner_, screen);
  HGDIOBJ old = SelectObject(dc, MenuFont());
  const TMenuItemSize size =
      MeasureMenuItem(in, TDcTextMeasure(dc),
                      {static_cast<int>(item.itemWidth), static_cast<int>(item.itemHeight)});
  SelectObject(dc, old);
  DeleteDC(dc);
  item.itemWidth = static_cast<UINT>(size.Width);
  item.itemHeight = static_cast<UINT>(size.Height);
  return true;
}

bool TFlatMenuPainter::HandleDrawItem(const DRAWITEMSTRUCT& item) {
  if (item.CtlType != ODT_MENU) return false;
  const TItemRecord* record = RecordOf(item.itemData);
  if (!record) return false;
  const TMenuWorkingColors& colors = WorkingColors();
  const bool high_color = HighColor();
  const bool selected = (item.itemState & ODS_SELECTED) != 0;
  const bool disabled = (item.itemState & (ODS_GRAYED | ODS_DISABLED)) != 0;
  const bool checked = (item.itemState & ODS_CHECKED) != 0;
  const bool hot = (item.itemState & ODS_HOTLIGHT) != 0;
  const int image_index = ImageIndex(*record);

  HGDIOBJ old_font = SelectObject(item.hDC, MenuFont());
  SIZE w_size{};
  GetTextExtentPoint32A(item.hDC, "W", 1, &w_size);
  SelectObject(item.hDC, old_font);

  TMenuDrawInput in;
  in.Item = {item.rcItem.left, item.rcItem.top, item.rcItem.right, item.rcItem.bottom};
  in.DropDown = !record->TopLevel;
  in.RightToLeft = record->RightToLeft;
  in.Image = image_index >= 0 ? ImageSize(*record) : TMenuItemSize{};
  in.IconWidth = icon_width_;
  in.TextHeightW = w_size.cy;
  in.Dpi = dpi_;
  const TMenuDrawLayout l = LayoutMenuItem(in);
  if (l.Bitmap.IsEmpty()) return true;

  TItemBitmap bitmap(item.hDC, l.Bitmap.Width(), l.Bitmap.Height());
  if (!bitmap.Valid()) return true;
  HDC dc = bitmap.Dc();

  // Background.
  if (record->TopLevel) {
    Fill(dc, l.Area, colors.MenuBar);
  } else {
    Fill(dc, {0, 0, l.Bitmap.Width(), l.Bitmap.Height()}, colors.ItemBack);
    Fill(dc, l.IconColumn, colors.IconBack);
  }

  // Selection.
  const bool bar_lit = record->TopLevel && !disabled && (selected || hot);
  if (draw_select_) {
    if (bar_lit) {
      Fill(dc, l.Selection, colors.SelectFill);
      Frame(dc, l.Selection, colors.SelectBorder);
      const TRect& s = l.BarShadow;
      Fill(dc, {s.left, s.top, s.left + 1, s.bottom}, ShadeColor(colors.MenuBar, 50));
      Fill(dc, {s.left + 1, s.top + 1, s.right, s.bottom}, ShadeColor(colors.MenuBar, 25));
    } else if (!record->TopLevel && selected && !disabled) {
      Fill(dc, l.Selection, colors.SelectFill);
      Frame(dc, l.Selection, colors.SelectBorder);
    }
  }

  // Check marks.
  if (checked && !record->TopLevel) {
    if (image_index >= 0) {
      TShapeTools tools(dc, colors.CheckFrame, nullptr);
      const TRect& f = l.ImageFrame;
      if (record->Radio)
        RoundRect(dc, f.left, f.top, f.right, f.bottom, 6, 6);
      else
        Rectangle(dc, f.left, f.top, f.right, f.bottom);
    } else {
      const TColor ink = disabled ? colors.DisabledText : colors.CheckFrame;
      const TColor back = selected ? colors.CheckedSelectedBack : colors.CheckedBack;
      const TColor mark = disabled ? colors.DisabledText : clBlack;
      const TRect& b = l.CheckBox;
      if (record->Radio) {
        {
          TShapeTools tools(dc, ink, &back);
          Ellipse(dc, b.left, b.top, b.right, b.bottom);
        }
        TShapeTools tools(dc, mark, &mark);
        const int inset = ScaleForDpi(2, dpi_);
        Ellipse(dc, b.left + inset, b.top + inset, b.right - inset, b.bottom - inset);
      } else {
        {
          TShapeTools tools(dc, ink, &back);
          Rectangle(dc, b.left, b.top, b.right, b.bottom);
        }
        TShapeTools tools(dc, mark, nullptr);
        for (const TMenuLine& line : MenuTickLines(b, dpi_)) {
          MoveToEx(dc, line.From.x, line.From.y, nullptr);
          LineTo(dc, line.To.x, line.To.y);
        }
      }
    }
  }

  // Image.
  if (image_index >= 0) {
    if (const TMenuImage* image = ImageFor(image_index)) {
      GdiFlush();
      TMenuImageTint tint{gray_level_, dim_level_, colors.SelectFill};
      PaintMenuImage(*image, l.Image.x, l.Image.y,
                     MenuImageLookFor(disabled, checked, selected, high_color), tint,
                     [&bitmap](int x, int y, TColor rgb) { bitmap.Put(x, y, rgb); });
    }
  }

  if (record->Separator) {
    Fill(dc, {l.SeparatorLeft, l.SeparatorY, l.SeparatorRight, l.SeparatorY + 1}, colors.Separator);
  } else {
    HGDIOBJ old = SelectObject(dc, MenuFont());
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, Ref(MenuCaptionColor(colors, colors_.UseSystemColors,
                                          {disabled, selected || bar_lit, record->TopLevel})));
    const std::wstring caption = Wide(" " + record->Caption);
    const UINT rtl = record->RightToLeft ? DT_RTLREADING : 0;
    RECT text_rc = record->RightToLeft
                       ? RECT{l.TextArea.left, l.Caption.y, l.Caption.x, l.Area.bottom}
                       : RECT{l.Caption.x, l.Caption.y, l.TextArea.right, l.Area.bottom};
    DrawTextW(dc, caption.c_str(), static_cast<int>(caption.size()), &text_rc,
              DT_SINGLELINE | DT_NOCLIP | rtl | (record->RightToLeft ? DT_RIGHT : DT_LEFT));
    if (!disabled && !record->ShortCut.empty()) {
      const std::wstring shortcut = Wide(record->ShortCut + " ");
      RECT sc_rc = record->RightToLeft
                       ? RECT{l.ShortCutEdge, l.Caption.y, l.TextArea.right, l.Area.bottom}
                       : RECT{l.TextArea.left, l.Caption.y, l.ShortCutEdge, l.Area.bottom};
      DrawTextW(dc, shortcut.c_str(), static_cast<int>(shortcut.size()), &sc_rc,
                DT_SINGLELINE | DT_NOCLIP | DT_NOPREFIX | rtl |
                    (record->RightToLeft ? DT_LEFT : DT_RIGHT));
    }
    SelectObject(dc, old);
  }

  GdiFlush();
  BitBlt(item.hDC, l.Bitmap.left, l.Bitmap.top, l.Bitmap.Width(), l.Bitmap.Height(), dc, 0, 0,
         SRCCOPY);
  return true;
}

void TFlatMenuPainter::HandleInitMenuPopup(HMENU popup) {
  if (!active_ || !auto_detect_ || !popup) return;
  // Items added since the last attach are taken over before the drop-down
  // asks for their sizes.
  Refresh();
}

bool TFlatMenuPainter::HandleMessage(UINT msg, WPARAM wparam, LPARAM lparam, LRESULT& result) {
  switch (msg) {
    case WM_MEASUREITEM:
      if (wparam == 0 && HandleMeasureItem(*reinterpret_cast<MEASUREITEMSTRUCT*>(lparam))) {
        result = TRUE;
        return true;
      }
      return false;
    case WM_DRAWITEM:
      if (wparam == 0 && HandleDrawItem(*reinterpret_cast<const DRAWITEMSTRUCT*>(lparam))) {
        result = TRUE;
        return true;
      }
      return false;
    case WM_INITMENUPOPUP:
      if (!HIWORD(lparam)) HandleInitMenuPopup(reinterpret_cast<HMENU>(wparam));
      return false;  // the window's own handling carries on
    case WM_SYSCOLORCHANGE:
      // The working colours follow the new scheme from the next item drawn.
      colors_dirty_ = true;
      if (bar_brush_) ApplyMenuBarBackground(true);
      return false;
    default:
      return false;
  }
}
