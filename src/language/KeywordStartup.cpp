#include "language/KeywordStartup.h"

#include "language/KeywordFile.h"
#include "language/TtlHighlighter.h"

bool LoadKeywordFileAtStartup(const TProgramDirectory& directory, TTtlHighlighter& main,
                              TTtlHighlighter& preview, IUserPrompts& prompts) {
  // A file that exists but cannot be read is treated like a missing one: the
  // program still starts, without highlighting.
  const std::string path = directory.ProgramDirFile(kKeywordFileName);
  bool loaded = false;
  if (std::optional<std::string> content = ReadWholeFile(path)) {
    loaded = main.LoadKeywordText(*content) && preview.LoadKeywordText(*content);
  }
  if (!loaded) {
    main.SetEnabled(false);
    preview.SetEnabled(false);
    ShowWarning(prompts, kKeywordFileMissingMessage);
  }
  return loaded;
}
