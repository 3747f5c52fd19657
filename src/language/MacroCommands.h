#pragma once
// The command words of the macro interpreter, and what the checker needs to
// know about the few that shape a macro: blocks, jumps, includes and ends.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

enum class TMacroCommand : std::uint8_t {
  Plain,  // any command that only takes parameters
  If,
  Then,
  ElseIf,
  Else,
  EndIf,
  For,
  Next,
  While,
  EndWhile,
  Do,
  Loop,
  Until,
  EndUntil,
  Break,
  Continue,
  Goto,
  Call,
  Include,
  End,
  Exit,
  Return,
};

// The lower-case name of a structure command ("endif"); "" for Plain.
std::string_view MacroCommandName(TMacroCommand command);

class TMacroCommandSet {
 public:
  // The words of the current interpreter.
  TMacroCommandSet();

  // The interpreter's words, built once.
  static const TMacroCommandSet& Interpreter();

  // Adds plain command words (a keyword file may list commands newer than
  // this program); words already known keep their meaning.
  void AddWords(const std::vector<std::string>& words);

  // What the word is, whatever its letter case; nullopt for no command.
  std::optional<TMacroCommand> Find(std::string_view word) const;

  // True for a command word, a word operator or a system variable.
  bool IsReserved(std::string_view word) const;

  // Every command word, lower case.
  std::vector<std::string> Words() const;

 private:
  // A reserved word that is no command (an operator or a system variable).
  static constexpr std::uint8_t kReservedOnly = 0xFF;

  // Names of the language hold at most 31 characters.
  static constexpr std::size_t kMaxWordLength = 31;

  // A slot of the open-addressing table, holding its word, so that a lookup
  // reads one place; length 0 marks an empty one.
  struct TSlot {
    std::uint32_t hash = 0;
    std::uint8_t kind = 0;  // a TMacroCommand or kReservedOnly
    std::uint8_t length = 0;
    char lower[kMaxWordLength + 1] = {};
  };

  void Add(std::string_view word, std::uint8_t kind);
  void Rebuild();
  // The slot of the word, whatever its letter case, or null.
  const TSlot* SlotOf(std::string_view word) const;
  // Hash of a word, the same in any letter case; the word is not empty.
  static std::uint32_t HashOf(std::string_view word);

  // Command words, then the other reserved words; a word is found by its
  // first entry.
  std::vector<std::string> words_;
  std::vector<std::uint8_t> kinds_;  // parallel to words_: a TMacroCommand or kReservedOnly
  std::vector<TSlot> slots_;
  std::uint32_t mask_ = 0;
  std::size_t max_length_ = 0;  // 0 until the table is built
};
