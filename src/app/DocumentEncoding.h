#pragma once
// The document's encoding as the user changes it: the question asked when an
// ANSI document cannot hold a character, and File > Encoding.
#include <cstddef>
#include <string>

#include "platform/TextEncoding.h"

class IUserPrompts;
class TCustomEditor;

// The question for a character (UTF-8) the ANSI code page cannot hold.
std::string CannotStoreQuestion(const std::string& character);
// Why a conversion to ANSI did not happen.
std::string AnsiLossWarning(std::size_t lost);

// Asks once for typed or pasted text with a character an ANSI document cannot
// hold: Yes converts the document to UTF-8 (true), No leaves it as it is.
bool AskConvertToUtf8(TCustomEditor& editor, IUserPrompts& prompts, const std::string& character);

// File > Encoding: how the document will be saved from now on. A conversion
// to ANSI that would lose characters says how many and changes nothing.
bool ChooseDocumentEncoding(TCustomEditor& editor, IUserPrompts& prompts, TTextEncoding encoding);
