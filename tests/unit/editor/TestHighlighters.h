#pragma once
// Small highlighters for the editor's tests.
#include <memory>
#include <string>

#include "language/EditorHighlighter.h"

// Words are keywords (bold, blue) when they start with 'k', others plain;
// runs of blanks are whitespace. An "!" makes the scanner stall.
class WordHighlighter : public TCustomHighlighter {
 public:
  WordHighlighter() {
    auto key = std::make_unique<THighlighterAttributes>("Key");
    key->SetForeground(Rgb(0, 0, 255));
    key->SetStyle(fsBold);
    key_ = key.get();
    AddAttribute(std::move(key));
    auto ident = std::make_unique<THighlighterAttributes>("Ident");
    ident_ = ident.get();
    AddAttribute(std::move(ident));
    auto space = std::make_unique<THighlighterAttributes>("Space");
    space_ = space.get();
    AddAttribute(std::move(space));
    SetAttributesOnChange([this](THighlighterAttributes* a) { DefHighlightChange(a); });
    Loaded();
  }
  THighlighterAttributes* DefaultAttribute(int role) const override {
    return role == hrWhitespace ? space_ : role == hrKeyword ? key_ : nullptr;
  }
  THighlighterAttributes* Space() const { return space_; }
  void SetLineText(std::string_view text, int) override {
    line_ = std::string(text);
    end_ = 0;
    ++lines_scanned;
    NextToken();
  }
  // "{" opens a block that "}" closes, across lines: the line state.
  TLineState GetLineState() const override { return open_; }
  void SetLineState(TLineState value) override { open_ = value; }
  void ResetLineState() override { open_ = 0; }
  int lines_scanned = 0;
  void NextToken() override {
    start_ = end_;
    if (start_ >= static_cast<int>(line_.size())) {
      at_end_ = true;
      return;
    }
    at_end_ = false;
    const auto blank = [&](int i) { return line_[i] == ' ' || line_[i] == '\t'; };
    if (line_[start_] == '!') return;  // stalls: an empty token that never advances
    int i = start_;
    const bool b = blank(i);
    while (i < static_cast<int>(line_.size()) && blank(i) == b && line_[i] != '!') ++i;
    end_ = i;
    for (int j = start_; j < end_; ++j) {
      if (line_[j] == '{') open_ = 1;
      if (line_[j] == '}') open_ = 0;
    }
  }
  bool AtLineEnd() const override { return at_end_; }
  std::string TokenText() const override { return line_.substr(start_, end_ - start_); }
  int TokenStart() const override { return start_; }
  int TokenKind() const override { return 0; }
  THighlighterAttributes* TokenAttribute() const override {
    if (line_[start_] == ' ' || line_[start_] == '\t') return space_;
    return line_[start_] == 'k' ? key_ : ident_;
  }

 private:
  THighlighterAttributes* key_;
  THighlighterAttributes* ident_;
  THighlighterAttributes* space_;
  std::string line_;
  int start_ = 0, end_ = 0;
  bool at_end_ = true;
  TLineState open_ = 0;
};
