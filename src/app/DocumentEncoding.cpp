#include "app/DocumentEncoding.h"

#include "editor/Editor.h"
#include "platform/Prompts.h"

std::string CannotStoreQuestion(const std::string& character) {
  return "The character '" + character +
         "' cannot be stored in this file's ANSI encoding. Convert the file to UTF-8? (Tera Term "
         "4.102 and later read UTF-8 macros.)";
}

std::string AnsiLossWarning(std::size_t lost) {
  return "The file cannot be converted to ANSI: " + std::to_string(lost) +
         (lost == 1 ? " character" : " characters") +
         " cannot be stored in the ANSI encoding. The encoding was not changed.";
}

bool AskConvertToUtf8(TCustomEditor& editor, IUserPrompts& prompts, const std::string& character) {
  const int answer = prompts.Message(CannotStoreQuestion(character), "Warning",
                                     TMessageKind::Warning, TMessageButtons::YesNo);
  return answer == mrYes && editor.ConvertEncoding(TTextEncoding::Utf8);
}

bool ChooseDocumentEncoding(TCustomEditor& editor, IUserPrompts& prompts, TTextEncoding encoding) {
  if (editor.Lines().Encoding() == encoding) return false;
  std::size_t lost = 0;
  if (editor.ConvertEncoding(encoding, &lost)) return true;
  ShowWarning(prompts, AnsiLossWarning(lost));
  return false;
}
