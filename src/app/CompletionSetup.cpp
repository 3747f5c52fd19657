#include "app/CompletionSetup.h"

#include "app/CompletionItems.h"

void ConfigureMainCompletionProposal(TCompletionProposal& scp) {
  scp.SetDefaultType(ctCode);
  scp.SetOptions(kProgramCompletionOptions);
  scp.SetNbLinesInWindow(4);
  scp.SetWidth(600);
  scp.SetEndOfTokenChr("()[]<>. ");
  scp.SetTriggerChars(".");
  TFont font = scp.Font();
  font.Color = clWindowText;
  scp.SetFont(font);
  scp.SetMargin(1);
  scp.SetTimerInterval(1000);
  scp.SetShortCut(TCompletionProposal::kDefaultShortCut);
}

bool LoadCompletionItems(TCompletionProposal& scp, TCustomEditor& editor, const std::string& path) {
  bool unicode = false;
  auto items = ReadCompletionItemFile(path, &unicode);
  if (!items) return false;
  scp.SetItemsUnicode(unicode);
  std::vector<std::string> inserts, displays;
  inserts.reserve(items->size());
  displays.reserve(items->size());
  for (auto& item : *items) {
    inserts.push_back(std::move(item.InsertText));
    displays.push_back(std::move(item.DisplayText));
  }
  scp.SetInsertList(std::move(inserts));
  scp.SetItemList(std::move(displays));
  scp.SetEditor(&editor);
  return true;
}

void CompletionExecuteCheck(TBaseCompletionProposal& scp, IUserPrompts& prompts) {
  if (scp.ItemList().empty()) ShowWarning(prompts, kCompletionDisabledWarning);
}
