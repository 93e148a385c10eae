#include "calendar/CalendarSupport.h"

#include <algorithm>

#include "content/ContentUri.h"
#include "content/PimMessages.h"
#include "controls/ResText.h"
#include "frame/suite/BaseLibrary.h"
#include "frame/suite/SharedDialogs.h"
#include "framework/Clock.h"

namespace {

std::wstring DayText(const CCHSDate& day) { return Calendar::MakeDayText(day.Year(), day.Month(), day.Day()); }

// Calls `call` on each entry of a copy of `parts` that is still registered
// when its turn comes: a part may leave the set while an earlier one runs.
template <class T, class Call>
void EachStillRegistered(const std::vector<T*>& parts, Call call) {
  const std::vector<T*> snapshot = parts;
  for (T* part : snapshot)
    if (std::find(parts.begin(), parts.end(), part) != parts.end()) call(*part);
}

template <class T>
void AddOnce(std::vector<T*>& parts, T* part) {
  if (part && std::find(parts.begin(), parts.end(), part) == parts.end()) parts.push_back(part);
}

template <class T>
void RemoveFrom(std::vector<T*>& parts, T* part) {
  parts.erase(std::remove(parts.begin(), parts.end(), part), parts.end());
}

}  // namespace

CCalendarSupport& CCalendarSupport::GetInstance() {
  static CCalendarSupport support;
  return support;
}

CCalendarSupport::CCalendarSupport() : m_uri(ContentUri::kCalendar) {
  m_today = GetToday();
  m_selected = m_today;
}

CCalendarSupport::~CCalendarSupport() {
  // Reached at process end only. A support that was never closed keeps its
  // objects: destroying the provider waits for the library's thread, which
  // must not happen while the process is being torn down.
  if (m_owner.load()) LOG::E(PIM_ERROR_LOG, "CCalendarSupport: not closed before the process ended");
}

bool CCalendarSupport::Open(HWND mainWindow, IAppHost* host, const CalendarToolbar& toolbar) {
  m_mainWindow = mainWindow;
  m_host = host;
  m_toolbar = toolbar;
  if (!m_owner.load()) {
    auto* owner = new content::CProviderOwner;
    // Published before the provider exists: its first answer reads it.
    m_owner.store(owner);
    if (!owner->Open(this, nullptr, nullptr))
      LOG::E(PIM_ERROR_LOG, "In CCalendarSupport::Open() , Error:CreateDataProvider failed !");
  }
  return IsOpen();
}

void CCalendarSupport::Close() {
  content::CProviderOwner* owner = m_owner.exchange(nullptr);
  if (m_waitBox) JorvWaitDynamicHideEx(m_waitBox);
  m_waitBox = nullptr;
  m_busy = 0;
  m_mainWindow = nullptr;
  m_host = nullptr;
  m_toolbar = CalendarToolbar{};
  if (!owner) return;
  // The owner closes its marshal and destroys the provider (at once, or once
  // the callback work running now has returned); its marshal goes after.
  owner->Close();
  content::RunAfterCallbackWork([owner] { delete owner; });
}

IDataProvider* CCalendarSupport::ProviderFor(const char* operation) const {
  IDataProvider* provider = Provider();
  if (!provider) LOG::E(PIM_ERROR_LOG, "In CCalendarSupport::%s() , Error:m_pCalendarProvider == NULL !", operation);
  return provider;
}

// ---------------------------------------------------------------------------
// Requests

bool CCalendarSupport::Refresh() {
  IDataProvider* provider = ProviderFor("Refresh");
  if (!provider) return false;
  LOG::I(PIM_INFO_LOG, "Start Refresh Calendar!");
  if (!provider->DeleteProvider(m_uri)) return false;
  // Off until the handset has been read (OnRefreshComplete).
  m_busy = 1;
  SetToolbarEnabled(false);
  if (m_toolbar.busy) ::ShowWindow(m_toolbar.busy, SW_SHOW);
  return true;
}

void CCalendarSupport::SetToolbarEnabled(bool enabled) {
  for (HWND button : m_toolbar.buttons)
    if (button) ::EnableWindow(button, enabled);
  if (m_toolbar.search) ::EnableWindow(m_toolbar.search, enabled);
  if (m_toolbar.deleteButton) {
    bool deletable = enabled && (!m_toolbar.hasEvents || m_toolbar.hasEvents());
    ::EnableWindow(m_toolbar.deleteButton, deletable);
  }
}

bool CCalendarSupport::DeleteOne(ContentId id) {
  IDataProvider* provider = ProviderFor("DeleteOne");
  if (!provider) return false;
  LOG::I(PIM_INFO_LOG, "Start Delete Calendar!");
  return provider->Delete(m_uri, IdList{id});
}

bool CCalendarSupport::DeleteMany(const IdList& ids) {
  IDataProvider* provider = ProviderFor("DeleteMany");
  if (!provider) return false;
  LOG::I(PIM_INFO_LOG, "Start Delete Calendar!");
  // Shown before the request, so that the answer always finds it to hide.
  if (m_waitBox) JorvWaitDynamicHideEx(m_waitBox);
  m_waitBox = JorvWaitDynamicShowEx(m_mainWindow, qs::ResText(L"common.deleting").c_str());
  if (provider->Delete(m_uri, ids)) return true;
  JorvWaitDynamicHideEx(m_waitBox);
  m_waitBox = nullptr;
  return false;
}

bool CCalendarSupport::QueryEventDays(const CCHSDate& from, const CCHSDate& to) {
  IDataProvider* provider = ProviderFor("QueryEventDays");
  if (!provider) return false;
  return provider->QueryByDate(ContentUri::kCalendarByDate, DayText(from), DayText(to));
}

bool CCalendarSupport::QueryEvents(const CCHSDate& from, const CCHSDate& to) {
  IDataProvider* provider = ProviderFor("QueryEvents");
  if (!provider) return false;
  return provider->QueryByDate(m_uri, DayText(from), DayText(to));
}

bool CCalendarSupport::Search(const std::wstring& keyword) {
  IDataProvider* provider = ProviderFor("Search");
  if (!provider) return false;
  return provider->SearchContact(m_uri, keyword, 0);
}

bool CCalendarSupport::Insert(Calendar::CCalendarData& event) {
  IDataProvider* provider = ProviderFor("Insert");
  if (!provider) return false;
  LOG::I(PIM_INFO_LOG, "Start Insert Calendar!");
  return provider->Insert(m_uri, &event);
}

bool CCalendarSupport::Update(Calendar::CCalendarData& event) {
  IDataProvider* provider = ProviderFor("Update");
  if (!provider) return false;
  LOG::I(PIM_INFO_LOG, "Start Update Calendar!");
  return provider->Update(m_uri, &event);
}

// ---------------------------------------------------------------------------
// Dates and the parts that follow them

CCHSDate CCalendarSupport::GetToday() {
  SYSTEMTIME now = wf::LocalTime();
  m_today.Set(now.wYear, now.wMonth, now.wDay);
  return m_today;
}

void CCalendarSupport::NotifyDateChanged() {
  EachStillRegistered(m_observers, [](CDateOberver& observer) { observer.OnDateChanged(); });
}

void CCalendarSupport::NotifyShowDay() {
  EachStillRegistered(m_observers, [](CDateOberver& observer) { observer.OnShowDay(); });
}

void CCalendarSupport::AddListener(IDataProviderCallback* listener) { AddOnce(m_listeners, listener); }
void CCalendarSupport::RemoveListener(IDataProviderCallback* listener) { RemoveFrom(m_listeners, listener); }
void CCalendarSupport::AddDateObserver(CDateOberver* observer) { AddOnce(m_observers, observer); }
void CCalendarSupport::RemoveDateObserver(CDateOberver* observer) { RemoveFrom(m_observers, observer); }

// ---------------------------------------------------------------------------
// Answers: on the user-interface thread, then to the listeners

bool CCalendarSupport::Answer(const std::function<void()>& work) {
  content::CProviderOwner* owner = m_owner.load();
  if (!owner) return true;
  return owner->Call([&] {
    work();
    return true;
  });
}

void CCalendarSupport::Forward(const std::function<void(IDataProviderCallback&)>& call) {
  EachStillRegistered(m_listeners, call);
}

void CCalendarSupport::ForwardIfOurs(const std::wstring& uri, const std::function<void(IDataProviderCallback&)>& call) {
  if (uri == m_uri) Forward(call);
}

bool CCalendarSupport::OnProviderEvent(uint32_t, const ProviderEvent& event) {
  return Answer([&] { m_descriptor = event; });
}

bool CCalendarSupport::OnReturnPage(const std::wstring& uri, uint32_t status, const ContentList& records) {
  return Answer([&] { ForwardIfOurs(uri, [&](IDataProviderCallback& l) { l.OnReturnPage(uri, status, records); }); });
}

bool CCalendarSupport::OnRefreshComplete(const std::wstring& uri, uint32_t status) {
  return Answer([&] {
    if (uri != m_uri) return;
    m_busy = 0;
    SetToolbarEnabled(true);
    if (m_toolbar.busy) ::ShowWindow(m_toolbar.busy, SW_HIDE);
    Forward([&](IDataProviderCallback& l) { l.OnRefreshComplete(uri, status); });
  });
}

bool CCalendarSupport::OnReturnGroupContent(const std::wstring& uri, uint32_t status, const GroupedContent& groups) {
  return Answer(
      [&] { ForwardIfOurs(uri, [&](IDataProviderCallback& l) { l.OnReturnGroupContent(uri, status, groups); }); });
}

bool CCalendarSupport::OnReturnContent(const std::wstring& uri, uint32_t status, const ContentList& records) {
  return Answer([&] { OnReturnEventList(uri, status, records); });
}

bool CCalendarSupport::OnReturnEventList(const std::wstring& uri, uint32_t status, const ContentList& records) {
  ForwardIfOurs(uri, [&](IDataProviderCallback& l) { l.OnReturnContent(uri, status, records); });
  return true;
}

bool CCalendarSupport::OnReturnById(const std::wstring& uri, uint32_t status, const ContentList& records) {
  return Answer([&] { Forward([&](IDataProviderCallback& l) { l.OnReturnById(uri, status, records); }); });
}

bool CCalendarSupport::OnReturnDates(const std::wstring& uri, uint32_t status, const DayList& days) {
  return Answer([&] { Forward([&](IDataProviderCallback& l) { l.OnReturnDates(uri, status, days); }); });
}

bool CCalendarSupport::OnInsert(const std::wstring& uri, uint32_t status, const ContentList& records) {
  return Answer([&] { ForwardIfOurs(uri, [&](IDataProviderCallback& l) { l.OnInsert(uri, status, records); }); });
}

bool CCalendarSupport::OnInsert(const std::wstring& uri, uint32_t status, CContent* record) {
  return Answer([&] { ForwardIfOurs(uri, [&](IDataProviderCallback& l) { l.OnInsert(uri, status, record); }); });
}

bool CCalendarSupport::OnUpdate(const std::wstring& uri, uint32_t status, const ContentList& records) {
  return Answer([&] { ForwardIfOurs(uri, [&](IDataProviderCallback& l) { l.OnUpdate(uri, status, records); }); });
}

bool CCalendarSupport::OnUpdate(const std::wstring& uri, uint32_t status) {
  return Answer([&] { ForwardIfOurs(uri, [&](IDataProviderCallback& l) { l.OnUpdate(uri, status); }); });
}

bool CCalendarSupport::OnDelete(const std::wstring& uri, uint32_t status) {
  return Answer([&] {
    // The wait box of DeleteMany (or none) goes with the answer, whatever it is.
    HANDLE wait = m_waitBox;
    m_waitBox = nullptr;
    if (m_mainWindow && ::IsWindow(m_mainWindow))
      ::SendMessageW(m_mainWindow, pim_msg::kHideWait, pim_msg::kModuleCalendar, reinterpret_cast<LPARAM>(wait));
    else if (wait)
      JorvWaitDynamicHideEx(wait);
    ForwardIfOurs(uri, [&](IDataProviderCallback& l) { l.OnDelete(uri, status); });
  });
}

bool CCalendarSupport::OnMembership(const std::wstring& uri, uint32_t status) {
  return Answer([&] { ForwardIfOurs(uri, [&](IDataProviderCallback& l) { l.OnMembership(uri, status); }); });
}

bool CCalendarSupport::OnSetLock(const std::wstring& uri, uint32_t status) {
  return Answer([&] { ForwardIfOurs(uri, [&](IDataProviderCallback& l) { l.OnSetLock(uri, status); }); });
}

bool CCalendarSupport::OnSetRead(const std::wstring& uri, uint32_t status) {
  return Answer([&] { ForwardIfOurs(uri, [&](IDataProviderCallback& l) { l.OnSetRead(uri, status); }); });
}

bool CCalendarSupport::OnSetStar(const std::wstring& uri, uint32_t status) {
  return Answer([&] { ForwardIfOurs(uri, [&](IDataProviderCallback& l) { l.OnSetStar(uri, status); }); });
}
