// The shared-dialog library stand-in.

#include "frame/suite/SharedDialogs.h"

#include "Automation.h"
#include "ComposeWindow.h"
#include "ContactCard.h"
#include "ContactEditor.h"
#include "ContactPicker.h"
#include "MessageBoxWindow.h"
#include "PhrasePicker.h"
#include "WaitWindow.h"
#include "framework/Module.h"
#include "framework/Text.h"
#include "message/MessageData.h"
#include "message/MessageTime.h"

namespace {

JorvCall NewCall(const wchar_t* function) {
  JorvCall call;
  call.function = function;
  return call;
}

std::wstring Safe(const wchar_t* text) { return text ? text : L""; }

}  // namespace

int JorvMessageBox(HWND owner, const wchar_t* text, const wchar_t* caption, int kind, int, int) {
  JorvCall call = NewCall(L"JorvMessageBox");
  call.owner = owner;
  call.text = Safe(text);
  call.caption = Safe(caption);
  call.kind = kind;
  if (auto scripted = jorv::Intercept(call)) {
    // A notice has one button: whatever the script says, it answers 1.
    return kind == JORV_MB_CONFIRM ? *scripted : 1;
  }
  jorv::CMessageBoxWindow box(call.text, call.caption, kind == JORV_MB_CONFIRM);
  INT_PTR result = box.DoModal(owner, 0, wf::GetCodeInstance());
  if (result < 0) return kind == JORV_MB_CONFIRM ? 0 : 1;  // could not be shown
  return static_cast<int>(result);
}

HANDLE JorvWaitDynamicShowEx(HWND owner, const wchar_t* text) {
  JorvCall call = NewCall(L"JorvWaitDynamicShowEx");
  call.owner = owner;
  call.text = Safe(text);
  jorv::Intercept(call);  // the animation is shown in every mode: it never blocks
  jorv::CWaitWindow* window = jorv::CWaitWindow::Show(owner, call.text);
  return window ? static_cast<HANDLE>(window->m_hWnd) : nullptr;
}

void JorvWaitDynamicHideEx(HANDLE wait) {
  JorvCall call = NewCall(L"JorvWaitDynamicHideEx");
  jorv::Intercept(call);
  if (wait && jorv::CWaitWindow::IsOpen(wait)) ::DestroyWindow(static_cast<HWND>(wait));
}

int JorvNewContactView(Contact::CContactData* contact, int mode) {
  JorvCall call = NewCall(L"JorvNewContactView");
  call.kind = mode;
  call.contact = contact;
  if (!contact) return 0;
  if (auto scripted = jorv::Intercept(call)) return *scripted;
  // Modal over the active window of this thread: the call names no owner.
  auto editorMode = mode == 1 ? jorv::CContactEditor::Mode::kEdit : jorv::CContactEditor::Mode::kNew;
  jorv::CContactEditor editor(*contact, editorMode);
  return editor.Run(::GetActiveWindow());
}

int JorvSelectContact(std::list<JorvContactEntry>& entries, HWND owner) {
  JorvCall call = NewCall(L"JorvSelectContact");
  call.owner = owner;
  call.entries = &entries;
  if (auto scripted = jorv::Intercept(call)) return *scripted;
  // Modal over the window given, else over the active window of this thread.
  jorv::CContactPicker picker(entries);
  if (picker.Run(owner ? owner : ::GetActiveWindow()) != 1) return 0;  // cancelled: the list stays
  entries = picker.Chosen();
  return 1;
}

int JorvSelectPhrase(std::wstring& phrase) {
  JorvCall call = NewCall(L"JorvSelectPhrase");
  call.phrase = &phrase;
  if (auto scripted = jorv::Intercept(call)) return *scripted;
  // Modal over the active window of this thread: the call names no owner.
  jorv::CPhrasePicker picker(jorv::StockPhrases());
  if (picker.Run(::GetActiveWindow()) != 1) return 0;  // cancelled: the caller's text stays
  phrase = picker.Chosen();
  return 1;
}

void JorvDisContactInfo(const Contact::CContactData* contact, int x, int y, HWND owner) {
  JorvCall call = NewCall(L"JorvDisContactInfo");
  call.shownContact = contact;
  call.x = x;
  call.y = y;
  call.owner = owner;
  jorv::Intercept(call);  // the card is shown in every mode: it never blocks
  if (contact) jorv::CContactCard::Show(*contact, x, y, owner);
}

void JorvDisContactRefurInfo(const Contact::CContactData* contact) {
  JorvCall call = NewCall(L"JorvDisContactRefurInfo");
  call.shownContact = contact;
  jorv::Intercept(call);
  if (contact) jorv::CContactCard::Refresh(*contact);
}

void JorvDisContactInfoHide() {
  JorvCall call = NewCall(L"JorvDisContactInfoHide");
  jorv::Intercept(call);
  jorv::CContactCard::Hide();
}

namespace {
// Send answers 1 with `save` 0; Save answers 0 with `save` 1 (the caller keeps
// the messages as drafts and sends nothing); Cancel answers 0 with `save` 0
// and leaves `written` alone.
int Compose(const wchar_t* function, const Message::CSMSData* draft, const SimCardList& cards, int editable,
            bool showNote, ContentList& written, int& save) {
  JorvCall call = NewCall(function);
  call.draft = draft;
  call.cards = &cards;
  call.kind = editable;
  call.text = draft ? draft->m_phoneNumber : std::wstring();
  call.written = &written;
  call.save = &save;
  save = 0;
  if (auto scripted = jorv::Intercept(call)) return *scripted;

  jorv::CComposeWindow::Setup setup;
  if (draft) {
    setup.recipients = draft->m_phoneNumber;
    setup.body = draft->m_body;
    setup.preferredCard = draft->m_cardId;
  }
  setup.editable = editable != 0;
  setup.showNote = showNote;
  jorv::CComposeWindow window(std::move(setup), cards);
  auto outcome = window.Run(::GetActiveWindow());
  if (outcome == jorv::CComposeWindow::kCancelled) return 0;
  bool draftOnly = outcome == jorv::CComposeWindow::kSave;
  for (const Message::CSMSData& message :
       jorv::ComposedMessages(window.Accepted(), window.ChosenCard(), draftOnly, Message::MessageTimeNow(), draft))
    written.push_back(new Message::CSMSData(message));
  save = draftOnly ? 1 : 0;
  return draftOnly ? 0 : 1;
}
}  // namespace

int JorvPhoneSendSms(const Message::CSMSData* draft, const SimCardList& cards, int editable, ContentList& written,
                     int& save) {
  return Compose(L"JorvPhoneSendSms", draft, cards, editable, true, written, save);
}

int JorvPhoneSendSmsNoNote(const Message::CSMSData* draft, const SimCardList& cards, int editable,
                           ContentList& written, int& save) {
  return Compose(L"JorvPhoneSendSmsNoNote", draft, cards, editable, false, written, save);
}

int getDisplayCardType(CSimInfo card) {
  std::wstring network = wf::ToLower(card.m_network);
  if (network == L"gsm" || network == L"gprs" || network == L"edge") return 1;
  if (network == L"cdma" || network == L"cdma2000" || network == L"evdo") return 2;
  if (network == L"wcdma" || network == L"umts" || network == L"hspa") return 3;
  return 0;
}
