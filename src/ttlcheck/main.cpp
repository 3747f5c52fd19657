// The checker's entry point where file names are bytes, as on Linux.
#include <cstdio>

#include "TtlCheckRun.h"

namespace {

class TStdOutput : public ITtlCheckOutput {
 public:
  void Out(std::string_view line) override { Write(stdout, line); }
  void Err(std::string_view line) override { Write(stderr, line); }

 private:
  static void Write(std::FILE* stream, std::string_view line) {
    std::fwrite(line.data(), 1, line.size(), stream);
    std::fputc('\n', stream);
  }
};

}  // namespace

int main(int argc, char** argv) {
  TStdOutput output;
  const int code = RunTtlCheck(std::vector<std::string>(argv + 1, argv + argc), output);
  std::fflush(stdout);
  return code;
}
