#pragma once
// Runs a highlighter over one line the way the editor does and collects what
// it reports.
#include <string>
#include <vector>

#include "language/TtlHighlighter.h"

struct ScannedToken {
  std::string text;
  TTtlTokenKind kind;
  int start;
  friend bool operator==(const ScannedToken&, const ScannedToken&) = default;
};

inline std::vector<ScannedToken> ScanLine(TTtlHighlighter& hl, const std::string& line,
                                          int lineIndex = 0) {
  std::vector<ScannedToken> tokens;
  hl.SetLineText(line, lineIndex);
  for (int guard = 0; !hl.AtLineEnd() && guard < 100000; ++guard) {
    tokens.push_back({hl.TokenText(), static_cast<TTtlTokenKind>(hl.TokenKind()), hl.TokenStart()});
    hl.NextToken();
  }
  return tokens;
}

// A small keyword file with every family.
inline const char* kSmallKeywordFile =
    "; test keywords\r\n"
    "[COMMANDS]\r\n"
    "sendln=92078\r\n"
    "wait=92100\r\n"
    "if=92050\r\n"
    "[SYSVARS]\r\n"
    "result=91004\r\n"
    "inputstr=91004\r\n"
    "[VNTKEYWORDS]\r\n"
    "$user$=0\r\n"
    "[SYMBOLS]\r\n"
    "<>=91005\r\n"
    "<==91005\r\n"
    "==91005\r\n"
    "and=91005\r\n";
