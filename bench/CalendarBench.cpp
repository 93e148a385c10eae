#include <windows.h>
#include <cstdio>
#include "calendar/MonthGrid.h"
#include "content/ContentUri.h"
#include "content/DataProvider.h"
#include "provider/ProviderAutomation.h"
#include "standins/base/LogControl.h"
#include "standins/connect/ConnectControl.h"
struct Counter : CDataProviderCallback {
  size_t n = 0, days = 0;
  bool OnReturnGroupContent(const std::wstring&, uint32_t, const GroupedContent& g) override {
    n = 0; days = 0;
    for (auto& [k, l] : g) { n += l.size(); ++days; }
    return true;
  }
};
int main() {
  wchar_t temp[MAX_PATH];
  ::GetTempPathW(MAX_PATH, temp);
  const std::wstring folder = std::wstring(temp) + L"pim_bench_calendar";
  ::CreateDirectoryW(folder.c_str(), nullptr);
  LOG::SetLogRoot(folder);
  SetDeviceConnected(true);
  ProviderAutomation::UseHandsetFile(folder + L"\\handset.dat");
  ProviderAutomation::Sample sample;
  sample.events = 5000;
  ProviderAutomation::ResetHandset(sample);
  ProviderAutomation::SetInlineAnswers(true);
  Counter c;
  IDataProvider* p = CreateDataProvider(&c);
  for (int y = 2024; y <= 2027; ++y)
    for (int m = 1; m <= 12; ++m) {
      CCHSDate start = Calendar::GridStart(CCHSDate(y, m, 1));
      CCHSDate end = Calendar::AddDays(start, 41);
      wchar_t a[16], b[16];
      swprintf(a, 16, L"%04d%02d%02d", start.Year(), start.Month(), start.Day());
      swprintf(b, 16, L"%04d%02d%02d", end.Year(), end.Month(), end.Day());
      p->QueryByDate(ContentUri::kCalendar, a, b);
      size_t grid = c.n;
      Calendar::DayRange r = Calendar::MonthViewQueryRange(CCHSDate(y, m, 1));
      swprintf(a, 16, L"%04d%02d%02d", r.from.Year(), r.from.Month(), r.from.Day());
      swprintf(b, 16, L"%04d%02d%02d", r.to.Year(), r.to.Month(), r.to.Day());
      p->QueryByDate(ContentUri::kCalendar, a, b);
      std::printf("%04d-%02d grid %zu  view-range %zu\n", y, m, grid, c.n);
    }
  DestroyDataProvider(p);
  return 0;
}
