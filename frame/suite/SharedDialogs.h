// The suite's shared-dialog library (JorvHelper.dll): message boxes, the wait
// animation, contact and phrase pickers, the contact card and editor, and the
// compose window. All are called on the user-interface thread.
#pragma once
#include <windows.h>

#include <cstdint>
#include <list>
#include <string>

#include "content/Content.h"
#include "content/SimCard.h"

namespace Contact {
class CContactData;
}
namespace Message {
class CSMSData;
}

#ifdef JORVHELPER_BUILD
#define JORVHELPER_API __declspec(dllexport)
#else
#define JORVHELPER_API __declspec(dllimport)
#endif

// Message box kinds.
constexpr int JORV_MB_NOTICE = 0;   // one button; answers 1
constexpr int JORV_MB_CONFIRM = 1;  // OK and Cancel; answers 1 for OK, 0 otherwise

// A contact picked in the contact picker: 510 characters of text and the
// 32-bit value that identifies it (1024 bytes per entry).
struct JorvContactEntry {
  wchar_t text[510];
  uint32_t value;
};
static_assert(sizeof(JorvContactEntry) == 1024, "contact entries are 1024 bytes");

// Shows a modal message box over `owner` (may be null); the trailing two
// arguments are 0.
JORVHELPER_API int JorvMessageBox(HWND owner, const wchar_t* text, const wchar_t* caption, int kind,
                                  int reserved1, int reserved2);

// Shows an animated wait indicator with a text over `owner` and answers its
// handle; JorvWaitDynamicHideEx removes it (a null or stale handle is ignored).
JORVHELPER_API HANDLE JorvWaitDynamicShowEx(HWND owner, const wchar_t* text);
JORVHELPER_API void JorvWaitDynamicHideEx(HANDLE wait);

// The new-contact (mode 0) or edit-contact (mode 1) window for `contact`;
// answers non-zero when the user saved, and then `contact` holds the input.
JORVHELPER_API int JorvNewContactView(Contact::CContactData* contact, int mode);

// Lets the user pick contacts; `entries` holds the picked entries afterwards.
JORVHELPER_API int JorvSelectContact(std::list<JorvContactEntry>& entries, HWND owner);

// Lets the user pick a stock phrase; answers non-zero when one was chosen.
JORVHELPER_API int JorvSelectPhrase(std::wstring& phrase);

// The floating contact card at screen position (x, y) over `owner`; refresh
// it with the contact's current data; hide it.
JORVHELPER_API void JorvDisContactInfo(const Contact::CContactData* contact, int x, int y, HWND owner);
JORVHELPER_API void JorvDisContactRefurInfo(const Contact::CContactData* contact);
JORVHELPER_API void JorvDisContactInfoHide();

// The compose window, with and without the character note. `draft` is the
// prepared message (recipients in its phone number, separated by ";"),
// `cards` the known SIM cards and `editable` whether the text may be changed.
// Answers non-zero to send; `written` receives one new message per recipient
// (owned by the caller) and `save` whether to keep them as drafts.
JORVHELPER_API int JorvPhoneSendSms(const Message::CSMSData* draft, const SimCardList& cards, int editable,
                                    ContentList& written, int& save);
JORVHELPER_API int JorvPhoneSendSmsNoNote(const Message::CSMSData* draft, const SimCardList& cards, int editable,
                                          ContentList& written, int& save);

// The network kind a card is shown with: 1 GSM ("G" network), 2 CDMA ("C"),
// 3 WCDMA ("W"); 0 when the card's network is not known.
JORVHELPER_API int getDisplayCardType(CSimInfo card);
