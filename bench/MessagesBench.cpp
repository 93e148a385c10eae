// The messages module at a large handset's size, in the real main window made
// from the resource module inside a parent window, as the host makes it. The
// answers are handed to the controller on this (the user-interface) thread,
// as the marshal hands them over, so the figures are the module's own:
//
//   (a) one folder of 10,000 messages over many days: from the answer to the
//       rows grouped by day and the list painted; beside it a plain owner-data
//       report list view given the same rows and painted;
//   (b) the conversation list from a grouped answer of 50,000 messages
//       (2,000 numbers): tree built, first conversation in the bubble view;
//   (c) a conversation of 10,000 messages: from the answer to the bubble view
//       painted, then scrolled end to end a page at a time and a line at a
//       time, each step painted (median and worst).
#include <windows.h>
#include <commctrl.h>
#include <objbase.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "BenchSupport.h"
#include "content/ContentUri.h"
#include "frame/DialogTemplates.h"
#include "frame/PimWnd.h"
#include "framework/GdiPlus.h"
#include "framework/Module.h"
#include "message/MessageTexts.h"
#include "message/MessageTime.h"
#include "provider/ProviderAutomation.h"
#include "standins/base/LogControl.h"
#include "standins/connect/ConnectControl.h"

namespace {

using Clock = std::chrono::steady_clock;
using Message::CSMSData;

constexpr int kFolderMessages = 10000;
constexpr int kConversationMessages = 50000;
constexpr int kNumbers = 2000;
constexpr int kLongConversation = 10000;
constexpr int kRuns = 5;

using bench::Median;

using bench::Worst;

[[noreturn]] void Fatal(const char* what) {
  std::printf("bench_messages: %s\n", what);
  std::fflush(stdout);
  std::exit(1);
}

std::wstring ProgramFolder() {
  wchar_t path[MAX_PATH];
  DWORD n = ::GetModuleFileNameW(nullptr, path, MAX_PATH);
  std::wstring folder(path, n);
  return folder.substr(0, folder.find_last_of(L"\\/"));
}

void Pump() {
  MSG msg;
  while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    ::TranslateMessage(&msg);
    ::DispatchMessageW(&msg);
  }
}

// Texts of the lengths people write: mostly short, some long.
std::wstring Body(unsigned i) {
  static const wchar_t* words[] = {L"see", L"you", L"at", L"eight", L"tomorrow", L"the", L"station", L"thanks",
                                   L"call", L"me", L"when", L"free", L"meeting", L"moved", L"to", L"Friday"};
  unsigned length = (i * 7919u) % 23u == 0 ? 120 : 4 + (i * 31u) % 18u;
  std::wstring text;
  for (unsigned w = 0; w < length; ++w) {
    if (w) text += L' ';
    text += words[(i + w * 13u) % 16u];
  }
  return text;
}

// `count` messages newest first, a few a day going back from 2026-11-30.
std::vector<CSMSData> MakeMessages(int count, int numbers, ContentId firstId) {
  std::vector<CSMSData> made;
  made.reserve(count);
  SYSTEMTIME day{2026, 11, 0, 30, 12, 0, 0, 0};
  FILETIME file;
  ::SystemTimeToFileTime(&day, &file);
  ULARGE_INTEGER at{{file.dwLowDateTime, file.dwHighDateTime}};
  for (int i = 0; i < count; ++i) {
    at.QuadPart -= 37ull * 60 * 10000000;  // 37 minutes earlier each
    FILETIME t{at.LowPart, at.HighPart};
    SYSTEMTIME s;
    ::FileTimeToSystemTime(&t, &s);
    CSMSData m;
    m.m_id = firstId + static_cast<ContentId>(i);
    m.m_folderId = Message::kFolderInbox;
    m.m_phoneNumber = L"138" + std::to_wstring(10000000 + i % numbers);
    m.m_time = Message::MessageTimeText(s.wYear, s.wMonth, s.wDay, s.wHour, s.wMinute, s.wSecond);
    m.m_body = Body(static_cast<unsigned>(i));
    m.m_read = i % 3 != 0;
    m.m_state = i % 2 ? CSMSData::kStateOutgoing : 0;
    m.m_cardId = 1;
    made.push_back(std::move(m));
  }
  return made;
}

ContentList ListOf(std::vector<CSMSData>& messages) {
  ContentList list;
  for (CSMSData& m : messages) list.push_back(&m);
  return list;
}

HWND MakeParent() {
  WNDCLASSW wc{};
  wc.lpfnWndProc = ::DefWindowProcW;
  wc.hInstance = ::GetModuleHandleW(nullptr);
  wc.lpszClassName = L"PimMessagesBenchParent";
  ::RegisterClassW(&wc);
  HWND parent = ::CreateWindowExW(0, wc.lpszClassName, L"bench", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 1000, 600,
                                  nullptr, nullptr, wc.hInstance, nullptr);
  if (!parent) Fatal("no parent window");
  return parent;
}

// The plain list view's cells for the same rows.
const std::vector<std::wstring>* g_plainCells = nullptr;
constexpr int kColumns = 7;

LRESULT CALLBACK PlainParent(HWND window, UINT msg, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR) {
  if (msg == WM_NOTIFY && g_plainCells && reinterpret_cast<NMHDR*>(lParam)->code == LVN_GETDISPINFOW) {
    auto* info = reinterpret_cast<NMLVDISPINFOW*>(lParam);
    size_t cell = static_cast<size_t>(info->item.iItem) * kColumns + static_cast<size_t>(info->item.iSubItem);
    if ((info->item.mask & LVIF_TEXT) && cell < g_plainCells->size() && info->item.cchTextMax > 0)
      ::lstrcpynW(info->item.pszText, (*g_plainCells)[cell].c_str(), info->item.cchTextMax);
    return 0;
  }
  return ::DefSubclassProc(window, msg, wParam, lParam);
}

}  // namespace

int main() {
  INITCOMMONCONTROLSEX icc{sizeof(icc), ICC_WIN95_CLASSES | ICC_DATE_CLASSES | ICC_STANDARD_CLASSES |
                                            ICC_TAB_CLASSES | ICC_BAR_CLASSES | ICC_PROGRESS_CLASS};
  ::InitCommonControlsEx(&icc);
  ::OleInitialize(nullptr);
  Gdiplus::GdiplusStartupInput gdiplusInput;
  ULONG_PTR gdiplusToken = 0;
  Gdiplus::GdiplusStartup(&gdiplusToken, &gdiplusInput, nullptr);

  wchar_t temp[MAX_PATH];
  ::GetTempPathW(MAX_PATH, temp);
  const std::wstring folder = std::wstring(temp) + L"pim_bench_messages";
  ::CreateDirectoryW(folder.c_str(), nullptr);
  LOG::SetLogRoot(folder);
  SetDeviceConnected(true);
  ProviderAutomation::UseHandsetFile(folder + L"\\handset.dat");
  ProviderAutomation::Sample sample;  // the system folders, nothing else
  ProviderAutomation::ResetHandset(sample);

  HMODULE resources = ::LoadLibraryW((ProgramFolder() + L"\\PimRes.dll").c_str());
  if (!resources) Fatal("PimRes.dll not found beside the benchmark");
  wf::SetResourceInstance(resources);
  SetDialogTemplateInstance(resources);
  HWND parent = MakeParent();

  auto window = std::make_unique<CPimWnd>();
  if (!window->Create(parent)) Fatal("the main window was not made");
  window->MoveWindow(0, 0, 959, 528);
  window->ShowWindow(SW_SHOW);
  window->Tabs().SendMessage(TCM_SETCURSEL, 1);
  NMHDR change{window->Tabs(), IDC_MODULE_TAB, TCN_SELCHANGE};
  window->SendMessage(WM_NOTIFY, IDC_MODULE_TAB, reinterpret_cast<LPARAM>(&change));
  for (int i = 0; i < 20; ++i) {
    ProviderAutomation::WaitIdle();
    Pump();
  }
  CSMSOperate& messages = window->Messages();
  if (messages.Folders().empty()) Fatal("the folders were not listed");

  // (a) One folder of 10,000 messages.
  std::vector<CSMSData> folderMessages = MakeMessages(kFolderMessages, 400, 1);
  ContentList folderList = ListOf(folderMessages);
  std::vector<double> folderFill, folderPainted, plainPainted;
  HWND list = window->MessageList();
  for (int run = 0; run < kRuns; ++run) {
    bench::Stopwatch watch;
    messages.OnReturnContent(ContentUri::kSmsInFolder, 0, folderList);
    folderFill.push_back(watch.Milliseconds());
    ::UpdateWindow(list);
    folderPainted.push_back(watch.Milliseconds());
    Pump();
  }
  const int rows = messages.Rows().RowCount();
  if (messages.Rows().MessageCount() != kFolderMessages) Fatal("not every message listed");

  // The same rows in a plain owner-data report list view.
  std::vector<std::wstring> cells;
  cells.reserve(static_cast<size_t>(rows) * kColumns);
  for (int row = 0; row < rows; ++row) {
    for (int column = 0; column < kColumns; ++column) {
      CQsGridCell cell;
      messages.Rows().GetCell(row, column, cell);
      cells.push_back(cell.text);
    }
  }
  g_plainCells = &cells;
  ::SetWindowSubclass(parent, PlainParent, 1, 0);
  HWND plain = ::CreateWindowExW(0, WC_LISTVIEWW, L"", WS_CHILD | WS_VISIBLE | LVS_REPORT | LVS_OWNERDATA, 0, 0, 772,
                                 492, parent, nullptr, ::GetModuleHandleW(nullptr), nullptr);
  const int widths[kColumns] = {38, 38, 115, 193, 154, 154, 80};
  for (int i = 0; i < kColumns; ++i) {
    LVCOLUMNW column{};
    column.mask = LVCF_WIDTH;
    column.cx = widths[i];
    ::SendMessageW(plain, LVM_INSERTCOLUMNW, i, reinterpret_cast<LPARAM>(&column));
  }
  ::BringWindowToTop(plain);
  for (int run = 0; run < kRuns; ++run) {
    ::SendMessageW(plain, LVM_SETITEMCOUNT, 0, 0);
    ::UpdateWindow(plain);
    bench::Stopwatch watch;
    ::SendMessageW(plain, LVM_SETITEMCOUNT, rows, LVSICF_NOSCROLL);
    ::UpdateWindow(plain);
    plainPainted.push_back(watch.Milliseconds());
  }
  ::DestroyWindow(plain);
  ::RemoveWindowSubclass(parent, PlainParent, 1);
  Pump();

  // (b) The conversations of 50,000 messages.
  window->SendMessage(WM_COMMAND, MAKEWPARAM(IDC_SMS_MODE_CHAT, BN_CLICKED),
                      reinterpret_cast<LPARAM>(window->GetDlgItem(IDC_SMS_MODE_CHAT)));
  for (int i = 0; i < 20; ++i) {
    ProviderAutomation::WaitIdle();
    Pump();
  }
  std::vector<CSMSData> all = MakeMessages(kConversationMessages, kNumbers, 100000);
  GroupedContent groups;
  {
    std::vector<ContentList> byNumber(kNumbers);
    for (CSMSData& m : all) byNumber[std::stoi(m.m_phoneNumber.substr(3)) - 10000000].push_back(&m);
    for (int n = 0; n < kNumbers; ++n) groups.emplace_back(L"138" + std::to_wstring(10000000 + n), byNumber[n]);
  }
  // Each run builds the tree anew (an empty answer first, untimed), as
  // switching to conversations does; then the same answer again, which
  // keeps the entries.
  std::vector<double> conversationsShown, conversationsComplete, conversationsAgain;
  HWND chatTree = window->ChatTree();
  auto treeCount = [&] { return static_cast<int>(::SendMessageW(chatTree, TVM_GETCOUNT, 0, 0)); };
  for (int run = 0; run < kRuns; ++run) {
    messages.OnReturnGroupContent(ContentUri::kConversations, 0, GroupedContent{});
    Pump();
    bench::Stopwatch watch;
    messages.OnReturnGroupContent(ContentUri::kConversations, 0, groups);
    ::UpdateWindow(chatTree);
    ::UpdateWindow(messages.ChatWindow());
    conversationsShown.push_back(watch.Milliseconds());
    MSG msg;
    while (treeCount() < kNumbers && ::GetMessageW(&msg, nullptr, 0, 0)) {
      ::TranslateMessage(&msg);
      ::DispatchMessageW(&msg);
    }
    ::UpdateWindow(chatTree);
    conversationsComplete.push_back(watch.Milliseconds());
    Pump();
    watch.Restart();
    messages.OnReturnGroupContent(ContentUri::kConversations, 0, groups);
    ::UpdateWindow(chatTree);
    ::UpdateWindow(messages.ChatWindow());
    conversationsAgain.push_back(watch.Milliseconds());
    Pump();
  }
  if (static_cast<int>(messages.Conversations().size()) != kNumbers) Fatal("not every conversation listed");

  // (c) A conversation of 10,000 messages, opened and scrolled end to end.
  std::vector<CSMSData> longOne = MakeMessages(kLongConversation, 1, 1000000);
  ContentList longList = ListOf(longOne);
  CQsChartModeContrl& bubbles = messages.ChatWindow().Bubbles();
  std::vector<double> opened, pageSteps, lineSteps;
  for (int run = 0; run < kRuns; ++run) {
    bench::Stopwatch watch;
    messages.OnReturnContent(ContentUri::kSmsOfNumber, 0, longList);
    ::UpdateWindow(bubbles);
    opened.push_back(watch.Milliseconds());
    Pump();
  }
  if (bubbles.GetItemCount() != kLongConversation) Fatal("not every bubble shown");
  bubbles.ScrollTo(0);
  ::UpdateWindow(bubbles);
  for (int guard = 0; guard < 100000; ++guard) {
    int before = bubbles.GetScrollTop();
    bench::Stopwatch watch;
    bubbles.SendMessage(WM_VSCROLL, SB_PAGEDOWN, 0);
    ::UpdateWindow(bubbles);
    pageSteps.push_back(watch.Milliseconds());
    if (bubbles.GetScrollTop() == before) break;
  }
  for (int guard = 0; guard < 2000; ++guard) {
    int before = bubbles.GetScrollTop();
    bench::Stopwatch watch;
    bubbles.SendMessage(WM_VSCROLL, SB_LINEUP, 0);
    ::UpdateWindow(bubbles);
    lineSteps.push_back(watch.Milliseconds());
    if (bubbles.GetScrollTop() == before) break;
  }

  bench::Report("messages.folder10000.fill", Median(folderFill), "ms", "answer to rows grouped by day (median)");
  bench::Report("messages.folder10000.painted", Median(folderPainted), "ms", "answer to list painted (median)");
  bench::Report("messages.folder10000.plainlist", Median(plainPainted), "ms",
                "plain owner-data list view, same rows, set and painted (median)");
  bench::Report("messages.conversations50000.shown", Median(conversationsShown), "ms",
                "grouped answer to the tree's first screen and the first conversation painted (median)");
  bench::Report("messages.conversations50000.complete", Median(conversationsComplete), "ms",
                "the same to all 2,000 tree entries made (median)");
  bench::Report("messages.conversations50000.again", Median(conversationsAgain), "ms",
                "the same answer again, entries kept (median)");
  bench::Report("messages.conversation10000.open", Median(opened), "ms", "answer to bubbles painted (median)");
  bench::Report("messages.conversation10000.page.median", Median(pageSteps), "ms",
                std::to_string(pageSteps.size()) + " page steps end to end");
  bench::Report("messages.conversation10000.page.worst", Worst(pageSteps), "ms");
  bench::Report("messages.conversation10000.line.median", Median(lineSteps), "ms",
                std::to_string(lineSteps.size()) + " line steps");
  bench::Report("messages.conversation10000.line.worst", Worst(lineSteps), "ms");

  window.reset();
  ::DestroyWindow(parent);
  ProviderAutomation::WaitIdle();
  Gdiplus::GdiplusShutdown(gdiplusToken);
  return 0;
}
