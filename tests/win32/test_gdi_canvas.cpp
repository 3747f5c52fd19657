#include <gtest/gtest.h>
#include <windows.h>

#include <vector>

#include "app/CompletionSetup.h"
#include "win32/GdiCanvas.h"
#include "win32/GdiPrettyCanvas.h"
#include "win32/PrintingSurface.h"

namespace {

// The completion list's font.
TFont ListFont() {
  TCompletionProposal list;
  ConfigureMainCompletionProposal(list);
  return list.Font();
}

// A 64 x 32 memory bitmap to draw on.
class GdiCanvasTest : public ::testing::Test {
 protected:
  void SetUp() override {
    HDC screen = GetDC(nullptr);
    dc = CreateCompatibleDC(screen);
    bitmap = CreateCompatibleBitmap(screen, 64, 32);
    ReleaseDC(nullptr, screen);
    old = SelectObject(dc, bitmap);
  }
  void TearDown() override {
    SelectObject(dc, old);
    DeleteObject(bitmap);
    DeleteDC(dc);
  }
  HDC dc = nullptr;
  HBITMAP bitmap = nullptr;
  HGDIOBJ old = nullptr;

  void Clear() {
    const RECT all{0, 0, 64, 32};
    FillRect(dc, &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
  }
  std::vector<COLORREF> Pixels() const {
    std::vector<COLORREF> pixels;
    for (int y = 0; y < 32; ++y)
      for (int x = 0; x < 64; ++x) pixels.push_back(GetPixel(dc, x, y));
    return pixels;
  }
  // Wide text drawn directly in a font (by default the one the list would use).
  std::vector<COLORREF> Drawn(const TFont& font, const wchar_t* text, HFONT made = nullptr) {
    Clear();
    HGDIOBJ previous = SelectObject(dc, made ? made : TGdiPrettyCanvas::ProportionalFont(font));
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, RGB(0, 0, 0));
    ExtTextOutW(dc, 2, 2, 0, nullptr, text, static_cast<UINT>(wcslen(text)), nullptr);
    SelectObject(dc, previous);
    return Pixels();
  }
};

TEST_F(GdiCanvasTest, FillsInPlainAndSystemColours) {
  struct Case {
    TColor color;
    COLORREF expected;
  };
  const Case cases[] = {{Rgb(255, 255, 0), RGB(255, 255, 0)},
                        {clHighlight, GetSysColor(COLOR_HIGHLIGHT)},
                        {clWindow, GetSysColor(COLOR_WINDOW)},
                        {clBtnFace, GetSysColor(COLOR_BTNFACE)},
                        {clHighlight, GetSysColor(COLOR_HIGHLIGHT)}};
  TGdiCanvas canvas(dc);
  int x = 0;
  for (const Case& c : cases) {
    canvas.FillRect({x, 0, x + 10, 32}, c.color);
    EXPECT_EQ(GetPixel(dc, x + 5, 5), c.expected) << std::hex << c.color;
    x += 12;
  }
  // A later fill leaves the earlier ones alone.
  EXPECT_EQ(GetPixel(dc, 5 + 12, 5), GetSysColor(COLOR_HIGHLIGHT));
}

TEST_F(GdiCanvasTest, OpaqueTextFillsItsClipAndTransparentTextDoesNot) {
  TGdiCanvas canvas(dc);
  canvas.FillRect({0, 0, 64, 32}, Rgb(0, 255, 0));
  const TFont font{"Courier New", -12};
  canvas.UseFont(font, 0);
  canvas.DrawTextRun(0, 0, {0, 0, 30, 16}, "   ", 8, clBlack, Rgb(255, 0, 0), true);
  EXPECT_EQ(GetPixel(dc, 28, 8), RGB(255, 0, 0));
  EXPECT_EQ(GetPixel(dc, 31, 8), RGB(0, 255, 0));  // outside the clip
  canvas.DrawTextRun(0, 16, {0, 16, 30, 32}, "   ", 8, clBlack, Rgb(255, 0, 0), false);
  EXPECT_EQ(GetPixel(dc, 10, 24), RGB(0, 255, 0));
}

TEST_F(GdiCanvasTest, ListTextShowsCharactersTheAnsiCodePageLacks) {
  TFont font = ListFont();
  font.Color = clBlack;
  // Omega and o with double acute, UTF-8 as a Unicode item file holds them.
  Clear();
  {
    TGdiPrettyCanvas text(dc, {0, 0, 64, 32}, 96, true);
    text.SetFont(font);
    text.PaintText(2, 2, "\xCE\xA9\xC5\x91");
    EXPECT_GT(text.TextWidth("\xCE\xA9\xC5\x91"), text.TextWidth("\xCE\xA9"));
  }
  const std::vector<COLORREF> painted = Pixels();
  EXPECT_EQ(painted, Drawn(font, L"\u03A9\u0151"));
  EXPECT_NE(painted, Drawn(font, L"??")) << "not turned into question marks";
  EXPECT_NE(painted, Drawn(font, L"\uE000\uE000")) << "not drawn as missing characters";
}

TEST_F(GdiCanvasTest, APrintedHeaderShowsCharactersTheAnsiCodePageLacks) {
  // A file name as the header shows it, UTF-8.
  const char* const name = "\xCE\xA9\xC5\x91.ttl";
  const wchar_t* const wide = L"\u03A9\u0151.ttl";
  const TFont font{"Arial", -16, clBlack};
  HFONT made = TGdiCanvas::SharedFont(font, font.Style);
  Clear();
  {
    TGdiPrintSurface surface(dc);
    surface.DrawPlainText(2, 2, name, font, clBlack);
    SIZE size{};
    HGDIOBJ previous = SelectObject(dc, made);
    GetTextExtentPoint32W(dc, wide, static_cast<int>(wcslen(wide)), &size);
    SelectObject(dc, previous);
    EXPECT_EQ(surface.TextWidth(font, font.Style, name), size.cx);
  }
  const std::vector<COLORREF> painted = Pixels();
  EXPECT_EQ(painted, Drawn(font, wide, made));
  EXPECT_NE(painted, Drawn(font, L"??.ttl", made)) << "not turned into question marks";
}

TEST(GdiFonts, ListFontsAreMadeForTheDpi) {
  const TFont font = ListFont();
  const int at96 = TGdiPrettyCanvas::LineHeight(font, 96);
  const int at192 = TGdiPrettyCanvas::LineHeight(font, 192);
  EXPECT_GE(at192 * 10, at96 * 18) << at96 << " -> " << at192;
  LOGFONTW made{};
  ASSERT_TRUE(GetObjectW(TGdiPrettyCanvas::ProportionalFont(font, 192), sizeof made, &made));
  EXPECT_EQ(made.lfHeight, -22);
  // The bitmap face of the same design has a few sizes and one code page.
  EXPECT_STREQ(made.lfFaceName, L"Microsoft Sans Serif");
}

TEST(GdiFonts, SharedPerDescriptionAndMeasuredOnce) {
  const TFont font{"Courier New", -12};
  EXPECT_EQ(TGdiCanvas::SharedFont(font, fsBold), TGdiCanvas::SharedFont(font, fsBold));
  EXPECT_NE(TGdiCanvas::SharedFont(font, fsBold), TGdiCanvas::SharedFont(font, 0));
  const TFontMetrics m = TGdiCanvas::Measure(font, 0);
  EXPECT_GT(m.Advance, 0);
  EXPECT_GT(m.Height, 0);
}

TEST(GdiFonts, TheFontIsMadeWithItsCharacterSet) {
  for (const int charset : {DEFAULT_CHARSET, SHIFTJIS_CHARSET, RUSSIAN_CHARSET}) {
    TFont font{"Courier New", -12};
    font.CharSet = charset;
    LOGFONTW made{};
    ASSERT_TRUE(GetObjectW(TGdiCanvas::SharedFont(font, 0), sizeof made, &made));
    EXPECT_EQ(made.lfCharSet, charset);
  }
}

}  // namespace
