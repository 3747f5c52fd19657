#include <gtest/gtest.h>
#include <windows.h>

#include "platform/CodePage1252.h"
#include "win32/Win32CodePage.h"

namespace {

// The portable tables used by native builds must agree with the system's own
// answers for code page 1252, byte for byte.
TEST(CodePage, PortableTablesAgreeWithTheSystemOnCodePage1252) {
  if (GetACP() != 1252) GTEST_SKIP() << "the system code page is " << GetACP();
  TCodePage1252 portable;
  TWin32CodePage system;
  for (int b = 1; b < 256; ++b) {
    const auto c = static_cast<unsigned char>(b);
    char a = static_cast<char>(b), s = static_cast<char>(b);
    portable.LowerBuffer(&a, 1);
    system.LowerBuffer(&s, 1);
    EXPECT_EQ(a, s) << "lower case of byte " << b;
    EXPECT_EQ(portable.IsAlphaNumeric(c), system.IsAlphaNumeric(c)) << "byte " << b;
    EXPECT_FALSE(system.IsLeadByte(c)) << "byte " << b;
  }
}

}  // namespace
