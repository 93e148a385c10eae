#include "BenchSupport.h"

#include <cstdio>

namespace bench {

void Report(const std::string& name, double value, const std::string& unit, const std::string& note) {
  std::printf("BENCH %s: %.3f %s%s%s\n", name.c_str(), value, unit.c_str(), note.empty() ? "" : "  # ",
              note.c_str());
  std::fflush(stdout);
}

}  // namespace bench
