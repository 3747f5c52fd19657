#pragma once
// Editor command numbers, their names, and the key bindings that turn key
// strokes into commands.
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "editor/EditorTypes.h"
#include "platform/Exception.h"
#include "platform/Types.h"

// ---- command numbers
constexpr TEditorCommand ecNone = 0;
constexpr TEditorCommand ecLeft = 1;
constexpr TEditorCommand ecRight = 2;
constexpr TEditorCommand ecUp = 3;
constexpr TEditorCommand ecDown = 4;
constexpr TEditorCommand ecWordLeft = 5;
constexpr TEditorCommand ecWordRight = 6;
constexpr TEditorCommand ecLineStart = 7;
constexpr TEditorCommand ecLineEnd = 8;
constexpr TEditorCommand ecPageUp = 9;
constexpr TEditorCommand ecPageDown = 10;
constexpr TEditorCommand ecPageLeft = 11;
constexpr TEditorCommand ecPageRight = 12;
constexpr TEditorCommand ecPageTop = 13;
constexpr TEditorCommand ecPageBottom = 14;
constexpr TEditorCommand ecEditorTop = 15;
constexpr TEditorCommand ecEditorBottom = 16;
constexpr TEditorCommand ecGotoXY = 17;

// A selecting movement is its plain twin plus this.
constexpr TEditorCommand ecSelection = 100;
constexpr TEditorCommand ecSelLeft = 101;
constexpr TEditorCommand ecSelRight = 102;
constexpr TEditorCommand ecSelUp = 103;
constexpr TEditorCommand ecSelDown = 104;
constexpr TEditorCommand ecSelWordLeft = 105;
constexpr TEditorCommand ecSelWordRight = 106;
constexpr TEditorCommand ecSelLineStart = 107;
constexpr TEditorCommand ecSelLineEnd = 108;
constexpr TEditorCommand ecSelPageUp = 109;
constexpr TEditorCommand ecSelPageDown = 110;
constexpr TEditorCommand ecSelPageLeft = 111;
constexpr TEditorCommand ecSelPageRight = 112;
constexpr TEditorCommand ecSelPageTop = 113;
constexpr TEditorCommand ecSelPageBottom = 114;
constexpr TEditorCommand ecSelEditorTop = 115;
constexpr TEditorCommand ecSelEditorBottom = 116;
constexpr TEditorCommand ecSelGotoXY = 117;

constexpr TEditorCommand ecSelWord = 198;
constexpr TEditorCommand ecSelectAll = 199;
constexpr TEditorCommand ecCopy = 201;
constexpr TEditorCommand ecScrollUp = 211;
constexpr TEditorCommand ecScrollDown = 212;
constexpr TEditorCommand ecScrollLeft = 213;
constexpr TEditorCommand ecScrollRight = 214;
constexpr TEditorCommand ecInsertMode = 221;
constexpr TEditorCommand ecOverwriteMode = 222;
constexpr TEditorCommand ecToggleMode = 223;
constexpr TEditorCommand ecNormalSelect = 231;
constexpr TEditorCommand ecColumnSelect = 232;
constexpr TEditorCommand ecLineSelect = 233;
constexpr TEditorCommand ecMatchBracket = 250;
constexpr TEditorCommand ecCommentBlock = 251;

constexpr TEditorCommand ecGotoMarker0 = 301;
constexpr TEditorCommand ecGotoMarker9 = 310;
constexpr TEditorCommand ecSetMarker0 = 351;
constexpr TEditorCommand ecSetMarker9 = 360;

constexpr TEditorCommand ecContextHelp = 490;

constexpr TEditorCommand ecDeleteLastChar = 501;
constexpr TEditorCommand ecDeleteChar = 502;
constexpr TEditorCommand ecDeleteWord = 503;
constexpr TEditorCommand ecDeleteLastWord = 504;
constexpr TEditorCommand ecDeleteBOL = 505;
constexpr TEditorCommand ecDeleteEOL = 506;
constexpr TEditorCommand ecDeleteLine = 507;
constexpr TEditorCommand ecClearAll = 508;
constexpr TEditorCommand ecLineBreak = 509;
constexpr TEditorCommand ecInsertLine = 510;
constexpr TEditorCommand ecChar = 511;
constexpr TEditorCommand ecImeStr = 550;
constexpr TEditorCommand ecUndo = 601;
constexpr TEditorCommand ecRedo = 602;
constexpr TEditorCommand ecCut = 603;
constexpr TEditorCommand ecPaste = 604;
constexpr TEditorCommand ecBlockIndent = 610;
constexpr TEditorCommand ecBlockUnindent = 611;
constexpr TEditorCommand ecTab = 612;
constexpr TEditorCommand ecShiftTab = 613;
constexpr TEditorCommand ecUpperCase = 620;
constexpr TEditorCommand ecLowerCase = 621;
constexpr TEditorCommand ecToggleCase = 622;
constexpr TEditorCommand ecTitleCase = 623;
constexpr TEditorCommand ecUpperCaseBlock = 625;
constexpr TEditorCommand ecLowerCaseBlock = 626;
constexpr TEditorCommand ecToggleCaseBlock = 627;
constexpr TEditorCommand ecString = 630;
constexpr TEditorCommand ecAutoCompletion = 650;

constexpr TEditorCommand ecUserFirst = 1001;

// True for the commands that change text (they do nothing while read-only).
bool IsEditingCommand(TEditorCommand command);

// ---- names
struct TEditorCommandName {
  TEditorCommand Command;
  const char* Name;
};
// The name table in its fixed order (101 entries).
const std::vector<TEditorCommandName>& EditorCommandNames();
// The first name for the number, or nullopt.
std::optional<std::string> EditorCommandToIdent(TEditorCommand command);
// The first number for the name (letter case ignored), or nullopt.
std::optional<TEditorCommand> IdentToEditorCommand(const std::string& name);
// The name, or the number in decimal when it has none.
std::string EditorCommandToCodeString(TEditorCommand command);

// ---- shortcuts: low byte the virtual key, 0x2000 Shift, 0x4000 Ctrl, 0x8000 Alt
using TShortCut = std::uint16_t;
TShortCut ShortCut(std::uint16_t key, TShiftState shift);
void ShortCutToKey(TShortCut shortcut, std::uint16_t& key, TShiftState& shift);

// A second shortcut equal to another binding's pair.
class EKeyError : public Exception {
 public:
  using Exception::Exception;
};

class TEditorKeyStrokes;

// One binding of one or two keys to a command.
class TEditorKeyStroke {
 public:
  explicit TEditorKeyStroke(TEditorKeyStrokes* collection) : collection_(collection) {}

  std::uint16_t Key() const { return key_; }
  void SetKey(std::uint16_t value) { key_ = value; }
  // Only Shift, Alt and Ctrl are kept.
  TShiftState Shift() const { return shift_; }
  void SetShift(TShiftState value) { shift_ = value & (ssShift | ssAlt | ssCtrl); }
  std::uint16_t Key2() const { return key2_; }
  void SetKey2(std::uint16_t value) { key2_ = value; }
  TShiftState Shift2() const { return shift2_; }
  void SetShift2(TShiftState value) { shift2_ = value & (ssShift | ssAlt | ssCtrl); }
  TEditorCommand Command() const { return command_; }
  void SetCommand(TEditorCommand value) { command_ = value; }

  TShortCut ShortCut() const;
  TShortCut ShortCut2() const;
  // A non-zero value that, with the other shortcut of this item, equals the
  // pair of another item raises EKeyError; the item keeps its old shortcut.
  void SetShortCut(TShortCut value);
  void SetShortCut2(TShortCut value);

  // Position in the collection, -1 when detached.
  int Index() const;

 private:
  TEditorKeyStrokes* collection_;
  std::uint16_t key_ = 0;
  TShiftState shift_ = 0;
  std::uint16_t key2_ = 0;
  TShiftState shift2_ = 0;
  TEditorCommand command_ = ecNone;
};

class TEditorKeyStrokes {
 public:
  TEditorKeyStrokes() = default;
  TEditorKeyStrokes(const TEditorKeyStrokes&) = delete;
  TEditorKeyStrokes& operator=(const TEditorKeyStrokes&) = delete;

  int Count() const { return static_cast<int>(items_.size()); }
  TEditorKeyStroke& Item(int index) { return *items_.at(static_cast<std::size_t>(index)); }
  const TEditorKeyStroke& Item(int index) const {
    return *items_.at(static_cast<std::size_t>(index));
  }

  // A new empty item at the end.
  TEditorKeyStroke& Add();
  void Delete(int index);
  void Clear() { items_.clear(); }
  // Adds a one-key binding; a duplicate raises EKeyError and adds nothing.
  TEditorKeyStroke& AddKeystroke(TEditorCommand command, std::uint16_t key, TShiftState shift);

  // Index of the one-key item for (key, shift), or -1.
  int FindKeycode(std::uint16_t key, TShiftState shift) const;
  // Index of the two-key item, or -1.
  int FindKeycode2(std::uint16_t key, TShiftState shift, std::uint16_t key2,
                   TShiftState shift2) const;
  int FindShortcut(TShortCut shortcut) const;
  int FindShortcut2(TShortCut shortcut, TShortCut shortcut2) const;
  int FindCommand(TEditorCommand command) const;
  int IndexOf(const TEditorKeyStroke* item) const;

  // Copies the items of another collection.
  void Assign(const TEditorKeyStrokes& source);
  // Clears, then adds the 82 default bindings.
  void SetDefaultKeystrokes();

 private:
  std::vector<std::unique_ptr<TEditorKeyStroke>> items_;
};
