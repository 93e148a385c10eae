// The phrase picker: the stock phrases a phone user sends often, one row
// each, and OK and Cancel. A skinned modal dialog of this library in the
// compose window's look: rounded corners, a close box, moved by dragging
// anywhere on it. A row is as tall as its phrase wrapped to the list's width,
// so a long phrase is read whole without a tooltip.
//
// A phrase is chosen by selecting it and pressing OK or Enter, or by double
// clicking it; OK stays disabled while no row is selected. Cancel, Escape
// and the close box choose nothing.
#pragma once
#include <string>
#include <vector>

#include "JorvHelperIds.h"
#include "controls/QsButton.h"
#include "controls/QsControls.h"
#include "controls/SkinWindow.h"
#include "framework/DialogImpl.h"
#include "framework/Gdi.h"

namespace jorv {

// The stock phrases in the suite's current language: the texts
// "jorvhelper.phrase.1", "jorvhelper.phrase.2", ... up to the first number
// the resource library does not know.
std::vector<std::wstring> StockPhrases();

// The list box with the skin's one-pixel border (the focus colour while it
// has the focus) drawn over the platform's.
class CPhraseList : public wf::CWindowImpl<CPhraseList> {
 public:
  BEGIN_MSG_MAP(CPhraseList)
    MESSAGE_HANDLER(WM_NCPAINT, OnNcPaint)
    MESSAGE_HANDLER(WM_SETFOCUS, OnFocusChange)
    MESSAGE_HANDLER(WM_KILLFOCUS, OnFocusChange)
  END_MSG_MAP()

 private:
  LRESULT OnNcPaint(UINT, WPARAM, LPARAM, BOOL&);
  LRESULT OnFocusChange(UINT, WPARAM, LPARAM, BOOL&);
};

class CPhrasePicker : public wf::CDialogImpl<CPhrasePicker>, public CQsSkinWindowUI<CPhrasePicker, 0> {
 public:
  enum { IDD = IDD_JORV_PHRASE };
  using SkinBase = CQsSkinWindowUI<CPhrasePicker, 0>;

  explicit CPhrasePicker(std::vector<std::wstring> phrases);

  // Runs the dialog modal over `owner` (may be null): 1 when a phrase was
  // chosen (then Chosen() holds it), 0 when cancelled or when the dialog
  // could not be shown.
  int Run(HWND owner);
  const std::wstring& Chosen() const { return m_chosen; }

  BEGIN_MSG_MAP(CPhrasePicker)
    MESSAGE_HANDLER(WM_INITDIALOG, OnInitDialog)
    MESSAGE_HANDLER(WM_MEASUREITEM, OnMeasureItem)
    MESSAGE_HANDLER(WM_DRAWITEM, OnDrawItem)
    MESSAGE_HANDLER(WM_CTLCOLORLISTBOX, OnCtlColorListBox)
    MESSAGE_HANDLER(WM_LBUTTONDOWN, OnLButtonDown)
    MESSAGE_HANDLER(WM_SIZE, OnSize)
    COMMAND_HANDLER(IDC_JORV_PHRASE_LIST, LBN_SELCHANGE, OnSelectionChange)
    COMMAND_HANDLER(IDC_JORV_PHRASE_LIST, LBN_SELCANCEL, OnSelectionChange)
    COMMAND_HANDLER(IDC_JORV_PHRASE_LIST, LBN_DBLCLK, OnDoubleClick)
    COMMAND_ID_HANDLER(IDOK, OnOk)
    COMMAND_ID_HANDLER(IDCANCEL, OnCancel)
    COMMAND_ID_HANDLER(IDC_JORV_PHRASE_CLOSE, OnCancel)
    CHAIN_MSG_MAP(SkinBase)
  END_MSG_MAP()

 private:
  LRESULT OnInitDialog(UINT, WPARAM, LPARAM, BOOL&);
  LRESULT OnMeasureItem(UINT, WPARAM, LPARAM, BOOL&);
  LRESULT OnDrawItem(UINT, WPARAM, LPARAM, BOOL&);
  LRESULT OnCtlColorListBox(UINT, WPARAM, LPARAM, BOOL&);
  LRESULT OnLButtonDown(UINT, WPARAM, LPARAM, BOOL&);
  LRESULT OnSize(UINT, WPARAM, LPARAM, BOOL&);
  LRESULT OnSelectionChange(WORD, WORD, HWND, BOOL&);
  LRESULT OnDoubleClick(WORD, WORD, HWND, BOOL&) { Choose(); return 0; }
  LRESULT OnOk(WORD, WORD, HWND, BOOL&) { Choose(); return 0; }
  LRESULT OnCancel(WORD, WORD, HWND, BOOL&) { EndDialog(0); return 0; }

  void SetUpSkin();
  // Ends the dialog with the selected phrase; without a selection (Enter or
  // a double click on the empty part of the list) nothing happens.
  void Choose();
  void UpdateOk();
  // The width the phrases wrap at: the list's inside less the scroll bar
  // (always there, so that the rows keep the height they were measured with)
  // and the rows' margins.
  int WrapWidth() const;
  void ApplyOutline();

  std::vector<std::wstring> m_phrases;
  std::wstring m_chosen;
  CQsStatic m_title;
  CQsButton m_close;
  CQsButton m_buttons[2];  // OK, Cancel
  CPhraseList m_list;
  wf::ScopedFont m_listFont;
  wf::ScopedBrush m_listBrush;
  COLORREF m_text = RGB(0x1F, 0x3A, 0x5F);
};

}  // namespace jorv
