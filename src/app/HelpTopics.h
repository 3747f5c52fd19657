#pragma once
// The program's help: Tera Term's compiled help file beside the executable,
// opened at its table of contents or at a macro command's topic, and the
// version and build lines of the About window.
#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "platform/ProgramDir.h"

class IUserPrompts;

// The help file the "TeraTerm Help" command opens, and its message when missing.
inline constexpr char kTeraTermHelpFile[] = "teraterm.chm";
inline constexpr char kHelpFileNotFound[] = "TeraTerm help file 'teraterm.chm' not found.";

// What the platform's help viewer is asked to do. Each request names the help
// file; a viewer that does not serve that kind of file ignores the request.
class IHelpViewer {
 public:
  virtual ~IHelpViewer() = default;
  virtual void ShowContext(const std::string& help_file, std::int32_t context) = 0;
  virtual void ShowTableOfContents(const std::string& help_file) = 0;
  virtual void ShowTopic(const std::string& help_file, const std::string& topic) = 0;
  // Closes every help window the viewer opened.
  virtual void CloseAll() = 0;
};

// True for the help files the compiled-help viewer serves: names ending in
// ".chm", whatever their case.
bool IsCompiledHelpFile(const std::string& name);

// A help file name without a directory is looked for beside the executable.
std::string ResolveHelpFile(const std::string& name, const TProgramDirectory& program_dir);

// The location of a topic inside a compiled help file: file + "::/" + topic,
// with ".htm" added to a topic that does not already name a page.
std::string HelpTopicLocation(const std::string& help_file, const std::string& topic);

// The "TeraTerm Help" command (the Help menu, Ctrl+Shift+F1) and context help
// (Ctrl+F1, which hands over the topic number of the word at the caret).
class TTeraTermHelp {
 public:
  using FileExistsCheck = std::function<bool(const std::string& path)>;

  // file_exists decides whether the help file is there; empty means the
  // installed file system's check.
  TTeraTermHelp(const TProgramDirectory& program_dir, IHelpViewer& viewer, IUserPrompts& prompts,
                FileExistsCheck file_exists = {});

  // The topic the next Execute opens; 0 opens the table of contents.
  std::int32_t PendingContext() const { return pending_context_; }
  void SetPendingContext(std::int32_t context) { pending_context_ = context; }

  // Opens the help file at the pending topic, or tells the user that the file is
  // missing. The pending topic is used up either way.
  void Execute();
  // Context help: Execute with the given topic (0: the table of contents).
  void ShowHelpTopic(std::int32_t context);

  // The help file in use once it has been found; empty before.
  const std::string& HelpFile() const { return help_file_; }

 private:
  TProgramDirectory program_dir_;
  IHelpViewer& viewer_;
  IUserPrompts& prompts_;
  FileExistsCheck file_exists_;
  std::int32_t pending_context_ = 0;
  std::string help_file_;
};

// The four numbers of a file-version resource. Wider than the resource's
// 16-bit halves so that the "no version" marker fits.
struct TFileVersion {
  std::int32_t major = 0;
  std::int32_t minor = 0;
  std::int32_t release = 0;
  std::int32_t build = 0;
  bool operator==(const TFileVersion&) const = default;
};

// The numbers from the resource's most and least significant parts.
TFileVersion FileVersionFromParts(std::uint32_t most_significant, std::uint32_t least_significant);
// What a program without a version resource reports.
inline constexpr TFileVersion kNoFileVersion{99999, 99999, 0, 0};
TFileVersion FileVersionOrDefault(const std::optional<TFileVersion>& version);

// "Version 2.5  (Release 3)", or "Version 2.5  (Beta)" while the release number is 0.
std::string VersionText(const TFileVersion& version);
// "Build: 05-Mar-2024" from a compiler date "Mar  5 2024"; a date in any other
// form is shown as it is.
std::string BuildText(const std::string& compiler_date);
