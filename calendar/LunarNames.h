// The names in which lunar dates are written, fetched by key from the
// resource library in the language that the suite is set to.
#pragma once
#include <string>

class CLunarNames {
 public:
  std::wstring m_months[12];   // "calendar.lunarday.month.1" .. ".12"
  std::wstring m_days[30];     // "calendar.lunarday.1" .. ".30"
  std::wstring m_intercalary;  // "calendar.lunar.intercalary", put before a leap month's name
  std::wstring m_digits[10];   // "comm.chinese.number.0" .. ".9"
};

// Fetches every name afresh. Answers false when the library lacks a key; that
// name then reads as its key, so the gap shows on screen instead of a blank.
bool LoadLunarNames(CLunarNames& names);

// Single names, fetched afresh. Each fetch reads the language setting, so one
// date's text is much cheaper built from these than from LoadLunarNames.
std::wstring GetLunarMonthName(int month);  // 1..12
std::wstring GetLunarDayName(int day);      // 1..30
std::wstring GetLunarIntercalaryPrefix();
