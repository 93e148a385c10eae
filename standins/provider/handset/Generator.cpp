#include "Generator.h"

#include <windows.h>

#include <algorithm>
#include <set>
#include <unordered_set>

#include "IndexText.h"
#include "Recurrence.h"
#include "framework/Text.h"
#include "message/MessageTime.h"

namespace handset {

void Corpus::Load(std::string_view utf8) {
  std::string section;
  for (const std::wstring& line : wf::SplitLines(wf::FromUtf8(utf8))) {
    if (line.empty() || line[0] == L'#') continue;
    if (line.front() == L'[' && line.back() == L']') {
      section = wf::ToUtf8(line.substr(1, line.size() - 2));
      continue;
    }
    if (!section.empty()) m_sections[section].push_back(line);
  }
}

const std::vector<std::wstring>& Corpus::Section(const std::string& name) const {
  static const std::vector<std::wstring> kEmpty{L"?"};
  auto it = m_sections.find(name);
  return it == m_sections.end() || it->second.empty() ? kEmpty : it->second;
}

uint64_t Random::Next() {
  m_state ^= m_state >> 12;
  m_state ^= m_state << 25;
  m_state ^= m_state >> 27;
  return m_state * 2685821657736338717ull;
}

namespace {

std::vector<std::wstring> Fields(const std::wstring& line) {
  std::vector<std::wstring> fields;
  size_t start = 0;
  for (;;) {
    size_t tab = line.find(L'\t', start);
    fields.push_back(line.substr(start, tab == std::wstring::npos ? std::wstring::npos : tab - start));
    if (tab == std::wstring::npos) return fields;
    start = tab + 1;
  }
}

std::wstring Digits(Random& random, int count) {
  std::wstring digits;
  for (int i = 0; i < count; ++i) digits += static_cast<wchar_t>(L'0' + random.Below(10));
  return digits;
}

const int kMobilePrefixes[] = {134, 135, 136, 137, 138, 139, 150, 151, 152, 157, 158, 159, 182, 183, 187, 188,
                               130, 131, 132, 155, 156, 185, 186, 133, 153, 180, 181, 189};

std::wstring UniqueMobile(Random& random, std::unordered_set<std::wstring>& used) {
  for (;;) {
    std::wstring number = std::to_wstring(kMobilePrefixes[random.Below(std::size(kMobilePrefixes))]) + Digits(random, 8);
    if (used.insert(number).second) return number;
  }
}

std::wstring Landline(Random& random) {
  static const wchar_t* kAreas[] = {L"010", L"021", L"020", L"0755", L"028", L"027", L"025", L"0571"};
  return std::wstring(kAreas[random.Below(std::size(kAreas))]) + L"-" + Digits(random, 8);
}

std::wstring Ascii(const std::wstring& text) {
  std::wstring out;
  for (wchar_t c : text) {
    if ((c >= L'a' && c <= L'z') || (c >= L'0' && c <= L'9')) out += c;
    else if (c >= L'A' && c <= L'Z') out += static_cast<wchar_t>(c - L'A' + L'a');
    else if (c > 0x2E80) out += PinyinOf(c);
  }
  return out;
}

struct Person {
  ContentId id;
  std::wstring name;
  std::wstring number;
  bool chinese;
};

Contact::CContactData MakeContact(const Corpus& corpus, Random& random, std::unordered_set<std::wstring>& numbers,
                                  const std::vector<std::wstring>& groupNames, bool& chinese) {
  Contact::CContactData c;
  chinese = random.Chance(0.7);
  std::wstring family, given;
  if (chinese) {
    family = random.Pick(corpus.Section("surname_zh"));
    given = random.Pick(corpus.Section("given_zh"));
    c.m_name[Contact::kFamilyName] = family;
    c.m_name[Contact::kGivenName] = given;
    c.m_name[Contact::kDisplayName] = family + given;
  } else {
    given = random.Pick(corpus.Section("first_en"));
    family = random.Pick(corpus.Section("last_en"));
    c.m_name[Contact::kGivenName] = given;
    c.m_name[Contact::kFamilyName] = family;
    c.m_name[Contact::kDisplayName] = given + L" " + family;
  }
  c.m_name[Contact::kFullName] = c.m_name[Contact::kDisplayName];
  if (random.Chance(0.92)) c.m_phones.emplace_back(Contact::CPhoneData::kMobile, UniqueMobile(random, numbers), L"", true);
  if (random.Chance(0.2)) c.m_phones.emplace_back(random.Chance(0.5) ? 1 : 3, Landline(random));
  if (random.Chance(0.08)) c.m_phones.emplace_back(0, UniqueMobile(random, numbers), chinese ? L"备用" : L"Spare");
  if (random.Chance(0.4)) {
    static const wchar_t* kDomains[] = {L"163.com", L"qq.com", L"126.com", L"sina.com", L"gmail.com",
                                        L"outlook.com", L"example.com", L"yahoo.com"};
    std::wstring user = chinese ? Ascii(family) + Ascii(given) : Ascii(given) + L"." + Ascii(family);
    if (random.Chance(0.5)) user += std::to_wstring(random.Between(1, 99));
    c.m_emails.emplace_back(random.Chance(0.6) ? 1 : 2, user + L"@" + kDomains[random.Below(std::size(kDomains))]);
  }
  if (random.Chance(0.25)) {
    Contact::CPostalBaseData address;
    if (chinese) {
      address.m_city = random.Pick(corpus.Section("city_zh"));
      address.m_street = random.Pick(corpus.Section("district_zh")) + std::to_wstring(random.Between(1, 300)) + L"号";
      address.m_country = L"中国";
      address.m_postcode = Digits(random, 6);
    } else {
      std::vector<std::wstring> city = Fields(random.Pick(corpus.Section("city_en")));
      address.m_street = std::to_wstring(random.Between(1, 9999)) + L" " + random.Pick(corpus.Section("street_en"));
      address.m_city = city[0];
      address.m_region = city.size() > 1 ? city[1] : L"";
      address.m_country = city.size() > 2 ? city[2] : L"";
      address.m_postcode = Digits(random, 5);
    }
    c.m_postals.emplace_back(random.Chance(0.5) ? 1 : 2, address);
  }
  if (random.Chance(0.3)) {
    Contact::COrganizationBaseData organization;
    organization.m_company = random.Pick(corpus.Section("company"));
    organization.m_title = random.Pick(corpus.Section("title"));
    c.m_organizations.emplace_back(1, organization);
  }
  if (random.Chance(0.05)) c.m_nicknames.emplace_back(0, given, L"");
  if (random.Chance(0.08)) c.m_ims.emplace_back(5, std::to_wstring(random.Between(10000, 999999999)));
  if (random.Chance(0.1)) c.m_notes.push_back(random.Pick(corpus.Section("remark")));
  c.m_starred = random.Chance(0.08) ? 1 : 0;
  if (!groupNames.empty() && random.Chance(0.4)) {
    c.m_groupNames.push_back(random.Pick(groupNames));
    if (random.Chance(0.2)) {
      const std::wstring& second = random.Pick(groupNames);
      if (second != c.m_groupNames.front()) c.m_groupNames.push_back(second);
    }
  }
  // A few entries hold only a number, as phones do.
  if (random.Chance(0.01) && !c.m_phones.empty()) {
    for (auto& name : c.m_name) name.clear();
  }
  return c;
}

}  // namespace

void GenerateSample(Store& store, const Corpus& corpus, const SampleOptions& options) {
  Random random(options.seed);
  const int until = DayNumber(options.untilYear, options.untilMonth, options.untilDay);

  // SIM cards.
  SimCardList cards;
  const Store fresh;  // a new handset's cards
  for (const CSimInfo& card : fresh.SimCards())
    if (static_cast<int>(cards.size()) < options.simCards) cards.push_back(card);
  store.SetSimCards(cards);
  std::vector<int32_t> cardIds;
  for (const CSimInfo& card : cards) cardIds.push_back(card.m_cardId);

  // Groups.
  std::vector<std::wstring> groupNames;
  for (const std::wstring& name : corpus.Section("group")) {
    if (groupNames.size() >= 8) break;
    Contact::CGroupData group;
    group.m_name = name;
    group.m_visible = 1;
    if (store.InsertGroup(group)) groupNames.push_back(name);
  }

  // Phone contacts, and the people messages and events involve.
  std::unordered_set<std::wstring> numbers;
  std::vector<Person> people;
  for (int i = 0; i < options.contacts; ++i) {
    bool chinese = false;
    Contact::CContactData contact = MakeContact(corpus, random, numbers, groupNames, chinese);
    ContentId id = store.InsertContact(Book::Phone, contact);
    std::wstring number = contact.GetFirstPhone();
    if (!number.empty() && !contact.m_name[Contact::kDisplayName].empty())
      people.push_back({id, contact.m_name[Contact::kDisplayName], number, chinese});
  }

  // The SIM cards' own books: names and one number each.
  for (const CSimInfo& card : cards) {
    int entries = std::min(60, std::max(3, options.contacts / 10));
    for (int i = 0; i < entries; ++i) {
      Contact::CContactData entry;
      bool chinese = random.Chance(0.8);
      entry.m_name[Contact::kDisplayName] =
          chinese ? random.Pick(corpus.Section("surname_zh")) + random.Pick(corpus.Section("given_zh"))
                  : random.Pick(corpus.Section("first_en"));
      entry.m_phones.emplace_back(Contact::CPhoneData::kMobile, UniqueMobile(random, numbers));
      store.InsertContact(card.m_cardId == 1 ? Book::CardOne : Book::CardTwo, entry);
    }
  }

  // User folders.
  std::vector<int32_t> userFolders;
  for (const wchar_t* name : {L"工作", L"重要", L"Travel"}) {
    Message::CFolder folder;
    folder.m_name = name;
    if (int32_t id = store.InsertFolder(folder)) userFolders.push_back(id);
  }

  // Correspondents: most conversations are with contacts; a few with services.
  struct Correspondent {
    std::wstring number;
    bool chinese;
    bool service;
  };
  std::vector<Correspondent> correspondents;
  size_t wanted = std::max<size_t>(1, std::min<size_t>(people.size() * 6 / 10 + 1, options.messages / 6 + 1));
  for (size_t i = 0; i < people.size() && correspondents.size() < wanted; ++i)
    if (random.Chance(0.7)) correspondents.push_back({people[i].number, people[i].chinese, false});
  for (const wchar_t* service : {L"10086", L"10010", L"95588", L"95555", L"95533", L"106575000", L"1069011"})
    correspondents.push_back({service, true, true});
  for (int i = 0; i < 5; ++i) correspondents.push_back({UniqueMobile(random, numbers), random.Chance(0.7), false});

  // Messages over three years up to the last day.
  ContentList batch;
  std::vector<Message::CSMSData> made;
  made.reserve(static_cast<size_t>(std::max(0, options.messages)));
  const int firstDay = until - 3 * 365;
  for (int i = 0; i < options.messages; ++i) {
    // A few correspondents write most of the messages.
    size_t index = random.Chance(0.6) ? random.Below(static_cast<uint32_t>(std::min<size_t>(12, correspondents.size())))
                                      : random.Below(static_cast<uint32_t>(correspondents.size()));
    const Correspondent& who = correspondents[index];
    Message::CSMSData m;
    m.m_phoneNumber = who.number;
    // The smaller of two draws: recent days hold more messages than old ones.
    uint32_t back1 = random.Below(static_cast<uint32_t>(until - firstDay + 1));
    uint32_t back2 = random.Below(static_cast<uint32_t>(until - firstDay + 1));
    int day = until - static_cast<int>(std::min(back1, back2));
    int y, mo, d;
    DateOfDay(day, y, mo, d);
    m.m_time = Message::MessageTimeText(y, mo, d, random.Between(7, 23), random.Between(0, 59), random.Between(0, 59));
    m.m_body = random.Pick(corpus.Section(who.service ? "sms_service" : who.chinese ? "sms_zh" : "sms_en"));
    m.m_cardId = cardIds.empty() ? 0 : cardIds[random.Below(static_cast<uint32_t>(cardIds.size()))];
    uint32_t kind = random.Below(1000);
    bool incoming = who.service || kind < 500;
    if (incoming) {
      m.m_folderId = Message::kFolderInbox;
      m.m_read = (until - day < 20 && random.Chance(0.3)) || random.Chance(0.02) ? 0 : 1;
    } else if (kind < 930) {
      m.m_folderId = Message::kFolderSent;
      m.m_state = Message::CSMSData::kStateOutgoing;
      m.m_read = 1;
    } else if (kind < 945) {
      m.m_folderId = Message::kFolderDrafts;
      m.m_state = Message::CSMSData::kStateComposed;
      m.m_draftMarker = Message::CSMSData::kDraftMarker;
      m.m_read = 1;
    } else if (kind < 950) {
      m.m_folderId = Message::kFolderOutbox;
      m.m_state = Message::CSMSData::kStateOutgoing;
      m.m_read = 1;
    } else if (kind < 965) {
      m.m_folderId = Message::kFolderRecycleBin;
      m.m_read = 1;
    } else if (kind < 980 && !cards.empty()) {
      m.m_folderId = m.m_cardId == 1 ? Message::kFolderSimOne : Message::kFolderSimTwo;
      m.m_read = 1;
    } else if (!userFolders.empty()) {
      m.m_folderId = userFolders[random.Below(static_cast<uint32_t>(userFolders.size()))];
      m.m_read = 1;
    } else {
      m.m_folderId = Message::kFolderInbox;
      m.m_read = 1;
    }
    m.m_lock = random.Chance(0.02) ? 1 : 0;
    made.push_back(std::move(m));
  }
  for (auto& m : made) batch.push_back(&m);
  store.InsertMessages(batch);

  // Events: mostly single, some all-day, some repeating, around the last day.
  for (int i = 0; i < options.events; ++i) {
    Calendar::CCalendarData e;
    bool chinese = random.Chance(0.6);
    e.m_topic = random.Pick(corpus.Section(chinese ? "event_zh" : "event_en"));
    e.m_address = random.Chance(0.7) ? random.Pick(corpus.Section(chinese ? "place_zh" : "place_en")) : L"";
    if (random.Chance(0.3)) e.m_remark = random.Pick(corpus.Section("remark"));
    e.m_zone = L"China Standard Time";
    int day = until - 730 + static_cast<int>(random.Below(730 + 183));
    int y, mo, d;
    DateOfDay(day, y, mo, d);
    if (random.Chance(0.1)) {
      int last = day + (random.Chance(0.2) ? random.Between(1, 3) : 0);
      int ly, lm, ld;
      DateOfDay(last, ly, lm, ld);
      Calendar::SetAllDay(e, y, mo, d, ly, lm, ld);
    } else {
      int start = random.Between(8 * 2, 20 * 2) * 30;  // on the half hour
      int end = start + random.Between(1, 6) * 30;
      e.m_start = Calendar::MakeTimeText(y, mo, d, start / 60, start % 60);
      int ey = y, em = mo, ed = d;
      if (end >= 24 * 60) {
        DateOfDay(day + 1, ey, em, ed);
        end -= 24 * 60;
      }
      e.m_end = Calendar::MakeTimeText(ey, em, ed, end / 60, end % 60);
    }
    if (random.Chance(0.15)) {
      static const int kRows[] = {1, 2, 2, 3, 3, 3, 4, 4, 5, 5};  // daily, workdays, weekly, monthly, yearly
      Calendar::ApplyRepeatOption(e, kRows[random.Below(std::size(kRows))]);
    }
    if (random.Chance(0.6)) Calendar::ApplyReminderOption(e, random.Between(1, Calendar::kReminderOptionCount - 1));
    if (!people.empty() && random.Chance(0.2)) {
      int count = random.Between(1, 3);
      for (int a = 0; a < count; ++a) {
        const Person& person = random.Pick(people);
        Calendar::CAttendee attendee;
        attendee.m_id = person.id;
        attendee.m_name = person.name;
        e.m_attendees.push_back(attendee);
      }
    }
    store.InsertEvent(e);
  }
}

Message::CSMSData IncomingMessage(const Store& store, const Corpus& corpus, Random& random) {
  Message::CSMSData m;
  std::vector<const Message::CSMSData*> messages = store.MessagesNewestFirst();
  bool fromKnown = !messages.empty() && random.Chance(0.8);
  if (fromKnown) {
    const Message::CSMSData* earlier = messages[random.Below(static_cast<uint32_t>(std::min<size_t>(50, messages.size())))];
    m.m_phoneNumber = earlier->m_phoneNumber;
  } else {
    std::unordered_set<std::wstring> none;
    m.m_phoneNumber = UniqueMobile(random, none);
  }
  bool chinese = random.Chance(0.6);
  m.m_body = random.Pick(corpus.Section(chinese ? "sms_zh" : "sms_en"));
  m.m_folderId = Message::kFolderInbox;
  m.m_time = Message::MessageTimeNow();
  m.m_read = 0;
  const SimCardList& cards = store.SimCards();
  m.m_cardId = cards.empty() ? 0 : cards.front().m_cardId;
  return m;
}

}  // namespace handset
