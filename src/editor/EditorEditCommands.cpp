// The editing commands: typing, deleting, line breaks with automatic
// indentation, Tab and Shift+Tab with smart tabs, block indentation and case
// conversion. Each runs in one undo block, so that it is undone in one step.
#include <algorithm>
#include <climits>
#include <cstring>

#include "editor/Editor.h"
#include "platform/CodePage.h"

namespace {

bool IsBlank(char c) { return static_cast<unsigned char>(c) <= 32; }

// The indentation built from a width: TABs and spaces, or spaces only.
std::string IndentText(int width, int tab_width, bool spaces_only) {
  if (width <= 0) return std::string();
  if (spaces_only || width < tab_width) return std::string(static_cast<std::size_t>(width), ' ');
  std::string s(static_cast<std::size_t>(width / tab_width), '\t');
  s.append(static_cast<std::size_t>(width % tab_width), ' ');
  return s;
}

}  // namespace

int TCustomEditor::LeadingIndent(std::string_view s, bool tabs_count_width) const {
  int width = 0;
  for (char c : s) {
    if (!IsBlank(c)) break;
    width += (c == '\t' && tabs_count_width) ? tab_width_ : 1;
  }
  return width;
}

void TCustomEditor::ExecuteEditingCommand(TEditorCommand command, char achar, void* data) {
  // Undo and redo move records between the lists themselves.
  if (command == ecUndo || command == ecRedo) {
    if (command == ecUndo)
      Undo();
    else
      Redo();
    return;
  }
  DoPaintTransient(ttBefore);
  TEditorUndoBlockScope block(UndoList());
  switch (command) {
    case ecChar:
      DoChar(achar);
      break;
    case ecImeStr:
      if (data) DoImeString(static_cast<const char*>(data));
      break;
    case ecDeleteChar:
      DoDeleteChar();
      break;
    case ecDeleteLastChar:
      DoDeleteLastChar();
      break;
    case ecDeleteWord:
      DoDeleteWord();
      break;
    case ecDeleteLastWord:
      DoDeleteLastWord();
      break;
    case ecDeleteBOL:
      DoDeleteBOL();
      break;
    case ecDeleteEOL:
      DoDeleteEOL();
      break;
    case ecDeleteLine:
      DoDeleteLine();
      break;
    case ecLineBreak:
    case ecInsertLine:
      DoLineBreak(command == ecLineBreak);
      break;
    case ecTab:
      DoTab();
      break;
    case ecShiftTab:
      DoShiftTab();
      break;
    case ecBlockIndent:
      DoBlockIndent();
      break;
    case ecBlockUnindent:
      DoBlockUnindent();
      break;
    case ecCut:
      DoCopy();
      SetSelectedText("");
      break;
    case ecCopy:
      DoCopy();
      break;
    case ecPaste:
      DoPaste();
      break;
    case ecUpperCase:
    case ecLowerCase:
    case ecToggleCase:
    case ecTitleCase:
      DoCaseWord(command);
      break;
    case ecUpperCaseBlock:
    case ecLowerCaseBlock:
    case ecToggleCaseBlock:
      DoCaseBlock(command);
      break;
    default:
      break;
  }
  DoPaintTransient(ttAfter);
}

// ---- typing

void TCustomEditor::DoChar(char c) {
  const auto u = static_cast<unsigned char>(c);
  if (u < 32 || u == 127) return;
  const ICodePage* cp = CharSet();
  if (u >= 0x80 && cp && cp->UnicodeText()) {
    // A character of the ANSI code page, typed into Unicode text.
    const std::string text = ConvertText(std::string_view(&c, 1), AnsiCharSet(), *cp);
    SetSelectedText(text);
    return;
  }
  SetSelectedText(std::string_view(&c, 1));
}

void TCustomEditor::DoImeString(const char* s) {
  const std::string_view text(s);
  if (text.empty()) return;
  if (HasSelection()) {
    SetSelectedText(text);
    return;
  }
  if (lines_->Count() == 0) lines_->Add("");
  PadToCaretRecorded();
  const int x = caret_.Char, y = caret_.Line;
  std::string line = LineStr(y);
  std::string overwritten;
  if (!insert_mode_) {
    // As many characters as the string has, every character kept whole.
    const ICodePage& cp = TextCharSet();
    std::size_t end = static_cast<std::size_t>(x - 1);
    std::size_t chars = 0;
    for (std::size_t i = 0; i < text.size(); i += cp.CharLength(text, i)) ++chars;
    while (chars > 0 && end < line.size()) {
      end += cp.CharLength(line, end);
      --chars;
    }
    overwritten =
        line.substr(static_cast<std::size_t>(x - 1), end - static_cast<std::size_t>(x - 1));
    line.erase(static_cast<std::size_t>(x - 1), overwritten.size());
  }
  line.insert(static_cast<std::size_t>(x - 1), text);
  PutLine(y, line);
  const TBufferCoord end{x + static_cast<int>(text.size()), y};
  UndoList().AddRecord(ckInsert, {x, y}, smNormal, overwritten, end);
  PlaceCaret(end);
  const int column = CaretDisplayPos().Column;
  if (visible_columns_ > 0 && column >= left_column_ + visible_columns_)
    SetLeftColumn(left_column_ + std::min(25, visible_columns_ - 1));
}

// ---- deleting

bool TCustomEditor::DeleteSelectionFirst() {
  if (HasSelection()) {
    SetSelectedText("");
    return true;
  }
  return lines_->Count() == 0;
}

void TCustomEditor::DoDeleteChar() {
  if (DeleteSelectionFirst()) return;
  const int x = caret_.Char, y = caret_.Line;
  const std::string s = LineStr(y);
  const int n = static_cast<int>(s.size());
  if (x > n) {
    if (y >= lines_->Count()) return;
    PadToCaretRecorded();
    const std::string text = RemoveRange({x, y}, {1, y + 1}, smNormal);
    UndoList().AddRecord(ckDeleteAtCaret, {x, y}, smNormal, text, {1, y + 1});
    PlaceCaret({x, y});
    return;
  }
  const int count = NextCharPos(s, x) - x;
  const std::string text = RemoveRange({x, y}, {x + count, y}, smNormal);
  UndoList().AddRecord(ckDeleteAtCaret, {x, y}, smNormal, text, {x + count, y});
  PlaceCaret({x, y});
}

void TCustomEditor::DoDeleteLastChar() {
  if (DeleteSelectionFirst()) return;
  const int x = caret_.Char, y = caret_.Line;
  const std::string s = LineStr(y);
  const int n = static_cast<int>(s.size());
  // The indentation of the nearest line above indented less than `width`.
  const auto smaller_indent_above = [&](int width, bool columns) {
    for (int l = y - 1; l >= 1; --l) {
      const std::string t = LineStr(l);
      if (t.empty()) continue;
      const int w = LeadingIndent(t, columns);
      if (w < width) return w;
    }
    return 0;
  };
  if (x > n + 1) {
    int target = x - 1;
    if (options_.Contains(eoSmartTabDelete)) {
      if (n > 0)
        target = n + 1;
      else
        target = smaller_indent_above(x - 1, options_.Contains(eoTrimTrailingSpaces)) + 1;
    }
    PlaceCaret({target, y});
    return;
  }
  if (x == 1) {
    if (y == 1) return;
    const int prev_len = LineLength(y - 1);
    const std::string text = RemoveRange({prev_len + 1, y - 1}, {1, y}, smNormal);
    UndoList().AddRecord(ckDeleteBeforeCaret, {prev_len + 1, y - 1}, smNormal, text, {1, y});
    PlaceCaret({prev_len + 1, y - 1});
    return;
  }
  const std::string_view before(s.data(), static_cast<std::size_t>(x - 1));
  const bool only_blanks = std::all_of(before.begin(), before.end(), IsBlank);
  int from = x - 1;
  if (IsBlank(s[static_cast<std::size_t>(x - 2)]) && only_blanks) {
    if (options_.Contains(eoSmartTabDelete)) {
      const int keep = smaller_indent_above(x - 1, false);
      from = std::min(keep, x - 1) + 1;
    } else {
      const int column = BufferToDisplayPos({x, y}).Column;
      const int target = ((column - 2) / tab_width_) * tab_width_ + 1;
      from = x;
      while (from > 1 && BufferToDisplayPos({from, y}).Column > target) {
        const bool tab = s[static_cast<std::size_t>(from - 2)] == '\t';
        --from;
        if (tab) break;
      }
    }
  } else {
    from = PrevCharPos(s, x);
  }
  if (from >= x) return;
  RemoveRecorded({from, y}, {x, y}, ckDeleteBeforeCaret, {from, y});
}

void TCustomEditor::DoDeleteWord() {
  if (lines_->Count() == 0) return;
  PadToCaretRecorded();
  const int x = caret_.Char, y = caret_.Line;
  const std::string s = LineStr(y);
  const int n = static_cast<int>(s.size());
  TBufferCoord end{x, y};
  const auto blank_run = [&](int i) {
    while (i <= n && s[static_cast<std::size_t>(i - 1)] == ' ') ++i;
    return i;
  };
  if (x > n) {
    if (y >= lines_->Count()) return;
    const std::string next = LineStr(y + 1);
    int i = 1;
    // The next line's leading spaces go with the break; its tabs stay.
    while (i <= static_cast<int>(next.size()) && next[static_cast<std::size_t>(i - 1)] == ' ') ++i;
    end = {i, y + 1};
  } else if (WordEnd({x, y}).Char > x) {
    end = {blank_run(WordEnd({x, y}).Char), y};
  } else if (s[static_cast<std::size_t>(x - 1)] == ' ') {
    end = {blank_run(x), y};
  } else {
    end = {blank_run(NextCharPos(s, x)), y};
  }
  RemoveRecorded({x, y}, end, ckDeleteAtCaret, {x, y});
}

void TCustomEditor::DoDeleteLastWord() {
  if (lines_->Count() == 0) return;
  const TBufferCoord to{std::min(caret_.Char, LineLength(caret_.Line) + 1), caret_.Line};
  const TBufferCoord from = PrevWordPos(caret_);
  if (!(from < to)) return;
  RemoveRecorded(from, to, ckDeleteBeforeCaret, from);
}

void TCustomEditor::DoDeleteBOL() {
  if (lines_->Count() == 0) return;
  const TBufferCoord to{std::min(caret_.Char, LineLength(caret_.Line) + 1), caret_.Line};
  RemoveRecorded({1, caret_.Line}, to, ckDeleteBeforeCaret, {1, caret_.Line});
}

void TCustomEditor::DoDeleteEOL() {
  if (lines_->Count() == 0) return;
  const int len = LineLength(caret_.Line);
  if (caret_.Char > len) return;
  RemoveRecorded(caret_, {len + 1, caret_.Line}, ckDeleteAtCaret, caret_);
}

void TCustomEditor::DoDeleteLine() {
  const int count = lines_->Count();
  if (count == 0) return;
  const int y = caret_.Line;
  if (y == count && LineLength(y) == 0) return;
  PlaceCaret({1, y});
  const TBufferCoord end = y < count ? TBufferCoord{1, y + 1} : TBufferCoord{LineLength(y) + 1, y};
  const std::string text = RemoveRange({1, y}, end, smNormal);
  UndoList().AddRecord(ckDeleteAtCaret, {1, y}, smNormal, text, end);
  PlaceCaret({1, y});
}

// ---- line breaks

void TCustomEditor::DoLineBreak(bool move_caret) {
  if (HasSelection()) SetSelectedText("");
  if (lines_->Count() == 0) lines_->Add("");
  const bool auto_indent = options_.Contains(eoAutoIndent);
  const int x = caret_.Char, y = caret_.Line;
  const std::string s = LineStr(y);
  const int n = static_cast<int>(s.size());
  if (n == 0) {
    int indent = 0;
    if (auto_indent) {
      for (int l = y; l >= 1; --l) {
        const std::string t = LineStr(l);
        if (t.empty()) continue;
        indent = LeadingIndent(t, true);
        break;
      }
    }
    UndoList().AddRecord(ckLineBreak, {1, y}, smNormal, std::string(), {1, y});
    InsertLinesAt(y, {std::string_view()});
    PlaceCaret(move_caret ? TBufferCoord{indent + 1, y + 1} : TBufferCoord{x, y});
  } else if (x > n) {
    std::string prefix;
    if (auto_indent) prefix = s.substr(0, static_cast<std::size_t>(LeadingIndent(s, false)));
    UndoList().AddRecord(ckLineBreak, {x, y}, smNormal, std::string(), {x, y});
    InsertLinesAt(y + 1, {move_caret ? std::string_view(prefix) : std::string_view()});
    PlaceCaret(move_caret ? TBufferCoord{static_cast<int>(prefix.size()) + 1, y + 1}
                          : TBufferCoord{x, y});
  } else if (x == 1) {
    UndoList().AddRecord(ckLineBreak, {1, y}, smNormal, s, {1, y});
    InsertLinesAt(y, {std::string_view()});
    PlaceCaret(move_caret ? TBufferCoord{1, y + 1} : TBufferCoord{1, y});
  } else {
    const std::string left = s.substr(0, static_cast<std::size_t>(x - 1));
    const std::string right = s.substr(static_cast<std::size_t>(x - 1));
    const std::string indent = auto_indent ? IndentText(LeadingIndent(left, true), tab_width_,
                                                        options_.Contains(eoTabsToSpaces))
                                           : std::string();
    UndoList().AddRecord(ckLineBreak, {x, y}, smNormal, right, {x, y});
    PutLine(y, left);
    InsertLinesAt(y + 1, {indent + right});
    PlaceCaret(move_caret ? TBufferCoord{static_cast<int>(indent.size()) + 1, y + 1}
                          : TBufferCoord{x, y});
  }
}

// ---- tabs

bool TCustomEditor::TabIndentsBlock() const {
  if (!options_.Contains(eoTabIndent) || !HasSelection()) return false;
  const TBufferCoord b = SelectionBegin(), e = SelectionFinish();
  if (b.Line != e.Line) return true;
  return b.Char == 1 && e.Char > LineLength(caret_.Line);
}

int TCustomEditor::SmartTabDistance() const {
  if (!options_.Contains(eoSmartTabs) || caret_.Line <= 1) return 0;
  const int column = CaretDisplayPos().Column;
  for (int l = caret_.Line - 1; l >= 1; --l) {
    const std::string_view t = lines_->LineView(l - 1);
    if (lines_->GetExpandedLength(l - 1) < column) continue;
    int i = DisplayToBufferPos({column, l}).Char;
    const int len = static_cast<int>(t.size());
    while (i <= len && !IsBlank(t[static_cast<std::size_t>(i - 1)])) ++i;
    while (i <= len && IsBlank(t[static_cast<std::size_t>(i - 1)])) ++i;
    return BufferToDisplayPos({i, l}).Column - column;
  }
  return 0;
}

void TCustomEditor::DoTab() {
  if (TabIndentsBlock()) {
    const TBufferCoord b = SelectionBegin(), e = SelectionFinish();
    const bool same_line = b.Line == e.Line;
    DoBlockIndent();
    if (same_line) {
      // The selection now starts at column 1.
      if (sel_anchor_ < sel_end_)
        sel_anchor_.Char = 1;
      else
        sel_end_.Char = 1;
      InvalidateSelection();
    }
    return;
  }
  const int distance = SmartTabDistance();
  if (HasSelection()) SetSelectedText("");
  if (lines_->Count() == 0) lines_->Add("");
  const int column = CaretDisplayPos().Column;
  const std::string s = LineStr(caret_.Line);
  std::string insert;
  int target_column;
  if (options_.Contains(eoTabsToSpaces)) {
    const int count = distance > 0 ? distance : tab_width_ - (column - 1) % tab_width_;
    insert.assign(static_cast<std::size_t>(count), ' ');
    target_column = column + count;
  } else {
    const std::string_view before(s.data(), std::min<std::size_t>(s.size(), caret_.Char - 1));
    const bool only_blanks = std::all_of(before.begin(), before.end(), IsBlank);
    if (distance > 0 && only_blanks) {
      const int target = column + distance;  // display column to reach
      int c = column;
      const int next_stop = ((c - 1) / tab_width_ + 1) * tab_width_ + 1;
      if (next_stop <= target) {
        insert += '\t';
        c = next_stop;
        while (c + tab_width_ <= target) {
          insert += '\t';
          c += tab_width_;
        }
      }
      insert.append(static_cast<std::size_t>(target - c), ' ');
      target_column = target;
    } else {
      insert = "\t";
      target_column = ((column - 1) / tab_width_ + 1) * tab_width_ + 1;
    }
  }
  if (options_.Contains(eoTrimTrailingSpaces) && caret_.Char > LineLength(caret_.Line)) {
    PlaceCaret(DisplayToBufferPos({target_column, caret_.Line}));
    return;
  }
  InsertAtCaretRecorded(insert);
}

void TCustomEditor::DoShiftTab() {
  if (TabIndentsBlock()) {
    DoBlockUnindent();
    return;
  }
  if (lines_->Count() == 0) return;
  const int x = caret_.Char, y = caret_.Line;
  if (x <= 1) return;
  int target = 0;
  if (options_.Contains(eoSmartTabs) && y > 1) {
    for (int l = y - 1; l >= 1; --l) {
      const std::string_view t = lines_->LineView(l - 1);
      if (static_cast<int>(t.size()) < x - 1) continue;
      int i = x - 1;
      while (i >= 1 && t[static_cast<std::size_t>(i - 1)] == ' ') --i;
      while (i >= 1 && t[static_cast<std::size_t>(i - 1)] != ' ') --i;
      target = i + 1;
      break;
    }
  }
  const std::string s = LineStr(y);
  if (target == 0) {
    target = (x - 2) / tab_width_ * tab_width_ + 1;
    if (x > static_cast<int>(s.size()) + 1) {
      PlaceCaret({target, y});
      return;
    }
    if (s[static_cast<std::size_t>(x - 2)] == '\t') {
      target = x - 1;
    } else {
      int i = x;
      while (i > target && s[static_cast<std::size_t>(i - 2)] == ' ') --i;
      target = i;
    }
  }
  if (target >= x) return;
  const int to = std::min(x, static_cast<int>(s.size()) + 1);
  if (target < to)
    RemoveRecorded({target, y}, {to, y}, ckDeleteBeforeCaret, {target, y});
  else
    PlaceCaret({target, y});
}

// ---- block indentation

void TCustomEditor::DoBlockIndent() {
  if (!HasSelection() || lines_->Count() == 0) return;
  const TBufferCoord old_anchor = sel_anchor_, old_end = sel_end_;
  const TBufferCoord b = SelectionBegin(), e = SelectionFinish();
  const TSelectionMode mode = active_selection_mode_;
  const bool ends_at_1 = e.Char == 1 && e.Line > b.Line;
  const int last = ends_at_1 ? e.Line - 1 : e.Line;
  const bool spaces = options_.Contains(eoTabsToSpaces);
  const std::string unit = spaces ? std::string(static_cast<std::size_t>(tab_width_), ' ') : "\t";
  const int block_column = std::min(BufferToDisplayPos(b).Column, BufferToDisplayPos(e).Column);
  const int at_char = mode == smColumn ? DisplayToBufferPos({block_column, b.Line}).Char : 1;
  std::string block;
  for (int l = b.Line; l <= last; ++l) {
    if (l > b.Line) block += "\r\n";
    block += unit;
  }
  UndoList().AddRecord(ckIndent, old_anchor, mode, std::string(), old_end);
  const TBufferCoord caret = caret_;
  InsertColumn({at_char, b.Line}, block, true, true);
  const int grow = static_cast<int>(unit.size());
  TBufferCoord na = old_anchor, ne = old_end;
  auto grow_end = [&](TBufferCoord& p) {
    if (p == e && ends_at_1) return;
    p.Char += grow;
  };
  grow_end(na);
  grow_end(ne);
  TBufferCoord nc = caret;
  nc.Char = ends_at_1 && caret == e ? 1 : caret.Char + (spaces ? tab_width_ : 1);
  SetActiveSelectionMode(mode);
  SelectRange(na, ne, nc);
  UndoList().AddRecord(ckIndent, na, mode, std::string(), ne);
}

void TCustomEditor::DoBlockUnindent() {
  if (!HasSelection() || lines_->Count() == 0) return;
  const TBufferCoord b = SelectionBegin(), e = SelectionFinish();
  const TSelectionMode mode = active_selection_mode_;
  const bool ends_at_1 = e.Char == 1 && e.Line > b.Line;
  const int last = ends_at_1 ? e.Line - 1 : e.Line;
  const int block_column = std::min(BufferToDisplayPos(b).Column, BufferToDisplayPos(e).Column);
  // The column each line works at (a column block's left edge, or column 1).
  const auto at_char_of = [&](int line) {
    return mode == smColumn ? DisplayToBufferPos({block_column, line}).Char : 1;
  };
  std::vector<std::string> prefixes;
  bool any = false;
  for (int l = b.Line; l <= last; ++l) {
    const std::string_view s = lines_->LineView(l - 1);
    const int at_char = at_char_of(l);
    std::size_t i = static_cast<std::size_t>(at_char - 1);
    std::size_t n = 0;
    if (i < s.size() && s[i] == '\t') {
      n = 1;
    } else {
      while (i + n < s.size() && n < static_cast<std::size_t>(tab_width_) && s[i + n] == ' ') ++n;
      if (n < static_cast<std::size_t>(tab_width_) && i + n < s.size() && s[i + n] == '\t') ++n;
    }
    prefixes.emplace_back(i < s.size() ? s.substr(i, n) : std::string_view());
    if (n > 0) any = true;
  }
  if (!any) return;
  std::string joined;
  for (std::size_t k = 0; k < prefixes.size(); ++k) {
    if (k) joined += "\r\n";
    joined += prefixes[k];
  }
  // A column block's edge may fall inside TABs on some lines: there each
  // line's prefix is recorded where it stood, so that undo puts it back there.
  if (mode == smColumn)
    UndoList().AddRecord(ckSelectionMark, sel_anchor_, mode, std::string(), sel_end_);
  else
    UndoList().AddRecord(ckUnindent, b, mode, joined, e);
  for (int l = b.Line; l <= last; ++l) {
    const std::string& p = prefixes[static_cast<std::size_t>(l - b.Line)];
    if (p.empty()) continue;
    const int at = at_char_of(l);
    std::string s = LineStr(l);
    s.erase(static_cast<std::size_t>(at - 1), p.size());
    PutLine(l, s);
    if (mode == smColumn)
      UndoList().AddRecord(ckDelete, {at, l}, smNormal, p, {at + static_cast<int>(p.size()), l});
  }
  TBufferCoord na = sel_anchor_, ne = sel_end_, nc = caret_;
  if (mode != smColumn) {
    const auto shrink = [&](TBufferCoord& p) {
      const int k = p.Line - b.Line;
      if (k < 0 || k >= static_cast<int>(prefixes.size())) return;
      p.Char = std::max(1, p.Char - static_cast<int>(prefixes[static_cast<std::size_t>(k)].size()));
    };
    shrink(na);
    shrink(ne);
    shrink(nc);
  }
  SelectRange(na, ne, nc);
}

// ---- case conversion

std::string TCustomEditor::ConvertCase(std::string text, TEditorCommand command) const {
  TCaseMapping how = TCaseMapping::Lower;
  switch (command) {
    case ecUpperCase:
    case ecUpperCaseBlock:
      how = TCaseMapping::Upper;
      break;
    case ecToggleCase:
    case ecToggleCaseBlock:
      how = TCaseMapping::Toggle;
      break;
    case ecTitleCase:
      how = TCaseMapping::Title;
      break;
    default:
      break;
  }
  return TextCharSet().MapCase(text, how);
}

void TCustomEditor::DoCaseWord(TEditorCommand command) {
  if (lines_->Count() == 0) return;
  TBufferCoord pos = caret_;
  TBufferCoord ws = WordStart(pos), we = WordEnd(pos);
  for (int step = 0; step < 2 && !(ws.Char < we.Char); ++step) {
    pos = PrevWordPos(pos);
    if (pos.Line != caret_.Line) break;
    ws = WordStart(pos);
    we = WordEnd(pos);
  }
  if (!(ws.Char < we.Char)) return;
  // Case may change the length of a character in Unicode text: the caret
  // keeps its column.
  const TBufferCoord caret = caret_;
  const TDisplayCoord caret_cell = CaretDisplayPos();
  UndoList().AddRecord(ckCaretMark, caret, active_selection_mode_, std::string(), caret);
  UndoList().AddRecord(ckSelectionMark, sel_anchor_, active_selection_mode_, std::string(),
                       sel_end_);
  const TSelectionMode mode = active_selection_mode_;
  SetActiveSelectionMode(smNormal);
  SelectRange(ws, we, we);
  const std::string word = SelectedText();
  const std::string converted = ConvertCase(word, command);
  SetSelectedText(converted);
  SetActiveSelectionMode(mode);
  PlaceCaret(converted.size() == word.size() ? caret : DisplayToBufferStep(caret_cell, -1));
}

void TCustomEditor::DoCaseBlock(TEditorCommand command) {
  if (lines_->Count() == 0) return;
  const TBufferCoord anchor = sel_anchor_, end = sel_end_, caret = caret_;
  const TSelectionMode mode = active_selection_mode_;
  if (!HasSelection()) {
    if (caret_.Char > LineLength(caret_.Line)) return;
    sel_anchor_ = caret_;
    sel_end_ = {caret_.Char + 1, caret_.Line};
  }
  const std::string text = SelectedText();
  const std::string converted = ConvertCase(text, command);
  if (converted == text) {
    sel_anchor_ = anchor;
    sel_end_ = end;
    return;
  }
  UndoList().AddRecord(ckCaretMark, caret, mode, std::string(), caret);
  UndoList().AddRecord(ckSelectionMark, anchor, mode, std::string(), end);
  // Case may change the length of a character in Unicode text: the ends of
  // the selection keep their columns.
  const TDisplayCoord anchor_cell = BufferToDisplayPos(anchor), end_cell = BufferToDisplayPos(end),
                      caret_cell = BufferToDisplayPos(caret);
  SetSelectedText(converted);
  SetActiveSelectionMode(mode);
  if (converted.size() == text.size())
    SelectRange(anchor, end, caret);
  else
    SelectRange(DisplayToBufferStep(anchor_cell, -1), DisplayToBufferStep(end_cell, -1),
                DisplayToBufferStep(caret_cell, -1));
}
