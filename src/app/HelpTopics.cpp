#include "app/HelpTopics.h"

#include <array>
#include <cctype>

#include "platform/FileSystem.h"
#include "platform/Prompts.h"

namespace {

bool EndsWithNoCase(const std::string& text, const std::string& suffix) {
  if (text.size() < suffix.size()) return false;
  const std::size_t start = text.size() - suffix.size();
  for (std::size_t i = 0; i < suffix.size(); ++i) {
    if (std::tolower(static_cast<unsigned char>(text[start + i])) !=
        std::tolower(static_cast<unsigned char>(suffix[i]))) {
      return false;
    }
  }
  return true;
}

constexpr std::array<const char*, 12> kMonths = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                                 "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};

bool AllDigits(const std::string& text) {
  if (text.empty()) return false;
  for (char c : text) {
    if (!std::isdigit(static_cast<unsigned char>(c))) return false;
  }
  return true;
}

}  // namespace

bool IsCompiledHelpFile(const std::string& name) { return EndsWithNoCase(name, ".chm"); }

std::string ResolveHelpFile(const std::string& name, const TProgramDirectory& program_dir) {
  // Any separator or drive letter means the caller chose the place.
  if (name.find_first_of("\\/:") != std::string::npos) return name;
  return program_dir.ProgramDirFile(name);
}

std::string HelpTopicLocation(const std::string& help_file, const std::string& topic) {
  // Page names are file names, so "Index.HTM" already names a page.
  std::string page = topic;
  if (!EndsWithNoCase(page, ".htm") && !EndsWithNoCase(page, ".html")) page += ".htm";
  return help_file + "::/" + page;
}

TTeraTermHelp::TTeraTermHelp(const TProgramDirectory& program_dir, IHelpViewer& viewer,
                             IUserPrompts& prompts, FileExistsCheck file_exists)
    : program_dir_(program_dir),
      viewer_(viewer),
      prompts_(prompts),
      file_exists_(std::move(file_exists)) {
  if (!file_exists_) {
    file_exists_ = [](const std::string& path) { return FileSystem().FileExists(path); };
  }
}

void TTeraTermHelp::Execute() {
  // The topic belongs to this one request, whatever becomes of it.
  const std::int32_t context = pending_context_;
  pending_context_ = 0;
  const std::string path = program_dir_.ProgramDirFile(kTeraTermHelpFile);
  if (!file_exists_(path)) {
    ShowError(prompts_, kHelpFileNotFound);
    return;
  }
  help_file_ = path;
  if (context != 0) {
    viewer_.ShowContext(help_file_, context);
  } else {
    viewer_.ShowTableOfContents(help_file_);
  }
}

void TTeraTermHelp::ShowHelpTopic(std::int32_t context) {
  pending_context_ = context;
  Execute();
}

TFileVersion FileVersionFromParts(std::uint32_t most_significant, std::uint32_t least_significant) {
  return TFileVersion{static_cast<std::int32_t>(most_significant >> 16),
                      static_cast<std::int32_t>(most_significant & 0xFFFFu),
                      static_cast<std::int32_t>(least_significant >> 16),
                      static_cast<std::int32_t>(least_significant & 0xFFFFu)};
}

TFileVersion FileVersionOrDefault(const std::optional<TFileVersion>& version) {
  return version ? *version : kNoFileVersion;
}

std::string VersionText(const TFileVersion& version) {
  std::string text =
      "Version " + std::to_string(version.major) + "." + std::to_string(version.minor);
  if (version.release != 0) {
    text += "  (Release " + std::to_string(version.release) + ")";
  } else {
    text += "  (Beta)";
  }
  return text;
}

std::string BuildText(const std::string& compiler_date) {
  // The compiler writes "Mmm dd yyyy", the day padded with a space.
  const std::string prefix = "Build: ";
  if (compiler_date.size() != 11 || compiler_date[3] != ' ' || compiler_date[6] != ' ') {
    return prefix + compiler_date;
  }
  const std::string month = compiler_date.substr(0, 3);
  std::string day = compiler_date.substr(4, 2);
  const std::string year = compiler_date.substr(7, 4);
  if (day[0] == ' ') day[0] = '0';
  bool known_month = false;
  for (const char* m : kMonths) known_month = known_month || month == m;
  if (!known_month || !AllDigits(day) || !AllDigits(year)) return prefix + compiler_date;
  return prefix + day + "-" + month + "-" + year;
}
