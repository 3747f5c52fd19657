#pragma once
// Everything that asks the user something. The program shows the real dialogs;
// tests script the answers and record what was asked.
#include <optional>
#include <string>

enum class TMessageKind { Warning, Error, Information, Question };
enum class TMessageButtons { Ok, YesNo, YesNoCancel };

// Answers, numbered as the platform numbers them.
enum : int { mrOk = 1, mrCancel = 2, mrYes = 6, mrNo = 7 };

struct TFileDialogOptions {
  std::string title;
  std::string filter;  // "Description|*.ext|Other|*.*"
  std::string default_ext;
  std::string file_name;
  std::string initial_dir;
  bool overwrite_prompt = false;
  bool hide_read_only = false;
  bool path_must_exist = false;
  bool file_must_exist = false;
  bool resizable = false;
};

class IUserPrompts {
 public:
  virtual ~IUserPrompts() = default;
  // A modal message box; returns mrOk, mrCancel, mrYes or mrNo. Closing the box
  // answers mrCancel (or mrOk when OK is the only button).
  virtual int Message(const std::string& text, const std::string& caption, TMessageKind kind,
                      TMessageButtons buttons) = 0;
  // nullopt when the dialog is cancelled.
  virtual std::optional<std::string> OpenFile(const TFileDialogOptions& options) = 0;
  virtual std::optional<std::string> SaveFile(const TFileDialogOptions& options) = 0;
};

// The two kinds of fixed-text boxes the program shows.
inline void ShowWarning(IUserPrompts& prompts, const std::string& text) {
  prompts.Message(text, "Warning", TMessageKind::Warning, TMessageButtons::Ok);
}
inline void ShowError(IUserPrompts& prompts, const std::string& text) {
  prompts.Message(text, "Error", TMessageKind::Error, TMessageButtons::Ok);
}
