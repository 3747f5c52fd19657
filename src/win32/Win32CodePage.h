#pragma once
// The user's ANSI code page as the window system knows it.
#include "platform/CodePage.h"

class TWin32CodePage final : public ICodePage {
 public:
  void LowerBuffer(char* text, std::size_t n) const override;
  bool IsAlphaNumeric(unsigned char c) const override;
  bool IsLeadByte(unsigned char c) const override;
};
