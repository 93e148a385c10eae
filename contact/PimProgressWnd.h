// The progress window of an import or export: a title, a message, a counter
// ("done/total") and a bar, and a cancel button. A skinned modal dialog of the
// resource module with rounded corners, moved by dragging anywhere on it.
// Both the cancel and the close button end it with kCancelled; the owner
// ends it with Close when the run is over.
#pragma once
#include <cstdint>
#include <string>

#include "controls/QsButton.h"
#include "controls/QsControls.h"
#include "controls/SkinWindow.h"
#include "frame/resmodule/PimResIds.h"
#include "framework/DialogImpl.h"

class CPimProgressWnd : public wf::CDialogImpl<CPimProgressWnd>, public CQsSkinWindowUI<CPimProgressWnd, 0> {
 public:
  enum { IDD = IDD_PIM_PROGRESS };
  static constexpr INT_PTR kCancelled = 1;
  using SkinBase = CQsSkinWindowUI<CPimProgressWnd, 0>;

  // The counter text and the bar position (0..100) of `done` of `total`.
  static std::wstring CounterText(uint32_t done, uint32_t total);
  static int BarPosition(uint32_t done, uint32_t total);

  void SetTexts(std::wstring title, std::wstring message);
  // Runs the window modally over `owner`: kCancelled when the user cancelled,
  // what Close was given otherwise.
  INT_PTR Run(HWND owner);
  bool IsOpen() const { return m_hWnd && ::IsWindow(m_hWnd); }
  void SetProgress(uint32_t done, uint32_t total);
  void Close(INT_PTR result);

  BEGIN_MSG_MAP(CPimProgressWnd)
    MESSAGE_HANDLER(WM_INITDIALOG, OnInitDialog)
    MESSAGE_HANDLER(WM_LBUTTONDOWN, OnLButtonDown)
    MESSAGE_HANDLER(WM_SIZE, OnSize)
    COMMAND_ID_HANDLER(IDCANCEL, OnCancel)
    COMMAND_ID_HANDLER(IDC_PROGRESS_CLOSE, OnCancel)
    CHAIN_MSG_MAP(SkinBase)
  END_MSG_MAP()

 private:
  LRESULT OnInitDialog(UINT, WPARAM, LPARAM, BOOL&);
  LRESULT OnLButtonDown(UINT, WPARAM, LPARAM, BOOL&);
  LRESULT OnSize(UINT, WPARAM, LPARAM, BOOL&);
  LRESULT OnCancel(WORD, WORD, HWND, BOOL&);
  void ApplyOutline();

  std::wstring m_title, m_message;
  CQSProgressBar m_bar;
  CQsButton m_close;
  uint32_t m_done = 0, m_total = 0;
};
