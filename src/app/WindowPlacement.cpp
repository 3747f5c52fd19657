#include "app/WindowPlacement.h"

#include <climits>
#include <cstdint>

#include "app/DpiScale.h"
#include "platform/Exception.h"

namespace {

constexpr const char* kFlags = "Flags";
constexpr const char* kShowCmd = "ShowCmd";
constexpr const char* kPixelsPerInch = "PixelsPerInch";
constexpr const char* kVisible = "Visible";
constexpr const char* kMinMaxPos = "MinMaxPos";
constexpr const char* kNormPos = "NormPos";

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

// A hand-edited value may hold coordinates near the ends of the range; sums
// with the window's size must not wrap around.
int Saturate(std::int64_t value) {
  if (value > INT_MAX) return INT_MAX;
  if (value < INT_MIN) return INT_MIN;
  return static_cast<int>(value);
}

bool HasText(const std::optional<std::string>& value) { return value && !value->empty(); }

TWindowState StateFromShowCmd(int show_cmd) {
  switch (show_cmd) {
    case 2:  // minimized
    case 6:  // minimize
    case 7:  // minimized, not active
      return TWindowState::wsMinimized;
    case 3:  // maximized
      return TWindowState::wsMaximized;
    default:  // 1, 5, 9 and anything unknown: normal
      return TWindowState::wsNormal;
  }
}

}  // namespace

std::string WindowPlacementKeyPath(const std::string& settings_key_path,
                                   const std::string& object_name) {
  return settings_key_path + "\\T" + object_name;
}

std::optional<int> ParsePlacementNumber(const std::string& text) {
  std::size_t begin = 0;
  std::size_t end = text.size();
  while (begin < end && IsBlank(text[begin])) ++begin;
  while (end > begin && IsBlank(text[end - 1])) --end;
  bool negative = false;
  if (begin < end && (text[begin] == '-' || text[begin] == '+')) {
    negative = text[begin] == '-';
    ++begin;
  }
  if (begin == end) return std::nullopt;
  std::int64_t value = 0;
  for (std::size_t i = begin; i < end; ++i) {
    const char c = text[i];
    if (c < '0' || c > '9') return std::nullopt;
    value = value * 10 + (c - '0');
    if (value > std::int64_t{INT_MAX} + 1) return std::nullopt;
  }
  if (negative) value = -value;
  if (value > INT_MAX || value < INT_MIN) return std::nullopt;
  return static_cast<int>(value);
}

std::array<std::optional<int>, 4> ParsePlacementFields(const std::string& text) {
  std::array<std::optional<int>, 4> fields;
  std::size_t start = 0;
  for (std::size_t i = 0; i < fields.size() && start <= text.size(); ++i) {
    std::size_t comma = text.find(',', start);
    if (comma == std::string::npos) comma = text.size();
    fields[i] = ParsePlacementNumber(text.substr(start, comma - start));
    start = comma + 1;
  }
  return fields;
}

std::string FormatPlacementPoints(const TPoint& first, const TPoint& second) {
  return std::to_string(first.x) + "," + std::to_string(first.y) + "," + std::to_string(second.x) +
         "," + std::to_string(second.y);
}

std::string FormatPlacementRect(const TRect& rect) {
  return std::to_string(rect.left) + "," + std::to_string(rect.top) + "," +
         std::to_string(rect.right) + "," + std::to_string(rect.bottom);
}

TPlacementDecision DecideWindowPlacement(const TStoredPlacement& stored,
                                         const TWindowPlacementRecord& current, int pixels_per_inch,
                                         bool resizable) {
  TWindowPlacementRecord placement = current;
  const std::int64_t current_width =
      std::int64_t{current.NormalPosition.right} - current.NormalPosition.left;
  const std::int64_t current_height =
      std::int64_t{current.NormalPosition.bottom} - current.NormalPosition.top;

  const std::optional<int> flags =
      stored.Flags ? ParsePlacementNumber(*stored.Flags) : std::nullopt;
  bool found = flags.value_or(0) != 0;
  // The stored flags go back with the positions they qualify (whether the
  // minimized position is to be used, whether a minimized window restores to
  // maximized).
  if (flags) placement.Flags = *flags;

  if (HasText(stored.MinMaxPos)) {
    found = true;
    const auto f = ParsePlacementFields(*stored.MinMaxPos);
    placement.MinPosition = {f[0].value_or(0), f[1].value_or(0)};
    placement.MaxPosition = {f[2].value_or(0), f[3].value_or(0)};
  }

  if (HasText(stored.NormPos)) {
    found = true;
    const auto f = ParsePlacementFields(*stored.NormPos);
    TRect& r = placement.NormalPosition;
    r.left = f[0].value_or(current.NormalPosition.left);
    r.top = f[1].value_or(current.NormalPosition.top);
    // A missing right or bottom keeps the window's present size at the stored
    // left and top.
    r.right = f[2] ? *f[2] : Saturate(r.left + current_width);
    r.bottom = f[3] ? *f[3] : Saturate(r.top + current_height);
  }

  // Positions written at another screen resolution would put the window in the
  // wrong place; the window then keeps its designed position.
  const std::optional<int> stored_ppi =
      stored.PixelsPerInch ? ParsePlacementNumber(*stored.PixelsPerInch) : std::nullopt;
  if (!stored_ppi || *stored_ppi != pixels_per_inch) found = false;

  TPlacementDecision decision;
  if (found) {
    TRect& r = placement.NormalPosition;
    if (!resizable) {
      r.right = Saturate(r.left + current_width);
      r.bottom = Saturate(r.top + current_height);
    }
    if (r.left < r.right) decision.Placement = placement;
  }

  const std::optional<int> show_cmd =
      stored.ShowCmd ? ParsePlacementNumber(*stored.ShowCmd) : std::nullopt;
  decision.State = StateFromShowCmd(show_cmd.value_or(0));
  return decision;
}

bool WritePlacementValues(IRegistryKey& key, const TPlacementSnapshot& snapshot) {
  const TWindowPlacementRecord& p = snapshot.Placement;
  const int show_cmd = snapshot.Minimized ? kShowCmdMinimized : p.ShowCmd;
  // A store that refuses a write must not keep the window from closing; the
  // placement is simply not remembered.
  try {
    key.WriteString(kFlags, std::to_string(p.Flags));
    key.WriteString(kShowCmd, std::to_string(show_cmd));
    key.WriteString(kPixelsPerInch, std::to_string(snapshot.PixelsPerInch));
    key.WriteString(kVisible, snapshot.Visible ? "1" : "0");
    key.WriteString(kMinMaxPos, FormatPlacementPoints(p.MinPosition, p.MaxPosition));
    key.WriteString(kNormPos, FormatPlacementRect(p.NormalPosition));
  } catch (const Exception&) {
    return false;
  }
  return true;
}

bool StorePlacement(IRegistry& registry, const std::string& subkey_path,
                    const TPlacementSnapshot& snapshot) {
  auto key = registry.Open(TRegistryRoot::CurrentUser, subkey_path, true);
  if (!key) return false;
  return WritePlacementValues(*key, snapshot);
}

std::optional<TStoredPlacement> LoadStoredPlacement(IRegistry& registry,
                                                    const std::string& subkey_path) {
  auto key = registry.Open(TRegistryRoot::CurrentUser, subkey_path, false);
  if (!key) return std::nullopt;
  TStoredPlacement stored;
  stored.Flags = key->ReadString(kFlags);
  stored.ShowCmd = key->ReadString(kShowCmd);
  stored.PixelsPerInch = key->ReadString(kPixelsPerInch);
  stored.MinMaxPos = key->ReadString(kMinMaxPos);
  stored.NormPos = key->ReadString(kNormPos);
  return stored;
}

TWindowPlacementRecord ConvertPlacementDpi(const TWindowPlacementRecord& record, int from_dpi,
                                           int to_dpi) {
  TWindowPlacementRecord r = record;
  r.MinPosition = ConvertDpi(record.MinPosition, from_dpi, to_dpi);
  r.MaxPosition = ConvertDpi(record.MaxPosition, from_dpi, to_dpi);
  r.NormalPosition = ConvertDpi(record.NormalPosition, from_dpi, to_dpi);
  return r;
}
