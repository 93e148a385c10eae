// Callbacks of other threads reach the user-interface thread in arrival
// order, while the records of the reply are still valid.
#include <gtest/gtest.h>

#include <atomic>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "TestSupport.h"
#include "content/CallbackMarshal.h"
#include "content/Content.h"

namespace {

using content::CCallbackMarshal;

// Stands for the library: fires a "callback" whose records live only for the
// duration of the call, as the library's do.
bool FireCallback(CCallbackMarshal& marshal, int sequence, std::vector<int>& seen, std::vector<DWORD>& threads,
                  DWORD& worker) {
  ContentList records;
  auto* record = new CContent();
  record->m_id = static_cast<ContentId>(sequence);
  records.push_back(record);
  worker = ::GetCurrentThreadId();
  bool answer = marshal.Call([&] {
    // Runs on the user-interface thread and reads the payload.
    seen.push_back(static_cast<int>(records.front()->m_id));
    threads.push_back(::GetCurrentThreadId());
    return true;
  });
  DeleteContents(records);  // the library frees its records once the callback returned
  return answer;
}

TEST(CallbackMarshal, CallbacksFromSeveralThreadsRunOnTheUiThreadInArrivalOrder) {
  CCallbackMarshal marshal;
  constexpr int kThreads = 4, kEach = 50;
  std::vector<int> seen;
  std::vector<DWORD> threads;
  std::mutex order;  // the library's threads take turns, in sequence order
  int next = 0;
  std::atomic<int> finished{0};
  std::vector<std::thread> workers;
  for (int t = 0; t < kThreads; ++t)
    workers.emplace_back([&] {
      DWORD worker = 0;
      for (int i = 0; i < kEach; ++i) {
        std::lock_guard<std::mutex> lock(order);
        FireCallback(marshal, next++, seen, threads, worker);
      }
      ++finished;
    });
  ASSERT_TRUE(testing_support::PumpUntil([&] { return finished == kThreads; }, 20000));
  for (auto& worker : workers) worker.join();
  ASSERT_EQ(seen.size(), static_cast<size_t>(kThreads * kEach));
  for (int i = 0; i < kThreads * kEach; ++i) ASSERT_EQ(seen[static_cast<size_t>(i)], i);
  for (DWORD thread : threads) EXPECT_EQ(thread, ::GetCurrentThreadId());
}

TEST(CallbackMarshal, ACallbackOnTheUiThreadRunsAtOnce) {
  CCallbackMarshal marshal;
  std::vector<int> seen;
  std::vector<DWORD> threads;
  DWORD worker = 0;
  EXPECT_TRUE(FireCallback(marshal, 42, seen, threads, worker));
  EXPECT_EQ(seen, std::vector<int>{42});
  EXPECT_EQ(marshal.Call([] { return false; }), false) << "the work's answer comes back";
}

TEST(CallbackMarshal, AClosedMarshalRunsNothingAndAnswersTheClosedAnswer) {
  CCallbackMarshal marshal;
  marshal.Close();
  bool ran = false;
  EXPECT_TRUE(marshal.Call([&] { return ran = true, false; }));
  EXPECT_FALSE(marshal.Call([&] { return ran = true; }, false));
  std::thread other([&] { marshal.Call([&] { return ran = true; }); });
  other.join();  // returns at once: no pumping needed
  EXPECT_FALSE(ran);
}

TEST(CallbackMarshal, WorkOnItsWayWhenTheMarshalClosesDoesNotRun) {
  auto marshal = std::make_unique<CCallbackMarshal>();
  bool ran = false;
  bool answer = false;
  std::thread worker([&] {
    answer = marshal->Call([&] { return ran = true; }, true);
  });
  // Wait until the work is waiting for this thread to take it.
  DWORD start = ::GetTickCount();
  while (!(HIWORD(::GetQueueStatus(QS_SENDMESSAGE)) & QS_SENDMESSAGE)) {
    ASSERT_LT(::GetTickCount() - start, 30000u) << "the work never arrived";
    ::Sleep(1);
  }
  marshal->Close();   // the controller closes before it tears down
  testing_support::PumpMessages(200);
  worker.join();
  EXPECT_FALSE(ran);
  EXPECT_TRUE(answer);
}

}  // namespace
