#pragma once
// Answers the program's questions from a script and records what was asked, so
// that every modal path runs without a person.
#include <deque>
#include <optional>
#include <string>
#include <vector>

#include "platform/Prompts.h"

class TScriptedPrompts : public IUserPrompts {
 public:
  struct Asked {
    std::string kind;  // "message", "open", "save"
    std::string text;  // message text or dialog title
    std::string caption;
    TMessageKind message_kind = TMessageKind::Information;
    TMessageButtons buttons = TMessageButtons::Ok;
    TFileDialogOptions dialog;
  };

  // Queue the next answers. A message box with nothing queued answers OK (or
  // Cancel when it has no OK button); a file dialog with nothing queued is cancelled.
  void AnswerMessage(int answer) { message_answers_.push_back(answer); }
  void AnswerFile(std::optional<std::string> path) { file_answers_.push_back(std::move(path)); }

  const std::vector<Asked>& Log() const { return log_; }
  std::vector<std::string> Messages() const;
  void ClearLog() { log_.clear(); }
  bool ScriptUsedUp() const { return message_answers_.empty() && file_answers_.empty(); }

  int Message(const std::string& text, const std::string& caption, TMessageKind kind,
              TMessageButtons buttons) override;
  std::optional<std::string> OpenFile(const TFileDialogOptions& options) override;
  std::optional<std::string> SaveFile(const TFileDialogOptions& options) override;

 private:
  std::optional<std::string> NextFile();

  std::deque<int> message_answers_;
  std::deque<std::optional<std::string>> file_answers_;
  std::vector<Asked> log_;
};
