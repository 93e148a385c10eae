#include "controls/ImageMgr.h"

#include <commctrl.h>

#include <atomic>
#include <cstring>
#include <mutex>

namespace {

// The shared table and the defaults live until the process ends.
std::mutex g_sharedMutex;
Gdiplus::Bitmap* g_shared[CCtrlImageMgr::kUpperBound] = {};
COLORREF g_defaultColor = RGB(0x1F, 0x3A, 0x5F);

LOGFONTW MakeDefaultFont() {
  LOGFONTW font{};
  font.lfHeight = 12;
  font.lfWeight = FW_NORMAL;
  font.lfCharSet = DEFAULT_CHARSET;
  font.lfOutPrecision = OUT_DEFAULT_PRECIS;
  font.lfClipPrecision = CLIP_DEFAULT_PRECIS;
  font.lfQuality = 6;  // natural ClearType
  font.lfPitchAndFamily = 0x20;
  return font;
}

LOGFONTW g_defaultFont = MakeDefaultFont();
std::atomic<long> g_liveImages{0};

// Every bitmap a manager makes or frees goes through these two.
Gdiplus::Bitmap* Counted(Gdiplus::Bitmap* bitmap) {
  if (bitmap) ++g_liveImages;
  return bitmap;
}
void Free(Gdiplus::Bitmap* bitmap) {
  if (!bitmap) return;
  --g_liveImages;
  delete bitmap;
}

}  // namespace

LOGFONTW DescribeFont(const std::wstring& faceName, double points, int style) {
  LOGFONTW font = MakeDefaultFont();
  HDC screen = ::GetDC(nullptr);
  font.lfHeight = -::MulDiv(static_cast<int>(points * 100 + 0.5), ::GetDeviceCaps(screen, LOGPIXELSY), 7200);
  ::ReleaseDC(nullptr, screen);
  font.lfWeight = (style & 1) ? FW_BOLD : FW_NORMAL;
  font.lfItalic = (style & 2) ? TRUE : FALSE;
  font.lfUnderline = (style & 4) ? TRUE : FALSE;
  font.lfStrikeOut = (style & 8) ? TRUE : FALSE;
  lstrcpynW(font.lfFaceName, faceName.c_str(), LF_FACESIZE);
  return font;
}

HFONT MakeFont(const std::wstring& faceName, double points, int style) {
  LOGFONTW font = DescribeFont(faceName, points, style);
  return ::CreateFontIndirectW(&font);
}

namespace {

constexpr wchar_t kSkinnedProperty[] = L"QsSkinned";
constexpr UINT_PTR kMarkWatchId = 0x51534D4B;  // one watcher per window, whoever marked it

// Takes the mark away before the window is gone: a window's properties must
// be removed by whoever set them.
LRESULT CALLBACK ForgetMarkOnDestroy(HWND window, UINT msg, WPARAM wParam, LPARAM lParam, UINT_PTR id, DWORD_PTR) {
  if (msg == WM_NCDESTROY) {
    ::RemovePropW(window, kSkinnedProperty);
    ::RemoveWindowSubclass(window, &ForgetMarkOnDestroy, id);
  }
  return ::DefSubclassProc(window, msg, wParam, lParam);
}

}  // namespace

void MarkSkinned(HWND window, const void* owner) {
  if (!window) return;
  HANDLE value = owner ? const_cast<void*>(owner) : reinterpret_cast<HANDLE>(1);
  ::SetPropW(window, kSkinnedProperty, value);
  ::SetWindowSubclass(window, &ForgetMarkOnDestroy, kMarkWatchId, 0);
}

void UnmarkSkinned(HWND window, const void* owner) {
  if (!window || !::IsWindow(window) || ::GetPropW(window, kSkinnedProperty) != owner) return;
  ::RemovePropW(window, kSkinnedProperty);
  ::RemoveWindowSubclass(window, &ForgetMarkOnDestroy, kMarkWatchId);
}

bool IsSkinned(HWND window) { return ::GetPropW(window, kSkinnedProperty) != nullptr; }

// Bitmaps, font handles and tables free themselves; only the mark is left to
// take back if the window outlives the control.
CCtrlImageMgr::~CCtrlImageMgr() { UnmarkSkinned(m_boundWindow, this); }

void CCtrlImageMgr::MarkBound(HWND window) {
  if (m_boundWindow && m_boundWindow != window) UnmarkSkinned(m_boundWindow, this);
  MarkSkinned(window, this);
  m_boundWindow = window;
}

bool CCtrlImageMgr::HasAllImages() {
  for (int state = m_lowerBound + 1; state < m_upperBound; ++state)
    if (!GetStateImage(state)) return false;
  return true;
}

Gdiplus::Bitmap* CCtrlImageMgr::GetStateImageList(int state) {
  if (!IsState(state) || m_imageLists.empty()) return nullptr;
  return m_imageLists[state - 1].get();
}

Gdiplus::Bitmap* CCtrlImageMgr::GetStateImage(int state) {
  if (!IsState(state)) return nullptr;
  if (m_sourceMode == kOwnImages) return m_ownImages.empty() ? nullptr : m_ownImages[state - 1].get();
  return GetSharedStateImage(state);
}

Gdiplus::Bitmap* CCtrlImageMgr::CutImage(Gdiplus::Image* source, int x, int y, int width, int height) {
  if (!source) return nullptr;
  if (width <= 0) width = static_cast<int>(source->GetWidth());
  if (height <= 0) height = static_cast<int>(source->GetHeight());
  if (width <= 0 || height <= 0) return nullptr;
  auto* bitmap = new Gdiplus::Bitmap(width, height, PixelFormat32bppARGB);
  if (bitmap->GetLastStatus() != Gdiplus::Ok) {
    delete bitmap;
    return nullptr;
  }
  {
    Gdiplus::Graphics g(bitmap);
    g.SetCompositingMode(Gdiplus::CompositingModeSourceCopy);
    g.DrawImage(source, Gdiplus::Rect(0, 0, width, height), x, y, width, height, Gdiplus::UnitPixel);
  }
  return Counted(bitmap);
}

void CCtrlImageMgr::SetStateImage(int state, Gdiplus::Image* source, int x, int y, int width, int height) {
  if (!IsState(state) || !source) return;
  if (m_ownImages.empty()) m_ownImages.resize(kStateCount);
  m_ownImages[state - 1].reset(CutImage(source, x, y, width, height));
  m_sourceMode = kOwnImages;
}

void CCtrlImageMgr::EnsureFontTables() {
  if (!m_stateFonts.empty()) return;
  m_stateFonts.assign(kStateCount, DefaultFont());
  m_hasFont.assign(kStateCount, false);
  m_fontHandles.resize(kStateCount);
}

void CCtrlImageMgr::SetStateFont(int state, const std::wstring& faceName, double points, int style) {
  if (!IsState(state)) return;
  EnsureFontTables();
  m_stateFonts[state - 1] = DescribeFont(faceName, points, style);
  m_hasFont[state - 1] = true;
  m_fontHandles[state - 1].Reset();  // made again from the new description when next drawn
}

namespace {

// Every default font handed out stays valid until the process ends: windows
// keep the handle they were given (WM_SETFONT) whatever the default becomes
// later. There is one per description the default ever had.
HFONT SharedDefaultFont(const LOGFONTW& wanted) {
  struct Made {
    LOGFONTW description;
    HFONT font;
  };
  static std::mutex mutex;
  static std::vector<Made> made;
  std::lock_guard<std::mutex> lock(mutex);
  for (const Made& m : made)
    if (memcmp(&m.description, &wanted, sizeof(wanted)) == 0) return m.font;
  HFONT font = ::CreateFontIndirectW(&wanted);
  if (font) made.push_back(Made{wanted, font});
  return font;
}

}  // namespace

HFONT CCtrlImageMgr::GetStateFont(int state) {
  if (!IsState(state) || m_hasFont.empty() || !m_hasFont[state - 1]) return DefaultFontHandle();
  wf::ScopedFont& handle = m_fontHandles[state - 1];
  if (!handle) handle.Reset(::CreateFontIndirectW(&m_stateFonts[state - 1]));
  return handle;
}

void CCtrlImageMgr::SetStateTextColor(int state, COLORREF color) {
  if (!IsState(state)) return;
  if (m_textColors.empty()) {
    m_textColors.assign(kStateCount, 0);
    m_hasColor.assign(kStateCount, false);
  }
  m_textColors[state - 1] = color;
  m_hasColor[state - 1] = true;
}

COLORREF CCtrlImageMgr::GetStateTextColor(int state) {
  if (!IsState(state) || m_textColors.empty() || !m_hasColor[state - 1]) return DefaultTextColor();
  return m_textColors[state - 1];
}

void CCtrlImageMgr::SetSharedStateImage(int state, Gdiplus::Image* source, int x, int y, int width, int height) {
  if (!IsState(state) || !source) return;
  Gdiplus::Bitmap* cut = CutImage(source, x, y, width, height);
  std::lock_guard<std::mutex> lock(g_sharedMutex);
  Free(g_shared[state - 1]);
  g_shared[state - 1] = cut;
}

Gdiplus::Bitmap* CCtrlImageMgr::GetSharedStateImage(int state) {
  if (!IsState(state)) return nullptr;
  std::lock_guard<std::mutex> lock(g_sharedMutex);
  return g_shared[state - 1];
}

void CCtrlImageMgr::ClearSharedStateImages() {
  std::lock_guard<std::mutex> lock(g_sharedMutex);
  for (auto& image : g_shared) {
    Free(image);
    image = nullptr;
  }
}

LOGFONTW& CCtrlImageMgr::DefaultFont() {
  if (!g_defaultFont.lfFaceName[0]) {
    // The first manager that finds no face takes the suite's interface font.
    std::wstring face;
    double size = 0;
    int32_t style = 0;
    if (!GetFontEx(L"default_font", face, size, style) || face.empty()) face = L"Tahoma";
    lstrcpynW(g_defaultFont.lfFaceName, face.c_str(), 17);  // 16 characters at most
  }
  return g_defaultFont;
}

HFONT CCtrlImageMgr::DefaultFontHandle() { return SharedDefaultFont(DefaultFont()); }

void CCtrlImageMgr::SetDefaultFont(const std::wstring& faceName, double points, int style) {
  g_defaultFont = DescribeFont(faceName.substr(0, 16), points, style);
}

COLORREF CCtrlImageMgr::DefaultTextColor() { return g_defaultColor; }
void CCtrlImageMgr::SetDefaultTextColor(COLORREF color) { g_defaultColor = color; }

long CCtrlImageMgr::LiveImageCount() { return g_liveImages; }
void CCtrlImageMgr::FreeImage(Gdiplus::Bitmap* bitmap) { Free(bitmap); }
