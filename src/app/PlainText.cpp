#include "app/PlainText.h"

#include <string_view>

bool IsPlainTextByte(unsigned char c) { return c >= 32 || c == 9 || c == 10 || c == 13 || c == 26; }

namespace {

bool IsPlainTextUnit(unsigned unit) {
  return unit >= 32 || IsPlainTextByte(static_cast<unsigned char>(unit));
}

}  // namespace

bool IsPlainTextStream(const std::function<long(char*, std::size_t)>& read) {
  char block[2048];
  // Until two bytes have been seen it is open whether they are a UTF-16 mark.
  enum { kUndecided, kBytes, kLittleEndian, kBigEndian } form = kUndecided;
  unsigned char held[2];
  std::size_t held_count = 0;
  for (;;) {
    const long n = read(block, sizeof block);
    if (n < 0) return false;
    if (n == 0) return form != kUndecided || held_count == 0 || IsPlainTextByte(held[0]);
    for (long i = 0; i < n; ++i) {
      const auto c = static_cast<unsigned char>(block[i]);
      if (form == kBytes) {
        if (!IsPlainTextByte(c)) return false;
        continue;
      }
      held[held_count++] = c;
      if (held_count < 2) continue;
      held_count = 0;
      if (form == kUndecided) {
        const std::string_view mark(reinterpret_cast<const char*>(held), 2);
        if (mark == "\xFF\xFE") {
          form = kLittleEndian;
        } else if (mark == "\xFE\xFF") {
          form = kBigEndian;
        } else {
          form = kBytes;
          if (!IsPlainTextByte(held[0]) || !IsPlainTextByte(held[1])) return false;
        }
        continue;
      }
      const unsigned unit = form == kLittleEndian ? held[0] | held[1] << 8 : held[0] << 8 | held[1];
      if (!IsPlainTextUnit(unit)) return false;
    }
  }
}
