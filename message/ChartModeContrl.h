// CQsChartModeContrl: the conversation's speech bubbles, drawn by the control
// itself, with a vertical scroll bar. Its arithmetic is chat::CChatLayout
// (ChatLayout.h); its drawing is chat::PaintBubbles below, which draws into
// any device context (WM_PAINT's off-screen buffer, WM_PRINTCLIENT, a test's
// bitmap) and changes nothing.
//
// It is a window of the class kClassName, registered for the whole process
// so that dialog templates may name it; Create makes one in code. Either way
// the object binds to the window by subclassing it.
//
// Mouse and keys: a left click selects the bubble under the pointer (and
// takes the focus unless the control is read-only); a click in a bubble's
// action area also tells the parent (QSCN_ACTIONCLICK). A right click selects
// too, and the platform then sends the parent WM_CONTEXTMENU for the control.
// The wheel, the scroll bar, the arrow keys, Page Up / Page Down and Home /
// End scroll; one scroll unit is 16 pixels.
#pragma once
#include <windows.h>

#include <climits>
#include <vector>

#include "controls/ImageMgr.h"
#include "framework/Gdi.h"
#include "framework/WindowImpl.h"
#include "message/ChatLayout.h"

// QSCN_ACTIONCLICK (WM_NOTIFY to the parent; wParam: the control's id): the
// user clicked the action area of a bubble. lParam: NMQSCHATITEM*. Sent after
// the click selected the bubble; the return value is ignored.
constexpr UINT QSCN_ACTIONCLICK = 0x2410;

typedef struct tagNMQSCHATITEM {
  NMHDR hdr;
  int iItem;    // the bubble
  int iAction;  // 0: the area at its left edge, 1: at its right edge
} NMQSCHATITEM, *LPNMQSCHATITEM;

namespace chat {

// Colours and fonts of the bubbles.
struct ChatLook {
  COLORREF background = RGB(0xFE, 0xFE, 0xFE);
  COLORREF frame = RGB(0xFF, 0xFF, 0xFF);
  // Each side's gradient, top colour first.
  COLORREF leftTop = RGB(0xDD, 0xEA, 0xF7);
  COLORREF leftBottom = RGB(0xE0, 0xE9, 0xF3);
  COLORREF rightTop = RGB(0xFF, 0xFF, 0xFF);
  COLORREF rightBottom = RGB(0x9F, 0xB7, 0xCE);
  // The highlight behind an item: selected, selected in a read-only control
  // (quieter, it has no keyboard use), and under the mouse.
  COLORREF selectedFill = RGB(0xCC, 0xDA, 0xE7);
  COLORREF selectedFrame = RGB(0x8F, 0xC4, 0xF6);
  COLORREF readOnlyFill = RGB(0xE5, 0xEA, 0xF4);
  COLORREF readOnlyFrame = RGB(0xDC, 0xD2, 0xE5);
  COLORREF hoverFill = RGB(0xE6, 0xEB, 0xF4);
  COLORREF hoverFrame = RGB(0xC8, 0xD2, 0xE5);
  COLORREF text = RGB(0x1F, 0x2A, 0x38);
  COLORREF heading = RGB(0x5A, 0x6E, 0x86);
  HFONT textFont = nullptr;     // weight 400
  HFONT headingFont = nullptr;  // weight 600
};

struct ChatViewState {
  int scrollTop = 0;
  int selected = -1;
  int hover = -1;
  bool readOnly = false;
};

// Paints the part `clip` (client coordinates) of a view of `layout` scrolled
// to view.scrollTop: the background, then every item the clip touches.
void PaintBubbles(HDC dc, const RECT& clip, const CChatLayout& layout, const ChatLook& look, const ChatViewState& view);

}  // namespace chat

class CQsChartModeContrl : public wf::CWindowImpl<CQsChartModeContrl>,
                           public CImageMgrCtrlBase<CQsChartModeContrl> {
 public:
  static constexpr const wchar_t* kClassName = L"QsChartModeContrl";
  static constexpr int kFontHeight = 12;

  CQsChartModeContrl();
  ~CQsChartModeContrl() override;

  // Registers the window class (once per process); templates need it before
  // the dialog is made.
  static bool RegisterWindowClass();
  // Makes the control as a child of `parent`.
  HWND Create(HWND parent, const RECT& rc, UINT id, DWORD style = WS_CHILD | WS_VISIBLE | WS_VSCROLL | WS_TABSTOP);
  // Binds a window of kClassName (a dialog's control).
  BOOL SubclassWindow(HWND window) override;

  // ---- items ----
  // Replaces the bubbles; the view goes to the end (the newest) or the top.
  void SetItems(std::vector<chat::BubbleItem> items, bool showEnd = true);
  // Adds bubbles at the end and shows them.
  void AppendItems(std::vector<chat::BubbleItem> items);
  void RemoveItems(const std::vector<int>& indices);
  void ClearItems() { SetItems({}); }
  int GetItemCount() const { return m_layout.Count(); }
  const chat::BubbleItem& GetItem(int index) const { return m_layout.Item(index); }

  int GetSelectedIndex() const { return m_selected; }
  void SetSelectedIndex(int index);
  int GetHoverIndex() const { return m_hover; }
  // A read-only control does not take the focus when clicked.
  void SetReadOnly(bool readOnly);
  bool IsReadOnly() const { return m_readOnly; }

  // ---- scrolling (pixels from the top of the conversation) ----
  int GetScrollTop() const { return m_top; }
  int GetContentHeight() const { return m_layout.ContentHeight(); }
  void ScrollTo(int top);
  void ScrollToEnd() { ScrollTo(INT_MAX / 2); }
  void ScrollBy(int pixels) { ScrollTo(m_top + pixels); }

  // ---- geometry, in client coordinates ----
  // False for an index out of range.
  bool GetItemGeometry(int index, chat::BubbleGeometry& geometry) const;
  chat::ChatHit HitTest(POINT client) const;
  const chat::CChatLayout& Layout() const { return m_layout; }

  // ---- looks ----
  const chat::ChatLook& Look() const { return m_look; }
  // New colours; the fonts stay the control's own (texts are measured in them).
  void SetLook(const chat::ChatLook& look);

  // Draws the control as it looks now into `dc` (client coordinates).
  void Paint(HDC dc, const RECT& clip) const;

  BEGIN_MSG_MAP(CQsChartModeContrl)
    MESSAGE_HANDLER(WM_PAINT, OnPaint)
    MESSAGE_HANDLER(WM_PRINTCLIENT, OnPrintClient)
    MESSAGE_HANDLER(WM_ERASEBKGND, OnEraseBkgnd)
    MESSAGE_HANDLER(WM_SIZE, OnSize)
    MESSAGE_HANDLER(WM_VSCROLL, OnVScroll)
    MESSAGE_HANDLER(WM_MOUSEWHEEL, OnMouseWheel)
    MESSAGE_HANDLER(WM_KEYDOWN, OnKeyDown)
    MESSAGE_HANDLER(WM_GETDLGCODE, OnGetDlgCode)
    MESSAGE_HANDLER(WM_LBUTTONDOWN, OnLButtonDown)
    MESSAGE_HANDLER(WM_RBUTTONDOWN, OnRButtonDown)
    MESSAGE_HANDLER(WM_MOUSEMOVE, OnMouseMove)
    MESSAGE_HANDLER(WM_MOUSELEAVE, OnMouseLeave)
  END_MSG_MAP()

 private:
  LRESULT OnPaint(UINT, WPARAM, LPARAM, BOOL&);
  LRESULT OnPrintClient(UINT, WPARAM, LPARAM, BOOL&);
  LRESULT OnEraseBkgnd(UINT, WPARAM, LPARAM, BOOL&) { return 1; }
  LRESULT OnSize(UINT, WPARAM, LPARAM, BOOL&);
  LRESULT OnVScroll(UINT, WPARAM, LPARAM, BOOL&);
  LRESULT OnMouseWheel(UINT, WPARAM, LPARAM, BOOL&);
  LRESULT OnKeyDown(UINT, WPARAM, LPARAM, BOOL&);
  LRESULT OnGetDlgCode(UINT, WPARAM, LPARAM, BOOL&) { return DLGC_WANTARROWS; }
  LRESULT OnLButtonDown(UINT, WPARAM, LPARAM, BOOL&);
  LRESULT OnRButtonDown(UINT, WPARAM, LPARAM, BOOL&);
  LRESULT OnMouseMove(UINT, WPARAM, LPARAM, BOOL&);
  LRESULT OnMouseLeave(UINT, WPARAM, LPARAM, BOOL&);

  void OnBound();
  void MakeFonts();
  int ClientHeight() const;
  // Places the view at `top` after measuring what it shows, and shows it.
  void SettleAt(int top);
  void UpdateScrollBar();
  void SetHover(int index);
  void SendActionClick(int item, int action);

  chat::CChatLayout m_layout;
  chat::ChatLook m_look;
  wf::ScopedFont m_textFont, m_headingFont;
  HDC m_measureDc = nullptr;  // holds the text font, for measuring without a window DC
  HGDIOBJ m_measureDcFont = nullptr;
  int m_top = 0;
  int m_viewHeight = 0;  // the client height the view was settled for
  int m_selected = -1;
  int m_hover = -1;
  bool m_readOnly = false;
  bool m_trackingLeave = false;
  SCROLLINFO m_shownBar{};  // what the scroll bar shows (cbSize 0: not set yet)
};
