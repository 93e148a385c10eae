// The packed table of Chinese lunar years 1901..2099 and its decoding.
//
// One 32-bit descriptor per lunar year, indexed by (year - 1901), the lunar
// year being counted as the Gregorian year in which it begins:
//   bits 0..4    Gregorian day of month of the lunar new year
//   bits 5..6    Gregorian month of the lunar new year (1 or 2)
//   bits 7..19   month lengths in calendar order, bit 19 = first month;
//                1 = 30 days, 0 = 29 days (13 used when there is a leap month)
//   bits 20..23  the month after which the leap month comes, 0 = none
#pragma once
#include <cstdint>

namespace lunar {

inline constexpr int kFirstYear = 1901;
inline constexpr int kLastYear = 2099;
inline constexpr int kYearCount = kLastYear - kFirstYear + 1;  // 199

extern const uint32_t kYearTable[kYearCount];

// The descriptor of lunar year `year`, or 0 when the table does not cover it.
uint32_t YearDescriptor(int year);

inline int NewYearDay(uint32_t descriptor) { return static_cast<int>(descriptor & 0x1F); }
inline int NewYearMonth(uint32_t descriptor) { return static_cast<int>((descriptor >> 5) & 0x3); }
inline int LeapMonth(uint32_t descriptor) { return static_cast<int>((descriptor >> 20) & 0xF); }
inline int MonthCount(uint32_t descriptor) { return LeapMonth(descriptor) ? 13 : 12; }

// Length (29 or 30) of the month at `position` (0..12) in the year's order
// of months: 1, 2, ... L, leap L, L + 1, ... 12.
inline int MonthLength(uint32_t descriptor, int position) {
  return ((descriptor >> (19 - position)) & 1) ? 30 : 29;
}

}  // namespace lunar
