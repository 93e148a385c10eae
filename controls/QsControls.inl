// Template members of CQsBoxButton (included by QsControls.h).
#include "controls/SkinPaint.h"
#include "framework/Gdi.h"

template <class T>
BOOL CQsBoxButton<T>::SubclassWindow(HWND hWnd) {
  if (!wf::CWindowImpl<T>::SubclassWindow(hWnd)) return FALSE;
  this->MarkBound(hWnd);
  return TRUE;
}

template <class T>
int CQsBoxButton<T>::CurrentState() {
  HWND hWnd = this->m_hWnd;
  bool checked = ::SendMessageW(hWnd, BM_GETCHECK, 0, 0) == BST_CHECKED;
  bool disabled = (::GetWindowLongPtrW(hWnd, GWL_STYLE) & WS_DISABLED) != 0;
  bool focused = m_focusLook || ::GetFocus() == hWnd;
  int state = ChooseState(checked, disabled, focused);
  return this->GetStateImage(state) ? state : qs::kFallbackState;
}

template <class T>
void CQsBoxButton<T>::Paint(HDC dc, const RECT& client) {
  skin::PaintParentBackground(this->m_hWnd, dc, client);
  int state = CurrentState();
  Gdiplus::Bitmap* box = this->GetStateImage(state);
  int size = box ? static_cast<int>(box->GetWidth()) : 16;
  int height = box ? static_cast<int>(box->GetHeight()) : 16;
  RECT boxRect{client.left, client.top + (client.bottom - client.top - height) / 2, 0, 0};
  boxRect.right = boxRect.left + size;
  boxRect.bottom = boxRect.top + height;
  if (box) {
    skin::DrawStretched(dc, box, boxRect);
  } else {
    wf::ScopedBrush face(::CreateSolidBrush(skin::theme::kWindow));
    ::FillRect(dc, &boxRect, face);
    wf::ScopedBrush border(::CreateSolidBrush(skin::theme::kBorder));
    ::FrameRect(dc, &boxRect, border);
  }
  RECT text{boxRect.right + 5, client.top, client.right, client.bottom};
  bool disabled = (::GetWindowLongPtrW(this->m_hWnd, GWL_STYLE) & WS_DISABLED) != 0;
  skin::DrawTextIn(dc, wf::CWindow(this->m_hWnd).GetWindowText(), text, this->GetStateFont(state),
                   disabled ? skin::theme::kDisabledText : this->GetStateTextColor(state),
                   DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_END_ELLIPSIS);
}

template <class T>
LRESULT CQsBoxButton<T>::OnPaint(UINT, WPARAM, LPARAM, BOOL&) {
  wf::PaintDC dc(this->m_hWnd);
  skin::PaintBuffered(this->m_hWnd, dc, [this](HDC buffer, const RECT& client) { Paint(buffer, client); });
  return 0;
}

template <class T>
LRESULT CQsBoxButton<T>::OnPrintClient(UINT, WPARAM wParam, LPARAM, BOOL&) {
  RECT client;
  ::GetClientRect(this->m_hWnd, &client);
  Paint(reinterpret_cast<HDC>(wParam), client);
  return 0;
}

template <class T>
LRESULT CQsBoxButton<T>::OnRepaintAfterDefault(UINT msg, WPARAM wParam, LPARAM lParam, BOOL&) {
  LRESULT result = this->DefWindowProc(msg, wParam, lParam);
  ::InvalidateRect(this->m_hWnd, nullptr, FALSE);
  return result;
}
