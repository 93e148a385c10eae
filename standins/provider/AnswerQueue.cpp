#include "AnswerQueue.h"

#include <exception>
#include <memory>
#include <vector>

#include "frame/suite/BaseLibrary.h"

namespace provider {

AnswerQueue& AnswerQueue::Instance() {
  // Never destroyed: its thread is stopped when the last owner goes, so that
  // the library can be unloaded, and process exit needs nothing of it.
  static AnswerQueue* queue = new AnswerQueue();
  return *queue;
}

void AnswerQueue::AddOwner() {
  std::lock_guard<std::mutex> lock(m_mutex);
  ++m_owners;
  if (!m_worker.joinable()) {
    m_stop = false;
    m_worker = std::thread([this] { Run(); });
  }
}

void AnswerQueue::RemoveOwner() {
  std::unique_lock<std::mutex> lock(m_mutex);
  if (--m_owners > 0 || !m_worker.joinable()) return;
  if (OnWorkerThread()) return;  // the last object died inside an answer: the thread stays
  StopWorker(lock);
}

void AnswerQueue::StopWorker(std::unique_lock<std::mutex>& lock) {
  m_stop = true;
  m_wake.notify_all();
  std::thread worker = std::move(m_worker);
  lock.unlock();
  worker.join();
  lock.lock();
  m_workerId = 0;
}

namespace {
// The owners whose answers run on this thread now, innermost last.
std::vector<const void*>& AnsweringHere() {
  thread_local std::vector<const void*> owners;
  return owners;
}
bool AnsweringHere(const void* owner) {
  for (const void* o : AnsweringHere())
    if (o == owner) return true;
  return false;
}
}  // namespace

void AnswerQueue::Deliver(const void* owner, Task& task) {
  AnsweringHere().push_back(owner);
  try {
    task();
  } catch (const std::exception& e) {
    LOG::E(PIM_ERROR_LOG, "DataProvider: an answer failed: %s", e.what());
  } catch (...) {
    LOG::E(PIM_ERROR_LOG, "DataProvider: an answer failed");
  }
  task = nullptr;  // release what it captured before others see it is done
  AnsweringHere().pop_back();
}

AnswerQueue::Task AnswerQueue::TakeRelease(const void* owner) {
  if (AnsweringHere(owner)) return nullptr;  // an outer answer of the same owner is still on this stack
  auto it = m_releases.find(owner);
  if (it == m_releases.end()) return nullptr;
  Task destroy = std::move(it->second);
  m_releases.erase(it);
  return destroy;
}

void AnswerQueue::Post(const void* owner, Task task) {
  if (IsInline()) {
    Deliver(owner, task);
    Task destroy;
    {
      std::lock_guard<std::mutex> lock(m_mutex);
      destroy = TakeRelease(owner);
    }
    if (destroy) destroy();
    return;
  }
  std::lock_guard<std::mutex> lock(m_mutex);
  m_tasks.emplace_back(owner, std::move(task));
  m_wake.notify_one();
}

template <class Predicate>
void AnswerQueue::WaitPumping(Predicate done) {
  for (;;) {
    {
      std::lock_guard<std::mutex> lock(m_mutex);
      if (done()) return;
    }
    // A callback may be sending a message to this thread's windows and waiting
    // for it: let sent messages in while waiting.
    DWORD woke = ::MsgWaitForMultipleObjects(1, &m_taskDone, FALSE, 5, QS_SENDMESSAGE);
    if (woke == WAIT_OBJECT_0 + 1) {
      MSG msg;
      ::PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
    }
  }
}

uint64_t AnswerQueue::Generation(const void* owner) const {
  std::lock_guard<std::mutex> lock(m_mutex);
  auto it = m_generations.find(owner);
  return it == m_generations.end() ? 0 : it->second;
}

void AnswerQueue::SetIdleHook(Task hook) {
  std::lock_guard<std::mutex> lock(m_mutex);
  m_idleHook = std::move(hook);
}

void AnswerQueue::RunAndWait(Task task) {
  bool here;
  {
    std::lock_guard<std::mutex> lock(m_mutex);
    here = m_inline || !m_worker.joinable();  // no answer thread: nothing else runs
  }
  if (here || OnWorkerThread()) {
    task();
    return;
  }
  auto done = std::make_shared<std::atomic<bool>>(false);
  static const int kOwner = 0;  // work of the library itself, never dropped
  Post(&kOwner, [task = std::move(task), done] {
    task();
    *done = true;
  });
  WaitPumping([&] { return done->load(); });
}

void AnswerQueue::Cancel(const void* owner) {
  std::lock_guard<std::mutex> lock(m_mutex);
  ++m_generations[owner];
  for (auto it = m_tasks.begin(); it != m_tasks.end();) it = it->first == owner ? m_tasks.erase(it) : it + 1;
}

void AnswerQueue::Release(const void* owner, Task destroy) {
  Cancel(owner);
  bool sentToHere = (::InSendMessageEx(nullptr) & (ISMEX_SEND | ISMEX_REPLIED)) == ISMEX_SEND;
  {
    std::lock_guard<std::mutex> lock(m_mutex);
    bool runningElsewhere = m_running == owner && !OnWorkerThread();
    if (AnsweringHere(owner) || (runningElsewhere && sentToHere)) {
      if (runningElsewhere)
        LOG::E(PIM_ERROR_LOG, "DataProvider: an object was destroyed while its answer waits for the destroying "
                              "thread; it goes when that answer returns");
      m_releases[owner] = std::move(destroy);
      return;
    }
  }
  WaitPumping([&] { return m_running != owner; });
  destroy();
}

void AnswerQueue::SetInline(bool inlineAnswers) {
  std::lock_guard<std::mutex> lock(m_mutex);
  m_inline = inlineAnswers;
}

bool AnswerQueue::IsInline() const {
  std::lock_guard<std::mutex> lock(m_mutex);
  return m_inline;
}

void AnswerQueue::WaitIdle() {
  if (OnWorkerThread()) return;
  WaitPumping([&] { return m_tasks.empty() && m_running == nullptr; });
}

void AnswerQueue::Run() {
  std::unique_lock<std::mutex> lock(m_mutex);
  m_workerId = ::GetCurrentThreadId();
  for (;;) {
    m_wake.wait(lock, [&] { return m_stop || !m_tasks.empty(); });
    if (m_tasks.empty()) break;  // stopping, with nothing left that someone waits for
    auto [owner, task] = std::move(m_tasks.front());
    m_tasks.pop_front();
    m_running = owner;
    lock.unlock();
    Deliver(owner, task);
    lock.lock();
    // Released while its answer ran: it goes now, before anyone sees the answer done.
    if (Task destroy = TakeRelease(owner)) {
      lock.unlock();
      destroy();
      lock.lock();
    }
    if (m_tasks.empty() && m_idleHook) {
      Task hook = m_idleHook;
      lock.unlock();
      try {
        hook();
      } catch (...) {
        LOG::E(PIM_ERROR_LOG, "DataProvider: the idle work failed");
      }
      lock.lock();
    }
    m_running = nullptr;
    ::SetEvent(m_taskDone);
  }
  m_tasks.clear();
  ::SetEvent(m_taskDone);
}

}  // namespace provider
