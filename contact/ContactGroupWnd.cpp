#include "contact/ContactGroupWnd.h"

#include "contact/ContactGroupRules.h"
#include "controls/ResText.h"
#include "controls/SkinPaint.h"
#include "frame/suite/ResourceLibrary.h"
#include "frame/suite/SharedDialogs.h"
#include "framework/ActivationContext.h"
#include "framework/Module.h"

namespace Contact {
namespace {

constexpr int kCornerRadius = 12;

}  // namespace

CContactGroupWnd::CContactGroupWnd(Mode mode, const CGroupData& group, std::vector<std::wstring> existingNames)
    : m_mode(mode), m_group(group), m_nameAtOpening(group.m_name), m_existingNames(std::move(existingNames)) {}

INT_PTR CContactGroupWnd::Run(HWND owner) {
  HINSTANCE resources = wf::GetResourceInstance();
  // Common controls 6 for the dialog's controls, as for the main window.
  wf::ScopedActivationContext manifest(resources, 2);
  return DoModal(owner, 0, resources);
}

LRESULT CContactGroupWnd::OnInitDialog(UINT, WPARAM, LPARAM, BOOL&) {
  SetBackgroundImage(L"pim_contactgroup_bg.png");
  if (m_close.SubclassDlgItem(IDC_GROUP_CLOSE, m_hWnd)) m_close.UseCloseBox();
  InitSkin();
  std::wstring title = qs::ResText(m_mode == Mode::kEdit ? L"pim.menu.editgroup" : L"pim.static.newgroup");
  SetWindowText(title.c_str());  // other windows find the dialog by it
  ::SetDlgItemTextW(m_hWnd, IDC_GROUP_TITLE, title.c_str());
  ::SetDlgItemTextW(m_hWnd, IDC_GROUP_NAME_LABEL, qs::ResText(L"pim.static.groupname").c_str());
  ::SetDlgItemTextW(m_hWnd, IDC_GROUP_REMARK_LABEL, qs::ResText(L"common.remark").c_str());
  ::SetDlgItemTextW(m_hWnd, IDOK, qs::ResText(L"common.save").c_str());
  ::SetDlgItemTextW(m_hWnd, IDCANCEL, qs::ResText(L"common.button.cancel").c_str());
  DoDataExchange(false);
  // Dragged by its body, never moved from a menu.
  if (HMENU system = ::GetSystemMenu(m_hWnd, FALSE)) ::DeleteMenu(system, SC_MOVE, MF_BYCOMMAND);
  ApplyOutline();
  HWND name = ::GetDlgItem(m_hWnd, IDC_GROUP_NAME);
  ::SetFocus(name);
  ::SendMessageW(name, EM_SETSEL, 0, -1);
  return FALSE;  // the focus is set
}

LRESULT CContactGroupWnd::OnSize(UINT, WPARAM, LPARAM, BOOL& bHandled) {
  ApplyOutline();
  bHandled = FALSE;
  return 0;
}

void CContactGroupWnd::ApplyOutline() { skin::ApplyRoundedOutline(m_hWnd, kCornerRadius); }

LRESULT CContactGroupWnd::OnLButtonDown(UINT, WPARAM, LPARAM, BOOL&) {
  ::ReleaseCapture();
  ::SendMessageW(m_hWnd, WM_NCLBUTTONDOWN, HTCAPTION, 0);
  return 0;
}

std::wstring CContactGroupWnd::ReadField(int id) const {
  wchar_t buffer[kFieldLimit + 1] = {};
  ::GetDlgItemTextW(m_hWnd, id, buffer, kFieldLimit + 1);
  return buffer;
}

void CContactGroupWnd::Tip(const wchar_t* key) {
  JorvMessageBox(m_hWnd, qs::ResText(key).c_str(), qs::ResText(L"common.messagebox.tamixtip").c_str(), 0, 0, 0);
}

LRESULT CContactGroupWnd::OnSave(WORD, WORD, HWND, BOOL&) {
  std::wstring name;
  switch (CheckGroupName(ReadField(IDC_GROUP_NAME), m_nameAtOpening, m_existingNames, name)) {
    case GroupNameVerdict::kEmpty:
      Tip(L"pim.contact.groupemptytip");
      return 0;
    case GroupNameVerdict::kExists:
      Tip(L"pim.group.existtip");
      return 0;
    case GroupNameVerdict::kAccepted:
      break;
  }
  m_group.m_name = name;
  m_group.m_remark = ReadField(IDC_GROUP_REMARK);
  EndDialog(IDOK);
  return 0;
}

LRESULT CContactGroupWnd::OnCancel(WORD, WORD, HWND, BOOL&) {
  EndDialog(0);
  return 0;
}

}  // namespace Contact
