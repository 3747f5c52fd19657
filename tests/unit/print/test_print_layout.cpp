// Page layout of the print engine: tab expansion, wrapping, page breaks.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "PrintFakes.h"
#include "print/EditorPrint.h"

namespace {

// 100 columns of 10 pixels and 10 rows of 20 pixels per page.
struct PrintLayout : ::testing::Test {
  TFakePrinter printer;
  TEditorPrint print{&printer};
  TFakePrintSurface surface;

  void SetUp() override {
    printer.metrics = TenPixelsPerMm(1005, 200);
    ZeroMargins(print);
  }
  void Prepare(const std::vector<std::string>& lines) {
    print.SetLines(lines);
    print.PreparePages(surface);
  }
};

TEST(PrintTabs, ExpandsToTheNextStopOrToOneSpaceForNarrowWidths) {
  struct Case {
    const char* text;
    int width;
    const char* expected;
  } cases[] = {
      {"a\tb", 8, "a       b"},  {"\t", 4, "    "},  {"abcd\tx", 4, "abcd    x"},
      {"ab\t\tc", 3, "ab    c"}, {"a\tb", 1, "a b"}, {"a\tb", 0, "a b"},
      {"none", 8, "none"},
  };
  for (const Case& c : cases)
    EXPECT_EQ(ExpandPrintTabs(c.text, c.width), c.expected) << c.text << " width " << c.width;
}

TEST(PrintWrap, FindsRowEndsAtBreakCharacters) {
  struct Case {
    std::string text;
    const char* breaks;
    int columns;
    bool ok;
    std::vector<int> positions;
  } cases[] = {
      {"abcdefghij", " ", 10, true, {}},       // fits exactly
      {"abcde fghij", " ", 10, true, {6}},     // space ends the first row
      {"aaa bbb ccc ddd", " ", 8, true, {8}},  // last break within reach
      {"aaa bbb ccc ddd eee", " ", 8, true, {8, 16}},
      {"abcdefghijkl", " ", 10, false, {}},      // nothing to break at
      {"a,b-c d\te", "\t ,-", 3, true, {2, 6}},  // the byte after a wrap is no candidate
      {"f(x).g(y);h", ").;", 4, true, {4, 9}},
  };
  for (const Case& c : cases) {
    std::vector<int> positions{99};
    EXPECT_EQ(WrapAtBreaks(c.text, c.breaks, c.columns, positions), c.ok) << c.text;
    EXPECT_EQ(positions, c.positions) << c.text;
  }
}

TEST(PrintWrap, CuttingLeavesNoRowLongerThanTheColumns) {
  struct Case {
    int length, columns;
    std::vector<int> positions;
  } cases[] = {
      {10, 10, {}}, {11, 10, {10}}, {30, 10, {10, 20}}, {31, 10, {10, 20, 30}}, {0, 5, {}}};
  for (const Case& c : cases) {
    std::vector<int> positions;
    CutEvery(c.length, c.columns, positions);
    EXPECT_EQ(positions, c.positions) << c.length;
  }
}

TEST_F(PrintLayout, MeasuresThePageInColumnsOfTheWidestLetter) {
  Prepare({"x"});
  EXPECT_EQ(print.MaxColumns(), 100);
  EXPECT_EQ(print.MaxWidth(), 1000);
  EXPECT_EQ(print.LineHeight(), 20);
  EXPECT_EQ(print.CharWidth(), 10);
}

TEST_F(PrintLayout, BreaksPagesWhenTheNextRowWouldPassTheBottom) {
  const std::string letters(250, 'q');  // three cut rows
  struct Case {
    std::vector<std::string> lines;
    bool wrap;
    std::vector<int> first_lines;
  } cases[] = {
      {{}, true, {0}},
      {std::vector<std::string>(10, "l"), true, {0}},
      {std::vector<std::string>(11, "l"), true, {0, 10}},
      {std::vector<std::string>(25, "l"), true, {0, 10, 20}},
      {std::vector<std::string>(5, letters), true, {0, 4}},  // 3 rows each; the 4th starts at row 9
      {std::vector<std::string>(5, letters), false, {0}},    // one row each when not wrapped
      {{std::string(100, 'a'), std::string(101, 'a'), "x", "x", "x", "x", "x", "x", "x", "x"},
       true,
       {0, 9}},  // 100 bytes fit one row, 101 take two
  };
  for (const Case& c : cases) {
    print.SetWrap(c.wrap);
    Prepare(c.lines);
    EXPECT_EQ(print.PageFirstLines(), c.first_lines) << c.lines.size() << " lines";
    EXPECT_EQ(print.PageCount(), static_cast<int>(c.first_lines.size()));
  }
}

TEST_F(PrintLayout, AWrappedLineIsNeverSplitAcrossPages) {
  // Nine single rows, then a line of five rows: it starts on page 1 and runs below.
  std::vector<std::string> lines(9, "l");
  lines.push_back(std::string(450, 'z'));
  lines.push_back("after");
  Prepare(lines);
  EXPECT_EQ(print.PageFirstLines(), (std::vector<int>{0, 10}));
}

TEST_F(PrintLayout, PageCountIsMeasuredLazilyAndAgainAfterChanges) {
  print.SetLines(std::vector<std::string>(11, "l"));
  EXPECT_EQ(print.GetPageCount(), 2);
  print.SetLines(std::vector<std::string>(31, "l"));
  EXPECT_EQ(print.GetPageCount(), 4);
  printer.measure_surface = false;
  EXPECT_EQ(print.GetPageCount(), 4);  // still counted
  print.SetFont(TFont{});
  EXPECT_EQ(print.GetPageCount(), 0);  // nothing to measure on
}

TEST_F(PrintLayout, WithoutAPrinterTheA4SheetIsUsed) {
  TEditorPrint lone;  // no printer at all
  EXPECT_EQ(lone.GetPageCount(), 0);
  TFakePrinter none;  // installed system without printers
  TEditorPrint print_a4{&none};
  TFakePrintSurface s;
  print_a4.SetLines({"x"});
  print_a4.PreparePages(s);
  EXPECT_EQ(print_a4.PrinterInfo().PhysicalWidth(), 2481);
  EXPECT_EQ(print_a4.PrinterInfo().OffsetRight(), 58);
  EXPECT_EQ(print_a4.PrinterInfo().OffsetBottom(), 50);
  // Default margins 25 mm left at 300 dpi: 295.27 - 65 offset.
  EXPECT_EQ(print_a4.Margins().LeftPx, 230);
  EXPECT_EQ(print_a4.PageCount(), 1);
}

TEST(PrintMargins, AreStoredInMillimetresWhateverTheUnit) {
  TEditorPrintMargins m;
  m.SetUnitSystem(usInch);
  m.SetLeft(1);
  EXPECT_DOUBLE_EQ(m.Left(), 1);
  m.SetUnitSystem(usMM);
  EXPECT_DOUBLE_EQ(m.Left(), 25.4);
  m.SetUnitSystem(usCM);
  EXPECT_DOUBLE_EQ(m.Left(), 2.54);
  m.SetUnitSystem(muThousandthsOfInches);
  EXPECT_NEAR(m.Left(), 1000, 1e-9);
  m.SetTop(500);
  m.SetUnitSystem(usMM);
  EXPECT_NEAR(m.Top(), 12.7, 1e-9);
}

TEST(PrintMargins, MirroredMarginsSwapOnEvenPages) {
  TEditorPrinterInfo info;
  info.Assign(TenPixelsPerMm(2000, 3000));
  TEditorPrintMargins m;
  m.SetLeft(30);
  m.SetRight(10);
  m.SetGutter(5);
  m.SetMirrorMargins(true);
  m.InitPage(info, 1, 0);
  EXPECT_EQ(m.LeftPx, 350);
  EXPECT_EQ(m.RightPx, 1900);
  m.InitPage(info, 2, 0);
  EXPECT_EQ(m.LeftPx, 100);
  EXPECT_EQ(m.RightPx, 1650);
  m.SetMirrorMargins(false);
  m.InitPage(info, 2, 40);
  EXPECT_EQ(m.LeftPx, 390);
  EXPECT_EQ(m.LeftHFTextIndentPx, 410);
  EXPECT_EQ(m.RightHFTextIndentPx, 1880);
}

}  // namespace
