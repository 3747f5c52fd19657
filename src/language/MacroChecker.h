#pragma once
// The macro checker: reads a macro the way the interpreter does and reports
// what would stop it or what is most likely a mistake, before it runs. It
// never reports an error on a macro the interpreter runs without a syntax
// error; where the language is loose it stays quiet.
//
// A check reads each line on its own (ReadMacroLine) and then runs the
// file-wide passes over the facts of the lines, in order (blocks, labels,
// includes). A caller that keeps the facts of every line can read again only
// the lines an edit touched and run the passes again.
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "language/MacroCommands.h"
#include "language/MacroLineReader.h"
#include "language/MacroProblem.h"

class IFileSystem;

// The lines of a macro, without their line breaks.
class IMacroLines {
 public:
  virtual ~IMacroLines() = default;
  virtual int LineCount() const = 0;
  virtual std::string_view Line(int index) const = 0;
};

// The lines of a whole text; CR LF, LF and CR each end a line. A text that
// ends with a line break has no empty line after it. The text must outlive
// the object.
class TMacroTextLines : public IMacroLines {
 public:
  explicit TMacroTextLines(std::string_view text);
  int LineCount() const override { return static_cast<int>(lines_.size()); }
  std::string_view Line(int index) const override {
    return lines_[static_cast<std::size_t>(index)];
  }

 private:
  std::vector<std::string_view> lines_;
};

struct TMacroCheckOptions {
  // The folder of the macro file (UTF-8); included files are looked for
  // relative to it. Empty: only absolute include paths are looked for.
  std::string macro_folder;
  // Where included files are looked for; null: the installed file system.
  IFileSystem* file_system = nullptr;
  // Whether to look for included files at all.
  bool check_includes = true;
  // The text is UTF-8 (a Unicode document); otherwise one byte is one
  // character.
  bool utf8 = false;
  // The command words; null: the interpreter's.
  const TMacroCommandSet* commands = nullptr;
};

TMacroCheckResult CheckMacro(const IMacroLines& lines, const TMacroCheckOptions& options = {});
TMacroCheckResult CheckMacroText(std::string_view text, const TMacroCheckOptions& options = {});

// The file-wide passes over the facts of every line, fed in file order.
class TMacroFileCheck {
 public:
  explicit TMacroFileCheck(const TMacroCheckOptions& options);
  ~TMacroFileCheck();

  // Reads the next line and feeds it on.
  void ReadLine(int line, std::string_view text);
  // Feeds the facts of a line read earlier, with the problems its reading
  // reported.
  void AddLine(int line, std::string_view text, const TMacroLineFacts& facts,
               std::span<const TMacroProblem> line_problems);
  // The same for a line whose text is no longer at hand: `name` is what the
  // text held at facts.name_start (label, jump target or included path).
  void AddLineFacts(int line, std::string_view name, const TMacroLineFacts& facts,
                    std::span<const TMacroProblem> line_problems);
  // Whether the next line starts inside a "/* */" comment.
  bool InComment() const { return in_comment_; }
  // Runs the file-wide checks and hands over everything found.
  TMacroCheckResult Finish();

 private:
  struct TPasses;

  TMacroCheckOptions options_;
  TMacroReadOptions read_options_;
  std::vector<TMacroProblem> problems_;
  TMacroLineFacts facts_;
  bool in_comment_ = false;
  int comment_line_ = -1;  // where the comment still open began
  int comment_column_ = 0;
  std::unique_ptr<TPasses> passes_;
};
