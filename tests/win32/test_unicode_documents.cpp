// Unicode macro files in the real main window: characters typed as UTF-16
// (a surrogate pair among them), Unicode text pasted from the clipboard, the
// question before an ANSI file would lose a character, File > Encoding and the
// status bar, and the bytes that end up on disk.
#include <cstring>

#include "MainWindowFixture.h"
#include "win32/MainMenus.h"
#include "win32/WideString.h"

namespace {

using namespace std::string_literals;

class UnicodeDocumentTest : public MainWindowFixture {
 protected:
  TTempDir docs;

  // Opens a file holding these bytes.
  std::string Open(const std::string& name, const std::string& bytes) {
    const std::string path = docs.File(name);
    WriteFileBytes(path, bytes);
    form->Document().OpenPath(path);
    return path;
  }
  // Characters as the keyboard delivers them to the editor, through the loop.
  void Type(std::u16string_view units) {
    for (char16_t u : units) PostMessageW(form->EditorHandle(), WM_CHAR, u, 1);
    PumpMessages();
  }
  void PutUnicodeText(std::u16string_view text) { PutClipboardUnicodeText(form->Handle(), text); }
  std::u16string ClipboardUnicodeText() { return ::ClipboardUnicodeText(form->Handle()); }
  std::string EncodingPanel() { return form->StatusBar().Panel(7); }
};

TEST_F(UnicodeDocumentTest, TypedUtf16CharactersGoIntoAUtf8FileAndAreSavedAsUtf8) {
  Start();
  const std::string path = Open("bom.ttl", "\xEF\xBB\xBFsendln '\xE3\x81\x93'\r\n");
  EXPECT_EQ(EncodingPanel(), "UTF-8 BOM");
  EXPECT_EQ(Memo().Lines().GetText(), "sendln '\xE3\x81\x93'\r\n");
  Type(u"a\u00E9\u30DB\xD83D\xDE00");
  EXPECT_TRUE(prompts.Messages().empty());
  form->ExecuteCommand(cmSave);
  EXPECT_EQ(ReadFileBytes(path),
            "\xEF\xBB\xBF"
            "a\xC3\xA9\xE3\x83\x9B\xF0\x9F\x98\x80sendln '\xE3\x81\x93'\r\n");
}

TEST_F(UnicodeDocumentTest, UnicodeTextPastedIntoAUtf16FileIsSavedAsUtf16) {
  Start();
  const std::string path = Open("wide.ttl",
                                "\xFF\xFE"
                                "x\0"s);
  EXPECT_EQ(EncodingPanel(), "UTF-16 LE");
  PutUnicodeText(u"\u65E5\xD83D\xDE00");
  form->ExecuteCommand(cmPaste);
  EXPECT_EQ(Memo().Lines().GetText(), "\xE6\x97\xA5\xF0\x9F\x98\x80x");
  form->ExecuteCommand(cmSave);
  EXPECT_EQ(ReadFileBytes(path),
            "\xFF\xFE\xE5\x65\x3D\xD8\x00\xDE"
            "x\0"s);
  // Copying gives other programs the characters as UTF-16.
  form->ExecuteCommand(cmSelectAll);
  form->ExecuteCommand(cmCopy);
  EXPECT_EQ(ClipboardUnicodeText(), u"\u65E5\xD83D\xDE00x");
}

TEST_F(UnicodeDocumentTest, AnAnsiFileAsksBeforeItWouldLoseACharacter) {
  Start();
  const std::string cafe = AnsiFromUtf8("caf\xC3\xA9");
  const std::string path = Open("ansi.ttl", cafe);
  EXPECT_EQ(EncodingPanel(), "ANSI");
  prompts.AnswerMessage(mrNo);
  Type(u"\u30DB");
  ASSERT_EQ(prompts.Messages(),
            (std::vector<std::string>{"The character '\xE3\x83\x9B' cannot be stored in this "
                                      "file's ANSI encoding. Convert the file to UTF-8? (Tera "
                                      "Term 4.102 and later read UTF-8 macros.)"}));
  EXPECT_EQ(Memo().Lines().GetText(), cafe);
  EXPECT_FALSE(form->Document().Modified());
  prompts.AnswerMessage(mrYes);
  Type(u"\u30DB");
  EXPECT_EQ(EncodingPanel(), "UTF-8");
  EXPECT_TRUE(form->Document().Modified());
  form->ExecuteCommand(cmSave);
  EXPECT_EQ(ReadFileBytes(path),
            "\xE3\x83\x9B"
            "caf\xC3\xA9");
}

TEST_F(UnicodeDocumentTest, TheEncodingMenuConvertsHowTheFileIsSaved) {
  Start();
  const std::string path = Open("plain.ttl", "wait '$'\r\n");
  HMENU file = GetSubMenu(GetMenu(form->Handle()), 0);
  const auto checked = [&](int index) {
    return (GetMenuState(file, kFirstEncodingCommand + index, MF_BYCOMMAND) & MF_CHECKED) != 0;
  };
  EXPECT_TRUE(checked(0));
  SendMessageW(form->Handle(), WM_COMMAND, kFirstEncodingCommand + 4, 0);  // UTF-16 BE
  EXPECT_EQ(EncodingPanel(), "UTF-16 BE");
  EXPECT_TRUE(checked(4));
  EXPECT_FALSE(checked(0));
  EXPECT_TRUE(form->Document().Modified());
  form->ExecuteCommand(cmSave);
  EXPECT_EQ(ReadFileBytes(path), "\xFE\xFF\0w\0a\0i\0t\0 \0'\0$\0'\0\r\0\n"s);
  // Back to ANSI would lose the Japanese character: the file stays UTF-16.
  Type(u"\u30DB");
  SendMessageW(form->Handle(), WM_COMMAND, kFirstEncodingCommand + 0, 0);
  EXPECT_EQ(EncodingPanel(), "UTF-16 BE");
  ASSERT_EQ(prompts.Messages().size(), 1u);
  EXPECT_NE(prompts.Messages()[0].find("1 character "), std::string::npos) << prompts.Messages()[0];
}

TEST_F(UnicodeDocumentTest, UntouchedFilesOfEveryEncodingSaveBackByteForByte) {
  Start();
  const std::string files[] = {
      "\xEF\xBB\xBF\xE9 malformed after the mark",
      "\xFF\xFE\x3D\xD8"
      "a\0\0\0b"s,  // lone surrogate, NUL character, odd byte count
      "\xFE\xFF\0x\r"s,
      "plain \xE3\x81\x93 UTF-8",
      "ANSI \xE9\xFF",
  };
  int n = 0;
  for (const std::string& bytes : files) {
    const std::string path = Open("f" + std::to_string(++n) + ".ttl", bytes);
    form->ExecuteCommand(cmSave);
    EXPECT_EQ(ReadFileBytes(path), bytes) << "file " << n;
  }
}

}  // namespace
