#include "app/LabelNavigation.h"

#include <algorithm>
#include <unordered_set>

#include "editor/Editor.h"

namespace {

char Lower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c; }

std::string Lowered(std::string_view text) {
  std::string lower(text);
  for (char& c : lower) c = Lower(c);
  return lower;
}

bool Blank(char c) { return c == ' ' || c == '\t'; }

}  // namespace

void ShowPlace(TCustomEditor& editor, TBufferCoord place) {
  const int line = std::clamp(place.Line, 1, std::max(1, editor.LineCount()));
  const int rows = std::max(1, editor.VisibleRows());
  if (line < editor.TopRow() || line >= editor.TopRow() + rows) {
    editor.SetTopRow(std::max(1, line - rows / 2));
  }
  editor.SetCaretPos({place.Char, line});
}

std::string LabelNamedBy(const TMacroLineFacts& facts, const std::string& name) {
  switch (facts.name_use) {
    case TMacroNameUse::Label:
    case TMacroNameUse::Goto:
    case TMacroNameUse::Call:
      return name;
    default:
      return {};
  }
}

std::optional<TMacroLabel> FindLabel(const std::vector<TMacroLabel>& labels,
                                     std::string_view name) {
  if (name.empty()) return std::nullopt;
  const std::string wanted = Lowered(name);
  for (const TMacroLabel& label : labels) {
    if (label.name.size() == wanted.size() && Lowered(label.name) == wanted) return label;
  }
  return std::nullopt;
}

void TJumpHistory::Push(TBufferCoord from) {
  if (places_.size() >= kLimit) places_.erase(places_.begin());
  places_.push_back(from);
}

std::optional<TBufferCoord> TJumpHistory::Pop() {
  if (places_.empty()) return std::nullopt;
  const TBufferCoord place = places_.back();
  places_.pop_back();
  return place;
}

std::vector<std::size_t> FilterLabels(const std::vector<TMacroLabel>& labels,
                                      std::string_view filter) {
  const std::string wanted = Lowered(filter);
  std::vector<std::size_t> shown;
  for (std::size_t i = 0; i < labels.size(); ++i) {
    if (wanted.empty() || Lowered(labels[i].name).find(wanted) != std::string::npos) {
      shown.push_back(i);
    }
  }
  return shown;
}

bool CompletesLabel(std::string_view line, int token_start) {
  if (token_start < 1 || static_cast<std::size_t>(token_start - 1) > line.size()) return false;
  std::size_t end = static_cast<std::size_t>(token_start - 1);
  // At least one blank between the word and the name.
  std::size_t word_end = end;
  while (word_end > 0 && Blank(line[word_end - 1])) --word_end;
  if (word_end == end || word_end < 4) return false;
  const std::string word = Lowered(line.substr(word_end - 4, 4));
  if (word != "goto" && word != "call") return false;
  return word_end == 4 || Blank(line[word_end - 5]);
}

TCompletionLists LabelCompletionLists(const std::vector<TMacroLabel>& labels) {
  TCompletionLists lists;
  std::unordered_set<std::string> seen;
  for (const TMacroLabel& label : labels) {
    if (!seen.insert(Lowered(label.name)).second) continue;
    std::string shown;
    for (char c : label.name) {
      shown += c;
      if (c == '\\') shown += '\\';
    }
    lists.inserts.push_back(label.name);
    lists.displays.push_back("\\style{+B}" + shown + "\\style{-B}\\color{clGray}  line " +
                             std::to_string(label.line + 1));
  }
  return lists;
}
