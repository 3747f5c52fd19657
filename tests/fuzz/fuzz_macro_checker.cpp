// libFuzzer target: any bytes as a macro. The checker must neither crash nor
// hang, and every problem must point into its line.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "language/MacroChecker.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  TMacroCheckOptions options;
  options.check_includes = false;
  options.utf8 = size > 0 && (data[0] & 1);
  const TMacroTextLines lines(text);
  const TMacroCheckResult result = CheckMacro(lines, options);
  for (const TMacroProblem& p : result.problems) {
    if (p.line < 0 || p.line >= lines.LineCount() || p.column < 0 || p.length < 0 ||
        p.column + p.length > static_cast<int>(lines.Line(p.line).size())) {
      std::abort();
    }
  }
  return 0;
}
