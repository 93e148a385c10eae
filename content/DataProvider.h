// The data-provider library: every read and write of phone data.
//
// A request is a call on IDataProvider, IInstantMessageHelper or
// IExportHelper with a content URI (ContentUri.h) first. It answers at once
// whether the request was taken (true) and later, through the callback object
// given at creation, with the request's URI, a 32-bit status (0 = success)
// and, for queries, the records. Replies may arrive on a thread of the
// library; records in a reply belong to the library for the duration of the
// callback (copy what you keep).
//
// Binary contract between separately built modules: the virtual operations are
// declared in slot order, reserved slots included. Nothing is thrown across
// the library boundary.
//
// Argument types the library and its users agree on:
//  - record lists: ContentList (std::list<CContent*>), ids: IdList;
//  - conversations and calendar days: GroupedContent, a list of (key, records)
//    pairs where the key is the phone number or the day text "YYYYMMDD";
//  - group counts: GroupCountList, a list of (group id, count) pairs;
//  - days that hold events: DayList of "YYYYMMDD" texts;
//  - a count reply carries the count as one 32-bit value.
#pragma once
#include <windows.h>

#include <cstdint>
#include <string>

#include "content/Content.h"
#include "content/SimCard.h"

#ifdef DATAPROVIDER_BUILD
#define DATAPROVIDER_API __declspec(dllexport)
#else
#define DATAPROVIDER_API __declspec(dllimport)
#endif

// What the provider reports through OnProviderEvent: for the calendar, the
// descriptor of the handset's calendar (its text is the time-zone name that
// saved events carry).
struct ProviderEvent {
  std::wstring m_text;
  int32_t m_value = 0;
  std::list<std::wstring> m_items;
};

// ---------------------------------------------------------------------------
// Callbacks (implemented by the plug-in). Every operation answers a boolean
// that the library does not act on.

class IDataProviderCallback {
 public:
  virtual ~IDataProviderCallback() = default;
  virtual bool OnProviderEvent(uint32_t kind, const ProviderEvent& event) = 0;
  virtual bool OnReturnPage(const std::wstring& uri, uint32_t status, const ContentList& records) = 0;
  // One batch of a full refresh (DeleteProvider).
  virtual bool OnReturnBatch(const std::wstring& uri, uint32_t status, const ContentList& records) = 0;
  virtual bool OnRefreshComplete(const std::wstring& uri, uint32_t status) = 0;
  virtual bool OnReturnGroupContent(const std::wstring& uri, uint32_t status, const GroupedContent& groups) = 0;
  // Reply to QueryAll, QueryByClassId, SearchContact, QueryByTelephoneNumber.
  virtual bool OnReturnContent(const std::wstring& uri, uint32_t status, const ContentList& records) = 0;
  // Reply to QueryByContentId.
  virtual bool OnReturnById(const std::wstring& uri, uint32_t status, const ContentList& records) = 0;
  // Reply to a QueryAll whose URI ends in "?result=count".
  virtual bool OnReturnCount(const std::wstring& uri, uint32_t status, uint32_t count) = 0;
  virtual bool OnReturnReserved(const std::wstring& uri, uint32_t status, const ContentList& records) = 0;
  // Reply to QueryGroupCount.
  virtual bool OnReturnGroupCount(const std::wstring& uri, uint32_t status, const GroupCountList& counts) = 0;
  // Reply to QueryByDate with the date URI: the days of the range that hold events.
  virtual bool OnReturnDates(const std::wstring& uri, uint32_t status, const DayList& days) = 0;
  virtual bool OnInsert(const std::wstring& uri, uint32_t status, const ContentList& records) = 0;
  virtual bool OnInsert(const std::wstring& uri, uint32_t status, CContent* record) = 0;
  virtual bool OnUpdate(const std::wstring& uri, uint32_t status, const ContentList& records) = 0;
  virtual bool OnUpdate(const std::wstring& uri, uint32_t status) = 0;
  virtual bool OnDelete(const std::wstring& uri, uint32_t status) = 0;
  virtual bool OnMembership(const std::wstring& uri, uint32_t status) = 0;
  virtual bool OnSetLock(const std::wstring& uri, uint32_t status) = 0;
  virtual bool OnSetRead(const std::wstring& uri, uint32_t status) = 0;
  virtual bool OnSetStar(const std::wstring& uri, uint32_t status) = 0;
};

class IInstantMessageCallback {
 public:
  virtual ~IInstantMessageCallback() = default;
  virtual bool OnGetSimInfo(uint32_t status, const SimCardList& cards) = 0;
  virtual bool OnSent(const std::wstring& uri, uint32_t status, const ContentList& messages) = 0;
  virtual bool OnReceived(const std::wstring& uri, uint32_t status, const ContentList& messages) = 0;
};

class IExportCallback {
 public:
  virtual ~IExportCallback() = default;
  virtual bool OnImportComplete(const std::wstring& uri, uint32_t status) = 0;
  virtual bool OnExportComplete(const std::wstring& uri, uint32_t status) = 0;
  virtual bool OnSetProgress(uint32_t done, uint32_t total) = 0;
  virtual bool OnExportReservedA() = 0;
  virtual bool OnExportReservedB() = 0;
};

// Do-nothing defaults: a module overrides only what it uses.
class CDataProviderCallback : public IDataProviderCallback {
 public:
  bool OnProviderEvent(uint32_t, const ProviderEvent&) override { return true; }
  bool OnReturnPage(const std::wstring&, uint32_t, const ContentList&) override { return true; }
  bool OnReturnBatch(const std::wstring&, uint32_t, const ContentList&) override { return true; }
  bool OnRefreshComplete(const std::wstring&, uint32_t) override { return true; }
  bool OnReturnGroupContent(const std::wstring&, uint32_t, const GroupedContent&) override { return true; }
  bool OnReturnContent(const std::wstring&, uint32_t, const ContentList&) override { return true; }
  bool OnReturnById(const std::wstring&, uint32_t, const ContentList&) override { return true; }
  bool OnReturnCount(const std::wstring&, uint32_t, uint32_t) override { return true; }
  bool OnReturnReserved(const std::wstring&, uint32_t, const ContentList&) override { return true; }
  bool OnReturnGroupCount(const std::wstring&, uint32_t, const GroupCountList&) override { return true; }
  bool OnReturnDates(const std::wstring&, uint32_t, const DayList&) override { return true; }
  bool OnInsert(const std::wstring&, uint32_t, const ContentList&) override { return true; }
  bool OnInsert(const std::wstring&, uint32_t, CContent*) override { return true; }
  bool OnUpdate(const std::wstring&, uint32_t, const ContentList&) override { return true; }
  bool OnUpdate(const std::wstring&, uint32_t) override { return true; }
  bool OnDelete(const std::wstring&, uint32_t) override { return true; }
  bool OnMembership(const std::wstring&, uint32_t) override { return true; }
  bool OnSetLock(const std::wstring&, uint32_t) override { return true; }
  bool OnSetRead(const std::wstring&, uint32_t) override { return true; }
  bool OnSetStar(const std::wstring&, uint32_t) override { return true; }
};

class CInstantMessageCallback : public IInstantMessageCallback {
 public:
  bool OnGetSimInfo(uint32_t, const SimCardList&) override { return true; }
  bool OnSent(const std::wstring&, uint32_t, const ContentList&) override { return true; }
  bool OnReceived(const std::wstring&, uint32_t, const ContentList&) override { return true; }
};

class CExportCallback : public IExportCallback {
 public:
  bool OnImportComplete(const std::wstring&, uint32_t) override { return true; }
  bool OnExportComplete(const std::wstring&, uint32_t) override { return true; }
  bool OnSetProgress(uint32_t, uint32_t) override { return true; }
  bool OnExportReservedA() override { return true; }
  bool OnExportReservedB() override { return true; }
};

// ---------------------------------------------------------------------------
// Requests (implemented by the library). Slots are numbered from 0.

class IDataProvider {
 public:
  virtual bool Reserved0() = 0;                                                          // 0
  // Drops the answers not yet delivered to this object's callback. Never
  // waits: an answer under way stops at its next step and calls nothing more.
  virtual bool Cancel() = 0;                                                             // 1
  virtual bool Reserved2(const std::wstring& uri) = 0;                                   // 2
  // Drops what is held for the authority and reads the phone again: the
  // records stream through OnReturnBatch, then OnRefreshComplete.
  virtual bool DeleteProvider(const std::wstring& uri) = 0;                              // 3
  // Messages saved or copied from the computer (ContentList of Message::CSMSData).
  virtual bool InsertMessage(const std::wstring& uri, const ContentList& messages) = 0;    // 4
  virtual bool Insert(const std::wstring& uri, CContent* record) = 0;                    // 5
  virtual bool Reserved6(const std::wstring& uri) = 0;                                   // 6
  virtual bool Update(const std::wstring& uri, CContent* record) = 0;                    // 7
  virtual bool Delete(const std::wstring& uri, const IdList& ids) = 0;                   // 8
  // Moves messages into the folder `folderId`.
  virtual bool MoveMembership(const std::wstring& uri, const IdList& ids, ContentId folderId) = 0;  // 9
  // Adds contacts to (add = true) or removes them from a group.
  virtual bool AttachMembership(const std::wstring& uri, const IdList& ids, ContentId groupId, bool add) = 0;  // 10
  virtual bool SetLock(const std::wstring& uri, const IdList& ids, bool lock) = 0;       // 11
  virtual bool SetMessageRead(const std::wstring& uri, const IdList& ids, bool read) = 0;  // 12
  // Stars (true) or unstars contacts.
  virtual bool AddCollection(const std::wstring& uri, const IdList& ids, bool star) = 0;  // 13
  virtual bool QueryByContentId(const std::wstring& uri, ContentId id) = 0;              // 14
  // The records of a group (contacts) or folder (messages).
  virtual bool QueryByClassId(const std::wstring& uri, ContentId classId) = 0;           // 15
  virtual bool QueryAll(const std::wstring& uri) = 0;                                    // 16
  // Case-insensitive search; classId 0 searches everything, else one group.
  virtual bool SearchContact(const std::wstring& uri, const std::wstring& keyword, ContentId classId) = 0;  // 17
  // Days "YYYYMMDD" from and to, inclusive.
  virtual bool QueryByDate(const std::wstring& uri, const std::wstring& fromDay, const std::wstring& toDay) = 0;  // 18
  virtual bool QueryByTelephoneNumber(const std::wstring& uri, const std::wstring& number) = 0;  // 19
  virtual bool QueryGroupCount(const std::wstring& uri) = 0;                             // 20

 protected:
  ~IDataProvider() = default;  // destroyed with DestroyDataProvider
};

class IInstantMessageHelper {
 public:
  virtual bool Reserved0() = 0;                                                          // 0
  // Answered by OnGetSimInfo.
  virtual bool GetSimInfo() = 0;                                                         // 1
  // Sends through card `cardId`; `flag` is 1. Answered by OnSent.
  virtual bool Send(const std::wstring& uri, int32_t cardId, const ContentList& messages, int32_t flag) = 0;  // 2
  // From now on each incoming message is reported through OnReceived.
  virtual bool startRecv(const std::wstring& uri) = 0;                                   // 3
  virtual bool stopRecv() = 0;                                                           // 4

 protected:
  ~IInstantMessageHelper() = default;
};

class IExportHelper {
 public:
  virtual bool Reserved0() = 0;                                                          // 0
  virtual bool CancelExport() = 0;                                                       // 1
  virtual bool ImportFromFolder(const std::wstring& uri, const std::wstring& folder) = 0;  // 2
  virtual bool Import(const std::wstring& uri, const std::list<std::wstring>& paths) = 0;  // 3
  virtual bool ExportByClassId(const std::wstring& uri, const std::wstring& path, ContentId classId) = 0;  // 4
  virtual bool ExportByIds(const std::wstring& uri, const std::wstring& path, const IdList& ids) = 0;  // 5
  virtual bool Export(const std::wstring& uri, const std::wstring& path) = 0;            // 6

 protected:
  ~IExportHelper() = default;
};

// Creation and destruction. Destroying an object drops its undelivered answers
// and waits for an answer in progress, so no callback arrives afterwards; the
// pointer is set to null. Callers must not destroy an object from inside work
// that its own answer waits for (content::CProviderOwner keeps that rule).
DATAPROVIDER_API IDataProvider* CreateDataProvider(IDataProviderCallback* callback);
DATAPROVIDER_API void DestroyDataProvider(IDataProvider*& provider);
DATAPROVIDER_API IInstantMessageHelper* CreateInstantMessageHelper(IInstantMessageCallback* callback);
DATAPROVIDER_API void DestroyInstantMessageHelper(IInstantMessageHelper*& helper);
DATAPROVIDER_API IExportHelper* CreateExportHelper(IExportCallback* callback);
DATAPROVIDER_API void DestroyExportHelper(IExportHelper*& helper);
