#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <random>
#include <set>
#include <sstream>
#include <string>

#include "app/CompletionItems.h"
#include "app/PrettyText.h"
#include "support/ShippedCommands.h"

namespace {

using Items = std::vector<TCompletionItem>;

TEST(CompletionItemFile, LinesBecomeEntriesOrAreSkipped) {
  struct Case {
    const char* line;
    Items expected;
  } cases[] = {
      {"sendln::\\style{+B}sendln\\style{-B} <string>",
       {{"sendln", "\\style{+B}sendln\\style{-B} <string>"}}},
      {"if::if <expression> then", {{"if", "if <expression> then"}}},
      {"::abc", {}},
      {"a::", {}},
      {"ab::", {{"ab", ""}}},
      {"for<CR>next::for ... next", {{"for\r\nnext", "for ... next"}}},
      {"x :: y", {{"x ", " y"}}},
      {"; comment::x", {}},
      {"# comment::x", {}},
      {"   \t  wait::wait <s>  \t", {{"wait", "wait <s>"}}},
      {"no separator here", {}},
      {"a:b:c:d", {}},
      {"a::b::c", {{"a", "b::c"}}},
      {"x::a<CR>b", {{"x", "a\r\nb"}}},
      {"x<cr>y::z", {{"x<cr>y", "z"}}},
      {"::", {}},
      {"", {}},
      {"\x01\x02", {}},
  };
  for (const auto& c : cases) EXPECT_EQ(ParseCompletionItems(c.line), c.expected) << c.line;
}

TEST(CompletionItemFile, EveryLineBreakStyleEndsALineAndOrderIsKept) {
  const std::string text = "one::1\r\ntwo::2\nthree::3\rfour::4\r\n\r\ntwo::2";
  const Items items = ParseCompletionItems(text);
  ASSERT_EQ(items.size(), 5u);
  const char* names[] = {"one", "two", "three", "four", "two"};
  for (std::size_t i = 0; i < items.size(); ++i) EXPECT_EQ(items[i].InsertText, names[i]);
}

TEST(CompletionItemFile, MissingFileIsNotAnEmptyFile) {
  EXPECT_FALSE(ReadCompletionItemFile("/nonexistent/dir/Completion.pro").has_value());
  const std::string path = ::testing::TempDir() + "completion_items_test.pro";
  {
    std::ofstream out(path, std::ios::binary);
    out << "; nothing usable\r\nab\r\n";
  }
  auto items = ReadCompletionItemFile(path);
  ASSERT_TRUE(items.has_value());
  EXPECT_TRUE(items->empty());
  {
    std::ofstream out(path, std::ios::binary);
    out << "beep::\\style{+B}beep\\style{-B}\r\n";
  }
  items = ReadCompletionItemFile(path);
  ASSERT_TRUE(items.has_value());
  ASSERT_EQ(items->size(), 1u);
  EXPECT_EQ((*items)[0].InsertText, "beep");
  std::remove(path.c_str());
}

TEST(CompletionItemFile, RandomBytesNeverYieldEntriesWithoutTheirSeparator) {
  std::mt19937 rng(77);
  const std::string alphabet = ":;# \t\r\nab<CR>";
  for (int n = 0; n < 2000; ++n) {
    std::string s;
    const int len = static_cast<int>(rng() % 60);
    for (int i = 0; i < len; ++i) s += alphabet[rng() % alphabet.size()];
    for (const auto& item : ParseCompletionItems(s)) {
      EXPECT_FALSE(item.InsertText.empty()) << s;
      EXPECT_EQ(item.InsertText.find("::"), std::string::npos) << s;
      EXPECT_EQ(item.InsertText.find("<CR>"), std::string::npos) << s;
    }
  }
}

// The shipped file offers every macro command the keyword file lists.
TEST(ShippedCompletionFile, OffersEveryCommandOfTheKeywordFile) {
  std::ifstream keys(std::string(QUILLON_DATA_DIR) + "/KeyFile.ini", std::ios::binary);
  ASSERT_TRUE(keys) << "KeyFile.ini";
  std::set<std::string> commands;
  std::string line;
  bool in_commands = false;
  while (std::getline(keys, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (!line.empty() && line[0] == '[') {
      in_commands = line == "[COMMANDS]";
      continue;
    }
    if (!in_commands || line.empty() || line[0] == ';') continue;
    const auto eq = line.rfind('=');
    if (eq != std::string::npos) commands.insert(line.substr(0, eq));
  }
  EXPECT_EQ(commands.size(), static_cast<std::size_t>(kShippedCommandCount));

  const auto items = ReadCompletionItemFile(std::string(QUILLON_DATA_DIR) + "/Completion.pro");
  ASSERT_TRUE(items.has_value()) << "Completion.pro";
  std::set<std::string> offered;
  for (const auto& item : *items) {
    const std::string first = item.InsertText.substr(0, item.InsertText.find_first_of(" \r"));
    offered.insert(first);
    // Every display text shows the command it inserts.
    EXPECT_NE(PrettyPlainText(item.DisplayText).find(first), std::string::npos) << item.DisplayText;
  }
  for (const auto& command : commands) EXPECT_TRUE(offered.count(command)) << command;
}

// Each command once, in the list's order, with its parameter list.
TEST(ShippedCompletionFile, ShowsEachCommandWithItsParameters) {
  const auto items = ReadCompletionItemFile(std::string(QUILLON_DATA_DIR) + "/Completion.pro");
  ASSERT_TRUE(items.has_value()) << "Completion.pro";
  ASSERT_EQ(items->size(), static_cast<std::size_t>(kShippedCommandCount));
  for (std::size_t i = 0; i < items->size(); ++i) {
    const TShippedCommand& command = kShippedCommands[i];
    const std::string name = command.name;
    std::string shown = "\\style{+B}" + name + "\\style{-B}";
    if (*command.parameters) shown += std::string(" \\color{clNavy}") + command.parameters;
    EXPECT_EQ((*items)[i].InsertText, name);
    EXPECT_EQ((*items)[i].DisplayText, shown);
  }
}

}  // namespace
