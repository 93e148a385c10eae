// The week and day views' bodies without their windows, painted as the
// body's buffered paint does: into a memory device context compatible with
// the screen (GDI+ under Wine is several times slower into a DIB section).
//
//   (a) a week whose seven days hold 100 timed events each, overlapping (the
//       events of a day spread over the whole day, then all of them packed
//       into 08:00-18:00): layout (the side-by-side placement of 700 boxes,
//       hit items) and paint, scrolled to 08:00; the week's header beside it;
//   (b) the day view with 100 such events, laid out and painted at every
//       scroll step of an hour from midnight to the end of the day.
//
// Fonts, colours and texts come from the resource library, as in the views.
#include <windows.h>
#include <objbase.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "BenchSupport.h"
#include "calendar/LunarNames.h"
#include "calendar/WeekDayGrid.h"
#include "framework/GdiPlus.h"

namespace {

using namespace Calendar;

constexpr int kEventsPerDay = 100;
constexpr int kRepeats = 40;
constexpr int kWidth = 772;         // the views' size in the host's default window
constexpr int kBodyHeight = 460;
constexpr int kScrollStep = kHourHeight;

using bench::Median;

std::string Spread(const std::vector<double>& values) {
  char text[96];
  std::snprintf(text, sizeof text, "median of %zu; worst %.2f, best %.2f", values.size(),
                *std::max_element(values.begin(), values.end()), *std::min_element(values.begin(), values.end()));
  return text;
}

// A day of events in start order, as the provider answers: starts on the
// quarter hour within [from, to) minutes, 30 minutes to 4 hours long.
std::vector<CCalendarData> DayOfEvents(const CCHSDate& day, int from, int to, uint32_t seed) {
  std::vector<std::pair<int, int>> spans;
  for (int i = 0; i < kEventsPerDay; ++i) {
    seed = seed * 1664525u + 1013904223u;
    const int start = from + static_cast<int>((seed >> 8) % static_cast<uint32_t>((to - from) / 15)) * 15;
    seed = seed * 1664525u + 1013904223u;
    const int length = 30 + static_cast<int>((seed >> 8) % 8u) * 30;
    spans.emplace_back(start, std::min(start + length, 24 * 60 - 1));
  }
  std::sort(spans.begin(), spans.end());
  std::vector<CCalendarData> events;
  for (size_t i = 0; i < spans.size(); ++i) {
    CCalendarData event;
    event.m_id = static_cast<uint32_t>(i + 1);
    event.m_topic = L"Event " + std::to_wstring(i + 1) + L" with a topic long enough to wrap";
    event.m_start = MakeTimeText(day.Year(), day.Month(), day.Day(), spans[i].first / 60, spans[i].first % 60);
    event.m_end = MakeTimeText(day.Year(), day.Month(), day.Day(), spans[i].second / 60, spans[i].second % 60);
    events.push_back(std::move(event));
  }
  return events;
}

std::vector<DayModel> Week(const CCHSDate& sunday, int from, int to) {
  std::vector<DayModel> days;
  CCHSDate day = sunday;
  for (int d = 0; d < 7; ++d, day.NextDay())
    days.push_back({day, DayOfEvents(day, from, to, 0x9E3779B9u * static_cast<uint32_t>(d + 1))});
  return days;
}

class ScreenMemoryDc {
 public:
  ScreenMemoryDc(int width, int height) {
    HDC screen = ::GetDC(nullptr);
    m_dc = ::CreateCompatibleDC(screen);
    m_bitmap = ::CreateCompatibleBitmap(screen, width, height);
    m_old = ::SelectObject(m_dc, m_bitmap);
    ::ReleaseDC(nullptr, screen);
  }
  ~ScreenMemoryDc() {
    ::SelectObject(m_dc, m_old);
    ::DeleteObject(m_bitmap);
    ::DeleteDC(m_dc);
  }
  ScreenMemoryDc(const ScreenMemoryDc&) = delete;
  ScreenMemoryDc& operator=(const ScreenMemoryDc&) = delete;
  HDC Get() const { return m_dc; }

 private:
  HDC m_dc = nullptr;
  HBITMAP m_bitmap = nullptr;
  HGDIOBJ m_old = nullptr;
};

struct Figures {
  std::vector<double> layout, paint, whole;
  size_t boxes = 0, hits = 0;
};

template <class Layout>
Figures Measure(HDC dc, const TimeBodyInput& input, const TimeBodyLook& look, Layout layoutOf) {
  Figures f;
  for (int i = 0; i < kRepeats; ++i) {
    bench::Stopwatch watch;
    const TimeBodyLayout layout = layoutOf(input);
    f.layout.push_back(watch.Milliseconds());
    bench::Stopwatch paint;
    {
      Gdiplus::Graphics g(dc);
      PaintTimeBody(g, layout, look);
    }
    ::GdiFlush();
    f.paint.push_back(paint.Milliseconds());
    f.whole.push_back(watch.Milliseconds());
    f.boxes = layout.boxes.size();
    f.hits = layout.hits.size();
  }
  return f;
}

void ReportWeek(const std::string& name, const Figures& f) {
  bench::Report("(a) " + name + ": layout and paint", Median(f.whole), "ms",
                Spread(f.whole) + "; target 16 ms; " + std::to_string(f.boxes) + " boxes, " +
                    std::to_string(f.hits) + " hit items on screen");
  bench::Report("(a) " + name + ": layout alone", Median(f.layout), "ms", Spread(f.layout));
  bench::Report("(a) " + name + ": paint alone", Median(f.paint), "ms", Spread(f.paint));
}

}  // namespace

int main() {
  ::OleInitialize(nullptr);
  Gdiplus::GdiplusStartupInput gdiplusInput;
  ULONG_PTR gdiplusToken = 0;
  Gdiplus::GdiplusStartup(&gdiplusToken, &gdiplusInput, nullptr);
  {
    const CCHSDate selected(2026, 3, 11), today(2026, 3, 11);
    const TimeBodyLook look = LoadTimeBodyLook();
    ScreenMemoryDc body(kWidth, kBodyHeight);

    // (a) the week
    const std::vector<DayModel> spread = Week(WeekStart(selected), 0, 22 * 60);
    const std::vector<DayModel> packed = Week(WeekStart(selected), 8 * 60, 18 * 60);
    TimeBodyInput input;
    input.width = kWidth;
    input.height = kBodyHeight;
    input.scroll = 8 * kHourHeight;
    input.selected = selected;
    input.today = today;
    input.days = &spread;
    Measure(body.Get(), input, look, LayoutWeekBody);  // warm the fonts' caches
    ReportWeek("week of 7 x 100 events over the day, at 08:00", Measure(body.Get(), input, look, LayoutWeekBody));
    input.days = &packed;
    ReportWeek("week of 7 x 100 events in 08:00-18:00, at 08:00", Measure(body.Get(), input, look, LayoutWeekBody));

    // The week's header with its all-day strip, in Simplified Chinese (lunar texts).
    const TimeViewTexts texts = LoadTimeViewTexts();
    const TimeHeaderLook headerLook = LoadTimeHeaderLook();
    CLunarNames names;
    LoadLunarNames(names);
    std::vector<DayModel> allDay = spread;
    for (DayModel& day : allDay)
      for (int i = 0; i < 3; ++i) {
        CCalendarData event;
        event.m_topic = L"All-day " + std::to_wstring(i + 1);
        SetAllDay(event, day.day.Year(), day.day.Month(), day.day.Day(), day.day.Year(), day.day.Month(),
                  day.day.Day());
        day.events.push_back(event);
      }
    TimeHeaderInput headerInput;
    headerInput.width = kWidth;
    headerInput.selected = selected;
    headerInput.today = today;
    headerInput.days = &allDay;
    headerInput.texts = &texts;
    headerInput.lunarNames = &names;
    headerInput.languageId = kLanguageChineseSimplified;
    ScreenMemoryDc header(kWidth, kWeekHeaderHeight);
    std::vector<double> headerTimes;
    for (int i = 0; i < kRepeats; ++i) {
      bench::Stopwatch watch;
      const TimeHeaderLayout layout = LayoutWeekHeader(headerInput);
      {
        Gdiplus::Graphics g(header.Get());
        PaintTimeHeader(g, layout, headerLook);
      }
      ::GdiFlush();
      headerTimes.push_back(watch.Milliseconds());
    }
    bench::Report("(a) week header with 3 all-day events a day, lunar texts: layout and paint", Median(headerTimes),
                  "ms", Spread(headerTimes));

    // (b) the day view, an hour's scroll at a time through the day
    const std::vector<DayModel> oneDay{spread[static_cast<size_t>(selected.WeekDay())]};
    input.days = &oneDay;
    std::vector<double> steps;
    size_t mostBoxesOnScreen = 0;
    for (int round = 0; round < 5; ++round)
      for (int scroll = 0;; scroll += kScrollStep) {
        input.scroll = ClampTimeScroll(scroll, kBodyHeight);
        bench::Stopwatch watch;
        const TimeBodyLayout layout = LayoutDayBody(input);
        {
          Gdiplus::Graphics g(body.Get());
          PaintTimeBody(g, layout, look);
        }
        ::GdiFlush();
        steps.push_back(watch.Milliseconds());
        size_t onScreen = 0;
        for (const TimeHitItem& hit : layout.hits) onScreen += hit.kind == TimeHitKind::Event;
        mostBoxesOnScreen = std::max(mostBoxesOnScreen, onScreen);
        if (input.scroll == MaxTimeScroll(kBodyHeight)) break;
      }
    bench::Report("(b) day view of 100 events: layout and paint per scroll step of an hour", Median(steps), "ms",
                  Spread(steps) + "; target 16 ms; at most " + std::to_string(mostBoxesOnScreen) +
                      " boxes on screen");
  }
  Gdiplus::GdiplusShutdown(gdiplusToken);
  ::OleUninitialize();
  return 0;
}
