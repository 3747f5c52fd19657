#pragma once
// The generated character tables (UnicodeTables.cpp, written by
// scripts/gen-unicode-tables). Use them through UnicodeProperties.h.
#include <cstddef>
#include <cstdint>

namespace unicode_tables {

// Code points first .. first + (count - 1) * stride map to code point + delta.
struct TCaseRun {
  std::uint32_t First;
  std::int32_t Delta;
  std::uint16_t Count;
  std::uint8_t Stride;
};

extern const std::uint32_t kPropertyRanges[];
extern const std::size_t kPropertyRangeCount;
extern const TCaseRun kFoldRuns[];
extern const std::size_t kFoldRunsCount;
extern const TCaseRun kUpperRuns[];
extern const std::size_t kUpperRunsCount;
extern const TCaseRun kLowerRuns[];
extern const std::size_t kLowerRunsCount;
// The code points of bytes 0x80-0xFF in the Western European ANSI code page.
extern const char16_t kCodePage1252HighHalf[128];

}  // namespace unicode_tables
