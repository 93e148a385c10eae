// The language setting and the lunar texts drawn from the resource library.
#include <windows.h>

#include <gtest/gtest.h>

#include <iterator>
#include <set>
#include <string>

#include "calendar/CHSDate.h"
#include "calendar/Language.h"
#include "calendar/LunarNames.h"

namespace {

constexpr wchar_t kSettingKey[] = L"Software\\Norvane\\Tamix";

// Points this process's HKEY_CURRENT_USER at a private key for each test, so
// the tests neither read nor disturb the suite's real setting, which other
// test programs running at the same time may be changing.
class LanguageSettingTest : public ::testing::Test {
 protected:
  void SetUp() override {
    m_path = L"Software\\PimTests\\calendar-" + std::to_wstring(::GetCurrentProcessId());
    ASSERT_EQ(::RegCreateKeyExW(HKEY_CURRENT_USER, m_path.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &m_root,
                                nullptr),
              ERROR_SUCCESS);
    ASSERT_EQ(::RegOverridePredefKey(HKEY_CURRENT_USER, m_root), ERROR_SUCCESS);
  }
  void TearDown() override {
    ::RegOverridePredefKey(HKEY_CURRENT_USER, nullptr);
    if (m_root) ::RegCloseKey(m_root);
    ::RegDeleteTreeW(HKEY_CURRENT_USER, m_path.c_str());
    ::RegDeleteKeyW(HKEY_CURRENT_USER, L"Software\\PimTests");  // only when no other run left a key there
  }

  static void SetValue(DWORD type, const void* data, DWORD bytes) {
    ASSERT_EQ(::RegSetKeyValueW(HKEY_CURRENT_USER, kSettingKey, L"LanguageId", type, data, bytes), ERROR_SUCCESS);
  }
  static void SetLanguage(const std::wstring& text) {
    SetValue(REG_SZ, text.c_str(), static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t)));
  }

 private:
  std::wstring m_path;
  HKEY m_root = nullptr;
};

// Read afresh at every call; anything but the three names, in any form, is 3.
TEST_F(LanguageSettingTest, KnownNamesAndEverythingElse) {
  EXPECT_EQ(GetLanguageId(), kLanguageOther) << "no key";
  SetLanguage(L"Chinese(Simplified)");
  EXPECT_EQ(GetLanguageId(), kLanguageChineseSimplified);
  SetLanguage(L"Chinese(Traditional)");
  EXPECT_EQ(GetLanguageId(), kLanguageChineseTraditional);
  SetLanguage(L"English(United States)");
  EXPECT_EQ(GetLanguageId(), kLanguageEnglish);
  for (const wchar_t* other : {L"", L"Klingon", L"chinese(simplified)", L"Chinese(Simplified) "}) {
    SetLanguage(other);
    EXPECT_EQ(GetLanguageId(), kLanguageOther) << other;
  }
  DWORD number = 0;
  SetValue(REG_DWORD, &number, sizeof number);
  EXPECT_EQ(GetLanguageId(), kLanguageOther) << "a number";
  ::RegDeleteKeyValueW(HKEY_CURRENT_USER, kSettingKey, L"LanguageId");
  EXPECT_EQ(GetLanguageId(), kLanguageOther) << "a key without the value";

  // Up to 256 bytes are read, the text ending at its terminator or at the
  // end of the value; a longer value is not a setting.
  const std::wstring simplified = L"Chinese(Simplified)";
  SetValue(REG_SZ, simplified.c_str(), static_cast<DWORD>(simplified.size() * sizeof(wchar_t)));
  EXPECT_EQ(GetLanguageId(), kLanguageChineseSimplified) << "no terminator";
  std::wstring padded = simplified;
  padded.resize(128, L'\0');
  padded[125] = L'x';
  SetValue(REG_SZ, padded.c_str(), static_cast<DWORD>(padded.size() * sizeof(wchar_t)));
  EXPECT_EQ(GetLanguageId(), kLanguageChineseSimplified) << "256 bytes, junk after the terminator";
  padded.resize(129, L'\0');
  SetValue(REG_SZ, padded.c_str(), static_cast<DWORD>(padded.size() * sizeof(wchar_t)));
  EXPECT_EQ(GetLanguageId(), kLanguageOther) << "258 bytes";
}

// Every name exists in every language and no two names of a kind are alike;
// the Chinese names are the customary ones.
TEST_F(LanguageSettingTest, LunarNamesExistInEveryLanguage) {
  for (const wchar_t* language : {L"Chinese(Simplified)", L"Chinese(Traditional)", L"English(United States)"}) {
    SetLanguage(language);
    CLunarNames names;
    ASSERT_TRUE(LoadLunarNames(names)) << "a lunar key is missing from the resource library";
    EXPECT_EQ(std::set<std::wstring>(std::begin(names.m_months), std::end(names.m_months)).size(), 12u);
    EXPECT_EQ(std::set<std::wstring>(std::begin(names.m_days), std::end(names.m_days)).size(), 30u);
    EXPECT_EQ(std::set<std::wstring>(std::begin(names.m_digits), std::end(names.m_digits)).size(), 10u);
    EXPECT_FALSE(names.m_intercalary.empty());
  }
  SetLanguage(L"Chinese(Simplified)");
  CLunarNames zh;
  LoadLunarNames(zh);
  const wchar_t* months[] = {L"正月", L"二月", L"三月", L"四月", L"五月", L"六月",
                             L"七月", L"八月", L"九月", L"十月", L"冬月", L"腊月"};
  const wchar_t* units[] = {L"十", L"一", L"二", L"三", L"四", L"五", L"六", L"七", L"八", L"九"};
  for (int i = 0; i < 12; ++i) EXPECT_EQ(zh.m_months[i], months[i]);
  for (int day = 1; day <= 30; ++day) {
    const wchar_t* tens = day <= 10 ? L"初" : day < 20 ? L"十" : day == 20 ? L"二" : day < 30 ? L"廿" : L"三";
    EXPECT_EQ(zh.m_days[day - 1], std::wstring(tens) + units[day % 10]) << day;
  }
  EXPECT_EQ(zh.m_intercalary, L"闰");
  for (int i = 1; i < 10; ++i) EXPECT_EQ(zh.m_digits[i], units[i]);
  EXPECT_EQ(zh.m_digits[0], L"〇");

  SetLanguage(L"Chinese(Traditional)");
  CLunarNames tw;
  LoadLunarNames(tw);
  EXPECT_EQ(tw.m_months[11], L"臘月");
  EXPECT_EQ(tw.m_intercalary, L"閏");
  EXPECT_EQ(tw.m_days[20], L"廿一");
}

TEST_F(LanguageSettingTest, LunarTextsFollowTheLanguageAtEveryCall) {
  const CCHSDate leapStart(2023, 3, 22), newYearsEve(2012, 1, 22);
  SetLanguage(L"Chinese(Simplified)");
  EXPECT_EQ(leapStart.GetLunarText(true, true), L"闰二月初一");
  EXPECT_EQ(leapStart.GetLunarText(false, true), L"初一");
  EXPECT_EQ(leapStart.GetLunarText(false, false), L"");
  EXPECT_EQ(newYearsEve.GetLunarText(true, true), L"腊月廿九");
  // A day cell shows the month on a month's first day and the day otherwise.
  EXPECT_EQ(leapStart.GetLunarCellText(), L"闰二月");
  EXPECT_EQ(CCHSDate(2012, 1, 23).GetLunarCellText(), L"正月");
  EXPECT_EQ(newYearsEve.GetLunarCellText(), L"廿九");

  SetLanguage(L"Chinese(Traditional)");
  EXPECT_EQ(leapStart.GetLunarText(true, true), L"閏二月初一");
  EXPECT_EQ(CCHSDate(2011, 1, 4).GetLunarCellText(), L"臘月");

  SetLanguage(L"English(United States)");
  EXPECT_EQ(leapStart.GetLunarText(true, true), L"Leap Month 2Day 1");
  EXPECT_EQ(leapStart.GetLunarCellText(), L"") << "no lunar text in English";
  SetLanguage(L"Klingon");
  EXPECT_EQ(newYearsEve.GetLunarCellText(), L"");
  ::RegDeleteKeyValueW(HKEY_CURRENT_USER, kSettingKey, L"LanguageId");
  EXPECT_EQ(newYearsEve.GetLunarCellText(), L"") << "nor without a setting";

  // From names fetched once, as a view drawing many days does.
  SetLanguage(L"Chinese(Simplified)");
  CLunarNames names;
  LoadLunarNames(names);
  EXPECT_EQ(CCHSDate(2033, 12, 22).GetLunarCellText(names, kLanguageChineseSimplified), L"闰冬月");
  EXPECT_EQ(CCHSDate(2033, 12, 22).GetLunarCellText(names, kLanguageEnglish), L"");
}

}  // namespace
