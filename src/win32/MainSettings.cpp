// The main window's settings: the settings window, which loads, applies and
// stores most of them; the macro parameters, read at start-up and written
// when the window closes; and the "Show special characters" toggle, written
// the moment it changes.
#include "editor/EditorMemo.h"
#include "language/TtlHighlighter.h"
#include "win32/MainWindow.h"
#include "win32/SettingsWindow.h"
#include "win32/Shell.h"

namespace {

void ShowSpecialChars(TEditorMemo& memo, bool on) {
  const TEditorOptions option{eoShowSpecialChars};
  memo.SetOptions(on ? memo.Options() + option : memo.Options() - option);
}

}  // namespace

void TForm1::CreateSettingsWindow() {
  if (!services_.registry) return;
  TSettingsWindowServices s;
  s.owner = handle_;
  s.main_editor = memo_.get();
  s.main_highlighter = ttm_.get();
  s.preview_highlighter = preview_highlighter_.get();
  s.registry = services_.registry;
  s.prompts = &prompts_;
  s.program_dir = program_dir_.Directory();
  s.exe_path = ExecutablePath();
  s.OnApplied = [this] { Guarded([&] { BuildTemplateMenu(); }); };
  s.OnShowSpecialState = [this](bool on) { toolbar_.SetChecked(cmShowSpecial, on); };
  s.OnCheckMacros = [this](bool on) { SetMacroChecking(on); };
  s.CurrentFileName = [this] { return document_.CurrentFileName(); };
  s.GetSCPWidth = [this] { return scp_->Width(); };
  s.SetSCPWidth = [this](int width) { scp_->SetWidth(width); };
  // Loads the stored settings and applies them to the main editor.
  settings_ = std::make_unique<TfrmSettings>(s);
}

void TForm1::OpenSettings() {
  if (settings_) settings_->Execute(toolbar_.Checked(cmShowSpecial));
}

std::string TForm1::TemplatePath() const {
  return settings_ ? settings_->TemplatePath() : program_dir_.ProgramDirFile("ttmacro.tpl");
}

void TForm1::LoadWindowSettings() {
  if (!services_.registry) return;
  const TMacroParams params = LoadParams(*services_.registry);
  toolbar_.SetParamText(2, params.param2);
  toolbar_.SetParamText(3, params.param3);
}

void TForm1::SaveWindowSettings() {
  if (services_.registry)
    SaveParams(*services_.registry, {toolbar_.ParamText(2), toolbar_.ParamText(3)});
}

void TForm1::ApplyShowSpecial(bool on) {
  ShowSpecialChars(*memo_, on);
  if (settings_) settings_->SetShowSpecialChecked(on);
  if (services_.registry) SaveShowSpecial(*services_.registry, on);
}
