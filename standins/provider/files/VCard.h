// vCard files: each contact is written as one vCard 3.0 (UTF-8, CRLF, lines
// folded at 75 octets); reading takes vCard 2.1, 3.0 and 4.0 as phones and
// address books write them, one or more cards per file.
#pragma once
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "TextCodec.h"
#include "contact/ContactData.h"

namespace files {

std::string WriteVCard(const Contact::CContactData& contact);

struct VCardReadResult {
  size_t cards = 0;                   // cards read into `out`
  size_t broken = 0;                  // cards skipped because they cannot be read
  std::vector<std::wstring> problems;  // one line per skipped card, for the log
  bool cancelled = false;             // `tick` answered false
};

// Appends every readable card of `bytes` to `out`; a card that cannot be read
// is skipped and counted, never fatal to the rest.
VCardReadResult ReadVCards(std::string_view bytes, std::vector<Contact::CContactData>& out,
                           const Tick& tick = {});

// A file name for the contact's card ("<name>.vcf", characters a file name
// cannot hold replaced), unique among `taken` (which it joins, compared
// without case).
std::wstring VCardFileName(const Contact::CContactData& contact, std::set<std::wstring>& taken);

}  // namespace files
