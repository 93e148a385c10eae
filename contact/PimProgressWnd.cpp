#include "contact/PimProgressWnd.h"

#include <commctrl.h>

#include "controls/ResText.h"
#include "controls/SkinPaint.h"
#include "framework/ActivationContext.h"
#include "framework/Module.h"

namespace {
constexpr int kCornerRadius = 8;
}

std::wstring CPimProgressWnd::CounterText(uint32_t done, uint32_t total) {
  return std::to_wstring(done) + L"/" + std::to_wstring(total);
}

int CPimProgressWnd::BarPosition(uint32_t done, uint32_t total) {
  if (total == 0) return 0;
  uint64_t position = uint64_t(done) * 100 / total;
  return static_cast<int>(position > 100 ? 100 : position);
}

void CPimProgressWnd::SetTexts(std::wstring title, std::wstring message) {
  m_title = std::move(title);
  m_message = std::move(message);
}

INT_PTR CPimProgressWnd::Run(HWND owner) {
  m_done = m_total = 0;
  HINSTANCE resources = wf::GetResourceInstance();
  wf::ScopedActivationContext manifest(resources, 2);
  return DoModal(owner, 0, resources);
}

LRESULT CPimProgressWnd::OnInitDialog(UINT, WPARAM, LPARAM, BOOL&) {
  SetBackgroundImage(L"common_jorvhelper_background.png");
  if (m_close.SubclassDlgItem(IDC_PROGRESS_CLOSE, m_hWnd)) m_close.UseCloseBox();
  InitSkin();
  SetWindowText(m_title.c_str());
  ::SetDlgItemTextW(m_hWnd, IDC_PROGRESS_TITLE, m_title.c_str());
  ::SetDlgItemTextW(m_hWnd, IDC_PROGRESS_MESSAGE, m_message.c_str());
  ::SetDlgItemTextW(m_hWnd, IDC_PROGRESS_COUNTER, L"");
  ::SetDlgItemTextW(m_hWnd, IDCANCEL, qs::ResText(L"common.button.cancel").c_str());
  m_bar.SubclassDlgItem(IDC_PROGRESS_BAR, m_hWnd);
  m_bar.SetStateImageFromKey(qs::kProgressTrack, L"pim_progress_bg.png");
  m_bar.SetStateImageFromKey(qs::kProgressFill, L"pim_progress_front_body.png");
  m_bar.SetStateImageFromKey(qs::kProgressEdge, L"pim_progress_front_end.png");
  m_bar.SetStateImageFromKey(qs::kProgressFrame, L"pim_progress_front_begin.png");
  m_bar.SendMessage(PBM_SETRANGE32, 0, 100);
  m_bar.SendMessage(PBM_SETPOS, 0);
  if (HMENU system = ::GetSystemMenu(m_hWnd, FALSE)) ::DeleteMenu(system, SC_MOVE, MF_BYCOMMAND);
  ApplyOutline();
  if (m_total) SetProgress(m_done, m_total);  // progress that came before the window
  return TRUE;
}

void CPimProgressWnd::SetProgress(uint32_t done, uint32_t total) {
  m_done = done;
  m_total = total;
  if (!IsOpen()) return;
  ::SetDlgItemTextW(m_hWnd, IDC_PROGRESS_COUNTER, CounterText(done, total).c_str());
  m_bar.SendMessage(PBM_SETPOS, BarPosition(done, total));
  m_bar.Invalidate(FALSE);
}

void CPimProgressWnd::Close(INT_PTR result) {
  if (IsOpen()) EndDialog(result);
}

LRESULT CPimProgressWnd::OnSize(UINT, WPARAM, LPARAM, BOOL& bHandled) {
  ApplyOutline();
  bHandled = FALSE;
  return 0;
}

void CPimProgressWnd::ApplyOutline() { skin::ApplyRoundedOutline(m_hWnd, kCornerRadius); }

LRESULT CPimProgressWnd::OnLButtonDown(UINT, WPARAM, LPARAM, BOOL&) {
  ::ReleaseCapture();
  ::SendMessageW(m_hWnd, WM_NCLBUTTONDOWN, HTCAPTION, 0);
  return 0;
}

LRESULT CPimProgressWnd::OnCancel(WORD, WORD, HWND, BOOL&) {
  EndDialog(kCancelled);
  return 0;
}
