// What the contact editor shows and saves: plain code, no window and no
// resource call, so that tests reach it directly.
//
// A form is made from a contact record, edited, checked and written back into
// the same record. Only what the editor shows changes: every other field of
// the record (ids, flags, source fields, photo, extra entries, further
// addresses and organisations...) stays as it was, and a shown field that the
// user left alone keeps its exact text.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "contact/ContactData.h"

namespace jorv {

// One labelled entry as the editor shows it: the label's text (a table text
// such as "Mobile", or the user's own label) and the value.
struct LabelledRow {
  std::wstring label;
  std::wstring value;
  bool operator==(const LabelledRow&) const = default;
};

// The entry kinds whose label is chosen from a table of the record.
enum class LabelKind { kPhone, kEmail, kInstantMessage, kPostal };

// The table texts of a kind in code order (element 0 is code 1).
std::vector<std::wstring> LabelTexts(LabelKind kind);
// The code a new entry of the kind starts with (Mobile, Home, QQ, Home).
int32_t DefaultLabelCode(LabelKind kind);
std::wstring DefaultLabelText(LabelKind kind);

// Longest texts the editor's fields take from the keyboard. A text loaded
// from the record may be longer; it is shown and kept whole.
namespace limits {
constexpr int kName = 64;
constexpr int kLabel = 32;
constexpr int kNumber = 40;
constexpr int kEmail = 128;
constexpr int kAccount = 128;
constexpr int kText = 128;      // company, job title, nickname, city, region, country
constexpr int kStreet = 256;
constexpr int kPostcode = 20;
constexpr int kWebsite = 256;
constexpr int kNotes = 2000;
}  // namespace limits

struct ContactForm {
  // Name parts.
  std::wstring familyName;
  std::wstring givenName;
  std::wstring middleName;
  std::wstring namePrefix;
  std::wstring nameSuffix;
  // The name the contact keeps however its parts change (a display name of
  // its own, or the only name of a contact without parts); read-only.
  std::wstring keptName;
  // One row per entry, in the record's order, then the rows the user added.
  std::vector<LabelledRow> phones;
  std::vector<LabelledRow> emails;
  std::vector<LabelledRow> ims;
  // The first postal address.
  std::wstring postalLabel;
  std::wstring street;
  std::wstring city;
  std::wstring region;
  std::wstring postcode;
  std::wstring country;
  // The first organisation.
  std::wstring company;
  std::wstring jobTitle;
  // The first of each.
  std::wstring nickname;
  std::wstring website;
  std::wstring notes;
  // The names of the contact's groups; read-only.
  std::vector<std::wstring> groups;
};

ContactForm FormFromContact(const Contact::CContactData& contact);

enum class FormVerdict { kAccepted, kEmpty, kBadNumber };

struct FormCheck {
  FormVerdict verdict = FormVerdict::kAccepted;
  size_t row = 0;       // kBadNumber: the phone row
  std::wstring number;  // kBadNumber: the refused number, trimmed
};

// A contact needs a name, a number or an e-mail address; every number must
// be dialable. Blanks alone count as empty.
FormCheck CheckContactForm(const ContactForm& form);

// Digits, blanks, + * # - ( ) and the pause and wait letters p and w (either
// case), with at least one digit.
bool IsDialable(const std::wstring& number);

// The text without blanks, tabs and line breaks at either end.
std::wstring Trimmed(const std::wstring& text);

// Notes as an edit shows them (lines ending in CR LF), and back as the record
// keeps them: notes left alone keep their own line ends, edited ones end
// their lines with LF.
std::wstring NotesForEdit(const std::wstring& notes);
std::wstring NotesFromEdit(const std::wstring& typed, const std::wstring& original);

// Writes the form into `contact`, the record it was made from: row i of a
// list is the record's entry i, later rows are new entries, and emptied rows
// are dropped. Entries beyond the form's rows stay as they are. When the
// parts of the full name changed, the full name (and a display name that
// only repeated it) is composed again; then the record completes its name
// (Prepare) and a missing display name is taken from the full name.
void ApplyContactForm(const ContactForm& form, Contact::CContactData& contact);

}  // namespace jorv
