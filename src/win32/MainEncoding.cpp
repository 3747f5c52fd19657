// The document's encoding in the main window: the question before an ANSI
// file would lose a typed or pasted character, File > Encoding, the status
// bar's panel 7 and the character set the highlighter reads the lines in.
#include "app/DocumentEncoding.h"
#include "editor/EditorMemo.h"
#include "language/TtlHighlighter.h"
#include "win32/MainMenus.h"
#include "win32/MainWindow.h"

void TForm1::ConfigureEncoding() {
  memo_->OnCannotStore = [this](TCustomEditor& editor, const std::string& character) {
    return AskConvertToUtf8(editor, prompts_, character);
  };
  // Converting, and undoing or redoing a conversion.
  memo_->OnEncodingChange = [this](TCustomEditor&) { EncodingChanged(); };
  EncodingChanged();
}

HMENU TForm1::EncodingMenu() const {
  HMENU file = GetSubMenu(GetMenu(handle_), 0);
  for (int i = 0; i < GetMenuItemCount(file); ++i) {
    HMENU sub = GetSubMenu(file, i);
    if (sub && GetMenuItemID(sub, 0) == kFirstEncodingCommand) return sub;
  }
  return nullptr;
}

void TForm1::EncodingChanged() {
  const TTextEncoding encoding = memo_->Lines().Encoding();
  if (ttm_->CodePage() != memo_->CharSet()) {
    ttm_->SetCodePage(memo_->CharSet());
    // A double-byte code page reads lead bytes that UTF-8 does not have: the
    // states of the lines are scanned again in the new character set.
    if (code_page_.Form() == TCharForm::DoubleByte) {
      memo_->SetHighlighter(nullptr);
      memo_->SetHighlighter(ttm_.get());
    }
  }
  status_bar_.SetPanel(7, std::string(TextEncodingName(encoding)));
  FollowDocument();
  if (HMENU menu = EncodingMenu()) {
    for (std::size_t i = 0; i < std::size(kAllTextEncodings); ++i)
      CheckMenuItem(menu, kFirstEncodingCommand + static_cast<UINT>(i),
                    MF_BYCOMMAND | (kAllTextEncodings[i] == encoding ? MF_CHECKED : MF_UNCHECKED));
  }
}

void TForm1::ChooseEncoding(int index) {
  if (index < 0 || index >= static_cast<int>(std::size(kAllTextEncodings))) return;
  ChooseDocumentEncoding(*memo_, prompts_, kAllTextEncodings[index]);
}
