#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "EditingHelpers.h"
#include "EditorFixture.h"
#include "platform/CodePage.h"
#include "platform/Utf8.h"
#include "support/MemoryClipboard.h"

namespace {

// An editor holding a UTF-8 document. In the texts below: "é" is 2 bytes and
// 1 cell, "日" and "本" 3 bytes and 2 cells, the emoji 4 bytes and 2 cells,
// "e" + U+0301 one character of 3 bytes and 1 cell.
#define E_ACUTE "\xC3\xA9"
#define NICHI "\xE6\x97\xA5"
#define HON "\xE6\x9C\xAC"
#define SMILE "\xF0\x9F\x98\x80"
#define E_MARK "e\xCC\x81"

class UnicodeEditorTest : public EditorFixture {
 protected:
  void SetUp() override {
    EditorFixture::SetUp();
    editor.Lines().SetEncoding(TTextEncoding::Utf8);
    editor.SetTabWidth(4);
    Options({eoScrollPastEol}, {eoAutoIndent});
  }
  void Type(const char* utf8) { editor.ProcessCommand(ecImeStr, 0, const_cast<char*>(utf8)); }
};

TEST_F(UnicodeEditorTest, CommandsStepOverWholeCharacters) {
  struct Case {
    const char* what;
    const char* before;
    TEditorCommand command;
    const char* after;
  } cases[] = {
      {"right over a wide character", "a|" NICHI HON, ecRight, "a" NICHI "|" HON},
      {"left over an emoji", "x" SMILE "|", ecLeft, "x|" SMILE},
      {"left over a letter with its mark", "a" E_MARK "|z", ecLeft, "a|" E_MARK "z"},
      {"backspace removes an accented letter", "caf" E_ACUTE "|!", ecDeleteLastChar, "caf|!"},
      {"backspace removes the mark with its letter", "x" E_MARK "|", ecDeleteLastChar, "x|"},
      {"delete removes a four-byte character", "|" SMILE "b", ecDeleteChar, "|b"},
      {"word right over Japanese and Latin", "|" NICHI HON " caf" E_ACUTE, ecWordRight,
       NICHI HON " |caf" E_ACUTE},
      {"word left stops before an accented word", "x caf" E_ACUTE "|", ecWordLeft,
       "x |caf" E_ACUTE},
      {"delete word takes a Japanese word", "|" NICHI HON " x", ecDeleteWord, "|x"},
      {"end of a mixed line", "|a" NICHI "b", ecLineEnd, "a" NICHI "b|"},
  };
  for (const auto& c : cases) {
    LoadMarked(editor, c.before);
    Run(c.command);
    EXPECT_EQ(Marked(editor), c.after) << c.what;
    Run(ecUndo);
    EXPECT_EQ(editor.Text() + "", std::string(c.before).erase(std::string(c.before).find('|'), 1))
        << c.what << " (undo)";
  }
}

TEST_F(UnicodeEditorTest, ColumnsComeFromTheCellsOfEachCharacter) {
  Text("a" NICHI "\tb" E_ACUTE "\r\n" SMILE "x");
  struct Case {
    TBufferCoord buffer;
    int column;
  } cases[] = {
      {{2, 1}, 2},  // before 日
      {{5, 1}, 4},  // after 日 (two cells)
      {{6, 1}, 5},  // after the tab: next stop
      {{7, 1}, 6},  // after b
      {{9, 1}, 7},  // after é (one cell for two bytes)
      {{5, 2}, 3},  // after the emoji
  };
  for (const auto& c : cases) {
    EXPECT_EQ(editor.BufferToDisplayPos(c.buffer).Column, c.column) << c.buffer;
    EXPECT_EQ(editor.DisplayToBufferPos({c.column, c.buffer.Line}), c.buffer) << c.buffer;
  }
  // The second cell of 日 is inside it: before or after it, never half of it.
  EXPECT_EQ(editor.DisplayToBufferPos({3, 1}).Char, 5);
  // Clicking on the right half of the emoji's second cell puts the caret after it.
  editor.MouseDown(TMouseButton::Left, 0, CellX(2) + 6, RowY(2) + 2);
  editor.MouseUp(TMouseButton::Left, 0, CellX(2) + 6, RowY(2) + 2);
  EXPECT_EQ(editor.CaretPos(), (TBufferCoord{5, 2}));
  EXPECT_EQ(editor.Lines().GetExpandedLength(0), 6);
}

TEST_F(UnicodeEditorTest, ColumnBlocksCutNoCharacterInHalf) {
  Text("ab" NICHI "cd\r\n" NICHI HON "xy\r\nabcdef");
  editor.SetSelectionMode(smColumn);
  editor.SetCaretPos({2, 1});      // column 2
  editor.SetSelectionEnd({5, 3});  // column 5 on the last line
  // Columns 2-4: "b" and 日 on line 1; on line 2 column 2 is the second cell
  // of 日, which stays out, and 本 is in.
  EXPECT_EQ(editor.SelectedText(), "b" NICHI "\r\n" HON "\r\nbcd");
  editor.SetSelectedText("");
  EXPECT_EQ(editor.Text(), "acd\r\n" NICHI "xy\r\naef");
}

TEST_F(UnicodeEditorTest, CaseConversionUsesUnicodeCaseAndKeepsTheSelection) {
  Text(
      "stra\xC3\x9F"
      "e " E_ACUTE "mile \xC4\xB1x");
  editor.SetCaretPos({1, 1});
  editor.SetSelectionEnd({static_cast<int>(editor.LineText(1).size()) + 1, 1});
  Run(ecUpperCaseBlock);
  // Sharp s has no single capital; dotless i becomes I and the text one byte shorter.
  EXPECT_EQ(editor.Text(),
            "STRA\xC3\x9F"
            "E \xC3\x89MILE IX");
  EXPECT_EQ(editor.SelectedText(), editor.Text());
  Run(ecUndo);
  EXPECT_EQ(editor.Text(),
            "stra\xC3\x9F"
            "e " E_ACUTE "mile \xC4\xB1x");
}

TEST_F(UnicodeEditorTest, WideCharactersArePaintedOnTheirCells) {
  Text("a" NICHI "b" E_MARK "\t" SMILE);
  TRecordingCanvas canvas;
  PaintAll(canvas);
  const std::vector<std::string> expected = {"a", NICHI, "", "b", E_MARK, " ", " ", " ", SMILE};
  std::vector<std::string> cells = canvas.CellsAt(RowY(1), CellX(1), editor.CellWidth());
  cells.resize(expected.size());
  EXPECT_EQ(cells, expected);
}

// Columns on long lines are counted from marks along the line that follow its
// edits. After each edit (and its undo), made where columns had just been
// asked, every position agrees with a count from the line's start.
TEST_F(UnicodeEditorTest, ColumnsAfterAnEditOfALongLineAgreeWithAFreshCount) {
  std::string mixed, tabbed, cut;  // units of 11, 7 and 3 bytes
  for (int i = 0; i < 40; ++i) {
    mixed += NICHI "ab" E_ACUTE E_MARK " ";
    tabbed += "a" NICHI "\t" E_ACUTE;
    cut +=
        "\xE6\x97"
        "a";  // a wide character without its last byte
  }
  struct Case {
    const char* what;
    const std::string& line;
    std::size_t at, remove;  // bytes
    const char* insert;
  } cases[] = {
      {"a wide character typed in the middle", mixed, 11 * 20 + 3, 0, NICHI},
      {"a stretch across several marks deleted", mixed, 11 * 2 + 5, 11 * 28 - 5, ""},
      {"one cell typed before tabs", tabbed, 7 * 3 + 1, 0, "x"},
      {"a narrow character before tabs made wide", tabbed, 7 * 3, 1, NICHI},
      {"a mark joining the letter before it", mixed, 11 * 20 + 5, 0, "\xCC\x81"},
      {"text typed at the start", mixed, 0, 0, "xy"},
      {"text typed at the end", mixed, mixed.size(), 0, E_ACUTE},
      {"a line broken in two", mixed, 11 * 15, 0, "z\r\n" NICHI},
      {"the missing byte of a cut character typed", cut, 3 * 20 + 2, 0, "\xA5"},
  };
  const ICodePage& cp = *editor.CharSet();
  const auto check = [&](const std::string& what) {
    for (int l = 1; l <= editor.LineCount(); ++l) {
      const std::string s = editor.LineText(l);
      long long col = 0;
      for (std::size_t b = 0;; b = cp.NextCharStart(s, b)) {
        cp.WalkCells(s, b == 0 ? 0 : cp.PrevCharStart(s, b), b, 4, col);
        const int c = static_cast<int>(col) + 1, ch = static_cast<int>(b) + 1;
        ASSERT_EQ(editor.BufferToDisplayPos({ch, l}).Column, c) << what << " at " << b;
        ASSERT_EQ(editor.DisplayToBufferPos({c, l}).Char, ch) << what << " at " << b;
        if (b >= s.size()) break;
      }
      EXPECT_EQ(editor.Lines().GetExpandedLength(l - 1), col) << what;
    }
  };
  for (const auto& c : cases) {
    Text(c.line);
    // Marks all along the line, and the last walk where the edit comes.
    editor.BufferToDisplayPos({static_cast<int>(c.line.size()) + 1, 1});
    editor.BufferToDisplayPos({static_cast<int>(c.at) + 1, 1});
    editor.SetCaretPos({static_cast<int>(c.at) + 1, 1});
    editor.SetSelectionEnd({static_cast<int>(c.at + c.remove) + 1, 1});
    editor.SetSelectedText(c.insert);
    check(c.what);
    Run(ecUndo);
    ASSERT_EQ(editor.Text(), c.line) << c.what;
    check(std::string(c.what) + " undone");
  }
}

// Scrolled sideways, a long line shows from the column at the left edge on,
// a wide character cut by the edge kept out of its first cell.
TEST_F(UnicodeEditorTest, ALongLineScrolledSidewaysShowsItsCellsThere) {
  std::string line;
  std::vector<std::string> cells;  // the line's cells: a character, "" for its second cell
  for (int i = 0; i < 80; ++i) {
    line += NICHI "ab" E_ACUTE E_MARK " ";
    for (const char* c : {NICHI, "", "a", "b", E_ACUTE, E_MARK, " "}) cells.push_back(c);
  }
  Text(line);
  const auto visible = static_cast<std::ptrdiff_t>(editor.VisibleColumns());
  for (const int left : {2, 3, 101, 102, 500}) {
    editor.SetLeftColumn(left);
    TRecordingCanvas canvas;
    PaintAll(canvas);
    // Cells counted from the line's first column, wherever that is now.
    std::vector<std::string> shown = canvas.CellsAt(RowY(1), CellX(1), editor.CellWidth());
    const auto from = cells.begin() + (left - 1);
    const std::vector<std::string> expected(from, from + std::min(visible, cells.end() - from));
    shown.resize(cells.size());
    EXPECT_EQ(std::vector<std::string>(shown.begin() + (left - 1),
                                       shown.begin() + (left - 1) + std::ssize(expected)),
              expected)
        << "left column " << left;
  }
}

// Random edits on text of every width: the text stays well-formed UTF-8 after
// each step, and undoing every step gives back the text it started from.
TEST_F(UnicodeEditorTest, RandomEditsKeepTheTextValidAndUndoRestoresIt) {
  const char* pieces[] = {"a", " ", E_ACUTE, NICHI, SMILE, E_MARK, "\t", "\r\n"};
  std::mt19937 rng(5);
  for (int round = 0; round < 20; ++round) {
    std::string start;
    for (int k = 0; k < 30; ++k) start += pieces[rng() % std::size(pieces)];
    Text(start);
    const std::string loaded = editor.Text();
    editor.ClearUndoHistory();
    editor.SetMaxUndo(10000);
    const TEditorCommand commands[] = {
        ecRight,     ecLeft,        ecDown,           ecUp,         ecSelRight,  ecSelLeft,
        ecSelDown,   ecDeleteChar,  ecDeleteLastChar, ecDeleteWord, ecLineBreak, ecTab,
        ecWordRight, ecSelWordLeft, ecUpperCaseBlock, ecToggleCase};
    for (int step = 0; step < 60; ++step) {
      const int what = static_cast<int>(rng() % 20);
      if (what < 16) {
        Run(commands[what]);
      } else if (what < 18) {
        Type(pieces[rng() % 6]);
      } else {
        editor.SetSelectionMode(what == 18 ? smColumn : smNormal);
        const int line = 1 + static_cast<int>(rng() % static_cast<unsigned>(editor.LineCount()));
        editor.SetCaretPos(editor.DisplayToBufferPos({1 + static_cast<int>(rng() % 12), line}));
        editor.SetSelectionEnd(editor.DisplayToBufferPos({1 + static_cast<int>(rng() % 12), line}));
        editor.SetSelectedText(pieces[rng() % 6]);
      }
      ASSERT_TRUE(IsStrictUtf8(editor.Text())) << "round " << round << " step " << step;
      const TBufferCoord caret = editor.CaretPos();
      const std::string line = editor.LineText(caret.Line);
      if (caret.Char <= static_cast<int>(line.size())) {
        ASSERT_EQ(editor.CharSet()->CharStart(line, static_cast<std::size_t>(caret.Char - 1)),
                  static_cast<std::size_t>(caret.Char - 1))
            << "caret inside a character, round " << round << " step " << step;
      }
    }
    while (editor.CanUndo()) Run(ecUndo);
    ASSERT_EQ(editor.Text(), loaded) << "round " << round;
  }
}

}  // namespace

namespace {

TEST(DocumentText, TextFromDataFilesComesInTheDocumentsCharacterSet) {
  TEditorMemo ansi, unicode;
  unicode.Lines().SetEncoding(TTextEncoding::Utf8Bom);
  std::size_t lost = 0;
  EXPECT_EQ(ansi.DocumentText("caf" E_ACUTE " " NICHI, true, &lost), "caf\xE9 ?");
  EXPECT_EQ(lost, 1u);
  EXPECT_EQ(ansi.DocumentText("caf\xE9", false), "caf\xE9");
  EXPECT_EQ(unicode.DocumentText("caf\xE9", false), "caf" E_ACUTE);
  EXPECT_EQ(unicode.DocumentText(NICHI, true, &lost), NICHI);
  EXPECT_EQ(lost, 0u);
}

}  // namespace

namespace {

// An ANSI (Western code page) document and a Unicode one sharing a clipboard.
class EncodingTest : public EditorFixture {
 protected:
  TMemoryClipboard clipboard;
  TEditorMemo other;
  std::vector<std::string> asked;
  bool answer_yes = false;

  void SetUp() override {
    EditorFixture::SetUp();
    editor.SetClipboard(&clipboard);
    other.SetClipboard(&clipboard);
    other.Lines().SetEncoding(TTextEncoding::Utf8);
    editor.OnCannotStore = [this](TCustomEditor& e, const std::string& character) {
      asked.push_back(character);
      return answer_yes && e.ConvertEncoding(TTextEncoding::Utf8);
    };
  }
  std::string Block(const char* name) {
    const auto it = clipboard.blocks.find(clipboard.RegisterFormat(name));
    return it == clipboard.blocks.end() ? std::string("<none>") : it->second;
  }
};

TEST_F(EncodingTest, CopyOffersUnicodeTextAnsiTextAndBothBlocks) {
  using namespace std::string_literals;
  other.SetText("caf" E_ACUTE " " NICHI);
  other.SelectAllText();
  other.CopyToClipboard();
  EXPECT_EQ(clipboard.blocks[IClipboard::kUnicodeTextFormat], "c\0a\0f\0\xE9\0 \0\xE5\x65\0\0"s);
  EXPECT_EQ(clipboard.blocks[IClipboard::kTextFormat], "caf\xE9 ?\0"s);
  EXPECT_EQ(Block("Quillon Control Block Type"), "\0caf\xE9 ?\0"s);
  EXPECT_EQ(Block("Quillon Control Block Type UTF-8"), "\0caf" E_ACUTE " " NICHI "\0"s);
  // The UTF-8 block wins over the ANSI one, so nothing is lost between
  // Unicode documents.
  TEditorMemo third;
  third.Lines().SetEncoding(TTextEncoding::Utf16LE);
  third.SetClipboard(&clipboard);
  third.PasteFromClipboard();
  EXPECT_EQ(third.Text(), "caf" E_ACUTE " " NICHI);
}

TEST_F(EncodingTest, PastingUnicodeIntoAnAnsiDocumentAsksBeforeItWouldLoseACharacter) {
  using namespace std::string_literals;
  Text("x");
  editor.SetCaretPos({2, 1});
  clipboard.blocks[IClipboard::kUnicodeTextFormat] = "\xE9\0 \0\xE5\x65\0\0"s;  // "é 日"
  answer_yes = false;
  editor.PasteFromClipboard();
  EXPECT_EQ(asked, (std::vector<std::string>{NICHI}));
  EXPECT_EQ(editor.Text(), "x");  // No: nothing changes
  EXPECT_EQ(editor.Lines().Encoding(), TTextEncoding::Ansi);
  answer_yes = true;
  editor.PasteFromClipboard();
  EXPECT_EQ(editor.Lines().Encoding(), TTextEncoding::Utf8);
  EXPECT_EQ(editor.Text(), "x" E_ACUTE " " NICHI);
  EXPECT_TRUE(editor.Modified());
  // What the code page holds goes in without a question.
  asked.clear();
  TEditorMemo ansi;
  ansi.SetClipboard(&clipboard);
  clipboard.blocks.clear();
  clipboard.blocks[IClipboard::kUnicodeTextFormat] = "\xE9\0\0\0"s;
  ansi.PasteFromClipboard();
  EXPECT_EQ(ansi.Text(), "\xE9");
}

TEST_F(EncodingTest, TypedCharactersArriveAsUtf16IncludingSurrogatePairs) {
  Text("");
  editor.TypeText(u"a");
  editor.TypeText(u"\u00E9");  // fits the ANSI code page: one byte
  EXPECT_EQ(editor.Text(), "a\xE9");
  answer_yes = true;
  editor.TypeText(u"\U0001F600");
  EXPECT_EQ(asked, (std::vector<std::string>{SMILE}));
  EXPECT_EQ(editor.Text(), "a" E_ACUTE SMILE);  // the é converted with the file
  editor.InsertInputText(u"\u65E5\u672C");
  EXPECT_EQ(editor.Text(), "a" E_ACUTE SMILE NICHI HON);
}

// A conversion is one step of the history: undone, the document has its
// encoding and bytes back and the edits before it can be undone in them;
// redone, it is converted again. Modified follows the saved state.
TEST_F(EncodingTest, ConvertingIsAStepThatUndoAndRedoGoThrough) {
  using namespace std::string_literals;
  struct Case {
    const char* what;
    TTextEncoding from;
    std::string text;
    TTextEncoding to;
    std::string converted;  // the bytes saved after the conversion
    std::string tail = {};  // the odd byte of a UTF-16 file
  } cases[] = {
      {"ANSI to UTF-8", TTextEncoding::Ansi, "caf\xE9\r\nok", TTextEncoding::Utf8,
       "caf" E_ACUTE "\r\nokx"},
      {"UTF-8 to ANSI", TTextEncoding::Utf8, "caf" E_ACUTE, TTextEncoding::Ansi, "caf\xE9x"},
      {"UTF-8 with a stray byte to UTF-16", TTextEncoding::Utf8, "a\xFF", TTextEncoding::Utf16LE,
       "\xFF\xFE"
       "a\0\xFD\xFFx\0"s},
      {"UTF-8 to UTF-8 with a byte-order mark", TTextEncoding::Utf8, NICHI, TTextEncoding::Utf8Bom,
       "\xEF\xBB\xBF" NICHI "x"},
      {"UTF-16 with an odd byte to UTF-8", TTextEncoding::Utf16LE, "a", TTextEncoding::Utf8, "ax",
       "\x41"},
  };
  int encoding_changes = 0;
  editor.OnEncodingChange = [&](TCustomEditor&) { ++encoding_changes; };
  for (const auto& c : cases) {
    editor.Lines().SetEncoding(c.from);
    Text(c.text);
    editor.Lines().SetEncodingTail(c.tail);
    editor.SetModified(false);
    const std::string saved = editor.Lines().SaveToString();
    Run(ecEditorBottom);
    editor.TypeText(u"x");  // an edit before the conversion
    const std::string typed = editor.Lines().SaveToString();
    encoding_changes = 0;
    ASSERT_TRUE(editor.ConvertEncoding(c.to)) << c.what;
    EXPECT_EQ(editor.Lines().SaveToString(), c.converted) << c.what;
    EXPECT_TRUE(editor.Modified()) << c.what;
    Run(ecUndo);
    EXPECT_EQ(editor.Lines().Encoding(), c.from) << c.what;
    EXPECT_EQ(editor.Lines().SaveToString(), typed) << c.what;
    Run(ecUndo);
    EXPECT_EQ(editor.Lines().SaveToString(), saved) << c.what;
    EXPECT_FALSE(editor.Modified()) << c.what;
    Run(ecRedo);
    Run(ecRedo);
    EXPECT_EQ(editor.Lines().Encoding(), c.to) << c.what;
    EXPECT_EQ(editor.Lines().SaveToString(), c.converted) << c.what;
    EXPECT_EQ(encoding_changes, 3) << c.what;
  }
  // The question while typing: the character that made the file UTF-8 goes
  // first, then the conversion.
  editor.Lines().SetEncoding(TTextEncoding::Ansi);
  Text("caf\xE9");
  Run(ecEditorBottom);
  answer_yes = true;
  editor.TypeText(u"\U0001F600");
  EXPECT_EQ(editor.Text(), "caf" E_ACUTE SMILE);
  Run(ecUndo);
  EXPECT_EQ(editor.Text(), "caf" E_ACUTE);
  Run(ecUndo);
  EXPECT_EQ(editor.Lines().Encoding(), TTextEncoding::Ansi);
  EXPECT_EQ(editor.Text(), "caf\xE9");
}

TEST_F(EncodingTest, ConvertingTheDocumentKeepsItsCharactersOrRefuses) {
  Text("caf\xE9\r\nx");
  editor.SetCaretPos({5, 1});
  ASSERT_TRUE(editor.ConvertEncoding(TTextEncoding::Utf16BE));
  EXPECT_EQ(editor.Text(), "caf" E_ACUTE "\r\nx");
  EXPECT_EQ(editor.CaretPos(), (TBufferCoord{6, 1}));  // still after the é
  EXPECT_EQ(editor.Lines().SaveToString(), std::string("\xFE\xFF\0c\0a\0f\0\xE9\0\r\0\n\0x", 16));
  editor.SetText(NICHI " caf" E_ACUTE " " SMILE);
  std::size_t lost = 0;
  EXPECT_FALSE(editor.ConvertEncoding(TTextEncoding::Ansi, &lost));
  EXPECT_EQ(lost, 2u);
  EXPECT_EQ(editor.Lines().Encoding(), TTextEncoding::Utf16BE);
  editor.SetText("caf" E_ACUTE);
  EXPECT_TRUE(editor.ConvertEncoding(TTextEncoding::Ansi, &lost));
  EXPECT_EQ(editor.Text(), "caf\xE9");
}

}  // namespace
