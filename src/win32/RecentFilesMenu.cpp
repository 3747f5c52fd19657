#include "win32/RecentFilesMenu.h"

#include "win32/WideString.h"

namespace {

bool ItemInfo(HMENU menu, int pos, UINT mask, MENUITEMINFOA& info) {
  info = MENUITEMINFOA{};
  info.cbSize = sizeof info;
  info.fMask = mask;
  return GetMenuItemInfoA(menu, static_cast<UINT>(pos), TRUE, &info) != FALSE;
}

}  // namespace

bool SamePathOnWindows(const std::string& a, const std::string& b) {
  const std::wstring wa = Wide(a), wb = Wide(b);
  return CompareStringOrdinal(wa.c_str(), static_cast<int>(wa.size()), wb.c_str(),
                              static_cast<int>(wb.size()), TRUE) == CSTR_EQUAL;
}

bool TMenuHandleItems::Alive() const { return menu_ && IsMenu(menu_); }

int TMenuHandleItems::ItemCount() const {
  const int count = GetMenuItemCount(menu_);
  return count < 0 ? 0 : count;
}

bool TMenuHandleItems::IsOwnItem(int pos) const {
  MENUITEMINFOA info;
  if (!ItemInfo(menu_, pos, MIIM_ID | MIIM_SUBMENU, info)) return false;
  return !info.hSubMenu && info.wID >= kRecentSeparatorId && info.wID <= kRecentLastEntryId;
}

bool TMenuHandleItems::IsSeparator(int pos) const {
  MENUITEMINFOA info;
  if (!ItemInfo(menu_, pos, MIIM_FTYPE, info)) return false;
  return (info.fType & MFT_SEPARATOR) != 0;
}

void TMenuHandleItems::RemoveItem(int pos) {
  RemoveMenu(menu_, static_cast<UINT>(pos), MF_BYPOSITION);
}

void TMenuHandleItems::InsertSeparator(int pos) {
  MENUITEMINFOA info{};
  info.cbSize = sizeof info;
  info.fMask = MIIM_FTYPE | MIIM_ID;
  info.fType = MFT_SEPARATOR;
  info.wID = kRecentSeparatorId;
  InsertMenuItemA(menu_, static_cast<UINT>(pos), TRUE, &info);
}

void TMenuHandleItems::InsertEntry(int pos, int index, const std::string& caption) {
  MENUITEMINFOW info{};
  info.cbSize = sizeof info;
  info.fMask = MIIM_FTYPE | MIIM_ID | MIIM_STRING;
  info.fType = MFT_STRING;
  info.wID = kRecentFirstEntryId + static_cast<UINT>(index);
  std::wstring text = Wide(caption);  // the path may hold any character
  info.dwTypeData = text.data();
  info.cch = static_cast<UINT>(text.size());
  InsertMenuItemW(menu_, static_cast<UINT>(pos), TRUE, &info);
}

int TMenuHandleItems::PositionOfId(UINT id) const {
  const int count = ItemCount();
  for (int pos = 0; pos < count; ++pos) {
    MENUITEMINFOA info;
    if (ItemInfo(menu_, pos, MIIM_ID | MIIM_SUBMENU, info) && !info.hSubMenu && info.wID == id)
      return pos;
  }
  return -1;
}

TRecentFilesMenu::TRecentFilesMenu(HMENU owner_menu, IRegistry& registry,
                                   const std::string& reg_path, int menu_position)
    : TMostRecentFiles(SamePathOnWindows), items_(owner_menu) {
  SetMenuPosition(menu_position);
  SetRegistry(&registry);
  SetOwnerMenuItem(&items_);
  SetRegPath(reg_path);
}

TRecentFilesMenu::~TRecentFilesMenu() {
  // The base stores the list once this part is gone; the menu adapter goes
  // first, so the list must no longer reach for it.
  SetOwnerMenuItem(nullptr);
}

bool TRecentFilesMenu::HandleMenuCommand(int id) {
  if (id < static_cast<int>(kRecentFirstEntryId) || id > static_cast<int>(kRecentLastEntryId))
    return false;
  const int pos = items_.PositionOfId(static_cast<UINT>(id));
  if (pos >= 0) ChooseMenuItem(pos);
  return true;
}
