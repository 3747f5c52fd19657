// Random edits, recorded as the editor records them: undoing everything must
// give back the original text exactly, every single undo must land on the text
// between two whole actions, and redoing everything must give the edited text.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>
#include <vector>

#include "test_undo_document.h"

namespace {

class TRandomSession {
 public:
  TRandomSession(unsigned seed, bool group_undo, int max_undo)
      : rng_(seed), ed_({"alpha beta", "\tgamma", "", "  delta ab"}) {
    ed_.history.SetGroupUndo(group_undo);
    ed_.history.SetMaxUndo(max_undo);
    ed_.history.OnChange = [this] { ++changes_; };
    states_.push_back(ed_.Text());
  }

  TMiniEditor& Editor() { return ed_; }
  const std::vector<std::string>& States() const { return states_; }
  int SavedState() const { return saved_; }

  // One random action; the text is remembered after every action that changed it.
  void Step() {
    const int before = changes_;
    Act(Pick(0, 13));
    if (changes_ != before) states_.push_back(ed_.Text());
    if (Pick(0, 9) == 0) {
      ed_.history.SetModified(false);
      saved_ = static_cast<int>(states_.size()) - 1;
    }
  }

 private:
  int Pick(int low, int high) { return std::uniform_int_distribution<int>(low, high)(rng_); }

  TBufferCoord Position() {
    const int line = Pick(1, ed_.doc.LineCount());
    return {Pick(1, static_cast<int>(ed_.doc.Line(line).size()) + 1), line};
  }

  std::string Text(bool multi_line) {
    static const char kChars[] = {'a', 'b', ' ', '\t', 'x'};
    std::string text;
    const int length = Pick(1, 4);
    for (int i = 0; i < length; ++i) {
      text +=
          multi_line && Pick(0, 3) == 0 ? std::string("\r\n") : std::string(1, kChars[Pick(0, 4)]);
    }
    return text;
  }

  void SelectNormal() { ed_.Select(Position(), Position()); }

  void Act(int action) {
    TUndoTestDocument& doc = ed_.doc;
    switch (action) {
      case 0:
        ed_.MoveCaret(Position());
        ed_.Type(Text(false));
        break;
      case 1:
        SelectNormal();
        ed_.Type(Text(true));
        break;
      case 2:
        ed_.MoveCaret(Position());
        ed_.Backspace();
        break;
      case 3:
        ed_.MoveCaret(Position());
        ed_.DeleteAtCaret();
        break;
      case 4:
        ed_.MoveCaret(Position());
        ed_.LineBreak();
        break;
      case 5:
        SelectNormal();
        ed_.Paste(Text(true));
        break;
      case 6: {
        const int first = Pick(1, doc.LineCount());
        const int last = Pick(first, doc.LineCount());
        ed_.Select({Pick(1, 6), first}, {Pick(1, 6), last}, smColumn);
        ed_.Type(Pick(0, 2) ? Text(true) : std::string());
        break;
      }
      case 7:
      case 8: {
        const int first = Pick(1, doc.LineCount());
        const int last = Pick(first, doc.LineCount());
        ed_.Select({1, first}, {1, last});
        if (action == 7) {
          ed_.BlockIndent(first, last);
        } else {
          ed_.BlockUnindent(first, last);
        }
        break;
      }
      case 9:
        SelectNormal();
        if (ed_.HasSelection()) ed_.UpperCaseSelection();
        break;
      case 10:
        ed_.ReplaceAll(Pick(0, 1) ? "a" : "b ", Text(false));
        break;
      case 11: {  // the input method typing over text
        const TBufferCoord at = Position();
        std::string& line = doc.Line(at.Line);
        const auto count = std::min<std::size_t>(Pick(0, 2), line.size() - (at.Char - 1));
        const std::string overwritten = line.substr(at.Char - 1, count);
        const std::string typed = Text(false);
        line.replace(at.Char - 1, count, typed);
        ed_.history.CaretMoved();
        ed_.Undos().AddRecord(ckInsert, at, smNormal, overwritten,
                              {at.Char + static_cast<int>(typed.size()), at.Line});
        break;
      }
      case 12: {  // a drag within the text, moving the selection to its start
        SelectNormal();
        if (!ed_.HasSelection()) break;
        const TBufferCoord a = doc.anchor;
        const TBufferCoord e = doc.sel_end;
        const TBufferCoord begin = e < a ? e : a;
        ed_.Undos().OpenGroup();
        ed_.DeleteSelection();
        const TBufferCoord target{1, begin.Line};
        const std::string moved = ed_.Undos().PeekItem()->ChangeText;
        const TBufferCoord end = doc.InsertTextAt(target, moved, smNormal);
        ed_.Undos().AddRecord(ckDropInsert, target, smNormal, "", end);
        ed_.Undos().CloseGroup();
        break;
      }
      default:
        ed_.MoveCaret(Position());
        break;
    }
    doc.mode = smNormal;
  }

  std::mt19937 rng_;
  TMiniEditor ed_;
  std::vector<std::string> states_;
  int changes_ = 0;
  int saved_ = 0;
};

// The index of the latest remembered state before `below` with this text, or -1.
int StateBefore(const std::vector<std::string>& states, const std::string& text, int below) {
  for (int i = below - 1; i >= 0; --i) {
    if (states[i] == text) return i;
  }
  return -1;
}

int StateAfter(const std::vector<std::string>& states, const std::string& text, int above) {
  for (int i = above + 1; i < static_cast<int>(states.size()); ++i) {
    if (states[i] == text) return i;
  }
  return -1;
}

bool Unique(const std::vector<std::string>& states, const std::string& text) {
  return std::count(states.begin(), states.end(), text) == 1;
}

void RunSession(unsigned seed, bool group_undo, int max_undo) {
  SCOPED_TRACE(testing::Message() << "seed " << seed << ", group undo " << group_undo
                                  << ", MaxUndo " << max_undo);
  TRandomSession session(seed, group_undo, max_undo);
  for (int i = 0; i < 30; ++i) session.Step();
  TMiniEditor& ed = session.Editor();
  const std::vector<std::string>& states = session.States();
  const int last = static_cast<int>(states.size()) - 1;
  ASSERT_EQ(ed.Text(), states[last]);
  const bool full_history = max_undo >= 1000;

  for (int round = 0; round < 2; ++round) {
    // Back as far as the history goes, one step at a time.
    int at = last;
    while (ed.history.UndoAvailable()) {
      ed.Undo();
      const int now = StateBefore(states, ed.Text(), at);
      ASSERT_GE(now, 0) << "undo left the text between actions:\n" << ed.Text();
      if (!group_undo && full_history) {
        ASSERT_EQ(now, at - 1);
      }
      if (Unique(states, ed.Text())) {
        EXPECT_EQ(ed.history.Modified(), now != session.SavedState()) << "state " << now;
      }
      at = now;
    }
    if (full_history) {
      ASSERT_EQ(at, 0);
    }
    EXPECT_EQ(ed.doc.open_runs, 0);

    // And forward again.
    while (ed.history.RedoAvailable()) {
      ed.Redo();
      const int now = StateAfter(states, ed.Text(), at);
      ASSERT_GE(now, 0) << "redo left the text between actions:\n" << ed.Text();
      at = now;
    }
    ASSERT_EQ(ed.Text(), states[last]);
    EXPECT_EQ(ed.history.Modified(), session.SavedState() != last);
  }
}

}  // namespace

TEST(UndoProperty, UndoingEverythingRestoresTheOriginalAndRedoTheEditedText) {
  for (unsigned seed = 1; seed <= 150; ++seed) {
    RunSession(seed, seed % 2 == 0, TEditorUndoList::kDefaultMaxUndo);
    if (HasFatalFailure()) return;
  }
}

TEST(UndoProperty, WithASmallMaxUndoEveryUndoStillRevertsWholeActions) {
  for (unsigned seed = 1; seed <= 150; ++seed) {
    RunSession(seed, seed % 2 == 1, 3 + static_cast<int>(seed % 7));
    if (HasFatalFailure()) return;
  }
}
