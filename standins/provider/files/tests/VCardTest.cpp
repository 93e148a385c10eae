#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <string>
#include <vector>

#include "files/VCard.h"

namespace {

using Contact::CContactData;

std::string Sample(const wchar_t* name) {
  wchar_t exe[MAX_PATH] = {};
  ::GetModuleFileNameW(nullptr, exe, MAX_PATH);
  std::wstring folder(exe);
  folder.resize(folder.find_last_of(L"\\/"));
  std::string bytes;
  std::wstring error;
  EXPECT_TRUE(files::ReadFileBytes(folder + L"\\port-samples\\vcard\\" + name, bytes, error)) << files::ToUtf8(error);
  return bytes;
}

std::vector<CContactData> ReadAll(std::string_view bytes, files::VCardReadResult& result) {
  std::vector<CContactData> out;
  result = files::ReadVCards(bytes, out);
  return out;
}

bool DecodesStrictly(std::string_view bytes) {
  return bytes.empty() || ::MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, bytes.data(),
                                                static_cast<int>(bytes.size()), nullptr, 0) > 0;
}

template <class Entry>
void ExpectSameEntries(const std::vector<Entry>& expected, const std::vector<Entry>& actual, const char* what) {
  ASSERT_EQ(expected.size(), actual.size()) << what;
  for (size_t i = 0; i < expected.size(); ++i) {
    SCOPED_TRACE(std::string(what) + " #" + std::to_string(i));
    EXPECT_EQ(expected[i].m_type, actual[i].m_type);
    EXPECT_EQ(expected[i].m_data, actual[i].m_data);
    EXPECT_EQ(expected[i].m_label, actual[i].m_label);
    EXPECT_EQ(expected[i].m_primary, actual[i].m_primary);
  }
}

CContactData FullContact() {
  CContactData c;
  c.m_id = 987654321;
  c.m_name[Contact::kDisplayName] = L"王小明 (Ming)";
  c.m_name[Contact::kFullName] = L"王小明 (Ming)";
  c.m_name[Contact::kFamilyName] = L"王";
  c.m_name[Contact::kGivenName] = L"小明";
  c.m_name[Contact::kMiddleName] = L"Li; Jr, \\ok";
  c.m_name[Contact::kNamePrefix] = L"Dr.";
  c.m_name[Contact::kNameSuffix] = L"III";
  c.m_name[Contact::kPhoneticFamilyName] = L"wang";
  c.m_name[Contact::kPhoneticGivenName] = L"xiaoming";
  c.m_name[Contact::kPhoneticMiddleName] = L"li";
  c.m_nicknames.emplace_back(0, L"明明");
  c.m_nicknames.emplace_back(0, L"Ming, the tall");
  for (int code = 1; code <= 20; ++code)
    c.m_phones.emplace_back(code, L"+86 10 5555 " + std::to_wstring(1000 + code), L"", code == 2);
  c.m_phones.emplace_back(0, L"111", L"Studio");       // a plain word: TYPE=X-Studio
  c.m_phones.emplace_back(0, L"222", L"船屋 boat");     // not a word: a labelled group
  c.m_phones.emplace_back(0, L"333", L"Radio");        // would read as the Radio code: a group too
  c.m_phones.emplace_back(0, L"444", L"");
  for (int code = 1; code <= 4; ++code)
    c.m_emails.emplace_back(code, L"m" + std::to_wstring(code) + L"@example.cn", L"", code == 3);
  c.m_emails.emplace_back(0, L"x@example.cn", L"Uni mail");
  Contact::CPostalBaseData home{L"12 Garden Road, Block 3; Unit \\5\nBack entrance", L"PO 7", L"朝阳区", L"北京",
                                L"Beijing", L"100000", L"中国"};
  c.m_postals.emplace_back(1, home, L"", true);
  c.m_postals.emplace_back(2, Contact::CPostalBaseData{L"1 Office Park", L"", L"", L"Shanghai", L"", L"", L""});
  c.m_postals.emplace_back(3, Contact::CPostalBaseData{L"", L"", L"", L"Xi'an", L"", L"", L""});
  c.m_postals.emplace_back(0, Contact::CPostalBaseData{L"Lakeside 4", L"", L"", L"Hangzhou", L"", L"", L""},
                           L"Ferienhaus");
  Contact::COrganizationBaseData work;
  work.m_company = L"ACME, Inc.";
  work.m_department = L"R&D; Phones";
  work.m_title = L"工程师";
  work.m_jobDescription = L"Builds radios";
  c.m_organizations.emplace_back(1, work);
  for (int protocol = 1; protocol <= 8; ++protocol) {
    Contact::CIMData im(protocol, L"user" + std::to_wstring(protocol), L"", protocol == 5);
    im.m_protocol = protocol;
    c.m_ims.push_back(im);
  }
  c.m_ims.emplace_back(0, L"line id:7 100%", L"Line");
  c.m_ims.emplace_back(0, L"sig", L"Signal: Desktop");
  c.m_websites.emplace_back(0, L"https://example.cn/a,b;c");
  c.m_websites.emplace_back(0, L"https://blog.example.cn", L"Blog");
  std::wstring longNote;
  for (int i = 0; i < 40; ++i) longNote += L"会议记录第" + std::to_wstring(i) + L"条😀，";
  c.m_notes = {longNote, L"line one\nline two, with; marks \\ end"};
  c.m_groupNames = {L"Family", L"Work, Team;A"};
  c.m_starred = 1;
  c.m_photo = L"photo-bytes";
  return c;
}

TEST(VCardRoundTrip, EveryMappedFieldComesBackAndLinesAreFoldedOnCharacterBoundaries) {
  const CContactData original = FullContact();
  const std::string card = files::WriteVCard(original);

  ASSERT_EQ(card.rfind("BEGIN:VCARD\r\nVERSION:3.0\r\n", 0), 0u) << "no mark in front, 3.0";
  EXPECT_EQ(card.find("987654321"), std::string::npos) << "the record id stays out";
  size_t start = 0, longest = 0, folds = 0;
  while (start < card.size()) {
    size_t end = card.find("\r\n", start);
    ASSERT_NE(end, std::string::npos) << "every line ends with CRLF";
    std::string_view line(card.data() + start, end - start);
    EXPECT_EQ(line.find('\n'), std::string_view::npos);
    EXPECT_LE(line.size(), 75u) << line;
    EXPECT_TRUE(DecodesStrictly(line)) << "a fold split a UTF-8 sequence: " << line;
    longest = std::max(longest, line.size());
    folds += !line.empty() && line[0] == ' ';
    start = end + 2;
  }
  EXPECT_GT(folds, 10u) << "the long note must have been folded";
  EXPECT_GE(longest, 72u);

  files::VCardReadResult result;
  std::vector<CContactData> read = ReadAll(card, result);
  ASSERT_EQ(result.cards, 1u);
  EXPECT_EQ(result.broken, 0u);
  const CContactData& back = read.at(0);
  for (int part = 0; part < Contact::kPhoneticFullName; ++part)
    if (part != Contact::kFullName) {
      EXPECT_EQ(back.m_name[part], original.m_name[part]) << "name text " << part;
    }
  EXPECT_EQ(back.m_name[Contact::kFullName], L"") << "the handset composes it from the parts";
  ExpectSameEntries(original.m_nicknames, back.m_nicknames, "nickname");
  ExpectSameEntries(original.m_phones, back.m_phones, "phone");
  ExpectSameEntries(original.m_emails, back.m_emails, "email");
  ExpectSameEntries(original.m_postals, back.m_postals, "postal");
  ExpectSameEntries(original.m_organizations, back.m_organizations, "organization");
  ExpectSameEntries(original.m_ims, back.m_ims, "im");
  ExpectSameEntries(original.m_websites, back.m_websites, "website");
  ASSERT_EQ(back.m_ims.size(), original.m_ims.size());
  for (size_t i = 0; i < back.m_ims.size(); ++i) EXPECT_EQ(back.m_ims[i].m_protocol, original.m_ims[i].m_protocol);
  EXPECT_EQ(back.m_notes, original.m_notes);
  EXPECT_EQ(back.m_groupNames, original.m_groupNames);
  EXPECT_EQ(back.m_starred, 1);
  EXPECT_TRUE(back.m_photo.empty());
  EXPECT_EQ(back.m_id, 0);
}

TEST(VCardRoundTrip, NamesFillEachOtherAndAnUnnamedContactStaysUnnamed) {
  CContactData parts;
  parts.m_name[Contact::kGivenName] = L"Ada";
  parts.m_name[Contact::kFamilyName] = L"Lovelace";
  std::string card = files::WriteVCard(parts);
  EXPECT_NE(card.find("\r\nFN:Ada Lovelace\r\n"), std::string::npos) << "FN is always written";

  CContactData nameless;
  nameless.m_phones.emplace_back(2, L"13800000000");
  files::VCardReadResult result;
  auto read = ReadAll(files::WriteVCard(nameless) + card, result);
  ASSERT_EQ(read.size(), 2u);
  EXPECT_EQ(read[0].m_name[Contact::kDisplayName], L"");
  EXPECT_EQ(read[0].m_phones.at(0).m_data, L"13800000000");
  EXPECT_EQ(read[1].m_name[Contact::kDisplayName], L"Ada Lovelace");
  EXPECT_EQ(read[1].m_name[Contact::kFullName], L"") << "composed by the handset from the parts";
  auto alone = ReadAll("BEGIN:VCARD\r\nVERSION:3.0\r\nFN:Only FN\r\nTEL:1\r\nEND:VCARD\r\n", result);
  ASSERT_EQ(alone.size(), 1u);
  EXPECT_EQ(alone[0].m_name[Contact::kFullName], L"Only FN") << "not the number";
}

TEST(VCardSamples, Version21QuotedPrintableInGb2312) {
  files::VCardReadResult result;
  auto read = ReadAll(Sample(L"v21-qp-gb2312.vcf"), result);
  ASSERT_EQ(result.cards, 2u);
  EXPECT_EQ(read[0].m_name[Contact::kDisplayName], L"赵建国");
  EXPECT_EQ(read[0].m_name[Contact::kFamilyName], L"赵");
  EXPECT_EQ(read[0].m_name[Contact::kGivenName], L"建国");
  ASSERT_EQ(read[0].m_notes.size(), 1u);
  EXPECT_EQ(read[0].m_notes[0], L"下周三在公司楼下的咖啡馆见面，记得带上合同和发票的复印件，顺便问一下他新家的地址。")
      << "soft line breaks join the note";
  ASSERT_EQ(read[0].m_phones.size(), 2u);
  EXPECT_EQ(read[0].m_phones[0].m_type, 2);
  EXPECT_EQ(read[0].m_phones[1].m_type, 1);
  EXPECT_EQ(read[0].m_phones[1].m_data, L"021-55550101");
  EXPECT_EQ(read[1].m_name[Contact::kDisplayName], L"林小红");
  ASSERT_EQ(read[1].m_phones.size(), 3u);
  EXPECT_TRUE(read[1].m_phones[0].m_primary);
  EXPECT_EQ(read[1].m_phones[2].m_type, 4) << "WORK;FAX";
}

TEST(VCardSamples, Version21QuotedPrintableUtf8AddressAcrossSoftBreaks) {
  files::VCardReadResult result;
  auto read = ReadAll(Sample(L"v21-qp-utf8.vcf"), result);
  ASSERT_EQ(result.cards, 1u);
  const CContactData& c = read[0];
  EXPECT_EQ(c.m_name[Contact::kDisplayName], L"Jürgen Größer");
  ASSERT_EQ(c.m_postals.size(), 1u);
  EXPECT_EQ(c.m_postals[0].m_type, 2);
  EXPECT_EQ(c.m_postals[0].m_data.m_street, L"Schloßallee 7, Hinterhaus, 3. Stock links (Klingel: Größer-Nüßlein)")
      << "a break inside a UTF-8 sequence";
  EXPECT_EQ(c.m_postals[0].m_data.m_city, L"München");
  EXPECT_EQ(c.m_postals[0].m_data.m_country, L"Deutschland");
  ASSERT_EQ(c.m_organizations.size(), 1u);
  EXPECT_EQ(c.m_organizations[0].m_data.m_company, L"Bäckerei Größer") << "8-bit UTF-8 without a CHARSET";
  EXPECT_EQ(c.m_organizations[0].m_data.m_department, L"Versand");
  ASSERT_EQ(c.m_phones.size(), 1u);
  EXPECT_EQ(c.m_phones[0].m_type, 3);
  EXPECT_TRUE(c.m_phones[0].m_primary);
  ASSERT_EQ(c.m_emails.size(), 1u);
  EXPECT_EQ(c.m_emails[0].m_type, 1);
}

TEST(VCardSamples, Version30AsAPhoneExportsIt) {
  files::VCardReadResult result;
  auto read = ReadAll(Sample(L"v30-phone.vcf"), result);
  ASSERT_EQ(result.cards, 3u);
  EXPECT_EQ(result.broken, 0u) << "the photo's base64 lines are no broken lines";
  const CContactData& amara = read[0];
  EXPECT_EQ(amara.m_name[Contact::kDisplayName], L"Amara Okafor");
  EXPECT_EQ(amara.m_notes.at(0),
            L"Prefers calls after six, never on Sundays. Owes us the drawings for the kitchen in the back house; ask "
            L"about the blue tiles.");
  ASSERT_EQ(amara.m_phones.size(), 2u);
  EXPECT_EQ(amara.m_phones[0].m_type, 2);
  EXPECT_EQ(amara.m_phones[1].m_type, 1);
  EXPECT_EQ(amara.m_emails.at(0).m_type, 2);
  EXPECT_EQ(amara.m_organizations.at(0).m_data.m_company, L"Northwind Tiles");
  EXPECT_EQ(amara.m_organizations.at(0).m_data.m_title, L"Site surveyor");
  EXPECT_TRUE(amara.m_photo.empty());
  ASSERT_EQ(read[1].m_phones.size(), 2u);
  EXPECT_EQ(read[1].m_name[Contact::kDisplayName], L"吴美玲");
  EXPECT_EQ(read[1].m_phones[1].m_type, 0);
  EXPECT_EQ(read[1].m_phones[1].m_label, L"Studio");
  EXPECT_EQ(read[2].m_name[Contact::kDisplayName], L"Hollis Brandvold") << "an empty N leaves FN alone";
  EXPECT_EQ(read[2].m_name[Contact::kGivenName], L"");
}

TEST(VCardSamples, Version40GroupsUrisAndAccounts) {
  files::VCardReadResult result;
  auto read = ReadAll(Sample(L"v40-grouped.vcf"), result);
  ASSERT_EQ(result.cards, 2u);
  const CContactData& r = read[0];
  EXPECT_EQ(r.m_name[Contact::kDisplayName], L"Rosalind Achterberg") << "the mark in front is no part of BEGIN";
  EXPECT_EQ(r.m_name[Contact::kNamePrefix], L"Dr.");
  ASSERT_EQ(r.m_phones.size(), 3u);
  EXPECT_EQ(r.m_phones[0].m_data, L"+31-20-555-0147");
  EXPECT_EQ(r.m_phones[0].m_type, 0);
  EXPECT_EQ(r.m_phones[0].m_label, L"Boat house");
  EXPECT_EQ(r.m_phones[1].m_type, 2);
  EXPECT_TRUE(r.m_phones[1].m_primary);
  EXPECT_EQ(r.m_phones[1].m_data, L"+31-6-5555-0199");
  EXPECT_EQ(r.m_phones[2].m_type, 5) << "Apple's HomeFAX, labelled before its number";
  ASSERT_EQ(r.m_emails.size(), 1u);
  EXPECT_EQ(r.m_emails[0].m_type, 3) << "the group's label wins over TYPE=work";
  ASSERT_EQ(r.m_ims.size(), 2u);
  EXPECT_EQ(r.m_ims[0].m_protocol, 4);
  EXPECT_EQ(r.m_ims[0].m_data, L"ros.achterberg");
  EXPECT_EQ(r.m_ims[1].m_protocol, 8);
  EXPECT_EQ(r.m_ims[1].m_data, L"ros@example.net");
  ASSERT_EQ(read[1].m_ims.size(), 1u);
  EXPECT_EQ(read[1].m_ims[0].m_protocol, 1);
  EXPECT_EQ(read[1].m_ims[0].m_data, L"tomwierz");
}

TEST(VCardBroken, ABrokenCardIsCountedAndItsNeighboursAreRead) {
  files::VCardReadResult result;
  auto read = ReadAll(Sample(L"mixed-broken.vcf"), result);
  EXPECT_EQ(result.cards, 2u);
  EXPECT_EQ(result.broken, 1u);
  ASSERT_EQ(read.size(), 2u);
  EXPECT_EQ(read[0].m_name[Contact::kDisplayName], L"Maja Lindqvist");
  EXPECT_EQ(read[1].m_name[Contact::kDisplayName], L"Sato Haruto");
  EXPECT_EQ(read[1].m_phones.at(0).m_data, L"+81 3 5555 0303");
  ASSERT_EQ(result.problems.size(), 1u);
  EXPECT_NE(result.problems[0].find(L"card 2"), std::wstring::npos) << files::ToUtf8(result.problems[0]);
  EXPECT_NE(result.problems[0].find(L"Bruno Ferreira"), std::wstring::npos);

  const std::string good = "BEGIN:VCARD\r\nVERSION:3.0\r\nFN:Good\r\nEND:VCARD\r\n";
  const struct {
    std::string text;
    const wchar_t* why;
  } damaged[] = {
      {"BEGIN:VCARD\r\nVERSION:3.0\r\nFN:Lost\r\nTEL;TYPE=CELL 123\r\nEND:VCARD\r\n", L"without ':'"},
      {"BEGIN:VCARD\r\nVERSION:7.5\r\nFN:Lost\r\nEND:VCARD\r\n", L"VERSION"},
      {"BEGIN:VCARD\r\nVERSION:3.0\r\nFN:Lost\r\nNOTE:" + std::string(1100000, 'x') + "\r\nEND:VCARD\r\n",
       L"1 MB"},
      {"BEGIN:VCARD\r\nVERSION:2.1\r\nFN:Lost\r\nNOTE;ENCODING=QUOTED-PRINTABLE:a=\r\n", L"without END"},
  };
  for (const auto& bad : damaged) {
    SCOPED_TRACE(files::ToUtf8(bad.why));
    std::vector<CContactData> out;
    files::VCardReadResult r = files::ReadVCards(good + bad.text + good, out);
    EXPECT_EQ(r.cards, 2u);
    EXPECT_EQ(r.broken, 1u);
    ASSERT_EQ(out.size(), 2u);
    EXPECT_EQ(out[1].m_name[Contact::kDisplayName], L"Good");
    ASSERT_EQ(r.problems.size(), 1u);
    EXPECT_NE(r.problems[0].find(L"card 2 (Lost)"), std::wstring::npos) << files::ToUtf8(r.problems[0]);
  }
}

TEST(VCardBroken, TruncatedOrGarbageInputGivesAClearResult) {
  files::VCardReadResult result;
  auto read = ReadAll("BEGIN:VCARD", result);
  EXPECT_EQ(read.size(), 0u);
  EXPECT_EQ(result.broken, 1u);
  EXPECT_EQ(result.problems.size(), 1u);

  std::string noise(64 * 1024, '\0');
  unsigned state = 12345;
  for (char& c : noise) c = static_cast<char>((state = state * 1103515245u + 12345u) >> 16);
  read = ReadAll(noise, result);
  EXPECT_EQ(read.size(), 0u);
  EXPECT_EQ(result.cards, 0u);
  ASSERT_EQ(result.problems.size(), 1u) << "says that the file holds no card";

  // Noise inside a card costs that card only.
  read = ReadAll("BEGIN:VCARD\r\nFN:A\r\n" + noise + "\r\nEND:VCARD\r\nBEGIN:VCARD\nFN:B\nEND:VCARD", result);
  EXPECT_EQ(result.broken, 1u);
  ASSERT_EQ(read.size(), 1u);
  EXPECT_EQ(read[0].m_name[Contact::kDisplayName], L"B");

  read = ReadAll("", result);
  EXPECT_EQ(read.size() + result.broken + result.problems.size(), 0u);
}

TEST(VCardEncodings, Utf16OldLineEndsUnnamedGbkAndBase64Text) {
  std::string card = "BEGIN:VCARD\rVERSION:3.0\rFN:Zoë 李\rTEL;TYPE=cell;TYPE=pref:123\rEND:VCARD\r";
  std::wstring wide = files::FromUtf8(card);
  std::string utf16 = "\xFF\xFE";
  for (wchar_t c : wide) utf16 += {static_cast<char>(c & 0xFF), static_cast<char>(c >> 8)};
  for (const std::string& input : {card, utf16}) {
    files::VCardReadResult result;
    auto read = ReadAll(input, result);
    ASSERT_EQ(read.size(), 1u);
    EXPECT_EQ(read[0].m_name[Contact::kDisplayName], L"Zoë 李");
    ASSERT_EQ(read[0].m_phones.size(), 1u);
    EXPECT_EQ(read[0].m_phones[0].m_type, 2);
    EXPECT_TRUE(read[0].m_phones[0].m_primary);
  }

  // A 2.1 phone that names no character set writes its own (GBK); a text
  // value may come in base64 too.
  files::VCardReadResult result;
  auto read = ReadAll("BEGIN:VCARD\nVERSION:2.1\nFN:\xC0\xEE\xC0\xD7\nNOTE;ENCODING=BASE64;CHARSET=UTF-8:"
                      "aGVsbG8sIOS4lueVjA==\nEND:VCARD\n",
                      result);
  ASSERT_EQ(read.size(), 1u);
  EXPECT_EQ(read[0].m_name[Contact::kDisplayName], L"李雷");
  EXPECT_EQ(read[0].m_notes.at(0), L"hello, 世界");
}

TEST(VCardFileName, BadCharactersLengthAndUniqueness) {
  std::set<std::wstring> taken;
  CContactData c;
  c.m_name[Contact::kDisplayName] = L"A/B:C*?\"<>|\x01 ..";
  EXPECT_EQ(files::VCardFileName(c, taken), L"A_B_C_______.vcf");
  c.m_name[Contact::kDisplayName] = L"Li Lei";
  EXPECT_EQ(files::VCardFileName(c, taken), L"Li Lei.vcf");
  c.m_name[Contact::kDisplayName] = L"LI LEI";
  EXPECT_EQ(files::VCardFileName(c, taken), L"LI LEI (2).vcf") << "names differing in case only collide";
  c.m_name[Contact::kDisplayName] = L"li lei";
  EXPECT_EQ(files::VCardFileName(c, taken), L"li lei (3).vcf");
  EXPECT_EQ(taken.count(L"li lei (2).vcf"), 1u);

  c.m_name[Contact::kDisplayName] = std::wstring(100, L'字');
  EXPECT_EQ(files::VCardFileName(c, taken), std::wstring(64, L'字') + L".vcf");
  c.m_name[Contact::kDisplayName] = L"con";
  EXPECT_NE(files::VCardFileName(c, taken), L"con.vcf") << "a device name is no file";

  CContactData numberOnly;
  numberOnly.m_phones.emplace_back(2, L"+86 138");
  EXPECT_EQ(files::VCardFileName(numberOnly, taken), L"+86 138.vcf");
  CContactData nothing;
  EXPECT_EQ(files::VCardFileName(nothing, taken), L"contact.vcf");
  EXPECT_EQ(files::VCardFileName(nothing, taken), L"contact (2).vcf");
}

TEST(VCardCancel, TickAnsweringFalseStopsAfterThatCard) {
  std::string cards;
  for (const char* name : {"One", "Two", "Three"})
    cards += std::string("BEGIN:VCARD\r\nVERSION:3.0\r\nFN:") + name + "\r\nEND:VCARD\r\n";
  int ticks = 0;
  std::vector<CContactData> out;
  files::VCardReadResult result = files::ReadVCards(cards, out, [&ticks] { return ++ticks < 2; });
  EXPECT_TRUE(result.cancelled);
  EXPECT_EQ(ticks, 2);
  EXPECT_EQ(out.size(), 2u);
  out.clear();
  result = files::ReadVCards(cards, out, [] { return true; });
  EXPECT_FALSE(result.cancelled);
  EXPECT_EQ(out.size(), 3u);
}

}  // namespace
