// The data-provider library's answering machinery: asynchronous answers in
// request order, dropped answers of destroyed objects, inline mode.
#include <gtest/gtest.h>

#include <atomic>
#include <mutex>
#include <vector>

#include "TestSupport.h"
#include "content/ContentUri.h"
#include "content/DataProvider.h"
#include "provider/ProviderAutomation.h"

namespace {

struct Recorder : CDataProviderCallback {
  std::mutex mutex;
  std::vector<std::wstring> uris;
  std::vector<uint32_t> statuses;
  std::vector<DWORD> threads;
  std::atomic<bool> inCall{false};
  std::atomic<int> answeredDuringCall{0};
  void Record(const std::wstring& uri, uint32_t status) {
    if (inCall) ++answeredDuringCall;
    std::lock_guard<std::mutex> lock(mutex);
    uris.push_back(uri);
    statuses.push_back(status);
    threads.push_back(::GetCurrentThreadId());
  }
  bool OnReturnContent(const std::wstring& uri, uint32_t status, const ContentList&) override {
    Record(uri, status);
    return true;
  }
  bool OnReturnCount(const std::wstring& uri, uint32_t status, uint32_t) override {
    Record(uri, status);
    return true;
  }
  bool OnRefreshComplete(const std::wstring& uri, uint32_t status) override {
    Record(uri, status);
    return true;
  }
  bool OnDelete(const std::wstring& uri, uint32_t status) override {
    Record(uri, status);
    return true;
  }
};

TEST(DataProvider, WithoutACallbackNothingIsCreated) {
  EXPECT_EQ(CreateDataProvider(nullptr), nullptr);
  EXPECT_EQ(CreateInstantMessageHelper(nullptr), nullptr);
  EXPECT_EQ(CreateExportHelper(nullptr), nullptr);
}

TEST(DataProvider, AnswersComeLaterOnTheLibrarysThreadInRequestOrder) {
  Recorder recorder;
  IDataProvider* provider = CreateDataProvider(&recorder);
  ASSERT_NE(provider, nullptr);
  recorder.inCall = true;
  EXPECT_TRUE(provider->QueryAll(ContentUri::kContact));
  EXPECT_TRUE(provider->QueryAll(ContentUri::kContactCount));
  EXPECT_TRUE(provider->DeleteProvider(ContentUri::kContactStore));
  EXPECT_TRUE(provider->Delete(ContentUri::kGroup, IdList{1, 2}));
  recorder.inCall = false;
  ProviderAutomation::WaitIdle();
  EXPECT_EQ(recorder.answeredDuringCall, 0);
  EXPECT_EQ(recorder.uris, (std::vector<std::wstring>{ContentUri::kContact, ContentUri::kContactCount,
                                                      ContentUri::kContactStore, ContentUri::kGroup}));
  ASSERT_EQ(recorder.threads.size(), 4u);
  EXPECT_NE(recorder.threads[0], ::GetCurrentThreadId());
  // No handset behind the library yet: every answer says so.
  for (uint32_t status : recorder.statuses) EXPECT_NE(status, 0u);
  DestroyDataProvider(provider);
  EXPECT_EQ(provider, nullptr);
}

// Blocks the answer thread inside a callback until released.
struct Gate : CDataProviderCallback {
  HANDLE entered = ::CreateEventW(nullptr, TRUE, FALSE, nullptr);
  HANDLE release = ::CreateEventW(nullptr, TRUE, FALSE, nullptr);
  ~Gate() {
    ::CloseHandle(entered);
    ::CloseHandle(release);
  }
  bool OnReturnContent(const std::wstring&, uint32_t, const ContentList&) override {
    ::SetEvent(entered);
    ::WaitForSingleObject(release, 5000);
    return true;
  }
};

TEST(DataProvider, DestroyingAnObjectDropsItsAnswersAndWaitsForTheOneUnderWay) {
  Gate gate;
  Recorder recorder;
  IDataProvider* blocker = CreateDataProvider(&gate);
  IDataProvider* provider = CreateDataProvider(&recorder);
  blocker->QueryAll(ContentUri::kContact);  // holds the answer thread
  ASSERT_EQ(::WaitForSingleObject(gate.entered, 5000), WAIT_OBJECT_0);
  provider->QueryAll(ContentUri::kContact);
  provider->QueryAll(ContentUri::kGroup);
  DestroyDataProvider(provider);  // its two answers are still queued
  ::SetEvent(gate.release);
  DestroyDataProvider(blocker);  // waits for the answer under way
  EXPECT_TRUE(recorder.uris.empty());
}

TEST(DataProvider, CancelDropsAnswersNotYetDelivered) {
  Gate gate;
  Recorder recorder;
  IDataProvider* blocker = CreateDataProvider(&gate);
  IDataProvider* provider = CreateDataProvider(&recorder);
  blocker->QueryAll(ContentUri::kContact);
  ASSERT_EQ(::WaitForSingleObject(gate.entered, 5000), WAIT_OBJECT_0);
  provider->QueryAll(ContentUri::kContact);
  EXPECT_TRUE(provider->Cancel());
  provider->QueryAll(ContentUri::kGroup);  // asked after the cancel: answered
  ::SetEvent(gate.release);
  ProviderAutomation::WaitIdle();
  EXPECT_EQ(recorder.uris, std::vector<std::wstring>{ContentUri::kGroup});
  DestroyDataProvider(provider);
  DestroyDataProvider(blocker);
}

// A callback that destroys its own provider from inside the answer.
struct SelfDestroying : CDataProviderCallback {
  IDataProvider* provider = nullptr;
  int answers = 0;
  bool OnReturnContent(const std::wstring&, uint32_t, const ContentList&) override {
    ++answers;
    DestroyDataProvider(provider);
    return true;
  }
};

TEST(DataProvider, AnObjectMayBeDestroyedFromInsideItsOwnAnswer) {
  SelfDestroying callback;
  callback.provider = CreateDataProvider(&callback);
  callback.provider->QueryAll(ContentUri::kContact);
  callback.provider->QueryAll(ContentUri::kGroup);  // dropped by the destruction
  ProviderAutomation::WaitIdle();
  EXPECT_EQ(callback.answers, 1);
  EXPECT_EQ(callback.provider, nullptr);
}

// A callback that brings its answer to the user-interface thread with a sent
// message, as the plug-in does.
struct SendsToWindow : CDataProviderCallback {
  HWND window = nullptr;
  std::atomic<int> delivered{0};
  bool OnReturnContent(const std::wstring&, uint32_t, const ContentList&) override {
    ::SendMessageW(window, WM_NULL, 0, 0);
    ++delivered;
    return true;
  }
};

TEST(DataProvider, WaitingForTheLibraryLetsAnswersSentToThisThreadThrough) {
  SendsToWindow callback;
  callback.window = testing_support::CreateTestParent();
  IDataProvider* provider = CreateDataProvider(&callback);
  for (int i = 0; i < 5; ++i) provider->QueryAll(ContentUri::kContact);
  ProviderAutomation::WaitIdle();  // would never return if sent messages were not let in
  EXPECT_EQ(callback.delivered, 5);
  provider->QueryAll(ContentUri::kContact);
  DestroyDataProvider(provider);  // and neither would this
  ::DestroyWindow(callback.window);
}

TEST(DataProvider, InlineModeAnswersInsideTheCall) {
  Recorder recorder;
  ProviderAutomation::SetInlineAnswers(true);
  IDataProvider* provider = CreateDataProvider(&recorder);
  provider->QueryAll(ContentUri::kContact);
  EXPECT_EQ(recorder.uris.size(), 1u);
  EXPECT_EQ(recorder.threads[0], ::GetCurrentThreadId());
  ProviderAutomation::SetInlineAnswers(false);
  DestroyDataProvider(provider);
}

struct ImRecorder : CInstantMessageCallback {
  int sims = 0;
  uint32_t status = 0;
  bool OnGetSimInfo(uint32_t s, const SimCardList&) override {
    ++sims;
    status = s;
    return true;
  }
};

struct ExportRecorder : CExportCallback {
  std::vector<std::wstring> completed;
  bool OnExportComplete(const std::wstring& uri, uint32_t) override {
    completed.push_back(uri);
    return true;
  }
  bool OnImportComplete(const std::wstring& uri, uint32_t) override {
    completed.push_back(uri);
    return true;
  }
};

TEST(DataProvider, HelpersAnswerThroughTheirOwnCallbacks) {
  ImRecorder im;
  ExportRecorder exports;
  IInstantMessageHelper* helper = CreateInstantMessageHelper(&im);
  IExportHelper* exporter = CreateExportHelper(&exports);
  EXPECT_TRUE(helper->GetSimInfo());
  EXPECT_TRUE(exporter->Export(std::wstring(ContentUri::kContact) + ContentUri::kExportXmlSuffix, L"C:\\x.xml"));
  EXPECT_TRUE(exporter->Import(ContentUri::kContactImportXml, {L"C:\\x.xml"}));
  ProviderAutomation::WaitIdle();
  EXPECT_EQ(im.sims, 1);
  EXPECT_NE(im.status, 0u);
  EXPECT_EQ(exports.completed, (std::vector<std::wstring>{L"content://contact/contact?export=xml",
                                                          ContentUri::kContactImportXml}));
  DestroyInstantMessageHelper(helper);
  DestroyExportHelper(exporter);
  EXPECT_EQ(helper, nullptr);
  EXPECT_EQ(exporter, nullptr);
}

}  // namespace
