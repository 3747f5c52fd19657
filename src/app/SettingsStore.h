#pragma once
// Values of the settings key that the main window reads and writes on its
// own: the macro parameters and the "Show special characters" toggle. Every
// routine opens the key itself and closes it again; readers never create it,
// writers create it and skip the write silently when that fails.
#include <optional>
#include <string>

class IRegistry;

// The tool-bar parameters, kept as "Param2" and "Param3".
struct TMacroParams {
  std::string param2;
  std::string param3;
};
// Missing values (or key), or values of another type, read as empty.
TMacroParams LoadParams(IRegistry& registry);
void SaveParams(IRegistry& registry, const TMacroParams& params);

// "TemplateFile", the macro template file; the default when missing or empty.
std::string LoadTemplateFile(IRegistry& registry, const std::string& default_path);

// "ShowSpecial": nullopt when it was never stored (or is not a number).
std::optional<bool> LoadShowSpecial(IRegistry& registry);
void SaveShowSpecial(IRegistry& registry, bool on);
