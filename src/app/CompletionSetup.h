#pragma once
// How the main window sets up its completion proposal: the values it gives
// the component, the item file it loads at start-up, and the warning shown
// when there is nothing to offer.
#include <string>

#include "app/CompletionProposal.h"
#include "platform/Prompts.h"

// The item file beside the executable.
constexpr const char* kCompletionItemFileName = "Completion.pro";
constexpr const char* kCompletionDisabledWarning =
    "Completion.pro file not found. Completion Proposal is disabled.";

// The program's settings: code lists with insert texts and pretty display
// texts, the delay timer, 4 rows of 600 pixels, "()[]<>. " ending a token.
void ConfigureMainCompletionProposal(TCompletionProposal& scp);

// Start-up load: when the file can be read, its entries replace both lists
// and the proposal is bound to `editor`; returns false (lists untouched)
// when it cannot.
bool LoadCompletionItems(TCompletionProposal& scp, TCustomEditor& editor, const std::string& path);

// The main window's OnExecute handler: warns when the list is empty.
void CompletionExecuteCheck(TBaseCompletionProposal& scp, IUserPrompts& prompts);
