#include <gtest/gtest.h>
#include <windows.h>

#include <optional>
#include <ostream>
#include <string>

#include "win32/Win32Registry.h"
#include "win32/Win32WindowPlacement.h"
#include "win32/WineTestSupport.h"

// Found by argument lookup for the window system's rectangle; internal to this file.
static bool operator==(const RECT& a, const RECT& b) {
  return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}
static void PrintTo(const RECT& r, std::ostream* os) {
  *os << "{" << r.left << "," << r.top << "," << r.right << "," << r.bottom << "}";
}

namespace {

// A settings key of the tests' own, so the program's real settings stay as
// they are; the placement lands in its subkey "TForm1".
constexpr const char* kTestSettingsKey = "Software\\Brevik\\Quillon\\Tests\\WindowPlacement";
constexpr const char* kClassName = "QuillonPlacementTestWindow";

void DeleteTestKey() {
  RegDeleteTreeA(HKEY_CURRENT_USER, kTestSettingsKey);
  // The shared parent goes too once no other test keeps anything below it.
  RegDeleteKeyA(HKEY_CURRENT_USER, "Software\\Brevik\\Quillon\\Tests");
}

std::string RectText(const RECT& r) {
  return std::to_string(r.left) + "," + std::to_string(r.top) + "," + std::to_string(r.right) +
         "," + std::to_string(r.bottom);
}

class WindowPlacementWine : public ::testing::Test {
 protected:
  void SetUp() override {
    DeleteTestKey();
    WNDCLASSA wc{};
    wc.lpfnWndProc = DefWindowProcA;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.hCursor = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    wc.lpszClassName = kClassName;
    RegisterClassA(&wc);  // fails harmlessly when already registered
  }
  void TearDown() override {
    for (HWND w : windows_) DestroyWindow(w);
    PumpMessages();
    DeleteTestKey();
  }

  // A window as the main window is while it is created: hidden, at its
  // designed position 190,105 with its designed size.
  HWND NewWindow(DWORD style = WS_OVERLAPPEDWINDOW) {
    HWND w = CreateWindowExA(0, kClassName, "placement", style, 190, 105, 600, 400, nullptr,
                             nullptr, GetModuleHandleA(nullptr), nullptr);
    EXPECT_TRUE(w);
    windows_.push_back(w);
    return w;
  }

  // A window the user has moved to 120,80 and sized to 500 x 300.
  HWND UsedWindow() {
    HWND w = NewWindow();
    ShowWindow(w, SW_SHOWNORMAL);
    SetWindowPos(w, nullptr, 120, 80, 500, 300, SWP_NOZORDER | SWP_NOACTIVATE);
    PumpMessages();
    return w;
  }

  static RECT Rect(HWND w) {
    RECT r{};
    GetWindowRect(w, &r);
    return r;
  }
  static RECT NormalRect(HWND w) {
    WINDOWPLACEMENT wp{};
    wp.length = sizeof wp;
    GetWindowPlacement(w, &wp);
    return wp.rcNormalPosition;
  }
  // The normal rectangle in workspace coordinates, as the store keeps it.
  static RECT InWorkspace(RECT screen) {
    RECT work{};
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
    OffsetRect(&screen, -work.left, -work.top);
    return screen;
  }
  static int ScreenPpi() {
    HDC dc = GetDC(nullptr);
    const int ppi = GetDeviceCaps(dc, LOGPIXELSY);
    ReleaseDC(nullptr, dc);
    return ppi;
  }

  static std::string SubkeyPath() { return std::string(kTestSettingsKey) + "\\TForm1"; }
  // A value of the placement subkey, only when it is a REG_SZ string.
  static std::optional<std::string> StoredText(const char* name) {
    char buf[256] = {};
    DWORD size = sizeof buf;
    DWORD type = 0;
    if (RegGetValueA(HKEY_CURRENT_USER, SubkeyPath().c_str(), name, RRF_RT_ANY, &type, buf,
                     &size) != ERROR_SUCCESS ||
        type != REG_SZ)
      return std::nullopt;
    return std::string(buf);
  }
  static void Store(const char* name, const std::string& text) {
    ASSERT_EQ(RegSetKeyValueA(HKEY_CURRENT_USER, SubkeyPath().c_str(), name, REG_SZ, text.c_str(),
                              static_cast<DWORD>(text.size() + 1)),
              ERROR_SUCCESS);
  }
  static bool SubkeyExists() {
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, SubkeyPath().c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS)
      return false;
    RegCloseKey(key);
    return true;
  }

  TWin32Registry registry_;
  std::vector<HWND> windows_;
};

TEST_F(WindowPlacementWine, ClosingStoresTheMovedAndResizedWindowAsText) {
  HWND w = UsedWindow();
  ASSERT_EQ(Rect(w), (RECT{120, 80, 620, 380}));
  SaveWindowPlacement(w, registry_, kTestSettingsKey);

  ASSERT_TRUE(SubkeyExists());
  for (const char* name : {"Flags", "ShowCmd", "PixelsPerInch", "Visible", "MinMaxPos", "NormPos"})
    EXPECT_TRUE(StoredText(name)) << name << " is missing or not a string";
  EXPECT_EQ(StoredText("ShowCmd"), "1");
  EXPECT_EQ(StoredText("PixelsPerInch"), std::to_string(ScreenPpi()));
  EXPECT_EQ(StoredText("Visible"), "1");
  EXPECT_EQ(StoredText("NormPos"), RectText(InWorkspace(RECT{120, 80, 620, 380})));
  // The minimized and maximized positions go as the window system reports them.
  WINDOWPLACEMENT wp{};
  wp.length = sizeof wp;
  ASSERT_TRUE(GetWindowPlacement(w, &wp));
  EXPECT_EQ(StoredText("MinMaxPos"), RectText(RECT{wp.ptMinPosition.x, wp.ptMinPosition.y,
                                                   wp.ptMaxPosition.x, wp.ptMaxPosition.y}));
}

TEST_F(WindowPlacementWine, HiddenWindowIsStoredAsNotVisible) {
  HWND w = NewWindow();
  SaveWindowPlacement(w, registry_, kTestSettingsKey);
  EXPECT_EQ(StoredText("Visible"), "0");
  EXPECT_EQ(StoredText("NormPos"), RectText(InWorkspace(RECT{190, 105, 790, 505})));
}

TEST_F(WindowPlacementWine, NextStartOpensWhereTheWindowWasLeft) {
  SaveWindowPlacement(UsedWindow(), registry_, kTestSettingsKey);

  HWND fresh = NewWindow();
  EXPECT_EQ(RestoreWindowPlacement(fresh, registry_, kTestSettingsKey), TWindowState::wsNormal);
  EXPECT_FALSE(IsWindowVisible(fresh)) << "restoring must not show a window being created";
  EXPECT_EQ(Rect(fresh), (RECT{120, 80, 620, 380}));
  ShowWindow(fresh, SW_SHOWNORMAL);
  PumpMessages();
  EXPECT_EQ(Rect(fresh), (RECT{120, 80, 620, 380}));
  EXPECT_FALSE(IsZoomed(fresh));
  EXPECT_FALSE(IsIconic(fresh));
}

TEST_F(WindowPlacementWine, FirstStartKeepsTheDesignedPlacement) {
  HWND fresh = NewWindow();
  EXPECT_EQ(RestoreWindowPlacement(fresh, registry_, kTestSettingsKey), TWindowState::wsNormal);
  EXPECT_FALSE(SubkeyExists()) << "restoring must not create the subkey";
  ShowWindow(fresh, SW_SHOWNORMAL);
  PumpMessages();
  EXPECT_EQ(Rect(fresh), (RECT{190, 105, 790, 505}));
  EXPECT_FALSE(IsZoomed(fresh));
}

TEST_F(WindowPlacementWine, MaximizedWindowOpensMaximizedAndRestoresToItsNormalSize) {
  HWND used = UsedWindow();
  ShowWindow(used, SW_MAXIMIZE);
  PumpMessages();
  ASSERT_TRUE(IsZoomed(used));
  SaveWindowPlacement(used, registry_, kTestSettingsKey);
  EXPECT_EQ(StoredText("ShowCmd"), "3");
  EXPECT_EQ(StoredText("NormPos"), RectText(InWorkspace(RECT{120, 80, 620, 380})));

  // Started the plain way (shown normal) and with the restored state as the
  // first show command: both end maximized.
  for (bool use_first_show : {false, true}) {
    HWND fresh = NewWindow();
    const TWindowState state = RestoreWindowPlacement(fresh, registry_, kTestSettingsKey);
    EXPECT_EQ(state, TWindowState::wsMaximized);
    EXPECT_FALSE(IsWindowVisible(fresh));
    ShowWindow(fresh, use_first_show ? FirstShowCommand(state, SW_SHOWNORMAL) : SW_SHOWNORMAL);
    PumpMessages();
    EXPECT_TRUE(IsZoomed(fresh)) << "first show command used: " << use_first_show;
    ShowWindow(fresh, SW_RESTORE);
    PumpMessages();
    EXPECT_EQ(Rect(fresh), (RECT{120, 80, 620, 380}))
        << "first show command used: " << use_first_show;
  }
}

TEST_F(WindowPlacementWine, MinimizedWindowStartsMinimizedOnTheTaskbar) {
  HWND used = UsedWindow();
  ShowWindow(used, SW_MINIMIZE);
  PumpMessages();
  ASSERT_TRUE(IsIconic(used));
  SaveWindowPlacement(used, registry_, kTestSettingsKey);
  EXPECT_EQ(StoredText("ShowCmd"), "2");

  HWND fresh = NewWindow();
  EXPECT_EQ(RestoreWindowPlacement(fresh, registry_, kTestSettingsKey), TWindowState::wsMinimized);
  EXPECT_FALSE(IsIconic(fresh)) << "the window itself stays normal until the program runs";
  EXPECT_EQ(FirstShowCommand(TWindowState::wsMinimized, SW_SHOWNORMAL), SW_SHOWNORMAL);
  ShowWindow(fresh, SW_SHOWNORMAL);
  PumpMessages();
  EXPECT_TRUE(IsIconic(fresh));
  ShowWindow(fresh, SW_RESTORE);
  PumpMessages();
  EXPECT_EQ(Rect(fresh), (RECT{120, 80, 620, 380}));
}

TEST_F(WindowPlacementWine, OtherScreenResolutionIgnoresThePositionButKeepsMaximized) {
  Store("Flags", "0");
  Store("ShowCmd", "3");
  Store("PixelsPerInch", std::to_string(ScreenPpi() + 24));
  Store("MinMaxPos", "-1,-1,-1,-1");
  Store("NormPos", "10,20,300,200");

  HWND fresh = NewWindow();
  EXPECT_EQ(RestoreWindowPlacement(fresh, registry_, kTestSettingsKey), TWindowState::wsMaximized);
  EXPECT_EQ(NormalRect(fresh), InWorkspace(RECT{190, 105, 790, 505}));
  ShowWindow(fresh, SW_SHOWNORMAL);
  PumpMessages();
  EXPECT_TRUE(IsZoomed(fresh));
  ShowWindow(fresh, SW_RESTORE);
  PumpMessages();
  EXPECT_EQ(Rect(fresh), (RECT{190, 105, 790, 505}));
}

TEST_F(WindowPlacementWine, PartialOrDamagedStoredPositions) {
  struct Case {
    const char* name;
    DWORD style;
    const char* norm_pos;  // workspace coordinates
    RECT expected;         // also workspace coordinates
  } cases[] = {
      {"two fields keep the current size", WS_OVERLAPPEDWINDOW, "10,20", {10, 20, 610, 420}},
      {"garbage right and bottom", WS_OVERLAPPEDWINDOW, "30,40,wide,high", {30, 40, 630, 440}},
      {"fixed-size window keeps its size",
       WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU,
       "30,40,900,900",
       {30, 40, 630, 440}},
  };
  for (const auto& c : cases) {
    DeleteTestKey();
    Store("PixelsPerInch", std::to_string(ScreenPpi()));
    Store("NormPos", c.norm_pos);
    HWND fresh = NewWindow(c.style);
    EXPECT_EQ(RestoreWindowPlacement(fresh, registry_, kTestSettingsKey), TWindowState::wsNormal)
        << c.name;
    EXPECT_EQ(NormalRect(fresh), c.expected) << c.name;
  }
}

TEST_F(WindowPlacementWine, UnreadableValuesChangeNothing) {
  Store("PixelsPerInch", "lots");
  Store("NormPos", "10,20,300,200");
  Store("ShowCmd", "maximized");
  HWND fresh = NewWindow();
  EXPECT_EQ(RestoreWindowPlacement(fresh, registry_, kTestSettingsKey), TWindowState::wsNormal);
  ShowWindow(fresh, SW_SHOWNORMAL);
  PumpMessages();
  EXPECT_EQ(Rect(fresh), (RECT{190, 105, 790, 505}));
  EXPECT_FALSE(IsZoomed(fresh));
  EXPECT_FALSE(IsIconic(fresh));
}

}  // namespace
