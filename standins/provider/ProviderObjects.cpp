// The objects the library hands out: each request is answered later, on the
// answer thread, through the callback given at creation.

#include "content/DataProvider.h"

#include <memory>

#include "AnswerQueue.h"
#include "ProviderStatus.h"
#include "content/ContentUri.h"
#include "frame/suite/BaseLibrary.h"

namespace provider {
namespace {

// What the three kinds of object share: they answer through the answer queue,
// and their undelivered answers die with them.
template <class TCallback>
class CAnswering {
 protected:
  explicit CAnswering(TCallback* callback) : m_callback(callback) { AnswerQueue::Instance().AddOwner(); }
  ~CAnswering() {
    AnswerQueue::Instance().Drop(this);
    AnswerQueue::Instance().RemoveOwner();
  }
  CAnswering(const CAnswering&) = delete;
  CAnswering& operator=(const CAnswering&) = delete;

  // Queues `reply(callback)`; answers whether the request was taken.
  template <class F>
  bool Answer(F reply) {
    if (!m_callback) return false;
    TCallback* callback = m_callback;
    AnswerQueue::Instance().Post(this, [callback, reply] { reply(callback); });
    return true;
  }
  void DropAnswers() { AnswerQueue::Instance().Drop(this); }

  TCallback* m_callback;
};

// Until a handset stands behind the library, every request is taken and
// answered with kNoPhone through the callback that the request expects.
class CDataProviderImpl final : public IDataProvider, private CAnswering<IDataProviderCallback> {
 public:
  explicit CDataProviderImpl(IDataProviderCallback* callback) : CAnswering(callback) {}

  bool Reserved0() override { return false; }
  bool Cancel() override {
    DropAnswers();
    return true;
  }
  bool Reserved2(const std::wstring&) override { return false; }
  bool DeleteProvider(const std::wstring& uri) override {
    return Answer([=](IDataProviderCallback* c) { c->OnRefreshComplete(uri, kNoPhone); });
  }
  bool InsertMessage(const std::wstring& uri, const ContentList&) override { return FailList(uri, &IDataProviderCallback::OnInsert); }
  bool Insert(const std::wstring& uri, CContent*) override { return FailList(uri, &IDataProviderCallback::OnInsert); }
  bool Reserved6(const std::wstring&) override { return false; }
  bool Update(const std::wstring& uri, CContent*) override { return FailList(uri, &IDataProviderCallback::OnUpdate); }
  bool Delete(const std::wstring& uri, const IdList&) override { return FailStatus(uri, &IDataProviderCallback::OnDelete); }
  bool MoveMembership(const std::wstring& uri, const IdList&, ContentId) override {
    return FailStatus(uri, &IDataProviderCallback::OnMembership);
  }
  bool AttachMembership(const std::wstring& uri, const IdList&, ContentId, bool) override {
    return FailStatus(uri, &IDataProviderCallback::OnMembership);
  }
  bool SetLock(const std::wstring& uri, const IdList&, bool) override { return FailStatus(uri, &IDataProviderCallback::OnSetLock); }
  bool SetMessageRead(const std::wstring& uri, const IdList&, bool) override {
    return FailStatus(uri, &IDataProviderCallback::OnSetRead);
  }
  bool AddCollection(const std::wstring& uri, const IdList&, bool) override {
    return FailStatus(uri, &IDataProviderCallback::OnSetStar);
  }
  bool QueryByContentId(const std::wstring& uri, ContentId) override { return FailList(uri, &IDataProviderCallback::OnReturnById); }
  bool QueryByClassId(const std::wstring& uri, ContentId) override { return FailList(uri, &IDataProviderCallback::OnReturnContent); }
  bool QueryAll(const std::wstring& uri) override {
    if (uri.size() > 13 && uri.compare(uri.size() - 13, 13, L"?result=count") == 0)
      return Answer([=](IDataProviderCallback* c) { c->OnReturnCount(uri, kNoPhone, 0); });
    if (uri == ContentUri::kConversations)
      return Answer([=](IDataProviderCallback* c) { c->OnReturnGroupContent(uri, kNoPhone, GroupedContent()); });
    return FailList(uri, &IDataProviderCallback::OnReturnContent);
  }
  bool SearchContact(const std::wstring& uri, const std::wstring&, ContentId) override {
    return FailList(uri, &IDataProviderCallback::OnReturnContent);
  }
  bool QueryByDate(const std::wstring& uri, const std::wstring&, const std::wstring&) override {
    if (uri == ContentUri::kCalendarByDate)
      return Answer([=](IDataProviderCallback* c) { c->OnReturnDates(uri, kNoPhone, DayList()); });
    return Answer([=](IDataProviderCallback* c) { c->OnReturnGroupContent(uri, kNoPhone, GroupedContent()); });
  }
  bool QueryByTelephoneNumber(const std::wstring& uri, const std::wstring&) override {
    return FailList(uri, &IDataProviderCallback::OnReturnContent);
  }
  bool QueryGroupCount(const std::wstring& uri) override {
    return Answer([=](IDataProviderCallback* c) { c->OnReturnGroupCount(uri, kNoPhone, GroupCountList()); });
  }

 private:
  bool FailList(const std::wstring& uri,
                bool (IDataProviderCallback::*reply)(const std::wstring&, uint32_t, const ContentList&)) {
    return Answer([=](IDataProviderCallback* c) { (c->*reply)(uri, kNoPhone, ContentList()); });
  }
  bool FailStatus(const std::wstring& uri, bool (IDataProviderCallback::*reply)(const std::wstring&, uint32_t)) {
    return Answer([=](IDataProviderCallback* c) { (c->*reply)(uri, kNoPhone); });
  }
};

class CInstantMessageHelperImpl final : public IInstantMessageHelper, private CAnswering<IInstantMessageCallback> {
 public:
  explicit CInstantMessageHelperImpl(IInstantMessageCallback* callback) : CAnswering(callback) {}
  bool Reserved0() override { return false; }
  bool GetSimInfo() override {
    return Answer([](IInstantMessageCallback* c) { c->OnGetSimInfo(kNoPhone, SimCardList()); });
  }
  bool Send(const std::wstring& uri, int32_t, const ContentList&, int32_t) override {
    return Answer([=](IInstantMessageCallback* c) { c->OnSent(uri, kNoPhone, ContentList()); });
  }
  bool startRecv(const std::wstring&) override { return m_callback != nullptr; }
  bool stopRecv() override { return m_callback != nullptr; }
};

class CExportHelperImpl final : public IExportHelper, private CAnswering<IExportCallback> {
 public:
  explicit CExportHelperImpl(IExportCallback* callback) : CAnswering(callback) {}
  bool Reserved0() override { return false; }
  bool CancelExport() override {
    DropAnswers();
    return true;
  }
  bool ImportFromFolder(const std::wstring& uri, const std::wstring&) override { return Imported(uri); }
  bool Import(const std::wstring& uri, const std::list<std::wstring>&) override { return Imported(uri); }
  bool ExportByClassId(const std::wstring& uri, const std::wstring&, ContentId) override { return Exported(uri); }
  bool ExportByIds(const std::wstring& uri, const std::wstring&, const IdList&) override { return Exported(uri); }
  bool Export(const std::wstring& uri, const std::wstring&) override { return Exported(uri); }

 private:
  bool Imported(const std::wstring& uri) {
    return Answer([=](IExportCallback* c) { c->OnImportComplete(uri, kNoPhone); });
  }
  bool Exported(const std::wstring& uri) {
    return Answer([=](IExportCallback* c) { c->OnExportComplete(uri, kNoPhone); });
  }
};

}  // namespace
}  // namespace provider

IDataProvider* CreateDataProvider(IDataProviderCallback* callback) {
  return callback ? new provider::CDataProviderImpl(callback) : nullptr;
}

void DestroyDataProvider(IDataProvider*& provider) {
  delete static_cast<provider::CDataProviderImpl*>(provider);
  provider = nullptr;
}

IInstantMessageHelper* CreateInstantMessageHelper(IInstantMessageCallback* callback) {
  return callback ? new provider::CInstantMessageHelperImpl(callback) : nullptr;
}

void DestroyInstantMessageHelper(IInstantMessageHelper*& helper) {
  delete static_cast<provider::CInstantMessageHelperImpl*>(helper);
  helper = nullptr;
}

IExportHelper* CreateExportHelper(IExportCallback* callback) {
  return callback ? new provider::CExportHelperImpl(callback) : nullptr;
}

void DestroyExportHelper(IExportHelper*& helper) {
  delete static_cast<provider::CExportHelperImpl*>(helper);
  helper = nullptr;
}
