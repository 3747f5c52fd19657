// The main window's Run and Run to cursor.
#include "editor/EditorMemo.h"
#include "win32/MainWindow.h"
#include "win32/Win32MacroPlatform.h"

void TForm1::CreateMacroRunner() {
  macro_platform_ = std::make_unique<TWin32MacroPlatform>();
  macro_runner_ = std::make_unique<TMacroRunner>(program_dir_, prompts_, *macro_platform_);
}

void TForm1::RunMacro(bool whole_text) {
  std::string text;
  if (whole_text) {
    text = memo_->Lines().GetText();
  } else {
    // Lines 1 to the caret's line, each with its line break.
    const int last = std::min(memo_->CaretY(), memo_->Lines().Count());
    for (int i = 0; i < last; ++i) {
      text += memo_->Lines().LineView(i);
      text += "\r\n";
    }
  }
  macro_runner_->RunMacro(text, toolbar_.ParamText(2), toolbar_.ParamText(3),
                          document_.CurrentFileName(),
                          IsUnicodeEncoding(memo_->Lines().Encoding()));
}

void TForm1::DeleteTempMacroFiles() { macro_runner_->DeleteTempMacroFiles(); }
