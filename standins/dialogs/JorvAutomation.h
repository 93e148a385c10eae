// What the shared-dialog stand-in (JorvHelper.dll) offers beyond the suite's
// shared-dialog library: tests and unattended runs answer the dialogs here
// instead of a user. The plug-in never includes this header.
//
// Every call of a dialog function of frame/suite/SharedDialogs.h is written to
// a journal. A scripted answer queued for a function is taken by its next call
// instead of showing the dialog; in unattended mode, a call without a scripted
// answer shows nothing and answers as if the user cancelled (0, outputs
// untouched). The wait animation and the contact card are shown in every
// mode: they never wait for the user.
#pragma once
#include <functional>
#include <list>
#include <string>
#include <vector>

#include "frame/suite/SharedDialogs.h"

struct JorvCall {
  std::wstring function;  // "JorvMessageBox", "JorvNewContactView", ...
  HWND owner = nullptr;
  std::wstring text;      // message box / wait text; compose: the draft's numbers
  std::wstring caption;
  int kind = 0;           // message box kind, contact view mode, compose editable flag
  int x = 0, y = 0;       // contact card position
  // Arguments of the call in progress (valid only inside a responder).
  Contact::CContactData* contact = nullptr;
  const Contact::CContactData* shownContact = nullptr;
  std::wstring* phrase = nullptr;
  std::list<JorvContactEntry>* entries = nullptr;
  const Message::CSMSData* draft = nullptr;
  const SimCardList* cards = nullptr;
  ContentList* written = nullptr;
  int* save = nullptr;
};

// Answers a call in place of the user: fill the outputs, answer the result.
using JorvResponder = std::function<int(JorvCall& call)>;

namespace JorvAutomation {
JORVHELPER_API void SetUnattended(bool unattended);
JORVHELPER_API bool IsUnattended();
// Queues a responder for the next call of `function`.
JORVHELPER_API void Queue(const std::wstring& function, JorvResponder responder);
// Queues a fixed answer for the next call of `function`.
JORVHELPER_API void QueueAnswer(const std::wstring& function, int result);
// The calls made so far (outputs not included), oldest first; Take empties it.
JORVHELPER_API std::vector<JorvCall> TakeJournal();
// Drops the journal and every queued answer.
JORVHELPER_API void Reset();
// The wait indicators shown and not yet hidden.
JORVHELPER_API int OpenWaitCount();
// The contact card's window while it is shown, else null. Its text is the
// contact's name; its lines are child static controls with the identifiers
// IDC_JORV_CARDLINE + 0, 1, ... in line order (dialogs/JorvHelperIds.h), whose
// texts are the lines' whole texts (dialogs/ContactCard.h).
JORVHELPER_API HWND ContactCardWindow();
}  // namespace JorvAutomation
