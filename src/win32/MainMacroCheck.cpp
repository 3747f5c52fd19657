// The macro checked while it is edited: the pause timer and the answers of
// the checking thread, the problem count in the status bar, stepping from
// problem to problem, and moving between the macro's labels.
#include <windows.h>
// after windows.h
#include <commctrl.h>
#include <windowsx.h>

#include "app/DpiScale.h"
#include "app/LabelNavigation.h"
#include "app/LiveMacroCheck.h"
#include "editor/EditorMemo.h"
#include "platform/CodePage.h"
#include "platform/TextEncoding.h"
#include "platform/Utf8.h"
#include "win32/LabelsDialog.h"
#include "win32/MainWindow.h"
#include "win32/ToolTip.h"
#include "win32/WideString.h"

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
  // Red for errors, blue-green for warnings.
  memo_->SetRangeMarkColors({Rgb(230, 0, 0), Rgb(0, 150, 160)});
  memo_->SetRangeMarks(&check_->Problems());
  FollowDocument();
  CreateProblemTip();
}

void TForm1::CreateProblemTip() {
  problem_tip_ = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr,
                                 WS_POPUP | TTS_NOPREFIX | TTS_ALWAYSTIP, CW_USEDEFAULT,
                                 CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, handle_, nullptr,
                                 GetModuleHandleW(nullptr), nullptr);
  if (!problem_tip_) return;
  AddToolTip(problem_tip_, handle_, editor_handle_, 0, L"");
  // Long messages break into lines, and several problems show one per line.
  SendMessageW(problem_tip_, TTM_SETMAXTIPWIDTH, 0, ScaleForDpi(480, dpi_));
}

void TForm1::RelayToProblemTip(const MSG& msg) {
  // The editor window is not subclassed (it is known by its procedure): its
  // mouse messages reach the tip from the message loop.
  if (!problem_tip_) return;
  SendMessageW(problem_tip_, TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(&msg));
  if (msg.message == WM_MOUSEMOVE) ProblemTipAt(GET_X_LPARAM(msg.lParam), GET_Y_LPARAM(msg.lParam));
}

void TForm1::ProblemTipAt(int x, int y) {
  if (!problem_tip_ || !check_) return;
  const std::string text = ::ProblemTipAt(*memo_, check_->Problems(), x, y);
  if (text == problem_tip_text_) return;
  problem_tip_text_ = text;
  // Another text under the mouse: the tip goes and comes back with it after
  // the usual pause.
  SendMessageW(problem_tip_, TTM_POP, 0, 0);
  std::string lines;
  for (char c : text) {
    if (c == '\n') lines += '\r';
    lines += c;
  }
  // The messages quote names in the document's character set.
  const std::u16string units = memo_->CharSet()->ToUtf16(lines);
  SetToolTipText(problem_tip_, handle_, editor_handle_, std::wstring(units.begin(), units.end()));
}

std::string TForm1::ProblemTip() const {
  if (!problem_tip_) return {};
  return Utf8(ToolTipText(problem_tip_, handle_, editor_handle_));
}

void TForm1::DestroyMacroCheck() {
  KillTimer(handle_, kMacroCheckTimer);
  memo_->SetRangeMarks(nullptr);
  check_.reset();
}

void TForm1::SetMacroChecking(bool on) {
  if (!check_) return;
  check_->SetEnabled(on);
  // Without checking the gutter needs no column for marks.
  memo_->SetRangeMarks(on ? &check_->Problems() : nullptr);
}

void TForm1::FollowDocument() {
  if (!check_) return;
  const std::string folder = FolderOf(document_.CurrentFileName());
  const bool utf8 = IsUnicodeEncoding(memo_->Lines().Encoding());
  if (folder == check_->Options().macro_folder && utf8 == check_->Options().utf8) return;
  TMacroCheckOptions options = check_->Options();
  options.macro_folder = folder;
  options.utf8 = utf8;
  check_->SetOptions(options);
}

void TForm1::MacroProblemsChanged() {
  // The tip is worked out again at the next move of the mouse.
  problem_tip_text_ = "\x01";
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
    const std::string shown = Utf16ToUtf8(memo_->CharSet()->ToUtf16(label));
    ShowWarning(prompts_, "Label '" + shown + "' is not defined in this file.");
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
  if (const auto chosen = ChooseLabel(handle_, labels, *memo_->CharSet())) {
    const TMacroLabel& label = labels[*chosen];
    JumpTo({label.column + 1, label.line + 1});
  }
}

bool TForm1::LabelCompletionAtCaret() {
  return CompletesLabel(memo_->LineText(memo_->CaretY()), scp_->CompletionStart());
}
