// The phrase picker of the shared-dialog library, driven as a user does: by
// mouse and keyboard on the real dialog, in the suite's language.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "TestSupport.h"
#include "dialogs/JorvHelperIds.h"
#include "frame/suite/ResourceLibrary.h"
#include "frame/suite/SharedDialogs.h"
#include "framework/Text.h"
#include "standins/dialogs/JorvAutomation.h"

namespace {

using testing_support::AnswerWhenShown;
using testing_support::PressButton;

std::wstring Text(const std::wstring& key) {
  std::wstring text;
  GetString(key, text);
  return text;
}

// The phrases as the resource library numbers them, in the current language.
std::vector<std::wstring> NumberedPhrases() {
  std::vector<std::wstring> phrases;
  std::wstring text;
  while (GetString(L"jorvhelper.phrase." + std::to_wstring(phrases.size() + 1), text)) phrases.push_back(text);
  return phrases;
}

// The suite's language for one test, kept apart from the real setting: this
// process's HKEY_CURRENT_USER points at a private key meanwhile, so that
// test programs running at the same time keep their own language.
class PrivateLanguage {
 public:
  PrivateLanguage() {
    m_path = L"Software\\PimTests\\phrases-" + std::to_wstring(::GetCurrentProcessId());
    m_ok = ::RegCreateKeyExW(HKEY_CURRENT_USER, m_path.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &m_root,
                             nullptr) == ERROR_SUCCESS &&
           ::RegOverridePredefKey(HKEY_CURRENT_USER, m_root) == ERROR_SUCCESS;
  }
  ~PrivateLanguage() {
    ::RegOverridePredefKey(HKEY_CURRENT_USER, nullptr);
    if (m_root) ::RegCloseKey(m_root);
    ::RegDeleteTreeW(HKEY_CURRENT_USER, m_path.c_str());
    ::RegDeleteKeyW(HKEY_CURRENT_USER, L"Software\\PimTests");  // only when no other run left a key there
  }
  PrivateLanguage(const PrivateLanguage&) = delete;
  PrivateLanguage& operator=(const PrivateLanguage&) = delete;
  bool Set(const std::wstring& value) {
    return m_ok &&
           ::RegSetKeyValueW(HKEY_CURRENT_USER, L"Software\\Norvane\\Tamix", L"LanguageId", REG_SZ, value.c_str(),
                             static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t))) == ERROR_SUCCESS;
  }

 private:
  std::wstring m_path;
  HKEY m_root = nullptr;
  bool m_ok = false;
};

HWND List(HWND dialog) { return ::GetDlgItem(dialog, IDC_JORV_PHRASE_LIST); }
bool OkEnabled(HWND dialog) { return ::IsWindowEnabled(::GetDlgItem(dialog, IDOK)) != FALSE; }
LRESULT Selected(HWND dialog) { return ::SendMessageW(List(dialog), LB_GETCURSEL, 0, 0); }

std::vector<std::wstring> Rows(HWND dialog) {
  std::vector<std::wstring> rows;
  auto count = static_cast<int>(::SendMessageW(List(dialog), LB_GETCOUNT, 0, 0));
  for (int i = 0; i < count; ++i) {
    std::wstring row(static_cast<size_t>(::SendMessageW(List(dialog), LB_GETTEXTLEN, i, 0)) + 1, L'\0');
    auto length = ::SendMessageW(List(dialog), LB_GETTEXT, i, reinterpret_cast<LPARAM>(row.data()));
    row.resize(length > 0 ? static_cast<size_t>(length) : 0);
    rows.push_back(row);
  }
  return rows;
}

// The middle of a row in the list's client coordinates, for the mouse.
LPARAM RowMiddle(HWND list, int row) {
  RECT rc{};
  ::SendMessageW(list, LB_GETITEMRECT, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&rc));
  return MAKELPARAM((rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2);
}

// A click on a row, sent: when it returns the list has selected the row and
// told the dialog.
void ClickRow(HWND dialog, int row) {
  LPARAM at = RowMiddle(List(dialog), row);
  ::SendMessageW(List(dialog), WM_LBUTTONDOWN, MK_LBUTTON, at);
  ::SendMessageW(List(dialog), WM_LBUTTONUP, 0, at);
}

// A double click on a row, posted as the mouse's messages come, for the
// dialog's own loop.
void DoubleClickRow(HWND dialog, int row) {
  LPARAM at = RowMiddle(List(dialog), row);
  ::PostMessageW(List(dialog), WM_LBUTTONDOWN, MK_LBUTTON, at);
  ::PostMessageW(List(dialog), WM_LBUTTONUP, 0, at);
  ::PostMessageW(List(dialog), WM_LBUTTONDBLCLK, MK_LBUTTON, at);
  ::PostMessageW(List(dialog), WM_LBUTTONUP, 0, at);
}

// A key pressed in the list: posted, so that the dialog manager of the modal
// loop sees it as it sees typing (Enter and Escape are its keys).
void PressKey(HWND dialog, UINT key) {
  ::PostMessageW(List(dialog), WM_KEYDOWN, key, 1);
  ::PostMessageW(List(dialog), WM_KEYUP, key, 0xC0000001);
}

// Posted behind what the user did: should that not end the dialog, this
// cancels it, and the test fails on the answer instead of waiting for ever.
void ThenCancel(HWND dialog) { PressButton(dialog, IDCANCEL); }

class PhrasePickerTest : public ::testing::Test {
 protected:
  void SetUp() override {
    JorvAutomation::Reset();
    JorvAutomation::SetUnattended(false);
  }
  void TearDown() override {
    JorvAutomation::SetUnattended(false);
    JorvAutomation::Reset();
  }
};

TEST_F(PhrasePickerTest, ADoubleClickedPhraseIsAnsweredInTheSuitesLanguage) {
  PrivateLanguage language;
  ASSERT_TRUE(language.Set(L"English(United States)"));
  const std::wstring english = Text(L"jorvhelper.phrase.3");
  ASSERT_TRUE(language.Set(L"Chinese(Simplified)"));
  const std::vector<std::wstring> phrases = NumberedPhrases();
  ASSERT_GE(phrases.size(), 10u);
  ASSERT_NE(phrases[2], english);

  HWND owner = testing_support::CreateTestParent();
  ::ShowWindow(owner, SW_SHOW);
  ::SetActiveWindow(owner);
  std::wstring phrase = L"typed before";
  AnswerWhenShown user(Text(L"jorvhelper.phrase.title"), [&](HWND dialog) {
    EXPECT_EQ(::GetWindow(dialog, GW_OWNER), owner);
    EXPECT_FALSE(::IsWindowEnabled(owner)) << "modal over the active window";
    EXPECT_EQ(Rows(dialog), phrases) << "every phrase in number order";
    EXPECT_EQ(Selected(dialog), LB_ERR);
    EXPECT_FALSE(OkEnabled(dialog)) << "nothing to choose yet";
    DoubleClickRow(dialog, 2);
    ThenCancel(dialog);
  });
  EXPECT_EQ(JorvSelectPhrase(phrase), 1);
  EXPECT_TRUE(user.acted());
  EXPECT_EQ(phrase, phrases[2]);
  EXPECT_TRUE(::IsWindowEnabled(owner)) << "the owner is given back";
  auto journal = JorvAutomation::TakeJournal();
  ASSERT_EQ(journal.size(), 1u);
  EXPECT_EQ(journal[0].function, L"JorvSelectPhrase");
  ::DestroyWindow(owner);
}

// OK and Enter do nothing until a row is selected; a row is then read whole,
// however long its phrase.
TEST_F(PhrasePickerTest, OkWaitsForASelectionThenEnterChoosesTheSelectedPhraseReadWhole) {
  PrivateLanguage language;
  ASSERT_TRUE(language.Set(L"English(United States)"));
  const std::vector<std::wstring> phrases = NumberedPhrases();
  ASSERT_GE(phrases.size(), 2u);
  std::wstring phrase;
  AnswerWhenShown user(Text(L"jorvhelper.phrase.title"), [&](HWND dialog) {
    EXPECT_FALSE(OkEnabled(dialog));
    // What Enter or a stray click sends, while nothing is selected.
    ::SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED),
                   reinterpret_cast<LPARAM>(::GetDlgItem(dialog, IDOK)));
    EXPECT_TRUE(::IsWindowVisible(dialog)) << "OK without a selection ended the dialog";

    // Every row is tall enough for its phrase wrapped to the row's width.
    HWND list = List(dialog);
    HDC dc = ::GetDC(list);
    HGDIOBJ old = ::SelectObject(dc, reinterpret_cast<HGDIOBJ>(::SendMessageW(list, WM_GETFONT, 0, 0)));
    TEXTMETRICW metrics{};
    ::GetTextMetricsW(dc, &metrics);
    bool wrapped = false;
    for (size_t i = 0; i < phrases.size(); ++i) {
      RECT row{};
      ::SendMessageW(list, LB_GETITEMRECT, i, reinterpret_cast<LPARAM>(&row));
      SIZE oneLine{};
      ::GetTextExtentPoint32W(dc, phrases[i].c_str(), static_cast<int>(phrases[i].size()), &oneLine);
      long lines = (oneLine.cx + (row.right - row.left) - 1) / (row.right - row.left);
      wrapped = wrapped || lines > 1;
      EXPECT_GE(row.bottom - row.top, lines * metrics.tmHeight) << "row " << i << " cuts its phrase";
    }
    ::SelectObject(dc, old);
    ::ReleaseDC(list, dc);
    EXPECT_TRUE(wrapped) << "no phrase is longer than a row: the check above proves nothing";

    ClickRow(dialog, 1);
    EXPECT_EQ(Selected(dialog), 1);
    EXPECT_TRUE(OkEnabled(dialog)) << "a row is selected";
    PressKey(dialog, VK_RETURN);
    ThenCancel(dialog);
  });
  EXPECT_EQ(JorvSelectPhrase(phrase), 1);
  EXPECT_TRUE(user.acted());
  EXPECT_EQ(phrase, phrases[1]);
}

TEST_F(PhrasePickerTest, CancelEscapeTheCloseBoxAndClosingAnswerZeroAndLeaveThePhrase) {
  const std::wstring title = Text(L"jorvhelper.phrase.title");
  const std::vector<std::pair<const char*, std::function<void(HWND)>>> ways = {
      {"Cancel", [](HWND dialog) { PressButton(dialog, IDCANCEL); }},
      {"the close box", [](HWND dialog) { PressButton(dialog, IDC_JORV_PHRASE_CLOSE); }},
      {"Escape", [](HWND dialog) { PressKey(dialog, VK_ESCAPE); }},
      {"closing the window", [](HWND dialog) { ::SendMessageW(dialog, WM_CLOSE, 0, 0); }},  // Alt+F4
  };
  for (const auto& [name, leave] : ways) {
    std::wstring phrase = L"typed before";
    AnswerWhenShown user(title, [&](HWND dialog) {
      ClickRow(dialog, 0);  // chosen, then given up
      leave(dialog);
      DoubleClickRow(dialog, 0);  // would choose, should the dialog still be open
    });
    EXPECT_EQ(JorvSelectPhrase(phrase), 0) << name;
    EXPECT_TRUE(user.acted()) << name;
    EXPECT_EQ(phrase, L"typed before") << name;
  }
}

TEST_F(PhrasePickerTest, UnattendedItAnswersZeroWithoutAWindow) {
  JorvAutomation::SetUnattended(true);
  std::wstring phrase = L"typed before";
  // Should a dialog show after all, it is cancelled so that the test goes on to fail.
  AnswerWhenShown user(Text(L"jorvhelper.phrase.title"), [](HWND dialog) { PressButton(dialog, IDCANCEL); });
  testing_support::WindowCreationCount created;
  ASSERT_TRUE(created.hooked());
  EXPECT_EQ(JorvSelectPhrase(phrase), 0);
  EXPECT_EQ(created.count(), 0);
  EXPECT_FALSE(user.acted());
  EXPECT_EQ(phrase, L"typed before");
  auto journal = JorvAutomation::TakeJournal();
  ASSERT_EQ(journal.size(), 1u) << "the call is journaled all the same";
  EXPECT_EQ(journal[0].function, L"JorvSelectPhrase");
}

}  // namespace
