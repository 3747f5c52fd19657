#pragma once
// Helpers for the tests that run the real windows under Wine.
#include <windows.h>
#include <shellapi.h>

#include <string>
#include <string_view>
#include <vector>

// A fresh directory under the system's temporary directory, removed with
// everything in it when the object goes away. Paths are UTF-8; a name gives
// the directory that name (inside a fresh one).
class TTempDir {
 public:
  explicit TTempDir(const std::string& name = "");
  ~TTempDir();
  TTempDir(const TTempDir&) = delete;
  TTempDir& operator=(const TTempDir&) = delete;
  const std::string& Path() const { return path_; }
  // Path of a file in the directory, with a backslash between.
  std::string File(const std::string& name) const { return path_ + "\\" + name; }

 private:
  std::string path_;
};

void WriteFileBytes(const std::string& path, const std::string& bytes);
std::string ReadFileBytes(const std::string& path);
bool FileExistsOnDisk(const std::string& path);

// Copies a data file of the source tree ("KeyFile.ini", ...) into a directory.
void CopyDataFile(const std::string& name, const std::string& dir);

// Handles every message waiting for this thread.
void PumpMessages();

// A drop of the given files, as the shell hands it to a window.
HDROP MakeDrop(const std::vector<std::string>& files);

// A window's text, UTF-8.
std::string WindowText(HWND hwnd);

// The clipboard's Unicode text, put there as another program would, and read.
void PutClipboardUnicodeText(HWND owner, std::u16string_view text);
std::u16string ClipboardUnicodeText(HWND owner);

// A shown top-level window that does nothing but hold child windows under
// test, of its own window class.
HWND MakeTestParentWindow(const char* class_name, int x, int y, int width, int height);

// Removes the program's settings key, so that each test starts from defaults.
void ClearSettingsKey();
