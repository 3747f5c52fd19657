#include "editor/EditorMiscClasses.h"

#include <algorithm>

// ---- TInternalImage

void TInternalImage::Draw(ICanvas& canvas, int index, int x, int y) {
  if (index < 0 || index >= Count()) return;
  const TColor frame = Rgb(0, 0, 128);
  const TColor body = Rgb(255, 255, 192);
  const TColor ink = Rgb(0, 0, 128);
  // A card with a folded top-right corner.
  canvas.FillRect({x, y, x + Width(), y + Height()}, frame);
  canvas.FillRect({x + 1, y + 1, x + Width() - 3, y + Height() - 1}, body);
  canvas.FillRect({x + Width() - 3, y + 3, x + Width() - 1, y + Height() - 1}, body);
  // (the missing top-right corner of the body is the fold)
  // The digit as seven segments in a 5 x 7 box.
  static const unsigned char kSegments[10] = {0x3F, 0x06, 0x5B, 0x4F, 0x66,
                                              0x6D, 0x7D, 0x07, 0x7F, 0x6F};  // bits: a b c d e f g
  const unsigned char s = kSegments[index];
  const int l = x + 3, r = x + 7, t = y + 2, m = y + 5, b = y + 8;
  auto seg = [&](int bit, TRect rc) {
    if (s & (1 << bit)) canvas.FillRect(rc, ink);
  };
  seg(0, {l, t, r + 1, t + 1});  // a
  seg(1, {r, t, r + 1, m + 1});  // b
  seg(2, {r, m, r + 1, b + 1});  // c
  seg(3, {l, b, r + 1, b + 1});  // d
  seg(4, {l, m, l + 1, b + 1});  // e
  seg(5, {l, t, l + 1, m + 1});  // f
  seg(6, {l, m, r + 1, m + 1});  // g
}

// ---- TGutter

void TGutter::SetDigitCount(int v) { Set(digit_count_, std::clamp(v, 2, 12)); }

bool TGutter::AutoSizeDigitCount(int line_count) {
  int digits = digit_count_;
  if (show_line_numbers_ && auto_size_) {
    long long largest = line_count;
    if (zero_start_) --largest;
    if (line_number_start_ > 1) largest += line_number_start_ - 1;
    int needed = 1;
    for (long long n = largest; n >= 10; n /= 10) ++needed;
    digits = std::max(digits, needed);
  }
  if (digits == auto_digit_count_) return false;
  auto_digit_count_ = digits;
  return true;
}

int TGutter::RealGutterWidth(int digit_advance, int border) const {
  if (!visible_) return 0;
  if (show_line_numbers_)
    return left_offset_ + right_offset_ + auto_digit_count_ * digit_advance + border;
  return width_;
}

std::string TGutter::FormatLineNumber(int line) const {
  long long number =
      zero_start_ ? line - 1LL : line + static_cast<long long>(line_number_start_) - 1;
  std::string text = std::to_string(number);
  if (static_cast<int>(text.size()) < auto_digit_count_)
    text.insert(0, static_cast<std::size_t>(auto_digit_count_) - text.size(),
                leading_zeros_ ? '0' : ' ');
  return text;
}
