#include <gtest/gtest.h>

#include <deque>

#include "app/SearchCommands.h"
#include "editor/EditorMemo.h"
#include "platform/CodePage1252.h"
#include "support/FakeEditorHost.h"
#include "support/ScriptedPrompts.h"
#include "support/ScriptedSearchDialogs.h"

namespace {

class SearchCommandsTest : public ::testing::Test {
 protected:
  TFakeEditorHost host;
  TEditorMemo editor;
  TScriptedPrompts prompts;
  TScriptedSearchDialogs dialogs;
  TCodePage1252 code_page;
  TSearchCommands search{editor, code_page, prompts, dialogs};
  std::vector<std::string> confirms;
  std::deque<TReplaceAction> answers;

  void SetUp() override {
    editor.SetHost(&host);
    editor.OnReplaceText = [this](TCustomEditor&, const std::string& s, const std::string& r,
                                  int line, int column, TReplaceAction& action) {
      action = search.AskReplace(s, r, line, column);
    };
    search.OnConfirm = [this](const std::string& s, int line, int column) {
      confirms.push_back(s + "@" + std::to_string(line) + ":" + std::to_string(column));
      TReplaceAction a = answers.empty() ? raCancel : answers.front();
      if (!answers.empty()) answers.pop_front();
      return a;
    };
  }
  void TearDown() override { editor.SetHost(nullptr); }

  // Confirms the dialog with this search text and these changes.
  void Confirm(const std::string& text,
               std::function<void(TSearchDialogValues&)> more = [](TSearchDialogValues&) {}) {
    dialogs.edits.push_back([text, more](TSearchDialogValues& v) {
      v.search_text = text;
      more(v);
    });
  }
  TBufferCoord Begin() const { return editor.SelectionBegin(); }
};

TEST_F(SearchCommandsTest, TheFirstSearchCoversTheWholeTextAndLaterOnesGoOnFromTheCaret) {
  editor.SetText("abc one\r\nabc two\r\nabc");
  editor.SetCaretPos({4, 3});  // at the very end
  Confirm("abc");
  search.OpenSearchDialog(false);
  EXPECT_EQ(Begin(), (TBufferCoord{1, 1}));
  EXPECT_TRUE(search.SearchFromCaretNow());

  search.RunSearch(false, false);
  EXPECT_EQ(Begin(), (TBufferCoord{1, 2}));
  search.RunSearch(false, false);
  EXPECT_EQ(Begin(), (TBufferCoord{1, 3}));
  EXPECT_TRUE(prompts.Log().empty());

  // no wrap-around: the end of the text says so and leaves the caret after
  // the former selection
  search.RunSearch(false, false);
  EXPECT_EQ(prompts.Messages(), std::vector<std::string>{"Search string not found"});
  EXPECT_EQ(prompts.Log()[0].message_kind, TMessageKind::Warning);
  EXPECT_FALSE(editor.HasSelection());
  EXPECT_EQ(editor.CaretPos(), (TBufferCoord{4, 3}));

  // backwards from there, then past the first: the caret goes to the start
  search.RunSearch(false, true);
  search.RunSearch(false, true);
  search.RunSearch(false, true);
  EXPECT_EQ(Begin(), (TBufferCoord{1, 1}));
  search.RunSearch(false, true);
  EXPECT_EQ(prompts.Messages().size(), 2u);
  EXPECT_FALSE(editor.HasSelection());
  EXPECT_EQ(editor.CaretPos(), (TBufferCoord{1, 1}));
  EXPECT_EQ(dialogs.releases, 8);  // after every run
}

TEST_F(SearchCommandsTest, TheDialogShowsWhatWasRememberedAndTheSelectionOfOneLine) {
  editor.SetText("first line\r\nsecond line");
  Confirm("line", [](TSearchDialogValues& v) {
    v.case_sensitive = true;
    v.whole_words = true;
    v.search_history = "line";
    v.replace_text = "row";
  });
  search.OpenSearchDialog(true);
  EXPECT_TRUE(dialogs.shown_for_replace[0]);

  struct Case {
    TBufferCoord anchor, end;
    const char* expected_search_text;
  } cases[] = {
      {{7, 1}, {11, 1}, "line"},   // a selection within one line pre-fills
      {{1, 1}, {6, 1}, "first"},
      {{7, 1}, {3, 2}, "line"},    // over two lines it does not
      {{1, 2}, {1, 2}, "line"},    // no selection
  };
  for (const Case& c : cases) {
    editor.SetSelectionAnchor(c.anchor);
    editor.SetSelectionEnd(c.end);
    search.OpenSearchDialog(false);  // cancelled: nothing queued
    const TSearchDialogValues& v = dialogs.shown.back();
    EXPECT_EQ(v.search_text, c.expected_search_text);
    EXPECT_TRUE(v.case_sensitive);
    EXPECT_TRUE(v.whole_words);
    EXPECT_EQ(v.search_history, "line");
    EXPECT_EQ(v.replace_text, "") << "the Find dialog has no replacement";
  }
  // a cancelled dialog kept the remembered text
  EXPECT_EQ(search.SearchSettings().search_text, "line");
  EXPECT_EQ(search.SearchSettings().replace_text, "row");
}

TEST_F(SearchCommandsTest, AnEmptySearchTextIsRememberedButSearchesNothing) {
  editor.SetText("abc");
  Confirm("", [](TSearchDialogValues& v) { v.from_caret = true; });
  search.OpenSearchDialog(false);
  EXPECT_FALSE(search.SearchTextEntered());
  EXPECT_TRUE(search.SearchFromCaretNow());
  EXPECT_EQ(dialogs.releases, 0);
  EXPECT_TRUE(prompts.Log().empty());
  EXPECT_FALSE(editor.HasSelection());
}

TEST_F(SearchCommandsTest, ReplaceAsksForEachOccurrenceUnlessTheTextStaysTheSame) {
  editor.SetText("wait 'x'\r\nwait 'y'");
  answers = {raReplace, raSkip};
  Confirm("wait", [](TSearchDialogValues& v) { v.replace_text = "pause"; });
  search.OpenSearchDialog(true);
  EXPECT_EQ(confirms, (std::vector<std::string>{"wait@1:1", "wait@2:1"}));
  EXPECT_EQ(editor.Text(), "pause 'x'\r\nwait 'y'");

  // replacing a text by itself asks nothing and changes nothing
  confirms.clear();
  editor.SetText("abc abc");
  Confirm("abc", [](TSearchDialogValues& v) { v.replace_text = "abc"; });
  search.OpenSearchDialog(true);
  EXPECT_TRUE(confirms.empty());
  EXPECT_EQ(editor.Text(), "abc abc");
}

TEST_F(SearchCommandsTest, OptionsReachTheEngineTheyBelongTo) {
  struct Case {
    const char* text;
    std::function<void(TSearchDialogValues&)> options;
    const char* pattern;
    bool found;
  } cases[] = {
      {"Sendln", [](TSearchDialogValues&) {}, "sendln", true},
      {"Sendln", [](TSearchDialogValues& v) { v.case_sensitive = true; }, "sendln", false},
      {"sendlnx", [](TSearchDialogValues& v) { v.whole_words = true; }, "sendln", false},
      {"sendln", [](TSearchDialogValues& v) { v.regular_expression = true; }, "s.ndl+n", true},
      {"s.ndl+n", [](TSearchDialogValues&) {}, "s.ndl+n", true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.pattern);
    editor.SetText(c.text);
    prompts.ClearLog();
    // the dialog shows the last options; each case starts from none
    Confirm(c.pattern, [&c](TSearchDialogValues& v) {
      v.case_sensitive = v.whole_words = v.regular_expression = false;
      c.options(v);
    });
    search.OpenSearchDialog(false);
    EXPECT_EQ(prompts.Log().empty(), c.found);
  }
}

TEST_F(SearchCommandsTest, AMalformedPatternReachesTheCallerAndStillReleasesTheDialog) {
  editor.SetText("abc");
  Confirm("(abc", [](TSearchDialogValues& v) { v.regular_expression = true; });
  EXPECT_THROW(search.OpenSearchDialog(false), Exception);
  EXPECT_EQ(dialogs.releases, 1);
  EXPECT_EQ(editor.PaintLock(), 0);
  EXPECT_EQ(search.SearchSettings().search_text, "(abc");
}

}  // namespace
