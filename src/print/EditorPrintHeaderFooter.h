#pragma once
// The header and footer that frame every printed page: text items on one or
// more rows, with macros such as the page number, and an optional frame.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "print/EditorPrintMargins.h"
#include "print/PrintSurface.h"

enum TFrameType : std::uint8_t { ftLine = 1, ftBox = 2, ftShaded = 4 };
using TFrameTypes = std::uint8_t;

enum THeaderFooterAlign { hfaLeft = 0, hfaRight = 1, hfaCenter = 2 };

// Upper-case Roman numerals; 0 gives an empty text.
std::string IntToRoman(int value);

class THeaderFooterItem {
 public:
  THeaderFooterItem(std::string text, const TFont& font, THeaderFooterAlign alignment,
                    int line_number, int index)
      : text_(std::move(text)),
        font_(font),
        alignment_(alignment),
        line_number_(line_number),
        index_(index) {}

  const std::string& Text() const { return text_; }
  const TFont& Font() const { return font_; }
  THeaderFooterAlign Alignment() const { return alignment_; }
  int LineNumber() const { return line_number_; }
  void SetLineNumber(int value) { line_number_ = value; }
  int Index() const { return index_; }

  // The text with its macros replaced.
  std::string ExpandText(int page_count, int page_number, bool roman, const std::string& title,
                         const std::string& time, const std::string& date) const;

 private:
  std::string text_;
  TFont font_;
  THeaderFooterAlign alignment_;
  int line_number_;
  int index_;
};

class THeaderFooter {
 public:
  enum class TKind { Header, Footer };
  explicit THeaderFooter(TKind kind);

  TFrameTypes FrameTypes() const { return frame_types_; }
  void SetFrameTypes(TFrameTypes value) { frame_types_ = value; }
  TColor ShadedColor() const { return shaded_color_; }
  void SetShadedColor(TColor value) { shaded_color_ = value; }
  TColor LineColor() const { return line_color_; }
  void SetLineColor(TColor value) { line_color_ = value; }
  const TFont& DefaultFont() const { return default_font_; }
  void SetDefaultFont(const TFont& value) { default_font_ = value; }
  bool RomanNumbers() const { return roman_numbers_; }
  void SetRomanNumbers(bool value) { roman_numbers_ = value; }
  bool MirrorPosition() const { return mirror_position_; }
  void SetMirrorPosition(bool value) { mirror_position_ = value; }

  // With no font the item takes a copy of DefaultFont. Returns the item's index.
  int AddItem(const std::string& text, const TFont* font, THeaderFooterAlign alignment,
              int line_number);
  void ClearItems() { items_.clear(); }
  int Count() const { return static_cast<int>(items_.size()); }
  const THeaderFooterItem& Item(int i) const { return *items_[static_cast<std::size_t>(i)]; }

  // Per job: captures the texts, sorts and measures the items. font_scale
  // turns the items' screen font heights into surface pixels.
  void InitPrint(IPrintSurface& surface, int page_count, const TEditorPrintMargins& margins,
                 const std::string& title, const std::string& date, const std::string& time,
                 double font_scale);
  void Print(IPrintSurface& surface, const TEditorPrintMargins& margins, int page_number);

  int FrameHeight() const { return frame_height_; }
  int LineCount() const { return static_cast<int>(lines_.size()); }

 private:
  struct TLineInfo {
    int MaxHeight = 0;
    int MaxBaseline = 0;
  };
  TFont Scaled(const TFont& font) const;

  TKind kind_;
  TFrameTypes frame_types_ = ftLine;
  TColor shaded_color_ = clSilver;
  TColor line_color_ = clBlack;
  TFont default_font_;
  bool roman_numbers_ = false;
  bool mirror_position_ = false;
  std::vector<std::unique_ptr<THeaderFooterItem>> items_;
  std::vector<TLineInfo> lines_;
  int frame_height_ = -1;
  int page_count_ = 0;
  double font_scale_ = 1;
  std::string title_, date_, time_;
};

class THeader : public THeaderFooter {
 public:
  THeader() : THeaderFooter(TKind::Header) {}
};

class TFooter : public THeaderFooter {
 public:
  TFooter() : THeaderFooter(TKind::Footer) {}
};
