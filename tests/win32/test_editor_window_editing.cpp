#include <gtest/gtest.h>
#include <windows.h>

#include <memory>
#include <string>

#include "editor/EditorMemo.h"
#include "win32/EditorWindow.h"
#include "win32/WineTestSupport.h"

namespace {

// Two editor windows side by side in one top-level window.
class EditorEditingWindowTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    WNDCLASSA wc{};
    wc.lpfnWndProc = DefWindowProcA;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = "QuillonEditingTestParent";
    RegisterClassA(&wc);
    parent = CreateWindowExA(0, wc.lpszClassName, "parent", WS_OVERLAPPEDWINDOW, 0, 0, 700, 400,
                             nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
    ShowWindow(parent, SW_SHOW);
    PumpMessages();
  }
  static void TearDownTestSuite() {
    DestroyWindow(parent);
    PumpMessages();
  }
  void SetUp() override {
    left = std::make_unique<TEditorMemo>();
    right = std::make_unique<TEditorMemo>();
    left_hwnd = TEditorWindow::Create(parent, 11, *left);
    right_hwnd = TEditorWindow::Create(parent, 12, *right);
    MoveWindow(left_hwnd, 0, 0, 320, 300, TRUE);
    MoveWindow(right_hwnd, 340, 0, 320, 300, TRUE);
    SetFocus(left_hwnd);
    PumpMessages();
  }
  void TearDown() override {
    DestroyWindow(left_hwnd);
    DestroyWindow(right_hwnd);
    PumpMessages();
  }
  static void KeyWith(HWND hwnd, BYTE modifier, WPARAM vk) {
    BYTE state[256];
    GetKeyboardState(state);
    const BYTE old = state[modifier];
    state[modifier] = 0x80;
    SetKeyboardState(state);
    SendMessageA(hwnd, WM_KEYDOWN, vk, 1);
    SendMessageA(hwnd, WM_KEYUP, vk, 0xC0000001);
    state[modifier] = old;
    SetKeyboardState(state);
  }
  static POINT Cell(TEditorMemo& e, int column, int row) {
    return {e.GutterPixels() + 2 + (column - 1) * e.CellWidth() + 1,
            (row - e.TopRow()) * e.RowHeight() + e.RowHeight() / 2};
  }
  static std::string SystemClipboardText() {
    std::string text;
    if (!OpenClipboard(nullptr)) return "<not open>";
    if (HANDLE h = GetClipboardData(CF_TEXT)) {
      if (const char* p = static_cast<const char*>(GlobalLock(h))) {
        text = p;
        GlobalUnlock(h);
      }
    }
    CloseClipboard();
    return text;
  }

  static HWND parent;
  std::unique_ptr<TEditorMemo> left, right;
  HWND left_hwnd = nullptr, right_hwnd = nullptr;
};

HWND EditorEditingWindowTest::parent = nullptr;

TEST_F(EditorEditingWindowTest, TypingRaisesOnChangeAndCtrlZUndoesIt) {
  int changes = 0;
  left->OnChange = [&](TCustomEditor&) { ++changes; };
  for (char c : std::string("ab")) SendMessageA(left_hwnd, WM_CHAR, static_cast<WPARAM>(c), 1);
  EXPECT_EQ(left->Text(), "ab");
  EXPECT_EQ(changes, 2);
  EXPECT_TRUE(left->Modified());
  KeyWith(left_hwnd, VK_CONTROL, 'Z');
  EXPECT_EQ(left->Text(), "");
  EXPECT_FALSE(left->Modified());
}

TEST_F(EditorEditingWindowTest, ColumnCopyPastesAsAColumnAndAsCrLfPlainText) {
  left->SetText("abc\r\ndef\r\nghi");
  left->SetSelectionMode(smColumn);
  left->SetCaretPos({2, 1});
  left->SetSelectionEnd({3, 3});
  KeyWith(left_hwnd, VK_CONTROL, 'C');
  EXPECT_EQ(SystemClipboardText(), "b\r\ne\r\nh");
  right->SetText("12345\r\n12345");
  right->SetCaretPos({3, 1});
  SetFocus(right_hwnd);
  KeyWith(right_hwnd, VK_CONTROL, 'V');
  EXPECT_EQ(right->Text(), "12b345\r\n12e345\r\n  h");
}

TEST_F(EditorEditingWindowTest, DraggingASelectionIntoTheOtherWindowCopiesIt) {
  left->SetText("abc def");
  left->SetCaretPos({5, 1});
  left->SetSelectionEnd({8, 1});
  right->SetText("xyz");
  PumpMessages();
  const POINT press = Cell(*left, 6, 1);
  SendMessageA(left_hwnd, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(press.x, press.y));
  SendMessageA(left_hwnd, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(press.x + 30, press.y));
  ASSERT_TRUE(left->DragActive());
  // The drop point in the right window, in the left window's client pixels.
  POINT drop = Cell(*right, 2, 1);
  MapWindowPoints(right_hwnd, left_hwnd, &drop, 1);
  SendMessageA(left_hwnd, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(drop.x, drop.y));
  SendMessageA(left_hwnd, WM_LBUTTONUP, 0, MAKELPARAM(drop.x, drop.y));
  EXPECT_EQ(right->Text(), "xdefyz");
  EXPECT_EQ(left->Text(), "abc def");
  EXPECT_FALSE(left->DragActive());
}

}  // namespace
