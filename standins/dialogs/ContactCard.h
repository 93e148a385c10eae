// The floating contact card: a borderless popup beside the contact list that
// shows one contact's name, numbers, addresses, organisations and groups
// (what goes where: ContactCardLayout.h). One card per process, used on the
// user-interface thread only.
//
// The card never takes the activation or the keyboard focus: it is a
// no-activate tool window shown without activation, and a click on it leaves
// the active window as it is. It is kept whole on the work area of the screen
// it is shown on.
//
// It keeps its own copy of the contact. Hiding destroys the window; showing it
// for another owner makes a new one. The card is owned by the top-level
// window of its owner and so goes with it; while it is shown it also watches
// the owner itself (which may be a child window, as the plug-in's main window
// is), and goes when the owner is destroyed or hidden.
//
// Readable texts: the window's text is the contact's name, and every line of
// the card has a child static control of its own, in line order, with the
// identifiers IDC_JORV_CARDLINE, IDC_JORV_CARDLINE + 1, ... (JorvHelperIds.h)
// and the rectangle of its line. Its text is the line's whole text (no
// ellipsis): the name, a section caption, "label: value" for a labelled entry
// or the value alone, and "…" when lines were left out. The statics are owner
// drawn and draw nothing: the card paints every line itself, so they are there
// for assistive technology and tests, which read them with GetWindowText.
#pragma once
#include <string>

#include "ContactCardLayout.h"
#include "framework/Gdi.h"
#include "framework/WindowImpl.h"

namespace jorv {

class CContactCard : public wf::CWindowImpl<CContactCard> {
 public:
  DECLARE_WND_CLASS_EX(L"JorvContactCard", CS_HREDRAW | CS_VREDRAW, COLOR_WINDOW)

  // Shows the card for `contact` with its top-left corner at screen position
  // (x, y), over `owner` (may be null); a card already shown moves there and
  // shows it. An owner handle whose window is gone shows nothing.
  static void Show(const Contact::CContactData& contact, int x, int y, HWND owner);
  // Shows `contact` in the card that is shown; nothing when none is.
  static void Refresh(const Contact::CContactData& contact);
  // Hides the card; nothing when none is shown.
  static void Hide();
  // The card shown, or null.
  static CContactCard* Current();

  // Paints the card into `dc`, whose origin is the card's top-left corner.
  void Draw(HDC dc, const RECT& rc) const;
  const CardLayout& layout() const { return m_layout; }

  BEGIN_MSG_MAP(CContactCard)
    MESSAGE_HANDLER(WM_PAINT, OnPaint)
    MESSAGE_HANDLER(WM_PRINTCLIENT, OnPrintClient)
    MESSAGE_HANDLER(WM_ERASEBKGND, OnEraseBkgnd)
    MESSAGE_HANDLER(WM_DRAWITEM, OnDrawItem)
    MESSAGE_HANDLER(WM_MOUSEACTIVATE, OnMouseActivate)
  END_MSG_MAP()

 private:
  explicit CContactCard(HWND owner) : m_owner(owner) {}
  bool CreateWindowFor(HWND owner);
  void LoadLook();
  CardMetrics MetricsFor(const RECT& workArea) const;
  // Lays the card out for the contact held, sizes and places it at the
  // position asked for (kept on the work area) and renews its line controls.
  void Place();
  void RenewLineControls();
  void WatchOwner();
  void StopWatchingOwner();
  static LRESULT CALLBACK OwnerWatch(HWND owner, UINT msg, WPARAM wParam, LPARAM lParam, UINT_PTR id, DWORD_PTR);

  LRESULT OnPaint(UINT, WPARAM, LPARAM, BOOL&);
  LRESULT OnPrintClient(UINT, WPARAM wParam, LPARAM, BOOL&);
  LRESULT OnEraseBkgnd(UINT, WPARAM, LPARAM, BOOL&) { return 1; }
  LRESULT OnDrawItem(UINT, WPARAM, LPARAM, BOOL&) { return TRUE; }  // the card drew the line already
  LRESULT OnMouseActivate(UINT, WPARAM, LPARAM, BOOL&) { return MA_NOACTIVATE; }
  void OnFinalMessage(HWND) override;

  HWND m_owner;
  bool m_watching = false;
  Contact::CContactData m_contact;
  POINT m_position{};  // asked for; the card may sit elsewhere to stay on the work area
  CardTexts m_texts;
  CardLayout m_layout;
  wf::ScopedFont m_nameFont, m_captionFont, m_textFont;
  COLORREF m_textColor = RGB(0x1F, 0x3A, 0x5F);
  COLORREF m_captionColor = RGB(0x2B, 0x7B, 0xD6);
  COLORREF m_lineColor = RGB(0x7F, 0xA8, 0xD6);  // separators, the outline
  COLORREF m_labelColor = RGB(0x4F, 0x71, 0x9A);
};

}  // namespace jorv
