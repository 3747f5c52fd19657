#pragma once
// The Find and Replace dialogs, and the window-system side of the search
// dialogs the main window asks for.
#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "app/SearchDialogs.h"
#include "platform/CodePage.h"
#include "win32/ConfirmReplaceDialog.h"

// The Find dialog: a search text with its history, the search options and the
// direction. Values may be set and read whether or not the dialog is showing;
// while it shows, they are those of its controls.
class TTextSearchDialog {
 public:
  // Control identifiers, in case a caller needs to reach a control.
  enum : int {
    idLabel1 = 101,
    idSearchText,
    idSearchOptions,
    idCaseSensitive,
    idWholeWords,
    idFromCursor,
    idSelectedOnly,
    idRegularExpression,
    idSearchDirection,
    idForward,
    idBackward,
    idLabel2,
    idReplaceText,
  };

  TTextSearchDialog(HWND owner, const ICodePage& code_page);
  virtual ~TTextSearchDialog();
  TTextSearchDialog(const TTextSearchDialog&) = delete;
  TTextSearchDialog& operator=(const TTextSearchDialog&) = delete;

  // Shows the dialog modally; IDOK or IDCANCEL.
  int ShowModal();
  // The window while the dialog shows, else null.
  HWND Handle() const { return hwnd_; }

  bool SearchBackwards() const;
  void SetSearchBackwards(bool value);
  bool SearchCaseSensitive() const;
  void SetSearchCaseSensitive(bool value);
  bool SearchWholeWords() const;
  void SetSearchWholeWords(bool value);
  bool SearchFromCursor() const;
  void SetSearchFromCursor(bool value);
  bool SearchInSelectionOnly() const;
  void SetSearchInSelectionOnly(bool value);
  bool SearchRegularExpression() const;
  void SetSearchRegularExpression(bool value);
  std::string SearchText() const;
  void SetSearchText(const std::string& value);
  // Lines separated by CR LF, most recent first; reading gives ten at most.
  std::string SearchTextHistory() const;
  void SetSearchTextHistory(const std::string& value);

 protected:
  struct TLayout {
    const char* caption;
    int client_height;
    int options_top;  // of the two group boxes
    int buttons_top;
  };
  virtual TLayout Layout() const;
  // Creates the controls in tab order; LoadControls gives them the values.
  virtual void CreateControls();
  virtual void LoadControls();
  // Reads every control into the stored values, before the window goes.
  virtual void StoreControls();
  // The close query: with OK, the typed texts join their histories.
  virtual void FormCloseQuery(int result);

  // The pieces both dialogs are made of.
  void AddLabel1();
  void AddSearchText();
  void AddOptionsAndDirection(int top);
  void AddOkButton(int top);
  void AddCancelButton(int top);
  // Applies the history rule to a combo box's list and typed text.
  void RememberTyped(int combo_id);
  std::string ComboTextOr(int id, const std::string& stored) const;
  std::string ComboHistoryOr(int id, const std::vector<std::string>& stored) const;
  void SetComboText(int id, std::string& stored, const std::string& value);
  void SetComboHistory(int id, std::vector<std::string>& stored, const std::string& history);

  HWND hwnd_ = nullptr;
  const ICodePage& code_page_;

 private:
  static INT_PTR CALLBACK DialogProc(HWND hwnd, UINT msg, WPARAM wparam, LPARAM lparam);
  void InitDialog();
  void Timer1Timer();
  bool CheckOr(int id, bool stored) const;
  void SetCheck(int id, bool& stored, bool value);

  HWND owner_;
  bool backwards_ = false;
  bool case_sensitive_ = false;
  bool whole_words_ = false;
  bool from_cursor_ = false;
  bool selected_only_ = false;
  bool regular_expression_ = false;
  std::string search_text_;
  std::vector<std::string> search_history_;
};

// The Replace dialog: the Find dialog with a replacement text and its history.
class TTextReplaceDialog : public TTextSearchDialog {
 public:
  using TTextSearchDialog::TTextSearchDialog;

  std::string ReplacementText() const;
  void SetReplacementText(const std::string& value);
  std::string ReplaceTextHistory() const;
  void SetReplaceTextHistory(const std::string& value);

 protected:
  TLayout Layout() const override;
  void CreateControls() override;
  void LoadControls() override;
  void StoreControls() override;
  void FormCloseQuery(int result) override;

 private:
  std::string replace_text_;
  std::vector<std::string> replace_history_;
};

// The search dialogs of one main window.
class TWin32SearchDialogs final : public ISearchDialogs {
 public:
  TWin32SearchDialogs(HWND owner, const ICodePage& code_page);
  ~TWin32SearchDialogs() override;
  void SetOwner(HWND owner) { owner_ = owner; }

  bool ShowSearchDialog(bool replace, TSearchDialogValues& values) override;
  TReplaceAction ConfirmReplace(const TRect& area, int x, int y1, int y2,
                                const std::string& search) override;
  void ReleaseConfirmDialog() override;

  // The confirmation dialog while one exists, else null.
  TConfirmReplaceDialog* ConfirmReplaceDialog() const;

 private:
  HWND owner_;
  const ICodePage& code_page_;
  std::unique_ptr<TConfirmReplaceDialog> confirm_;
};
