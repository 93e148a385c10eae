// The local wall-clock time, with a seam for tests that need to move the date
// (the midnight rule of the calendar's "today").
#pragma once
#include <windows.h>

#include <functional>

namespace wf {

// The local time (GetLocalTime), or the test clock's when one is set.
SYSTEMTIME LocalTime();

// Installs (or, with an empty function, removes) a clock.
void SetClock(std::function<SYSTEMTIME()> clock);

}  // namespace wf
