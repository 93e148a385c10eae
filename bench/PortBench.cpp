// The library's import and export files with a big handset: 20,000 contacts
// and 50,000 messages written in every format and read back into an empty
// handset, the same code the export helper runs on its answer thread.
#include <windows.h>
#include <psapi.h>

#include <cstdio>
#include <string>

#include "BenchSupport.h"
#include "EmbeddedData.h"
#include "files/PortRuns.h"
#include "files/SheetPort.h"
#include "handset/Generator.h"
#include "handset/IndexText.h"

namespace {

const files::Progress kQuiet = [](size_t, size_t) { return true; };

std::wstring TempFolder() {
  wchar_t base[MAX_PATH];
  ::GetTempPathW(MAX_PATH, base);
  std::wstring folder = std::wstring(base) + L"pim-bench-port-" + std::to_wstring(::GetCurrentProcessId());
  ::CreateDirectoryW(folder.c_str(), nullptr);
  return folder;
}

void Empty(const std::wstring& folder) {
  WIN32_FIND_DATAW found;
  HANDLE search = ::FindFirstFileW((folder + L"\\*").c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return;
  do
    if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) ::DeleteFileW((folder + L"\\" + found.cFileName).c_str());
  while (::FindNextFileW(search, &found));
  ::FindClose(search);
}

double PeakMegabytes() {
  PROCESS_MEMORY_COUNTERS counters{};
  ::GetProcessMemoryInfo(::GetCurrentProcess(), &counters, sizeof counters);
  return counters.PeakWorkingSetSize / (1024.0 * 1024.0);
}

[[noreturn]] void Fatal(const std::string& what) {
  std::fprintf(stderr, "bench_port: %s\n", what.c_str());
  std::exit(1);
}

struct Format {
  const char* name;
  files::PortFormat format;
  const wchar_t* file;  // empty: a folder of cards
};

}  // namespace

int main() {
  handset::LoadPinyinTable(provider::kPinyinData);
  handset::Corpus corpus;
  corpus.Load(provider::kNamesData);
  corpus.Load(provider::kPlacesData);
  corpus.Load(provider::kTextsData);
  handset::SampleOptions options;
  options.contacts = 20000;
  options.messages = 50000;
  options.events = 0;
  handset::Store phone;
  handset::GenerateSample(phone, corpus, options);
  const size_t contacts = phone.CountContacts(handset::Book::Phone, false);
  const std::wstring folder = TempFolder(), cards = folder + L"\\cards";
  ::CreateDirectoryW(cards.c_str(), nullptr);
  std::printf("bench_port: %zu phone contacts, %zu messages; peak working set before the runs %.0f MB\n", contacts,
              phone.MessageCount(), PeakMegabytes());

  for (const Format& f : {Format{"xml", files::PortFormat::Xml, L"c.xml"}, Format{"xlsx", files::PortFormat::Excel, L"c.xlsx"},
                          Format{"xls", files::PortFormat::Excel, L"c.xls"}, Format{"vcard", files::PortFormat::VCard, L""}}) {
    const std::wstring path = *f.file ? folder + L"\\" + f.file : cards;
    std::vector<double> exports, imports;
    for (int run = 0; run < 3; ++run) {
      if (!*f.file) Empty(cards);
      bench::Stopwatch watch;
      files::PortOutcome out = files::ExportContacts(phone, {}, f.format, path, files::kEnglish, kQuiet);
      exports.push_back(watch.Milliseconds());
      if (out.moved != contacts) Fatal(std::string("export as ") + f.name + " moved too little");
      handset::Store empty;
      watch.Restart();
      files::PortOutcome in = files::ImportContacts(empty, f.format, {path}, kQuiet);
      imports.push_back(watch.Milliseconds());
      if (in.moved != contacts) Fatal(std::string("import as ") + f.name + " moved too little");
    }
    bench::Report(std::string("export 20,000 contacts as ") + f.name, bench::Median(exports), "ms",
                  "worst " + std::to_string(static_cast<int>(bench::Worst(exports))) + " ms");
    bench::Report(std::string("import 20,000 contacts from ") + f.name, bench::Median(imports), "ms",
                  "worst " + std::to_string(static_cast<int>(bench::Worst(imports))) + " ms");
  }
  Empty(cards);
  ::RemoveDirectoryW(cards.c_str());

  files::MessageScope all;
  all.ids.emplace();
  for (const Message::CSMSData* m : phone.MessagesNewestFirst()) all.ids->push_back(m->m_id);
  for (const Format& f : {Format{"xml", files::PortFormat::Xml, L"m.xml"}, Format{"xlsx", files::PortFormat::Excel, L"m.xlsx"},
                          Format{"xls", files::PortFormat::Excel, L"m.xls"}}) {
    const std::wstring path = folder + L"\\" + f.file;
    std::vector<double> exports, imports;
    for (int run = 0; run < 3; ++run) {
      bench::Stopwatch watch;
      files::PortOutcome out = files::ExportMessages(phone, all, f.format, path, files::kEnglish, kQuiet);
      exports.push_back(watch.Milliseconds());
      if (out.moved != all.ids->size()) Fatal(std::string("message export as ") + f.name + " moved too little");
      handset::Store empty;
      watch.Restart();
      files::PortOutcome in = files::ImportMessages(empty, f.format, {path}, false, kQuiet);
      imports.push_back(watch.Milliseconds());
      if (in.moved != all.ids->size()) Fatal(std::string("message import as ") + f.name + " moved too little");
    }
    bench::Report(std::string("export 50,000 messages as ") + f.name, bench::Median(exports), "ms",
                  "worst " + std::to_string(static_cast<int>(bench::Worst(exports))) + " ms");
    bench::Report(std::string("import 50,000 messages from ") + f.name, bench::Median(imports), "ms",
                  "worst " + std::to_string(static_cast<int>(bench::Worst(imports))) + " ms");
    ::DeleteFileW(path.c_str());
  }
  Empty(folder);
  ::RemoveDirectoryW(folder.c_str());
  bench::Report("peak working set", PeakMegabytes(), "MB", "the handset, one file's records and its bytes");
  return 0;
}
