// Test and demo controls of the simulated data-provider library (exported by
// DataProvider.dll next to the library's own functions).
#pragma once

#ifdef DATAPROVIDER_BUILD
#define DATAPROVIDER_AUTOMATION_API __declspec(dllexport)
#else
#define DATAPROVIDER_AUTOMATION_API __declspec(dllimport)
#endif

namespace ProviderAutomation {
// Answer inside the request's call instead of on the library's thread.
DATAPROVIDER_AUTOMATION_API void SetInlineAnswers(bool inlineAnswers);
// Waits until every answer requested so far has been delivered. Messages sent
// to the calling thread's windows are delivered meanwhile.
DATAPROVIDER_AUTOMATION_API void WaitIdle();
}  // namespace ProviderAutomation
