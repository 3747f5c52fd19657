#include "language/MacroProblem.h"

TMacroProblem MakeMacroProblem(TMacroProblemCode code, int line, int column, int length,
                               std::string message) {
  return TMacroProblem{line, column, length, code, SeverityOf(code), std::move(message)};
}

std::string MacroMessage(std::initializer_list<std::string_view> parts) {
  std::size_t size = 0;
  for (std::string_view part : parts) size += part.size();
  std::string text;
  text.reserve(size);
  for (std::string_view part : parts) text += part;
  return text;
}
