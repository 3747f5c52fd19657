#pragma once
// A double-byte code page for tests, shaped like the Japanese Shift-JIS code
// page: lead bytes 0x81-0x9F and 0xE0-0xFC, whose trail byte may be any of
// 0x40-0xFC (including the ASCII letters), only ASCII letters have case, and the
// half-width katakana 0xA6-0xDF are single-byte letters.
#include "platform/CodePage.h"

class TDoubleByteCodePage final : public ICodePage {
 public:
  TDoubleByteCodePage() { LearnLeadBytes(); }
  // Lower-cases ASCII capitals, stepping over whole double-byte characters so
  // that a trail byte is never changed.
  void LowerBuffer(char* text, std::size_t n) const override;
  bool IsAlphaNumeric(unsigned char c) const override;
  bool IsLeadByte(unsigned char c) const override;
};
