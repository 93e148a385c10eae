// CQsSkinWindowUI<T, flag>: turns a dialog into a skinned one. It loads the
// shared skin of the standard controls, binds every child control to its
// skinned class, answers the children's background requests, and paints the
// dialog: with flag 1 a frame of nine images around a tiled centre (windows
// of their own: progress, chat, calendar); with flag 0 a background image
// (windows inside another one, like the main window).
//
// The dialog chains the base's message map through a name for it:
//   using SkinBase = CQsSkinWindowUI<CMyDlg, 0>;  ...  CHAIN_MSG_MAP(SkinBase)
#pragma once
#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "controls/ImageMgr.h"
#include "framework/GdiPlus.h"
#include "framework/MessageMap.h"

namespace skin {
// The nine frame pieces, in this order.
enum FramePiece { kTopLeft, kTop, kTopRight, kLeft, kCentre, kRight, kBottomLeft, kBottom, kBottomRight, kFramePieces };

// One entry of the shared skin: states cut from an image of the resource library.
struct SharedCut {
  const wchar_t* image;
  int state;
  int x, y, width, height;
};
extern const SharedCut kSharedSkin[];
extern const size_t kSharedSkinSize;

// Fills the shared state table from the resource library (a missing image
// leaves its states empty) and reads the default font and text colour.
void LoadSharedSkin();

// Tiles `image` at its natural size over `area`, row by row from its top-left,
// cutting the last tile of each row and column at the area's edges.
void TileImage(Gdiplus::Graphics& g, Gdiplus::Image* image, const Gdiplus::Rect& area);

// Draws the nine pieces around and inside `bounds`; nothing at all when any
// piece is missing. Copies pixels one to one (no stretching).
void DrawNineFrame(Gdiplus::Graphics& g, Gdiplus::Image* const pieces[kFramePieces], const Gdiplus::Rect& bounds);

// Binds `child` to the skinned control for its class (and button style);
// answers the bound object, or null for a class that has none.
std::unique_ptr<CCtrlImageMgr> BindSkinnedControl(HWND child);
}  // namespace skin

template <class T, int t_flag>
class CQsSkinWindowUI {
 public:
  CQsSkinWindowUI() = default;
  CQsSkinWindowUI(const CQsSkinWindowUI&) = delete;
  CQsSkinWindowUI& operator=(const CQsSkinWindowUI&) = delete;

  // Slot order: destructor, InitSkin, DrawFrame, PaintChildBackground.
  virtual ~CQsSkinWindowUI() {
    if (m_brush) ::DeleteObject(m_brush);
  }
  // Loads the shared skin and binds every child not bound yet.
  virtual void InitSkin();
  virtual void DrawFrame(Gdiplus::Graphics& g);
  // The background service: paints the part of this window's background that
  // lies under `child` into the child's context.
  virtual void PaintChildBackground(HDC dc, HWND child);

  // Frame pieces (flag 1) and background image (flag 0), from the resource library.
  void SetFrameImages(const wchar_t* const names[skin::kFramePieces]);
  void SetBackgroundImage(const std::wstring& name);
  void SetBackgroundColor(COLORREF color) { m_backgroundColor = color; }
  // Paints the whole background (frame or image) into `dc`.
  void PaintBackground(HDC dc, const RECT& client);
  size_t BoundChildCount() const { return m_bound.size(); }

  BEGIN_MSG_MAP(CQsSkinWindowUI)
    MESSAGE_HANDLER(WM_ERASEBKGND, OnEraseBkgnd)
    MESSAGE_HANDLER(WM_PRINTCLIENT, OnPrintClient)
    MESSAGE_HANDLER(0x2401, OnPaintChildBackground)
    MESSAGE_HANDLER(WM_CTLCOLORSTATIC, OnCtlColor)
    MESSAGE_HANDLER(WM_CTLCOLORBTN, OnCtlColor)
    MESSAGE_HANDLER(WM_CTLCOLORDLG, OnCtlColor)
    REFLECT_NOTIFICATIONS()
  END_MSG_MAP()

 protected:
  Gdiplus::Image* m_frame[skin::kFramePieces] = {};  // the resource library's; measured when drawn
  Gdiplus::Image* m_background = nullptr;
  COLORREF m_backgroundColor = RGB(0xF4, 0xF8, 0xFD);

 private:
  LRESULT OnEraseBkgnd(UINT, WPARAM wParam, LPARAM, BOOL&);
  LRESULT OnPrintClient(UINT, WPARAM wParam, LPARAM, BOOL& bHandled);
  LRESULT OnPaintChildBackground(UINT, WPARAM wParam, LPARAM lParam, BOOL&);
  LRESULT OnCtlColor(UINT, WPARAM wParam, LPARAM, BOOL&);
  HWND Window() const { return static_cast<const T*>(this)->m_hWnd; }

  std::vector<std::unique_ptr<CCtrlImageMgr>> m_bound;
  HBRUSH m_brush = nullptr;
};

#include "controls/SkinWindow.inl"
