#include "ProviderAutomation.h"

#include <algorithm>

#include "AnswerQueue.h"
#include "EmbeddedData.h"
#include "Faults.h"
#include "HandsetService.h"
#include "Receivers.h"
#include "handset/Generator.h"

namespace ProviderAutomation {
namespace {

const handset::Corpus& TheCorpus() {
  static const handset::Corpus* corpus = [] {
    auto* loaded = new handset::Corpus();
    loaded->Load(provider::kNamesData);
    loaded->Load(provider::kPlacesData);
    loaded->Load(provider::kTextsData);
    return loaded;
  }();
  return *corpus;
}

// Runs `work` on the answer thread in order with the answers, then saves.
template <class F>
void OnAnswerThread(F work) {
  provider::AnswerQueue::Instance().RunAndWait([&] {
    work();
    provider::HandsetService::Instance().SaveIfChanged();
  });
}

}  // namespace

void SetInlineAnswers(bool inlineAnswers) { provider::AnswerQueue::Instance().SetInline(inlineAnswers); }

void WaitIdle() {
  provider::AnswerQueue::Instance().WaitIdle();
  OnAnswerThread([] {});
}

void UseHandsetFile(const std::wstring& path) {
  OnAnswerThread([&] { provider::HandsetService::Instance().UseFile(path); });
}

std::wstring HandsetFile() {
  std::wstring path;
  OnAnswerThread([&] { path = provider::HandsetService::Instance().FilePath(); });
  return path;
}

void ResetHandset(const Sample& sample) {
  OnAnswerThread([&] {
    handset::Store fresh;
    handset::SampleOptions options;
    options.contacts = sample.contacts;
    options.messages = sample.messages;
    options.events = sample.events;
    options.simCards = sample.simCards;
    options.seed = sample.seed;
    options.untilYear = sample.untilYear;
    options.untilMonth = sample.untilMonth;
    options.untilDay = sample.untilDay;
    if (sample.contacts || sample.messages || sample.events) {
      handset::GenerateSample(fresh, TheCorpus(), options);
    } else {
      SimCardList cards(fresh.SimCards());
      cards.resize(static_cast<size_t>(std::clamp(sample.simCards, 0, 2)));
      fresh.SetSimCards(cards);
    }
    provider::HandsetService::Instance().Replace(std::move(fresh));
  });
}

Counts GetCounts() {
  Counts counts;
  OnAnswerThread([&] {
    handset::Store& store = provider::HandsetService::Instance().Store();
    counts.phoneContacts = store.CountContacts(handset::Book::Phone, false);
    counts.cardOneContacts = store.CountContacts(handset::Book::CardOne, false);
    counts.cardTwoContacts = store.CountContacts(handset::Book::CardTwo, false);
    counts.groups = store.GroupCount();
    counts.messages = store.MessageCount();
    counts.events = store.EventCount();
  });
  return counts;
}

bool SetSimCards(const SimCardList& cards) {
  bool done = false;
  OnAnswerThread([&] { done = provider::HandsetService::Instance().Store().SetSimCards(cards); });
  return done;
}

int ReceiveMessages(int count) {
  int received = 0;
  OnAnswerThread([&] {
    static handset::Random random(::GetTickCount());
    handset::Store& store = provider::HandsetService::Instance().Store();
    std::vector<Message::CSMSData> arrived;
    for (int i = 0; i < count; ++i) arrived.push_back(handset::IncomingMessage(store, TheCorpus(), random));
    ContentList list;
    for (auto& message : arrived) list.push_back(&message);
    auto records = std::make_shared<std::vector<std::unique_ptr<CContent>>>();
    for (ContentId id : store.InsertMessages(list)) records->emplace_back(store.CopyMessage(id));
    received = static_cast<int>(records->size());
    if (received) provider::Receivers::Instance().DeliverToAll(records);
  });
  return received;
}

void FailOperation(const std::wstring& operation, uint32_t status) { provider::FailOperation(operation, status); }
void SetFailureRate(double rate, uint32_t seed) { provider::SetFailureRate(rate, seed); }
void SetAnswerDelay(unsigned milliseconds) { provider::SetAnswerDelay(milliseconds); }
void ClearFaults() {
  provider::ClearFaults();
  provider::HoldTransfers(false);
}
void HoldTransfers(bool hold) { provider::HoldTransfers(hold); }
size_t CallCount(const std::wstring& operation) { return provider::CallCount(operation); }
void ResetCallCounts() { provider::ResetCallCounts(); }

}  // namespace ProviderAutomation
