#pragma once
// The template file behind "Import macro Template": ready-made macro
// fragments, each under a header line "[MACRO_TEMPLATE name]"; a template
// named SEPARATOR stands for a line in the menu.
#include <string>
#include <string_view>
#include <vector>

struct TTemplateMenuItem {
  std::string caption;
  bool separator = false;
  int template_index = -1;  // into TMacroTemplates::bodies; -1 for a separator
  int header_line = 0;      // 0-based line of the header in the file
};

struct TMacroTemplates {
  std::vector<TTemplateMenuItem> items;  // in file order
  std::vector<std::string> bodies;       // each line followed by CR LF
  // Captions and bodies are UTF-8 (else in the ANSI code page).
  bool unicode = false;
  // The submenu is usable only with at least one template.
  bool HasTemplates() const { return !bodies.empty(); }
};

// Lines split at CR LF, lone CR or lone LF; a break at the very end adds no line.
std::vector<std::string_view> SplitTemplateLines(std::string_view content);
TMacroTemplates ParseMacroTemplates(std::string_view content);
// The templates of a file's bytes, whose encoding is found as a macro file's is.
TMacroTemplates ReadMacroTemplates(std::string file_bytes);
// What replaces the selection when a template is chosen: the body and an
// empty line after it, on a line of its own when the caret is not in column 1.
std::string TemplateInsertion(const std::string& body, bool caret_in_first_column);
