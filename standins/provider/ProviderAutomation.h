// Controls of the simulated data-provider library for tests, benchmarks, the
// host's menus and the demo (exported by DataProvider.dll next to the
// library's own functions). Everything here runs in order with the library's
// answers.
#pragma once
#include <cstdint>
#include <string>

#include "content/SimCard.h"

#ifdef DATAPROVIDER_BUILD
#define DATAPROVIDER_AUTOMATION_API __declspec(dllexport)
#else
#define DATAPROVIDER_AUTOMATION_API __declspec(dllimport)
#endif

namespace ProviderAutomation {

// Answer inside the request's call instead of on the library's thread.
DATAPROVIDER_AUTOMATION_API void SetInlineAnswers(bool inlineAnswers);
// Waits until every answer requested so far has been delivered (and the
// handset saved). Messages sent to the calling thread's windows are
// delivered meanwhile.
DATAPROVIDER_AUTOMATION_API void WaitIdle();

// The handset file (default: %APPDATA%\Tamix\handset.dat or the
// TAMIX_HANDSET_FILE environment value). Switching saves the current one.
DATAPROVIDER_AUTOMATION_API void UseHandsetFile(const std::wstring& path);
DATAPROVIDER_AUTOMATION_API std::wstring HandsetFile();

// Replaces the handset with a new one: empty (contacts = messages = events
// = 0) or a generated sample; saved at once.
struct Sample {
  int contacts = 0;
  int messages = 0;
  int events = 0;
  int simCards = 2;
  uint32_t seed = 1;
  int untilYear = 2026, untilMonth = 12, untilDay = 1;
};
DATAPROVIDER_AUTOMATION_API void ResetHandset(const Sample& sample);

struct Counts {
  size_t phoneContacts = 0, cardOneContacts = 0, cardTwoContacts = 0, groups = 0, messages = 0, events = 0;
};
DATAPROVIDER_AUTOMATION_API Counts GetCounts();

// Zero, one or two SIM cards (ids 1 and 2); false for anything else.
DATAPROVIDER_AUTOMATION_API bool SetSimCards(const SimCardList& cards);

// Makes `count` messages arrive in the inbox now; every message helper that
// receives hears of them. Answers how many arrived.
DATAPROVIDER_AUTOMATION_API int ReceiveMessages(int count);

// Faults: every answer of `operation` (the request's name, e.g. L"QueryAll")
// carries `status` (0 clears it); a share of random failures; a delay before
// every answer.
DATAPROVIDER_AUTOMATION_API void FailOperation(const std::wstring& operation, uint32_t status);
DATAPROVIDER_AUTOMATION_API void SetFailureRate(double rate, uint32_t seed);
DATAPROVIDER_AUTOMATION_API void SetAnswerDelay(unsigned milliseconds);
DATAPROVIDER_AUTOMATION_API void ClearFaults();

// While held, an import or export stops after its first progress report
// until it is cancelled, its helper is destroyed or the hold is lifted: a
// test or the demo sees the progress window and cancels in the middle.
// ClearFaults lifts it too.
DATAPROVIDER_AUTOMATION_API void HoldTransfers(bool hold);

// How often the library was asked for `operation` (the request's name, e.g.
// L"CancelExport") since the last reset.
DATAPROVIDER_AUTOMATION_API size_t CallCount(const std::wstring& operation);
DATAPROVIDER_AUTOMATION_API void ResetCallCounts();

}  // namespace ProviderAutomation
