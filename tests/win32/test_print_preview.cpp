// The printer side without a printer, and the print preview window driven
// the way a user would: zoom list, page buttons, clicks on the page, Close.
#include <windows.h>
// After windows.h, which it needs.
#include <commctrl.h>
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "print/PrintJob.h"
#include "win32/PrintPreviewDialog.h"
#include "win32/Printing.h"

namespace {

std::vector<std::string> Lines(int count) {
  std::vector<std::string> lines;
  for (int i = 1; i <= count; ++i) lines.push_back("sendln 'line " + std::to_string(i) + "'");
  return lines;
}

// Runs the steps from a timer while the window is shown modally; the last
// step closes it. A step that fails still lets the window close.
std::function<void()> g_steps;
void CALLBACK RunSteps(HWND, UINT, UINT_PTR id, DWORD) {
  KillTimer(nullptr, id);
  if (g_steps) g_steps();
  g_steps = nullptr;
}

void ShowAndRun(TPrintPreviewDlg& dlg, TEditorPrint& engine, bool printer_known,
                std::function<void()> steps) {
  g_steps = [&dlg, steps] {
    steps();
    SendMessageA(dlg.BtnClose(), BM_CLICK, 0, 0);
  };
  SetTimer(nullptr, 0, 50, &RunSteps);
  dlg.ShowModal(nullptr, &engine, printer_known, "Laser 5");
}

bool Enabled(HWND h) { return IsWindowEnabled(h) != FALSE; }

void ChooseZoom(TPrintPreviewDlg& dlg, int index) {
  SendMessageA(dlg.CBScale(), CB_SETCURSEL, static_cast<WPARAM>(index), 0);
  SendMessageA(dlg.Handle(), WM_COMMAND, MAKEWPARAM(105, CBN_SELCHANGE),
               reinterpret_cast<LPARAM>(dlg.CBScale()));
}

int ZoomIndex(TPrintPreviewDlg& dlg) {
  return static_cast<int>(SendMessageA(dlg.CBScale(), CB_GETCURSEL, 0, 0));
}

TEST(Printing, WithoutAPrinterNothingIsOfferedAndThePageIsA4) {
  TWin32Printer printer;
  if (!TWin32Printer::DefaultPrinterName().empty()) GTEST_SKIP() << "a printer is installed";
  EXPECT_FALSE(printer.HasPrinter());
  EXPECT_FALSE(printer.Metrics().has_value());
  EXPECT_EQ(printer.BeginJob("x"), nullptr);
  EXPECT_FALSE(printer.ShowPrinterSetupDialog(nullptr));  // no dialog at all
  EXPECT_FALSE(printer.ShowPrintDialog(nullptr));
  EXPECT_FALSE(printer.PrinterIsColour());
  EXPECT_EQ(PrintButtonHint(printer.HasPrinter(), printer.PrinterName()), "No default printer");
  EXPECT_EQ(CountInstalledPrinters(false), 0);  // the old machine key does not exist

  TEditorPrint engine(&printer);
  engine.SetLines(Lines(3));
  EXPECT_EQ(engine.GetPageCount(), 1);  // measured on the screen, on the A4 sheet
  EXPECT_EQ(engine.PrinterInfo().PhysicalWidth(), 2481);
  engine.PrintDocument();  // no job can start: nothing happens
  EXPECT_FALSE(engine.Printing());
}

TEST(Printing, MeasuresPrinterFontsOnTheScreen) {
  TWin32Printer printer;
  auto surface = printer.CreateMeasureSurface();
  ASSERT_NE(surface, nullptr);
  TFont font;
  font.Height = -42;
  const TPrintFontMetrics m = surface->MeasurePrintFont(font, 0);
  EXPECT_GT(m.AveCharWidth, 0);
  EXPECT_GE(m.Height, 40);
  EXPECT_GT(surface->TextWidth(font, 0, "WWWW"), surface->TextWidth(font, 0, "W"));
}

struct PrintPreviewWindow : ::testing::Test {
  TWin32Printer printer;
  TEditorPrint engine{&printer};
  TPrintPreviewDlg dlg;
  int stored_scale = 4;
  std::vector<int> written;

  void SetUp() override {
    dlg.ReadScaleIndex = [this] { return stored_scale; };
    dlg.WriteScaleIndex = [this](int i) {
      stored_scale = i;
      written.push_back(i);
    };
    ASSERT_TRUE(dlg.Create());
    ConfigureMainPrintEngine(engine);
  }
};

TEST_F(PrintPreviewWindow, PagesThroughTheDocumentWithTheButtons) {
  engine.SetLines(Lines(300));
  int count = 0;
  std::vector<std::string> status;
  std::vector<bool> first_enabled, last_enabled;
  ShowAndRun(dlg, engine, true, [&] {
    count = dlg.Preview().PageCount();
    auto snap = [&] {
      status.push_back(dlg.StatusPanelText(0));
      first_enabled.push_back(Enabled(dlg.BtnFirst()) && Enabled(dlg.BtnPrevious()));
      last_enabled.push_back(Enabled(dlg.BtnLast()) && Enabled(dlg.BtnNext()));
    };
    snap();
    SendMessageA(dlg.BtnNext(), BM_CLICK, 0, 0);
    snap();
    SendMessageA(dlg.BtnLast(), BM_CLICK, 0, 0);
    snap();
    SendMessageA(dlg.BtnPrevious(), BM_CLICK, 0, 0);
    snap();
    SendMessageA(dlg.BtnFirst(), BM_CLICK, 0, 0);
    snap();
  });
  ASSERT_GE(count, 3);
  const std::string n = std::to_string(count);
  EXPECT_EQ(status, (std::vector<std::string>{
                        " Page 1 of " + n, " Page 2 of " + n, " Page " + n + " of " + n,
                        " Page " + std::to_string(count - 1) + " of " + n, " Page 1 of " + n}));
  EXPECT_EQ(first_enabled, (std::vector<bool>{false, true, true, true, false}));
  EXPECT_EQ(last_enabled, (std::vector<bool>{true, true, false, true, true}));
  EXPECT_FALSE(dlg.Showing());
  EXPECT_FALSE(IsWindowVisible(dlg.Handle()));
}

TEST_F(PrintPreviewWindow, AOnePageDocumentHasNoPageButtons) {
  engine.SetLines(Lines(2));
  std::string status;
  bool any_enabled = true;
  std::string hint;
  ShowAndRun(dlg, engine, true, [&] {
    status = dlg.StatusPanelText(0);
    any_enabled = Enabled(dlg.BtnFirst()) || Enabled(dlg.BtnPrevious()) || Enabled(dlg.BtnNext()) ||
                  Enabled(dlg.BtnLast());
    hint = dlg.BtnPrintHint();
  });
  EXPECT_EQ(status, " Page 1 of 1");
  EXPECT_FALSE(any_enabled);
  EXPECT_EQ(hint, "Print [Laser 5]");
}

TEST_F(PrintPreviewWindow, WithoutAPrinterThePreviewStillShowsTheA4Pages) {
  engine.SetLines(Lines(300));
  std::string status;
  bool next_enabled = true;
  std::string hint;
  ShowAndRun(dlg, engine, false, [&] {
    status = dlg.StatusPanelText(0);
    next_enabled = Enabled(dlg.BtnNext());
    hint = dlg.BtnPrintHint();
  });
  EXPECT_EQ(status.rfind(" Page 1 of ", 0), 0u) << status;
  EXPECT_FALSE(next_enabled);
  EXPECT_EQ(hint, "No default printer");
}

TEST_F(PrintPreviewWindow, TheZoomListAndClicksOnThePageChangeTheScale) {
  engine.SetLines(Lines(300));
  struct Seen {
    int index;
    TPreviewScale mode;
    int percent;
  };
  std::vector<Seen> seen;
  int vmin = -1, vmax = -1, vpos = -1, page_count = 0;
  RECT page_rect_ok{};
  ShowAndRun(dlg, engine, true, [&] {
    auto snap = [&] {
      seen.push_back({ZoomIndex(dlg), dlg.Preview().ScaleMode(), dlg.Preview().ScalePercent()});
    };
    snap();              // the stored 100%
    ChooseZoom(dlg, 0);  // Whole Page
    snap();
    SendMessageA(dlg.BtnNext(), BM_CLICK, 0, 0);
    SCROLLINFO si{};
    si.cbSize = sizeof si;
    si.fMask = SIF_ALL;
    GetScrollInfo(dlg.Preview().Handle(), SB_VERT, &si);
    vmin = si.nMin;
    vmax = si.nMax;
    vpos = si.nPos;
    page_count = dlg.Preview().PageCount();
    RECT client;
    GetClientRect(dlg.Preview().Handle(), &client);
    const TPreviewLayout& l = dlg.Preview().Layout();
    page_rect_ok.left = l.OffsetX >= 12 && l.OffsetX + l.PageWidth + 14 <= client.right;
    page_rect_ok.top = l.PageHeight == client.bottom - 26;
    SendMessageA(dlg.Preview().Handle(), WM_RBUTTONDOWN, 0, MAKELPARAM(50, 50));  // first: stays
    snap();
    SendMessageA(dlg.Preview().Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(50, 50));
    snap();              // Page Width
    ChooseZoom(dlg, 8);  // 400%
    SendMessageA(dlg.Preview().Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(50, 50));
    snap();  // last: stays
    ChooseZoom(dlg, 1);
    ChooseZoom(dlg, 4);  // 100% again from page width
    snap();
  });
  ASSERT_EQ(seen.size(), 6u);
  EXPECT_EQ(seen[0].index, 4);
  EXPECT_EQ(seen[0].mode, pscUserScaled);
  EXPECT_EQ(seen[0].percent, 100);
  EXPECT_EQ(seen[1].index, 0);
  EXPECT_EQ(seen[1].mode, pscWholePage);
  EXPECT_EQ(seen[2].index, 0);
  EXPECT_EQ(seen[3].index, 1);
  EXPECT_EQ(seen[3].mode, pscPageWidth);
  EXPECT_EQ(seen[4].index, 8);
  EXPECT_EQ(seen[4].percent, 400);
  EXPECT_EQ(seen[5].index, 4);
  EXPECT_EQ(seen[5].mode, pscUserScaled);
  EXPECT_EQ(seen[5].percent, 100);
  // In whole-page mode the vertical bar pages through the document.
  EXPECT_EQ(vmin, 1);
  EXPECT_EQ(vmax, page_count);
  EXPECT_EQ(vpos, 2);
  EXPECT_TRUE(page_rect_ok.left);
  EXPECT_TRUE(page_rect_ok.top);
  EXPECT_EQ(stored_scale, 4);
}

TEST_F(PrintPreviewWindow, ReopeningStartsAtPageOneWithTheLastZoom) {
  engine.SetLines(Lines(300));
  ShowAndRun(dlg, engine, true, [&] {
    ChooseZoom(dlg, 3);
    SendMessageA(dlg.BtnLast(), BM_CLICK, 0, 0);
  });
  EXPECT_EQ(stored_scale, 3);
  int page = 0, index = -1;
  ShowAndRun(dlg, engine, true, [&] {
    page = dlg.Preview().CurrentPage();
    index = ZoomIndex(dlg);
  });
  EXPECT_EQ(page, 1);
  EXPECT_EQ(index, 3);
}

}  // namespace

namespace {

TEST(Printing, HeaderDatesUseTheSystemFormats) {
  TEditorPrint engine;
  UseSystemDateTimeFormats(engine);
  char date[128] = {}, time[128] = {};
  GetDateFormatA(LOCALE_USER_DEFAULT, DATE_SHORTDATE, nullptr, nullptr, date, sizeof date);
  GetTimeFormatA(LOCALE_USER_DEFAULT, 0, nullptr, nullptr, time, sizeof time);
  EXPECT_EQ(engine.OnGetDateText(), date);
  EXPECT_FALSE(engine.OnGetTimeText().empty());
}

}  // namespace

namespace {

TEST_F(PrintPreviewWindow, InWholePageModeTheScrollBarTurnsThePages) {
  engine.SetLines(Lines(300));
  stored_scale = 0;
  std::vector<int> pages;
  std::string hint_text;
  bool hint_shown = false, hint_hidden = false;
  ShowAndRun(dlg, engine, true, [&] {
    HWND p = dlg.Preview().Handle();
    auto scroll = [&](int code, int thumb) {
      SendMessageA(p, WM_VSCROLL, MAKEWPARAM(code, thumb), 0);
      pages.push_back(dlg.Preview().CurrentPage());
    };
    scroll(SB_LINEDOWN, 0);
    scroll(SB_PAGEDOWN, 0);
    scroll(SB_LINEUP, 0);
    scroll(SB_BOTTOM, 0);
    scroll(SB_LINEDOWN, 0);  // not beyond the last page
    scroll(SB_TOP, 0);
    scroll(SB_LINEUP, 0);  // not before the first
    SCROLLINFO si{};
    si.cbSize = sizeof si;
    si.fMask = SIF_POS;
    si.nPos = 2;
    SetScrollInfo(p, SB_VERT, &si, FALSE);
    scroll(SB_THUMBTRACK, 2);
    HWND hint = TEditorPrintPreview::ScrollHintWindow();
    hint_shown = hint && IsWindowVisible(hint);
    char text[64] = {};
    if (hint) GetWindowTextA(hint, text, sizeof text);
    hint_text = text;
    SendMessageA(p, WM_VSCROLL, MAKEWPARAM(SB_ENDSCROLL, 0), 0);
    hint_hidden = hint && !IsWindowVisible(hint);
  });
  const int n = static_cast<int>(engine.GetPageCount());
  ASSERT_GE(n, 3);
  EXPECT_EQ(pages, (std::vector<int>{2, 3, 2, n, n, 1, 1, pages.back()}));
  EXPECT_TRUE(hint_shown);
  EXPECT_EQ(hint_text, "Page: " + std::to_string(pages.back()));
  EXPECT_TRUE(hint_hidden);
}

}  // namespace
