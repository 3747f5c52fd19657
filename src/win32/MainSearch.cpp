// The main window's side of Find and Replace: the dialogs, the status panel
// a search empties, and where the replace confirmation appears.
#include "editor/EditorMemo.h"
#include "win32/MainWindow.h"
#include "win32/SearchDialogs.h"

void TForm1::CreateSearch() {
  search_dialogs_ = services_.search_dialogs;
  if (!search_dialogs_) {
    own_search_dialogs_ = std::make_unique<TWin32SearchDialogs>(handle_, code_page_);
    search_dialogs_ = own_search_dialogs_.get();
  }
  search_ = std::make_unique<TSearchCommands>(*memo_, code_page_, prompts_, *search_dialogs_);
  search_->OnSearchStarted = [this] { status_bar_.SetPanel(0, ""); };
  search_->OnConfirm = [this](const std::string& search, int line, int column) {
    return ConfirmReplaceAt(search, line, column);
  };
  memo_->OnReplaceText = [this](TCustomEditor&, const std::string& search,
                                const std::string& replace, int line, int column,
                                TReplaceAction& action) {
    action = search_->AskReplace(search, replace, line, column);
  };
}

void TForm1::AfterSearchCommand() {
  UpdateProblemPanel();
  UpdateCommandState();
}

TReplaceAction TForm1::ConfirmReplaceAt(const std::string& search, int line, int column) {
  // The occurrence is selected; let the user see it before the question.
  UpdateWindow(editor_handle_);
  const TPoint cell = memo_->RowColumnToPixels(memo_->BufferToDisplayPos({column, line}));
  POINT at{cell.x, cell.y};
  ClientToScreen(editor_handle_, &at);
  RECT client;
  GetClientRect(handle_, &client);
  POINT top_left{client.left, client.top};
  POINT bottom_right{client.right, client.bottom};
  ClientToScreen(handle_, &top_left);
  ClientToScreen(handle_, &bottom_right);
  const TRect area{top_left.x, top_left.y, bottom_right.x, bottom_right.y};
  return search_dialogs_->ConfirmReplace(area, at.x, at.y, at.y + memo_->RowHeight(), search);
}
