#include <gtest/gtest.h>

#include <climits>
#include <random>
#include <string>
#include <vector>

#include "app/PrettyText.h"
#include "support/FakeEditorHost.h"
#include "support/RecordingCanvas.h"

namespace {

// Characters are 8 pixels wide, 10 in bold; every run is recorded with the
// font it was drawn in.
class RecordingPrettyCanvas : public IPrettyCanvas {
 public:
  struct Run {
    int x, y;
    std::string text;
    TColor color;
    TFontStyles style;
  };
  TFont font{"Test", -11, 0x123456, 0};
  std::vector<Run> runs;
  int font_changes = 0;

  TFont Font() const override { return font; }
  void SetFont(const TFont& f) override {
    font = f;
    ++font_changes;
  }
  int TextWidth(std::string_view text) override {
    return static_cast<int>(text.size()) * ((font.Style & fsBold) ? 10 : 8);
  }
  void PaintText(int x, int y, std::string_view text) override {
    runs.push_back({x, y, std::string(text), font.Color, font.Style});
  }
};

class FakeImages : public IPrettyImages {
 public:
  std::vector<std::pair<int, int>> drawn;  // (index, x)
  int Width() const override { return 16; }
  void Draw(IPrettyCanvas&, int index, int x, int) override { drawn.push_back({index, x}); }
};

const TRect kWide{0, 0, 1000, 20};

TEST(PrettyTextPlain, CommandsVanishAndBackslashesPair) {
  struct Case {
    const char* pretty;
    const char* plain;
  } cases[] = {
      {"\\style{+B}wait\\style{-B} 'text'", "wait 'text'"},
      {"a\\\\b", "a\\b"},
      {"ab\\color{clRed", "ab"},
      {"ab\\color{clRed}", "ab"},
      {"ab\\colorclRed}cd", "ab"},
      {"\\unknown{x}visible", "visible"},
      {"x\\color{red}y", "xy"},
      {"\\column{1}a\\column{}b", "ab"},
      {"\\hspace{12}a\\image{3}b", "ab"},
      {"", ""},
      {"\\", ""},
      {"trailing\\\\", "trailing\\"},
      {"a{b}c", "a{b}c"},
      {"\\\\style{+B}x", "\\style{+B}x"},
  };
  for (const auto& c : cases) EXPECT_EQ(PrettyPlainText(c.pretty), c.plain) << c.pretty;
}

TEST(PrettyTextParse, EachCommandProducesItsChunkOrNothing) {
  struct Case {
    const char* pretty;
    bool produces;
    TFormatChunkKind kind;
  } cases[] = {
      {"\\color{clRed}", true, TFormatChunkKind::Color},
      {"\\COLOR{CLRED}", true, TFormatChunkKind::Color},
      {"\\color{$0000FF}", true, TFormatChunkKind::Color},
      {"\\color{255}", true, TFormatChunkKind::Color},
      {"\\color{red}", false, {}},
      {"\\color{$}", false, {}},
      {"\\color{$1FFFFFFFF}", false, {}},
      {"\\color{12a}", false, {}},
      {"\\style{+b}", true, TFormatChunkKind::Style},
      {"\\style{~U}", true, TFormatChunkKind::Style},
      {"\\style{-s}", true, TFormatChunkKind::Style},
      {"\\style{*B}", false, {}},
      {"\\style{+BB}", false, {}},
      {"\\style{+X}", false, {}},
      {"\\style{}", false, {}},
      {"\\column{}", true, TFormatChunkKind::Column},
      {"\\column{1}", false, {}},
      {"\\hspace{-4}", true, TFormatChunkKind::HSpace},
      {"\\hspace{x}", false, {}},
      {"\\hspace{99999999999}", false, {}},
      {"\\image{$10}", true, TFormatChunkKind::Image},
      {"\\image{}", false, {}},
      {"\\bold{x}", false, {}},
  };
  for (const auto& c : cases) {
    const auto chunks = ParsePrettyText(c.pretty);
    if (!c.produces) {
      EXPECT_TRUE(chunks.empty()) << c.pretty;
      continue;
    }
    ASSERT_EQ(chunks.size(), 1u) << c.pretty;
    EXPECT_EQ(chunks[0].Kind, c.kind) << c.pretty;
  }
}

TEST(PrettyTextParse, ValuesAndOmittedKinds) {
  auto chunks = ParsePrettyText("a\\color{clRed}b\\style{~i}\\hspace{7}\\image{3}c");
  ASSERT_EQ(chunks.size(), 7u);
  EXPECT_EQ(chunks[0].Text, "a");
  EXPECT_EQ(chunks[1].Color, 0x0000FFu);
  EXPECT_EQ(chunks[2].Text, "b");
  EXPECT_EQ(chunks[3].Style, (TFormatStyle{'I', 0}));
  EXPECT_EQ(chunks[4].Number, 7);
  EXPECT_EQ(chunks[5].Number, 3);
  EXPECT_EQ(chunks[6].Text, "c");

  chunks =
      ParsePrettyText("a\\color{clRed}b\\style{+B}c",
                      ChunkKindBit(TFormatChunkKind::Color) | ChunkKindBit(TFormatChunkKind::Text));
  ASSERT_EQ(chunks.size(), 1u);
  EXPECT_EQ(chunks[0].Kind, TFormatChunkKind::Style);
}

TEST(PrettyTextColors, NamesCoverTheTableAndSystemRoles) {
  struct Case {
    const char* name;
    TColor color;
  } cases[] = {{"clBlack", 0},
               {"clmaroon", 0x80},
               {"clSkyBlue", 0xF0CAA6},
               {"clNone", 0x1FFFFFFF},
               {"clDefault", 0x20000000},
               {"clScrollBar", 0xFF000000},
               {"clHotLight", 0xFF00001A},
               {"clMenuBar", 0xFF00001E},
               {"cl3DDkShadow", 0xFF000015}};
  for (const auto& c : cases) {
    TColor color = 1;
    ASSERT_TRUE(PrettyColorByName(c.name, color)) << c.name;
    EXPECT_EQ(color, c.color) << c.name;
  }
  TColor color = 0;
  EXPECT_FALSE(PrettyColorByName("clHotlights", color));
  EXPECT_FALSE(PrettyColorByName("clTransparent", color));
}

TEST(PrettyTextPaint, StylesSwitchAndTheFontIsRestored) {
  RecordingPrettyCanvas canvas;
  const int x =
      PaintPrettyText(canvas, kWide, "\\style{+B}wait\\style{-B} 'text'", nullptr, nullptr, false);
  ASSERT_EQ(canvas.runs.size(), 2u);
  EXPECT_EQ(canvas.runs[0].text, "wait");
  EXPECT_EQ(canvas.runs[0].style, fsBold);
  EXPECT_EQ(canvas.runs[1].text, " 'text'");
  EXPECT_EQ(canvas.runs[1].style, 0);
  EXPECT_EQ(canvas.runs[1].x, 40);
  EXPECT_EQ(x, 40 + 7 * 8);
  EXPECT_EQ(canvas.font.Style, 0);
  EXPECT_EQ(canvas.font.Color, 0x123456u);
}

TEST(PrettyTextPaint, ToggleAndLowerCaseLetters) {
  RecordingPrettyCanvas canvas;
  PaintPrettyText(canvas, kWide, "\\style{+b}a\\style{~B}b\\style{~b}c\\style{+u}\\style{~i}d",
                  nullptr, nullptr, false);
  ASSERT_EQ(canvas.runs.size(), 4u);
  EXPECT_EQ(canvas.runs[0].style, fsBold);
  EXPECT_EQ(canvas.runs[1].style, 0);
  EXPECT_EQ(canvas.runs[2].style, fsBold);
  EXPECT_EQ(canvas.runs[3].style, fsBold | fsUnderline | fsItalic);
}

TEST(PrettyTextPaint, ColoursApplyUnlessTheRowIsSelected) {
  for (bool selected : {false, true}) {
    for (const char* text : {"\\color{clRed}x", "\\color{$0000FF}x", "\\color{255}x"}) {
      RecordingPrettyCanvas canvas;
      PaintPrettyText(canvas, kWide, text, nullptr, nullptr, selected);
      ASSERT_EQ(canvas.runs.size(), 1u);
      EXPECT_EQ(canvas.runs[0].color, selected ? 0x123456u : 0x0000FFu) << text;
    }
  }
  RecordingPrettyCanvas canvas;
  PaintPrettyText(canvas, kWide, "\\color{red}x", nullptr, nullptr, false);
  EXPECT_EQ(canvas.runs.at(0).color, 0x123456u);
}

TEST(PrettyTextPaint, LongTextStopsAfterTheChunkCrossingTheRightEdge) {
  RecordingPrettyCanvas canvas;
  const TRect narrow{10, 5, 40, 20};
  const int x =
      PaintPrettyText(canvas, narrow, "abc\\style{+B}defg\\style{-B}hij", nullptr, nullptr, false);
  ASSERT_EQ(canvas.runs.size(), 2u);
  EXPECT_EQ(canvas.runs[0].x, 10);
  EXPECT_EQ(canvas.runs[0].y, 5);
  EXPECT_EQ(canvas.runs[1].x, 34);
  EXPECT_EQ(x, 74);
  EXPECT_EQ(canvas.font.Style, 0) << "font restored even when cut short";

  RecordingPrettyCanvas spaced;
  PaintPrettyText(spaced, narrow, "a\\hspace{50}b", nullptr, nullptr, false);
  EXPECT_EQ(spaced.runs.size(), 1u);
}

TEST(PrettyTextPaint, ImagesNeedAnImageList) {
  FakeImages images;
  RecordingPrettyCanvas canvas;
  int x = PaintPrettyText(canvas, kWide, "a\\image{4}b", &images, nullptr, false);
  ASSERT_EQ(images.drawn.size(), 1u);
  EXPECT_EQ(images.drawn[0], std::make_pair(4, 8));
  EXPECT_EQ(canvas.runs.at(1).x, 24);
  EXPECT_EQ(x, 32);

  RecordingPrettyCanvas without;
  x = PaintPrettyText(without, kWide, "a\\image{4}b", nullptr, nullptr, false);
  EXPECT_EQ(without.runs.at(1).x, 8);
  EXPECT_EQ(x, 16);
}

TEST(PrettyTextPaint, ColumnsMoveToTheNextColumnStartWithItsStyle) {
  TProposalColumns columns(2);
  columns[0].BiggestWord = "abc";  // 4 cells with the blank
  columns[0].DefaultFontStyle = fsBold;
  columns[1].BiggestWord = "xy";
  columns[1].DefaultFontStyle = 0;
  RecordingPrettyCanvas canvas;
  PaintPrettyText(canvas, kWide, "a\\column{}b\\column{}c\\column{}d", nullptr, &columns, false);
  ASSERT_EQ(canvas.runs.size(), 4u);
  EXPECT_EQ(canvas.runs[0].style, fsBold);
  EXPECT_EQ(canvas.runs[1].x, 40);  // "abc " in bold
  EXPECT_EQ(canvas.runs[1].style, 0);
  EXPECT_EQ(canvas.runs[2].x, 40 + 24);  // "xy " in the plain style
  EXPECT_EQ(canvas.runs[3].x, 40 + 24 + 8) << "no column left: the text just follows";

  RecordingPrettyCanvas plain;
  PaintPrettyText(plain, kWide, "a\\column{}b", nullptr, nullptr, false);
  EXPECT_EQ(plain.runs.at(1).x, 8);
}

TEST(PrettyTextMeasure, WidthWithoutDrawing) {
  RecordingPrettyCanvas canvas;
  EXPECT_EQ(MeasurePrettyText(canvas, "\\style{+B}ab\\style{-B}cd\\hspace{5}", nullptr, nullptr),
            20 + 16 + 5);
  EXPECT_TRUE(canvas.runs.empty());
  EXPECT_EQ(canvas.font.Style, 0);
  const std::string long_text(5000, 'x');
  EXPECT_EQ(MeasurePrettyText(canvas, long_text, nullptr, nullptr), 5000 * 8);
}

TEST(PrettyTextFixedPitch, RunsGoToTheCanvasInTheMeasuredCells) {
  TRecordingCanvas canvas;
  TFakeEditorHost measurer;
  measurer.metrics = {7, 13, 0};
  measurer.style_metrics[fsBold] = {9, 13, 0};
  TFixedPitchPrettyCanvas target(canvas, measurer, TFont{"Sans", -11, clWindowText, 0},
                                 {0, 0, 300, 20});
  const int x = PaintPrettyText(target, {2, 3, 300, 20}, "\\style{+B}if\\style{-B} <x>", nullptr,
                                nullptr, false);
  EXPECT_EQ(x, 2 + 18 + 28);
  const auto runs = canvas.TextsAt(3);
  ASSERT_EQ(runs.size(), 2u);
  EXPECT_EQ(runs[0].text, "if");
  EXPECT_EQ(runs[0].advance, 9);
  EXPECT_EQ(runs[0].style, fsBold);
  EXPECT_FALSE(runs[0].opaque);
  EXPECT_EQ(runs[1].from.x, 20);
  EXPECT_EQ(runs[1].advance, 7);
}

// Random input never crashes, and the plain text never holds more characters
// than the input.
TEST(PrettyTextRobustness, RandomInputsStayBounded) {
  std::mt19937 rng(1234);
  const std::string alphabet = "\\{}+-~$0123456789abBcolrstyemgCOLUMNHSPACEIMAGE ";
  for (int n = 0; n < 3000; ++n) {
    std::string s;
    const int len = static_cast<int>(rng() % 40);
    for (int i = 0; i < len; ++i) s += alphabet[rng() % alphabet.size()];
    const std::string plain = PrettyPlainText(s);
    EXPECT_LE(plain.size(), s.size()) << s;
    RecordingPrettyCanvas canvas;
    const int x = PaintPrettyText(canvas, {0, 0, 50, 10}, s, nullptr, nullptr, false);
    (void)x;
    EXPECT_EQ(canvas.font.Style, 0) << s;
  }
}

}  // namespace
