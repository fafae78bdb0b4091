#include "css/heap_pages.h"

#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <string>

namespace larkspur {
namespace {

constexpr char kTunables[] = "GLIBC_TUNABLES";
constexpr char kSetting[] = "glibc.malloc.hugetlb";
// Carries the user's own tunables across the restart: "+" and the value, or
// "-" when there were none.
constexpr char kUsersTunables[] = "LARKSPUR_USERS_GLIBC_TUNABLES";

void PutBackUsersTunables(const char* saved) {
    if (saved[0] == '+')
        ::setenv(kTunables, saved + 1, 1);
    else
        ::unsetenv(kTunables);
    ::unsetenv(kUsersTunables);
}

bool SystemHasHugePages() {
    std::string mode;
    std::getline(std::ifstream("/sys/kernel/mm/transparent_hugepage/enabled"), mode);
    return !mode.empty() && mode.find("[never]") == std::string::npos;
}

}  // namespace

void StartWithHugePageHeap(char** argv) {
    if (const char* saved = std::getenv(kUsersTunables)) {
        PutBackUsersTunables(std::string(saved).c_str());
        return;
    }
    const char* own = std::getenv(kTunables);
    const std::string users = own ? own : "";
    if (users.find(kSetting) != std::string::npos || !SystemHasHugePages()) return;
    const std::string saved = own ? "+" + users : "-";
    ::setenv(kUsersTunables, saved.c_str(), 1);
    ::setenv(kTunables, ((users.empty() ? "" : users + ":") + kSetting + "=1").c_str(), 1);
    ::execv("/proc/self/exe", argv);
    PutBackUsersTunables(saved.c_str());
}

}  // namespace larkspur
