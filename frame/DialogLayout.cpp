#include "frame/DialogLayout.h"

#include <algorithm>
#include <cstring>

#include "frame/suite/BaseLibrary.h"

namespace {

// The property keys live for as long as the library is loaded; a global atom
// is reference counted, so each load adds and each unload deletes its own.
struct LayoutAtoms {
  ATOM hdwp = ::GlobalAddAtomW(kLayoutPropHdwp);
  ATOM topLeft = ::GlobalAddAtomW(kLayoutPropTopLeft);
  ATOM bottomRight = ::GlobalAddAtomW(kLayoutPropBottomRight);
  ~LayoutAtoms() {
    for (ATOM atom : {hdwp, topLeft, bottomRight})
      if (atom) ::GlobalDeleteAtom(atom);
  }
};
const LayoutAtoms g_atoms;

// Dialog templates' point size meaning "the message box font"; no weight,
// italic flag or face name follow it.
constexpr WORD kMessageBoxFontSize = 0x7fff;

// Reads a dialog template front to back. Every read checks the remaining size;
// after the first failed read all reads fail and Ok() answers false.
class TemplateReader {
 public:
  TemplateReader(const void* data, size_t size)
      : m_data(static_cast<const BYTE*>(data)), m_size(data ? size : 0) {}

  bool Ok() const { return m_ok; }
  size_t Remaining() const { return m_size - m_pos; }

  template <class V>
  V Read() {
    V value{};
    if (m_ok && Remaining() >= sizeof(V)) {
      std::memcpy(&value, m_data + m_pos, sizeof(V));
      m_pos += sizeof(V);
    } else {
      m_ok = false;
    }
    return value;
  }
  void Skip(size_t bytes) {
    if (m_ok && Remaining() >= bytes) m_pos += bytes;
    else m_ok = false;
  }
  // Items start on a DWORD boundary of the template.
  void AlignDword() { Skip((4 - m_pos % 4) % 4); }

  // A zero-terminated wide string; `out` may be null.
  void String(std::wstring* out) {
    for (;;) {
      WORD c = Read<WORD>();
      if (!m_ok || c == 0) return;
      if (out) out->push_back(static_cast<wchar_t>(c));
    }
  }
  // A menu, class or title field: empty (0), an ordinal (0xffff, value) or a string.
  void StringOrOrdinal() {
    WORD first = Read<WORD>();
    if (!m_ok || first == 0) return;
    if (first == 0xffff) {
      Read<WORD>();
      return;
    }
    String(nullptr);
  }

 private:
  const BYTE* m_data;
  size_t m_size;
  size_t m_pos = 0;
  bool m_ok = true;
};

HANDLE PackPoint(LONG low, LONG high) {
  return reinterpret_cast<HANDLE>(static_cast<ULONG_PTR>(static_cast<DWORD>(MAKELONG(low, high))));
}

void RemoveItemProperties(HWND dialog, const CLayoutPane& pane) {
  for (const CLayoutItem& item : pane.GetItems()) {
    HWND control = ::GetDlgItem(dialog, static_cast<int>(item.id));
    if (!control) continue;
    ::RemovePropW(control, MAKEINTATOM(LayoutHdwpAtom()));
    ::RemovePropW(control, MAKEINTATOM(LayoutTopLeftAtom()));
    ::RemovePropW(control, MAKEINTATOM(LayoutBottomRightAtom()));
  }
  for (const auto& sub : pane.GetPanes()) RemoveItemProperties(dialog, *sub);
}

}  // namespace

ATOM LayoutHdwpAtom() { return g_atoms.hdwp; }
ATOM LayoutTopLeftAtom() { return g_atoms.topLeft; }
ATOM LayoutBottomRightAtom() { return g_atoms.bottomRight; }

// ---------------------------------------------------------------------------
// CDialogTemplate

bool CDialogTemplate::Load(HINSTANCE module, LPCWSTR name) {
  *this = CDialogTemplate{};
  HRSRC found = ::FindResourceW(module, name, RT_DIALOG);
  if (!found) return false;
  DWORD size = ::SizeofResource(module, found);
  HGLOBAL loaded = ::LoadResource(module, found);
  const void* data = loaded ? ::LockResource(loaded) : nullptr;
  return data && Parse(data, size);
}

bool CDialogTemplate::Parse(const void* data, size_t size) {
  *this = CDialogTemplate{};
  TemplateReader in(data, size);

  DWORD head = in.Read<DWORD>();
  bool extended = LOWORD(head) == 1 && HIWORD(head) == 0xffff;  // version 1, signature
  DWORD style = head;
  if (extended) {
    in.Read<DWORD>();  // help id
    in.Read<DWORD>();  // extended style
    style = in.Read<DWORD>();
  } else {
    in.Read<DWORD>();  // extended style
  }
  WORD count = in.Read<WORD>();
  in.Skip(2 * sizeof(short));  // x, y: the layout only needs the size
  short cx = in.Read<short>();
  short cy = in.Read<short>();
  in.StringOrOrdinal();  // menu
  in.StringOrOrdinal();  // window class
  in.String(nullptr);    // title

  WORD pointSize = 0, weight = 0;
  bool italic = false;
  std::wstring face;
  if (style & DS_SETFONT) {
    pointSize = in.Read<WORD>();
    if (pointSize != kMessageBoxFontSize) {
      if (extended) {
        weight = in.Read<WORD>();
        italic = in.Read<BYTE>() != 0;
        in.Read<BYTE>();  // character set
      }
      in.String(&face);
    }
  }

  std::vector<DialogTemplateItem> items;
  // The smallest item is 24 bytes: never trust the count for the reservation.
  items.reserve(std::min<size_t>(count, in.Remaining() / 24));
  for (WORD i = 0; i < count && in.Ok(); ++i) {
    in.AlignDword();
    DialogTemplateItem item;
    if (extended) in.Read<DWORD>();  // help id
    in.Skip(2 * sizeof(DWORD));      // style and extended style (in either order)
    item.x = in.Read<short>();
    item.y = in.Read<short>();
    item.cx = in.Read<short>();
    item.cy = in.Read<short>();
    item.id = extended ? in.Read<DWORD>() : in.Read<WORD>();
    in.StringOrOrdinal();  // class
    in.StringOrOrdinal();  // title
    in.Skip(in.Read<WORD>());  // creation data, preceded by its size in bytes
    if (in.Ok()) items.push_back(item);
  }
  if (!in.Ok()) return false;

  m_valid = true;
  m_extended = extended;
  m_style = style;
  m_pointSize = pointSize;
  m_weight = weight;
  m_italic = italic;
  if (face.size() >= LF_FACESIZE) face.resize(LF_FACESIZE - 1);  // as the dialog's font takes it
  m_faceName = std::move(face);
  m_size = SIZE{cx, cy};
  m_items = std::move(items);
  return true;
}

const DialogTemplateItem* CDialogTemplate::FindItem(UINT id) const {
  for (const DialogTemplateItem& item : m_items)
    if (item.id == id) return &item;
  return nullptr;
}

SIZE CDialogTemplate::GetBaseUnits() const {
  if (m_baseUnits.cx == 0 || m_baseUnits.cy == 0) m_baseUnits = MeasureBaseUnits();
  return m_baseUnits;
}

// The dialog manager's own measure: the template font's average width of the
// 52 letters and its height, so that the design rectangles match the places
// that the dialog manager gave the controls.
SIZE CDialogTemplate::MeasureBaseUnits() const {
  if (HasFont()) {
    HDC dc = ::GetDC(nullptr);
    LOGFONTW font{};
    bool described = true;
    if (m_pointSize == kMessageBoxFontSize) {
      NONCLIENTMETRICSW metrics{};
      metrics.cbSize = sizeof(metrics);
      described = ::SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0);
      font = metrics.lfMessageFont;
    } else {
      font.lfHeight = -::MulDiv(m_pointSize, ::GetDeviceCaps(dc, LOGPIXELSY), 72);
      font.lfWeight = m_weight;
      font.lfItalic = m_italic ? TRUE : FALSE;
      font.lfCharSet = DEFAULT_CHARSET;
      font.lfQuality = PROOF_QUALITY;
      m_faceName.copy(font.lfFaceName, LF_FACESIZE - 1);
    }
    HFONT handle = described ? ::CreateFontIndirectW(&font) : nullptr;
    SIZE units{};
    if (handle) {
      static const wchar_t kLetters[] = L"ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz";
      HGDIOBJ old = ::SelectObject(dc, handle);
      TEXTMETRICW metrics{};
      SIZE extent{};
      if (::GetTextMetricsW(dc, &metrics) && ::GetTextExtentPoint32W(dc, kLetters, 52, &extent))
        units = SIZE{(extent.cx / 26 + 1) / 2, metrics.tmHeight};
      ::SelectObject(dc, old);
      ::DeleteObject(handle);
    }
    ::ReleaseDC(nullptr, dc);
    if (units.cx > 0 && units.cy > 0) return units;
  }
  LONG system = ::GetDialogBaseUnits();
  return SIZE{LOWORD(system), HIWORD(system)};
}

RECT CDialogTemplate::DialogUnitsToPixels(int x, int y, int cx, int cy) const {
  SIZE units = GetBaseUnits();
  RECT rc;
  rc.left = ::MulDiv(x, units.cx, 4);
  rc.top = ::MulDiv(y, units.cy, 8);
  rc.right = rc.left + ::MulDiv(cx, units.cx, 4);
  rc.bottom = rc.top + ::MulDiv(cy, units.cy, 8);
  return rc;
}

// ---------------------------------------------------------------------------
// Rules

int CLayoutRuleRatio::GetEdge(HWND, UINT side, const RECT& rect) const {
  // float arithmetic, as the ratio is a float: 10 x 0.7f is 7, not 6.
  switch (side) {
    case kLayoutLeft:
    case kLayoutRight:
      return rect.left + static_cast<int>(static_cast<float>(rect.right - rect.left) * m_ratio);
    case kLayoutTop:
    case kLayoutBottom:
      return rect.top + static_cast<int>(static_cast<float>(rect.bottom - rect.top) * m_ratio);
    default:
      return 0;
  }
}

// ---------------------------------------------------------------------------
// CLayoutPane

CLayoutPane::CLayoutPane(const CDialogTemplate* dialogTemplate, const RECT& design)
    : m_template(dialogTemplate), m_design(design), m_rect(design) {
  m_items.reserve(10);
}

CLayoutPane* CLayoutPane::AddPane(std::unique_ptr<CLayoutRule> rule) {
  std::unique_ptr<CLayoutRule> rules[1] = {std::move(rule)};
  return MakePane(rules, 1);
}

CLayoutPane* CLayoutPane::AddPane(std::unique_ptr<CLayoutRule> left, std::unique_ptr<CLayoutRule> top,
                                  std::unique_ptr<CLayoutRule> right, std::unique_ptr<CLayoutRule> bottom) {
  std::unique_ptr<CLayoutRule> rules[4] = {std::move(left), std::move(top), std::move(right), std::move(bottom)};
  return MakePane(rules, 4);
}

CLayoutPane* CLayoutPane::AddPane(float left, float top, float right, float bottom) {
  return AddPane(std::make_unique<CLayoutRuleRatio>(left), std::make_unique<CLayoutRuleRatio>(top),
                 std::make_unique<CLayoutRuleRatio>(right), std::make_unique<CLayoutRuleRatio>(bottom));
}

CLayoutPane* CLayoutPane::MakePane(std::unique_ptr<CLayoutRule>* rules, int count) {
  for (int i = 0; i < count; ++i)
    if (!rules[i]) return nullptr;
  auto pane = std::make_unique<CLayoutPane>(m_template, RECT{});
  for (int i = 0; i < count; ++i) pane->m_rules[i] = std::move(rules[i]);
  pane->m_ruleCount = count;
  pane->m_design = pane->EdgesFrom(nullptr, m_design);
  pane->m_rect = pane->m_design;
  m_panes.push_back(std::move(pane));
  return m_panes.back().get();
}

RECT CLayoutPane::EdgesFrom(HWND dialog, const RECT& parent) const {
  if (m_ruleCount == 0) return parent;
  auto edge = [&](int index, UINT side) {
    const CLayoutRule& rule = *m_rules[m_ruleCount == 1 ? 0 : index];
    return dialog ? rule.GetEdge(dialog, side, parent) : rule.GetEdge(side, parent);
  };
  RECT rc;
  rc.bottom = edge(3, kLayoutBottom);
  rc.right = edge(2, kLayoutRight);
  rc.top = edge(1, kLayoutTop);
  rc.left = edge(0, kLayoutLeft);
  return rc;
}

bool CLayoutPane::AddItem(UINT id, UINT anchors, int x, int y, int width, int height) {
  if (!m_template || !m_template->FindItem(id)) return false;
  CLayoutItem item;
  item.id = id;
  item.anchors = anchors & kLayoutAll;
  item.margins = RECT{x - m_design.left, y - m_design.top, m_design.right - x - width, m_design.bottom - y - height};
  item.width = width;
  item.height = height;
  m_items.push_back(item);  // std::bad_alloc when memory runs out
  return true;
}

void CLayoutPane::AddItems(const Row* rows, size_t count, const char* owner) {
  for (size_t i = 0; i < count; ++i) {
    const Row& row = rows[i];
    if (!AddItem(row.id, row.anchors, row.x, row.y, row.width, row.height))
      LOG::E(PIM_ERROR_LOG, "%s layout: control %u is not in the dialog template", owner, row.id);
  }
}

size_t CLayoutPane::CountItems() const {
  size_t count = m_items.size();
  for (const auto& pane : m_panes) count += pane->CountItems();
  return count;
}

void CLayoutPane::Layout(HWND dialog, const RECT& parent, HDWP& batch) {
  m_rect = EdgesFrom(dialog, parent);
  if (m_layoutCount++ == 0) {
    // Whatever separates the first layout's rectangle from the design one
    // (the dialog manager rounding the template differently, a clamped
    // window) is kept, so that the first layout leaves every control where
    // the map puts it and later ones move them by the change of size only.
    m_offsets = RECT{m_design.left - m_rect.left, m_design.top - m_rect.top, m_rect.right - m_design.right,
                     m_rect.bottom - m_design.bottom};
  }
  for (const CLayoutItem& item : m_items) LayoutItem(dialog, item, batch);
  for (const auto& pane : m_panes) pane->Layout(dialog, m_rect, batch);
}

void CLayoutPane::LayoutItem(HWND dialog, const CLayoutItem& item, HDWP& batch) const {
  HWND control = ::GetDlgItem(dialog, static_cast<int>(item.id));
  if (!control) return;
  RECT rc;
  ::GetWindowRect(control, &rc);
  ::MapWindowPoints(HWND_DESKTOP, dialog, reinterpret_cast<POINT*>(&rc), 2);
  const int width = item.width ? item.width : rc.right - rc.left;
  const int height = item.height ? item.height : rc.bottom - rc.top;
  const UINT anchors = item.anchors;
  if (anchors & kLayoutLeft) {
    rc.left = m_rect.left + m_offsets.left + item.margins.left;
    if (!(anchors & kLayoutRight)) rc.right = rc.left + width;
  }
  if (anchors & kLayoutTop) {
    rc.top = m_rect.top + m_offsets.top + item.margins.top;
    if (!(anchors & kLayoutBottom)) rc.bottom = rc.top + height;
  }
  if (anchors & kLayoutRight) {
    rc.right = m_rect.right - m_offsets.right - item.margins.right;
    if (!(anchors & kLayoutLeft)) rc.left = rc.right - width;
  }
  if (anchors & kLayoutBottom) {
    rc.bottom = m_rect.bottom - m_offsets.bottom - item.margins.bottom;
    if (!(anchors & kLayoutTop)) rc.top = rc.bottom - height;
  }
  ::SetPropW(control, MAKEINTATOM(LayoutHdwpAtom()), batch);
  ::SetPropW(control, MAKEINTATOM(LayoutTopLeftAtom()), PackPoint(rc.left, rc.top));
  ::SetPropW(control, MAKEINTATOM(LayoutBottomRightAtom()), PackPoint(rc.right, rc.bottom));
  const UINT flags = SWP_NOZORDER | SWP_NOACTIVATE;
  if (batch)
    batch = ::DeferWindowPos(batch, control, nullptr, rc.left, rc.top, rc.right - rc.left, rc.bottom - rc.top, flags);
  else
    ::SetWindowPos(control, nullptr, rc.left, rc.top, rc.right - rc.left, rc.bottom - rc.top, flags);
}

// ---------------------------------------------------------------------------
// CDialogLayoutBase

bool CDialogLayoutBase::InitLayout(HWND dialog, HINSTANCE module, LPCWSTR templateName) {
  m_root.reset();
  m_dialog = dialog;
  if (!m_template.Load(module, templateName)) {
    if (IS_INTRESOURCE(templateName))
      LOG::E(PIM_ERROR_LOG, "CDialogLayout: dialog template %u is missing or damaged, the dialog is not laid out",
             static_cast<unsigned>(reinterpret_cast<ULONG_PTR>(templateName)));
    else
      LOG::E(PIM_ERROR_LOG, "CDialogLayout: a dialog template is missing or damaged, the dialog is not laid out");
    return false;
  }
  return MakeRootPane(dialog);
}

bool CDialogLayoutBase::InitLayout(HWND dialog, const void* templateData, size_t size) {
  m_root.reset();
  m_dialog = dialog;
  if (!m_template.Parse(templateData, size)) {
    LOG::E(PIM_ERROR_LOG, "CDialogLayout: the dialog template is damaged, the dialog is not laid out");
    return false;
  }
  return MakeRootPane(dialog);
}

bool CDialogLayoutBase::MakeRootPane(HWND dialog) {
  if (!dialog) return false;
  m_root = std::make_unique<CLayoutPane>(&m_template, m_template.GetClientRectPixels());
  return true;
}

void CDialogLayoutBase::CompleteLayoutInit() {
  if (!m_root) return;
  CreateSizeGrip();
  RECT client{};
  ::GetClientRect(m_dialog, &client);
  LayoutControls(client);
}

void CDialogLayoutBase::CreateSizeGrip() {
  if (!m_sizeGrip || ::GetDlgItem(m_dialog, kLayoutSizeGripId)) return;
  RECT client{};
  ::GetClientRect(m_dialog, &client);
  const int width = ::GetSystemMetrics(SM_CXVSCROLL);
  const int height = ::GetSystemMetrics(SM_CYHSCROLL);
  HWND grip = ::CreateWindowExW(
      0, L"SCROLLBAR", nullptr, WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | SBS_SIZEBOX | SBS_SIZEBOXBOTTOMRIGHTALIGN,
      client.right - width, client.bottom - height, width, height, m_dialog,
      reinterpret_cast<HMENU>(static_cast<INT_PTR>(kLayoutSizeGripId)),
      reinterpret_cast<HINSTANCE>(::GetWindowLongPtrW(m_dialog, GWLP_HINSTANCE)), nullptr);
  // New children go to the bottom of the stacking order; the grip must not
  // be hidden under a control that reaches into the corner.
  if (grip) ::SetWindowPos(grip, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

void CDialogLayoutBase::LayoutControls(const RECT& client) {
  if (!m_root || !m_dialog) return;
  HWND grip = ::GetDlgItem(m_dialog, kLayoutSizeGripId);
  const int moves = static_cast<int>(m_root->CountItems()) + (grip ? 1 : 0);
  const ATOM batchKey = LayoutHdwpAtom();

  HDWP batch = ::BeginDeferWindowPos(moves);
  const bool batched = batch != nullptr;
  ::SetPropW(m_dialog, MAKEINTATOM(batchKey), batch);
  m_root->Layout(m_dialog, client, batch);
  if (grip) {
    RECT rc;
    ::GetWindowRect(grip, &rc);
    const int x = client.right - (rc.right - rc.left), y = client.bottom - (rc.bottom - rc.top);
    const UINT flags = SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE;
    if (batch) batch = ::DeferWindowPos(batch, grip, nullptr, x, y, 0, 0, flags);
    else ::SetWindowPos(grip, nullptr, x, y, 0, 0, flags);
  }
  if (batch) {
    ::SetPropW(m_dialog, MAKEINTATOM(batchKey), batch);
    ::EndDeferWindowPos(batch);
  } else if (batched) {
    // A failed DeferWindowPos drops the whole batch: move everything directly.
    LOG::E(PIM_ERROR_LOG, "CDialogLayout: the deferred batch failed (error %lu), controls moved one by one",
           ::GetLastError());
    m_root->Layout(m_dialog, client, batch);
  }
  // The handle is dead once the batch has ended.
  ::RemovePropW(m_dialog, MAKEINTATOM(batchKey));

  // Group boxes draw their frame from their size; a frame change makes them
  // redraw it where they now are.
  for (HWND child = ::GetWindow(m_dialog, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT)) {
    wchar_t className[16] = {};
    if (::GetClassNameW(child, className, 16) && ::lstrcmpiW(className, L"Button") == 0 &&
        (::GetWindowLongPtrW(child, GWL_STYLE) & BS_TYPEMASK) == BS_GROUPBOX)
      ::SetWindowPos(child, nullptr, 0, 0, 0, 0,
                     SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  }
}

void CDialogLayoutBase::ClearLayoutProperties() {
  if (!m_dialog) return;
  if (m_root) RemoveItemProperties(m_dialog, *m_root);
  ::RemovePropW(m_dialog, MAKEINTATOM(LayoutHdwpAtom()));
}
