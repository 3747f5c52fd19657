#include "app/RecentFiles.h"

#include <algorithm>
#include <memory>

#include "platform/FileSystem.h"
#include "platform/Registry.h"

namespace {

std::string ValueName(int position) { return "MRU" + std::to_string(position); }

// A menu shows "&x" as an underlined x; a path holding "&" must show it as written.
std::string EscapeAmpersands(const std::string& text) {
  std::string out;
  out.reserve(text.size());
  for (char c : text) {
    out += c;
    if (c == '&') out += '&';
  }
  return out;
}

// The name begins after the last directory or drive separator; in UTF-8 no
// byte of a multi-byte character equals one of them.
std::string FileNamePart(const std::string& path) {
  const std::size_t separator = path.find_last_of("\\/:");
  return separator == std::string::npos ? path : path.substr(separator + 1);
}

char AsciiLower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

}  // namespace

bool SamePathIgnoringAsciiCase(const std::string& a, const std::string& b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (AsciiLower(a[i]) != AsciiLower(b[i])) return false;
  }
  return true;
}

TMostRecentFiles::TMostRecentFiles(TSamePath same_path)
    : same_path_(same_path ? std::move(same_path) : TSamePath(SamePathIgnoringAsciiCase)),
      file_exists_([](const std::string& path) { return FileSystem().FileExists(path); }) {}

TMostRecentFiles::~TMostRecentFiles() { Save(); }

void TMostRecentFiles::SetMaxFiles(int value) {
  max_files_ = std::clamp(value, 1, kMaxFilesLimit);
  // A shorter limit must not leave more entries in the menu than it allows.
  if (static_cast<int>(files_.size()) > max_files_) files_.resize(max_files_);
  RebuildMenu();
}

void TMostRecentFiles::SetShowFullPath(bool value) {
  show_full_path_ = value;
  RebuildMenu();
}

IRecentFilesMenu* TMostRecentFiles::OwnerMenuItem() const { return LiveOwner(); }

void TMostRecentFiles::SetOwnerMenuItem(IRecentFilesMenu* menu) {
  owner_ = menu;
  RebuildMenu();
}

IRecentFilesMenu* TMostRecentFiles::LiveOwner() const {
  return owner_ && owner_->Alive() ? owner_ : nullptr;
}

void TMostRecentFiles::SetRegPath(const std::string& path) {
  reg_path_ = path;
  Load();
}

void TMostRecentFiles::SetFileExists(std::function<bool(const std::string&)> file_exists) {
  file_exists_ = std::move(file_exists);
}

int TMostRecentFiles::IndexOf(const std::string& path) const {
  for (std::size_t i = 0; i < files_.size(); ++i) {
    if (same_path_(files_[i], path)) return static_cast<int>(i);
  }
  return -1;
}

void TMostRecentFiles::AddFile(const std::string& path) {
  if (!LiveOwner()) return;
  // An empty name is no file; as an entry it would only ever report itself missing.
  if (path.empty()) return;
  const int found = IndexOf(path);
  if (found == 0) return;
  if (found > 0) files_.erase(files_.begin() + found);
  files_.insert(files_.begin(), path);
  if (static_cast<int>(files_.size()) > max_files_) files_.resize(max_files_);
  RebuildMenu();
}

void TMostRecentFiles::Load() {
  files_.clear();
  std::unique_ptr<IRegistryKey> key;
  if (registry_ && !reg_path_.empty())
    key = registry_->Open(TRegistryRoot::CurrentUser, reg_path_, false);
  if (key) {
    for (int i = 1; i <= max_files_; ++i) {
      auto value = key->ReadString(ValueName(i));
      if (!value) break;
      // A hand-edited store may repeat a path; the list holds each file once.
      if (value->empty() || IndexOf(*value) >= 0) continue;
      files_.push_back(*value);
    }
  }
  RebuildMenu();
}

bool TMostRecentFiles::Save() noexcept {
  if (!registry_ || reg_path_.empty()) return false;
  try {
    auto key = registry_->Open(TRegistryRoot::CurrentUser, reg_path_, true);
    if (!key) return false;
    for (int i = 1; i <= max_files_; ++i) {
      const std::size_t index = static_cast<std::size_t>(i - 1);
      key->WriteString(ValueName(i), index < files_.size() ? files_[index] : std::string());
    }
    return true;
  } catch (...) {
    return false;
  }
}

std::string TMostRecentFiles::Caption(int index) const {
  if (index < 0 || index >= static_cast<int>(files_.size())) return std::string();
  const std::string& path = files_[static_cast<std::size_t>(index)];
  return "&" + std::to_string(index + 1) + "  " +
         EscapeAmpersands(show_full_path_ ? path : FileNamePart(path));
}

void TMostRecentFiles::RebuildMenu() {
  IRecentFilesMenu* menu = LiveOwner();
  if (!menu) return;
  for (int pos = menu->ItemCount() - 1; pos >= 0; --pos) {
    if (menu->IsOwnItem(pos)) menu->RemoveItem(pos);
  }
  if (!files_.empty()) {
    int pos = std::min(menu_position_, menu->ItemCount());
    if (pos > 0 && !menu->IsSeparator(pos - 1)) menu->InsertSeparator(pos++);
    for (std::size_t i = 0; i < files_.size(); ++i) {
      menu->InsertEntry(pos++, static_cast<int>(i), Caption(static_cast<int>(i)));
    }
    if (pos < menu->ItemCount() && !menu->IsSeparator(pos)) menu->InsertSeparator(pos);
  }
  if (OnMenuRebuilt) OnMenuRebuilt(*this);
}

void TMostRecentFiles::ChooseMenuItem(int pos) {
  if (!OnMenuClick) return;
  IRecentFilesMenu* menu = LiveOwner();
  if (!menu || pos < 0 || pos >= menu->ItemCount()) return;
  int first = -1;
  for (int i = 0; i < menu->ItemCount() && first < 0; ++i) {
    if (menu->IsOwnItem(i)) first = i;
  }
  if (first < 0) return;
  const int index = pos - first - (menu->IsSeparator(first) ? 1 : 0);
  if (index < 0 || index >= static_cast<int>(files_.size())) return;

  const std::string path = files_[static_cast<std::size_t>(index)];
  if (file_exists_ && file_exists_(path)) {
    if (index > 0) {
      files_.erase(files_.begin() + index);
      files_.insert(files_.begin(), path);
      RebuildMenu();
    }
    OnMenuClick(*this, path);
  } else {
    files_.erase(files_.begin() + index);
    RebuildMenu();
    if (OnFileNotExist) OnFileNotExist(*this, path);
  }
}
