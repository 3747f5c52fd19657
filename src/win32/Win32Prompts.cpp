#include "win32/Win32Prompts.h"

#include <commdlg.h>

#include <vector>

namespace {

// "Text|*.ttl|All|*.*" -> "Text\0*.ttl\0All\0*.*\0\0", as the dialog wants it.
std::string DialogFilter(const std::string& filter) {
  std::string result = filter;
  for (char& c : result) {
    if (c == '|') c = '\0';
  }
  result.push_back('\0');
  result.push_back('\0');
  return result;
}

}  // namespace

int TWin32Prompts::Message(const std::string& text, const std::string& caption, TMessageKind kind,
                           TMessageButtons buttons) {
  UINT flags = MB_TASKMODAL;
  switch (kind) {
    case TMessageKind::Warning: flags |= MB_ICONWARNING; break;
    case TMessageKind::Error: flags |= MB_ICONERROR; break;
    case TMessageKind::Information: flags |= MB_ICONINFORMATION; break;
    case TMessageKind::Question: flags |= MB_ICONQUESTION; break;
  }
  switch (buttons) {
    case TMessageButtons::Ok: flags |= MB_OK; break;
    case TMessageButtons::YesNo: flags |= MB_YESNO; break;
    case TMessageButtons::YesNoCancel: flags |= MB_YESNOCANCEL; break;
  }
  HWND owner = owner_ && IsWindow(owner_) ? owner_ : GetActiveWindow();
  switch (MessageBoxA(owner, text.c_str(), caption.c_str(), flags)) {
    case IDOK: return mrOk;
    case IDYES: return mrYes;
    case IDNO: return mrNo;
    default: return mrCancel;
  }
}

std::optional<std::string> TWin32Prompts::RunFileDialog(const TFileDialogOptions& options,
                                                        bool save) {
  // Room for the longest path the shell can hand back.
  std::vector<char> file(32768, '\0');
  options.file_name.copy(file.data(), file.size() - 1);
  const std::string filter = DialogFilter(options.filter);

  OPENFILENAMEA ofn{};
  ofn.lStructSize = sizeof ofn;
  ofn.hwndOwner = owner_ && IsWindow(owner_) ? owner_ : GetActiveWindow();
  ofn.lpstrFilter = filter.c_str();
  ofn.nFilterIndex = 1;
  ofn.lpstrFile = file.data();
  ofn.nMaxFile = static_cast<DWORD>(file.size());
  ofn.lpstrTitle = options.title.empty() ? nullptr : options.title.c_str();
  ofn.lpstrDefExt = options.default_ext.empty() ? nullptr : options.default_ext.c_str();
  ofn.lpstrInitialDir = options.initial_dir.empty() ? nullptr : options.initial_dir.c_str();
  ofn.Flags = OFN_EXPLORER | OFN_NOCHANGEDIR;
  if (options.overwrite_prompt) ofn.Flags |= OFN_OVERWRITEPROMPT;
  if (options.hide_read_only) ofn.Flags |= OFN_HIDEREADONLY;
  if (options.path_must_exist) ofn.Flags |= OFN_PATHMUSTEXIST;
  if (options.file_must_exist) ofn.Flags |= OFN_FILEMUSTEXIST;
  if (options.resizable) ofn.Flags |= OFN_ENABLESIZING;

  const BOOL ok = save ? GetSaveFileNameA(&ofn) : GetOpenFileNameA(&ofn);
  if (!ok) return std::nullopt;
  return std::string(file.data());
}

std::optional<std::string> TWin32Prompts::OpenFile(const TFileDialogOptions& options) {
  return RunFileDialog(options, false);
}

std::optional<std::string> TWin32Prompts::SaveFile(const TFileDialogOptions& options) {
  return RunFileDialog(options, true);
}
