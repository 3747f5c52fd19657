#include "win32/Win32CodePage.h"

#include <windows.h>

#include <climits>

namespace {

TCharForm SystemCharForm() {
  CPINFO info{};
  return GetCPInfo(CP_ACP, &info) && info.MaxCharSize > 1 ? TCharForm::DoubleByte
                                                          : TCharForm::SingleByte;
}

// The system converts at most INT_MAX units at a time; the callers' texts are
// far shorter, longer ones are done in pieces that end between characters.
constexpr std::size_t kPiece = INT_MAX / 4;

}  // namespace

// The process keeps its ANSI code page, so its lead bytes are learnt once.
TWin32CodePage::TWin32CodePage() : ICodePage(SystemCharForm()) { LearnLeadBytes(); }

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

std::u16string TWin32CodePage::ToUtf16(std::string_view text) const {
  std::u16string out;
  while (!text.empty()) {
    std::size_t part = text.size() < kPiece ? text.size() : kPiece;
    if (part < text.size()) part = CharStart(text, part);
    const int n = static_cast<int>(part);
    const int units = MultiByteToWideChar(CP_ACP, 0, text.data(), n, nullptr, 0);
    const std::size_t at = out.size();
    out.resize(at + static_cast<std::size_t>(units));
    MultiByteToWideChar(CP_ACP, 0, text.data(), n, reinterpret_cast<wchar_t*>(out.data() + at),
                        units);
    text.remove_prefix(part);
  }
  return out;
}

std::string TWin32CodePage::FromUtf16(std::u16string_view text, std::size_t* lost) const {
  auto convert = [](std::u16string_view piece, std::string& out) {
    const auto* w = reinterpret_cast<const wchar_t*>(piece.data());
    const int n = static_cast<int>(piece.size());
    BOOL used_default = FALSE;
    const int bytes =
        WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, w, n, nullptr, 0, nullptr, nullptr);
    const std::size_t at = out.size();
    out.resize(at + static_cast<std::size_t>(bytes));
    WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, w, n, out.data() + at, bytes, nullptr,
                        &used_default);
    return used_default != FALSE;
  };
  std::string out;
  bool any_lost = false;
  for (std::size_t i = 0; i < text.size();) {
    std::size_t part = text.size() - i < kPiece ? text.size() - i : kPiece;
    if (i + part < text.size() && IsHighSurrogate(text[i + part - 1]))
      --part;  // never split a surrogate pair
    any_lost |= convert(text.substr(i, part), out);
    i += part;
  }
  if (!lost) return out;
  *lost = 0;
  if (!any_lost) return out;
  // Count the characters that had no form, one at a time (ASCII always has one).
  std::string scratch;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] < 0x80) continue;
    std::size_t len = 1;
    if (IsSurrogatePairAt(text, i)) len = 2;
    scratch.clear();
    if (convert(text.substr(i, len), scratch)) ++*lost;
    i += len - 1;
  }
  return out;
}
