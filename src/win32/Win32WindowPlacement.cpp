#include "win32/Win32WindowPlacement.h"

#include "win32/Win32Dpi.h"

namespace {

// The flags a stored placement may carry back: whether the minimized position
// applies and whether a minimized window restores to maximized. Asynchronous
// placement is never wanted for a window this thread is still creating.
constexpr UINT kRestorableFlags = WPF_SETMINPOSITION | WPF_RESTORETOMAXIMIZED;

TWindowPlacementRecord ToRecord(const WINDOWPLACEMENT& wp) {
  TWindowPlacementRecord r;
  r.Flags = static_cast<int>(wp.flags);
  r.ShowCmd = static_cast<int>(wp.showCmd);
  r.MinPosition = {wp.ptMinPosition.x, wp.ptMinPosition.y};
  r.MaxPosition = {wp.ptMaxPosition.x, wp.ptMaxPosition.y};
  r.NormalPosition = {wp.rcNormalPosition.left, wp.rcNormalPosition.top, wp.rcNormalPosition.right,
                      wp.rcNormalPosition.bottom};
  return r;
}

WINDOWPLACEMENT ToPlatform(const TWindowPlacementRecord& r) {
  WINDOWPLACEMENT wp{};
  wp.length = sizeof wp;
  wp.flags = static_cast<UINT>(r.Flags) & kRestorableFlags;
  wp.showCmd = static_cast<UINT>(r.ShowCmd);
  wp.ptMinPosition = {r.MinPosition.x, r.MinPosition.y};
  wp.ptMaxPosition = {r.MaxPosition.x, r.MaxPosition.y};
  wp.rcNormalPosition = {r.NormalPosition.left, r.NormalPosition.top, r.NormalPosition.right,
                         r.NormalPosition.bottom};
  return wp;
}

bool CurrentPlacement(HWND window, TWindowPlacementRecord& record) {
  WINDOWPLACEMENT wp{};
  wp.length = sizeof wp;
  if (!GetWindowPlacement(window, &wp)) return false;
  record = ToRecord(wp);
  return true;
}

// The dpi of the monitor a normal rectangle given at 96 dpi lands on, when
// scaled from a window at window_dpi.
int TargetDpi(const TRect& rect96, int window_dpi) {
  const TRect scaled = ConvertDpi(rect96, kDesignDpi, window_dpi);
  return DpiForRect(RECT{scaled.left, scaled.top, scaled.right, scaled.bottom});
}

}  // namespace

void SaveWindowPlacement(HWND window, IRegistry& registry, const std::string& settings_key_path,
                         const std::string& object_name) {
  TPlacementSnapshot snapshot;
  if (!CurrentPlacement(window, snapshot.Placement)) return;
  // Stored in 96-dpi units, as a program unaware of dpi sees the screen, so
  // every version reads it alike.
  snapshot.Placement = ConvertPlacementDpi(snapshot.Placement, WindowDpi(window), kDesignDpi);
  snapshot.PixelsPerInch = kDesignDpi;
  snapshot.Visible = IsWindowVisible(window) != FALSE;
  // The main window has no separate taskbar window: the program is minimized
  // exactly when this window is iconic.
  snapshot.Minimized = IsIconic(window) != FALSE;
  StorePlacement(registry, WindowPlacementKeyPath(settings_key_path, object_name), snapshot);
}

TWindowState RestoreWindowPlacement(HWND window, IRegistry& registry,
                                    const std::string& settings_key_path,
                                    const std::string& object_name) {
  const std::optional<TStoredPlacement> stored =
      LoadStoredPlacement(registry, WindowPlacementKeyPath(settings_key_path, object_name));
  if (!stored) return TWindowState::wsNormal;

  TWindowPlacementRecord current;
  if (!CurrentPlacement(window, current)) return TWindowState::wsNormal;
  const int window_dpi = WindowDpi(window);
  current = ConvertPlacementDpi(current, window_dpi, kDesignDpi);
  const bool visible = IsWindowVisible(window) != FALSE;
  // Applying the placement must not show a window that is still being built.
  if (!visible) current.ShowCmd = SW_HIDE;
  const bool resizable = (GetWindowLongPtrA(window, GWL_STYLE) & WS_THICKFRAME) != 0;

  // The main window opens at its designed position, never centred, so a stored
  // placement can be applied as it is.
  const TPlacementDecision decision =
      DecideWindowPlacement(*stored, current, kDesignDpi, resizable);
  if (decision.Placement) {
    const int dpi = TargetDpi(decision.Placement->NormalPosition, window_dpi);
    const WINDOWPLACEMENT wp = ToPlatform(ConvertPlacementDpi(*decision.Placement, kDesignDpi, dpi));
    SetWindowPlacement(window, &wp);
  }

  switch (decision.State) {
    case TWindowState::wsMinimized:
      if (visible && (IsIconic(window) || IsZoomed(window))) ShowWindow(window, SW_RESTORE);
      PostMessageA(window, WM_SYSCOMMAND, SC_MINIMIZE, 0);
      return decision.State;
    case TWindowState::wsMaximized:
      if (visible)
        ShowWindow(window, SW_SHOWMAXIMIZED);
      else
        PostMessageA(window, WM_SYSCOMMAND, SC_MAXIMIZE, 0);
      break;
    case TWindowState::wsNormal:
      if (visible && (IsIconic(window) || IsZoomed(window))) ShowWindow(window, SW_RESTORE);
      break;
  }
  if (visible) InvalidateRect(window, nullptr, TRUE);
  return decision.State;
}

int FirstShowCommand(TWindowState restored, int start_show_command) {
  const bool start_minimized = start_show_command == SW_SHOWMINIMIZED ||
                               start_show_command == SW_MINIMIZE ||
                               start_show_command == SW_SHOWMINNOACTIVE;
  if (restored == TWindowState::wsMaximized && !start_minimized) return SW_SHOWMAXIMIZED;
  return start_show_command;
}
