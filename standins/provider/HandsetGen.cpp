// HandsetGen: writes a deterministic sample handset file.
//
//   HandsetGen.exe --out <file> [--contacts N] [--messages N] [--events N]
//                  [--sims 0|1|2] [--seed N] [--until YYYY-MM-DD] [--force]
//
// The same arguments give the same file. An existing file is left alone
// unless --force is given.
#include <windows.h>
#include <shellapi.h>

#include <cstdio>
#include <cwchar>
#include <string>

#include "EmbeddedData.h"
#include "framework/Text.h"
#include "handset/Generator.h"
#include "handset/HandsetFile.h"
#include "handset/IndexText.h"

namespace {

int Fail(const std::wstring& message) {
  std::fputs(wf::ToUtf8(L"HandsetGen: " + message + L"\n").c_str(), stderr);
  return 1;
}

bool Number(const wchar_t* text, long low, long high, int& value) {
  wchar_t* end = nullptr;
  long parsed = std::wcstol(text, &end, 10);
  if (!end || *end || parsed < low || parsed > high) return false;
  value = static_cast<int>(parsed);
  return true;
}

}  // namespace

int wmain() {
  int argc = 0;
  LPWSTR* argv = ::CommandLineToArgvW(::GetCommandLineW(), &argc);
  handset::SampleOptions options;
  std::wstring out;
  bool force = false;
  for (int i = 1; i < argc; ++i) {
    std::wstring arg = argv[i];
    const wchar_t* value = i + 1 < argc ? argv[i + 1] : nullptr;
    int number = 0;
    if (arg == L"--force") {
      force = true;
      continue;
    }
    if (!value) return Fail(arg + L" needs a value");
    ++i;
    if (arg == L"--out") out = value;
    else if (arg == L"--contacts" && Number(value, 0, 1000000, number)) options.contacts = number;
    else if (arg == L"--messages" && Number(value, 0, 5000000, number)) options.messages = number;
    else if (arg == L"--events" && Number(value, 0, 1000000, number)) options.events = number;
    else if (arg == L"--sims" && Number(value, 0, 2, number)) options.simCards = number;
    else if (arg == L"--seed" && Number(value, 0, 2147483647, number)) options.seed = static_cast<uint32_t>(number);
    else if (arg == L"--until" && std::swscanf(value, L"%d-%d-%d", &options.untilYear, &options.untilMonth,
                                               &options.untilDay) == 3 &&
             options.untilYear >= 1902 && options.untilYear <= 2098 && options.untilMonth >= 1 &&
             options.untilMonth <= 12 && options.untilDay >= 1 && options.untilDay <= 28)
      ;
    else return Fail(L"bad value for " + arg + L": " + value);
  }
  ::LocalFree(argv);
  if (out.empty()) return Fail(L"--out <file> is needed");
  if (!force && ::GetFileAttributesW(out.c_str()) != INVALID_FILE_ATTRIBUTES)
    return Fail(out + L" exists; give --force to replace it");

  handset::LoadPinyinTable(provider::kPinyinData);
  handset::Corpus corpus;
  corpus.Load(provider::kNamesData);
  corpus.Load(provider::kPlacesData);
  corpus.Load(provider::kTextsData);
  handset::Store store;
  handset::GenerateSample(store, corpus, options);
  std::wstring error;
  if (!handset::SaveHandsetFile(out, store, error)) return Fail(error);
  std::printf("HandsetGen: %zu contacts, %zu groups, %zu messages, %zu events written to %s\n",
              store.CountContacts(handset::Book::Phone, false), store.GroupCount(), store.MessageCount(),
              store.EventCount(), wf::ToUtf8(out).c_str());
  return 0;
}
