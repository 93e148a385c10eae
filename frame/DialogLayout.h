// Dialog layout: keeps the controls of a resizable dialog at fixed distances
// from the edges of panes whose edges follow the client area by ratio rules.
//
// A window class derives from CDialogLayout<T>, chains its message map first
// and provides the layout map:
//
//   class CMyDlg : public wf::CDialogImpl<CMyDlg>, public CDialogLayout<CMyDlg> {
//    public:
//     enum { IDD = 200 };
//     BEGIN_MSG_MAP(CMyDlg)
//       CHAIN_MSG_MAP(CDialogLayout<CMyDlg>)   // first: it leaves WM_INITDIALOG,
//       MESSAGE_HANDLER(WM_INITDIALOG, ...)    // WM_SIZE and WM_DESTROY unhandled
//     END_MSG_MAP()
//     void DefineLayout() {                    // called at WM_INITDIALOG
//       CLayoutPane* top = GetRootPane()->AddPane(0, 0, 1, 0);
//       top->AddItem(IDC_SEARCH, kLayoutTop | kLayoutRight, 812, 3, 138, 30);
//     }
//   };
//
// Item rectangles in the map are pixels of the design size, which is the
// dialog's template (read from GetDialogTemplateInstance()) converted from
// dialog units to pixels.
#pragma once
#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "frame/DialogTemplates.h"
#include "framework/MessageMap.h"

// Sides of a rectangle (rules) and anchors of an item; anchors combine by or.
enum LayoutSide : UINT {
  kLayoutLeft = 1,
  kLayoutTop = 2,
  kLayoutRight = 4,
  kLayoutBottom = 8,
  kLayoutAll = kLayoutLeft | kLayoutTop | kLayoutRight | kLayoutBottom,
};

// Identifier of the size grip that the layout creates and keeps in the corner.
constexpr int kLayoutSizeGripId = 0xe801;

// Names of the window properties set on every laid-out control. The keys are
// global atoms of these names, registered when the library is loaded.
constexpr const wchar_t* kLayoutPropHdwp = L"DialogLayout_HDWP";
constexpr const wchar_t* kLayoutPropTopLeft = L"DialogLayout_TopLeft";
constexpr const wchar_t* kLayoutPropBottomRight = L"DialogLayout_BottomRight";
ATOM LayoutHdwpAtom();
ATOM LayoutTopLeftAtom();
ATOM LayoutBottomRightAtom();

// One control of a dialog template, in dialog units.
struct DialogTemplateItem {
  UINT id = 0;
  short x = 0, y = 0, cx = 0, cy = 0;
};

// The parts of a dialog template (plain or extended) that the layout needs.
// Parsing never reads past the given size; a damaged template is refused.
class CDialogTemplate {
 public:
  // Reads template `name` (RT_DIALOG) of `module`.
  bool Load(HINSTANCE module, LPCWSTR name);
  bool Parse(const void* data, size_t size);

  bool IsValid() const { return m_valid; }
  bool IsExtended() const { return m_extended; }
  DWORD GetStyle() const { return m_style; }
  bool HasFont() const { return (m_style & DS_SETFONT) != 0; }
  WORD GetPointSize() const { return m_pointSize; }
  WORD GetWeight() const { return m_weight; }
  bool IsItalic() const { return m_italic; }
  const std::wstring& GetFaceName() const { return m_faceName; }
  // Width and height of the client area in dialog units.
  SIZE GetSize() const { return m_size; }
  const std::vector<DialogTemplateItem>& GetItems() const { return m_items; }
  const DialogTemplateItem* FindItem(UINT id) const;

  // Horizontal and vertical dialog base units of the template's font (or the
  // system's when the template names none); measured at the first call.
  SIZE GetBaseUnits() const;
  // x and width by base width / 4, y and height by base height / 8 (rounded).
  RECT DialogUnitsToPixels(int x, int y, int cx, int cy) const;
  // The design client rectangle in pixels, at (0, 0).
  RECT GetClientRectPixels() const { return DialogUnitsToPixels(0, 0, m_size.cx, m_size.cy); }

 private:
  SIZE MeasureBaseUnits() const;

  bool m_valid = false;
  bool m_extended = false;
  DWORD m_style = 0;
  WORD m_pointSize = 0;
  WORD m_weight = 0;
  bool m_italic = false;
  std::wstring m_faceName;  // at most LF_FACESIZE - 1 characters, as a font takes it
  SIZE m_size{};
  std::vector<DialogTemplateItem> m_items;
  mutable SIZE m_baseUnits{};  // zero until measured
};

// Gives one edge of a rectangle derived from a parent's rectangle.
class CLayoutRule {
 public:
  // `side` is one of kLayoutLeft, kLayoutTop, kLayoutRight, kLayoutBottom.
  virtual int GetEdge(HWND window, UINT side, const RECT& rect) const = 0;
  virtual int GetEdge(UINT side, const RECT& rect) const { return GetEdge(nullptr, side, rect); }
  virtual ~CLayoutRule() = default;
};

// The edge at a fixed fraction of the parent's width (left and right sides)
// or height (top and bottom sides), truncated toward zero.
class CLayoutRuleRatio : public CLayoutRule {
 public:
  explicit CLayoutRuleRatio(float ratio) : m_ratio(ratio) {}
  using CLayoutRule::GetEdge;
  int GetEdge(HWND window, UINT side, const RECT& rect) const override;
  float GetRatio() const { return m_ratio; }

 private:
  float m_ratio;
};

// A control kept at fixed distances from its pane's edges.
struct CLayoutItem {
  UINT id = 0;
  UINT anchors = 0;
  RECT margins{};  // from the pane's design left, top, right and bottom edges
  int width = 0, height = 0;  // design size; 0 takes the control's own
};

// A rectangle of the dialog whose edges follow its parent's by rules, and the
// controls laid out against it. Panes own their sub-panes.
class CLayoutPane {
 public:
  // A pane covering `design`; the root pane has no rules.
  CLayoutPane(const CDialogTemplate* dialogTemplate, const RECT& design);
  CLayoutPane(const CLayoutPane&) = delete;
  CLayoutPane& operator=(const CLayoutPane&) = delete;

  // Sub-panes. With one rule it gives all four edges; with four they are the
  // left, top, right and bottom rules. The float form makes ratio rules.
  CLayoutPane* AddPane(std::unique_ptr<CLayoutRule> rule);
  CLayoutPane* AddPane(std::unique_ptr<CLayoutRule> left, std::unique_ptr<CLayoutRule> top,
                       std::unique_ptr<CLayoutRule> right, std::unique_ptr<CLayoutRule> bottom);
  CLayoutPane* AddPane(float left, float top, float right, float bottom);

  // A control at (x, y, width, height) design pixels. Answers false for an
  // identifier that the template does not have.
  bool AddItem(UINT id, UINT anchors, int x, int y, int width, int height);
  // A window's layout map as a table: each control added, each one missing
  // from the template written to the error log under `owner`'s name.
  struct Row {
    UINT id;
    UINT anchors;
    int x, y, width, height;
  };
  template <size_t N>
  void AddItems(const Row (&rows)[N], const char* owner) {
    AddItems(rows, N, owner);
  }
  void AddItems(const Row* rows, size_t count, const char* owner);

  const RECT& GetDesignRect() const { return m_design; }
  const RECT& GetRect() const { return m_rect; }
  const RECT& GetOffsets() const { return m_offsets; }
  int GetLayoutCount() const { return m_layoutCount; }
  const std::vector<CLayoutItem>& GetItems() const { return m_items; }
  const std::vector<std::unique_ptr<CLayoutPane>>& GetPanes() const { return m_panes; }

  // Items in this pane and its sub-panes.
  size_t CountItems() const;
  // Computes the pane's rectangle from its parent's and defers the moves of
  // its items (and its sub-panes') into `batch`, which may be replaced.
  void Layout(HWND dialog, const RECT& parent, HDWP& batch);

 private:
  CLayoutPane* MakePane(std::unique_ptr<CLayoutRule>* rules, int count);
  RECT EdgesFrom(HWND dialog, const RECT& parent) const;
  void LayoutItem(HWND dialog, const CLayoutItem& item, HDWP& batch) const;

  const CDialogTemplate* m_template;
  RECT m_design{};
  RECT m_rect{};
  std::unique_ptr<CLayoutRule> m_rules[4];  // left, top, right, bottom
  int m_ruleCount = 0;                      // 0, 1 or 4
  std::vector<CLayoutItem> m_items;
  std::vector<std::unique_ptr<CLayoutPane>> m_panes;
  RECT m_offsets{};
  int m_layoutCount = 0;
};

// The window-independent part of CDialogLayout<T>.
class CDialogLayoutBase {
 public:
  explicit CDialogLayoutBase(bool sizeGrip = false) : m_sizeGrip(sizeGrip) {}
  CDialogLayoutBase(const CDialogLayoutBase&) = delete;
  CDialogLayoutBase& operator=(const CDialogLayoutBase&) = delete;

  // Reads the dialog's template and makes the root pane. On failure (template
  // missing or damaged) there is no root pane and nothing is ever laid out.
  bool InitLayout(HWND dialog, HINSTANCE module, LPCWSTR templateName);
  bool InitLayout(HWND dialog, const void* templateData, size_t size);
  // After the map: the size grip if asked for, then a first layout at the
  // dialog's current size, which fixes the panes' offsets.
  void CompleteLayoutInit();

  // Null until InitLayout has succeeded.
  CLayoutPane* GetRootPane() const { return m_root.get(); }
  const CDialogTemplate& GetLayoutTemplate() const { return m_template; }

  // Moves every control of the map for client rectangle `client` in one batch.
  void LayoutControls(const RECT& client);
  // Removes the properties of the laid-out controls (the dialog is going away).
  void ClearLayoutProperties();

 private:
  bool MakeRootPane(HWND dialog);
  void CreateSizeGrip();

  HWND m_dialog = nullptr;
  bool m_sizeGrip;
  CDialogTemplate m_template;
  std::unique_ptr<CLayoutPane> m_root;
};

// Mixin of a dialog class T (which has m_hWnd, IDD and DefineLayout()).
template <class T>
class CDialogLayout : public CDialogLayoutBase {
 public:
  // `sizeGrip`: the dialog wants a size grip in its bottom-right corner.
  explicit CDialogLayout(bool sizeGrip = false) : CDialogLayoutBase(sizeGrip) {}

  BEGIN_MSG_MAP(CDialogLayout)
    MESSAGE_HANDLER(WM_INITDIALOG, OnLayoutInitDialog)
    MESSAGE_HANDLER(WM_SIZE, OnLayoutSize)
    MESSAGE_HANDLER(WM_DESTROY, OnLayoutDestroy)
  END_MSG_MAP()

 private:
  // Every handler leaves bHandled FALSE: the dialog's own handlers run too.
  LRESULT OnLayoutInitDialog(UINT, WPARAM, LPARAM, BOOL& bHandled) {
    bHandled = FALSE;
    T* self = static_cast<T*>(this);
    if (InitLayout(self->m_hWnd, GetDialogTemplateInstance(), MAKEINTRESOURCEW(T::IDD))) {
      self->DefineLayout();
      CompleteLayoutInit();
    }
    return 0;
  }
  LRESULT OnLayoutSize(UINT, WPARAM wParam, LPARAM lParam, BOOL& bHandled) {
    bHandled = FALSE;
    // A minimised window, or one squeezed to nothing, reports no useful size;
    // the next real size lays out again.
    if (wParam != SIZE_MINIMIZED && LOWORD(lParam) && HIWORD(lParam))
      LayoutControls(RECT{0, 0, LOWORD(lParam), HIWORD(lParam)});
    return 0;
  }
  LRESULT OnLayoutDestroy(UINT, WPARAM, LPARAM, BOOL& bHandled) {
    bHandled = FALSE;
    ClearLayoutProperties();
    return 0;
  }
};
