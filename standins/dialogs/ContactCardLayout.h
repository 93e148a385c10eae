// What the contact card shows and where: plain code, no window and no
// resource call, so that tests reach it directly.
//
// The card is a column of single lines: the contact's name, then one section
// per kind of entry that the contact has (numbers, e-mail addresses, postal
// addresses, organisations, groups), each a caption followed by its entries.
// A section without a non-empty entry is left out. When the lines are taller
// than the card may grow, the card stops at its maximum height and the lines
// that do not fit give way to a single "…" line.
#pragma once
#include <windows.h>

#include <string>
#include <vector>

#include "contact/ContactData.h"

namespace jorv {

enum class CardLineKind { Name, Caption, Entry, More };

struct CardLine {
  CardLineKind kind = CardLineKind::Entry;
  std::wstring label;  // entries: the entry's label ("Mobile", a user's own label); may be empty
  std::wstring text;   // the name, the caption, the entry's value, or "…"
  RECT rect{};         // in the card's client coordinates, full width

  // The line as one text: "label: value" for a labelled entry, else the text.
  std::wstring FullText() const;
};

// Captions and the stand-in name, in the current language.
struct CardTexts {
  std::wstring noName;  // a contact with no name at all
  std::wstring phones;
  std::wstring emails;
  std::wstring addresses;
  std::wstring organizations;
  std::wstring groups;
};

// Sizes in pixels.
struct CardMetrics {
  int width = 340;
  int padding = 10;        // between the outline and the lines
  int nameHeight = 30;
  int captionHeight = 24;  // includes the gap above a section
  int lineHeight = 20;
  int maxHeight = 400;     // the card never grows taller
};

struct CardLayout {
  std::vector<CardLine> lines;  // top to bottom
  int height = 0;               // of the card, outline included
  bool cut = false;             // lines were left out for lack of room
};

// Lays the card out for `contact`. The name is text 0 of the name block (as
// the contact list shows it), else the composed full name, else
// `texts.noName`. Line breaks and tabs inside a text become blanks.
CardLayout LayoutCard(const Contact::CContactData& contact, const CardTexts& texts, const CardMetrics& metrics);

}  // namespace jorv
