#include "app/Document.h"

namespace {

constexpr const char* kNoname = "Noname.TTL";

std::string FilePart(const std::string& path) {
  const auto slash = path.find_last_of("\\/:");
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

}  // namespace

TDocument::TDocument(IDocumentView& view, IUserPrompts& prompts) : view_(view), prompts_(prompts) {}

bool TDocument::Modified() const { return title_.find('*') != std::string::npos; }

std::string TDocument::NameForUser() const {
  return current_file_name_.empty() ? kNoname : view_.DisplayName(current_file_name_);
}

void TDocument::UpdateTitle(bool modified) {
  title_ = "Quillonar - [" + NameForUser() + (modified ? "*" : "") + "]";
  view_.ShowTitle(title_);
  view_.UpdateCommandState();
}

void TDocument::TextChanged() {
  view_.SetModifiedPanel(true);
  UpdateTitle(true);
}

int TDocument::AskSaveChanges() {
  if (!Modified()) return mrNo;
  const std::string name = current_file_name_.empty() ? kNoname : FilePart(current_file_name_);
  const int answer = prompts_.Message("Do you want to save the changes made to " + name + "?",
                                      "Warning", TMessageKind::Warning,
                                      TMessageButtons::YesNoCancel);
  return answer == mrYes || answer == mrNo ? answer : mrCancel;
}

void TDocument::New() {
  const int answer = AskSaveChanges();
  if (answer == mrCancel) return;
  if (answer == mrYes) {
    Save();
  } else {
    UpdateTitle(false);  // No: the changes are discarded
  }
  if (Modified()) return;  // the save did not happen; keep everything as it was
  view_.ClearText();
  current_file_name_.clear();
  view_.SetModifiedPanel(false);
  UpdateTitle(false);
}

void TDocument::Open() {
  TFileDialogOptions options;
  options.title = "Open TeraTerm Macro file";
  options.filter = kOpenFilter;
  options.default_ext = "ttl";
  const auto path = prompts_.OpenFile(options);
  if (!path) return;
  OpenPath(*path);
}

void TDocument::OpenFileByPath(const std::string& path) {
  if (!view_.IsPlainTextFile(path)) {
    ShowWarning(prompts_, kNotPlainTextWarning);
    return;
  }
  OpenPath(path);
}

void TDocument::OpenPath(const std::string& path) {
  New();
  if (Modified()) return;
  view_.LoadText(path);
  view_.AddRecentFile(path);
  current_file_name_ = path;
  UpdateTitle(false);
  view_.SetModifiedPanel(false);
}

void TDocument::Save() {
  if (current_file_name_.empty()) {
    SaveAs();
  } else {
    view_.SaveText(current_file_name_);
    UpdateTitle(false);
    view_.SetModifiedPanel(false);
  }
  view_.UpdateCommandState();
}

void TDocument::SaveAs() {
  TFileDialogOptions options;
  options.title = "Save Macro as";
  options.filter = kOpenFilter;
  options.default_ext = "ttl";
  options.file_name = current_file_name_;
  options.overwrite_prompt = true;
  options.hide_read_only = true;
  options.path_must_exist = true;
  options.resizable = true;
  const auto path = prompts_.SaveFile(options);
  if (!path) return;
  // The name changes only once the file is written: a failed save keeps the
  // document under its old name, still modified.
  const std::string previous = current_file_name_;
  current_file_name_ = *path;
  try {
    Save();
  } catch (...) {
    current_file_name_ = previous;
    throw;
  }
  view_.AddRecentFile(*path);
}

bool TDocument::CloseQuery() {
  if (!Modified()) return true;
  const int answer = AskSaveChanges();
  if (answer == mrCancel) return false;
  if (answer == mrYes) {
    Save();
    return !Modified();
  }
  return true;
}
