#pragma once
// The editor's helper objects: the gutter, the selection colours, bookmark
// options and marks, the wrap glyph, and the built-in bookmark images.
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/Canvas.h"
#include "platform/Types.h"

enum TGutterBorderStyle : std::uint8_t { gbsNone, gbsMiddle, gbsRight };

// A set of same-sized images drawn onto a canvas (bookmark glyphs).
class IEditorImageList {
 public:
  virtual ~IEditorImageList() = default;
  virtual int Count() const = 0;
  virtual int Width() const = 0;
  virtual int Height() const = 0;
  virtual void Draw(ICanvas& canvas, int index, int x, int y) = 0;
};

// The ten bookmark images the editor draws when no image list is given: a
// small flag with the bookmark's digit, drawn with plain rectangles so that
// they need no bitmap resource.
class TInternalImage : public IEditorImageList {
 public:
  int Count() const override { return 10; }
  int Width() const override { return 11; }
  int Height() const override { return 12; }
  void Draw(ICanvas& canvas, int index, int x, int y) override;
};

// Change notification shared by the small option objects.
using TNotifyChange = std::function<void()>;

class TGutter {
 public:
  bool AutoSize() const { return auto_size_; }
  void SetAutoSize(bool v) { Set(auto_size_, v); }
  TGutterBorderStyle BorderStyle() const { return border_style_; }
  void SetBorderStyle(TGutterBorderStyle v) { Set(border_style_, v); }
  TColor Color() const { return color_; }
  void SetColor(TColor v) { Set(color_, v); }
  TColor BorderColor() const { return border_color_; }
  void SetBorderColor(TColor v) { Set(border_color_, v); }
  int Cursor() const { return cursor_; }
  void SetCursor(int v) { cursor_ = v; }
  // Limited to 2..12.
  int DigitCount() const { return digit_count_; }
  void SetDigitCount(int v);
  const TFont& Font() const { return font_; }
  void SetFont(const TFont& v) { Set(font_, v); }
  bool LeadingZeros() const { return leading_zeros_; }
  void SetLeadingZeros(bool v) { Set(leading_zeros_, v); }
  int LeftOffset() const { return left_offset_; }
  void SetLeftOffset(int v) { Set(left_offset_, v < 0 ? 0 : v); }
  int RightOffset() const { return right_offset_; }
  void SetRightOffset(int v) { Set(right_offset_, v < 0 ? 0 : v); }
  bool ShowLineNumbers() const { return show_line_numbers_; }
  void SetShowLineNumbers(bool v) { Set(show_line_numbers_, v); }
  bool UseFontStyle() const { return use_font_style_; }
  void SetUseFontStyle(bool v) { Set(use_font_style_, v); }
  bool Visible() const { return visible_; }
  void SetVisible(bool v) { Set(visible_, v); }
  // The width used without line numbers.
  int Width() const { return width_; }
  void SetWidth(int v) { Set(width_, v < 0 ? 0 : v); }
  bool ZeroStart() const { return zero_start_; }
  void SetZeroStart(bool v) { Set(zero_start_, v); }
  int LineNumberStart() const { return line_number_start_; }
  void SetLineNumberStart(int v) { Set(line_number_start_, v < 0 ? 0 : v); }
  bool Gradient() const { return gradient_; }
  void SetGradient(bool v) { Set(gradient_, v); }
  TColor GradientStartColor() const { return gradient_start_color_; }
  void SetGradientStartColor(TColor v) { Set(gradient_start_color_, v); }
  TColor GradientEndColor() const { return gradient_end_color_; }
  void SetGradientEndColor(TColor v) { Set(gradient_end_color_, v); }
  int GradientSteps() const { return gradient_steps_; }
  void SetGradientSteps(int v) { Set(gradient_steps_, v < 2 ? 2 : v); }

  // The digit count in use: DigitCount, or more with AutoSize when the
  // largest line number shown needs more.
  int RealDigitCount() const { return auto_digit_count_; }
  // Recomputes the digit count in use for a text of line_count lines;
  // true when it changed.
  bool AutoSizeDigitCount(int line_count);
  // Width in pixels for a digit advance (0 when the gutter is hidden).
  // border: the pixels of the two border columns at the right.
  int RealGutterWidth(int digit_advance, int border = 2) const;
  // The text shown for a 1-based line number, right-aligned in the field.
  std::string FormatLineNumber(int line) const;

  TNotifyChange OnChange;

 private:
  template <typename T>
  void Set(T& field, const T& value) {
    if (field == value) return;
    field = value;
    if (OnChange) OnChange();
  }

  bool auto_size_ = false;
  TGutterBorderStyle border_style_ = gbsMiddle;
  TColor color_ = clBtnFace;
  TColor border_color_ = clWindow;
  int cursor_ = -2;  // arrow
  int digit_count_ = 4;
  int auto_digit_count_ = 4;
  TFont font_{"Courier New", -11, clWindowText, 0};  // 8 pt
  bool leading_zeros_ = false;
  int left_offset_ = 16;
  int right_offset_ = 2;
  bool show_line_numbers_ = false;
  bool use_font_style_ = true;
  bool visible_ = true;
  int width_ = 30;
  bool zero_start_ = false;
  int line_number_start_ = 1;
  bool gradient_ = false;
  TColor gradient_start_color_ = clWindow;
  TColor gradient_end_color_ = clBtnFace;
  int gradient_steps_ = 48;
};

class TSelectedColor {
 public:
  TColor Background() const { return background_; }
  void SetBackground(TColor v) {
    if (v == background_) return;
    background_ = v;
    if (OnChange) OnChange();
  }
  TColor Foreground() const { return foreground_; }
  void SetForeground(TColor v) {
    if (v == foreground_) return;
    foreground_ = v;
    if (OnChange) OnChange();
  }
  TNotifyChange OnChange;

 private:
  TColor background_ = clHighlight;
  TColor foreground_ = clHighlightText;
};

class TBookMarkOpt {
 public:
  // Not owned; nullptr uses the built-in images.
  IEditorImageList* BookmarkImages() const { return images_; }
  void SetBookmarkImages(IEditorImageList* v) { Set(images_, v); }
  bool DrawBookmarksFirst() const { return draw_bookmarks_first_; }
  void SetDrawBookmarksFirst(bool v) { Set(draw_bookmarks_first_, v); }
  bool EnableKeys() const { return enable_keys_; }
  void SetEnableKeys(bool v) { enable_keys_ = v; }
  bool GlyphsVisible() const { return glyphs_visible_; }
  void SetGlyphsVisible(bool v) { Set(glyphs_visible_, v); }
  int LeftMargin() const { return left_margin_; }
  void SetLeftMargin(int v) { Set(left_margin_, v); }
  int Xoffset() const { return x_offset_; }
  void SetXoffset(int v) { Set(x_offset_, v); }
  TNotifyChange OnChange;

 private:
  template <typename T>
  void Set(T& field, const T& value) {
    if (field == value) return;
    field = value;
    if (OnChange) OnChange();
  }
  IEditorImageList* images_ = nullptr;
  bool draw_bookmarks_first_ = true;
  bool enable_keys_ = true;
  bool glyphs_visible_ = true;
  int left_margin_ = 2;
  int x_offset_ = 12;
};

// The glyph that marks continuation rows of wrapped lines. Lines are never
// wrapped in this program, so it is kept but not drawn.
class TGlyph {
 public:
  // Not owned.
  IEditorImageList* Glyph() const { return glyph_; }
  void SetGlyph(IEditorImageList* v) {
    glyph_ = v;
    if (OnChange) OnChange();
  }
  TColor MaskColor() const { return mask_color_; }
  void SetMaskColor(TColor v) { mask_color_ = v; }
  bool Visible() const { return visible_; }
  void SetVisible(bool v) { visible_ = v; }
  TNotifyChange OnChange;

 private:
  IEditorImageList* glyph_ = nullptr;
  TColor mask_color_ = Rgb(0, 255, 0);
  bool visible_ = true;
};

// A mark in the gutter: one of the ten bookmarks, or another mark.
struct TEditorMark {
  int Line = 0;
  int Char = 0;
  int ImageIndex = 0;
  // 0..9 for a bookmark, -1 for another mark.
  int BookmarkNumber = -1;
  bool Visible = false;
  // Drawn from the built-in images when no image list is set.
  bool InternalImage = false;
  bool IsBookmark() const { return BookmarkNumber >= 0; }
};
