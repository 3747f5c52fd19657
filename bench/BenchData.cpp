#include "BenchData.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <random>

std::string GenerateTtlText(int lines) {
  static const char* const kLines[] = {
      "; log in to the router and collect the interface counters",
      "connect '192.168.1.1:23 /nossh /T=1' ; telnet to the router",
      "wait 'login:' 'Username:' 'User Name:' ; any of the prompts",
      "sendln 'admin' ; the user name comes first, then the password",
      "wait 'Password:' ; the router asks for the password next",
      "sendln password ; typed from the variable set at the top",
      ":loop ; show every interface in turn until the list is done",
      "\tsendln 'show interface GigabitEthernet0/' ifname",
      "\twait '#' '>' ; the prompt is back when the output has ended",
      "\tif result=2 then ; the second prompt means a user-mode shell",
      "\t\tgoto done ; nothing more to collect in user mode",
      "\tendif ; otherwise carry on with the next interface",
      "    strconcat msg ' done with interface ' ; build the log text",
      "    i = i + 1 ; next interface number in the list of ports",
      "    if i < 10 goto loop ; ten interfaces on this router model",
      "messagebox 'Finished collecting the counters' 'Quillon sample'",
      "for n 1 100 ; repeat the status query a hundred times",
      "  sprintf2 line '%d: %s (%s)' n name status ; one log line",
      "next ; end of the status query loop over all the ports",
      ":done ; close the connection and leave the macro cleanly",
      "closett ; close Tera Term and end the macro right here",
  };
  constexpr int kCount = sizeof(kLines) / sizeof(kLines[0]);
  std::mt19937 rng(12345);
  std::string text;
  text.reserve(static_cast<size_t>(lines) * 60);
  for (int i = 0; i < lines; ++i) {
    text += kLines[rng() % kCount];
    text += "\r\n";
  }
  return text;
}

std::string WriteBenchFile(const std::string& name, const std::string& content) {
  const char* tmp = std::getenv("TMPDIR");
  std::string path = std::string(tmp && *tmp ? tmp : "/tmp") + "/" + name;
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(content.data(), static_cast<std::streamsize>(content.size()));
  return path;
}

double TimeShellCommand(const std::string& command, int runs) {
  double best = 1e30;
  for (int i = 0; i < runs; ++i) {
    auto start = std::chrono::steady_clock::now();
    int rc = std::system((command + " > /dev/null").c_str());
    auto end = std::chrono::steady_clock::now();
    if (rc != 0) return -1;
    best = std::min(best, std::chrono::duration<double>(end - start).count());
  }
  return best;
}

long long ResidentBytes() {
  std::FILE* f = std::fopen("/proc/self/statm", "r");
  if (!f) return 0;
  long long pages_total = 0, pages_resident = 0;
  if (std::fscanf(f, "%lld %lld", &pages_total, &pages_resident) != 2) pages_resident = 0;
  std::fclose(f);
  return pages_resident * 4096;
}
