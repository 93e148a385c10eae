#include "PortRuns.h"

#include <windows.h>

#include <algorithm>
#include <cwctype>
#include <map>
#include <memory>
#include <set>

#include "SheetPort.h"
#include "Spreadsheet.h"
#include "TextCodec.h"
#include "VCard.h"
#include "XmlPort.h"

namespace files {
namespace {

using handset::Book;

// Counts records and tells `progress` about every hundredth of the run (at
// most every 200 records), so a run reports about a hundred times and a
// cancel is seen within 200 records.
class Counter {
 public:
  Counter(const Progress& progress, size_t total) : m_progress(progress), m_total(total) {
    m_stride = std::clamp<size_t>(total / 100, 1, 200);
  }
  // False once the run is cancelled.
  bool Step() {
    ++m_done;
    if (m_done % m_stride != 0 && m_done != m_total) return true;
    return Report();
  }
  bool Report() { return !m_progress || m_progress(std::min(m_done, m_total), m_total); }
  Tick AsTick() {
    return [this] { return Step(); };
  }
  size_t done() const { return m_done; }

 private:
  const Progress& m_progress;
  size_t m_total;
  size_t m_stride = 1;
  size_t m_done = 0;
};

// Checks for a cancel while files are read (the total is not known yet).
Tick CancelCheck(const Progress& progress) {
  return [&progress, n = size_t{0}]() mutable {
    // Read without reporting: asking with done 0 of 0 only polls for a cancel.
    return ++n % 100 != 0 || !progress || progress(0, 0);
  };
}

PortOutcome Failed(const std::wstring& problem) {
  PortOutcome outcome;
  outcome.kind = PortOutcome::kFailed;
  outcome.problem = problem;
  return outcome;
}
PortOutcome Cancelled() {
  PortOutcome outcome;
  outcome.kind = PortOutcome::kCancelled;
  return outcome;
}
PortOutcome Moved(size_t moved, size_t skipped = 0) {
  PortOutcome outcome;
  outcome.kind = moved ? PortOutcome::kDone : PortOutcome::kNothing;
  outcome.moved = moved;
  outcome.skipped = skipped;
  return outcome;
}

bool EndsWithNoCase(const std::wstring& text, const std::wstring& tail) {
  if (text.size() < tail.size()) return false;
  return std::equal(tail.begin(), tail.end(), text.end() - static_cast<ptrdiff_t>(tail.size()),
                    [](wchar_t a, wchar_t b) { return std::towlower(a) == std::towlower(b); });
}

std::vector<std::wstring> CardFilesOf(const std::wstring& folder) {
  std::vector<std::wstring> paths;
  WIN32_FIND_DATAW found;
  HANDLE search = ::FindFirstFileW(JoinPath(folder, L"*.vcf").c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return paths;
  do {
    if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) paths.push_back(JoinPath(folder, found.cFileName));
  } while (::FindNextFileW(search, &found));
  ::FindClose(search);
  std::sort(paths.begin(), paths.end());  // the same order on every run
  return paths;
}

// --- what an export covers ---

ContactSet ContactsOf(const handset::Store& store, const ContactScope& scope) {
  ContactSet set;
  ContentList records;
  if (scope.ids) {
    for (ContentId id : *scope.ids)
      if (CContent* copy = store.CopyContact(scope.book, id)) records.push_back(copy);
  } else {
    handset::ContactFilter filter;
    filter.starredOnly = scope.starredOnly;
    filter.groupId = scope.groupId;
    store.CollectContacts(scope.book, filter, records);
  }
  std::set<std::wstring> groupNames;
  for (CContent* record : records) {
    auto* contact = static_cast<Contact::CContactData*>(record);
    groupNames.insert(contact->m_groupNames.begin(), contact->m_groupNames.end());
    set.contacts.push_back(std::move(*contact));
  }
  DeleteContents(records);
  // The groups its contacts belong to travel with them.
  ContentList groups;
  store.CollectGroups(groups);
  for (CContent* record : groups) {
    auto* group = static_cast<Contact::CGroupData*>(record);
    if (groupNames.count(group->m_name) || (scope.groupId && group->m_id == scope.groupId)) set.groups.push_back(*group);
  }
  DeleteContents(groups);
  return set;
}

MessageSet MessagesOf(const handset::Store& store, const MessageScope& scope) {
  MessageSet set;
  ContentList records;
  if (scope.ids) {
    for (ContentId id : *scope.ids)
      if (CContent* copy = store.CopyMessage(id)) records.push_back(copy);
  } else {
    store.CollectFolderMessages(scope.folderId, records);
  }
  std::set<int32_t> folderIds;
  for (CContent* record : records) {
    auto* message = static_cast<Message::CSMSData*>(record);
    folderIds.insert(message->m_folderId);
    set.messages.push_back(*message);
  }
  DeleteContents(records);
  for (int32_t id : folderIds)
    if (std::unique_ptr<Message::CFolder> folder{store.CopyFolder(id)}; folder && !folder->IsSystem())
      set.folders.push_back(*folder);
  return set;
}

// --- writing ---

PortOutcome WriteFile(const std::wstring& path, const std::string& bytes, size_t records) {
  std::wstring error;
  if (!WriteFileBytes(path, bytes, error)) return Failed(error);
  return Moved(records);
}

PortOutcome WriteSheet(const Sheet& sheet, const std::wstring& path, size_t records) {
  std::string bytes;
  std::wstring error;
  bool written = EndsWithNoCase(path, L".xls") ? WriteXls(sheet, bytes, error) : WriteXlsx(sheet, bytes, error);
  return written ? WriteFile(path, bytes, records) : Failed(error);
}

PortOutcome WriteCards(const std::vector<Contact::CContactData>& contacts, const std::wstring& folder,
                       Counter& counter) {
  if (!(::GetFileAttributesW(folder.c_str()) & FILE_ATTRIBUTE_DIRECTORY) ||
      ::GetFileAttributesW(folder.c_str()) == INVALID_FILE_ATTRIBUTES)
    return Failed(L"the folder " + folder + L" does not exist");
  std::set<std::wstring> taken;
  std::vector<std::wstring> written;
  auto undo = [&written] {
    for (const auto& path : written) ::DeleteFileW(path.c_str());
  };
  for (const auto& contact : contacts) {
    std::wstring path = JoinPath(folder, VCardFileName(contact, taken)), error;
    if (!WritePlainFile(path, WriteVCard(contact), error)) {
      undo();
      return Failed(error);
    }
    written.push_back(path);
    if (!counter.Step()) {
      undo();  // a cancelled export leaves no half of itself behind
      return Cancelled();
    }
  }
  return Moved(written.size());
}

// --- reading ---

bool ReadAll(const std::wstring& path, std::string& bytes, PortOutcome& failure) {
  std::wstring error;
  if (ReadFileBytes(path, bytes, error)) return true;
  failure = Failed(error);
  return false;
}

PortOutcome ReadContacts(PortFormat format, const std::vector<std::wstring>& paths, const Progress& progress,
                         ContactSet& set) {
  Tick tick = CancelCheck(progress);
  PortOutcome outcome = Moved(0);
  for (const auto& path : paths) {
    if (format == PortFormat::VCard) {
      for (const auto& file : CardFilesOf(path)) {
        std::string bytes;
        if (!ReadAll(file, bytes, outcome)) return outcome;
        VCardReadResult read = ReadVCards(bytes, set.contacts, tick);
        if (read.cancelled) return Cancelled();
        outcome.skipped += read.broken;
        for (const auto& problem : read.problems) outcome.problem += file + L": " + problem + L"\n";
      }
      continue;
    }
    std::string bytes;
    if (!ReadAll(path, bytes, outcome)) return outcome;
    std::wstring error;
    bool read;
    if (format == PortFormat::Xml) {
      read = ReadContactsXml(bytes, set, error, tick);
    } else {
      Sheet sheet;
      read = ReadWorkbook(bytes, sheet, error) && SheetToContacts(sheet, set, error, tick);
    }
    if (!read) return error.empty() ? Cancelled() : Failed(path + L": " + error);
  }
  return outcome;
}

PortOutcome ReadMessages(PortFormat format, const std::vector<std::wstring>& paths, const Progress& progress,
                         MessageSet& set) {
  Tick tick = CancelCheck(progress);
  for (const auto& path : paths) {
    std::string bytes;
    PortOutcome failure;
    if (!ReadAll(path, bytes, failure)) return failure;
    std::wstring error;
    MessageSet one;
    bool read;
    if (format == PortFormat::Xml) {
      read = ReadMessagesXml(bytes, one, error, tick);
    } else {
      Sheet sheet;
      read = ReadWorkbook(bytes, sheet, error) && SheetToMessages(sheet, one, error, tick);
    }
    if (!read) return error.empty() ? Cancelled() : Failed(path + L": " + error);
    // Folder ids are the file's own: a message of a user folder refers to it
    // by its place in `set.folders` (-1 the first), folders merged by name.
    std::map<int32_t, int32_t> placeOf;
    for (const auto& folder : one.folders) {
      auto same = std::find_if(set.folders.begin(), set.folders.end(),
                               [&](const Message::CFolder& f) { return f.m_name == folder.m_name; });
      if (same == set.folders.end()) same = set.folders.insert(set.folders.end(), folder);
      placeOf[static_cast<int32_t>(folder.m_id)] = -1 - static_cast<int32_t>(same - set.folders.begin());
    }
    for (auto& message : one.messages)
      if (auto place = placeOf.find(message.m_folderId); place != placeOf.end()) message.m_folderId = place->second;
    set.messages.insert(set.messages.end(), one.messages.begin(), one.messages.end());
  }
  return Moved(0);
}

}  // namespace

PortOutcome ExportContacts(const handset::Store& store, const ContactScope& scope, PortFormat format,
                           const std::wstring& path, int language, const Progress& progress) {
  ContactSet set = ContactsOf(store, scope);
  if (set.contacts.empty()) return Moved(0);
  Counter counter(progress, set.contacts.size());
  if (format == PortFormat::VCard) return WriteCards(set.contacts, path, counter);
  std::string bytes;
  std::wstring error;
  if (format == PortFormat::Xml) {
    if (!WriteContactsXml(set, bytes, error, counter.AsTick())) return error.empty() ? Cancelled() : Failed(error);
    return WriteFile(path, bytes, set.contacts.size());
  }
  Sheet sheet;
  if (!ContactsToSheet(set, language, sheet, counter.AsTick())) return Cancelled();
  return WriteSheet(sheet, path, set.contacts.size());
}

PortOutcome ExportMessages(const handset::Store& store, const MessageScope& scope, PortFormat format,
                           const std::wstring& path, int language, const Progress& progress) {
  if (format == PortFormat::VCard) return Failed(L"messages are not written as vCards");
  MessageSet set = MessagesOf(store, scope);
  if (set.messages.empty()) return Moved(0);
  Counter counter(progress, set.messages.size());
  std::string bytes;
  std::wstring error;
  if (format == PortFormat::Xml) {
    if (!WriteMessagesXml(set, true, bytes, error, counter.AsTick())) return error.empty() ? Cancelled() : Failed(error);
    return WriteFile(path, bytes, set.messages.size());
  }
  Sheet sheet;
  if (!MessagesToSheet(set, language, sheet, counter.AsTick())) return Cancelled();
  return WriteSheet(sheet, path, set.messages.size());
}

PortOutcome ImportContacts(handset::Store& store, PortFormat format, const std::vector<std::wstring>& paths,
                           const Progress& progress) {
  ContactSet set;
  PortOutcome read = ReadContacts(format, paths, progress, set);
  if (read.kind == PortOutcome::kFailed || read.kind == PortOutcome::kCancelled) return read;
  if (set.contacts.empty()) return Moved(0, read.skipped);
  // Applied to a copy that replaces the handset only at the end: a cancelled
  // import leaves it as it was.
  handset::Store copy = store;
  for (const auto& group : set.groups) copy.InsertGroup(group);  // a name it has already is kept
  Counter counter(progress, set.contacts.size());
  for (auto& contact : set.contacts) {
    for (const auto& name : contact.m_groupNames) {
      Contact::CGroupData group;
      group.m_name = name;
      copy.InsertGroup(group);
    }
    contact.m_id = 0;
    copy.InsertContact(Book::Phone, contact);
    if (!counter.Step()) return Cancelled();
  }
  store = std::move(copy);
  PortOutcome outcome = Moved(set.contacts.size(), read.skipped);
  outcome.problem = read.problem;
  return outcome;
}

PortOutcome ImportMessages(handset::Store& store, PortFormat format, const std::vector<std::wstring>& paths,
                           bool ignoreFolders, const Progress& progress) {
  if (format == PortFormat::VCard) return Failed(L"messages are not read from vCards");
  MessageSet set;
  PortOutcome read = ReadMessages(format, paths, progress, set);
  if (read.kind == PortOutcome::kFailed || read.kind == PortOutcome::kCancelled) return read;
  if (set.messages.empty()) return Moved(0);
  handset::Store copy = store;
  // The file's folders by name: the handset's folder of that name, or a new one.
  std::vector<int32_t> folderIds;
  if (!ignoreFolders) {
    ContentList existing;
    copy.CollectFolders(existing);
    for (const auto& folder : set.folders) {
      int32_t id = 0;
      for (CContent* record : existing) {
        auto* known = static_cast<Message::CFolder*>(record);
        if (!known->IsSystem() && known->m_name == folder.m_name) id = static_cast<int32_t>(known->m_id);
      }
      folderIds.push_back(id ? id : copy.InsertFolder(folder));
    }
    DeleteContents(existing);
  }
  Counter counter(progress, set.messages.size());
  constexpr size_t kChunk = 100;
  for (size_t first = 0; first < set.messages.size(); first += kChunk) {
    ContentList chunk;
    for (size_t i = first; i < std::min(first + kChunk, set.messages.size()); ++i) {
      Message::CSMSData& message = set.messages[i];
      message.m_id = 0;
      message.m_contactId = 0;  // the handset names messages after its own contacts
      message.m_contactName.clear();
      int32_t folder = message.m_folderId;
      if (folder < 0) {
        size_t index = static_cast<size_t>(-1 - folder);
        folder = !ignoreFolders && index < folderIds.size() && folderIds[index] ? folderIds[index] : Message::kFolderInbox;
      }
      if (ignoreFolders)
        folder = message.m_state == Message::CSMSData::kStateOutgoing ? Message::kFolderSent : Message::kFolderInbox;
      message.m_folderId = folder;
      chunk.push_back(&message);
    }
    copy.InsertMessages(chunk);
    for (size_t i = 0; i < chunk.size(); ++i)
      if (!counter.Step()) return Cancelled();
  }
  store = std::move(copy);
  return Moved(set.messages.size());
}

}  // namespace files
