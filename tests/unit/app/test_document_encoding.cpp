#include <gtest/gtest.h>

#include "app/DocumentEncoding.h"
#include "editor/EditorMemo.h"
#include "support/ScriptedPrompts.h"

namespace {

TEST(DocumentEncoding, ACharacterAnAnsiFileCannotHoldIsAskedAboutOnce) {
  TEditorMemo editor;
  TScriptedPrompts prompts;
  editor.OnCannotStore = [&](TCustomEditor& e, const std::string& ch) {
    return AskConvertToUtf8(e, prompts, ch);
  };
  editor.SetText("x");
  prompts.AnswerMessage(mrNo);
  editor.InsertInputText(u"\u3053\u3093");
  ASSERT_EQ(prompts.Messages(),
            (std::vector<std::string>{"The character '\xE3\x81\x93' cannot be stored in this "
                                      "file's ANSI encoding. Convert the file to UTF-8? (Tera "
                                      "Term 4.102 and later read UTF-8 macros.)"}));
  EXPECT_EQ(editor.Text(), "x");
  prompts.AnswerMessage(mrYes);
  editor.InsertInputText(u"\u3053\u3093");
  EXPECT_EQ(prompts.Log().size(), 2u);
  EXPECT_EQ(editor.Lines().Encoding(), TTextEncoding::Utf8);
  EXPECT_EQ(editor.Text(), "\xE3\x81\x93\xE3\x82\x93x");
}

TEST(DocumentEncoding, ChoosingAnsiThatWouldLoseCharactersSaysHowMany) {
  TEditorMemo editor;
  TScriptedPrompts prompts;
  editor.Lines().SetEncoding(TTextEncoding::Utf8Bom);
  editor.SetText("\xE3\x81\x93\xE3\x82\x93 caf\xC3\xA9");
  EXPECT_FALSE(ChooseDocumentEncoding(editor, prompts, TTextEncoding::Ansi));
  EXPECT_EQ(prompts.Messages(), (std::vector<std::string>{AnsiLossWarning(2)}));
  EXPECT_EQ(editor.Lines().Encoding(), TTextEncoding::Utf8Bom);
  EXPECT_TRUE(ChooseDocumentEncoding(editor, prompts, TTextEncoding::Utf16LE));
  EXPECT_EQ(editor.Lines().Encoding(), TTextEncoding::Utf16LE);
  EXPECT_TRUE(editor.Modified());
  EXPECT_EQ(prompts.Log().size(), 1u);
}

}  // namespace
