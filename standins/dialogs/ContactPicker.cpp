#include "ContactPicker.h"

#include <commctrl.h>

#include <iterator>
#include <utility>

#include "DialogLook.h"
#include "contact/ContactData.h"
#include "content/ContentUri.h"
#include "controls/SkinPaint.h"
#include "framework/Module.h"
#include "framework/Text.h"

namespace jorv {
namespace {

constexpr int kCornerRadius = 12;
constexpr int kCheckColumnWidth = 36;
constexpr int kRowHeight = 26;

// The books the picker lists, in list order.
const wchar_t* const kBookUris[] = {ContentUri::kContact, ContentUri::kContactCdma, ContentUri::kContactGsm};

}  // namespace

// --- the contacts ---------------------------------------------------------------------------

bool CContactSource::Start() {
  m_provider = CreateDataProvider(this);
  if (!m_provider) return false;
  for (int book = 0; book < kBooks; ++book) {
    if (!m_provider->QueryAll(kBookUris[book])) {
      // Not taken: the book counts as answered, with no contacts.
      std::lock_guard<std::mutex> lock(m_mutex);
      m_answered[book] = true;
    }
  }
  if (m_window) ::PostMessageW(m_window, m_message, 0, 0);  // in case nothing was taken
  return true;
}

void CContactSource::Stop() {
  // Waits for an answer under way; the answers only copy and post, so the
  // wait is short and needs nothing of this thread.
  if (m_provider) DestroyDataProvider(m_provider);
  m_provider = nullptr;
}

bool CContactSource::OnReturnContent(const std::wstring& uri, uint32_t status, const ContentList& records) {
  for (int book = 0; book < kBooks; ++book) {
    if (uri != kBookUris[book]) continue;
    // The records are the library's until this returns: copy what is shown.
    std::vector<PickableContact> contacts;
    if (status == 0) {
      contacts.reserve(records.size());
      for (CContent* record : records)
        if (auto* contact = dynamic_cast<Contact::CContactData*>(record)) contacts.push_back(PickableContactOf(*contact));
    }
    {
      std::lock_guard<std::mutex> lock(m_mutex);
      m_books[book] = std::move(contacts);
      m_answered[book] = true;
    }
    if (m_window) ::PostMessageW(m_window, m_message, 0, 0);
    break;
  }
  return true;
}

bool CContactSource::TakeAll(std::vector<PickableContact>& contacts) {
  std::lock_guard<std::mutex> lock(m_mutex);
  if (m_taken) return false;
  for (bool answered : m_answered)
    if (!answered) return false;
  contacts.clear();
  for (auto& book : m_books) {
    std::move(book.begin(), book.end(), std::back_inserter(contacts));
    book.clear();
  }
  m_taken = true;
  return true;
}

// --- the dialog -----------------------------------------------------------------------------

CContactPicker::CContactPicker(const std::list<JorvContactEntry>& given) : m_choice(given) {}

int CContactPicker::Run(HWND owner) {
  INT_PTR result = DoModal(owner, 0, wf::GetCodeInstance());
  return result == 1 ? 1 : 0;  // cancelled, or the dialog could not be made
}

LRESULT CContactPicker::OnInitDialog(UINT, WPARAM, LPARAM, BOOL&) {
  SetBackgroundImage(L"common_jorvhelper_background.png");
  SetUpSkin();
  SetUpList();
  InitSkin();
  std::wstring title = Text(L"jorvhelper.pickcontact.title");
  SetWindowText(title);  // tests, scripts and assistive technology find the window by it
  m_title.SetWindowText(title);
  ::SetDlgItemTextW(m_hWnd, IDC_JORV_PICK_CLOSE, Text(L"common.button.cancel").c_str());
  ::SetDlgItemTextW(m_hWnd, IDOK, Text(L"common.button.ok").c_str());
  ::SetDlgItemTextW(m_hWnd, IDCANCEL, Text(L"common.button.cancel").c_str());
  if (HMENU system = ::GetSystemMenu(m_hWnd, FALSE)) ::DeleteMenu(system, SC_MOVE, MF_BYCOMMAND);
  skin::ApplyRoundedOutline(m_hWnd, kCornerRadius);

  ShowRows();  // the entries handed in, while the contacts are read
  m_reader = std::make_unique<CContactSource>(m_hWnd, kContactsArrived);
  if (!m_reader->Start()) {
    // No library to read from: what was handed in is all there is to choose.
    m_reader.reset();
    m_choice.SetContacts({});
    ShowRows();
  }
  ::SetFocus(m_search.m_hWnd);  // typing searches at once
  return FALSE;                 // the focus is set
}

void CContactPicker::SetUpSkin() {
  FontChoice dialogFont = FontOf(L"tamix_font_gditwo");
  m_title.SubclassWindow(GetDlgItem(IDC_JORV_PICK_TITLE));
  m_title.SetStateFont(qs::kFallbackState, dialogFont.face, dialogFont.points, dialogFont.style | 1);  // bold
  m_title.SetStateColorFromKey(qs::kFallbackState, L"tamix_color_one");
  m_status.SubclassWindow(GetDlgItem(IDC_JORV_PICK_STATUS));
  m_status.SetStateFont(qs::kFallbackState, dialogFont.face, dialogFont.points, dialogFont.style);
  m_status.SetStateColorFromKey(qs::kFallbackState, L"tamix_color_one");

  const int buttons[] = {IDOK, IDCANCEL};
  for (size_t i = 0; i < std::size(buttons); ++i) {
    if (!m_buttons[i].SubclassWindow(GetDlgItem(buttons[i]))) continue;
    for (int state = qs::kButtonNormal; state < qs::kButtonDisabled; ++state)
      m_buttons[i].SetStateColorFromKey(state, L"tamix_color_one");
  }
  if (m_close.SubclassWindow(GetDlgItem(IDC_JORV_PICK_CLOSE))) m_close.UseCloseBox();

  if (m_search.SubclassWindow(GetDlgItem(IDC_JORV_PICK_SEARCH))) m_search.SetCueKey(L"jorvhelper.pickcontact.search");
}

void CContactPicker::SetUpList() {
  if (!m_list.SubclassWindow(GetDlgItem(IDC_JORV_PICK_LIST))) return;
  RECT client = m_list.GetClientRect();
  const double width = client.right > kCheckColumnWidth ? client.right : 4.0 * kCheckColumnWidth;
  const double check = kCheckColumnWidth / width, rest = 1.0 - check;
  m_list.AddColumn(L"", check, LVCFMT_CENTER);
  m_list.AddColumn(Text(L"jorvhelper.pickcontact.name"), rest * 0.5);
  m_list.AddColumn(Text(L"jorvhelper.pickcontact.number"), rest * 0.5);
  m_list.SetCheckBoxImagesFromKeys(L"pim_checkbox_unselect.png", L"pim_checkbox_select.png");
  m_list.SetHeaderImagesFromKeys(L"comm_listheaer_span.png", L"comm_listheaer_sep.png");
  m_list.SetHeaderCheckColumn(CContactChoice::kColumnCheck);
  m_list.SetFontFromKey(GridFont::Row, L"tamix_font_gdione");
  m_list.SetFontFromKey(GridFont::Header, L"tamix_font_gditwo");
  m_list.SetColorFromKey(GridColor::Text, L"tamix_color_one");
  m_list.SetRowHeight(kRowHeight);
  m_list.SetModel(&m_choice);
}

LRESULT CContactPicker::OnDestroy(UINT, WPARAM, LPARAM, BOOL& bHandled) {
  // Nothing is read for a window that is gone.
  m_reader.reset();
  bHandled = FALSE;
  return 0;
}

LRESULT CContactPicker::OnContactsArrived(UINT, WPARAM, LPARAM, BOOL&) {
  std::vector<PickableContact> contacts;
  if (!m_reader || !m_reader->TakeAll(contacts)) return 0;  // a book is still to answer
  m_choice.SetContacts(std::move(contacts));
  ShowRows();
  return 0;
}

// --- searching and ticking ------------------------------------------------------------------

LRESULT CContactPicker::OnSearchChange(WORD, WORD, HWND, BOOL&) {
  ApplySearch();
  return 0;
}

LRESULT CContactPicker::OnSearch(UINT, WPARAM, LPARAM, BOOL&) {
  ApplySearch();
  return 0;
}

void CContactPicker::ApplySearch() {
  m_choice.SetFilter(m_search.m_hWnd ? m_search.GetWindowText() : std::wstring());
  ShowRows();
}

void CContactPicker::ShowRows() {
  if (m_list.m_hWnd) {
    // Rows are renumbered: a selection would now stand on other contacts.
    m_list.ClearSelection();
    m_list.Refresh();
  }
  ShowTicks();
}

void CContactPicker::ShowTicks() {
  if (m_list.m_hWnd) {
    m_list.SetHeaderCheck(m_choice.AllShownTicked());
    m_list.RedrawAll();
  }
  UpdateStatus();
}

void CContactPicker::UpdateStatus() {
  std::wstring status = m_choice.HasContacts()
                            ? wf::FormatText(Text(L"jorvhelper.pickcontact.count").c_str(),
                                             static_cast<int>(m_choice.TickedCount()))
                            : Text(L"jorvhelper.pickcontact.loading");
  if (m_status.m_hWnd) m_status.SetWindowText(status);
}

LRESULT CContactPicker::OnCellClick(int, LPNMHDR header, BOOL&) {
  auto* click = reinterpret_cast<LPNMQSGRIDCELL>(header);
  if (click->iColumn != CContactChoice::kColumnCheck || click->iAction != -1) return 0;
  m_choice.SetTicked(click->iRow, click->iCheck == 0);
  ShowTicks();
  return 0;
}

LRESULT CContactPicker::OnHeaderClick(int, LPNMHDR header, BOOL&) {
  auto* click = reinterpret_cast<LPNMQSGRIDHEADER>(header);
  if (click->iColumn != CContactChoice::kColumnCheck) return 0;
  // The grid has flipped its box already: the rows follow it.
  m_choice.TickAllShown(click->iCheck == 0);
  ShowTicks();
  return 0;
}

LRESULT CContactPicker::OnDoubleClick(int, LPNMHDR header, BOOL&) {
  auto* activate = reinterpret_cast<LPNMITEMACTIVATE>(header);
  // On the check box the grid has counted the second click already.
  if (activate->iItem < 0 || activate->iSubItem == CContactChoice::kColumnCheck) return 0;
  m_choice.Toggle(m_list.RowFromItem(activate->iItem));
  ShowTicks();
  return 0;
}

LRESULT CContactPicker::OnListKey(int, LPNMHDR header, BOOL&) {
  auto* key = reinterpret_cast<LPNMLVKEYDOWN>(header);
  if (key->wVKey != VK_SPACE) return 0;
  const std::vector<int> rows = m_list.GetSelectedRows();
  if (rows.empty()) return 0;
  // Several rows go one way: all ticked unless all of them were.
  bool allTicked = true;
  for (int row : rows) allTicked = allTicked && m_choice.IsTicked(row);
  for (int row : rows) m_choice.SetTicked(row, !allTicked);
  ShowTicks();
  return 0;
}

// --- the window -----------------------------------------------------------------------------

LRESULT CContactPicker::OnSize(UINT, WPARAM, LPARAM, BOOL& bHandled) {
  skin::ApplyRoundedOutline(m_hWnd, kCornerRadius);
  bHandled = FALSE;
  return 0;
}

LRESULT CContactPicker::OnLButtonDown(UINT, WPARAM, LPARAM, BOOL&) {
  ::ReleaseCapture();
  ::SendMessageW(m_hWnd, WM_NCLBUTTONDOWN, HTCAPTION, 0);
  return 0;
}

}  // namespace jorv
