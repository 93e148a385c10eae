// The dialog that asks for the name of a new user folder of the messages
// page. A skinned modal dialog from the resource module, with rounded
// corners, moved by dragging anywhere on it. The name rules are
// NewFolderRules; the dialog only shows their verdicts, and never ends with 1
// for an empty or taken name, so the caller creates the folder unchecked.
#pragma once
#include <string>
#include <vector>

#include "controls/QsButton.h"
#include "controls/QsControls.h"
#include "controls/SkinWindow.h"
#include "frame/resmodule/PimResIds.h"
#include "framework/DialogImpl.h"

class CNewFolderWnd : public wf::CDialogImpl<CNewFolderWnd>, public CQsSkinWindowUI<CNewFolderWnd, 0> {
 public:
  enum { IDD = IDD_NEW_FOLDER };
  using SkinBase = CQsSkinWindowUI<CNewFolderWnd, 0>;
  // The edit takes at most kNameLimit characters; saving reads up to
  // kReadLimit of them.
  static constexpr int kNameLimit = 255;
  static constexpr int kReadLimit = 512;

  // Runs the dialog over `owner`; `existingNames` are the names of the folders
  // there are. 1 when saved (Name() holds the trimmed name), 0 on cancel or
  // close, -1 when the dialog cannot be made.
  int Run(HWND owner, const std::vector<std::wstring>& existingNames);
  const std::wstring& Name() const { return m_name; }

  BEGIN_MSG_MAP(CNewFolderWnd)
    MESSAGE_HANDLER(WM_INITDIALOG, OnInitDialog)
    MESSAGE_HANDLER(WM_LBUTTONDOWN, OnLButtonDown)
    MESSAGE_HANDLER(WM_SIZE, OnSize)
    COMMAND_ID_HANDLER(IDOK, OnSave)
    COMMAND_ID_HANDLER(IDCANCEL, OnCancel)
    COMMAND_ID_HANDLER(IDC_NEWFOLDER_CLOSE, OnCancel)
    CHAIN_MSG_MAP(SkinBase)
  END_MSG_MAP()

 private:
  LRESULT OnInitDialog(UINT, WPARAM, LPARAM, BOOL&);
  LRESULT OnLButtonDown(UINT, WPARAM, LPARAM, BOOL&);
  LRESULT OnSize(UINT, WPARAM, LPARAM, BOOL&);
  LRESULT OnSave(WORD, WORD, HWND, BOOL&);
  LRESULT OnCancel(WORD, WORD, HWND, BOOL&);
  void BindControls();
  void Refuse(const wchar_t* textKey, const wchar_t* captionKey);

  std::vector<std::wstring> m_existingNames;
  std::wstring m_name;
  CQsStatic m_title, m_label;
  CQsButton m_save, m_cancel, m_close;
};
