#pragma once
// Character services of the ANSI code page the text is in.
#include <cstddef>

class ICodePage {
 public:
  virtual ~ICodePage() = default;
  // Lower-cases n bytes in place, as the code page's own table does.
  virtual void LowerBuffer(char* text, std::size_t n) const = 0;
  virtual bool IsAlphaNumeric(unsigned char c) const = 0;
  // True for the first byte of a double-byte character.
  virtual bool IsLeadByte(unsigned char c) const = 0;
};
