#include "print/EditorPrintPreviewLayout.h"

#include <algorithm>
#include <cstdint>

int MulDivRound(int a, int b, int c) {
  if (c == 0) return 0;
  const std::int64_t p = static_cast<std::int64_t>(a) * b;
  const std::int64_t half = (c < 0 ? -c : c) / 2;
  const bool negative = (p < 0) != (c < 0);
  const std::int64_t q = ((p < 0 ? -p : p) + half) / (c < 0 ? -c : c);
  return static_cast<int>(negative ? -q : q);
}

void TPreviewLayout::SetPage(bool has_engine, int physical_width, int physical_height,
                             int printer_xdpi, int printer_ydpi, int screen_xdpi, int screen_ydpi) {
  has_engine_ = has_engine && physical_width > 0 && physical_height > 0 && printer_xdpi > 0 &&
                printer_ydpi > 0;
  if (has_engine_) {
    physical_width_ = physical_width;
    physical_height_ = physical_height;
    printer_xdpi_ = printer_xdpi;
    printer_ydpi_ = printer_ydpi;
  } else {
    physical_width_ = 100;
    physical_height_ = 141;
  }
  screen_xdpi_ = screen_xdpi;
  screen_ydpi_ = screen_ydpi;
}

int TPreviewLayout::HeightForWidth(int width) const {
  return MulDivRound(width, physical_height_, physical_width_);
}

int TPreviewLayout::WidthForHeight(int height) const {
  return MulDivRound(height, physical_width_, physical_height_);
}

void TPreviewLayout::Layout(TPreviewScale mode, int percent, int client_width, int client_height) {
  switch (mode) {
    case pscWholePage:
      PageWidth = client_width - kPreviewFrame;
      PageHeight = client_height - kPreviewFrame;
      if (WidthForHeight(PageHeight) < PageWidth)
        PageWidth = WidthForHeight(PageHeight);
      else
        PageHeight = HeightForWidth(PageWidth);
      break;
    case pscPageWidth:
      PageWidth = client_width - kPreviewFrame;
      PageHeight = HeightForWidth(PageWidth);
      break;
    case pscUserScaled: {
      const int w100 = has_engine_ ? MulDivRound(physical_width_, screen_xdpi_, printer_xdpi_) : 0;
      const int h100 = has_engine_ ? MulDivRound(physical_height_, screen_ydpi_, printer_ydpi_) : 0;
      PageWidth = MulDivRound(w100, percent, 100);
      PageHeight = MulDivRound(h100, percent, 100);
      break;
    }
  }
  PageWidth = std::max(PageWidth, 0);
  PageHeight = std::max(PageHeight, 0);
  VirtualWidth = PageWidth + kPreviewFrame;
  VirtualHeight = PageHeight + kPreviewFrame;
  OffsetX = kPreviewMargin + std::max(0, (client_width - VirtualWidth) / 2);
  OffsetY = kPreviewMargin + std::max(0, (client_height - VirtualHeight) / 2);
}

int ClampPreviewScroll(int position, int client_size, int virtual_size) {
  return std::clamp(position, std::min(0, client_size - virtual_size), 0);
}

namespace {

const char* const kScaleTexts[kPreviewScaleCount] = {
    "Whole Page", "Page Width", "25%", "50%", "100%", "150%", "200%", "300%", "400%"};
const int kPercents[kPreviewScaleCount] = {0, 0, 25, 50, 100, 150, 200, 300, 400};

}  // namespace

const char* PreviewScaleText(int index) {
  return index >= 0 && index < kPreviewScaleCount ? kScaleTexts[index] : "";
}

TPreviewZoom PreviewZoom(int index) {
  if (index == 0) return {pscWholePage, 100};
  if (index == 1) return {pscPageWidth, 100};
  if (index > 1 && index < kPreviewScaleCount) return {pscUserScaled, kPercents[index]};
  return {pscUserScaled, 100};
}

int PreviewZoomAfterClick(int index, bool left_button, bool right_button) {
  if (left_button) return index < kPreviewScaleCount - 1 ? index + 1 : -1;
  if (right_button) return index > 0 ? index - 1 : -1;
  return -1;
}

std::string PreviewPageText(int page, int count) {
  return " Page " + std::to_string(page) + " of " + std::to_string(count);
}

TPreviewButtons PreviewButtonStates(bool printer_known, int current_page, int page_count) {
  TPreviewButtons b;
  if (printer_known && page_count != 1) {
    b.first = current_page > 1;
    b.last = current_page < page_count;
  }
  b.previous = b.first;
  b.next = b.last;
  return b;
}
