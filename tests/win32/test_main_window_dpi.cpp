// The main window on monitors of other dpi: every length of its 96-dpi layout
// scaled, and a move between monitors taking the size Windows suggests.
#include "MainWindowFixture.h"

#include <commctrl.h>

#include <algorithm>

#include "win32/Win32Dpi.h"

namespace {

class MainWindowDpiTest : public MainWindowFixture {
 protected:
  // A child window's rectangle in the main window's client coordinates.
  RECT ChildRect(HWND child) {
    RECT r;
    GetWindowRect(child, &r);
    MapWindowPoints(nullptr, form->Handle(), reinterpret_cast<POINT*>(&r), 2);
    return r;
  }
  struct Layout {
    RECT param2, param3_edit, editor;
    int button_width, button_height, ln_col_panel_width, min_width, row_height;
  };
  Layout Measure() {
    Layout l;
    l.param2 = ChildRect(GetDlgItem(form->Handle(), cmParam2));
    l.param3_edit = ChildRect(form->ToolBar().ParamEdit(3));
    l.editor = ChildRect(form->EditorHandle());
    const LRESULT size = SendMessageA(form->ToolBar().Handle(), TB_GETBUTTONSIZE, 0, 0);
    l.button_width = LOWORD(size);
    l.button_height = HIWORD(size);
    int edges[8] = {};
    SendMessageA(form->StatusBar().Handle(), SB_GETPARTS, 8, reinterpret_cast<LPARAM>(edges));
    l.ln_col_panel_width = edges[1] - edges[0];
    MINMAXINFO info{};
    SendMessageA(form->Handle(), WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&info));
    l.min_width = info.ptMinTrackSize.x;
    l.row_height = Memo().RowHeight();
    return l;
  }
};

TEST_F(MainWindowDpiTest, OnA144DpiMonitorEveryLengthIsScaledAndTheSuggestedPlaceTaken) {
  Start();
  ASSERT_EQ(form->Dpi(), 96) << "the test screen";
  EXPECT_TRUE(SendMessageW(form->Handle(), WM_GETICON, ICON_SMALL, 0)) << "the quill";
  const Layout at96 = Measure();
  // The designed layout, pixel for pixel.
  EXPECT_EQ(at96.param2.left, 408);
  EXPECT_EQ(at96.param2.top, 5);
  EXPECT_EQ(at96.param3_edit.left, 408 + 49 + 2 + 50 + 12 + 49 + 2);
  EXPECT_EQ(at96.editor.top, 33 + 3);
  EXPECT_EQ(at96.editor.left, 3);
  EXPECT_EQ(at96.button_width, 24);
  EXPECT_EQ(at96.ln_col_panel_width, 100);
  EXPECT_EQ(at96.min_width, 430);

  RECT suggested{120, 90, 120 + 1000, 90 + 820};
  SendMessageA(form->Handle(), WM_DPICHANGED, MAKEWPARAM(144, 144),
               reinterpret_cast<LPARAM>(&suggested));
  RECT placed;
  GetWindowRect(form->Handle(), &placed);
  EXPECT_TRUE(EqualRect(&placed, &suggested));
  EXPECT_EQ(form->Dpi(), 144);
  const Layout at144 = Measure();
  EXPECT_EQ(at144.param2.left, 612);
  EXPECT_EQ(at144.param2.top, 8);
  EXPECT_EQ(at144.param2.right - at144.param2.left, 74);
  EXPECT_EQ(at144.param3_edit.left, 858);
  EXPECT_EQ(at144.editor.top, 50 + 5);
  EXPECT_EQ(at144.editor.left, 5);
  EXPECT_EQ(at144.button_width, 36);
  EXPECT_EQ(at144.button_height, 33);
  EXPECT_EQ(at144.ln_col_panel_width, 150);
  EXPECT_EQ(at144.min_width, 645);
  // The editor's font is made for the new dpi, not stretched.
  EXPECT_GE(at144.row_height * 4, at96.row_height * 5)
      << at96.row_height << " -> " << at144.row_height;

  // Back on a 96-dpi monitor the layout is the designed one again.
  RECT back{120, 90, 120 + 700, 90 + 600};
  SendMessageA(form->Handle(), WM_DPICHANGED, MAKEWPARAM(96, 96), reinterpret_cast<LPARAM>(&back));
  const Layout again = Measure();
  EXPECT_EQ(again.param2.left, at96.param2.left);
  EXPECT_EQ(again.editor.top, at96.editor.top);
  EXPECT_EQ(again.row_height, at96.row_height);
}

TEST_F(MainWindowDpiTest, TheCompletionListIsLaidOutForTheWindowsDpi) {
  CopyDataFile("Completion.pro", program_dir.Path());
  Start();
  // Opens the list on "se" and answers its window's width and row height.
  const auto open = [&] {
    Memo().SetText("se");
    Memo().SetCaretPos({3, 1});
    SetFocus(form->EditorHandle());
    form->SCP().ActivateCompletion(Memo());
    PumpMessages();
    EXPECT_TRUE(form->SCP().Visible());
    const int width = form->SCP().PopupHost()->PopupBounds().Width();
    const int row = form->SCP().Form().ItemHeight();
    form->SCP().CancelCompletion();
    return std::pair{width, row};
  };
  const auto at96 = open();
  EXPECT_EQ(at96.first, 600) << "pixel for pixel at 96 dpi";
  RECT suggested{120, 90, 120 + 1000, 90 + 820};
  SendMessageA(form->Handle(), WM_DPICHANGED, MAKEWPARAM(144, 144),
               reinterpret_cast<LPARAM>(&suggested));
  const auto at144 = open();
  EXPECT_EQ(at144.first, 900);
  EXPECT_GE(at144.second * 4, at96.second * 5) << "its font is made for the dpi";
  EXPECT_EQ(form->SCP().Width(), 600) << "the stored width stays at 96 dpi";
}

TEST_F(MainWindowDpiTest, TheEncodingShowsWholeBesideTheSizeGripAtEveryDpiAndWidth) {
  Start();
  HWND bar = form->StatusBar().Handle();
  struct Case {
    int dpi;
    int window_width;  // 0: as the window opened
  };
  const Case cases[] = {{96, 0}, {144, 1000}, {144, 645}, {96, 430}, {192, 1400}};
  for (const Case& c : cases) {
    RECT place{120, 90, 120 + c.window_width, 90 + 600};
    if (c.dpi != form->Dpi())
      SendMessageW(form->Handle(), WM_DPICHANGED, MAKEWPARAM(c.dpi, c.dpi),
                   reinterpret_cast<LPARAM>(&place));
    if (c.window_width)
      SetWindowPos(form->Handle(), nullptr, place.left, place.top, c.window_width, 600,
                   SWP_NOZORDER | SWP_NOACTIVATE);
    PumpMessages();
    // The longest of the names, in the panels' own font.
    int text_width = 0;
    HDC dc = GetDC(bar);
    HGDIOBJ old = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(bar, WM_GETFONT, 0, 0)));
    for (const wchar_t* name : {L"ANSI", L"UTF-8", L"UTF-8 BOM", L"UTF-16 LE", L"UTF-16 BE"}) {
      SIZE size{};
      GetTextExtentPoint32W(dc, name, static_cast<int>(wcslen(name)), &size);
      text_width = std::max<int>(text_width, size.cx);
    }
    SelectObject(dc, old);
    ReleaseDC(bar, dc);
    RECT panel{}, client{};
    SendMessageW(bar, SB_GETRECT, 7, reinterpret_cast<LPARAM>(&panel));
    GetClientRect(bar, &client);
    const int grip = SystemMetricForDpi(SM_CXVSCROLL, c.dpi);
    EXPECT_LE(panel.left + text_width + grip, client.right)
        << c.dpi << " dpi, " << c.window_width << " wide: panel from " << panel.left;
    EXPECT_GT(text_width * 96, 40 * c.dpi) << "the font follows the dpi";
  }
}

}  // namespace
