// The private window messages between the module controllers and the main
// window. A controller never touches another module or the main window's own
// state: it tells the main window, which turns the message into the
// follow-up on the user-interface thread.
#pragma once
#include <windows.h>

namespace pim_msg {

// A module's search field asks for its text to be searched (wParam, lParam 0).
// The skinned search field sends it itself, under its own name WM_QS_SEARCH.
constexpr UINT kSearch = 0x2404;
// A delete has ended: hide its wait animation. wParam: module (1 contacts,
// 2 messages, 3 calendar); lParam: the wait handle. Sent.
constexpr UINT kHideWait = 0x2413;
// The calendar list was filled with a position asked for: wParam the row
// whose event detail to show.
constexpr UINT kShowEventDetail = 0x2414;
// A single event arrived: open the event editor on it.
constexpr UINT kEditEvent = 0x2415;
// An import or export step. wParam: module (1 contacts, 2 messages);
// lParam: 1 import started, 2 export started, 0 finished.
constexpr UINT kImportExportStep = 0x2418;
// The contact asked for by identifier arrived: run the card's pending action.
constexpr UINT kContactById = 0xa25c;
// After a contact reply: wParam 1 focuses the group tree, 2 the contact list.
constexpr UINT kContactFocus = 0xa25d;
// Hide the contact card.
constexpr UINT kHideContactCard = 0xa75c;
// Messages were sent from the contacts module. wParam 2; lParam how many.
constexpr UINT kSentFromContacts = 0xa75d;

// The messages controller fills a long conversation tree in steps: run the
// next one (lParam: the generation it was posted for).
constexpr UINT kFillConversations = 0x2419;

// Module codes of kHideWait and kImportExportStep.
constexpr WPARAM kModuleContacts = 1;
constexpr WPARAM kModuleMessages = 2;
constexpr WPARAM kModuleCalendar = 3;

// Steps of kImportExportStep.
constexpr LPARAM kStepFinished = 0;
constexpr LPARAM kStepImportStarted = 1;
constexpr LPARAM kStepExportStarted = 2;

}  // namespace pim_msg
