// Dialog layout: reading dialog templates, dialog units, ratio rules, panes
// and anchors, the deferred batch and its window properties, the size grip.
#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <map>
#include <vector>

#include "LayoutTestIds.h"
#include "LayoutTestSupport.h"
#include "TestSupport.h"
#include "frame/DialogLayout.h"
#include "frame/DialogTemplates.h"
#include "standins/base/LogControl.h"
#include "framework/DialogImpl.h"

namespace {

using testing_support::CreateTestParent;

constexpr UINT kTestIds[] = {IDC_FIXED, IDC_RIGHT, IDC_WIDE, IDC_FILL, IDC_BOTTOM, IDC_CORNER, IDC_FREE, IDC_GROUP};

RECT RectInParent(HWND window) {
  RECT rc;
  ::GetWindowRect(window, &rc);
  ::MapWindowPoints(HWND_DESKTOP, ::GetParent(window), reinterpret_cast<POINT*>(&rc), 2);
  return rc;
}
RECT Moved(RECT rc, int left, int top, int right, int bottom) {
  return RECT{rc.left + left, rc.top + top, rc.right + right, rc.bottom + bottom};
}

INT_PTR CALLBACK IdleDialogProc(HWND, UINT, WPARAM, LPARAM) { return FALSE; }

std::vector<BYTE> TemplateBytes(UINT id) {
  HMODULE module = ::GetModuleHandleW(nullptr);
  HRSRC found = ::FindResourceW(module, MAKEINTRESOURCEW(id), RT_DIALOG);
  auto* data = static_cast<const BYTE*>(::LockResource(::LoadResource(module, found)));
  return std::vector<BYTE>(data, data + ::SizeofResource(module, found));
}

// A copy of some bytes that ends where an inaccessible page begins: a read
// past the end faults instead of going unnoticed.
class GuardedBytes {
 public:
  GuardedBytes(const BYTE* data, size_t size) {
    const size_t page = 4096, pages = (size + page - 1) / page + 1;
    m_base = static_cast<BYTE*>(::VirtualAlloc(nullptr, pages * page, MEM_RESERVE | MEM_COMMIT, PAGE_READWRITE));
    DWORD old = 0;
    ::VirtualProtect(m_base + (pages - 1) * page, page, PAGE_NOACCESS, &old);
    m_data = m_base + (pages - 1) * page - size;
    if (size) std::memcpy(m_data, data, size);
  }
  ~GuardedBytes() { ::VirtualFree(m_base, 0, MEM_RELEASE); }
  GuardedBytes(const GuardedBytes&) = delete;
  GuardedBytes& operator=(const GuardedBytes&) = delete;
  const BYTE* data() const { return m_data; }

 private:
  BYTE* m_base = nullptr;
  BYTE* m_data = nullptr;
};

// What a resource compiler does not write: creation data after an item, an
// ordinal title, a class by name, the message box font (point size 0x7fff,
// followed by no face name) and a face name longer than a font takes.
struct WrittenItem {
  UINT id;
  short x, y, cx, cy;
  WORD creationDataBytes;
};
const std::vector<WrittenItem> kWrittenItems = {
    {0x101, 1, 2, 30, 14, 0}, {0x102, -5, 300, 7, 9, 6}, {0xe801, 40, 50, 60, 12, 4}};

std::vector<BYTE> WriteTemplate(bool extended, WORD pointSize, const std::wstring& face) {
  std::vector<WORD> w;
  auto dword = [&](DWORD v) { w.insert(w.end(), {LOWORD(v), HIWORD(v)}); };
  auto text = [&](const std::wstring& s) {
    w.insert(w.end(), s.begin(), s.end());
    w.push_back(0);
  };
  if (extended) w.insert(w.end(), {1, 0xffff, 0, 0, 0, 0});  // version, signature, help id, extended style
  dword(DS_SETFONT | DS_CONTROL | WS_CHILD);
  if (!extended) dword(0);
  w.insert(w.end(), {static_cast<WORD>(kWrittenItems.size()), 0, 0, 150, 80, 0, 0});  // count, x y cx cy, menu, class
  text(L"Caption");
  w.push_back(pointSize);
  if (pointSize != 0x7fff) {
    if (extended) w.insert(w.end(), {FW_BOLD, 0x0101});  // italic, character set 1
    text(face);
  }
  for (size_t i = 0; i < kWrittenItems.size(); ++i) {
    const WrittenItem& item = kWrittenItems[i];
    if (w.size() % 2) w.push_back(0);  // DWORD boundary
    if (extended) dword(0);            // help id
    dword(extended ? 0 : WS_CHILD | WS_VISIBLE);
    dword(extended ? WS_CHILD | WS_VISIBLE : 0);
    w.insert(w.end(), {static_cast<WORD>(item.x), static_cast<WORD>(item.y), static_cast<WORD>(item.cx),
                       static_cast<WORD>(item.cy)});
    if (extended) dword(item.id);
    else w.push_back(static_cast<WORD>(item.id));
    if (i == 0) {
      w.insert(w.end(), {0xffff, 0x0080});  // button by ordinal, text title
      text(L"OK");
    } else if (i == 1) {
      text(L"Static");                 // class by name, ordinal title
      w.insert(w.end(), {0xffff, 1});
    } else {
      w.insert(w.end(), {0xffff, 0x0081, 0});  // edit by ordinal, no title
    }
    w.push_back(item.creationDataBytes);
    w.insert(w.end(), item.creationDataBytes / 2, 0xa5a5);
  }
  auto* bytes = reinterpret_cast<const BYTE*>(w.data());
  return std::vector<BYTE>(bytes, bytes + w.size() * sizeof(WORD));
}

// ---------------------------------------------------------------------------
// Rules and templates

TEST(LayoutRule, RatioEdgesAreTruncatedTowardZero) {
  EXPECT_EQ(CLayoutRuleRatio(0.5f).GetEdge(kLayoutRight, RECT{0, 0, 301, 0}), 150);  // 150.5, not rounded up
  EXPECT_EQ(CLayoutRuleRatio(0.5f).GetEdge(kLayoutLeft, RECT{0, 0, 301, 0}), 150);
  EXPECT_EQ(CLayoutRuleRatio(0.5f).GetEdge(kLayoutBottom, RECT{0, 10, 0, 311}), 160);
  EXPECT_EQ(CLayoutRuleRatio(0.5f).GetEdge(kLayoutRight, RECT{0, 0, -301, 0}), -150);  // toward zero, not down
  EXPECT_EQ(CLayoutRuleRatio(0.7f).GetEdge(kLayoutRight, RECT{0, 0, 10, 0}), 7);  // a double product gives 6.99...
  EXPECT_EQ(CLayoutRuleRatio(1.0f).GetEdge(nullptr, kLayoutRight, RECT{20, 0, 320, 0}), 320);
}

TEST(DialogTemplate, PlainAndExtendedTemplatesGiveTheSameItems) {
  CDialogTemplate plain, extended;
  ASSERT_TRUE(plain.Load(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDD_LAYOUT_PLAIN)));
  ASSERT_TRUE(extended.Load(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDD_LAYOUT_EX)));
  EXPECT_FALSE(plain.IsExtended());
  EXPECT_TRUE(extended.IsExtended());
  auto summary = [](const CDialogTemplate& t) {
    std::vector<int> values{t.HasFont(), t.GetPointSize(), t.GetSize().cx, t.GetSize().cy};
    for (const DialogTemplateItem& item : t.GetItems())
      values.insert(values.end(), {static_cast<int>(item.id), item.x, item.y, item.cx, item.cy});
    return values;
  };
  EXPECT_EQ(summary(plain), summary(extended));
  ASSERT_EQ(extended.GetItems().size(), std::size(kTestIds));
  EXPECT_EQ(extended.GetItems().back().id, static_cast<UINT>(IDC_GROUP));
  EXPECT_EQ(summary(extended)[1], 11);
  EXPECT_EQ(plain.GetFaceName(), L"Tahoma");
  EXPECT_EQ(extended.GetFaceName(), L"Tahoma");
  EXPECT_EQ(extended.GetWeight(), 700);
  EXPECT_TRUE(extended.IsItalic());
  const DialogTemplateItem* right = extended.FindItem(IDC_RIGHT);
  ASSERT_TRUE(right);
  EXPECT_EQ((std::vector<short>{right->x, right->y, right->cx, right->cy}), (std::vector<short>{150, 4, 46, 14}));
}

// The design rectangles must be exactly where the dialog manager puts the
// controls: with the template's font, with the system's when the template
// has none, and for templates with creation data and odd fonts.
TEST(DialogTemplate, DialogUnitsConvertAsTheDialogManagerPlacesControls) {
  HWND parent = CreateTestParent(900, 700);
  const LONG system = ::GetDialogBaseUnits();
  auto compare = [&](const CDialogTemplate& t, HWND dialog) {
    ASSERT_TRUE(dialog);
    EXPECT_EQ(t.GetClientRectPixels(), wf::CWindow(dialog).GetClientRect());
    for (const DialogTemplateItem& item : t.GetItems())
      EXPECT_EQ(t.DialogUnitsToPixels(item.x, item.y, item.cx, item.cy),
                RectInParent(::GetDlgItem(dialog, static_cast<int>(item.id))))
          << item.id;
    ::DestroyWindow(dialog);
  };
  for (UINT id : {IDD_LAYOUT_EX, IDD_LAYOUT_PLAIN, IDD_LAYOUT_NOFONT, IDD_LAYOUT_NOFONT_EX}) {
    SCOPED_TRACE(id);
    CDialogTemplate t;
    ASSERT_TRUE(t.Load(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(id)));
    const bool fontless = id == IDD_LAYOUT_NOFONT || id == IDD_LAYOUT_NOFONT_EX;
    EXPECT_EQ(t.HasFont(), !fontless);
    // 11-point Tahoma is taller than the system's units, so mixing them up shows.
    EXPECT_EQ(t.GetBaseUnits().cy == HIWORD(system), fontless);
    if (fontless) {
      EXPECT_EQ(t.GetBaseUnits().cx, LOWORD(system));
    }
    compare(t, ::CreateDialogParamW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(id), parent, IdleDialogProc, 0));
  }
  const std::wstring longFace = L"ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmn";  // a font keeps 31 characters
  for (bool extended : {false, true}) {
    for (WORD pointSize : {WORD{9}, WORD{0x7fff}}) {
      SCOPED_TRACE(testing::Message() << "extended " << extended << ", point size " << pointSize);
      std::vector<BYTE> bytes = WriteTemplate(extended, pointSize, longFace);
      CDialogTemplate t;
      ASSERT_TRUE(t.Parse(bytes.data(), bytes.size()));
      EXPECT_EQ(t.GetFaceName(), pointSize == 0x7fff ? L"" : longFace.substr(0, 31));
      EXPECT_EQ(t.IsItalic(), extended && pointSize != 0x7fff);
      ASSERT_EQ(t.GetItems().size(), kWrittenItems.size());
      for (size_t i = 0; i < kWrittenItems.size(); ++i) EXPECT_EQ(t.GetItems()[i].id, kWrittenItems[i].id);
      compare(t, ::CreateDialogIndirectParamW(::GetModuleHandleW(nullptr),
                                              reinterpret_cast<LPCDLGTEMPLATEW>(bytes.data()), parent,
                                              IdleDialogProc, 0));
    }
  }
  ::DestroyWindow(parent);
}

// Every proper prefix of a template is refused without reading past its end;
// so is a count of more items than there are. A refused parse keeps nothing.
TEST(DialogTemplate, DamagedTemplatesAreRefusedWithoutReadingPastTheEnd) {
  for (const std::vector<BYTE>& bytes : {TemplateBytes(IDD_LAYOUT_EX), TemplateBytes(IDD_LAYOUT_PLAIN),
                                         WriteTemplate(true, 9, L"Tahoma"), WriteTemplate(false, 9, L"Tahoma")}) {
    for (size_t size = 0; size < bytes.size(); ++size) {
      GuardedBytes copy(bytes.data(), size);
      CDialogTemplate t;
      EXPECT_FALSE(t.Parse(copy.data(), size)) << size << " of " << bytes.size() << " bytes";
      EXPECT_TRUE(t.GetItems().empty());
    }
    GuardedBytes whole(bytes.data(), bytes.size());
    EXPECT_TRUE(CDialogTemplate().Parse(whole.data(), bytes.size()));
  }
  std::vector<BYTE> bytes = TemplateBytes(IDD_LAYOUT_PLAIN);
  ++bytes[8];  // the item count follows the style and the extended style
  GuardedBytes copy(bytes.data(), bytes.size());
  EXPECT_FALSE(CDialogTemplate().Parse(copy.data(), bytes.size()));
}

// ---------------------------------------------------------------------------
// Laying out a dialog

class TestLayoutDialog : public wf::CDialogImpl<TestLayoutDialog>, public CDialogLayout<TestLayoutDialog> {
 public:
  enum { IDD = IDD_LAYOUT_EX };
  explicit TestLayoutDialog(std::function<void(TestLayoutDialog&)> define, bool sizeGrip = false)
      : CDialogLayout<TestLayoutDialog>(sizeGrip), m_define(std::move(define)) {}
  bool initialised = false;

  BEGIN_MSG_MAP(TestLayoutDialog)
    CHAIN_MSG_MAP(CDialogLayout<TestLayoutDialog>)
    MESSAGE_HANDLER(WM_INITDIALOG, OnInitDialog)
  END_MSG_MAP()

  void DefineLayout() { m_define(*this); }
  // A control's design pixels, as a map gives them.
  RECT Design(UINT id) const {
    const DialogTemplateItem* item = GetLayoutTemplate().FindItem(id);
    return GetLayoutTemplate().DialogUnitsToPixels(item->x, item->y, item->cx, item->cy);
  }
  bool Add(CLayoutPane* pane, UINT id, UINT anchors) {
    RECT rc = Design(id);
    return pane->AddItem(id, anchors, rc.left, rc.top, rc.right - rc.left, rc.bottom - rc.top);
  }
  RECT ItemRect(UINT id) const { return RectInParent(GetDlgItem(static_cast<int>(id))); }
  std::map<UINT, RECT> ItemRects() const {
    std::map<UINT, RECT> rects;
    for (UINT id : kTestIds) rects[id] = ItemRect(id);
    return rects;
  }
  void Resize(int width, int height) {
    ::SetWindowPos(m_hWnd, nullptr, 0, 0, width, height, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  }

 private:
  LRESULT OnInitDialog(UINT, WPARAM, LPARAM, BOOL&) {
    initialised = true;
    return TRUE;
  }
  std::function<void(TestLayoutDialog&)> m_define;
};

// Every control but the free one and the group box, anchored as named.
void DefineAnchoredControls(TestLayoutDialog& d) {
  CLayoutPane* root = d.GetRootPane();
  EXPECT_TRUE(d.Add(root, IDC_RIGHT, kLayoutTop | kLayoutRight));
  EXPECT_TRUE(d.Add(root, IDC_FIXED, kLayoutLeft | kLayoutTop));
  EXPECT_TRUE(d.Add(root, IDC_WIDE, kLayoutLeft | kLayoutTop | kLayoutRight));
  EXPECT_TRUE(d.Add(root, IDC_FILL, kLayoutAll));
  EXPECT_TRUE(d.Add(root, IDC_BOTTOM, kLayoutLeft | kLayoutBottom));
  EXPECT_TRUE(d.Add(root, IDC_CORNER, kLayoutRight | kLayoutBottom));
  EXPECT_FALSE(root->AddItem(4242, kLayoutAll, 0, 0, 10, 10));  // not in the template
}

class DialogLayoutTest : public ::testing::Test {
 protected:
  void SetUp() override {
    LOG::SetLogRoot(logs.path());
    parent = CreateTestParent(1000, 800);
  }
  void TearDown() override {
    ::DestroyWindow(parent);
    SetDialogTemplateInstance(nullptr);
    LOG::SetLogRoot(L"");
  }
  testing_support::TempFolder logs;
  HWND parent = nullptr;
};

TEST_F(DialogLayoutTest, GrowingMovesAndStretchesControlsByTheirAnchors) {
  TestLayoutDialog dialog(DefineAnchoredControls);
  ASSERT_TRUE(dialog.Create(parent, 0, ::GetModuleHandleW(nullptr)));
  EXPECT_TRUE(dialog.initialised);  // the dialog's own WM_INITDIALOG ran as well
  const RECT client = dialog.GetClientRect();
  const std::map<UINT, RECT> before = dialog.ItemRects();
  for (UINT id : {IDC_FIXED, IDC_RIGHT, IDC_WIDE, IDC_FILL, IDC_BOTTOM, IDC_CORNER})
    EXPECT_EQ(before.at(id), dialog.Design(id)) << id;  // where the map puts them

  dialog.Resize(client.right + 100, client.bottom + 50);
  std::map<UINT, RECT> after = dialog.ItemRects();
  EXPECT_EQ(after[IDC_FIXED], before.at(IDC_FIXED));
  EXPECT_EQ(after[IDC_RIGHT], Moved(before.at(IDC_RIGHT), 100, 0, 100, 0));
  EXPECT_EQ(after[IDC_WIDE], Moved(before.at(IDC_WIDE), 0, 0, 100, 0));
  EXPECT_EQ(after[IDC_FILL], Moved(before.at(IDC_FILL), 0, 0, 100, 50));
  EXPECT_EQ(after[IDC_BOTTOM], Moved(before.at(IDC_BOTTOM), 0, 50, 0, 50));
  EXPECT_EQ(after[IDC_CORNER], Moved(before.at(IDC_CORNER), 100, 50, 100, 50));
  EXPECT_EQ(after[IDC_FREE], before.at(IDC_FREE));  // not in the map

  // Each layout starts from the size, not from the previous layout.
  dialog.Resize(client.right + 37, client.bottom + 11);
  dialog.Resize(client.right - 30, client.bottom - 20);
  EXPECT_EQ(dialog.ItemRect(IDC_CORNER), Moved(before.at(IDC_CORNER), -30, -20, -30, -20));
  dialog.Resize(client.right, client.bottom);
  EXPECT_EQ(dialog.ItemRects(), before);
  dialog.DestroyWindow();
}

// Controls follow the edges of their pane: in a half-width pane a control
// stretches or moves by half the growth.
TEST_F(DialogLayoutTest, ControlsFollowTheEdgesOfTheirPane) {
  CLayoutPane *left = nullptr, *right = nullptr, *lowerRight = nullptr;
  TestLayoutDialog dialog([&](TestLayoutDialog& d) {
    left = d.GetRootPane()->AddPane(0, 0, 0.5f, 1);
    right = d.GetRootPane()->AddPane(0.5f, 0, 1, 1);
    lowerRight = right->AddPane(std::make_unique<CLayoutRuleRatio>(0.5f));  // one rule, four edges
    EXPECT_TRUE(d.Add(left, IDC_WIDE, kLayoutLeft | kLayoutTop | kLayoutRight));
    EXPECT_TRUE(d.Add(right, IDC_RIGHT, kLayoutLeft | kLayoutTop));
    EXPECT_TRUE(d.Add(lowerRight, IDC_CORNER, kLayoutLeft | kLayoutTop));
  });
  ASSERT_TRUE(dialog.Create(parent, 0, ::GetModuleHandleW(nullptr)));
  const RECT design = dialog.GetLayoutTemplate().GetClientRectPixels();
  const int half = design.right / 2, threeQuarters = half + (design.right - half) / 2;
  EXPECT_EQ(left->GetDesignRect(), (RECT{0, 0, half, design.bottom}));
  EXPECT_EQ(lowerRight->GetDesignRect(), (RECT{threeQuarters, design.bottom / 2, threeQuarters, design.bottom / 2}));
  const std::map<UINT, RECT> before = dialog.ItemRects();
  EXPECT_EQ(before.at(IDC_CORNER), dialog.Design(IDC_CORNER));

  dialog.Resize(design.right + 100, design.bottom + 60);
  EXPECT_EQ(dialog.ItemRect(IDC_WIDE), Moved(before.at(IDC_WIDE), 0, 0, 50, 0));
  EXPECT_EQ(dialog.ItemRect(IDC_RIGHT), Moved(before.at(IDC_RIGHT), 50, 0, 50, 0));
  EXPECT_EQ(dialog.ItemRect(IDC_CORNER), Moved(before.at(IDC_CORNER), 75, 30, 75, 30));
  EXPECT_EQ(right->GetRect(), (RECT{(design.right + 100) / 2, 0, design.right + 100, design.bottom + 60}));
  dialog.DestroyWindow();
}

// What a control sees while the layout moves it.
struct MoveWatch {
  HWND dialog = nullptr, later = nullptr;  // `later`: a control laid out after the watched one
  int moves = 0, frameChanges = 0;
  UINT flags = 0;
  HANDLE dialogBatch = nullptr, ownBatch = nullptr, laterTopLeft = nullptr;

  static LRESULT CALLBACK Proc(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR data) {
    auto* self = reinterpret_cast<MoveWatch*>(data);
    if (msg == WM_WINDOWPOSCHANGED && !(reinterpret_cast<WINDOWPOS*>(lParam)->flags & SWP_NOMOVE)) {
      ++self->moves;
      self->flags = reinterpret_cast<WINDOWPOS*>(lParam)->flags;
      self->dialogBatch = ::GetPropW(self->dialog, kLayoutPropHdwp);
      self->ownBatch = ::GetPropW(hWnd, kLayoutPropHdwp);
      self->laterTopLeft = ::GetPropW(self->later, kLayoutPropTopLeft);
    }
    if (msg == WM_NCCALCSIZE) ++self->frameChanges;
    return ::DefSubclassProc(hWnd, msg, wParam, lParam);
  }
};

TEST_F(DialogLayoutTest, ControlsMoveInOneBatchAndCarryTheLayoutProperties) {
  TestLayoutDialog dialog(DefineAnchoredControls);
  ASSERT_TRUE(dialog.Create(parent, 0, ::GetModuleHandleW(nullptr)));
  MoveWatch first{dialog, dialog.GetDlgItem(IDC_CORNER)}, group{dialog, nullptr};
  ::SetWindowSubclass(dialog.GetDlgItem(IDC_RIGHT), &MoveWatch::Proc, 1, reinterpret_cast<DWORD_PTR>(&first));
  ::SetWindowSubclass(dialog.GetDlgItem(IDC_GROUP), &MoveWatch::Proc, 1, reinterpret_cast<DWORD_PTR>(&group));
  const RECT client = dialog.GetClientRect();
  dialog.Resize(client.right + 100, client.bottom + 50);

  // The map's first control moves only when every place is known (the last
  // control's property already holds its new place), inside the batch that
  // the dialog's property names, without stacking or activation.
  ASSERT_EQ(first.moves, 1);
  EXPECT_EQ(first.flags & (SWP_NOZORDER | SWP_NOACTIVATE), static_cast<UINT>(SWP_NOZORDER | SWP_NOACTIVATE));
  EXPECT_NE(first.dialogBatch, nullptr);
  EXPECT_EQ(first.ownBatch, first.dialogBatch);
  const RECT corner = dialog.ItemRect(IDC_CORNER);
  EXPECT_EQ(first.laterTopLeft, PackedPoint(corner.left, corner.top));
  EXPECT_EQ(::GetPropW(dialog, kLayoutPropHdwp), nullptr);  // the dialog's only while the batch runs

  for (UINT id : {IDC_FIXED, IDC_RIGHT, IDC_WIDE, IDC_FILL, IDC_BOTTOM, IDC_CORNER}) {
    HWND control = dialog.GetDlgItem(static_cast<int>(id));
    const RECT rc = dialog.ItemRect(id);
    EXPECT_EQ(::GetPropW(control, MAKEINTATOM(::GlobalFindAtomW(L"DialogLayout_TopLeft"))),
              PackedPoint(rc.left, rc.top)) << id;
    EXPECT_EQ(::GetPropW(control, kLayoutPropBottomRight), PackedPoint(rc.right, rc.bottom)) << id;
    EXPECT_EQ(::GetPropW(control, kLayoutPropHdwp), first.dialogBatch) << id;
  }
  EXPECT_EQ(::GetPropW(dialog.GetDlgItem(IDC_FREE), kLayoutPropTopLeft), nullptr);

  // The group box is not in the map, yet its frame was refreshed.
  EXPECT_EQ(group.moves, 0);
  EXPECT_GE(group.frameChanges, 1);
  ::RemoveWindowSubclass(dialog.GetDlgItem(IDC_RIGHT), &MoveWatch::Proc, 1);
  ::RemoveWindowSubclass(dialog.GetDlgItem(IDC_GROUP), &MoveWatch::Proc, 1);
  dialog.DestroyWindow();
}

TEST_F(DialogLayoutTest, ASizeGripIsMadeWhenAskedForAndStaysInTheCorner) {
  TestLayoutDialog plain(DefineAnchoredControls);
  ASSERT_TRUE(plain.Create(parent, 0, ::GetModuleHandleW(nullptr)));
  EXPECT_EQ(plain.GetDlgItem(kLayoutSizeGripId), nullptr);
  plain.DestroyWindow();

  TestLayoutDialog dialog(DefineAnchoredControls, true);
  ASSERT_TRUE(dialog.Create(parent, 0, ::GetModuleHandleW(nullptr)));
  wf::CWindow grip = dialog.GetDlgItem(kLayoutSizeGripId);
  ASSERT_TRUE(grip.m_hWnd);
  EXPECT_EQ(grip.GetClassName(), L"ScrollBar");
  EXPECT_EQ(grip.GetStyle() & (SBS_SIZEBOX | WS_VISIBLE | WS_CHILD), static_cast<DWORD>(SBS_SIZEBOX | WS_VISIBLE | WS_CHILD));
  const RECT client = dialog.GetClientRect();
  const RECT rc = RectInParent(grip);
  EXPECT_EQ(rc.right, client.right);
  EXPECT_EQ(rc.bottom, client.bottom);
  dialog.Resize(client.right + 100, client.bottom + 50);
  EXPECT_EQ(RectInParent(grip), Moved(rc, 100, 50, 100, 50));
  dialog.DestroyWindow();
}

// A template that cannot be read lays nothing out, says so in the error log,
// and does not crash.
TEST_F(DialogLayoutTest, ADialogWithoutAReadableTemplateIsNotLaidOut) {
  SetDialogTemplateInstance(::GetModuleHandleW(L"kernel32.dll"));  // lacks the dialog's template
  bool defined = false;
  TestLayoutDialog missing([&](TestLayoutDialog&) { defined = true; });
  ASSERT_TRUE(missing.Create(parent, 0, ::GetModuleHandleW(nullptr)));
  EXPECT_TRUE(missing.initialised);
  EXPECT_FALSE(defined);
  EXPECT_EQ(missing.GetRootPane(), nullptr);
  const std::map<UINT, RECT> before = missing.ItemRects();
  missing.Resize(700, 500);
  EXPECT_EQ(missing.ItemRects(), before);
  EXPECT_NE(testing_support::ReadFile(logs.File(L"log\\PimPluginErr.log")).find("dialog template 301 is missing"),
            std::string::npos);

  // A truncated template given to the layout of an existing dialog.
  std::vector<BYTE> bytes = TemplateBytes(IDD_LAYOUT_EX);
  GuardedBytes truncated(bytes.data(), bytes.size() / 2);
  CDialogLayoutBase layout;
  EXPECT_FALSE(layout.InitLayout(missing, truncated.data(), bytes.size() / 2));
  EXPECT_EQ(layout.GetRootPane(), nullptr);
  layout.CompleteLayoutInit();
  layout.LayoutControls(RECT{0, 0, 800, 600});
  EXPECT_EQ(missing.ItemRects(), before);
  EXPECT_EQ(::GetPropW(missing.GetDlgItem(IDC_RIGHT), kLayoutPropTopLeft), nullptr);
  missing.DestroyWindow();
}

}  // namespace
