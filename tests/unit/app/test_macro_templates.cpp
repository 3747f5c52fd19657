#include <gtest/gtest.h>

#include "app/MacroTemplates.h"

namespace {

struct Item {
  std::string caption;
  bool separator;
  int template_index;
  int header_line;
  friend bool operator==(const Item&, const Item&) = default;
};

std::vector<Item> Items(const TMacroTemplates& t) {
  std::vector<Item> items;
  for (const auto& i : t.items)
    items.push_back({i.caption, i.separator, i.template_index, i.header_line});
  return items;
}

void PrintTo(const Item& i, std::ostream* os) {
  *os << "{\"" << i.caption << "\", " << i.separator << ", " << i.template_index << ", "
      << i.header_line << "}";
}

TEST(MacroTemplates, TheExampleFileGivesTwoTemplatesAndASeparator) {
  const TMacroTemplates t = ParseMacroTemplates(
      "; templates\r\n"
      "[MACRO_TEMPLATE Telnet login]\r\n"
      "connect 'host:23 /nossh'\r\n"
      "wait 'ogin:'\r\n"
      "sendln 'user'\r\n"
      "[MACRO_TEMPLATE SEPARATOR]\r\n"
      "ignored\r\n"
      "[macro_template Wait prompt]\r\n"
      "wait '$'\r\n");
  EXPECT_EQ(Items(t), (std::vector<Item>{{"Telnet login", false, 0, 1},
                                         {"SEPARATOR", true, -1, 5},
                                         {"Wait prompt", false, 1, 7}}));
  EXPECT_EQ(t.bodies,
            (std::vector<std::string>{
                "connect 'host:23 /nossh'\r\nwait 'ogin:'\r\nsendln 'user'\r\n", "wait '$'\r\n"}));
  EXPECT_TRUE(t.HasTemplates());
}

TEST(MacroTemplates, HeaderEdgeCases) {
  struct Case {
    const char* file;
    std::vector<Item> items;
    std::vector<std::string> bodies;
  } cases[] = {
      // two spaces after the word: the caption keeps the second
      {"[MACRO_TEMPLATE  Two spaces]\nx", {{" Two spaces", false, 0, 0}}, {"x\r\n"}},
      // no space after the word: a body line of the template before it
      {"[MACRO_TEMPLATE a]\n[MACRO_TEMPLATEX]", {{"a", false, 0, 0}}, {"[MACRO_TEMPLATEX]\r\n"}},
      {"[MACRO_TEMPLATE No bracket\rline", {{"No bracket", false, 0, 0}}, {"line\r\n"}},
      // indented, any case, text after the bracket ignored
      {"  \t[Macro_Template Mixed] trailing\n", {{"Mixed", false, 0, 0}}, {""}},
      // a header right after another: an empty body
      {"[MACRO_TEMPLATE a]\n[MACRO_TEMPLATE b]\nz",
       {{"a", false, 0, 0}, {"b", false, 1, 1}},
       {"", "z\r\n"}},
      // only separators: nothing to choose
      {"[MACRO_TEMPLATE separator]\n[MACRO_TEMPLATE SEPARATOR]",
       {{"separator", true, -1, 0}, {"SEPARATOR", true, -1, 1}},
       {}},
      {"no headers at all\r\n", {}, {}},
      {"x [MACRO_TEMPLATE late]", {}, {}},  // the header must begin the line
  };
  for (const Case& c : cases) {
    const TMacroTemplates t = ParseMacroTemplates(c.file);
    EXPECT_EQ(Items(t), c.items) << c.file;
    EXPECT_EQ(t.bodies, c.bodies) << c.file;
    EXPECT_EQ(t.HasTemplates(), !c.bodies.empty()) << c.file;
  }
}

TEST(MacroTemplates, InsertionStartsOnANewLineUnlessTheCaretIsInColumnOne) {
  EXPECT_EQ(TemplateInsertion("wait '$'\r\n", true), "wait '$'\r\n\r\n");
  EXPECT_EQ(TemplateInsertion("wait '$'\r\n", false), "\r\nwait '$'\r\n\r\n");
  EXPECT_EQ(TemplateInsertion("", true), "\r\n");
}

}  // namespace

namespace {

TEST(MacroTemplates, TemplateFilesMayBeUnicode) {
  using namespace std::string_literals;
  struct Case {
    const char* what;
    std::string bytes;
    bool unicode;
    std::string caption;
  } cases[] = {
      {"ANSI", "[MACRO_TEMPLATE Caf\xE9]\r\nx\r\n", false, "Caf\xE9"},
      {"UTF-8 without BOM", "[MACRO_TEMPLATE Caf\xC3\xA9]\r\nx\r\n", true, "Caf\xC3\xA9"},
      {"UTF-8 with BOM", "\xEF\xBB\xBF[MACRO_TEMPLATE A]\r\nx\r\n", true, "A"},
      {"UTF-16 LE", "\xFF\xFE[\0M\0A\0C\0R\0O\0_\0T\0E\0M\0P\0L\0A\0T\0E\0 \0\x53\x30]\0"s, true,
       "\xE3\x81\x93"},
  };
  for (const auto& c : cases) {
    const TMacroTemplates t = ReadMacroTemplates(c.bytes);
    EXPECT_EQ(t.unicode, c.unicode) << c.what;
    ASSERT_EQ(t.items.size(), 1u) << c.what;
    EXPECT_EQ(t.items[0].caption, c.caption) << c.what;
  }
}

}  // namespace
