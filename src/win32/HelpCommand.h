#pragma once
// The Help menu's "TeraTerm Help" and context help on the keyword under the
// caret, both opening Tera Term's help file beside the program.
#include <windows.h>

#include <cstdint>

#include "app/HelpTopics.h"
#include "platform/ProgramDir.h"
#include "platform/Prompts.h"
#include "win32/HtmlHelpViewer.h"

class THelpCommand {
 public:
  // owner: the window the help windows belong to (may be set later).
  THelpCommand(const TProgramDirectory& program_dir, IUserPrompts& prompts, HWND owner = nullptr);
  THelpCommand(const THelpCommand&) = delete;
  THelpCommand& operator=(const THelpCommand&) = delete;

  void SetOwner(HWND owner) { viewer_.SetOwner(owner); }

  // "TeraTerm Help" (menu, Ctrl+Shift+F1): the table of contents, or the topic
  // context help left pending.
  void TeraTermHelp() { help_.Execute(); }
  // Ctrl+F1: the topic of the word at the caret; 0 opens the table of contents.
  void HelpTopic(std::int32_t topic) { help_.ShowHelpTopic(topic); }

  TTeraTermHelp& Help() { return help_; }
  THtmlHelpViewer& Viewer() { return viewer_; }

 private:
  THtmlHelpViewer viewer_;
  TTeraTermHelp help_;
};
