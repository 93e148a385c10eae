#include "ContactCardLayout.h"

#include <initializer_list>

namespace jorv {
namespace {

// A text fit for one line: line breaks, tabs and runs of blanks become one
// blank, and none is left at either end.
std::wstring OneLine(const std::wstring& text) {
  std::wstring line;
  line.reserve(text.size());
  bool blank = false;
  for (wchar_t c : text) {
    if (c == L' ' || c < 0x20) {
      blank = !line.empty();
      continue;
    }
    if (blank) line += L' ';
    blank = false;
    line += c;
  }
  return line;
}

std::wstring Joined(std::initializer_list<const std::wstring*> parts) {
  std::wstring text;
  for (const std::wstring* part : parts) {
    std::wstring piece = OneLine(*part);
    if (piece.empty()) continue;
    if (!text.empty()) text += L", ";
    text += piece;
  }
  return text;
}

struct Section {
  std::wstring caption;
  std::vector<CardLine> entries;
};

CardLine Entry(const std::wstring& label, std::wstring text) {
  CardLine line;
  line.kind = CardLineKind::Entry;
  line.label = OneLine(label);
  line.text = std::move(text);
  return line;
}

// Entries with a single text value (numbers, e-mail addresses).
template <class T>
Section TextSection(const std::wstring& caption, const std::vector<T>& entries) {
  Section section{caption, {}};
  for (const T& entry : entries) {
    std::wstring value = OneLine(entry.m_data);
    if (!value.empty()) section.entries.push_back(Entry(entry.GetTypeLabel(entry.m_type), std::move(value)));
  }
  return section;
}

std::wstring NameOf(const Contact::CContactData& contact, const CardTexts& texts) {
  for (int which : {Contact::kDisplayName, Contact::kFullName}) {
    std::wstring name = OneLine(contact.m_name[which]);
    if (!name.empty()) return name;
  }
  return texts.noName;
}

int HeightOf(const CardLine& line, const CardMetrics& metrics) {
  switch (line.kind) {
    case CardLineKind::Name: return metrics.nameHeight;
    case CardLineKind::Caption: return metrics.captionHeight;
    default: return metrics.lineHeight;
  }
}

}  // namespace

std::wstring CardLine::FullText() const {
  if (kind == CardLineKind::Entry && !label.empty()) return label + L": " + text;
  return text;
}

CardLayout LayoutCard(const Contact::CContactData& contact, const CardTexts& texts, const CardMetrics& metrics) {
  std::vector<Section> sections;
  sections.push_back(TextSection(texts.phones, contact.m_phones));
  sections.push_back(TextSection(texts.emails, contact.m_emails));

  Section postal{texts.addresses, {}};
  for (const auto& entry : contact.m_postals) {
    const auto& a = entry.m_data;
    std::wstring value = Joined({&a.m_street, &a.m_poBox, &a.m_neighborhood, &a.m_city, &a.m_region, &a.m_postcode,
                                 &a.m_country});
    if (!value.empty()) postal.entries.push_back(Entry(entry.GetTypeLabel(entry.m_type), std::move(value)));
  }
  sections.push_back(std::move(postal));

  Section organizations{texts.organizations, {}};
  for (const auto& entry : contact.m_organizations) {
    std::wstring value = Joined({&entry.m_data.m_company, &entry.m_data.m_title});
    if (!value.empty()) organizations.entries.push_back(Entry(entry.GetTypeLabel(entry.m_type), std::move(value)));
  }
  sections.push_back(std::move(organizations));

  // All groups on one line: a contact may belong to many, and each name is short.
  Section groups{texts.groups, {}};
  std::wstring names;
  for (const std::wstring& group : contact.m_groupNames) {
    std::wstring name = OneLine(group);
    if (name.empty()) continue;
    if (!names.empty()) names += L", ";
    names += name;
  }
  if (!names.empty()) groups.entries.push_back(Entry(L"", std::move(names)));
  sections.push_back(std::move(groups));

  std::vector<CardLine> wanted;
  CardLine name;
  name.kind = CardLineKind::Name;
  name.text = NameOf(contact, texts);
  wanted.push_back(std::move(name));
  for (Section& section : sections) {
    if (section.entries.empty()) continue;
    CardLine caption;
    caption.kind = CardLineKind::Caption;
    caption.text = section.caption;
    wanted.push_back(std::move(caption));
    for (CardLine& entry : section.entries) wanted.push_back(std::move(entry));
  }

  CardLayout layout;
  int total = 2 * metrics.padding;
  for (const CardLine& line : wanted) total += HeightOf(line, metrics);
  layout.cut = total > metrics.maxHeight;
  // Room for the lines; when cut, the "…" line takes the last row. The name
  // stays whatever the room.
  const int bottom = metrics.maxHeight - metrics.padding - (layout.cut ? metrics.lineHeight : 0);
  int y = metrics.padding;
  for (CardLine& line : wanted) {
    int height = HeightOf(line, metrics);
    if (line.kind != CardLineKind::Name && y + height > bottom) break;
    line.rect = RECT{metrics.padding, y, metrics.width - metrics.padding, y + height};
    y += height;
    layout.lines.push_back(std::move(line));
  }
  if (layout.cut) {
    // A caption with none of its entries under it tells nothing.
    while (layout.lines.size() > 1 && layout.lines.back().kind == CardLineKind::Caption) {
      y = layout.lines.back().rect.top;
      layout.lines.pop_back();
    }
    CardLine more;
    more.kind = CardLineKind::More;
    more.text = L"\u2026";
    more.rect = RECT{metrics.padding, y, metrics.width - metrics.padding, y + metrics.lineHeight};
    y += metrics.lineHeight;
    layout.lines.push_back(std::move(more));
  }
  layout.height = y + metrics.padding;
  return layout;
}

}  // namespace jorv
