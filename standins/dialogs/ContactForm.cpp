#include "ContactForm.h"

#include <algorithm>
#include <cwchar>

#include "framework/Text.h"

namespace jorv {
namespace {

using Contact::CContactData;

// The last code of each table; codes 1..last have a table text.
int LastCode(LabelKind kind) {
  switch (kind) {
    case LabelKind::kPhone: return 20;
    case LabelKind::kEmail: return 4;
    case LabelKind::kInstantMessage: return 9;
    case LabelKind::kPostal: return 3;
  }
  return 0;
}

// The table text of `code`, asked of an entry of the kind (the record owns the tables).
std::wstring TableText(LabelKind kind, int code) {
  switch (kind) {
    case LabelKind::kPhone: return Contact::CPhoneData().GetTypeLabel(code);
    case LabelKind::kEmail: return Contact::CEmailData().GetTypeLabel(code);
    case LabelKind::kInstantMessage: return Contact::CIMData().GetTypeLabel(code);
    case LabelKind::kPostal: return Contact::CPostalData().GetTypeLabel(code);
  }
  return {};
}

bool IsBlank(wchar_t c) { return c == L' ' || c == L'\t' || c == L'\r' || c == L'\n' || c == 0x3000; }

// What a shown field holds after editing: the record's own text when the
// user left it alone (blanks and all), else the typed text, trimmed.
std::wstring Updated(const std::wstring& old, const std::wstring& typed) { return typed == old ? old : Trimmed(typed); }

bool Empty(const std::wstring& text) { return Trimmed(text).empty(); }

// Sets an entry's label code from the label text in its row. A label left as
// it was shown keeps the entry's code and own label (also a code outside the
// table); a table text (any case) gives its code; any other text becomes the
// entry's own label with code 0; no text gives the kind's default.
template <class Entry>
void SetLabel(Entry& entry, const std::wstring& text, bool existed, LabelKind kind) {
  if (existed && text == entry.GetTypeLabel(entry.m_type)) return;
  std::wstring wanted = Trimmed(text);
  if (wanted.empty()) {
    entry.m_type = DefaultLabelCode(kind);
    return;
  }
  std::wstring lowered = wf::ToLower(wanted);
  for (int code = 1; code <= LastCode(kind); ++code) {
    if (wf::ToLower(TableText(kind, code)) == lowered) {
      entry.m_type = code;
      return;
    }
  }
  entry.m_type = 0;
  entry.m_label = wanted;
}

template <class Entry>
std::vector<LabelledRow> RowsOf(const std::vector<Entry>& entries) {
  std::vector<LabelledRow> rows;
  for (const Entry& entry : entries) rows.push_back({entry.GetTypeLabel(entry.m_type), entry.m_data});
  return rows;
}

// The entries after editing: row i edits entry i, later rows are new
// entries (`onNew` completes them), emptied rows go, and the entries the form
// had no row for follow unchanged.
template <class Entry, class OnNew>
std::vector<Entry> Rebuilt(const std::vector<Entry>& old, const std::vector<LabelledRow>& rows, LabelKind kind,
                           OnNew onNew) {
  std::vector<Entry> result;
  for (size_t i = 0; i < rows.size(); ++i) {
    const bool existed = i < old.size();
    Entry entry = existed ? old[i] : Entry();
    std::wstring value = existed ? Updated(old[i].m_data, rows[i].value) : Trimmed(rows[i].value);
    if (Empty(value)) continue;
    entry.m_data = value;
    SetLabel(entry, rows[i].label, existed, kind);
    if (!existed) onNew(entry);
    result.push_back(std::move(entry));
  }
  for (size_t i = rows.size(); i < old.size(); ++i) result.push_back(old[i]);
  return result;
}

// The first entry of a kind shown as one field: edited in place, added when
// the field gets a text, removed when it is emptied.
template <class Entry>
void SetFirst(std::vector<Entry>& entries, const std::wstring& typed, int32_t newCode) {
  if (entries.empty()) {
    std::wstring value = Trimmed(typed);
    if (!value.empty()) entries.emplace_back(newCode, value);
    return;
  }
  std::wstring value = Updated(entries.front().m_data, typed);
  if (Empty(value)) entries.erase(entries.begin());
  else entries.front().m_data = value;
}

void SetFirstNote(std::vector<std::wstring>& notes, const std::wstring& typed) {
  if (notes.empty()) {
    std::wstring value = Trimmed(typed);
    if (!value.empty()) notes.push_back(value);
    return;
  }
  std::wstring value = Updated(notes.front(), typed);
  if (Empty(value)) notes.erase(notes.begin());
  else notes.front() = value;
}

bool AllEmpty(std::initializer_list<const std::wstring*> texts) {
  return std::all_of(texts.begin(), texts.end(), [](const std::wstring* text) { return Empty(*text); });
}

void ApplyPostal(const ContactForm& form, std::vector<Contact::CPostalData>& postals) {
  const bool existed = !postals.empty();
  if (!existed && AllEmpty({&form.street, &form.city, &form.region, &form.postcode, &form.country})) return;
  Contact::CPostalData entry = existed ? postals.front() : Contact::CPostalData();
  Contact::CPostalBaseData& a = entry.m_data;
  a.m_street = Updated(a.m_street, form.street);
  a.m_city = Updated(a.m_city, form.city);
  a.m_region = Updated(a.m_region, form.region);
  a.m_postcode = Updated(a.m_postcode, form.postcode);
  a.m_country = Updated(a.m_country, form.country);
  SetLabel(entry, form.postalLabel, existed, LabelKind::kPostal);
  // Gone only when none of its seven texts is left (a PO box the editor does
  // not show keeps it).
  bool empty = AllEmpty({&a.m_street, &a.m_poBox, &a.m_neighborhood, &a.m_city, &a.m_region, &a.m_postcode,
                         &a.m_country});
  if (existed && empty) postals.erase(postals.begin());
  else if (existed) postals.front() = std::move(entry);
  else postals.insert(postals.begin(), std::move(entry));
}

void ApplyOrganization(const ContactForm& form, std::vector<Contact::COrganizationData>& organizations) {
  // A new organisation is filed as the contact's work (code 1), as the handset files them.
  constexpr int32_t kWork = 1;
  const bool existed = !organizations.empty();
  if (!existed) {
    if (AllEmpty({&form.company, &form.jobTitle})) return;
    Contact::COrganizationBaseData data;
    data.m_company = Trimmed(form.company);
    data.m_title = Trimmed(form.jobTitle);
    organizations.emplace_back(kWork, data);
    return;
  }
  Contact::COrganizationBaseData& o = organizations.front().m_data;
  o.m_company = Updated(o.m_company, form.company);
  o.m_title = Updated(o.m_title, form.jobTitle);
  if (AllEmpty({&o.m_company, &o.m_title, &o.m_department, &o.m_jobDescription, &o.m_symbol, &o.m_phoneticName,
                &o.m_officeLocation}))
    organizations.erase(organizations.begin());
}

}  // namespace

std::vector<std::wstring> LabelTexts(LabelKind kind) {
  std::vector<std::wstring> texts;
  for (int code = 1; code <= LastCode(kind); ++code) texts.push_back(TableText(kind, code));
  return texts;
}

int32_t DefaultLabelCode(LabelKind kind) {
  switch (kind) {
    case LabelKind::kPhone: return Contact::CPhoneData::kMobile;
    case LabelKind::kEmail: return 1;            // Home
    case LabelKind::kInstantMessage: return 5;   // QQ
    case LabelKind::kPostal: return 1;           // Home
  }
  return 0;
}

std::wstring DefaultLabelText(LabelKind kind) { return TableText(kind, DefaultLabelCode(kind)); }

std::wstring Trimmed(const std::wstring& text) {
  size_t begin = 0, end = text.size();
  while (begin < end && IsBlank(text[begin])) ++begin;
  while (end > begin && IsBlank(text[end - 1])) --end;
  return text.substr(begin, end - begin);
}

std::wstring NotesForEdit(const std::wstring& notes) {
  std::wstring shown;
  shown.reserve(notes.size());
  for (size_t i = 0; i < notes.size(); ++i) {
    if (notes[i] == L'\n' && (i == 0 || notes[i - 1] != L'\r')) shown += L'\r';
    shown += notes[i];
  }
  return shown;
}

std::wstring NotesFromEdit(const std::wstring& typed, const std::wstring& original) {
  if (typed == NotesForEdit(original)) return original;
  std::wstring notes;
  notes.reserve(typed.size());
  for (size_t i = 0; i < typed.size(); ++i) {
    if (typed[i] == L'\r' && i + 1 < typed.size() && typed[i + 1] == L'\n') continue;
    notes += typed[i];
  }
  return notes;
}

bool IsDialable(const std::wstring& number) {
  bool digit = false;
  for (wchar_t c : number) {
    if (c >= L'0' && c <= L'9') {
      digit = true;
      continue;
    }
    if (!wcschr(L"+*#-() pwPW", c) || c == L'\0') return false;
  }
  return digit;
}

ContactForm FormFromContact(const CContactData& contact) {
  ContactForm form;
  form.familyName = contact.m_name[Contact::kFamilyName];
  form.givenName = contact.m_name[Contact::kGivenName];
  form.middleName = contact.m_name[Contact::kMiddleName];
  form.namePrefix = contact.m_name[Contact::kNamePrefix];
  form.nameSuffix = contact.m_name[Contact::kNameSuffix];
  // A display name of its own survives any change of the parts (see
  // ApplyContactForm); without parts, whatever name the contact has stays.
  const std::wstring& shown = contact.m_name[Contact::kDisplayName];
  const std::wstring& full = contact.m_name[Contact::kFullName];
  if (AllEmpty({&form.familyName, &form.givenName, &form.middleName, &form.namePrefix, &form.nameSuffix}))
    form.keptName = !shown.empty() ? shown : full;
  else if (!shown.empty() && shown != full)
    form.keptName = shown;

  form.phones = RowsOf(contact.m_phones);
  form.emails = RowsOf(contact.m_emails);
  form.ims = RowsOf(contact.m_ims);
  if (contact.m_postals.empty()) {
    form.postalLabel = DefaultLabelText(LabelKind::kPostal);
  } else {
    const Contact::CPostalData& postal = contact.m_postals.front();
    form.postalLabel = postal.GetTypeLabel(postal.m_type);
    form.street = postal.m_data.m_street;
    form.city = postal.m_data.m_city;
    form.region = postal.m_data.m_region;
    form.postcode = postal.m_data.m_postcode;
    form.country = postal.m_data.m_country;
  }
  if (!contact.m_organizations.empty()) {
    form.company = contact.m_organizations.front().m_data.m_company;
    form.jobTitle = contact.m_organizations.front().m_data.m_title;
  }
  if (!contact.m_nicknames.empty()) form.nickname = contact.m_nicknames.front().m_data;
  if (!contact.m_websites.empty()) form.website = contact.m_websites.front().m_data;
  if (!contact.m_notes.empty()) form.notes = contact.m_notes.front();
  form.groups = contact.m_groupNames;
  return form;
}

FormCheck CheckContactForm(const ContactForm& form) {
  auto anyValue = [](const std::vector<LabelledRow>& rows) {
    return std::any_of(rows.begin(), rows.end(), [](const LabelledRow& row) { return !Empty(row.value); });
  };
  const bool named = !AllEmpty({&form.familyName, &form.givenName, &form.middleName, &form.namePrefix,
                                &form.nameSuffix, &form.keptName});
  if (!named && !anyValue(form.phones) && !anyValue(form.emails)) return {FormVerdict::kEmpty, 0, {}};
  for (size_t i = 0; i < form.phones.size(); ++i) {
    std::wstring number = Trimmed(form.phones[i].value);
    if (!number.empty() && !IsDialable(number)) return {FormVerdict::kBadNumber, i, number};
  }
  return {};
}

void ApplyContactForm(const ContactForm& form, CContactData& contact) {
  std::wstring* name = contact.m_name;
  const bool partsChanged = Updated(name[Contact::kFamilyName], form.familyName) != name[Contact::kFamilyName] ||
                            Updated(name[Contact::kMiddleName], form.middleName) != name[Contact::kMiddleName] ||
                            Updated(name[Contact::kGivenName], form.givenName) != name[Contact::kGivenName];
  name[Contact::kFamilyName] = Updated(name[Contact::kFamilyName], form.familyName);
  name[Contact::kGivenName] = Updated(name[Contact::kGivenName], form.givenName);
  name[Contact::kMiddleName] = Updated(name[Contact::kMiddleName], form.middleName);
  name[Contact::kNamePrefix] = Updated(name[Contact::kNamePrefix], form.namePrefix);
  name[Contact::kNameSuffix] = Updated(name[Contact::kNameSuffix], form.nameSuffix);

  auto nothing = [](auto&) {};
  contact.m_phones = Rebuilt(contact.m_phones, form.phones, LabelKind::kPhone, nothing);
  contact.m_emails = Rebuilt(contact.m_emails, form.emails, LabelKind::kEmail, nothing);
  // A new account names its protocol by its label.
  contact.m_ims = Rebuilt(contact.m_ims, form.ims, LabelKind::kInstantMessage,
                          [](Contact::CIMData& entry) { entry.m_protocol = entry.m_type; });
  ApplyPostal(form, contact.m_postals);
  ApplyOrganization(form, contact.m_organizations);
  SetFirst(contact.m_nicknames, form.nickname, 0);
  SetFirst(contact.m_websites, form.website, 0);
  SetFirstNote(contact.m_notes, form.notes);

  // The full name was composed from the old parts: it is composed again, and
  // a display name that only repeated it follows.
  if (partsChanged) {
    const bool displayFollows = name[Contact::kDisplayName].empty() ||
                                name[Contact::kDisplayName] == name[Contact::kFullName];
    name[Contact::kFullName].clear();
    if (displayFollows) name[Contact::kDisplayName].clear();
  }
  contact.Prepare();
  if (name[Contact::kDisplayName].empty()) name[Contact::kDisplayName] = name[Contact::kFullName];
}

}  // namespace jorv
