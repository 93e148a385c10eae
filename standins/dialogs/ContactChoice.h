// What the contact picker offers and what the user ticked: plain code, no
// window. The rows are the handset's contacts in the order the data provider
// lists them; an entry handed in that matches no contact (by its value, the
// contact id) keeps a row of its own at the top, so that nothing picked before
// is lost unseen. A search narrows the rows shown; ticks stay on rows the
// search hides.
//
// It is the picker's grid model: a check column, the name and the numbers.
#pragma once
#include <cstdint>
#include <list>
#include <string>
#include <vector>

#include "controls/GridModel.h"
#include "frame/suite/SharedDialogs.h"

namespace Contact {
class CContactData;
}

namespace jorv {

// One row of the picker.
struct PickableContact {
  uint32_t id = 0;
  std::wstring name;     // shown, and the text of the entry it becomes
  std::wstring numbers;  // shown: the contact's numbers joined by ", "
  std::wstring search;   // lower case: what a search looks in
  bool onHandset = true; // false: an entry handed in that matches no contact
};

// A contact's row: the display name (else the full name, the first number or
// the first e-mail address), its numbers, and what a search finds it by
// (names, numbers also as bare digits, e-mail addresses, the filing text).
PickableContact PickableContactOf(const Contact::CContactData& contact);

// An entry's text: up to its terminating zero, at most 510 characters.
std::wstring EntryText(const JorvContactEntry& entry);
// An entry with `text` cut to 509 characters and a terminating zero.
JorvContactEntry MakeEntry(const std::wstring& text, uint32_t value);

class CContactChoice : public IQsGridModel {
 public:
  enum Column { kColumnCheck, kColumnName, kColumnNumbers, kColumnCount };

  // The entries handed in are ticked; until the contacts are set they are
  // the rows.
  explicit CContactChoice(const std::list<JorvContactEntry>& given = {});

  // The handset's contacts in list order. Each entry handed in ticks the
  // contact with its value (its own row's tick, which the user may have
  // changed meanwhile, carries over); the others keep rows of their own.
  void SetContacts(std::vector<PickableContact> contacts);
  bool HasContacts() const { return m_hasContacts; }

  // Shows only the rows whose search text holds `keyword` (any case; blanks
  // around it do not count); an empty keyword shows every row.
  void SetFilter(const std::wstring& keyword);

  // ---- rows shown ----
  int GetRowCount() const override { return static_cast<int>(m_shown.size()); }
  void GetCell(int row, int column, CQsGridCell& cell) const override;
  const PickableContact& At(int row) const;
  bool IsTicked(int row) const;
  void SetTicked(int row, bool ticked);
  void Toggle(int row) { SetTicked(row, !IsTicked(row)); }
  void TickAllShown(bool ticked);
  // True when rows are shown and every one is ticked.
  bool AllShownTicked() const;

  // Ticked rows, shown or not.
  size_t TickedCount() const;
  // The entries chosen: those handed in that are still ticked, in their
  // order, then every other ticked row in list order. Each entry's text is
  // the row's name (a contact's current display name), its value the id
  // handed in or the contact's id.
  std::list<JorvContactEntry> Chosen() const;

 private:
  // One row per entry handed in; the given entries point at them.
  void ListGivenAlone();

  std::vector<JorvContactEntry> m_given;
  std::vector<size_t> m_givenRow;  // index into m_rows, per entry handed in
  std::vector<PickableContact> m_rows;
  std::vector<char> m_ticked;      // per row of m_rows
  std::vector<size_t> m_shown;     // indexes into m_rows
  std::wstring m_filter;
  bool m_hasContacts = false;
};

}  // namespace jorv
