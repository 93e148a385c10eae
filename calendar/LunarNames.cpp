#include "LunarNames.h"

#include "frame/suite/ResourceLibrary.h"

namespace {

std::wstring MonthKey(int month) { return L"calendar.lunarday.month." + std::to_wstring(month); }
std::wstring DayKey(int day) { return L"calendar.lunarday." + std::to_wstring(day); }
constexpr wchar_t kIntercalaryKey[] = L"calendar.lunar.intercalary";
std::wstring DigitKey(int digit) { return L"comm.chinese.number." + std::to_wstring(digit); }

bool Fetch(const std::wstring& key, std::wstring& text) {
  text.clear();
  return GetString(key, text);
}

std::wstring Fetch(const std::wstring& key) {
  std::wstring text;
  GetString(key, text);
  return text;
}

}  // namespace

bool LoadLunarNames(CLunarNames& names) {
  bool complete = true;
  for (int i = 0; i < 12; ++i) complete &= Fetch(MonthKey(i + 1), names.m_months[i]);
  for (int i = 0; i < 30; ++i) complete &= Fetch(DayKey(i + 1), names.m_days[i]);
  complete &= Fetch(kIntercalaryKey, names.m_intercalary);
  for (int i = 0; i < 10; ++i) complete &= Fetch(DigitKey(i), names.m_digits[i]);
  return complete;
}

std::wstring GetLunarMonthName(int month) { return Fetch(MonthKey(month)); }
std::wstring GetLunarDayName(int day) { return Fetch(DayKey(day)); }
std::wstring GetLunarIntercalaryPrefix() { return Fetch(kIntercalaryKey); }
