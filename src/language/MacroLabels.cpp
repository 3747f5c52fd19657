#include "language/MacroLabels.h"

#include <string>
#include <unordered_map>

namespace {

std::string Lower(std::string_view name) {
  std::string lower(name);
  for (char& c : lower) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c + 32);
  }
  return lower;
}

}  // namespace

void TMacroLabelPass::Add(int line, std::string_view label, const TMacroLineFacts& facts) {
  if (facts.name_use != TMacroNameUse::Label && facts.name_use != TMacroNameUse::Goto &&
      facts.name_use != TMacroNameUse::Call) {
    return;
  }
  std::string name(label);
  if (facts.name_use == TMacroNameUse::Label) {
    if (commands_.IsReserved(name)) {
      problems_.push_back(MakeMacroProblem(
          TMacroProblemCode::ReservedLabel, line, facts.name_start, facts.name_length,
          MacroMessage({"label '", name, "' is a reserved word of the macro language"})));
    }
    labels_.push_back(TMacroLabel{std::move(name), line, facts.name_start, facts.name_length});
  } else {
    uses_.push_back(TMacroLabelUse{std::move(name), line, facts.name_start, facts.name_length,
                                   facts.name_use == TMacroNameUse::Call});
  }
}

void TMacroLabelPass::Finish(std::vector<TMacroLabel>& labels, std::vector<TMacroLabelUse>& uses) {
  // Each name's first definition, and whether anything jumps to it.
  struct TFirst {
    std::size_t label = 0;
    bool used = false;
  };
  std::unordered_map<std::string, TFirst> first;
  first.reserve(labels_.size());
  for (std::size_t i = 0; i < labels_.size(); ++i) {
    const TMacroLabel& label = labels_[i];
    const auto [it, added] = first.try_emplace(Lower(label.name), TFirst{i, false});
    if (!added) {
      problems_.push_back(MakeMacroProblem(
          TMacroProblemCode::DuplicateLabel, label.line, label.column, label.length,
          MacroMessage({"label '", label.name, "' is already defined on line ",
                        std::to_string(labels_[it->second.label].line + 1)})));
    }
  }
  for (const TMacroLabelUse& use : uses_) {
    const auto it = first.find(Lower(use.name));
    if (it == first.end()) {
      problems_.push_back(
          MakeMacroProblem(TMacroProblemCode::UndefinedLabel, use.line, use.column, use.length,
                           MacroMessage({"label '", use.name, "' is not defined in this file"})));
    } else {
      it->second.used = true;
    }
  }
  for (const auto& [name, entry] : first) {
    if (entry.used) continue;
    const TMacroLabel& label = labels_[entry.label];
    problems_.push_back(MakeMacroProblem(TMacroProblemCode::UnusedLabel, label.line, label.column,
                                         label.length,
                                         MacroMessage({"label '", label.name, "' is never used"})));
  }
  labels = std::move(labels_);
  uses = std::move(uses_);
  labels_.clear();
  uses_.clear();
}
