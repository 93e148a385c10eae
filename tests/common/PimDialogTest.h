// Tests of the plug-in's own windows and dialogs: the plug-in's resource
// library loaded once for the suite, the shared dialogs answering unattended
// (every call kept in their journal), and a parent window for each test.
#pragma once
#include <gtest/gtest.h>

#include <windows.h>

#include <string>

#include "TestSupport.h"
#include "framework/Module.h"
#include "framework/PopupMenu.h"
#include "standins/dialogs/JorvAutomation.h"

namespace testing_support {

class PimDialogTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    resources = ::LoadLibraryW((ProgramFolder() + L"\\PimRes.dll").c_str());
    ASSERT_NE(resources, nullptr);
  }
  void SetUp() override {
    wf::SetResourceInstance(resources);
    JorvAutomation::Reset();
    JorvAutomation::SetUnattended(true);  // tips are answered by the journal, not shown
    parent = CreateTestParent(1000, 700);
    ::ShowWindow(parent, SW_SHOW);
  }
  void TearDown() override {
    wf::SetMenuChooser({});
    ::DestroyWindow(parent);
    JorvAutomation::SetUnattended(false);
    JorvAutomation::Reset();
  }

  // A control's text, and a click on a button that the dialog handles before
  // the call returns.
  static std::wstring ControlText(HWND dialog, int id) {
    wchar_t text[2048] = {};
    ::GetDlgItemTextW(dialog, id, text, 2048);
    return text;
  }
  static void Click(HWND dialog, int id) {
    ::SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(::GetDlgItem(dialog, id)));
  }

  static inline HMODULE resources = nullptr;
  HWND parent = nullptr;
};

}  // namespace testing_support
