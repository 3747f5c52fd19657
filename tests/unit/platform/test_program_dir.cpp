#include <gtest/gtest.h>

#include "platform/Exception.h"
#include "platform/ProgramDir.h"

TEST(ProgramDirectory, DataFilesAreFoundBesideTheExecutable) {
  struct Case {
    const char* dir;
    const char* expected;
  } cases[] = {
      {"C:\\TeraTerm", "C:\\TeraTerm\\KeyFile.ini"},
      {"C:\\TeraTerm\\", "C:\\TeraTerm\\KeyFile.ini"},
      {"C:\\", "C:\\KeyFile.ini"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(TProgramDirectory(c.dir).ProgramDirFile("KeyFile.ini"), c.expected) << c.dir;
  }
}

TEST(ErrorMessages, TemplatesAreFilledLikePrintf) {
  EXPECT_EQ(FormatText("Invalid stringlist index %d", -1), "Invalid stringlist index -1");
  EXPECT_EQ(FormatText("%s", std::string(5000, 'x').c_str()).size(), 5000u);
}
