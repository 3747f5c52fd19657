#include "win32/Win32Prompts.h"

#include <commdlg.h>

#include <vector>

#include "win32/WideString.h"

namespace {

// "Text|*.ttl|All|*.*" -> "Text\0*.ttl\0All\0*.*\0\0", as the dialog wants it.
std::wstring DialogFilter(const std::string& filter) {
  std::wstring result = Wide(filter);
  for (wchar_t& c : result) {
    if (c == L'|') c = L'\0';
  }
  result.push_back(L'\0');
  result.push_back(L'\0');
  return result;
}

const wchar_t* OrNull(const std::wstring& text) { return text.empty() ? nullptr : text.c_str(); }

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
  switch (MessageBoxW(owner, Wide(text).c_str(), Wide(caption).c_str(), flags)) {
    case IDOK: return mrOk;
    case IDYES: return mrYes;
    case IDNO: return mrNo;
    default: return mrCancel;
  }
}

std::optional<std::string> TWin32Prompts::RunFileDialog(const TFileDialogOptions& options,
                                                        bool save) {
  // Room for the longest path the shell can hand back.
  std::vector<wchar_t> file(32768, L'\0');
  Wide(options.file_name).copy(file.data(), file.size() - 1);
  const std::wstring filter = DialogFilter(options.filter);
  const std::wstring title = Wide(options.title), default_ext = Wide(options.default_ext),
                     initial_dir = Wide(options.initial_dir);

  OPENFILENAMEW ofn{};
  ofn.lStructSize = sizeof ofn;
  ofn.hwndOwner = owner_ && IsWindow(owner_) ? owner_ : GetActiveWindow();
  ofn.lpstrFilter = filter.c_str();
  ofn.nFilterIndex = 1;
  ofn.lpstrFile = file.data();
  ofn.nMaxFile = static_cast<DWORD>(file.size());
  ofn.lpstrTitle = OrNull(title);
  ofn.lpstrDefExt = OrNull(default_ext);
  ofn.lpstrInitialDir = OrNull(initial_dir);
  ofn.Flags = OFN_EXPLORER | OFN_NOCHANGEDIR;
  if (options.overwrite_prompt) ofn.Flags |= OFN_OVERWRITEPROMPT;
  if (options.hide_read_only) ofn.Flags |= OFN_HIDEREADONLY;
  if (options.path_must_exist) ofn.Flags |= OFN_PATHMUSTEXIST;
  if (options.file_must_exist) ofn.Flags |= OFN_FILEMUSTEXIST;
  if (options.resizable) ofn.Flags |= OFN_ENABLESIZING;

  const BOOL ok = save ? GetSaveFileNameW(&ofn) : GetOpenFileNameW(&ofn);
  if (!ok) return std::nullopt;
  return Utf8(file.data());
}

std::optional<std::string> TWin32Prompts::OpenFile(const TFileDialogOptions& options) {
  return RunFileDialog(options, false);
}

std::optional<std::string> TWin32Prompts::SaveFile(const TFileDialogOptions& options) {
  return RunFileDialog(options, true);
}
