// Template members of CQsSkinWindowUI (included by SkinWindow.h).
#include "controls/SkinPaint.h"
#include "frame/suite/ResourceLibrary.h"
#include "framework/Gdi.h"

template <class T, int t_flag>
void CQsSkinWindowUI<T, t_flag>::InitSkin() {
  skin::LoadSharedSkin();
  for (HWND child = ::GetWindow(Window(), GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT)) {
    if (IsSkinned(child)) continue;  // the window bound it to a control of its own
    if (auto bound = skin::BindSkinnedControl(child)) m_bound.push_back(std::move(bound));
  }
}

template <class T, int t_flag>
void CQsSkinWindowUI<T, t_flag>::DrawFrame(Gdiplus::Graphics& g) {
  RECT window;
  ::GetWindowRect(Window(), &window);
  skin::DrawNineFrame(g, m_frame, Gdiplus::Rect(0, 0, window.right - window.left, window.bottom - window.top));
}

template <class T, int t_flag>
void CQsSkinWindowUI<T, t_flag>::SetFrameImages(const wchar_t* const names[skin::kFramePieces]) {
  for (int i = 0; i < skin::kFramePieces; ++i) {
    m_frame[i] = nullptr;
    GetImage(names[i], m_frame[i]);
  }
}

template <class T, int t_flag>
void CQsSkinWindowUI<T, t_flag>::SetBackgroundImage(const std::wstring& name) {
  m_background = nullptr;
  GetImage(name, m_background);
}

template <class T, int t_flag>
void CQsSkinWindowUI<T, t_flag>::PaintBackground(HDC dc, const RECT& client) {
  wf::ScopedBrush fill(::CreateSolidBrush(m_backgroundColor));
  ::FillRect(dc, &client, fill);
  Gdiplus::Graphics g(dc);
  if (t_flag == 1) {
    DrawFrame(g);
  } else if (m_background) {
    g.SetInterpolationMode(Gdiplus::InterpolationModeBilinear);
    g.SetPixelOffsetMode(Gdiplus::PixelOffsetModeHalf);
    g.DrawImage(m_background, static_cast<INT>(client.left), static_cast<INT>(client.top),
                static_cast<INT>(client.right - client.left), static_cast<INT>(client.bottom - client.top));
  }
}

template <class T, int t_flag>
void CQsSkinWindowUI<T, t_flag>::PaintChildBackground(HDC dc, HWND child) {
  RECT rc;
  ::GetWindowRect(child, &rc);
  ::MapWindowPoints(HWND_DESKTOP, Window(), reinterpret_cast<POINT*>(&rc), 2);
  RECT client;
  ::GetClientRect(Window(), &client);
  POINT old;
  ::OffsetViewportOrgEx(dc, -rc.left, -rc.top, &old);
  PaintBackground(dc, client);
  ::SetViewportOrgEx(dc, old.x, old.y, nullptr);
}

template <class T, int t_flag>
LRESULT CQsSkinWindowUI<T, t_flag>::OnEraseBkgnd(UINT, WPARAM wParam, LPARAM, BOOL&) {
  RECT client;
  ::GetClientRect(Window(), &client);
  PaintBackground(reinterpret_cast<HDC>(wParam), client);
  return 1;
}

template <class T, int t_flag>
LRESULT CQsSkinWindowUI<T, t_flag>::OnPrintClient(UINT, WPARAM wParam, LPARAM, BOOL& bHandled) {
  RECT client;
  ::GetClientRect(Window(), &client);
  PaintBackground(reinterpret_cast<HDC>(wParam), client);
  bHandled = FALSE;  // the dialog may draw more on top
  return 0;
}

template <class T, int t_flag>
LRESULT CQsSkinWindowUI<T, t_flag>::OnPaintChildBackground(UINT, WPARAM wParam, LPARAM lParam, BOOL&) {
  PaintChildBackground(reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam));
  return 1;
}

template <class T, int t_flag>
LRESULT CQsSkinWindowUI<T, t_flag>::OnCtlColor(UINT, WPARAM wParam, LPARAM, BOOL&) {
  // Plain children sit on the skin's background colour.
  if (!m_brush) m_brush = ::CreateSolidBrush(m_backgroundColor);
  ::SetBkMode(reinterpret_cast<HDC>(wParam), TRANSPARENT);
  ::SetTextColor(reinterpret_cast<HDC>(wParam), skin::theme::kText);
  return reinterpret_cast<LRESULT>(m_brush);
}
