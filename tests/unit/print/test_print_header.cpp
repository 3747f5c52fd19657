// Header and footer texts and the main window's print-job preparation.
#include <gtest/gtest.h>

#include <string>

#include "PrintFakes.h"
#include "editor/Editor.h"
#include "print/EditorPrintHeaderFooter.h"
#include "print/PrintJob.h"

namespace {

TEST(HeaderMacros, AreReplacedWithoutRegardToCase) {
  struct Case {
    const char* text;
    bool roman;
    const char* expected;
  } cases[] = {
      {"Page $PAGENUM$ of $PAGECOUNT$", false, "Page 7 of 12"},
      {"$pagenum$", false, "7"},
      {"$FOO$PAGENUM$", false, "$FOO7"},
      {"cost $5", false, "cost $5"},
      {"$", false, "$"},
      {"$$", false, "$$"},
      {"a $TITLE$ b", false, "a The Title b"},
      {"$DATETIME$|$TimeDate$", false, "1.2.3 10:11|10:11 1.2.3"},
      {"$DATE$ $TIME$", false, "1.2.3 10:11"},
      {"$PAGENUM$/$PAGECOUNT$", true, "VII/XII"},
      {"  \t ", false, ""},
      {"", false, ""},
      {"$UNKNOWN$ x", false, "$UNKNOWN$ x"},
  };
  for (const Case& c : cases) {
    THeaderFooterItem item(c.text, TFont{}, hfaLeft, 1, 0);
    EXPECT_EQ(item.ExpandText(12, 7, c.roman, "The Title", "10:11", "1.2.3"), c.expected) << c.text;
  }
}

TEST(HeaderMacros, RomanNumeralsUseSubtractiveForms) {
  struct Case {
    int value;
    const char* roman;
  } cases[] = {{0, ""},    {1, "I"},    {4, "IV"},         {9, "IX"},     {14, "XIV"},   {40, "XL"},
               {90, "XC"}, {400, "CD"}, {1994, "MCMXCIV"}, {3000, "MMM"}, {4000, "MMMM"}};
  for (const Case& c : cases) EXPECT_EQ(IntToRoman(c.value), c.roman) << c.value;
}

TEST(HeaderItems, TakeTheDefaultFontUnlessGivenOne) {
  THeader header;
  TFont own;
  own.Name = "Own";
  EXPECT_EQ(header.AddItem("a", nullptr, hfaLeft, 1), 0);
  EXPECT_EQ(header.AddItem("b", &own, hfaRight, 1), 1);
  EXPECT_EQ(header.Item(0).Font().Name, "Arial");
  EXPECT_EQ(header.Item(1).Font().Name, "Own");
  header.ClearItems();
  EXPECT_EQ(header.Count(), 0);
}

TEST(HeaderItems, NoItemsMeansNoFrameAndNothingDrawn) {
  TFooter footer;
  TFakePrintSurface surface;
  TEditorPrintMargins margins;
  footer.InitPrint(surface, 1, margins, "", "", "", 1.0);
  EXPECT_EQ(footer.FrameHeight(), -1);
  footer.Print(surface, margins, 1);
  EXPECT_TRUE(surface.canvas.Ops().empty());
}

TEST(HeaderItems, FramesBoxAndShadeAroundTheFooter) {
  TFooter footer;
  footer.SetFrameTypes(ftBox | ftShaded);
  footer.SetShadedColor(clYellow);
  footer.AddItem("x", nullptr, hfaCenter, 1);
  TFakePrintSurface surface;
  TEditorPrintMargins margins;
  margins.LeftPx = 100;
  margins.RightPx = 500;
  margins.FooterPx = 900;
  margins.HFInternalMarginPx = 3;
  margins.LeftHFTextIndentPx = 110;
  margins.RightHFTextIndentPx = 490;
  footer.InitPrint(surface, 1, margins, "", "", "", 1.0);
  footer.Print(surface, margins, 1);
  const auto& ops = surface.canvas.Ops();
  ASSERT_FALSE(ops.empty());
  EXPECT_EQ(ops[0].kind, TRecordingCanvas::Kind::Fill);
  EXPECT_EQ(ops[0].rect, (TRect{100, 900, 500, 926}));
  EXPECT_EQ(ops[0].color, clYellow);
  int lines = 0;
  for (const auto& op : ops) lines += op.kind == TRecordingCanvas::Kind::Line;
  EXPECT_EQ(lines, 4);  // a box, no header line
  EXPECT_EQ(ops.back().text, "x");
  EXPECT_EQ(ops.back().from, (TPoint{(110 + 490 - 10) / 2, 903}));
}

TEST(HeaderItems, MirroredPositionsSwapOnEvenPages) {
  THeader header;
  header.SetMirrorPosition(true);
  header.SetFrameTypes(0);
  header.AddItem("L", nullptr, hfaLeft, 1);
  TFakePrintSurface surface;
  TEditorPrintMargins margins;
  margins.HeaderPx = 100;
  margins.LeftHFTextIndentPx = 10;
  margins.RightHFTextIndentPx = 400;
  header.InitPrint(surface, 2, margins, "", "", "", 1.0);
  struct Case {
    int page, x;
  } cases[] = {{1, 10}, {2, 390}, {3, 10}};
  for (const Case& c : cases) {
    surface.canvas.Clear();
    header.Print(surface, margins, c.page);
    ASSERT_EQ(surface.canvas.Ops().size(), 1u);
    EXPECT_EQ(surface.canvas.Ops()[0].from.x, c.x) << c.page;
  }
}

TEST(PrintJobPreparation, FillsTheHeaderOnlyWhenAPrinterIsKnown) {
  TCustomEditor editor;
  editor.SetText("one\ttwo\r\nthree");
  TEditorPrint print;
  ConfigureMainPrintEngine(print);
  EXPECT_DOUBLE_EQ(print.Margins().Left(), 20);
  EXPECT_DOUBLE_EQ(print.Margins().Right(), 10);
  EXPECT_TRUE(print.Colors());

  EXPECT_FALSE(PreparePrintJob(print, editor, "C:\\m.ttl", false, true));
  EXPECT_EQ(print.Header().Count(), 0);
  EXPECT_TRUE(print.Lines().empty());

  struct Case {
    std::string file;
    bool colour;
    std::string first_item;
  } cases[] = {{"C:\\macros\\a.ttl", true, "File: C:\\macros\\a.ttl"}, {"", false, "File: "}};
  for (const Case& c : cases) {
    ASSERT_TRUE(PreparePrintJob(print, editor, c.file, true, c.colour));
    ASSERT_EQ(print.Header().Count(), 3);  // cleared before each job
    EXPECT_EQ(print.Header().Item(0).Text(), c.first_item);
    EXPECT_EQ(print.Header().Item(0).Alignment(), hfaLeft);
    EXPECT_EQ(print.Header().Item(1).Text(), "Page $PAGENUM$ of $PAGECOUNT$");
    EXPECT_EQ(print.Header().Item(1).Alignment(), hfaRight);
    EXPECT_EQ(print.Header().Item(2).Text(), "$DATE$ $TIME$");
    EXPECT_EQ(print.Header().Item(2).LineNumber(), 2);
    EXPECT_EQ(print.Footer().Count(), 0);
    EXPECT_EQ(print.Colors(), c.colour);
    EXPECT_EQ(print.Font().Color, clBlack);
    EXPECT_EQ(print.Font().Name, editor.Font().Name);
    ASSERT_EQ(print.Lines().size(), 2u);
    EXPECT_EQ(print.Lines()[0].find('\t'), std::string::npos);
    EXPECT_EQ(print.Lines()[1], "three");
  }
}

TEST(PrintJobPreparation, PrintButtonNamesThePrinter) {
  EXPECT_EQ(PrintButtonHint(true, "Laser"), "Print [Laser]");
  EXPECT_EQ(PrintButtonHint(false, "Laser"), "No default printer");
  EXPECT_EQ(PrintButtonHint(true, ""), "No default printer");
}

}  // namespace

namespace {

TEST(PrintJobPreparation, SelectedOnlyPrintsWhatIsSelectedInTheEditorAfterTabs) {
  TCustomEditor editor;
  editor.SetText("ab\tcd\r\nxyz\r\nnot");
  editor.SetSelectionAnchor(TBufferCoord{4, 1});  // from the 'c' behind the tab
  editor.SetSelectionEnd(TBufferCoord{2, 2});     // up to the 'x'
  TFakePrinter printer;
  printer.metrics = TenPixelsPerMm(1005, 200);
  TEditorPrint print(&printer);
  print.Margins().SetLeft(0);
  print.Margins().SetRight(0);
  print.Margins().SetTop(0);
  print.Margins().SetBottom(0);
  print.CopyFromEditor(editor);
  print.SetSelectedOnly(true);
  TFakePrintSurface surface;
  print.PreparePages(surface);
  print.PrintPageToCanvas(surface, 1);
  EXPECT_EQ(surface.canvas.RowText(0, 0), "cd");
  EXPECT_EQ(surface.canvas.RowText(20, 0), "x");
  EXPECT_EQ(surface.canvas.RowText(40, 0), "");
}

}  // namespace
