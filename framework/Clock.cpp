#include "framework/Clock.h"

namespace wf {
namespace {
std::function<SYSTEMTIME()>& Clock() {
  static std::function<SYSTEMTIME()> clock;
  return clock;
}
}  // namespace

SYSTEMTIME LocalTime() {
  if (Clock()) return Clock()();
  SYSTEMTIME now;
  ::GetLocalTime(&now);
  return now;
}

void SetClock(std::function<SYSTEMTIME()> clock) { Clock() = std::move(clock); }

}  // namespace wf
