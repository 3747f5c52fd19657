// Search > Labels ... on the real main window: the filter typed into its box
// narrows the list, Enter goes to the chosen label, Esc goes nowhere.
#include <windows.h>
// The list view's messages, which need the types above.
#include <commctrl.h>

#include "DialogDriver.h"
#include "MainWindowFixture.h"
#include "win32/LabelsDialog.h"
#include "win32/WideString.h"

namespace {

using Rows = std::vector<std::string>;

// A macro in a UTF-8 file, with characters of several bytes before its labels.
const char kMacro[] =
    "\xEF\xBB\xBF; Gr\xC3\xBC\xC3\x9F"
    "e\r\n"
    ":start\r\n"
    "sendln '\xE3\x83\x9B'\r\n"
    ":Login_retry\r\n"
    "call login\r\n"
    "goto start\r\n"
    ":login\r\n"
    "return\r\n";

class LabelsDialogTest : public MainWindowFixture {
 protected:
  TTempDir docs;

  void OpenMacro() {
    const std::string path = docs.File("login.ttl");
    WriteFileBytes(path, kMacro);
    form->Document().OpenPath(path);
  }
  // Types into the focused control as the keyboard delivers characters.
  static void Type(HWND dialog, const std::wstring& text) {
    char cls[16] = {};
    GetClassNameA(GetFocus(), cls, sizeof(cls));
    EXPECT_STREQ(cls, "Edit") << "the filter box has the focus";
    EXPECT_EQ(GetParent(GetFocus()), dialog);
    for (wchar_t u : text) PostMessageW(GetFocus(), WM_CHAR, u, 1);
  }
  // The list as shown: "name line" per row.
  static Rows ListRows(HWND dialog) {
    HWND list = FindWindowExW(dialog, nullptr, WC_LISTVIEWW, nullptr);
    Rows rows;
    const int count = static_cast<int>(SendMessageW(list, LVM_GETITEMCOUNT, 0, 0));
    for (int i = 0; i < count; ++i) {
      std::string row;
      for (int column = 0; column < 2; ++column) {
        wchar_t buffer[64] = {};
        LVITEMW item{};
        item.iSubItem = column;
        item.pszText = buffer;
        item.cchTextMax = 64;
        SendMessageW(list, LVM_GETITEMTEXTW, static_cast<WPARAM>(i),
                     reinterpret_cast<LPARAM>(&item));
        row += (column ? " " : "") + Utf8(buffer);
      }
      rows.push_back(row);
    }
    return rows;
  }
};

TEST_F(LabelsDialogTest, TypedFilterNarrowsTheListAndEnterGoesToTheChosenLabel) {
  struct Case {
    const char* name;
    std::wstring typed;
    Rows rows;
    std::vector<UINT> keys;  // each one pressed after the list was seen
    int caret_line;
  } cases[] = {
      {"letter case does not count", L"LOG", {"Login_retry 4", "login 7"}, {VK_RETURN}, 4},
      {"arrow keys in the filter move through the list",
       L"",
       {"start 2", "Login_retry 4", "login 7"},
       {VK_DOWN, VK_DOWN, VK_RETURN},
       7},
      {"Esc goes nowhere", L"s", {"start 2"}, {VK_ESCAPE}, 5},
      {"Enter with nothing listed keeps the dialog open", L"zz", {}, {VK_RETURN, VK_ESCAPE}, 5},
  };
  Start();
  OpenMacro();
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Memo().SetCaretPos({1, 5});
    std::vector<TStep> steps = {[&](HWND d) { Type(d, c.typed); },
                                [&](HWND d) { EXPECT_EQ(ListRows(d), c.rows); }};
    for (UINT key : c.keys) steps.push_back([key](HWND) { PostKey(key); });
    {
      TDialogDriver driver(std::move(steps));
      form->ExecuteCommand(cmLabels);
    }
    EXPECT_EQ(ShownDialog(), nullptr);
    EXPECT_EQ(Memo().CaretY(), c.caret_line);
  }
}

// The language's own labels are plain letters and digits, but the dialog
// shows and filters whatever names it is handed in the document's characters.
TEST_F(LabelsDialogTest, NamesOfSeveralBytesAreShownAndFilteredIntact) {
  Start();
  OpenMacro();
  const std::vector<TMacroLabel> labels = {
      {"start", 1, 1, 5}, {"caf\xC3\xA9_\xE3\x83\x9B", 3, 1, 9}, {"cafe", 6, 1, 4}};
  std::optional<std::size_t> chosen;
  {
    TDialogDriver driver(
        {[](HWND d) { Type(d, L"\u00E9"); },
         [](HWND d) { EXPECT_EQ(ListRows(d), Rows{"caf\xC3\xA9_\xE3\x83\x9B 4"}); },
         [](HWND) { PostKey(VK_RETURN); }});
    chosen = ChooseLabel(form->Handle(), labels, *Memo().CharSet());
  }
  EXPECT_EQ(chosen, std::optional<std::size_t>(1));
}

}  // namespace
