// The conversation bubbles with 10,000 messages of mixed lengths (short
// replies, paragraphs, 900-character texts, Chinese text), in a bubble
// control of the conversation window's size (547 x 300):
//
//   (a) opening: the bubbles set and the first screen (the newest) painted,
//       for the bare control and for the conversation window's
//       SetConversation (records to bubbles, time order, party texts);
//   (b) scrolling end to end, a step at a time, each step painted at once:
//       the median and the worst step, by wheel notches (3 lines) and by
//       pages. The first pass over the conversation measures every bubble as
//       it comes into view, so these are the dearest steps there are;
//   (c) what measuring every text up front would cost instead (the choice
//       the control does not make), and how far the estimated scroll range
//       was from the measured one.
#include <windows.h>
#include <commctrl.h>
#include <objbase.h>

#include <algorithm>
#include <string>
#include <vector>

#include "BenchSupport.h"
#include "frame/DialogTemplates.h"
#include "framework/GdiPlus.h"
#include "framework/Module.h"
#include "message/ChartModeContrl.h"
#include "message/SMSChatWnd.h"

namespace {

constexpr int kMessages = 10000;
constexpr int kRuns = 5;

std::wstring Words(int length, int seed) {
  static const wchar_t* const kWords[] = {L"see",  L"you",     L"at",    L"the",      L"station", L"tomorrow",
                                          L"ok",   L"meeting", L"moved", L"to",       L"three",   L"please",
                                          L"call", L"me",      L"when",  L"arriving", L"thanks",  L"dinner"};
  std::wstring text;
  for (int i = 0; static_cast<int>(text.size()) < length; ++i) {
    if (!text.empty()) text += L' ';
    text += kWords[(seed * 7 + i * 13) % 18];
  }
  text.resize(static_cast<size_t>(length));
  return text;
}

// Mostly short texts, some paragraphs, a few very long ones, some Chinese.
std::wstring Body(int i) {
  const int kind = (i * 37) % 100;
  if (kind < 60) return Words(5 + (i * 11) % 55, i);
  if (kind < 88) return Words(100 + (i * 17) % 200, i);
  if (kind < 96) return Words(400 + (i * 29) % 500, i);
  std::wstring chinese;
  for (int k = 0; k < 20 + i % 60; ++k) chinese += static_cast<wchar_t>(0x4E00 + (i * 31 + k * 7) % 2000);
  return chinese;
}

std::vector<Message::CSMSData> Conversation() {
  std::vector<Message::CSMSData> messages;
  messages.reserve(kMessages);
  for (int i = 0; i < kMessages; ++i) {
    Message::CSMSData m;
    m.m_id = static_cast<ContentId>(i + 1);
    m.m_phoneNumber = L"13800138000";
    m.m_contactName = L"Zhang Wei";
    wchar_t time[32];
    swprintf(time, 32, L"2023%02d%02dT%02d%02d%02dZ", 1 + i / 900 % 12, 1 + i / 30 % 28, i / 60 % 24, i % 60, i % 47);
    m.m_time = time;
    m.m_body = Body(i);
    m.m_state = i % 3 == 0 ? Message::CSMSData::kStateOutgoing : 0;
    messages.push_back(std::move(m));
  }
  return messages;
}

std::vector<chat::BubbleItem> Items(const std::vector<Message::CSMSData>& messages) {
  std::vector<chat::BubbleItem> items;
  for (const Message::CSMSData& m : messages) {
    chat::BubbleItem item;
    item.text = m.m_body;
    item.time = L"2023-01-01 12:00:00";
    item.party = L"Zhang Wei";
    item.side = m.m_state == Message::CSMSData::kStateOutgoing ? chat::kSideRight : chat::kSideLeft;
    items.push_back(std::move(item));
  }
  return items;
}

HWND MakeParent() {
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof(wc);
  wc.lpfnWndProc = ::DefWindowProcW;
  wc.hInstance = ::GetModuleHandleW(nullptr);
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
  wc.lpszClassName = L"ChatBenchParent";
  ::RegisterClassExW(&wc);
  HWND parent = ::CreateWindowExW(0, wc.lpszClassName, L"chat bench", WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, 0, 0,
                                  1000, 700, nullptr, nullptr, wc.hInstance, nullptr);
  ::ShowWindow(parent, SW_SHOWNOACTIVATE);
  return parent;
}

struct Steps {
  std::vector<double> ms;
  double Median() {
    std::sort(ms.begin(), ms.end());
    return ms.empty() ? 0 : ms[ms.size() / 2];
  }
  // After Median (sorted).
  double P99() const { return ms.empty() ? 0 : ms[ms.size() * 99 / 100]; }
  double Worst() const { return ms.empty() ? 0 : *std::max_element(ms.begin(), ms.end()); }
};

// From the end to the top, one message at a time, each step painted.
Steps ScrollToTop(CQsChartModeContrl& bubbles, UINT message, WPARAM wParam) {
  Steps steps;
  while (bubbles.GetScrollTop() > 0) {
    bench::Stopwatch watch;
    bubbles.SendMessage(message, wParam, 0);
    ::UpdateWindow(bubbles);
    steps.ms.push_back(watch.Milliseconds());
  }
  return steps;
}

}  // namespace

int main() {
  INITCOMMONCONTROLSEX icc{sizeof(icc), ICC_WIN95_CLASSES | ICC_STANDARD_CLASSES};
  ::InitCommonControlsEx(&icc);
  ::OleInitialize(nullptr);
  Gdiplus::GdiplusStartupInput input;
  ULONG_PTR token = 0;
  Gdiplus::GdiplusStartup(&token, &input, nullptr);
  {
    HWND parent = MakeParent();
    const std::vector<Message::CSMSData> messages = Conversation();
    const std::vector<chat::BubbleItem> items = Items(messages);
    const RECT area{12, 31, 12 + 547, 31 + 300};

    // (a) the bare control
    double openBest = 1e300, openWorst = 0;
    for (int run = 0; run < kRuns; ++run) {
      CQsChartModeContrl bubbles;
      bubbles.Create(parent, area, 80001);
      ::UpdateWindow(bubbles);
      std::vector<chat::BubbleItem> copy = items;
      bench::Stopwatch watch;
      bubbles.SetItems(std::move(copy));
      ::UpdateWindow(bubbles);
      const double ms = watch.Milliseconds();
      openBest = std::min(openBest, ms);
      openWorst = std::max(openWorst, ms);
      bubbles.DestroyWindow();
    }
    bench::Report("bubbles: set 10,000 and paint the newest screen", openBest, "ms", "best of 5");
    bench::Report("bubbles: set 10,000 and paint the newest screen, worst", openWorst, "ms", "of 5");

    // (a) the conversation window, from the resource module beside this program
    wchar_t path[MAX_PATH];
    ::GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring folder(path);
    folder.resize(folder.find_last_of(L'\\') + 1);
    if (HMODULE resources = ::LoadLibraryW((folder + L"PimRes.dll").c_str())) {
      wf::SetResourceInstance(resources);
      SetDialogTemplateInstance(resources);
      double best = 1e300;
      for (int run = 0; run < kRuns; ++run) {
        CSMSChatWnd window;
        if (!window.Create(parent, nullptr)) break;
        window.ShowWindow(SW_SHOWNOACTIVATE);
        window.MoveWindow(0, 0, 773, 486);
        ::UpdateWindow(window);
        bench::Stopwatch watch;
        window.SetConversation(L"13800138000", messages);
        ::UpdateWindow(window.Bubbles());
        best = std::min(best, watch.Milliseconds());
        window.DestroyWindow();
      }
      bench::Report("conversation window: SetConversation(10,000) and paint the newest screen", best, "ms",
                    "best of 5");
    } else {
      std::printf("PimRes.dll not found beside the program: the conversation window is not measured\n");
    }

    // (b) scrolling end to end, every bubble measured as it comes into view
    {
      CQsChartModeContrl bubbles;
      bubbles.Create(parent, area, 80001);
      bubbles.SetItems(items);
      ::UpdateWindow(bubbles);
      const int estimated = bubbles.GetContentHeight();
      Steps wheel = ScrollToTop(bubbles, WM_MOUSEWHEEL, MAKEWPARAM(0, WHEEL_DELTA));
      const int measured = bubbles.GetContentHeight();
      bench::Report("scroll by wheel notches, end to top, median step", wheel.Median(), "ms",
                    std::to_string(wheel.ms.size()) + " steps, each painted");
      bench::Report("scroll by wheel notches, end to top, 99th percentile step", wheel.P99(), "ms");
      bench::Report("scroll by wheel notches, end to top, worst step", wheel.Worst(), "ms");
      bench::Report("scroll range: estimate at opening off by", 100.0 * (estimated - measured) / measured, "%",
                    "estimated " + std::to_string(estimated) + " px, measured " + std::to_string(measured) + " px");
      bubbles.DestroyWindow();
    }
    {
      CQsChartModeContrl bubbles;
      bubbles.Create(parent, area, 80001);
      bubbles.SetItems(items);
      ::UpdateWindow(bubbles);
      Steps pages = ScrollToTop(bubbles, WM_VSCROLL, SB_PAGEUP);
      bench::Report("scroll by pages, end to top, median step", pages.Median(), "ms",
                    std::to_string(pages.ms.size()) + " steps, each painted");
      bench::Report("scroll by pages, end to top, 99th percentile step", pages.P99(), "ms");
      bench::Report("scroll by pages, end to top, worst step", pages.Worst(), "ms");
      // Everything is measured now: the same way back down costs only painting.
      Steps again;
      while (bubbles.GetScrollTop() < bubbles.GetContentHeight() - bubbles.GetClientRect().bottom) {
        bench::Stopwatch watch;
        bubbles.SendMessage(WM_VSCROLL, SB_PAGEDOWN);
        ::UpdateWindow(bubbles);
        again.ms.push_back(watch.Milliseconds());
      }
      bench::Report("scroll by pages, top to end again (all measured), median step", again.Median(), "ms");
      bench::Report("scroll by pages, top to end again (all measured), 99th percentile step", again.P99(), "ms");
      bench::Report("scroll by pages, top to end again (all measured), worst step", again.Worst(), "ms");
      bubbles.DestroyWindow();
    }

    // (c) measuring every text at opening instead, in the control's font
    {
      LOGFONTW font{};
      font.lfHeight = CQsChartModeContrl::kFontHeight;
      font.lfWeight = FW_NORMAL;
      lstrcpynW(font.lfFaceName, L"Tahoma", LF_FACESIZE);
      HFONT handle = ::CreateFontIndirectW(&font);
      HDC dc = ::CreateCompatibleDC(nullptr);
      HGDIOBJ old = ::SelectObject(dc, handle);
      chat::CChatLayout layout(
          [dc](std::wstring_view text, int maxWidth) {
            RECT rc{0, 0, maxWidth, 0};
            ::DrawTextW(dc, text.data(), static_cast<int>(text.size()), &rc,
                        DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX | DT_EDITCONTROL);
            return SIZE{rc.right - rc.left, rc.bottom - rc.top};
          },
          chat::TextScale{});
      layout.SetClientWidth(547 - ::GetSystemMetrics(SM_CXVSCROLL));
      const double all = bench::BestOf(3, [&] {
        layout.Assign(items);
        layout.MeasureAll();
      });
      bench::Report("measuring all 10,000 texts up front (not done: for comparison)", all, "ms", "best of 3");
      ::SelectObject(dc, old);
      ::DeleteDC(dc);
      ::DeleteObject(handle);
    }
    ::DestroyWindow(parent);
  }
  Gdiplus::GdiplusShutdown(token);
  ::OleUninitialize();
  return 0;
}
