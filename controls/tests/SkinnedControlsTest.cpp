// Skinned controls in a skinned dialog: binding by class, the background
// service, painting from state images, hover notices, the search field.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <vector>

#include "ControlsTestIds.h"
#include "TestSupport.h"
#include "controls/QsButton.h"
#include "controls/QsControls.h"
#include "controls/QsEdit.h"
#include "controls/SkinMessages.h"
#include "controls/SkinWindow.h"
#include "framework/DialogImpl.h"
#include "framework/Gdi.h"

namespace {

using testing_support::PumpMessages;

class SkinDialog : public wf::CDialogImpl<SkinDialog>, public CQsSkinWindowUI<SkinDialog, 0> {
 public:
  enum { IDD = IDD_SKIN_TEST };
  using SkinBase = CQsSkinWindowUI<SkinDialog, 0>;
  CQsButton button;
  CQsSearchEdit search;
  std::vector<WPARAM> hoverNotices;
  int searches = 0;

  BEGIN_MSG_MAP(SkinDialog)
    MESSAGE_HANDLER(WM_INITDIALOG, OnInitDialog)
    MESSAGE_HANDLER(WM_QS_HOVERCHANGED, OnHover)
    MESSAGE_HANDLER(WM_QS_SEARCH, OnSearch)
    CHAIN_MSG_MAP(SkinBase)
  END_MSG_MAP()

  LRESULT OnInitDialog(UINT, WPARAM, LPARAM, BOOL&) {
    SetBackgroundColor(RGB(0x10, 0x80, 0x20));
    button.SubclassWindow(GetDlgItem(IDC_T_BUTTON));
    search.SubclassWindow(GetDlgItem(IDC_T_SEARCH));
    search.SetCueKey(L"pim.edit.searchcontact");
    InitSkin();
    return TRUE;
  }
  LRESULT OnHover(UINT, WPARAM wParam, LPARAM, BOOL&) {
    hoverNotices.push_back(wParam);
    return 0;
  }
  LRESULT OnSearch(UINT, WPARAM, LPARAM, BOOL&) {
    ++searches;
    return 0;
  }
};

class SkinnedControls : public ::testing::Test {
 protected:
  void SetUp() override {
    parent = testing_support::CreateTestParent();
    ::ShowWindow(parent, SW_SHOW);
    ASSERT_TRUE(dialog.Create(parent, 0, ::GetModuleHandleW(nullptr)));
  }
  void TearDown() override { ::DestroyWindow(parent); }
  COLORREF PrintedPixel(HWND control, int x, int y) {
    RECT rc;
    ::GetClientRect(control, &rc);
    HDC screen = ::GetDC(nullptr);
    wf::MemoryCanvas canvas(screen, rc.right, rc.bottom);
    ::ReleaseDC(nullptr, screen);
    ::SendMessageW(control, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(canvas.dc()), PRF_CLIENT);
    return canvas.GetPixelRef(x, y);
  }
  HWND parent = nullptr;
  SkinDialog dialog;
};

TEST_F(SkinnedControls, EveryChildIsBoundByItsClassExceptGroupBoxes) {
  // The button and the search field are the dialog's own; check, radio, edit,
  // combo, static, progress and tab are bound by the skin; the group box is not.
  EXPECT_EQ(dialog.BoundChildCount(), 7u);
  for (int id : {IDC_T_BUTTON, IDC_T_CHECK, IDC_T_RADIO, IDC_T_EDIT, IDC_T_COMBO, IDC_T_STATIC, IDC_T_PROGRESS, IDC_T_TAB,
                 IDC_T_SEARCH})
    EXPECT_TRUE(IsSkinned(dialog.GetDlgItem(id))) << id;
  EXPECT_FALSE(IsSkinned(dialog.GetDlgItem(IDC_T_GROUP)));
  EXPECT_EQ(::GetWindowLongPtrW(dialog.GetDlgItem(IDC_T_BUTTON), GWL_STYLE) & BS_TYPEMASK, BS_OWNERDRAW)
      << "a bound button is owner-drawn";
}

TEST_F(SkinnedControls, AButtonDrawsItsStateImageOverTheParentsBackground) {
  HWND hButton = dialog.button.m_hWnd;
  Gdiplus::Bitmap* normal = dialog.button.GetStateImage(qs::kButtonNormal);
  ASSERT_NE(normal, nullptr) << "the shared skin gives the button its images";
  Gdiplus::Color color;
  normal->GetPixel(42, 18, &color);
  RECT rc;
  ::GetClientRect(hButton, &rc);
  // The state image is stretched over the client: its middle lands in the middle.
  COLORREF middle = PrintedPixel(hButton, rc.right / 2, rc.bottom / 2 - 8);
  EXPECT_NE(middle, RGB(0x10, 0x80, 0x20));
  // Without images the button draws nothing but the parent's background.
  CQsButton bare;
  HWND other = ::CreateWindowExW(0, L"BUTTON", L"x", WS_CHILD | WS_VISIBLE, 200, 150, 60, 24, dialog, nullptr, nullptr, nullptr);
  ASSERT_TRUE(bare.SubclassWindow(other));
  bare.SetStateImage(qs::kButtonHover, normal, 0, 0, 0, 0);  // own images: none for normal
  EXPECT_EQ(PrintedPixel(other, 30, 12), RGB(0x10, 0x80, 0x20));
  EXPECT_EQ(bare.LastState(), qs::kButtonNormal);
}

TEST_F(SkinnedControls, TheMouseOverAButtonIsToldToTheParentComingAndGoing) {
  HWND hButton = dialog.button.m_hWnd;
  ::SendMessageW(hButton, WM_MOUSEMOVE, 0, MAKELPARAM(5, 5));
  ::SendMessageW(hButton, WM_MOUSEMOVE, 0, MAKELPARAM(6, 6));  // still over it: no second notice
  EXPECT_TRUE(dialog.button.IsHover());
  ::SendMessageW(hButton, WM_MOUSELEAVE, 0, 0);
  PumpMessages();
  EXPECT_FALSE(dialog.button.IsHover());
  EXPECT_EQ(dialog.hoverNotices, (std::vector<WPARAM>{IDC_T_BUTTON, IDC_T_BUTTON}));
}

TEST_F(SkinnedControls, TheSearchFieldClearsAndAsksForASearch) {
  HWND field = dialog.search.m_hWnd;
  wchar_t cue[64] = {};
  ::SendMessageW(field, EM_GETCUEBANNER, reinterpret_cast<WPARAM>(cue), 64);
  EXPECT_EQ(std::wstring(cue), dialog.search.CueText());
  EXPECT_FALSE(dialog.search.CueText().empty());
  EXPECT_EQ(dialog.search.ClearButtonRect().right, 0) << "no clear button without text";
  std::wstring longText(300, L'a');
  ::SendMessageW(field, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"zhang"));
  RECT clear = dialog.search.ClearButtonRect();
  ASSERT_GT(clear.right, clear.left);
  RECT window;
  ::GetWindowRect(field, &window);
  ::SendMessageW(field, WM_NCLBUTTONDOWN, HTBORDER, MAKELPARAM(window.left + clear.left + 5, window.top + 8));
  EXPECT_EQ(wf::CWindow(field).GetWindowText(), L"");
  EXPECT_EQ(dialog.searches, 1);
  ::SendMessageW(field, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"li"));
  ::SendMessageW(field, WM_KEYDOWN, VK_ESCAPE, 0);
  EXPECT_EQ(wf::CWindow(field).GetWindowText(), L"");
  EXPECT_EQ(dialog.searches, 2);
  // Typing is limited to 255 characters.
  ::SetFocus(field);
  for (int i = 0; i < 300; ++i) ::SendMessageW(field, WM_CHAR, L'x', 1);
  EXPECT_EQ(::GetWindowTextLengthW(field), CQsSearchEdit::kMaxText);
}

TEST_F(SkinnedControls, CheckBoxesPickTheirStateAndFallBackWithoutAnImage) {
  EXPECT_EQ(qs::ChooseCheckState(true, false, false), 14);
  EXPECT_EQ(qs::ChooseCheckState(true, false, true), 15);
  EXPECT_EQ(qs::ChooseCheckState(false, false, true), 16);
  EXPECT_EQ(qs::ChooseCheckState(false, false, false), 17);
  EXPECT_EQ(qs::ChooseCheckState(true, true, true), 18);
  EXPECT_EQ(qs::ChooseCheckState(false, true, false), 19);
  EXPECT_EQ(qs::ChooseRadioState(true, false), 35);
  EXPECT_EQ(qs::ChooseRadioState(false, true), 38);
  CQsCheckBox box;
  HWND check = ::CreateWindowExW(0, L"BUTTON", L"c", WS_CHILD | BS_AUTOCHECKBOX, 0, 0, 80, 20, dialog, nullptr, nullptr, nullptr);
  ASSERT_TRUE(box.SubclassWindow(check));
  ::SendMessageW(check, BM_SETCHECK, BST_CHECKED, 0);
  EXPECT_EQ(box.CurrentState(), 14);
  Gdiplus::Bitmap only(18, 18, PixelFormat32bppARGB);
  box.SetStateImage(17, &only, 0, 0, 0, 0);  // own images now: none for 14
  EXPECT_EQ(box.CurrentState(), qs::kFallbackState);
}

TEST_F(SkinnedControls, ProgressFillsItsShareAndTabsShareTheStrip) {
  EXPECT_EQ(CQSProgressBar::FillWidth(1, 0, 3, 300), 100);
  EXPECT_EQ(CQSProgressBar::FillWidth(5, 0, 3, 300), 300) << "beyond the range: full";
  EXPECT_EQ(CQSProgressBar::FillWidth(1, 5, 5, 300), 0) << "an empty range: nothing";
  CQsTabCtrl tabs;
  ASSERT_TRUE(tabs.SubclassWindow(::CreateWindowExW(0, WC_TABCONTROLW, L"", WS_CHILD | WS_VISIBLE | TCS_FIXEDWIDTH, 0,
                                                    100, 186, 36, dialog, nullptr, nullptr, nullptr)));
  tabs.AddTab(L"common.contact");
  tabs.AddTab(L"common.sms");
  tabs.AddTab(L"common.calendar");
  RECT second{};
  tabs.SendMessage(TCM_GETITEMRECT, 1, reinterpret_cast<LPARAM>(&second));
  EXPECT_EQ(second.right - second.left, 60) << "three tabs share 186 pixels, less the control's margin";
  // The selected tab is drawn differently from the others.
  tabs.SendMessage(TCM_SETCURSEL, 1);
  EXPECT_NE(PrintedPixel(tabs, 62 + 3, 30), PrintedPixel(tabs, 3, 30));
}

}  // namespace
