// "File" > "Import macro Template": one item per template of the template
// file; choosing one puts the template in place of the selection.
#include "editor/EditorMemo.h"
#include "platform/FileSystem.h"
#include "platform/Utf8CodePage.h"
#include "win32/MainWindow.h"
#include "win32/WideString.h"

HMENU TForm1::TemplateMenu() const {
  HMENU file = GetSubMenu(GetMenu(handle_), 0);
  const int count = GetMenuItemCount(file);
  for (int i = 0; i < count; ++i) {
    if (HMENU sub = GetSubMenu(file, i)) return sub;
  }
  return nullptr;
}

void TForm1::BuildTemplateMenu() {
  const std::string path = TemplatePath();
  HMENU file = GetSubMenu(GetMenu(handle_), 0);
  HMENU menu = TemplateMenu();
  UINT position = 0;
  for (int i = 0; i < GetMenuItemCount(file); ++i) {
    if (GetSubMenu(file, i) == menu) position = static_cast<UINT>(i);
  }
  bool usable = false;
  if (FileSystem().FileExists(path)) {
    // A file that cannot be read leaves the submenu as it was.
    templates_ = ReadMacroTemplates(FileSystem().ReadWholeFile(path));
    while (GetMenuItemCount(menu) > 0) DeleteMenu(menu, GetMenuItemCount(menu) - 1, MF_BYPOSITION);
    for (const TTemplateMenuItem& item : templates_.items) {
      if (item.separator)
        AppendMenuA(menu, MF_SEPARATOR, 0, nullptr);
      else  // a name may hold any character; the menu painter draws it wide
        AppendMenuW(menu, MF_STRING, kFirstTemplateCommand + item.template_index,
                    Wide(templates_.unicode ? item.caption
                                            : ConvertText(item.caption, code_page_, Utf8CodePage()))
                        .c_str());
    }
    usable = templates_.HasTemplates();
  }
  EnableMenuItem(file, position, MF_BYPOSITION | (usable ? MF_ENABLED : MF_GRAYED));
  // New items are drawn by the program like all the others (also when the
  // settings window rebuilds the submenu).
  RefreshMenuPainter();
}

void TForm1::InsertTemplate(int template_index) {
  if (template_index < 0 || template_index >= static_cast<int>(templates_.bodies.size())) return;
  const bool first_column = memo_->CaretX() == 1;
  // The selection's range, whatever its shape, is what the template replaces.
  memo_->SetActiveSelectionMode(smNormal);
  memo_->SetSelectedText(memo_->DocumentText(
      TemplateInsertion(templates_.bodies[static_cast<std::size_t>(template_index)], first_column),
      templates_.unicode));
  SetFocus(editor_handle_);
  AfterEditCommand();
}
