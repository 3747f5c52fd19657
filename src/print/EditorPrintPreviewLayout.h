#pragma once
// The geometry and the rules of the print preview that need no window: page
// proportions, page placement for each zoom, scroll limits, the zoom list,
// the page text and the page buttons' states.
#include <string>

enum TPreviewScale { pscWholePage = 0, pscPageWidth = 1, pscUserScaled = 2 };

// Frame around the page: 12 pixels before it, 14 after (with the shadow).
constexpr int kPreviewFrame = 26;
constexpr int kPreviewMargin = 12;

// a * b / c rounded to the nearest integer (halves away from zero); 0 for c == 0.
int MulDivRound(int a, int b, int c);

class TPreviewLayout {
 public:
  // The printer page and the two resolutions. Without an engine the page
  // keeps the 100:141 proportion and has no size at 100%.
  void SetPage(bool has_engine, int physical_width, int physical_height, int printer_xdpi,
               int printer_ydpi, int screen_xdpi, int screen_ydpi);
  int HeightForWidth(int width) const;
  int WidthForHeight(int height) const;

  void Layout(TPreviewScale mode, int percent, int client_width, int client_height);

  int PageWidth = 0, PageHeight = 0;
  int VirtualWidth = 0, VirtualHeight = 0;
  int OffsetX = kPreviewMargin, OffsetY = kPreviewMargin;

 private:
  bool has_engine_ = false;
  int physical_width_ = 100, physical_height_ = 141;
  int printer_xdpi_ = 1, printer_ydpi_ = 1, screen_xdpi_ = 96, screen_ydpi_ = 96;
};

// A scroll position (0 or negative) kept within what the virtual size allows.
int ClampPreviewScroll(int position, int client_size, int virtual_size);

// The zoom list: index 0 "Whole Page", 1 "Page Width", then percentages.
constexpr int kPreviewScaleCount = 9;
const char* PreviewScaleText(int index);
struct TPreviewZoom {
  TPreviewScale mode;
  int percent;  // for pscUserScaled
};
// Index outside the list: 100%.
TPreviewZoom PreviewZoom(int index);
// The entry a mouse click on the page selects: left the next, right the
// previous, other buttons none; -1 when nothing changes.
int PreviewZoomAfterClick(int index, bool left_button, bool right_button);

// " Page 2 of 5".
std::string PreviewPageText(int page, int count);

struct TPreviewButtons {
  bool first = false, previous = false, next = false, last = false;
};
TPreviewButtons PreviewButtonStates(bool printer_known, int current_page, int page_count);
