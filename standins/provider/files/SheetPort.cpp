#include "SheetPort.h"

#include <cwctype>
#include <map>

namespace files {
namespace {

using Contact::CContactData;
using Message::CSMSData;

// A column's title in the three languages (zh-CN, zh-TW, en).
struct Column {
  const wchar_t* titles[3];
};

enum ContactColumn {
  kName, kFamily, kGiven, kMiddle, kPrefix, kSuffix, kPhoneticFamily, kPhoneticGiven, kNickname,
  kMobile, kHomePhone, kWorkPhone, kFax, kOtherPhone, kEmail, kCompany, kDepartment, kJobTitle,
  kHomeStreet, kHomeCity, kHomeRegion, kHomePostcode, kHomeCountry,
  kWorkStreet, kWorkCity, kWorkRegion, kWorkPostcode, kWorkCountry,
  kIm, kWebsite, kGroups, kFavourite, kNotes, kContactColumns
};

const Column kContactTitles[kContactColumns] = {
    {{L"姓名", L"姓名", L"Name"}},
    {{L"姓", L"姓", L"Family name"}},
    {{L"名", L"名", L"Given name"}},
    {{L"中间名", L"中間名", L"Middle name"}},
    {{L"称谓", L"稱謂", L"Prefix"}},
    {{L"后缀", L"後綴", L"Suffix"}},
    {{L"姓氏拼音", L"姓氏拼音", L"Phonetic family name"}},
    {{L"名字拼音", L"名字拼音", L"Phonetic given name"}},
    {{L"昵称", L"暱稱", L"Nickname"}},
    {{L"手机", L"手機", L"Mobile"}},
    {{L"住宅电话", L"住宅電話", L"Home phone"}},
    {{L"单位电话", L"公司電話", L"Work phone"}},
    {{L"传真", L"傳真", L"Fax"}},
    {{L"其他电话", L"其他電話", L"Other phone"}},
    {{L"电子邮件", L"電子郵件", L"E-mail"}},
    {{L"公司", L"公司", L"Company"}},
    {{L"部门", L"部門", L"Department"}},
    {{L"职位", L"職稱", L"Job title"}},
    {{L"住宅街道", L"住宅街道", L"Home street"}},
    {{L"住宅城市", L"住宅城市", L"Home city"}},
    {{L"住宅省份", L"住宅省份", L"Home region"}},
    {{L"住宅邮编", L"住宅郵遞區號", L"Home postcode"}},
    {{L"住宅国家", L"住宅國家", L"Home country"}},
    {{L"单位街道", L"公司街道", L"Work street"}},
    {{L"单位城市", L"公司城市", L"Work city"}},
    {{L"单位省份", L"公司省份", L"Work region"}},
    {{L"单位邮编", L"公司郵遞區號", L"Work postcode"}},
    {{L"单位国家", L"公司國家", L"Work country"}},
    {{L"即时通讯", L"即時通訊", L"Instant messaging"}},
    {{L"网站", L"網站", L"Website"}},
    {{L"分组", L"群組", L"Groups"}},
    {{L"收藏", L"我的最愛", L"Favourite"}},
    {{L"备注", L"備註", L"Notes"}},
};

enum MessageColumn { kNumber, kContactName, kTime, kContent, kFolder, kType, kRead, kLocked, kCard, kMessageColumns };

const Column kMessageTitles[kMessageColumns] = {
    {{L"号码", L"號碼", L"Number"}},
    {{L"联系人", L"聯絡人", L"Contact"}},
    {{L"时间", L"時間", L"Time"}},
    {{L"内容", L"內容", L"Content"}},
    {{L"文件夹", L"資料夾", L"Folder"}},
    {{L"类型", L"類型", L"Type"}},
    {{L"已读", L"已讀", L"Read"}},
    {{L"锁定", L"鎖定", L"Locked"}},
    {{L"SIM卡", L"SIM卡", L"SIM card"}},
};

const Column kYes = {{L"是", L"是", L"Yes"}};
const Column kNo = {{L"否", L"否", L"No"}};
const Column kReceived = {{L"接收", L"接收", L"Received"}};
const Column kSent = {{L"发送", L"傳送", L"Sent"}};
const Column kComposed = {{L"草稿", L"草稿", L"Composed"}};

// System folders by raw id, named as the suite names them.
struct FolderName {
  int32_t id;
  Column name;
};
const FolderName kSystemFolders[] = {
    {Message::kFolderInbox, {{L"收件箱", L"收件匣", L"Inbox"}}},
    {Message::kFolderOutbox, {{L"发件箱", L"寄件匣", L"Outbox"}}},
    {Message::kFolderSent, {{L"已发送", L"已傳送", L"Sent"}}},
    {Message::kFolderDrafts, {{L"草稿箱", L"草稿匣", L"Drafts"}}},
    {Message::kFolderRecycleBin, {{L"回收站", L"資源回收筒", L"Recycle bin"}}},
    {Message::kFolderSimOne, {{L"卡1", L"卡1", L"SIM 1"}}},
    {Message::kFolderSimTwo, {{L"卡2", L"卡2", L"SIM 2"}}},
    {Message::kFolderCellBroadcast, {{L"小区广播", L"區域廣播", L"Cell broadcast"}}},
    {Message::kFolderVoiceBox, {{L"语音信箱", L"語音信箱", L"Voice Mail"}}},
    {Message::kFolderNotifications, {{L"通知", L"通知", L"Notifications"}}},
};

int Clamp(int language) { return language >= 0 && language <= 2 ? language : kEnglish; }

std::wstring Trim(const std::wstring& text) {
  size_t first = 0, last = text.size();
  while (first < last && std::iswspace(text[first])) ++first;
  while (last > first && std::iswspace(text[last - 1])) --last;
  return text.substr(first, last - first);
}

std::wstring Lower(std::wstring text) {
  for (wchar_t& c : text) c = static_cast<wchar_t>(std::towlower(c));
  return text;
}

bool Names(const Column& column, const std::wstring& text) {
  std::wstring wanted = Lower(Trim(text));
  for (const wchar_t* title : column.titles)
    if (wanted == Lower(title)) return true;
  return false;
}

// Cell texts hold several values one per line (a spreadsheet's line break).
std::vector<std::wstring> Lines(const std::wstring& cell) {
  std::vector<std::wstring> lines;
  size_t start = 0;
  while (start <= cell.size()) {
    size_t end = cell.find_first_of(L"\r\n", start);
    std::wstring line = Trim(cell.substr(start, end == std::wstring::npos ? std::wstring::npos : end - start));
    if (!line.empty()) lines.push_back(line);
    if (end == std::wstring::npos) break;
    start = end + 1;
  }
  return lines;
}

void AddLine(std::wstring& cell, const std::wstring& line) {
  if (line.empty()) return;
  if (!cell.empty()) cell += L'\n';
  cell += line;
}

// "Label: value" lines carry the kind of an entry whose column has no kind of its own.
std::wstring Labelled(const std::wstring& label, const std::wstring& value) {
  return label.empty() ? value : label + L": " + value;
}
bool SplitLabel(const std::wstring& line, std::wstring& label, std::wstring& value) {
  size_t colon = line.find(L": ");
  if (colon == std::wstring::npos || colon == 0) return false;
  label = Trim(line.substr(0, colon));
  value = Trim(line.substr(colon + 2));
  return !value.empty();
}

// The code whose table text is `label` (codes 1..last), or 0.
template <class Entry>
int32_t CodeOf(const std::wstring& label, int32_t last) {
  Entry probe;
  std::wstring wanted = Lower(label);
  for (int32_t code = 1; code <= last; ++code)
    if (Lower(probe.GetTypeLabel(code)) == wanted) return code;
  return 0;
}

template <class Entry>
std::wstring LabelOf(const Entry& entry) {
  return entry.GetTypeLabel(entry.m_type);
}

// Column positions of a header row; -1 where the sheet has no such column.
template <size_t N>
std::vector<int> MatchHeader(const std::vector<std::wstring>& header, const Column (&columns)[N]) {
  std::vector<int> at(N, -1);
  for (size_t cell = 0; cell < header.size(); ++cell)
    for (size_t column = 0; column < N; ++column)
      if (at[column] < 0 && Names(columns[column], header[cell])) {
        at[column] = static_cast<int>(cell);
        break;
      }
  return at;
}

template <size_t N>
std::vector<std::wstring> HeaderRow(const Column (&columns)[N], int language) {
  std::vector<std::wstring> row;
  for (const Column& column : columns) row.push_back(column.titles[Clamp(language)]);
  return row;
}

bool IsYes(const std::wstring& cell) {
  std::wstring text = Lower(Trim(cell));
  return Names(kYes, text) || text == L"1" || text == L"true" || text == L"x" || text == L"y";
}

bool Ticked(const Tick& tick) { return !tick || tick(); }

// --- contacts ---

std::vector<std::wstring> ContactRow(const CContactData& c, int language) {
  std::vector<std::wstring> row(kContactColumns);
  row[kName] = c.m_name[Contact::kDisplayName].empty() ? c.m_name[Contact::kFullName] : c.m_name[Contact::kDisplayName];
  row[kFamily] = c.m_name[Contact::kFamilyName];
  row[kGiven] = c.m_name[Contact::kGivenName];
  row[kMiddle] = c.m_name[Contact::kMiddleName];
  row[kPrefix] = c.m_name[Contact::kNamePrefix];
  row[kSuffix] = c.m_name[Contact::kNameSuffix];
  row[kPhoneticFamily] = c.m_name[Contact::kPhoneticFamilyName];
  row[kPhoneticGiven] = c.m_name[Contact::kPhoneticGivenName];
  for (const auto& nickname : c.m_nicknames) AddLine(row[kNickname], nickname.m_data);
  for (const auto& phone : c.m_phones) {
    switch (phone.m_type) {
      case 2: AddLine(row[kMobile], phone.m_data); break;
      case 1: AddLine(row[kHomePhone], phone.m_data); break;
      case 3: AddLine(row[kWorkPhone], phone.m_data); break;
      case 4: AddLine(row[kFax], phone.m_data); break;
      case 7: AddLine(row[kOtherPhone], phone.m_data); break;
      default: AddLine(row[kOtherPhone], Labelled(LabelOf(phone), phone.m_data));
    }
  }
  for (const auto& email : c.m_emails)
    AddLine(row[kEmail], email.m_type == 1 ? email.m_data : Labelled(LabelOf(email), email.m_data));
  if (!c.m_organizations.empty()) {
    const auto& org = c.m_organizations.front().m_data;
    row[kCompany] = org.m_company;
    row[kDepartment] = org.m_department;
    row[kJobTitle] = org.m_title;
  }
  bool homeDone = false, workDone = false;
  for (const auto& postal : c.m_postals) {
    bool home = postal.m_type == 1 && !homeDone, work = postal.m_type == 2 && !workDone;
    if (!home && !work) continue;
    int first = home ? kHomeStreet : kWorkStreet;
    row[first] = postal.m_data.m_street;
    row[first + 1] = postal.m_data.m_city;
    row[first + 2] = postal.m_data.m_region;
    row[first + 3] = postal.m_data.m_postcode;
    row[first + 4] = postal.m_data.m_country;
    (home ? homeDone : workDone) = true;
  }
  for (const auto& im : c.m_ims) {
    Contact::CIMData protocol;
    std::wstring label = im.m_protocol >= 1 && im.m_protocol <= 8 ? protocol.GetTypeLabel(im.m_protocol) : im.m_label;
    AddLine(row[kIm], Labelled(label, im.m_data));
  }
  for (const auto& site : c.m_websites) AddLine(row[kWebsite], site.m_data);
  for (const auto& group : c.m_groupNames) AddLine(row[kGroups], group);
  row[kFavourite] = c.m_starred ? kYes.titles[Clamp(language)] : L"";
  for (const auto& note : c.m_notes) AddLine(row[kNotes], note);
  return row;
}

void AddPhone(CContactData& c, int32_t type, const std::wstring& number, const std::wstring& label = {}) {
  c.m_phones.emplace_back(type, number, label);
}

CContactData ContactOfRow(const std::vector<std::wstring>& row, const std::vector<int>& at) {
  auto cell = [&](int column) -> std::wstring {
    int index = at[column];
    return index >= 0 && index < static_cast<int>(row.size()) ? Trim(row[index]) : std::wstring();
  };
  CContactData c;
  c.m_name[Contact::kDisplayName] = cell(kName);
  c.m_name[Contact::kFamilyName] = cell(kFamily);
  c.m_name[Contact::kGivenName] = cell(kGiven);
  c.m_name[Contact::kMiddleName] = cell(kMiddle);
  c.m_name[Contact::kNamePrefix] = cell(kPrefix);
  c.m_name[Contact::kNameSuffix] = cell(kSuffix);
  c.m_name[Contact::kPhoneticFamilyName] = cell(kPhoneticFamily);
  c.m_name[Contact::kPhoneticGivenName] = cell(kPhoneticGiven);
  // A sheet with only a name column: the name is the full name too, so the
  // handset does not take a number for it.
  if (c.m_name[Contact::kFamilyName].empty() && c.m_name[Contact::kGivenName].empty() &&
      c.m_name[Contact::kMiddleName].empty())
    c.m_name[Contact::kFullName] = c.m_name[Contact::kDisplayName];
  for (const auto& line : Lines(cell(kNickname))) c.m_nicknames.emplace_back(0, line);
  for (const auto& line : Lines(cell(kMobile))) AddPhone(c, 2, line);
  for (const auto& line : Lines(cell(kHomePhone))) AddPhone(c, 1, line);
  for (const auto& line : Lines(cell(kWorkPhone))) AddPhone(c, 3, line);
  for (const auto& line : Lines(cell(kFax))) AddPhone(c, 4, line);
  for (const auto& line : Lines(cell(kOtherPhone))) {
    std::wstring label, number;
    if (!SplitLabel(line, label, number)) {
      AddPhone(c, 7, line);
      continue;
    }
    int32_t code = CodeOf<Contact::CPhoneData>(label, 20);
    AddPhone(c, code, number, code ? L"" : label);
  }
  for (const auto& line : Lines(cell(kEmail))) {
    std::wstring label, address;
    if (!SplitLabel(line, label, address)) {
      c.m_emails.emplace_back(1, line);
      continue;
    }
    int32_t code = CodeOf<Contact::CEmailData>(label, 4);
    c.m_emails.emplace_back(code, address, code ? L"" : label);
  }
  if (!cell(kCompany).empty() || !cell(kDepartment).empty() || !cell(kJobTitle).empty()) {
    Contact::COrganizationBaseData org;
    org.m_company = cell(kCompany);
    org.m_department = cell(kDepartment);
    org.m_title = cell(kJobTitle);
    c.m_organizations.emplace_back(1, org);
  }
  for (int type : {1, 2}) {
    int first = type == 1 ? kHomeStreet : kWorkStreet;
    Contact::CPostalBaseData postal;
    postal.m_street = cell(first);
    postal.m_city = cell(first + 1);
    postal.m_region = cell(first + 2);
    postal.m_postcode = cell(first + 3);
    postal.m_country = cell(first + 4);
    if (!(postal == Contact::CPostalBaseData{})) c.m_postals.emplace_back(type, postal);
  }
  for (const auto& line : Lines(cell(kIm))) {
    std::wstring label, account;
    Contact::CIMData im;
    if (SplitLabel(line, label, account)) {
      im.m_data = account;
      im.m_protocol = CodeOf<Contact::CIMData>(label, 8);
      if (!im.m_protocol) im.m_label = label;
    } else {
      im.m_data = line;
    }
    c.m_ims.push_back(im);
  }
  for (const auto& line : Lines(cell(kWebsite))) c.m_websites.emplace_back(0, line);
  c.m_groupNames = Lines(cell(kGroups));
  c.m_starred = IsYes(cell(kFavourite)) ? 1 : 0;
  std::wstring notes = at[kNotes] >= 0 && at[kNotes] < static_cast<int>(row.size()) ? row[at[kNotes]] : L"";
  if (!Trim(notes).empty()) c.m_notes.push_back(notes);
  return c;
}

bool RowIsEmpty(const std::vector<std::wstring>& row) {
  for (const auto& cell : row)
    if (!Trim(cell).empty()) return false;
  return true;
}

// The first row that names a known column is the header (a title row above it is allowed).
template <size_t N>
bool FindHeader(const Sheet& sheet, const Column (&columns)[N], size_t& headerRow, std::vector<int>& at,
                std::wstring& error) {
  for (size_t row = 0; row < sheet.rows.size() && row < 10; ++row) {
    at = MatchHeader(sheet.rows[row], columns);
    for (int position : at)
      if (position >= 0) {
        headerRow = row;
        return true;
      }
  }
  error = sheet.rows.empty() ? L"the sheet is empty"
                             : L"the sheet has no column this handset knows (such as \"" +
                                   std::wstring(columns[0].titles[kEnglish]) + L"\")";
  return false;
}

// --- messages ---

std::wstring FolderNameOf(int32_t folderId, const MessageSet& set, int language) {
  for (const auto& folder : kSystemFolders)
    if (folder.id == folderId) return folder.name.titles[Clamp(language)];
  for (const auto& folder : set.folders)
    if (static_cast<int32_t>(folder.m_id) == folderId) return folder.m_name;
  return L"";
}

}  // namespace

bool ContactsToSheet(const ContactSet& set, int language, Sheet& sheet, const Tick& tick) {
  int lang = Clamp(language);
  sheet.name = lang == kEnglish ? L"Contacts" : lang == kSimplifiedChinese ? L"联系人" : L"聯絡人";
  sheet.rows.clear();
  sheet.rows.push_back(HeaderRow(kContactTitles, language));
  for (const auto& contact : set.contacts) {
    sheet.rows.push_back(ContactRow(contact, language));
    if (!Ticked(tick)) return false;
  }
  return true;
}

bool SheetToContacts(const Sheet& sheet, ContactSet& set, std::wstring& error, const Tick& tick) {
  size_t headerRow = 0;
  std::vector<int> at;
  if (!FindHeader(sheet, kContactTitles, headerRow, at, error)) return false;
  std::map<std::wstring, bool> groups;
  for (size_t r = headerRow + 1; r < sheet.rows.size(); ++r) {
    if (RowIsEmpty(sheet.rows[r])) continue;
    CContactData contact = ContactOfRow(sheet.rows[r], at);
    for (const auto& name : contact.m_groupNames)
      if (groups.emplace(name, true).second) {
        Contact::CGroupData group;
        group.m_name = name;
        set.groups.push_back(group);
      }
    set.contacts.push_back(std::move(contact));
    if (!Ticked(tick)) {
      error.clear();
      return false;
    }
  }
  return true;
}

bool MessagesToSheet(const MessageSet& set, int language, Sheet& sheet, const Tick& tick) {
  int lang = Clamp(language);
  sheet.name = lang == kEnglish ? L"Messages" : lang == kSimplifiedChinese ? L"短信" : L"簡訊";
  sheet.rows.clear();
  sheet.rows.push_back(HeaderRow(kMessageTitles, language));
  for (const auto& m : set.messages) {
    std::vector<std::wstring> row(kMessageColumns);
    row[kNumber] = m.m_phoneNumber;
    row[kContactName] = m.m_contactName;
    row[kTime] = SheetTime(m.m_time);
    row[kContent] = m.m_body;
    row[kFolder] = FolderNameOf(m.m_folderId, set, language);
    const Column& type = m.m_state == CSMSData::kStateOutgoing  ? kSent
                         : m.m_state == CSMSData::kStateComposed ? kComposed
                                                                 : kReceived;
    row[kType] = type.titles[lang];
    row[kRead] = (m.m_read ? kYes : kNo).titles[lang];
    row[kLocked] = (m.m_lock ? kYes : kNo).titles[lang];
    row[kCard] = m.m_cardId ? std::to_wstring(m.m_cardId) : L"";
    sheet.rows.push_back(std::move(row));
    if (!Ticked(tick)) return false;
  }
  return true;
}

bool SheetToMessages(const Sheet& sheet, MessageSet& set, std::wstring& error, const Tick& tick) {
  size_t headerRow = 0;
  std::vector<int> at;
  if (!FindHeader(sheet, kMessageTitles, headerRow, at, error)) return false;
  std::map<std::wstring, int32_t> userFolders;
  for (const auto& folder : set.folders) userFolders[folder.m_name] = static_cast<int32_t>(folder.m_id);
  for (size_t r = headerRow + 1; r < sheet.rows.size(); ++r) {
    const auto& row = sheet.rows[r];
    if (RowIsEmpty(row)) continue;
    auto cell = [&](int column) -> std::wstring {
      int index = at[column];
      return index >= 0 && index < static_cast<int>(row.size()) ? row[index] : std::wstring();
    };
    CSMSData m;
    m.m_phoneNumber = Trim(cell(kNumber));
    m.m_body = cell(kContent);
    if (!StoredTime(Trim(cell(kTime)), m.m_time)) m.m_time.clear();  // the handset stamps it
    std::wstring type = Trim(cell(kType));
    m.m_state = Names(kSent, type) ? CSMSData::kStateOutgoing : Names(kComposed, type) ? CSMSData::kStateComposed : 0;
    m.m_read = IsYes(cell(kRead)) ? 1 : 0;
    m.m_lock = IsYes(cell(kLocked)) ? 1 : 0;
    std::wstring card = Trim(cell(kCard));
    m.m_cardId = card == L"1" ? 1 : card == L"2" ? 2 : 0;
    std::wstring folder = Trim(cell(kFolder));
    m.m_folderId = Message::kFolderInbox;
    bool system = false;
    for (const auto& known : kSystemFolders)
      if (Names(known.name, folder)) m.m_folderId = known.id, system = true;
    if (!system && !folder.empty()) {
      auto found = userFolders.find(folder);
      if (found == userFolders.end()) {
        Message::CFolder made;
        made.m_id = static_cast<ContentId>(100 + set.folders.size());
        made.m_name = folder;
        set.folders.push_back(made);
        found = userFolders.emplace(folder, static_cast<int32_t>(made.m_id)).first;
      }
      m.m_folderId = found->second;
    }
    if (m.m_phoneNumber.empty() && m.m_body.empty()) continue;
    set.messages.push_back(std::move(m));
    if (!Ticked(tick)) {
      error.clear();
      return false;
    }
  }
  return true;
}

// --- times ---

std::wstring SheetTime(const std::wstring& stored) {
  int y, mo, d, h, mi, s;
  if (stored.size() < 15 || swscanf(stored.c_str(), L"%4d%2d%2dT%2d%2d%2d", &y, &mo, &d, &h, &mi, &s) != 6)
    return stored;
  wchar_t text[32];
  swprintf(text, 32, L"%04d-%02d-%02d %02d:%02d:%02d", y, mo, d, h, mi, s);
  return text;
}

namespace {

// The civil date of a count of days since 1970-01-01 (Howard Hinnant's algorithm).
void CivilFromDays(long long z, int& y, int& m, int& d) {
  z += 719468;
  long long era = (z >= 0 ? z : z - 146096) / 146097;
  unsigned doe = static_cast<unsigned>(z - era * 146097);
  unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  long long year = static_cast<long long>(yoe) + era * 400;
  unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  unsigned mp = (5 * doy + 2) / 153;
  d = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
  m = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
  y = static_cast<int>(year + (m <= 2));
}

bool Valid(int y, int mo, int d, int h, int mi, int s) {
  return y >= 1900 && y <= 2100 && mo >= 1 && mo <= 12 && d >= 1 && d <= 31 && h >= 0 && h < 24 && mi >= 0 &&
         mi < 60 && s >= 0 && s < 60;
}

}  // namespace

bool StoredTime(const std::wstring& shown, std::wstring& stored) {
  int y = 0, mo = 0, d = 0, h = 0, mi = 0, s = 0;
  wchar_t tail = 0;
  bool parsed = false;
  if (shown.size() == 16 && swscanf(shown.c_str(), L"%4d%2d%2dT%2d%2d%2d%lc", &y, &mo, &d, &h, &mi, &s, &tail) == 7) {
    parsed = tail == L'Z';
  } else if (swscanf(shown.c_str(), L"%d%*1[-/.]%d%*1[-/.]%d %d:%d:%d", &y, &mo, &d, &h, &mi, &s) >= 3) {
    parsed = true;  // seconds, or the whole time, may be missing
  } else {
    // A spreadsheet program saves a date cell as days since 30 December 1899.
    wchar_t* end = nullptr;
    double serial = wcstod(shown.c_str(), &end);
    if (end && *end == 0 && !shown.empty() && serial > 1 && serial < 100000) {
      long long seconds = static_cast<long long>(serial * 86400.0 + 0.5);
      long long days = seconds / 86400 - 25569;  // 25569: 1970-01-01
      CivilFromDays(days, y, mo, d);
      long long rest = seconds % 86400;
      h = static_cast<int>(rest / 3600), mi = static_cast<int>(rest / 60 % 60), s = static_cast<int>(rest % 60);
      parsed = true;
    }
  }
  if (!parsed || !Valid(y, mo, d, h, mi, s)) return false;
  wchar_t text[20];
  swprintf(text, 20, L"%04d%02d%02dT%02d%02d%02dZ", y, mo, d, h, mi, s);
  stored = text;
  return true;
}

}  // namespace files
