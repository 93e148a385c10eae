// The suite's language setting as the calendar reads it: the string value
// "LanguageId" of HKEY_CURRENT_USER\Software\Norvane\Tamix.
#pragma once

enum : int {
  kLanguageChineseSimplified = 0,   // "Chinese(Simplified)"
  kLanguageChineseTraditional = 1,  // "Chinese(Traditional)"
  kLanguageEnglish = 2,             // "English(United States)"
  kLanguageOther = 3,               // anything else, or no setting at all
};

// 0..3 as above, read afresh at every call (the user may switch the suite's
// language at any time). Never fails: a missing key or value, a value of
// another type or longer than 256 bytes, or an unknown name all give 3.
int GetLanguageId();

// True for the languages in which the calendar shows lunar dates.
inline bool ShowsLunarDates(int languageId) {
  return languageId == kLanguageChineseSimplified || languageId == kLanguageChineseTraditional;
}
