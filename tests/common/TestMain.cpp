// main() of every test program: the platform services the product expects
// from its host (common controls, GDI+, COM) are up before the tests run.
// ctest runs several test programs at once in one Wine prefix: each program
// keeps its simulated handset in a file of its own unless a test chooses one,
// and its export folder too.
#include <windows.h>
#include <commctrl.h>
#include <objbase.h>
#include "framework/GdiPlus.h"

#include <gtest/gtest.h>

#include "TestSupport.h"

int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  testing_support::TempFolder privateFiles;
  if (::GetEnvironmentVariableW(L"TAMIX_HANDSET_FILE", nullptr, 0) == 0)
    ::SetEnvironmentVariableW(L"TAMIX_HANDSET_FILE", privateFiles.File(L"handset.dat").c_str());
  // The file dialogs and the folder browser start in an empty folder of the
  // program's own, never in the user's documents.
  if (::GetEnvironmentVariableW(L"TAMIX_EXPORT_PATH", nullptr, 0) == 0)
    ::SetEnvironmentVariableW(L"TAMIX_EXPORT_PATH", privateFiles.File(L"exports").c_str());
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
