#pragma once
// The one open document of the main window: its file name, the title with its
// modified marker, and the questions asked before unsaved text would be lost.
// The window supplies the editor and the surface through IDocumentView.
#include <string>

#include "platform/Prompts.h"

class IDocumentView {
 public:
  virtual ~IDocumentView() = default;
  // Replaces the editor's text with the file's; raises the file error on failure.
  virtual void LoadText(const std::string& path) = 0;
  // Writes the whole text to path; raises the file error on failure.
  virtual void SaveText(const std::string& path) = 0;
  // Empties the editor: text, bookmarks, undo and redo history.
  virtual void ClearText() = 0;
  virtual void ShowTitle(const std::string& title) = 0;
  virtual void SetModifiedPanel(bool on) = 0;
  virtual void UpdateCommandState() = 0;
  // The name the shell shows for the file, or the path itself when it cannot say.
  virtual std::string DisplayName(const std::string& path) = 0;
  // False when the path is missing, unreadable or holds control bytes.
  virtual bool IsPlainTextFile(const std::string& path) = 0;
  virtual void AddRecentFile(const std::string& path) = 0;
};

inline constexpr const char* kOpenFilter = "TeraTerm Macro file (*.TTL)|*.TTL|All files (*.*)|*.*";
inline constexpr const char* kNotPlainTextWarning =
    "Failed to open the file. It does not appear to be a plain text file.";

class TDocument {
 public:
  TDocument(IDocumentView& view, IUserPrompts& prompts);

  const std::string& CurrentFileName() const { return current_file_name_; }
  const std::string& Title() const { return title_; }
  // The document is modified exactly when its title carries the "*" marker.
  bool Modified() const;

  void UpdateTitle(bool modified);
  // Any change of the editor text.
  void TextChanged();

  // mrNo without asking when nothing is modified; else the user's mrYes, mrNo or mrCancel.
  int AskSaveChanges();

  void New();
  // File > Open: the open dialog, then the file.
  void Open();
  // A dropped file or the command-line file: checked for plain text first.
  void OpenFileByPath(const std::string& path);
  // A path that is known to exist (a recent file, an accepted dialog).
  void OpenPath(const std::string& path);
  void Save();
  void SaveAs();
  // Whether the window may close now.
  bool CloseQuery();

 private:
  std::string NameForUser() const;

  IDocumentView& view_;
  IUserPrompts& prompts_;
  std::string current_file_name_;
  std::string title_;
};
