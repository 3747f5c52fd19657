#pragma once
// The main window's Find, Find Next, Find Previous and Replace, with what the
// window remembers between them for as long as the program runs (never saved).
#include <functional>
#include <string>

#include "app/SearchDialogs.h"
#include "search/EditorRegexSearch.h"
#include "search/EditorSearch.h"

class TCustomEditor;
class ICodePage;
class IUserPrompts;

// What the window remembers is what the dialogs show and give back.
using TSearchSettings = TSearchDialogValues;

class TSearchCommands {
 public:
  TSearchCommands(TCustomEditor& editor, const ICodePage& code_page, IUserPrompts& prompts,
                  ISearchDialogs& dialogs);
  TSearchCommands(const TSearchCommands&) = delete;
  TSearchCommands& operator=(const TSearchCommands&) = delete;

  const TSearchSettings& SearchSettings() const { return settings_; }
  bool SearchFromCaretNow() const { return search_from_caret_now_; }
  // Find Next and Find Previous need a search text confirmed before.
  bool SearchTextEntered() const { return !settings_.search_text.empty(); }

  // Find (replace false) or Replace: the dialog, then the search it asks for.
  void OpenSearchDialog(bool replace);
  // Runs the remembered search (replace: with prompting, to the end of the
  // range); tells the user when nothing was found.
  void RunSearch(bool replace, bool backwards);
  // The answer to the editor's question before one replacement.
  TReplaceAction AskReplace(const std::string& search, const std::string& replace, int line,
                            int column);

  // Asks the user about the occurrence at line/column (1-based); the window
  // places the confirmation dialog beside it.
  std::function<TReplaceAction(const std::string& search, int line, int column)> OnConfirm;
  // A search run starts: the window empties its message panel.
  std::function<void()> OnSearchStarted;

 private:
  TCustomEditor& editor_;
  IUserPrompts& prompts_;
  ISearchDialogs& dialogs_;
  TEditorSearch plain_;
  TEditorRegexSearch regex_;
  TSearchSettings settings_;
  bool search_from_caret_now_ = false;
};
