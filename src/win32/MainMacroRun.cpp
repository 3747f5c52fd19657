// The main window's Run and Run to cursor, and the two parameter boxes whose
// values are kept in the settings key between sessions.
#include "editor/EditorMemo.h"
#include "win32/MainWindow.h"
#include "win32/Win32MacroPlatform.h"

namespace {

std::string EditText(HWND edit) {
  std::string text(static_cast<std::size_t>(GetWindowTextLengthA(edit)) + 1, '\0');
  text.resize(static_cast<std::size_t>(GetWindowTextA(edit, text.data(), static_cast<int>(text.size()))));
  return text;
}

}  // namespace

void TForm1::CreateMacroRunner() {
  macro_platform_ = std::make_unique<TWin32MacroPlatform>();
  macro_runner_ = std::make_unique<TMacroRunner>(program_dir_, prompts_, *macro_platform_);
  if (!services_.registry) return;
  const TMacroParams params = LoadParams(*services_.registry);
  SetWindowTextA(toolbar_.ParamEdit(2), params.param2.c_str());
  SetWindowTextA(toolbar_.ParamEdit(3), params.param3.c_str());
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
  macro_runner_->RunMacro(text, EditText(toolbar_.ParamEdit(2)), EditText(toolbar_.ParamEdit(3)));
}

void TForm1::SaveMacroSession() {
  if (services_.registry)
    SaveParams(*services_.registry,
               {EditText(toolbar_.ParamEdit(2)), EditText(toolbar_.ParamEdit(3))});
  macro_runner_->DeleteTempMacroFiles();
}
