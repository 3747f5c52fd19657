// The list itself: filtering as the user types, the selection, keys, mouse
// and painting.
#include <algorithm>
#include <cstdlib>

#include "app/CompletionProposal.h"
#include "editor/EditorVirtualKeys.h"

namespace {

char FoldAscii(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 32) : c; }

constexpr TColor kBtnShadow = SystemColor(16);

}  // namespace

std::string TBaseCompletionProposalForm::ShownText(int shown_index) const {
  if (shown_index < 0 || shown_index >= ShownCount()) return std::string();
  const auto i = static_cast<std::size_t>(assigned_list_[static_cast<std::size_t>(shown_index)]);
  if (owner_.Options().Contains(scoUseInsertList))
    return i < insert_list_.size() ? insert_list_[i] : std::string();
  return i < item_list_.size() ? item_list_[i] : std::string();
}

bool TBaseCompletionProposalForm::Matches(int item_index, const std::string& s) const {
  if (s.empty()) return true;
  const auto i = static_cast<std::size_t>(item_index);
  const TCompletionOptions options = owner_.Options();
  std::string candidate;
  if (options.Contains(scoUseInsertList)) {
    if (i >= insert_list_.size()) return false;
    candidate = insert_list_[i];
  } else {
    if (i >= item_list_.size()) return false;
    candidate = options.Contains(scoUsePrettyText) ? PrettyPlainText(item_list_[i]) : item_list_[i];
  }
  if (candidate.size() < s.size()) return false;
  const bool case_sensitive = options.Contains(scoCaseSensitive);
  for (std::size_t k = 0; k < s.size(); ++k) {
    const char a = candidate[k], b = s[k];
    if (case_sensitive ? a != b : FoldAscii(a) != FoldAscii(b)) return false;
  }
  return true;
}

void TBaseCompletionProposalForm::ResetAssignedList() {
  assigned_list_.resize(item_list_.size());
  for (std::size_t i = 0; i < item_list_.size(); ++i) assigned_list_[i] = static_cast<int>(i);
  position_ = 0;
  top_ = 0;
}

void TBaseCompletionProposalForm::SetCurrentString(const std::string& value) {
  current_string_ = value;
  if (owner_.Options().Contains(scoLimitToMatchedText)) {
    assigned_list_.clear();
    for (std::size_t i = 0; i < item_list_.size(); ++i)
      if (Matches(static_cast<int>(i), current_string_))
        assigned_list_.push_back(static_cast<int>(i));
    position_ = 0;
    top_ = 0;
    UpdateScrollBar();
    if (owner_.Visible()) Changed();
    Repaint();
    return;
  }
  int found = 0;
  for (int k = 0; k < ShownCount(); ++k) {
    if (Matches(assigned_list_[static_cast<std::size_t>(k)], current_string_)) {
      found = k;
      break;
    }
  }
  SetPosition(found);
}

void TBaseCompletionProposalForm::SetPosition(int value) {
  if (value == position_) return;
  if (value <= 0 && position_ == 0) return;
  if (value > ShownCount() - 1) return;
  if (value < 0) value = 0;
  position_ = value;
  if (position_ < top_)
    top_ = position_;
  else if (position_ >= top_ + lines_in_window_)
    top_ = position_ - lines_in_window_ + 1;
  UpdateScrollBar();
  Changed();
  Repaint();
}

void TBaseCompletionProposalForm::MoveLine(int delta) {
  const int count = ShownCount();
  if (count == 0) return;
  int p;
  if (delta <= 0)
    p = std::max(0, position_ + delta);
  else
    p = position_ < count - delta ? position_ + delta : count - 1;
  SetPosition(p);
}

int TBaseCompletionProposalForm::ItemHeight() {
  if (owner_.ItemHeight() > 0) return owner_.ItemHeight();
  int h = owner_.PopupHost() ? owner_.PopupHost()->TextHeight(owner_.Font())
                             : std::abs(owner_.Font().Height);
  return std::max(1, h);
}

int TBaseCompletionProposalForm::TitleHeight() {
  if (owner_.Title().empty()) return 0;
  const int h = owner_.PopupHost() ? owner_.PopupHost()->TextHeight(owner_.TitleFont())
                                   : std::abs(owner_.TitleFont().Height);
  return h + Scaled(4);
}

int TBaseCompletionProposalForm::Scaled(int pixels) const {
  return owner_.PopupHost() ? ScaleForDpi(pixels, owner_.PopupHost()->Dpi()) : pixels;
}

void TBaseCompletionProposalForm::UpdateScrollBar() {
  TScrollBarInfo info;
  info.DisableNoScroll = true;
  const int count = ShownCount();
  if (count < lines_in_window_) {
    info.Max = 0;
    info.Page = 0;
    info.Pos = 0;
    info.DisableStartArrow = info.DisableEndArrow = true;
  } else {
    // The scroll position is the first visible row; a page of one row on a
    // range of count - lines + 1 positions.
    info.Max = count - lines_in_window_;
    info.Page = 1;
    info.Pos = std::clamp(top_, 0, info.Max);
  }
  if (owner_.PopupHost()) owner_.PopupHost()->SetPopupScrollBar(info);
}

void TBaseCompletionProposalForm::Repaint() {
  if (owner_.PopupHost()) owner_.PopupHost()->InvalidatePopup();
}

void TBaseCompletionProposalForm::Changed() {
  if (!owner_.OnChange || position_ < 0 || position_ >= ShownCount()) return;
  owner_.OnChange(owner_, assigned_list_[static_cast<std::size_t>(position_)]);
}

void TBaseCompletionProposalForm::BackspaceLike(TEditorCommand command) {
  if (current_string_.empty()) {
    if (editor_) editor_->ProcessCommand(command, 0, nullptr);
    owner_.CancelCompletion();
    return;
  }
  std::string s = current_string_;
  s.pop_back();
  SetCurrentString(s);
  if (editor_) editor_->ProcessCommand(command, 0, nullptr);
}

void TBaseCompletionProposalForm::KeyDown(std::uint16_t key, TShiftState shift) {
  const TCompletionOptions options = owner_.Options();
  const bool ctrl = (shift & ssCtrl) != 0;
  switch (key) {
    case vk::Back:
      if ((shift & (ssShift | ssAlt | ssCtrl)) == 0) BackspaceLike(ecDeleteLastChar);
      break;
    case vk::Tab:
      if (options.Contains(scoCompleteWithTab)) owner_.Complete(0);
      break;
    case vk::Return:
      // Ctrl+Enter types a line feed, which the list does not take.
      if (options.Contains(scoCompleteWithEnter) && !ctrl) owner_.Complete(0);
      break;
    case vk::Escape:
      owner_.CancelCompletion();
      break;
    case vk::Prior:
      MoveLine(-lines_in_window_);
      break;
    case vk::Next:
      MoveLine(lines_in_window_);
      break;
    case vk::Home:
      SetPosition(0);
      break;
    case vk::End:
      SetPosition(ShownCount() - 1);
      break;
    case vk::Up:
      if (ctrl)
        SetPosition(0);
      else
        MoveLine(-1);
      break;
    case vk::Down:
      if (ctrl)
        SetPosition(ShownCount() - 1);
      else
        MoveLine(1);
      break;
    case vk::Left:
      BackspaceLike(ecLeft);
      break;
    case vk::Right:
      if (editor_) {
        const std::string line = editor_->LineText(editor_->CaretLine());
        const int at = editor_->CaretChar();
        const char c = at >= 1 && at <= static_cast<int>(line.size())
                           ? line[static_cast<std::size_t>(at - 1)]
                           : ' ';
        if (c == '\t' || c == ' ' || IsWordBreakChar(c))
          owner_.CancelCompletion();
        else
          SetCurrentString(current_string_ + c);
        editor_->ProcessCommand(ecRight, 0, nullptr);
      }
      break;
    case vk::Delete:
      if (editor_) editor_->ProcessCommand(ecDeleteChar, 0, nullptr);
      break;
    default:
      break;
  }
  Repaint();
}

bool TBaseCompletionProposalForm::TakesKey(std::uint16_t key, TShiftState shift) const {
  switch (key) {
    case vk::Back:
      return (shift & (ssShift | ssAlt | ssCtrl)) == 0;
    case vk::Return:
      return (shift & ssCtrl) == 0;
    case vk::Tab:
    case vk::Escape:
      return true;
    default:
      return false;
  }
}

void TBaseCompletionProposalForm::KeyPress(char key) {
  const auto code = static_cast<unsigned char>(key);
  if (code >= 32 && code <= 122) {
    if (IsWordBreakChar(key)) owner_.Complete(key == ' ' ? 0 : key);
    SetCurrentString(current_string_ + key);
    TCustomEditor* editor = editor_;
    if (editor) editor->ProcessCommand(ecChar, key, nullptr);
    owner_.CharTyped(key);
  } else if (code == 8) {
    if (editor_) editor_->ProcessCommand(ecChar, key, nullptr);
  } else if (code == 13 || code == 27) {
    // Enter and Esc acted as keys already.
  } else {
    if (editor_) editor_->ProcessCommand(ecChar, key, nullptr);
    owner_.CancelCompletion();
  }
  Repaint();
}

void TBaseCompletionProposalForm::MouseDown(int x, int y) {
  (void)x;
  const int ih = ItemHeight();
  const int dy = y - TitleHeight();
  if (dy < 0) return;
  SetPosition(dy / ih + top_);
}

void TBaseCompletionProposalForm::DoubleClick() { owner_.Complete(0); }

void TBaseCompletionProposalForm::MouseWheel(int delta, TShiftState shift) {
  int lines = (shift & ssCtrl) ? lines_in_window_
                               : (owner_.PopupHost() ? owner_.PopupHost()->WheelScrollLines() : 3);
  lines = std::clamp(lines, 1, std::max(1, lines_in_window_));
  wheel_accumulator_ += delta;
  const int notches = wheel_accumulator_ / 120;
  wheel_accumulator_ %= 120;
  if (notches != 0) MoveLine(-notches * lines);
}

void TBaseCompletionProposalForm::Scrolled(int new_top) {
  const int max_top = std::max(0, ShownCount() - lines_in_window_);
  new_top = std::clamp(new_top, 0, max_top);
  if (new_top == top_) return;
  top_ = new_top;
  const int old = position_;
  if (position_ < top_)
    position_ = top_;
  else if (position_ > top_ + lines_in_window_ - 1)
    position_ = top_ + lines_in_window_ - 1;
  UpdateScrollBar();
  if (position_ != old) Changed();
  Repaint();
}

int TBaseCompletionProposalForm::SnapHeight(int proposed_window_height) {
  const int frame = owner_.PopupHost() ? owner_.PopupHost()->FrameThickness() : 0;
  const int ih = ItemHeight(), th = TitleHeight();
  const int rows = std::max(1, (proposed_window_height - 2 * frame - th) / ih);
  return rows * ih + th + 2 * frame;
}

void TBaseCompletionProposalForm::Resized(int client_height) {
  const int rows = std::max(1, (client_height - TitleHeight()) / ItemHeight());
  if (rows == lines_in_window_) return;
  lines_in_window_ = rows;
  top_ = std::clamp(top_, 0, std::max(0, ShownCount() - lines_in_window_));
  if (position_ >= top_ + lines_in_window_) top_ = position_ - lines_in_window_ + 1;
  UpdateScrollBar();
  Repaint();
}

void TBaseCompletionProposalForm::Paint(ICanvas& canvas, IPrettyCanvas& text, const TRect& area) {
  canvas.FillRect(area, owner_.ClBackground());
  canvas.DrawLine({area.left, area.top}, {area.right - 1, area.top}, clBtnFace);
  canvas.DrawLine({area.right - 1, area.top}, {area.right - 1, area.bottom - 1}, clBtnFace);
  canvas.DrawLine({area.right - 1, area.bottom - 1}, {area.left, area.bottom - 1}, clBtnFace);
  canvas.DrawLine({area.left, area.bottom - 1}, {area.left, area.top}, clBtnFace);

  const int th = TitleHeight();
  if (th > 0) {
    canvas.FillRect({area.left, area.top, area.right, area.top + th}, owner_.ClTitleBackground());
    canvas.DrawLine({area.left, area.top + th - 1}, {area.right, area.top + th - 1}, kBtnShadow);
    text.SetFont(owner_.TitleFont());
    const int indent = Scaled(2);
    int x = area.left + indent;
    if (owner_.Options().Contains(scoTitleIsCentered))
      x = std::max(area.left + indent,
                   area.left + (area.Width() - text.TextWidth(owner_.Title())) / 2);
    text.PaintText(x, area.top, owner_.Title());
  }

  const int ih = ItemHeight();
  const TFont font = owner_.Font();
  const int text_height =
      owner_.PopupHost() ? owner_.PopupHost()->TextHeight(font) : std::abs(font.Height);
  const bool pretty = owner_.Options().Contains(scoUsePrettyText);
  const int margin = Scaled(owner_.Margin());
  const TProposalColumns* columns = owner_.Columns().empty() ? nullptr : &owner_.Columns();
  const int rows = std::min(lines_in_window_, ShownCount());
  for (int r = 0; r < rows; ++r) {
    const int index = top_ + r;
    if (index >= ShownCount()) break;
    const int row_top = area.top + th + r * ih;
    const bool selected = index == position_;
    TFont row_font = font;
    if (selected) {
      canvas.FillRect({area.left, row_top, area.right, row_top + ih}, owner_.ClSelect());
      row_font.Color = owner_.ClSelectedText();
    }
    text.SetFont(row_font);
    const auto item = static_cast<std::size_t>(assigned_list_[static_cast<std::size_t>(index)]);
    const std::string display = item < item_list_.size() ? item_list_[item] : std::string();
    if (pretty) {
      const int y = row_top + (ih - text_height) / 2;
      PaintPrettyText(text, {area.left + margin, y, area.right, row_top + ih}, display,
                      owner_.Images(), columns, selected);
    } else {
      text.PaintText(area.left + margin, row_top, display);
    }
  }
  text.SetFont(font);
}
