// The simulated handset at a realistic size (20,000 contacts, 50,000
// messages, 5,000 events): the library's own time for a full contact
// refresh, a search, one month of events with repeats placed, and the
// conversation list. Answers are taken inline with callbacks that do nothing,
// so the figures are the library's time alone.
#include <windows.h>

#include <cstdio>
#include <string>

#include "BenchSupport.h"
#include "content/ContentUri.h"
#include "content/DataProvider.h"
#include "standins/connect/ConnectControl.h"
#include "provider/ProviderAutomation.h"

namespace {

struct Counting : CDataProviderCallback {
  size_t records = 0;
  bool OnReturnBatch(const std::wstring&, uint32_t, const ContentList& l) override { return records += l.size(), true; }
  bool OnReturnContent(const std::wstring&, uint32_t, const ContentList& l) override { return records += l.size(), true; }
  bool OnReturnGroupContent(const std::wstring&, uint32_t, const GroupedContent& g) override {
    for (const auto& group : g) records += group.second.size();
    return true;
  }
};

}  // namespace

int main() {
  SetDeviceConnected(true);
  wchar_t temp[MAX_PATH];
  ::GetTempPathW(MAX_PATH, temp);
  std::wstring file = std::wstring(temp) + L"pim_bench_handset.dat";
  ::DeleteFileW(file.c_str());
  ProviderAutomation::UseHandsetFile(file);

  ProviderAutomation::Sample sample;
  sample.contacts = 20000;
  sample.messages = 50000;
  sample.events = 5000;
  bench::Stopwatch watch;
  ProviderAutomation::ResetHandset(sample);
  bench::Report("generate and save a handset of 20000 contacts, 50000 messages, 5000 events", watch.Milliseconds(), "ms");

  // Reading the file back, as the library does at its first request.
  ProviderAutomation::UseHandsetFile(file);
  watch.Restart();
  ProviderAutomation::Counts counts = ProviderAutomation::GetCounts();
  bench::Report("load the handset file", watch.Milliseconds(), "ms",
                std::to_string(counts.phoneContacts) + " contacts, " + std::to_string(counts.messages) + " messages");

  ProviderAutomation::SetInlineAnswers(true);
  Counting callback;
  IDataProvider* provider = CreateDataProvider(&callback);

  double refresh = bench::BestOf(5, [&] { provider->DeleteProvider(ContentUri::kContactStore); });
  bench::Report("full contact refresh (20000 contacts in batches)", refresh, "ms", "target < 500 ms");

  double search = bench::BestOf(10, [&] { provider->SearchContact(ContentUri::kContact, L"zhang", 0); });
  bench::Report("contact search \"zhang\"", search, "ms", "target < 20 ms");
  double number = bench::BestOf(10, [&] { provider->SearchContact(ContentUri::kContact, L"1385", 0); });
  bench::Report("contact search \"1385\"", number, "ms", "target < 20 ms");

  callback.records = 0;
  double month = bench::BestOf(10, [&] { provider->QueryByDate(ContentUri::kCalendar, L"20261101", L"20261130"); });
  bench::Report("one month of events, repeats placed", month, "ms",
                std::to_string(callback.records / 10) + " event entries; target < 20 ms");
  double days = bench::BestOf(10, [&] { provider->QueryByDate(ContentUri::kCalendarByDate, L"20261101", L"20261231"); });
  bench::Report("days holding events over two months", days, "ms");

  double conversations = bench::BestOf(5, [&] { provider->QueryAll(ContentUri::kConversations); });
  bench::Report("conversation list of 50000 messages", conversations, "ms", "target < 200 ms");

  double inbox = bench::BestOf(5, [&] { provider->QueryByClassId(ContentUri::kSmsInFolder, 11); });
  bench::Report("messages of the inbox", inbox, "ms");

  DestroyDataProvider(provider);
  ProviderAutomation::SetInlineAnswers(false);
  ProviderAutomation::UseHandsetFile(L"");
  ::DeleteFileW(file.c_str());
  return 0;
}
