#include "win32/ToolGlyphs.h"

#include <initializer_list>

namespace {

constexpr int kSize = 16;
constexpr COLORREF kMask = RGB(255, 0, 255);
constexpr COLORREF kInk = RGB(40, 40, 40);
constexpr COLORREF kPaper = RGB(255, 255, 255);
constexpr COLORREF kBlue = RGB(30, 80, 170);
constexpr COLORREF kGreen = RGB(30, 140, 50);
constexpr COLORREF kFolder = RGB(230, 190, 70);

const TCommandId kOrder[] = {cmNew,  cmOpen, cmSave,  cmSaveAs, cmToolPrint,   cmPrintPreview,
                             cmUndo, cmRedo, cmCut,   cmCopy,   cmPaste,       cmShowSpecial,
                             cmRunToCursor,  cmRun};

class Pen {
 public:
  Pen(HDC dc, COLORREF ink, COLORREF fill) : dc_(dc) {
    pen_ = CreatePen(PS_SOLID, 1, ink);
    brush_ = CreateSolidBrush(fill);
    old_pen_ = SelectObject(dc, pen_);
    old_brush_ = SelectObject(dc, brush_);
  }
  ~Pen() {
    SelectObject(dc_, old_pen_);
    SelectObject(dc_, old_brush_);
    DeleteObject(pen_);
    DeleteObject(brush_);
  }

 private:
  HDC dc_;
  HPEN pen_;
  HBRUSH brush_;
  HGDIOBJ old_pen_, old_brush_;
};

void Poly(HDC dc, int ox, COLORREF ink, COLORREF fill, std::initializer_list<POINT> pts) {
  Pen p(dc, ink, fill);
  POINT buf[16];
  int n = 0;
  for (POINT pt : pts) buf[n++] = POINT{pt.x + ox, pt.y};
  Polygon(dc, buf, n);
}

void Box(HDC dc, int ox, COLORREF ink, COLORREF fill, int l, int t, int r, int b) {
  Pen p(dc, ink, fill);
  Rectangle(dc, ox + l, t, ox + r, b);
}

void Lines(HDC dc, int ox, COLORREF ink, std::initializer_list<POINT> pts) {
  Pen p(dc, ink, ink);
  bool first = true;
  for (POINT pt : pts) {
    if (first) MoveToEx(dc, ox + pt.x, pt.y, nullptr);
    else LineTo(dc, ox + pt.x, pt.y);
    first = false;
  }
}

void Page(HDC dc, int ox, int l, int t) {
  Poly(dc, ox, kInk, kPaper, {{l, t}, {l + 7, t}, {l + 10, t + 3}, {l + 10, t + 13}, {l, t + 13}});
}

void Disk(HDC dc, int ox) {
  Box(dc, ox, kInk, kBlue, 1, 1, 15, 15);
  Box(dc, ox, kInk, kPaper, 4, 1, 12, 7);
  Box(dc, ox, kInk, RGB(200, 200, 200), 4, 10, 12, 15);
}

void Triangle(HDC dc, int ox, int l) {
  Poly(dc, ox, kGreen, kGreen, {{l, 2}, {l + 8, 8}, {l, 14}});
}

void Draw(HDC dc, TCommandId id, int ox) {
  switch (id) {
    case cmNew: Page(dc, ox, 3, 1); break;
    case cmOpen:
      Poly(dc, ox, kInk, kFolder, {{1, 4}, {6, 4}, {7, 6}, {14, 6}, {14, 14}, {1, 14}});
      Poly(dc, ox, kInk, RGB(250, 220, 120), {{3, 8}, {15, 8}, {13, 14}, {1, 14}});
      break;
    case cmSave: Disk(dc, ox); break;
    case cmSaveAs:
      Disk(dc, ox);
      Lines(dc, ox, kInk, {{9, 13}, {15, 7}});
      break;
    case cmToolPrint:
      Box(dc, ox, kInk, kPaper, 4, 1, 12, 6);
      Box(dc, ox, kInk, RGB(190, 190, 190), 1, 6, 15, 12);
      Box(dc, ox, kInk, kPaper, 4, 10, 12, 15);
      break;
    case cmPrintPreview:
      Page(dc, ox, 1, 1);
      Box(dc, ox, kInk, RGB(200, 230, 255), 6, 6, 12, 12);
      Lines(dc, ox, kInk, {{11, 11}, {15, 15}});
      break;
    case cmUndo:
      Lines(dc, ox, kBlue, {{13, 12}, {13, 7}, {11, 5}, {3, 5}});
      Poly(dc, ox, kBlue, kBlue, {{2, 5}, {6, 1}, {6, 9}});
      break;
    case cmRedo:
      Lines(dc, ox, kBlue, {{2, 12}, {2, 7}, {4, 5}, {12, 5}});
      Poly(dc, ox, kBlue, kBlue, {{13, 5}, {9, 1}, {9, 9}});
      break;
    case cmCut:
      Lines(dc, ox, kInk, {{4, 1}, {10, 11}});
      Lines(dc, ox, kInk, {{11, 1}, {5, 11}});
      Box(dc, ox, kInk, kPaper, 2, 10, 7, 15);
      Box(dc, ox, kInk, kPaper, 9, 10, 14, 15);
      break;
    case cmCopy:
      Page(dc, ox, 1, 1);
      Page(dc, ox, 5, 3);
      break;
    case cmPaste:
      Box(dc, ox, kInk, kFolder, 1, 2, 12, 15);
      Box(dc, ox, kInk, RGB(190, 190, 190), 4, 1, 9, 4);
      Page(dc, ox, 6, 6);
      break;
    case cmShowSpecial:
      Box(dc, ox, kInk, kInk, 4, 2, 9, 8);
      Lines(dc, ox, kInk, {{8, 2}, {8, 15}});
      Lines(dc, ox, kInk, {{11, 2}, {11, 15}});
      Lines(dc, ox, kInk, {{7, 2}, {14, 2}});
      break;
    case cmRunToCursor:
      Triangle(dc, ox, 2);
      Box(dc, ox, kInk, kInk, 12, 2, 14, 15);
      break;
    case cmRun: Triangle(dc, ox, 4); break;
    default: break;
  }
}

}  // namespace

HIMAGELIST CreateToolGlyphs(int size) {
  const int count = static_cast<int>(sizeof kOrder / sizeof kOrder[0]);
  HDC screen = GetDC(nullptr);
  HDC dc = CreateCompatibleDC(screen);
  HBITMAP strip = CreateCompatibleBitmap(screen, size * count, size);
  ReleaseDC(nullptr, screen);
  HGDIOBJ old = SelectObject(dc, strip);
  RECT all{0, 0, size * count, size};
  HBRUSH mask = CreateSolidBrush(kMask);
  FillRect(dc, &all, mask);
  DeleteObject(mask);
  // The shapes are given on a 16-pixel grid; other sizes draw them through a
  // scaling transform, so they are drawn anew rather than stretched.
  const bool scaled = size != kSize;
  if (scaled) {
    SetGraphicsMode(dc, GM_ADVANCED);
    const float f = static_cast<float>(size) / kSize;
    const XFORM scale{f, 0, 0, f, 0, 0};
    SetWorldTransform(dc, &scale);
  }
  for (int i = 0; i < count; ++i) Draw(dc, kOrder[i], i * kSize);
  if (scaled) ModifyWorldTransform(dc, nullptr, MWT_IDENTITY);
  SelectObject(dc, old);
  DeleteDC(dc);
  HIMAGELIST list = ImageList_Create(size, size, ILC_COLOR24 | ILC_MASK, count, 0);
  ImageList_AddMasked(list, strip, kMask);
  DeleteObject(strip);
  return list;
}

int ToolGlyphIndex(TCommandId id) {
  const int count = static_cast<int>(sizeof kOrder / sizeof kOrder[0]);
  for (int i = 0; i < count; ++i) {
    if (kOrder[i] == id) return i;
  }
  return I_IMAGENONE;
}
