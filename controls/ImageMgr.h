// CCtrlImageMgr: what every skinned control shares — a table of images,
// fonts and text colours per state. States are numbered 1..116 in one
// numbering for all kinds of control (button 2 normal, 3 hover, 4 pressed,
// 5 focused, 6 disabled; check box 14..19; combo box 22..26; progress bar
// 29..32; radio box 35..38; tab 55..57; tree 70..75); state s is stored at
// index s - 1. A state outside 1..116 is ignored everywhere.
#pragma once
#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "framework/Gdi.h"
#include "framework/GdiPlus.h"

class CCtrlImageMgr {
 public:
  static constexpr int kLowerBound = 0;
  static constexpr int kUpperBound = 117;  // states lie strictly between the bounds
  static constexpr int kStateCount = kUpperBound - 1;

  // Image source modes.
  static constexpr int kSharedImages = 1;
  static constexpr int kOwnImages = 2;

  CCtrlImageMgr() = default;
  CCtrlImageMgr(const CCtrlImageMgr&) = delete;
  CCtrlImageMgr& operator=(const CCtrlImageMgr&) = delete;

  // Slot order: destructor, HasAllImages, GetStateImageList, GetStateImage, SetStateImage.
  virtual ~CCtrlImageMgr();
  // Every state from 1 to 116 has an image (stops at the first missing one).
  virtual bool HasAllImages();
  // The second image array's entry; null outside the range or when empty.
  virtual Gdiplus::Bitmap* GetStateImageList(int state);
  // The image the control draws a state with: its own (mode 2) or the
  // process-wide shared table's (mode 1); null outside the range.
  virtual Gdiplus::Bitmap* GetStateImage(int state);
  // Cuts the rectangle (x, y, width, height) of `source` into a new 32-bit
  // ARGB bitmap for `state` (width or height 0: the source's) and makes the
  // control use its own images. Ignored for a state outside the range or a
  // null source. Replacing an image deletes the one before.
  virtual void SetStateImage(int state, Gdiplus::Image* source, int x, int y, int width, int height);

  // Font of a state from a face name, a size in points and a GDI+ style
  // (1 bold, 2 italic, 4 underline, 8 strikeout).
  void SetStateFont(int state, const std::wstring& faceName, double points, int style);
  // The font a state draws its text with: its own (valid while the manager
  // lives), or the shared default one (valid until the process ends, even
  // after the default description changes: windows may still hold it).
  HFONT GetStateFont(int state);
  void SetStateTextColor(int state, COLORREF color);
  // The state's colour; the default colour outside the range or when none is set.
  COLORREF GetStateTextColor(int state);
  int ImageSourceMode() const { return m_sourceMode; }

  // --- the process-wide shared data ---
  // Cuts an image into the shared table (owned by the table; replacing an
  // entry deletes the previous one).
  static void SetSharedStateImage(int state, Gdiplus::Image* source, int x, int y, int width, int height);
  static Gdiplus::Bitmap* GetSharedStateImage(int state);
  static void ClearSharedStateImages();
  // The default font description and text colour of every control.
  static LOGFONTW& DefaultFont();
  // A font made from the default description; every handle handed out stays
  // valid until the process ends.
  static HFONT DefaultFontHandle();
  static void SetDefaultFont(const std::wstring& faceName, double points, int style);
  static COLORREF DefaultTextColor();
  static void SetDefaultTextColor(COLORREF color);

  // A new 32-bit ARGB bitmap holding a rectangle of `source` (0 width or
  // height: the source's). Null when the source is null or empty.
  static Gdiplus::Bitmap* CutImage(Gdiplus::Image* source, int x, int y, int width, int height);
  // Frees a bitmap made by CutImage.
  static void FreeImage(Gdiplus::Bitmap* bitmap);

  static bool IsState(int state) { return state > kLowerBound && state < kUpperBound; }

  // How many bitmaps the managers (and the shared table) hold now: a leak of
  // state images shows as a count that only grows.
  static long LiveImageCount();

 protected:
  // A bitmap made by CutImage, freed through FreeImage.
  struct BitmapFree {
    void operator()(Gdiplus::Bitmap* bitmap) const { FreeImage(bitmap); }
  };
  using OwnedBitmap = std::unique_ptr<Gdiplus::Bitmap, BitmapFree>;

  // Marks the control's window as bound to this manager (IsSkinned); the mark
  // goes with the window, or with the manager if it goes first.
  void MarkBound(HWND window);

  // Images, fonts and colours, in this order (the layout shared by the
  // family). Each table is empty until first used, then holds one entry per
  // state (state s at index s - 1).
  std::vector<OwnedBitmap> m_ownImages;
  int m_sourceMode = kSharedImages;
  std::vector<LOGFONTW> m_stateFonts;    // filled with the default description
  std::vector<OwnedBitmap> m_imageLists;  // second image array (the accessor reads it)
  std::vector<COLORREF> m_textColors;     // zeroed
  int m_lowerBound = kLowerBound;
  int m_upperBound = kUpperBound;

 private:
  void EnsureFontTables();

  std::vector<wf::ScopedFont> m_fontHandles;  // made from m_stateFonts when first drawn
  std::vector<bool> m_hasFont;
  std::vector<bool> m_hasColor;
  HWND m_boundWindow = nullptr;
};

// Joins the engine to a control class (adds no data). Each member of the
// family shares the hook below.
template <class T>
class CImageMgrCtrlBase : public CCtrlImageMgr {
 public:
  // A hook every skinned control answers true to.
  virtual bool OnSkinHook(LPARAM) { return true; }

  // Cuts state `state` from the resource library's image `name`.
  void SetStateImageFromKey(int state, const std::wstring& name, int x = 0, int y = 0, int width = 0, int height = 0);
  // The state's font and colour from the resource library's keys.
  void SetStateFontFromKey(int state, const std::wstring& fontKey);
  void SetStateColorFromKey(int state, const std::wstring& colorKey);
};

// A font of `points` points on the screen; style bits: 1 bold, 2 italic,
// 4 underline, 8 strike-out. MakeFont's font belongs to the caller.
LOGFONTW DescribeFont(const std::wstring& faceName, double points, int style);
HFONT MakeFont(const std::wstring& faceName, double points, int style);

// Marks a window as bound to a skinned control (`owner`, or any when null),
// so that a skinned window does not bind it a second time. The mark is a
// window property; it is removed when the window is destroyed, or by
// UnmarkSkinned with the same owner.
void MarkSkinned(HWND window, const void* owner = nullptr);
void UnmarkSkinned(HWND window, const void* owner);
bool IsSkinned(HWND window);

#include "controls/ImageMgr.inl"
