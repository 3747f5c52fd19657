#include "DoubleByteCodePage.h"

void TDoubleByteCodePage::LowerBuffer(char* text, std::size_t n) const {
  for (std::size_t i = 0; i < n; ++i) {
    const auto c = static_cast<unsigned char>(text[i]);
    if (IsLeadByte(c)) {
      ++i;  // the trail byte belongs to this character
    } else if (c >= 'A' && c <= 'Z') {
      text[i] = static_cast<char>(c + 0x20);
    }
  }
}

bool TDoubleByteCodePage::IsAlphaNumeric(unsigned char c) const {
  return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') ||
         (c >= 0xA6 && c <= 0xDF);
}

bool TDoubleByteCodePage::IsLeadByte(unsigned char c) const {
  return (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC);
}
