// The settings the main window keeps itself: the macro parameters, read at
// start-up and written when the window closes, and the "Show special
// characters" toggle, written the moment it changes.
#include "editor/EditorMemo.h"
#include "win32/MainWindow.h"

namespace {

void ShowSpecialChars(TEditorMemo& memo, bool on) {
  const TEditorOptions option{eoShowSpecialChars};
  memo.SetOptions(on ? memo.Options() + option : memo.Options() - option);
}

}  // namespace

void TForm1::LoadWindowSettings() {
  if (!services_.registry) return;
  const TMacroParams params = LoadParams(*services_.registry);
  toolbar_.SetParamText(2, params.param2);
  toolbar_.SetParamText(3, params.param3);
  if (const auto show_special = LoadShowSpecial(*services_.registry)) {
    toolbar_.SetChecked(cmShowSpecial, *show_special);
    ShowSpecialChars(*memo_, *show_special);
  }
}

void TForm1::SaveWindowSettings() {
  if (services_.registry)
    SaveParams(*services_.registry, {toolbar_.ParamText(2), toolbar_.ParamText(3)});
}

void TForm1::ApplyShowSpecial(bool on) {
  ShowSpecialChars(*memo_, on);
  if (services_.registry) SaveShowSpecial(*services_.registry, on);
}
