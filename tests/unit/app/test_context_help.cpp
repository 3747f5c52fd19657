#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

#include "app/ContextHelp.h"
#include "language/TtlHighlighter.h"

#ifndef QUILLON_DATA_DIR
#define QUILLON_DATA_DIR "data"
#endif

namespace {

TEST(ContextHelp, WordAtCaretElseSelectionLowerCasedAndLookedUp) {
  TTtlHighlighter ttm;
  std::ifstream in(std::string(QUILLON_DATA_DIR) + "/KeyFile.ini", std::ios::binary);
  const std::string keyfile((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  ASSERT_TRUE(ttm.LoadKeywordText(keyfile));
  const auto sendln = ttm.HelpIdOf("sendln");
  ASSERT_GT(sendln, 0);

  struct Case {
    const char* word;
    const char* selection;
    std::optional<std::int32_t> id;
  } cases[] = {
      {"sendln", "", sendln},
      {"SendLn", "wait", sendln},  // the word at the caret wins over the selection
      {"", "SENDLN", sendln},
      {"notacommand", "", 0},  // unknown words open the table of contents
      {"", "", std::nullopt},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(ContextHelpId(c.word, c.selection, ttm), c.id) << c.word << "|" << c.selection;
  }
}

}  // namespace
