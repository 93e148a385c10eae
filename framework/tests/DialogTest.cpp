// Dialogs from templates (modeless and modal), dialog results, data exchange
// and the resource instance.
#include <gtest/gtest.h>

#include "FrameworkTestIds.h"
#include "TestSupport.h"
#include "framework/DataExchange.h"
#include "framework/DialogImpl.h"

using testing_support::CreateTestParent;
using testing_support::PumpMessages;

namespace {

constexpr UINT kAsk = WM_APP + 1;

class NameEdit : public wf::CWindowImpl<NameEdit> {
 public:
  int keys = 0;
  BEGIN_MSG_MAP(NameEdit)
    MESSAGE_HANDLER(WM_CHAR, OnChar)
  END_MSG_MAP()
  LRESULT OnChar(UINT, WPARAM, LPARAM, BOOL& bHandled) {
    ++keys;
    bHandled = FALSE;
    return 0;
  }
};

class FormDialog : public wf::CDialogImpl<FormDialog>, public wf::CWinDataExchange<FormDialog> {
 public:
  enum { IDD = IDD_TEST_FORM };
  std::wstring name = L"Alice";
  int count = 3;
  bool flag = true;
  NameEdit nameEdit;
  bool initialised = false;
  LPARAM initParam = 0;
  int goClicks = 0;
  UINT lastError = 0;

  BEGIN_MSG_MAP(FormDialog)
    MESSAGE_HANDLER(WM_INITDIALOG, OnInitDialog)
    MESSAGE_HANDLER(kAsk, OnAsk)
    COMMAND_HANDLER(IDC_GO, BN_CLICKED, OnGo)
  END_MSG_MAP()

  BEGIN_DDX_MAP(FormDialog)
    DDX_CONTROL(IDC_NAME, nameEdit)
    DDX_TEXT_LEN(IDC_NAME, name, 8)
    DDX_INT(IDC_COUNT, count)
    DDX_CHECK(IDC_FLAG, flag)
  END_DDX_MAP()

  void OnDataExchangeError(UINT id, wf::DdxError) { lastError = id; }

  LRESULT OnInitDialog(UINT, WPARAM, LPARAM lParam, BOOL&) {
    initialised = true;
    initParam = lParam;
    DoDataExchange(false);
    return TRUE;
  }
  // A dialog answers a value through its procedure's message result.
  LRESULT OnAsk(UINT, WPARAM wParam, LPARAM, BOOL&) { return static_cast<LRESULT>(wParam) + 1000; }
  LRESULT OnGo(WORD, WORD, HWND, BOOL&) {
    ++goClicks;
    return 0;
  }
};

TEST(Dialog, AModelessDialogComesFromTheTemplateOfTheGivenModule) {
  HWND parent = CreateTestParent();
  FormDialog dialog;
  HWND hWnd = dialog.Create(parent, 1234, ::GetModuleHandleW(nullptr));
  ASSERT_TRUE(hWnd);
  EXPECT_TRUE(dialog.initialised);
  EXPECT_EQ(dialog.initParam, 1234);
  EXPECT_EQ(::GetParent(hWnd), parent);
  EXPECT_TRUE(::GetDlgItem(hWnd, IDC_GO));
  EXPECT_EQ(dialog.SendMessage(kAsk, 5), 1005);
  ::SendMessageW(::GetDlgItem(hWnd, IDC_GO), BM_CLICK, 0, 0);
  EXPECT_EQ(dialog.goClicks, 1);
  ::DestroyWindow(parent);
  EXPECT_EQ(dialog.m_hWnd, nullptr);
}

TEST(Dialog, AMissingTemplateFailsAndLeavesTheObjectReusable) {
  FormDialog dialog;
  // This module carries no dialog templates at all.
  HMODULE kernel = ::GetModuleHandleW(L"kernel32.dll");
  EXPECT_EQ(dialog.Create(nullptr, 0, kernel), nullptr);
  EXPECT_EQ(dialog.m_hWnd, nullptr);
  HWND parent = CreateTestParent();
  EXPECT_TRUE(dialog.Create(parent, 0, ::GetModuleHandleW(nullptr)));
  ::DestroyWindow(parent);
}

TEST(DataExchange, ValuesTravelBothWaysAndBadInputIsRefused) {
  HWND parent = CreateTestParent();
  FormDialog dialog;
  ASSERT_TRUE(dialog.Create(parent, 0, ::GetModuleHandleW(nullptr)));
  // Filled from the members at initialisation; the edit was bound to its object.
  EXPECT_EQ(wf::CWindow(dialog.GetDlgItem(IDC_NAME)).GetWindowText(), L"Alice");
  EXPECT_EQ(dialog.nameEdit.m_hWnd, dialog.GetDlgItem(IDC_NAME));
  EXPECT_EQ(::IsDlgButtonChecked(dialog, IDC_FLAG), static_cast<UINT>(BST_CHECKED));
  ::SendMessageW(dialog.GetDlgItem(IDC_NAME), WM_CHAR, L'x', 1);
  EXPECT_EQ(dialog.nameEdit.keys, 1);

  ::SetDlgItemTextW(dialog, IDC_NAME, L"Bob");
  ::SetDlgItemTextW(dialog, IDC_COUNT, L"-17");
  ::CheckDlgButton(dialog, IDC_FLAG, BST_UNCHECKED);
  ASSERT_TRUE(dialog.DoDataExchange(true));
  EXPECT_EQ(dialog.name, L"Bob");
  EXPECT_EQ(dialog.count, -17);
  EXPECT_FALSE(dialog.flag);

  ::SetDlgItemTextW(dialog, IDC_COUNT, L"seven");
  EXPECT_FALSE(dialog.DoDataExchange(true));
  EXPECT_EQ(dialog.lastError, static_cast<UINT>(IDC_COUNT));
  EXPECT_EQ(dialog.count, -17) << "a refused value leaves the member alone";

  // The length limit of the text: the edit refuses more typing, and a longer
  // text put there by other means is refused on reading.
  ::SendMessageW(dialog.GetDlgItem(IDC_NAME), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"ninechars"));
  EXPECT_FALSE(dialog.DoDataExchange(true, IDC_NAME));
  EXPECT_EQ(dialog.lastError, static_cast<UINT>(IDC_NAME));
  EXPECT_EQ(dialog.name, L"Bob");
  ::DestroyWindow(parent);
}

class ModalDialog : public wf::CDialogImpl<ModalDialog> {
 public:
  enum { IDD = IDD_TEST_MODAL };
  BEGIN_MSG_MAP(ModalDialog)
    MESSAGE_HANDLER(WM_INITDIALOG, OnInitDialog)
    COMMAND_ID_HANDLER(IDOK, OnClose)
    COMMAND_ID_HANDLER(IDCANCEL, OnClose)
  END_MSG_MAP()
  LRESULT OnInitDialog(UINT, WPARAM, LPARAM, BOOL&) {
    // Press OK as soon as the dialog's own loop runs.
    PostMessage(WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(IDOK)));
    return TRUE;
  }
  LRESULT OnClose(WORD, WORD id, HWND, BOOL&) {
    EndDialog(id == IDOK ? 77 : 0);
    return 0;
  }
};

TEST(Dialog, AModalDialogRunsItsLoopAndAnswersTheEndDialogValue) {
  ModalDialog dialog;
  EXPECT_EQ(dialog.DoModal(nullptr, 0, ::GetModuleHandleW(nullptr)), 77);
  EXPECT_EQ(dialog.m_hWnd, nullptr);
  // And again with the same object.
  EXPECT_EQ(dialog.DoModal(nullptr, 0, ::GetModuleHandleW(nullptr)), 77);
}

// A modeless dialog closed by its own button, as a tool window is.
class SelfClosingDialog : public wf::CDialogImpl<SelfClosingDialog> {
 public:
  enum { IDD = IDD_TEST_FORM };
  int finalCalls = 0;
  BEGIN_MSG_MAP(SelfClosingDialog)
    COMMAND_HANDLER(IDC_GO, BN_CLICKED, OnGo)
  END_MSG_MAP()
  LRESULT OnGo(WORD, WORD, HWND, BOOL&) {
    DestroyWindow();
    return 0;
  }
  void OnFinalMessage(HWND) override { ++finalCalls; }
};

TEST(Dialog, AModelessDialogClosedByItsOwnButtonCanBeOpenedAgain) {
  HWND parent = CreateTestParent();
  SelfClosingDialog dialog;
  for (int round = 0; round < 2; ++round) {
    HWND hWnd = dialog.Create(parent, 0, ::GetModuleHandleW(nullptr));
    ASSERT_TRUE(hWnd) << "round " << round;
    HWND go = ::GetDlgItem(hWnd, IDC_GO);
    ::SendMessageW(hWnd, WM_COMMAND, MAKEWPARAM(IDC_GO, BN_CLICKED), reinterpret_cast<LPARAM>(go));
    EXPECT_FALSE(::IsWindow(hWnd));
    EXPECT_EQ(dialog.m_hWnd, nullptr);
    EXPECT_EQ(dialog.finalCalls, round + 1);
  }
  ::DestroyWindow(parent);
}

TEST(ResourceInstance, StartsAsTheCodeModuleAndIsExchangedAtomically) {
  HINSTANCE code = wf::GetCodeInstance();
  EXPECT_EQ(code, ::GetModuleHandleW(nullptr));  // linked into this program
  HINSTANCE before = wf::GetResourceInstance();
  HINSTANCE other = reinterpret_cast<HINSTANCE>(::GetModuleHandleW(L"user32.dll"));
  EXPECT_EQ(wf::SetResourceInstance(other), nullptr);  // never set in this program before
  EXPECT_EQ(wf::GetResourceInstance(), other);
  EXPECT_EQ(wf::SetResourceInstance(nullptr), other);
  EXPECT_EQ(wf::GetResourceInstance(), before);
}

}  // namespace
