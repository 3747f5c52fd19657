#pragma once
// Remembering where the main window was: saved when it closes, restored at the
// end of its creation. The values live in the subkey settings key + "\T" +
// object name (for the main window "Software\Brevik\Quillon\TForm1") below the
// current user.
#include <windows.h>

#include <string>

#include "app/WindowPlacement.h"
#include "platform/Registry.h"

// Stores the window's placement. A window the user minimized is stored with
// show state 2. Nothing is stored, and nothing is reported, when the subkey
// cannot be created or written.
void SaveWindowPlacement(HWND window, IRegistry& registry, const std::string& settings_key_path,
                         const std::string& object_name = kMainWindowObjectName);

// Restores a stored placement, if any, and gives the state the window was set
// to (normal when nothing was stored). Meant for a window that is not visible
// yet; applying the placement leaves it hidden.
//  - Normal: the window keeps its state; a visible window is shown normal.
//  - Maximized: a visible window is maximized at once; a hidden one gets a
//    posted maximize command, so it is maximized as soon as the message loop
//    runs after it has been shown. Showing it first with SW_SHOWMAXIMIZED
//    (instead of the start-up show command) avoids a flash of the normal size.
//  - Minimized: the window stays normal and a minimize command is posted, so the
//    program shows minimized on the taskbar once it runs.
TWindowState RestoreWindowPlacement(HWND window, IRegistry& registry,
                                    const std::string& settings_key_path,
                                    const std::string& object_name = kMainWindowObjectName);

// The show command for a window's first ShowWindow after a restore: maximized
// when the restore set that state, else the command the program was started with.
int FirstShowCommand(TWindowState restored, int start_show_command);
