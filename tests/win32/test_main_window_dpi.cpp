// The main window on monitors of other dpi: every length of its 96-dpi layout
// scaled, and a move between monitors taking the size Windows suggests.
#include "MainWindowFixture.h"

#include <commctrl.h>

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
    int button_width, button_height, first_status_edge, min_width, row_height;
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
    l.first_status_edge = edges[0];
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
  EXPECT_EQ(at96.first_status_edge, 300);
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
  EXPECT_EQ(at144.first_status_edge, 450);
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

}  // namespace
