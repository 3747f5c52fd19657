#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "editor/EditorTextBuffer.h"
#include "platform/FileSystem.h"

namespace {

namespace fs = std::filesystem;

// A fresh directory under the system's temporary directory, removed afterwards.
class TempDir {
 public:
  TempDir() {
    std::string pattern = (fs::temp_directory_path() / "linebuffer-XXXXXX").string();
    path_ = ::mkdtemp(pattern.data()) ? pattern : "";
  }
  ~TempDir() {
    std::error_code ec;
    fs::permissions(path_, fs::perms::owner_all, fs::perm_options::add, ec);
    fs::remove_all(path_, ec);
  }
  std::string File(const std::string& name) const { return path_ + "/" + name; }
  int Entries() const {
    int n = 0;
    for ([[maybe_unused]] const auto& entry : fs::directory_iterator(path_)) ++n;
    return n;
  }
  const std::string& Path() const { return path_; }

 private:
  std::string path_;
};

void WriteBytes(const std::string& path, const std::string& bytes) {
  std::ofstream(path, std::ios::binary) << bytes;
}

std::string ReadBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

std::string MessageOf(const std::function<void()>& action) {
  try {
    action();
  } catch (const EFileError& e) {
    return e.Message();
  }
  return "(no error)";
}

}  // namespace

TEST(DiskFiles, SavingReplacesTheFileAndLeavesNothingElseBehind) {
  TempDir dir;
  const std::string path = dir.File("macro.ttl");
  WriteBytes(path, "old\nlines\n");
  ::chmod(path.c_str(), 0640);
  TEditorStringList list;
  list.LoadFromFile(path);
  list.SetLine(1, "new");
  list.SaveToFile(path);
  EXPECT_EQ(ReadBytes(path), "old\nnew\n");
  EXPECT_EQ(dir.Entries(), 1);
  struct stat st;
  ASSERT_EQ(::stat(path.c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0640u);  // the saved file keeps its permissions

  list.SaveToFile(dir.File("copy.ttl"));  // a file that did not exist yet
  EXPECT_EQ(ReadBytes(dir.File("copy.ttl")), "old\nnew\n");
  EXPECT_EQ(dir.Entries(), 2);
}

TEST(DiskFiles, SavingThroughALinkWritesTheFileItNames) {
  TempDir dir;
  WriteBytes(dir.File("real.ttl"), "a");
  ASSERT_EQ(::symlink(dir.File("real.ttl").c_str(), dir.File("link.ttl").c_str()), 0);
  TEditorStringList list;
  list.Add("through the link");
  list.SaveToFile(dir.File("link.ttl"));
  EXPECT_EQ(ReadBytes(dir.File("real.ttl")), "through the link");
  EXPECT_TRUE(fs::is_symlink(dir.File("link.ttl")));
}

TEST(DiskFiles, OpenAndCreateErrorsNameTheFileAndTheReason) {
  TempDir dir;
  TEditorStringList list;
  list.Add("kept");
  const std::string gone = dir.File("vanished.ttl");
  EXPECT_EQ(MessageOf([&] { list.LoadFromFile(gone); }),
            "Cannot open file \"" + gone + "\". No such file or directory");
  EXPECT_EQ(MessageOf([&] { list.LoadFromFile(dir.Path()); }),
            "Cannot open file \"" + dir.Path() + "\". Is a directory");
  EXPECT_EQ(MessageOf([&] { list.SaveToFile(dir.Path()); }),
            "Cannot create file \"" + dir.Path() + "\". Is a directory");
  const std::string nowhere = dir.File("no/such/dir.ttl");
  EXPECT_EQ(MessageOf([&] { list.SaveToFile(nowhere); }),
            "Cannot create file \"" + nowhere + "\". No such file or directory");
  EXPECT_EQ(list.GetLine(0), "kept");
  EXPECT_EQ(dir.Entries(), 0);
}

TEST(DiskFiles, AReadOnlyDirectoryKeepsTheOldFile) {
  if (::geteuid() == 0) GTEST_SKIP() << "permissions do not bind the super-user";
  TempDir dir;
  const std::string path = dir.File("locked.ttl");
  WriteBytes(path, "original");
  ::chmod(dir.Path().c_str(), 0555);
  TEditorStringList list;
  list.Add("replacement");
  EXPECT_EQ(MessageOf([&] { list.SaveToFile(path); }).rfind("Cannot create file \"" + path, 0), 0u);
  EXPECT_EQ(ReadBytes(path), "original");
  EXPECT_EQ(dir.Entries(), 1);
}

TEST(DiskFiles, BinaryBytesSurviveARoundTrip) {
  TempDir dir;
  std::string bytes;
  for (int i = 0; i < 256; ++i)
    if (i != '\r' && i != '\n') bytes += static_cast<char>(i);
  bytes = bytes + "\n" + bytes + "\n";
  const std::string path = dir.File("binary.bin");
  WriteBytes(path, bytes);
  TEditorStringList list;
  list.LoadFromFile(path);
  ASSERT_EQ(list.Count(), 3);
  EXPECT_EQ(list.LineView(0).size(), 254u);
  list.SaveToFile(path);
  EXPECT_EQ(ReadBytes(path), bytes);
}
