#include <gtest/gtest.h>

#include <functional>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "editor/EditorTextBuffer.h"
#include "support/FailingFileSystem.h"

namespace {

using namespace std::string_literals;
using Lines = std::vector<std::string>;

Lines LinesOf(const TEditorStringList& list) {
  Lines lines;
  for (int i = 0; i < list.Count(); ++i) lines.push_back(list.GetLine(i));
  return lines;
}

// The lines a file holds, read the way a person reads the rules: CR LF, a lone
// CR and a lone LF each end a line, and the text after the last break (empty
// when the file ends with one) is the last line.
Lines SplitByRules(const std::string& bytes) {
  Lines lines;
  if (bytes.empty()) return lines;
  std::string current;
  for (size_t i = 0; i < bytes.size(); ++i) {
    const bool crlf = bytes[i] == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n';
    if (crlf || bytes[i] == '\r' || bytes[i] == '\n') {
      lines.push_back(current);
      current.clear();
      if (crlf) ++i;
    } else {
      current += bytes[i];
    }
  }
  lines.push_back(current);
  return lines;
}

std::string Join(const Lines& lines, const std::string& line_break) {
  std::string out;
  for (size_t i = 0; i < lines.size(); ++i) out += (i ? line_break : "") + lines[i];
  return out;
}

}  // namespace

TEST(LoadAndSave, LinesAndLineBreakStyleFollowTheFile) {
  struct Case {
    std::string bytes;
    Lines lines;
    TEditorLineBreakStyle style;
    std::string saved;
  } cases[] = {
      {"", {}, lbCRLF, ""},
      {"a", {"a"}, lbCRLF, "a"},
      {"a\r\n", {"a", ""}, lbCRLF, "a\r\n"},
      {"a\nb\n", {"a", "b", ""}, lbLF, "a\nb\n"},
      {"a\rb", {"a", "b"}, lbCR, "a\rb"},
      {"a\r\nb\n", {"a", "b", ""}, lbCRLF, "a\r\nb\r\n"},
      {"a\n\rb", {"a", "", "b"}, lbCRLF, "a\r\n\r\nb"},
      {"\n", {"", ""}, lbLF, "\n"},
      {"\r\r", {"", "", ""}, lbCR, "\r\r"},
      {"\r\n\r\n", {"", "", ""}, lbCRLF, "\r\n\r\n"},
      {"x\0y\n\0"s, {"x\0y"s, "\0"s}, lbLF, "x\0y\n\0"s},
      {"\xff\x80\t\x1a", {"\xff\x80\t\x1a"}, lbCRLF, "\xff\x80\t\x1a"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::PrintToString(c.bytes));
    TFailingFileSystem fs;
    TScopedFileSystem use(fs);
    fs.Files["in.ttl"] = c.bytes;

    TEditorStringList from_buffer, from_stream, from_file;
    from_buffer.LoadFromBuffer(c.bytes);
    std::istringstream in(c.bytes);
    in.get();  // loading starts from position 0 wherever the stream stands
    from_stream.LoadFromStream(in);
    from_file.LoadFromFile("in.ttl");
    for (TEditorStringList* list : {&from_buffer, &from_stream, &from_file}) {
      EXPECT_EQ(LinesOf(*list), c.lines);
      EXPECT_EQ(list->LineBreakStyle(), c.style);
    }

    std::ostringstream out;
    from_stream.SaveToStream(out);
    EXPECT_EQ(out.str(), c.saved);
    EXPECT_EQ(from_buffer.SaveToString(), c.saved);
    from_file.SaveToFile("out.ttl");
    EXPECT_EQ(fs.Files["out.ttl"], c.saved);
  }
}

TEST(LoadAndSave, WithABreakAfterTheLastLineNoEmptyLineIsAdded) {
  TEditorStringList list;
  list.SetAppendBreakAtEnd(true);
  list.LoadFromBuffer("a\nb\n");
  EXPECT_EQ(LinesOf(list), (Lines{"a", "b"}));
  EXPECT_EQ(list.SaveToString(), "a\nb\n");
  std::ostringstream out;
  list.SaveToStream(out);
  EXPECT_EQ(out.str(), "a\nb\n");
}

TEST(LoadAndSave, RandomFilesSaveAsTheRulesSay) {
  std::mt19937 rng(2024);
  static const char kBytes[] = {'a', 'b', '\t', '\0', '\r', '\n', '\n', '\r'};
  for (int round = 0; round < 3000; ++round) {
    std::string bytes(rng() % 30, ' ');
    for (char& c : bytes) c = kBytes[rng() % sizeof kBytes];

    TEditorStringList list;
    list.LoadFromBuffer(bytes);
    const Lines expected = SplitByRules(bytes);
    ASSERT_EQ(LinesOf(list), expected) << testing::PrintToString(bytes);

    const bool cr = bytes.find('\r') != std::string::npos;
    const bool lf = bytes.find('\n') != std::string::npos;
    const std::string line_break = cr && !lf ? "\r" : lf && !cr ? "\n" : "\r\n";
    ASSERT_EQ(list.SaveToString(), Join(expected, line_break)) << testing::PrintToString(bytes);
  }
}

TEST(LoadAndSave, FilesWithOneLineBreakStyleSaveBackByteForByte) {
  std::mt19937 rng(99);
  for (const std::string line_break : {"\r\n", "\n", "\r"}) {
    for (int round = 0; round < 500; ++round) {
      Lines lines(1 + rng() % 12);
      for (auto& line : lines) line = std::string(rng() % 5, "ab\t\0x"s[rng() % 5]);
      const std::string bytes = Join(lines, line_break);
      TFailingFileSystem fs;
      TScopedFileSystem use(fs);
      fs.Files["f.ttl"] = bytes;
      TEditorStringList list;
      list.LoadFromFile("f.ttl");
      list.SaveToFile("f.ttl");
      ASSERT_EQ(fs.Files["f.ttl"], bytes);
      ASSERT_TRUE(fs.TempFiles().empty());
    }
  }
}

TEST(LoadAndSave, LoadingReportsClearThenEachLineInOneUpdate) {
  TEditorStringList list;
  list.Add("old");
  std::vector<std::string> events;
  list.OnUpdateStarted = [&](TEditorStringList*) { events.push_back("start"); };
  list.OnUpdateEnded = [&](TEditorStringList*) { events.push_back("end"); };
  list.OnLinesCleared = [&](TEditorStringList*) { events.push_back("cleared"); };
  list.OnLinesInserted = [&](TEditorStringList* sender, int i, int n) {
    // Each line is in place when it is announced.
    events.push_back("ins " + std::to_string(i) + " " + std::to_string(n) + " " +
                     sender->GetLine(i));
  };
  list.LoadFromBuffer("x\ny\n");
  EXPECT_EQ(events, (std::vector<std::string>{"start", "cleared", "ins 0 1 x", "ins 1 1 y",
                                              "ins 2 1 ", "end"}));
}

TEST(LoadAndSave, AFileThatCannotBeOpenedLeavesTheLinesAlone) {
  TFailingFileSystem fs;
  TScopedFileSystem use(fs);
  fs.Directories.insert("C:\\dir");
  TEditorStringList list;
  list.LoadFromBuffer("keep\nme");
  bool notified = false;
  list.OnUpdateStarted = [&](TEditorStringList*) { notified = true; };
  for (const std::string path : {"C:\\gone.ttl", "C:\\dir"}) {
    try {
      list.LoadFromFile(path);
      ADD_FAILURE() << path;
    } catch (const EFileError& e) {
      EXPECT_EQ(e.Message().rfind("Cannot open file \"" + path + "\". ", 0), 0u) << e.Message();
    }
  }
  EXPECT_EQ(LinesOf(list), (Lines{"keep", "me"}));
  EXPECT_EQ(list.LineBreakStyle(), lbLF);
  EXPECT_FALSE(notified);
}

TEST(LoadAndSave, ReloadingReplacesEveryLine) {
  TEditorStringList list;
  list.LoadFromBuffer(std::string(100, 'a') + "\r\n" + std::string(100, 'b'));
  list.SetLine(0, "edited");
  list.LoadFromBuffer("new\rtext");
  EXPECT_EQ(LinesOf(list), (Lines{"new", "text"}));
  EXPECT_EQ(list.LineBreakStyle(), lbCR);
  list.LoadFromBuffer("");
  EXPECT_EQ(list.Count(), 0);
  EXPECT_EQ(list.LineBreakStyle(), lbCRLF);
}

TEST(LoadAndSave, ATenMegabyteLineLoadsAndSaves) {
  std::string bytes(10 * 1024 * 1024, 'x');
  for (size_t i = 0; i < bytes.size(); i += 4096) bytes[i] = '\t';
  bytes += "\n";
  TFailingFileSystem fs;
  TScopedFileSystem use(fs);
  fs.Files["big.ttl"] = bytes;
  TEditorStringList list;
  list.LoadFromFile("big.ttl");
  ASSERT_EQ(list.Count(), 2);
  EXPECT_EQ(list.LineView(0).size(), bytes.size() - 1);
  list.SetTabWidth(4);
  size_t columns = 0;
  for (size_t i = 0; i + 1 < bytes.size(); ++i)
    columns = bytes[i] == '\t' ? (columns / 4 + 1) * 4 : columns + 1;
  EXPECT_EQ(list.LongestLineLength(), static_cast<int>(columns));
  list.SaveToFile("big.ttl");
  EXPECT_TRUE(fs.Files["big.ttl"] == bytes);
  EXPECT_EQ(fs.WriteSizes.size(), 1u);  // the line and its break go out in one block
}

// --- The buffered writer

TEST(FileWriter, ALongLineEnlargesTheBufferToExactlyFit) {
  TFailingFileSystem fs;
  TScopedFileSystem use(fs);
  const std::string line(20000, 'q');
  {
    TEditorFileWriter writer("w.ttl");
    EXPECT_EQ(writer.BufferSize(), 16384);
    writer.WriteLine("short");
    writer.WriteLine(line);
    EXPECT_EQ(writer.BufferSize(), 20002);
    EXPECT_EQ(fs.WriteSizes, (std::vector<size_t>{7}));  // the short line went out first
    writer.Write("end");
    writer.Commit();
  }
  EXPECT_EQ(fs.Files["w.ttl"], "short\r\n" + line + "\r\nend");

  TEditorStringList list;
  list.LoadFromBuffer(line + "\r\n");
  fs.WriteSizes.clear();
  list.SaveToFile("s.ttl");
  EXPECT_EQ(fs.Files["s.ttl"], line + "\r\n");
  EXPECT_EQ(fs.WriteSizes, (std::vector<size_t>{20002}));
}

TEST(FileWriter, ManyShortLinesGoOutInFullBuffers) {
  TFailingFileSystem fs;
  TScopedFileSystem use(fs);
  TEditorStringList list;
  list.SetLineBreakStyle(lbLF);
  for (int i = 0; i < 5000; ++i) list.Add("123456789");  // 10 bytes with the break
  list.SaveToFile("many.ttl");
  const std::vector<size_t>& sizes = fs.WriteSizes;
  ASSERT_EQ(sizes.size(), 4u);
  for (size_t i = 0; i + 1 < sizes.size(); ++i) EXPECT_EQ(sizes[i], 16380u);
  EXPECT_EQ(fs.Files["many.ttl"].size(), 5000u * 10 - 1);
}

TEST(FileWriter, EachStyleWritesItsOwnBreak) {
  TFailingFileSystem fs;
  TScopedFileSystem use(fs);
  const struct {
    TEditorLineBreakStyle style;
    std::string expected;
  } cases[] = {{lbCRLF, "a\r\n\r\nb"}, {lbLF, "a\n\nb"}, {lbCR, "a\r\rb"}};
  for (const auto& c : cases) {
    TEditorFileWriter writer("x");
    writer.SetLineBreakStyle(c.style);
    writer.WriteLine("a");
    writer.WriteLine("");
    writer.Write("b");
    writer.Write("");
    writer.Commit();
    EXPECT_EQ(fs.Files["x"], c.expected);
  }
}

// --- Saving never destroys the file on disk

TEST(SafeSave, AFailedSaveLeavesTheOldFileAndNoTemporaryFile) {
  TEditorStringList list;
  std::string text;
  for (int i = 0; i < 3000; ++i) text += "line " + std::to_string(i) + "\r\n";
  list.LoadFromBuffer(text);
  list.SetLine(0, "changed");
  const size_t total = list.SaveToString().size();

  struct Case {
    const char* what;
    std::function<void(TFailingFileSystem&)> arrange;
    const char* message;
  } cases[] = {
      {"disk full at once", [](TFailingFileSystem& f) { f.FailWriteAfterBytes = 0; },
       "Error writing file \"doc.ttl\". There is not enough space on the disk."},
      {"disk full after one byte", [](TFailingFileSystem& f) { f.FailWriteAfterBytes = 1; },
       "Error writing file \"doc.ttl\". There is not enough space on the disk."},
      {"disk full after the first buffer",
       [](TFailingFileSystem& f) { f.FailWriteAfterBytes = 16384; },
       "Error writing file \"doc.ttl\". There is not enough space on the disk."},
      {"disk full before the last byte",
       [total](TFailingFileSystem& f) {
         f.FailWriteAfterBytes = static_cast<long long>(total) - 1;
       },
       "Error writing file \"doc.ttl\". There is not enough space on the disk."},
      {"closing fails", [](TFailingFileSystem& f) { f.FailClose = true; },
       "Error writing file \"doc.ttl\". There is not enough space on the disk."},
      {"replacing fails", [](TFailingFileSystem& f) { f.FailReplace = true; },
       "Cannot create file \"doc.ttl\". Access is denied."},
      {"creating fails", [](TFailingFileSystem& f) { f.FailCreate = true; },
       "Cannot create file \"doc.ttl\". Access is denied."},
      {"read-only target", [](TFailingFileSystem& f) { f.ReadOnlyFiles.insert("doc.ttl"); },
       "Cannot create file \"doc.ttl\". Access is denied."},
  };
  for (const auto& c : cases) {
    for (bool existed : {true, false}) {
      SCOPED_TRACE(std::string(c.what) + (existed ? ", file existed" : ", new file"));
      TFailingFileSystem fs;
      TScopedFileSystem use(fs);
      if (existed) fs.Files["doc.ttl"] = "the old content";
      c.arrange(fs);
      if (!existed && fs.ReadOnlyFiles.count("doc.ttl")) continue;
      try {
        list.SaveToFile("doc.ttl");
        ADD_FAILURE() << "no error";
      } catch (const EFileError& e) {
        EXPECT_EQ(e.Message(), c.message);
      }
      if (existed)
        EXPECT_EQ(fs.Files["doc.ttl"], "the old content");
      else
        EXPECT_EQ(fs.Files.count("doc.ttl"), 0u);
      EXPECT_TRUE(fs.TempFiles().empty());
    }
  }
  // The document itself is untouched by a failed save and saves fine later.
  TFailingFileSystem fs;
  TScopedFileSystem use(fs);
  list.SaveToFile("doc.ttl");
  EXPECT_EQ(fs.Files["doc.ttl"], "changed" + text.substr(text.find("\r\n")));
  EXPECT_EQ(fs.Replacements, 1);
}

// Where no temporary file can be made, or the target cannot be swapped, the
// target is overwritten in place behind a backup in the temporary folder.
TEST(SafeSave, WhereTheSwapIsRefusedTheFileIsOverwrittenBehindABackup) {
  const std::string kept =
      "\rThe previous content of the file is kept in \"TEMP\\doc.ttl.~1.bak\".";
  struct Case {
    const char* what;
    std::function<void(TFailingFileSystem&)> arrange;
    const char* message;  // nullptr: the save succeeds
    const char* backup;   // what the temporary folder keeps afterwards
  } cases[] = {
      {"no new files in the folder", [](TFailingFileSystem& f) { f.RefuseNewFiles = true; },
       nullptr, nullptr},
      {"held without delete sharing", [](TFailingFileSystem& f) { f.RefuseSwap = true; }, nullptr,
       nullptr},
      {"no new files, overwrite fails",
       [](TFailingFileSystem& f) {
         f.RefuseNewFiles = true;
         f.FailWriteAfterBytes = 3;
         f.FailWritesTo = "doc.ttl";
       },
       "Error writing file \"doc.ttl\". There is not enough space on the disk.", "old"},
      {"held, overwrite fails",
       [](TFailingFileSystem& f) {
         f.RefuseSwap = true;
         f.FailWriteAfterBytes = 0;
         f.FailWritesTo = "doc.ttl";
       },
       "Error writing file \"doc.ttl\". There is not enough space on the disk.", "old"},
      {"no backup possible",
       [](TFailingFileSystem& f) {
         f.RefuseNewFiles = true;
         f.FailBackup = true;
       },
       "Cannot create file \"TEMP\\doc.ttl.~1.bak\". There is not enough space on the disk.",
       nullptr},
  };
  TEditorStringList list;
  list.LoadFromBuffer("new\r\ntext");
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    TFailingFileSystem fs;
    TScopedFileSystem use(fs);
    fs.Files["doc.ttl"] = "old";
    c.arrange(fs);
    const bool overwrite_fails = c.backup != nullptr;
    try {
      list.SaveToFile("doc.ttl");
      EXPECT_EQ(c.message, nullptr);
      EXPECT_EQ(fs.Files["doc.ttl"], "new\r\ntext");
    } catch (const EFileError& e) {
      ASSERT_NE(c.message, nullptr) << e.Message();
      EXPECT_EQ(e.Message(), c.message + (overwrite_fails ? kept : ""));
      if (!overwrite_fails) {
        EXPECT_EQ(fs.Files["doc.ttl"], "old");
      }
    }
    EXPECT_TRUE(fs.TempFiles().empty());
    Lines backups;
    for (const auto& path : fs.BackupFiles()) backups.push_back(fs.Files[path]);
    EXPECT_EQ(backups, overwrite_fails ? Lines{c.backup} : Lines{});
  }
  // A new file in a folder that refuses new files cannot be saved at all.
  TFailingFileSystem fs;
  TScopedFileSystem use(fs);
  fs.RefuseNewFiles = true;
  EXPECT_THROW(list.SaveToFile("new.ttl"), EFileError);
  EXPECT_TRUE(fs.Files.empty());
}

TEST(SafeSave, AWriterDroppedWithoutCommitLeavesTheTargetAlone) {
  TFailingFileSystem fs;
  TScopedFileSystem use(fs);
  fs.Files["t.ttl"] = "old";
  {
    TEditorFileWriter writer("t.ttl");
    writer.WriteLine(std::string(40000, 'n'));
    writer.Flush();
    EXPECT_EQ(fs.TempFiles().size(), 1u);
  }
  EXPECT_EQ(fs.Files["t.ttl"], "old");
  EXPECT_TRUE(fs.TempFiles().empty());
}

TEST(LoadAndSave, LinesSurvivingALargeDeletionKeepTheirText) {
  std::string bytes;
  for (int i = 0; i < 200000; ++i) bytes += "line number " + std::to_string(i) + "\n";
  TEditorStringList list;
  list.LoadFromBuffer(bytes);
  list.DeleteLineRange(10, 199980);  // most of the loaded text goes
  list.SetLine(0, "edited");
  list.Delete(1);
  ASSERT_EQ(list.Count(), 20);
  EXPECT_EQ(list.GetLine(0), "edited");
  EXPECT_EQ(list.GetLine(1), "line number 2");
  EXPECT_EQ(list.GetLine(8), "line number 9");
  EXPECT_EQ(list.GetLine(9), "line number 199990");
  EXPECT_EQ(list.GetLine(17), "line number 199998");
  EXPECT_EQ(list.GetLine(18), "line number 199999");
  EXPECT_EQ(list.GetLine(19), "");
  list.DeleteLineRange(0, 20);
  EXPECT_EQ(list.Count(), 0);
}
