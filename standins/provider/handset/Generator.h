// A deterministic sample handset of any size, for the demo, the tests and the
// benchmarks: Chinese and English contacts with numbers, addresses and
// companies, groups, SIM card books, conversations over several years in
// every kind of folder, and events (single, all-day and repeating). The same
// options give the same handset on every machine.
#pragma once
#include <cstdint>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "Store.h"

namespace handset {

// Word lists the sample is made from: sections of "[name]" followed by one
// entry per line.
class Corpus {
 public:
  void Load(std::string_view utf8);
  const std::vector<std::wstring>& Section(const std::string& name) const;

 private:
  std::map<std::string, std::vector<std::wstring>> m_sections;
};

// xorshift64*: the same sequence from the same seed everywhere.
class Random {
 public:
  explicit Random(uint64_t seed) : m_state(seed * 0x9E3779B97F4A7C15ull + 1) {}
  uint64_t Next();
  uint32_t Below(uint32_t bound) { return bound ? static_cast<uint32_t>(Next() % bound) : 0; }
  int Between(int low, int high) { return low + static_cast<int>(Below(static_cast<uint32_t>(high - low + 1))); }
  bool Chance(double probability) { return (Next() >> 11) * (1.0 / 9007199254740992.0) < probability; }
  template <class T>
  const T& Pick(const std::vector<T>& items) { return items[Below(static_cast<uint32_t>(items.size()))]; }

 private:
  uint64_t m_state;
};

struct SampleOptions {
  int contacts = 300;
  int messages = 3000;
  int events = 300;
  int simCards = 2;     // 0, 1 or 2
  uint32_t seed = 1;
  // Messages end and events centre on this day (a fixed day by default, so
  // the sample does not depend on when it is made).
  int untilYear = 2026, untilMonth = 12, untilDay = 1;
};

// Fills `store` (a new one) with the sample.
void GenerateSample(Store& store, const Corpus& corpus, const SampleOptions& options);

// A message as it arrives now from one of the handset's correspondents.
Message::CSMSData IncomingMessage(const Store& store, const Corpus& corpus, Random& random);

}  // namespace handset
