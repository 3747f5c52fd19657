#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "test_undo_document.h"

namespace {

void TypeEach(TMiniEditor& ed, std::string_view text) {
  for (char ch : text) ed.Type(std::string(1, ch));
}

// Text, caret and selection: what the user sees.
struct TView {
  std::string text;
  TBufferCoord caret, anchor, end;
  friend bool operator==(const TView&, const TView&) = default;
};

TView ViewOf(const TMiniEditor& ed) {
  return {ed.Text(), ed.doc.caret, ed.doc.anchor, ed.doc.sel_end};
}

std::ostream& operator<<(std::ostream& os, const TView& v) {
  return os << '"' << v.text << "\" caret " << v.caret.Char << ',' << v.caret.Line << " sel "
            << v.anchor.Char << ',' << v.anchor.Line << '-' << v.end.Char << ',' << v.end.Line;
}

}  // namespace

TEST(UndoHistory, TypedCharactersUndoAsOneRunOnlyWithGroupUndo) {
  struct Case {
    bool group_undo;
    std::vector<std::string> after_each_undo;
  };
  for (const Case& c : {Case{true, {""}}, Case{false, {"ab", "a", ""}}}) {
    TMiniEditor ed;
    ed.history.SetGroupUndo(c.group_undo);
    TypeEach(ed, "abc");
    std::vector<std::string> seen;
    while (ed.history.UndoAvailable()) {
      ed.Undo();
      seen.push_back(ed.Text());
    }
    EXPECT_EQ(seen, c.after_each_undo) << "group undo " << c.group_undo;
  }
}

TEST(UndoHistory, ACaretMoveEndsTheRunOfTypedCharacters) {
  TMiniEditor ed;
  TypeEach(ed, "ab");
  ed.MoveCaret({2, 1});  // Left
  ed.Type("c");
  ASSERT_EQ(ed.Text(), "acb");
  ed.Undo();
  EXPECT_EQ(ed.Text(), "ab");
  EXPECT_EQ(ed.doc.caret, (TBufferCoord{2, 1}));
  ed.Undo();
  EXPECT_EQ(ed.Text(), "");
}

TEST(UndoHistory, GroupedUndoFinishesTheActionItRunsInto) {
  TMiniEditor ed({"hello world"});
  ed.Select({7, 1}, {12, 1});
  TypeEach(ed, "there");  // the first character replaced the selection
  ed.Undo();
  EXPECT_EQ(ViewOf(ed), (TView{"hello world", {12, 1}, {7, 1}, {12, 1}}));
  EXPECT_FALSE(ed.history.UndoAvailable());
}

TEST(UndoHistory, IndentsAndPastesNeverRunTogether) {
  TMiniEditor ed({"a", "b"});
  ed.Select({1, 1}, {2, 2});
  ed.BlockIndent(1, 2);
  ed.BlockIndent(1, 2);
  ed.Undo();
  EXPECT_EQ(ed.Text(), "\ta\r\n\tb");
  EXPECT_EQ(ed.doc.sel_end, (TBufferCoord{3, 2}));

  TMiniEditor pastes;
  pastes.Paste("x");
  pastes.Paste("y");
  pastes.Undo();
  EXPECT_EQ(pastes.Text(), "x");
}

TEST(UndoHistory, EveryBeginEndPairUndoesAndRedoesAsOneStep) {
  for (TChangeReason open : {ckSpareOpen1, ckPasteOpen, ckSpareOpen2, ckSpareOpen3}) {
    TMiniEditor ed({"ab"});
    ed.history.SetGroupUndo(false);
    TEditorUndoList& undos = ed.Undos();
    ed.doc.SetCaretPos({3, 1});
    ed.Type("x");
    // Records of separate groups between the two markers still form one step.
    undos.AddRecord(open, {1, 1}, smNormal, "", {1, 1});
    ed.Type("y");
    ed.Backspace();
    ed.Type("z");
    undos.AddRecord(MatchingPairReason(open), {1, 1}, smNormal, "", {1, 1});
    ed.Undo();
    EXPECT_EQ(ed.Text(), "abx") << int(open);
    EXPECT_EQ(undos.LastKind(), ckInsert) << int(open);
    ed.Redo();
    EXPECT_EQ(ed.Text(), "abxz") << int(open);
    EXPECT_EQ(undos.LastKind(), MatchingPairReason(open)) << int(open);
  }
}

TEST(UndoHistory, APasteOfThreeLinesUndoesAndRedoesInOneStep) {
  for (bool group_undo : {true, false}) {
    TMiniEditor ed({"start end"});
    ed.history.SetGroupUndo(group_undo);
    ed.Select({7, 1}, {6, 1});
    ed.Paste("one\r\ntwo\r\nthree");
    const std::string pasted = ed.Text();
    ASSERT_EQ(pasted, "startone\r\ntwo\r\nthreeend");
    ed.Undo();
    EXPECT_EQ(ed.Text(), "start end") << group_undo;
    EXPECT_FALSE(ed.history.UndoAvailable());
    ed.Redo();
    EXPECT_EQ(ed.Text(), pasted) << group_undo;
    EXPECT_FALSE(ed.history.RedoAvailable());
  }
}

TEST(UndoHistory, ModifiedFollowsTheSavedState) {
  for (bool group_undo : {true, false}) {
    TMiniEditor ed;
    ed.history.SetGroupUndo(group_undo);
    std::vector<bool> changes;
    ed.history.OnModifiedChange = [&] { changes.push_back(ed.history.Modified()); };
    ed.Type("a");
    ed.history.SetModified(false);  // saved
    ed.Type("b");
    ed.Undo();
    EXPECT_FALSE(ed.history.Modified()) << group_undo;
    ed.Redo();
    EXPECT_TRUE(ed.history.Modified()) << group_undo;
    ed.Undo();
    ed.Undo();
    EXPECT_TRUE(ed.history.Modified()) << "before the saved text " << group_undo;
    ed.Redo();
    EXPECT_EQ(ed.Text(), "a");
    EXPECT_FALSE(ed.history.Modified()) << "back at the saved text " << group_undo;
    EXPECT_EQ(changes, (std::vector<bool>{true, false, true, false, true, false, true, false}));
  }
}

TEST(UndoHistory, SettingModifiedTrueMakesNoStateSaved) {
  TMiniEditor ed;
  ed.Type("a");
  ed.history.SetModified(false);
  ed.history.SetModified(true);
  ed.Type("b");
  ed.Undo();
  EXPECT_TRUE(ed.history.Modified());
}

TEST(UndoHistory, ANewEditEmptiesTheRedoListButACaretMoveDoesNot) {
  TMiniEditor ed;
  ed.Type("a");
  ed.MoveCaret({1, 1});
  ed.Type("b");
  ed.Undo();
  ASSERT_TRUE(ed.history.RedoAvailable());
  ed.MoveCaret({2, 1});
  EXPECT_TRUE(ed.history.RedoAvailable());
  ed.Type("c");
  EXPECT_FALSE(ed.history.RedoAvailable());
  EXPECT_EQ(ed.Text(), "ac");
}

TEST(UndoHistory, MaxUndoTwoLeavesOnlyTheLastTwoEditsUndoable) {
  TMiniEditor ed;
  ed.history.SetMaxUndo(2);
  ed.history.SetGroupUndo(false);
  ed.Type("a");
  ed.Type("b");
  ed.Type("c");
  ed.Undo();
  ed.Undo();
  EXPECT_EQ(ed.Text(), "a");
  EXPECT_FALSE(ed.history.UndoAvailable());
  EXPECT_TRUE(ed.history.Modified()) << "the text before the history is not the saved text";
}

TEST(UndoHistory, AReplaceAllLargerThanMaxUndoIsUndoneWhole) {
  TMiniEditor ed({"x x", "x", "x x"});
  ed.history.SetMaxUndo(2);
  ed.MoveCaret({1, 2});
  ed.Type("older ");
  ASSERT_EQ(ed.ReplaceAll("x", "yy"), 5);
  const std::string replaced = ed.Text();
  EXPECT_EQ(replaced, "yy yy\r\nolder yy\r\nyy yy");
  ed.Undo();
  EXPECT_EQ(ed.Text(), "x x\r\nolder x\r\nx x");
  EXPECT_FALSE(ed.history.UndoAvailable()) << "the older edit made room for the whole action";
  ed.Redo();
  EXPECT_EQ(ed.Text(), replaced);
  ed.Undo();
  EXPECT_EQ(ed.Text(), "x x\r\nolder x\r\nx x");
}

TEST(UndoHistory, HistoryOffStillMarksTheTextModified) {
  TMiniEditor ed;
  ed.history.SetMaxUndo(0);
  int changes = 0;
  ed.history.OnChange = [&] { ++changes; };
  ed.Type("a");
  ed.Backspace();
  EXPECT_FALSE(ed.history.UndoAvailable());
  EXPECT_TRUE(ed.history.Modified());
  EXPECT_EQ(changes, 2);
}

TEST(UndoHistory, OnChangeIsRaisedOncePerActionAndPerUndoOrRedo) {
  TMiniEditor ed({"a a a"});
  int changes = 0;
  ed.history.OnChange = [&] { ++changes; };
  ed.Type("b");
  EXPECT_EQ(changes, 1);
  ed.MoveCaret({1, 1});
  ed.history.SetModified(false);
  EXPECT_EQ(changes, 1) << "caret moves and saving change no text";
  ed.ReplaceAll("a", "c");
  EXPECT_EQ(changes, 2) << "a replace-all is one change";
  ed.Undo();
  EXPECT_EQ(changes, 3);
  ed.Redo();
  EXPECT_EQ(changes, 4);
  ed.Undos().OpenGroup();
  ed.Backspace();
  EXPECT_EQ(changes, 4) << "inside an open block";
  ed.Undos().CloseGroup();
  EXPECT_EQ(changes, 5);
  TMiniEditor empty;
  empty.history.OnChange = [&] { ++changes; };
  empty.Undo();
  empty.Redo();
  EXPECT_EQ(changes, 5);
}

TEST(UndoHistory, ClearUndoHistoryEmptiesBothListsAndKeepsModified) {
  TMiniEditor ed;
  ed.history.SetGroupUndo(false);
  ed.Type("a");
  ed.Type("b");
  ed.Undo();
  ed.history.ClearUndoHistory();
  EXPECT_FALSE(ed.history.UndoAvailable());
  EXPECT_FALSE(ed.history.RedoAvailable());
  EXPECT_TRUE(ed.history.Modified());
  ed.Type("c");
  EXPECT_TRUE(ed.history.Modified());

  TMiniEditor saved;
  saved.Type("a");
  saved.history.SetModified(false);
  saved.history.ClearUndoHistory();
  EXPECT_FALSE(saved.history.Modified());
  saved.Type("b");
  EXPECT_TRUE(saved.history.Modified());
}

TEST(UndoHistory, SavingBetweenGroupedEditsSurvivesUndoAndRedo) {
  TMiniEditor ed;
  ed.Type("a");
  ed.history.SetModified(false);  // puts a separator between "a" and "b"
  ed.Type("b");
  ed.Undo();
  EXPECT_EQ(ed.Text(), "a");
  ed.Undo();
  EXPECT_EQ(ed.Text(), "");
  ed.Redo();
  EXPECT_EQ(ed.Text(), "a");
  EXPECT_FALSE(ed.history.Modified());
  ed.Redo();
  EXPECT_EQ(ed.Text(), "ab");
  EXPECT_TRUE(ed.history.Modified());
}

namespace {

// Undo brings back the view before the action, redo the text after it, and a
// second round does the same.
void ExpectRoundTrips(TMiniEditor& ed, const TView& before, const TView& after, const char* what) {
  for (int round = 0; round < 2; ++round) {
    ed.Undo();
    EXPECT_EQ(ViewOf(ed), before) << what << " undo, round " << round;
    ed.Redo();
    EXPECT_EQ(ViewOf(ed).text, after.text) << what << " redo, round " << round;
  }
}

}  // namespace

TEST(UndoHistory, LineBreaksComeBackExactly) {
  struct Case {
    const char* what;
    std::vector<std::string> lines;
    TBufferCoord at;
  };
  const std::vector<Case> cases = {
      {"inside an indented line", {"    abcd"}, {7, 1}},
      {"at the end of a line", {"  x", "y"}, {4, 1}},
      {"beyond the end of a line", {"ab"}, {6, 1}},
      {"at column 1", {"abc"}, {1, 1}},
      {"on an empty line", {"", "z"}, {1, 1}},
  };
  for (const Case& c : cases) {
    TMiniEditor ed(c.lines);
    ed.doc.SetCaretPos(c.at);
    const TView before = ViewOf(ed);
    ed.LineBreak();
    const TView after = ViewOf(ed);
    ExpectRoundTrips(ed, before, after, c.what);
    EXPECT_EQ(ed.doc.caret, after.caret) << c.what;
  }
}

TEST(UndoHistory, TrimmedBlanksBeforeABreakComeBackWhenTheLineIsJoined) {
  // A line broken with trailing blanks trimmed from its left part.
  TMiniEditor ed({"ab  cd"});
  ed.Undos().AddRecord(ckLineBreak, {5, 1}, smNormal, "cd", {5, 1});
  ed.doc.lines = {"ab", "cd"};
  ed.Undo();
  EXPECT_EQ(ed.Text(), "ab  cd");
  ed.Redo();
  EXPECT_EQ(ed.Text(), "ab\r\ncd");
}

TEST(UndoHistory, DeletionsPutTheCaretBackWhereItWas) {
  struct Case {
    const char* what;
    void (*act)(TMiniEditor&);
    TView undone;
    TBufferCoord redo_caret;
  };
  const std::vector<Case> cases = {
      {"Backspace",
       [](TMiniEditor& e) {
         e.doc.SetCaretPos({3, 1});
         e.Backspace();
       },
       {"abc\r\ndef", {3, 1}, {3, 1}, {3, 1}},
       {2, 1}},
      {"Backspace at column 1 joins lines",
       [](TMiniEditor& e) {
         e.doc.SetCaretPos({1, 2});
         e.Backspace();
       },
       {"abc\r\ndef", {1, 2}, {1, 2}, {1, 2}},
       {4, 1}},
      {"Delete",
       [](TMiniEditor& e) {
         e.doc.SetCaretPos({2, 1});
         e.DeleteAtCaret();
       },
       {"abc\r\ndef", {2, 1}, {2, 1}, {2, 1}},
       {2, 1}},
      {"selection made forwards",
       [](TMiniEditor& e) {
         e.Select({2, 1}, {2, 2});
         e.DeleteSelection();
       },
       {"abc\r\ndef", {2, 2}, {2, 1}, {2, 2}},
       {2, 1}},
      {"selection made backwards",
       [](TMiniEditor& e) {
         e.Select({2, 2}, {2, 1});
         e.DeleteSelection();
       },
       {"abc\r\ndef", {2, 1}, {2, 2}, {2, 1}},
       {2, 1}},
  };
  for (const Case& c : cases) {
    TMiniEditor ed({"abc", "def"});
    c.act(ed);
    ed.Undo();
    EXPECT_EQ(ViewOf(ed), c.undone) << c.what;
    ed.Redo();
    EXPECT_EQ(ed.doc.caret, c.redo_caret) << c.what;
  }
}

TEST(UndoHistory, BlockIndentAndUnindentRestoreTextAndSelection) {
  TMiniEditor ed({"\tone", "    two", "  \tthree", "four"});
  ed.Select({2, 1}, {3, 3});
  const TView before = ViewOf(ed);
  ed.BlockUnindent(1, 3);
  const TView unindented = ViewOf(ed);
  ASSERT_EQ(unindented.text, "one\r\ntwo\r\nthree\r\nfour");
  ExpectRoundTrips(ed, before, unindented, "unindent");
  EXPECT_EQ(ViewOf(ed), unindented);

  ed.BlockIndent(1, 2);
  const TView indented = ViewOf(ed);
  ExpectRoundTrips(ed, unindented, indented, "indent");
  EXPECT_EQ(ViewOf(ed), indented);
}

TEST(UndoHistory, AColumnUnindentWorksAtTheBlocksLeftEdge) {
  TMiniEditor ed({"abc", "abd"});  // "\t" and two spaces were removed at column 3
  ed.Undos().AddRecord(ckUnindent, {3, 1}, smColumn, "\t\r\n  ", {4, 2});
  ed.Undo();
  EXPECT_EQ(ViewOf(ed), (TView{"ab\tc\r\nab  d", {4, 2}, {3, 1}, {4, 2}}));
  ed.Redo();
  EXPECT_EQ(ViewOf(ed), (TView{"abc\r\nabd", {4, 2}, {3, 1}, {4, 2}}));
}

TEST(UndoHistory, CaseConversionUndoRestoresCaretAndSelection) {
  TMiniEditor ed({"abc def"});
  ed.Select({1, 1}, {4, 1});
  ed.doc.caret = {2, 1};
  const TView before = ViewOf(ed);
  ed.UpperCaseSelection();
  const TView after = ViewOf(ed);
  ASSERT_EQ(after.text, "ABC def");
  ExpectRoundTrips(ed, before, after, "upper case");
}

TEST(UndoHistory, OverwrittenTextComesBackAndGoesAgain) {
  TMiniEditor ed({"abcdef"});
  ed.doc.Line(1).replace(1, 2, "XY");  // typed over "bc" by the input method
  ed.Undos().AddRecord(ckInsert, {2, 1}, smNormal, "bc", {4, 1});
  const TView after = ViewOf(ed);
  ExpectRoundTrips(ed, {"abcdef", {2, 1}, {2, 1}, {2, 1}}, after, "overwrite");
}

TEST(UndoHistory, RedoOfADropSelectsTheDroppedText) {
  TMiniEditor ed({"hello world"});
  ed.Undos().OpenGroup();
  ed.Select({1, 1}, {6, 1});
  ed.DeleteSelection();
  const TBufferCoord end = ed.doc.InsertTextAt({7, 1}, "hello", smNormal);
  ed.Undos().AddRecord(ckDropInsert, {7, 1}, smNormal, "", end);
  ed.Undos().CloseGroup();
  ASSERT_EQ(ed.Text(), " worldhello");
  ed.Undo();
  EXPECT_EQ(ed.Text(), "hello world");
  ed.Redo();
  EXPECT_EQ(ViewOf(ed), (TView{" worldhello", {12, 1}, {7, 1}, {12, 1}}));
}

TEST(UndoHistory, ColumnBlocksComeBackExactly) {
  TMiniEditor ed({"abcd", "efgh", "ijkl"});
  ed.Select({2, 1}, {4, 3}, smColumn);
  const TView before = ViewOf(ed);
  ed.Type("X\r\nY\r\nZ");
  const TView after = ViewOf(ed);
  ASSERT_EQ(after.text, "aXd\r\neYh\r\niZl");
  ExpectRoundTrips(ed, before, after, "column replace");
  EXPECT_EQ(ed.doc.mode, smColumn);

  TMiniEditor below({"ab", "cd"});
  below.doc.mode = smColumn;
  below.doc.SetCaretPos({4, 2});
  const TView start = ViewOf(below);
  below.Type("1\r\n2\r\n3");
  const TView typed = ViewOf(below);
  ASSERT_EQ(typed.text, "ab\r\ncd 1\r\n   2\r\n   3");
  below.Undo();
  EXPECT_EQ(below.Text(), start.text) << "padding and appended lines go too";
  below.Redo();
  EXPECT_EQ(below.Text(), typed.text);
}

TEST(UndoHistory, UndoingAClearedTextSelectsItFromTheTop) {
  TMiniEditor ed({""});
  ed.Undos().AddRecord(ckClearText, {1, 1}, smNormal, "ab\r\ncd", {3, 2});
  ed.Undo();
  EXPECT_EQ(ViewOf(ed), (TView{"ab\r\ncd", {1, 1}, {1, 1}, {1, 1}}));
  ed.Redo();
  EXPECT_EQ(ed.Text(), "");
}

TEST(UndoHistory, DeletedLastLineIsRecreatedWhenItNoLongerExists) {
  TMiniEditor ed(std::vector<std::string>{});
  ed.Undos().AddRecord(ckDeleteAtCaret, {1, 1}, smNormal, "gone", {5, 1});
  ed.Undo();
  EXPECT_EQ(ed.Text(), "gone");
  EXPECT_EQ(ed.doc.caret, (TBufferCoord{1, 1}));
}

namespace {

// Tries to record from inside the primitives, as a careless editor might.
class TRecordingDocument : public TUndoTestDocument {
 public:
  using TUndoTestDocument::TUndoTestDocument;
  TEditorUndoHistory* history = nullptr;
  int begins = 0;
  void BeginUndoRedo() override {
    ++begins;
    EXPECT_TRUE(history->UndoList().Locked() && history->RedoList().Locked());
    TUndoTestDocument::BeginUndoRedo();
  }
  void SetCaretPos(TBufferCoord value) override {
    history->UndoList().AddRecord(ckInsert, value, smNormal, "", value);
    TUndoTestDocument::SetCaretPos(value);
  }
};

}  // namespace

TEST(UndoHistory, PrimitivesRunBracketedAndCannotRecord) {
  TEditorUndoHistory history;
  TRecordingDocument doc({"abc"});
  doc.history = &history;
  history.UndoList().AddRecord(ckDeleteBeforeCaret, {3, 1}, smNormal, "X", {4, 1});
  history.Undo(doc);
  EXPECT_EQ(doc.Text(), "abXc");
  EXPECT_FALSE(history.UndoAvailable());
  history.Redo(doc);
  EXPECT_EQ(doc.Text(), "abc");
  EXPECT_EQ(history.UndoList().ItemCount(), 1);
  EXPECT_EQ(doc.begins, 2);
  EXPECT_EQ(doc.open_runs, 0);
  EXPECT_FALSE(history.UndoList().Locked() || history.RedoList().Locked());
  EXPECT_FALSE(history.UndoList().InsideRedo());
}

TEST(UndoHistory, RecordsHoldOnlyTheChangedText) {
  std::vector<std::string> lines(1000, std::string(60, '.') + "tok" + std::string(40, '.'));
  TMiniEditor ed(lines);
  ASSERT_EQ(ed.ReplaceAll("tok", "Z"), 1000);
  auto held = [](const TEditorUndoList& list) {
    std::size_t bytes = 0;
    for (int i = 0; i < list.ItemCount(); ++i) bytes += list.Item(i).ChangeText.size();
    return bytes;
  };
  EXPECT_EQ(ed.Undos().ItemCount(), 2000);
  EXPECT_EQ(held(ed.Undos()), 3000u);
  ed.Undo();
  EXPECT_EQ(held(ed.history.RedoList()), 1000u);
}
