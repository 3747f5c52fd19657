#include "platform/ProgramDir.h"

std::string JoinProgramDir(const std::string& dir, const std::string& name) {
  if (dir.empty() || dir.back() == '\\') return dir + name;
  return dir + "\\" + name;
}
