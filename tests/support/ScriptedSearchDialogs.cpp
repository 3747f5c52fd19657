#include "support/ScriptedSearchDialogs.h"

bool TScriptedSearchDialogs::ShowSearchDialog(bool replace, TSearchDialogValues& values) {
  shown.push_back(values);
  shown_for_replace.push_back(replace);
  if (edits.empty()) return false;
  auto edit = std::move(edits.front());
  edits.pop_front();
  edit(values);
  return true;
}

TReplaceAction TScriptedSearchDialogs::ConfirmReplace(const TRect& area, int x, int y1, int y2,
                                                      const std::string& search) {
  confirmations.push_back({area, x, y1, y2, search});
  if (answers.empty()) return raCancel;
  const TReplaceAction answer = answers.front();
  answers.pop_front();
  return answer;
}
