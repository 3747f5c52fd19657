// Drawing pages: rows, wrapping, colours, header and footer, printer jobs.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "PrintFakes.h"
#include "platform/Utf8CodePage.h"
#include "print/EditorPrint.h"

namespace {

// Words and blanks; a line starting with '#' switches comment mode for the
// lines that follow it, so a line's colours depend on the lines above.
class TWordHighlighter : public TCustomHighlighter {
 public:
  THighlighterAttributes* word;
  THighlighterAttributes* comment;
  THighlighterAttributes* blank;

  TWordHighlighter() {
    auto w = std::make_unique<THighlighterAttributes>("Word");
    auto c = std::make_unique<THighlighterAttributes>("Comment");
    auto b = std::make_unique<THighlighterAttributes>("Blank");
    word = w.get();
    comment = c.get();
    blank = b.get();
    word->SetForeground(Rgb(255, 0, 0));
    word->SetBackground(clYellow);
    word->SetStyle(fsBold);
    comment->SetForeground(Rgb(0, 128, 0));
    comment->SetStyle(fsItalic);
    AddAttribute(std::move(w));
    AddAttribute(std::move(c));
    AddAttribute(std::move(b));
  }
  THighlighterAttributes* DefaultAttribute(int role) const override {
    return role == hrComment ? comment : role == hrWhitespace ? blank : word;
  }
  void SetLineText(std::string_view text, int) override {
    text_ = std::string(text);
    if (!text_.empty() && text_[0] == '#') state_ = !state_;
    end_ = 0;
    NextToken();
  }
  void NextToken() override {
    start_ = end_;
    if (start_ >= static_cast<int>(text_.size())) return;
    const bool space = text_[static_cast<std::size_t>(start_)] == ' ';
    while (end_ < static_cast<int>(text_.size()) &&
           (text_[static_cast<std::size_t>(end_)] == ' ') == space)
      ++end_;
  }
  bool AtLineEnd() const override { return start_ >= static_cast<int>(text_.size()); }
  std::string TokenText() const override {
    return text_.substr(static_cast<std::size_t>(start_), static_cast<std::size_t>(end_ - start_));
  }
  int TokenStart() const override { return start_; }
  int TokenKind() const override { return 0; }
  THighlighterAttributes* TokenAttribute() const override {
    if (AtLineEnd()) return nullptr;
    if (text_[static_cast<std::size_t>(start_)] == ' ') return blank;
    return state_ ? comment : word;
  }
  TLineState GetLineState() const override { return state_; }
  void SetLineState(TLineState s) override { state_ = s; }
  void ResetLineState() override { state_ = 0; }

 private:
  std::string text_;
  int start_ = 0, end_ = 0;
  int state_ = 0;
};

std::vector<TRecordingCanvas::Op> OpaqueTexts(const TRecordingCanvas& canvas) {
  std::vector<TRecordingCanvas::Op> result;
  for (const auto& op : canvas.Ops())
    if (op.kind == TRecordingCanvas::Kind::Text && op.opaque) result.push_back(op);
  return result;
}

std::vector<TRecordingCanvas::Op> PlainTexts(const TRecordingCanvas& canvas) {
  std::vector<TRecordingCanvas::Op> result;
  for (const auto& op : canvas.Ops())
    if (op.kind == TRecordingCanvas::Kind::Text && !op.opaque) result.push_back(op);
  return result;
}

std::vector<std::string> Numbered(int count) {
  std::vector<std::string> lines;
  for (int i = 1; i <= count; ++i) lines.push_back("line" + std::to_string(i));
  return lines;
}

// 100 columns of 10 pixels and 10 rows of 20 pixels per page, from pixel 0.
struct PrintDrawing : ::testing::Test {
  TFakePrinter printer;
  TEditorPrint print{&printer};
  TFakePrintSurface surface;

  void SetUp() override {
    printer.metrics = TenPixelsPerMm(1005, 200);
    ZeroMargins(print);
    TFont font;
    font.Color = clBlack;
    print.SetFont(font);
  }
  // The text of each row of the page, top to bottom, up to the first empty row.
  std::vector<std::string> Rows(int page) {
    surface.canvas.Clear();
    print.PrintPageToCanvas(surface, page);
    std::vector<std::string> rows;
    for (int y = 0; y < 200; y += 20) {
      std::string row = surface.canvas.RowText(y, 0);
      if (row.empty()) break;
      rows.push_back(row);
    }
    return rows;
  }
};

TEST_F(PrintDrawing, EachPageShowsItsOwnLines) {
  print.SetLines(Numbered(25));
  print.PreparePages(surface);
  ASSERT_EQ(print.GetPageCount(), 3);
  struct Case {
    int page;
    std::vector<std::string> rows;
  } cases[] = {
      {1,
       {"line1", "line2", "line3", "line4", "line5", "line6", "line7", "line8", "line9", "line10"}},
      {3, {"line21", "line22", "line23", "line24", "line25"}},
  };
  for (const Case& c : cases) EXPECT_EQ(Rows(c.page), c.rows) << "page " << c.page;
}

TEST_F(PrintDrawing, WrappedRowsKeepTheirBreakAtTheEnd) {
  std::string words;
  for (int i = 0; i < 15; ++i) words += "word" + std::to_string(i % 10) + "ab ";  // 8 bytes each
  words.pop_back();
  const std::string letters(250, 'k');
  struct Case {
    bool highlight;
  } cases[] = {{false}, {true}};
  for (const Case& c : cases) {
    TWordHighlighter hl;
    print.SetHighlighter(c.highlight ? &hl : nullptr);
    print.SetLines({words, letters, "next"});
    print.PreparePages(surface);
    const std::vector<std::string> rows = Rows(1);
    ASSERT_EQ(rows.size(), 6u) << c.highlight;
    EXPECT_EQ(rows[0], words.substr(0, 96)) << c.highlight;  // twelve words with their spaces
    EXPECT_EQ(rows[0].back(), ' ');
    EXPECT_EQ(rows[1], words.substr(96));
    EXPECT_EQ(rows[2], std::string(100, 'k'));
    EXPECT_EQ(rows[4], std::string(50, 'k'));
    EXPECT_EQ(rows[5], "next");  // exactly the rows counting reserved
    print.SetHighlighter(nullptr);
  }
}

TEST_F(PrintDrawing, ExactlyMaxColumnsStaysOnOneRow) {
  print.SetLines({std::string(100, 'a'), "b", std::string(101, 'c'), "d"});
  print.PreparePages(surface);
  EXPECT_EQ(Rows(1), (std::vector<std::string>{std::string(100, 'a'), "b", std::string(100, 'c'),
                                               "c", "d"}));
}

TEST_F(PrintDrawing, TextWiderThanThePageIsClippedWhenNotWrapped) {
  print.SetWrap(false);
  print.SetLines({std::string(150, 'w')});
  print.PreparePages(surface);
  EXPECT_EQ(Rows(1), (std::vector<std::string>{std::string(100, 'w')}));
  for (const auto& op : OpaqueTexts(surface.canvas)) EXPECT_LE(op.rect.right, 1005);
}

TEST_F(PrintDrawing, ColoursFollowThePrinterAndStylesAlwaysFollowTheHighlighter) {
  TWordHighlighter hl;
  print.SetHighlighter(&hl);
  print.SetLines({"ab cd"});
  struct Case {
    bool colors;
    TColor word_fg, word_bg, blank_fg, blank_bg;
  } cases[] = {
      {true, Rgb(255, 0, 0), clYellow, clBlack, clWhite},
      {false, clBlack, clWhite, clBlack, clWhite},
  };
  for (const Case& c : cases) {
    print.SetColors(c.colors);
    print.PreparePages(surface);
    surface.canvas.Clear();
    print.PrintPageToCanvas(surface, 1);
    const auto runs = OpaqueTexts(surface.canvas);
    ASSERT_EQ(runs.size(), 3u);
    EXPECT_EQ(runs[0].text, "ab");
    EXPECT_EQ(runs[0].color, c.word_fg);
    EXPECT_EQ(runs[0].background, c.word_bg);
    EXPECT_EQ(runs[0].style, fsBold);
    EXPECT_EQ(runs[1].color, c.blank_fg);
    EXPECT_EQ(runs[1].background, c.blank_bg);
    EXPECT_EQ(runs[2].from.x, 30);  // third column
    EXPECT_EQ(runs[2].style, fsBold);
  }
}

TEST_F(PrintDrawing, ALaterPageStartsInTheStateOfTheLinesAbove) {
  TWordHighlighter hl;
  print.SetHighlighter(&hl);
  print.SetColors(true);
  std::vector<std::string> lines(12, "plain");
  lines[5] = "# open";  // lines 6.. are comments until the next '#'
  print.SetLines(lines);
  print.PreparePages(surface);
  surface.canvas.Clear();
  print.PrintPageToCanvas(surface, 2);
  const auto runs = OpaqueTexts(surface.canvas);
  ASSERT_FALSE(runs.empty());
  EXPECT_EQ(runs[0].text, "plain");
  EXPECT_EQ(runs[0].color, Rgb(0, 128, 0));
  EXPECT_EQ(runs[0].style, fsItalic);
}

TEST_F(PrintDrawing, AnEmptyDocumentIsOnePageWithItsHeaderOnly) {
  print.Margins().SetTop(5);
  print.Margins().SetHeader(4);
  print.Header().AddItem("Page $PAGENUM$ of $PAGECOUNT$", nullptr, hfaLeft, 1);
  print.SetLines({});
  EXPECT_EQ(print.GetPageCount(), 1);
  surface.canvas.Clear();
  print.PrintPageToCanvas(surface, 1);
  EXPECT_TRUE(OpaqueTexts(surface.canvas).empty());
  const auto plain = PlainTexts(surface.canvas);
  ASSERT_EQ(plain.size(), 1u);
  EXPECT_EQ(plain[0].text, "Page 1 of 1");
}

TEST_F(PrintDrawing, HeaderRowsStackAboveTheHeaderLineWithTheirMacrosExpanded) {
  printer.metrics = TenPixelsPerMm(1005, 1000);
  TEditorPrintMargins& m = print.Margins();
  m.SetTop(30);
  m.SetHeader(25);
  m.SetHFInternalMargin(0.5);
  m.SetLeftHFTextIndent(2);
  m.SetRightHFTextIndent(2);
  print.SetTitle("doc");
  print.OnGetDateText = [] { return std::string("D8"); };
  print.OnGetTimeText = [] { return std::string("T9"); };
  print.Header().AddItem("$DATE$ $TIME$", nullptr, hfaRight, 2);
  print.Header().AddItem("File: $TITLE$", nullptr, hfaLeft, 1);
  print.Header().AddItem("Page $PAGENUM$ of $PAGECOUNT$", nullptr, hfaRight, 1);
  print.SetLines(Numbered(80));  // 35 rows per page: 3 pages
  print.PreparePages(surface);
  ASSERT_EQ(print.PageCount(), 3);
  EXPECT_EQ(print.Header().FrameHeight(), 2 * 20 + 2 * 5);
  surface.canvas.Clear();
  print.PrintPageToCanvas(surface, 2);
  const auto plain = PlainTexts(surface.canvas);
  ASSERT_EQ(plain.size(), 3u);
  // Rows start 50 pixels above the header line at 250, inside the 5 pixel margin.
  struct Case {
    std::string text;
    int x, y;
  } expected[] = {
      {"File: doc", 20, 205},
      {"Page 2 of 3", 985 - 110, 205},
      {"D8 T9", 985 - 50, 225},
  };
  for (std::size_t i = 0; i < 3; ++i) {
    EXPECT_EQ(plain[i].text, expected[i].text);
    EXPECT_EQ(plain[i].from.x, expected[i].x) << expected[i].text;
    EXPECT_EQ(plain[i].from.y, expected[i].y) << expected[i].text;
  }
  bool header_line = false;
  for (const auto& op : surface.canvas.Ops())
    if (op.kind == TRecordingCanvas::Kind::Line && op.from.y == 250 && op.to.y == 250)
      header_line = true;
  EXPECT_TRUE(header_line);
}

TEST_F(PrintDrawing, LineNumbersStandLeftOfTheText) {
  print.SetLineNumbers(true);
  print.SetLines(Numbered(12));
  print.PreparePages(surface);
  EXPECT_EQ(print.Margins().LeftPx, 40);  // "11: " is the widest number
  surface.canvas.Clear();
  print.PrintPageToCanvas(surface, 2);
  const auto runs = OpaqueTexts(surface.canvas);
  ASSERT_GE(runs.size(), 2u);
  EXPECT_EQ(runs[0].text, "11: ");
  EXPECT_EQ(runs[0].from.x, 0);
  EXPECT_EQ(runs[1].text, "line11");
  EXPECT_EQ(runs[1].from.x, 40);
  print.SetLineOffset(100);
  print.PreparePages(surface);
  surface.canvas.Clear();
  print.PrintPageToCanvas(surface, 1);
  EXPECT_EQ(OpaqueTexts(surface.canvas)[0].text, "101: ");
}

TEST_F(PrintDrawing, AMegabyteLineIsLaidOutAndDrawnOnlyWhereThePaperIs) {
  std::string huge;
  while (huge.size() < (1u << 20)) huge += "abcdefghi ";
  TWordHighlighter hl;
  struct Case {
    bool wrap;
    TCustomHighlighter* highlighter;
    std::size_t max_runs;
  } cases[] = {{false, nullptr, 2}, {true, nullptr, 10}, {true, &hl, 200}};
  for (const Case& c : cases) {
    print.SetWrap(c.wrap);
    print.SetHighlighter(c.highlighter);
    print.SetLines({huge, "tail"});
    EXPECT_EQ(print.GetPageCount(), c.wrap ? 2 : 1);
    surface.canvas.Clear();
    print.PrintPageToCanvas(surface, 1);
    const auto runs = OpaqueTexts(surface.canvas);
    EXPECT_LE(runs.size(), c.max_runs);
    EXPECT_EQ(surface.canvas.RowText(0, 0), huge.substr(0, 100));
  }
}

TEST_F(PrintDrawing, SelectedOnlyPrintsThePartOfTheSelection) {
  print.SetLines({"0123456789", "abcdefghij", "ABCDEFGHIJ", "klmnopqrst"});
  print.SetSelectedOnly(true);
  struct Case {
    TSelectionMode mode;
    std::vector<std::string> rows;
  } cases[] = {
      {smNormal, {"cdefghij", "ABCD"}},
      {smLine, {"abcdefghij", "ABCDEFGHIJ"}},
      {smColumn, {"cd", "CD"}},
  };
  for (const Case& c : cases) {
    print.SetSelection(true, TDisplayCoord{3, 2}, TDisplayCoord{5, 3}, c.mode);
    print.PreparePages(surface);
    // Selected text starts at the left margin.
    std::vector<std::string> rows = Rows(1);
    EXPECT_EQ(rows, c.rows) << int(c.mode);
  }
}

TEST_F(PrintDrawing, PrinterJobsSendEveryPageAndStopOnAbort) {
  print.SetLines(Numbered(25));
  print.SetTitle("title");
  struct Case {
    int copies;
    int abort_page;  // 0: none
    std::string doc_title;
    std::vector<std::string> log;
  } cases[] = {
      {1, 0, "", {"begin title", "page", "page", "end"}},
      {2, 0, "job", {"begin job", "page", "page", "page", "page", "page", "end"}},
      {1, 2, "", {"begin title", "page", "abort"}},
  };
  for (const Case& c : cases) {
    printer.log.clear();
    print.SetCopies(c.copies);
    print.SetDocTitle(c.doc_title);
    std::vector<int> statuses;
    print.OnPrintStatus = [&](TEditorPrint*, TPrintStatus s, int page, bool& abort) {
      statuses.push_back(s * 100 + page);
      if (c.abort_page && s == psNewPage && page == c.abort_page) abort = true;
    };
    print.PrintDocument();
    EXPECT_EQ(printer.log, c.log) << c.copies << " " << c.abort_page;
    EXPECT_EQ(statuses.front(), psBegin * 100 + 1);
    if (!c.abort_page) {
      EXPECT_EQ(statuses.back(), psEnd * 100 + 3);
    }
    EXPECT_FALSE(print.Printing());
  }
}

TEST_F(PrintDrawing, NothingIsPrintedForAMissingSelectionOrAFailedJob) {
  print.SetLines(Numbered(3));
  print.SetSelectedOnly(true);
  print.SetSelection(false, {}, {}, smNormal);
  print.PrintDocument();
  EXPECT_TRUE(printer.log.empty());
  print.SetSelectedOnly(false);
  printer.can_start = false;
  print.PrintDocument();
  EXPECT_EQ(printer.log, (std::vector<std::string>{"begin "}));
}

TEST_F(PrintDrawing, PrintLineReportsEachLineWithItsPage) {
  print.SetLines(Numbered(12));
  std::vector<std::pair<int, int>> seen;
  print.OnPrintLine = [&](TEditorPrint*, int line, int page) { seen.emplace_back(line, page); };
  print.PrintDocument();
  ASSERT_EQ(seen.size(), 12u);
  EXPECT_EQ(seen[9], std::make_pair(10, 1));
  EXPECT_EQ(seen[10], std::make_pair(11, 2));
}

}  // namespace

namespace {

// A line of 99 ASCII cells and then wide characters: the row of 100 columns
// ends before the wide character that would stand on its last cell, and the
// characters land on their cells.
TEST_F(PrintDrawing, UnicodeLinesAreLaidOutInCellsAndWrapBetweenCharacters) {
  print.SetCodePage(&Utf8CodePage());
  const std::string nichi = "\xE6\x97\xA5";
  TWordHighlighter hl;
  print.SetHighlighter(&hl);
  print.SetLines({std::string(99, 'a') + nichi + "b\xC3\xA9", nichi + "\tx"});
  print.PreparePages(surface);
  surface.canvas.Clear();
  print.PrintPageToCanvas(surface, 1);
  EXPECT_EQ(surface.canvas.CellsAt(0, 0, 10).size(), 99u);  // 日 did not fit in the cell left
  EXPECT_EQ(surface.canvas.CellsAt(20, 0, 10),
            (std::vector<std::string>{nichi, "", "b", "\xC3\xA9"}));
  // The tab reaches the stop at column 9 counted in cells.
  const std::vector<std::string> third = surface.canvas.CellsAt(40, 0, 10);
  ASSERT_EQ(third.size(), 9u);
  EXPECT_EQ(third.front(), nichi);
  EXPECT_EQ(third.back(), "x");
}

}  // namespace
