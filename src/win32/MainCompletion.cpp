// The main editor's completion proposal: Ctrl+Space, or a pause after ".",
// offers the macro commands of Completion.pro beside the caret.
#include <algorithm>

#include "app/CompletionSetup.h"
#include "app/LabelNavigation.h"
#include "app/LiveMacroCheck.h"
#include "editor/EditorMemo.h"
#include "win32/CompletionPopup.h"
#include "win32/MainWindow.h"

void TForm1::CreateCompletion() {
  scp_ = std::make_unique<TCompletionProposal>();
  ConfigureMainCompletionProposal(*scp_);
  scp_->SetEditor(memo_.get());
  scp_->OnExecute = [this](TCompletionType, TBaseCompletionProposal& sender, std::string&, int&,
                           int&, bool&) {
    // After goto and call the labels of the file are offered instead of
    // the commands.
    if (LabelCompletionAtCaret()) {
      TCompletionLists labels = LabelCompletionLists(check_->ReadNow().Labels());
      sender.SetInsertList(std::move(labels.inserts));
      sender.SetItemList(std::move(labels.displays));
      labels_offered_ = true;
      return;
    }
    if (labels_offered_) {
      sender.SetInsertList(command_lists_.inserts);
      sender.SetItemList(command_lists_.displays);
      labels_offered_ = false;
    }
    CompletionExecuteCheck(sender, prompts_);
  };
  // The blank after goto or call opens the labels after the delay.
  scp_->TriggerWhen = [](TCustomEditor& editor, char typed) {
    if (typed != ' ' && typed != '\t') return false;
    const std::string before =
        editor.LineText(editor.CaretY())
            .substr(0, static_cast<std::size_t>(std::max(0, editor.CaretX() - 1)));
    return CompletesLabel(before + typed, static_cast<int>(before.size()) + 2);
  };
  // The popup belongs to the main window and goes with it.
  if (TCompletionPopup* popup = TCompletionPopup::Create(handle_, *scp_)) {
    completion_popup_ = popup->Handle();
    ApplyCompletionDpi();
  }
}

void TForm1::ApplyCompletionDpi() {
  if (TCompletionPopup* popup = TCompletionPopup::FromHandle(completion_popup_))
    popup->SetDpi(dpi_);
}

void TForm1::LoadCompletionItemFile() {
  // Without the file the proposal says so when it is asked to open.
  LoadCompletionItems(*scp_, *memo_, program_dir_.ProgramDirFile(kCompletionItemFileName));
  command_lists_ = {scp_->InsertList(), scp_->ItemList()};
  labels_offered_ = false;
}

void TForm1::CloseCompletion() {
  if (scp_) scp_->Deactivate();
}
