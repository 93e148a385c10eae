// The resource library: its tables, the language setting, and lookups.
#include <gtest/gtest.h>
#include "framework/GdiPlus.h"

#include <regex>
#include <set>
#include <string>

#include "ResourceTables.h"
#include "standins/res/ResourceTools.h"
#include "framework/Text.h"

namespace {

using tamixres::Tables;

TEST(ResourceTables, RowsKeepTheirEscapesCommentsAndLineNumbers) {
  std::string table =
      "\xEF\xBB\xBF# comment\r\n"
      "a.key\tLine\\none\tTab\\there\tBack\\\\slash\r\n"
      "\n"
      "b.key\t\t\t\n";
  auto rows = tamixres::ParseTable(table);
  ASSERT_EQ(rows.size(), 2u);
  EXPECT_EQ(rows[0].line, 2);
  EXPECT_EQ(rows[0].fields, (std::vector<std::wstring>{L"a.key", L"Line\none", L"Tab\there", L"Back\\slash"}));
  EXPECT_EQ(rows[1].line, 4);
  EXPECT_EQ(rows[1].fields.size(), 4u);  // empty fields are kept
}

TEST(ResourceTables, MissingTranslationsFallBackAndBadRowsAreReported) {
  Tables tables;
  tamixres::LoadTexts("k1\tHello\t\t\nk2\tonly two\tfields\nk3\t\tnot english\tx\n", tables);
  ASSERT_EQ(tables.texts.count(L"k1"), 1u);
  const auto& k1 = tables.texts[L"k1"];
  EXPECT_EQ(k1.byLanguage[0], L"Hello");
  EXPECT_EQ(k1.byLanguage[1], L"Hello");
  EXPECT_EQ(tables.texts.count(L"k2"), 0u);
  EXPECT_EQ(tables.texts.count(L"k3"), 0u);
  ASSERT_EQ(tables.problems.size(), 2u);
  EXPECT_NE(tables.problems[0].find(L"line 2"), std::wstring::npos);

  tamixres::LoadColors("c1\t#FF102030\nc2\t#102030\nc3\t#GG102030\n", tables);
  EXPECT_EQ(tables.colors[L"c1"], 0xFF102030u);
  EXPECT_EQ(tables.colors.count(L"c2") + tables.colors.count(L"c3"), 0u);
  tamixres::LoadFonts("f1\tTahoma\t9.5\t1\nf2\tTahoma\tbig\t0\nf3\tTahoma\t9\t16\n", tables);
  EXPECT_DOUBLE_EQ(tables.fonts[L"f1"].size, 9.5);
  EXPECT_EQ(tables.fonts.count(L"f2") + tables.fonts.count(L"f3"), 0u);
  tamixres::LoadImages("i1.png\t420\t37\t5\th\ni2.png\t0\t10\t1\t1\n", tables);
  EXPECT_EQ(tables.images[L"i1.png"].frames, 5);
  EXPECT_EQ(tables.images.count(L"i2.png"), 0u);
  EXPECT_EQ(tables.problems.size(), 2u + 2u + 2u + 1u);
}

TEST(ResourceTables, LanguageSettingNames) {
  EXPECT_EQ(tamixres::LanguageFromSetting(L"Chinese(Simplified)"), 0);
  EXPECT_EQ(tamixres::LanguageFromSetting(L"Chinese(Traditional)"), 1);
  EXPECT_EQ(tamixres::LanguageFromSetting(L"English(United States)"), 2);
  EXPECT_EQ(tamixres::LanguageFromSetting(L""), 2);
  EXPECT_EQ(tamixres::LanguageFromSetting(L"chinese(simplified)"), 2) << "the setting is matched exactly";
}

// The suite's language setting for one test, kept apart from the real one:
// this process's HKEY_CURRENT_USER points at a private key meanwhile, so
// test programs running at the same time, which read their texts through
// the real setting, never see this test's languages.
class LanguageSetting {
 public:
  LanguageSetting() {
    m_path = L"Software\\PimTests\\resources-" + std::to_wstring(::GetCurrentProcessId());
    m_ok = ::RegCreateKeyExW(HKEY_CURRENT_USER, m_path.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &m_root,
                             nullptr) == ERROR_SUCCESS &&
           ::RegOverridePredefKey(HKEY_CURRENT_USER, m_root) == ERROR_SUCCESS;
    EXPECT_TRUE(m_ok) << "no private setting";
  }
  ~LanguageSetting() {
    ::RegOverridePredefKey(HKEY_CURRENT_USER, nullptr);
    if (m_root) ::RegCloseKey(m_root);
    ::RegDeleteTreeW(HKEY_CURRENT_USER, m_path.c_str());
    ::RegDeleteKeyW(HKEY_CURRENT_USER, L"Software\\PimTests");  // only when no other run left a key there
  }
  bool ok() const { return m_ok; }
  void Set(const std::wstring& value) {
    EXPECT_EQ(::RegSetKeyValueW(HKEY_CURRENT_USER, kKey, L"LanguageId", REG_SZ, value.c_str(),
                                static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t))),
              ERROR_SUCCESS);
  }
  void Remove() { ::RegDeleteKeyValueW(HKEY_CURRENT_USER, kKey, L"LanguageId"); }

 private:
  static constexpr const wchar_t* kKey = L"Software\\Norvane\\Tamix";
  std::wstring m_path;
  HKEY m_root = nullptr;
  bool m_ok = false;
};

TEST(ResourceLibrary, TextsFollowTheLanguageSettingReadAfreshEachCall) {
  LanguageSetting language;
  ASSERT_TRUE(language.ok());
  std::wstring text;
  language.Remove();
  EXPECT_EQ(GetTextLanguage(), 2);
  ASSERT_TRUE(GetString(L"common.button.ok", text));
  EXPECT_EQ(text, L"OK");
  language.Set(L"Chinese(Simplified)");
  ASSERT_TRUE(GetString(L"common.button.ok", text));
  EXPECT_EQ(text, L"确定");
  language.Set(L"Chinese(Traditional)");
  ASSERT_TRUE(GetString(L"common.button.ok", text));
  EXPECT_EQ(text, L"確定");
  language.Set(L"Klingon");
  ASSERT_TRUE(GetString(L"common.button.ok", text));
  EXPECT_EQ(text, L"OK");
}

TEST(ResourceLibrary, AnUnknownKeyShowsItselfAndAnswersFalse) {
  std::wstring text = L"unchanged";
  EXPECT_FALSE(GetString(L"pim.no.such.key", text));
  EXPECT_EQ(text, L"pim.no.such.key");
  Gdiplus::Image* image = reinterpret_cast<Gdiplus::Image*>(1);
  EXPECT_FALSE(GetImage(L"no_such_image.png", image));
  EXPECT_EQ(image, nullptr);
  std::wstring face = L"x";
  double size = 1;
  int32_t style = 3;
  EXPECT_FALSE(GetFontEx(L"tamix_font_none", face, size, style));
  EXPECT_EQ(face, L"x") << "outputs of an unknown key stay as the caller set them";
  uint32_t color = 7;
  EXPECT_FALSE(GetColor(L"tamix_color_none", color));
  EXPECT_EQ(color, 7u);
}

TEST(ResourceLibrary, ImagesHaveTheirTableSizeAndAreMadeOnce) {
  Gdiplus::Image* first = nullptr;
  ASSERT_TRUE(GetImage(L"comm_button.png", first));
  ASSERT_NE(first, nullptr);
  EXPECT_EQ(first->GetWidth(), 5u * 84u) << "five 84 x 37 frames side by side";
  EXPECT_EQ(first->GetHeight(), 37u);
  Gdiplus::Image* again = nullptr;
  GetImage(L"comm_button.png", again);
  EXPECT_EQ(again, first);
  Gdiplus::Image* gif = nullptr;
  EXPECT_TRUE(GetImage(L"common_waiting_samll.gif", gif));
  EXPECT_NE(gif, nullptr);
}

TEST(ResourceLibrary, FontsAndColoursOfTheTheme) {
  std::wstring face;
  double size = 0;
  int32_t style = -1;
  ASSERT_TRUE(GetFontEx(L"tamix_font_gdione", face, size, style));
  EXPECT_FALSE(face.empty());
  EXPECT_GT(size, 5.0);
  EXPECT_GE(style, 0);
  BYTE a = 0, r = 0, g = 0, b = 0;
  ASSERT_TRUE(GetColorARGB(L"tamix_color_one", a, r, g, b));
  uint32_t color = 0;
  ASSERT_TRUE(GetColor(L"tamix_color_one", color));
  EXPECT_EQ(color, static_cast<uint32_t>(RGB(r, g, b)));
}

// Reads the text table exactly as built into the library.
std::string BuiltInTable(const wchar_t* name) {
  HMODULE library = ::GetModuleHandleW(L"TamixRes.dll");
  HRSRC info = ::FindResourceW(library, name, RT_RCDATA);
  if (!info) return {};
  return std::string(static_cast<const char*>(::LockResource(::LoadResource(library, info))),
                     ::SizeofResource(library, info));
}

// The argument types a printf format takes, in order ("%04d-%02d" → "dd").
// Widths and flags may differ between languages ("%d年%d月"); the arguments may not.
std::wstring ArgumentTypes(const std::wstring& text) {
  static const std::wregex specifier(L"%[-+ #0]*[0-9]*(\\.[0-9]+)?(l|ll|h)?([dsuxXcf%])");
  std::wstring types;
  for (std::wsregex_iterator it(text.begin(), text.end(), specifier), end; it != end; ++it)
    if ((*it)[3] != L"%") types += (*it)[3].str();
  return types;
}

TEST(ResourceLibrary, EveryTextHasThreeLanguagesWithTheSameFormatArguments) {
  Tables tables;
  tamixres::LoadTexts(BuiltInTable(L"TEXTS"), tables);
  tamixres::LoadColors(BuiltInTable(L"COLORS"), tables);
  tamixres::LoadFonts(BuiltInTable(L"FONTS"), tables);
  tamixres::LoadImages(BuiltInTable(L"IMAGES"), tables);
  EXPECT_TRUE(tables.problems.empty()) << wf::ToUtf8(tables.problems.empty() ? L"" : tables.problems[0]);
  ASSERT_GT(tables.texts.size(), 150u);
  for (const auto& [key, entry] : tables.texts) {
    for (int language = 0; language < 2; ++language)
      EXPECT_EQ(ArgumentTypes(entry.byLanguage[language]), ArgumentTypes(entry.byLanguage[2]))
          << "format arguments of " << wf::ToUtf8(key) << " differ in language " << language;
  }
  EXPECT_EQ(ArgumentTypes(L"%04d-%02d %s 100%%"), L"dds");
  // The keys the frame needs exist.
  for (const wchar_t* key : {L"pim.app.name", L"common.contact", L"common.sms", L"common.calendar",
                             L"common.tamixtip.runningtask", L"common.messagebox.tamixtip"})
    EXPECT_EQ(tables.texts.count(key), 1u) << wf::ToUtf8(key);
  for (const wchar_t* key : {L"default_font", L"tamix_font_gdione", L"tamix_font_gditwo"})
    EXPECT_EQ(tables.fonts.count(key), 1u) << wf::ToUtf8(key);
  for (const wchar_t* key : {L"default_color", L"tamix_color_one", L"tamix_color_five", L"tamix_color_eight"})
    EXPECT_EQ(tables.colors.count(key), 1u) << wf::ToUtf8(key);
}

}  // namespace
