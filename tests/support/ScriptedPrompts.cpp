#include "support/ScriptedPrompts.h"

std::vector<std::string> TScriptedPrompts::Messages() const {
  std::vector<std::string> texts;
  for (const auto& a : log_) {
    if (a.kind == "message") texts.push_back(a.text);
  }
  return texts;
}

int TScriptedPrompts::Message(const std::string& text, const std::string& caption,
                              TMessageKind kind, TMessageButtons buttons) {
  Asked a;
  a.kind = "message";
  a.text = text;
  a.caption = caption;
  a.message_kind = kind;
  a.buttons = buttons;
  log_.push_back(a);
  if (message_answers_.empty()) return buttons == TMessageButtons::Ok ? mrOk : mrCancel;
  const int answer = message_answers_.front();
  message_answers_.pop_front();
  return answer;
}

std::optional<std::string> TScriptedPrompts::NextFile() {
  if (file_answers_.empty()) return std::nullopt;
  auto answer = file_answers_.front();
  file_answers_.pop_front();
  return answer;
}

std::optional<std::string> TScriptedPrompts::OpenFile(const TFileDialogOptions& options) {
  Asked a;
  a.kind = "open";
  a.text = options.title;
  a.dialog = options;
  log_.push_back(a);
  return NextFile();
}

std::optional<std::string> TScriptedPrompts::SaveFile(const TFileDialogOptions& options) {
  Asked a;
  a.kind = "save";
  a.text = options.title;
  a.dialog = options;
  log_.push_back(a);
  return NextFile();
}
