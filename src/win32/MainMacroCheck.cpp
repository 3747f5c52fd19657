// The macro checked while it is edited: the pause timer and the answers of
// the checking thread, the problem count in the status bar, stepping from
// problem to problem, and moving between the macro's labels.
#include "app/LabelNavigation.h"
#include "app/LiveMacroCheck.h"
#include "editor/EditorMemo.h"
#include "win32/LabelsDialog.h"
#include "win32/MainWindow.h"

namespace {

// The folder included files are looked for in: that of the document.
std::string FolderOf(const std::string& path) {
  const auto slash = path.find_last_of("\\/");
  return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

}  // namespace

void TForm1::CreateMacroCheck() {
  TLiveMacroCheck::THost host;
  HWND window = handle_;
  host.start_timer = [window](int milliseconds) {
    SetTimer(window, kMacroCheckTimer, static_cast<UINT>(milliseconds), nullptr);
  };
  host.stop_timer = [window] { KillTimer(window, kMacroCheckTimer); };
  // From the checking thread: the answer is taken on this window's thread.
  host.post_answer = [window] { PostMessageW(window, kMacroCheckAnswer, 0, 0); };
  host.problems_changed = [this] { MacroProblemsChanged(); };
  check_ = std::make_unique<TLiveMacroCheck>(memo_->Lines(), std::move(host));
  FollowDocumentFolder();
}

void TForm1::SetMacroChecking(bool on) {
  if (check_) check_->SetEnabled(on);
}

void TForm1::FollowDocumentFolder() {
  if (!check_) return;
  const std::string folder = FolderOf(document_.CurrentFileName());
  if (folder == check_->Options().macro_folder) return;
  TMacroCheckOptions options = check_->Options();
  options.macro_folder = folder;
  check_->SetOptions(options);
}

void TForm1::MacroProblemsChanged() {
  UpdateProblemPanel();
  memo_->Invalidate();
  UpdateCommandState();
}

void TForm1::UpdateProblemPanel() {
  status_bar_.SetPanel(0, check_ && check_->Enabled() ? check_->Problems().StatusText() : "");
}

void TForm1::StepToProblem(bool backwards) {
  if (!check_) return;
  const TMacroProblemList& list = check_->Problems();
  const auto next = list.Next(memo_->CaretY() - 1, memo_->CaretX() - 1, backwards);
  if (!next) return;
  const TMacroProblem& problem = list.Problems()[*next];
  ShowPlace(*memo_, {problem.column + 1, problem.line + 1});
}

void TForm1::JumpTo(TBufferCoord place) {
  jumps_.Push(memo_->CaretPos());
  ShowPlace(*memo_, place);
}

void TForm1::GotoLabel() {
  if (!check_) return;
  const TMacroCheckLines& lines = check_->ReadNow();
  std::string name;
  const auto facts = lines.Facts(memo_->CaretY() - 1, &name);
  const std::string label = facts ? LabelNamedBy(*facts, name) : std::string();
  if (label.empty()) {
    ShowWarning(prompts_,
                "There is no label here: place the caret on a goto or call, or on a label.");
    return;
  }
  const auto found = FindLabel(lines.Labels(), label);
  if (!found) {
    ShowWarning(prompts_, "Label '" + label + "' is not defined in this file.");
    return;
  }
  JumpTo({found->column + 1, found->line + 1});
}

void TForm1::GoBack() {
  if (const auto place = jumps_.Pop()) ShowPlace(*memo_, *place);
}

void TForm1::ShowLabels() {
  if (!check_) return;
  const std::vector<TMacroLabel> labels = check_->ReadNow().Labels();
  if (const auto chosen = ChooseLabel(handle_, labels)) {
    const TMacroLabel& label = labels[*chosen];
    JumpTo({label.column + 1, label.line + 1});
  }
}

bool TForm1::LabelCompletionAtCaret() {
  return CompletesLabel(memo_->LineText(memo_->CaretY()), scp_->CompletionStart());
}
