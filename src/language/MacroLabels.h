#pragma once
// The labels of a macro and the jumps to them: a goto or call needs a label
// of the same file, a label is defined once, and a label nothing jumps to is
// worth a look. Names are compared without regard to case.
#include <string_view>
#include <vector>

#include "language/MacroCommands.h"
#include "language/MacroLineReader.h"
#include "language/MacroProblem.h"

class TMacroLabelPass {
 public:
  TMacroLabelPass(std::vector<TMacroProblem>& problems, const TMacroCommandSet& commands)
      : problems_(problems), commands_(commands) {}

  // The next line with its facts, in file order; name is the label it
  // defines or jumps to (the text at facts.name_start).
  void Add(int line, std::string_view name, const TMacroLineFacts& facts);
  // After the last line: reports undefined, repeated and unused labels, and
  // hands over the labels and the jumps.
  void Finish(std::vector<TMacroLabel>& labels, std::vector<TMacroLabelUse>& uses);

 private:
  std::vector<TMacroProblem>& problems_;
  const TMacroCommandSet& commands_;
  std::vector<TMacroLabel> labels_;
  std::vector<TMacroLabelUse> uses_;
};
