#pragma once
// The options a search run is given, and the answers to a replace prompt.
#include <cstdint>
#include <initializer_list>

// One bit per option; the bit numbers are part of how callers combine them.
enum class TSearchOption : std::uint8_t {
  MatchCase = 0,
  WholeWord = 1,
  Backwards = 2,
  EntireScope = 3,
  SelectedOnly = 4,
  ReplaceOne = 5,
  ReplaceAll = 6,
  PromptOnReplace = 7,
};

// An 8-bit set of search options.
class TSearchOptionSet {
 public:
  constexpr TSearchOptionSet() = default;
  constexpr TSearchOptionSet(std::initializer_list<TSearchOption> options) {
    for (TSearchOption o : options) Include(o);
  }
  static constexpr TSearchOptionSet FromBits(std::uint8_t bits) {
    TSearchOptionSet set;
    set.bits_ = bits;
    return set;
  }

  constexpr bool Contains(TSearchOption o) const { return (bits_ & Bit(o)) != 0; }
  constexpr void Include(TSearchOption o) { bits_ = static_cast<std::uint8_t>(bits_ | Bit(o)); }
  constexpr void Exclude(TSearchOption o) { bits_ = static_cast<std::uint8_t>(bits_ & ~Bit(o)); }
  constexpr std::uint8_t Bits() const { return bits_; }
  constexpr bool Empty() const { return bits_ == 0; }

  friend constexpr bool operator==(TSearchOptionSet, TSearchOptionSet) = default;

 private:
  static constexpr std::uint8_t Bit(TSearchOption o) {
    return static_cast<std::uint8_t>(1u << static_cast<unsigned>(o));
  }
  std::uint8_t bits_ = 0;
};

// What the owner answers when asked whether to replace one occurrence.
enum TReplaceAction : int { raCancel = 0, raSkip = 1, raReplace = 2, raReplaceAll = 3 };
