// The main editor's completion proposal: Ctrl+Space, or a pause after ".",
// offers the macro commands of Completion.pro beside the caret.
#include "app/CompletionSetup.h"
#include "editor/EditorMemo.h"
#include "win32/CompletionPopup.h"
#include "win32/MainWindow.h"

void TForm1::CreateCompletion() {
  scp_ = std::make_unique<TCompletionProposal>();
  ConfigureMainCompletionProposal(*scp_);
  scp_->SetEditor(memo_.get());
  scp_->OnExecute = [this](TCompletionType, TBaseCompletionProposal& sender, std::string&, int&,
                           int&, bool&) { CompletionExecuteCheck(sender, prompts_); };
  // The popup belongs to the main window and goes with it.
  TCompletionPopup::Create(handle_, *scp_);
}

void TForm1::LoadCompletionItemFile() {
  // Without the file the proposal says so when it is asked to open.
  LoadCompletionItems(*scp_, *memo_, program_dir_.ProgramDirFile(kCompletionItemFileName));
}

void TForm1::CloseCompletion() {
  if (scp_) scp_->Deactivate();
}
