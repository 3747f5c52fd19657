#include "app/SearchCommands.h"

#include "editor/Editor.h"
#include "platform/Prompts.h"

namespace {

using O = TSearchOption;

// Releases the confirmation dialog when a search run ends, however it ends.
class TConfirmDialogRelease {
 public:
  explicit TConfirmDialogRelease(ISearchDialogs& dialogs) : dialogs_(dialogs) {}
  ~TConfirmDialogRelease() { dialogs_.ReleaseConfirmDialog(); }
  TConfirmDialogRelease(const TConfirmDialogRelease&) = delete;
  TConfirmDialogRelease& operator=(const TConfirmDialogRelease&) = delete;

 private:
  ISearchDialogs& dialogs_;
};

}  // namespace

TSearchCommands::TSearchCommands(TCustomEditor& editor, const ICodePage& code_page,
                                 IUserPrompts& prompts, ISearchDialogs& dialogs)
    : editor_(editor), prompts_(prompts), dialogs_(dialogs), plain_(code_page), regex_(code_page) {}

void TSearchCommands::OpenSearchDialog(bool replace) {
  TSearchDialogValues values = settings_;
  // The Find dialog has no replacement; what Replace remembered stays.
  if (!replace) {
    values.replace_text.clear();
    values.replace_history.clear();
  }
  // A selection within one line is most likely what the user wants to find.
  if (editor_.HasSelection() && editor_.SelectionBegin().Line == editor_.SelectionFinish().Line)
    values.search_text = editor_.Utf8Text(editor_.SelectedText());

  if (!dialogs_.ShowSearchDialog(replace, values)) return;

  if (!replace) {
    values.replace_text = settings_.replace_text;
    values.replace_history = settings_.replace_history;
  }
  settings_ = values;
  search_from_caret_now_ = values.from_caret;
  if (settings_.search_text.empty()) return;
  RunSearch(replace, values.backwards);
  search_from_caret_now_ = true;
}

void TSearchCommands::RunSearch(bool replace, bool backwards) {
  TConfirmDialogRelease release(dialogs_);
  if (OnSearchStarted) OnSearchStarted();
  TSearchOptionSet options;
  if (replace) options = {O::ReplaceOne, O::ReplaceAll, O::PromptOnReplace};
  if (backwards) options.Include(O::Backwards);
  if (settings_.case_sensitive) options.Include(O::MatchCase);
  if (!search_from_caret_now_) options.Include(O::EntireScope);
  if (settings_.selected_only) options.Include(O::SelectedOnly);
  if (settings_.whole_words) options.Include(O::WholeWord);
  editor_.SetSearchEngine(settings_.regular_expression
                              ? static_cast<TEditorSearchCustom*>(&regex_)
                              : static_cast<TEditorSearchCustom*>(&plain_));
  // The dialogs' texts are UTF-8; the search runs in the document's character
  // set. A search text an ANSI document cannot hold occurs nowhere in it.
  // A replacement an ANSI document cannot hold is asked about first (it may
  // make the document UTF-8, so the search text is converted after it).
  std::string replacement;
  if (replace && !editor_.TextForDocument(settings_.replace_text, replacement)) return;
  std::size_t lost = 0;
  const std::string search = editor_.DocumentText(settings_.search_text, true, &lost);
  if (lost == 0 && editor_.SearchAndReplace(search, replacement, options) != 0) return;

  ShowWarning(prompts_, "Search string not found");
  // The caret ends where the search ended: at the start of the former
  // selection after a backward search, at its end after a forward one.
  if (backwards)
    editor_.SetSelectionEnd(editor_.SelectionBegin());
  else
    editor_.SetSelectionAnchor(editor_.SelectionFinish());
  editor_.SetCaretPos(editor_.SelectionBegin());
}

TReplaceAction TSearchCommands::AskReplace(const std::string& search, const std::string& replace,
                                           int line, int column) {
  if (search == replace) return raSkip;
  return OnConfirm ? OnConfirm(search, line, column) : raCancel;
}
