// Message maps: a window class lists the messages it handles between
// BEGIN_MSG_MAP and END_MSG_MAP. The first entry that matches and leaves
// bHandled TRUE ends the search; a handler that sets bHandled = FALSE lets the
// search go on to later entries and finally to the default processing.
//
//   BEGIN_MSG_MAP(CMyDlg)
//     MESSAGE_HANDLER(WM_INITDIALOG, OnInitDialog)
//     COMMAND_ID_HANDLER(IDOK, OnOK)
//     NOTIFY_HANDLER(IDC_LIST, NM_CLICK, OnListClick)
//     CHAIN_MSG_MAP(CDialogLayout<CMyDlg>)    // a mixin takes part too
//   END_MSG_MAP()
//
// Handler shapes:
//   LRESULT OnMessage(UINT msg, WPARAM wParam, LPARAM lParam, BOOL& bHandled);
//   LRESULT OnCommand(WORD notifyCode, WORD id, HWND control, BOOL& bHandled);
//   LRESULT OnNotify(int idCtrl, LPNMHDR header, BOOL& bHandled);
//
// A mixin (a base that is not a window itself) writes its own map with the same
// macros and is chained from the window's map with CHAIN_MSG_MAP.
#pragma once
#include <windows.h>
#include <olectl.h>  // OCM_* reflected message codes

namespace wf {

class CMessageMap {
 public:
  virtual BOOL ProcessWindowMessage(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam,
                                    LRESULT& lResult, DWORD dwMsgMapID = 0) = 0;

 protected:
  ~CMessageMap() = default;
};

// Sends a parent's WM_COMMAND / WM_NOTIFY / WM_DRAWITEM / WM_CTLCOLOR* back to
// the child control that caused it, as OCM_* (OCM__BASE + message), so that a
// control can handle its own notifications. Answers whether it was reflected.
BOOL ReflectNotifications(UINT uMsg, WPARAM wParam, LPARAM lParam, LRESULT& lResult);

}  // namespace wf

#define BEGIN_MSG_MAP(theClass)                                                        \
 public:                                                                               \
  BOOL ProcessWindowMessage(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam,        \
                            LRESULT& lResult, DWORD dwMsgMapID = 0) {                  \
    BOOL bHandled = TRUE;                                                              \
    (void)hWnd; (void)uMsg; (void)wParam; (void)lParam; (void)lResult; (void)bHandled; \
    switch (dwMsgMapID) {                                                              \
      case 0:

#define ALT_MSG_MAP(mapId) \
  break;                   \
  case mapId:

#define MESSAGE_HANDLER(msg, func)                    \
  if (uMsg == (msg)) {                                \
    bHandled = TRUE;                                  \
    lResult = func(uMsg, wParam, lParam, bHandled);   \
    if (bHandled) return TRUE;                        \
  }

#define MESSAGE_RANGE_HANDLER(msgFirst, msgLast, func)   \
  if (uMsg >= (msgFirst) && uMsg <= (msgLast)) {         \
    bHandled = TRUE;                                     \
    lResult = func(uMsg, wParam, lParam, bHandled);      \
    if (bHandled) return TRUE;                           \
  }

#define COMMAND_HANDLER(id, notifyCode, func)                                                 \
  if (uMsg == WM_COMMAND && LOWORD(wParam) == (id) && HIWORD(wParam) == (notifyCode)) { \
    bHandled = TRUE;                                                                    \
    lResult = func(HIWORD(wParam), LOWORD(wParam), reinterpret_cast<HWND>(lParam), bHandled); \
    if (bHandled) return TRUE;                                                          \
  }

#define COMMAND_ID_HANDLER(id, func)                                                    \
  if (uMsg == WM_COMMAND && LOWORD(wParam) == (id)) {                                   \
    bHandled = TRUE;                                                                    \
    lResult = func(HIWORD(wParam), LOWORD(wParam), reinterpret_cast<HWND>(lParam), bHandled); \
    if (bHandled) return TRUE;                                                          \
  }

#define COMMAND_CODE_HANDLER(notifyCode, func)                                                \
  if (uMsg == WM_COMMAND && HIWORD(wParam) == (notifyCode)) {                           \
    bHandled = TRUE;                                                                    \
    lResult = func(HIWORD(wParam), LOWORD(wParam), reinterpret_cast<HWND>(lParam), bHandled); \
    if (bHandled) return TRUE;                                                          \
  }

#define COMMAND_RANGE_HANDLER(idFirst, idLast, func)                                    \
  if (uMsg == WM_COMMAND && LOWORD(wParam) >= (idFirst) && LOWORD(wParam) <= (idLast)) { \
    bHandled = TRUE;                                                                    \
    lResult = func(HIWORD(wParam), LOWORD(wParam), reinterpret_cast<HWND>(lParam), bHandled); \
    if (bHandled) return TRUE;                                                          \
  }

#define NOTIFY_HANDLER(id, notifyCode, func)                                                  \
  if (uMsg == WM_NOTIFY && reinterpret_cast<LPNMHDR>(lParam)->idFrom == (UINT_PTR)(id) && \
      reinterpret_cast<LPNMHDR>(lParam)->code == (UINT)(notifyCode)) {                        \
    bHandled = TRUE;                                                                    \
    lResult = func(static_cast<int>(wParam), reinterpret_cast<LPNMHDR>(lParam), bHandled); \
    if (bHandled) return TRUE;                                                          \
  }

#define NOTIFY_ID_HANDLER(id, func)                                                     \
  if (uMsg == WM_NOTIFY && reinterpret_cast<LPNMHDR>(lParam)->idFrom == (UINT_PTR)(id)) { \
    bHandled = TRUE;                                                                    \
    lResult = func(static_cast<int>(wParam), reinterpret_cast<LPNMHDR>(lParam), bHandled); \
    if (bHandled) return TRUE;                                                          \
  }

#define NOTIFY_CODE_HANDLER(notifyCode, func)                                                 \
  if (uMsg == WM_NOTIFY && reinterpret_cast<LPNMHDR>(lParam)->code == (UINT)(notifyCode)) {   \
    bHandled = TRUE;                                                                    \
    lResult = func(static_cast<int>(wParam), reinterpret_cast<LPNMHDR>(lParam), bHandled); \
    if (bHandled) return TRUE;                                                          \
  }

// Passes the message to a base (or mixin) class's own message map.
#define CHAIN_MSG_MAP(theChainClass)                                                    \
  if (theChainClass::ProcessWindowMessage(hWnd, uMsg, wParam, lParam, lResult)) return TRUE;

// Passes the message to the message map of a member object.
#define CHAIN_MSG_MAP_MEMBER(theChainMember)                                            \
  if ((theChainMember).ProcessWindowMessage(hWnd, uMsg, wParam, lParam, lResult)) return TRUE;

#define REFLECT_NOTIFICATIONS()                                                         \
  if (::wf::ReflectNotifications(uMsg, wParam, lParam, lResult)) return TRUE;

#define END_MSG_MAP() \
  break;              \
  default:            \
    break;            \
    }                 \
    return FALSE;     \
  }
