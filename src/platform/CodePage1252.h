#pragma once
// The Western European ANSI code page (1252) with its own lower-case and
// alphanumeric tables, so portable code and tests behave as the program does on
// a Western system. It also stands in wherever no platform code page is given.
#include "platform/CodePage.h"

class TCodePage1252 final : public ICodePage {
 public:
  TCodePage1252() : ICodePage(TCharForm::SingleByte) {}
  void LowerBuffer(char* text, std::size_t n) const override;
  bool IsAlphaNumeric(unsigned char c) const override;
  bool IsLeadByte(unsigned char) const override { return false; }

 protected:
  char16_t UnitOfByte(unsigned char b) const override;
  int ByteOfUnit(char16_t u) const override;
};

// The code page used when a caller names none.
const ICodePage& DefaultCodePage();
