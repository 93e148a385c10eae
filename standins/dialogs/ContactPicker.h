// The contact picker: the handset's contacts (the phone's, then each SIM
// card's) with their numbers, a check box each, a search field that narrows
// the list as it is typed, and OK and Cancel. A skinned modal dialog of this
// library in the look of its other dialogs: rounded corners, a close box,
// moved by dragging anywhere on it.
//
// The contacts are read through the data-provider library when the dialog
// opens; until they arrive the entries handed in are listed alone. The
// entries handed in come ticked; what a row holds and what OK answers is
// CContactChoice (ContactChoice.h).
//
// A contact is ticked by its check box, by a double click on its row, or by
// Space on the selected rows; the box in the header ticks or clears every
// row shown. OK and Enter take the ticks; Cancel, Escape and the close box
// take nothing.
#pragma once
#include <list>
#include <memory>
#include <mutex>
#include <vector>

#include "ContactChoice.h"
#include "JorvHelperIds.h"
#include "content/DataProvider.h"
#include "controls/QsButton.h"
#include "controls/QsControls.h"
#include "controls/QsEdit.h"
#include "controls/SkinMessages.h"
#include "controls/SkinWindow.h"
#include "controls/SuperGrid.h"
#include "framework/DialogImpl.h"

namespace jorv {

// Reads the contacts of the phone and of both SIM cards for a window: the
// library answers on its own thread, where the answers are copied and the
// window is told (posted `message`).
class CContactSource : public CDataProviderCallback {
 public:
  CContactSource(HWND window, UINT message) : m_window(window), m_message(message) {}
  ~CContactSource() override { Stop(); }
  CContactSource(const CContactSource&) = delete;
  CContactSource& operator=(const CContactSource&) = delete;

  // Asks for the three books; false when the library gives no provider.
  bool Start();
  // Lets go of the provider: nothing is told after this returns.
  void Stop();
  // Once every book has answered: true, and the contacts, phone first. A
  // book whose answer failed (no handset) adds none.
  bool TakeAll(std::vector<PickableContact>& contacts);

  bool OnReturnContent(const std::wstring& uri, uint32_t status, const ContentList& records) override;

 private:
  static constexpr int kBooks = 3;
  HWND m_window;
  UINT m_message;
  IDataProvider* m_provider = nullptr;
  std::mutex m_mutex;
  std::vector<PickableContact> m_books[kBooks];
  bool m_answered[kBooks] = {};
  bool m_taken = false;
};

class CContactPicker : public wf::CDialogImpl<CContactPicker>, public CQsSkinWindowUI<CContactPicker, 0> {
 public:
  enum { IDD = IDD_JORV_PICKCONTACT };
  using SkinBase = CQsSkinWindowUI<CContactPicker, 0>;
  // Posted by the contact source when a book has answered.
  static constexpr UINT kContactsArrived = WM_APP + 0x41;

  explicit CContactPicker(const std::list<JorvContactEntry>& given);

  // Runs the dialog modal over `owner` (may be null): 1 on OK (then Chosen()
  // holds the entries), 0 when cancelled or when the dialog could not be shown.
  int Run(HWND owner);
  std::list<JorvContactEntry> Chosen() const { return m_choice.Chosen(); }

  BEGIN_MSG_MAP(CContactPicker)
    MESSAGE_HANDLER(WM_INITDIALOG, OnInitDialog)
    MESSAGE_HANDLER(WM_DESTROY, OnDestroy)
    MESSAGE_HANDLER(kContactsArrived, OnContactsArrived)
    MESSAGE_HANDLER(WM_QS_SEARCH, OnSearch)
    MESSAGE_HANDLER(WM_LBUTTONDOWN, OnLButtonDown)
    MESSAGE_HANDLER(WM_SIZE, OnSize)
    COMMAND_HANDLER(IDC_JORV_PICK_SEARCH, EN_CHANGE, OnSearchChange)
    NOTIFY_HANDLER(IDC_JORV_PICK_LIST, QSGN_CELLCLICK, OnCellClick)
    NOTIFY_HANDLER(IDC_JORV_PICK_LIST, QSGN_HEADERCLICK, OnHeaderClick)
    NOTIFY_HANDLER(IDC_JORV_PICK_LIST, NM_DBLCLK, OnDoubleClick)
    NOTIFY_HANDLER(IDC_JORV_PICK_LIST, LVN_KEYDOWN, OnListKey)
    COMMAND_ID_HANDLER(IDOK, OnOk)
    COMMAND_ID_HANDLER(IDCANCEL, OnCancel)
    COMMAND_ID_HANDLER(IDC_JORV_PICK_CLOSE, OnCancel)
    CHAIN_MSG_MAP(SkinBase)
  END_MSG_MAP()

 private:
  LRESULT OnInitDialog(UINT, WPARAM, LPARAM, BOOL&);
  LRESULT OnDestroy(UINT, WPARAM, LPARAM, BOOL&);
  LRESULT OnContactsArrived(UINT, WPARAM, LPARAM, BOOL&);
  LRESULT OnSearch(UINT, WPARAM, LPARAM, BOOL&);
  LRESULT OnLButtonDown(UINT, WPARAM, LPARAM, BOOL&);
  LRESULT OnSize(UINT, WPARAM, LPARAM, BOOL&);
  LRESULT OnSearchChange(WORD, WORD, HWND, BOOL&);
  LRESULT OnCellClick(int, LPNMHDR, BOOL&);
  LRESULT OnHeaderClick(int, LPNMHDR, BOOL&);
  LRESULT OnDoubleClick(int, LPNMHDR, BOOL&);
  LRESULT OnListKey(int, LPNMHDR, BOOL&);
  LRESULT OnOk(WORD, WORD, HWND, BOOL&) { EndDialog(1); return 0; }
  LRESULT OnCancel(WORD, WORD, HWND, BOOL&) { EndDialog(0); return 0; }

  void SetUpSkin();
  void SetUpList();
  // Filters by the search field's text and shows the rows again.
  void ApplySearch();
  // The rows or their ticks changed: the list, the header box and the count.
  void ShowRows();
  void ShowTicks();
  void UpdateStatus();

  CContactChoice m_choice;
  std::unique_ptr<CContactSource> m_reader;
  CQsStatic m_title, m_status;
  CQsButton m_close;
  CQsButton m_buttons[2];  // OK, Cancel
  CQsSearchEdit m_search;
  CQsSuperGrid m_list;
};

}  // namespace jorv
