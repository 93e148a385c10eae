// The image engine of the skinned controls and the painting of skinned
// windows: state ranges, cutting, replacing, the shared skin, frames and tiles.
#include <windows.h>

#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <new>
#include <string>
#include <vector>

#include "TestSupport.h"
#include "VirtualSlots.h"
#include "controls/ImageMgr.h"
#include "controls/QsButton.h"
#include "controls/SkinWindow.h"
#include "framework/Gdi.h"

#ifdef DrawText
static_assert(false, "QsButton.h must leave the name DrawText to the button, not to the platform's macro");
#endif

// Every block this program takes from the free store is counted while it
// lives, so that a test can see memory that a manager never gives back.
namespace {
std::atomic<long> g_liveBlocks{0};
}
void* operator new(std::size_t size) {
  void* block = std::malloc(size ? size : 1);
  if (!block) throw std::bad_alloc();
  ++g_liveBlocks;
  return block;
}
void operator delete(void* block) noexcept {
  if (!block) return;
  --g_liveBlocks;
  std::free(block);
}
void operator delete(void* block, std::size_t) noexcept { operator delete(block); }

namespace {

// A bitmap with a distinct colour in each 10-pixel column band.
std::unique_ptr<Gdiplus::Bitmap> Stripes(int width, int height) {
  auto bitmap = std::make_unique<Gdiplus::Bitmap>(width, height, PixelFormat32bppARGB);
  for (int x = 0; x < width; ++x)
    for (int y = 0; y < height; ++y)
      bitmap->SetPixel(x, y, Gdiplus::Color(255, static_cast<BYTE>(x / 10 * 20), static_cast<BYTE>(y), 0x80));
  return bitmap;
}

Gdiplus::ARGB Pixel(Gdiplus::Bitmap* bitmap, int x, int y) {
  Gdiplus::Color color;
  bitmap->GetPixel(x, y, &color);
  return color.GetValue();
}

struct Manager : CCtrlImageMgr {};

TEST(ImageMgr, StatesOutsideTheRangeChangeNothing) {
  Manager manager;
  auto source = Stripes(40, 20);
  manager.SetStateImage(0, source.get(), 0, 0, 0, 0);
  manager.SetStateImage(117, source.get(), 0, 0, 0, 0);
  EXPECT_EQ(manager.ImageSourceMode(), CCtrlImageMgr::kSharedImages) << "nothing was stored";
  EXPECT_EQ(manager.GetStateImage(0), nullptr);
  EXPECT_EQ(manager.GetStateImage(117), nullptr);
  manager.SetStateImage(2, nullptr, 0, 0, 0, 0);
  EXPECT_EQ(manager.ImageSourceMode(), CCtrlImageMgr::kSharedImages) << "a null source is ignored";
  manager.SetStateTextColor(0, RGB(1, 2, 3));
  EXPECT_EQ(manager.GetStateTextColor(0), CCtrlImageMgr::DefaultTextColor());
  manager.SetStateTextColor(116, RGB(1, 2, 3));
  EXPECT_EQ(manager.GetStateTextColor(116), RGB(1, 2, 3));
  EXPECT_EQ(manager.GetStateTextColor(115), CCtrlImageMgr::DefaultTextColor());
  EXPECT_EQ(manager.GetStateImageList(5), nullptr);
}

TEST(ImageMgr, CutsTheGivenRectangleOrTheWholeImage) {
  Manager manager;
  auto source = Stripes(40, 20);
  manager.SetStateImage(2, source.get(), 10, 5, 20, 10);
  Gdiplus::Bitmap* cut = manager.GetStateImage(2);
  ASSERT_NE(cut, nullptr);
  EXPECT_EQ(cut->GetWidth(), 20u);
  EXPECT_EQ(cut->GetHeight(), 10u);
  EXPECT_EQ(Pixel(cut, 0, 0), Pixel(source.get(), 10, 5));
  EXPECT_EQ(Pixel(cut, 19, 9), Pixel(source.get(), 29, 14));
  manager.SetStateImage(3, source.get(), 0, 0, 0, 0);
  Gdiplus::Bitmap* whole = manager.GetStateImage(3);
  EXPECT_EQ(whole->GetWidth(), 40u);
  EXPECT_EQ(whole->GetHeight(), 20u);
  EXPECT_EQ(Pixel(whole, 39, 19), Pixel(source.get(), 39, 19));
  EXPECT_EQ(manager.GetStateImage(4), nullptr) << "own images: states without one have none";
  EXPECT_FALSE(manager.HasAllImages());
}

TEST(ImageMgr, ReplacingAnImageFreesTheOneBeforeAndTheManagerFreesItsOwn) {
  auto source = Stripes(20, 20);
  long before = CCtrlImageMgr::LiveImageCount();
  {
    Manager manager;
    manager.SetStateImage(2, source.get(), 0, 0, 0, 0);
    for (int i = 0; i < 10; ++i) manager.SetStateImage(2, source.get(), 0, 0, 0, 0);
    manager.SetStateImage(3, source.get(), 0, 0, 0, 0);
    EXPECT_EQ(CCtrlImageMgr::LiveImageCount(), before + 2) << "one bitmap per state, whatever was replaced";
  }
  EXPECT_EQ(CCtrlImageMgr::LiveImageCount(), before);
}

TEST(ImageMgr, StateFontsAreFreedWithTheManagerWhicheverCallComesFirst) {
  {
    // The first default font and the resource tables stay for the process.
    Manager warm;
    warm.GetStateFont(2);
    warm.SetStateFont(2, L"Tahoma", 9, 0);
  }
  long before = g_liveBlocks;
  HFONT own = nullptr;
  {
    Manager manager;
    EXPECT_EQ(manager.GetStateFont(3), CCtrlImageMgr::DefaultFontHandle()) << "no font of its own yet";
    manager.SetStateFont(3, L"Tahoma", 14, 1);  // after a reader made the tables
    own = manager.GetStateFont(3);
    EXPECT_NE(own, CCtrlImageMgr::DefaultFontHandle());
    LOGFONTW font{};
    ASSERT_EQ(::GetObjectW(own, sizeof(font), &font), static_cast<int>(sizeof(font)));
    EXPECT_EQ(font.lfWeight, FW_BOLD);
    manager.SetStateFont(3, L"Tahoma", 10, 0);  // replaced: made again when next drawn
    EXPECT_EQ(::GetObjectType(own), 0u) << "the replaced font is deleted";
    own = manager.GetStateFont(3);
    manager.SetStateTextColor(3, RGB(1, 2, 3));
  }
  EXPECT_EQ(g_liveBlocks, before) << "every table of the manager is given back";
  EXPECT_EQ(::GetObjectType(own), 0u) << "the manager's own fonts go with it";
}

TEST(ImageMgr, TheSharedDefaultFontStaysValidWhenTheDefaultChanges) {
  LOGFONTW saved = CCtrlImageMgr::DefaultFont();
  Manager manager;
  HFONT first = manager.GetStateFont(2);
  // A window held on to it (WM_SETFONT) before another skinned window set the default.
  CCtrlImageMgr::SetDefaultFont(L"Tahoma", 20, 1);
  HFONT second = manager.GetStateFont(2);
  EXPECT_NE(first, second);
  EXPECT_EQ(::GetObjectType(first), static_cast<DWORD>(OBJ_FONT)) << "a font that windows may still use is not deleted";
  LOGFONTW font{};
  ASSERT_EQ(::GetObjectW(first, sizeof(font), &font), static_cast<int>(sizeof(font)));
  EXPECT_EQ(font.lfHeight, saved.lfHeight);
  EXPECT_EQ(std::wstring(font.lfFaceName), std::wstring(saved.lfFaceName));
  CCtrlImageMgr::DefaultFont() = saved;
  EXPECT_EQ(manager.GetStateFont(2), first) << "the same description, the same font";
}

// The engine's operations and then the button's own are reached by their
// place in the table of virtual functions, not by name: a module built apart
// from ours sees only the places. A subclass records which one ran.
struct RecordingButton : CQsButton {
  explicit RecordingButton(std::vector<std::string>& log) : calls(log) {}
  ~RecordingButton() override { calls.push_back("~"); }
  bool HasAllImages() override { return Record("HasAllImages"), true; }
  Gdiplus::Bitmap* GetStateImageList(int state) override { return Record("GetStateImageList", state), nullptr; }
  Gdiplus::Bitmap* GetStateImage(int state) override { return Record("GetStateImage", state), nullptr; }
  void SetStateImage(int state, Gdiplus::Image*, int, int, int, int) override { Record("SetStateImage", state); }
  bool OnSkinHook(LPARAM value) override { return Record("OnSkinHook", static_cast<int>(value)), true; }
  void DrawBackground(HDC, const RECT&, bool, bool, bool) override { Record("DrawBackground"); }
  void DrawText(HDC, const RECT& rc) override { Record("DrawText", rc.right); }
  void Record(const char* name, int argument = 0) { calls.push_back(std::string(name) + ":" + std::to_string(argument)); }
  std::vector<std::string>& calls;
};

TEST(ButtonSlots, TheEngineOperationsThenTheHookDrawBackgroundAndDrawText) {
  // The destructor takes two slots under this compiler's ABI (complete and deleting).
  enum { kHasAllImages = 2, kGetStateImageList, kGetStateImage, kSetStateImage, kHook, kDrawBackground, kDrawText };
  std::vector<std::string> calls;
  RecordingButton button(calls);
  CQsButton plain;
  CCtrlImageMgr* engine = &button;
  ASSERT_EQ(static_cast<void*>(engine), static_cast<void*>(&button))
      << "the engine is the first base: its table is the button's own";
  void** slots = *reinterpret_cast<void***>(engine);
  void** plainSlots = *reinterpret_cast<void***>(static_cast<CCtrlImageMgr*>(&plain));
  // Each slot holds one of the recorder's operations (a slot that held
  // something else, such as a binding override, would be the plain button's).
  for (int slot = kHasAllImages; slot <= kDrawText; ++slot)
    ASSERT_NE(slots[slot], plainSlots[slot]) << "slot " << slot << " is not one of the seven operations";
  using testing_support::CallSlot;
  Gdiplus::Bitmap source(4, 4, PixelFormat32bppARGB);
  RECT rc{0, 0, 77, 20};
  EXPECT_TRUE((CallSlot<bool>(engine, kHasAllImages)));
  EXPECT_EQ((CallSlot<Gdiplus::Bitmap*, int>(engine, kGetStateImageList, 7)), nullptr);
  EXPECT_EQ((CallSlot<Gdiplus::Bitmap*, int>(engine, kGetStateImage, 8)), nullptr);
  CallSlot<void, int, Gdiplus::Image*, int, int, int, int>(engine, kSetStateImage, 9, &source, 0, 0, 0, 0);
  EXPECT_TRUE((CallSlot<bool, LPARAM>(engine, kHook, 10)));
  CallSlot<void, HDC, const RECT*, bool, bool, bool>(engine, kDrawBackground, nullptr, &rc, false, false, false);
  CallSlot<void, HDC, const RECT*>(engine, kDrawText, nullptr, &rc);
  EXPECT_EQ(calls, (std::vector<std::string>{"HasAllImages:0", "GetStateImageList:7", "GetStateImage:8", "SetStateImage:9",
                                             "OnSkinHook:10", "DrawBackground:0", "DrawText:77"}));
  // The destructor is virtual: deleting through the engine runs the button's.
  std::vector<std::string> gone;
  std::unique_ptr<CCtrlImageMgr> owned(new RecordingButton(gone));
  owned.reset();
  EXPECT_EQ(gone, (std::vector<std::string>{"~"}));
}

TEST(SharedSkin, CutsTheStandardControlsFromTheSkinImages) {
  skin::LoadSharedSkin();
  Gdiplus::Bitmap* normal = CCtrlImageMgr::GetSharedStateImage(2);
  Gdiplus::Bitmap* hover = CCtrlImageMgr::GetSharedStateImage(3);
  Gdiplus::Bitmap* focused = CCtrlImageMgr::GetSharedStateImage(5);
  ASSERT_TRUE(normal && hover && focused);
  EXPECT_EQ(normal->GetWidth(), 84u);
  EXPECT_EQ(normal->GetHeight(), 37u);
  // Hover and focus are cut from the same frame.
  for (int x = 0; x < 84; x += 7)
    for (int y = 0; y < 37; y += 6) ASSERT_EQ(Pixel(hover, x, y), Pixel(focused, x, y));
  EXPECT_EQ(CCtrlImageMgr::GetSharedStateImage(36)->GetWidth(), 18u) << "radio cuts are 18 wide";
  EXPECT_EQ(CCtrlImageMgr::GetSharedStateImage(36)->GetHeight(), 20u);
  EXPECT_EQ(CCtrlImageMgr::GetSharedStateImage(24)->GetHeight(), 24u);
  // A manager without images of its own draws from the shared table.
  Manager manager;
  EXPECT_EQ(manager.GetStateImage(14), CCtrlImageMgr::GetSharedStateImage(14));
  EXPECT_EQ(manager.GetStateImage(40), nullptr);
}

TEST(ButtonState, WithImagesOnlyForNormalAndHover) {
  auto has = [](int state) { return state == 2 || state == 3; };
  EXPECT_EQ(qs::ChooseButtonState(false, true, true, false, 2, has), 3) << "pressed under the mouse: hover";
  EXPECT_EQ(qs::ChooseButtonState(true, false, false, false, 3, has), 2) << "disabled: normal";
  EXPECT_EQ(qs::ChooseButtonState(false, false, false, true, 3, has), 2) << "focused: normal";
  auto all = [](int) { return true; };
  EXPECT_EQ(qs::ChooseButtonState(false, true, true, false, 2, all), 4);
  EXPECT_EQ(qs::ChooseButtonState(true, true, true, true, 2, all), 6);
  EXPECT_EQ(qs::ChooseButtonState(false, false, false, true, 2, all), 5);
  auto none = [](int) { return false; };
  EXPECT_EQ(qs::ChooseButtonState(false, true, false, false, 4, none), 4) << "under the mouse without images: the last";
}

// Paints into a canvas filled with a sentinel colour.
struct Canvas {
  Canvas(int width, int height) : dc(::GetDC(nullptr)), canvas(dc, width, height) {
    ::ReleaseDC(nullptr, dc);
    RECT all{0, 0, width, height};
    wf::ScopedBrush sentinel(::CreateSolidBrush(RGB(1, 2, 3)));
    ::FillRect(canvas, &all, sentinel);
  }
  HDC dc;
  wf::MemoryCanvas canvas;
};

COLORREF Ref(Gdiplus::ARGB argb) { return RGB((argb >> 16) & 0xFF, (argb >> 8) & 0xFF, argb & 0xFF); }

TEST(SkinFrame, AMissingCornerPaintsNoFrameAtAll) {
  auto piece = Stripes(8, 8);
  Gdiplus::Image* pieces[skin::kFramePieces];
  for (auto& p : pieces) p = piece.get();
  pieces[skin::kBottomRight] = nullptr;
  Canvas c(100, 80);
  {
    Gdiplus::Graphics g(c.canvas.dc());
    skin::DrawNineFrame(g, pieces, Gdiplus::Rect(0, 0, 100, 80));
  }
  for (int x = 0; x < 100; x += 9)
    for (int y = 0; y < 80; y += 9) ASSERT_EQ(c.canvas.GetPixelRef(x, y), RGB(1, 2, 3));
  pieces[skin::kBottomRight] = piece.get();
  {
    Gdiplus::Graphics g(c.canvas.dc());
    skin::DrawNineFrame(g, pieces, Gdiplus::Rect(0, 0, 100, 80));
  }
  EXPECT_NE(c.canvas.GetPixelRef(99, 79), RGB(1, 2, 3));
  EXPECT_NE(c.canvas.GetPixelRef(50, 40), RGB(1, 2, 3));
}

TEST(SkinFrame, TheLastTileOfARowIsCutAtTheEdge) {
  auto tile = Stripes(30, 10);  // three 10-pixel bands
  Canvas c(120, 30);
  {
    Gdiplus::Graphics g(c.canvas.dc());
    skin::TileImage(g, tile.get(), Gdiplus::Rect(0, 0, 100, 25));  // 3 whole tiles and 10 pixels
  }
  // The last column, 10 pixels wide, is the tile's first band; nothing beyond.
  EXPECT_EQ(c.canvas.GetPixelRef(90, 0), Ref(Pixel(tile.get(), 0, 0)));
  EXPECT_EQ(c.canvas.GetPixelRef(99, 4), Ref(Pixel(tile.get(), 9, 4)));
  EXPECT_EQ(c.canvas.GetPixelRef(100, 4), RGB(1, 2, 3));
  EXPECT_EQ(c.canvas.GetPixelRef(65, 3), Ref(Pixel(tile.get(), 5, 3))) << "copied one to one";
  // Rows are cut too: the third row holds 5 of the tile's 10 lines.
  EXPECT_EQ(c.canvas.GetPixelRef(5, 24), Ref(Pixel(tile.get(), 5, 4)));
  EXPECT_EQ(c.canvas.GetPixelRef(5, 25), RGB(1, 2, 3));
}

}  // namespace
