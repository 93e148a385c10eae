// How fast dates are built (weekday and lunar conversion) over the whole
// lunar range, 1901-02-19 to 2099-12-31. The views build one date per drawn
// day cell, so this bounds what drawing a month costs in conversions.
#include <cstdio>

#include "BenchSupport.h"
#include "calendar/CHSDate.h"
#include "calendar/LunarNames.h"

int main() {
  int days = 0;
  long long checksum = 0;  // keeps the conversions from being optimised away
  const double ms = bench::BestOf(5, [&] {
    days = 0;
    checksum = 0;
    for (int year = 1901; year <= 2099; ++year)
      for (int month = 1; month <= 12; ++month)
        for (int day = 1, last = GetDaysOfMonth(month, year); day <= last; ++day) {
          if (year == 1901 && (month == 1 || (month == 2 && day < 19))) continue;
          CCHSDate date(year, month, day);
          checksum += date.LunarDay() + date.LunarMonth() + date.WeekDay();
          ++days;
        }
  });
  std::printf("%d days converted in %.1f ms (checksum %lld)\n", days, ms, checksum);
  bench::Report("lunar conversion, every day 1901-02-19..2099-12-31", days / (ms / 1000.0), "days/s",
                "best of 5");

  // The same days reached by stepping, as a view walks from its first day.
  const double stepMs = bench::BestOf(5, [&] {
    CCHSDate date(1901, 2, 19);
    const CCHSDate last(2099, 12, 31);
    checksum = 0;
    do checksum += date.LunarDay();
    while (date < last && date.NextDay());
  });
  bench::Report("NextDay over the same range", days / (stepMs / 1000.0), "days/s", "best of 5");

  // A lunar text fetches its names from the resource library at every call
  // (each lookup reads the language setting); a month view asks for 42 per
  // paint. Loading every name at once is what a per-call reload would cost.
  const int texts = 2000;
  const double textMs = bench::BestOf(3, [&] {
    CCHSDate date(2023, 1, 1);
    checksum = 0;
    for (int i = 0; i < texts; ++i, date.NextDay())
      checksum += static_cast<long long>(date.GetLunarText(true, true).size());
  });
  bench::Report("GetLunarText (month and day names)", texts / (textMs / 1000.0), "texts/s", "best of 3");
  const int loads = 200;
  const double loadMs = bench::BestOf(3, [&] {
    CLunarNames names;
    for (int i = 0; i < loads; ++i) LoadLunarNames(names);
  });
  bench::Report("LoadLunarNames (all 55 names)", loads / (loadMs / 1000.0), "loads/s", "best of 3");
  return 0;
}
