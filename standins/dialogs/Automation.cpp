#include "Automation.h"

#include <deque>
#include <map>
#include <mutex>

namespace jorv {
namespace {

std::mutex g_mutex;
bool g_unattended = false;
std::vector<JorvCall> g_journal;
std::map<std::wstring, std::deque<JorvResponder>> g_queued;
int g_openWaits = 0;

JorvCall WithoutArguments(const JorvCall& call) {
  JorvCall copy = call;
  copy.contact = nullptr;
  copy.shownContact = nullptr;
  copy.phrase = nullptr;
  copy.entries = nullptr;
  copy.draft = nullptr;
  copy.cards = nullptr;
  copy.written = nullptr;
  copy.save = nullptr;
  return copy;
}

}  // namespace

std::optional<int> Intercept(JorvCall& call) {
  JorvResponder responder;
  bool unattended = false;
  {
    std::lock_guard<std::mutex> lock(g_mutex);
    g_journal.push_back(WithoutArguments(call));
    auto it = g_queued.find(call.function);
    if (it != g_queued.end() && !it->second.empty()) {
      responder = std::move(it->second.front());
      it->second.pop_front();
    }
    unattended = g_unattended;
  }
  // The responder runs without the lock: it may call back into the library.
  if (responder) return responder(call);
  if (unattended) return 0;
  return std::nullopt;
}

void WaitOpened() {
  std::lock_guard<std::mutex> lock(g_mutex);
  ++g_openWaits;
}

void WaitClosed() {
  std::lock_guard<std::mutex> lock(g_mutex);
  if (g_openWaits > 0) --g_openWaits;
}

}  // namespace jorv

namespace JorvAutomation {

void SetUnattended(bool unattended) {
  std::lock_guard<std::mutex> lock(jorv::g_mutex);
  jorv::g_unattended = unattended;
}

bool IsUnattended() {
  std::lock_guard<std::mutex> lock(jorv::g_mutex);
  return jorv::g_unattended;
}

void Queue(const std::wstring& function, JorvResponder responder) {
  std::lock_guard<std::mutex> lock(jorv::g_mutex);
  jorv::g_queued[function].push_back(std::move(responder));
}

void QueueAnswer(const std::wstring& function, int result) {
  Queue(function, [result](JorvCall&) { return result; });
}

std::vector<JorvCall> TakeJournal() {
  std::lock_guard<std::mutex> lock(jorv::g_mutex);
  std::vector<JorvCall> journal;
  journal.swap(jorv::g_journal);
  return journal;
}

void Reset() {
  std::lock_guard<std::mutex> lock(jorv::g_mutex);
  jorv::g_journal.clear();
  jorv::g_queued.clear();
}

int OpenWaitCount() {
  std::lock_guard<std::mutex> lock(jorv::g_mutex);
  return jorv::g_openWaits;
}

}  // namespace JorvAutomation
