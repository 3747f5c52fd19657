#include "print/EditorPrintHeaderFooter.h"

#include <strings.h>

#include <algorithm>
#include <cmath>
#include <cstring>

std::string IntToRoman(int value) {
  static const struct {
    int value;
    const char* text;
  } kParts[] = {{1000, "M"}, {900, "CM"}, {500, "D"}, {400, "CD"}, {100, "C"},
                {90, "XC"},  {50, "L"},   {40, "XL"}, {10, "X"},   {9, "IX"},
                {5, "V"},    {4, "IV"},   {1, "I"}};
  std::string result;
  for (const auto& part : kParts) {
    while (value >= part.value) {
      result += part.text;
      value -= part.value;
    }
  }
  return result;
}

namespace {

bool IsBlank(char c) { return static_cast<unsigned char>(c) <= ' '; }

bool SameMacro(std::string_view token, const char* name) {
  return token.size() == std::strlen(name) && strncasecmp(token.data(), name, token.size()) == 0;
}

}  // namespace

std::string THeaderFooterItem::ExpandText(int page_count, int page_number, bool roman,
                                          const std::string& title, const std::string& time,
                                          const std::string& date) const {
  if (std::all_of(text_.begin(), text_.end(), IsBlank)) return std::string();
  auto number = [roman](int n) { return roman ? IntToRoman(n) : std::to_string(n); };
  std::string out;
  std::size_t i = 0;
  const std::size_t n = text_.size();
  while (i < n) {
    if (text_[i] != '$') {
      out += text_[i++];
      continue;
    }
    const std::size_t close = text_.find('$', i + 1);
    if (close == std::string::npos) {
      out.append(text_, i, std::string::npos);
      break;
    }
    const std::string_view token(text_.data() + i, close - i + 1);
    std::string replacement;
    bool known = true;
    if (SameMacro(token, "$PAGENUM$"))
      replacement = number(page_number);
    else if (SameMacro(token, "$PAGECOUNT$"))
      replacement = number(page_count);
    else if (SameMacro(token, "$TITLE$"))
      replacement = title;
    else if (SameMacro(token, "$DATE$"))
      replacement = date;
    else if (SameMacro(token, "$TIME$"))
      replacement = time;
    else if (SameMacro(token, "$DATETIME$"))
      replacement = date + " " + time;
    else if (SameMacro(token, "$TIMEDATE$"))
      replacement = time + " " + date;
    else
      known = false;
    if (known) {
      out += replacement;
      i = close + 1;
    } else {
      // The closing dollar may open the next macro.
      out.append(text_, i, close - i);
      i = close;
    }
  }
  return out;
}

THeaderFooter::THeaderFooter(TKind kind) : kind_(kind) {
  default_font_.Name = "Arial";
  default_font_.Height = -13;
  default_font_.Color = clBlack;
}

int THeaderFooter::AddItem(const std::string& text, const TFont* font, THeaderFooterAlign alignment,
                           int line_number) {
  const int index = Count();
  items_.push_back(std::make_unique<THeaderFooterItem>(text, font ? *font : default_font_,
                                                       alignment, line_number, index));
  return index;
}

TFont THeaderFooter::Scaled(const TFont& font) const {
  TFont f = font;
  f.Height = static_cast<int>(std::lround(font.Height * font_scale_));
  return f;
}

void THeaderFooter::InitPrint(IPrintSurface& surface, int page_count,
                              const TEditorPrintMargins& margins, const std::string& title,
                              const std::string& date, const std::string& time, double font_scale) {
  page_count_ = page_count;
  title_ = title;
  date_ = date;
  time_ = time;
  font_scale_ = font_scale;
  // Sorted by line, items on the same line in the order they were added.
  std::stable_sort(items_.begin(), items_.end(),
                   [](const auto& a, const auto& b) { return a->LineNumber() < b->LineNumber(); });
  lines_.clear();
  int previous = 0;
  bool first = true;
  for (auto& item : items_) {
    if (first || item->LineNumber() != previous) {
      previous = item->LineNumber();
      lines_.push_back(TLineInfo{});
      first = false;
    }
    item->SetLineNumber(static_cast<int>(lines_.size()));
  }
  if (items_.empty()) {
    frame_height_ = -1;
    return;
  }
  int frame = 0;
  int line_top = 0;
  int current = 0;
  for (auto& item : items_) {
    if (item->LineNumber() != current) {
      current = item->LineNumber();
      line_top = frame;
    }
    const TFont f = Scaled(item->Font());
    const TPrintFontMetrics m = surface.MeasurePrintFont(f, f.Style);
    TLineInfo& info = lines_[static_cast<std::size_t>(current - 1)];
    info.MaxHeight = std::max(info.MaxHeight, m.Height);
    info.MaxBaseline = std::max(info.MaxBaseline, m.Height - m.Descent);
    frame = std::max(frame, line_top + m.Height);
  }
  frame_height_ = frame + 2 * margins.HFInternalMarginPx;
}

void THeaderFooter::Print(IPrintSurface& surface, const TEditorPrintMargins& margins,
                          int page_number) {
  if (frame_height_ <= 0) return;
  const int frame = frame_height_;
  ICanvas& canvas = surface.Canvas();
  const bool header = kind_ == TKind::Header;
  const int edge = header ? margins.HeaderPx : margins.FooterPx;
  if (frame_types_ != 0) {
    if (frame_types_ & (ftBox | ftShaded)) {
      const TRect box = header ? TRect{margins.LeftPx, edge - frame, margins.RightPx, edge}
                               : TRect{margins.LeftPx, edge, margins.RightPx, edge + frame};
      if (frame_types_ & ftShaded) canvas.FillRect(box, shaded_color_);
      if (frame_types_ & ftBox) {
        canvas.DrawLine({box.left, box.top}, {box.right, box.top}, line_color_);
        canvas.DrawLine({box.right - 1, box.top}, {box.right - 1, box.bottom}, line_color_);
        canvas.DrawLine({box.left, box.bottom - 1}, {box.right, box.bottom - 1}, line_color_);
        canvas.DrawLine({box.left, box.top}, {box.left, box.bottom}, line_color_);
      }
    }
    if (frame_types_ & ftLine)
      canvas.DrawLine({margins.LeftPx, edge}, {margins.RightPx, edge}, line_color_);
  }
  int y = (header ? edge - frame : edge) + margins.HFInternalMarginPx;
  int current = 1;
  for (const auto& item : items_) {
    if (item->LineNumber() != current) {
      y += lines_[static_cast<std::size_t>(current - 1)].MaxHeight;
      current = item->LineNumber();
    }
    const TFont f = Scaled(item->Font());
    const std::string text =
        item->ExpandText(page_count_, page_number, roman_numbers_, title_, time_, date_);
    THeaderFooterAlign align = item->Alignment();
    if (mirror_position_ && page_number % 2 == 0) {
      if (align == hfaLeft)
        align = hfaRight;
      else if (align == hfaRight)
        align = hfaLeft;
    }
    const int width = surface.TextWidth(f, f.Style, text);
    int x = margins.LeftHFTextIndentPx;
    if (align == hfaRight)
      x = margins.RightHFTextIndentPx - width;
    else if (align == hfaCenter)
      x = (margins.LeftHFTextIndentPx + margins.RightHFTextIndentPx - width) / 2;
    const TPrintFontMetrics m = surface.MeasurePrintFont(f, f.Style);
    const int baseline = y + lines_[static_cast<std::size_t>(current - 1)].MaxBaseline;
    surface.DrawPlainText(x, baseline - (m.Height - m.Descent), text, f, f.Color);
  }
}
