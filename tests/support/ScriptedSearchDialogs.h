#pragma once
// Find, Replace and Confirm dialogs that answer from a script and record what
// they were shown, so that search commands run without a person.
#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "app/SearchDialogs.h"

class TScriptedSearchDialogs : public ISearchDialogs {
 public:
  struct Confirmation {
    TRect area;
    int x, y1, y2;
    std::string search;
  };
  // Each queued edit confirms one Find or Replace dialog after changing the
  // values; with none queued the dialog is cancelled.
  std::deque<std::function<void(TSearchDialogValues&)>> edits;
  // Answers to confirmations; with none queued the answer is raCancel.
  std::deque<TReplaceAction> answers;

  std::vector<TSearchDialogValues> shown;
  std::vector<bool> shown_for_replace;
  std::vector<Confirmation> confirmations;
  int releases = 0;

  bool ShowSearchDialog(bool replace, TSearchDialogValues& values) override;
  TReplaceAction ConfirmReplace(const TRect& area, int x, int y1, int y2,
                                const std::string& search) override;
  void ReleaseConfirmDialog() override { ++releases; }
};
