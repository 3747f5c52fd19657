#include "win32/Win32CodePage.h"

#include <windows.h>

void TWin32CodePage::LowerBuffer(char* text, std::size_t n) const {
  // A lone lead byte is half a character and has no lower-case form; left to
  // the system it would be read together with whatever byte follows it.
  if (n == 1 && IsLeadByte(static_cast<unsigned char>(text[0]))) return;
  constexpr std::size_t kChunk = 0x40000000;
  while (n > 0) {
    std::size_t part = n < kChunk ? n : kChunk;
    // Never end a chunk between the two bytes of one character.
    if (part < n) {
      std::size_t k = 0;
      while (k < part) k += IsLeadByte(static_cast<unsigned char>(text[k])) ? 2 : 1;
      part = k;
    }
    CharLowerBuffA(text, static_cast<DWORD>(part));
    text += part;
    n -= part;
  }
}

bool TWin32CodePage::IsAlphaNumeric(unsigned char c) const {
  return IsCharAlphaNumericA(static_cast<CHAR>(c)) != FALSE;
}

bool TWin32CodePage::IsLeadByte(unsigned char c) const { return IsDBCSLeadByte(c) != FALSE; }
