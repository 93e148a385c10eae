// The message helpers that asked to hear of incoming messages (startRecv).
#pragma once
#include <memory>
#include <mutex>
#include <set>
#include <vector>

#include "content/Content.h"

namespace provider {

// Copies of records that an answer hands out.
using Records = std::shared_ptr<std::vector<std::unique_ptr<CContent>>>;

class CReceiver {
 public:
  // Queues the report of `received` (on the answer thread).
  virtual void Deliver(const Records& received) = 0;

 protected:
  ~CReceiver() = default;
};

class Receivers {
 public:
  static Receivers& Instance() {
    static Receivers* receivers = new Receivers();
    return *receivers;
  }
  void Add(CReceiver* receiver) {
    std::lock_guard<std::mutex> lock(m_mutex);
    m_receivers.insert(receiver);
  }
  void Remove(CReceiver* receiver) {
    std::lock_guard<std::mutex> lock(m_mutex);
    m_receivers.erase(receiver);
  }
  // Reports `received` to every receiver; they stay registered meanwhile.
  void DeliverToAll(const Records& received) {
    std::lock_guard<std::mutex> lock(m_mutex);
    for (CReceiver* receiver : m_receivers) receiver->Deliver(received);
  }
  size_t Count() {
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_receivers.size();
  }

 private:
  std::mutex m_mutex;
  std::set<CReceiver*> m_receivers;
};

}  // namespace provider
