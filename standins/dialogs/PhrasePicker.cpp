#include "PhrasePicker.h"

#include <algorithm>
#include <cstdint>
#include <iterator>
#include <utility>

#include "DialogLook.h"
#include "controls/SkinPaint.h"
#include "frame/suite/ResourceLibrary.h"
#include "framework/Module.h"

namespace jorv {
namespace {

constexpr int kCornerRadius = 12;
// Room around a phrase inside its row, and the mark left of a selected row.
constexpr int kRowMarginX = 8;
constexpr int kRowMarginY = 5;
constexpr int kSelectionMark = 3;
// A list box row is at most 255 pixels high.
constexpr int kMaxRowHeight = 255;
constexpr UINT kPhraseFormat = DT_WORDBREAK | DT_NOPREFIX | DT_LEFT | DT_TOP;

void FillSolid(HDC dc, const RECT& rc, COLORREF colour) {
  wf::ScopedBrush brush(::CreateSolidBrush(colour));
  ::FillRect(dc, &rc, brush);
}

}  // namespace

std::vector<std::wstring> StockPhrases() {
  std::vector<std::wstring> phrases;
  for (int number = 1;; ++number) {
    std::wstring text;
    if (!GetString(L"jorvhelper.phrase." + std::to_wstring(number), text)) break;
    phrases.push_back(std::move(text));
  }
  return phrases;
}

// --- the list ------------------------------------------------------------------------------

LRESULT CPhraseList::OnNcPaint(UINT msg, WPARAM wParam, LPARAM lParam, BOOL&) {
  DefWindowProc(msg, wParam, lParam);  // the scroll bar
  RECT window = GetWindowRect();
  ::OffsetRect(&window, -window.left, -window.top);
  HDC dc = ::GetWindowDC(m_hWnd);
  wf::ScopedBrush border(::CreateSolidBrush(::GetFocus() == m_hWnd ? skin::theme::kFocusBorder : skin::theme::kBorder));
  ::FrameRect(dc, &window, border);
  ::ReleaseDC(m_hWnd, dc);
  return 0;
}

LRESULT CPhraseList::OnFocusChange(UINT msg, WPARAM wParam, LPARAM lParam, BOOL&) {
  LRESULT result = DefWindowProc(msg, wParam, lParam);
  ::RedrawWindow(m_hWnd, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_NOCHILDREN);
  return result;
}

// --- the dialog ----------------------------------------------------------------------------

CPhrasePicker::CPhrasePicker(std::vector<std::wstring> phrases) : m_phrases(std::move(phrases)) {}

int CPhrasePicker::Run(HWND owner) {
  m_chosen.clear();
  INT_PTR result = DoModal(owner, 0, wf::GetCodeInstance());
  return result == 1 ? 1 : 0;  // cancelled, or the dialog could not be made
}

LRESULT CPhrasePicker::OnInitDialog(UINT, WPARAM, LPARAM, BOOL&) {
  SetBackgroundImage(L"common_jorvhelper_background.png");
  SetUpSkin();
  InitSkin();
  std::wstring title = Text(L"jorvhelper.phrase.title");
  SetWindowText(title);  // tests, scripts and assistive technology find the window by it
  m_title.SetWindowText(title);
  ::SetDlgItemTextW(m_hWnd, IDC_JORV_PHRASE_CLOSE, Text(L"common.button.cancel").c_str());
  ::SetDlgItemTextW(m_hWnd, IDOK, Text(L"common.button.ok").c_str());
  ::SetDlgItemTextW(m_hWnd, IDCANCEL, Text(L"common.button.cancel").c_str());

  // Each row is measured as it is added (WM_MEASUREITEM), with the font set here.
  HWND list = GetDlgItem(IDC_JORV_PHRASE_LIST);
  for (const std::wstring& phrase : m_phrases)
    ::SendMessageW(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(phrase.c_str()));
  UpdateOk();

  if (HMENU system = ::GetSystemMenu(m_hWnd, FALSE)) ::DeleteMenu(system, SC_MOVE, MF_BYCOMMAND);
  ApplyOutline();
  ::SetFocus(list);  // arrow keys choose a row at once
  return FALSE;      // the focus is set
}

void CPhrasePicker::SetUpSkin() {
  // The list takes the dialogs' font and the main text colour of the
  // resource library, the title the same font in bold, as in the compose window.
  FontChoice dialogFont = FontOf(L"tamix_font_gditwo");
  m_listFont.Reset(MakeFont(dialogFont.face, dialogFont.points, dialogFont.style));
  m_text = Colour(L"tamix_color_one", m_text);
  m_listBrush.Reset(::CreateSolidBrush(skin::theme::kWindow));
  HWND list = GetDlgItem(IDC_JORV_PHRASE_LIST);
  ::SendMessageW(list, WM_SETFONT, reinterpret_cast<WPARAM>(m_listFont.Get()), FALSE);
  m_list.SubclassWindow(list);

  m_title.SubclassWindow(GetDlgItem(IDC_JORV_PHRASE_TITLE));
  m_title.SetStateFont(qs::kFallbackState, dialogFont.face, dialogFont.points, dialogFont.style | 1);  // bold
  m_title.SetStateColorFromKey(qs::kFallbackState, L"tamix_color_one");

  const int buttons[] = {IDOK, IDCANCEL};
  for (size_t i = 0; i < std::size(buttons); ++i) {
    if (!m_buttons[i].SubclassWindow(GetDlgItem(buttons[i]))) continue;
    for (int state = qs::kButtonNormal; state < qs::kButtonDisabled; ++state)
      m_buttons[i].SetStateColorFromKey(state, L"tamix_color_one");
    m_buttons[i].SetStateTextColor(qs::kButtonDisabled, skin::theme::kDisabledText);  // OK with nothing selected
  }

  if (m_close.SubclassWindow(GetDlgItem(IDC_JORV_PHRASE_CLOSE))) {
    m_close.UseCloseBox();
  }
}

int CPhrasePicker::WrapWidth() const {
  HWND list = GetDlgItem(IDC_JORV_PHRASE_LIST);
  RECT client{};
  ::GetClientRect(list, &client);
  int inside = client.right - client.left;
  if (!(::GetWindowLongW(list, GWL_STYLE) & WS_VSCROLL)) inside -= ::GetSystemMetrics(SM_CXVSCROLL);
  return std::max(1, inside - kSelectionMark - 2 * kRowMarginX);
}

LRESULT CPhrasePicker::OnMeasureItem(UINT, WPARAM, LPARAM lParam, BOOL& bHandled) {
  auto* measure = reinterpret_cast<MEASUREITEMSTRUCT*>(lParam);
  if (measure->CtlType != ODT_LISTBOX || measure->CtlID != IDC_JORV_PHRASE_LIST) {
    bHandled = FALSE;
    return 0;
  }
  std::wstring phrase = measure->itemID < m_phrases.size() ? m_phrases[measure->itemID] : std::wstring();
  HWND list = GetDlgItem(IDC_JORV_PHRASE_LIST);
  HDC dc = ::GetDC(list);
  int textHeight = 0;
  {
    wf::ScopedSelect font(dc, m_listFont.Get());
    TEXTMETRICW metrics{};
    ::GetTextMetricsW(dc, &metrics);
    RECT rc{0, 0, WrapWidth(), 0};
    if (!phrase.empty()) ::DrawTextW(dc, phrase.c_str(), -1, &rc, kPhraseFormat | DT_CALCRECT);
    textHeight = std::max<int>(rc.bottom - rc.top, metrics.tmHeight);
  }
  ::ReleaseDC(list, dc);
  measure->itemHeight = static_cast<UINT>(std::min(textHeight + 2 * kRowMarginY, kMaxRowHeight));
  return TRUE;
}

LRESULT CPhrasePicker::OnDrawItem(UINT, WPARAM, LPARAM lParam, BOOL& bHandled) {
  auto* item = reinterpret_cast<DRAWITEMSTRUCT*>(lParam);
  if (item->CtlType != ODT_LISTBOX || item->CtlID != IDC_JORV_PHRASE_LIST) {
    bHandled = FALSE;
    return 0;
  }
  HDC dc = item->hDC;
  RECT row = item->rcItem;
  const bool focusShown = (item->itemState & ODS_FOCUS) && !(item->itemState & ODS_NOFOCUSRECT);
  RECT focusRect = row;
  ::InflateRect(&focusRect, -1, -1);
  if (item->itemAction == ODA_FOCUS || item->itemID >= m_phrases.size()) {
    // The focus alone changed, or the list is empty and shows only the focus.
    if (item->itemID >= m_phrases.size()) FillSolid(dc, row, skin::theme::kWindow);
    if (item->itemAction == ODA_FOCUS || focusShown) ::DrawFocusRect(dc, &focusRect);
    return TRUE;
  }

  const bool selected = (item->itemState & ODS_SELECTED) != 0;
  FillSolid(dc, row, selected ? skin::theme::kSelection : skin::theme::kWindow);
  if (selected) FillSolid(dc, RECT{row.left, row.top, row.left + kSelectionMark, row.bottom}, skin::theme::kAccent);
  if (item->itemID + 1 < m_phrases.size())  // a hairline between rows
    FillSolid(dc, RECT{row.left + kRowMarginX, row.bottom - 1, row.right - kRowMarginX, row.bottom},
              skin::theme::kFace);

  RECT text{row.left + kSelectionMark + kRowMarginX, row.top + kRowMarginY, 0, row.bottom - kRowMarginY};
  text.right = text.left + WrapWidth();  // the width the row was measured at
  ::SetBkMode(dc, TRANSPARENT);
  ::SetTextColor(dc, m_text);
  {
    wf::ScopedSelect font(dc, m_listFont.Get());
    ::DrawTextW(dc, m_phrases[item->itemID].c_str(), -1, &text, kPhraseFormat);
  }
  if (focusShown) ::DrawFocusRect(dc, &focusRect);
  return TRUE;
}

LRESULT CPhrasePicker::OnCtlColorListBox(UINT, WPARAM wParam, LPARAM, BOOL&) {
  ::SetBkColor(reinterpret_cast<HDC>(wParam), skin::theme::kWindow);
  return reinterpret_cast<LRESULT>(m_listBrush.Get());
}

LRESULT CPhrasePicker::OnSelectionChange(WORD, WORD, HWND, BOOL&) {
  UpdateOk();
  return 0;
}

void CPhrasePicker::UpdateOk() {
  auto selected = ::SendDlgItemMessageW(m_hWnd, IDC_JORV_PHRASE_LIST, LB_GETCURSEL, 0, 0);
  ::EnableWindow(GetDlgItem(IDOK), selected != LB_ERR);
}

void CPhrasePicker::Choose() {
  auto selected = ::SendDlgItemMessageW(m_hWnd, IDC_JORV_PHRASE_LIST, LB_GETCURSEL, 0, 0);
  if (selected < 0 || static_cast<size_t>(selected) >= m_phrases.size()) return;
  m_chosen = m_phrases[static_cast<size_t>(selected)];
  EndDialog(1);
}

LRESULT CPhrasePicker::OnSize(UINT, WPARAM, LPARAM, BOOL& bHandled) {
  ApplyOutline();
  bHandled = FALSE;
  return 0;
}

void CPhrasePicker::ApplyOutline() { skin::ApplyRoundedOutline(m_hWnd, kCornerRadius); }

LRESULT CPhrasePicker::OnLButtonDown(UINT, WPARAM, LPARAM, BOOL&) {
  ::ReleaseCapture();
  ::SendMessageW(m_hWnd, WM_NCLBUTTONDOWN, HTCAPTION, 0);
  return 0;
}

}  // namespace jorv
