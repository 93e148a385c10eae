// main() of every test program: the platform services the product expects
// from its host (common controls, GDI+, COM) are up before the tests run.
#include <windows.h>
#include <commctrl.h>
#include <objbase.h>
#include "framework/GdiPlus.h"

#include <gtest/gtest.h>

int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  INITCOMMONCONTROLSEX icc{sizeof(icc), ICC_WIN95_CLASSES | ICC_DATE_CLASSES | ICC_STANDARD_CLASSES |
                                            ICC_TAB_CLASSES | ICC_BAR_CLASSES};
  ::InitCommonControlsEx(&icc);
  ::OleInitialize(nullptr);
  Gdiplus::GdiplusStartupInput input;
  ULONG_PTR token = 0;
  Gdiplus::GdiplusStartup(&token, &input, nullptr);
  int result = RUN_ALL_TESTS();
  Gdiplus::GdiplusShutdown(token);
  ::OleUninitialize();
  return result;
}
