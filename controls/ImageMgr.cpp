#include "controls/ImageMgr.h"

#include <algorithm>
#include <atomic>
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

void MarkSkinned(HWND window) { ::SetPropW(window, L"QsSkinned", reinterpret_cast<HANDLE>(1)); }
bool IsSkinned(HWND window) { return ::GetPropW(window, L"QsSkinned") != nullptr; }

CCtrlImageMgr::~CCtrlImageMgr() {
  if (m_ownImages)
    for (int i = 0; i < kStateCount; ++i) Free(m_ownImages[i]);
  if (m_imageLists)
    for (int i = 0; i < kStateCount; ++i) Free(m_imageLists[i]);
  if (m_fontHandles)
    for (int i = 0; i < kStateCount; ++i)
      if (m_fontHandles[i]) ::DeleteObject(m_fontHandles[i]);
  delete[] m_ownImages;
  delete[] m_imageLists;
  delete[] m_stateFonts;
  delete[] m_textColors;
  delete[] m_fontHandles;
  delete[] m_hasFont;
  delete[] m_hasColor;
}

bool CCtrlImageMgr::HasAllImages() {
  for (int state = m_lowerBound + 1; state < m_upperBound; ++state)
    if (!GetStateImage(state)) return false;
  return true;
}

Gdiplus::Bitmap* CCtrlImageMgr::GetStateImageList(int state) {
  if (!IsState(state) || !m_imageLists) return nullptr;
  return m_imageLists[state - 1];
}

Gdiplus::Bitmap* CCtrlImageMgr::GetStateImage(int state) {
  if (!IsState(state)) return nullptr;
  if (m_sourceMode == kOwnImages) return m_ownImages ? m_ownImages[state - 1] : nullptr;
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
  if (!m_ownImages) m_ownImages = new Gdiplus::Bitmap* [kStateCount]();
  Gdiplus::Bitmap*& slot = m_ownImages[state - 1];
  Free(slot);
  slot = CutImage(source, x, y, width, height);
  m_sourceMode = kOwnImages;
}

void CCtrlImageMgr::SetStateFont(int state, const std::wstring& faceName, double points, int style) {
  if (!IsState(state)) return;
  if (!m_stateFonts) {
    m_stateFonts = new LOGFONTW[kStateCount];
    std::fill(m_stateFonts, m_stateFonts + kStateCount, DefaultFont());
    m_hasFont = new bool[kStateCount]();
    m_fontHandles = new HFONT[kStateCount]();
  }
  m_stateFonts[state - 1] = DescribeFont(faceName, points, style);
  m_hasFont[state - 1] = true;
  if (m_fontHandles[state - 1]) {
    ::DeleteObject(m_fontHandles[state - 1]);
    m_fontHandles[state - 1] = nullptr;
  }
}

HFONT CCtrlImageMgr::GetStateFont(int state) {
  if (!m_fontHandles) {
    m_fontHandles = new HFONT[kStateCount]();
    m_hasFont = new bool[kStateCount]();
  }
  // Index 0 holds the default font's handle for a state without its own.
  int index = IsState(state) && m_hasFont[state - 1] ? state - 1 : 0;
  bool own = IsState(state) && m_hasFont[state - 1];
  if (!own) {
    static HFONT defaultHandle = nullptr;
    static LOGFONTW made{};
    LOGFONTW& wanted = DefaultFont();
    if (!defaultHandle || memcmp(&made, &wanted, sizeof(made)) != 0) {
      if (defaultHandle) ::DeleteObject(defaultHandle);
      made = wanted;
      defaultHandle = ::CreateFontIndirectW(&made);
    }
    return defaultHandle;
  }
  if (!m_fontHandles[index]) m_fontHandles[index] = ::CreateFontIndirectW(&m_stateFonts[index]);
  return m_fontHandles[index];
}

void CCtrlImageMgr::SetStateTextColor(int state, COLORREF color) {
  if (!IsState(state)) return;
  if (!m_textColors) {
    m_textColors = new COLORREF[kStateCount]();
    m_hasColor = new bool[kStateCount]();
  }
  m_textColors[state - 1] = color;
  m_hasColor[state - 1] = true;
}

COLORREF CCtrlImageMgr::GetStateTextColor(int state) {
  if (!IsState(state) || !m_textColors || !m_hasColor[state - 1]) return DefaultTextColor();
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

void CCtrlImageMgr::SetDefaultFont(const std::wstring& faceName, double points, int style) {
  g_defaultFont = DescribeFont(faceName.substr(0, 16), points, style);
}

COLORREF CCtrlImageMgr::DefaultTextColor() { return g_defaultColor; }
void CCtrlImageMgr::SetDefaultTextColor(COLORREF color) { g_defaultColor = color; }

long CCtrlImageMgr::LiveImageCount() { return g_liveImages; }
void CCtrlImageMgr::FreeImage(Gdiplus::Bitmap* bitmap) { Free(bitmap); }
