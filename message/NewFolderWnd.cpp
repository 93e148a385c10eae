#include "message/NewFolderWnd.h"

#include "controls/ResText.h"
#include "controls/SkinPaint.h"
#include "frame/suite/BaseLibrary.h"
#include "frame/suite/SharedDialogs.h"
#include "framework/ActivationContext.h"
#include "framework/Module.h"
#include "message/NewFolderRules.h"

namespace {

constexpr int kCornerRadius = 12;

}  // namespace

int CNewFolderWnd::Run(HWND owner, const std::vector<std::wstring>& existingNames) {
  m_existingNames = existingNames;
  m_name.clear();
  HINSTANCE resources = wf::GetResourceInstance();
  // Common controls 6 for the dialog's controls, as for the main window.
  wf::ScopedActivationContext manifest(resources, 2);
  const INT_PTR result = DoModal(owner, 0, resources);
  if (result == -1) {
    LOG::E(PIM_ERROR_LOG, "CNewFolderWnd: dialog template %d is missing or damaged", IDD_NEW_FOLDER);
    return -1;
  }
  return result == 1 ? 1 : 0;
}

void CNewFolderWnd::BindControls() {
  for (CQsStatic* text : {&m_title, &m_label}) {
    text->SubclassDlgItem(text == &m_title ? IDC_NEWFOLDER_TITLE : IDC_NEWFOLDER_LABEL, m_hWnd);
    text->SetStateFontFromKey(qs::kFallbackState, L"tamix_font_gditwo");
    text->SetStateColorFromKey(qs::kFallbackState, L"tamix_color_one");
  }
  for (CQsButton* button : {&m_save, &m_cancel}) {
    button->SubclassDlgItem(button == &m_save ? IDOK : IDCANCEL, m_hWnd);
    button->SetStateImageFromKey(qs::kButtonNormal, L"Jorvhelper_newcontact_btn_normal.png");
    button->SetStateImageFromKey(qs::kButtonFocused, L"Jorvhelper_newcontact_btn_nmousein.png");
    button->SetStateImageFromKey(qs::kButtonHover, L"Jorvhelper_newcontact_btn_nmousein.png");
    button->SetStateImageFromKey(qs::kButtonPressed, L"Jorvhelper_newcontact_btn_down.png");
    button->SetStateFontFromKey(qs::kButtonNormal, L"tamix_font_gditwo");
    button->SetStateColorFromKey(qs::kButtonNormal, L"tamix_color_one");
  }  if (m_close.SubclassDlgItem(IDC_NEWFOLDER_CLOSE, m_hWnd)) m_close.UseCloseBox();
}

LRESULT CNewFolderWnd::OnInitDialog(UINT, WPARAM, LPARAM, BOOL&) {
  SetBackgroundImage(L"common_jorvhelper_background.png");
  BindControls();
  InitSkin();
  const std::wstring title = qs::ResText(L"pim.sms.newfolder");
  SetWindowText(title.c_str());  // other windows find the dialog by it
  ::SetDlgItemTextW(m_hWnd, IDC_NEWFOLDER_TITLE, title.c_str());
  ::SetDlgItemTextW(m_hWnd, IDC_NEWFOLDER_LABEL, qs::ResText(L"pim.static.foldername").c_str());
  ::SetDlgItemTextW(m_hWnd, IDOK, qs::ResText(L"common.save").c_str());
  ::SetDlgItemTextW(m_hWnd, IDCANCEL, qs::ResText(L"common.button.cancel").c_str());
  HWND name = ::GetDlgItem(m_hWnd, IDC_NEWFOLDER_NAME);
  // Typing and pasting stop at the limit; a longer paste is cut.
  ::SendMessageW(name, EM_LIMITTEXT, kNameLimit, 0);
  // A fixed size, dragged by its body: the menu offers neither.
  if (HMENU system = ::GetSystemMenu(m_hWnd, FALSE)) {
    ::DeleteMenu(system, SC_SIZE, MF_BYCOMMAND);
    ::DeleteMenu(system, SC_MOVE, MF_BYCOMMAND);
  }
  skin::ApplyRoundedOutline(m_hWnd, kCornerRadius);
  ::SetFocus(name);
  return FALSE;  // the focus is set
}

LRESULT CNewFolderWnd::OnSize(UINT, WPARAM, LPARAM, BOOL& bHandled) {
  skin::ApplyRoundedOutline(m_hWnd, kCornerRadius);
  bHandled = FALSE;
  return 0;
}

LRESULT CNewFolderWnd::OnLButtonDown(UINT, WPARAM, LPARAM, BOOL&) {
  ::ReleaseCapture();
  ::SendMessageW(m_hWnd, WM_NCLBUTTONDOWN, HTCAPTION, 0);
  return 0;
}

void CNewFolderWnd::Refuse(const wchar_t* textKey, const wchar_t* captionKey) {
  JorvMessageBox(m_hWnd, qs::ResText(textKey).c_str(), qs::ResText(captionKey).c_str(), 0, 0, 0);
  // Back to the name, as typed, for the user to correct it.
  HWND name = ::GetDlgItem(m_hWnd, IDC_NEWFOLDER_NAME);
  ::SetFocus(name);
  ::SendMessageW(name, EM_SETSEL, 0, -1);
}

LRESULT CNewFolderWnd::OnSave(WORD, WORD, HWND, BOOL&) {
  wchar_t buffer[kReadLimit + 1] = {};
  ::GetDlgItemTextW(m_hWnd, IDC_NEWFOLDER_NAME, buffer, kReadLimit + 1);
  std::wstring name;
  switch (Message::CheckFolderName(buffer, m_existingNames, name)) {
    case Message::FolderNameVerdict::kEmpty:
      Refuse(L"pim.contact.groupemptytip", L"shell.maindlg.title");
      return 0;
    case Message::FolderNameVerdict::kExists:
      Refuse(L"pim.folder.existtip", L"common.messagebox.tamixtip");
      return 0;
    case Message::FolderNameVerdict::kAccepted:
      break;
  }
  m_name = name;
  EndDialog(1);
  return 0;
}

LRESULT CNewFolderWnd::OnCancel(WORD, WORD, HWND, BOOL&) {
  EndDialog(0);
  return 0;
}
