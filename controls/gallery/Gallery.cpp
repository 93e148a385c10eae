// ControlGallery: every skinned control in every state in one skinned window,
// to judge the skin by eye.
//
//   ControlGallery.exe [--shot <file.png>] [--sheet <file.png>]
//
// With --shot the window is saved as a PNG and the program exits; with
// --sheet every image of the skin is drawn on one PNG (SkinSheet.h) and the
// program exits.
#include <windows.h>
#include <commctrl.h>
#include <objbase.h>
#include <shellapi.h>

#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "GalleryIds.h"
#include "SkinSheet.h"
#include "controls/QsButton.h"
#include "controls/QsControls.h"
#include "controls/QsEdit.h"
#include "controls/QsTreeView.h"
#include "controls/ObjectView.h"
#include "controls/SkinWindow.h"
#include "controls/SuperGrid.h"
#include "frame/suite/ResourceLibrary.h"
#include "framework/DialogImpl.h"
#include "framework/GdiPlus.h"
#include "framework/Screenshot.h"
#include "framework/Text.h"

namespace {

const wchar_t* const kFramePieces[skin::kFramePieces] = {
    L"comm_frame_topleft.png",    L"comm_frame_top.png",    L"comm_frame_topright.png",
    L"comm_frame_left.png",       L"comm_frame_center.png", L"comm_frame_right.png",
    L"comm_frame_bottomleft.png", L"comm_frame_bottom.png", L"comm_frame_bottomright.png"};

// A toolbar button: four frames of 94 x 31 (normal, hover, pressed, disabled),
// a glyph at the left of each.
void SkinToolButton(CQsButton& button, const wchar_t* image) {
  button.SetStateImageFromKey(qs::kButtonNormal, image, 0, 0, 94, 31);
  button.SetStateImageFromKey(qs::kButtonHover, image, 94, 0, 94, 31);
  button.SetStateImageFromKey(qs::kButtonFocused, image, 94, 0, 94, 31);
  button.SetStateImageFromKey(qs::kButtonPressed, image, 188, 0, 94, 31);
  button.SetStateImageFromKey(qs::kButtonDisabled, image, 282, 0, 94, 31);
  button.SetTextInset(25);  // the glyph of the toolbar images ends there
  for (int state = qs::kButtonNormal; state <= qs::kButtonDisabled; ++state) {
    button.SetStateFontFromKey(state, L"tamix_font_gdione");
    button.SetStateColorFromKey(state, L"tamix_color_one");
  }
}

// A two-picture button: unselected as normal, selected as hover and pressed.
// The picture says what it does; its text is for readers of the window only.
void SkinPairButton(CQsButton& button, const wchar_t* unselected, const wchar_t* selected) {
  button.SetTextVisible(false);
  button.SetStateImageFromKey(qs::kButtonNormal, unselected);
  button.SetStateImageFromKey(qs::kButtonHover, selected);
  button.SetStateImageFromKey(qs::kButtonPressed, selected);
}

// A contact list as the contacts module shows it: letter sections, a check
// column, texts and two row actions.
class SampleRows : public IQsGridModel {
 public:
  struct Row {
    bool section;
    std::wstring name, number, mail;
    bool checked;
  };
  std::vector<Row> rows = {
      {true, L"A", L"", L"", false},          {false, L"Alice Carter", L"13912345678", L"alice@example.com", true},
      {false, L"Andy Li", L"13800138000", L"", false},
      {true, L"W", L"", L"", false},          {false, L"王芳", L"15011112222", L"wangfang@163.com", false},
      {false, L"王伟", L"18611113333", L"", true},
      {true, L"Z", L"", L"", false},          {false, L"张伟", L"13512345678", L"zhangwei@qq.com", false},
      {false, L"赵敏", L"13398765432", L"", false},
  };
  int GetRowCount() const override { return static_cast<int>(rows.size()); }
  bool IsSectionRow(int row) const override { return rows[static_cast<size_t>(row)].section; }
  void GetCell(int row, int column, CQsGridCell& cell) const override {
    const Row& r = rows[static_cast<size_t>(row)];
    if (r.section) {
      if (column == 0) cell.text = r.name;
      return;
    }
    switch (column) {
      case 0:
        cell.check = true;
        cell.text = r.checked ? L"1" : L"0";
        break;
      case 1: cell.text = r.name; break;
      case 2: cell.text = r.number; break;
      case 3: cell.text = r.mail; break;
      case 4:
        cell.actions = {CQsGridAction{L"Edit", nullptr}, CQsGridAction{L"Delete", nullptr}};
        break;
    }
  }
};

class CGallery : public wf::CDialogImpl<CGallery>, public CQsSkinWindowUI<CGallery, 1> {
 public:
  enum { IDD = IDD_GALLERY };
  using SkinBase = CQsSkinWindowUI<CGallery, 1>;

  BEGIN_MSG_MAP(CGallery)
    MESSAGE_HANDLER(WM_INITDIALOG, OnInitDialog)
    MESSAGE_HANDLER(WM_LBUTTONDOWN, OnDrag)
    COMMAND_ID_HANDLER(IDCANCEL, OnClose)
    MESSAGE_HANDLER(WM_CLOSE, OnCloseMessage)
    CHAIN_MSG_MAP(SkinBase)
  END_MSG_MAP()

 private:
  LRESULT OnInitDialog(UINT, WPARAM, LPARAM, BOOL&) {
    SetFrameImages(kFramePieces);
    // Buttons of the shared skin, one per state.
    int ids[] = {IDC_G_BUTTON_NORMAL, IDC_G_BUTTON_HOVER, IDC_G_BUTTON_PRESSED, IDC_G_BUTTON_FOCUSED,
                 IDC_G_BUTTON_DISABLED};
    for (int i = 0; i < 5; ++i) Bind(m_buttons[i], ids[i]);
    const wchar_t* tools[] = {L"pim_button_add.png", L"pim_button_delete_normal.png", L"pim_button_refresh.png",
                              L"pim_button_import_normal.png"};
    for (int i = 0; i < 4; ++i) {
      Bind(m_tools[i], IDC_G_TOOL_ADD + i);
      SkinToolButton(m_tools[i], tools[i]);
    }
    Bind(m_views[0], IDC_G_VIEW_LIST);
    SkinPairButton(m_views[0], L"pim_calendar_list_unsel.png", L"pim_calendar_list_sel.png");
    Bind(m_views[1], IDC_G_VIEW_MONTH);
    SkinPairButton(m_views[1], L"pim_calendar_month_sel.png", L"pim_calendar_month_sel.png");
    Bind(m_views[2], IDC_G_MODE_LIST);
    SkinPairButton(m_views[2], L"pic_mode_list_select.png", L"pic_mode_list_select.png");
    Bind(m_views[3], IDC_G_MODE_CHAT);
    SkinPairButton(m_views[3], L"pic_mode_chat.png", L"pic_mode_chat_select.png");

    for (int i = 0; i < 6; ++i) m_checks[i].SubclassWindow(GetDlgItem(IDC_G_CHECK_FIRST + i));
    for (int i = 0; i < 4; ++i) m_radios[i].SubclassWindow(GetDlgItem(IDC_G_RADIO_FIRST + i));
    m_search[0].SubclassWindow(GetDlgItem(IDC_G_SEARCH_EMPTY));
    m_search[0].SetCueKey(L"pim.edit.searchcontact");
    m_search[1].SubclassWindow(GetDlgItem(IDC_G_SEARCH_TEXT));
    m_search[1].SetCueKey(L"pim.edit.searchsms");
    m_tab.SubclassWindow(GetDlgItem(IDC_G_TAB));
    m_tab.SetStateImageFromKey(qs::kTabSelected, L"pim_tab.png", 0, 0, 62, 36);
    m_tab.SetStateImageFromKey(qs::kTabOther, L"pim_tab.png", 62, 0, 62, 36);
    m_tab.AddTab(L"common.contact");
    m_tab.AddTab(L"common.sms");
    m_tab.AddTab(L"common.calendar");
    m_tree.SubclassWindow(GetDlgItem(IDC_G_TREE));
    m_tree.SetStateImageFromKey(qs::kTreeSelected, L"pim_treeitem_select.png");
    m_tree.SetStateImageFromKey(qs::kTreeUnselected, L"pim_treeitem_unselect2.png");
    m_tree.SetStateImageFromKey(qs::kTreeGroup, L"pim_treeitem_unselectEx.png");
    for (int state : {qs::kTreeSelected, qs::kTreeUnselected, qs::kTreeGroup}) {  // as the module trees
      m_tree.SetStateFontFromKey(state, L"tamix_font_gditwo");
      m_tree.SetStateColorFromKey(state, L"tamix_color_one");
    }
    m_tree.SetMarkColorFromKey(L"tamix_color_five");
    m_date.SubclassWindow(GetDlgItem(IDC_G_DATE));
    m_date.SetStateImage(qs::kComboButton, CCtrlImageMgr::GetSharedStateImage(qs::kComboButton), 0, 0, 0, 0);
    m_grid.SubclassDlgItem(IDC_G_GRID, m_hWnd);
    m_grid.SetModel(&m_rows);
    m_grid.AddColumn(L"", 0.08);
    m_grid.AddColumn(L"Name", 0.27);
    m_grid.AddColumn(L"Number", 0.25);
    m_grid.AddColumn(L"E-mail", 0.2);
    m_grid.AddColumn(L"", 0.2);
    m_grid.SetHeaderCheckColumn(0);
    m_grid.SetCheckBoxImagesFromKeys(L"pim_checkbox_unselect.png", L"pim_checkbox_select.png");
    m_grid.SetHeaderImagesFromKeys(L"comm_listheaer_span.png", L"comm_listheaer_sep.png");
    m_grid.SetSectionImagesFromKeys(L"pim_list_Group_corner.png", L"pim_list_detail_close.png", L"pim_list_detail_open.png");
    m_grid.SetFontFromKey(GridFont::Row, L"tamix_font_gdione");
    m_grid.SetColorFromKey(GridColor::Text, L"tamix_color_one");
    m_grid.Refresh();
    m_grid.SelectRow(4);
    m_detail.SubclassWindow(GetDlgItem(IDC_G_OBJECTVIEW));
    m_detail.InsertItem(L"Time", L"2026-03-07 09:30 - 10:30");
    m_detail.InsertItem(L"Place", L"Meeting room A");
    m_detail.InsertItem(L"People", L"Zhang Wei;Alice Carter;");
    m_detail.InsertItem(L"Remark", L"Bring the printed slides and the budget for the second quarter.");
    InitSkin();  // the remaining controls: edits, combo boxes, progress bars, statics

    // States that need the controls to be live.
    m_buttons[1].SendMessage(WM_MOUSEMOVE, 0, MAKELPARAM(4, 4));
    m_buttons[2].SendMessage(WM_MOUSEMOVE, 0, MAKELPARAM(4, 4));
    m_buttons[2].SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(4, 4));
    ::ReleaseCapture();
    m_tools[1].SendMessage(WM_MOUSEMOVE, 0, MAKELPARAM(4, 4));
    ::CheckDlgButton(m_hWnd, IDC_G_CHECK_FIRST, BST_CHECKED);
    ::CheckDlgButton(m_hWnd, IDC_G_CHECK_FIRST + 1, BST_CHECKED);
    ::CheckDlgButton(m_hWnd, IDC_G_CHECK_FIRST + 4, BST_CHECKED);
    m_checks[1].SetFocusLook(true);
    m_checks[2].SetFocusLook(true);
    ::CheckDlgButton(m_hWnd, IDC_G_RADIO_FIRST, BST_CHECKED);
    ::CheckDlgButton(m_hWnd, IDC_G_RADIO_FIRST + 2, BST_CHECKED);
    ::SetDlgItemTextW(m_hWnd, IDC_G_EDIT, L"An edit");
    ::SetDlgItemTextW(m_hWnd, IDC_G_EDIT_DISABLED, L"Disabled");
    ::SetDlgItemTextW(m_hWnd, IDC_G_SEARCH_TEXT, L"zhang");
    for (int id : {IDC_G_COMBO, IDC_G_COMBO_DISABLED}) {
      ::SendDlgItemMessageW(m_hWnd, id, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(L"Every day"));
      ::SendDlgItemMessageW(m_hWnd, id, CB_SETCURSEL, 0, 0);
    }
    ::SendDlgItemMessageW(m_hWnd, IDC_G_PROGRESS_50, PBM_SETPOS, 50, 0);
    ::SendDlgItemMessageW(m_hWnd, IDC_G_PROGRESS_100, PBM_SETPOS, 100, 0);
    m_tab.SendMessage(TCM_SETCURSEL, 1);
    FillTree();
    ::SetFocus(m_buttons[3]);
    return FALSE;
  }

  void FillTree() {
    auto add = [&](HTREEITEM parent, const wchar_t* text) {
      TVINSERTSTRUCTW insert{};
      insert.hParent = parent;
      insert.hInsertAfter = TVI_LAST;
      insert.item.mask = TVIF_TEXT;
      insert.item.pszText = const_cast<wchar_t*>(text);
      return reinterpret_cast<HTREEITEM>(m_tree.SendMessage(TVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&insert)));
    };
    HTREEITEM root = add(TVI_ROOT, L"Total(1280)");
    HTREEITEM phone = add(root, L"Phone(1200)");
    add(root, L"China Telecom(40)");
    add(root, L"Favorites(12)");
    HTREEITEM groups = add(root, L"Groups(3)");
    for (const wchar_t* name : {L"Family(8)", L"Colleagues(40)", L"Classmates(22)"})
      m_tree.SetGroupItem(add(groups, name), true);
    m_tree.SendMessage(TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(root));
    m_tree.SendMessage(TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(groups));
    m_tree.SendMessage(TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(phone));
  }

  void Bind(CQsButton& button, int id) { button.SubclassWindow(GetDlgItem(id)); }

  // The window has no caption: drag it by its body.
  LRESULT OnDrag(UINT, WPARAM, LPARAM, BOOL&) {
    ::ReleaseCapture();
    SendMessage(WM_NCLBUTTONDOWN, HTCAPTION, 0);
    return 0;
  }
  LRESULT OnClose(WORD, WORD, HWND, BOOL&) {
    ::PostQuitMessage(0);
    return 0;
  }
  LRESULT OnCloseMessage(UINT, WPARAM, LPARAM, BOOL&) {
    ::PostQuitMessage(0);
    return 0;
  }

  CQsButton m_buttons[5];
  CQsButton m_tools[4];
  CQsButton m_views[4];
  CQsCheckBox m_checks[6];
  CQsRadioBox m_radios[4];
  CQsSearchEdit m_search[2];
  CQsTabCtrl m_tab;
  CQSTreeView m_tree;
  CQsDateTimePickerCtrl m_date;
  SampleRows m_rows;
  CQsSuperGrid m_grid;
  CQsObjectView m_detail;
};

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, LPWSTR, int) {
  int argc = 0;
  LPWSTR* argv = ::CommandLineToArgvW(::GetCommandLineW(), &argc);
  std::wstring shot = argc == 3 && std::wstring(argv[1]) == L"--shot" ? argv[2] : L"";
  std::wstring sheet = argc == 3 && std::wstring(argv[1]) == L"--sheet" ? argv[2] : L"";
  ::LocalFree(argv);

  INITCOMMONCONTROLSEX icc{sizeof(icc), ICC_WIN95_CLASSES | ICC_DATE_CLASSES | ICC_TAB_CLASSES | ICC_PROGRESS_CLASS};
  ::InitCommonControlsEx(&icc);
  Gdiplus::GdiplusStartupInput input;
  ULONG_PTR token = 0;
  Gdiplus::GdiplusStartup(&token, &input, nullptr);
  int result = 0;
  if (!sheet.empty()) {
    result = WriteSkinSheet(sheet) ? 0 : 3;
    std::fputs(wf::ToUtf8((result ? L"ControlGallery: cannot save " : L"ControlGallery: saved ") + sheet + L"\n").c_str(),
               stderr);
    Gdiplus::GdiplusShutdown(token);
    return result;
  }
  {
    CGallery gallery;
    if (!gallery.Create(nullptr, 0, ::GetModuleHandleW(nullptr))) return 2;
    gallery.SetWindowPos(nullptr, 20, 20, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    gallery.ShowWindow(SW_SHOW);
    if (!shot.empty()) ::SetTimer(nullptr, 0, 500, nullptr);
    MSG msg;
    while (::GetMessageW(&msg, nullptr, 0, 0) > 0) {
      if (msg.message == WM_TIMER && msg.hwnd == nullptr && !shot.empty()) {
        result = wf::SaveWindowAsPng(gallery, shot) ? 0 : 3;
        std::fputs(wf::ToUtf8(result ? L"ControlGallery: cannot save " + shot + L"\n"
                                     : L"ControlGallery: saved " + shot + L"\n")
                       .c_str(),
                   stderr);
        break;
      }
      if (::IsDialogMessageW(gallery, &msg)) continue;
      ::TranslateMessage(&msg);
      ::DispatchMessageW(&msg);
    }
    if (gallery.m_hWnd) gallery.DestroyWindow();
  }
  Gdiplus::GdiplusShutdown(token);
  return result;
}
