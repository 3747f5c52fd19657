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
