#pragma once
// The files a macro includes: a plain quoted name is looked for relative to
// the macro's own folder, the way the interpreter finds it.
#include <string>
#include <vector>

#include "language/MacroProblem.h"

class IFileSystem;

struct TMacroInclude {
  std::string name;  // as written between the quotes
  int line = 0;
  int column = 0;
  int length = 0;
};

// Where an included name is looked for, given the macro's folder (a path
// with "\" or "/" separators, with or without a trailing one). Empty when it
// cannot be looked for from here: no name, or a drive path while the folder
// is not one.
std::string IncludedFilePath(const std::string& folder, const std::string& name);

// Warns about each include whose file does not exist. The file system is
// asked once per distinct path. utf8: the names are UTF-8 like the paths of
// the file system; names of single-byte text are looked for only when they
// are plain ASCII.
void CheckMacroIncludes(const std::vector<TMacroInclude>& includes, const std::string& folder,
                        bool utf8, IFileSystem& files, std::vector<TMacroProblem>& problems);
