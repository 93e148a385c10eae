// Cancelling and tearing down the library's objects while their answers are
// under way, the way a controller does it: callbacks hand their work to the
// user-interface thread through the marshal, and the work itself may cancel,
// close the owner, or throw.
#include <gtest/gtest.h>

#include <atomic>
#include <stdexcept>
#include <thread>

#include "TestSupport.h"
#include "content/CallbackMarshal.h"
#include "content/ContentUri.h"
#include "content/ProviderOwner.h"
#include "provider/ProviderAutomation.h"
#include "standins/base/LogControl.h"
#include "standins/connect/ConnectControl.h"

namespace {

namespace U = ContentUri;
using content::CProviderOwner;
using testing_support::PumpUntil;
using testing_support::TempFolder;

// The test thread is the user-interface thread; the library answers on its own.
class ProviderTeardown : public ::testing::Test {
 protected:
  void SetUp() override {
    SetDeviceConnected(true);
    ProviderAutomation::ClearFaults();
    ProviderAutomation::SetInlineAnswers(false);
    ProviderAutomation::UseHandsetFile(folder.File(L"handset.dat"));
    ProviderAutomation::Sample sample;
    sample.contacts = 1600;  // a refresh of several batches
    ProviderAutomation::ResetHandset(sample);
    LOG::SetLogRoot(logs.path());
  }
  void TearDown() override {
    ProviderAutomation::WaitIdle();
    ProviderAutomation::UseHandsetFile(L"");
    LOG::SetLogRoot(L"");
  }
  std::string ErrorLog() const { return testing_support::ReadFile(logs.File(L"log\\PimPluginErr.log")); }

  TempFolder folder;
  TempFolder logs;
};

// A controller in miniature: every callback runs its work through the owner's
// marshal, and a test decides what the work does.
struct Controller : CDataProviderCallback, CExportCallback {
  CProviderOwner owner;
  std::function<void(Controller&)> onBatch;
  std::function<void(Controller&)> onContent;
  int batches = 0, completes = 0, contents = 0, batchesOffThread = 0;
  DWORD uiThread = ::GetCurrentThreadId();

  Controller() { owner.Open(this, nullptr, this); }

  bool OnReturnBatch(const std::wstring&, uint32_t, const ContentList&) override {
    bool off = ::GetCurrentThreadId() != uiThread;
    return owner.Call([this, off] {
      ++batches;
      batchesOffThread += off;
      if (onBatch) onBatch(*this);
      return true;
    });
  }
  bool OnRefreshComplete(const std::wstring&, uint32_t) override {
    return owner.Call([this] { return ++completes, true; });
  }
  bool OnReturnContent(const std::wstring&, uint32_t, const ContentList&) override {
    return owner.Call([this] {
      ++contents;
      if (onContent) onContent(*this);
      return true;
    });
  }
};

TEST_F(ProviderTeardown, CancelFromInsideTheWorkOfAnAnswerStopsTheRefreshAndReturnsAtOnce) {
  Controller controller;
  controller.onBatch = [](Controller& c) { c.owner.Provider()->Cancel(); };
  ASSERT_TRUE(controller.owner.Provider()->DeleteProvider(U::kContactStore));
  ASSERT_TRUE(PumpUntil([&] { return controller.batches > 0; }, 30000));
  // Then a request after the cancel is answered as usual: the library goes on.
  ASSERT_TRUE(controller.owner.Provider()->QueryAll(U::kGroup));
  ASSERT_TRUE(PumpUntil([&] { return controller.contents == 1; }, 30000));
  EXPECT_EQ(controller.batches, 1) << "nothing of the cancelled refresh arrives after the batch that cancelled it";
  EXPECT_EQ(controller.completes, 0);
  EXPECT_EQ(controller.batchesOffThread, 1) << "the work ran on the user-interface thread, handed over";
}

TEST_F(ProviderTeardown, ClosingTheOwnerFromInsideTheWorkOfAnAnswerDestroysTheObjectsOnceItHasReturned) {
  Controller controller;
  bool objectsDuringWork = false;
  controller.onContent = [&](Controller& c) {
    c.owner.Close();
    objectsDuringWork = c.owner.Provider() != nullptr;
    EXPECT_TRUE(content::InCallbackWork());
  };
  IDataProvider* provider = controller.owner.Provider();
  ASSERT_TRUE(provider->QueryAll(U::kGroup));
  ASSERT_TRUE(provider->QueryAll(U::kGroup));  // never delivered: the owner closed first
  ASSERT_TRUE(PumpUntil([&] { return controller.contents == 1; }, 30000));
  ProviderAutomation::WaitIdle();  // the library finished; nothing is left to arrive
  testing_support::PumpMessages();
  EXPECT_EQ(controller.contents, 1);
  EXPECT_FALSE(objectsDuringWork);
  EXPECT_EQ(controller.owner.Provider(), nullptr);
  EXPECT_EQ(controller.owner.ExportHelper(), nullptr);
  EXPECT_FALSE(content::InCallbackWork());
}

TEST_F(ProviderTeardown, TheLibraryCopesWithAnObjectDestroyedInsideTheWorkThatItsOwnAnswerWaitsFor) {
  // Not what the plug-in does (it closes its owner), but a library must not
  // hang when a caller does it: the object goes when its answer returns.
  struct Raw : CDataProviderCallback {
    content::CCallbackMarshal marshal;
    IDataProvider* provider = nullptr;
    std::atomic<int> contents{0};
    bool OnReturnContent(const std::wstring&, uint32_t, const ContentList&) override {
      return marshal.Call([this] {
        ++contents;
        DestroyDataProvider(provider);
        return true;
      });
    }
  } raw;
  raw.provider = CreateDataProvider(&raw);
  raw.provider->QueryAll(U::kGroup);
  raw.provider->QueryAll(U::kGroup);
  ASSERT_TRUE(PumpUntil([&] { return raw.contents == 1; }, 30000));
  ProviderAutomation::WaitIdle();
  testing_support::PumpMessages();
  EXPECT_EQ(raw.contents, 1);
  EXPECT_EQ(raw.provider, nullptr);
  EXPECT_NE(ErrorLog().find("destroyed while its answer waits for the destroying thread"), std::string::npos);
}

TEST_F(ProviderTeardown, AnExceptionThrownByCallbackWorkIsLoggedAndStopsThereOnEitherThread) {
  content::CCallbackMarshal marshal;
  auto throwing = [] () -> bool { throw std::runtime_error("bad record"); };
  // On the user-interface thread.
  EXPECT_FALSE(marshal.Call(throwing, false));
  EXPECT_TRUE(marshal.Call(throwing, true));
  // From another thread, handed over.
  std::atomic<int> answer{-1};
  std::thread library([&] { answer = marshal.Call(throwing, false) ? 1 : 0; });
  ASSERT_TRUE(PumpUntil([&] { return answer != -1; }, 30000));
  library.join();
  EXPECT_EQ(answer, 0);
  std::string log = ErrorLog();
  size_t first = log.find("A provider callback failed: bad record");
  ASSERT_NE(first, std::string::npos);
  EXPECT_NE(log.find("A provider callback failed: bad record", first + 1), std::string::npos);
}

TEST_F(ProviderTeardown, StepsKeptForTheEndOfCallbackWorkRunInOrderOnceTheOutermostWorkReturns) {
  content::CCallbackMarshal marshal;
  std::vector<int> order;
  content::RunAfterCallbackWork([&] { order.push_back(0); });  // no work running: at once
  EXPECT_EQ(order, std::vector<int>{0});
  std::atomic<bool> done{false};
  std::thread library([&] {
    marshal.Call([&] {
      content::RunAfterCallbackWork([&] { order.push_back(2); });
      marshal.Call([&] {  // nested work on the same thread
        content::RunAfterCallbackWork([&] { order.push_back(3); });
        return true;
      });
      order.push_back(1);
      return true;
    });
    done = true;
  });
  ASSERT_TRUE(PumpUntil([&] { return done.load(); }, 30000));
  library.join();
  EXPECT_EQ(order, (std::vector<int>{0, 1, 2, 3}));
}

// The export helper's run reports progress in steps; its owner is destroyed
// from the user-interface thread while a step is being reported.
struct Exporter : CExportCallback {
  HANDLE firstStep = ::CreateEventW(nullptr, TRUE, FALSE, nullptr);
  HANDLE proceed = ::CreateEventW(nullptr, TRUE, FALSE, nullptr);
  std::atomic<int> steps{0}, completes{0}, afterProceed{0};
  ~Exporter() {
    ::CloseHandle(firstStep);
    ::CloseHandle(proceed);
  }
  bool OnSetProgress(uint32_t, uint32_t) override {
    if (++steps == 1) {
      ::SetEvent(firstStep);
      ::WaitForSingleObject(proceed, INFINITE);
      return true;
    }
    ++afterProceed;
    return true;
  }
  bool OnExportComplete(const std::wstring&, uint32_t) override {
    ++completes;
    return true;
  }
};

TEST_F(ProviderTeardown, AnExportHelperDestroyedWhileItsRunReportsAStepHearsNothingMoreAndStopsEarly) {
  Exporter exporter;
  IExportHelper* helper = CreateExportHelper(&exporter);
  ASSERT_TRUE(helper->Export(std::wstring(U::kContact) + L"?export=xml", folder.File(L"out.xml")));
  ASSERT_EQ(::WaitForSingleObject(exporter.firstStep, 30000), WAIT_OBJECT_0);
  HWND window = ::CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
  ASSERT_TRUE(window);
  // WM_NULL to a window of this thread is handled only when this thread takes
  // sent messages, which it does first inside DestroyExportHelper's wait.
  std::thread releaser([&] {
    ::SendMessageW(window, WM_NULL, 0, 0);
    ::SetEvent(exporter.proceed);
  });
  DestroyExportHelper(helper);
  releaser.join();
  ::DestroyWindow(window);
  EXPECT_EQ(helper, nullptr);
  EXPECT_EQ(exporter.steps, 1);
  EXPECT_EQ(exporter.afterProceed, 0) << "the run went on reporting to a destroyed helper's callback";
  EXPECT_EQ(exporter.completes, 0);
}

}  // namespace
