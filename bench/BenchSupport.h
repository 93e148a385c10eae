// Small helpers for the benchmark programs: a stopwatch and a uniform way to
// report a figure, so scripts/bench.sh can collect the lines.
#pragma once
#include <algorithm>
#include <chrono>
#include <string>
#include <vector>

namespace bench {

class Stopwatch {
 public:
  Stopwatch() : m_start(std::chrono::steady_clock::now()) {}
  double Seconds() const {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - m_start).count();
  }
  double Milliseconds() const { return Seconds() * 1000.0; }
  void Restart() { m_start = std::chrono::steady_clock::now(); }

 private:
  std::chrono::steady_clock::time_point m_start;
};

// Prints "BENCH <name>: <value> <unit>" (and an optional note) to stdout.
void Report(const std::string& name, double value, const std::string& unit, const std::string& note = "");

// Runs `body` `repeats` times and answers the best (smallest) time in ms:
// the least disturbed run on a shared machine.
template <class F>
double BestOf(int repeats, F body) {
  double best = 1e300;
  for (int i = 0; i < repeats; ++i) {
    Stopwatch watch;
    body();
    double ms = watch.Milliseconds();
    if (ms < best) best = ms;
  }
  return best;
}

// The median and the worst of a run's measurements (0 for none).
inline double Median(std::vector<double> values) {
  if (values.empty()) return 0;
  std::sort(values.begin(), values.end());
  const size_t n = values.size();
  return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}
inline double Worst(const std::vector<double>& values) {
  return values.empty() ? 0 : *std::max_element(values.begin(), values.end());
}

}  // namespace bench
