// Text formatting with the platform's conventions, conversions, and the
// off-screen canvas.
#include <gtest/gtest.h>

#include "framework/Gdi.h"
#include "framework/Text.h"

namespace {

TEST(FormatText, WideFormatsTakeWideStringsForPercentS) {
  // Resource texts are written for the platform's printf: "%s" is a wide
  // string in a wide format. The C99 reading would print only "1".
  EXPECT_EQ(wf::FormatText(L"to %s: %d", L"10086", 3), L"to 10086: 3");
  EXPECT_EQ(wf::FormatTextA("%s=%d", "n", 5), "n=5");
}

TEST(FormatText, LongResultsAreNotCut) {
  std::wstring big(5000, L'x');
  EXPECT_EQ(wf::FormatText(L"[%s]", big.c_str()), L"[" + big + L"]");
  std::string bigA(3000, 'y');
  EXPECT_EQ(wf::FormatTextA("%s!", bigA.c_str()), bigA + "!");
  EXPECT_EQ(wf::FormatText(nullptr), L"");
}

TEST(Utf8, RoundTripsChineseAndSurrogatePairs) {
  std::wstring text = L"张伟 \U0001F600 abc";
  std::string utf8 = wf::ToUtf8(text);
  EXPECT_EQ(utf8, "\xE5\xBC\xA0\xE4\xBC\x9F \xF0\x9F\x98\x80 abc");
  EXPECT_EQ(wf::FromUtf8(utf8), text);
  EXPECT_EQ(wf::FromUtf8(""), L"");
}

TEST(ToLower, FoldsLatinAndLeavesChineseAlone) {
  EXPECT_EQ(wf::ToLower(L"ÄBC Zhang 张"), L"äbc zhang 张");
}

TEST(MemoryCanvas, PixelsPaintedAreReadBack) {
  HDC screen = ::GetDC(nullptr);
  wf::MemoryCanvas canvas(screen, 20, 10);
  ::ReleaseDC(nullptr, screen);
  ASSERT_TRUE(canvas.valid());
  RECT rc{5, 2, 10, 4};
  wf::ScopedBrush brush(::CreateSolidBrush(RGB(10, 20, 30)));
  ::FillRect(canvas, &rc, brush);
  EXPECT_EQ(canvas.GetPixelRef(5, 2), RGB(10, 20, 30));
  EXPECT_EQ(canvas.GetPixelRef(9, 3), RGB(10, 20, 30));
  EXPECT_NE(canvas.GetPixelRef(10, 3), RGB(10, 20, 30));
  EXPECT_EQ(canvas.GetPixelRef(20, 0), CLR_INVALID);
}

}  // namespace
