#pragma once
// The recent-files list attached to a real menu: its entries follow the owner
// menu's own items, and choosing one arrives as WM_COMMAND with an entry ID.
#include <windows.h>

#include <string>

#include "app/RecentFiles.h"

class IRegistry;

// Whether two UTF-8 paths name one file, compared as Windows compares file
// names (any letter's case ignored).
bool SamePathOnWindows(const std::string& a, const std::string& b);

// The list's items carry command IDs of their own, so a rebuild finds and
// removes exactly them and the window can route their WM_COMMAND here.
inline constexpr UINT kRecentSeparatorId = 900;
inline constexpr UINT kRecentFirstEntryId = 901;  // entry 1; entry n is 900 + n
inline constexpr UINT kRecentLastEntryId =
    kRecentFirstEntryId + TMostRecentFiles::kMaxFilesLimit - 1;

// Reads and changes an HMENU for the list.
class TMenuHandleItems final : public IRecentFilesMenu {
 public:
  explicit TMenuHandleItems(HMENU menu) : menu_(menu) {}
  HMENU Handle() const { return menu_; }

  bool Alive() const override;
  int ItemCount() const override;
  bool IsOwnItem(int pos) const override;
  bool IsSeparator(int pos) const override;
  void RemoveItem(int pos) override;
  void InsertSeparator(int pos) override;
  void InsertEntry(int pos, int index, const std::string& caption) override;

  // Position of the item with this command ID (not in a submenu), or -1.
  int PositionOfId(UINT id) const;

 private:
  HMENU menu_;
};

class TRecentFilesMenu final : public TMostRecentFiles {
 public:
  // owner_menu: the "File" drop-down, which must exist already. The list is
  // loaded from reg_path at once and its entries inserted from menu_position
  // on (past the end means after the last item).
  TRecentFilesMenu(HMENU owner_menu, IRegistry& registry, const std::string& reg_path,
                   int menu_position = 21);
  // Stores the list in the registry (a failure is ignored).
  ~TRecentFilesMenu() override;

  // Handles the WM_COMMAND of a recent-file entry: true when `id` is one,
  // whether or not anything followed from it.
  bool HandleMenuCommand(int id);

  HMENU OwnerMenu() const { return items_.Handle(); }

 private:
  TMenuHandleItems items_;
};
