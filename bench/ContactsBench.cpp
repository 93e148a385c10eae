// The contacts module at a large handset's size (20,000 phone contacts and
// the two SIM cards' books): the real main window made from the resource
// module inside a parent window, as the host makes it, timed from the outside
// while this thread pumps its messages as the host's loop does.
//
//   (a) from the first show to the last contact listed (every batch of the
//       refresh in the list), and to that list painted;
//   (b) from the first show to the tree's root showing the total;
//   (c) listing the phone node again (20,000 contacts in one answer): the
//       controller's own "Display contact used time" from the info log, the
//       fill as seen on the list's messages (redraw off .. redraw on), and
//       the whole way from the selection to the list filled and painted;
//   (d) the same rows in a plain report-mode owner-data list view: item count
//       set and first paint, beside the super grid's Refresh and first paint.
//
// Where the time goes: the list view's own messages are timed inside every
// fill (a subclass of the list, outermost), the resizes among them apart (a
// vertical scroll bar that comes or goes re-lays out the columns); the
// controller's model is timed alone; and the platform operations that turned
// out to matter are timed on the contact list and on the plain list view:
// redraw switched on, one column's width, deselecting every row (also with
// the plain list selecting full rows and its header subclassed, as the
// grid's list does).
#include <windows.h>
#include <commctrl.h>
#include <objbase.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "BenchSupport.h"
#include "contact/ContactData.h"
#include "contact/ContactRows.h"
#include "content/ContentUri.h"
#include "content/DataProvider.h"
#include "frame/DialogTemplates.h"
#include "frame/PimWnd.h"
#include "frame/suite/ResourceLibrary.h"
#include "framework/GdiPlus.h"
#include "framework/Module.h"
#include "provider/ProviderAutomation.h"
#include "standins/base/LogControl.h"
#include "standins/connect/ConnectControl.h"

namespace {

using Clock = std::chrono::steady_clock;

constexpr int kPhoneContacts = 20000;
constexpr int kWindowRuns = 5;
constexpr int kNodeListingsPerRun = 3;
constexpr double kPatienceMs = 120000;
constexpr int kColumns = 6;

double Between(Clock::time_point from, Clock::time_point to) {
  return std::chrono::duration<double, std::milli>(to - from).count();
}

template <class F>
double Time(F body) {
  const Clock::time_point start = Clock::now();
  body();
  return Between(start, Clock::now());
}

using bench::Median;

std::string Spread(const std::vector<double>& values) {
  if (values.empty()) return "no runs";
  auto [low, high] = std::minmax_element(values.begin(), values.end());
  char text[96];
  std::snprintf(text, sizeof text, "median of %zu, %.1f..%.1f", values.size(), *low, *high);
  return text;
}

std::string Ms(double value) {
  char text[32];
  std::snprintf(text, sizeof text, "%.1f ms", value);
  return text;
}

[[noreturn]] void Fatal(const std::string& what) {
  std::printf("bench_contacts: %s\n", what.c_str());
  std::fflush(stdout);
  std::exit(1);
}

// ---- pumping, as the host's loop does ---------------------------------------

void DispatchOne(MSG& msg) {
  ::TranslateMessage(&msg);
  ::DispatchMessageW(&msg);
}

// Pumps until `done` holds, checked after every message; false on the deadline.
template <class Done>
bool PumpUntil(Done done, double limitMs = kPatienceMs) {
  const Clock::time_point start = Clock::now();
  MSG msg;
  while (!done()) {
    if (Between(start, Clock::now()) > limitMs) return false;
    if (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
      DispatchOne(msg);
    } else {
      ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 1, QS_ALLINPUT);
    }
  }
  return true;
}

// Every answer delivered and the queue dry.
void Settle() {
  for (;;) {
    ProviderAutomation::WaitIdle();
    bool any = false;
    MSG msg;
    while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
      DispatchOne(msg);
      any = true;
    }
    if (!any) return;
  }
}

// ---- the contact list's own messages -----------------------------------------

// A fill of the controller: redraw switched off, rows put in, redraw on; and
// within it the time the list view itself took.
struct ListWatch {
  struct Fill {
    Clock::time_point start, end;
    double inMessages = 0;  // in the list's own messages (outermost), the redraw switches included
    double resizing = 0;    // in WM_SIZE among them: the columns laid out again
  };
  std::vector<Fill> fills;
  std::vector<Clock::time_point> paintsDone;
  Clock::time_point lastCount{};  // the end of the last change of the item count (a streamed batch)
  bool inFill = false;
  int depth = 0;
  Fill current;
};

LRESULT CALLBACK WatchList(HWND window, UINT msg, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR data) {
  auto* watch = reinterpret_cast<ListWatch*>(data);
  if (msg == WM_SETREDRAW && !wParam) {
    watch->inFill = true;
    watch->current = ListWatch::Fill{};
    watch->current.start = Clock::now();
  }
  const Clock::time_point start = Clock::now();
  ++watch->depth;
  const LRESULT result = ::DefSubclassProc(window, msg, wParam, lParam);
  --watch->depth;
  const Clock::time_point end = Clock::now();
  if (watch->inFill) {
    if (watch->depth == 0) watch->current.inMessages += Between(start, end);
    if (msg == WM_SIZE) watch->current.resizing += Between(start, end);
  }
  if (msg == WM_SETREDRAW && wParam && watch->inFill) {
    watch->inFill = false;
    watch->current.end = end;
    watch->fills.push_back(watch->current);
  }
  if (msg == WM_PAINT) watch->paintsDone.push_back(end);
  if (msg == LVM_SETITEMCOUNT) watch->lastCount = end;
  return result;
}

// The first paint that ended after `after`, or the epoch.
Clock::time_point PaintAfter(const ListWatch& watch, Clock::time_point after) {
  for (Clock::time_point done : watch.paintsDone)
    if (done > after) return done;
  return Clock::time_point{};
}

// ---- the library alone --------------------------------------------------------

// Copies of the contacts of an answer, and what a plain list shows of them.
struct RowCollector : CDataProviderCallback {
  bool keep = false;
  std::vector<Contact::CContactData> contacts;
  std::vector<std::wstring> cells;  // kColumns per row; a header row carries its letter only
  int lastSlot = -1;

  bool OnReturnContent(const std::wstring&, uint32_t, const ContentList& list) override {
    if (!keep) return true;
    for (const CContent* record : list) {
      auto* contact = dynamic_cast<const Contact::CContactData*>(record);
      if (!contact) continue;
      contacts.push_back(*contact);
      const int slot = Contact::FilingSlot(contact->m_index);
      if (slot != lastSlot) {
        lastSlot = slot;
        cells.push_back(slot == Contact::kOtherSlot ? L"Other" : std::wstring(1, static_cast<wchar_t>(L'A' + slot)));
        cells.insert(cells.end(), kColumns - 1, std::wstring());
      }
      std::wstring groups;
      for (const std::wstring& group : contact->m_groupNames) groups += group + L"  ";
      cells.insert(cells.end(), {contact->m_starred ? L"1" : L"0", contact->m_name[Contact::kDisplayName],
                                 contact->GetFirstPhone(), contact->GetFirstEmail(), groups, L"Edit Delete"});
    }
    return true;
  }
};

// ---- the plain list view -----------------------------------------------------

const std::vector<std::wstring>* g_plainCells = nullptr;

LRESULT CALLBACK ParentProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == WM_NOTIFY && g_plainCells && reinterpret_cast<NMHDR*>(lParam)->code == LVN_GETDISPINFOW) {
    auto* info = reinterpret_cast<NMLVDISPINFOW*>(lParam);
    const size_t cell = static_cast<size_t>(info->item.iItem) * kColumns + static_cast<size_t>(info->item.iSubItem);
    if ((info->item.mask & LVIF_TEXT) && cell < g_plainCells->size() && info->item.cchTextMax > 0)
      ::lstrcpynW(info->item.pszText, (*g_plainCells)[cell].c_str(), info->item.cchTextMax);
    return 0;
  }
  return ::DefWindowProcW(window, msg, wParam, lParam);
}

HWND MakeParent() {
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof(wc);
  wc.lpfnWndProc = ParentProc;
  wc.hInstance = ::GetModuleHandleW(nullptr);
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
  wc.lpszClassName = L"ContactsBenchParent";
  ::RegisterClassExW(&wc);
  HWND parent = ::CreateWindowExW(0, wc.lpszClassName, L"contacts bench", WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, 0,
                                  0, 1000, 700, nullptr, nullptr, wc.hInstance, nullptr);
  ::ShowWindow(parent, SW_SHOWNOACTIVATE);
  return parent;
}

LRESULT CALLBACK PassOn(HWND window, UINT msg, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR) {
  return ::DefSubclassProc(window, msg, wParam, lParam);
}

void SetItemSelected(HWND list, int item, bool selected) {
  LVITEMW state{};
  state.stateMask = LVIS_SELECTED;
  state.state = selected ? LVIS_SELECTED : 0;
  ::SendMessageW(list, LVM_SETITEMSTATE, static_cast<WPARAM>(item), reinterpret_cast<LPARAM>(&state));
}

// ---- small helpers -------------------------------------------------------------

std::wstring ProgramFolder() {
  wchar_t path[MAX_PATH];
  DWORD n = ::GetModuleFileNameW(nullptr, path, MAX_PATH);
  std::wstring folder(path, n);
  return folder.substr(0, folder.find_last_of(L"\\/"));
}

std::wstring TreeItemText(HWND tree, HTREEITEM item) {
  wchar_t text[260] = {};
  TVITEMW tv{};
  tv.mask = TVIF_TEXT;
  tv.hItem = item;
  tv.pszText = text;
  tv.cchTextMax = 260;
  ::SendMessageW(tree, TVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&tv));
  return text;
}

// Every "Display contact used time" the info log holds after `offset`.
std::vector<int> LoggedDisplayTimes(const std::wstring& log, std::streamoff offset) {
  std::ifstream in(log.c_str(), std::ios::binary);
  in.seekg(offset);
  std::vector<int> times;
  const std::string mark = "Display contact used time is: ";
  for (std::string line; std::getline(in, line);) {
    size_t at = line.find(mark);
    if (at != std::string::npos) times.push_back(std::atoi(line.c_str() + at + mark.size()));
  }
  return times;
}

std::streamoff FileSize(const std::wstring& path) {
  std::ifstream in(path.c_str(), std::ios::binary | std::ios::ate);
  return in ? static_cast<std::streamoff>(in.tellg()) : 0;
}

struct Figures {
  // (a), (b)
  std::vector<double> firstBatch, listed, listedPainted, refreshDone, counted;
  // (c): the first listing after the refresh apart from the later ones
  std::vector<double> nodeLogged, nodeFill, nodeInMessages, nodeResizing, nodeFilled, nodePainted;
  std::vector<double> firstListingToFill, laterListingToFill;
  // (d) and the platform's operations on the contact list
  std::vector<double> gridRefreshPaint, gridRedrawOn, gridColumnWidth, gridDeselectAll;
};

}  // namespace

int main() {
  INITCOMMONCONTROLSEX icc{sizeof(icc), ICC_WIN95_CLASSES | ICC_DATE_CLASSES | ICC_STANDARD_CLASSES |
                                            ICC_TAB_CLASSES | ICC_BAR_CLASSES | ICC_PROGRESS_CLASS};
  ::InitCommonControlsEx(&icc);
  ::OleInitialize(nullptr);
  Gdiplus::GdiplusStartupInput gdiplusInput;
  ULONG_PTR gdiplusToken = 0;
  Gdiplus::GdiplusStartup(&gdiplusToken, &gdiplusInput, nullptr);

  // A handset file and a log folder of this run's own.
  wchar_t temp[MAX_PATH];
  ::GetTempPathW(MAX_PATH, temp);
  const std::wstring folder = std::wstring(temp) + L"pim_bench_contacts";
  ::CreateDirectoryW(folder.c_str(), nullptr);
  const std::wstring file = folder + L"\\handset.dat";
  const std::wstring log = folder + L"\\log\\PimPluginInfo.log";
  ::DeleteFileW(file.c_str());
  ::DeleteFileW(log.c_str());
  LOG::SetLogRoot(folder);
  SetDeviceConnected(true);

  ProviderAutomation::UseHandsetFile(file);
  ProviderAutomation::Sample sample;
  sample.contacts = kPhoneContacts;
  ProviderAutomation::ResetHandset(sample);
  ProviderAutomation::UseHandsetFile(file);  // drops the store: read from the file as the host reads it
  bench::Stopwatch loadWatch;
  const ProviderAutomation::Counts counts = ProviderAutomation::GetCounts();
  const double loadMs = loadWatch.Milliseconds();
  const uint32_t total = static_cast<uint32_t>(counts.phoneContacts + counts.cardOneContacts + counts.cardTwoContacts);
  std::wstring totalLabel;
  GetString(L"common.total", totalLabel);
  totalLabel += L"(" + std::to_wstring(total) + L")";

  // The library's own share: answers inline, callbacks that keep nothing.
  RowCollector collector;
  double libraryRefresh = 0, libraryQuery = 0;
  {
    ProviderAutomation::SetInlineAnswers(true);
    IDataProvider* provider = CreateDataProvider(&collector);
    libraryRefresh = bench::BestOf(3, [&] { provider->DeleteProvider(ContentUri::kContactStore); });
    libraryQuery = bench::BestOf(3, [&] { provider->QueryAll(ContentUri::kContact); });
    collector.keep = true;
    provider->QueryAll(ContentUri::kContact);  // the rows of the model alone and of the plain list view
    DestroyDataProvider(provider);
    ProviderAutomation::SetInlineAnswers(false);
  }

  // The controller's model alone (no window): the 20,000 rows filed by letter
  // as a listing does, and as a bound one copy of each contact into room made
  // beforehand.
  std::vector<double> modelFill, modelClear, plainCopy;
  {
    ContentList records;
    for (Contact::CContactData& contact : collector.contacts) records.push_back(&contact);
    for (int i = 0; i < 5; ++i) {
      Contact::CContactRows rows;
      modelFill.push_back(Time([&] { rows.FillGrouped(records); }));
      modelClear.push_back(Time([&] { rows.Clear(); }));
      std::vector<Contact::CContactData> copies;
      plainCopy.push_back(Time([&] {
        copies.reserve(records.size());
        for (const CContent* record : records) copies.push_back(*static_cast<const Contact::CContactData*>(record));
      }));
    }
  }

  HMODULE resources = ::LoadLibraryW((ProgramFolder() + L"\\PimRes.dll").c_str());
  if (!resources) Fatal("PimRes.dll not found beside the benchmark");
  wf::SetResourceInstance(resources);
  SetDialogTemplateInstance(resources);
  HWND parent = MakeParent();

  Figures f;
  for (int run = 0; run < kWindowRuns; ++run) {
    ProviderAutomation::UseHandsetFile(file);  // the first request reads the file, as in the host
    auto window = std::make_unique<CPimWnd>();
    if (!window->Create(parent)) Fatal("the main window was not made");
    window->MoveWindow(0, 0, 959, 528);
    CContactOperate& contacts = window->Contacts();
    HWND list = window->ContactList().m_hWnd;
    HWND tree = window->ContactTree().m_hWnd;
    ListWatch watch;
    ::SetWindowSubclass(list, WatchList, 1, reinterpret_cast<DWORD_PTR>(&watch));

    // (a) and (b): the first show starts the refresh.
    Clock::time_point firstBatch{}, listed{}, refreshDone{}, counted{};
    const Clock::time_point shown = Clock::now();
    window->ShowWindow(SW_SHOW);
    const bool done = PumpUntil([&] {
      const Clock::time_point now = Clock::now();
      const int listedCount = contacts.Rows().ContactCount();
      if (firstBatch == Clock::time_point{} && listedCount > 0) firstBatch = now;
      // Filled inside a message from the library's thread; a paint may have
      // followed within the same look at the queue: the fill's end is the moment.
      if (listed == Clock::time_point{} && listedCount == static_cast<int>(counts.phoneContacts))
        // Streamed batches only change the item count; a fill switches redraw off and on.
        listed = watch.fills.empty() || watch.lastCount > watch.fills.back().end ? watch.lastCount
                                                                                 : watch.fills.back().end;
      if (refreshDone == Clock::time_point{} && listed != Clock::time_point{} && !contacts.IsRefreshing())
        refreshDone = now;
      if (counted == Clock::time_point{} && contacts.Counts().Total() == total) counted = now;
      return refreshDone != Clock::time_point{} && counted != Clock::time_point{};
    });
    if (!done) Fatal("the refresh did not end within two minutes");
    if (TreeItemText(tree, TreeView_GetRoot(tree)) != totalLabel) Fatal("the root does not show the total");
    if (!PumpUntil([&] { return PaintAfter(watch, listed) != Clock::time_point{}; })) Fatal("the list was not painted");
    f.firstBatch.push_back(Between(shown, firstBatch));
    f.listed.push_back(Between(shown, listed));
    f.listedPainted.push_back(Between(shown, PaintAfter(watch, listed)));
    f.refreshDone.push_back(Between(shown, refreshDone));
    f.counted.push_back(Between(shown, counted));
    Settle();

    // (c): the phone node listed again, in one answer. The first listing
    // after the refresh finds the first contact's row selected.
    for (int listing = 0; listing < kNodeListingsPerRun; ++listing) {
      const std::streamoff logOffset = FileSize(log);
      const size_t fillsBefore = watch.fills.size();
      const Clock::time_point selected = Clock::now();
      contacts.OnTreeSelect(contacts.ItemOf(Contact::ContactNode::kPhone));
      if (!PumpUntil([&] { return watch.fills.size() > fillsBefore && ::IsWindowEnabled(tree); }))
        Fatal("the phone node was not listed");
      const ListWatch::Fill fill = watch.fills.back();
      if (!PumpUntil([&] { return PaintAfter(watch, fill.end) != Clock::time_point{}; }))
        Fatal("no paint after the listing");
      if (contacts.Rows().ContactCount() != static_cast<int>(counts.phoneContacts)) Fatal("not every contact listed");
      f.nodeFill.push_back(Between(fill.start, fill.end));
      f.nodeInMessages.push_back(fill.inMessages);
      f.nodeResizing.push_back(fill.resizing);
      f.nodeFilled.push_back(Between(selected, fill.end));
      f.nodePainted.push_back(Between(selected, PaintAfter(watch, fill.end)));
      (listing == 0 ? f.firstListingToFill : f.laterListingToFill).push_back(Between(selected, fill.start));
      Settle();
      const std::vector<int> logged = LoggedDisplayTimes(log, logOffset);
      if (logged.empty()) Fatal("no display time in the info log");
      f.nodeLogged.push_back(logged.back());
    }

    // (d), the grid's side, and the platform's operations on this list.
    CQsSuperGrid& grid = window->ContactList();
    for (int i = 0; i < 3; ++i) {
      f.gridRefreshPaint.push_back(Time([&] {
        grid.Refresh();
        ::UpdateWindow(list);
      }));
      ::SendMessageW(list, WM_SETREDRAW, FALSE, 0);
      f.gridRedrawOn.push_back(Time([&] { ::SendMessageW(list, WM_SETREDRAW, TRUE, 0); }));
      Settle();
      const int width = static_cast<int>(::SendMessageW(list, LVM_GETCOLUMNWIDTH, 2, 0));
      f.gridColumnWidth.push_back(
          Time([&] { ::SendMessageW(list, LVM_SETCOLUMNWIDTH, 2, MAKELPARAM(width + 10, 0)); }));
      ::SendMessageW(list, LVM_SETCOLUMNWIDTH, 2, MAKELPARAM(width, 0));
      Settle();
    }
    if (run == 0) {
      for (int i = 0; i < 2; ++i) {
        grid.SelectRow(1);
        f.gridDeselectAll.push_back(Time([&] { grid.ClearSelection(); }));
        Settle();
      }
    }

    ::RemoveWindowSubclass(list, WatchList, 1);
    window->DestroyWindow();
    Settle();
    window.reset();
    Settle();
  }

  // (d), the plain owner-data list view with the same rows and columns.
  std::vector<double> plainSetPaint, plainSet, plainRedrawOn, plainColumnWidth, plainDeselectAll, plainSelectAll,
      plainFullRowDeselectAll, plainHeaderDeselectAll;
  const int plainRows = static_cast<int>(collector.cells.size() / kColumns);
  {
    g_plainCells = &collector.cells;
    HWND plain = ::CreateWindowExW(0, WC_LISTVIEWW, L"", WS_CHILD | WS_VISIBLE | LVS_REPORT | LVS_OWNERDATA, 0, 0, 772,
                                   492, parent, nullptr, ::GetModuleHandleW(nullptr), nullptr);
    const int widths[kColumns] = {40, 150, 150, 200, 110, 120};
    for (int i = 0; i < kColumns; ++i) {
      LVCOLUMNW column{};
      column.mask = LVCF_WIDTH;
      column.cx = widths[i];
      ::SendMessageW(plain, LVM_INSERTCOLUMNW, i, reinterpret_cast<LPARAM>(&column));
    }
    for (int i = 0; i < 5; ++i) {
      ::SendMessageW(plain, LVM_SETITEMCOUNT, 0, 0);
      ::UpdateWindow(plain);
      const Clock::time_point start = Clock::now();
      ::SendMessageW(plain, LVM_SETITEMCOUNT, plainRows, LVSICF_NOSCROLL);
      plainSet.push_back(Between(start, Clock::now()));
      ::UpdateWindow(plain);
      plainSetPaint.push_back(Between(start, Clock::now()));
    }
    for (int i = 0; i < 3; ++i) {
      ::SendMessageW(plain, WM_SETREDRAW, FALSE, 0);
      plainRedrawOn.push_back(Time([&] { ::SendMessageW(plain, WM_SETREDRAW, TRUE, 0); }));
      ::UpdateWindow(plain);
      plainColumnWidth.push_back(Time([&] { ::SendMessageW(plain, LVM_SETCOLUMNWIDTH, 2, MAKELPARAM(160, 0)); }));
      ::SendMessageW(plain, LVM_SETCOLUMNWIDTH, 2, MAKELPARAM(150, 0));
      ::UpdateWindow(plain);
    }
    for (int i = 0; i < 2; ++i) {
      SetItemSelected(plain, 1, true);
      plainDeselectAll.push_back(Time([&] { SetItemSelected(plain, -1, false); }));
    }
    plainSelectAll.push_back(Time([&] { SetItemSelected(plain, -1, true); }));
    SetItemSelected(plain, -1, false);
    // The grid selects full rows and skins the list's header by subclassing
    // it: with full-row selection a list view that walks every item asks its
    // header on the way, and a subclassed window's messages are dear under Wine.
    HWND plainHeader = reinterpret_cast<HWND>(::SendMessageW(plain, LVM_GETHEADER, 0, 0));
    for (int i = 0; i < 2; ++i) {
      ::SendMessageW(plain, LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_FULLROWSELECT, LVS_EX_FULLROWSELECT);
      SetItemSelected(plain, 1, true);
      plainFullRowDeselectAll.push_back(Time([&] { SetItemSelected(plain, -1, false); }));
    }
    ::SetWindowSubclass(plainHeader, PassOn, 1, 0);
    for (int i = 0; i < 2; ++i) {
      SetItemSelected(plain, 1, true);
      plainHeaderDeselectAll.push_back(Time([&] { SetItemSelected(plain, -1, false); }));
    }
    ::RemoveWindowSubclass(plainHeader, PassOn, 1);
    ::DestroyWindow(plain);
    g_plainCells = nullptr;
  }

  const std::string size = std::to_string(counts.phoneContacts) + " phone + " +
                           std::to_string(counts.cardOneContacts + counts.cardTwoContacts) + " card contacts";
  bench::Report("handset file read at the first request (" + size + ")", loadMs, "ms", "one run");
  bench::Report("library alone: full contact refresh, callbacks do nothing", libraryRefresh, "ms", "best of 3");
  bench::Report("library alone: phone contacts queried, callbacks do nothing", libraryQuery, "ms", "best of 3");

  bench::Report("(a) first show -> first contact listed", Median(f.firstBatch), "ms", Spread(f.firstBatch));
  bench::Report("(a) first show -> last contact listed", Median(f.listed), "ms", Spread(f.listed) + "; target < 1000 ms");
  bench::Report("(a) first show -> last contact listed and painted", Median(f.listedPainted), "ms",
                Spread(f.listedPainted));
  bench::Report("(a) first show -> refresh complete", Median(f.refreshDone), "ms", Spread(f.refreshDone));
  bench::Report("(b) first show -> tree counted (root shows the total)", Median(f.counted), "ms",
                Spread(f.counted) + "; target < 1500 ms");

  bench::Report("(c) listing 20,000: \"Display contact used time\" logged", Median(f.nodeLogged), "ms",
                Spread(f.nodeLogged) + "; target < 100 ms");
  bench::Report("(c) listing 20,000: the fill seen on the list (redraw off..on)", Median(f.nodeFill), "ms",
                Spread(f.nodeFill) + "; target < 100 ms");
  bench::Report("(c) of which in the list view's own messages", Median(f.nodeInMessages), "ms",
                Spread(f.nodeInMessages) + "; columns laid out again (WM_SIZE): " + Ms(Median(f.nodeResizing)));
  bench::Report("(c) the model alone: CContactRows::FillGrouped of the 20,000, new rows", Median(modelFill), "ms",
                Spread(modelFill) + "; Clear: " + Ms(Median(modelClear)));
  bench::Report("(c) the model alone, bound: one copy of each contact into reserved room", Median(plainCopy), "ms",
                Spread(plainCopy));
  bench::Report("(c) listing 20,000: tree selection -> list filled", Median(f.nodeFilled), "ms",
                Spread(f.nodeFilled) + "; the library's query included");
  bench::Report("(c) listing 20,000: tree selection -> list painted", Median(f.nodePainted), "ms",
                Spread(f.nodePainted));
  bench::Report("(c) tree selection -> fill starts, first listing after the refresh", Median(f.firstListingToFill),
                "ms", Spread(f.firstListingToFill) + "; a row is selected and the list is cleared");
  bench::Report("(c) tree selection -> fill starts, later listings", Median(f.laterListingToFill), "ms",
                Spread(f.laterListingToFill));

  bench::Report("(d) super grid: Refresh + first paint, same rows", Median(f.gridRefreshPaint), "ms",
                Spread(f.gridRefreshPaint));
  bench::Report("(d) plain owner-data list view: item count set", Median(plainSet), "ms", Spread(plainSet));
  bench::Report("(d) plain owner-data list view: item count set + first paint", Median(plainSetPaint), "ms",
                Spread(plainSetPaint) + "; " + std::to_string(plainRows) + " rows");

  bench::Report("platform, contact list: redraw switched on (WM_SETREDRAW TRUE)", Median(f.gridRedrawOn), "ms",
                Spread(f.gridRedrawOn));
  bench::Report("platform, plain list: redraw switched on", Median(plainRedrawOn), "ms", Spread(plainRedrawOn));
  bench::Report("platform, contact list: one column's width set", Median(f.gridColumnWidth), "ms",
                Spread(f.gridColumnWidth));
  bench::Report("platform, plain list: one column's width set", Median(plainColumnWidth), "ms",
                Spread(plainColumnWidth));
  bench::Report("platform, contact list: deselect all (LVM_SETITEMSTATE -1), one row selected",
                Median(f.gridDeselectAll), "ms", Spread(f.gridDeselectAll));
  bench::Report("platform, plain list: deselect all, one row selected", Median(plainDeselectAll), "ms",
                Spread(plainDeselectAll));
  bench::Report("platform, plain list: select all", Median(plainSelectAll), "ms", Spread(plainSelectAll));
  bench::Report("platform, plain list, full-row selection: deselect all, one row selected",
                Median(plainFullRowDeselectAll), "ms", Spread(plainFullRowDeselectAll));
  bench::Report("platform, plain list, full-row selection, header subclassed: deselect all, one row selected",
                Median(plainHeaderDeselectAll), "ms", Spread(plainHeaderDeselectAll));

  ::DestroyWindow(parent);
  ProviderAutomation::UseHandsetFile(L"");
  ::DeleteFileW(file.c_str());
  LOG::SetLogRoot(L"");
  Gdiplus::GdiplusShutdown(gdiplusToken);
  ::OleUninitialize();
  return 0;
}
