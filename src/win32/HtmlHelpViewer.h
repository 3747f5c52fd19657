#pragma once
// Compiled help files in the platform's HTML Help viewer. The viewer's module
// is loaded when this object is made and released when it goes; without the
// module every request is quietly ignored.
#include <windows.h>

#include <cstdint>
#include <string>

#include "app/HelpTopics.h"
#include "platform/ProgramDir.h"

class THtmlHelpViewer : public IHelpViewer {
 public:
  // module_name is the viewer's module; tests name a missing one.
  explicit THtmlHelpViewer(const TProgramDirectory& program_dir, HWND owner = nullptr,
                           const char* module_name = "HHCtrl.ocx");
  ~THtmlHelpViewer() override;
  THtmlHelpViewer(const THtmlHelpViewer&) = delete;
  THtmlHelpViewer& operator=(const THtmlHelpViewer&) = delete;

  // The window the help windows belong to.
  void SetOwner(HWND owner) { owner_ = owner; }
  // True when the viewer module and its entry point were found.
  bool Loaded() const { return html_help_ != nullptr; }

  // Only ".chm" files are served; a name without a directory is taken from the
  // program's directory.
  void ShowContext(const std::string& help_file, std::int32_t context) override;
  void ShowTableOfContents(const std::string& help_file) override;
  void ShowTopic(const std::string& help_file, const std::string& topic) override;
  void CloseAll() override;

 private:
  using HtmlHelpFunction = HWND(WINAPI*)(HWND, LPCWSTR, UINT, DWORD_PTR);
  void Call(const std::string& file, UINT command, DWORD_PTR data);

  TProgramDirectory program_dir_;
  HWND owner_;
  HMODULE module_ = nullptr;
  HtmlHelpFunction html_help_ = nullptr;
  bool opened_ = false;
};
