// CCalendarSupport: the calendar's one data provider and its two shared dates.
//
// One object per process. It owns the calendar's provider (through a
// content::CProviderOwner, so answers are handed to the user-interface thread
// one at a time, in order), is the provider's callback, and fans every answer
// out to the calendar parts that registered as listeners: the list
// controller, the mini month calendar and the views. It also keeps today and
// the selected day, and tells the registered date observers when the selected
// day changes.
//
// The provider objects must be made on the user-interface thread and gone
// before the plug-in's module unloads, so the main window opens the support
// when it initialises and closes it when it is destroyed; between a Close and
// the next Open every request does nothing and answers false.
//
// Answers are forwarded only when they carry the calendar's URI, except the
// single-event answer and the event-day answer (whose URI is the date
// query's), which always go to every listener.
#pragma once
#include <windows.h>

#include <atomic>
#include <functional>
#include <string>
#include <vector>

#include "calendar/CHSDate.h"
#include "calendar/CalendarData.h"
#include "calendar/DateObserver.h"
#include "content/DataProvider.h"
#include "content/ProviderOwner.h"

class IAppHost;

// What a refresh of the calendar turns off on the main window while the
// handset is read, and the indicator it shows meanwhile.
struct CalendarToolbar {
  // New, refresh and the four view buttons.
  std::vector<HWND> buttons;
  // "common.deletesome": back on after a refresh only while the list holds
  // events (`hasEvents`; without one it comes back on).
  HWND deleteButton = nullptr;
  std::function<bool()> hasEvents;
  HWND search = nullptr;
  HWND busy = nullptr;  // the refreshing indicator
};

class CCalendarSupport : public CDataProviderCallback {
 public:
  static CCalendarSupport& GetInstance();

  // Makes the provider (on the calling thread, the user-interface thread) and
  // takes the main window, the host and the refresh's controls. Opening an
  // open support only takes the new handles. Answers whether the provider
  // exists.
  bool Open(HWND mainWindow, IAppHost* host, const CalendarToolbar& toolbar);
  // Destroys the provider; answers still on their way are dropped. Listeners
  // and observers stay registered.
  void Close();
  bool IsOpen() const { return Provider() != nullptr; }
  HWND MainWindow() const { return m_mainWindow; }
  IAppHost* Host() const { return m_host; }

  // ---- requests (false, and nothing asked, without a provider) ----
  // Reads the handset's calendar again; OnRefreshComplete ends it.
  bool Refresh();
  bool DeleteOne(ContentId id);
  // Deletes and shows the wait box until the answer arrives.
  bool DeleteMany(const IdList& ids);
  // Which days of [from, to] hold events (answered through OnReturnDates).
  bool QueryEventDays(const CCHSDate& from, const CCHSDate& to);
  // The events of every day of [from, to], repeats placed on their days
  // (answered through OnReturnGroupContent).
  bool QueryEvents(const CCHSDate& from, const CCHSDate& to);
  // Events holding `keyword` (a flat list through OnReturnContent).
  bool Search(const std::wstring& keyword);
  // The event editor's saves; the record stays the caller's.
  bool Insert(Calendar::CCalendarData& event);
  bool Update(Calendar::CCalendarData& event);

  // ---- dates ----
  // Today from the local clock, read afresh.
  CCHSDate GetToday();
  CCHSDate GetSelectedDate() const { return m_selected; }
  void SetSelectedDate(const CCHSDate& day) { m_selected = day; }
  void NotifyDateChanged();
  void NotifyShowDay();

  // ---- parts that follow the calendar (in the order they registered, once each) ----
  void AddListener(IDataProviderCallback* listener);
  void RemoveListener(IDataProviderCallback* listener);
  void AddDateObserver(CDateOberver* observer);
  void RemoveDateObserver(CDateOberver* observer);
  const std::vector<IDataProviderCallback*>& Listeners() const { return m_listeners; }
  const std::vector<CDateOberver*>& DateObservers() const { return m_observers; }

  // The handset calendar's descriptor as last reported; its text is the zone
  // of every saved event.
  const ProviderEvent& Descriptor() const { return m_descriptor; }
  // The wait box of a delete in progress, or null.
  HANDLE WaitBox() const { return m_waitBox; }
  // A refresh was asked for and has not ended.
  bool IsRefreshing() const { return m_busy != 0; }

  // ---- provider answers ----
  bool OnProviderEvent(uint32_t kind, const ProviderEvent& event) override;
  bool OnReturnPage(const std::wstring& uri, uint32_t status, const ContentList& records) override;
  bool OnRefreshComplete(const std::wstring& uri, uint32_t status) override;
  bool OnReturnGroupContent(const std::wstring& uri, uint32_t status, const GroupedContent& groups) override;
  bool OnReturnContent(const std::wstring& uri, uint32_t status, const ContentList& records) override;
  bool OnReturnById(const std::wstring& uri, uint32_t status, const ContentList& records) override;
  bool OnReturnDates(const std::wstring& uri, uint32_t status, const DayList& days) override;
  bool OnInsert(const std::wstring& uri, uint32_t status, const ContentList& records) override;
  bool OnInsert(const std::wstring& uri, uint32_t status, CContent* record) override;
  bool OnUpdate(const std::wstring& uri, uint32_t status, const ContentList& records) override;
  bool OnUpdate(const std::wstring& uri, uint32_t status) override;
  bool OnDelete(const std::wstring& uri, uint32_t status) override;
  bool OnMembership(const std::wstring& uri, uint32_t status) override;
  bool OnSetLock(const std::wstring& uri, uint32_t status) override;
  bool OnSetRead(const std::wstring& uri, uint32_t status) override;
  bool OnSetStar(const std::wstring& uri, uint32_t status) override;

  // The flat event list of OnReturnContent, checked and forwarded here (a
  // calendar part builds its rows in its own override).
  virtual bool OnReturnEventList(const std::wstring& uri, uint32_t status, const ContentList& records);

  CCalendarSupport(const CCalendarSupport&) = delete;
  CCalendarSupport& operator=(const CCalendarSupport&) = delete;

 private:
  CCalendarSupport();
  ~CCalendarSupport() override;

  IDataProvider* Provider() const {
    content::CProviderOwner* owner = m_owner.load();
    return owner ? owner->Provider() : nullptr;
  }
  // The provider, or null with the error line of `operation` written.
  IDataProvider* ProviderFor(const char* operation) const;
  // Runs `work` on the user-interface thread (answers true when closed).
  bool Answer(const std::function<void()>& work);
  // Calls `call` on every listener, in order, when `uri` is the calendar's.
  void ForwardIfOurs(const std::wstring& uri, const std::function<void(IDataProviderCallback&)>& call);
  void Forward(const std::function<void(IDataProviderCallback&)>& call);
  void SetToolbarEnabled(bool enabled);

  const std::wstring m_uri;
  // Made by Open on the user-interface thread; read by the library's thread
  // when an answer arrives.
  std::atomic<content::CProviderOwner*> m_owner{nullptr};
  CCHSDate m_selected;
  CCHSDate m_today;
  std::vector<IDataProviderCallback*> m_listeners;
  std::vector<CDateOberver*> m_observers;
  ProviderEvent m_descriptor;
  int32_t m_busy = 0;
  HWND m_mainWindow = nullptr;
  HANDLE m_waitBox = nullptr;
  IAppHost* m_host = nullptr;
  CalendarToolbar m_toolbar;
};
