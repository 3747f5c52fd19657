#include <gtest/gtest.h>
#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "DialogDriver.h"
#include "win32/SearchDialogs.h"
#include "win32/Win32CodePage.h"
#include "win32/WineTestSupport.h"

namespace {

using Ids = std::vector<int>;

int Scaled(int pixels) {
  HDC dc = GetDC(nullptr);
  const int dpi = GetDeviceCaps(dc, LOGPIXELSY);
  ReleaseDC(nullptr, dc);
  return MulDiv(pixels, dpi, 96);
}

// ---- what a user does ----

void Press(HWND dialog, int id) { SendMessageA(GetDlgItem(dialog, id), BM_CLICK, 0, 0); }

void PostAlt(char letter) {
  // WM_SYSCHAR with the Alt context bit, as TranslateMessage makes it.
  PostMessageA(GetFocus(), WM_SYSCHAR, static_cast<WPARAM>(letter), 0x20000001);
}

void TypeText(const std::string& text) {
  HWND focus = GetFocus();
  for (char c : text) PostMessageA(focus, WM_CHAR, static_cast<unsigned char>(c), 1);
}

// ---- what the test looks at ----

HWND Item(HWND dialog, int id) { return GetDlgItem(dialog, id); }
std::string ItemText(HWND dialog, int id) { return WindowText(Item(dialog, id)); }

RECT ClientRectOf(HWND dialog, HWND control) {
  RECT r{};
  GetWindowRect(control, &r);
  MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&r), 2);
  return r;
}

// The control holding the focus, the combo box when it is a combo's edit part.
int FocusedId(HWND dialog) {
  HWND focus = GetFocus();
  if (!focus) return 0;
  HWND parent = GetParent(focus);
  if (parent && parent != dialog) focus = parent;
  return GetDlgCtrlID(focus);
}

Ids TabOrder(HWND dialog) {
  Ids ids;
  HWND first = nullptr;
  for (HWND c = GetWindow(dialog, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
    if (GetWindowLongPtrA(c, GWL_STYLE) & WS_TABSTOP) {
      first = c;
      break;
    }
  }
  for (HWND c = first; c;) {
    ids.push_back(GetDlgCtrlID(c));
    c = GetNextDlgTabItem(dialog, c, FALSE);
    if (c == first || ids.size() > 20) break;
  }
  return ids;
}

std::vector<std::string> ListOf(HWND combo) {
  std::vector<std::string> entries;
  const int count = static_cast<int>(SendMessageA(combo, CB_GETCOUNT, 0, 0));
  for (int i = 0; i < count; ++i) {
    char buffer[256] = {};
    SendMessageA(combo, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(buffer));
    entries.push_back(buffer);
  }
  return entries;
}

struct TPlace {
  int id;
  const char* text;
  int left, top, width, height;
};

void ExpectControls(HWND dialog, const std::vector<TPlace>& places) {
  for (const TPlace& p : places) {
    HWND c = Item(dialog, p.id);
    ASSERT_TRUE(c) << "control " << p.id;
    EXPECT_EQ(WindowText(c), p.text) << "control " << p.id;
    const RECT r = ClientRectOf(dialog, c);
    EXPECT_EQ(r.left, Scaled(p.left)) << p.text;
    EXPECT_EQ(r.top, Scaled(p.top)) << p.text;
    EXPECT_EQ(r.right - r.left, Scaled(p.width)) << p.text;
    // A combo box's height follows its font; its list drops below.
    char cls[16] = {};
    GetClassNameA(c, cls, sizeof(cls));
    if (std::string(cls) != "ComboBox") {
      EXPECT_EQ(r.bottom - r.top, Scaled(p.height)) << p.text;
    }
  }
}

void ExpectDialogFrame(HWND dialog, const char* caption, int width, int height) {
  EXPECT_EQ(WindowText(dialog), caption);
  RECT client{};
  GetClientRect(dialog, &client);
  EXPECT_EQ(client.right, Scaled(width));
  EXPECT_EQ(client.bottom, Scaled(height));
  const LONG_PTR style = GetWindowLongPtrA(dialog, GWL_STYLE);
  EXPECT_FALSE(style & WS_THICKFRAME) << "fixed border";
  EXPECT_FALSE(style & WS_MAXIMIZEBOX);
  EXPECT_TRUE(GetWindowLongPtrA(dialog, GWL_EXSTYLE) & WS_EX_DLGMODALFRAME);
  LOGFONTA font{};
  GetObjectA(reinterpret_cast<HFONT>(SendMessageA(Item(dialog, IDCANCEL), WM_GETFONT, 0, 0)),
             sizeof(font), &font);
  EXPECT_STREQ(font.lfFaceName, "MS Sans Serif");
  EXPECT_EQ(font.lfHeight, -MulDiv(8, Scaled(96), 72));
}

// Records which windows got the focus, to see where a dialog starts.
class TFocusRecorder {
 public:
  TFocusRecorder() {
    current_ = this;
    hook_ = SetWindowsHookExA(WH_CBT, Hook, nullptr, GetCurrentThreadId());
  }
  ~TFocusRecorder() {
    UnhookWindowsHookEx(hook_);
    current_ = nullptr;
  }
  TFocusRecorder(const TFocusRecorder&) = delete;
  TFocusRecorder& operator=(const TFocusRecorder&) = delete;
  // Control ids in the order they got the focus, repeats merged.
  Ids ids;

 private:
  static LRESULT CALLBACK Hook(int code, WPARAM wparam, LPARAM lparam) {
    if (code == HCBT_SETFOCUS && current_ && wparam) {
      HWND w = reinterpret_cast<HWND>(wparam);
      if (GetWindowLongPtrA(w, GWL_STYLE) & WS_CHILD) {
        HWND parent = GetParent(w);
        char cls[16] = {};
        GetClassNameA(parent, cls, sizeof(cls));
        if (std::string(cls) == "ComboBox") w = parent;
        const int id = GetDlgCtrlID(w);
        if (current_->ids.empty() || current_->ids.back() != id) current_->ids.push_back(id);
      }
    }
    return CallNextHookEx(nullptr, code, wparam, lparam);
  }
  static inline TFocusRecorder* current_ = nullptr;
  HHOOK hook_ = nullptr;
};

using D = TTextSearchDialog;
using C = TConfirmReplaceDialog;

class SearchDialogTest : public ::testing::Test {
 protected:
  HWND owner = nullptr;
  HWND owner_edit = nullptr;
  TWin32CodePage code_page;

  void SetUp() override {
    owner = CreateWindowExA(0, "STATIC", "Owner", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 100, 80, 700,
                            500, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
    owner_edit = CreateWindowExA(0, "EDIT", "", WS_CHILD | WS_VISIBLE, 10, 10, 100, 20, owner,
                                 nullptr, GetModuleHandleA(nullptr), nullptr);
    SetForegroundWindow(owner);
    SetFocus(owner_edit);
    PumpMessages();
  }
  void TearDown() override {
    DestroyWindow(owner);
    PumpMessages();
  }

  bool Show(TWin32SearchDialogs& dialogs, bool replace, TSearchDialogValues& values,
            std::vector<TStep> steps) {
    TDialogDriver driver(std::move(steps));
    return dialogs.ShowSearchDialog(replace, values);
  }
  TReplaceAction Confirm(TWin32SearchDialogs& dialogs, const TRect& area, int x, int y1, int y2,
                         const std::string& search, std::vector<TStep> steps) {
    TDialogDriver driver(std::move(steps));
    return dialogs.ConfirmReplace(area, x, y1, y2, search);
  }
};

// A step that only lets time pass, so the 10 ms focus timer has fired.
const TStep kWait = [](HWND) {};

std::string Numbered(int from, int to) {
  std::string text;
  for (int i = from; i <= to; ++i) {
    if (!text.empty()) text += "\r\n";
    text += "item" + std::to_string(i);
  }
  return text;
}

// ---- Find and Replace ----

TEST_F(SearchDialogTest, FindDialogShowsItsControlsInPlace) {
  TWin32SearchDialogs dialogs(owner, code_page);
  TSearchDialogValues values;
  TFocusRecorder focus;
  Show(dialogs, false, values,
       {kWait, [&](HWND d) {
          ExpectDialogFrame(d, "Search Text", 332, 180);
          ExpectControls(d, {
                                {D::idLabel1, "&Search for:", 8, 12, 52, 13},
                                {D::idSearchText, "", 96, 8, 228, 21},
                                {D::idSearchOptions, " Options: ", 8, 40, 154, 127},
                                {D::idCaseSensitive, "C&ase sensitivity", 16, 57, 140, 17},
                                {D::idWholeWords, "&Whole words only", 16, 79, 140, 17},
                                {D::idFromCursor, "Search from &caret", 16, 101, 140, 17},
                                {D::idSelectedOnly, "Selected &text only", 16, 123, 140, 17},
                                {D::idRegularExpression, "&Regular expression", 16, 144, 140, 17},
                                {D::idSearchDirection, " Direction: ", 170, 40, 154, 65},
                                {IDOK, "OK", 170, 144, 75, 23},
                                {IDCANCEL, "Cancel", 249, 144, 75, 23},
                            });
          EXPECT_EQ(ItemText(d, D::idForward), "&Forward");
          EXPECT_EQ(ItemText(d, D::idBackward), "&Backward");
          EXPECT_EQ(IsDlgButtonChecked(d, D::idForward), BST_CHECKED) << "forward is preset";
          EXPECT_EQ(LOWORD(SendMessageA(d, DM_GETDEFID, 0, 0)), IDOK);
          EXPECT_EQ(TabOrder(d), (Ids{IDCANCEL, D::idSearchText, D::idCaseSensitive,
                                      D::idWholeWords, D::idFromCursor, D::idSelectedOnly,
                                      D::idRegularExpression, D::idForward, IDOK}));
          EXPECT_FALSE(IsWindowEnabled(owner)) << "the owner is disabled while the dialog shows";
          EXPECT_EQ(FocusedId(d), D::idSearchText);
          Press(d, IDCANCEL);
        }});
  // Cancel has the focus first; the timer then hands it to the search text.
  ASSERT_GE(focus.ids.size(), 2u);
  EXPECT_EQ(focus.ids[0], IDCANCEL);
  EXPECT_EQ(focus.ids[1], D::idSearchText);
  EXPECT_TRUE(IsWindowEnabled(owner));
  EXPECT_EQ(GetFocus(), owner_edit) << "the focus goes back where it was";
}

TEST_F(SearchDialogTest, ReplaceDialogAddsTheReplacementAndMovesTheRest) {
  TWin32SearchDialogs dialogs(owner, code_page);
  TSearchDialogValues values;
  TFocusRecorder focus;
  Show(dialogs, true, values,
       {kWait, [&](HWND d) {
          ExpectDialogFrame(d, "Replace text", 332, 210);
          ExpectControls(d, {
                                {D::idLabel1, "&Search for:", 8, 12, 52, 13},
                                {D::idSearchText, "", 96, 8, 228, 21},
                                {D::idLabel2, "&Replace with:", 8, 41, 65, 13},
                                {D::idReplaceText, "", 96, 37, 228, 21},
                                {D::idSearchOptions, " Options: ", 8, 70, 154, 127},
                                {D::idCaseSensitive, "C&ase sensitivity", 16, 87, 140, 17},
                                {D::idRegularExpression, "&Regular expression", 16, 174, 140, 17},
                                {D::idSearchDirection, " Direction: ", 170, 70, 154, 65},
                                {IDOK, "OK", 170, 179, 75, 23},
                                {IDCANCEL, "Cancel", 249, 179, 75, 23},
                            });
          EXPECT_EQ(TabOrder(d), (Ids{D::idReplaceText, D::idCaseSensitive, D::idWholeWords,
                                      D::idFromCursor, D::idSelectedOnly, D::idRegularExpression,
                                      D::idForward, IDOK, D::idSearchText, IDCANCEL}));
          Press(d, IDCANCEL);
        }});
  ASSERT_GE(focus.ids.size(), 2u);
  EXPECT_EQ(focus.ids[0], D::idReplaceText);
  EXPECT_EQ(focus.ids[1], D::idSearchText);
}

TEST_F(SearchDialogTest, OptionsGoInAndComeBackOnOk) {
  struct Case {
    bool replace;
    TSearchDialogValues in;
  } cases[] = {
      {false, {true, false, true, false, true, false, "wait", "wait\r\nsend", "", ""}},
      {false, {false, true, false, true, false, true, "x", "", "", ""}},
      {true, {true, true, true, true, true, true, "a", "b\r\na", "rep", "rep\r\nz"}},
  };
  for (const Case& c : cases) {
    TWin32SearchDialogs dialogs(owner, code_page);
    TSearchDialogValues values = c.in;
    const bool ok = Show(
        dialogs, c.replace, values, {[&](HWND d) {
          EXPECT_EQ(IsDlgButtonChecked(d, D::idBackward) == BST_CHECKED, c.in.backwards);
          EXPECT_EQ(IsDlgButtonChecked(d, D::idCaseSensitive) == BST_CHECKED, c.in.case_sensitive);
          EXPECT_EQ(IsDlgButtonChecked(d, D::idWholeWords) == BST_CHECKED, c.in.whole_words);
          EXPECT_EQ(IsDlgButtonChecked(d, D::idFromCursor) == BST_CHECKED, c.in.from_caret);
          EXPECT_EQ(IsDlgButtonChecked(d, D::idSelectedOnly) == BST_CHECKED, c.in.selected_only);
          EXPECT_EQ(IsDlgButtonChecked(d, D::idRegularExpression) == BST_CHECKED,
                    c.in.regular_expression);
          EXPECT_EQ(ItemText(d, D::idSearchText), c.in.search_text);
          if (c.replace) {
            EXPECT_EQ(ItemText(d, D::idReplaceText), c.in.replace_text);
          }
          Press(d, IDOK);
        }});
    ASSERT_TRUE(ok);
    EXPECT_EQ(values.backwards, c.in.backwards);
    EXPECT_EQ(values.case_sensitive, c.in.case_sensitive);
    EXPECT_EQ(values.whole_words, c.in.whole_words);
    EXPECT_EQ(values.from_caret, c.in.from_caret);
    EXPECT_EQ(values.selected_only, c.in.selected_only);
    EXPECT_EQ(values.regular_expression, c.in.regular_expression);
    EXPECT_EQ(values.search_text, c.in.search_text);
    EXPECT_EQ(values.replace_text, c.in.replace_text);
  }
}

TEST_F(SearchDialogTest, UserChangesComeBackOnOkOnly) {
  for (const bool ok : {true, false}) {
    TWin32SearchDialogs dialogs(owner, code_page);
    TSearchDialogValues values;
    values.search_text = "old";
    values.replace_text = "former";
    values.search_history = "old";
    const bool result = Show(dialogs, true, values,
                             {kWait, [](HWND) { TypeText("Wait"); },  // overtypes the selected text
                              [](HWND d) {
                                Press(d, D::idBackward);
                                Press(d, D::idWholeWords);
                                Press(d, D::idRegularExpression);
                                SetFocus(Item(d, D::idReplaceText));
                                SendMessageA(Item(d, D::idReplaceText), WM_SETTEXT, 0,
                                             reinterpret_cast<LPARAM>("new"));
                              },
                              [&](HWND d) { Press(d, ok ? IDOK : IDCANCEL); }});
    EXPECT_EQ(result, ok);
    if (ok) {
      EXPECT_EQ(values.search_text, "Wait");
      EXPECT_EQ(values.replace_text, "new");
      EXPECT_TRUE(values.backwards);
      EXPECT_TRUE(values.whole_words);
      EXPECT_TRUE(values.regular_expression);
      EXPECT_FALSE(values.case_sensitive);
      EXPECT_EQ(values.search_history, "Wait\r\nold");
      EXPECT_EQ(values.replace_history, "new");
    } else {
      EXPECT_EQ(values.search_text, "old");
      EXPECT_EQ(values.replace_text, "former");
      EXPECT_FALSE(values.backwards);
      EXPECT_EQ(values.search_history, "old");
      EXPECT_EQ(values.replace_history, "");
    }
  }
}

TEST_F(SearchDialogTest, TextsOfAnyCharacterComeBackAsTypedAndStayInTheHistory) {
  TWin32SearchDialogs dialogs(owner, code_page);
  TSearchDialogValues values;
  values.replace_text = "\xC3\xA9t\xC3\xA9";  // shown as it is
  values.replace_history = "\xC3\xA9t\xC3\xA9";
  const bool ok = Show(dialogs, true, values,
                       {kWait,
                        [](HWND) {
                          // As the keyboard delivers them: UTF-16, a surrogate pair among them.
                          for (wchar_t u : {L'\x3053', L'\xD83D', L'\xDE00', L'\x00E9'})
                            PostMessageW(GetFocus(), WM_CHAR, u, 1);
                        },
                        [](HWND d) { Press(d, IDOK); }});
  ASSERT_TRUE(ok);
  EXPECT_EQ(values.search_text, "\xE3\x81\x93\xF0\x9F\x98\x80\xC3\xA9");
  EXPECT_EQ(values.search_history, values.search_text);
  EXPECT_EQ(values.replace_text, "\xC3\xA9t\xC3\xA9");
}

TEST_F(SearchDialogTest, ConfirmedTextsLeadTheirHistories) {
  struct Case {
    const char* name;
    std::string search_text, search_history, replace_text, replace_history;
    std::string search_after, replace_after;
  } cases[] = {
      {"new texts go on top", "c", "a\r\nb", "r", "", "c\r\na\r\nb", "r"},
      {"other letter case replaces the old entry", "sendln", "a\r\nSENDLN\r\nb", "X", "x\r\ny",
       "sendln\r\na\r\nb", "X\r\ny"},
      {"empty texts leave the histories as they are", "", "a\r\nb", "", "q", "a\r\nb", "q"},
      {"twelve entries come back as ten", "new", Numbered(1, 12), "", Numbered(1, 12),
       "new\r\n" + Numbered(1, 9), Numbered(1, 10)},
  };
  for (const Case& c : cases) {
    TWin32SearchDialogs dialogs(owner, code_page);
    TSearchDialogValues values;
    values.search_text = c.search_text;
    values.search_history = c.search_history;
    values.replace_text = c.replace_text;
    values.replace_history = c.replace_history;
    ASSERT_TRUE(Show(dialogs, true, values, {[](HWND d) { Press(d, IDOK); }})) << c.name;
    EXPECT_EQ(values.search_history, c.search_after) << c.name;
    EXPECT_EQ(values.replace_history, c.replace_after) << c.name;
    EXPECT_EQ(values.search_text, c.search_text) << c.name;
  }
}

TEST_F(SearchDialogTest, SearchTextStaysWhenTheListIsFilled) {
  TWin32SearchDialogs dialogs(owner, code_page);
  TSearchDialogValues values;
  values.search_text = "selected";
  values.search_history = "one\r\ntwo";
  Show(dialogs, false, values, {[](HWND d) {
         EXPECT_EQ(ItemText(d, D::idSearchText), "selected");
         EXPECT_EQ(ListOf(Item(d, D::idSearchText)), (std::vector<std::string>{"one", "two"}));
         Press(d, IDCANCEL);
       }});

  // Refilling the list of a showing dialog keeps the typed text too.
  TTextSearchDialog dialog(owner, code_page);
  dialog.SetSearchText("typed");
  TDialogDriver driver({[&](HWND d) {
    dialog.SetSearchTextHistory("x\r\ny\r\nz");
    EXPECT_EQ(ItemText(d, D::idSearchText), "typed");
    EXPECT_EQ(dialog.SearchTextHistory(), "x\r\ny\r\nz");
    Press(d, IDOK);
  }});
  EXPECT_EQ(dialog.ShowModal(), IDOK);
  EXPECT_EQ(dialog.SearchText(), "typed");
  EXPECT_EQ(dialog.SearchTextHistory(), "typed\r\nx\r\ny\r\nz");
}

TEST_F(SearchDialogTest, KeyboardWorksLikeADialog) {
  struct Case {
    const char* name;
    bool replace;
    std::vector<TStep> keys;
    bool ok;
    std::function<void(const TSearchDialogValues&)> check;
  } cases[] = {
      {"Enter in the search text is OK", false, {[](HWND) { PostKey(VK_RETURN); }}, true, nullptr},
      {"Esc is Cancel", false, {[](HWND) { PostKey(VK_ESCAPE); }}, false, nullptr},
      {"closing the window is Cancel",
       false,
       {[](HWND d) { PostMessageA(d, WM_CLOSE, 0, 0); }},
       false,
       nullptr},
      {"Alt+C and Alt+B set options, Enter confirms",
       false,
       {[](HWND) { PostAlt('c'); }, [](HWND) { PostAlt('b'); },
        [](HWND d) {
          EXPECT_EQ(FocusedId(d), D::idBackward);
          PostKey(VK_RETURN);
        }},
       true,
       [](const TSearchDialogValues& v) {
         EXPECT_TRUE(v.from_caret);
         EXPECT_TRUE(v.backwards);
       }},
      {"Tab leaves the search text for the first option",
       false,
       {[](HWND) { PostKey(VK_TAB); },
        [](HWND d) {
          EXPECT_EQ(FocusedId(d), D::idCaseSensitive);
          PostKey(VK_SPACE);
        },
        [](HWND d) { Press(d, IDOK); }},
       true,
       [](const TSearchDialogValues& v) { EXPECT_TRUE(v.case_sensitive); }},
      {"Alt+R in the Replace dialog is the regular expression",
       true,
       {[](HWND) { PostAlt('r'); },
        [](HWND d) {
          EXPECT_EQ(FocusedId(d), D::idRegularExpression);
          PostAlt('s');
        },
        [](HWND d) {
          EXPECT_EQ(FocusedId(d), D::idSearchText) << "Alt+S leads to the search text";
          Press(d, IDOK);
        }},
       true,
       [](const TSearchDialogValues& v) { EXPECT_TRUE(v.regular_expression); }},
  };
  for (auto& c : cases) {
    SCOPED_TRACE(c.name);
    TWin32SearchDialogs dialogs(owner, code_page);
    TSearchDialogValues values;
    values.search_text = "wait";
    std::vector<TStep> steps{kWait};
    steps.insert(steps.end(), c.keys.begin(), c.keys.end());
    EXPECT_EQ(Show(dialogs, c.replace, values, steps), c.ok);
    if (c.check) c.check(values);
  }
}

// ---- Confirm replace ----

const TRect kArea{100, 80, 900, 680};  // 800 x 600 on the screen

TEST_F(SearchDialogTest, ConfirmDialogAsksAboutTheSearchText) {
  TWin32SearchDialogs dialogs(owner, code_page);
  // "&" and quotes show as they are, and so does a character outside the ANSI code page.
  Confirm(dialogs, kArea, 200, 100, 116, "a&b \"x\" \xE6\x97\xA5", {[&](HWND d) {
            ExpectDialogFrame(d, "Confirm replace", 328, 98);
            ExpectControls(d, {
                                  {C::idConfirmation,
                                   "Replace this occurence of \"a&b \"x\" \xE6\x97\xA5\"?",
                                   60, 12, 261, 44},
                                  {C::idImage1, "", 16, 16, 32, 32},
                                  {IDYES, "&Yes", 8, 67, 75, 23},
                                  {IDNO, "&No", 87, 67, 75, 23},
                                  {IDCANCEL, "Cancel", 166, 67, 75, 23},
                                  {C::idReplaceAll, "Yes to &all", 245, 67, 75, 23},
                              });
            EXPECT_TRUE(SendMessageA(Item(d, C::idImage1), STM_GETICON, 0, 0));
            EXPECT_EQ(LOWORD(SendMessageA(d, DM_GETDEFID, 0, 0)), IDYES);
            EXPECT_EQ(TabOrder(d), (Ids{IDYES, IDNO, IDCANCEL, C::idReplaceAll}));
            EXPECT_EQ(FocusedId(d), IDYES);
            EXPECT_FALSE(IsWindowEnabled(owner));
            Press(d, IDNO);
          }});
  ASSERT_TRUE(dialogs.ConfirmReplaceDialog());
  EXPECT_EQ(dialogs.ConfirmReplaceDialog()->Question(),
            "Replace this occurence of \"a&b \"x\" \xE6\x97\xA5\"?");
  EXPECT_FALSE(IsWindowVisible(dialogs.ConfirmReplaceDialog()->Handle()));
  EXPECT_TRUE(IsWindowEnabled(owner));
  EXPECT_EQ(GetFocus(), owner_edit);
}

TEST_F(SearchDialogTest, ConfirmAnswersMapToReplaceActions) {
  struct Case {
    const char* name;
    TStep answer;
    TReplaceAction action;
  } cases[] = {
      {"Yes", [](HWND d) { Press(d, IDYES); }, raReplace},
      {"No", [](HWND d) { Press(d, IDNO); }, raSkip},
      {"Cancel", [](HWND d) { Press(d, IDCANCEL); }, raCancel},
      {"Yes to all", [](HWND d) { Press(d, C::idReplaceAll); }, raReplaceAll},
      {"Enter", [](HWND) { PostKey(VK_RETURN); }, raReplace},
      {"Esc", [](HWND) { PostKey(VK_ESCAPE); }, raCancel},
      {"Alt+A", [](HWND) { PostAlt('a'); }, raReplaceAll},
      {"Alt+N", [](HWND) { PostAlt('n'); }, raSkip},
      {"closing the window", [](HWND d) { PostMessageA(d, WM_CLOSE, 0, 0); }, raCancel},
  };
  // One dialog answers them all, as during one replace run.
  TWin32SearchDialogs dialogs(owner, code_page);
  for (const Case& c : cases) {
    EXPECT_EQ(Confirm(dialogs, kArea, 200, 100, 116, "x", {c.answer}), c.action) << c.name;
  }
}

TEST_F(SearchDialogTest, ConfirmDialogSitsBesideTheOccurrence) {
  TWin32SearchDialogs dialogs(owner, code_page);
  RECT size{};
  Confirm(dialogs, kArea, 0, 0, 0, "x", {[&](HWND d) {
            GetWindowRect(d, &size);
            Press(d, IDCANCEL);
          }});
  const int w = size.right - size.left;
  const int h = size.bottom - size.top;
  struct Case {
    const char* name;
    TRect area;
    int x, y1, y2;
    // Where the window must be: its left (when not centred), and its top
    // (below the line) or its bottom (above it).
    int left;
    bool below;
    int edge;
  } cases[] = {
      {"upper part: below the line at x", kArea, 200, 100, 116, 200, true, 120},
      {"lower third: above the line", kArea, 300, 600, 616, 300, false, 596},
      {"near the right edge: clamped", kArea, 850, 100, 116, 900 - w, true, 120},
      {"narrow window: centred", TRect{400, 80, 500, 680}, 420, 100, 116, 0, true, 120},
  };
  for (const Case& c : cases) {
    RECT r{};
    Confirm(dialogs, c.area, c.x, c.y1, c.y2, "x", {[&](HWND d) {
              GetWindowRect(d, &r);
              Press(d, IDYES);
            }});
    if (c.area.Width() < w) {
      // Centred: equal room on both sides, give or take the odd pixel.
      EXPECT_NEAR((r.left + r.right) / 2.0, (c.area.left + c.area.right) / 2.0, 1.0) << c.name;
    } else {
      EXPECT_EQ(r.left, c.left) << c.name;
    }
    if (c.below) {
      EXPECT_EQ(r.top, c.edge) << c.name;
    } else {
      EXPECT_EQ(r.bottom, c.edge) << c.name;
    }
    EXPECT_EQ(r.right - r.left, w) << c.name << ": the size is kept";
    EXPECT_EQ(r.bottom - r.top, h) << c.name;
  }
}

TEST_F(SearchDialogTest, ConfirmDialogIsReusedUntilReleased) {
  TWin32SearchDialogs dialogs(owner, code_page);
  EXPECT_EQ(dialogs.ConfirmReplaceDialog(), nullptr) << "none before the first question";
  HWND first = nullptr, second = nullptr;
  Confirm(dialogs, kArea, 200, 100, 116, "one", {[&](HWND d) {
            first = d;
            Press(d, IDYES);
          }});
  Confirm(dialogs, kArea, 200, 100, 116, "two", {[&](HWND d) {
            second = d;
            EXPECT_EQ(ItemText(d, C::idConfirmation), "Replace this occurence of \"two\"?");
            Press(d, IDYES);
          }});
  EXPECT_EQ(first, second) << "the same window asks again";
  EXPECT_TRUE(IsWindow(first));
  EXPECT_EQ(GetWindow(first, GW_OWNER), owner);

  dialogs.ReleaseConfirmDialog();
  EXPECT_FALSE(IsWindow(first));
  EXPECT_EQ(dialogs.ConfirmReplaceDialog(), nullptr);
  dialogs.ReleaseConfirmDialog();  // nothing left to release

  HWND third = nullptr;
  EXPECT_EQ(Confirm(dialogs, kArea, 200, 100, 116, "three", {[&](HWND d) {
                      third = d;
                      Press(d, IDNO);
                    }}),
            raSkip);
  EXPECT_TRUE(IsWindow(third));
  EXPECT_NE(dialogs.ConfirmReplaceDialog(), nullptr);
}

TEST_F(SearchDialogTest, ConfirmDialogGoneWithItsOwnerIsMadeAgain) {
  TWin32SearchDialogs dialogs(owner, code_page);
  Confirm(dialogs, kArea, 200, 100, 116, "x", {[](HWND d) { Press(d, IDYES); }});
  HWND old = dialogs.ConfirmReplaceDialog()->Handle();
  DestroyWindow(old);  // as when its owner goes
  EXPECT_EQ(dialogs.ConfirmReplaceDialog(), nullptr);
  EXPECT_EQ(Confirm(dialogs, kArea, 200, 100, 116, "x", {[](HWND d) { Press(d, IDYES); }}),
            raReplace);
}

}  // namespace
