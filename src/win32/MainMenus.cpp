#include "win32/MainMenus.h"

#include <string>

#include "platform/TextEncoding.h"

namespace {

void AppendItems(HMENU menu, const std::vector<TMenuItemDef>& items) {
  for (const auto& item : items) {
    if (item.id == cmNone) {
      AppendMenuA(menu, MF_SEPARATOR, 0, nullptr);
      continue;
    }
    std::string caption = item.caption;
    if (item.shortcut) caption += "\t" + ShortCutText(item.shortcut);
    if (item.id == cmImportTemplate) {
      // Filled from the template file; empty and disabled until then.
      AppendMenuA(menu, MF_POPUP | MF_GRAYED, reinterpret_cast<UINT_PTR>(CreatePopupMenu()),
                  caption.c_str());
      continue;
    }
    if (item.id == cmEncoding) {
      HMENU encodings = CreatePopupMenu();
      UINT id = kFirstEncodingCommand;
      for (TTextEncoding e : kAllTextEncodings)
        AppendMenuA(encodings, MF_STRING, id++, std::string(TextEncodingName(e)).c_str());
      AppendMenuA(menu, MF_POPUP, reinterpret_cast<UINT_PTR>(encodings), caption.c_str());
      continue;
    }
    AppendMenuA(menu, MF_STRING | (CommandImplemented(item.id) ? 0 : MF_GRAYED), item.id,
                caption.c_str());
  }
}

}  // namespace

HMENU BuildMainMenu() {
  HMENU bar = CreateMenu();
  for (const auto& menu : MainMenuDefs()) {
    HMENU popup = CreatePopupMenu();
    AppendItems(popup, menu.items);
    AppendMenuA(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(popup), menu.caption);
  }
  return bar;
}

HMENU BuildEditorPopup() {
  HMENU popup = CreatePopupMenu();
  AppendItems(popup, EditorPopupDefs());
  return popup;
}

void ApplyMenuState(HMENU menu, const TCommandState& state) {
  const int count = GetMenuItemCount(menu);
  for (int i = 0; i < count; ++i) {
    const UINT id = GetMenuItemID(menu, i);
    if (id == static_cast<UINT>(-1)) continue;  // separators and submenus
    if (id < cmNew || id > cmLastCommand) continue;  // recent files and other dynamic items
    const bool enabled = CommandEnabled(static_cast<TCommandId>(id), state);
    EnableMenuItem(menu, i, MF_BYPOSITION | (enabled ? MF_ENABLED : MF_GRAYED));
  }
}

TShortCut ShortCutFromKey(WPARAM vk) {
  TShortCut shortcut = static_cast<TShortCut>(vk & 0xFF);
  if (GetKeyState(VK_SHIFT) < 0) shortcut |= scShift;
  if (GetKeyState(VK_CONTROL) < 0) shortcut |= scCtrl;
  if (GetKeyState(VK_MENU) < 0) shortcut |= scAlt;
  return shortcut;
}

TCommandId CommandForShortCut(TShortCut shortcut) {
  for (const auto& menu : MainMenuDefs()) {
    for (const auto& item : menu.items) {
      if (item.id != cmNone && item.shortcut == shortcut) return item.id;
    }
  }
  return cmNone;
}
