#pragma once
// The list of most recently opened or saved files: kept in the settings key of
// the registry, shown as numbered entries in a menu, and reporting which entry
// the user picked.
#include <functional>
#include <string>
#include <vector>

class IRegistry;

// Whether two UTF-8 paths name the same file the way the file system compares
// names (regardless of letter case).
using TSamePath = std::function<bool(const std::string& a, const std::string& b)>;

// The same ignoring the case of ASCII letters only; every other byte compares
// exactly, so parts of a multi-byte character never match letters.
bool SamePathIgnoringAsciiCase(const std::string& a, const std::string& b);

// The menu that carries the entries, as the list sees it. Positions are
// 0-based item indexes in that menu. The list only ever removes items that
// report themselves as its own, so the menu's other items stay untouched.
class IRecentFilesMenu {
 public:
  virtual ~IRecentFilesMenu() = default;
  // False once the menu has been destroyed; the list then has no menu.
  virtual bool Alive() const = 0;
  virtual int ItemCount() const = 0;
  virtual bool IsOwnItem(int pos) const = 0;  // inserted by the list
  virtual bool IsSeparator(int pos) const = 0;
  virtual void RemoveItem(int pos) = 0;
  virtual void InsertSeparator(int pos) = 0;
  // Inserts the entry for list index `index` (0-based) with its caption.
  virtual void InsertEntry(int pos, int index, const std::string& caption) = 0;
};

class TMostRecentFiles {
 public:
  static constexpr int kMaxFilesLimit = 8;

  using TFileEvent = std::function<void(TMostRecentFiles& sender, const std::string& file_name)>;

  // Paths are UTF-8; same_path decides which ones name one file (ASCII case
  // folding when empty).
  explicit TMostRecentFiles(TSamePath same_path = {});
  // Stores the list (errors ignored: the program is going away).
  virtual ~TMostRecentFiles();
  TMostRecentFiles(const TMostRecentFiles&) = delete;
  TMostRecentFiles& operator=(const TMostRecentFiles&) = delete;

  // 1 to 8; smaller values give 1, larger ones 8. Entries beyond the new
  // limit are dropped. Rebuilds the menu.
  int MaxFiles() const { return max_files_; }
  void SetMaxFiles(int value);

  // Entries show the full path, else only the file name. Rebuilds the menu.
  bool ShowFullPath() const { return show_full_path_; }
  void SetShowFullPath(bool value);

  // The menu receiving the entries (not owned; nullptr for none). Rebuilds it.
  IRecentFilesMenu* OwnerMenuItem() const;
  void SetOwnerMenuItem(IRecentFilesMenu* menu);

  // Item index where the entries begin; past the end means "at the end".
  int MenuPosition() const { return menu_position_; }
  void SetMenuPosition(int value) { menu_position_ = value; }

  // The registry the list is stored in (not owned; it must outlive the list).
  void SetRegistry(IRegistry* registry) { registry_ = registry; }
  // Key below the current user's root that holds the list. Setting it reloads
  // the list from there and rebuilds the menu.
  const std::string& RegPath() const { return reg_path_; }
  void SetRegPath(const std::string& path);

  // How the list learns whether a chosen file still exists. Defaults to the
  // program's file system.
  void SetFileExists(std::function<bool(const std::string&)> file_exists);

  // The remembered paths, most recent first.
  const std::vector<std::string>& Files() const { return files_; }

  // A file was opened or saved under `path`: it goes to the top of the list.
  void AddFile(const std::string& path);

  // Reloads the list from RegPath and rebuilds the menu. A key that cannot be
  // opened gives an empty list.
  void Load();
  // Writes the list to RegPath, creating the key when missing. Returns false
  // when the key could not be opened or a value could not be written.
  bool Save() noexcept;

  // The menu caption of list entry `index` (0-based): "&1  C:\dir\name.ttl".
  std::string Caption(int index) const;

  // Removes the list's own items from the menu and inserts the current entries.
  void RebuildMenu();

  // The user chose the menu item at `pos` of the owner menu.
  void ChooseMenuItem(int pos);

  // An entry was chosen and its file exists.
  TFileEvent OnMenuClick;
  // An entry was chosen and its file is gone; the entry has been dropped.
  TFileEvent OnFileNotExist;
  // The menu's entries were inserted anew (lets the window refresh a menu it
  // draws itself).
  std::function<void(TMostRecentFiles& sender)> OnMenuRebuilt;

 private:
  int IndexOf(const std::string& path) const;
  IRecentFilesMenu* LiveOwner() const;

  TSamePath same_path_;
  int max_files_ = 4;
  bool show_full_path_ = true;
  int menu_position_ = 0;
  IRecentFilesMenu* owner_ = nullptr;
  IRegistry* registry_ = nullptr;
  std::string reg_path_;
  std::function<bool(const std::string&)> file_exists_;
  std::vector<std::string> files_;
};
