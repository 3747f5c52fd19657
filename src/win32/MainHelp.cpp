// The main window's help: Tera Term's help file at its contents or at the
// topic of the macro command under the caret, and the About window.
#include "win32/AboutWindow.h"
#include "win32/HelpCommand.h"
#include "win32/MainWindow.h"

void TForm1::CreateHelp() {
  help_ = std::make_unique<THelpCommand>(program_dir_, prompts_, handle_);
  about_ = std::make_unique<TForm6>(handle_);
  OnHelpTopic = [this](std::int32_t topic) { Guarded([&] { help_->HelpTopic(topic); }); };
}
