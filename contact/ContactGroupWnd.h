// The dialog in which a contact group is created or edited: its name and its
// remark. A skinned modal dialog from the resource module, with rounded
// corners, moved by dragging anywhere on it. The name rules are
// ContactGroupRules; the dialog only shows their verdicts.
#pragma once
#include <string>
#include <vector>

#include "contact/ContactData.h"
#include "controls/QsButton.h"
#include "controls/SkinWindow.h"
#include "frame/resmodule/PimResIds.h"
#include "framework/DataExchange.h"
#include "framework/DialogImpl.h"

namespace Contact {

class CContactGroupWnd : public wf::CDialogImpl<CContactGroupWnd>,
                         public CQsSkinWindowUI<CContactGroupWnd, 0>,
                         public wf::CWinDataExchange<CContactGroupWnd> {
 public:
  enum { IDD = IDD_CONTACT_GROUP };
  enum class Mode { kNew, kEdit };
  using SkinBase = CQsSkinWindowUI<CContactGroupWnd, 0>;
  // Each field is read up to this many characters.
  static constexpr int kFieldLimit = 512;

  // `group` is copied; `existingNames` are the names of all groups.
  CContactGroupWnd(Mode mode, const CGroupData& group, std::vector<std::wstring> existingNames);

  // Runs the dialog over `owner` from the resource module; IDOK when saved
  // (then Group() holds the name and remark), 0 otherwise.
  INT_PTR Run(HWND owner);
  const CGroupData& Group() const { return m_group; }

  BEGIN_MSG_MAP(CContactGroupWnd)
    MESSAGE_HANDLER(WM_INITDIALOG, OnInitDialog)
    MESSAGE_HANDLER(WM_LBUTTONDOWN, OnLButtonDown)
    MESSAGE_HANDLER(WM_SIZE, OnSize)
    COMMAND_ID_HANDLER(IDOK, OnSave)
    COMMAND_ID_HANDLER(IDCANCEL, OnCancel)
    COMMAND_ID_HANDLER(IDC_GROUP_CLOSE, OnCancel)
    CHAIN_MSG_MAP(SkinBase)
  END_MSG_MAP()

  // Fills the fields (and limits them); saving reads them with ReadField,
  // which cuts an over-long text instead of refusing it.
  BEGIN_DDX_MAP(CContactGroupWnd)
    DDX_TEXT_LEN(IDC_GROUP_NAME, m_group.m_name, kFieldLimit)
    DDX_TEXT_LEN(IDC_GROUP_REMARK, m_group.m_remark, kFieldLimit)
  END_DDX_MAP()

 private:
  LRESULT OnInitDialog(UINT, WPARAM, LPARAM, BOOL&);
  LRESULT OnLButtonDown(UINT, WPARAM, LPARAM, BOOL&);
  LRESULT OnSize(UINT, WPARAM, LPARAM, BOOL&);
  LRESULT OnSave(WORD, WORD, HWND, BOOL&);
  LRESULT OnCancel(WORD, WORD, HWND, BOOL&);
  void Tip(const wchar_t* key);
  // The rounded outline, corner radius 12.
  void ApplyOutline();
  // A field's text, at most kFieldLimit characters of it.
  std::wstring ReadField(int id) const;

  Mode m_mode;
  CGroupData m_group;
  std::wstring m_nameAtOpening;
  std::vector<std::wstring> m_existingNames;
  CQsButton m_close;
};

}  // namespace Contact
