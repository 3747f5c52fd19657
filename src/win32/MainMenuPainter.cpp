// The main window's menus drawn by the program: light items with the tool
// bar's images in a coloured column, framed selection, thin separators.
#include "app/MenuColors.h"
#include "win32/FlatMenuPainter.h"
#include "win32/MainWindow.h"
#include "win32/RecentFilesMenu.h"
#include "win32/ToolGlyphs.h"

void TForm1::CreateMenuPainter() {
  menu_painter_ = std::make_unique<TFlatMenuPainter>(handle_);
  menu_painter_->SetFont("Segoe UI", 12, kMenuRoleMenuText);
  menu_painter_->SetDpi(dpi_);
  SetMenuImages();
  menu_painter_->Attach(popup_);
  menu_painter_->SetActive(true);
  if (mru_) mru_->OnMenuRebuilt = [this](TMostRecentFiles&) { RefreshMenuPainter(); };
}

void TForm1::SetMenuImages() {
  // "Print ..." shows the image of the tool bar's Print button.
  menu_painter_->SetImages(toolbar_.Images(), [](UINT id) {
    return ToolGlyphIndex(id == cmPrint ? cmToolPrint : static_cast<TCommandId>(id));
  });
}

void TForm1::RefreshMenuPainter() {
  if (menu_painter_) menu_painter_->Refresh();
}
