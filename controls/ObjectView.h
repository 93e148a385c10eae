// CQsObjectView: a small read-only view of one object as label/value rows,
// one under the other: the label in a column of fixed width on the left, the
// value beside it, wrapped over as many lines as it needs. The event detail
// popup shows an event's time, place, attendees and remark with it.
//
// CItemInfo is one row's label and value; CListTreeItem is a row of the view,
// which may carry rows of its own (shown under it, indented).
//
// Painted skinned: the parent paints the background under the view
// (WM_QS_PAINTBACKGROUND), an optional image is stretched over it, then the
// texts in the view's fonts and colours.
#pragma once
#include <windows.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "controls/SkinPaint.h"
#include "framework/Gdi.h"
#include "framework/WindowImpl.h"

namespace Gdiplus {
class Image;
}

class CItemInfo {
 public:
  CItemInfo() = default;
  CItemInfo(std::wstring label, std::wstring value) : m_label(std::move(label)), m_value(std::move(value)) {}

  const std::wstring& GetLabel() const { return m_label; }
  const std::wstring& GetValue() const { return m_value; }
  void SetLabel(std::wstring label) { m_label = std::move(label); }
  void SetValue(std::wstring value) { m_value = std::move(value); }

 private:
  std::wstring m_label;
  std::wstring m_value;
};

class CListTreeItem {
 public:
  explicit CListTreeItem(CItemInfo info, CListTreeItem* parent = nullptr)
      : m_info(std::move(info)), m_parent(parent) {}
  CListTreeItem(const CListTreeItem&) = delete;
  CListTreeItem& operator=(const CListTreeItem&) = delete;

  CItemInfo& GetItemInfo() { return m_info; }
  const CItemInfo& GetItemInfo() const { return m_info; }
  CListTreeItem* GetParent() const { return m_parent; }
  // 0 for a row of the view itself, 1 for its rows, and so on.
  int GetLevel() const { return m_parent ? m_parent->GetLevel() + 1 : 0; }

  CListTreeItem* AddChild(CItemInfo info);
  size_t GetChildCount() const { return m_children.size(); }
  CListTreeItem* GetChild(size_t index) const { return index < m_children.size() ? m_children[index].get() : nullptr; }

 private:
  CItemInfo m_info;
  CListTreeItem* m_parent;
  std::vector<std::unique_ptr<CListTreeItem>> m_children;
};

namespace objview {

struct ViewMetrics {
  int labelWidth = 72;  // the label column, indentation included
  int indent = 12;      // per level of a row's rows
  int padding = 8;      // around the rows
  int columnGap = 8;    // between label and value
  int rowGap = 6;       // between two rows
};

struct RowLayout {
  const CListTreeItem* item = nullptr;
  RECT label{};
  RECT value{};
};

// Height of a text wrapped into a width, in the label's or the value's font.
using MeasureText = std::function<int(const std::wstring& text, int width, bool label)>;

// Rows in order (each followed by its own rows), placed in a view `width`
// wide: every row as tall as the taller of its wrapped label and value.
std::vector<RowLayout> LayoutRows(const std::vector<std::unique_ptr<CListTreeItem>>& rows, int width,
                                  const ViewMetrics& metrics, const MeasureText& measure);

}  // namespace objview

class CQsObjectView : public wf::CWindowImpl<CQsObjectView> {
 public:
  DECLARE_WND_CLASS_EX(L"QsObjectView", CS_HREDRAW | CS_VREDRAW | CS_DBLCLKS, COLOR_WINDOW)

  enum class Role { Label, Value };

  CQsObjectView() = default;

  // Either its own window, or bound to a control of a dialog (a static).
  HWND Create(HWND parent, const RECT& rc, UINT id = 0);
  BOOL SubclassWindow(HWND hWnd) override;

  // Rows.
  CListTreeItem* InsertItem(CItemInfo info, CListTreeItem* parent = nullptr);
  CListTreeItem* InsertItem(const std::wstring& label, const std::wstring& value) {
    return InsertItem(CItemInfo(label, value));
  }
  void DeleteAllItems();
  size_t GetItemCount() const { return m_rows.size(); }
  CListTreeItem* GetItem(size_t index) const { return index < m_rows.size() ? m_rows[index].get() : nullptr; }

  // Looks.
  void SetMetrics(const objview::ViewMetrics& metrics);
  const objview::ViewMetrics& GetMetrics() const { return m_metrics; }
  void SetFont(Role role, const std::wstring& faceName, double points, int style);
  void SetFontFromKey(Role role, const std::wstring& key);
  void SetTextColor(Role role, COLORREF color);
  void SetTextColorFromKey(Role role, const std::wstring& key);
  // Stretched over the whole view, above the parent's background.
  void SetBackgroundImage(Gdiplus::Image* image);
  void SetBackgroundImageFromKey(const std::wstring& key);
  // A thin line under every top-level row; CLR_NONE for none.
  void SetLineColor(COLORREF color);

  // Where the rows lie now, and how tall they are together (to size a popup).
  std::vector<objview::RowLayout> Layout(HDC dc, int width) const;
  int GetContentHeight(int width) const;

  // Draws the view into `dc` (its client coordinates).
  void Paint(HDC dc, const RECT& client);

  BEGIN_MSG_MAP(CQsObjectView)
    MESSAGE_HANDLER(WM_PAINT, OnPaint)
    MESSAGE_HANDLER(WM_PRINTCLIENT, OnPrintClient)
    MESSAGE_HANDLER(WM_ERASEBKGND, OnEraseBkgnd)
    MESSAGE_HANDLER(WM_SIZE, OnSize)
  END_MSG_MAP()

 private:
  LRESULT OnPaint(UINT, WPARAM, LPARAM, BOOL&);
  LRESULT OnPrintClient(UINT, WPARAM, LPARAM, BOOL&);
  LRESULT OnEraseBkgnd(UINT, WPARAM, LPARAM, BOOL&) { return 1; }
  LRESULT OnSize(UINT, WPARAM, LPARAM, BOOL&);
  HFONT FontOf(Role role) const;
  void Redraw();

  std::vector<std::unique_ptr<CListTreeItem>> m_rows;
  objview::ViewMetrics m_metrics;
  wf::ScopedFont m_labelFont, m_valueFont;
  COLORREF m_labelColor = RGB(0x4A, 0x6A, 0x90);
  COLORREF m_valueColor = skin::theme::kText;
  COLORREF m_lineColor = RGB(0xD5, 0xE3, 0xF3);
  Gdiplus::Image* m_background = nullptr;
};
