#include "app/PlainText.h"

bool IsPlainTextByte(unsigned char c) {
  return c >= 32 || c == 9 || c == 10 || c == 13 || c == 26;
}

bool IsPlainTextStream(const std::function<long(char*, std::size_t)>& read) {
  char block[2048];
  for (;;) {
    const long n = read(block, sizeof block);
    if (n < 0) return false;
    if (n == 0) return true;
    for (long i = 0; i < n; ++i) {
      if (!IsPlainTextByte(static_cast<unsigned char>(block[i]))) return false;
    }
  }
}
