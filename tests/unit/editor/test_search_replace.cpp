#include <gtest/gtest.h>

#include <cstring>
#include <deque>
#include <stdexcept>

#include "EditingHelpers.h"
#include "EditorFixture.h"
#include "search/EditorRegexSearch.h"
#include "search/EditorSearch.h"

namespace {

using O = TSearchOption;

const TSearchOptionSet kFind{};
const TSearchOptionSet kFindAll{O::EntireScope};
const TSearchOptionSet kReplaceAll{O::EntireScope, O::ReplaceOne, O::ReplaceAll};
const TSearchOptionSet kPromptAll{O::EntireScope, O::ReplaceOne, O::ReplaceAll, O::PromptOnReplace};

class SearchReplaceTest : public EditorFixture {
 protected:
  TEditorSearch plain;
  TEditorRegexSearch regex;
  // Answers for the prompt, in order; asks are recorded as "line:column".
  std::deque<TReplaceAction> answers;
  std::vector<std::string> asked;

  void SetUp() override {
    EditorFixture::SetUp();
    editor.SetSearchEngine(&plain);
    editor.OnReplaceText = [this](TCustomEditor&, const std::string&, const std::string&, int line,
                                  int column, TReplaceAction& action) {
      EXPECT_EQ(action, raCancel);
      asked.push_back(std::to_string(line) + ":" + std::to_string(column));
      if (answers.empty()) return;
      action = answers.front();
      answers.pop_front();
    };
  }
  std::string Selected() const { return editor.SelectedText(); }
  TBufferCoord Begin() const { return editor.SelectionBegin(); }
};

TEST_F(SearchReplaceTest, WithoutAnEngineOrPatternNothingIsSearched) {
  Text("abc abc");
  editor.SetSearchEngine(nullptr);
  try {
    editor.SearchAndReplace("abc", "", kFind);
    FAIL() << "no error";
  } catch (const EEditorError& e) {
    EXPECT_STREQ(e.what(), "No search engine has been assigned");
  }
  editor.SetSearchEngine(&plain);
  EXPECT_EQ(editor.SearchAndReplace("", "x", kReplaceAll), 0);
  EXPECT_EQ(editor.Text(), "abc abc");
  EXPECT_FALSE(editor.HasSelection());
}

TEST_F(SearchReplaceTest, FindNextAndPreviousWalkTheOccurrencesFromTheCaret) {
  LoadMarked(editor, "one x|x two xx\r\nxx three");
  struct Step {
    TSearchOptionSet options;
    int count;
    TBufferCoord begin;
    TBufferCoord caret;
  } steps[] = {
      // from the caret: the occurrence the caret stands in is not whole after it
      {kFind, 1, {12, 1}, {14, 1}},
      {kFind, 1, {1, 2}, {3, 2}},
      // backwards right after a forward find: the same occurrence again
      {{O::Backwards}, 1, {1, 2}, {1, 2}},
      {{O::Backwards}, 1, {12, 1}, {12, 1}},
      {{O::Backwards}, 1, {5, 1}, {5, 1}},
      {{O::Backwards}, 0, {5, 1}, {5, 1}},  // nothing before: no wrap-around
  };
  for (const Step& s : steps) {
    SCOPED_TRACE(::testing::Message() << "expect " << s.begin);
    EXPECT_EQ(editor.SearchAndReplace("xx", "", s.options), s.count);
    if (s.count == 0) continue;
    EXPECT_EQ(Selected(), "xx");
    EXPECT_EQ(Begin(), s.begin);
    EXPECT_EQ(editor.CaretPos(), s.caret);
  }
}

TEST_F(SearchReplaceTest, RangeEdgesFollowTheCaretOrTheWholeText) {
  struct Case {
    const char* marked;
    TSearchOptionSet options;
    int count;
    TBufferCoord begin;
  } cases[] = {
      // backwards from the caret: only occurrences ending at or before it
      {"ab|c abc", {O::Backwards}, 0, {}},
      {"abc| abc", {O::Backwards}, 1, {1, 1}},
      // the whole text ignores the caret: first from the top, last from the bottom
      {"abc ab|c\r\nabc", kFindAll, 1, {1, 1}},
      {"ab|c abc\r\nabc", {O::EntireScope, O::Backwards}, 1, {1, 2}},
      // "selected only" without a selection is a plain search
      {"abc |abc", {O::SelectedOnly}, 1, {5, 1}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.marked);
    LoadMarked(editor, c.marked);
    EXPECT_EQ(editor.SearchAndReplace("abc", "", c.options), c.count);
    if (c.count) {
      EXPECT_EQ(Begin(), c.begin);
    }
  }
}

TEST_F(SearchReplaceTest, ReplaceAllKeepsLaterOccurrencesOfALineInPlace) {
  struct Case {
    const char* text;
    const char* search;
    const char* replace;
    int count;
    const char* result;
  } cases[] = {
      {"a-a-a\r\nxa", "a", "long", 4, "long-long-long\r\nxlong"},
      {"abcabc abc\r\nabc", "abc", "z", 4, "zz z\r\nz"},
      {"abcabc", "abc", "", 2, ""},
      {"no match", "abc", "z", 0, "no match"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    Text(c.text);
    EXPECT_EQ(editor.SearchAndReplace(c.search, c.replace, kReplaceAll), c.count);
    EXPECT_EQ(editor.Text(), c.result);
    EXPECT_EQ(editor.PaintLock(), 0);
    if (c.count == 0) continue;
    // all replacements of an unprompted run undo together
    editor.Undo();
    EXPECT_EQ(editor.Text(), c.text);
  }
}

TEST_F(SearchReplaceTest, PromptAnswersDecideEachOccurrence) {
  struct Case {
    std::vector<TReplaceAction> answers;
    int count;
    const char* result;
    std::vector<const char*> after_undos;  // the text after each further Undo
  } cases[] = {
      {{raReplace, raSkip, raReplace, raSkip}, 4, "Y x Y x", {"Y x x x", "x x x x"}},
      // yes to all after one single answer: the rest in one undo block
      {{raReplace, raReplaceAll}, 4, "Y Y Y Y", {"Y x x x", "x x x x"}},
      // cancel stops at once; what was replaced stays; the cancelled one counts
      {{raReplace, raCancel}, 2, "Y x x x", {"x x x x"}},
      // a handler that does not answer cancels
      {{}, 1, "x x x x", {}},
  };
  for (const Case& c : cases) {
    Text("x x x x");
    answers.assign(c.answers.begin(), c.answers.end());
    asked.clear();
    EXPECT_EQ(editor.SearchAndReplace("x", "Y", kPromptAll), c.count);
    EXPECT_EQ(editor.Text(), c.result);
    for (const char* text : c.after_undos) {
      editor.Undo();
      EXPECT_EQ(editor.Text(), text);
    }
    EXPECT_FALSE(editor.CanUndo()) << c.result;
  }
  // the columns asked about are where each occurrence stands now
  Text("x x");
  answers = {raReplace, raReplace};
  asked.clear();
  editor.SearchAndReplace("x", "long", kPromptAll);
  EXPECT_EQ(asked, (std::vector<std::string>{"1:1", "1:6"}));
}

TEST_F(SearchReplaceTest, ReplacingWithTheSameTextBySkippingChangesNothing) {
  Text("abc abc\r\nabc");
  editor.OnReplaceText = [](TCustomEditor&, const std::string& s, const std::string& r, int, int,
                            TReplaceAction& action) {
    if (s == r) action = raSkip;
  };
  EXPECT_EQ(editor.SearchAndReplace("abc", "abc", kPromptAll), 3);
  EXPECT_EQ(editor.Text(), "abc abc\r\nabc");
  EXPECT_FALSE(editor.Modified());
  EXPECT_FALSE(editor.CanUndo());
}

TEST_F(SearchReplaceTest, ReplaceOneReplacesTheNextOccurrenceOnly) {
  LoadMarked(editor, "ab ab| ab ab");
  const TSearchOptionSet options{O::ReplaceOne};
  EXPECT_EQ(editor.SearchAndReplace("ab", "XYZ", options), 1);
  EXPECT_EQ(Marked(editor), "ab ab XYZ| ab");
  EXPECT_EQ(editor.SearchAndReplace("ab", "XYZ", {O::ReplaceOne, O::Backwards}), 1);
  EXPECT_EQ(editor.Text(), "ab XYZ XYZ ab");
}

TEST_F(SearchReplaceTest, SelectedOnlyStaysInsideTheSelection) {
  struct Case {
    TSelectionMode mode;
    TBufferCoord anchor;
    TBufferCoord end;
    const char* result;
  } cases[] = {
      // a normal selection from the middle of line 1 to the middle of line 3
      {smNormal, {4, 1}, {5, 3}, "ab Z Z\r\nZ Z\r\nZ ab"},
      // a column selection: columns 3 to 7 of every line, drawn right to left
      {smColumn, {7, 3}, {3, 1}, "ab Z ab\r\nab Z\r\nab Z"},
      // a line selection covers whole lines, but only occurrences are replaced
      {smLine, {5, 2}, {2, 3}, "ab ab ab\r\nZ Z\r\nZ Z"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(static_cast<int>(c.mode));
    Text("ab ab ab\r\nab ab\r\nab ab");
    editor.SetSelectionMode(c.mode);
    editor.SetSelectionAnchor(c.anchor);
    editor.SetSelectionEnd(c.end);
    EXPECT_EQ(editor.SearchAndReplace("ab", "Z", {O::SelectedOnly, O::ReplaceOne, O::ReplaceAll}),
              std::count(c.result, c.result + std::strlen(c.result), 'Z'));
    EXPECT_EQ(editor.Text(), c.result);
    editor.SetSelectionMode(smNormal);
  }
}

TEST_F(SearchReplaceTest, RegularExpressionsReplaceWithTheirGroups) {
  editor.SetSearchEngine(&regex);
  Text("sendln 'a'\r\nsend 'b'");
  EXPECT_EQ(editor.SearchAndReplace("send(ln)? '(\\w)'", "wait '$2'", kReplaceAll), 2);
  EXPECT_EQ(editor.Text(), "wait 'a'\r\nwait 'b'");
}

// An engine that fails on the given line, as a regular expression that runs
// out of its budget does.
class TFailingSearch : public TEditorSearch {
 public:
  int fail_on_call = 0;
  int FindAllInLine(std::string_view line) override {
    if (--fail_on_call == 0) throw std::runtime_error("engine failure");
    return TEditorSearch::FindAllInLine(line);
  }
};

TEST_F(SearchReplaceTest, AnEngineErrorLeavesPaintLockAndUndoBlockBalanced) {
  TFailingSearch failing;
  editor.SetSearchEngine(&failing);
  int before = 0, after = 0;
  editor.OnPaintTransient = [&](TCustomEditor&, ICanvas*, TTransientType kind) {
    (kind == ttBefore ? before : after)++;
  };
  Text("a\r\na\r\na");
  failing.fail_on_call = 3;
  EXPECT_THROW(editor.SearchAndReplace("a", "b", kReplaceAll), std::runtime_error);
  EXPECT_EQ(editor.PaintLock(), 0);
  EXPECT_EQ(editor.Text(), "b\r\nb\r\na");  // what was replaced stays
  EXPECT_GE(before, 1);
  EXPECT_EQ(before, after);
  // the two replacements made before the error are one undo step
  editor.Undo();
  EXPECT_EQ(editor.Text(), "a\r\na\r\na");
  // and the editor still edits normally afterwards
  editor.SetCaretPos({1, 3});
  editor.SetSelectedText("z");
  editor.Undo();
  EXPECT_EQ(editor.Text(), "a\r\na\r\na");
}

TEST_F(SearchReplaceTest, AFarOccurrenceIsScrolledToTheMiddleOfTheWindow) {
  NumberedLines(1000);
  editor.SetCaretPos({1, 1});
  ASSERT_EQ(editor.SearchAndReplace("line 700", "", kFind), 1);
  const int rows = editor.VisibleRows();
  EXPECT_GT(700, editor.TopRow());
  EXPECT_LT(700, editor.TopRow() + rows);
  EXPECT_NEAR(700 - editor.TopRow(), rows / 2, 1);
}

TEST_F(SearchReplaceTest, EnginesSearchInTheDocumentsCharacterSetAsItChanges) {
  editor.Lines().SetEncoding(TTextEncoding::Utf8);
  Text("x R\xC3\x89SUM\xC3\x89\r\ncafe\xCC\x81 caf\xC3\xA9");
  // Case-blind in Unicode: é finds É; the decomposed e + accent is not é.
  ASSERT_EQ(editor.SearchAndReplace("\xC3\xA9", "e", kReplaceAll), 3);
  EXPECT_EQ(editor.Text(), "x ReSUMe\r\ncafe\xCC\x81 cafe");
  // The dot takes the e with its accent.
  editor.SetSearchEngine(&regex);
  ASSERT_EQ(editor.SearchAndReplace("caf.", "", kFindAll), 1);
  EXPECT_EQ(Selected(), "cafe\xCC\x81");
  // Back to ANSI, the bytes of the accent are characters of their own.
  editor.Lines().SetEncoding(TTextEncoding::Ansi);
  editor.SetSearchEngine(&plain);
  ASSERT_EQ(editor.SearchAndReplace("\x81", "", kFindAll), 1);
  EXPECT_EQ(Begin(), (TBufferCoord{6, 2}));
}

}  // namespace
