#include <gtest/gtest.h>
#include <windows.h>
// (before the helpers, which hand out dropped-file handles)
#include <shellapi.h>

#include <memory>
#include <string>

#include "WineTestSupport.h"
#include "editor/EditorTextBuffer.h"
#include "win32/Win32FileSystem.h"

namespace {

int FilesIn(const std::string& dir) {
  WIN32_FIND_DATAA data;
  HANDLE h = FindFirstFileA((dir + "\\*").c_str(), &data);
  if (h == INVALID_HANDLE_VALUE) return 0;
  int n = 0;
  do {
    if (!(data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) ++n;
  } while (FindNextFileA(h, &data));
  FindClose(h);
  return n;
}

// The file-system path beneath Wine of a Windows path, or "" outside Wine.
std::string HostPath(const std::string& path) {
  using Query = char*(__cdecl*)(const WCHAR*);
  const auto query = reinterpret_cast<Query>(reinterpret_cast<void*>(
      GetProcAddress(GetModuleHandleA("kernel32.dll"), "wine_get_unix_file_name")));
  if (!query) return "";
  std::wstring wide(path.begin(), path.end());
  char* host = query(wide.c_str());
  if (!host) return "";
  std::string result = host;
  HeapFree(GetProcessHeap(), 0, host);
  return result;
}

// Runs a shell command of the system beneath Wine and waits for it: Wine starts
// such a program without a process handle, so it leaves a mark when done.
bool RunHostShell(const std::string& command, const TTempDir& scratch) {
  const std::string mark = scratch.File("done.mark");
  DeleteFileA(mark.c_str());
  std::string line = "/bin/sh -c \"" + command + "; touch '" + HostPath(mark) + "'\"";
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process{};
  if (!CreateProcessA("Z:\\bin\\sh", line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                      &startup, &process))
    return false;
  if (process.hProcess) CloseHandle(process.hProcess);
  if (process.hThread) CloseHandle(process.hThread);
  for (int i = 0; i < 500 && !FileExistsOnDisk(mark); ++i) Sleep(10);
  return DeleteFileA(mark.c_str()) != 0;
}

// A folder whose files may be written but where no new file may be made. Wine
// does not apply Windows permissions, so the refusal is made in the host file
// system: no write permission on the folder, and, since an administrator
// ignores permissions, the immutable attribute as well.
class TFolderWithoutCreateRights {
 public:
  TFolderWithoutCreateRights(const TTempDir& folder, const TTempDir& scratch)
      : host_(HostPath(folder.Path())), scratch_(scratch) {
    if (!host_.empty())
      RunHostShell("chmod a-w '" + host_ + "'; chattr +i '" + host_ + "' 2>/dev/null", scratch_);
  }
  ~TFolderWithoutCreateRights() {
    if (!host_.empty())
      RunHostShell("chattr -i '" + host_ + "' 2>/dev/null; chmod u+w '" + host_ + "'", scratch_);
  }

 private:
  std::string host_;
  const TTempDir& scratch_;
};

bool CanCreateFileIn(const std::string& dir) {
  const std::string probe = dir + "\\probe.tmp";
  HANDLE h = CreateFileA(probe.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                         FILE_ATTRIBUTE_NORMAL, nullptr);
  if (h == INVALID_HANDLE_VALUE) return false;
  CloseHandle(h);
  DeleteFileA(probe.c_str());
  return true;
}

// Backups of `name` left in the user's temporary folder.
int BackupsOf(const std::string& name) {
  char temp[MAX_PATH];
  GetTempPathA(MAX_PATH, temp);
  WIN32_FIND_DATAA data;
  HANDLE h = FindFirstFileA((std::string(temp) + name + ".~*.bak").c_str(), &data);
  if (h == INVALID_HANDLE_VALUE) return 0;
  int n = 0;
  do ++n;
  while (FindNextFileA(h, &data));
  FindClose(h);
  return n;
}

// Runs a test body with the Windows file system installed.
class SafeSaveOnDisk : public testing::Test {
 protected:
  void SetUp() override {
    fs_ = CreateWin32FileSystem();
    previous_ = &FileSystem();
    SetFileSystem(fs_.get());
  }
  void TearDown() override { SetFileSystem(previous_ == &StdFileSystem() ? nullptr : previous_); }

  std::unique_ptr<IFileSystem> fs_;
  IFileSystem* previous_ = nullptr;
  TTempDir dir_;
};

}  // namespace

TEST_F(SafeSaveOnDisk, SavingReplacesTheFileAndLeavesNoTemporaryFile) {
  const std::string path = dir_.File("macro.ttl");
  WriteFileBytes(path, "old\r\ntext\r\n");
  TEditorStringList list;
  list.LoadFromFile(path);
  list.SetLine(1, "new");
  list.SaveToFile(path);
  EXPECT_EQ(ReadFileBytes(path), "old\r\nnew\r\n");
  list.SaveToFile(dir_.File("other.ttl"));
  EXPECT_EQ(ReadFileBytes(dir_.File("other.ttl")), "old\r\nnew\r\n");
  EXPECT_EQ(FilesIn(dir_.Path()), 2);
}

TEST_F(SafeSaveOnDisk, AReadOnlyFileIsNotOverwritten) {
  const std::string path = dir_.File("locked.ttl");
  WriteFileBytes(path, "original");
  ASSERT_TRUE(SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_READONLY));
  TEditorStringList list;
  list.Add("replacement");
  try {
    list.SaveToFile(path);
    ADD_FAILURE() << "no error";
  } catch (const EFileError& e) {
    EXPECT_EQ(e.Message().rfind("Cannot create file \"" + path + "\". ", 0), 0u) << e.Message();
  }
  SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
  EXPECT_EQ(ReadFileBytes(path), "original");
  EXPECT_EQ(FilesIn(dir_.Path()), 1);
}

TEST_F(SafeSaveOnDisk, AFileHeldOpenByAnotherProgramCanBeReadButNotReplaced) {
  const std::string path = dir_.File("shared.ttl");
  WriteFileBytes(path, "a\nb");
  // Another program writing the file (sharing it) does not stop a load.
  HANDLE writer = CreateFileA(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                              nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(writer, INVALID_HANDLE_VALUE);
  TEditorStringList list;
  list.LoadFromFile(path);
  EXPECT_EQ(list.Count(), 2);
  CloseHandle(writer);

  // A program holding it without sharing: the save fails and the file stays.
  HANDLE exclusive = CreateFileA(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                                 FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(exclusive, INVALID_HANDLE_VALUE);
  list.SetLine(0, "changed");
  EXPECT_THROW(list.SaveToFile(path), EFileError);
  CloseHandle(exclusive);
  EXPECT_EQ(ReadFileBytes(path), "a\nb");
  EXPECT_EQ(FilesIn(dir_.Path()), 1);
}

TEST_F(SafeSaveOnDisk, MissingFilesAndDirectoriesGiveTheFileErrors) {
  TEditorStringList list;
  list.Add("kept");
  const std::string gone = dir_.File("gone.ttl");
  try {
    list.LoadFromFile(gone);
    ADD_FAILURE() << "no error";
  } catch (const EFileError& e) {
    EXPECT_EQ(e.Message().rfind("Cannot open file \"" + gone + "\". ", 0), 0u) << e.Message();
    EXPECT_GT(e.Message().size(), ("Cannot open file \"" + gone + "\". ").size());
  }
  try {
    list.SaveToFile(dir_.Path());
    ADD_FAILURE() << "no error";
  } catch (const EFileError& e) {
    EXPECT_EQ(e.Message().rfind("Cannot create file \"" + dir_.Path() + "\". ", 0), 0u)
        << e.Message();
  }
  EXPECT_EQ(list.GetLine(0), "kept");
  EXPECT_EQ(FilesIn(dir_.Path()), 0);
}

TEST_F(SafeSaveOnDisk, WhereNoSwapIsPossibleTheFileIsOverwrittenInPlace) {
  TTempDir scratch;
  for (const bool held : {false, true}) {
    SCOPED_TRACE(held ? "held without delete sharing" : "folder without create rights");
    const std::string path = dir_.File("refused.ttl");
    WriteFileBytes(path, "old\r\ntext");
    TEditorStringList list;
    list.LoadFromFile(path);
    list.SetLine(1, "new");
    if (held) {
      // A viewer that reads the file and lets others write it, but not delete it.
      HANDLE viewer = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                  nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
      ASSERT_NE(viewer, INVALID_HANDLE_VALUE);
      list.SaveToFile(path);
      CloseHandle(viewer);
    } else {
      TFolderWithoutCreateRights refuse(dir_, scratch);
      if (CanCreateFileIn(dir_.Path())) GTEST_SKIP() << "the folder could not be made read-only";
      list.SaveToFile(path);
      // A new file is still refused: there is nothing to overwrite.
      EXPECT_THROW(list.SaveToFile(dir_.File("other.ttl")), EFileError);
    }
    EXPECT_EQ(ReadFileBytes(path), "old\r\nnew");
    EXPECT_EQ(FilesIn(dir_.Path()), 1);
    EXPECT_EQ(BackupsOf("refused.ttl"), 0);
  }
}
