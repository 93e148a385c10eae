// The other members of the skinned family: static text, check box, radio
// box, combo box, progress bar, tab control and date-time picker. Each binds
// an existing control of a dialog (SubclassWindow) and draws it from the
// images, fonts and colours of its states (ImageMgr.h), falling back to the
// theme's colours where a state has no image.
#pragma once
#include <windows.h>

#include <string>

#include "controls/ImageMgr.h"
#include "framework/WindowImpl.h"

namespace qs {
enum CheckState : int {
  kCheckChecked = 14,
  kCheckCheckedFocused = 15,
  kCheckUncheckedFocused = 16,
  kCheckUnchecked = 17,
  kCheckCheckedDisabled = 18,
  kCheckUncheckedDisabled = 19,
};
enum RadioState : int { kRadioChecked = 35, kRadioCheckedDisabled = 36, kRadioUnchecked = 37, kRadioUncheckedDisabled = 38 };
enum ComboState : int { kComboNormal = 22, kComboButton = 23, kComboButtonPressed = 24, kComboHover = 25, kComboDisabled = 26 };
enum ProgressState : int { kProgressFrame = 29, kProgressTrack = 30, kProgressFill = 31, kProgressEdge = 32 };
enum TabState : int { kTabStrip = 55, kTabSelected = 56, kTabOther = 57 };
constexpr int kFallbackState = 2;

// The check box's state: from checked, disabled and focused.
int ChooseCheckState(bool checked, bool disabled, bool focused);
int ChooseRadioState(bool checked, bool disabled);
}  // namespace qs

class CQsStatic : public wf::CWindowImpl<CQsStatic>, public CImageMgrCtrlBase<CQsStatic> {
 public:
  BOOL SubclassWindow(HWND hWnd) override;
  void Paint(HDC dc, const RECT& client);
  BEGIN_MSG_MAP(CQsStatic)
    MESSAGE_HANDLER(WM_PAINT, OnPaint)
    MESSAGE_HANDLER(WM_PRINTCLIENT, OnPrintClient)
    MESSAGE_HANDLER(WM_ERASEBKGND, OnEraseBkgnd)
    MESSAGE_HANDLER(WM_SETTEXT, OnSetText)
  END_MSG_MAP()

 private:
  LRESULT OnPaint(UINT, WPARAM, LPARAM, BOOL&);
  LRESULT OnPrintClient(UINT, WPARAM, LPARAM, BOOL&);
  LRESULT OnEraseBkgnd(UINT, WPARAM, LPARAM, BOOL&) { return 1; }
  LRESULT OnSetText(UINT, WPARAM, LPARAM, BOOL&);
};

// Check boxes and radio boxes share their drawing: a box image, then the text.
template <class T>
class CQsBoxButton : public wf::CWindowImpl<T>, public CImageMgrCtrlBase<T> {
 public:
  BOOL SubclassWindow(HWND hWnd) override;
  void Paint(HDC dc, const RECT& client);
  // The state drawn now (with the fallback for a state without an image).
  int CurrentState();
  // Draws the box as focused whether or not it has the focus (previews).
  void SetFocusLook(bool focused) {
    m_focusLook = focused;
    ::InvalidateRect(this->m_hWnd, nullptr, FALSE);
  }

  BEGIN_MSG_MAP(CQsBoxButton)
    MESSAGE_HANDLER(WM_PAINT, OnPaint)
    MESSAGE_HANDLER(WM_PRINTCLIENT, OnPrintClient)
    MESSAGE_HANDLER(WM_ERASEBKGND, OnEraseBkgnd)
    MESSAGE_HANDLER(BM_SETCHECK, OnRepaintAfterDefault)
    MESSAGE_HANDLER(WM_ENABLE, OnRepaintAfterDefault)
    MESSAGE_HANDLER(WM_SETFOCUS, OnRepaintAfterDefault)
    MESSAGE_HANDLER(WM_KILLFOCUS, OnRepaintAfterDefault)
    MESSAGE_HANDLER(WM_LBUTTONUP, OnRepaintAfterDefault)
    MESSAGE_HANDLER(WM_SETTEXT, OnRepaintAfterDefault)
    MESSAGE_HANDLER(BM_SETSTATE, OnRepaintAfterDefault)
  END_MSG_MAP()

 protected:
  virtual int ChooseState(bool checked, bool disabled, bool focused) = 0;
  LRESULT OnPaint(UINT, WPARAM, LPARAM, BOOL&);
  LRESULT OnPrintClient(UINT, WPARAM, LPARAM, BOOL&);
  LRESULT OnEraseBkgnd(UINT, WPARAM, LPARAM, BOOL&) { return 1; }
  LRESULT OnRepaintAfterDefault(UINT, WPARAM, LPARAM, BOOL&);
  bool m_focusLook = false;
};

class CQsCheckBox : public CQsBoxButton<CQsCheckBox> {
 protected:
  int ChooseState(bool checked, bool disabled, bool focused) override {
    return qs::ChooseCheckState(checked, disabled, focused);
  }
};

class CQsRadioBox : public CQsBoxButton<CQsRadioBox> {
 protected:
  int ChooseState(bool checked, bool disabled, bool) override { return qs::ChooseRadioState(checked, disabled); }
};

class CQsComboBox : public wf::CWindowImpl<CQsComboBox>, public CImageMgrCtrlBase<CQsComboBox> {
 public:
  BOOL SubclassWindow(HWND hWnd) override;
  void PaintButton(HDC dc);
  BEGIN_MSG_MAP(CQsComboBox)
    MESSAGE_HANDLER(WM_PAINT, OnPaint)
    MESSAGE_HANDLER(WM_MOUSEMOVE, OnMouseMove)
    MESSAGE_HANDLER(WM_MOUSELEAVE, OnMouseLeave)
  END_MSG_MAP()

 private:
  LRESULT OnPaint(UINT, WPARAM, LPARAM, BOOL&);
  LRESULT OnMouseMove(UINT, WPARAM, LPARAM, BOOL&);
  LRESULT OnMouseLeave(UINT, WPARAM, LPARAM, BOOL&);
  bool m_hover = false;
};

class CQSProgressBar : public wf::CWindowImpl<CQSProgressBar>, public CImageMgrCtrlBase<CQSProgressBar> {
 public:
  BOOL SubclassWindow(HWND hWnd) override;
  void Paint(HDC dc, const RECT& client);
  // The width of the fill for a position within a range, over `width` pixels.
  static int FillWidth(int position, int low, int high, int width);
  BEGIN_MSG_MAP(CQSProgressBar)
    MESSAGE_HANDLER(WM_PAINT, OnPaint)
    MESSAGE_HANDLER(WM_PRINTCLIENT, OnPrintClient)
    MESSAGE_HANDLER(WM_ERASEBKGND, OnEraseBkgnd)
  END_MSG_MAP()

 private:
  LRESULT OnPaint(UINT, WPARAM, LPARAM, BOOL&);
  LRESULT OnPrintClient(UINT, WPARAM, LPARAM, BOOL&);
  LRESULT OnEraseBkgnd(UINT, WPARAM, LPARAM, BOOL&) { return 1; }
};

class CQsTabCtrl : public wf::CWindowImpl<CQsTabCtrl>, public CImageMgrCtrlBase<CQsTabCtrl> {
 public:
  static constexpr int kTabTextInset = 2;  // the tab images' border

  BOOL SubclassWindow(HWND hWnd) override;
  // Appends a tab with the text of a resource key.
  int AddTab(const std::wstring& textKey);
  // The tabs share the control's width evenly (as they are drawn and hit).
  void FitTabs();
  void Paint(HDC dc, const RECT& client);
  BEGIN_MSG_MAP(CQsTabCtrl)
    MESSAGE_HANDLER(WM_PAINT, OnPaint)
    MESSAGE_HANDLER(WM_PRINTCLIENT, OnPrintClient)
    MESSAGE_HANDLER(WM_ERASEBKGND, OnEraseBkgnd)
    MESSAGE_HANDLER(TCM_SETCURSEL, OnRepaintAfterDefault)
    MESSAGE_HANDLER(WM_LBUTTONDOWN, OnRepaintAfterDefault)
    MESSAGE_HANDLER(WM_ENABLE, OnRepaintAfterDefault)
    MESSAGE_HANDLER(WM_SIZE, OnSize)
  END_MSG_MAP()

 private:
  LRESULT OnPaint(UINT, WPARAM, LPARAM, BOOL&);
  LRESULT OnPrintClient(UINT, WPARAM, LPARAM, BOOL&);
  LRESULT OnEraseBkgnd(UINT, WPARAM, LPARAM, BOOL&) { return 1; }
  LRESULT OnRepaintAfterDefault(UINT, WPARAM, LPARAM, BOOL&);
  LRESULT OnSize(UINT, WPARAM, LPARAM, BOOL& bHandled) {
    FitTabs();
    bHandled = FALSE;
    return 0;
  }
};

class CQsDateTimePickerCtrl : public CImageMgrCtrlBase<CQsDateTimePickerCtrl>,
                              public wf::CWindowImpl<CQsDateTimePickerCtrl> {
 public:
  BOOL SubclassWindow(HWND hWnd) override;
  void PaintFrame(HDC dc, const RECT& client);
  BEGIN_MSG_MAP(CQsDateTimePickerCtrl)
    MESSAGE_HANDLER(WM_PAINT, OnPaint)
    MESSAGE_HANDLER(WM_SETFOCUS, OnRepaintAfterDefault)
    MESSAGE_HANDLER(WM_KILLFOCUS, OnRepaintAfterDefault)
  END_MSG_MAP()

 private:
  LRESULT OnPaint(UINT, WPARAM, LPARAM, BOOL&);
  LRESULT OnRepaintAfterDefault(UINT, WPARAM, LPARAM, BOOL&);
};

#include "controls/QsControls.inl"
