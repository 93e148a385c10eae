// Delivers the library's answers on its own worker thread, one at a time, in
// the order the requests were made, never while the request's call is still
// on the caller's stack. Each answer belongs to the object (provider, helper)
// that took the request, so that destroying the object can drop its answers.
#pragma once
#include <windows.h>

#include <atomic>
#include <condition_variable>
#include <deque>
#include <map>
#include <functional>
#include <mutex>
#include <thread>

namespace provider {

class AnswerQueue {
 public:
  using Task = std::function<void()>;

  static AnswerQueue& Instance();

  // An object that answers through the queue registers while it lives; the
  // worker thread runs while at least one is registered.
  void AddOwner();
  void RemoveOwner();

  void Post(const void* owner, Task task);

  // A long answer (a refresh streamed in batches) asks between its steps
  // whether it is still wanted: false once its owner dropped its answers
  // after `generation` was taken.
  uint64_t Generation(const void* owner) const;
  bool StillWanted(const void* owner, uint64_t generation) const { return Generation(owner) == generation; }

  // Runs `task` on the answer thread after what is queued, and waits for it
  // (letting sent messages in). From the answer thread it runs at once.
  void RunAndWait(Task task);

  // Runs on the answer thread whenever it has nothing left to do.
  void SetIdleHook(Task hook);

  // Drops the answers of `owner` not yet delivered; an answer of it under way
  // stops at its next step (StillWanted). Never waits, so it may be called
  // from inside an answer's callback on any thread.
  void Cancel(const void* owner);

  // Ends `owner`: drops its answers like Cancel, then runs `destroy` once no
  // answer of it is being delivered. It waits for an answer under way on
  // another thread, letting messages sent to the calling thread in, so an
  // answer that hands its work over with a sent message can finish. Where
  // waiting could never end it does not wait, and `destroy` runs on whichever
  // thread finishes that answer: when called from inside the owner's own
  // answer (on the answer thread, or inline), and when the calling thread is
  // handling a message sent by another thread while the owner's answer is
  // under way (the answer may be the sender, waiting for this very thread).
  void Release(const void* owner, Task destroy);

  // Tests: answer inside the request's call instead of on the worker thread.
  void SetInline(bool inlineAnswers);
  bool IsInline() const;

  // Waits until every answer posted so far has been delivered (tests, benchmarks).
  void WaitIdle();

  bool OnWorkerThread() const { return ::GetCurrentThreadId() == m_workerId; }

 private:
  AnswerQueue() = default;
  void Run();
  void StopWorker(std::unique_lock<std::mutex>& lock);
  // Waits until `done` (checked under the lock) holds, letting sent messages in.
  template <class Predicate>
  void WaitPumping(Predicate done);

  // Runs one answer of `owner` on this thread, then what Release left for it.
  void Deliver(const void* owner, Task& task);
  // What Release left for `owner`, once no answer of it is on this thread's
  // stack (null otherwise). Called with the lock held.
  Task TakeRelease(const void* owner);

  mutable std::mutex m_mutex;
  std::condition_variable m_wake;
  HANDLE m_taskDone = ::CreateEventW(nullptr, FALSE, FALSE, nullptr);
  std::deque<std::pair<const void*, Task>> m_tasks;
  std::map<const void*, uint64_t> m_generations;
  Task m_idleHook;
  const void* m_running = nullptr;          // the owner whose answer the worker delivers
  std::map<const void*, Task> m_releases;   // owners to destroy when their answer returns
  std::thread m_worker;
  std::atomic<DWORD> m_workerId{0};
  int m_owners = 0;
  bool m_stop = false;
  bool m_inline = false;
};

}  // namespace provider
