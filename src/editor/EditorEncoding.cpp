// The document's character set and encoding: text from elsewhere put into the
// document's character set, typed and input-method characters, and the
// conversion of the whole document to another encoding.
#include <vector>

#include "editor/Editor.h"
#include "platform/CodePage.h"
#include "platform/CodePage1252.h"
#include "platform/Utf8.h"
#include "platform/Utf8CodePage.h"

namespace {

// The first character of UTF-8 text that the code page cannot hold.
std::string FirstUnstorable(std::string_view utf8, const ICodePage& ansi) {
  const ICodePage& u = Utf8CodePage();
  for (std::size_t i = 0; i < utf8.size(); i += u.CharLength(utf8, i)) {
    const std::string_view ch = utf8.substr(i, u.CharLength(utf8, i));
    std::size_t lost = 0;
    ansi.FromUtf16(Utf8ToUtf16(ch), &lost);
    if (lost > 0) return std::string(ch);
  }
  return std::string();
}

}  // namespace

const ICodePage& TCustomEditor::AnsiCharSet() const {
  return lines_->AnsiCodePage() ? *lines_->AnsiCodePage() : DefaultCodePage();
}

const ICodePage& TCustomEditor::TextCharSet() const {
  return CharSet() ? *CharSet() : AnsiCharSet();
}

std::string TCustomEditor::DocumentText(std::string_view text, bool utf8, std::size_t* lost) const {
  return ConvertText(text, utf8 ? Utf8CodePage() : AnsiCharSet(), TextCharSet(), lost);
}

std::string TCustomEditor::Utf8Text(std::string_view text) const {
  return ConvertText(text, TextCharSet(), Utf8CodePage());
}

bool TCustomEditor::TextForDocument(std::string_view utf8, std::string& out) {
  std::size_t lost = 0;
  out = DocumentText(utf8, true, &lost);
  if (lost == 0) return true;
  // Never a silent "?": the user decides whether the file becomes UTF-8.
  const std::string character = FirstUnstorable(utf8, AnsiCharSet());
  if (!OnCannotStore || !OnCannotStore(*this, character)) return false;
  out = DocumentText(utf8, true, &lost);
  return lost == 0;
}

void TCustomEditor::TypeText(std::u16string_view text) {
  if (text.empty()) return;
  const bool ascii = text.size() == 1 && text[0] < 0x80;
  if (!ascii && ignore_next_char_) {
    ignore_next_char_ = false;  // the key already ran a command
    return;
  }
  std::string doc;
  if (!TextForDocument(Utf16ToUtf8(text), doc) || doc.empty()) return;
  if (doc.size() == 1) {
    char c = doc[0];
    KeyPress(c);
    return;
  }
  ProcessCommand(ecImeStr, 0, doc.data());
}

void TCustomEditor::InsertInputText(std::u16string_view text) {
  std::string doc;
  if (text.empty() || !TextForDocument(Utf16ToUtf8(text), doc) || doc.empty()) return;
  ProcessCommand(ecImeStr, 0, doc.data());
}

bool TCustomEditor::ConvertEncoding(TTextEncoding encoding, std::size_t* lost) {
  if (lost) *lost = 0;
  const TTextEncoding from = lines_->Encoding();
  if (encoding == from) return true;
  const bool from_unicode = IsUnicodeEncoding(from), to_unicode = IsUnicodeEncoding(encoding);
  const bool to_utf16 = encoding == TTextEncoding::Utf16LE || encoding == TTextEncoding::Utf16BE;
  // The lines in the new character set that differ from what they are; UTF-16
  // has no form for bytes that are no UTF-8, which become the replacement
  // character they are shown as.
  TEncodingChange change;
  change.Encoding = encoding;
  if (from_unicode != to_unicode || to_utf16) {
    const ICodePage& ansi = AnsiCharSet();
    const ICodePage& source = from_unicode ? Utf8CodePage() : ansi;
    const ICodePage& target = to_unicode ? Utf8CodePage() : ansi;
    std::size_t missing = 0;
    for (int i = 0; i < lines_->Count(); ++i) {
      const std::string_view line = lines_->LineView(i);
      std::size_t n = 0;
      std::string converted;
      if (from_unicode && to_unicode) {
        if (IsStrictUtf8(line)) continue;
        converted = Utf16ToUtf8(Utf8ToUtf16(line));
      } else {
        converted = ConvertText(line, source, target, &n);
      }
      missing += n;
      if (missing == 0 && converted != line) change.Lines.emplace_back(i, std::move(converted));
    }
    if (missing > 0) {
      if (lost) *lost = missing;
      return false;
    }
  }
  const TBufferCoord caret = caret_;
  std::string undo = SwapEncoding(PackEncodingChange(change));
  undo_history_.UndoList().AddRecord(ckEncoding, caret, smNormal, undo, caret);
  return true;
}

std::string TCustomEditor::SwapEncoding(std::string_view packed) {
  TEncodingChange change = UnpackEncodingChange(packed);
  TEncodingChange before;
  before.Encoding = lines_->Encoding();
  before.Tail = lines_->EncodingTail();
  const bool char_set_changes =
      IsUnicodeEncoding(before.Encoding) != IsUnicodeEncoding(change.Encoding);
  // Byte positions change with the bytes; the caret and selection keep their cells.
  const TDisplayCoord anchor = BufferToDisplayPos(sel_anchor_), end = BufferToDisplayPos(sel_end_),
                      caret = BufferToDisplayPos(caret_);
  BeginUpdate();
  lines_->BeginUpdate();
  lines_->SetEncoding(change.Encoding);
  lines_->SetEncodingTail(std::move(change.Tail));
  for (auto& [index, text] : change.Lines) {
    if (index < 0 || index >= lines_->Count()) continue;
    before.Lines.emplace_back(index, lines_->GetLine(index));
    lines_->SetLine(index, text);
  }
  lines_->EndUpdate();
  if (!before.Lines.empty() || char_set_changes) {
    sel_anchor_ = DisplayToBufferStep(anchor, -1);
    sel_end_ = DisplayToBufferStep(end, -1);
    InternalSetCaretPos(DisplayToBufferStep(caret, -1), true);
  }
  Invalidate();
  EndUpdate();
  if (OnEncodingChange) OnEncodingChange(*this);
  return PackEncodingChange(before);
}
