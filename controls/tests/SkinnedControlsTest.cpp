// Skinned controls in a skinned dialog: binding by class, the background
// service, painting from state images, hover notices, the search field.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "ControlsTestIds.h"
#include "TestSupport.h"
#include "controls/QsButton.h"
#include "controls/QsControls.h"
#include "controls/QsEdit.h"
#include "controls/QsTreeView.h"
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

// A bitmap of one colour.
std::unique_ptr<Gdiplus::Bitmap> Solid(int width, int height, Gdiplus::Color color) {
  auto bitmap = std::make_unique<Gdiplus::Bitmap>(width, height, PixelFormat32bppARGB);
  Gdiplus::Graphics g(bitmap.get());
  Gdiplus::SolidBrush brush(color);
  g.FillRectangle(&brush, 0, 0, width, height);
  return bitmap;
}

// Ink of red text drawn on white: red stays, green and blue drop.
bool IsRedInk(COLORREF c) { return GetRValue(c) > 150 && GetRValue(c) - GetGValue(c) > 60 && GetRValue(c) - GetBValue(c) > 60; }

class SkinnedControls : public ::testing::Test {
 protected:
  void SetUp() override {
    parent = testing_support::CreateTestParent();
    ::ShowWindow(parent, SW_SHOW);
    ASSERT_TRUE(dialog.Create(parent, 0, ::GetModuleHandleW(nullptr)));
  }
  void TearDown() override { ::DestroyWindow(parent); }
  // What a control paints through WM_PRINTCLIENT, into a canvas larger than
  // the control (filled with a colour nothing draws with).
  std::unique_ptr<wf::MemoryCanvas> Printed(HWND control, int width, int height) {
    HDC screen = ::GetDC(nullptr);
    auto canvas = std::make_unique<wf::MemoryCanvas>(screen, width, height);
    ::ReleaseDC(nullptr, screen);
    RECT all{0, 0, width, height};
    wf::ScopedBrush sentinel(::CreateSolidBrush(kSentinel));
    ::FillRect(canvas->dc(), &all, sentinel);
    ::SendMessageW(control, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(canvas->dc()), PRF_CLIENT);
    return canvas;
  }
  // What a window shows, frame included (its window DC copied).
  std::unique_ptr<wf::MemoryCanvas> Shown(HWND window) {
    ::RedrawWindow(window, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
    RECT rc;
    ::GetWindowRect(window, &rc);
    HDC dc = ::GetWindowDC(window);
    auto canvas = std::make_unique<wf::MemoryCanvas>(dc, rc.right - rc.left, rc.bottom - rc.top);
    ::BitBlt(canvas->dc(), 0, 0, rc.right - rc.left, rc.bottom - rc.top, dc, 0, 0, SRCCOPY);
    ::ReleaseDC(window, dc);
    return canvas;
  }
  static constexpr COLORREF kSentinel = RGB(1, 2, 3);
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

// Records whether a window still carries the binding mark when its own
// procedure sees WM_NCDESTROY (installed before the control binds, so it runs
// after the control's handlers).
LRESULT CALLBACK MarkAtNcDestroy(HWND window, UINT msg, WPARAM wParam, LPARAM lParam, UINT_PTR id, DWORD_PTR data) {
  if (msg == WM_NCDESTROY) {
    *reinterpret_cast<int*>(data) = IsSkinned(window) ? 1 : 0;
    ::RemoveWindowSubclass(window, &MarkAtNcDestroy, id);
  }
  return ::DefSubclassProc(window, msg, wParam, lParam);
}

TEST_F(SkinnedControls, TheBindingMarkGoesWithTheControlOrWithTheWindow) {
  HWND outlived = ::CreateWindowExW(0, L"BUTTON", L"a", WS_CHILD, 0, 150, 60, 24, dialog,
                                    reinterpret_cast<HMENU>(static_cast<INT_PTR>(4001)), nullptr, nullptr);
  {
    CQsButton button;
    ASSERT_TRUE(button.SubclassDlgItem(4001, dialog)) << "bound through the window base";
    EXPECT_EQ(::GetWindowLongPtrW(outlived, GWL_STYLE) & BS_TYPEMASK, BS_OWNERDRAW);
    EXPECT_TRUE(IsSkinned(outlived));
  }
  EXPECT_FALSE(IsSkinned(outlived)) << "a window whose control is gone may be bound again";
  CQsStatic again;
  EXPECT_TRUE(again.SubclassWindow(outlived));
  EXPECT_TRUE(IsSkinned(outlived));

  HWND destroyed = ::CreateWindowExW(0, L"BUTTON", L"b", WS_CHILD, 0, 180, 60, 24, dialog, nullptr, nullptr, nullptr);
  int markedAtEnd = -1;
  ASSERT_TRUE(::SetWindowSubclass(destroyed, &MarkAtNcDestroy, 1, reinterpret_cast<DWORD_PTR>(&markedAtEnd)));
  CQsButton button;
  ASSERT_TRUE(button.SubclassWindow(destroyed));
  ::DestroyWindow(destroyed);
  EXPECT_EQ(markedAtEnd, 0) << "the property is removed before the window is gone";
  ::DestroyWindow(outlived);
}

TEST_F(SkinnedControls, AButtonsTextStaysRightOfItsIconAndInsideTheButton) {
  HWND hButton = ::CreateWindowExW(0, L"BUTTON", L"Batch Delete of every contact", WS_CHILD | WS_VISIBLE, 0, 150, 120,
                                   30, dialog, nullptr, nullptr, nullptr);
  CQsButton button;
  ASSERT_TRUE(button.SubclassWindow(hButton));
  auto white = Solid(94, 31, Gdiplus::Color(255, 255, 255, 255));
  for (int state : {qs::kButtonNormal, qs::kButtonPressed}) {
    button.SetStateImage(state, white.get(), 0, 0, 0, 0);
    button.SetStateTextColor(state, RGB(255, 0, 0));
  }
  // The text is long: whatever of it is drawn must stay in its room.
  auto check = [&](const RECT& keepOut, const char* what) {
    auto canvas = Printed(hButton, 160, 50);
    int ink = 0;
    for (int y = 0; y < 50; ++y)
      for (int x = 0; x < 160; ++x) {
        if (!IsRedInk(canvas->GetPixelRef(x, y))) continue;
        ++ink;
        POINT pt{x, y};
        ASSERT_FALSE(::PtInRect(&keepOut, pt)) << what << ": text over the icon at " << x << "," << y;
        ASSERT_TRUE(x < 120 && y < 30) << what << ": text outside the button at " << x << "," << y;
      }
    EXPECT_GT(ink, 30) << what << ": the text is drawn";
  };
  // An icon of its own, at the left.
  auto icon = Solid(16, 16, Gdiplus::Color(255, 0, 160, 0));
  button.SetIcon(icon.get(), 0, 0, 16, 16);
  RECT iconRect = button.IconRect(button.GetClientRect());
  EXPECT_EQ(iconRect.right - iconRect.left, 16);
  check(iconRect, "icon");
  // A glyph in the state image (its right edge at 25 of 94 pixels), the image
  // stretched to 120: the glyph ends at 32 and the text must start after it.
  button.SetIcon(nullptr, 0, 0, 0, 0);
  button.SetTextInset(25);
  check(RECT{0, 0, 32, 30}, "glyph");
  // Pressed, the text sinks by a pixel and still stays inside.
  button.SendMessage(WM_MOUSEMOVE, 0, MAKELPARAM(5, 5));
  button.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
  ::ReleaseCapture();
  check(RECT{0, 0, 32, 30}, "pressed");
  EXPECT_EQ(button.LastState(), qs::kButtonPressed);
}

TEST_F(SkinnedControls, TabTextsUseTheDefaultFontWhateverTheStatesCarry) {
  CQsTabCtrl tabs;
  ASSERT_TRUE(tabs.SubclassWindow(::CreateWindowExW(0, WC_TABCONTROLW, L"", WS_CHILD | WS_VISIBLE | TCS_FIXEDWIDTH, 0,
                                                    100, 186, 36, dialog, nullptr, nullptr, nullptr)));
  for (const wchar_t* key : {L"common.contact", L"common.sms", L"common.calendar"}) tabs.AddTab(key);
  auto white = Solid(62, 36, Gdiplus::Color(255, 255, 255, 255));
  for (int state : {qs::kTabSelected, qs::kTabOther}) {
    tabs.SetStateImage(state, white.get(), 0, 0, 0, 0);
    tabs.SetStateTextColor(state, RGB(255, 0, 0));
    tabs.SetStateFont(state, L"Tahoma", 20, 1);  // far taller than the default
  }
  auto canvas = Printed(tabs, 186, 36);
  int top = 36, bottom = -1;
  for (int y = 0; y < 36; ++y)
    for (int x = 0; x < 62; ++x)
      if (IsRedInk(canvas->GetPixelRef(x, y))) top = std::min(top, y), bottom = std::max(bottom, y);
  ASSERT_GE(bottom, top) << "the first tab's text is drawn";
  TEXTMETRICW metrics{};
  {
    wf::ScopedSelect font(canvas->dc(), CCtrlImageMgr::DefaultFontHandle());
    ASSERT_TRUE(::GetTextMetricsW(canvas->dc(), &metrics));
  }
  EXPECT_LE(bottom - top + 1, metrics.tmAscent) << "'Contacts' stands no taller than the default font's ascent";
}

TEST_F(SkinnedControls, TheSearchTextStopsBeforeTheClearButton) {
  HWND field = dialog.search.m_hWnd;
  ::SendMessageW(field, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"li"));
  RECT clear = dialog.search.ClearButtonRect(), text = dialog.search.TextAreaRect();
  ASSERT_GT(clear.right, clear.left);
  EXPECT_LE(text.right, clear.left);
  EXPECT_GT(text.right - text.left, 40) << "room is left for the text";
  // Nothing of the button (nor of the magnifier under it) reaches into the
  // text area: its last columns show the field's white face.
  auto shown = Shown(field);
  int height = shown->height();
  for (int x = text.right - 8; x < text.right; ++x)
    for (int y = 6; y < height - 6; ++y) {
      COLORREF c = shown->GetPixelRef(x, y);
      ASSERT_TRUE(GetRValue(c) > 0xF0 && GetGValue(c) > 0xF0 && GetBValue(c) > 0xF0)
          << "a mark in the text area at " << x << "," << y;
    }
  // The clear button takes the magnifier's place: inside the frame's border
  // only its disc, its cross and the white face show, nothing darker.
  int disc = 0;
  for (int x = clear.left; x < clear.right - 4; ++x)
    for (int y = 4; y < height - 4; ++y) {
      COLORREF c = shown->GetPixelRef(x, y);
      disc += c == RGB(0x9D, 0xBC, 0xE0) ? 1 : 0;
      ASSERT_TRUE(GetRValue(c) >= 0x95 && GetGValue(c) >= 0xB4 && GetBValue(c) >= 0xD8)
          << "a mark beside the clear button at " << x << "," << y;
    }
  EXPECT_GT(disc, 20) << "the clear button is drawn in its place";
  // A text too long for the field does not run under the button.
  ::SendMessageW(field, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(std::wstring(40, L'W').c_str()));
  ::SendMessageW(field, EM_SETSEL, 0, 0);
  ::SendMessageW(field, EM_SCROLLCARET, 0, 0);
  shown = Shown(field);
  for (int x = clear.left; x < clear.right; ++x)
    for (int y = 4; y < height - 4; ++y) {
      COLORREF c = shown->GetPixelRef(x, y);
      ASSERT_FALSE(GetRValue(c) < 0x70 && GetGValue(c) < 0x70 && GetBValue(c) < 0x70)
          << "text under the clear button at " << x << "," << y;
    }
}

}  // namespace
