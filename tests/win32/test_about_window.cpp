#include <gtest/gtest.h>
#include <windows.h>

#include <commctrl.h>

#include <cstring>
#include <fstream>
#include <functional>
#include <iterator>
#include <regex>
#include <string>
#include <vector>

#include "support/ScriptedPrompts.h"
#include "win32/AboutWindow.h"
#include "win32/HelpCommand.h"
#include "win32/HtmlHelpViewer.h"
#include "win32/WineTestSupport.h"

#ifndef QUILLON_DATA_DIR
#define QUILLON_DATA_DIR "."
#endif

namespace {

using TStep = std::function<void(HWND)>;

int Scaled(int pixels) {
  HDC dc = GetDC(nullptr);
  const int dpi = GetDeviceCaps(dc, LOGPIXELSY);
  ReleaseDC(nullptr, dc);
  return MulDiv(pixels, dpi, 96);
}

// Plays steps against the About window while it is shown modally, one per
// timer tick, so that what a step posts is handled by the window's own loop
// before the next step looks. A window left open long after the last step is
// closed and the test fails instead of hanging.
class TModalDriver {
 public:
  TModalDriver(TForm6& form, std::vector<TStep> steps) : form_(form), steps_(std::move(steps)) {
    current_ = this;
    timer_ = SetTimer(nullptr, 0, 30, Tick);
  }
  ~TModalDriver() {
    KillTimer(nullptr, timer_);
    current_ = nullptr;
    EXPECT_EQ(next_, steps_.size()) << "the window closed before every step ran";
  }
  TModalDriver(const TModalDriver&) = delete;
  TModalDriver& operator=(const TModalDriver&) = delete;
  bool TimedOut() const { return timed_out_; }

 private:
  static void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD) {
    TModalDriver* self = current_;
    if (!self || self->busy_) return;
    HWND window = self->form_.Handle();
    if (!window || !IsWindowVisible(window)) return;
    if (self->next_ < self->steps_.size()) {
      self->busy_ = true;
      self->steps_[self->next_++](window);
      self->busy_ = false;
    } else if (++self->idle_ticks_ > 100) {
      self->timed_out_ = true;
      self->form_.Close();
    }
  }

  static inline TModalDriver* current_ = nullptr;
  TForm6& form_;
  std::vector<TStep> steps_;
  std::size_t next_ = 0;
  int idle_ticks_ = 0;
  bool busy_ = false;
  bool timed_out_ = false;
  UINT_PTR timer_ = 0;
};

void RunModal(TForm6& form, std::vector<TStep> steps) {
  TModalDriver driver(form, std::move(steps));
  form.ShowModal();
  EXPECT_FALSE(driver.TimedOut()) << "the window did not close";
}

HWND Item(HWND window, int id) { return GetDlgItem(window, id); }
std::string ItemText(HWND window, int id) { return WindowText(Item(window, id)); }

std::vector<std::string> TabCaptions(HWND tabs) {
  std::vector<std::string> captions;
  const int n = static_cast<int>(SendMessageA(tabs, TCM_GETITEMCOUNT, 0, 0));
  for (int i = 0; i < n; ++i) {
    char buffer[64] = {};
    TCITEMA item{};
    item.mask = TCIF_TEXT;
    item.pszText = buffer;
    item.cchTextMax = sizeof(buffer);
    SendMessageA(tabs, TCM_GETITEMA, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&item));
    captions.emplace_back(item.pszText);
  }
  return captions;
}

int SelectedTab(HWND window) {
  return static_cast<int>(SendMessageA(Item(window, TForm6::idPages), TCM_GETCURSEL, 0, 0));
}

bool Underlined(HWND control) {
  LOGFONTA lf{};
  HFONT font = reinterpret_cast<HFONT>(SendMessageA(control, WM_GETFONT, 0, 0));
  GetObjectA(font, sizeof(lf), &lf);
  return lf.lfUnderline != 0;
}

// The colour the window has a static control's text drawn in.
COLORREF DrawnTextColor(HWND window, HWND control) {
  HDC dc = CreateCompatibleDC(nullptr);
  SetTextColor(dc, RGB(1, 2, 3));
  SendMessageA(window, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc),
               reinterpret_cast<LPARAM>(control));
  const COLORREF color = GetTextColor(dc);
  DeleteDC(dc);
  return color;
}

// Moves the mouse onto a label as a user would: the pointer goes there and
// the label hears of it.
void HoverOver(HWND control) {
  RECT r{};
  GetWindowRect(control, &r);
  SetCursorPos((r.left + r.right) / 2, (r.top + r.bottom) / 2);
  SendMessageA(control, WM_MOUSEMOVE, 0, MAKELPARAM(2, 2));
}

bool ShowsHandCursor(HWND control) {
  SetCursor(LoadCursorA(nullptr, MAKEINTRESOURCEA(32512)));  // the arrow
  SendMessageA(control, WM_SETCURSOR, reinterpret_cast<WPARAM>(control),
               MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
  return GetCursor() == LoadCursorA(nullptr, MAKEINTRESOURCEA(32649));
}

// The file version of the running executable taken straight from its
// resource data; nullopt without a version resource.
std::optional<TFileVersion> OwnVersionFromResource() {
  HRSRC found = FindResourceA(nullptr, MAKEINTRESOURCEA(1), MAKEINTRESOURCEA(16));
  if (!found) return std::nullopt;
  const auto* bytes = static_cast<const unsigned char*>(LockResource(LoadResource(nullptr, found)));
  const DWORD size = SizeofResource(nullptr, found);
  for (DWORD i = 0; i + 20 <= size; i += 4) {
    DWORD words[5];
    std::memcpy(words, bytes + i, sizeof(words));
    if (words[0] == 0xFEEF04BD) {
      return TFileVersion{static_cast<int>(HIWORD(words[2])), static_cast<int>(LOWORD(words[2])),
                          static_cast<int>(HIWORD(words[3])), static_cast<int>(LOWORD(words[3]))};
    }
  }
  return std::nullopt;
}

std::string WinPath(std::string unix_path) {
  for (char& c : unix_path) {
    if (c == '/') c = '\\';
  }
  return "Z:" + unix_path;
}

TEST(AboutWindow, ShowsNameVersionAndBuildOnTheAboutPage) {
  TForm6 form(nullptr);
  ASSERT_NE(form.Handle(), nullptr);
  EXPECT_FALSE(IsWindowVisible(form.Handle())) << "made hidden at start-up";

  const auto own = OwnVersionFromResource();
  std::string expected_version = "Version 99999.99999  (Beta)";
  if (own) {
    expected_version = "Version " + std::to_string(own->major) + "." + std::to_string(own->minor) +
                       (own->release ? "  (Release " + std::to_string(own->release) + ")"
                                     : std::string("  (Beta)"));
  }
  RunModal(form, {[&](HWND w) {
                    EXPECT_EQ(WindowText(w), "About Quillonar");
                    RECT client{};
                    GetClientRect(w, &client);
                    EXPECT_EQ(client.right - client.left, Scaled(391));
                    EXPECT_EQ(client.bottom - client.top, Scaled(423));
                    EXPECT_EQ(TabCaptions(Item(w, TForm6::idPages)),
                              (std::vector<std::string>{"About", "Disclaimer", "What's New"}));
                    EXPECT_EQ(SelectedTab(w), TForm6::pgAbout);
                    EXPECT_EQ(ItemText(w, TForm6::idProgramName), "Quillonar");
                    EXPECT_EQ(ItemText(w, TForm6::idVersion), expected_version);
                    EXPECT_TRUE(std::regex_match(
                        ItemText(w, TForm6::idBuild),
                        std::regex("Build: [0-3][0-9]-(Jan|Feb|Mar|Apr|May|Jun|Jul|Aug|Sep|Oct|"
                                   "Nov|Dec)-[0-9]{4}")))
                        << ItemText(w, TForm6::idBuild);
                    EXPECT_TRUE(IsWindowVisible(Item(w, TForm6::idVersion)));
                    EXPECT_TRUE(SendMessageA(Item(w, TForm6::idQuill), STM_GETICON, 0, 0))
                        << "the program's quill beside its name";
                    EXPECT_EQ(ItemText(w, TForm6::idClose), "Close");
                    EXPECT_TRUE(IsWindowVisible(Item(w, TForm6::idClose)));
                  },
                  [&](HWND w) { SendMessageA(Item(w, TForm6::idClose), BM_CLICK, 0, 0); }});
  EXPECT_FALSE(IsWindowVisible(form.Handle()));
}

TEST(AboutWindow, EscEnterCloseButtonAndCloseBoxEachCloseIt) {
  HWND owner = CreateWindowExA(0, "STATIC", "owner", WS_POPUP | WS_VISIBLE, 0, 0, 100, 100, nullptr,
                               nullptr, nullptr, nullptr);
  TForm6 form(owner);
  const struct {
    const char* name;
    TStep close;
  } cases[] = {
      {"Esc",
       [](HWND w) {
         HWND focus = GetFocus() ? GetFocus() : w;
         PostMessageA(focus, WM_KEYDOWN, VK_ESCAPE, 1);
       }},
      {"Enter",
       [](HWND w) {
         HWND focus = GetFocus() ? GetFocus() : w;
         PostMessageA(focus, WM_KEYDOWN, VK_RETURN, 1);
       }},
      {"Close button", [](HWND w) { SendMessageA(Item(w, TForm6::idClose), BM_CLICK, 0, 0); }},
      {"close box", [](HWND w) { PostMessageA(w, WM_SYSCOMMAND, SC_CLOSE, 0); }},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    bool owner_disabled_while_shown = false;
    RunModal(form, {[&](HWND) { owner_disabled_while_shown = !IsWindowEnabled(owner); }, c.close});
    EXPECT_TRUE(owner_disabled_while_shown);
    EXPECT_TRUE(IsWindowEnabled(owner));
    EXPECT_FALSE(IsWindowVisible(form.Handle()));
  }
  DestroyWindow(owner);
  EXPECT_EQ(form.Handle(), nullptr) << "goes with its owner";
  form.ShowModal();  // a window gone with its owner is not shown again
}

TEST(AboutWindow, DisclaimerLinkUnderlinesOnHoverAndOpensTheDisclaimerPage) {
  TForm6 form(nullptr);
  RunModal(form, {[&](HWND w) {
                    HWND link = Item(w, TForm6::idDisclaimerLink);
                    ASSERT_NE(link, nullptr);
                    EXPECT_TRUE(IsWindowVisible(link));
                    EXPECT_FALSE(Underlined(link));
                    EXPECT_TRUE(ShowsHandCursor(link));
                    HoverOver(link);
                    EXPECT_TRUE(Underlined(link));
                    SendMessageA(link, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(2, 2));
                    SendMessageA(link, WM_LBUTTONUP, 0, MAKELPARAM(2, 2));
                    EXPECT_EQ(SelectedTab(w), TForm6::pgDisclaimer);
                    EXPECT_EQ(form.ActivePageIndex(), TForm6::pgDisclaimer);
                    EXPECT_FALSE(IsWindowVisible(link));
                    EXPECT_FALSE(IsWindowVisible(Item(w, TForm6::idVersion)));
                    // Back on the first page the link no longer looks hovered.
                    form.SetActivePageIndex(TForm6::pgAbout);
                    EXPECT_FALSE(Underlined(link));
                    EXPECT_TRUE(IsWindowVisible(Item(w, TForm6::idVersion)));
                  },
                  [&](HWND) { form.Close(); }});
}

TEST(AboutWindow, UrlLabelTurnsBlueUnderlinedOnHoverAndOpensItsLink) {
  TForm6 form(nullptr);
  std::vector<std::string> opened;
  form.SetLinkOpener([&](const std::string& link) { opened.push_back(link); });
  RunModal(form, {[&](HWND w) {
                    HWND link = Item(w, TForm6::idHomeLink);
                    ASSERT_NE(link, nullptr);
                    const COLORREF normal = DrawnTextColor(w, link);
                    EXPECT_NE(normal, RGB(0, 0, 255));
                    EXPECT_FALSE(Underlined(link));
                    EXPECT_TRUE(ShowsHandCursor(link));
                    HoverOver(link);
                    EXPECT_EQ(DrawnTextColor(w, link), RGB(0, 0, 255));
                    EXPECT_TRUE(Underlined(link));
                    SendMessageA(link, WM_MOUSELEAVE, 0, 0);
                    EXPECT_EQ(DrawnTextColor(w, link), normal);
                    EXPECT_FALSE(Underlined(link));
                    // Any mouse button opens the link.
                    SendMessageA(link, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(2, 2));
                    SendMessageA(link, WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(2, 2));
                  },
                  [&](HWND) { form.Close(); }});
  ASSERT_EQ(opened.size(), 2u);
  EXPECT_EQ(opened[0], form.HomeLink().Link());
  EXPECT_EQ(opened[0].rfind("https://", 0), 0u) << opened[0];
  EXPECT_EQ(form.ActivePageIndex(), TForm6::pgAbout) << "a web link changes no page";
}

TEST(AboutWindow, CtrlTabMovesBetweenPages) {
  TForm6 form(nullptr);
  std::vector<int> pages;
  auto press = [](bool shift) {
    std::vector<INPUT> keys;
    auto key = [&](WORD vk, bool up) {
      INPUT in{};
      in.type = INPUT_KEYBOARD;
      in.ki.wVk = vk;
      in.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
      keys.push_back(in);
    };
    key(VK_CONTROL, false);
    if (shift) key(VK_SHIFT, false);
    key(VK_TAB, false);
    key(VK_TAB, true);
    if (shift) key(VK_SHIFT, true);
    key(VK_CONTROL, true);
    SendInput(static_cast<UINT>(keys.size()), keys.data(), sizeof(INPUT));
  };
  RunModal(form, {[&](HWND w) {
                    SetForegroundWindow(w);
                    press(false);
                  },
                  [&](HWND w) {
                    pages.push_back(SelectedTab(w));
                    press(false);
                  },
                  [&](HWND w) {
                    pages.push_back(SelectedTab(w));
                    press(false);
                  },
                  [&](HWND w) {
                    pages.push_back(SelectedTab(w));
                    press(true);
                  },
                  [&](HWND w) {
                    pages.push_back(SelectedTab(w));
                    form.Close();
                  }});
  EXPECT_EQ(pages, (std::vector<int>{1, 2, 0, 2}));
}

TEST(AboutWindow, FileVersionIsReadFromTheProgramsVersionResource) {
  // The version the program's resource script gives Quillon.exe.
  std::ifstream rc(std::string(QUILLON_DATA_DIR) + "/../src/win32/res/Quillon.rc");
  const std::string script((std::istreambuf_iterator<char>(rc)), std::istreambuf_iterator<char>());
  std::smatch m;
  ASSERT_TRUE(std::regex_search(
      script, m, std::regex("FILEVERSION\\s+(\\d+),\\s*(\\d+),\\s*(\\d+),\\s*(\\d+)")));
  const TFileVersion expected{std::stoi(m[1]), std::stoi(m[2]), std::stoi(m[3]), std::stoi(m[4])};

  // Quillon.exe is built beside the tests' stand-in interpreter.
  std::string exe = WinPath(QUILLON_TTPMACRO);
  exe = exe.substr(0, exe.rfind('\\')) + "\\..\\src\\win32\\Quillon.exe";
  ASSERT_TRUE(FileExistsOnDisk(exe)) << exe;
  EXPECT_EQ(ReadFileVersion(exe), expected);

  TTempDir dir;
  WriteFileBytes(dir.File("plain.exe"), "not a program");
  EXPECT_EQ(ReadFileVersion(dir.File("plain.exe")), std::nullopt);
  EXPECT_EQ(ReadFileVersion(dir.File("missing.exe")), std::nullopt);
  EXPECT_EQ(ReadFileVersion(OwnModulePath()), OwnVersionFromResource());
}

TEST(HelpViewer, RequestsForAMissingHelpFileDoNotCrash) {
  TTempDir dir;
  THtmlHelpViewer viewer(TProgramDirectory(dir.Path()));
  viewer.ShowContext("teraterm.chm", 2001);
  viewer.ShowTableOfContents("teraterm.chm");
  viewer.ShowTopic(dir.File("teraterm.chm"), "macro/command/sendln");
  viewer.ShowTableOfContents("readme.txt");  // not served
  viewer.CloseAll();
  PumpMessages();
  SUCCEED();
}

TEST(HelpViewer, WithoutTheViewerModuleEveryRequestIsIgnored) {
  TTempDir dir;
  THtmlHelpViewer viewer(TProgramDirectory(dir.Path()), nullptr, "no-such-viewer.ocx");
  EXPECT_FALSE(viewer.Loaded());
  viewer.ShowContext("teraterm.chm", 1);
  viewer.ShowTableOfContents("teraterm.chm");
  viewer.ShowTopic("teraterm.chm", "index");
  viewer.CloseAll();
}

TEST(HelpCommand, WithoutTheHelpFileOnlyTheErrorBoxShows) {
  TTempDir dir;
  TScriptedPrompts prompts;
  THelpCommand help(TProgramDirectory(dir.Path()), prompts);
  help.TeraTermHelp();
  help.HelpTopic(2001);
  EXPECT_EQ(prompts.Messages(),
            (std::vector<std::string>{"TeraTerm help file 'teraterm.chm' not found.",
                                      "TeraTerm help file 'teraterm.chm' not found."}));
  EXPECT_EQ(help.Help().PendingContext(), 0);
  EXPECT_EQ(help.Help().HelpFile(), "");
}

}  // namespace
