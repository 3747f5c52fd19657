// The main window's recent-files list: the last four files opened or saved
// under a new name, after "Exit" in the "File" menu, kept in the settings key.
#include "platform/FileSystem.h"
#include "platform/Registry.h"
#include "win32/MainWindow.h"
#include "win32/RecentFilesMenu.h"

namespace {

// Lets the closing menu finish repainting before anything is asked.
void ProcessPendingMessages() {
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    if (msg.message == WM_QUIT) {
      PostQuitMessage(static_cast<int>(msg.wParam));  // for the main loop
      return;
    }
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
}

}  // namespace

void TForm1::CreateRecentFiles() {
  if (!services_.registry) return;
  mru_ = std::make_unique<TRecentFilesMenu>(GetSubMenu(GetMenu(handle_), 0), *services_.registry,
                                            kSettingsKeyPath);
  mru_->OnMenuClick = [this](TMostRecentFiles&, const std::string& path) {
    RecentFileChosen(path);
  };
  mru_->OnFileNotExist = [this](TMostRecentFiles&, const std::string& path) {
    RecentFileMissing(path);
  };
}

void TForm1::RecentFileChosen(const std::string& path) {
  // The menu closes first, so the save question does not appear over it.
  ProcessPendingMessages();
  if (!FileSystem().FileExists(path)) return;
  document_.OpenPath(path);
}

void TForm1::RecentFileMissing(const std::string& path) {
  ShowWarning(prompts_, "The file '" + DisplayName(path) + "' does not exist.");
}
