// The compose window of the shared-dialog library, driven as a user does,
// and the rules it follows as plain code: reading the recipients, counting
// the messages a text makes, and what a send or a save may go ahead with.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "TestSupport.h"
#include "dialogs/ComposeRules.h"
#include "dialogs/JorvHelperIds.h"
#include "frame/suite/ResourceLibrary.h"
#include "frame/suite/SharedDialogs.h"
#include "framework/Text.h"
#include "framework/Window.h"
#include "message/MessageData.h"
#include "message/MessageTime.h"
#include "standins/dialogs/JorvAutomation.h"

namespace {

using jorv::ComposeProblem;
using Message::CSMSData;
using testing_support::AnswerWhenShown;
using testing_support::PressButton;

std::wstring Text(const wchar_t* key) {
  std::wstring text;
  GetString(key, text);
  return text;
}

// --- recipients ----------------------------------------------------------------------

TEST(ComposeRecipients, SplitTrimmedWithoutEmptiesOrRepeatsAndTheFirstBadEntryNamed) {
  auto recipients = jorv::SplitRecipients(
      L" 13800138000 ; 139-0013-9000,,\x3000\xFF1B (010) 6552 1234 \xFF0C 138 0013 8000;;+86 138 0013 8000; ");
  EXPECT_TRUE(recipients.invalid.empty());
  EXPECT_EQ(recipients.numbers,
            (std::vector<std::wstring>{L"13800138000", L"13900139000", L"01065521234", L"+8613800138000"}));
  EXPECT_TRUE(jorv::SplitRecipients(L" ;, ;").numbers.empty());

  recipients = jorv::SplitRecipients(L"13800138000;  1380013800a ; Zhang Wei");
  EXPECT_EQ(recipients.invalid, L"1380013800a") << "the first bad entry, trimmed";
  EXPECT_EQ(recipients.numbers, std::vector<std::wstring>{L"13800138000"});
  for (const wchar_t* good : {L"10086", L"+86 (10) 6552-1234", L"*#06#"})
    EXPECT_TRUE(jorv::IsPhoneNumber(good)) << wf::ToUtf8(good);
  for (const wchar_t* bad : {L"86+10086", L"---", L"1.5", L"138\x4E00", L""})
    EXPECT_FALSE(jorv::IsPhoneNumber(bad)) << wf::ToUtf8(bad);
  std::wstring longest(jorv::kMaxNumberLength, L'1');
  EXPECT_TRUE(jorv::IsPhoneNumber(longest));
  EXPECT_FALSE(jorv::IsPhoneNumber(longest + L"1"));
}

// --- the counter -----------------------------------------------------------------------

TEST(SmsCounter, SevenBitTextGoes160And153ToAMessageAnyOtherText70And67) {
  struct Case {
    std::wstring text;
    int messages;
    bool unicode;
  };
  const std::wstring chinese(1, L'\x4E2D');
  const Case cases[] = {
      {L"", 0, false},
      {std::wstring(160, L'a'), 1, false},
      {std::wstring(161, L'a'), 2, false},
      {std::wstring(306, L'a'), 2, false},
      {std::wstring(307, L'a'), 3, false},
      {std::wstring(1531, L'a'), 11, false},
      {std::wstring(159, L'\x00E9') + L"\n", 1, false},  // letters of the alphabet outside ASCII
      {std::wstring(70, L'\x4E2D'), 1, true},
      {std::wstring(71, L'\x4E2D'), 2, true},
      {std::wstring(134, L'\x4E2D'), 2, true},
      {std::wstring(135, L'\x4E2D'), 3, true},
      {std::wstring(69, L'a') + chinese, 1, true},
      {std::wstring(159, L'a') + L"`", 3, true},  // one character the alphabet lacks makes all of it UCS-2
  };
  for (const Case& c : cases) {
    auto count = jorv::CountSms(c.text);
    EXPECT_EQ(count.characters, static_cast<int>(c.text.size()));
    EXPECT_EQ(count.messages, c.messages) << c.text.size() << " characters";
    EXPECT_EQ(count.unicode, c.unicode) << c.text.size() << " characters";
  }
}

TEST(SmsCounter, TwoUnitCharactersAreNeverSplitBetweenParts) {
  // Extension characters take two septets.
  EXPECT_EQ(jorv::CountSms(std::wstring(80, L'{')).messages, 1);
  EXPECT_EQ(jorv::CountSms(std::wstring(81, L'\x20AC')).messages, 2);
  EXPECT_EQ(jorv::CountSms(std::wstring(81, L'\x20AC')).characters, 81);
  // 306 septets would fill two parts, but the escape pair at the boundary
  // moves to the second part and pushes one character into a third.
  EXPECT_EQ(jorv::CountSms(std::wstring(152, L'a') + L"[" + std::wstring(152, L'a')).messages, 3);
  EXPECT_EQ(jorv::CountSms(std::wstring(153, L'a') + L"[" + std::wstring(151, L'a')).messages, 2);
  // A surrogate pair is one character of two units.
  const std::wstring smile = L"\xD83D\xDE00";
  auto count = jorv::CountSms(std::wstring(68, L'a') + smile);
  EXPECT_EQ(count.characters, 69);
  EXPECT_EQ(count.messages, 1);
  EXPECT_EQ(jorv::CountSms(std::wstring(69, L'a') + smile).messages, 2);
  EXPECT_EQ(jorv::CountSms(std::wstring(66, L'\x4E2D') + smile + std::wstring(66, L'\x4E2D')).messages, 3);
}

// --- send and save ----------------------------------------------------------------------

TEST(ComposeCheck, SendNeedsACardNumbersAndTextASaveOnlyNumbers) {
  auto problem = [](const wchar_t* to, const std::wstring& text, bool send, bool card = true) {
    return jorv::CheckCompose(to, text, send, card).problem;
  };
  EXPECT_EQ(problem(L"10086", L"Hi", true), ComposeProblem::kNone);
  EXPECT_EQ(problem(L"10086", L"Hi", true, false), ComposeProblem::kNoCard);
  EXPECT_EQ(problem(L"10086", L"", false, false), ComposeProblem::kNone) << "a draft needs neither card nor text";
  EXPECT_EQ(problem(L" ; ", L"Hi", true), ComposeProblem::kNoRecipient);
  EXPECT_EQ(problem(L"", L"Hi", false), ComposeProblem::kNoRecipient);
  EXPECT_EQ(problem(L"10086;10o86", L"Hi", false), ComposeProblem::kInvalidNumber);
  EXPECT_EQ(problem(L"10086", L" \r\n ", true), ComposeProblem::kNoText);
  EXPECT_EQ(problem(L"10086", std::wstring(1530, L'a'), true), ComposeProblem::kNone);
  EXPECT_EQ(problem(L"10086", std::wstring(1531, L'a'), true), ComposeProblem::kTooLong);
  EXPECT_EQ(problem(L"10086", std::wstring(671, L'\x4E2D'), false), ComposeProblem::kTooLong);

  auto check = jorv::CheckCompose(L"10086", L"one\r\ntwo", true, true);
  EXPECT_EQ(check.body, L"one\ntwo");
  EXPECT_EQ(check.count.characters, 7) << "a line break counts one";
  EXPECT_EQ(jorv::EditFromBody(L"one\ntwo\n"), L"one\r\ntwo\r\n");
}

TEST(ComposedMessages, TheDraftsContactStaysWithItsOwnNumberOnly) {
  CSMSData draft;
  draft.m_phoneNumber = L"13800138000;";
  draft.m_contactId = 31;
  draft.m_contactName = L"Zhang Wei";
  auto sent = jorv::ComposedMessages(jorv::CheckCompose(L"138-0013-8000; 10086", L"Hello", true, true), 2, false,
                                     L"20240131T235959Z", &draft);
  ASSERT_EQ(sent.size(), 2u);
  EXPECT_EQ(sent[0].m_contactId, 31);
  EXPECT_EQ(sent[0].m_contactName, L"Zhang Wei");
  EXPECT_EQ(sent[1].m_contactId, 0);
  EXPECT_TRUE(sent[1].m_contactName.empty());
  EXPECT_EQ(sent[1].m_read, 1);
  EXPECT_TRUE(sent[1].m_simText.empty()) << "the caller copies the card's text";
  EXPECT_TRUE(jorv::ComposedMessages(jorv::CheckCompose(L"", L"Hi", true, true), 1, false, L"t", nullptr).empty())
      << "a refused check makes nothing";
}

// --- the window ---------------------------------------------------------------------------

std::wstring ItemText(HWND dialog, int id) { return wf::CWindow(::GetDlgItem(dialog, id)).GetWindowText(); }

// Types into an edit as a paste does: the edit tells the dialog of the change.
void Type(HWND dialog, int id, const std::wstring& text) {
  HWND edit = ::GetDlgItem(dialog, id);
  ::SendMessageW(edit, EM_SETSEL, 0, -1);
  ::SendMessageW(edit, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(text.c_str()));
}

// Selects the card with this id in the card choice; false when it is not listed.
bool ChooseCard(HWND dialog, int cardId) {
  HWND combo = ::GetDlgItem(dialog, IDC_JORV_COMPOSE_CARD);
  auto count = static_cast<int>(::SendMessageW(combo, CB_GETCOUNT, 0, 0));
  for (int i = 0; i < count; ++i) {
    if (::SendMessageW(combo, CB_GETITEMDATA, i, 0) != cardId) continue;
    ::SendMessageW(combo, CB_SETCURSEL, i, 0);
    return true;
  }
  return false;
}

std::vector<std::wstring> CardLabels(HWND dialog) {
  HWND combo = ::GetDlgItem(dialog, IDC_JORV_COMPOSE_CARD);
  std::vector<std::wstring> labels;
  auto count = static_cast<int>(::SendMessageW(combo, CB_GETCOUNT, 0, 0));
  for (int i = 0; i < count; ++i) {
    wchar_t label[128] = {};
    ::SendMessageW(combo, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(label));
    labels.push_back(label);
  }
  return labels;
}

bool IsShown(HWND dialog, int id) { return ::IsWindowVisible(::GetDlgItem(dialog, id)) != FALSE; }
bool IsEnabled(HWND dialog, int id) { return ::IsWindowEnabled(::GetDlgItem(dialog, id)) != FALSE; }

class ComposeWindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    JorvAutomation::Reset();
    JorvAutomation::SetUnattended(false);
    CSimInfo one, two;
    one.m_cardId = 1;
    one.m_network = L"CDMA";
    two.m_cardId = 2;
    two.m_network = L"GSM";
    m_cards = {one, two};
    m_title = Text(L"jorvhelper.newsms.title");
    m_tip = Text(L"common.messagebox.tamixtip");
    ASSERT_FALSE(m_title.empty());
  }
  void TearDown() override {
    DeleteContents(m_written);
    JorvAutomation::SetUnattended(false);
    JorvAutomation::Reset();
  }

  // The messages the window answered with.
  std::vector<const CSMSData*> Written() const {
    std::vector<const CSMSData*> messages;
    for (CContent* record : m_written) messages.push_back(dynamic_cast<const CSMSData*>(record));
    return messages;
  }

  SimCardList m_cards;
  ContentList m_written;
  int m_save = 7;
  std::wstring m_title;
  std::wstring m_tip;
};

// The user's checks run inside the window's modal loop, as the user sees it.
TEST_F(ComposeWindowTest, SendAnswersOneRecordPerRecipientOnTheChosenCardOverTheActiveWindow) {
  HWND owner = testing_support::CreateTestParent();
  ::ShowWindow(owner, SW_SHOW);
  ::SetActiveWindow(owner);
  CSMSData draft;
  draft.m_phoneNumber = L"13800138000;";
  draft.m_body = L"Hello";
  const std::wstring note = Text(L"jorvhelper.newsms.note"), label = Text(L"jorvhelper.newsms.cardlabel");
  std::wstring before = Message::MessageTimeNow();
  AnswerWhenShown user(m_title, [&](HWND dialog) {
    EXPECT_EQ(::GetWindow(dialog, GW_OWNER), owner);
    EXPECT_FALSE(::IsWindowEnabled(owner)) << "modal over the active window";
    EXPECT_EQ(ItemText(dialog, IDC_JORV_COMPOSE_TO), L"13800138000;");
    EXPECT_EQ(ItemText(dialog, IDC_JORV_COMPOSE_TEXT), L"Hello");
    EXPECT_EQ(ItemText(dialog, IDC_JORV_COMPOSE_NOTE), wf::FormatText(note.c_str(), 5, 1));
    EXPECT_EQ(CardLabels(dialog), (std::vector<std::wstring>{
                                      wf::FormatText(label.c_str(), 1, Text(L"pim.cnetcard").c_str()),
                                      wf::FormatText(label.c_str(), 2, Text(L"pim.gnetcard").c_str())}));
    ::SetDlgItemTextW(dialog, IDC_JORV_COMPOSE_TO, L"13800138000; 139 0013 9000;13800138000");
    Type(dialog, IDC_JORV_COMPOSE_TEXT, L"Hello\r\nWorld");
    EXPECT_EQ(ItemText(dialog, IDC_JORV_COMPOSE_NOTE), wf::FormatText(note.c_str(), 11, 1)) << "counted as typed";
    EXPECT_TRUE(ChooseCard(dialog, 2));
    PressButton(dialog, IDC_JORV_COMPOSE_SEND);
  });
  EXPECT_EQ(JorvPhoneSendSms(&draft, m_cards, 1, m_written, m_save), 1);
  EXPECT_TRUE(user.acted());
  std::wstring after = Message::MessageTimeNow();
  EXPECT_EQ(m_save, 0);
  EXPECT_TRUE(::IsWindowEnabled(owner)) << "the owner is given back";
  auto journal = JorvAutomation::TakeJournal();
  ASSERT_FALSE(journal.empty());
  EXPECT_EQ(journal[0].text, L"13800138000;") << "the journal names the draft's numbers";
  auto written = Written();
  ASSERT_EQ(written.size(), 2u);
  EXPECT_EQ(written[0]->m_phoneNumber, L"13800138000");
  EXPECT_EQ(written[1]->m_phoneNumber, L"13900139000");
  for (const CSMSData* message : written) {
    ASSERT_NE(message, nullptr);
    EXPECT_EQ(message->m_body, L"Hello\nWorld");
    EXPECT_EQ(message->m_cardId, 2);
    EXPECT_EQ(message->m_folderId, Message::kFolderOutbox);
    EXPECT_EQ(message->m_state, CSMSData::kStateComposed);
    EXPECT_EQ(message->m_time.size(), 16u);
    EXPECT_TRUE(before <= message->m_time && message->m_time <= after) << wf::ToUtf8(message->m_time);
  }
  ::DestroyWindow(owner);
}

TEST_F(ComposeWindowTest, SaveAnswersZeroWithTheSaveFlagAndDraftsOnTheDraftsCard) {
  CSMSData draft;
  draft.m_phoneNumber = L"10086";
  draft.m_cardId = 2;  // a reply to a message of card two goes out on card two
  AnswerWhenShown user(m_title, [&](HWND dialog) {
    EXPECT_FALSE(IsShown(dialog, IDC_JORV_COMPOSE_NOTE)) << "the window without the note";
    EXPECT_GT(wf::CWindow(::GetDlgItem(dialog, IDC_JORV_COMPOSE_TEXT)).GetWindowRect().bottom,
              wf::CWindow(::GetDlgItem(dialog, IDC_JORV_COMPOSE_NOTE)).GetWindowRect().top)
        << "the text takes the note's room";
    PressButton(dialog, IDC_JORV_COMPOSE_SAVE);  // an empty text may be kept as a draft
  });
  EXPECT_EQ(JorvPhoneSendSmsNoNote(&draft, m_cards, 1, m_written, m_save), 0);
  EXPECT_TRUE(user.acted());
  EXPECT_EQ(m_save, 1);
  auto written = Written();
  ASSERT_EQ(written.size(), 1u);
  EXPECT_EQ(written[0]->m_phoneNumber, L"10086");
  EXPECT_TRUE(written[0]->m_body.empty());
  EXPECT_EQ(written[0]->m_cardId, 2);
  EXPECT_EQ(written[0]->m_folderId, Message::kFolderDrafts);
  EXPECT_EQ(written[0]->m_draftMarker, CSMSData::kDraftMarker);
}

TEST_F(ComposeWindowTest, CancelEscapeAndTheCloseBoxAnswerZeroAndTouchNothing) {
  auto* mine = new CSMSData;
  m_written.push_back(mine);
  CSMSData draft;
  draft.m_phoneNumber = L"10086";
  draft.m_body = L"Hi";
  for (int button : {IDCANCEL, static_cast<int>(IDC_JORV_COMPOSE_CLOSE)}) {
    m_save = 7;
    AnswerWhenShown user(m_title, [&](HWND dialog) { PressButton(dialog, button); });
    EXPECT_EQ(JorvPhoneSendSms(&draft, m_cards, 1, m_written, m_save), 0);
    EXPECT_TRUE(user.acted());
    EXPECT_EQ(m_save, 0);
    ASSERT_EQ(m_written.size(), 1u);
    EXPECT_EQ(m_written.front(), mine);
  }
}

TEST_F(ComposeWindowTest, RefusedFieldsAreExplainedAndKeptAsTyped) {
  struct Case {
    std::wstring recipients, text, told;
  };
  const Case cases[] = {
      {L"13800138000; 12ab34", L"Hi", wf::FormatText(Text(L"jorvhelper.newsms.badnumber").c_str(), L"12ab34")},
      {L" ; ", L"Hi", Text(L"jorvhelper.newsms.norecipient")},
      {L"10086", L"  ", Text(L"jorvhelper.newsms.notext")},
      {L"10086", std::wstring(671, L'\x4E2D'), wf::FormatText(Text(L"jorvhelper.newsms.toolong").c_str(), 10)},
  };
  for (const Case& c : cases) {
    AnswerWhenShown box(m_tip, [&](HWND tip) {
      EXPECT_EQ(ItemText(tip, IDC_JORV_TEXT), c.told);
      HWND dialog = ::GetWindow(tip, GW_OWNER);
      EXPECT_EQ(ItemText(dialog, IDC_JORV_COMPOSE_TO), c.recipients) << "nothing typed is lost";
      EXPECT_EQ(ItemText(dialog, IDC_JORV_COMPOSE_TEXT), c.text);
      PressButton(tip, IDOK);
      PressButton(dialog, IDCANCEL);
    });
    AnswerWhenShown user(m_title, [&](HWND dialog) {
      ::SetDlgItemTextW(dialog, IDC_JORV_COMPOSE_TO, c.recipients.c_str());
      ::SetDlgItemTextW(dialog, IDC_JORV_COMPOSE_TEXT, c.text.c_str());
      PressButton(dialog, IDC_JORV_COMPOSE_SEND);
    });
    EXPECT_EQ(JorvPhoneSendSms(nullptr, m_cards, 1, m_written, m_save), 0);
    EXPECT_TRUE(box.acted()) << wf::ToUtf8(c.told);
    EXPECT_TRUE(m_written.empty());
  }

  // Corrected after the refusal, the same window sends.
  AnswerWhenShown box(m_tip, [&](HWND tip) {
    HWND dialog = ::GetWindow(tip, GW_OWNER);
    ::SetDlgItemTextW(dialog, IDC_JORV_COMPOSE_TO, L"13800138000; 1234");
    PressButton(tip, IDOK);
    PressButton(dialog, IDC_JORV_COMPOSE_SEND);
  });
  AnswerWhenShown user(m_title, [&](HWND dialog) {
    ::SetDlgItemTextW(dialog, IDC_JORV_COMPOSE_TO, L"13800138000; 12ab34");
    ::SetDlgItemTextW(dialog, IDC_JORV_COMPOSE_TEXT, L"Hi");
    PressButton(dialog, IDC_JORV_COMPOSE_SEND);
  });
  EXPECT_EQ(JorvPhoneSendSms(nullptr, m_cards, 1, m_written, m_save), 1);
  auto written = Written();
  ASSERT_EQ(written.size(), 2u);
  EXPECT_EQ(written[1]->m_phoneNumber, L"1234");
  EXPECT_EQ(written[1]->m_body, L"Hi");
}

TEST_F(ComposeWindowTest, WithoutACardNothingIsSentButADraftCanBeKept) {
  SimCardList none;
  const std::wstring noCard = Text(L"jorvhelper.newsms.nocard");
  AnswerWhenShown box(m_tip, [&](HWND tip) {
    EXPECT_EQ(ItemText(tip, IDC_JORV_TEXT), noCard);
    PressButton(tip, IDOK);
    PressButton(::GetWindow(tip, GW_OWNER), IDC_JORV_COMPOSE_SAVE);
  });
  AnswerWhenShown user(m_title, [&](HWND dialog) {
    EXPECT_FALSE(IsEnabled(dialog, IDC_JORV_COMPOSE_SEND));
    EXPECT_FALSE(IsShown(dialog, IDC_JORV_COMPOSE_CARD));
    EXPECT_TRUE(IsShown(dialog, IDC_JORV_COMPOSE_NOCARD));
    EXPECT_EQ(ItemText(dialog, IDC_JORV_COMPOSE_NOCARD), noCard);
    ::SetDlgItemTextW(dialog, IDC_JORV_COMPOSE_TO, L"10086");
    ::SetDlgItemTextW(dialog, IDC_JORV_COMPOSE_TEXT, L"Hi");
    PressButton(dialog, IDC_JORV_COMPOSE_SEND);  // as Enter does, the button being disabled
  });
  EXPECT_EQ(JorvPhoneSendSmsNoNote(nullptr, none, 1, m_written, m_save), 0);
  EXPECT_TRUE(box.acted());
  EXPECT_EQ(m_save, 1);
  auto written = Written();
  ASSERT_EQ(written.size(), 1u);
  EXPECT_EQ(written[0]->m_cardId, 0);
}

TEST_F(ComposeWindowTest, AMessageOpenedForReadingIsOnlyShown) {
  CSMSData received;
  received.m_phoneNumber = L"10086";
  received.m_body = L"Your balance\nis low";
  auto readOnly = [](HWND dialog, int id) {
    return (::GetWindowLongW(::GetDlgItem(dialog, id), GWL_STYLE) & ES_READONLY) != 0;
  };
  AnswerWhenShown user(m_title, [&](HWND dialog) {
    EXPECT_TRUE(readOnly(dialog, IDC_JORV_COMPOSE_TO));
    EXPECT_TRUE(readOnly(dialog, IDC_JORV_COMPOSE_TEXT));
    EXPECT_FALSE(IsEnabled(dialog, IDC_JORV_COMPOSE_SEND));
    EXPECT_FALSE(IsEnabled(dialog, IDC_JORV_COMPOSE_SAVE));
    EXPECT_EQ(ItemText(dialog, IDC_JORV_COMPOSE_TEXT), L"Your balance\r\nis low");
    PressButton(dialog, IDC_JORV_COMPOSE_SEND);  // ignored
    PressButton(dialog, IDCANCEL);
  });
  EXPECT_EQ(JorvPhoneSendSms(&received, m_cards, 0, m_written, m_save), 0);
  EXPECT_TRUE(user.acted());
  EXPECT_TRUE(m_written.empty());
  EXPECT_EQ(m_save, 0);
}

}  // namespace
