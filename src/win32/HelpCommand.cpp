#include "win32/HelpCommand.h"

THelpCommand::THelpCommand(const TProgramDirectory& program_dir, IUserPrompts& prompts, HWND owner)
    : viewer_(program_dir, owner), help_(program_dir, viewer_, prompts) {}
