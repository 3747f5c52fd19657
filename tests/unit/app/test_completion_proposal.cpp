// The completion proposal against a real editor: what the user types, which
// entries are offered, and what ends up in the text.
#include <gtest/gtest.h>

#include <cctype>
#include <functional>
#include <string>
#include <vector>

#include "FakeCompletionHost.h"
#include "app/CompletionProposal.h"
#include "app/CompletionSetup.h"
#include "app/LabelNavigation.h"
#include "editor/EditorMemo.h"
#include "editor/EditorVirtualKeys.h"
#include "support/FakeEditorHost.h"
#include "support/RecordingCanvas.h"
#include "support/ScriptedPrompts.h"

namespace {

class CompletionProposalTest : public ::testing::Test {
 public:
  TFakeEditorHost editor_host;
  TEditorMemo editor;
  FakeCompletionHost popup;
  TCompletionProposal scp;  // after the editor: detaches before it goes

  void SetUp() override {
    editor.SetHost(&editor_host);
    ConfigureMainCompletionProposal(scp);
    scp.SetPopupHost(&popup);
    Items({{"sendln", "\\style{+B}sendln\\style{-B} <string>"},
           {"send", "\\style{+B}send\\style{-B} <string>"},
           {"setdir", "setdir <dir>"},
           {"beep", "beep"}});
    scp.SetEditor(&editor);
  }
  void TearDown() override {
    scp.SetEditor(nullptr);
    editor.SetHost(nullptr);
  }

  void Items(const std::vector<std::pair<std::string, std::string>>& items) {
    std::vector<std::string> inserts, displays;
    for (const auto& [insert, display] : items) {
      inserts.push_back(insert);
      displays.push_back(display);
    }
    scp.SetInsertList(inserts);
    scp.SetItemList(displays);
  }

  // A key as the window delivers it: the key, then the character it types.
  void Key(std::uint16_t vk_code, TShiftState shift = 0, char typed = 0) {
    std::uint16_t k = vk_code;
    editor.KeyDown(k, shift);
    if (typed) Char(typed);
  }
  void Char(char c) { editor.KeyPress(c); }
  void Type(const std::string& text) {
    for (char c : text) {
      const std::uint16_t code = std::isalnum(static_cast<unsigned char>(c))
                                     ? static_cast<std::uint16_t>(std::toupper(c))
                                 : c == ' ' ? 0x20
                                 : c == '.' ? 0xBE
                                            : 0xBA;
      Key(code, 0, c);
    }
  }
  void CtrlSpace() { Key(0x20, ssCtrl, ' '); }
  void Enter() { Key(vk::Return, 0, '\r'); }
  void Esc() { Key(vk::Escape, 0, '\x1B'); }

  // Insert texts of the entries offered, in order.
  std::vector<std::string> Offered() {
    std::vector<std::string> names;
    auto& form = scp.Form();
    for (int i = 0; i < form.ShownCount(); ++i) names.push_back(form.ShownText(i));
    return names;
  }
  std::string Selected() { return scp.Form().ShownText(scp.Form().Position()); }
  std::string Line(int n = 1) { return editor.LineText(n); }
};

using Names = std::vector<std::string>;

TEST_F(CompletionProposalTest, TypingNarrowsTheListInFileOrder) {
  Type("se");
  CtrlSpace();
  ASSERT_TRUE(popup.visible);
  EXPECT_EQ(Offered(), (Names{"sendln", "send", "setdir"}));
  struct Step {
    const char* typed;
    Names offered;
  } steps[] = {{"n", {"sendln", "send"}}, {"d", {"sendln", "send"}}, {"l", {"sendln"}}};
  for (const auto& step : steps) {
    Type(step.typed);
    EXPECT_EQ(Offered(), step.offered) << step.typed;
    EXPECT_EQ(scp.Form().Position(), 0);
  }
  EXPECT_EQ(Line(), "sendl");
  EXPECT_TRUE(popup.visible);
  Type("x");
  EXPECT_TRUE(Offered().empty()) << "nothing matches: no rows, still open";
  EXPECT_TRUE(popup.visible);
  Enter();
  EXPECT_FALSE(popup.visible);
  EXPECT_EQ(Line(), "sendlx") << "completing with nothing offered inserts nothing";
}

TEST_F(CompletionProposalTest, TheInputIsTakenFromTheTokenBeforeTheCaret) {
  struct Case {
    const char* text;
    int caret;
    Names offered;
    const char* after_enter;
  } cases[] = {
      {"se", 3, {"sendln", "send", "setdir"}, "sendln"},
      {"SE", 3, {"sendln", "send", "setdir"}, "sendln"},
      {"x(se", 5, {"sendln", "send", "setdir"}, "x(sendln"},
      {"a<b>SEND", 9, {"sendln", "send"}, "a<b>sendln"},
      {"x.bee", 6, {"beep"}, "x.beep"},
      {"se|ndxyz", 3, {"sendln", "send", "setdir"}, "sendln|ndxyz"},
      {"sendxyz", 3, {"sendln", "send", "setdir"}, "sendln"},
      {"\tse", 4, {"sendln", "send", "setdir"}, "\tsendln"},
      {"ab", 10, {"sendln", "send", "setdir", "beep"}, "ab       sendln"},
  };
  for (const auto& c : cases) {
    editor.SetText(c.text);
    editor.SetCaretPos({c.caret, 1});
    CtrlSpace();
    EXPECT_TRUE(popup.visible) << c.text;
    EXPECT_EQ(Offered(), c.offered) << c.text;
    Enter();
    EXPECT_FALSE(popup.visible) << c.text;
    EXPECT_EQ(Line(), c.after_enter) << c.text;
    const int inserted = std::string(c.after_enter).find("beep") != std::string::npos ? 4 : 6;
    EXPECT_EQ(editor.CaretPos(), (TBufferCoord{scp.CompletionStart() + inserted, 1})) << c.text;
    EXPECT_FALSE(editor.SelAvail()) << c.text;
  }
}

TEST_F(CompletionProposalTest, NothingMatchingOpensNothingAndTheBlankIsStillSwallowed) {
  Type("zz");
  CtrlSpace();
  EXPECT_FALSE(popup.visible);
  EXPECT_EQ(Line(), "zz");
  Type(" ");
  EXPECT_EQ(Line(), "zz ") << "only the one blank of the shortcut is dropped";
}

// After a command key the editor drops the next character itself, so the
// blank of Ctrl+Space may never reach the list; a later blank is typed.
TEST_F(CompletionProposalTest, OnlyTheShortcutsOwnBlankIsDropped) {
  editor.SetText("se");
  editor.SetCaretPos({3, 1});
  Key(vk::Left);
  Key(vk::Right);
  CtrlSpace();
  ASSERT_TRUE(popup.visible);
  EXPECT_EQ(Line(), "se");
  Type(" ");
  EXPECT_EQ(Line(), "sendln ");
  EXPECT_FALSE(popup.visible);
}

TEST_F(CompletionProposalTest, KeysMoveTheSelection) {
  std::vector<std::pair<std::string, std::string>> many;
  for (int i = 0; i < 10; ++i) many.push_back({"cmd" + std::to_string(i), "cmd"});
  Items(many);
  struct Step {
    std::uint16_t key;
    TShiftState shift;
    int position;
    int top;
  } steps[] = {
      {vk::Down, 0, 1, 0},  {vk::Next, 0, 5, 2},    {vk::Next, 0, 9, 6},      {vk::Down, 0, 9, 6},
      {vk::Prior, 0, 5, 5}, {vk::Up, 0, 4, 4},      {vk::Home, 0, 0, 0},      {vk::Up, 0, 0, 0},
      {vk::End, 0, 9, 6},   {vk::Up, ssCtrl, 0, 0}, {vk::Down, ssCtrl, 9, 6}, {vk::Prior, 0, 5, 5},
      {vk::Prior, 0, 1, 1}, {vk::Prior, 0, 0, 0},
  };
  CtrlSpace();
  ASSERT_TRUE(popup.visible);
  ASSERT_EQ(scp.Form().LinesInWindow(), 4);
  for (const auto& s : steps) {
    Key(s.key, s.shift);
    EXPECT_EQ(scp.Form().Position(), s.position) << "key " << s.key;
    EXPECT_EQ(scp.Form().TopIndex(), s.top) << "key " << s.key;
  }
  EXPECT_TRUE(popup.visible);
  EXPECT_EQ(Line(), "") << "list keys never reach the editor";
  EXPECT_EQ(popup.bar.Max, 6);
}

TEST_F(CompletionProposalTest, TabEnterAndDoubleClickInsertTheSelectedEntry) {
  for (int how = 0; how < 3; ++how) {
    editor.SetText("x = se");
    editor.SetCaretPos({7, 1});
    CtrlSpace();
    Key(vk::Down);
    if (how == 0) Key(vk::Tab, 0, '\t');
    if (how == 1) Enter();
    if (how == 2) scp.Form().DoubleClick();
    EXPECT_FALSE(popup.visible) << how;
    EXPECT_EQ(editor.Text(), "x = send") << how;
  }
}

TEST_F(CompletionProposalTest, EscClosesWithoutChangingTheText) {
  Type("se");
  CtrlSpace();
  Key(vk::Down);
  Esc();
  EXPECT_FALSE(popup.visible);
  EXPECT_EQ(editor.Text(), "se");
  Type("n");
  EXPECT_EQ(editor.Text(), "sen") << "typing goes on in the editor";
}

TEST_F(CompletionProposalTest, TypingAnEndOfTokenCharacterCompletesAndReopensOnATrigger) {
  Type("sen");
  CtrlSpace();
  Type(".");
  EXPECT_EQ(Line(), "sendln.");
  EXPECT_TRUE(popup.visible) << "the dot opens the list again at once";
  EXPECT_EQ(scp.Form().CurrentString(), "");
  EXPECT_EQ(Offered().size(), 4u);
  Esc();

  editor.SetText("sen");
  editor.SetCaretPos({4, 1});
  CtrlSpace();
  Type("(");
  EXPECT_EQ(Line(), "sendln(");
  EXPECT_FALSE(popup.visible);

  editor.SetText("se");
  editor.SetCaretPos({3, 1});
  CtrlSpace();
  Type(" ");
  EXPECT_EQ(Line(), "sendln ") << "a blank completes like Enter, then is typed";
}

TEST_F(CompletionProposalTest, CharactersTheListDoesNotTakeCloseIt) {
  for (char c : {'{', '|', '}', '~'}) {
    editor.SetText("se");
    editor.SetCaretPos({3, 1});
    CtrlSpace();
    ASSERT_TRUE(popup.visible);
    Char(c);
    EXPECT_FALSE(popup.visible) << c;
    EXPECT_EQ(Line(), std::string("se") + c);
  }
}

TEST_F(CompletionProposalTest, ControlCharactersGoToTheEditorAndCloseTheList) {
  struct Case {
    const char* what;
    std::uint16_t key;
    char typed;
  } cases[] = {{"Ctrl+Z", 'Z', '\x1A'},
               {"Ctrl+Backspace", vk::Back, '\x7F'},
               {"Ctrl+Enter", vk::Return, '\n'}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    editor.SetText("se");
    editor.SetCaretPos({3, 1});
    CtrlSpace();
    ASSERT_TRUE(popup.visible);
    Key(c.key, ssCtrl, c.typed);
    EXPECT_FALSE(popup.visible);
    EXPECT_EQ(editor.Text(), "se") << "nothing completed";
    Type("n");
    EXPECT_EQ(Line(), "sen") << "typing goes on in the editor";
  }
}

TEST_F(CompletionProposalTest, ACompletionChangesOnlyTheTokenItWasOpenedFor) {
  // A search or a click moved the caret while the list stayed open.
  for (const TBufferCoord moved_to : {TBufferCoord{1, 2}, TBufferCoord{8, 2}, TBufferCoord{2, 1}}) {
    editor.SetText("  se\r\nabcdef ghi");
    editor.SetCaretPos({5, 1});
    CtrlSpace();
    ASSERT_TRUE(popup.visible);
    editor.SetCaretPos(moved_to);
    Enter();
    EXPECT_FALSE(popup.visible);
    EXPECT_EQ(editor.Text(), "  se\r\nabcdef ghi");
  }
}

TEST_F(CompletionProposalTest, TheWheelTurnedOverTheEditorMovesTheList) {
  std::vector<std::pair<std::string, std::string>> many;
  for (int i = 0; i < 10; ++i) many.push_back({"cmd" + std::to_string(i), "cmd"});
  Items(many);
  editor.SetText(std::string(60, '\n'));
  CtrlSpace();
  editor.MouseWheel(-120, 0);
  EXPECT_EQ(Selected(), "cmd3");
  EXPECT_EQ(editor.TopRow(), 1);
  Esc();
  editor.MouseWheel(-120, 0);
  EXPECT_GT(editor.TopRow(), 1) << "with the list closed the text scrolls";
}

TEST_F(CompletionProposalTest, BackspaceAndLeftShortenTheFilterOrClose) {
  Type("sen");
  CtrlSpace();
  Key(vk::Back, 0, '\b');
  EXPECT_EQ(scp.Form().CurrentString(), "se");
  EXPECT_EQ(Line(), "se");
  EXPECT_EQ(Offered().size(), 3u);
  Key(vk::Left);
  EXPECT_EQ(scp.Form().CurrentString(), "s");
  EXPECT_EQ(editor.CaretX(), 2);
  Key(vk::Back, 0, '\b');
  EXPECT_EQ(scp.Form().CurrentString(), "");
  EXPECT_EQ(Line(), "e");
  EXPECT_TRUE(popup.visible);
  Key(vk::Right);
  EXPECT_EQ(scp.Form().CurrentString(), "e");
  EXPECT_EQ(editor.CaretX(), 2);
  Key(vk::Right);
  EXPECT_FALSE(popup.visible) << "a blank under the caret ends the token";
  EXPECT_EQ(editor.CaretX(), 3);

  editor.SetText("ab ");
  editor.SetCaretPos({4, 1});
  CtrlSpace();
  ASSERT_TRUE(popup.visible);
  Key(vk::Back, 0, '\b');
  EXPECT_FALSE(popup.visible) << "Backspace on an empty filter";
  EXPECT_EQ(Line(), "ab");
}

TEST_F(CompletionProposalTest, DeleteRemovesTheCharacterAfterTheCaretOnly) {
  editor.SetText("sex");
  editor.SetCaretPos({3, 1});
  CtrlSpace();
  Key(vk::Delete);
  EXPECT_EQ(Line(), "se");
  EXPECT_EQ(scp.Form().CurrentString(), "se");
  EXPECT_TRUE(popup.visible);
}

TEST_F(CompletionProposalTest, ADotAndAPauseOpenTheList) {
  Type("x");
  Type(".");
  EXPECT_TRUE(popup.timer_running);
  EXPECT_EQ(popup.timer_interval, 1000);
  EXPECT_FALSE(popup.visible);
  scp.TimerExpired();
  EXPECT_FALSE(popup.timer_running);
  EXPECT_TRUE(popup.visible);
  EXPECT_EQ(Offered().size(), 4u);
  Type("b");
  EXPECT_EQ(Line(), "x.b") << "no character swallowed after the timer opened the list";
  EXPECT_EQ(Offered(), (Names{"beep"}));
}

TEST_F(CompletionProposalTest, AnythingElseWithinTheDelayStopsTheTimer) {
  struct Case {
    const char* name;
    std::function<void(CompletionProposalTest&)> then;
    bool still_running;
  } cases[] = {
      {"letter", [](CompletionProposalTest& t) { t.Type("a"); }, false},
      {"caret move", [](CompletionProposalTest& t) { t.Key(vk::Left); }, false},
      {"another dot", [](CompletionProposalTest& t) { t.Type("."); }, true},
  };
  for (const auto& c : cases) {
    editor.SetText("");
    Type(".");
    ASSERT_TRUE(popup.timer_running) << c.name;
    c.then(*this);
    EXPECT_EQ(popup.timer_running, c.still_running) << c.name;
    EXPECT_FALSE(popup.visible) << c.name;
    scp.TimerExpired();
    popup.visible = false;
  }
  popup.application_active = false;
  Type(".");
  scp.TimerExpired();
  EXPECT_FALSE(popup.visible) << "not while another program is active";
}

TEST_F(CompletionProposalTest, WithoutTheTimerOptionADotStartsNothing) {
  scp.SetOptions(scp.Options() - scoUseBuiltInTimer);
  Type(".");
  EXPECT_FALSE(popup.timer_running);
}

TEST_F(CompletionProposalTest, CompletingIsOneUndoStepAndLineBreaksAreKept) {
  Items({{"for\r\nnext", "for ... next"}, {"forward", "forward"}});
  editor.SetText("  fo");
  editor.SetCaretPos({5, 1});
  CtrlSpace();
  EXPECT_EQ(Offered().size(), 2u);
  Type("r");
  EXPECT_EQ(Offered().size(), 2u) << "the insert text with a line break still matches";
  Enter();
  EXPECT_EQ(editor.LineCount(), 2);
  EXPECT_EQ(Line(1), "  for");
  EXPECT_EQ(Line(2).substr(Line(2).size() - 4), "next");
  editor.Undo();
  EXPECT_EQ(editor.Text(), "  for");
}

TEST_F(CompletionProposalTest, ReadOnlyEditorsAndDetachedEditorsGetNoList) {
  editor.SetReadOnly(true);
  CtrlSpace();
  EXPECT_FALSE(popup.visible);
  editor.SetReadOnly(false);
  scp.SetEditor(nullptr);
  CtrlSpace();
  EXPECT_FALSE(popup.visible);
  EXPECT_EQ(Line(), " ") << "a detached editor types the blank itself";
}

TEST_F(CompletionProposalTest, AnEmptyListOpensNothingAndTheProgramWarns) {
  TScriptedPrompts prompts;
  int calls = 0;
  scp.OnExecute = [&](TCompletionType kind, TBaseCompletionProposal& sender, std::string& input,
                      int&, int&, bool&) {
    ++calls;
    EXPECT_EQ(kind, ctCode);
    EXPECT_EQ(input, "se");
    CompletionExecuteCheck(sender, prompts);
  };
  Type("se");
  CtrlSpace();
  EXPECT_TRUE(popup.visible);
  EXPECT_TRUE(prompts.Messages().empty());
  Esc();
  Items({});
  CtrlSpace();
  EXPECT_FALSE(popup.visible);
  EXPECT_EQ(calls, 2);
  ASSERT_EQ(prompts.Log().size(), 1u);
  EXPECT_EQ(prompts.Log()[0].text,
            "Completion.pro file not found. Completion Proposal is disabled.");
  EXPECT_EQ(prompts.Log()[0].caption, "Warning");
  EXPECT_EQ(Line(), "se");
}

TEST_F(CompletionProposalTest, OnExecuteMayRefuse) {
  scp.OnExecute = [](TCompletionType, TBaseCompletionProposal&, std::string&, int&, int&,
                     bool& can) { can = false; };
  CtrlSpace();
  EXPECT_FALSE(popup.visible);
}

TEST_F(CompletionProposalTest, ThePopupGoesBelowTheCaretAndStaysOnTheDesktop) {
  editor.SetText("    se");
  editor.SetCaretPos({7, 1});
  const TPoint caret = editor.RowColumnToPixels(editor.CaretDisplayPos());
  CtrlSpace();
  const int height = 4 * 13 + 2 * 3;
  EXPECT_EQ(popup.bounds, (TRect{caret.x + 100, caret.y + editor.RowHeight() + 50,
                                 caret.x + 100 + 600, caret.y + editor.RowHeight() + 50 + height}));
  Esc();

  popup.screen.right = 500;
  popup.screen.bottom = caret.y + 50 + editor.RowHeight() + height - 1;
  CtrlSpace();
  EXPECT_EQ(popup.bounds.left, 0) << "never left of the desktop";
  EXPECT_EQ(popup.bounds.top, std::max(0, caret.y + 50 - height - 2));
  Esc();

  popup.screen.right = 700;
  CtrlSpace();
  EXPECT_EQ(popup.bounds.left, 700 - 600 - 5);
  Esc();

  // On a second monitor right of the first the list stays on that monitor.
  popup.screen = {1024, 0, 1024 + 700, 768};
  popup.screen_origin = {1024 + 100, 50};
  CtrlSpace();
  EXPECT_EQ(popup.bounds.left, 1024 + 700 - 600 - 5);
  Esc();
  popup.screen.right = 1024 + 500;
  CtrlSpace();
  EXPECT_EQ(popup.bounds.left, 1024) << "never left of its monitor";
}

TEST_F(CompletionProposalTest, ASizeGivenByTheUserStaysForTheNextOpening) {
  CtrlSpace();
  const int ih = scp.Form().ItemHeight();
  EXPECT_EQ(scp.Form().SnapHeight(7 * ih + 2 * 3 + 5), 7 * ih + 2 * 3);
  EXPECT_EQ(scp.Form().SnapHeight(3), ih + 2 * 3) << "at least one row";
  popup.bounds.right = popup.bounds.left + 450;
  scp.Form().Resized(7 * ih);
  EXPECT_EQ(scp.Form().LinesInWindow(), 7);
  Esc();
  EXPECT_EQ(scp.NbLinesInWindow(), 7);
  EXPECT_EQ(scp.Width(), 450);
  CtrlSpace();
  EXPECT_EQ(popup.bounds.Height(), 7 * ih + 2 * 3);
  EXPECT_EQ(popup.bounds.Width(), 450);
}

TEST_F(CompletionProposalTest, MouseSelectsInsertsAndScrolls) {
  std::vector<std::pair<std::string, std::string>> many;
  for (int i = 0; i < 10; ++i) many.push_back({"cmd" + std::to_string(i), "cmd"});
  Items(many);
  CtrlSpace();
  const int ih = scp.Form().ItemHeight();
  scp.Form().MouseDown(5, 2 * ih + 1);
  EXPECT_EQ(Selected(), "cmd2");
  scp.Form().MouseWheel(-120, 0);
  EXPECT_EQ(Selected(), "cmd5") << "wheel towards the user moves down by the line count";
  scp.Form().MouseWheel(-60, 0);
  EXPECT_EQ(Selected(), "cmd5") << "half a notch waits";
  scp.Form().MouseWheel(-60, 0);
  EXPECT_EQ(Selected(), "cmd8");
  scp.Form().MouseWheel(120, ssCtrl);
  EXPECT_EQ(Selected(), "cmd4") << "Ctrl moves by the rows of the window";
  popup.wheel_lines = 100;
  scp.Form().MouseWheel(120, 0);
  EXPECT_EQ(Selected(), "cmd0") << "never more than a window per notch";
  scp.Form().Scrolled(6);
  EXPECT_EQ(scp.Form().TopIndex(), 6);
  EXPECT_EQ(Selected(), "cmd6") << "the selection stays visible";
  scp.Form().DoubleClick();
  EXPECT_EQ(Line(), "cmd6");
  EXPECT_FALSE(popup.visible);
}

TEST_F(CompletionProposalTest, AClickInTheEditorClosesTheList) {
  Type("se");
  CtrlSpace();
  editor.MouseDown(TMouseButton::Left, ssLeft, 200, 5);
  editor.MouseUp(TMouseButton::Left, 0, 200, 5);
  EXPECT_FALSE(popup.visible);
  EXPECT_EQ(Line(), "se");
}

TEST_F(CompletionProposalTest, OnChangeReportsTheItemIndex) {
  std::vector<int> changes;
  scp.OnChange = [&](TBaseCompletionProposal&, int index) { changes.push_back(index); };
  Type("se");
  CtrlSpace();
  changes.clear();
  Key(vk::Down);
  Key(vk::Down);
  Type("t");
  EXPECT_EQ(changes, (std::vector<int>{1, 2, 2}));
}

class RowsCanvas : public IPrettyCanvas {
 public:
  struct Run {
    int x, y;
    std::string text;
    TColor color;
    TFontStyles style;
  };
  TFont font;
  std::vector<Run> runs;
  TFont Font() const override { return font; }
  void SetFont(const TFont& f) override { font = f; }
  int TextWidth(std::string_view t) override { return static_cast<int>(t.size()) * 6; }
  void PaintText(int x, int y, std::string_view t) override {
    runs.push_back({x, y, std::string(t), font.Color, font.Style});
  }
};

TEST_F(CompletionProposalTest, PaintingDrawsTheVisibleRowsWithTheSelectionHighlighted) {
  Items({{"a", "\\color{clRed}red\\color{clBlue} blue"},
         {"b", "\\style{+B}b"},
         {"c", "c"},
         {"d", "d"},
         {"e", "e"}});
  CtrlSpace();
  Key(vk::Down);
  TRecordingCanvas canvas;
  RowsCanvas text;
  const int ih = scp.Form().ItemHeight();
  scp.Form().Paint(canvas, text, {0, 0, 580, 4 * ih});
  EXPECT_EQ(canvas.BackgroundAt(300, 0 * ih + 2), clWindow);
  EXPECT_EQ(canvas.BackgroundAt(300, 1 * ih + 2), clHighlight);
  ASSERT_EQ(text.runs.size(), 5u) << "4 rows, the first in two colours";
  EXPECT_EQ(text.runs[0].color, 0x0000FFu);
  EXPECT_EQ(text.runs[1].color, 0xFF0000u);
  EXPECT_EQ(text.runs[0].x, 1) << "the margin";
  EXPECT_EQ(text.runs[2].text, "b");
  EXPECT_EQ(text.runs[2].color, clHighlightText);
  EXPECT_EQ(text.runs[2].style, fsBold);
  EXPECT_EQ(text.runs[2].y, ih);
  EXPECT_EQ(text.runs[4].text, "d");
  EXPECT_EQ(text.font.Style, 0);
}

TEST_F(CompletionProposalTest, OnAScaledScreenTheListIsWiderAndKeepsItsWidthAt96Dpi) {
  popup.dpi = 144;
  CtrlSpace();
  EXPECT_EQ(popup.bounds.Width(), 900);
  TRecordingCanvas canvas;
  RowsCanvas text;
  scp.Form().Paint(canvas, text, {0, 0, 880, 4 * scp.Form().ItemHeight()});
  ASSERT_FALSE(text.runs.empty());
  EXPECT_EQ(text.runs[0].x, 2) << "the 1-pixel margin, scaled";
  // The user makes it 750 pixels wide; the next opening on a 96-dpi screen
  // gives it the same width in inches.
  popup.bounds.right = popup.bounds.left + 750;
  Esc();
  EXPECT_EQ(scp.Width(), 500);
  popup.dpi = 96;
  CtrlSpace();
  EXPECT_EQ(popup.bounds.Width(), 500);
}

}  // namespace

TEST_F(CompletionProposalTest, ACharacterTheProgramNamesStartsTheDelayToo) {
  // The blank after a goto opens the labels, any other blank nothing.
  scp.TriggerWhen = [](TCustomEditor& e, char typed) {
    return typed == ' ' && CompletesLabel(e.LineText(e.CaretLine()) + typed, e.CaretChar() + 1);
  };
  Type("x ");
  EXPECT_FALSE(popup.timer_running);
  editor.SetText("");
  Type("goto ");
  EXPECT_TRUE(popup.timer_running) << "the blank went through the editor's command hook too";
  scp.TimerExpired();
  EXPECT_TRUE(popup.visible);
}
