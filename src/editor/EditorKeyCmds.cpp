#include "editor/EditorKeyCmds.h"

#include <cctype>

#include "editor/EditorVirtualKeys.h"

namespace {

std::vector<TEditorCommandName> BuildNames() {
  std::vector<TEditorCommandName> n = {
      {0, "ecNone"},
      {1, "ecLeft"},
      {2, "ecRight"},
      {3, "ecUp"},
      {4, "ecDown"},
      {5, "ecWordLeft"},
      {6, "ecWordRight"},
      {7, "ecLineStart"},
      {8, "ecLineEnd"},
      {9, "ecPageUp"},
      {10, "ecPageDown"},
      {11, "ecPageLeft"},
      {12, "ecPageRight"},
      {13, "ecPageTop"},
      {14, "ecPageBottom"},
      {15, "ecEditorTop"},
      {16, "ecEditorBottom"},
      {17, "ecGotoXY"},
      {101, "ecSelLeft"},
      {102, "ecSelRight"},
      {103, "ecSelUp"},
      {104, "ecSelDown"},
      {105, "ecSelWordLeft"},
      {106, "ecSelWordRight"},
      {107, "ecSelLineStart"},
      {108, "ecSelLineEnd"},
      {109, "ecSelPageUp"},
      {110, "ecSelPageDown"},
      {111, "ecSelPageLeft"},
      {112, "ecSelPageRight"},
      {113, "ecSelPageTop"},
      {114, "ecSelPageBottom"},
      {115, "ecSelEditorTop"},
      {116, "ecSelEditorBottom"},
      {117, "ecSelGotoXY"},
      {198, "ecSelWord"},
      {199, "ecSelectAll"},
      {501, "ecDeleteLastChar"},
      {502, "ecDeleteChar"},
      {503, "ecDeleteWord"},
      {504, "ecDeleteLastWord"},
      {505, "ecDeleteBOL"},
      {506, "ecDeleteEOL"},
      {507, "ecDeleteLine"},
      {508, "ecClearAll"},
      {509, "ecLineBreak"},
      {510, "ecInsertLine"},
      {511, "ecChar"},
      {550, "ecImeStr"},
      {601, "ecUndo"},
      {602, "ecRedo"},
      {603, "ecCut"},
      {201, "ecCopy"},
      {604, "ecPaste"},
      {211, "ecScrollUp"},
      {212, "ecScrollDown"},
      {213, "ecScrollLeft"},
      {214, "ecScrollRight"},
      {221, "ecInsertMode"},
      {222, "ecOverwriteMode"},
      {223, "ecToggleMode"},
      {610, "ecBlockIndent"},
      {611, "ecBlockUnindent"},
      {612, "ecTab"},
      {613, "ecShiftTab"},
      {250, "ecMatchBracket"},
      {251, "ecCommentBlock"},
      {231, "ecNormalSelect"},
      {232, "ecColumnSelect"},
      {233, "ecLineSelect"},
      {650, "ecAutoCompletion"},
      {1001, "ecUserFirst"},
      {490, "ecContextHelp"},
  };
  static const char* const kGoto[] = {
      "ecGotoMarker0", "ecGotoMarker1", "ecGotoMarker2", "ecGotoMarker3", "ecGotoMarker4",
      "ecGotoMarker5", "ecGotoMarker6", "ecGotoMarker7", "ecGotoMarker8", "ecGotoMarker9"};
  static const char* const kSet[] = {"ecSetMarker0", "ecSetMarker1", "ecSetMarker2", "ecSetMarker3",
                                     "ecSetMarker4", "ecSetMarker5", "ecSetMarker6", "ecSetMarker7",
                                     "ecSetMarker8", "ecSetMarker9"};
  for (int i = 0; i < 10; ++i)
    n.push_back({static_cast<TEditorCommand>(ecGotoMarker0 + i), kGoto[i]});
  for (int i = 0; i < 10; ++i)
    n.push_back({static_cast<TEditorCommand>(ecSetMarker0 + i), kSet[i]});
  n.insert(n.end(), {{620, "ecUpperCase"},
                     {621, "ecLowerCase"},
                     {622, "ecToggleCase"},
                     {623, "ecTitleCase"},
                     {625, "ecUpperCaseBlock"},
                     {626, "ecLowerCaseBlock"},
                     {627, "ecToggleCaseBlock"},
                     {630, "ecString"}});
  return n;
}

bool SameText(const std::string& a, const char* b) {
  std::size_t i = 0;
  for (; i < a.size() && b[i] != '\0'; ++i) {
    if (std::tolower(static_cast<unsigned char>(a[i])) !=
        std::tolower(static_cast<unsigned char>(b[i])))
      return false;
  }
  return i == a.size() && b[i] == '\0';
}

}  // namespace

bool IsEditingCommand(TEditorCommand c) {
  return (c >= ecDeleteLastChar && c <= ecChar) || c == ecImeStr || (c >= ecUndo && c <= ecPaste) ||
         (c >= ecBlockIndent && c <= ecShiftTab) ||
         (c >= ecUpperCase && c <= ecToggleCaseBlock && c != 624);
}

const std::vector<TEditorCommandName>& EditorCommandNames() {
  static const std::vector<TEditorCommandName> names = BuildNames();
  return names;
}

std::optional<std::string> EditorCommandToIdent(TEditorCommand command) {
  for (const auto& n : EditorCommandNames())
    if (n.Command == command) return std::string(n.Name);
  return std::nullopt;
}

std::optional<TEditorCommand> IdentToEditorCommand(const std::string& name) {
  for (const auto& n : EditorCommandNames())
    if (SameText(name, n.Name)) return n.Command;
  return std::nullopt;
}

std::string EditorCommandToCodeString(TEditorCommand command) {
  if (auto name = EditorCommandToIdent(command)) return *name;
  return std::to_string(command);
}

TShortCut ShortCut(std::uint16_t key, TShiftState shift) {
  TShortCut result = key & 0xFF;
  if (shift & ssShift) result |= 0x2000;
  if (shift & ssCtrl) result |= 0x4000;
  if (shift & ssAlt) result |= 0x8000;
  return result;
}

void ShortCutToKey(TShortCut shortcut, std::uint16_t& key, TShiftState& shift) {
  key = shortcut & 0xFF;
  shift = 0;
  if (shortcut & 0x2000) shift |= ssShift;
  if (shortcut & 0x4000) shift |= ssCtrl;
  if (shortcut & 0x8000) shift |= ssAlt;
}

// ---- TEditorKeyStroke

TShortCut TEditorKeyStroke::ShortCut() const { return ::ShortCut(key_, shift_); }
TShortCut TEditorKeyStroke::ShortCut2() const { return ::ShortCut(key2_, shift2_); }

int TEditorKeyStroke::Index() const { return collection_ ? collection_->IndexOf(this) : -1; }

void TEditorKeyStroke::SetShortCut(TShortCut value) {
  if (value != 0 && collection_) {
    int dup = collection_->FindShortcut2(value, ShortCut2());
    if (dup != -1 && dup != Index()) throw EKeyError("Shortcut already exists");
  }
  ShortCutToKey(value, key_, shift_);
}

void TEditorKeyStroke::SetShortCut2(TShortCut value) {
  if (value != 0 && collection_) {
    int dup = collection_->FindShortcut2(ShortCut(), value);
    if (dup != -1 && dup != Index()) throw EKeyError("Shortcut already exists");
  }
  ShortCutToKey(value, key2_, shift2_);
}

// ---- TEditorKeyStrokes

TEditorKeyStroke& TEditorKeyStrokes::Add() {
  items_.push_back(std::make_unique<TEditorKeyStroke>(this));
  return *items_.back();
}

void TEditorKeyStrokes::Delete(int index) {
  if (index >= 0 && index < Count()) items_.erase(items_.begin() + index);
}

TEditorKeyStroke& TEditorKeyStrokes::AddKeystroke(TEditorCommand command, std::uint16_t key,
                                                  TShiftState shift) {
  TEditorKeyStroke& item = Add();
  try {
    item.SetShortCut(::ShortCut(key, shift));
    item.SetCommand(command);
  } catch (...) {
    items_.pop_back();
    throw;
  }
  return item;
}

int TEditorKeyStrokes::FindKeycode(std::uint16_t key, TShiftState shift) const {
  shift &= ssShift | ssAlt | ssCtrl;
  for (int i = 0; i < Count(); ++i) {
    const auto& k = *items_[static_cast<std::size_t>(i)];
    if (k.Key() == key && k.Shift() == shift && k.Key2() == 0) return i;
  }
  return -1;
}

int TEditorKeyStrokes::FindKeycode2(std::uint16_t key, TShiftState shift, std::uint16_t key2,
                                    TShiftState shift2) const {
  shift &= ssShift | ssAlt | ssCtrl;
  shift2 &= ssShift | ssAlt | ssCtrl;
  for (int i = 0; i < Count(); ++i) {
    const auto& k = *items_[static_cast<std::size_t>(i)];
    if (k.Key() == key && k.Shift() == shift && k.Key2() == key2 && k.Shift2() == shift2) return i;
  }
  return -1;
}

int TEditorKeyStrokes::FindShortcut(TShortCut shortcut) const {
  for (int i = 0; i < Count(); ++i)
    if (items_[static_cast<std::size_t>(i)]->ShortCut() == shortcut) return i;
  return -1;
}

int TEditorKeyStrokes::FindShortcut2(TShortCut shortcut, TShortCut shortcut2) const {
  for (int i = 0; i < Count(); ++i) {
    const auto& k = *items_[static_cast<std::size_t>(i)];
    if (k.ShortCut() == shortcut && k.ShortCut2() == shortcut2) return i;
  }
  return -1;
}

int TEditorKeyStrokes::FindCommand(TEditorCommand command) const {
  for (int i = 0; i < Count(); ++i)
    if (items_[static_cast<std::size_t>(i)]->Command() == command) return i;
  return -1;
}

int TEditorKeyStrokes::IndexOf(const TEditorKeyStroke* item) const {
  for (int i = 0; i < Count(); ++i)
    if (items_[static_cast<std::size_t>(i)].get() == item) return i;
  return -1;
}

void TEditorKeyStrokes::Assign(const TEditorKeyStrokes& source) {
  if (&source == this) return;
  items_.clear();
  for (const auto& s : source.items_) {
    TEditorKeyStroke& k = Add();
    k.SetKey(s->Key());
    k.SetShift(s->Shift());
    k.SetKey2(s->Key2());
    k.SetShift2(s->Shift2());
    k.SetCommand(s->Command());
  }
}

void TEditorKeyStrokes::SetDefaultKeystrokes() {
  Clear();
  const TShiftState none = 0, s = ssShift, c = ssCtrl, cs = ssCtrl | ssShift;
  struct Row {
    std::uint16_t key;
    TEditorCommand plain, shifted, ctrl, ctrl_shift;
  };
  static const Row kMovement[] = {
      {vk::Up, ecUp, ecSelUp, ecScrollUp, ecNone},
      {vk::Down, ecDown, ecSelDown, ecScrollDown, ecNone},
      {vk::Left, ecLeft, ecSelLeft, ecWordLeft, ecSelWordLeft},
      {vk::Right, ecRight, ecSelRight, ecWordRight, ecSelWordRight},
      {vk::Next, ecPageDown, ecSelPageDown, ecPageBottom, ecSelPageBottom},
      {vk::Prior, ecPageUp, ecSelPageUp, ecPageTop, ecSelPageTop},
      {vk::Home, ecLineStart, ecSelLineStart, ecEditorTop, ecSelEditorTop},
      {vk::End, ecLineEnd, ecSelLineEnd, ecEditorBottom, ecSelEditorBottom},
  };
  for (const Row& r : kMovement) {
    AddKeystroke(r.plain, r.key, none);
    AddKeystroke(r.shifted, r.key, s);
    AddKeystroke(r.ctrl, r.key, c);
    if (r.ctrl_shift != ecNone) AddKeystroke(r.ctrl_shift, r.key, cs);
  }
  AddKeystroke(ecToggleMode, vk::Insert, none);
  AddKeystroke(ecCopy, vk::Insert, c);
  AddKeystroke(ecCut, vk::Delete, s);
  AddKeystroke(ecPaste, vk::Insert, s);
  AddKeystroke(ecDeleteChar, vk::Delete, none);
  AddKeystroke(ecDeleteLastChar, vk::Back, none);
  AddKeystroke(ecDeleteLastChar, vk::Back, s);
  AddKeystroke(ecDeleteLastWord, vk::Back, c);
  AddKeystroke(ecUndo, vk::Back, ssAlt);
  AddKeystroke(ecRedo, vk::Back, ssAlt | ssShift);
  AddKeystroke(ecLineBreak, vk::Return, none);
  AddKeystroke(ecLineBreak, vk::Return, s);
  AddKeystroke(ecTab, vk::Tab, none);
  AddKeystroke(ecShiftTab, vk::Tab, s);
  AddKeystroke(ecContextHelp, vk::F1, none);
  AddKeystroke(ecSelectAll, 'A', c);
  AddKeystroke(ecCopy, 'C', c);
  AddKeystroke(ecPaste, 'V', c);
  AddKeystroke(ecCut, 'X', c);
  AddKeystroke(ecBlockIndent, 'I', cs);
  AddKeystroke(ecBlockUnindent, 'U', cs);
  AddKeystroke(ecLineBreak, 'M', c);
  AddKeystroke(ecInsertLine, 'N', c);
  AddKeystroke(ecDeleteWord, 'T', c);
  AddKeystroke(ecDeleteLine, 'Y', c);
  AddKeystroke(ecDeleteEOL, 'Y', cs);
  AddKeystroke(ecUndo, 'Z', c);
  AddKeystroke(ecRedo, 'Z', cs);
  for (int i = 0; i <= 9; ++i)
    AddKeystroke(static_cast<TEditorCommand>(ecGotoMarker0 + i),
                 static_cast<std::uint16_t>('0' + i), c);
  for (int i = 0; i <= 9; ++i)
    AddKeystroke(static_cast<TEditorCommand>(ecSetMarker0 + i), static_cast<std::uint16_t>('0' + i),
                 cs);
  AddKeystroke(ecNormalSelect, 'N', cs);
  AddKeystroke(ecColumnSelect, 'C', cs);
  AddKeystroke(ecLineSelect, 'L', cs);
  AddKeystroke(ecMatchBracket, 'B', cs);
}
