// The objects the library hands out. Each request is checked and queued at
// once; its answer is worked out on the answer thread against the simulated
// handset and delivered through the callback given at creation.
#include "content/DataProvider.h"

#include <atomic>
#include <memory>
#include <mutex>
#include <set>
#include <vector>

#include "AnswerQueue.h"
#include "Faults.h"
#include "HandsetService.h"
#include "ProviderStatus.h"
#include "Receivers.h"
#include "content/ContentUri.h"
#include "standins/base/LogControl.h"
#include "standins/connect/ConnectControl.h"
#include "handset/Recurrence.h"
#include "files/PortRuns.h"
#include "files/SheetPort.h"

namespace provider {
namespace {

using handset::Book;
namespace U = ContentUri;

constexpr size_t kBatchSize = 500;

// Records handed to a request belong to the caller only during the call:
// the answer works on copies.
Records CopyOf(const ContentList& list) {
  auto copies = std::make_shared<std::vector<std::unique_ptr<CContent>>>();
  for (const CContent* record : list)
    if (record) copies->emplace_back(record->Clone());
  return copies;
}

ContentList View(const Records& records) {
  ContentList view;
  for (const auto& record : *records) view.push_back(record.get());
  return view;
}

// Deletes the records of an answer once the callback has returned.
struct Owned {
  ContentList list;
  ~Owned() { DeleteContents(list); }
};
struct OwnedGroups {
  GroupedContent groups;
  ~OwnedGroups() {
    for (auto& group : groups) DeleteContents(group.second);
  }
};

handset::Store& TheStore() { return HandsetService::Instance().Store(); }

// The status an answer starts from: the phone must be connected, and a test
// may have asked for a fault.
uint32_t Precheck(const char* operation) {
  if (!IsDeviceConnected()) return kNoPhone;
  return FaultBefore(operation);
}

bool ContactBookOf(const std::wstring& uri, Book& book, bool& starred) {
  starred = false;
  if (uri == U::kContact) book = Book::Phone;
  else if (uri == U::kContactStar) book = Book::Phone, starred = true;
  else if (uri == U::kContactCdma) book = Book::CardOne;
  else if (uri == U::kContactGsm) book = Book::CardTwo;
  else return false;
  return true;
}

bool CountBookOf(const std::wstring& uri, Book& book, bool& starred) {
  starred = false;
  if (uri == U::kContactCount) book = Book::Phone;
  else if (uri == U::kStarCount) book = Book::Phone, starred = true;
  else if (uri == U::kCdmaCount) book = Book::CardOne;
  else if (uri == U::kGsmCount) book = Book::CardTwo;
  else return false;
  return true;
}

bool DayOf(const std::wstring& dayText, int& day) {
  return dayText.size() == 8 && handset::DayOfText(dayText, day);
}

ProviderEvent CalendarDescriptor() {
  TIME_ZONE_INFORMATION zone{};
  ::GetTimeZoneInformation(&zone);
  ProviderEvent descriptor;
  descriptor.m_text = zone.StandardName[0] ? zone.StandardName : L"Local Time";
  descriptor.m_value = -zone.Bias;
  descriptor.m_items = {L"Phone"};
  return descriptor;
}

// Where the callbacks of an answer go once it is no longer wanted: nowhere.
IDataProviderCallback* Nowhere(IDataProviderCallback*) {
  static CDataProviderCallback nowhere;
  return &nowhere;
}
IInstantMessageCallback* Nowhere(IInstantMessageCallback*) {
  static CInstantMessageCallback nowhere;
  return &nowhere;
}
IExportCallback* Nowhere(IExportCallback*) {
  static CExportCallback nowhere;
  return &nowhere;
}

// What the three kinds of object share: their answers go through the answer
// queue and end with them. An object is destroyed through Release (below), which
// ends its answers first, while everything the answers use still exists.
template <class TCallback>
class CAnswering {
 public:
  // Ends the object: no answer of it is delivered afterwards, and it is
  // deleted once no answer of it is under way (see AnswerQueue::Release).
  template <class TObject>
  static void Release(TObject* object) {
    if (!object) return;
    AnswerQueue::Instance().Release(static_cast<CAnswering*>(object), [object] { delete object; });
  }

 protected:
  explicit CAnswering(TCallback* callback) : m_callback(callback) { AnswerQueue::Instance().AddOwner(); }
  ~CAnswering() { AnswerQueue::Instance().RemoveOwner(); }
  CAnswering(const CAnswering&) = delete;
  CAnswering& operator=(const CAnswering&) = delete;

  // The context an answer runs with.
  struct Reply {
    TCallback* callback;
    uint32_t status;      // non-zero: answer with this failure
    const void* owner;
    uint64_t generation;
    bool StillWanted() const { return AnswerQueue::Instance().StillWanted(owner, generation); }
    // The callback, or nowhere once the object cancelled or ended its answers:
    // a cancelled answer that is under way makes no further call.
    TCallback* To() const { return StillWanted() ? callback : Nowhere(callback); }
  };

  // Queues `body(reply)` for the answer thread; answers whether the request was taken.
  template <class Body>
  bool Request(const char* operation, Body body) {
    if (!m_callback) return false;
    CountCall(operation);
    Reply reply{m_callback, 0, this, AnswerQueue::Instance().Generation(this)};
    AnswerQueue::Instance().Post(this, [reply, operation, body]() mutable {
      reply.status = Precheck(operation);
      body(reply);
    });
    return true;
  }
  void CancelAnswers() { AnswerQueue::Instance().Cancel(this); }

  TCallback* m_callback;
};

// ---------------------------------------------------------------------------

class CDataProviderImpl final : public IDataProvider, public CAnswering<IDataProviderCallback> {
 public:
  explicit CDataProviderImpl(IDataProviderCallback* callback) : CAnswering(callback) {
    // Every provider learns the handset calendar's descriptor first.
    Request("OnProviderEvent", [](Reply& r) {
      if (r.status == 0) r.To()->OnProviderEvent(0, CalendarDescriptor());
    });
  }

  bool Reserved0() override { return false; }
  // Never waits: an answer under way stops at its next step and calls nothing more.
  bool Cancel() override {
    CancelAnswers();
    return true;
  }
  bool Reserved2(const std::wstring&) override { return false; }
  bool Reserved6(const std::wstring&) override { return false; }

  bool DeleteProvider(const std::wstring& uri) override {
    return Request("DeleteProvider", [uri](Reply& r) {
      if (r.status) return void(r.To()->OnRefreshComplete(uri, r.status));
      if (uri == U::kContactStore) return RefreshContacts(r, uri);
      if (uri == U::kSmsStore) return RefreshMessages(r, uri);
      if (uri == U::kCalendar) {
        TheStore();  // read again: the calendar is the store's
        r.To()->OnProviderEvent(0, CalendarDescriptor());
        return void(r.To()->OnRefreshComplete(uri, kOk));
      }
      r.To()->OnRefreshComplete(uri, kInvalid);
    });
  }

  bool InsertMessage(const std::wstring& uri, const ContentList& messages) override {
    Records copies = CopyOf(messages);
    return Request("InsertMessage", [uri, copies](Reply& r) {
      Owned answer;
      if (!r.status && uri != U::kSms && uri != U::kSmsNewInsert) r.status = kInvalid;
      if (!r.status) {
        std::vector<ContentId> ids = TheStore().InsertMessages(View(copies));
        if (ids.empty()) r.status = kInvalid;
        for (ContentId id : ids) answer.list.push_back(TheStore().CopyMessage(id));
      }
      r.To()->OnInsert(uri, r.status, answer.list);
    });
  }

  bool Insert(const std::wstring& uri, CContent* record) override {
    if (!record) return false;
    std::shared_ptr<CContent> copy(record->Clone());
    return Request("Insert", [uri, copy](Reply& r) {
      handset::Store& store = TheStore();
      Owned answer;
      Book book;
      bool starred;
      if (uri == U::kFolder || uri == U::kCalendar) {  // answered with the one record
        std::unique_ptr<CContent> stored;
        if (!r.status) {
          if (auto* folder = dynamic_cast<Message::CFolder*>(copy.get()); folder && uri == U::kFolder) {
            if (int32_t id = store.InsertFolder(*folder)) stored.reset(store.CopyFolder(id));
          } else if (auto* event = dynamic_cast<Calendar::CCalendarData*>(copy.get()); event && uri == U::kCalendar) {
            if (ContentId id = store.InsertEvent(*event)) stored.reset(store.CopyEvent(id));
          }
          if (!stored) r.status = kInvalid;
        }
        return void(r.To()->OnInsert(uri, r.status, stored.get()));
      }
      if (!r.status) {
        if (auto* contact = dynamic_cast<Contact::CContactData*>(copy.get());
            contact && ContactBookOf(uri, book, starred)) {
          if (starred) contact->m_starred = 1;
          if (ContentId id = store.InsertContact(book, *contact)) answer.list.push_back(store.CopyContact(book, id));
        } else if (auto* group = dynamic_cast<Contact::CGroupData*>(copy.get()); group && uri == U::kGroup) {
          if (ContentId id = store.InsertGroup(*group)) answer.list.push_back(store.CopyGroup(id));
        } else if (auto* message = dynamic_cast<Message::CSMSData*>(copy.get());
                   message && (uri == U::kSms || uri == U::kSmsNewInsert)) {
          for (ContentId id : store.InsertMessages(ContentList{message})) answer.list.push_back(store.CopyMessage(id));
        }
        if (answer.list.empty()) r.status = kInvalid;
      }
      r.To()->OnInsert(uri, r.status, answer.list);
    });
  }

  bool Update(const std::wstring& uri, CContent* record) override {
    if (!record) return false;
    std::shared_ptr<CContent> copy(record->Clone());
    return Request("Update", [uri, copy](Reply& r) {
      handset::Store& store = TheStore();
      if (uri == U::kFolder || uri == U::kCalendar) {  // answered with the status
        if (!r.status) {
          bool done = false;
          if (auto* folder = dynamic_cast<Message::CFolder*>(copy.get()); folder && uri == U::kFolder)
            done = store.RenameFolder(static_cast<int32_t>(folder->m_id), folder->m_name);
          else if (auto* event = dynamic_cast<Calendar::CCalendarData*>(copy.get()); event && uri == U::kCalendar)
            done = store.UpdateEvent(*event);
          if (!done) r.status = kInvalid;
        }
        return void(r.To()->OnUpdate(uri, r.status));
      }
      Owned answer;
      Book book;
      bool starred;
      if (!r.status) {
        if (auto* contact = dynamic_cast<Contact::CContactData*>(copy.get());
            contact && ContactBookOf(uri, book, starred)) {
          if (store.UpdateContact(book, *contact)) answer.list.push_back(store.CopyContact(book, contact->m_id));
        } else if (auto* group = dynamic_cast<Contact::CGroupData*>(copy.get()); group && uri == U::kGroup) {
          if (store.UpdateGroup(*group)) answer.list.push_back(store.CopyGroup(group->m_id));
        }
        if (answer.list.empty()) r.status = kInvalid;
      }
      r.To()->OnUpdate(uri, r.status, answer.list);
    });
  }

  bool Delete(const std::wstring& uri, const IdList& ids) override {
    return Request("Delete", [uri, ids](Reply& r) {
      handset::Store& store = TheStore();
      Book book;
      bool starred;
      if (!r.status) {
        size_t deleted = 0;
        if (ids.empty()) r.status = kInvalid;
        else if (ContactBookOf(uri, book, starred)) deleted = store.DeleteContacts(book, ids);
        else if (uri == U::kGroup) deleted = store.DeleteGroups(ids);
        else if (uri == U::kSms) deleted = store.DeleteMessages(ids);
        else if (uri == U::kFolder) deleted = store.DeleteFolders(ids);
        else if (uri == U::kCalendar) deleted = store.DeleteEvents(ids);
        else r.status = kInvalid;
        if (!r.status && deleted == 0) r.status = kNotFound;
      }
      r.To()->OnDelete(uri, r.status);
    });
  }

  bool MoveMembership(const std::wstring& uri, const IdList& ids, ContentId folderId) override {
    return Request("MoveMembership", [uri, ids, folderId](Reply& r) {
      if (!r.status && (uri != U::kRemembership || ids.empty() ||
                        !TheStore().MoveMessages(ids, static_cast<int32_t>(folderId))))
        r.status = kInvalid;
      r.To()->OnMembership(uri, r.status);
    });
  }

  bool AttachMembership(const std::wstring& uri, const IdList& ids, ContentId groupId, bool add) override {
    return Request("AttachMembership", [uri, ids, groupId, add](Reply& r) {
      if (!r.status && (uri != U::kMembership || ids.empty() || !TheStore().SetMembership(ids, groupId, add)))
        r.status = kInvalid;
      r.To()->OnMembership(uri, r.status);
    });
  }

  bool SetLock(const std::wstring& uri, const IdList& ids, bool lock) override {
    return Request("SetLock", [uri, ids, lock](Reply& r) {
      if (!r.status && (uri != U::kSms || ids.empty() || !TheStore().SetLock(ids, lock))) r.status = kInvalid;
      r.To()->OnSetLock(uri, r.status);
    });
  }

  bool SetMessageRead(const std::wstring& uri, const IdList& ids, bool read) override {
    return Request("SetMessageRead", [uri, ids, read](Reply& r) {
      if (!r.status && (uri != U::kSms || ids.empty() || !TheStore().SetRead(ids, read))) r.status = kInvalid;
      r.To()->OnSetRead(uri, r.status);
    });
  }

  bool AddCollection(const std::wstring& uri, const IdList& ids, bool star) override {
    return Request("AddCollection", [uri, ids, star](Reply& r) {
      if (!r.status && (uri != U::kContact || ids.empty() || !TheStore().SetStar(ids, star))) r.status = kInvalid;
      r.To()->OnSetStar(uri, r.status);
    });
  }

  bool QueryByContentId(const std::wstring& uri, ContentId id) override {
    return Request("QueryByContentId", [uri, id](Reply& r) {
      handset::Store& store = TheStore();
      Owned answer;
      Book book;
      bool starred;
      if (!r.status) {
        CContent* found = nullptr;
        if (ContactBookOf(uri, book, starred)) found = store.CopyContact(book, id);
        else if (uri == U::kGroup) found = store.CopyGroup(id);
        else if (uri == U::kSms) found = store.CopyMessage(id);
        else if (uri == U::kCalendar) found = store.CopyEvent(id);
        if (found) answer.list.push_back(found);
        else r.status = kNotFound;
      }
      r.To()->OnReturnById(uri, r.status, answer.list);
    });
  }

  bool QueryByClassId(const std::wstring& uri, ContentId classId) override {
    return Request("QueryByClassId", [uri, classId](Reply& r) {
      handset::Store& store = TheStore();
      Owned answer;
      if (!r.status) {
        if (uri == U::kContact) {
          handset::ContactFilter filter;
          filter.groupId = classId;
          store.CollectContacts(Book::Phone, filter, answer.list);
        } else if (uri == U::kSmsInFolder && store.HasFolder(static_cast<int32_t>(classId))) {
          store.CollectFolderMessages(static_cast<int32_t>(classId), answer.list);
        } else {
          r.status = uri == U::kSmsInFolder ? kNotFound : kInvalid;
        }
      }
      r.To()->OnReturnContent(uri, r.status, answer.list);
    });
  }

  bool QueryAll(const std::wstring& uri) override {
    return Request("QueryAll", [uri](Reply& r) {
      handset::Store& store = TheStore();
      Book book;
      bool starred;
      if (CountBookOf(uri, book, starred)) {
        uint32_t count = r.status ? 0 : static_cast<uint32_t>(store.CountContacts(book, starred));
        return void(r.To()->OnReturnCount(uri, r.status, count));
      }
      if (uri == U::kConversations) {
        OwnedGroups answer;
        if (!r.status) store.CollectConversations(answer.groups);
        return void(r.To()->OnReturnGroupContent(uri, r.status, answer.groups));
      }
      Owned answer;
      if (!r.status) {
        if (ContactBookOf(uri, book, starred)) {
          handset::ContactFilter filter;
          filter.starredOnly = starred;
          store.CollectContacts(book, filter, answer.list);
        } else if (uri == U::kGroup) {
          store.CollectGroups(answer.list);
        } else if (uri == U::kFolder) {
          store.CollectFolders(answer.list);
        } else {
          r.status = kInvalid;
        }
      }
      r.To()->OnReturnContent(uri, r.status, answer.list);
    });
  }

  bool SearchContact(const std::wstring& uri, const std::wstring& keyword, ContentId classId) override {
    return Request("SearchContact", [uri, keyword, classId](Reply& r) {
      handset::Store& store = TheStore();
      Owned answer;
      Book book;
      bool starred;
      if (!r.status) {
        if (ContactBookOf(uri, book, starred)) {
          handset::ContactFilter filter;
          filter.starredOnly = starred;
          filter.groupId = classId;
          filter.keyword = keyword;
          store.CollectContacts(book, filter, answer.list);
        } else if (uri == U::kCalendar) {
          store.SearchEvents(keyword, answer.list);
        } else {
          r.status = kInvalid;
        }
      }
      r.To()->OnReturnContent(uri, r.status, answer.list);
    });
  }

  bool QueryByDate(const std::wstring& uri, const std::wstring& fromDay, const std::wstring& toDay) override {
    return Request("QueryByDate", [uri, fromDay, toDay](Reply& r) {
      int from = 0, to = 0;
      // A range is read only when both ends are days and it spans at most ten years.
      if (!r.status && (!DayOf(fromDay, from) || !DayOf(toDay, to) || to < from || to - from > 3660))
        r.status = kInvalid;
      if (uri == U::kCalendarByDate) {
        DayList days;
        if (!r.status) TheStore().CollectEventDays(from, to, days);
        return void(r.To()->OnReturnDates(uri, r.status, days));
      }
      OwnedGroups answer;
      if (!r.status && uri != U::kCalendar) r.status = kInvalid;
      if (!r.status) TheStore().CollectEventsByDay(from, to, answer.groups);
      r.To()->OnReturnGroupContent(uri, r.status, answer.groups);
    });
  }

  bool QueryByTelephoneNumber(const std::wstring& uri, const std::wstring& number) override {
    return Request("QueryByTelephoneNumber", [uri, number](Reply& r) {
      Owned answer;
      if (!r.status && uri != U::kSmsOfNumber) r.status = kInvalid;
      if (!r.status) TheStore().CollectMessagesOfNumber(number, answer.list);
      r.To()->OnReturnContent(uri, r.status, answer.list);
    });
  }

  bool QueryGroupCount(const std::wstring& uri) override {
    return Request("QueryGroupCount", [uri](Reply& r) {
      GroupCountList counts;
      if (!r.status && uri != U::kContact) r.status = kInvalid;
      if (!r.status) counts = TheStore().GroupCounts();
      r.To()->OnReturnGroupCount(uri, r.status, counts);
    });
  }

 private:
  // Groups first, then the phone's contacts in batches, then the end.
  static void RefreshContacts(Reply& r, const std::wstring& uri) {
    handset::Store& store = TheStore();
    {
      Owned groups;
      store.CollectGroups(groups.list);
      r.To()->OnReturnBatch(U::kGroup, kOk, groups.list);
    }
    std::vector<const Contact::CContactData*> contacts = store.SortedContacts(Book::Phone);
    for (size_t first = 0; first < contacts.size(); first += kBatchSize) {
      if (!r.StillWanted()) return;
      Owned batch;
      for (size_t i = first; i < std::min(contacts.size(), first + kBatchSize); ++i)
        batch.list.push_back(store.CopyContact(Book::Phone, contacts[i]->m_id));
      r.To()->OnReturnBatch(uri, kOk, batch.list);
    }
    if (r.StillWanted()) r.To()->OnRefreshComplete(uri, kOk);
  }

  // Folders first, then every message, newest first, in batches, then the end.
  static void RefreshMessages(Reply& r, const std::wstring& uri) {
    handset::Store& store = TheStore();
    {
      Owned folders;
      store.CollectFolders(folders.list);
      r.To()->OnReturnBatch(U::kFolder, kOk, folders.list);
    }
    std::vector<const Message::CSMSData*> messages = store.MessagesNewestFirst();
    for (size_t first = 0; first < messages.size(); first += kBatchSize) {
      if (!r.StillWanted()) return;
      Owned batch;
      for (size_t i = first; i < std::min(messages.size(), first + kBatchSize); ++i)
        batch.list.push_back(new Message::CSMSData(store.Delivered(*messages[i])));
      r.To()->OnReturnBatch(U::kSms, kOk, batch.list);
    }
    if (r.StillWanted()) r.To()->OnRefreshComplete(uri, kOk);
  }
};

// ---------------------------------------------------------------------------

class CInstantMessageHelperImpl final : public IInstantMessageHelper,
                                        public CReceiver,
                                        public CAnswering<IInstantMessageCallback> {
 public:
  explicit CInstantMessageHelperImpl(IInstantMessageCallback* callback) : CAnswering(callback) {}
  ~CInstantMessageHelperImpl() { Receivers::Instance().Remove(this); }

  bool Reserved0() override { return false; }

  bool GetSimInfo() override {
    return Request("GetSimInfo", [](Reply& r) {
      SimCardList cards;
      if (!r.status) cards = TheStore().SimCards();
      r.To()->OnGetSimInfo(r.status, cards);
    });
  }

  bool Send(const std::wstring& uri, int32_t cardId, const ContentList& messages, int32_t) override {
    Records copies = CopyOf(messages);
    return Request("Send", [uri, cardId, copies](Reply& r) {
      handset::Store& store = TheStore();
      Owned answer;
      if (!r.status && (uri != U::kSms || copies->empty())) r.status = kInvalid;
      if (!r.status && !store.HasCard(cardId)) r.status = kNoCard;
      if (!r.status)
        for (ContentId id : store.StoreSent(View(copies), cardId)) answer.list.push_back(store.CopyMessage(id));
      r.To()->OnSent(uri, r.status, answer.list);
    });
  }

  bool startRecv(const std::wstring& uri) override {
    if (!m_callback || uri != U::kSms) return false;
    Receivers::Instance().Add(this);
    return true;
  }

  bool stopRecv() override {
    Receivers::Instance().Remove(this);
    return m_callback != nullptr;
  }

  // CReceiver: called on the answer thread when messages arrive.
  void Deliver(const Records& received) override {
    Request("OnReceived", [received](Reply& r) {
      if (r.status == kNoPhone) return;  // nothing arrives from a phone that is not there
      r.To()->OnReceived(U::kSms, r.status, View(received));
    });
  }
};

// ---------------------------------------------------------------------------

// What an import or export asks for, read from its URI.
struct Transfer {
  bool import = false;
  bool messages = false;       // "content://sms...", else contacts
  bool ignoreFolders = false;  // "?ignorefolder=true"
  files::PortFormat format = files::PortFormat::Xml;
  std::wstring list;           // the URI before its first option
};

bool ParseTransfer(const std::wstring& uri, Transfer& transfer) {
  transfer.list = uri.substr(0, uri.find(L'?'));
  transfer.messages = uri.rfind(U::kSms, 0) == 0;
  transfer.ignoreFolders = uri.find(L"?ignorefolder=true") != std::wstring::npos;
  for (const wchar_t* kind : {L"import", L"export"}) {
    std::wstring marker = std::wstring(L"?") + kind + L"=";
    size_t at = uri.find(marker);
    if (at == std::wstring::npos) continue;
    size_t start = at + marker.size();
    size_t end = uri.find(L'?', start);
    transfer.import = kind[0] == L'i';
    std::wstring format = uri.substr(start, end == std::wstring::npos ? std::wstring::npos : end - start);
    if (format == L"xml") transfer.format = files::PortFormat::Xml;
    else if (format == L"excel") transfer.format = files::PortFormat::Excel;
    else if (format == L"vcard" && !transfer.messages) transfer.format = files::PortFormat::VCard;
    else return false;
    return true;
  }
  return false;
}

// The suite's language, numbered as its resource library numbers them: it
// titles the columns of the workbooks this library writes.
int SuiteLanguage() {
  wchar_t value[128] = {};
  DWORD bytes = sizeof(value);
  if (::RegGetValueW(HKEY_CURRENT_USER, L"Software\\Norvane\\Tamix", L"LanguageId", RRF_RT_REG_SZ, nullptr, value,
                     &bytes) != ERROR_SUCCESS)
    return files::kEnglish;
  std::wstring setting = value;
  if (setting == L"Chinese(Simplified)") return files::kSimplifiedChinese;
  if (setting == L"Chinese(Traditional)") return files::kTraditionalChinese;
  return files::kEnglish;
}

std::atomic<bool> g_holdTransfers{false};

const wchar_t* FormatName(files::PortFormat format) {
  return format == files::PortFormat::Xml ? L"XML" : format == files::PortFormat::Excel ? L"Excel" : L"vCard";
}

class CExportHelperImpl final : public IExportHelper, public CAnswering<IExportCallback> {
 public:
  explicit CExportHelperImpl(IExportCallback* callback) : CAnswering(callback) {}
  bool Reserved0() override { return false; }

  // A cancelled run still ends with its completion, with the cancelled status.
  bool CancelExport() override {
    CountCall("CancelExport");
    std::lock_guard<std::mutex> lock(m_mutex);
    ++m_cancelGeneration;
    return true;
  }

  bool ImportFromFolder(const std::wstring& uri, const std::wstring& folder) override {
    return Run("ImportFromFolder", uri, folder, [folder](const Transfer& t, const files::Progress& progress) {
      if (t.messages || !t.import || t.format != files::PortFormat::VCard) return Invalid();
      return files::ImportContacts(TheStore(), t.format, {folder}, progress);
    });
  }
  bool Import(const std::wstring& uri, const std::list<std::wstring>& paths) override {
    std::vector<std::wstring> files(paths.begin(), paths.end());
    std::wstring where;
    for (const auto& path : paths) where += (where.empty() ? L"" : L", ") + path;
    return Run("Import", uri, where, [files](const Transfer& t, const files::Progress& progress) {
      if (!t.import) return Invalid();
      return t.messages ? files::ImportMessages(TheStore(), t.format, files, t.ignoreFolders, progress)
                        : files::ImportContacts(TheStore(), t.format, files, progress);
    });
  }
  bool ExportByClassId(const std::wstring& uri, const std::wstring& path, ContentId classId) override {
    return Run("ExportByClassId", uri, path, [path, classId](const Transfer& t, const files::Progress& progress) {
      if (t.import) return Invalid();
      if (t.messages) {
        files::MessageScope scope;
        scope.folderId = static_cast<int32_t>(classId);
        return files::ExportMessages(TheStore(), scope, t.format, path, SuiteLanguage(), progress);
      }
      files::ContactScope scope;
      scope.groupId = classId;
      return files::ExportContacts(TheStore(), scope, t.format, path, SuiteLanguage(), progress);
    });
  }
  bool ExportByIds(const std::wstring& uri, const std::wstring& path, const IdList& ids) override {
    return Run("ExportByIds", uri, path, [path, ids](const Transfer& t, const files::Progress& progress) {
      if (t.import) return Invalid();
      if (t.messages) {
        files::MessageScope scope;
        scope.ids = ids;
        return files::ExportMessages(TheStore(), scope, t.format, path, SuiteLanguage(), progress);
      }
      files::ContactScope scope;
      if (!ContactBookOf(t.list, scope.book, scope.starredOnly)) return Invalid();
      scope.starredOnly = false;  // chosen ids are exported as chosen
      scope.ids = ids;
      return files::ExportContacts(TheStore(), scope, t.format, path, SuiteLanguage(), progress);
    });
  }
  bool Export(const std::wstring& uri, const std::wstring& path) override {
    return Run("Export", uri, path, [path](const Transfer& t, const files::Progress& progress) {
      files::ContactScope scope;
      if (t.import || t.messages || !ContactBookOf(t.list, scope.book, scope.starredOnly)) return Invalid();
      return files::ExportContacts(TheStore(), scope, t.format, path, SuiteLanguage(), progress);
    });
  }

 private:
  static files::PortOutcome Invalid() {
    files::PortOutcome outcome;
    outcome.kind = files::PortOutcome::kFailed;
    outcome.problem = L"the request does not name a transfer this handset makes";
    return outcome;
  }

  // Runs the transfer on the answer thread, reporting its progress through
  // the callback, and ends with its completion: status 0 only when records
  // moved.
  template <class Work>
  bool Run(const char* operation, const std::wstring& uri, const std::wstring& where, Work work) {
    uint64_t cancelAtStart;
    {
      std::lock_guard<std::mutex> lock(m_mutex);
      cancelAtStart = m_cancelGeneration;
    }
    CExportHelperImpl* self = this;
    return Request(operation, [self, uri, where, work, cancelAtStart](Reply& r) {
      Transfer transfer;
      if (!r.status && !ParseTransfer(uri, transfer)) r.status = kInvalid;
      if (!r.status) {
        bool reported = false;
        files::Progress progress = [self, &r, cancelAtStart, &reported](size_t done, size_t total) {
          if (self->Cancelled(r, cancelAtStart)) return false;
          if (total == 0) return true;  // only asked whether to go on
          r.To()->OnSetProgress(static_cast<uint32_t>(done), static_cast<uint32_t>(total));
          if (!reported) {
            reported = true;
            self->HoldWhileAsked(r, cancelAtStart);
          }
          return !self->Cancelled(r, cancelAtStart);
        };
        files::PortOutcome outcome = work(transfer, progress);
        r.status = self->Conclude(uri, where, transfer, outcome);
      }
      if (transfer.import) r.To()->OnImportComplete(uri, r.status);
      else r.To()->OnExportComplete(uri, r.status);
    });
  }

  uint32_t Conclude(const std::wstring& uri, const std::wstring& where, const Transfer& t,
                    const files::PortOutcome& outcome) {
    const wchar_t* what = t.messages ? L"messages" : L"contacts";
    const wchar_t* verb = t.import ? L"imported" : L"exported";
    if (!outcome.problem.empty() && outcome.kind != files::PortOutcome::kFailed)
      LOG::E(L"DataProvider", L"%s: %u skipped: %s", uri.c_str(), static_cast<unsigned>(outcome.skipped),
             outcome.problem.c_str());
    switch (outcome.kind) {
      case files::PortOutcome::kDone:
        LOG::I(L"DataProvider", L"%u %s %s as %s, %u skipped (%s)", static_cast<unsigned>(outcome.moved), what, verb,
               FormatName(t.format), static_cast<unsigned>(outcome.skipped), uri.c_str());
        return kOk;
      case files::PortOutcome::kNothing:
        LOG::E(L"DataProvider", L"no %s %s as %s (%s, %s)", what, verb, FormatName(t.format), uri.c_str(), where.c_str());
        return kNothingMoved;
      case files::PortOutcome::kCancelled:
        LOG::I(L"DataProvider", L"%s cancelled: nothing %s", uri.c_str(), t.import ? L"imported" : L"written");
        return kCancelled;
      case files::PortOutcome::kFailed:
        break;
    }
    LOG::E(L"DataProvider", L"%s failed: %s", uri.c_str(), outcome.problem.c_str());
    return outcome.problem == Invalid().problem ? kInvalid : kFileError;
  }

  bool Cancelled(Reply& r, uint64_t cancelAtStart) {
    if (!r.StillWanted()) return true;  // the helper is going
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_cancelGeneration != cancelAtStart;
  }

  // Tests and the demo may hold a run after its first step, so that the
  // progress window is seen and a cancel lands in the middle: it waits for
  // the cancel, the helper's end or the hold's release (polled: the helper's
  // end cannot signal).
  void HoldWhileAsked(Reply& r, uint64_t cancelAtStart) {
    if (AnswerQueue::Instance().IsInline()) return;  // the caller could not cancel
    for (int waited = 0; g_holdTransfers && !Cancelled(r, cancelAtStart) && waited < 60000; waited += 10) ::Sleep(10);
  }

  std::mutex m_mutex;
  uint64_t m_cancelGeneration = 0;
};

}  // namespace

void HoldTransfers(bool hold) { g_holdTransfers = hold; }

}  // namespace provider

IDataProvider* CreateDataProvider(IDataProviderCallback* callback) {
  return callback ? new provider::CDataProviderImpl(callback) : nullptr;
}

void DestroyDataProvider(IDataProvider*& provider) {
  provider::CDataProviderImpl::Release(static_cast<provider::CDataProviderImpl*>(provider));
  provider = nullptr;
}

IInstantMessageHelper* CreateInstantMessageHelper(IInstantMessageCallback* callback) {
  return callback ? new provider::CInstantMessageHelperImpl(callback) : nullptr;
}

void DestroyInstantMessageHelper(IInstantMessageHelper*& helper) {
  provider::CInstantMessageHelperImpl::Release(static_cast<provider::CInstantMessageHelperImpl*>(helper));
  helper = nullptr;
}

IExportHelper* CreateExportHelper(IExportCallback* callback) {
  return callback ? new provider::CExportHelperImpl(callback) : nullptr;
}

void DestroyExportHelper(IExportHelper*& helper) {
  provider::CExportHelperImpl::Release(static_cast<provider::CExportHelperImpl*>(helper));
  helper = nullptr;
}
