#include "win32/HtmlHelpViewer.h"

#include <htmlhelp.h>

#include "win32/WideString.h"

THtmlHelpViewer::THtmlHelpViewer(const TProgramDirectory& program_dir, HWND owner,
                                 const char* module_name)
    : program_dir_(program_dir), owner_(owner) {
  module_ = LoadLibraryA(module_name);
  if (!module_) return;
  // The wide entry: the help file's path may hold any character.
  FARPROC entry = GetProcAddress(module_, "HtmlHelpW");
  if (!entry) {
    FreeLibrary(module_);
    module_ = nullptr;
    return;
  }
  html_help_ = reinterpret_cast<HtmlHelpFunction>(reinterpret_cast<void*>(entry));
}

THtmlHelpViewer::~THtmlHelpViewer() {
  // Help windows still open run code of the module, so they go first.
  if (opened_) CloseAll();
  if (module_) FreeLibrary(module_);
}

void THtmlHelpViewer::Call(const std::string& file, UINT command, DWORD_PTR data) {
  if (!html_help_) return;
  opened_ = true;
  html_help_(owner_, Wide(file).c_str(), command, data);
}

void THtmlHelpViewer::ShowContext(const std::string& help_file, std::int32_t context) {
  if (!IsCompiledHelpFile(help_file)) return;
  Call(ResolveHelpFile(help_file, program_dir_), HH_HELP_CONTEXT,
       static_cast<DWORD_PTR>(static_cast<DWORD>(context)));
}

void THtmlHelpViewer::ShowTableOfContents(const std::string& help_file) {
  if (!IsCompiledHelpFile(help_file)) return;
  Call(ResolveHelpFile(help_file, program_dir_), HH_DISPLAY_TOC, 0);
}

void THtmlHelpViewer::ShowTopic(const std::string& help_file, const std::string& topic) {
  if (!IsCompiledHelpFile(help_file)) return;
  Call(HelpTopicLocation(ResolveHelpFile(help_file, program_dir_), topic), HH_DISPLAY_TOPIC, 0);
}

void THtmlHelpViewer::CloseAll() {
  if (!html_help_) return;
  html_help_(nullptr, nullptr, HH_CLOSE_ALL, 0);
  opened_ = false;
}
