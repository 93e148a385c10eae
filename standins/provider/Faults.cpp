#include "Faults.h"

#include <map>
#include <mutex>

#include "ProviderStatus.h"
#include "framework/Text.h"

namespace provider {
namespace {
std::mutex g_mutex;
std::map<std::wstring, uint32_t> g_failing;
double g_rate = 0;
uint64_t g_state = 0;
DWORD g_delay = 0;
std::map<std::wstring, size_t> g_calls;

std::wstring Widen(const char* text) {
  std::wstring name;
  for (const char* p = text; *p; ++p) name += static_cast<wchar_t>(*p);
  return name;
}

// A small deterministic generator, so that a seeded run fails the same way.
double NextRandom() {
  g_state ^= g_state << 13;
  g_state ^= g_state >> 7;
  g_state ^= g_state << 17;
  return static_cast<double>(g_state >> 11) / 9007199254740992.0;
}
}  // namespace

uint32_t FaultBefore(const char* operation) {
  DWORD delay;
  uint32_t status = 0;
  {
    std::lock_guard<std::mutex> lock(g_mutex);
    delay = g_delay;
    auto it = g_failing.find(Widen(operation));
    if (it != g_failing.end()) status = it->second;
    else if (g_rate > 0 && NextRandom() < g_rate) status = kInjected;
  }
  if (delay) ::Sleep(delay);
  return status;
}

void FailOperation(const std::wstring& operation, uint32_t status) {
  std::lock_guard<std::mutex> lock(g_mutex);
  if (status) g_failing[operation] = status;
  else g_failing.erase(operation);
}

void SetFailureRate(double rate, uint32_t seed) {
  std::lock_guard<std::mutex> lock(g_mutex);
  g_rate = rate;
  g_state = 0x9E3779B97F4A7C15ull ^ seed;
  if (!g_state) g_state = 1;
}

void SetAnswerDelay(DWORD milliseconds) {
  std::lock_guard<std::mutex> lock(g_mutex);
  g_delay = milliseconds;
}

void ClearFaults() {
  std::lock_guard<std::mutex> lock(g_mutex);
  g_failing.clear();
  g_rate = 0;
  g_delay = 0;
}

void CountCall(const char* operation) {
  std::lock_guard<std::mutex> lock(g_mutex);
  ++g_calls[Widen(operation)];
}

size_t CallCount(const std::wstring& operation) {
  std::lock_guard<std::mutex> lock(g_mutex);
  auto it = g_calls.find(operation);
  return it == g_calls.end() ? 0 : it->second;
}

void ResetCallCounts() {
  std::lock_guard<std::mutex> lock(g_mutex);
  g_calls.clear();
}

}  // namespace provider
