#pragma once
// The user's ANSI code page as the window system knows it.
#include "platform/CodePage.h"

class TWin32CodePage final : public ICodePage {
 public:
  TWin32CodePage();
  void LowerBuffer(char* text, std::size_t n) const override;
  bool IsAlphaNumeric(unsigned char c) const override;
  bool IsLeadByte(unsigned char c) const override;
  std::u16string ToUtf16(std::string_view text) const override;
  std::string FromUtf16(std::u16string_view text, std::size_t* lost = nullptr) const override;
};
