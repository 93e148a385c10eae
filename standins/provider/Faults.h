// Faults a test can inject into the library's answers: a chosen status for
// chosen operations, a rate of random failures, and a delay before answers.
#pragma once
#include <windows.h>

#include <cstdint>
#include <string>

namespace provider {

// Called on the answer thread before an operation's answer: waits the
// configured delay and answers the status to fail with (0: no fault).
uint32_t FaultBefore(const char* operation);

void FailOperation(const std::wstring& operation, uint32_t status);
void SetFailureRate(double rate, uint32_t seed);
void SetAnswerDelay(DWORD milliseconds);
void ClearFaults();

// Holds import and export runs after their first step (ProviderObjects.cpp).
void HoldTransfers(bool hold);

// How often each operation was asked of the library (tests read it).
void CountCall(const char* operation);
size_t CallCount(const std::wstring& operation);
void ResetCallCounts();

}  // namespace provider
