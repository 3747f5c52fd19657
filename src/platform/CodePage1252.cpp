#include "platform/CodePage1252.h"

#include <array>

#include "platform/UnicodeTables.h"

namespace {

struct Tables {
  std::array<unsigned char, 256> lower{};
  std::array<bool, 256> alnum{};
};

Tables BuildTables() {
  Tables t;
  for (int b = 0; b < 256; ++b) t.lower[b] = static_cast<unsigned char>(b);
  // Capitals: ASCII, the accented block except the multiplication sign, and the
  // four capitals that the code page keeps in its 0x80 row.
  for (int b = 'A'; b <= 'Z'; ++b) t.lower[b] = static_cast<unsigned char>(b + 0x20);
  for (int b = 0xC0; b <= 0xDE; ++b) {
    if (b != 0xD7) t.lower[b] = static_cast<unsigned char>(b + 0x20);
  }
  t.lower[0x8A] = 0x9A;  // S caron
  t.lower[0x8C] = 0x9C;  // OE ligature
  t.lower[0x8E] = 0x9E;  // Z caron
  t.lower[0x9F] = 0xFF;  // Y diaeresis

  for (int b = '0'; b <= '9'; ++b) t.alnum[b] = true;
  for (int b = 'A'; b <= 'Z'; ++b) t.alnum[b] = t.alnum[b + 0x20] = true;
  // Letters of the 0x80 row and the ordinal and micro signs; 0x88 is the
  // modifier letter circumflex.
  for (int b : {0x83, 0x88, 0x8A, 0x8C, 0x8E, 0x9A, 0x9C, 0x9E, 0x9F, 0xAA, 0xB5, 0xBA})
    t.alnum[b] = true;
  // Superscript digits count as digits in the code page's character types.
  for (int b : {0xB2, 0xB3, 0xB9}) t.alnum[b] = true;
  for (int b = 0xC0; b <= 0xFF; ++b) {
    if (b != 0xD7 && b != 0xF7) t.alnum[b] = true;
  }
  return t;
}

const Tables& Get() {
  static const Tables tables = BuildTables();
  return tables;
}

}  // namespace

void TCodePage1252::LowerBuffer(char* text, std::size_t n) const {
  const Tables& t = Get();
  for (std::size_t i = 0; i < n; ++i) {
    text[i] = static_cast<char>(t.lower[static_cast<unsigned char>(text[i])]);
  }
}

bool TCodePage1252::IsAlphaNumeric(unsigned char c) const { return Get().alnum[c]; }

char16_t TCodePage1252::UnitOfByte(unsigned char b) const {
  return b < 0x80 ? b : unicode_tables::kCodePage1252HighHalf[b - 0x80];
}

int TCodePage1252::ByteOfUnit(char16_t u) const {
  if (u < 0x80) return u;
  for (int k = 0; k < 128; ++k)
    if (unicode_tables::kCodePage1252HighHalf[k] == u) return 0x80 + k;
  return -1;
}

const ICodePage& DefaultCodePage() {
  static const TCodePage1252 code_page;
  return code_page;
}
