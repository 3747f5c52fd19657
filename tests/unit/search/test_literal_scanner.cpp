#include <gtest/gtest.h>

#include <array>
#include <random>
#include <string>

#include "search/LiteralScanner.h"

namespace {

using FoldTable = std::array<unsigned char, 256>;

FoldTable Identity() {
  FoldTable t;
  for (int b = 0; b < 256; ++b) t[static_cast<std::size_t>(b)] = static_cast<unsigned char>(b);
  return t;
}

std::size_t NaiveFind(const std::string& folded, const FoldTable& fold, const std::string& text,
                      std::size_t from) {
  for (std::size_t s = from; s + folded.size() <= text.size(); ++s) {
    bool equal = true;
    for (std::size_t i = 0; i < folded.size() && equal; ++i) {
      equal =
          fold[static_cast<unsigned char>(text[s + i])] == static_cast<unsigned char>(folded[i]);
    }
    if (equal) return s;
  }
  return TLiteralScanner::npos;
}

}  // namespace

TEST(LiteralScanner, FindsTheFirstOccurrenceFromAnyOffset) {
  FoldTable ascii = Identity();
  for (int b = 'A'; b <= 'Z'; ++b)
    ascii[static_cast<std::size_t>(b)] = static_cast<unsigned char>(b + 32);
  FoldTable odd_pair = ascii;  // two forms that differ in more than one bit
  odd_pair['Q'] = 'x';
  odd_pair['q'] = 'x';
  FoldTable crowded = ascii;  // five bytes share one fold: too many forms for blocks
  for (unsigned char b : {'1', '2', '3', '4'}) crowded[b] = 'a';
  struct Table {
    const char* name;
    FoldTable fold;
    bool vectorized_when_possible;
  } tables[] = {{"identity", Identity(), true},
                {"ascii", ascii, true},
                {"odd pair", odd_pair, true},
                {"crowded", crowded, false}};

  std::mt19937 rng(4242);
  const std::string alphabet = "aAxXqQ1234 ";
  for (const auto& table : tables) {
    for (int round = 0; round < 4000; ++round) {
      std::string pattern, text;
      const int pattern_length = 1 + static_cast<int>(rng() % 7);
      const int text_length = static_cast<int>(rng() % 110);
      for (int k = 0; k < pattern_length; ++k) pattern += alphabet[rng() % alphabet.size()];
      for (int k = 0; k < text_length; ++k) text += alphabet[rng() % alphabet.size()];
      std::string folded;
      for (char c : pattern) folded += static_cast<char>(table.fold[static_cast<unsigned char>(c)]);
      TLiteralScanner scanner;
      scanner.Reset(folded, table.fold);
      if (!table.vectorized_when_possible) {
        const bool crowded_end = table.fold[static_cast<unsigned char>(folded.front())] == 'a' ||
                                 table.fold[static_cast<unsigned char>(folded.back())] == 'a';
        if (crowded_end) {
          EXPECT_FALSE(scanner.Vectorized());
        }
      }
      const std::size_t from = text.empty() ? 0 : rng() % (text.size() + 2);
      ASSERT_EQ(
          scanner.Find(reinterpret_cast<const unsigned char*>(text.data()), text.size(), from),
          NaiveFind(folded, table.fold, text, from))
          << table.name << ": '" << pattern << "' in '" << text << "' from " << from;
    }
  }
}
