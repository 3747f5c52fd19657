#pragma once
// The About window: the program's name, version and build date, a disclaimer
// and what changed, on three pages.
#include <windows.h>

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/HelpTopics.h"

// The numbers of a file's version resource; nullopt when it has none.
std::optional<TFileVersion> ReadFileVersion(const std::string& path);
// The path of the running executable.
std::string OwnModulePath();

// A label that behaves like a link: the hand cursor while the mouse is over it,
// another font (and colour) meanwhile, and an action when a mouse button is
// pressed on it. It sizes itself to its text.
class TLinkLabel {
 public:
  // Creates the label in parent at a 96-dpi position; centred, the text is
  // centred in the given width, else it starts at left.
  TLinkLabel(HWND parent, int id, const std::string& caption, int left, int top, int width,
             bool centred);
  virtual ~TLinkLabel();
  TLinkLabel(const TLinkLabel&) = delete;
  TLinkLabel& operator=(const TLinkLabel&) = delete;

  HWND Handle() const { return hwnd_; }
  bool MouseOver() const { return mouse_over_; }
  // The colour the label's text is drawn in now.
  COLORREF TextColor() const { return mouse_over_ ? hover_color_ : color_; }

  // Raised when the left mouse button is pressed on the label.
  std::function<void()> OnClick;

 protected:
  // The label's own colour, and the mouse-over font's colour (underlined).
  void SetColors(COLORREF color, COLORREF hover_color);
  // A mouse button went down on the label (WM_LBUTTONDOWN, WM_RBUTTONDOWN, WM_MBUTTONDOWN).
  virtual void MouseDown(UINT button_message);

 private:
  static LRESULT CALLBACK SubclassProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR id,
                                       DWORD_PTR ref);
  void MouseEnter();
  void MouseLeave();

  HWND hwnd_ = nullptr;
  HFONT font_ = nullptr;        // the label's own font (the dialog's)
  HFONT hover_font_ = nullptr;  // owned
  COLORREF color_;
  COLORREF hover_color_;
  bool mouse_over_ = false;
};

// A label that shows a link: blue and underlined while the mouse is over it;
// pressing any mouse button on it opens the link with the shell's "open" verb.
class TURLLabel : public TLinkLabel {
 public:
  using TLinkOpener = std::function<void(const std::string& link)>;

  TURLLabel(HWND parent, int id, const std::string& caption, const std::string& link, int left,
            int top, int width, bool centred);

  const std::string& Link() const { return link_; }
  // Replaces the shell for opening the link (tests); empty restores the shell.
  void SetOpener(TLinkOpener opener) { opener_ = std::move(opener); }

 protected:
  void MouseDown(UINT button_message) override;

 private:
  std::string link_;
  TLinkOpener opener_;
};

class TForm6 {
 public:
  enum TPageIndex : int { pgAbout = 0, pgDisclaimer = 1, pgWhatsNew = 2 };
  enum : int {
    idPages = 101,
    idProgramName,
    idVersion,
    idBuild,
    idDisclaimerLink,
    idHomeLink,
    idQuill,
    idFirstStaticText = 120,
    idClose = IDOK,
  };

  // Creates the (hidden) window owned by owner, on its "About" page, with the
  // version of the running program.
  explicit TForm6(HWND owner);
  ~TForm6();
  TForm6(const TForm6&) = delete;
  TForm6& operator=(const TForm6&) = delete;

  HWND Handle() const { return hwnd_; }
  // Shows the window modally until it is closed.
  void ShowModal();
  // Closes a window shown modally.
  void Close();

  int PageCount() const;
  std::string PageCaption(int index) const;
  int ActivePageIndex() const;
  void SetActivePageIndex(int index);

  TLinkLabel& DisclaimerLink() { return *disclaimer_link_; }
  TURLLabel& HomeLink() { return *home_link_; }
  // How link labels open their links (tests); empty means the shell.
  void SetLinkOpener(TURLLabel::TLinkOpener opener);

 private:
  static INT_PTR CALLBACK DialogProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);
  INT_PTR HandleMessage(UINT msg, WPARAM wp, LPARAM lp);
  void FormCreate();
  HWND AddText(int page, int id, const std::string& text, int left, int top, int width, int height,
               DWORD align);
  TLinkLabel* LabelOf(HWND control) const;
  // Ctrl+Tab and Ctrl+Shift+Tab move between the pages; true when msg was used.
  bool PageKey(const MSG& msg);

  HWND hwnd_ = nullptr;
  HWND pages_control_ = nullptr;
  HFONT name_font_ = nullptr;
  // The program's quill beside its name.
  HICON quill_ = nullptr;
  std::vector<std::vector<HWND>> page_controls_;
  std::unique_ptr<TLinkLabel> disclaimer_link_;
  std::unique_ptr<TURLLabel> home_link_;
  bool modal_ = false;
};
