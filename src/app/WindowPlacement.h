#pragma once
// The main window's placement as kept in the settings store: the record the
// window system reports, the text values it is stored as, and the rules that
// turn stored values back into a placement and a window state.
//
// All values are strings of decimal numbers in the subkey settings key + "\T" +
// the window's object name. Writing: "Flags", "ShowCmd", "PixelsPerInch",
// "Visible", "MinMaxPos" ("x,y,x,y": minimized then maximized position) and
// "NormPos" ("left,top,right,bottom" of the restored rectangle), in this order.
#include <array>
#include <optional>
#include <string>

#include "platform/Registry.h"
#include "platform/Types.h"

// The main window's object name; with the "T" in front it names the placement
// subkey "TForm1".
inline constexpr const char* kMainWindowObjectName = "Form1";

// settings_key_path + "\T" + object_name.
std::string WindowPlacementKeyPath(const std::string& settings_key_path,
                                   const std::string& object_name = kMainWindowObjectName);

// The window system's show-command numbers this store deals in.
inline constexpr int kShowCmdHide = 0;
inline constexpr int kShowCmdNormal = 1;
inline constexpr int kShowCmdMinimized = 2;
inline constexpr int kShowCmdMaximized = 3;

// The window system's placement record, in its own terms: the normal rectangle
// is in workspace coordinates, the positions are stored as reported.
struct TWindowPlacementRecord {
  int Flags = 0;
  int ShowCmd = kShowCmdNormal;
  TPoint MinPosition;
  TPoint MaxPosition;
  TRect NormalPosition;
  friend bool operator==(const TWindowPlacementRecord&, const TWindowPlacementRecord&) = default;
};

// What a window looks like at the moment its placement is saved.
struct TPlacementSnapshot {
  TWindowPlacementRecord Placement;
  int PixelsPerInch = 96;
  bool Visible = false;
  // The program shows as an icon on the taskbar; stored as show state 2 whatever
  // the record says.
  bool Minimized = false;
};

// The values read back from the subkey; nullopt where a value is missing or is
// not a string. "Visible" is never read.
struct TStoredPlacement {
  std::optional<std::string> Flags;
  std::optional<std::string> ShowCmd;
  std::optional<std::string> PixelsPerInch;
  std::optional<std::string> MinMaxPos;
  std::optional<std::string> NormPos;
};

enum class TWindowState { wsNormal, wsMinimized, wsMaximized };

struct TPlacementDecision {
  // The placement to hand to the window system, when the stored one is usable.
  std::optional<TWindowPlacementRecord> Placement;
  // The state the window is to take. Minimized means: leave the window normal
  // and minimize the program once it runs.
  TWindowState State = TWindowState::wsNormal;
  friend bool operator==(const TPlacementDecision&, const TPlacementDecision&) = default;
};

// A decimal number, optionally signed and surrounded by spaces, that fits in 32
// bits; nullopt for anything else (empty text included).
std::optional<int> ParsePlacementNumber(const std::string& text);

// The first four comma-separated fields; a missing or non-numeric field is
// nullopt. Further fields are ignored.
std::array<std::optional<int>, 4> ParsePlacementFields(const std::string& text);

// "x1,y1,x2,y2" and "left,top,right,bottom".
std::string FormatPlacementPoints(const TPoint& first, const TPoint& second);
std::string FormatPlacementRect(const TRect& rect);

// The record with its positions and rectangle converted between two dpi; the
// placement is stored in 96-dpi units, whatever the monitor's dpi.
TWindowPlacementRecord ConvertPlacementDpi(const TWindowPlacementRecord& record, int from_dpi,
                                           int to_dpi);

// Turns stored values into what to apply. current is the window's placement
// now, with its show state already taken as hidden when the window is not
// visible; that show state is kept in the placement to apply, so applying it
// never shows a window that is still being created. A placement is returned
// only when the stored one was written at the same pixels per inch and carries
// a position; the state comes from "ShowCmd" regardless.
TPlacementDecision DecideWindowPlacement(const TStoredPlacement& stored,
                                         const TWindowPlacementRecord& current, int pixels_per_inch,
                                         bool resizable);

// Writes the six values into key in their fixed order. A write that fails stops
// the rest and gives false; nothing is raised.
bool WritePlacementValues(IRegistryKey& key, const TPlacementSnapshot& snapshot);

// Opens (creating) the subkey at subkey_path below the current user and writes
// the values; false when the key cannot be opened or a write fails.
bool StorePlacement(IRegistry& registry, const std::string& subkey_path,
                    const TPlacementSnapshot& snapshot);

// The values in the subkey at subkey_path below the current user, read without
// creating it; nullopt when the subkey does not exist.
std::optional<TStoredPlacement> LoadStoredPlacement(IRegistry& registry,
                                                    const std::string& subkey_path);
