#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>

#include "app/PlainText.h"

namespace {

// Serves data in reads of at most `chunk` bytes; fails with -1 at `fail_at`.
bool Check(const std::string& data, size_t chunk = 2048, long fail_at = -1) {
  size_t pos = 0;
  return IsPlainTextStream([&](char* buf, size_t size) -> long {
    if (fail_at >= 0 && pos >= static_cast<size_t>(fail_at)) return -1;
    const size_t n = std::min({size, chunk, data.size() - pos});
    std::memcpy(buf, data.data() + pos, n);
    pos += n;
    return static_cast<long>(n);
  });
}

TEST(PlainTextCheck, EveryByteValueIsJudgedAsTheOpenCheckRequires) {
  for (int b = 0; b < 256; ++b) {
    const bool expected = b == 9 || b == 10 || b == 13 || b == 26 || b >= 32;
    EXPECT_EQ(Check(std::string(1, static_cast<char>(b))), expected) << "byte " << b;
  }
}

TEST(PlainTextCheck, WholeFilesAndBlockBoundaries) {
  std::string text(5000, 'a');
  struct Case {
    const char* what;
    std::string data;
    bool plain;
  } cases[] = {
      {"empty file", "", true},
      {"tabs, breaks, Ctrl+Z and high bytes", "\t\r\n\x1a \xff\x80 send", true},
      {"NUL byte", std::string("ab\0", 3), false},
      {"form feed as byte 2049", std::string(2048, 'x') + "\f", false},
      {"form feed as the last of 5000 bytes", text.substr(0, 4999) + "\f", false},
      {"escape in the first block", "\x1b[0m", false},
      {"5000 text bytes", text, true},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(Check(c.data), c.plain) << c.what;
    EXPECT_EQ(Check(c.data, 7), c.plain) << c.what << " (short reads)";
  }
}

TEST(PlainTextCheck, Utf16FilesWithAByteOrderMarkAreText) {
  using namespace std::string_literals;
  struct Case {
    const char* what;
    std::string data;
    bool plain;
  } cases[] = {
      {"UTF-16 LE macro",
       "\xFF\xFE"
       "s\0e\0n\0d\0\r\0\n\0\x53\x30"s,
       true},
      {"UTF-16 BE macro", "\xFE\xFF\0s\0\t\x30\x53"s, true},
      {"UTF-16 with an odd last byte",
       "\xFF\xFE"
       "a\0b"s,
       true},
      {"UTF-16 holding a NUL character",
       "\xFF\xFE"
       "a\0\0\0"s,
       false},
      {"UTF-16 holding an escape", "\xFE\xFF\0\x1b"s, false},
      {"a mark alone", "\xFF\xFE", true},
      {"one byte", "a", true},
      {"binary data after what looks like no mark", "\xFF\x00\x01"s, false},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(Check(c.data), c.plain) << c.what;
    EXPECT_EQ(Check(c.data, 1), c.plain) << c.what << " (one byte per read)";
  }
}

TEST(PlainTextCheck, ReadErrorMeansNotPlainText) {
  EXPECT_FALSE(Check(std::string(4096, 'a'), 2048, 2048));
  EXPECT_FALSE(Check("abc", 2048, 0));
}

}  // namespace
