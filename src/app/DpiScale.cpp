#include "app/DpiScale.h"

#include <cstdint>

namespace {

int ValidDpi(int dpi) { return dpi > 0 ? dpi : kDesignDpi; }

}  // namespace

int ConvertDpi(int value, int from_dpi, int to_dpi) {
  from_dpi = ValidDpi(from_dpi);
  to_dpi = ValidDpi(to_dpi);
  if (from_dpi == to_dpi) return value;
  const std::int64_t scaled = static_cast<std::int64_t>(value) * to_dpi * 2;
  const std::int64_t rounded =
      (scaled + (scaled < 0 ? -from_dpi : from_dpi)) / (static_cast<std::int64_t>(from_dpi) * 2);
  return static_cast<int>(rounded);
}

TRect ConvertDpi(const TRect& rect, int from_dpi, int to_dpi) {
  return {ConvertDpi(rect.left, from_dpi, to_dpi), ConvertDpi(rect.top, from_dpi, to_dpi),
          ConvertDpi(rect.right, from_dpi, to_dpi), ConvertDpi(rect.bottom, from_dpi, to_dpi)};
}

TPoint ConvertDpi(const TPoint& point, int from_dpi, int to_dpi) {
  if (point.x == -1 && point.y == -1) return point;
  return {ConvertDpi(point.x, from_dpi, to_dpi), ConvertDpi(point.y, from_dpi, to_dpi)};
}
