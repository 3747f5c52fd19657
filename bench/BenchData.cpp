#include "BenchData.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <random>

std::string GenerateTtlText(int lines) {
  static const char* const kLines[] = {
      "; log in to the router and collect counters",
      "connect '192.168.1.1:23 /nossh /T=1'",
      "wait 'login:' 'Username:' 'User Name:'",
      "sendln 'admin' ; the user name first",
      "wait 'Password:' ; then the password",
      "sendln password",
      ":loop ; every interface in turn",
      "\tsendln 'show interface Gi0/' ifname",
      "\twait '#' '>' ; the prompt is back",
      "\tif result=2 then ; user-mode shell",
      "\t\tgoto done",
      "\tendif",
      "    strconcat msg ' done with port'",
      "    i = i + 1 ; next interface number",
      "    if i < 10 goto loop",
      "messagebox 'Finished collecting' 'Quillon'",
      "for n 1 100 ; repeat the status query",
      "  sprintf2 line '%d: %s (%s)' n name status",
      "next",
      ":done ; close the connection cleanly",
      "closett",
      "sendln 'configure terminal' ; enter configuration mode before the interface",
      "\tsprintf2 cmd 'interface GigabitEthernet0/%d description uplink %s' i name",
      "    strconcat logline ' collected from ' ; the log line names the host and port",
      "waitregex '(Router|Switch)[0-9]*[#>]' ; any prompt of the lab devices will do",
      "filewriteln fhandle logline ; one line of the report for each interface seen",
  };
  constexpr int kCount = sizeof(kLines) / sizeof(kLines[0]);
  std::mt19937 rng(12345);
  std::string text;
  text.reserve(static_cast<size_t>(lines) * 44);
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
