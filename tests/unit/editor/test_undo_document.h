#pragma once
// A small text document that undo and redo work on, and an editor in miniature
// on top of it that records its edits the way the editor control does.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <string_view>
#include <vector>

#include "editor/EditorUndoApply.h"
#include "editor/EditorUndoHistory.h"

// Lines of text with a caret and a selection; one column per character.
class TUndoTestDocument : public IUndoTarget {
 public:
  explicit TUndoTestDocument(std::vector<std::string> initial = {""}) : lines(std::move(initial)) {}

  std::vector<std::string> lines;
  TBufferCoord caret;
  TBufferCoord anchor;
  TBufferCoord sel_end;
  TSelectionMode mode = smNormal;
  TTextEncoding encoding = TTextEncoding::Ansi;
  int open_runs = 0;

  std::string Text() const {
    std::string text;
    for (std::size_t i = 0; i < lines.size(); ++i) text += (i ? "\r\n" : "") + lines[i];
    return text;
  }
  std::string& Line(int line) { return lines[line - 1]; }

  void BeginUndoRedo() override { ++open_runs; }
  void EndUndoRedo() override { --open_runs; }
  int LineCount() const override { return static_cast<int>(lines.size()); }
  std::string LineText(int line) const override {
    return line >= 1 && line <= LineCount() ? lines[line - 1] : std::string();
  }
  void SetLineText(int line, std::string_view text) override { Line(line) = text; }
  void InsertLine(int line, std::string_view text) override {
    lines.insert(lines.begin() + (line - 1), std::string(text));
  }
  void DeleteLine(int line) override { lines.erase(lines.begin() + (line - 1)); }
  std::string SwapEncoding(std::string_view packed) override {
    TEncodingChange change = UnpackEncodingChange(packed), before{encoding, {}, {}};
    encoding = change.Encoding;
    for (auto& [index, text] : change.Lines) {
      before.Lines.emplace_back(index, lines[static_cast<std::size_t>(index)]);
      lines[static_cast<std::size_t>(index)] = text;
    }
    return PackEncodingChange(before);
  }

  std::string DeleteRange(TBufferCoord a, TBufferCoord b, TSelectionMode how) override {
    if (b < a) std::swap(a, b);
    std::string removed;
    if (how == smColumn) {
      const int left = std::min(a.Char, b.Char) - 1;
      const int right = std::max(a.Char, b.Char) - 1;
      for (int l = a.Line; l <= b.Line; ++l) {
        std::string& s = Line(l);
        const auto from = std::min<std::size_t>(left, s.size());
        const auto to = std::min<std::size_t>(right, s.size());
        removed += (l > a.Line ? "\r\n" : "") + s.substr(from, to - from);
        s.erase(from, to - from);
      }
      return removed;
    }
    EXPECT_EQ(how, smNormal) << "the test document knows normal and column mode only";
    const auto from = std::min<std::size_t>(a.Char - 1, Line(a.Line).size());
    const auto to = std::min<std::size_t>(b.Char - 1, Line(b.Line).size());
    if (a.Line == b.Line) {
      removed = Line(a.Line).substr(from, to - from);
      Line(a.Line).erase(from, to - from);
      return removed;
    }
    removed = Line(a.Line).substr(from);
    for (int l = a.Line + 1; l < b.Line; ++l) removed += "\r\n" + Line(l);
    removed += "\r\n" + Line(b.Line).substr(0, to);
    Line(a.Line) = Line(a.Line).substr(0, from) + Line(b.Line).substr(to);
    lines.erase(lines.begin() + a.Line, lines.begin() + b.Line);
    return removed;
  }

  TBufferCoord InsertTextAt(TBufferCoord at, std::string_view text, TSelectionMode how) override {
    const std::vector<std::string_view> pieces = SplitUndoLines(text);
    if (text.empty()) return at;
    while (LineCount() < at.Line) lines.emplace_back();
    if (how == smColumn) {
      for (std::size_t i = 0; i < pieces.size(); ++i) {
        const int l = at.Line + static_cast<int>(i);
        if (l > LineCount()) lines.emplace_back();
        if (pieces[i].empty()) continue;
        std::string& s = Line(l);
        if (s.size() < static_cast<std::size_t>(at.Char - 1)) s.resize(at.Char - 1, ' ');
        s.insert(at.Char - 1, pieces[i]);
      }
      const int last = static_cast<int>(pieces.size()) - 1;
      return {at.Char + static_cast<int>(pieces.back().size()), at.Line + last};
    }
    std::string& s = Line(at.Line);
    if (s.size() < static_cast<std::size_t>(at.Char - 1)) s.resize(at.Char - 1, ' ');
    const std::string right = s.substr(at.Char - 1);
    s.erase(at.Char - 1);
    s += pieces.front();
    TBufferCoord end{static_cast<int>(s.size()) + 1, at.Line};
    for (std::size_t i = 1; i < pieces.size(); ++i) {
      lines.insert(lines.begin() + end.Line, std::string(pieces[i]));
      end = {static_cast<int>(pieces[i].size()) + 1, end.Line + 1};
    }
    Line(end.Line) += right;
    return end;
  }

  // The line-break command with automatic indentation.
  void BreakLine(TBufferCoord at) {
    if (lines.empty()) lines.emplace_back();
    const std::string text = Line(at.Line);
    if (text.empty() || at.Char == 1) {
      InsertLine(at.Line, "");
      caret = {1, at.Line + 1};
    } else {
      const std::string left = text.substr(0, std::min<std::size_t>(at.Char - 1, text.size()));
      const std::string right = text.substr(left.size());
      const std::string indent = left.substr(0, left.find_first_not_of(" \t"));
      Line(at.Line) = left;
      InsertLine(at.Line + 1, indent + right);
      caret = {static_cast<int>(indent.size()) + 1, at.Line + 1};
    }
    anchor = sel_end = caret;
  }

  TBufferCoord CaretPos() const override { return caret; }
  void SetCaretPos(TBufferCoord value) override { caret = anchor = sel_end = value; }
  TBufferCoord SelectionAnchor() const override { return anchor; }
  TBufferCoord SelectionEnd() const override { return sel_end; }
  void SetCaretAndSelection(TBufferCoord c, TBufferCoord a, TBufferCoord e) override {
    caret = c;
    anchor = a;
    sel_end = e;
  }
  TSelectionMode ActiveSelectionMode() const override { return mode; }
  void SetActiveSelectionMode(TSelectionMode value) override { mode = value; }
};

// Edits that record what they do, as the editor's editing operations do.
class TMiniEditor {
 public:
  explicit TMiniEditor(std::vector<std::string> initial = {""}) : doc(std::move(initial)) {}

  TUndoTestDocument doc;
  TEditorUndoHistory history;
  TEditorUndoList& Undos() { return history.UndoList(); }

  void Undo() { history.Undo(doc); }
  void Redo() { history.Redo(doc); }
  std::string Text() const { return doc.Text(); }

  void MoveCaret(TBufferCoord to) {
    history.CaretMoved();
    doc.SetCaretPos(to);
  }
  void Select(TBufferCoord from, TBufferCoord to, TSelectionMode how = smNormal) {
    history.CaretMoved();
    doc.mode = how;
    doc.SetCaretAndSelection(to, from, to);
  }
  bool HasSelection() const {
    return doc.mode == smColumn ? doc.anchor.Char != doc.sel_end.Char : doc.anchor != doc.sel_end;
  }

  // Deletes the selection and records it; the caret goes where the text
  // closed up.
  void DeleteSelection() {
    const TBufferCoord a = doc.anchor;
    const TBufferCoord e = doc.sel_end;
    const TBufferCoord begin = e < a ? e : a;
    const TBufferCoord end = e < a ? a : e;
    const std::string removed = doc.DeleteRange(a, e, doc.mode);
    Undos().AddRecord(e < a ? ckDeleteReversed : ckDelete, begin, doc.mode, removed, end);
    doc.SetCaretPos(doc.mode == smColumn ? TBufferCoord{std::min(a.Char, e.Char), begin.Line}
                                         : begin);
  }

  // Replaces the selection by text, or inserts it at the caret, in one block.
  void Type(std::string_view text, TChangeReason reason = ckInsert) {
    Undos().OpenGroup();
    if (HasSelection()) DeleteSelection();
    if (!text.empty()) {
      if (doc.mode == smColumn) {
        InsertColumnPieces(text);
      } else {
        const int length = static_cast<int>(doc.Line(doc.caret.Line).size());
        const TBufferCoord start{std::min(doc.caret.Char, length + 1), doc.caret.Line};
        const TBufferCoord end = doc.InsertTextAt(doc.caret, text, smNormal);
        Undos().AddRecord(reason, start, smNormal, "", end);
        doc.SetCaretPos(end);
      }
    }
    Undos().CloseGroup();
  }

  void Paste(std::string_view text) {
    Undos().OpenGroup();
    Undos().AddRecord(ckPasteOpen, doc.caret, smNormal, "", doc.caret);
    Type(text, ckPaste);
    Undos().AddRecord(ckPasteClose, doc.caret, smNormal, "", doc.caret);
    Undos().CloseGroup();
  }

  void Backspace() {
    if (HasSelection()) return DeleteSelection();
    const TBufferCoord c = doc.caret;
    if (c.Char > 1) {
      const std::string removed = doc.DeleteRange({c.Char - 1, c.Line}, c, smNormal);
      Undos().AddRecord(ckDeleteBeforeCaret, {c.Char - 1, c.Line}, smNormal, removed, c);
      doc.SetCaretPos({c.Char - 1, c.Line});
    } else if (c.Line > 1) {
      const TBufferCoord joint{static_cast<int>(doc.Line(c.Line - 1).size()) + 1, c.Line - 1};
      const std::string removed = doc.DeleteRange(joint, c, smNormal);
      Undos().AddRecord(ckDeleteBeforeCaret, joint, smNormal, removed, c);
      doc.SetCaretPos(joint);
    }
  }

  void DeleteAtCaret() {
    const TBufferCoord c = doc.caret;
    const int length = static_cast<int>(doc.Line(c.Line).size());
    const TBufferCoord to = c.Char <= length           ? TBufferCoord{c.Char + 1, c.Line}
                            : c.Line < doc.LineCount() ? TBufferCoord{1, c.Line + 1}
                                                       : c;
    if (to == c) return;
    const std::string removed = doc.DeleteRange(c, to, smNormal);
    Undos().AddRecord(ckDeleteAtCaret, c, smNormal, removed, to);
  }

  void LineBreak() {
    Undos().OpenGroup();
    if (HasSelection()) DeleteSelection();
    const TBufferCoord c = doc.caret;
    const std::string text = doc.Line(c.Line);
    const std::string moved =
        c.Char <= static_cast<int>(text.size()) ? text.substr(c.Char - 1) : "";
    Undos().AddRecord(ckLineBreak, c, smNormal, moved, c);
    doc.BreakLine(c);
    Undos().CloseGroup();
  }

  // Indents lines first..last by one TAB; the selection grows with the text.
  void BlockIndent(int first, int last) {
    Undos().OpenGroup();
    Undos().AddRecord(ckIndent, doc.anchor, doc.mode, "", doc.sel_end);
    for (int l = first; l <= last; ++l) {
      doc.InsertTextAt({1, l}, "\t", smNormal);
      Undos().AddRecord(ckInsert, {1, l}, smNormal, "", {2, l});
    }
    doc.anchor.Char += 1;
    doc.sel_end.Char += 1;
    doc.caret = doc.sel_end;
    Undos().AddRecord(ckIndent, doc.anchor, doc.mode, "", doc.sel_end);
    Undos().CloseGroup();
  }

  // Removes a TAB, or up to four spaces (and a TAB after fewer), from the
  // start of lines first..last.
  void BlockUnindent(int first, int last) {
    std::string prefixes;
    bool any = false;
    for (int l = first; l <= last; ++l) {
      const std::string& s = doc.Line(l);
      std::size_t n = 0;
      if (!s.empty() && s[0] == '\t') {
        n = 1;
      } else {
        while (n < s.size() && n < 4 && s[n] == ' ') ++n;
        if (n < 4 && n < s.size() && s[n] == '\t') ++n;
      }
      prefixes += (l > first ? "\r\n" : "") + s.substr(0, n);
      any = any || n > 0;
    }
    if (!any) return;
    Undos().AddRecord(ckUnindent, doc.anchor, doc.mode, prefixes, doc.sel_end);
    const std::vector<std::string_view> removed = SplitUndoLines(prefixes);
    for (int l = first; l <= last; ++l) doc.Line(l).erase(0, removed[l - first].size());
    doc.anchor.Char = std::max(1, doc.anchor.Char - static_cast<int>(removed.front().size()));
    doc.sel_end.Char = std::max(1, doc.sel_end.Char - static_cast<int>(removed.back().size()));
    doc.caret = doc.sel_end;
  }

  // Upper-cases the selection, keeping caret and selection, as the
  // case-conversion commands do.
  void UpperCaseSelection() {
    const TBufferCoord caret = doc.caret;
    const TBufferCoord a = doc.anchor;
    const TBufferCoord e = doc.sel_end;
    Undos().OpenGroup();
    Undos().AddRecord(ckCaretMark, caret, doc.mode, "", caret);
    Undos().AddRecord(ckSelectionMark, a, doc.mode, "", e);
    const TBufferCoord begin = e < a ? e : a;
    std::string text = doc.DeleteRange(a, e, smNormal);
    Undos().AddRecord(ckDelete, begin, smNormal, text, e < a ? a : e);
    for (char& ch : text) ch = static_cast<char>(std::toupper(static_cast<unsigned char>(ch)));
    const TBufferCoord end = doc.InsertTextAt(begin, text, smNormal);
    Undos().AddRecord(ckInsert, begin, smNormal, "", end);
    Undos().CloseGroup();
    doc.SetCaretAndSelection(caret, a, e);
  }

  // Replaces every occurrence in the whole text, in one block.
  int ReplaceAll(const std::string& find, const std::string& replacement) {
    int count = 0;
    Undos().OpenGroup();
    for (int l = 1; l <= doc.LineCount(); ++l) {
      for (std::size_t at = doc.Line(l).find(find); at != std::string::npos;
           at = doc.Line(l).find(find, at + replacement.size())) {
        const int c = static_cast<int>(at) + 1;
        doc.mode = smNormal;
        doc.SetCaretAndSelection({c + static_cast<int>(find.size()), l}, {c, l},
                                 {c + static_cast<int>(find.size()), l});
        Type(replacement);
        ++count;
      }
    }
    Undos().CloseGroup();
    return count;
  }

 private:
  // Column insertion: one piece per line at the caret's column, each recorded
  // as a paste (padding included); lines appended below the text are recorded
  // as line breaks.
  void InsertColumnPieces(std::string_view text) {
    const TBufferCoord at = doc.caret;
    const std::vector<std::string_view> pieces = SplitUndoLines(text);
    TBufferCoord end = at;
    for (std::size_t i = 0; i < pieces.size(); ++i) {
      const int l = at.Line + static_cast<int>(i);
      if (l > doc.LineCount()) {
        const TBufferCoord last{static_cast<int>(doc.lines.back().size()) + 1, doc.LineCount()};
        Undos().AddRecord(ckLineBreak, last, smColumn, "", last);
        doc.lines.emplace_back();
      }
      if (pieces[i].empty()) continue;
      const int length = static_cast<int>(doc.Line(l).size());
      const TBufferCoord start{std::min(at.Char, length + 1), l};
      end = doc.InsertTextAt({at.Char, l}, pieces[i], smNormal);
      Undos().AddRecord(ckPaste, start, smColumn, "", end);
    }
    doc.SetCaretPos(end);
  }
};
