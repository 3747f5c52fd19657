// Quillon: an editor for Tera Term macro files.
#include <windows.h>
#include <commctrl.h>

#include "win32/MainWindow.h"
#include "win32/Shell.h"
#include "win32/Win32FileSystem.h"
#include "win32/Win32Prompts.h"
#include "win32/Win32Registry.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int show) {
  INITCOMMONCONTROLSEX controls{sizeof controls, ICC_BAR_CLASSES | ICC_WIN95_CLASSES};
  InitCommonControlsEx(&controls);
  InstallWin32FileSystem();

  TWin32Prompts prompts;
  TWin32Registry registry;
  TMainWindowServices services;
  services.prompts = &prompts;
  services.registry = &registry;
  services.program_dir = ExecutableDirectory();

  TForm1 form(services);
  HWND main = form.Create();
  prompts.SetOwner(main);
  ShowWindow(main, form.FirstShowCommand(show));
  UpdateWindow(main);
  form.FinishStartup(CommandLineArguments());

  MSG msg;
  // The wide loop gives Unicode windows (the title, the parameter boxes) every
  // character; the system hands the ANSI editor window its characters in the
  // code page as before.
  while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
    if (form.HandleShortCut(msg)) continue;
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
    form.AfterDispatch(msg);
  }
  return static_cast<int>(msg.wParam);
}
