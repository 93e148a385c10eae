// The calendar module on a handset of 5,000 events (a share of them
// repeating), in the real main window made from the resource module inside a
// parent window, as the host makes it. Requests go to the simulated library,
// whose thread answers; the marshal hands each answer over on this (the
// user-interface) thread while it pumps its messages as the host's loop does.
//
//   (a) a month change in the month view: the selected day moves to a month
//       that the last answer does not cover (the view asks and redraws when
//       the answer comes): request -> answer handed over -> day models built
//       -> the view (header and body) painted. June 2025 holds about 2,000
//       event occurrences in its six weeks; November 2026, the handset's
//       busiest stretch, about 7,600. Beside it: a step to the neighbouring
//       month, which is drawn at once from the last answer;
//   (b) the list view of a month: QueryListMonth -> answer -> rows built ->
//       list painted;
//   (c) the mini calendar's paint into a memory device context, and its
//       WM_PAINT.
//
// Where the time goes: marks between the support's listeners (probes put
// around each of them, in their order) split an answer's handling by part;
// the month body's layout is timed apart from its drawing, in English and in
// Simplified Chinese (which adds the lunar texts), and its drawing into a
// bitmap compatible with the screen apart from the 32-bit DIB section that
// the window's buffered WM_PAINT draws into (GDI+ under Wine is several times
// slower into the latter).
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
#include "calendar/CalendarSupport.h"
#include "calendar/MonthGrid.h"
#include "content/ContentUri.h"
#include "frame/DialogTemplates.h"
#include "frame/PimWnd.h"
#include "framework/Clock.h"
#include "framework/Gdi.h"
#include "framework/GdiPlus.h"
#include "framework/Module.h"
#include "provider/ProviderAutomation.h"
#include "standins/base/LogControl.h"
#include "standins/connect/ConnectControl.h"

namespace {

using Clock = std::chrono::steady_clock;
using TimePoint = Clock::time_point;

constexpr int kEvents = 5000;
constexpr int kRuns = 7;
constexpr int kPaintRepeats = 30;
constexpr double kPatienceMs = 60000;

double Between(TimePoint from, TimePoint to) { return std::chrono::duration<double, std::milli>(to - from).count(); }

template <class F>
double Time(F body) {
  const TimePoint start = Clock::now();
  body();
  return Between(start, Clock::now());
}

using bench::Median;

using bench::Worst;

std::string Spread(const std::vector<double>& values) {
  if (values.empty()) return "no runs";
  char text[96];
  std::snprintf(text, sizeof text, "median of %zu; worst %.1f, best %.1f", values.size(), Worst(values),
                *std::min_element(values.begin(), values.end()));
  return text;
}

[[noreturn]] void Fatal(const std::string& what) {
  std::printf("bench_calendar: %s\n", what.c_str());
  std::fflush(stdout);
  std::exit(1);
}

std::wstring ProgramFolder() {
  wchar_t path[MAX_PATH];
  DWORD n = ::GetModuleFileNameW(nullptr, path, MAX_PATH);
  std::wstring folder(path, n);
  return folder.substr(0, folder.find_last_of(L"\\/"));
}

std::string Ms(double value) {
  char text[32];
  std::snprintf(text, sizeof text, "%.1f ms", value);
  return text;
}

std::string DayName(const CCHSDate& day) {
  char text[16];
  std::snprintf(text, sizeof text, "%04d-%02d", day.Year(), day.Month());
  return text;
}

// ---- pumping, as the host's loop does ----------------------------------------

// Pumps until `done` holds, checked after every message; false on the deadline.
template <class Done>
bool PumpUntil(Done done) {
  const TimePoint start = Clock::now();
  MSG msg;
  while (!done()) {
    if (Between(start, Clock::now()) > kPatienceMs) return false;
    if (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
      ::TranslateMessage(&msg);
      ::DispatchMessageW(&msg);
    } else {
      ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 1, QS_ALLINPUT);
    }
  }
  return true;
}

// Every answer delivered and the queue dry (paints included).
void Settle() {
  for (;;) {
    ProviderAutomation::WaitIdle();
    bool any = false;
    MSG msg;
    while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
      ::TranslateMessage(&msg);
      ::DispatchMessageW(&msg);
      any = true;
    }
    if (!any) return;
  }
}

// ---- the answer's way through the calendar's parts ----------------------------

// Marks of one grouped answer: one before the first listener and one after
// each (their order kept). The last probe also counts the occurrences.
struct AnswerMarks {
  std::vector<TimePoint> marks;
  size_t expected = 0;
  size_t occurrences = 0;
  // With `keep`, the last probe keeps a copy of the answer (untimed runs only).
  bool keep = false;
  std::vector<std::pair<std::wstring, std::vector<Calendar::CCalendarData>>> kept;
  bool Complete() const { return marks.size() == expected; }
  void Reset() { marks.clear(), occurrences = 0; }
};

class Probe : public CDataProviderCallback {
 public:
  Probe(AnswerMarks& marks, bool last) : m_marks(marks), m_last(last) {}
  bool OnReturnGroupContent(const std::wstring& uri, uint32_t status, const GroupedContent& groups) override {
    if (uri != ContentUri::kCalendar || status != 0) return true;
    m_marks.marks.push_back(Clock::now());
    if (!m_last) return true;
    for (const auto& day : groups) m_marks.occurrences += day.second.size();
    if (m_marks.keep) {
      m_marks.kept.clear();
      for (const auto& [dayText, events] : groups) {
        m_marks.kept.emplace_back(dayText, std::vector<Calendar::CCalendarData>{});
        for (const CContent* record : events)
          if (auto* event = dynamic_cast<const Calendar::CCalendarData*>(record))
            m_marks.kept.back().second.push_back(*event);
      }
    }
    return true;
  }

 private:
  AnswerMarks& m_marks;
  bool m_last;
};

// Puts a probe before the support's first listener and after each one.
// Answers the listeners in their order.
std::vector<IDataProviderCallback*> InsertProbes(AnswerMarks& marks, std::vector<std::unique_ptr<Probe>>& probes) {
  CCalendarSupport& support = CCalendarSupport::GetInstance();
  const std::vector<IDataProviderCallback*> parts = support.Listeners();
  for (IDataProviderCallback* part : parts) support.RemoveListener(part);
  probes.push_back(std::make_unique<Probe>(marks, parts.empty()));
  support.AddListener(probes.back().get());
  for (size_t i = 0; i < parts.size(); ++i) {
    support.AddListener(parts[i]);
    probes.push_back(std::make_unique<Probe>(marks, i + 1 == parts.size()));
    support.AddListener(probes.back().get());
  }
  marks.expected = probes.size();
  return parts;
}

// ---- paints of a window ----------------------------------------------------------

struct PaintWatch {
  struct Paint {
    TimePoint start, end;
  };
  std::vector<Paint> paints;
  // The first paint that started after `after`, or null.
  const Paint* After(TimePoint after) const {
    for (const Paint& paint : paints)
      if (paint.start > after) return &paint;
    return nullptr;
  }
};

LRESULT CALLBACK WatchPaints(HWND window, UINT msg, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR data) {
  if (msg != WM_PAINT) return ::DefSubclassProc(window, msg, wParam, lParam);
  const TimePoint start = Clock::now();
  const LRESULT result = ::DefSubclassProc(window, msg, wParam, lParam);
  reinterpret_cast<PaintWatch*>(data)->paints.push_back({start, Clock::now()});
  return result;
}

// ---- a memory device context of a window's client size ----------------------------

class MemoryDc {
 public:
  explicit MemoryDc(HWND window) {
    RECT client{};
    ::GetClientRect(window, &client);
    HDC screen = ::GetDC(nullptr);
    m_dc = ::CreateCompatibleDC(screen);
    m_bitmap = ::CreateCompatibleBitmap(screen, std::max(1L, client.right), std::max(1L, client.bottom));
    m_old = ::SelectObject(m_dc, m_bitmap);
    ::ReleaseDC(nullptr, screen);
  }
  ~MemoryDc() {
    ::SelectObject(m_dc, m_old);
    ::DeleteObject(m_bitmap);
    ::DeleteDC(m_dc);
  }
  MemoryDc(const MemoryDc&) = delete;
  MemoryDc& operator=(const MemoryDc&) = delete;
  HDC Get() const { return m_dc; }

 private:
  HDC m_dc = nullptr;
  HBITMAP m_bitmap = nullptr;
  HGDIOBJ m_old = nullptr;
};

// ---- the language setting ----------------------------------------------------------

constexpr wchar_t kSettingKey[] = L"Software\\Norvane\\Tamix";

// Sets the suite's language for this run and puts the previous setting back.
class LanguageSetting {
 public:
  explicit LanguageSetting(const std::wstring& language) {
    HKEY key = nullptr;
    if (::RegOpenKeyExW(HKEY_CURRENT_USER, kSettingKey, 0, KEY_QUERY_VALUE, &key) == ERROR_SUCCESS) {
      m_hadKey = true;
      wchar_t value[128] = {};
      DWORD bytes = sizeof(value) - sizeof(wchar_t), type = 0;
      if (::RegQueryValueExW(key, L"LanguageId", nullptr, &type, reinterpret_cast<BYTE*>(value), &bytes) ==
              ERROR_SUCCESS &&
          type == REG_SZ) {
        m_had = true;
        m_previous = value;
      }
      ::RegCloseKey(key);
    }
    Write(language);
  }
  ~LanguageSetting() {
    if (m_had)
      Write(m_previous);
    else if (m_hadKey)
      ::RegDeleteKeyValueW(HKEY_CURRENT_USER, kSettingKey, L"LanguageId");
    else
      ::RegDeleteKeyW(HKEY_CURRENT_USER, kSettingKey);
  }
  LanguageSetting(const LanguageSetting&) = delete;
  LanguageSetting& operator=(const LanguageSetting&) = delete;

 private:
  static void Write(const std::wstring& text) {
    ::RegSetKeyValueW(HKEY_CURRENT_USER, kSettingKey, L"LanguageId", REG_SZ, text.c_str(),
                      static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t)));
  }
  bool m_hadKey = false;
  bool m_had = false;
  std::wstring m_previous;
};

// ---- the figures ---------------------------------------------------------------------

struct MonthChange {
  std::vector<double> toAnswer;      // request -> answer handed over on this thread
  std::vector<double> earlyPaint;    // of it, the body drawn at once (the new month, no events yet)
  std::vector<double> answerModel;   // answer -> every part done with it (the view's day models)
  std::vector<double> viewShare;     // of it, the month view's own handling
  std::vector<double> answerPainted; // answer -> header and body painted
  std::vector<double> bodyPaint;     // the body's WM_PAINT after the answer
  std::vector<double> headerPaint;   // the header's (the control's own) WM_PAINT after the answer
  std::vector<double> whole;         // request -> painted
  size_t answerOccurrences = 0;
  int gridOccurrences = 0;
};

struct Profile {
  std::vector<double> layout, paint;  // CurrentLayout alone; Paint (layout and drawing) into a memory DC
  std::vector<double> paintDib;       // Paint into a 32-bit DIB section, as WM_PAINT's buffer is
  std::vector<double> wmPaint;        // invalidated and updated: the window's own WM_PAINT
  // The same layout drawn by PaintMonthBody without any text (fills only),
  // into either bitmap: what the texts cost in each.
  std::vector<double> fillsDdb, fillsDib;
  size_t lines = 0, markers = 0;
};

// The body's layout and drawing apart, into a bitmap compatible with the
// screen and into a DIB section like the one WM_PAINT draws into.
Profile ProfileBody(CCalendarMonthViewBodyWnd& body) {
  Profile profile;
  MemoryDc memory(body);
  const RECT client = body.GetClientRect();
  wf::MemoryCanvas dib(memory.Get(), client.right, client.bottom);
  body.Paint(memory.Get());  // fonts and look loaded once
  for (int i = 0; i < kPaintRepeats; ++i) {
    profile.layout.push_back(Time([&] { (void)body.CurrentLayout(); }));
    profile.paint.push_back(Time([&] { body.Paint(memory.Get()); }));
    profile.paintDib.push_back(Time([&] { body.Paint(dib); }));
    body.Invalidate(FALSE);
    profile.wmPaint.push_back(Time([&] { ::UpdateWindow(body); }));
  }
  Calendar::MonthBodyLayout fills = body.CurrentLayout();
  profile.lines = fills.lines.size();
  for (const Calendar::MonthCell& cell : fills.cells) profile.markers += cell.marker;
  fills.lines.clear();
  for (Calendar::MonthCell& cell : fills.cells) cell.number.clear(), cell.lunar.clear(), cell.marker = false;
  const Calendar::MonthLook look = Calendar::LoadMonthLook();
  for (int i = 0; i < kPaintRepeats; ++i) {
    profile.fillsDdb.push_back(Time([&] {
      Gdiplus::Graphics g(memory.Get());
      Calendar::PaintMonthBody(g, fills, look);
    }));
    profile.fillsDib.push_back(Time([&] {
      Gdiplus::Graphics g(dib.dc());
      Calendar::PaintMonthBody(g, fills, look);
    }));
  }
  return profile;
}

int GridOccurrences(const Calendar::MonthBodyLayout& layout) {
  int total = 0;
  for (const Calendar::MonthCell& cell : layout.cells) total += cell.eventCount;
  return total;
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

  // Today is fixed inside the busy month, so that its grid shows past and
  // coming events.
  wf::SetClock([] { return SYSTEMTIME{2025, 6, 3, 18, 10, 0, 0, 0}; });  // Wednesday 18 June 2025
  const CCHSDate busyMonth(2025, 6, 18);   // about 2,000 occurrences in its six weeks
  const CCHSDate busyAway(2025, 3, 12);    // three months before: not covered by June's answer
  const CCHSDate busiest(2026, 11, 18);    // about 7,600
  const CCHSDate busiestAway(2026, 8, 12);
  CCalendarSupport& support = CCalendarSupport::GetInstance();
  support.SetSelectedDate(busyAway);

  wchar_t temp[MAX_PATH];
  ::GetTempPathW(MAX_PATH, temp);
  const std::wstring folder = std::wstring(temp) + L"pim_bench_calendar";
  ::CreateDirectoryW(folder.c_str(), nullptr);
  const std::wstring file = folder + L"\\handset.dat";
  LOG::SetLogRoot(folder);
  SetDeviceConnected(true);
  ProviderAutomation::UseHandsetFile(file);
  ProviderAutomation::Sample sample;
  sample.events = kEvents;
  ProviderAutomation::ResetHandset(sample);

  HMODULE resources = ::LoadLibraryW((ProgramFolder() + L"\\PimRes.dll").c_str());
  if (!resources) Fatal("PimRes.dll not found beside the benchmark");
  wf::SetResourceInstance(resources);
  SetDialogTemplateInstance(resources);

  WNDCLASSW wc{};
  wc.lpfnWndProc = ::DefWindowProcW;
  wc.hInstance = ::GetModuleHandleW(nullptr);
  wc.lpszClassName = L"PimCalendarBenchParent";
  ::RegisterClassW(&wc);
  HWND parent = ::CreateWindowExW(0, wc.lpszClassName, L"calendar bench", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0,
                                  1000, 600, nullptr, nullptr, wc.hInstance, nullptr);
  if (!parent) Fatal("no parent window");

  auto window = std::make_unique<CPimWnd>();
  if (!window->Create(parent)) Fatal("the main window was not made");
  window->MoveWindow(0, 0, 959, 528);
  window->ShowWindow(SW_SHOW);
  Settle();
  // The calendar tab: the first visit reads the handset's calendar into the list.
  window->Tabs().SendMessage(TCM_SETCURSEL, 2);
  NMHDR change{window->Tabs(), IDC_MODULE_TAB, static_cast<UINT>(TCN_SELCHANGE)};
  window->SendMessage(WM_NOTIFY, IDC_MODULE_TAB, reinterpret_cast<LPARAM>(&change));
  Settle();
  if (window->Calendar().Rows().EventCount() == 0) Fatal("the calendar's list stayed empty");
  window->ShowCalendarView(CPimWnd::kViewMonth);
  Settle();
  CCalendarViewCtrl& view = window->CalendarView();
  CCalendarMonthViewBodyWnd& body = view.MonthBody();
  if (view.ViewMode() != CCalendarViewCtrl::kMonth || !::IsWindowVisible(body)) Fatal("the month view is not shown");

  AnswerMarks marks;
  std::vector<std::unique_ptr<Probe>> probes;
  const std::vector<IDataProviderCallback*> parts = InsertProbes(marks, probes);
  auto shareOf = [&](IDataProviderCallback* part) {
    for (size_t i = 0; i < parts.size(); ++i)
      if (parts[i] == part) return Between(marks.marks[i], marks.marks[i + 1]);
    Fatal("a calendar part is not listening");
  };
  IDataProviderCallback* const viewPart = &view;
  IDataProviderCallback* const listPart = &window->Calendar();

  PaintWatch bodyPaints, headerPaints, listPaints;
  HWND list = window->CalendarList();
  ::SetWindowSubclass(body, WatchPaints, 1, reinterpret_cast<DWORD_PTR>(&bodyPaints));
  ::SetWindowSubclass(view, WatchPaints, 1, reinterpret_cast<DWORD_PTR>(&headerPaints));
  ::SetWindowSubclass(list, WatchPaints, 1, reinterpret_cast<DWORD_PTR>(&listPaints));

  auto select = [&](const CCHSDate& day) {
    support.SetSelectedDate(day);
    support.NotifyDateChanged();
  };

  // (a) From a month further away: asked, drawn when the answer comes.
  auto measureChange = [&](const CCHSDate& away, const CCHSDate& target) {
    MonthChange figures;
    for (int run = 0; run < kRuns; ++run) {
      select(away);
      Settle();
      marks.Reset();
      const TimePoint asked = Clock::now();
      select(target);
      if (!PumpUntil([&] { return marks.Complete(); })) Fatal("no answer to the month's query");
      const TimePoint answered = marks.marks.front();
      PaintWatch::Paint bodyPaint{}, headerPaint{};
      if (!PumpUntil([&] { return bodyPaints.After(answered) && headerPaints.After(answered); }))
        Fatal("the month view was not painted after the answer");
      bodyPaint = *bodyPaints.After(answered);
      headerPaint = *headerPaints.After(answered);
      const TimePoint painted = std::max(bodyPaint.end, headerPaint.end);
      figures.toAnswer.push_back(Between(asked, answered));
      double early = 0;
      for (const PaintWatch::Paint& paint : bodyPaints.paints)
        if (paint.start > asked && paint.end < answered) early += Between(paint.start, paint.end);
      figures.earlyPaint.push_back(early);
      figures.answerModel.push_back(Between(answered, marks.marks.back()));
      figures.viewShare.push_back(shareOf(viewPart));
      figures.answerPainted.push_back(Between(answered, painted));
      figures.bodyPaint.push_back(Between(bodyPaint.start, bodyPaint.end));
      figures.headerPaint.push_back(Between(headerPaint.start, headerPaint.end));
      figures.whole.push_back(Between(asked, painted));
      figures.answerOccurrences = marks.occurrences;
      Settle();
    }
    const Calendar::MonthBodyLayout layout = body.CurrentLayout();
    if (!(layout.gridStart == Calendar::GridStart(target))) Fatal("the month view shows another month");
    figures.gridOccurrences = GridOccurrences(layout);
    if (figures.gridOccurrences == 0) Fatal("no event in the month's grid");
    return figures;
  };
  const MonthChange busy = measureChange(busyAway, busyMonth);
  const Profile busyProfile = ProfileBody(body);
  const MonthChange busiestChange = measureChange(busiestAway, busiest);
  const Profile busiestProfile = ProfileBody(body);

  // (a) The neighbouring month: drawn at once from the last answer, which
  // covers it; its own answer replaces the day models without a repaint.
  std::vector<double> stepPainted, stepAnswerModel;
  for (int run = 0; run < kRuns; ++run) {
    select(Calendar::StepMonth(busyMonth, -1));
    Settle();
    marks.Reset();
    const TimePoint asked = Clock::now();
    select(busyMonth);
    ::UpdateWindow(view);
    ::UpdateWindow(body);
    stepPainted.push_back(Between(asked, Clock::now()));
    if (!bodyPaints.After(asked)) Fatal("the neighbouring month was not painted at once");
    if (!PumpUntil([&] { return marks.Complete(); })) Fatal("no answer to the neighbouring month's query");
    stepAnswerModel.push_back(Between(marks.marks.front(), marks.marks.back()));
    Settle();
  }

  // The body in Simplified Chinese: a lunar text in every cell.
  Profile chineseProfile;
  int chineseLunarCells = 0;
  {
    LanguageSetting chinese(L"Chinese(Simplified)");
    body.LoadNames();
    for (const Calendar::MonthCell& cell : body.CurrentLayout().cells) chineseLunarCells += !cell.lunar.empty();
    chineseProfile = ProfileBody(body);
  }
  body.LoadNames();

  // (b) The list view of the month.
  window->ShowCalendarView(CPimWnd::kViewList);
  Settle();
  if (!::IsWindowVisible(list)) Fatal("the list is not shown");
  std::vector<double> listToAnswer, listRows, listOthers, listAnswerPainted, listWhole, listPaint;
  for (int run = 0; run < kRuns; ++run) {
    marks.Reset();
    const TimePoint asked = Clock::now();
    window->Calendar().QueryListMonth();
    if (!PumpUntil([&] { return marks.Complete(); })) Fatal("no answer to the list's query");
    const TimePoint answered = marks.marks.front();
    if (!PumpUntil([&] { return listPaints.After(answered) != nullptr; })) Fatal("the list was not painted");
    const PaintWatch::Paint paint = *listPaints.After(answered);
    const double rows = shareOf(listPart);
    listToAnswer.push_back(Between(asked, answered));
    listRows.push_back(rows);
    listOthers.push_back(Between(answered, marks.marks.back()) - rows);
    listAnswerPainted.push_back(Between(answered, paint.end));
    listPaint.push_back(Between(paint.start, paint.end));
    listWhole.push_back(Between(asked, paint.end));
    Settle();
  }
  const Calendar::CCalendarRows& rows = window->Calendar().Rows();
  if (rows.EventCount() == 0) Fatal("the month's list is empty");
  const size_t listOccurrences = marks.occurrences;
  // The list's model alone, from a copy of that answer.
  marks.Reset();
  marks.keep = true;
  window->Calendar().QueryListMonth();
  if (!PumpUntil([&] { return marks.Complete(); })) Fatal("no answer to the list's query");
  marks.keep = false;
  Settle();
  GroupedContent kept;
  for (auto& [dayText, events] : marks.kept) {
    ContentList records;
    for (Calendar::CCalendarData& event : events) records.push_back(&event);
    kept.emplace_back(dayText, records);
  }
  std::vector<double> listModel;
  for (int i = 0; i < kRuns; ++i) {
    Calendar::CCalendarRows model;
    listModel.push_back(Time([&] { model.FillGrouped(kept, busyMonth); }));
    if (model.EventCount() != rows.EventCount()) Fatal("the kept answer lists other events");
  }

  // (c) The mini calendar.
  CCalendarCtrl& mini = window->MiniCalendar();
  std::vector<double> miniPaint, miniLayout, miniPaintDib, miniWmPaint;
  {
    MemoryDc memory(mini);
    const RECT client = mini.GetClientRect();
    wf::MemoryCanvas dib(memory.Get(), client.right, client.bottom);
    mini.Paint(memory.Get());
    for (int i = 0; i < kPaintRepeats; ++i) {
      miniLayout.push_back(Time([&] { (void)mini.CurrentLayout(); }));
      miniPaint.push_back(Time([&] { mini.Paint(memory.Get()); }));
      miniPaintDib.push_back(Time([&] { mini.Paint(dib); }));
      mini.Invalidate(FALSE);
      miniWmPaint.push_back(Time([&] { ::UpdateWindow(mini); }));
    }
  }
  const size_t miniEventDays = mini.EventDays().size();

  // ---- report ----
  auto reportChange = [&](const std::string& month, const MonthChange& f, const Profile& profile) {
    const std::string counted = std::to_string(f.gridOccurrences) + " occurrences in the six weeks, " +
                                std::to_string(f.answerOccurrences) + " in the answer";
    bench::Report("(a) " + month + ": month change, request -> answer handed over", Median(f.toAnswer), "ms",
                  Spread(f.toAnswer) + "; the library's thread and the marshal, and meanwhile the body drawn at once " +
                      "without events: " + Ms(Median(f.earlyPaint)));
    bench::Report("(a) " + month + ": answer -> day models built", Median(f.answerModel), "ms",
                  Spread(f.answerModel) + "; the month view's share " + Ms(Median(f.viewShare)));
    bench::Report("(a) " + month + ": answer -> month view painted", Median(f.answerPainted), "ms",
                  Spread(f.answerPainted) + "; target < 100 ms; " + counted);
    bench::Report("(a) " + month + ": body paint (WM_PAINT) after the answer", Median(f.bodyPaint), "ms",
                  Spread(f.bodyPaint) + "; target < 16 ms; the header's: " + Ms(Median(f.headerPaint)));
    bench::Report("(a) " + month + ": request -> month view painted", Median(f.whole), "ms", Spread(f.whole));
    bench::Report("(a) " + month + ": body layout alone (CurrentLayout)", Median(profile.layout), "ms",
                  Spread(profile.layout) + "; draws 42 day numbers, " + std::to_string(profile.lines) +
                      " event lines, " + std::to_string(profile.markers) + " count markers");
    bench::Report("(a) " + month + ": body Paint into a memory DC (layout and drawing)", Median(profile.paint), "ms",
                  Spread(profile.paint));
    bench::Report("(a) " + month + ": body Paint into a 32-bit DIB section", Median(profile.paintDib), "ms",
                  Spread(profile.paintDib));
    bench::Report("(a) " + month + ": body invalidated and updated (WM_PAINT), same days", Median(profile.wmPaint),
                  "ms", Spread(profile.wmPaint));
    bench::Report("(a) " + month + ": the body's fills alone (no text), memory DC / DIB section",
                  Median(profile.fillsDdb), "ms",
                  Spread(profile.fillsDdb) + "; DIB section " + Ms(Median(profile.fillsDib)));
  };
  reportChange(DayName(busyMonth), busy, busyProfile);
  reportChange(DayName(busiest), busiestChange, busiestProfile);
  bench::Report("(a) " + DayName(busyMonth) + " from the month before: request -> painted from the last answer",
                Median(stepPainted), "ms", Spread(stepPainted));
  bench::Report("(a) " + DayName(busyMonth) + " from the month before: its answer -> day models replaced",
                Median(stepAnswerModel), "ms", Spread(stepAnswerModel) + "; no repaint");
  bench::Report("(a) " + DayName(busyMonth) + " in Simplified Chinese: body layout alone",
                Median(chineseProfile.layout), "ms",
                Spread(chineseProfile.layout) + "; " + std::to_string(chineseLunarCells) + " cells with lunar text");
  bench::Report("(a) " + DayName(busyMonth) + " in Simplified Chinese: body Paint into a memory DC",
                Median(chineseProfile.paint), "ms", Spread(chineseProfile.paint));
  bench::Report("(a) " + DayName(busyMonth) + " in Simplified Chinese: body invalidated and updated (WM_PAINT)",
                Median(chineseProfile.wmPaint), "ms", Spread(chineseProfile.wmPaint) + "; target < 16 ms");

  const std::string listCounted = std::to_string(rows.EventCount()) + " events, " + std::to_string(rows.RowCount()) +
                                  " rows (" + std::to_string(listOccurrences) + " occurrences in the answer)";
  bench::Report("(b) " + DayName(busyMonth) + " list: QueryListMonth -> answer handed over", Median(listToAnswer), "ms",
                Spread(listToAnswer));
  bench::Report("(b) list: answer -> rows built (the list's controller)", Median(listRows), "ms",
                Spread(listRows) + "; " + listCounted);
  bench::Report("(b) list: of it, the model alone (CCalendarRows::FillGrouped)", Median(listModel), "ms",
                Spread(listModel) + "; the rest is the grid's refresh, selection and redraw");
  bench::Report("(b) list: the other parts' handling of that answer", Median(listOthers), "ms",
                Spread(listOthers) + "; the hidden month view copies it into day models");
  bench::Report("(b) list: answer -> list painted", Median(listAnswerPainted), "ms", Spread(listAnswerPainted));
  bench::Report("(b) list: the list's WM_PAINT", Median(listPaint), "ms", Spread(listPaint));
  bench::Report("(b) list: QueryListMonth -> list painted", Median(listWhole), "ms", Spread(listWhole));

  bench::Report("(c) mini calendar: Paint into a memory DC", Median(miniPaint), "ms",
                Spread(miniPaint) + "; " + std::to_string(miniEventDays) + " event days known");
  bench::Report("(c) mini calendar: layout alone", Median(miniLayout), "ms", Spread(miniLayout));
  bench::Report("(c) mini calendar: Paint into a 32-bit DIB section", Median(miniPaintDib), "ms", Spread(miniPaintDib));
  bench::Report("(c) mini calendar: invalidated and updated (WM_PAINT)", Median(miniWmPaint), "ms",
                Spread(miniWmPaint));

  ::RemoveWindowSubclass(list, WatchPaints, 1);
  ::RemoveWindowSubclass(view, WatchPaints, 1);
  ::RemoveWindowSubclass(body, WatchPaints, 1);
  for (const auto& probe : probes) support.RemoveListener(probe.get());
  window->DestroyWindow();
  Settle();
  window.reset();
  Settle();
  ::DestroyWindow(parent);
  ProviderAutomation::UseHandsetFile(L"");
  ::DeleteFileW(file.c_str());
  LOG::SetLogRoot(L"");
  wf::SetClock(nullptr);
  Gdiplus::GdiplusShutdown(gdiplusToken);
  ::OleUninitialize();
  return 0;
}
