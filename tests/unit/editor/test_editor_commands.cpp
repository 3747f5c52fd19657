#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "EditorFixture.h"
#include "editor/EditorVirtualKeys.h"

namespace {

// ---- names and the default table

TEST(EditorCommandNames, TableHasItsFixedOrderAndFirstMatchWins) {
  const auto& names = EditorCommandNames();
  ASSERT_EQ(names.size(), 101u);
  EXPECT_EQ(names[0].Command, ecNone);
  EXPECT_EQ(names[17].Command, ecGotoXY);
  EXPECT_EQ(names[18].Command, ecSelLeft);
  EXPECT_EQ(names[35].Command, ecSelWord);
  EXPECT_EQ(names[52].Command, ecCopy);  // after 601..603, before 604
  EXPECT_EQ(names[53].Command, ecPaste);
  EXPECT_STREQ(names.back().Name, "ecString");
  std::set<std::string> unique;
  for (const auto& n : names) unique.insert(n.Name);
  EXPECT_EQ(unique.size(), names.size());
}

TEST(EditorCommandNames, ConvertBothWays) {
  struct Case {
    TEditorCommand command;
    const char* text;
  };
  const Case cases[] = {{ecSelWordRight, "ecSelWordRight"},
                        {ecSetMarker0 + 7, "ecSetMarker7"},
                        {ecUserFirst, "ecUserFirst"},
                        {ecContextHelp, "ecContextHelp"},
                        {624, "624"},
                        {1002, "1002"}};
  for (const Case& c : cases) EXPECT_EQ(EditorCommandToCodeString(c.command), c.text);
  EXPECT_EQ(IdentToEditorCommand("ECLINEBREAK"), ecLineBreak);
  EXPECT_EQ(IdentToEditorCommand("ecGotoMarker0"), ecGotoMarker0);
  EXPECT_FALSE(IdentToEditorCommand("ecLineBreaks").has_value());
  EXPECT_FALSE(EditorCommandToIdent(9999).has_value());
}

TEST(EditorKeyStrokes, DefaultTableHas82DistinctOneKeyBindings) {
  TEditorKeyStrokes keys;
  keys.SetDefaultKeystrokes();
  ASSERT_EQ(keys.Count(), 82);
  std::set<std::pair<int, int>> seen;
  for (int i = 0; i < keys.Count(); ++i) {
    EXPECT_EQ(keys.Item(i).Key2(), 0);
    EXPECT_TRUE(seen.insert({keys.Item(i).Key(), keys.Item(i).Shift()}).second) << i;
  }
  struct Case {
    std::uint16_t key;
    TShiftState shift;
    TEditorCommand command;
  };
  const TShiftState c = ssCtrl, s = ssShift, cs = ssCtrl | ssShift;
  const Case cases[] = {
      {vk::Up, 0, ecUp},
      {vk::Up, c, ecScrollUp},
      {vk::Left, cs, ecSelWordLeft},
      {vk::Next, c, ecPageBottom},
      {vk::Home, cs, ecSelEditorTop},
      {vk::End, s, ecSelLineEnd},
      {vk::Insert, 0, ecToggleMode},
      {vk::Insert, c, ecCopy},
      {vk::Delete, s, ecCut},
      {vk::Back, ssAlt, ecUndo},
      {vk::Back, ssAlt | ssShift, ecRedo},
      {vk::Return, s, ecLineBreak},
      {vk::Tab, s, ecShiftTab},
      {vk::F1, 0, ecContextHelp},
      {'M', c, ecLineBreak},
      {'N', c, ecInsertLine},
      {'N', cs, ecNormalSelect},
      {'Y', cs, ecDeleteEOL},
      {'0', c, ecGotoMarker0},
      {'9', c, ecGotoMarker9},
      {'3', cs, ecSetMarker0 + 3},
      {'B', cs, ecMatchBracket},
      {'L', cs, ecLineSelect},
      {'I', cs, ecBlockIndent},
  };
  for (const Case& k : cases) {
    const int i = keys.FindKeycode(k.key, k.shift);
    ASSERT_GE(i, 0) << k.key << "/" << k.shift;
    EXPECT_EQ(keys.Item(i).Command(), k.command) << k.key << "/" << k.shift;
  }
  EXPECT_EQ(keys.FindKeycode(vk::Up, cs), -1);
  // The digits are added 0..9 in order.
  EXPECT_EQ(keys.FindKeycode('1', c), keys.FindKeycode('0', c) + 1);
}

TEST(EditorKeyStrokes, DuplicateShortcutIsRefusedAndTheItemKeepsItsOwn) {
  TEditorKeyStrokes keys;
  keys.SetDefaultKeystrokes();
  TEditorKeyStroke& item = keys.Item(keys.FindKeycode('A', ssCtrl));
  const TShortCut before = item.ShortCut();
  try {
    item.SetShortCut(0x404E);  // Ctrl+N, taken
    FAIL() << "no error";
  } catch (const EKeyError& e) {
    EXPECT_EQ(e.Message(), "Shortcut already exists");
  }
  EXPECT_EQ(item.ShortCut(), before);
  item.SetShortCut(before);  // its own shortcut is no duplicate
  EXPECT_NO_THROW(item.SetShortCut(0));
  EXPECT_THROW(keys.AddKeystroke(ecCopy, 'C', ssCtrl), EKeyError);
  EXPECT_EQ(keys.Count(), 82);  // the half-built item is gone again
  // With a second key the pair differs: allowed.
  TEditorKeyStroke& two = keys.Add();
  two.SetShortCut2(0x4042);
  EXPECT_NO_THROW(two.SetShortCut(0x404E));
  EXPECT_EQ(keys.FindShortcut2(0x404E, 0x4042), keys.Count() - 1);
}

TEST(EditorKeyStrokes, AssignCopiesEveryItem) {
  TEditorKeyStrokes a, b;
  a.SetDefaultKeystrokes();
  a.Item(0).SetKey2('Q');
  b.Assign(a);
  ASSERT_EQ(b.Count(), a.Count());
  for (int i = 0; i < a.Count(); ++i) {
    EXPECT_EQ(b.Item(i).ShortCut(), a.Item(i).ShortCut());
    EXPECT_EQ(b.Item(i).ShortCut2(), a.Item(i).ShortCut2());
    EXPECT_EQ(b.Item(i).Command(), a.Item(i).Command());
  }
}

// ---- the pipeline

class RecordingEditor : public TEditorMemo {
 public:
  std::vector<std::string>* log = nullptr;
  void ExecuteBuiltInCommand(TEditorCommand c, char ch, void* d) override {
    if (log) log->push_back("execute " + EditorCommandToCodeString(c));
    TEditorMemo::ExecuteBuiltInCommand(c, ch, d);
  }
  std::vector<TEditorCommand> edits;

 protected:
  void ExecuteEditingCommand(TEditorCommand c, char, void*) override { edits.push_back(c); }
};

class PipelineTest : public ::testing::Test {
 protected:
  TFakeEditorHost host;
  RecordingEditor editor;
  std::vector<std::string> log;

  void SetUp() override {
    editor.SetHost(&host);
    editor.log = &log;
    editor.SetText("hello world\r\nline two\r\nline three");
  }
  void TearDown() override { editor.SetHost(nullptr); }

  static void Hook(void* object, TCustomEditor&, bool after, bool& handled, TEditorCommand& command,
                   char&, void*, void* data) {
    auto* self = static_cast<PipelineTest*>(object);
    self->log.push_back(std::string(after ? "after " : "before ") + static_cast<const char*>(data) +
                        " " + EditorCommandToCodeString(command));
    if (self->cancel_in_hook && !after) handled = true;
  }
  bool cancel_in_hook = false;
  THookedCommandHandler hook{&PipelineTest::Hook, this};

  void Press(std::uint16_t key, TShiftState shift = 0) { editor.KeyDown(key, shift); }
  void Type(char c) { editor.KeyPress(c); }
};

TEST_F(PipelineTest, CommandPassesEveryStageInOrder) {
  editor.OnProcessCommand = [&](TCustomEditor&, TEditorCommand& c, char&, void*) {
    log.push_back("process " + EditorCommandToCodeString(c));
  };
  editor.OnCommandProcessed = [&](TCustomEditor&, TEditorCommand& c, char&, void*) {
    log.push_back("processed " + EditorCommandToCodeString(c));
  };
  editor.RegisterCommandHandler(hook, const_cast<char*>("h"));
  editor.ProcessCommand(ecRight);
  const std::vector<std::string> expected = {"process ecRight", "before h ecRight",
                                             "execute ecRight", "after h ecRight",
                                             "processed ecRight"};
  EXPECT_EQ(log, expected);
}

TEST_F(PipelineTest, CancelledCommandStillReachesCommandProcessedAsNone) {
  struct Case {
    bool cancel_in_event, cancel_in_hook;
  };
  for (Case c : {Case{true, false}, Case{false, true}}) {
    log.clear();
    cancel_in_hook = c.cancel_in_hook;
    editor.OnProcessCommand = [&](TCustomEditor&, TEditorCommand& cmd, char&, void*) {
      if (c.cancel_in_event) cmd = ecNone;
    };
    TEditorCommand final_command = 999;
    editor.OnCommandProcessed = [&](TCustomEditor&, TEditorCommand& cmd, char&, void*) {
      final_command = cmd;
    };
    editor.RegisterCommandHandler(hook, const_cast<char*>("h"));
    const TBufferCoord before = editor.CaretPos();
    editor.ProcessCommand(ecRight);
    EXPECT_EQ(final_command, ecNone);
    EXPECT_EQ(editor.CaretPos(), before);
    for (const auto& line : log) EXPECT_EQ(line.find("execute"), std::string::npos);
    editor.UnregisterCommandHandler(hook);
  }
}

TEST_F(PipelineTest, UserCommandsNeverRunBuiltIn) {
  bool general = false;
  TEditorCommand user_seen = 0, processed = 0;
  editor.OnProcessCommand = [&](TCustomEditor&, TEditorCommand&, char&, void*) { general = true; };
  editor.OnProcessUserCommand = [&](TCustomEditor&, TEditorCommand& c, char&, void*) {
    user_seen = c;
  };
  editor.OnCommandProcessed = [&](TCustomEditor&, TEditorCommand& c, char&, void*) {
    processed = c;
  };
  editor.RegisterCommandHandler(hook, const_cast<char*>("h"));
  editor.ProcessCommand(1005);
  EXPECT_FALSE(general);
  EXPECT_EQ(user_seen, 1005);
  EXPECT_EQ(processed, 1005);
  const std::vector<std::string> expected = {"before h 1005", "after h 1005"};
  EXPECT_EQ(log, expected);
}

TEST_F(PipelineTest, HookedHandlersRegisterOnceInOrderAndUnregisterTheLast) {
  editor.RegisterCommandHandler(hook, const_cast<char*>("one"));
  editor.RegisterCommandHandler(hook, const_cast<char*>("again"));  // same callback: ignored
  THookedCommandHandler other{&PipelineTest::Hook, &log};           // another object
  auto other_code = [](void*, TCustomEditor&, bool after, bool&, TEditorCommand&, char&, void*,
                       void* data) {
    static_cast<std::vector<std::string>*>(data)->push_back(after ? "after two" : "before two");
  };
  THookedCommandHandler two{other_code, nullptr};
  editor.RegisterCommandHandler(two, &log);
  editor.RegisterCommandHandler(THookedCommandHandler{nullptr, this}, nullptr);  // no code
  (void)other;
  editor.ProcessCommand(ecUp);
  const std::vector<std::string> expected = {"before one ecUp", "before two", "execute ecUp",
                                             "after one ecUp", "after two"};
  EXPECT_EQ(log, expected);
  log.clear();
  editor.UnregisterCommandHandler(hook);
  editor.ProcessCommand(ecUp);
  const std::vector<std::string> rest = {"before two", "execute ecUp", "after two"};
  EXPECT_EQ(log, rest);
}

TEST_F(PipelineTest, KeyDownRunsOwnerThenChainsNewestFirstThenCommand) {
  editor.OnKeyDown = [&](TCustomEditor&, std::uint16_t& key, TShiftState) {
    log.push_back("owner " + std::to_string(key));
  };
  auto first = [](void* o, TCustomEditor&, std::uint16_t&, TShiftState) {
    static_cast<std::vector<std::string>*>(o)->push_back("first");
  };
  auto second = [](void* o, TCustomEditor&, std::uint16_t& key, TShiftState) {
    static_cast<std::vector<std::string>*>(o)->push_back("second");
    if (key == vk::Down) key = 0;  // takes Down
  };
  editor.AddKeyDownHandler({first, &log});
  editor.AddKeyDownHandler({second, &log});
  Press(vk::Right);
  std::vector<std::string> expected = {"owner 39", "second", "first", "execute ecRight"};
  EXPECT_EQ(log, expected);
  log.clear();
  Press(vk::Down);
  expected = {"owner 40", "second"};
  EXPECT_EQ(log, expected);
  EXPECT_EQ(editor.CaretLine(), 1);
  editor.RemoveKeyDownHandler({second, &log});
  log.clear();
  Press(vk::Down);
  expected = {"owner 40", "first", "execute ecDown"};
  EXPECT_EQ(log, expected);
}

TEST_F(PipelineTest, AChainThatCausesItsOwnEventIsNotReentered) {
  static int depth = 0;
  auto again = [](void* o, TCustomEditor& sender, std::uint16_t&, TShiftState) {
    ++depth;
    std::uint16_t k = vk::Left;
    static_cast<TCustomEditor*>(o)->KeyDown(k, 0);  // a nested key press
    (void)sender;
  };
  editor.AddKeyDownHandler({again, &editor});
  depth = 0;
  Press(vk::Right);
  EXPECT_EQ(depth, 1);
  // The nested Left ran as a command, then the outer Right.
  EXPECT_EQ(log, (std::vector<std::string>{"execute ecLeft", "execute ecRight"}));
  EXPECT_EQ(editor.CaretPos(), (TBufferCoord{2, 1}));
}

TEST_F(PipelineTest, CharacterOfAKeyThatMadeACommandIsDropped) {
  std::string typed;
  editor.OnProcessCommand = [&](TCustomEditor&, TEditorCommand& c, char& ch, void*) {
    if (c == ecChar) typed += ch;
  };
  Press('M', ssCtrl);
  Type(13);
  Type('a');
  Press(vk::Shift, ssShift);  // no command: the next character counts
  Type('B');
  EXPECT_EQ(typed, "aB");
  EXPECT_EQ(editor.edits, (std::vector<TEditorCommand>{ecLineBreak, ecChar, ecChar}));
}

TEST_F(PipelineTest, KeyPressRunsOwnerThenChainThenTyping) {
  editor.OnKeyPress = [&](TCustomEditor&, char& c) {
    log.push_back(std::string("owner ") + c);
    if (c == 'x') c = 'y';
  };
  auto chain = [](void* o, TCustomEditor&, char& c) {
    static_cast<std::vector<std::string>*>(o)->push_back(std::string("chain ") + c);
    if (c == 'q') c = 0;
  };
  editor.AddKeyPressHandler({chain, &log});
  Type('x');
  Type('q');
  const std::vector<std::string> expected = {"owner x", "chain y", "execute ecChar", "owner q",
                                             "chain q"};
  EXPECT_EQ(log, expected);
}

TEST_F(PipelineTest, TwoKeyBindingsRememberTheFirstKey) {
  TEditorKeyStroke& k = editor.Keystrokes().Add();
  k.SetShortCut(ShortCut('K', ssCtrl));
  k.SetShortCut2(ShortCut('B', ssCtrl));
  k.SetCommand(ecEditorBottom);
  Press('K', ssCtrl);  // nothing yet
  EXPECT_EQ(editor.CaretLine(), 1);
  Press(vk::Control, ssCtrl);  // key code below 30: forgets the first key
  Press('B', ssCtrl);
  EXPECT_EQ(editor.CaretLine(), 1);
  Press('K', ssCtrl);
  Press('B', ssCtrl);
  EXPECT_EQ(editor.CaretLine(), 3);
  // A completed binding is forgotten: B alone does nothing again.
  editor.SetCaretPos({1, 1});
  Press('B', ssCtrl);
  EXPECT_EQ(editor.CaretLine(), 1);
}

TEST_F(PipelineTest, ReadOnlyStopsEditingButNotMoving) {
  editor.SetReadOnly(true);
  Press(vk::Back);
  Press(vk::Delete);
  Type('a');
  Press(vk::Right);
  Press('C', ssCtrl);  // copying is allowed
  EXPECT_EQ(editor.edits, (std::vector<TEditorCommand>{ecCopy}));
  EXPECT_EQ(editor.CaretPos(), (TBufferCoord{2, 1}));
  editor.SetReadOnly(false);
  Press(vk::Back);
  Press(vk::Delete, ssShift);  // cut without a selection does nothing
  EXPECT_EQ(editor.edits, (std::vector<TEditorCommand>{ecCopy, ecDeleteLastChar}));
}

TEST_F(PipelineTest, ModeCommandsSetInsertModeAndSelectionMode) {
  Press(vk::Insert);
  EXPECT_FALSE(editor.InsertMode());
  Press(vk::Insert);
  EXPECT_TRUE(editor.InsertMode());
  editor.ProcessCommand(ecOverwriteMode);
  EXPECT_FALSE(editor.InsertMode());
  editor.ProcessCommand(ecInsertMode);
  EXPECT_TRUE(editor.InsertMode());
  Press('C', ssCtrl | ssShift);
  EXPECT_EQ(editor.SelectionMode(), smColumn);
  Press('L', ssCtrl | ssShift);
  EXPECT_EQ(editor.SelectionMode(), smLine);
  Press('N', ssCtrl | ssShift);
  EXPECT_EQ(editor.SelectionMode(), smNormal);
  EXPECT_EQ(editor.ActiveSelectionMode(), smNormal);
}

TEST_F(PipelineTest, ContextHelpGetsTheWordAtTheCaret) {
  std::string word = "-";
  editor.SetCaretPos({8, 1});
  Press(vk::F1);
  EXPECT_EQ(word, "-");  // no handler: nothing
  editor.OnContextHelp = [&](TCustomEditor&, const std::string& w) { word = w; };
  Press(vk::F1);
  EXPECT_EQ(word, "world");
}

// ---- bookmarks

TEST_F(PipelineTest, BookmarkKeyTogglesAndMoves) {
  std::vector<std::string> events;
  editor.OnPlaceBookmark = [&](TCustomEditor&, TEditorMark*& m) {
    events.push_back("place " + std::to_string(m->Line));
  };
  editor.OnClearBookmark = [&](TCustomEditor&, TEditorMark*& m) {
    events.push_back("clear " + std::to_string(m->Line));
  };
  const TShiftState cs = ssCtrl | ssShift;
  editor.SetCaretPos({3, 2});
  Press('3', cs);
  ASSERT_TRUE(editor.IsBookmark(3));
  EXPECT_EQ(editor.BookMark(3)->ImageIndex, 3);
  Press('3', cs);  // same line: removed
  EXPECT_FALSE(editor.IsBookmark(3));
  Press('3', cs);
  editor.SetCaretPos({1, 3});
  Press('3', cs);  // another line: moved
  int x = 0, y = 0;
  ASSERT_TRUE(editor.GetBookMark(3, x, y));
  EXPECT_EQ(y, 3);
  const std::vector<std::string> expected = {"place 2", "clear 2", "place 2", "clear 2", "place 3"};
  EXPECT_EQ(events, expected);
  EXPECT_EQ(editor.Marks().size(), 1u);
}

TEST_F(PipelineTest, GotoBookmarkMovesTheCaretAndCollapsesTheSelection) {
  editor.SetBookMark(5, 4, 2);
  editor.SetSelectionAnchor({1, 1});
  editor.SetSelectionEnd({3, 3});
  Press('5', ssCtrl);
  EXPECT_EQ(editor.CaretPos(), (TBufferCoord{4, 2}));
  EXPECT_FALSE(editor.HasSelection());
  Press('6', ssCtrl);  // not set: nothing
  EXPECT_EQ(editor.CaretPos(), (TBufferCoord{4, 2}));
  editor.BookMarkOptions().SetEnableKeys(false);
  editor.SetCaretPos({1, 1});
  Press('5', ssCtrl);
  Press('1', ssCtrl | ssShift);
  EXPECT_EQ(editor.CaretPos(), (TBufferCoord{1, 1}));
  EXPECT_FALSE(editor.IsBookmark(1));
}

TEST_F(PipelineTest, RefusedBookmarkIsNotPlaced) {
  editor.OnPlaceBookmark = [](TCustomEditor&, TEditorMark*& m) { m = nullptr; };
  Press('2', ssCtrl | ssShift);
  EXPECT_FALSE(editor.IsBookmark(2));
  EXPECT_TRUE(editor.Marks().empty());
}

TEST_F(PipelineTest, BookmarkLinesMustExist) {
  editor.SetBookMark(1, 1, 0);
  editor.SetBookMark(2, 1, 4);
  editor.SetBookMark(3, 1, 3);
  EXPECT_FALSE(editor.IsBookmark(1));
  EXPECT_FALSE(editor.IsBookmark(2));
  EXPECT_TRUE(editor.IsBookmark(3));
  editor.ClearAll();
  EXPECT_FALSE(editor.IsBookmark(3));
  EXPECT_EQ(editor.LineCount(), 0);
  editor.SetBookMark(4, 1, 1);  // an empty text still has line 1
  EXPECT_TRUE(editor.IsBookmark(4));
}

}  // namespace
