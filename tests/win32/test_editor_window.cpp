#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "editor/EditorMemo.h"
#include "editor/EditorVirtualKeys.h"
#include "win32/EditorWindow.h"
#include "win32/WineTestSupport.h"

namespace {

// A plain top-level window holding one editor window.
class EditorWindowTest : public ::testing::Test {
 protected:
  // One parent for the whole suite: making and showing top-level windows is
  // slow under Wine.
  static void SetUpTestSuite() {
    parent = MakeTestParentWindow("QuillonEditorTestParent", 0, 0, 640, 480);
    PumpMessages();
  }
  static void TearDownTestSuite() {
    DestroyWindow(parent);
    PumpMessages();
    parent = nullptr;
  }
  void SetUp() override {
    ASSERT_NE(parent, nullptr);
    editor = std::make_unique<TEditorMemo>();
    hwnd = TEditorWindow::Create(parent, 7, *editor);
    ASSERT_NE(hwnd, nullptr);
    MoveWindow(hwnd, 0, 0, 600, 400, TRUE);
    SetFocus(hwnd);
    PumpMessages();
  }
  void TearDown() override {
    DestroyWindow(hwnd);
    PumpMessages();
    editor.reset();
  }
  void Lines(int n, const std::string& prefix = "line ") {
    std::string text;
    for (int i = 1; i <= n; ++i) {
      if (i > 1) text += "\r\n";
      text += prefix + std::to_string(i);
    }
    editor->SetText(text);
    PumpMessages();
  }
  void Key(WPARAM vk) {
    SendMessageA(hwnd, WM_KEYDOWN, vk, 1);
    SendMessageA(hwnd, WM_KEYUP, vk, 0xC0000001);
  }
  // Holds a modifier with the real key state, as the keyboard would.
  void KeyWith(BYTE modifier, WPARAM vk) {
    BYTE state[256];
    GetKeyboardState(state);
    const BYTE old = state[modifier];
    state[modifier] = 0x80;
    SetKeyboardState(state);
    Key(vk);
    state[modifier] = old;
    SetKeyboardState(state);
  }
  LPARAM At(int x, int y) { return MAKELPARAM(x, y); }
  // Client pixel of the middle of a cell (column, row), 1-based, top row 1.
  POINT Cell(int column, int row) {
    return {
        editor->GutterPixels() + 2 + (column - 1) * editor->CellWidth() + editor->CellWidth() / 2,
        (row - editor->TopRow()) * editor->RowHeight() + editor->RowHeight() / 2};
  }

  static HWND parent;
  HWND hwnd = nullptr;
  std::unique_ptr<TEditorMemo> editor;
};

HWND EditorWindowTest::parent = nullptr;

TEST_F(EditorWindowTest, WindowFindsItsEditor) {
  EXPECT_EQ(TEditorWindow::EditorFromHandle(hwnd), editor.get());
  EXPECT_EQ(TEditorWindow::EditorFromHandle(parent), nullptr);
  EXPECT_GT(editor->VisibleRows(), 5);
  EXPECT_GT(editor->VisibleColumns(), 20);
}

TEST_F(EditorWindowTest, TwoEditorWindowsWorkSideBySide) {
  TEditorMemo second;
  HWND other = TEditorWindow::Create(parent, 8, second);
  MoveWindow(other, 0, 0, 300, 200, TRUE);
  second.SetText("a\r\nb\r\nc");
  Lines(5);
  EXPECT_EQ(SendMessageA(other, 0x00BA /*EM_GETLINECOUNT*/, 0, 0), 3);
  EXPECT_EQ(SendMessageA(hwnd, 0x00BA, 0, 0), 5);
  DestroyWindow(other);
}

TEST_F(EditorWindowTest, ArrowKeysMoveTheCaretAndShiftSelects) {
  Lines(10);
  Key(VK_DOWN);
  Key(VK_DOWN);
  Key(VK_RIGHT);
  EXPECT_EQ(editor->CaretY(), 3);
  EXPECT_EQ(editor->CaretX(), 2);
  EXPECT_FALSE(editor->SelAvail());
  KeyWith(VK_SHIFT, VK_END);
  EXPECT_TRUE(editor->SelAvail());
  EXPECT_EQ(editor->SelectedText(), "ine 3");
  KeyWith(VK_CONTROL, VK_END);
  EXPECT_EQ(editor->CaretY(), 10);
  EXPECT_FALSE(editor->SelAvail());
}

TEST_F(EditorWindowTest, CharacterOfAKeyThatRanACommandIsNotPassedOn) {
  Lines(3);
  std::string typed;
  editor->OnProcessCommand = [&](TCustomEditor&, TEditorCommand& c, char& ch, void*) {
    if (c == ecChar) typed += ch;
  };
  // Ctrl+M is a line break; its character 13 arrives afterwards and must be dropped.
  BYTE state[256];
  GetKeyboardState(state);
  state[VK_CONTROL] = 0x80;
  SetKeyboardState(state);
  SendMessageA(hwnd, WM_KEYDOWN, 'M', 1);
  state[VK_CONTROL] = 0;
  SetKeyboardState(state);
  SendMessageA(hwnd, WM_CHAR, 13, 1);
  SendMessageA(hwnd, WM_CHAR, 'x', 1);
  EXPECT_EQ(typed, "x");
}

TEST_F(EditorWindowTest, ClickPlacesTheCaretAndDragSelects) {
  Lines(10);
  const POINT a = Cell(3, 2), b = Cell(5, 4);
  SendMessageA(hwnd, WM_LBUTTONDOWN, MK_LBUTTON, At(a.x - editor->CellWidth() / 2 + 1, a.y));
  EXPECT_EQ(editor->CaretPos(), (TBufferCoord{3, 2}));
  SendMessageA(hwnd, WM_MOUSEMOVE, MK_LBUTTON, At(b.x - editor->CellWidth() / 2 + 1, b.y));
  SendMessageA(hwnd, WM_LBUTTONUP, 0, At(b.x - editor->CellWidth() / 2 + 1, b.y));
  EXPECT_EQ(editor->CaretPos(), (TBufferCoord{5, 4}));
  EXPECT_EQ(editor->SelectedText(), "ne 2\r\nline 3\r\nline");
  EXPECT_NE(GetCapture(), hwnd);
}

TEST_F(EditorWindowTest, ShiftClickExtendsAndDoubleClickSelectsAWord) {
  editor->SetText("alpha beta gamma");
  const POINT p = Cell(8, 1);
  SendMessageA(hwnd, WM_LBUTTONDOWN, MK_LBUTTON, At(p.x, p.y));
  SendMessageA(hwnd, WM_LBUTTONUP, 0, At(p.x, p.y));
  SendMessageA(hwnd, WM_LBUTTONDBLCLK, MK_LBUTTON, At(p.x, p.y));
  SendMessageA(hwnd, WM_LBUTTONUP, 0, At(p.x, p.y));
  EXPECT_EQ(editor->SelectedText(), "beta");
  const POINT q = Cell(1, 1);
  SendMessageA(hwnd, WM_LBUTTONDOWN, MK_LBUTTON, At(q.x - editor->CellWidth() / 2, q.y));
  SendMessageA(hwnd, WM_LBUTTONUP, 0, At(q.x - editor->CellWidth() / 2, q.y));
  EXPECT_FALSE(editor->SelAvail());
  const POINT r = Cell(6, 1);
  SendMessageA(hwnd, WM_LBUTTONDOWN, MK_LBUTTON | MK_SHIFT, At(r.x - editor->CellWidth() / 2, r.y));
  SendMessageA(hwnd, WM_LBUTTONUP, MK_SHIFT, At(r.x - editor->CellWidth() / 2, r.y));
  EXPECT_EQ(editor->SelectedText(), "alpha");
}

TEST_F(EditorWindowTest, WheelScrollsThreeRowsPerNotch) {
  Lines(200);
  SendMessageA(hwnd, WM_MOUSEWHEEL, MAKEWPARAM(0, -120), At(10, 10));
  EXPECT_EQ(editor->TopRow(), 4);
  SendMessageA(hwnd, WM_MOUSEWHEEL, MAKEWPARAM(0, -60), At(10, 10));
  EXPECT_EQ(editor->TopRow(), 4);
  SendMessageA(hwnd, WM_MOUSEWHEEL, MAKEWPARAM(0, -60), At(10, 10));
  EXPECT_EQ(editor->TopRow(), 7);
  SendMessageA(hwnd, WM_MOUSEWHEEL, MAKEWPARAM(0, 240), At(10, 10));
  EXPECT_EQ(editor->TopRow(), 1);
}

TEST_F(EditorWindowTest, ScrollBarsFollowTheTextAndScroll) {
  Lines(1000);
  SCROLLINFO si{};
  si.cbSize = sizeof si;
  si.fMask = SIF_ALL;
  ASSERT_TRUE(GetScrollInfo(hwnd, SB_VERT, &si));
  EXPECT_EQ(si.nMax, 1000);
  EXPECT_EQ(static_cast<int>(si.nPage), editor->VisibleRows());
  SendMessageA(hwnd, WM_VSCROLL, SB_PAGEDOWN, 0);
  EXPECT_EQ(editor->TopRow(), 1 + editor->VisibleRows());
  SendMessageA(hwnd, WM_VSCROLL, SB_LINEUP, 0);
  EXPECT_EQ(editor->TopRow(), editor->VisibleRows());
  SendMessageA(hwnd, WM_VSCROLL, SB_BOTTOM, 0);
  EXPECT_EQ(editor->TopRow(), 1000 - editor->VisibleRows() + 1);
  si.fMask = SIF_POS;
  GetScrollInfo(hwnd, SB_VERT, &si);
  EXPECT_EQ(si.nPos, editor->TopRow());
  editor->SetText(std::string(300, 'x'));
  SendMessageA(hwnd, WM_HSCROLL, SB_LINEDOWN, 0);
  SendMessageA(hwnd, WM_HSCROLL, SB_LINEDOWN, 0);
  EXPECT_EQ(editor->LeftColumn(), 3);
}

TEST_F(EditorWindowTest, ThumbTrackingShowsTheTopLineHint) {
  Lines(500);
  editor->SetOptions(editor->Options() | TEditorOptions{eoShowScrollHint});
  TEditorWindow* w = TEditorWindow::FromHandle(hwnd);
  SCROLLINFO si{};
  si.cbSize = sizeof si;
  si.fMask = SIF_POS;
  si.nPos = 1;
  SetScrollInfo(hwnd, SB_VERT, &si, FALSE);
  // The window reads the tracking position from the bar; a message with the
  // position in its high word is what a drag produces when the bar has one.
  SendMessageA(hwnd, WM_VSCROLL, MAKEWPARAM(SB_THUMBTRACK, 120), 0);
  const int top = editor->TopRow();
  EXPECT_EQ(w->HintText(), "Top Line: " + std::to_string(top));
  EXPECT_TRUE(IsWindowVisible(w->HintWindow()));
  SendMessageA(hwnd, WM_VSCROLL, SB_ENDSCROLL, 0);
  EXPECT_FALSE(IsWindowVisible(w->HintWindow()));
}

TEST_F(EditorWindowTest, EditMessagesAnswer) {
  editor->SetText("first\r\nsecond line\r\nthird");
  EXPECT_EQ(SendMessageA(hwnd, 0x00BA /*EM_GETLINECOUNT*/, 0, 0), 3);
  SendMessageA(hwnd, 0x00B1 /*EM_SETSEL*/, 9, 13);
  DWORD start = 0, end = 0;
  const LRESULT packed = SendMessageA(hwnd, 0x00B0 /*EM_GETSEL*/, reinterpret_cast<WPARAM>(&start),
                                      reinterpret_cast<LPARAM>(&end));
  EXPECT_EQ(start, 9u);
  EXPECT_EQ(end, 13u);
  EXPECT_EQ(packed, MAKELRESULT(9, 13));
  char sel[32] = {};
  EXPECT_EQ(SendMessageA(hwnd, 0x043E /*EM_GETSELTEXT*/, 0, reinterpret_cast<LPARAM>(sel)), 4);
  EXPECT_STREQ(sel, "cond");
  char line[16] = {};
  *reinterpret_cast<WORD*>(line) = 4;  // room for four characters only
  EXPECT_EQ(SendMessageA(hwnd, 0x00C4 /*EM_GETLINE*/, 1, reinterpret_cast<LPARAM>(line)), 4);
  EXPECT_EQ(std::string(line, 4), "seco");
  EXPECT_EQ(line[4], 0);
  EXPECT_EQ(SendMessageA(hwnd, 0x00C4, 7, reinterpret_cast<LPARAM>(line)), 0);
  EXPECT_EQ(SendMessageA(hwnd, 0x00B8 /*EM_GETMODIFY*/, 0, 0), 0);
  SendMessageA(hwnd, 0x00B9 /*EM_SETMODIFY*/, 1, 0);
  EXPECT_EQ(SendMessageA(hwnd, 0x00B8, 0, 0), 1);
  EXPECT_EQ(SendMessageA(hwnd, 0x00CE /*EM_GETFIRSTVISIBLELINE*/, 0, 0), 1);
  const POINT c = Cell(3, 2);
  const LRESULT pos = SendMessageA(hwnd, 0x00D7 /*EM_CHARFROMPOS*/, 0,
                                   MAKELPARAM(c.x - editor->CellWidth() / 2, c.y));
  EXPECT_EQ(HIWORD(pos), 1);
  EXPECT_EQ(LOWORD(pos), 3 + 7);  // column 3 after "first" and its line break
  EXPECT_EQ(GetWindowTextLengthA(hwnd), 25);
}

TEST_F(EditorWindowTest, DialogKeysFollowWantTabsAndWantReturns) {
  const LRESULT both = SendMessageA(hwnd, WM_GETDLGCODE, 0, 0);
  EXPECT_TRUE(both & DLGC_WANTTAB);
  EXPECT_TRUE(both & DLGC_WANTALLKEYS);
  editor->SetWantTabs(false);
  editor->SetWantReturns(false);
  const LRESULT none = SendMessageA(hwnd, WM_GETDLGCODE, 0, 0);
  EXPECT_FALSE(none & DLGC_WANTTAB);
  EXPECT_FALSE(none & DLGC_WANTALLKEYS);
  EXPECT_TRUE(none & DLGC_WANTARROWS);
  EXPECT_TRUE(none & DLGC_WANTCHARS);
}

TEST_F(EditorWindowTest, BookmarkKeysSetAndJump) {
  Lines(300);
  Key(VK_DOWN);
  KeyWith(VK_CONTROL, VK_NEXT);  // bottom of the page
  BYTE state[256];
  GetKeyboardState(state);
  state[VK_CONTROL] = state[VK_SHIFT] = 0x80;
  SetKeyboardState(state);
  SendMessageA(hwnd, WM_KEYDOWN, '3', 1);
  state[VK_CONTROL] = state[VK_SHIFT] = 0;
  SetKeyboardState(state);
  const int marked = editor->CaretY();
  EXPECT_TRUE(editor->IsBookmark(3));
  KeyWith(VK_CONTROL, VK_END);
  EXPECT_EQ(editor->CaretY(), 300);
  KeyWith(VK_CONTROL, '3');
  EXPECT_EQ(editor->CaretY(), marked);
}

TEST_F(EditorWindowTest, KeyPressInAMillionLineFileIsPaintedWithinAFrame) {
  static const char* const kLines[] = {"connect '192.168.1.1:23 /nossh /T=1'",
                                       "wait 'login:' 'Username:'",
                                       "\tsendln 'show interface Gi0/' ifname ; the port",
                                       ":loop ; every interface in turn",
                                       "    if i < 10 goto loop",
                                       "messagebox 'Finished collecting' 'Quillon'"};
  std::string text;
  text.reserve(1000000 * 40);
  for (int i = 0; i < 1000000; ++i) {
    text += kLines[i % 6];
    text += "\r\n";
  }
  editor->Gutter().SetShowLineNumbers(true);
  editor->Gutter().SetAutoSize(true);
  editor->SetActiveLineColor(clYellow);
  editor->Lines().LoadFromBuffer(std::move(text));
  editor->SetCaretPos({5, 500000});
  UpdateWindow(hwnd);
  LARGE_INTEGER frequency;
  QueryPerformanceFrequency(&frequency);
  struct Press {
    BYTE modifier;
    WPARAM key;
  };
  const Press presses[] = {{0, VK_DOWN},        {0, VK_RIGHT},        {0, VK_NEXT},
                           {0, VK_PRIOR},       {VK_CONTROL, VK_END}, {VK_CONTROL, VK_HOME},
                           {VK_SHIFT, VK_DOWN}, {0, VK_END},          {VK_CONTROL, VK_DOWN}};
  std::vector<double> ms;
  for (int round = 0; round < 3; ++round) {
    for (const Press& p : presses) {
      LARGE_INTEGER start, end;
      QueryPerformanceCounter(&start);
      if (p.modifier)
        KeyWith(p.modifier, p.key);
      else
        Key(p.key);
      UpdateWindow(hwnd);
      QueryPerformanceCounter(&end);
      ms.push_back(1000.0 * static_cast<double>(end.QuadPart - start.QuadPart) /
                   static_cast<double>(frequency.QuadPart));
    }
  }
  std::sort(ms.begin(), ms.end());
  const double median = ms[ms.size() / 2];
  std::printf("key press and repaint on 1,000,000 lines: median %.2f ms, slowest %.2f ms\n", median,
              ms.back());
  EXPECT_LT(median, 16.0);
  EXPECT_EQ(editor->LineCount(), 1000001);
}

TEST_F(EditorWindowTest, PaintsWithoutErrors) {
  Lines(50);
  editor->Gutter().SetShowLineNumbers(true);
  editor->SetOptions(editor->Options() | TEditorOptions{eoShowSpecialChars});
  editor->SetActiveLineColor(clYellow);
  bool failed = false;
  TEditorWindow::SetErrorHandler([&](HWND, const std::exception&) { failed = true; });
  InvalidateRect(hwnd, nullptr, FALSE);
  UpdateWindow(hwnd);
  EXPECT_FALSE(failed);
  RECT update;
  EXPECT_FALSE(GetUpdateRect(hwnd, &update, FALSE));
  // For a look at the result: QUILLON_EDITOR_SHOT names a .bmp file to write.
  if (const char* shot = std::getenv("QUILLON_EDITOR_SHOT")) {
    editor->SetText("a\tb\r\n    abc def  \r\nline three");
    editor->SetTabWidth(4);
    editor->SetSelectionAnchor({2, 2});
    editor->SetSelectionEnd({7, 3});
    editor->SetBookMark(1, 1, 1);
    UpdateWindow(hwnd);
    RECT rc;
    GetClientRect(hwnd, &rc);
    HDC wdc = GetDC(hwnd);
    HDC mem = CreateCompatibleDC(wdc);
    HBITMAP bmp = CreateCompatibleBitmap(wdc, rc.right, rc.bottom);
    SelectObject(mem, bmp);
    BitBlt(mem, 0, 0, rc.right, rc.bottom, wdc, 0, 0, SRCCOPY);
    BITMAPINFOHEADER bi{sizeof bi, rc.right, rc.bottom, 1, 24, BI_RGB, 0, 0, 0, 0, 0};
    const int stride = (rc.right * 3 + 3) & ~3;
    std::string pixels(static_cast<std::size_t>(stride * rc.bottom), '\0');
    GetDIBits(mem, bmp, 0, rc.bottom, pixels.data(), reinterpret_cast<BITMAPINFO*>(&bi),
              DIB_RGB_COLORS);
    BITMAPFILEHEADER fh{0x4D42, static_cast<DWORD>(sizeof fh + sizeof bi + pixels.size()), 0, 0,
                        sizeof fh + sizeof bi};
    if (FILE* f = std::fopen(shot, "wb")) {
      std::fwrite(&fh, sizeof fh, 1, f);
      std::fwrite(&bi, sizeof bi, 1, f);
      std::fwrite(pixels.data(), 1, pixels.size(), f);
      std::fclose(f);
    }
    DeleteDC(mem);
    DeleteObject(bmp);
    ReleaseDC(hwnd, wdc);
  }
}

}  // namespace
