// The rows of the contact list: letter header rows ("A" to "Z", then "other")
// and contact rows under them, as the contacts controller keeps them, and
// their cells as the super grid asks for them. Plain code: no window, no
// resource or registry call (the look's texts and images are handed in).
#pragma once
#include <array>
#include <string>
#include <vector>

#include "contact/ContactData.h"
#include "content/Content.h"
#include "controls/GridModel.h"

namespace Contact {

// The 27 letter sections: slot 0..25 for "A".."Z", slot 26 for "other".
constexpr int kLetterSlotCount = 27;
constexpr int kOtherSlot = 26;

// The section a contact is filed under, from its index text: the upper-cased
// first letter when it is a Latin letter, "other" for anything else and for
// an empty index text.
int FilingSlot(const std::wstring& indexText);

// The columns of the contact list, left to right.
enum ContactColumn { kColumnCheck, kColumnName, kColumnPhone, kColumnEmail, kColumnGroups, kColumnActions,
                     kContactColumnCount };

// The list's place in the module area of `width` x `height`, and its column
// widths as fractions of (width - 190): d = 40 / (width - 190) for the first
// column, 3d for the last, the rest shared 3 : 4 : 5 : 4 by name, number,
// e-mail and groups. A module area too narrow for the rule gives the first
// and last columns nothing and shares the whole among the four.
RECT ContactListRect(int width, int height);
std::array<double, kContactColumnCount> ContactColumnFractions(int width);

// What the cells are drawn with.
struct ContactRowLook {
  std::wstring otherText;                   // label of the "other" section ("common.other")
  Gdiplus::Image* starOn = nullptr;         // "pim_favorite_select.png"
  Gdiplus::Image* starOff = nullptr;        // "pim_favorite_unselect.png"
  std::wstring editText, deleteText;        // the row actions ("common.edit", "common.delete")
};

class CContactRows : public IQsGridModel {
 public:
  struct Row {
    bool header = false;   // a letter header row
    bool checked = false;  // the row's check box
    bool starred = false;
    int slot = kOtherSlot;  // the section (of a header row, or of the contact's header)
    CContactData contact;   // empty on a header row
  };

  void SetLook(const ContactRowLook& look) { m_look = look; }

  // Empties the list and every section slot.
  void Clear();
  // Letter grouping: the records of an answer (sorted by index text) in their
  // order, a header row wherever the filing letter changes.
  void FillGrouped(const ContentList& records);
  // No grouping (records streamed during a refresh): every contact under the
  // single "other" header, made on first use.
  void AppendUngrouped(const ContentList& records);
  // One contact with letter grouping on (after an insert or update): under
  // its section's header, a new header made in letter order when missing.
  // Answers the contact's row.
  int AddGrouped(const CContactData& contact);
  // Removes the contact row of `id`, and its header when no contact is left
  // under it; false when no row holds `id`.
  bool Remove(ContentId id);

  int RowCount() const { return static_cast<int>(m_rows.size()); }
  const Row& At(int row) const { return m_rows[row]; }
  bool IsContactRow(int row) const { return row >= 0 && row < RowCount() && !m_rows[row].header; }
  // The row of the contact `id`, or -1.
  int FindContact(ContentId id) const;
  // The header row of a section, or -1 when the section has none.
  int HeaderRow(int slot) const;
  int ContactCount() const { return m_contacts; }

  // Check boxes: one row, every contact row (the header check box), and the
  // ids of the checked contacts in list order.
  // In check mode the first column shows the deletion check boxes instead
  // of the stars.
  void SetCheckMode(bool on) { m_checkMode = on; }
  bool CheckMode() const { return m_checkMode; }
  void SetRowCheck(int row, bool on);
  void SetAllChecks(bool on);
  IdList CheckedIds() const;
  // A contact's star (its row's flag and the record's field).
  void SetStarred(int row, bool on);
  // A contact row's record replaced in place (same section).
  void Replace(int row, const CContactData& contact);
  // A group name added to a contact row's groups, once.
  void AddGroupName(int row, const std::wstring& name);
  int CheckedCount() const;

  // IQsGridModel
  int GetRowCount() const override { return RowCount(); }
  bool IsSectionRow(int row) const override { return row >= 0 && row < RowCount() && m_rows[row].header; }
  void GetCell(int row, int column, CQsGridCell& cell) const override;
  void GetCollapsedSections(std::vector<int>& sectionRows) const override;
  void OnSectionToggle(int sectionRow) override;

 private:
  int InsertHeader(int at, int slot);
  void AppendContact(const CContactData& contact, int slot);

  std::vector<Row> m_rows;
  std::array<bool, kLetterSlotCount> m_collapsed{};  // per section slot
  int m_contacts = 0;
  bool m_checkMode = false;
  ContactRowLook m_look;
};

}  // namespace Contact
