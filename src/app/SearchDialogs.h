#pragma once
// The Find, Replace and Confirm replace dialogs as the main window sees them.
// The window keeps the remembered values; a dialog shows them, lets the user
// change them and gives them back.
#include <string>

#include "platform/Types.h"
#include "search/SearchOptions.h"

// What the Find and Replace dialogs show and give back. Histories are lines
// separated by CR LF, most recent first.
struct TSearchDialogValues {
  bool backwards = false;
  bool case_sensitive = false;
  bool whole_words = false;
  bool from_caret = false;
  bool selected_only = false;
  bool regular_expression = false;
  std::string search_text;
  std::string search_history;
  // The Replace dialog only.
  std::string replace_text;
  std::string replace_history;
};

class ISearchDialogs {
 public:
  virtual ~ISearchDialogs() = default;
  // Shows the Find dialog (replace false) or the Replace dialog modally,
  // loaded with values. OK: true, with values read back from the dialog
  // (histories hold at most ten lines). Cancel: false, values untouched.
  virtual bool ShowSearchDialog(bool replace, TSearchDialogValues& values) = 0;
  // Asks whether to replace one occurrence of search, with the question
  // placed beside it: area is the main window's client area on the screen,
  // x the screen column of the occurrence's first character, y1 the screen
  // row of its line's top and y2 the row just below the line. Creates the
  // confirmation dialog when none exists and keeps it for the next question.
  virtual TReplaceAction ConfirmReplace(const TRect& area, int x, int y1, int y2,
                                        const std::string& search) = 0;
  // Destroys the confirmation dialog, if one exists (after every search run).
  virtual void ReleaseConfirmDialog() = 0;
};
