#pragma once
// The character set of Unicode documents: their text is UTF-8. Characters are
// a code point and the combining marks after it; cells, word characters and
// case come from the Unicode tables.
#include "platform/CodePage.h"

class TUtf8CodePage final : public ICodePage {
 public:
  TUtf8CodePage() : ICodePage(TCharForm::Utf8) {}

  void LowerBuffer(char* text, std::size_t n) const override;
  // ASCII letters and digits, and every byte above 127 (part of a character
  // that is most likely a letter); IsWordCharAt answers for whole characters.
  bool IsAlphaNumeric(unsigned char c) const override;
  bool IsLeadByte(unsigned char) const override { return false; }

  bool IsWordCharAt(std::string_view text, std::size_t i) const override;
  char32_t CodePointAt(std::string_view text, std::size_t i) const override;
  std::string MapCase(std::string_view text, TCaseMapping how) const override;
  std::u16string ToUtf16(std::string_view text) const override;
  std::string FromUtf16(std::u16string_view text, std::size_t* lost = nullptr) const override;

 protected:
  std::size_t MultiByteCharLength(std::string_view text, std::size_t i) const override;
  int Utf8CharCells(std::string_view text, std::size_t i) const override;
  std::size_t Utf8CharLengthCells(std::string_view text, std::size_t i, int& cells) const override;
  std::size_t Utf8AppendCharAsUtf16(std::string_view text, std::size_t i, int& cells,
                                    std::u16string& units) const override;
  std::size_t Utf8WalkCells(std::string_view text, std::size_t i, std::size_t end, int tab_width,
                            long long& col) const override;
  std::size_t Utf8CharStart(std::string_view text, std::size_t i) const override;
  bool Utf8AlwaysStartsChar(std::string_view text, std::size_t i) const override;
};

// The one instance the program uses.
const ICodePage& Utf8CodePage();
